// The calibration poll that the supporter's timer drives: channel lines in every display, the
// failure box with Retry and Cancel, the missing-handler box, and errors inside a poll.
#include "classlib/application.h"
#include "classlib/button.h"
#include "classlib/custompanel.h"
#include "classlib/form.h"
#include "classlib/memo.h"
#include "setupctrls/helpform.h"
#include "setupctrls/setupsupporter.h"
#include "system/messagebox.h"
#include "system/timerwindow.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr unsigned FailureFlags = 0x50135;
constexpr unsigned NotAssignedFlags = 0x50030;
const std::string FailureText = "Total A/D failure. The card may not be installed, or it may be "
                                "installed at a different base address.";
const std::string NotAssignedText = "Error: calibration begun, but OnGetCalibString isn't assigned.";

struct TShownBox {
    QWidget* Owner = nullptr;
    std::string Caption;
    std::string Text;
    unsigned Flags = 0;
    bool Calibrating = false;  // at the moment the box was open
    bool TimerRunning = false; // at the moment the box was open
};

// One display's controls, held in variables the display refers to.
struct TDisplayControls {
    TMemo* View = nullptr;
    TButton* Action = nullptr;
    TControl* Hidden = nullptr;
};

class Calibration : public testing::Test {
  protected:
    void SetUp() override {
        Main = new TForm(nullptr);
        Main->Window(); // the boxes are owned by a main window that exists on screen
        Application->SetMainForm(Main);
        Sup = new TSetupSupporter(Main);
        Sup->OnStartButtonClick = [this](TObject*) { ++StartClicks; };
        Sup->OnStopButtonClick = [this](TObject*) { ++StopClicks; };
        for (int i = 0; i < 2; ++i) AddDisplay(Displays[i], "Display" + std::to_string(i));
        TMessageBox::SetHook([this](QWidget* owner, const std::string& text,
                                    const std::string& caption, unsigned flags) {
            Boxes.push_back({owner, caption, text, flags, Sup->Calibrating(),
                             Sup->TimerWindow().IsRunning(1)});
            Log.push_back("box");
            return Answer;
        });
        ExceptionsBefore = Application->ExceptionCount();
    }

    void TearDown() override {
        delete Main;
        TMessageBox::SetHook(nullptr);
    }

    void AddDisplay(TDisplayControls& controls, const std::string& name) {
        controls.View = new TMemo(Main);
        controls.View->SetName(name + "View");
        controls.View->SetParent(Main);
        controls.View->Lines().SetItems(std::vector<std::string>(8, "-"));
        controls.Action = new TButton(Main);
        controls.Action->SetName(name + "Button");
        controls.Action->SetParent(Main);
        controls.Action->SetCaption("Stop");
        controls.Action->OnClick = Sup->OnStopButtonClick;
        auto* hidden = new TCustomPanel(Main);
        hidden->SetName(name + "Hidden");
        hidden->SetParent(Main);
        controls.Hidden = hidden;
        Sup->CalibDisplays().push_back({&controls.View, &controls.Action, &controls.Hidden});
    }

    // A handler that reports channel `goodChannel` good (none when negative).
    void ReportGood(int goodChannel) {
        Sup->OnGetCalibString = [this, goodChannel](TObject* sender, uint8_t channel, bool& bad) {
            EXPECT_EQ(sender, Sup);
            Log.push_back("channel " + std::to_string(channel) + (bad ? " bad" : " good"));
            if (channel == goodChannel) bad = false;
            return "v" + std::to_string(channel);
        };
    }

    void LogBegin() {
        Sup->SetOnBeginCalib([this](TObject* sender) {
            EXPECT_EQ(sender, Sup);
            Log.push_back("begin");
        });
    }

    // Calibrating, with the help already shown, so that the next tick polls.
    void StartCalibrating() { Sup->SetCalibrating(true); }
    void Tick() { Sup->TimerWindow().Fire(1); }
    int NewExceptions() const { return Application->ExceptionCount() - ExceptionsBefore; }

    TForm* Main = nullptr;
    TSetupSupporter* Sup = nullptr;
    TDisplayControls Displays[2];
    std::vector<TShownBox> Boxes;
    std::vector<std::string> Log;
    int Answer = IDCANCEL;
    int StartClicks = 0;
    int StopClicks = 0;
    int ExceptionsBefore = 0;
};

