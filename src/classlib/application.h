// The application object: main form, list of forms, idle event, message loop, and the default
// display of exceptions that escape a handler.
#pragma once

#include "classlib/component.h"

#include <exception>
#include <functional>
#include <memory>
#include <vector>

class QApplication;
class QObject;
class QWidget;
class QImage;
class TControl;
class TForm;
class TGraphicControl;
class TWinControl;

class TApplication : public TComponent {
  public:
    TApplication();
    ~TApplication() override;
    DECLARE_CLASS_NAME(TApplication)

    // Creates the Qt application unless one exists (tests make their own). Every window gets
    // the program's icon (classlib/programicon.h) once the main form has first painted.
    void Initialize(int& argc, char** argv);
    template <typename TFormClass> TFormClass* CreateForm() {
        auto* form = new TFormClass(this);
        if (!FMainForm) FMainForm = form;
        return form;
    }
    // Shows the main form and runs the message loop until it closes; returns the exit code.
    int Run();
    void Terminate();
    bool Terminated() const { return FTerminated; }
    void ProcessMessages();

    TForm* MainForm() const { return FMainForm; }
    void SetMainForm(TForm* form) { FMainForm = form; }
    const std::vector<TForm*>& Forms() const { return FForms; }

    // Raised when the message queue has run empty.
    TIdleEvent OnIdle;
    // Runs `action`; an exception that escapes it is shown and the program runs on.
    template <typename F> void Guard(F&& action) {
        try {
            action();
        } catch (const std::exception& e) {
            HandleException(e);
        } catch (...) {
            HandleUnknownException();
        }
    }
    void HandleException(const std::exception& e);
    void HandleUnknownException();
    void ShowException(const std::string& message);
    // A message box owned by the main window (flags and answers as in system/messagebox.h).
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags);
    // Test seam: counts the exceptions shown by the default display.
    int ExceptionCount() const { return FExceptionCount; }
    const std::string& LastExceptionMessage() const { return FLastException; }

    // The control under the mouse; changing it sends CM_MOUSELEAVE and CM_MOUSEENTER.
    TControl* MouseControl() const { return FMouseControl; }
    void SetMouseControl(TControl* control);
    void ControlDestroyed(TControl* control);
    void WidgetDestroyed(QWidget* widget);

    void RegisterForm(TForm* form);
    void UnregisterForm(TForm* form);
    // Runs the idle event now, as the event loop does when its queue runs empty.
    void DoIdle();
    // A control finished painting; idle work waits for the main form's first paint.
    void NotePainted(TWinControl* control);

  private:
    class TEventHook;
    void InstallHooks();
    void ScheduleIdle();

    std::unique_ptr<QApplication> FOwnedApp;
    std::unique_ptr<TEventHook> FHook;
    TForm* FMainForm = nullptr;
    std::vector<TForm*> FForms;
    TControl* FMouseControl = nullptr;
    bool FTerminated = false;
    bool FIdlePending = false;
    bool FActivitySinceIdle = true;
    bool FInIdle = false;
    bool FMainFormPainted = false;
    int FExceptionCount = 0;
    std::string FLastException;
    std::vector<std::string> FPendingInfo;
};

extern TApplication* Application;
