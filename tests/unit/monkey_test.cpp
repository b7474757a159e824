// A seeded monkey on the real main window: thousands of random user actions (mouse moves over
// and between the circles and their popups, clicks, menu commands, keys, window drags), with
// the page's rules checked after every step. Nothing may crash, hang, leak, raise an exception
// to the default display, print an unexpected Qt warning or leave the page inconsistent.
//
// The seed is printed at the start; a failure names the seed, the step and the last actions,
// so the run replays with
//   MONKEY_SEED=<seed> MONKEY_STEPS=<step + 1> unit_tests --gtest_filter='Monkey*'
#include "app/mainform.h"
#include "classlib/application.h"
#include "classlib/button.h"
#include "classlib/checkbox.h"
#include "classlib/mainmenu.h"
#include "classlib/menuitem.h"
#include "classlib/screen.h"
#include "setupctrls/boardhighlight.h"
#include "setupctrls/boardimage.h"
#include "setupctrls/dipswitch.h"
#include "setupctrls/helpform.h"
#include "setupctrls/popupform.h"
#include "setupctrls/radiopanel.h"
#include "setupctrls/setupsupporter.h"
#include "setupctrls/techform.h"
#include "system/messagebox.h"
#include "system/timerwindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <iostream>
#include <map>
#include <mutex>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr uint64_t DefaultSeed = 20240611;
constexpr int DefaultSteps = 5000;
constexpr int RememberedActions = 12;
// A single step takes milliseconds; this long without progress is a hang even under ASan.
constexpr auto HangLimit = std::chrono::seconds(60);

uint64_t EnvNumber(const char* name, uint64_t fallback) {
    const char* text = std::getenv(name);
    if (!text || !*text) return fallback;
    return std::strtoull(text, nullptr, 0);
}

std::string Describe(TPoint p) {
    return "(" + std::to_string(p.X) + "," + std::to_string(p.Y) + ")";
}

// ---- Qt messages --------------------------------------------------------------------------

// Records every Qt warning that the offscreen platform does not print on its own account.
class TQtWarnings {
  public:
    TQtWarnings() {
        Active = this;
        FPrevious = qInstallMessageHandler(&TQtWarnings::Handle);
    }
    ~TQtWarnings() {
        qInstallMessageHandler(FPrevious);
        Active = nullptr;
    }
    // The warnings since the last call.
    std::vector<std::string> Take() {
        std::lock_guard lock(FMutex);
        return std::exchange(FUnexpected, {});
    }

  private:
    static bool Allowed(const std::string& text) {
        // The offscreen platform has no window manager to raise windows or honour size hints.
        static const char* const allowed[] = {"This plugin does not support raise()",
                                              "This plugin does not support propagateSizeHints()",
                                              "XDG_RUNTIME_DIR not set"};
        return std::any_of(std::begin(allowed), std::end(allowed),
                           [&](const char* a) { return text.find(a) != std::string::npos; });
    }
    static void Handle(QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtDebugMsg || type == QtInfoMsg || !Active) return;
        std::string text = message.toStdString();
        if (Allowed(text)) return;
        std::lock_guard lock(Active->FMutex);
        Active->FUnexpected.push_back(text);
    }
    static inline TQtWarnings* Active = nullptr;
    QtMessageHandler FPrevious = nullptr;
    std::mutex FMutex;
    std::vector<std::string> FUnexpected;
};

// ---- hang detection -----------------------------------------------------------------------

// Aborts the run, naming the seed, step and action, when a step never finishes.
class TWatchdog {
  public:
    explicit TWatchdog(uint64_t seed) : FSeed(seed), FThread([this] { Watch(); }) {}
    ~TWatchdog() {
        {
            std::lock_guard lock(FMutex);
            FStop = true;
        }
        FWake.notify_all();
        FThread.join();
    }
    void Starting(int step, const std::string& action) {
        std::lock_guard lock(FMutex);
        FStep = step;
        FAction = action;
        FLastProgress = std::chrono::steady_clock::now();
    }

  private:
    void Watch() {
        std::unique_lock lock(FMutex);
        while (!FStop) {
            FWake.wait_for(lock, std::chrono::seconds(1));
            if (FStop || std::chrono::steady_clock::now() - FLastProgress < HangLimit) continue;
            std::fprintf(stderr,
                         "Monkey hang: step %d (%s) did not finish.\nReplay: MONKEY_SEED=%llu "
                         "MONKEY_STEPS=%d\n",
                         FStep, FAction.c_str(), static_cast<unsigned long long>(FSeed), FStep + 1);
            std::fflush(stderr);
            std::abort();
        }
    }
    uint64_t FSeed;
    std::mutex FMutex;
    std::condition_variable FWake;
    bool FStop = false;
    int FStep = -1;
    std::string FAction = "start-up";
    std::chrono::steady_clock::time_point FLastProgress = std::chrono::steady_clock::now();
    std::thread FThread;
};

// ---- the Qt cursor ------------------------------------------------------------------------

