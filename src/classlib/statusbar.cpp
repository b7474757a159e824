#include "classlib/statusbar.h"

#include "classlib/codepage.h"

#include <QStatusBar>

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner) {
    SetBoundsSilently(0, 0, 185, 19);
}

QWidget* TStatusBar::CreateWidget(QWidget* parentWidget) {
    auto* bar = new QStatusBar(parentWidget);
    bar->setSizeGripEnabled(true);
    bar->showMessage(TCodePage::ToQString(FPanelText));
    return bar;
}

void TStatusBar::SetPanelText(const std::string& text) {
    if (text == FPanelText) return;
    FPanelText = text;
    if (HandleAllocated()) static_cast<QStatusBar*>(Handle())->showMessage(TCodePage::ToQString(text));
}
