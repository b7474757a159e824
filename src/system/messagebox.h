// Message boxes with the classic flags and answers, replaceable so tests can answer them.
#pragma once

#include <functional>
#include <string>

constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_OKCANCEL = 0x1;
constexpr unsigned MB_ABORTRETRYIGNORE = 0x2;
constexpr unsigned MB_YESNOCANCEL = 0x3;
constexpr unsigned MB_YESNO = 0x4;
constexpr unsigned MB_RETRYCANCEL = 0x5;
constexpr unsigned MB_ICONHAND = 0x10;
constexpr unsigned MB_ICONERROR = MB_ICONHAND;
constexpr unsigned MB_ICONSTOP = MB_ICONHAND;
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONEXCLAMATION = 0x30;
constexpr unsigned MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr unsigned MB_ICONASTERISK = 0x40;
constexpr unsigned MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr unsigned MB_DEFBUTTON1 = 0x000;
constexpr unsigned MB_DEFBUTTON2 = 0x100;
constexpr unsigned MB_DEFBUTTON3 = 0x200;
constexpr unsigned MB_SETFOREGROUND = 0x10000;
constexpr unsigned MB_TOPMOST = 0x40000;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

class QWidget;

class TMessageBox {
  public:
    using THook = std::function<int(QWidget* owner, const std::string& text,
                                    const std::string& caption, unsigned flags)>;
    // Shows a modal box and returns the button pressed (IDOK, IDRETRY, ...).
    static int Show(QWidget* owner, const std::string& text, const std::string& caption,
                    unsigned flags);
    // Replaces the real box (for tests); an empty hook restores it. Returns the previous hook.
    static THook SetHook(THook hook);

  private:
    static int ShowReal(QWidget* owner, const std::string& text, const std::string& caption,
                        unsigned flags);
};
