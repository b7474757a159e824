#include "system/messagebox.h"

#include <QMessageBox>
#include <QPushButton>

namespace {
TMessageBox::THook& Hook() {
    static TMessageBox::THook hook;
    return hook;
}

struct TButtonChoice {
    QMessageBox::StandardButton Button;
    int Answer;
};

std::vector<TButtonChoice> ButtonsFor(unsigned flags) {
    switch (flags & 0xF) {
    case MB_OKCANCEL: return {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_ABORTRETRYIGNORE:
        return {{QMessageBox::Abort, IDABORT}, {QMessageBox::Retry, IDRETRY},
                {QMessageBox::Ignore, IDIGNORE}};
    case MB_YESNOCANCEL:
        return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO},
                {QMessageBox::Cancel, IDCANCEL}};
    case MB_YESNO: return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
    case MB_RETRYCANCEL: return {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
    default: return {{QMessageBox::Ok, IDOK}};
    }
}

QMessageBox::Icon IconFor(unsigned flags) {
    switch (flags & 0xF0) {
    case MB_ICONHAND: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONEXCLAMATION: return QMessageBox::Warning;
    case MB_ICONASTERISK: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}
} // namespace

int TMessageBox::Show(QWidget* owner, const std::string& text, const std::string& caption,
                      unsigned flags) {
    if (Hook()) return Hook()(owner, text, caption, flags);
    return ShowReal(owner, text, caption, flags);
}

TMessageBox::THook TMessageBox::SetHook(THook hook) {
    THook previous = Hook();
    Hook() = std::move(hook);
    return previous;
}

int TMessageBox::ShowReal(QWidget* owner, const std::string& text, const std::string& caption,
                          unsigned flags) {
    QMessageBox box(IconFor(flags), QString::fromLatin1(caption.c_str()),
                    QString::fromLatin1(text.c_str()), QMessageBox::NoButton, owner);
    if (flags & MB_TOPMOST) box.setWindowFlag(Qt::WindowStaysOnTopHint);
    std::vector<TButtonChoice> buttons = ButtonsFor(flags);
    for (const TButtonChoice& choice : buttons) box.addButton(choice.Button);
    size_t defaultIndex = (flags >> 8) & 0xF;
    if (defaultIndex < buttons.size()) box.setDefaultButton(buttons[defaultIndex].Button);
    // Escape answers like the last button (Cancel or No), as the classic box does.
    box.setEscapeButton(box.button(buttons.back().Button));
    box.exec();
    for (const TButtonChoice& choice : buttons)
        if (box.clickedButton() == box.button(choice.Button)) return choice.Answer;
    return buttons.back().Answer;
}