TEST_F(Calibration, OneGoodChannelWritesEveryLineInEveryDisplay) {
    Sup->Channels = 8;
    LogBegin();
    ReportGood(0);
    StartCalibrating();

    Tick();

    for (const TDisplayControls& display : Displays) {
        ASSERT_EQ(display.View->Lines().Count(), 8);
        for (int channel = 0; channel < 8; ++channel)
            EXPECT_EQ(display.View->Lines()[channel],
                      "Channel " + std::to_string(channel) + "\tv" + std::to_string(channel));
        EXPECT_FALSE(display.Hidden->Visible());
        EXPECT_EQ(display.Action->Caption(), "Stop");
    }
    // One flag for the whole poll: once channel 0 cleared it, the others see it cleared.
    const std::vector<std::string> expected = {
        "begin",          "channel 0 bad",  "channel 1 good", "channel 2 good", "channel 3 good",
        "channel 4 good", "channel 5 good", "channel 6 good", "channel 7 good"};
    EXPECT_EQ(Log, expected);
    EXPECT_TRUE(Boxes.empty());
    EXPECT_TRUE(Sup->Calibrating());
    EXPECT_TRUE(Sup->TimerWindow().IsRunning(1));

    Log.clear();
    Tick();
    EXPECT_EQ(Log.size(), 9u) << "the next tick polls again";
}

TEST_F(Calibration, ChannelLineNumbersHaveNoLeadingZeros) {
    Sup->Channels = 12;
    ReportGood(0);
    StartCalibrating();

    Tick();

    EXPECT_EQ(Displays[0].View->Lines()[3], "Channel 3\tv3");
    EXPECT_EQ(Displays[0].View->Lines()[11], "Channel 11\tv11");
}

TEST_F(Calibration, ShortViewGrowsSoNoChannelIsLost) {
    Sup->Channels = 8;
    Displays[0].View->Lines().SetItems({"old 0", "old 1"});
    Displays[1].View->Lines().SetItems(std::vector<std::string>(10, "keep"));
    ReportGood(0);
    StartCalibrating();

    Tick();

    ASSERT_EQ(Displays[0].View->Lines().Count(), 8);
    for (int channel = 0; channel < 8; ++channel)
        EXPECT_EQ(Displays[0].View->Lines()[channel], "Channel " + std::to_string(channel) + "\tv" +
                                                          std::to_string(channel));
    ASSERT_EQ(Displays[1].View->Lines().Count(), 10) << "a longer view keeps its extra lines";
    EXPECT_EQ(Displays[1].View->Lines()[8], "keep");
    EXPECT_EQ(Displays[1].View->Lines()[9], "keep");
    EXPECT_TRUE(Boxes.empty());
}

// ---- every channel bad ------------------------------------------------------------------

struct TFailureCase {
    const char* Name;
    int Answer;
    bool ChangeButtons;
    bool StillCalibrating;
    const char* Caption; // of every action button afterwards
    int StartClicks;     // when the button is pressed afterwards
};

class CalibrationFailure : public Calibration, public testing::WithParamInterface<TFailureCase> {};

TEST_P(CalibrationFailure, BoxStopsThePollThenRetryOrCancel) {
    const TFailureCase& c = GetParam();
    Sup->ChangeButtons = c.ChangeButtons;
    Answer = c.Answer;
    ReportGood(-1);
    StartCalibrating();

    Tick();

    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Caption, "Total A/D failure");
    EXPECT_EQ(Boxes[0].Text, FailureText);
    EXPECT_EQ(Boxes[0].Flags, FailureFlags);
    EXPECT_EQ(Boxes[0].Owner, Main->Window());
    EXPECT_FALSE(Boxes[0].Calibrating);
    EXPECT_FALSE(Boxes[0].TimerRunning) << "no poll may start while the box is open";

    EXPECT_EQ(Sup->Calibrating(), c.StillCalibrating);
    EXPECT_EQ(Sup->TimerWindow().IsRunning(1), c.StillCalibrating);
    if (c.StillCalibrating) {
        EXPECT_EQ(Sup->TimerWindow().Interval(1), 100);
    }
    for (const TDisplayControls& display : Displays) {
        EXPECT_EQ(display.Action->Caption(), c.Caption);
        display.Action->Click();
    }
    EXPECT_EQ(StartClicks, c.StartClicks);
    EXPECT_EQ(StopClicks, 2 - c.StartClicks);
}

const TFailureCase FailureCases[] = {
    {"RetryGoesOn", IDRETRY, true, true, "Stop", 0},
    {"CancelResetsButtons", IDCANCEL, true, false, "Start", 2},
    {"CancelWithoutChangeButtons", IDCANCEL, false, false, "Stop", 0},
};
INSTANTIATE_TEST_SUITE_P(Cases, CalibrationFailure, testing::ValuesIn(FailureCases),
                         [](const auto& caseInfo) { return std::string(caseInfo.param.Name); });

TEST_F(Calibration, RetryPollsAgainAtTheNextTick) {
    Answer = IDRETRY;
    ReportGood(-1);
    StartCalibrating();
    Tick();
    Log.clear();
    Answer = IDCANCEL;

    Tick();

    EXPECT_EQ(Log.front(), "channel 0 bad");
    EXPECT_EQ(Boxes.size(), 2u);
    EXPECT_FALSE(Sup->Calibrating());
}

