// The setup supporter's start-up work: the heading, the help text it composes, the one-time
// build at the first idle moment and the timer that opens the help window shortly after.
#include "classlib/application.h"
#include "classlib/button.h"
#include "classlib/exceptions.h"
#include "classlib/form.h"
#include "classlib/label.h"
#include "classlib/mainmenu.h"
#include "classlib/memo.h"
#include "classlib/menuitem.h"
#include "classlib/richedit.h"
#include "classlib/rtfreader.h"
#include "classlib/screen.h"
#include "driver/llztxwdm.h"
#include "setupctrls/helpform.h"
#include "setupctrls/pciform.h"
#include "setupctrls/setupsupporter.h"
#include "setupctrls/techform.h"
#include "system/messagebox.h"
#include "system/timerwindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct TShownBox {
    std::string Caption;
    std::string Text;
    unsigned Flags = 0;
};

// A main window with the File menu of the card page and a supporter carrying its names, as
// the stored layout leaves it, but with the build still to come.
class SetupSupporter : public testing::Test {
  protected:
    void SetUp() override {
        Main = new TForm(nullptr);
        Main->SetName("MainForm");
        Main->SetCaption("Setup");
        auto* menu = new TMainMenu(Main);
        File = new TMenuItem(menu);
        File->SetCaption("&File");
        menu->Items()->Add(File);
        auto* exit = new TMenuItem(File);
        exit->SetCaption("&Exit");
        File->Add(exit);
        Main->SetMenu(menu);
        Application->SetMainForm(Main);

        Sup = new TSetupSupporter(Main);
        Sup->SetName("SetSup");
        Sup->CompanyName = "Velkor";
        Sup->CardNameA = "Tarvo-K8";
        Sup->CardNameB = "Tarvo-M8";
        Sup->CallHow = "weekdays 8 to 5 at 555 0100";
        Sup->bSeries = false;

        TScreen::SetSizeOverride(800, 600);
        TMessageBox::SetHook([this](QWidget*, const std::string& text, const std::string& caption,
                                    unsigned flags) {
            Boxes.push_back({caption, text, flags});
            return IDOK;
        });
        ExceptionsBefore = Application->ExceptionCount();
    }

    void TearDown() override {
        Application->OnIdle = nullptr;
        delete Main;
        TMessageBox::SetHook(nullptr);
        TTimerWindow::SetAllowTimersHook(nullptr);
        TScreen::SetSizeOverride(0, 0);
    }

    // What the main window's creation handler does.
    void HookFirstIdle() {
        TSetupSupporter* sup = Sup;
        Application->OnIdle = [sup](TObject* sender, bool& done) { sup->FirstIdle(sender, done); };
    }

    void GiveCardTextHandler() {
        Sup->OnGetCardString = [this](TObject*, int32_t index) {
            CardTextCalls.push_back(index);
            return std::string("card");
        };
    }

    int NewExceptions() const { return Application->ExceptionCount() - ExceptionsBefore; }

    TForm* Main = nullptr;
    TMenuItem* File = nullptr;
    TSetupSupporter* Sup = nullptr;
    std::vector<TShownBox> Boxes;
    std::vector<int32_t> CardTextCalls;
    int ExceptionsBefore = 0;
};

// ---- heading ----------------------------------------------------------------------------

struct THeadingCase {
    const char* Name;
    bool Series;
    bool UseCardNameB;
    bool CardTextHandler; // with a handler and no driver there is no card
    const char* Heading;
};

class SetupSupporterHeading : public SetupSupporter,
                              public testing::WithParamInterface<THeadingCase> {};

TEST_P(SetupSupporterHeading, TellsWhetherACardWasFound) {
    const THeadingCase& c = GetParam();
    Sup->bSeries = c.Series;
    Sup->UseCardNameB = c.UseCardNameB;
    if (c.CardTextHandler) GiveCardTextHandler();

    Sup->BuildWindows();

    if (c.CardTextHandler) {
        ASSERT_FALSE(DriverLoaded) << "a driver library was found";
    }
    ASSERT_NE(Sup->HeaderLabel(), nullptr);
    EXPECT_EQ(Sup->HeaderLabel()->Caption(), c.Heading);
    EXPECT_EQ(TSetupSupporter::Heading(Sup->CardName(), c.Series, !c.CardTextHandler), c.Heading);
    EXPECT_EQ(Main->Caption(), "Setup") << "the window title is not the heading";
    EXPECT_EQ(NewExceptions(), 0);
}