// Keeps Qt's own cursor where the monkey's mouse is. The offscreen platform sends a mouse move
// to the first window in creation order whenever the cursor is set, whatever lies on top; those
// events are dropped. What Qt derives from the cursor later (a window that opens or closes under
// it hands the mouse to the window then on top) stays, as on a desktop.
class TQtCursor : public QObject {
  public:
    TQtCursor() { qApp->installEventFilter(this); }
    ~TQtCursor() override { qApp->removeEventFilter(this); }
    void MoveTo(TPoint p) {
        FDropping = true;
        QCursor::setPos(p.X, p.Y);
        QApplication::processEvents();
        FDropping = false;
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (!FDropping) return false;
        switch (event->type()) {
        case QEvent::MouseMove:
        case QEvent::Enter:
        case QEvent::Leave:
            return true;
        default:
            return false;
        }
    }

  private:
    bool FDropping = false;
};

// ---- the monkey ---------------------------------------------------------------------------

class Monkey : public testing::Test {
  protected:
    void SetUp() override {
        FormsBefore = Application->Forms().size();
        WindowsBefore = QApplication::topLevelWidgets().size();
        ExceptionsBefore = Application->ExceptionCount();
        TMessageBox::SetHook(
            [this](QWidget*, const std::string& text, const std::string& caption, unsigned) {
                Boxes.push_back(caption + ": " + text);
                return IDOK;
            });
        TScreen::SetCursorPosHook([this] { return Cursor; });
        // Qt's cursor stays where an earlier test left it; a replay must start from the same place.
        PlaceCursor(Cursor);
        StartMainWindow();
    }

    void TearDown() override {
        CloseMainWindow();
        Application->OnIdle = nullptr;
        TScreen::SetCursorPosHook(nullptr);
        TMessageBox::SetHook(nullptr);
    }

    void StartMainWindow() {
        Form = new TMainForm(Application);
        Application->SetMainForm(Form);
        Form->ShowMainForm();
        Settle();
        Application->DoIdle();
        Form->SetSup->TimerWindow().Fire(TSetupSupporter::TimerId);
        Settle();
    }

    void CloseMainWindow() {
        if (!Form) return;
        Application->SetMouseControl(nullptr);
        delete Form;
        Form = nullptr;
        Settle();
    }

    static void Settle() { QApplication::processEvents(); }

    // ---- random choices ------------------------------------------------------------------

