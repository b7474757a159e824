#include "classlib/application.h"

#include "classlib/form.h"
#include "classlib/hostwidget.h"
#include "classlib/programicon.h"
#include "system/messagebox.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEnterEvent>
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QTimer>

#include <algorithm>

TApplication* Application = nullptr;

namespace {
// Arguments for a Qt application that the library creates itself; they must outlive it.
int gArgc = 1;
char gArg0[] = "Settings";
char* gArgv[] = {gArg0, nullptr};

TControl* ControlUnder(QWidget* widget, QPoint localPos) {
    TWinControl* control = THostWidget::ControlOf(widget);
    if (!control) return nullptr;
    auto* host = dynamic_cast<THostWidget*>(widget);
    if (!host || host->Control() != control) return control;
    TControl* child = control->ControlAtPos({localPos.x(), localPos.y()});
    return child ? child : control;
}

// Every size the program carries, so that title bars, task bars and high-density screens each
// take the size they need instead of a blurred scaling of one.
QIcon ProgramIcon() {
    QIcon icon;
    for (std::string_view png : ProgramIconPngs()) {
        QImage image = QImage::fromData(QByteArrayView(png.data(), png.size()), "PNG");
        if (!image.isNull()) icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}
} // namespace

// Watches all input for the controls: mouse enter/leave tracking, dialog keys, idle detection.
class TApplication::TEventHook : public QObject {
  public:
    explicit TEventHook(TApplication* app) : FApp(app) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::Enter:
            FApp->FActivitySinceIdle = true;
            TrackMouse(watched, event);
            break;
        case QEvent::Leave:
            FApp->FActivitySinceIdle = true;
            TrackLeave(watched);
            break;
        case QEvent::KeyPress:
            FApp->FActivitySinceIdle = true;
            if (HandleDialogKey(watched, static_cast<QKeyEvent*>(event))) return true;
            break;
        case QEvent::Paint:
        case QEvent::MouseButtonRelease:
        case QEvent::Show:
        case QEvent::WindowActivate:
            FApp->FActivitySinceIdle = true;
            break;
        default: break;
        }
        return false;
    }

    void AboutToBlock() {
        if (!FApp->FActivitySinceIdle || FApp->FIdlePending || !FApp->OnIdle) return;
        // The dispatcher is about to wait even while the first paint is still queued; the
        // queue has not really run empty before the main form is on the screen.
        TForm* main = FApp->FMainForm;
        if (main && main->Showing() && !FApp->FMainFormPainted) {
            // A window system that never exposes the window must not hold the idle work back
            // for good: after a short while it runs anyway.
            if (!FFallbackArmed) {
                FFallbackArmed = true;
                QTimer::singleShot(500, this, [app = FApp] {
                    app->FMainFormPainted = true;
                    app->FActivitySinceIdle = true;
                });
            }
            return;
        }
        FApp->FIdlePending = true;
        // Only schedule here: the idle work may open windows and modal loops, which must not
        // run inside the dispatcher's own wait.
        QMetaObject::invokeMethod(this, [app = FApp] { app->DoIdle(); }, Qt::QueuedConnection);
    }

  private:
    bool FFallbackArmed = false;

    void TrackMouse(QObject* watched, QEvent* event) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget) return;
        QPoint pos;
        if (event->type() == QEvent::Enter)
            pos = static_cast<QEnterEvent*>(event)->position().toPoint();
        else
            pos = static_cast<QMouseEvent*>(event)->position().toPoint();
        // Events for an ancestor of the widget under the mouse also pass here; only the
        // innermost widget decides.
        QWidget* child = widget->childAt(pos);
        if (child && THostWidget::ControlOf(child) != THostWidget::ControlOf(widget)) return;
        TControl* target = ControlUnder(widget, pos);
        if (target) FApp->SetMouseControl(target);
    }

    void TrackLeave(QObject* watched) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || !widget->isWindow()) return;
        TControl* current = FApp->FMouseControl;
        if (!current) return;
        // Only a departure from the window that holds the current control clears it; the
        // leave of a window may arrive after the enter of the next one.
        auto* win = dynamic_cast<TWinControl*>(current);
        TWinControl* holder = win ? win : current->Parent();
        if (holder && holder->HandleAllocated() && holder->Handle()->window() == widget)
            FApp->SetMouseControl(nullptr);
    }

    bool HandleDialogKey(QObject* watched, QKeyEvent* event) {
        int key = event->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Escape) return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget != QApplication::focusWidget()) return false;
        TWinControl* control = THostWidget::ControlOf(widget);
        if (!control) return false;
        TForm* form = TForm::GetParentForm(control);
        bool handled = false;
        FApp->Guard([&] { handled = form && form->DialogKey(control, key == Qt::Key_Escape); });
        return handled;
    }

    TApplication* FApp;
};