const THeadingCase HeadingCases[] = {
    {"FoundPlain", false, false, false, "Tarvo-K8 Settings Program"},
    {"FoundSeries", true, false, false, "Tarvo-K8 Series Settings Program"},
    {"NotFoundPlain", false, false, true, "No Tarvo-K8 Found"},
    {"NotFoundSeries", true, false, true, "No Tarvo-K8 Series Card Found"},
    {"SecondNameFound", false, true, false, "Tarvo-M8 Settings Program"},
    {"SecondNameNotFoundSeries", true, true, true, "No Tarvo-M8 Series Card Found"},
};
INSTANTIATE_TEST_SUITE_P(Cases, SetupSupporterHeading, testing::ValuesIn(HeadingCases),
                         [](const auto& caseInfo) { return std::string(caseInfo.param.Name); });

TEST_F(SetupSupporter, HeadingIsABoldCentredStripAtTheTopOfTheMainWindow) {
    Sup->BuildWindows();
    TLabel* heading = Sup->HeaderLabel();
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->Name(), "HeaderLabel");
    EXPECT_EQ(heading->Owner(), Main);
    EXPECT_EQ(heading->Parent(), Main);
    EXPECT_EQ(heading->Align(), alTop);
    EXPECT_EQ(heading->Alignment(), taCenter);
    EXPECT_EQ(heading->Font().Size(), 18);
    EXPECT_EQ(heading->Font().Name(), "Tahoma");
    EXPECT_EQ(heading->Font().Style(), fsBold);
    EXPECT_EQ(heading->Font().Color(), clBlack);
    EXPECT_EQ(heading->Left(), 0);
    EXPECT_EQ(heading->Top(), 0);
    EXPECT_EQ(heading->Width(), Main->ClientWidth());
    EXPECT_GT(heading->Height(), 0);
}

TEST_F(SetupSupporter, SecondCardNameReachesEveryText) {
    Sup->UseCardNameB = true;
    GiveCardTextHandler();
    Sup->BuildWindows();

    EXPECT_EQ(Sup->CardName(), "Tarvo-M8");
    const std::string help = Sup->HelpForm()->HelpRich->PlainText();
    EXPECT_NE(help.find("Velkor Tarvo-M8 Settings Program"), std::string::npos);
    EXPECT_NE(help.find("Display Tarvo-M8 Cards Installed"), std::string::npos);
    EXPECT_EQ(help.find("Tarvo-K8"), std::string::npos);
    ASSERT_NE(Sup->PCIForm(), nullptr);
    EXPECT_EQ(Sup->PCIForm()->Caption(), "Tarvo-M8 Cards installed");
    EXPECT_EQ(File->Items(0)->Caption(), "Display Tarvo-M8 Cards Installed");
}

// ---- help text --------------------------------------------------------------------------

struct THelpTextCase {
    const char* Name;
    bool Series;
    bool MultiPort;
    bool ListsCards;
};