    uint64_t Below(uint64_t n) { return n ? Rng() % n : 0; }
    bool Chance(int percent) { return static_cast<int>(Below(100)) < percent; }
    template <typename T> T Pick(const std::vector<T>& items) { return items[Below(items.size())]; }
    TPoint PointIn(const TRect& r) {
        // One pixel in from the edges where there is room: edges are where windows disagree.
        TRect inner = r.Width() > 2 && r.Height() > 2
                          ? Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1)
                          : r;
        return {inner.Left + static_cast<int>(Below(inner.Width())),
                inner.Top + static_cast<int>(Below(inner.Height()))};
    }

    // ---- what is on the screen -----------------------------------------------------------

    std::vector<TBoardHighlight*> Circles() const {
        std::vector<TBoardHighlight*> circles;
        for (int i = 0; i < Form->BoardImage1->ControlCount(); ++i)
            if (auto* h = dynamic_cast<TBoardHighlight*>(Form->BoardImage1->Controls(i)))
                circles.push_back(h);
        return circles;
    }

    std::vector<TPopupForm*> Popups(bool visibleOnly) const {
        std::vector<TPopupForm*> popups;
        for (TForm* f : Application->Forms())
            if (auto* p = dynamic_cast<TPopupForm*>(f);
                p && IsOurs(p) && (!visibleOnly || p->Visible()))
                popups.push_back(p);
        return popups;
    }

    // Help, support and popup windows that are showing: they float above the main window.
    std::vector<TForm*> FloatingWindows() const {
        std::vector<TForm*> windows;
        for (TForm* f : Application->Forms())
            if (f != Form && f->Visible() && IsOurs(f)) windows.push_back(f);
        return windows;
    }

    bool IsOurs(TComponent* c) const {
        for (; c; c = c->Owner())
            if (c == Form) return true;
        return false;
    }

    std::vector<TCheckBox*> FilterBoxes() const {
        return {Form->FilterCheck0, Form->FilterCheck1, Form->FilterCheck2, Form->FilterCheck3,
                Form->FilterCheck4, Form->FilterCheck5, Form->FilterCheck6, Form->FilterCheck7};
    }

    // The entries that the circles put into their menu groups.
    std::vector<TMenuItem*> CircleEntries() const {
        std::vector<TMenuItem*> entries;
        TMenuItem* bar = Form->MainMenu1->Items();
        for (int i = 0; i < bar->Count(); ++i) {
            TMenuItem* group = bar->Items(i);
            const std::string& c = group->Caption();
            if (c != "&Settings" && c != "&Calibration" && c != "&Options") continue;
            for (int j = 0; j < group->Count(); ++j)
                entries.push_back(group->Items(j));
        }
        return entries;
    }

    static TRect ScreenRect(TControl* c) {
        TPoint o = c->ClientToScreen({0, 0});
        return Bounds(o.X, o.Y, c->ClientWidth(), c->ClientHeight());
    }

    static TRect OuterRect(TForm* f) {
        return Bounds(f->Left(), f->Top(), f->Width(), f->Height());
    }

    static TRect Intersect(const TRect& a, const TRect& b) {
        TRect r = Rect(std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                       std::min(a.Bottom, b.Bottom));
        return r.Width() > 0 && r.Height() > 0 ? r : TRect{};
    }

    bool CoveredByFloatingWindow(TPoint p) const {
        for (TForm* f : FloatingWindows())
            if (OuterRect(f).Contains(p)) return true;
        return false;
    }

    // The control that a mouse at screen point `p` is over, inside `container`.
    static TControl* ControlAt(TWinControl* container, TPoint p) {
        for (int i = container->ControlCount() - 1; i >= 0; --i) {
            auto* win = dynamic_cast<TWinControl*>(container->Controls(i));
            if (win && win->Visible() && ScreenRect(win).Contains(p)) return ControlAt(win, p);
        }
        TPoint local = container->ScreenToClient(p);
        TControl* graphic = container->ControlAtPos(local);
        return graphic ? graphic : container;
    }

    // Every showing control inside a window, the window included.
    static void ShowingControls(TWinControl* container, std::vector<TControl*>& out) {
        out.push_back(container);
        for (int i = 0; i < container->ControlCount(); ++i) {
            TControl* c = container->Controls(i);
            if (!c->Visible()) continue;
            if (auto* win = dynamic_cast<TWinControl*>(c))
                ShowingControls(win, out);
            else
                out.push_back(c);
        }
    }

    // ---- delivering the mouse ------------------------------------------------------------

    void PlaceCursor(TPoint p) {
        Cursor = p;
        QtCursor->MoveTo(p);
    }

    // Moves the mouse to screen point `p` over `window`: either through the library's mouse
    // tracking directly, or as real Qt events on the window's handle.
    std::string MoveMouse(TForm* window, TPoint p) {
        PlaceCursor(p);
        if (Chance(25)) {
            QWindow* handle = window->Window()->windowHandle();
            QPoint local = handle->mapFromGlobal(QPoint(p.X, p.Y));
            QTest::mouseMove(handle, local);
            return " [qt]";
        }
        Application->SetMouseControl(ControlAt(window, p));
        return "";
    }

    // A left click at `p` (the mouse moves there first): a real Qt click, or the press and
    // release messages to the control under the mouse.
    std::string ClickAt(TForm* window, TPoint p) {
        PlaceCursor(p);
        if (Chance(40)) {
            QWindow* handle = window->Window()->windowHandle();
            QTest::mouseClick(handle, Qt::LeftButton, {}, handle->mapFromGlobal(QPoint(p.X, p.Y)));
            return " [qt]";
        }
        TControl* target = ControlAt(window, p);
        Application->SetMouseControl(target);
        if (dynamic_cast<TButton*>(target) || dynamic_cast<TCheckBox*>(target)) {
            // Buttons and check boxes are Qt's own widgets: they take the click from Qt.
            QWidget* widget = static_cast<TWinControl*>(target)->Handle();
            QPoint local = widget->mapFromGlobal(QPoint(p.X, p.Y));
            QTest::mouseClick(widget, Qt::LeftButton, {}, local);
            return " [widget]";
        }
        TPoint local{p.X - ScreenRect(target).Left, p.Y - ScreenRect(target).Top};
        target->Perform(WM_LBUTTONDOWN, 0, MakeMousePos(local.X, local.Y));
        target->Perform(WM_LBUTTONUP, 0, MakeMousePos(local.X, local.Y));
        return "";
    }

    // A point of the main window's client area that no floating window covers, inside `area`.
    bool FreeMainPoint(const TRect& area, TPoint& p) {
        TRect client = Intersect(area, ScreenRect(Form));
        if (client.Width() <= 0) return false;
        for (int attempt = 0; attempt < 20; ++attempt) {
            p = PointIn(client);
            if (!CoveredByFloatingWindow(p)) return true;
        }
        return false;
    }

    // A point over a random showing control of a floating window.
    bool PointOverWindow(TForm*& window, TPoint& p, TControl** control = nullptr) {
        std::vector<TForm*> windows = FloatingWindows();
        if (windows.empty()) return false;
        window = Pick(windows);
        std::vector<TControl*> controls;
        ShowingControls(window, controls);
        TControl* c = Pick(controls);
        if (control) *control = c;
        return VisiblePoint(window, c, p);
    }

    // A point of `control` that shows in its window's client area, if any of it does.
    bool VisiblePoint(TForm* window, TControl* control, TPoint& p) {
        TRect r = Intersect(ScreenRect(control), ScreenRect(window));
        if (r.Width() <= 0) return false;
        p = PointIn(r);
        return true;
    }

    // ---- the actions ---------------------------------------------------------------------
    // Each returns what it did, or nothing when it cannot be done in the current state.

    std::string MoveOntoCircle() {
        TBoardHighlight* circle = Pick(Circles());
        TPoint p;
        if (!FreeMainPoint(ScreenRect(circle), p)) return "";
        return "move onto " + circle->Name() + " at " + Describe(p) + MoveMouse(Form, p);
    }

    std::string MoveOverMainWindow() {
        TPoint p;
        if (!FreeMainPoint(ScreenRect(Form), p)) return "";
        return "move over the main window at " + Describe(p) + MoveMouse(Form, p);
    }

    std::string MoveOverFloatingWindow() {
        TForm* window = nullptr;
        TPoint p;
        if (!PointOverWindow(window, p)) return "";
        return "move over " + window->Caption() + " at " + Describe(p) + MoveMouse(window, p);
    }

    std::string MoveOffTheWindows() {
        PlaceCursor({-40, -40});
        Application->SetMouseControl(nullptr);
        return "move off all windows";
    }

    std::string ClickCircle() {
        TBoardHighlight* circle = Pick(Circles());
        TPoint p;
        if (!FreeMainPoint(ScreenRect(circle), p)) return "";
        return "click " + circle->Name() + " at " + Describe(p) + ClickAt(Form, p);
    }

    std::string DoubleClickCircle() {
        TBoardHighlight* circle = Pick(Circles());
        TPoint p;
        if (!FreeMainPoint(ScreenRect(circle), p)) return "";
        PlaceCursor(p);
        QWindow* handle = Form->Window()->windowHandle();
        QTest::mouseDClick(handle, Qt::LeftButton, {}, handle->mapFromGlobal(QPoint(p.X, p.Y)));
        return "double-click " + circle->Name() + " at " + Describe(p);
    }

    // Presses the button at one point of a window, drags to another and lets go there.
    std::string DragWithinWindow() {
        std::vector<TForm*> floating = FloatingWindows();
        TForm* window = floating.empty() || Chance(50) ? Form : Pick(floating);
        TRect area = window == Form ? ScreenRect(Form) : ScreenRect(window);
        TPoint from, to;
        if (window == Form && (!FreeMainPoint(area, from) || !FreeMainPoint(area, to))) return "";
        if (window != Form) {
            if (area.Width() <= 0 || area.Height() <= 0) return "";
            from = PointIn(area);
            to = PointIn(area);
        }
        QWindow* handle = window->Window()->windowHandle();
        auto local = [handle](TPoint p) { return handle->mapFromGlobal(QPoint(p.X, p.Y)); };
        PlaceCursor(from);
        QTest::mousePress(handle, Qt::LeftButton, {}, local(from));
        PlaceCursor(to);
        QTest::mouseMove(handle, local(to));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, local(to));
        return "drag in " + window->Caption() + " from " + Describe(from) + " to " + Describe(to);
    }

    std::string ClickInFloatingWindow() {
        TForm* window = nullptr;
        TPoint p;
        TControl* control = nullptr;
        if (!PointOverWindow(window, p, &control)) return "";
        return std::string("click ") + control->ClassName() + " " + control->Name() + " in " +
               window->Caption() + " at " + Describe(p) + ClickAt(window, p);
    }

    std::string PressPopupButton() {
        std::vector<TPopupForm*> popups = Popups(true);
        if (popups.empty()) return "";
        TPopupForm* popup = Pick(popups);
        static const std::vector<std::string> names = {"PreviousButton", "NextButton",
                                                       "DoneButton"};
        const std::string name = Pick(names);
        auto* button = dynamic_cast<TButton*>(popup->FindComponent(name));
        if (!button) return "";
        if (Chance(50)) {
            // From the keyboard: the mouse stays where it is.
            button->Click();
            return "press " + name + " of " + popup->Caption();
        }
        TPoint p;
        if (!VisiblePoint(popup, button, p)) return "";
        return "click " + name + " of " + popup->Caption() + ClickAt(popup, p);
    }

    std::string ToggleFilterBox() {
        TCheckBox* box = Pick(FilterBoxes());
        auto* popup = dynamic_cast<TForm*>(TForm::GetParentForm(box));
        if (!popup || popup == Form || !popup->Visible()) return "";
        if (Chance(50)) {
            box->SetFocus();
            QTest::keyClick(box->Handle(), Qt::Key_Space);
            return "space on " + box->Caption();
        }
        TPoint p;
        if (!VisiblePoint(popup, box, p)) return "";
        return "click " + box->Caption() + ClickAt(popup, p);
    }

    std::string CloseFloatingWindow() {
        std::vector<TForm*> windows = FloatingWindows();
        if (windows.empty()) return "";
        TForm* window = Pick(windows);
        if (Chance(50)) {
            window->Window()->close(); // the close box: the window system asks the form
            return "close box of " + window->Caption();
        }
        window->Close();
        return "close " + window->Caption();
    }

    // Menus are chosen with the mouse on the menu bar, or from the keyboard where it is.
    std::string ChooseMenuItem(TMenuItem* item) {
        std::string how = " from the keyboard";
        if (Chance(50)) {
            TRect client = ScreenRect(Form);
            PlaceCursor({client.Left + 10 + static_cast<int>(Below(100)), client.Top - 8});
            Application->SetMouseControl(Form);
            how = " with the mouse";
        }
        if (Chance(50))
            item->Click();
        else
            item->Action()->trigger();
        return "choose " + item->Caption() + how;
    }

    std::string ChooseCircleEntry() {
        std::vector<TMenuItem*> entries = CircleEntries();
        if (entries.empty()) return "";
        return ChooseMenuItem(Pick(entries));
    }

    std::string ChooseHelpCommand() {
        return ChooseMenuItem(Chance(50) ? Form->Howtousethisprogram1 : Form->TechnicalSupport1);
    }

    std::string PressHelpStart() {
        THelpForm* help = Form->SetSup->HelpForm();
        if (!help || !help->Visible()) return "";
        if (Chance(50)) {
            help->StartButton->Click();
            return "press Start";
        }
        TPoint p;
        if (!VisiblePoint(help, help->StartButton, p)) return ""; // the user shrank the window
        return "click Start" + ClickAt(help, p);
    }

    std::string PressKey() {
        QWidget* focus = QApplication::focusWidget();
        if (!focus) return "";
        struct TKey {
            Qt::Key Key;
            Qt::KeyboardModifiers Modifiers;
            const char* Name;
        };
        static const std::vector<TKey> keys = {{Qt::Key_Tab, Qt::NoModifier, "Tab"},
                                               {Qt::Key_Tab, Qt::ShiftModifier, "Shift+Tab"},
                                               {Qt::Key_Return, Qt::NoModifier, "Enter"},
                                               {Qt::Key_Enter, Qt::KeypadModifier, "keypad Enter"},
                                               {Qt::Key_Escape, Qt::NoModifier, "Escape"},
                                               {Qt::Key_Space, Qt::NoModifier, "Space"}};
        const TKey key = Pick(keys);
        std::string where = focus->metaObject()->className();
        QTest::keyClick(focus, key.Key, key.Modifiers);
        return std::string("key ") + key.Name + " on " + where;
    }

    // The user drags a window by its title bar or pulls its corner.
    std::string DragFloatingWindow() {
        std::vector<TForm*> windows = FloatingWindows();
        if (windows.empty()) return "";
        TForm* window = Pick(windows);
        QWidget* frame = window->Window();
        if (Chance(60)) {
            QPoint to(static_cast<int>(Below(TScreen::Width())) - 100,
                      static_cast<int>(Below(TScreen::Height())) - 50);
            frame->move(to);
            return "drag " + window->Caption() + " to (" + std::to_string(to.x()) + "," +
                   std::to_string(to.y()) + ")";
        }
        // Larger or smaller by up to 80 pixels, between what a window manager lets a user make
        // of a window and the screen: a random walk that drifted larger would soon paint
        // windows of thousands of pixels.
        auto pull = [this](int size, int least, int screen) {
            return std::clamp(size + static_cast<int>(Below(161)) - 80, least, screen);
        };
        QSize size(pull(frame->width(), 120, TScreen::Width()),
                   pull(frame->height(), 40, TScreen::Height()));
        frame->resize(size);
        return "resize " + window->Caption() + " to " + std::to_string(size.width()) + "x" +
               std::to_string(size.height());
    }

    std::string ActivateWindow() {
        std::vector<TForm*> windows = FloatingWindows();
        windows.push_back(Form);
        TForm* window = Pick(windows);
        window->Window()->activateWindow();
        return "activate " + window->Caption();
    }

    std::string ToggleMainWindowState() {
        bool maximize = Form->WindowState() != wsMaximized;
        Form->SetWindowState(maximize ? wsMaximized : wsNormal);
        return maximize ? "maximize the main window" : "restore the main window";
    }

    std::string Wait() {
        Settle();
        Application->DoIdle();
        return "wait";
    }

    struct TAction {
        const char* Name;
        int Weight;
        std::string (Monkey::*Run)();
    };

    static const std::vector<TAction>& Actions() {
        static const std::vector<TAction> actions = {
            {"move onto a circle", 18, &Monkey::MoveOntoCircle},
            {"move over the main window", 10, &Monkey::MoveOverMainWindow},
            {"move over a floating window", 14, &Monkey::MoveOverFloatingWindow},
            {"move off the windows", 2, &Monkey::MoveOffTheWindows},
            {"click a circle", 8, &Monkey::ClickCircle},
            {"double-click a circle", 2, &Monkey::DoubleClickCircle},
            {"press, drag and let go", 3, &Monkey::DragWithinWindow},
            {"click in a floating window", 6, &Monkey::ClickInFloatingWindow},
            {"press a popup button", 8, &Monkey::PressPopupButton},
            {"toggle a filter box", 8, &Monkey::ToggleFilterBox},
            {"close a floating window", 4, &Monkey::CloseFloatingWindow},
            {"choose a circle's menu entry", 6, &Monkey::ChooseCircleEntry},
            {"choose a Help command", 3, &Monkey::ChooseHelpCommand},
            {"press Start", 2, &Monkey::PressHelpStart},
            {"press a key", 6, &Monkey::PressKey},
            {"drag or resize a window", 2, &Monkey::DragFloatingWindow},
            {"activate a window", 2, &Monkey::ActivateWindow},
            {"maximize or restore the main window", 1, &Monkey::ToggleMainWindowState},
            {"wait", 2, &Monkey::Wait},
        };
        return actions;
    }

    const TAction& PickAction() {
        int total = 0;
        for (const TAction& a : Actions())
            total += a.Weight;
        int roll = static_cast<int>(Below(total));
        for (const TAction& a : Actions()) {
            if (roll < a.Weight) return a;
            roll -= a.Weight;
        }
        return Actions().back();
    }

    // Runs random actions until one applies in the current state.
    std::string RandomAction() {
        for (int attempt = 0; attempt < 50; ++attempt) {
            const TAction& action = PickAction();
            std::string done = (this->*action.Run)();
            if (done.empty()) continue;
            ++Performed[action.Name];
            return done;
        }
        return Wait();
    }

    // ---- the rules -----------------------------------------------------------------------

    using TProblems = std::vector<std::string>;

    void CheckNoErrorShown(TProblems& problems) {
        if (Application->ExceptionCount() != ExceptionsBefore)
            problems.push_back("an exception reached the default display: " +
                               Application->LastExceptionMessage());
        for (const std::string& box : Boxes)
            problems.push_back("a message box appeared: " + box);
        for (const std::string& w : Warnings->Take())
            problems.push_back("Qt warning: " + w);
    }

    // The circle that holds the popup of the linked group (title, type), once the popup exists.
    TBoardHighlight* PopupHolder(const std::string& title, THighlightType type) const {
        for (TBoardHighlight* h : Circles())
            if (h->Title() == title && h->HighlightType() == type && h->Popup()) return h;
        return nullptr;
    }

    static THighlightType GroupType(const TMenuItem* entry) {
        const std::string& g = entry->Parent()->Caption();
        return g == "&Options" ? htOptions : g == "&Calibration" ? htCalibration : htSettings;
    }

    void CheckMenuMarks(TProblems& problems) {
        for (TMenuItem* entry : CircleEntries()) {
            TBoardHighlight* holder = PopupHolder(entry->Caption(), GroupType(entry));
            bool pinnedAndShown = holder && holder->Pinned() && holder->Popup()->Visible();
            if (entry->Checked() != pinnedAndShown)
                problems.push_back("menu entry " + entry->Caption() +
                                   (entry->Checked() ? " is" : " is not") +
                                   " checked, but its popup is " + (pinnedAndShown ? "" : "not ") +
                                   "pinned and shown");
        }
    }

    void CheckCirclesAndPopups(TProblems& problems) {
        for (TBoardHighlight* h : Circles()) {
            if (!h->CreatePopup()) continue;
            TBoardHighlight* holder = PopupHolder(h->Title(), h->HighlightType());
            bool shown = holder && holder->Popup()->Visible();
            if (h->Lit() != shown)
                problems.push_back(h->Name() + (h->Lit() ? " is lit, but its popup is not shown"
                                                         : " is not lit, but its popup is shown"));
            // The active look follows the activation notices of the group's popup. Which window
            // is active is the platform's business (offscreen, a window hidden while active
            // stays the active one until another is activated), so compare with Qt's view.
            bool active = holder && holder->Popup()->Active();
            if (h->PopupActive() != active)
                problems.push_back(h->Name() + (h->PopupActive()
                                                    ? " looks active, but its popup is not"
                                                    : " looks inactive, but its popup is active"));
            if (holder && holder->Popup()->CloseOnLeave && !(shown && holder->Pinned()))
                problems.push_back(h->Name() +
                                   "'s popup closes on leave without being pinned and shown");
        }
        std::map<std::pair<std::string, int>, int> perGroup;
        for (TPopupForm* p : Popups(false))
            if (++perGroup[{p->Caption(), p->Tag()}] == 2)
                problems.push_back("two popups for " + p->Caption());
    }

    void CheckFilterSwitch(TProblems& problems) {
        const std::string bits = Form->FilterDips->BinaryValueStr();
        if (bits.size() != 8) {
            problems.push_back("the switch drawing holds " + bits);
            return;
        }
        for (TCheckBox* box : FilterBoxes()) {
            char expected = box->Checked() ? '1' : '0';
            if (bits[static_cast<size_t>(box->Tag())] != expected)
                problems.push_back("the switch drawing shows " + bits + " but " + box->Caption() +
                                   (box->Checked() ? " is checked" : " is clear"));
            if (box->HandleAllocated() &&
                static_cast<QCheckBox*>(box->Handle())->isChecked() != box->Checked())
                problems.push_back(box->Caption() + " shows a different state than it holds");
        }
    }

    // A window on the screen is exactly a form that thinks it is visible.
    void CheckWindowsFollowForms(TProblems& problems) {
        for (TForm* f : Application->Forms()) {
            if (!IsOurs(f) || !f->HandleAllocated()) continue;
            if (f->Visible() != f->Window()->isVisible())
                problems.push_back(f->Caption() +
                                   (f->Visible() ? " is visible but its window is hidden"
                                                 : " is hidden but its window is on the screen"));
        }
        if (!Form->Visible()) problems.push_back("the main window has gone");
        for (TRadioPanel* panel : {Form->FilterPanel, Form->ConnectorPanel})
            if (panel->Parent() == Form && panel->Visible())
                problems.push_back(panel->Name() + " shows on the main window");
    }

    TProblems Problems() {
        TProblems problems;
        CheckNoErrorShown(problems);
        CheckMenuMarks(problems);
        CheckCirclesAndPopups(problems);
        CheckFilterSwitch(problems);
        CheckWindowsFollowForms(problems);
        return problems;
    }

    // ---- coverage ------------------------------------------------------------------------

    // The states a meaningful run passes through; a run that never reaches one of them says
    // more about the monkey than about the program.
    static const std::vector<std::string>& StatesToReach() {
        static const std::vector<std::string> states = {
            "popup open by hovering", "popup pinned",       "popup closing on leave",
            "both popups open",       "filter switch set",  "help window open",
            "support window open",    "help window closed", "main window restored",
            "popup moved by the user"};
        return states;
    }

    void RecordStates() {
        for (TBoardHighlight* h : Circles()) {
            TPopupForm* popup = h->Popup();
            if (!popup || !popup->Visible()) continue;
            ++Reached[h->Pinned() ? "popup pinned" : "popup open by hovering"];
            if (popup->CloseOnLeave) ++Reached["popup closing on leave"];
            auto [first, isNew] = OpenedAt.try_emplace(popup, TPoint{popup->Left(), popup->Top()});
            if (!isNew && (first->second.X != popup->Left() || first->second.Y != popup->Top()))
                ++Reached["popup moved by the user"];
        }
        if (Popups(true).size() >= 2) ++Reached["both popups open"];
        if (Form->FilterDips->BinaryValueStr() != "00000000") ++Reached["filter switch set"];
        ++Reached[Form->SetSup->HelpForm()->Visible() ? "help window open" : "help window closed"];
        if (Form->SetSup->TechForm()->Visible()) ++Reached["support window open"];
        if (Form->WindowState() != wsMaximized) ++Reached["main window restored"];
    }

    void ExpectStatesReached() {
        for (const std::string& state : StatesToReach())
            EXPECT_GT(Reached[state], 0)
                << "the monkey never reached: " << state << " (seed " << Seed << ")";
    }

    // ---- reporting -----------------------------------------------------------------------

    void Remember(int step, const std::string& action) {
        Recent.push_back("  step " + std::to_string(step) + ": " + action);
        if (Recent.size() > RememberedActions) Recent.pop_front();
    }

    static std::string Listed(const TProblems& problems) {
        std::string text;
        for (const std::string& p : problems)
            text += p + "\n";
        return text;
    }

    std::string Report(int step, const TProblems& problems) const {
        std::ostringstream out;
        out << "Monkey failed at step " << step << " of seed " << Seed
            << ".\nReplay: MONKEY_SEED=" << Seed << " MONKEY_STEPS=" << step + 1
            << "\nLast actions:\n";
        for (const std::string& a : Recent)
            out << a << "\n";
        out << "Problems:\n";
        for (const std::string& p : problems)
            out << "  " << p << "\n";
        out << "Windows (form bounds / Qt geometry):\n";
        for (TForm* f : Application->Forms())
            if (IsOurs(f) && f->HandleAllocated()) out << "  " << WindowState(f) << "\n";
        return out.str();
    }

    static std::string WindowState(TForm* f) {
        QRect g = f->Window()->geometry();
        std::ostringstream out;
        out << f->Caption() << (f->Visible() ? " shown " : " hidden ")
            << Describe({f->Left(), f->Top()}) << " " << f->Width() << "x" << f->Height() << " / "
            << Describe({g.x(), g.y()}) << " " << g.width() << "x" << g.height();
        return out.str();
    }

    void PrintSummary(int steps) const {
        std::cout << "Monkey: seed " << Seed << ", " << steps << " steps\n";
        for (const TAction& a : Actions()) {
            auto it = Performed.find(a.Name);
            std::cout << "  " << a.Name << ": " << (it == Performed.end() ? 0 : it->second) << "\n";
        }
        std::cout << "Steps that ended with\n";
        for (const std::string& state : StatesToReach()) {
            auto it = Reached.find(state);
            std::cout << "  " << state << ": " << (it == Reached.end() ? 0 : it->second) << "\n";
        }
    }

    void ExpectCleanStart() {
        ASSERT_TRUE(Form->SetSup->HelpForm() && Form->SetSup->HelpForm()->Visible())
            << "the help window did not open";
        ASSERT_EQ(CircleEntries().size(), 2u) << "the circles did not list themselves in the menu";
        TProblems atStart = Problems();
        ASSERT_TRUE(atStart.empty()) << Report(-1, atStart);
    }

    // Deleting the main window takes every window, form and mouse reference with it.
    void ExpectCleanExit() {
        CloseMainWindow();
        EXPECT_EQ(Application->Forms().size(), FormsBefore) << "forms outlived the main window";
        EXPECT_EQ(QApplication::topLevelWidgets().size(), WindowsBefore)
            << "Qt windows outlived the main window";
        EXPECT_EQ(Application->ExceptionCount(), ExceptionsBefore)
            << Application->LastExceptionMessage();
        EXPECT_EQ(Application->MouseControl(), nullptr);
        for (const std::string& w : Warnings->Take())
            ADD_FAILURE() << "Qt warning at tear-down: " << w;
    }

    // Runs `steps` random actions, checking the rules after each; false after a failure.
    bool RunSteps(int steps) {
        TWatchdog watchdog(Seed);
        for (int step = 0; step < steps; ++step) {
            watchdog.Starting(step, "choosing");
            std::string action = RandomAction();
            Remember(step, action);
            if (Trace) std::cout << "  step " << step << ": " << action << "\n";
            watchdog.Starting(step, action);
            Settle();
            TProblems problems = Problems();
            if (!problems.empty()) {
                ADD_FAILURE() << Report(step, problems);
                return false;
            }
            RecordStates();
        }
        return true;
    }

    TMainForm* Form = nullptr;
    uint64_t Seed = DefaultSeed;
    const bool Trace = EnvNumber("MONKEY_TRACE", 0) != 0; // print every action as it runs
    std::mt19937_64 Rng;
    TPoint Cursor{-40, -40};
    std::unique_ptr<TQtWarnings> Warnings = std::make_unique<TQtWarnings>();
    std::unique_ptr<TQtCursor> QtCursor = std::make_unique<TQtCursor>();
    std::vector<std::string> Boxes;
    std::deque<std::string> Recent;
    std::map<std::string, int> Performed;
    std::map<std::string, int> Reached;
    std::map<TPopupForm*, TPoint> OpenedAt; // where each popup first showed
    size_t FormsBefore = 0;
    qsizetype WindowsBefore = 0;
    int ExceptionsBefore = 0;
};

