// Window messages: Perform and its result, clicks made of button down and up, mouse enter and
// leave along the parent chain, the application's mouse control, and real Qt mouse input
// reaching the topmost graphic control.
#include "classlib/application.h"
#include "classlib/custompanel.h"
#include "classlib/form.h"
#include "classlib/graphiccontrol.h"
#include "system/messagebox.h"
#include "system/messages.h"

#include <QGuiApplication>
#include <QStyleHints>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct TMouseNote {
    std::string Who;
    unsigned Msg;
    LPARAM LParam;
    bool operator==(const TMouseNote&) const = default;
};

std::ostream& operator<<(std::ostream& os, const TMouseNote& n) {
    return os << n.Who << (n.Msg == CM_MOUSEENTER ? " enter " : " leave ") << n.LParam;
}

using TMouseLog = std::vector<TMouseNote>;

// Records the enter and leave notices a control receives, then handles them as usual.
template <typename Base> class TRecording : public Base {
  public:
    TRecording(TComponent* owner, TMouseLog& log, std::string who)
        : Base(owner), FLog(log), FWho(std::move(who)) {}
    std::function<void(unsigned msg)> OnNotice;

    void WndProc(TMessage& message) override {
        if (message.Msg == CM_MOUSEENTER || message.Msg == CM_MOUSELEAVE) {
            FLog.push_back({FWho, message.Msg, message.LParam});
            if (OnNotice) OnNotice(message.Msg);
        }
        Base::WndProc(message);
    }

  private:
    TMouseLog& FLog;
    std::string FWho;
};

using TRecordingGraphic = TRecording<TGraphicControl>;
using TRecordingPanel = TRecording<TCustomPanel>;
using TRecordingForm = TRecording<TForm>;

LPARAM AsLParam(const TControl* c) {
    return reinterpret_cast<LPARAM>(c);
}

// Keeps the real message box shut and the shared mouse state clean around each test.
class ClassLibMessages : public ::testing::Test {
  protected:
    void SetUp() override {
        Application->SetMouseControl(nullptr);
        FPreviousHook = TMessageBox::SetHook(
            [this](QWidget*, const std::string& text, const std::string&, unsigned) {
                Boxes.push_back(text);
                return IDOK;
            });
    }
    void TearDown() override {
        Application->SetMouseControl(nullptr);
        TMessageBox::SetHook(FPreviousHook);
    }
    std::vector<std::string> Boxes;

  private:
    TMessageBox::THook FPreviousHook;
};

class TAnswering : public TGraphicControl {
  public:
    using TGraphicControl::TGraphicControl;
    static constexpr unsigned WM_MULTIPLY = WM_USER + 7;
    void WndProc(TMessage& message) override {
        if (message.Msg == WM_MULTIPLY) {
            message.Result = static_cast<LRESULT>(message.WParam) * message.LParam;
            return;
        }
        TGraphicControl::WndProc(message);
    }
};

TEST_F(ClassLibMessages, PerformReturnsTheResultTheHandlerSet) {
    TAnswering control(nullptr);
    EXPECT_EQ(control.Perform(TAnswering::WM_MULTIPLY, 6, 7), 42);
    EXPECT_EQ(control.Perform(TAnswering::WM_MULTIPLY, 3, -5), -15);
    EXPECT_EQ(control.Perform(WM_USER + 8, 6, 7), 0) << "an unhandled message answers 0";
}

struct TClickCase {
    const char* Name;
    bool Press;
    TPoint Down;
    TPoint Up;
    int Clicks;
};

class ClassLibClick : public ::testing::TestWithParam<TClickCase> {};

// A control of 40 x 20: a click needs the button to go down on it and come up inside it.
TEST_P(ClassLibClick, ButtonUpInsideAfterDownClicks) {
    const TClickCase& tc = GetParam();
    TGraphicControl control(nullptr);
    control.SetBounds(100, 50, 40, 20);
    int clicks = 0;
    control.OnClick = [&](TObject* sender) {
        EXPECT_EQ(sender, &control);
        ++clicks;
    };
    if (tc.Press) control.Perform(WM_LBUTTONDOWN, 0, MakeMousePos(tc.Down.X, tc.Down.Y));
    control.Perform(WM_LBUTTONUP, 0, MakeMousePos(tc.Up.X, tc.Up.Y));
    EXPECT_EQ(clicks, tc.Clicks);

    // Whatever happened, the next plain click inside counts once.
    clicks = 0;
    control.Perform(WM_LBUTTONDOWN, 0, MakeMousePos(1, 1));
    control.Perform(WM_LBUTTONUP, 0, MakeMousePos(1, 1));
    EXPECT_EQ(clicks, 1);
}