// Put together from the fragments of the help text, independently of the program's own code.
std::string ExpectedHelpText(const std::string& company, const std::string& card,
                             const THelpTextCase& c) {
    const std::string crlf = "\r\n";
    std::string t =
        R"({\rtf1\ansi\ansicpg1252\deff0\deflang1033{\fonttbl{\f0\fswiss\fprq2\fcharset0 Verdana;}})"
        R"({\colortbl\red64\green64\blue64;\red255\green255\blue64;\red64\green64\blue255;\red255\green64\blue64;})"
        R"(\viewkind4\uc1\pard\f0\fs32\cf0)" + crlf + R"({\b )";
    t += company + " " + card + (c.Series ? " Series" : "") + R"( Settings Program}\par\par\fs24)" + crlf;
    t += R"(This program will help you configure the option jumpers and settings associated with this product. You should have the product in-hand when first using this program.\par\par)" + crlf;
    t += R"({\cf1\fs24\b Yellow circles} provide information on configuring jumpers and switches.\par\par)" + crlf;
    t += R"({\cf2\fs24\b Blue circles} are informational only. They provide information on standard and optional features of the product family.\par\par)" + crlf;
    t += R"({\cf3\fs24\b Red circles} handle calibration and types of configuration that require actually controlling the hardware device. Run this settings program again once the card is installed. )";
    t += R"(Repeat the {\cf1 setup circles} (using the same settings) to configure this program, then perform the {\cf3 calibration circles}.\par\par)" + crlf;
    t += R"(Mouse over the highlight circles to see configuration or information popups for {\cf1 setup}, {\cf2 features}, and {\cf3 calibration}. Click a highlight circle to make its popup remain on-screen. )";
    t += R"(You can have all or as many of these popups onscreen at the same time as you desire.\par\par)" + crlf;
    if (c.MultiPort) {
        t += R"({\fs32\b Note:} Make sure to set the jumpers for each option group \emdash  the configuration options for each port are handled identically; )";
        t += R"(this program only shows the setup once, but you need to perform this setup for each group of options on your device.\par\par)" + crlf;
    }
    if (c.ListsCards)
        t += "To see a list of " + card + " cards installed, click \"Display " + card +
             " Cards Installed\" under the File menu.\\par\\par" + crlf;
    return t + "}";
}

class SetupSupporterHelpText : public SetupSupporter,
                               public testing::WithParamInterface<THelpTextCase> {};

TEST_P(SetupSupporterHelpText, ComposesExactlyTheFragmentsForTheFlags) {
    const THelpTextCase& c = GetParam();
    EXPECT_EQ(TSetupSupporter::HelpText("Velkor", "Tarvo-K8", c.Series, c.MultiPort, c.ListsCards),
              ExpectedHelpText("Velkor", "Tarvo-K8", c));
}

TEST_P(SetupSupporterHelpText, HelpWindowShowsTheTextForTheSupportersSettings) {
    const THelpTextCase& c = GetParam();
    Sup->bSeries = c.Series;
    Sup->MultiPort = c.MultiPort;
    if (c.ListsCards) GiveCardTextHandler();

    Sup->BuildWindows();

    const TRtfDocument expected = TRtfReader::Read(ExpectedHelpText("Velkor", "Tarvo-K8", c));
    EXPECT_EQ(Sup->HelpForm()->HelpRich->PlainText(), expected.PlainText());
}

const THelpTextCase HelpTextCases[] = {
    {"StoredLayout", false, false, false}, {"Series", true, false, false},
    {"MultiPort", false, true, false},     {"ListsCards", false, false, true},
    {"Everything", true, true, true},
};
INSTANTIATE_TEST_SUITE_P(Cases, SetupSupporterHelpText, testing::ValuesIn(HelpTextCases),
                         [](const auto& caseInfo) { return std::string(caseInfo.param.Name); });

TEST_F(SetupSupporter, TextsAreFixedAtBuildTime) {
    Sup->BuildWindows();
    const std::string help = Sup->HelpForm()->HelpRich->PlainText();
    const std::vector<std::string> support = Sup->TechForm()->TechMemo->Lines().Items();

    Sup->CompanyName = "Other";
    Sup->bSeries = true;
    Sup->MultiPort = true;
    Sup->CallHow = "never";
    GiveCardTextHandler();

    EXPECT_EQ(Sup->HelpForm()->HelpRich->PlainText(), help);
    EXPECT_EQ(Sup->TechForm()->TechMemo->Lines().Items(), support);
}

// ---- building ---------------------------------------------------------------------------

TEST_F(SetupSupporter, ConstructionBuildsNothingAndStartsNoTimer) {
    TSetupSupporter fresh(nullptr);
    EXPECT_EQ(fresh.HeaderLabel(), nullptr);
    EXPECT_EQ(fresh.HelpForm(), nullptr);
    EXPECT_EQ(fresh.TechForm(), nullptr);
    EXPECT_EQ(fresh.PCIForm(), nullptr);
    EXPECT_FALSE(fresh.HelpPending());
    EXPECT_FALSE(fresh.Calibrating());
    EXPECT_FALSE(fresh.TimerWindow().IsRunning(TSetupSupporter::TimerId));
    EXPECT_TRUE(fresh.CalibDisplays().empty());
    EXPECT_FALSE(fresh.UseCardNameB);
    EXPECT_FALSE(fresh.MultiPort);
    EXPECT_EQ(fresh.Channels, 8);
    EXPECT_TRUE(fresh.ChangeButtons);
    EXPECT_TRUE(fresh.bSeries);
}

