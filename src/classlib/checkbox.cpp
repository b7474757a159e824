#include "classlib/checkbox.h"

#include "classlib/application.h"
#include "classlib/codepage.h"

#include <QCheckBox>

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) {
    SetBoundsSilently(0, 0, 97, 17);
    SetTabStop(true);
}

QWidget* TCheckBox::CreateWidget(QWidget* parentWidget) {
    auto* box = new QCheckBox(TCodePage::ToQString(Caption()), parentWidget);
    box->setChecked(FChecked);
    // clicked comes from the user only; the state is then taken over as if set in code.
    QObject::connect(box, &QCheckBox::clicked, [this](bool checked) {
        Application->Guard([this, checked] { SetChecked(checked); });
    });
    return box;
}

void TCheckBox::SetChecked(bool checked) {
    if (checked == FChecked) return;
    FChecked = checked;
    if (HandleAllocated()) {
        auto* box = static_cast<QCheckBox*>(Handle());
        if (box->isChecked() != checked) box->setChecked(checked);
    }
    if (!IsLoading()) Click();
}

void TCheckBox::CaptionChanged() {
    if (HandleAllocated())
        static_cast<QCheckBox*>(Handle())->setText(TCodePage::ToQString(Caption()));
}