TEST_F(Monkey, RandomUserActionsKeepThePageConsistent) {
    Seed = EnvNumber("MONKEY_SEED", DefaultSeed);
    const int steps = static_cast<int>(EnvNumber("MONKEY_STEPS", DefaultSteps));
    std::cout << "Monkey seed " << Seed << ", " << steps
              << " steps (set MONKEY_SEED and MONKEY_STEPS to replay)\n";
    Rng.seed(Seed);
    ExpectCleanStart();
    if (HasFatalFailure()) return;

    bool completed = RunSteps(steps);
    PrintSummary(steps);
    if (!completed) return;
    if (steps >= DefaultSteps) ExpectStatesReached();
    ExpectCleanExit();
}

// Runs that once failed, replayed step for step. The actions follow from the seed and the
// table of actions, so a change to that table turns these into other (still valid) runs; the
// scripted cases below keep the faults themselves pinned down.
struct TReplay {
    uint64_t Seed;
    int Steps;
    const char* Fault;
};

void PrintTo(const TReplay& r, std::ostream* out) {
    *out << "seed " << r.Seed << ", " << r.Steps << " steps";
}

class MonkeyReplay : public Monkey, public testing::WithParamInterface<TReplay> {};

TEST_P(MonkeyReplay, RunsClean) {
    SCOPED_TRACE(GetParam().Fault);
    Seed = GetParam().Seed;
    Rng.seed(Seed);
    ExpectCleanStart();
    if (HasFatalFailure()) return;
    if (RunSteps(GetParam().Steps)) ExpectCleanExit();
}