TEST_F(SetupSupporter, WindowsBelongToTheMainWindowAndStartHidden) {
    Sup->BuildWindows();

    EXPECT_EQ(Sup->ComponentCount(), 0) << "the supporter owns none of the windows";
    ASSERT_NE(Sup->HelpForm(), nullptr);
    ASSERT_NE(Sup->TechForm(), nullptr);
    EXPECT_EQ(Sup->HelpForm()->Owner(), Main);
    EXPECT_EQ(Sup->TechForm()->Owner(), Main);
    EXPECT_FALSE(Sup->HelpForm()->Visible());
    EXPECT_FALSE(Sup->TechForm()->Visible());
    EXPECT_EQ(Sup->PCIForm(), nullptr) << "no card-text handler, no cards window";
    ASSERT_EQ(File->Count(), 1) << "no card-text handler, no menu entry";
    EXPECT_EQ(File->Items(0)->Caption(), "&Exit");
    EXPECT_TRUE(CardTextCalls.empty());
}

TEST_F(SetupSupporter, InDesignModeBuildsNothing) {
    Sup->SetDesigning(true);
    const int componentsBefore = Main->ComponentCount();

    Sup->BuildWindows();

    EXPECT_EQ(Main->ComponentCount(), componentsBefore);
    EXPECT_EQ(Sup->HeaderLabel(), nullptr);
    EXPECT_EQ(Sup->HelpForm(), nullptr);
    EXPECT_EQ(Sup->TechForm(), nullptr);
    EXPECT_FALSE(Sup->HelpPending());
    EXPECT_FALSE(Sup->TimerWindow().IsRunning(TSetupSupporter::TimerId));
}

TEST_F(SetupSupporter, FirstIdleLeavesTheDoneFlagAlone) {
    Sup->SetDesigning(true); // so that calling it twice builds nothing twice
    for (bool done : {false, true}) {
        Application->OnIdle = [](TObject*, bool&) {};
        bool flag = done;
        Sup->FirstIdle(Application, flag);
        EXPECT_EQ(flag, done);
        EXPECT_FALSE(Application->OnIdle);
    }
}

// ---- start-up timer ---------------------------------------------------------------------

TEST_F(SetupSupporter, BuildsOnceAtTheFirstIdleAndShowsHelpAtTheFirstTick) {
    HookFirstIdle();

    Application->DoIdle();

    EXPECT_FALSE(Application->OnIdle) << "the idle hook removes itself";
    ASSERT_NE(Sup->HelpForm(), nullptr);
    THelpForm* help = Sup->HelpForm();
    EXPECT_FALSE(help->Visible());
    EXPECT_TRUE(Sup->HelpPending());
    EXPECT_TRUE(Sup->TimerWindow().IsRunning(1));
    EXPECT_EQ(Sup->TimerWindow().Interval(1), 100);

    const int componentsAfterBuild = Main->ComponentCount();
    Application->DoIdle();
    EXPECT_EQ(Main->ComponentCount(), componentsAfterBuild) << "a later idle builds nothing";
    EXPECT_EQ(Sup->HelpForm(), help);

    Sup->TimerWindow().Fire(1);

    EXPECT_TRUE(help->Visible());
    EXPECT_FALSE(Sup->HelpPending());
    EXPECT_FALSE(Sup->TimerWindow().IsRunning(1)) << "no calibration, so the timer stops";
    EXPECT_FALSE(Sup->Calibrating());
    EXPECT_TRUE(Boxes.empty());
    EXPECT_EQ(NewExceptions(), 0);
}

TEST_F(SetupSupporter, HelpShownEarlyIsOnlyBroughtForwardByTheTick) {
    Sup->BuildWindows();
    Sup->HelpForm()->SetVisible(true); // the Help menu before the first tick
    const int forms = static_cast<int>(Application->Forms().size());

    Sup->TimerWindow().Fire(1);

    EXPECT_TRUE(Sup->HelpForm()->Visible());
    EXPECT_EQ(static_cast<int>(Application->Forms().size()), forms);
    EXPECT_FALSE(Sup->HelpPending());
    EXPECT_FALSE(Sup->TimerWindow().IsRunning(1));
}