TApplication::TApplication() : TComponent(nullptr) { Application = this; }

TApplication::~TApplication() {
    FMainForm = nullptr;
    DestroyComponents();
    if (FHook && qApp) qApp->removeEventFilter(FHook.get());
    FHook.reset();
    FOwnedApp.reset();
    if (Application == this) Application = nullptr;
}

void TApplication::Initialize(int& argc, char** argv) {
    if (!qApp) {
        if (argc > 0 && argv)
            FOwnedApp = std::make_unique<QApplication>(argc, argv);
        else
            FOwnedApp = std::make_unique<QApplication>(gArgc, gArgv);
    }
    InstallHooks();
}

void TApplication::InstallHooks() {
    if (FHook) return;
    FHook = std::make_unique<TEventHook>(this);
    qApp->installEventFilter(FHook.get());
    if (auto* dispatcher = QAbstractEventDispatcher::instance())
        QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, FHook.get(),
                         [hook = FHook.get()] { hook->AboutToBlock(); });
}

int TApplication::Run() {
    InstallHooks();
    if (!FMainForm) return 0;
    FTerminated = false;
    FMainForm->ShowMainForm();
    if (FTerminated) return 0;
    return QApplication::exec();
}

void TApplication::Terminate() {
    FTerminated = true;
    // Not quit(): that first asks every window to close, and the library's windows decline
    // (their forms hide them instead), which would cancel the end of the program.
    QCoreApplication::exit(0);
}

void TApplication::ProcessMessages() { QApplication::processEvents(); }

void TApplication::DoIdle() {
    FIdlePending = false;
    FActivitySinceIdle = false;
    if (FInIdle || !OnIdle) return;
    FInIdle = true;
    bool done = true;
    // Copy first: the handler may clear or replace the event while it runs.
    TIdleEvent handler = OnIdle;
    Guard([&] { handler(this, done); });
    FInIdle = false;
}

void TApplication::NotePainted(TWinControl* control) {
    if (control != FMainForm || FMainFormPainted) return;
    FMainFormPainted = true;
    // Once for the whole application: every window, message boxes included, shows it. Decoding
    // the icons waits until the main window's first paint has reached the screen (this is called
    // from that paint, before the toolkit hands the pixels over), so it never delays that.
    QTimer::singleShot(0, QCoreApplication::instance(),
                       [] { QApplication::setWindowIcon(ProgramIcon()); });
}

void TApplication::HandleException(const std::exception& e) { ShowException(e.what()); }

void TApplication::HandleUnknownException() { ShowException("Unknown exception"); }

void TApplication::ShowException(const std::string& message) {
    ++FExceptionCount;
    FLastException = message;
    std::string text = message;
    if (!text.empty() && text.back() != '.') text += '.';
    MessageBox(text, "Settings", MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    QWidget* owner = FMainForm && FMainForm->HandleAllocated() ? FMainForm->Window() : nullptr;
    return TMessageBox::Show(owner, text, caption, flags);
}

void TApplication::SetMouseControl(TControl* control) {
    if (control == FMouseControl) return;
    TControl* previous = FMouseControl;
    FMouseControl = control;
    if (previous) Guard([&] { previous->Perform(CM_MOUSELEAVE); });
    // A leave handler may have destroyed or replaced the new control.
    if (control && FMouseControl == control) Guard([&] { control->Perform(CM_MOUSEENTER); });
}

void TApplication::ControlDestroyed(TControl* control) {
    if (FMouseControl == control) FMouseControl = nullptr;
}

void TApplication::WidgetDestroyed(QWidget*) {}

void TApplication::RegisterForm(TForm* form) { FForms.push_back(form); }

void TApplication::UnregisterForm(TForm* form) {
    FForms.erase(std::remove(FForms.begin(), FForms.end(), form), FForms.end());
    if (FMainForm == form) FMainForm = nullptr;
}