// Each closed a popup while the mouse stayed on its circle and then clicked the circle.
const TReplay FormerFailures[] = {
    {2, 25, "filter popup closed with Done from the keyboard"},
    {7, 17, "connector popup closed with Close (Alt+F4)"},
    {1, 214, "filter popup closed by its close box"},
    {11, 630, "connector popup closed from its menu entry, then a double click"},
};

INSTANTIATE_TEST_SUITE_P(MonkeyFormerFailures, MonkeyReplay, testing::ValuesIn(FormerFailures),
                         [](const auto& test) { return "Seed" + std::to_string(test.param.Seed); });

// A popup closed from the keyboard while the mouse stays on its circle, and then a click on
// that circle: the popup stays closed, its window off the screen, its menu entry clear, and
// the entry's next choice opens it pinned.
struct TCloseRoute {
    const char* Name;
    void (*Close)(TMainForm* form, TBoardHighlight* circle);
};

TMenuItem* EntryOf(TMainForm* form, TBoardHighlight* circle) {
    return dynamic_cast<TMenuItem*>(form->FindComponent(circle->TitleIdent() + "1"));
}

const TCloseRoute CloseRoutes[] = {
    {"DoneKey",
     [](TMainForm*, TBoardHighlight* c) {
         static_cast<TButton*>(c->Popup()->FindComponent("DoneButton"))->Click();
     }},
    {"MenuEntryKey", [](TMainForm* f, TBoardHighlight* c) { EntryOf(f, c)->Click(); }},
    {"AltF4", [](TMainForm*, TBoardHighlight* c) { c->Popup()->Close(); }},
};