TEST_F(SetupSupporter, NoTimerLeftIsReportedAndTheProgramRunsOn) {
    TTimerWindow::SetAllowTimersHook([] { return false; });
    HookFirstIdle();

    Application->DoIdle();

    EXPECT_EQ(NewExceptions(), 1);
    EXPECT_EQ(Application->LastExceptionMessage(), "Not enough timers available");
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, "Not enough timers available.");
    EXPECT_EQ(Boxes[0].Flags, MB_OK | MB_ICONSTOP);
    EXPECT_FALSE(Application->OnIdle) << "the build is not tried again";
    ASSERT_NE(Sup->HelpForm(), nullptr) << "windows built before the error remain";
    EXPECT_FALSE(Sup->HelpForm()->Visible());
    EXPECT_FALSE(Sup->TimerWindow().IsRunning(1));

    Application->DoIdle();
    EXPECT_EQ(NewExceptions(), 1);
    Sup->HelpForm()->SetVisible(true);
    EXPECT_TRUE(Sup->HelpForm()->Visible());
}

TEST_F(SetupSupporter, RefusedTimerRaisesOutOfResources) {
    TTimerWindow::SetAllowTimersHook([] { return false; });
    try {
        Sup->SetCalibrating(true);
        FAIL() << "no error raised";
    } catch (const EOutOfResources& e) {
        EXPECT_STREQ(e.what(), "Not enough timers available");
    }
}

TEST_F(SetupSupporter, AssigningOnBeginCalibStartsNoTimer) {
    int begun = 0;
    Sup->SetOnBeginCalib([&begun](TObject*) { ++begun; });
    EXPECT_FALSE(Sup->TimerWindow().IsRunning(1));

    Sup->BuildWindows();
    Sup->SetOnBeginCalib(nullptr);
    EXPECT_TRUE(Sup->TimerWindow().IsRunning(1)) << "a running timer keeps running";
    EXPECT_EQ(Sup->TimerWindow().Interval(1), 100);
    EXPECT_EQ(begun, 0);
}

TEST_F(SetupSupporter, SettingCalibratingTwiceChangesNothing) {
    Sup->SetCalibrating(true);
    Sup->SetCalibrating(true);
    EXPECT_TRUE(Sup->TimerWindow().IsRunning(1));
    Sup->SetCalibrating(false);
    EXPECT_FALSE(Sup->TimerWindow().IsRunning(1));
}

TEST_F(SetupSupporter, DestroyedWhileHelpPendingLeavesNoTimer) {
    Sup->BuildWindows();
    ASSERT_TRUE(Sup->TimerWindow().IsRunning(1));
    const TTimerWindow* timerWindow = &Sup->TimerWindow();

    delete Sup;

    const auto& alive = TTimerWindow::All();
    EXPECT_EQ(std::find(alive.begin(), alive.end(), timerWindow), alive.end());
    EXPECT_NE(Main->FindComponent("HelpForm"), nullptr) << "the windows outlive the supporter";
}

TEST_F(SetupSupporter, OtherMessagesToTheTimerWindowDoNothing) {
    Sup->BuildWindows();
    EXPECT_EQ(Sup->TimerWindow().Send(WM_USER + 1, 7, 9), 0);
    EXPECT_TRUE(Sup->HelpPending());
    EXPECT_FALSE(Sup->HelpForm()->Visible());
}

// ---- close buttons and the cards entry --------------------------------------------------

TEST_F(SetupSupporter, CloseButtonHidesItsWindowWithoutDestroyingIt) {
    Sup->BuildWindows();
    TTechForm* tech = Sup->TechForm();
    tech->SetVisible(true);

    tech->CloseButton->Click();

    EXPECT_FALSE(tech->Visible());
    EXPECT_EQ(Sup->TechForm(), tech);
    EXPECT_EQ(Main->FindComponent("TechForm"), tech);
}

TEST_F(SetupSupporter, DisplayWithoutCardsWindowDoesNothing) {
    Sup->BuildWindows();
    ASSERT_EQ(Sup->PCIForm(), nullptr);
    EXPECT_NO_THROW(Sup->DisplayPCIClick(nullptr));
}

} // namespace
