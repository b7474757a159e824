#include "classlib/memo.h"

#include "classlib/codepage.h"

#include <QPlainTextEdit>

TMemo::TMemo(TComponent* owner) : TWinControl(owner) {
    SetBoundsSilently(0, 0, 185, 89);
    SetColor(clWindow);
    SetTabStop(true);
    FLines.OnChange = [this](TObject*) { LinesChanged(); };
}

TMemo::~TMemo() { FLines.OnChange = nullptr; }

QWidget* TMemo::CreateWidget(QWidget* parentWidget) {
    auto* edit = new QPlainTextEdit(parentWidget);
    edit->viewport()->setMouseTracking(true);
    QObject::connect(edit, &QPlainTextEdit::textChanged, [this, edit] {
        if (FUpdatingFromWidget || FReadOnly) return;
        FUpdatingFromWidget = true;
        FLines.SetText(TCodePage::FromQString(edit->toPlainText()));
        FUpdatingFromWidget = false;
    });
    FUpdatingFromWidget = true;
    QString text;
    for (int i = 0; i < FLines.Count(); ++i) {
        if (i) text += '\n';
        text += TCodePage::ToQString(FLines[i]);
    }
    edit->setPlainText(text);
    FUpdatingFromWidget = false;
    return edit;
}

void TMemo::LinesChanged() {
    if (FUpdatingFromWidget || !HandleAllocated()) return;
    auto* edit = static_cast<QPlainTextEdit*>(Handle());
    QString text;
    for (int i = 0; i < FLines.Count(); ++i) {
        if (i) text += '\n';
        text += TCodePage::ToQString(FLines[i]);
    }
    FUpdatingFromWidget = true;
    edit->setPlainText(text);
    FUpdatingFromWidget = false;
}

void TMemo::SetReadOnly(bool value) {
    FReadOnly = value;
    ApplySettings();
}

void TMemo::SetScrollBars(TScrollStyle value) {
    FScrollBars = value;
    ApplySettings();
}

void TMemo::SetWordWrap(bool value) {
    FWordWrap = value;
    ApplySettings();
}

void TMemo::ApplySettings() {
    auto* edit = static_cast<QPlainTextEdit*>(Handle());
    edit->setReadOnly(FReadOnly);
    edit->setLineWrapMode(FWordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    bool vertical = FScrollBars == ssVertical || FScrollBars == ssBoth;
    bool horizontal = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
    edit->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    edit->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn
                                                  : Qt::ScrollBarAlwaysOff);
}
