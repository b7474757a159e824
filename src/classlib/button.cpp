#include "classlib/button.h"

#include "classlib/application.h"
#include "classlib/codepage.h"
#include "classlib/form.h"

#include <QPushButton>

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    SetBoundsSilently(0, 0, 75, 25);
    SetTabStop(true);
}

TButton::~TButton() {
    if (TForm* form = TForm::GetParentForm(this)) {
        form->SetDefaultButton(this, false);
        form->SetCancelButton(this, false);
    }
}

QWidget* TButton::CreateWidget(QWidget* parentWidget) {
    auto* button = new QPushButton(TCodePage::ToQString(Caption()), parentWidget);
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, [this] {
        Application->Guard([this] { Click(); });
    });
    return button;
}

void TButton::CaptionChanged() {
    if (HandleAllocated())
        static_cast<QPushButton*>(Handle())->setText(TCodePage::ToQString(Caption()));
}

void TButton::SetDefault(bool value) {
    FDefault = value;
    RegisterWithForm();
}

void TButton::SetCancel(bool value) {
    FCancel = value;
    RegisterWithForm();
}

void TButton::SetParent(TWinControl* parent) {
    // The form it leaves must neither press it nor keep a pointer to it.
    if (TForm* form = TForm::GetParentForm(this)) {
        form->SetDefaultButton(this, false);
        form->SetCancelButton(this, false);
    }
    TWinControl::SetParent(parent);
}

void TButton::ParentChanged() {
    TWinControl::ParentChanged();
    RegisterWithForm();
}

void TButton::RegisterWithForm() {
    TForm* form = TForm::GetParentForm(this);
    if (!form) return;
    form->SetDefaultButton(this, FDefault);
    form->SetCancelButton(this, FCancel);
    if (HandleAllocated()) static_cast<QPushButton*>(Handle())->setDefault(FDefault);
}