INSTANTIATE_TEST_SUITE_P(DownAndUp, ClassLibClick,
                         ::testing::Values(TClickCase{"Inside", true, {5, 5}, {10, 10}, 1},
                                           TClickCase{"CornerPixels", true, {0, 0}, {39, 19}, 1},
                                           TClickCase{
                                               "UpRightOfControl", true, {5, 5}, {40, 10}, 0},
                                           TClickCase{"UpBelowControl", true, {5, 5}, {10, 20}, 0},
                                           TClickCase{"UpLeftOfControl", true, {5, 5}, {-1, 5}, 0},
                                           TClickCase{"UpAboveControl", true, {5, 5}, {5, -3}, 0},
                                           TClickCase{"UpFarAway", true, {5, 5}, {-300, 500}, 0},
                                           TClickCase{"UpWithoutDown", false, {}, {5, 5}, 0}),
                         [](const ::testing::TestParamInfo<TClickCase>& param) {
                             return std::string(param.param.Name);
                         });

TEST_F(ClassLibMessages, MouseDownUpAndMoveCarryTheClientPosition) {
    TGraphicControl control(nullptr);
    control.SetBounds(0, 0, 50, 50);
    std::vector<TPoint> seen;
    control.OnMouseDown = [&](TObject*, TMouseButton, int x, int y) { seen.push_back({x, y}); };
    control.OnMouseMove = [&](TObject*, int x, int y) { seen.push_back({x, y}); };
    control.OnMouseUp = [&](TObject*, TMouseButton, int x, int y) { seen.push_back({x, y}); };
    control.Perform(WM_LBUTTONDOWN, 0, MakeMousePos(3, 4));
    control.Perform(WM_MOUSEMOVE, 0, MakeMousePos(-2, 30));
    control.Perform(WM_LBUTTONUP, 0, MakeMousePos(49, -1));
    const std::vector<TPoint> expected = {{3, 4}, {-2, 30}, {49, -1}};
    EXPECT_EQ(seen, expected);
}

TEST_F(ClassLibMessages, EnterAndLeaveReachTheControlAndItsParent) {
    TMouseLog log;
    TRecordingForm form(nullptr, log, "form");
    auto* control = new TRecordingGraphic(&form, log, "control");
    control->SetParent(&form);

    control->Perform(CM_MOUSEENTER);
    control->Perform(CM_MOUSELEAVE);

    const TMouseLog expected = {{"control", CM_MOUSEENTER, 0},
                                {"form", CM_MOUSEENTER, AsLParam(control)},
                                {"control", CM_MOUSELEAVE, 0},
                                {"form", CM_MOUSELEAVE, AsLParam(control)}};
    EXPECT_EQ(log, expected);
}

TEST_F(ClassLibMessages, LeaveTravelsUpTheWholeParentChain) {
    TMouseLog log;
    TRecordingForm form(nullptr, log, "form");
    auto* panel = new TRecordingPanel(&form, log, "panel");
    panel->SetParent(&form);
    auto* control = new TRecordingGraphic(&form, log, "control");
    control->SetParent(panel);

    control->Perform(CM_MOUSELEAVE);

    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0], (TMouseNote{"control", CM_MOUSELEAVE, 0}));
    EXPECT_EQ(log[1], (TMouseNote{"panel", CM_MOUSELEAVE, AsLParam(control)}));
    // The form hears it once, naming a control on the way down to the one the mouse left.
    EXPECT_EQ(log[2].Who, "form");
    EXPECT_TRUE(log[2].LParam == AsLParam(control) || log[2].LParam == AsLParam(panel)) << log[2];
}