struct TClickAfterClose {
    const char* Circle;
    TCloseRoute Route;
};

void PrintTo(const TClickAfterClose& c, std::ostream* out) {
    *out << c.Circle << ", " << c.Route.Name;
}

class MonkeyClickAfterClose : public Monkey,
                              public testing::WithParamInterface<TClickAfterClose> {};

TEST_P(MonkeyClickAfterClose, LeavesThePopupClosedAndItsEntryClear) {
    auto* circle = dynamic_cast<TBoardHighlight*>(Form->FindComponent(GetParam().Circle));
    ASSERT_NE(circle, nullptr);
    TRect r = ScreenRect(circle);
    TPoint middle{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    PlaceCursor(middle);
    Application->SetMouseControl(circle);
    circle->Click(); // pinned, so that closing has a check mark to clear
    Settle();
    ASSERT_TRUE(circle->Popup() && circle->Popup()->Visible());

    GetParam().Route.Close(Form, circle);
    Settle();
    ASSERT_EQ(Application->MouseControl(), circle) << "the mouse should still be on the circle";
    circle->Perform(WM_LBUTTONDOWN, 0, MakeMousePos(r.Width() / 2, r.Height() / 2));
    circle->Perform(WM_LBUTTONUP, 0, MakeMousePos(r.Width() / 2, r.Height() / 2));
    Settle();

    EXPECT_FALSE(circle->Popup()->Visible());
    EXPECT_FALSE(circle->Popup()->Window()->isVisible()) << "the closed popup's window came back";
    EXPECT_FALSE(EntryOf(Form, circle)->Checked());
    EXPECT_EQ(Listed(Problems()), "");

    EntryOf(Form, circle)->Click();
    Settle();
    EXPECT_TRUE(circle->Popup()->Visible() && circle->Pinned() && EntryOf(Form, circle)->Checked());
    EXPECT_EQ(Listed(Problems()), "");
}

std::vector<TClickAfterClose> ClickAfterCloseCases() {
    std::vector<TClickAfterClose> cases;
    for (const char* circle : {"FilterHighlight", "ConnectorHighlight"})
        for (const TCloseRoute& route : CloseRoutes)
            cases.push_back({circle, route});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(MonkeyCloseRoutes, MonkeyClickAfterClose,
                         testing::ValuesIn(ClickAfterCloseCases()), [](const auto& test) {
                             return std::string(test.param.Circle) + test.param.Route.Name;
                         });

} // namespace