TEST_F(Calibration, CancelWithoutStartHandlerLeavesButtonsWithoutHandler) {
    Sup->OnStartButtonClick = nullptr;
    ReportGood(-1);
    StartCalibrating();

    Tick();

    for (const TDisplayControls& display : Displays) {
        EXPECT_EQ(display.Action->Caption(), "Start");
        EXPECT_FALSE(display.Action->OnClick);
    }
}

TEST_F(Calibration, NoChannelsAsksNothingAndFails) {
    Sup->Channels = 0;
    LogBegin();
    ReportGood(0);
    StartCalibrating();

    Tick();

    EXPECT_EQ(Log, (std::vector<std::string>{"begin", "box"}));
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Caption, "Total A/D failure");
    EXPECT_EQ(Displays[0].View->Lines().Items(), std::vector<std::string>(8, "-"));
}

TEST_F(Calibration, MissingChannelHandlerStopsAfterOnBeginCalib) {
    LogBegin();
    StartCalibrating();

    Tick();

    EXPECT_EQ(Log, (std::vector<std::string>{"begin", "box"}));
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Caption, "OnGetCalibString Not Assigned");
    EXPECT_EQ(Boxes[0].Text, NotAssignedText);
    EXPECT_EQ(Boxes[0].Flags, NotAssignedFlags);
    EXPECT_EQ(Boxes[0].Owner, Main->Window());
    EXPECT_FALSE(Boxes[0].Calibrating);
    EXPECT_FALSE(Boxes[0].TimerRunning);
    EXPECT_FALSE(Sup->Calibrating());
    EXPECT_FALSE(Sup->TimerWindow().IsRunning(1));
    for (const TDisplayControls& display : Displays) {
        EXPECT_EQ(display.Action->Caption(), "Start");
        EXPECT_TRUE(display.Hidden->Visible()) << "the poll ended before hiding anything";
    }
}

// ---- errors inside a poll ---------------------------------------------------------------

struct TThrowCase {
    const char* Name;
    bool InBegin; // else in the channel handler, at channel 3
};

class CalibrationError : public Calibration, public testing::WithParamInterface<TThrowCase> {};

TEST_P(CalibrationError, EndsThatPollOnlyAndIsReported) {
    const bool inBegin = GetParam().InBegin;
    bool armed = true;
    Sup->SetOnBeginCalib([&](TObject*) {
        Log.push_back("begin");
        if (inBegin && armed) throw std::runtime_error("probe lost");
    });
    Sup->OnGetCalibString = [&](TObject*, uint8_t channel, bool& bad) {
        Log.push_back("channel " + std::to_string(channel));
        if (!inBegin && armed && channel == 3) throw std::runtime_error("probe lost");
        bad = false;
        return std::string("ok");
    };
    StartCalibrating();

    Tick();

    EXPECT_EQ(NewExceptions(), 1);
    EXPECT_EQ(Application->LastExceptionMessage(), "probe lost");
    ASSERT_EQ(Boxes.size(), 1u) << "only the default display's box";
    EXPECT_EQ(Boxes[0].Text, "probe lost.");
    ASSERT_GE(Log.size(), 2u);
    EXPECT_EQ(Log[Log.size() - 2], inBegin ? "begin" : "channel 3") << "nothing ran after the error";
    EXPECT_EQ(Log.back(), "box");
    EXPECT_TRUE(Sup->Calibrating());
    EXPECT_TRUE(Sup->TimerWindow().IsRunning(1));

    armed = false;
    Log.clear();
    Tick();
    EXPECT_EQ(Log.size(), 9u) << "the next tick polls again";
    EXPECT_EQ(NewExceptions(), 1);
}

const TThrowCase ThrowCases[] = {{"InOnBeginCalib", true}, {"InOnGetCalibString", false}};
INSTANTIATE_TEST_SUITE_P(Cases, CalibrationError, testing::ValuesIn(ThrowCases),
                         [](const auto& caseInfo) { return std::string(caseInfo.param.Name); });

// ---- the tick's other duty --------------------------------------------------------------

TEST_F(Calibration, PendingHelpTakesPrecedenceOverThePoll) {
    ReportGood(0);
    Sup->BuildWindows();
    StartCalibrating();

    Tick();

    EXPECT_TRUE(Sup->HelpForm()->Visible());
    EXPECT_TRUE(Log.empty()) << "the tick that shows the help runs no poll";
    EXPECT_TRUE(Sup->TimerWindow().IsRunning(1)) << "calibrating keeps the timer";

    Tick();
    EXPECT_EQ(Log.size(), 8u);
}

TEST_F(Calibration, StoppingCalibrationStopsTheTimer) {
    StartCalibrating();
    ASSERT_TRUE(Sup->TimerWindow().IsRunning(1));
    Sup->ResetCalibButtons();
    EXPECT_FALSE(Sup->Calibrating());
    EXPECT_FALSE(Sup->TimerWindow().IsRunning(1));
    EXPECT_EQ(Displays[0].Action->Caption(), "Start");
}

} // namespace