TEST_F(ClassLibMessages, ChangingTheMouseControlSendsLeaveThenEnter) {
    TMouseLog log;
    TRecordingForm form(nullptr, log, "form");
    auto* a = new TRecordingGraphic(&form, log, "a");
    auto* b = new TRecordingGraphic(&form, log, "b");
    a->SetParent(&form);
    b->SetParent(&form);

    Application->SetMouseControl(a);
    EXPECT_EQ(Application->MouseControl(), a);
    log.clear();
    Application->SetMouseControl(b);
    const TMouseLog expected = {{"a", CM_MOUSELEAVE, 0},
                                {"form", CM_MOUSELEAVE, AsLParam(a)},
                                {"b", CM_MOUSEENTER, 0},
                                {"form", CM_MOUSEENTER, AsLParam(b)}};
    EXPECT_EQ(log, expected);

    log.clear();
    Application->SetMouseControl(b);
    EXPECT_TRUE(log.empty()) << "the same control again sends nothing";

    Application->SetMouseControl(nullptr);
    const TMouseLog left = {{"b", CM_MOUSELEAVE, 0}, {"form", CM_MOUSELEAVE, AsLParam(b)}};
    EXPECT_EQ(log, left);
    EXPECT_EQ(Application->MouseControl(), nullptr);
}

TEST_F(ClassLibMessages, DestroyedControlIsForgottenAsMouseControl) {
    TMouseLog log;
    TForm form(nullptr);
    auto* gone = new TRecordingGraphic(&form, log, "gone");
    auto* next = new TRecordingGraphic(&form, log, "next");
    gone->SetParent(&form);
    next->SetParent(&form);
    Application->SetMouseControl(gone);
    log.clear();

    delete gone;
    EXPECT_EQ(Application->MouseControl(), nullptr);
    Application->SetMouseControl(next);

    const TMouseLog expected = {{"next", CM_MOUSEENTER, 0}};
    EXPECT_EQ(log, expected) << "no leave may go to a destroyed control";
}

TEST_F(ClassLibMessages, LeaveHandlerThatDestroysTheNextControlStopsTheEnter) {
    TMouseLog log;
    TForm form(nullptr);
    auto* first = new TRecordingGraphic(&form, log, "first");
    auto* second = new TRecordingGraphic(&form, log, "second");
    first->SetParent(&form);
    second->SetParent(&form);
    first->OnNotice = [&](unsigned msg) {
        if (msg == CM_MOUSELEAVE && second) {
            delete second;
            second = nullptr;
        }
    };
    Application->SetMouseControl(first);
    log.clear();

    Application->SetMouseControl(second);

    const TMouseLog expected = {{"first", CM_MOUSELEAVE, 0}};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(Application->MouseControl(), nullptr);
}

TEST_F(ClassLibMessages, ExceptionInAnEnterHandlerIsShownAndTrackingGoesOn) {
    TMouseLog log;
    TForm form(nullptr);
    auto* faulty = new TRecordingGraphic(&form, log, "faulty");
    auto* fine = new TRecordingGraphic(&form, log, "fine");
    faulty->SetParent(&form);
    fine->SetParent(&form);
    faulty->OnNotice = [](unsigned msg) {
        if (msg == CM_MOUSEENTER) throw std::runtime_error("enter failed");
    };
    const int before = Application->ExceptionCount();

    Application->SetMouseControl(faulty);
    EXPECT_EQ(Application->ExceptionCount(), before + 1);
    EXPECT_EQ(Application->LastExceptionMessage(), "enter failed");
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0], "enter failed.");
    EXPECT_EQ(Application->MouseControl(), faulty);

    log.clear();
    Application->SetMouseControl(fine);
    const TMouseLog expected = {{"faulty", CM_MOUSELEAVE, 0}, {"fine", CM_MOUSEENTER, 0}};
    EXPECT_EQ(log, expected);
}

// Real mouse input through Qt into a shown form with two overlapping graphic controls:
// back at 10,10 60x40 and front at 40,20 60x40 overlap in 40..69 x 20..49.
class ClassLibMouseInput : public ClassLibMessages {
  protected:
    void SetUp() override {
        ClassLibMessages::SetUp();
        Form = new TRecordingForm(nullptr, Log, "form");
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(0, 0, 200, 150);
        Back = AddChild("back", 10, 10);
        Front = AddChild("front", 40, 20);
        Form->Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Window()));
        // Qt drops a move to where the pointer already is; start each test from one spot.
        MoveTo(Parking);
    }
    void TearDown() override {
        delete Form;
        ClassLibMessages::TearDown();
    }
    TRecordingGraphic* AddChild(const std::string& name, int left, int top) {
        auto* c = new TRecordingGraphic(Form, Log, name);
        c->SetBounds(left, top, 60, 40);
        c->SetParent(Form);
        c->OnClick = [this, name](TObject*) { Clicks.push_back(name); };
        return c;
    }
    QWindow* Window() { return Form->Window()->windowHandle(); }
    void MoveTo(QPoint p) {
        QTest::mouseMove(Window(), p);
        QCoreApplication::processEvents();
    }
    void ClickAt(QPoint p) {
        QTest::mouseClick(Window(), Qt::LeftButton, Qt::NoModifier, p);
        QCoreApplication::processEvents();
        // Keep consecutive clicks from pairing into double clicks.
        QTest::qWait(QGuiApplication::styleHints()->mouseDoubleClickInterval() + 20);
    }

    static constexpr QPoint Parking{1, 149};
    TMouseLog Log;
    std::vector<std::string> Clicks;
    TRecordingForm* Form = nullptr;
    TRecordingGraphic* Back = nullptr;
    TRecordingGraphic* Front = nullptr;
};

TEST_F(ClassLibMouseInput, MouseMoveMakesTheTopmostControlTheMouseControl) {
    const QPoint overlap(50, 30), backOnly(15, 15), empty(150, 120);
    struct TStep {
        QPoint Where;
        TControl* Expected;
    };
    const TStep steps[] = {{overlap, Front}, {backOnly, Back}, {empty, Form}, {overlap, Front}};
    for (const TStep& s : steps) {
        MoveTo(s.Where);
        EXPECT_EQ(Application->MouseControl(), s.Expected)
            << "at " << s.Where.x() << "," << s.Where.y();
    }

    Back->BringToFront();
    MoveTo(empty);
    MoveTo(overlap);
    EXPECT_EQ(Application->MouseControl(), Back) << "brought to front, it is hit first";
}

TEST_F(ClassLibMouseInput, FormHearsWhenTheMouseLeavesOneOfItsControls) {
    MoveTo(QPoint(50, 30));
    ASSERT_EQ(Application->MouseControl(), Front);
    Log.clear();

    MoveTo(QPoint(150, 120));

    const TMouseNote leftFront{"form", CM_MOUSELEAVE, AsLParam(Front)};
    EXPECT_NE(std::find(Log.begin(), Log.end(), leftFront), Log.end())
        << ::testing::PrintToString(Log);
    EXPECT_EQ(Log.front(), (TMouseNote{"front", CM_MOUSELEAVE, 0}));
}

TEST_F(ClassLibMouseInput, ClickReachesTheTopmostVisibleControl) {
    const QPoint overlap(50, 30);
    ClickAt(overlap);
    Back->BringToFront();
    ClickAt(overlap);
    Back->Hide();
    ClickAt(overlap);
    ClickAt(QPoint(150, 120)); // empty client area: no control clicked
    const std::vector<std::string> expected = {"front", "back", "front"};
    EXPECT_EQ(Clicks, expected);
}

TEST_F(ClassLibMouseInput, ControlDestroyedWhileTheButtonIsDownIsNotClicked) {
    Front->OnMouseDown = [this](TObject*, TMouseButton, int, int) {
        // This closure dies with the control: read what it needs first.
        TControl* doomed = Front;
        Front = nullptr;
        delete doomed;
    };
    ClickAt(QPoint(50, 30));
    EXPECT_EQ(Front, nullptr);
    EXPECT_TRUE(Clicks.empty()) << "the control beneath saw only the button come up";
    ClickAt(QPoint(50, 30));
    const std::vector<std::string> expected = {"back"};
    EXPECT_EQ(Clicks, expected);
}

} // namespace
