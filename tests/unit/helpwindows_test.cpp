// The help and technical-support windows that the setup supporter builds in code: their
// layout and screen scaling, the formatted help text, and what Start, Close, Enter and Escape do.
#include "classlib/application.h"
#include "classlib/button.h"
#include "classlib/custompanel.h"
#include "classlib/form.h"
#include "classlib/label.h"
#include "classlib/memo.h"
#include "classlib/richedit.h"
#include "classlib/screen.h"
#include "setupctrls/boardhighlight.h"
#include "setupctrls/boardimage.h"
#include "setupctrls/helpform.h"
#include "setupctrls/popupform.h"
#include "setupctrls/setupsupporter.h"
#include "setupctrls/techform.h"
#include "system/messagebox.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr const char* CallHow = "weekdays from 8 to 5 at 555 0100";

class HelpWindows : public testing::Test {
  protected:
    void SetUp() override {
        Main = new TForm(nullptr);
        Main->SetName("MainForm");
        Main->SetBounds(100, 80, 831, 645);
        Application->SetMainForm(Main);
        Sup = new TSetupSupporter(Main);
        Sup->CompanyName = "Velkor";
        Sup->CardNameA = "Tarvo-K8";
        Sup->CardNameB = "Tarvo-M8";
        Sup->CallHow = CallHow;
        Sup->bSeries = false;
        TScreen::SetSizeOverride(800, 600);
        TMessageBox::SetHook([](QWidget*, const std::string&, const std::string&, unsigned) {
            return IDOK;
        });
    }

    void TearDown() override {
        delete Main;
        TMessageBox::SetHook(nullptr);
        TScreen::SetSizeOverride(0, 0);
    }

    THelpForm* BuildHelp() {
        Sup->BuildWindows();
        return Sup->HelpForm();
    }

    // A board image on the main window whose First circle is `circle`.
    TBoardHighlight* AddBoardImage(const std::string& name) {
        auto* board = new TBoardImage(Main);
        board->SetName(name);
        board->SetParent(Main);
        board->SetBounds(150, 74, 600, 425);
        auto* circle = new TBoardHighlight(Main);
        circle->SetName(name + "Circle");
        circle->SetParent(board);
        circle->SetBounds(369, 34, 73, 25);
        circle->SetTitle("Manual &Filter Selection");
        board->SetFirst(circle);
        return circle;
    }

    static bool PopupShown(const TBoardHighlight* circle) {
        return circle->Popup() && circle->Popup()->Visible();
    }

    TForm* Main = nullptr;
    TSetupSupporter* Sup = nullptr;
};

// ---- help window layout -----------------------------------------------------------------

TEST_F(HelpWindows, HelpWindowIsBuiltAsDescribed) {
    THelpForm* help = BuildHelp();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->Name(), "HelpForm");
    EXPECT_EQ(help->Owner(), Main);
    EXPECT_EQ(help->Caption(), "Instructions for Settings utility");
    EXPECT_EQ(help->FormStyle(), fsStayOnTop);
    EXPECT_EQ(help->Position(), poMainFormCenter);
    EXPECT_FALSE(help->Visible());

    ASSERT_NE(help->HelpLabel, nullptr);
    EXPECT_EQ(help->HelpLabel->Name(), "HelpLabel");
    EXPECT_EQ(help->HelpLabel->Parent(), help);
    EXPECT_EQ(help->HelpLabel->Align(), alTop);
    EXPECT_EQ(help->HelpLabel->Alignment(), taCenter);
    EXPECT_EQ(help->HelpLabel->Caption(), "How to use this program");
    EXPECT_EQ(help->HelpLabel->Font().Size(), 12);
    EXPECT_EQ(help->HelpLabel->Font().Name(), "Verdana");
    EXPECT_EQ(help->HelpLabel->Font().Style(), fsBold);

    ASSERT_NE(help->HelpRich, nullptr);
    EXPECT_EQ(help->HelpRich->Name(), "HelpRich");
    EXPECT_EQ(help->HelpRich->Parent(), help);
    EXPECT_TRUE(help->HelpRich->ReadOnly());
    EXPECT_EQ(help->HelpRich->ScrollBars(), ssVertical);
    EXPECT_EQ(help->HelpRich->Color(), RGB(221, 221, 221));
    EXPECT_EQ(help->HelpRich->Anchors(), akLeft | akTop | akRight | akBottom);

    ASSERT_NE(help->StartButton, nullptr);
    EXPECT_EQ(help->StartButton->Name(), "StartButton");
    EXPECT_EQ(help->StartButton->Parent(), help);
    EXPECT_EQ(help->StartButton->Caption(), "Start");
    EXPECT_TRUE(help->StartButton->Default());
    EXPECT_TRUE(help->StartButton->Cancel());
    EXPECT_EQ(help->StartButton->TabOrder(), 0);
    EXPECT_EQ(help->StartButton->Anchors(), akBottom);
    EXPECT_EQ(help->ComponentCount(), 3) << "no Close button on the help window";
}

TEST_F(HelpWindows, UnscaledHelpWindowHasTheFittedLayout) {
    THelpForm* help = BuildHelp();
    EXPECT_EQ(help->ClientWidth(), 305);
    EXPECT_EQ(help->ClientHeight(), 138);
    EXPECT_EQ(help->HelpLabel->Left(), 0);
    EXPECT_EQ(help->HelpLabel->Top(), 0);
    EXPECT_EQ(help->HelpLabel->Width(), 305);
    EXPECT_EQ(help->HelpRich->BoundsRect(), Bounds(0, 24, 305, 73));
    EXPECT_EQ(help->StartButton->BoundsRect(), Bounds(66, 105, 173, 25));
}

struct TScaleCase {
    const char* Name;
    int ScreenWidth, ScreenHeight;
    double Factor;
    int ClientWidth, ClientHeight;
};

class HelpWindowScaling : public HelpWindows, public testing::WithParamInterface<TScaleCase> {};

TEST_P(HelpWindowScaling, FactorIsTheSmallerRatioButAtLeastOne) {
    const TScaleCase& c = GetParam();
    EXPECT_DOUBLE_EQ(TSetupSupporter::HelpScale(c.ScreenWidth, c.ScreenHeight), c.Factor);
}

TEST_P(HelpWindowScaling, ClientAreaGrowsAndTheControlsFollowTheirAnchors) {
    const TScaleCase& c = GetParam();
    TScreen::SetSizeOverride(c.ScreenWidth, c.ScreenHeight);
    THelpForm* help = BuildHelp();

    EXPECT_EQ(help->ClientWidth(), c.ClientWidth);
    EXPECT_EQ(help->ClientHeight(), c.ClientHeight);
    // The rich text keeps its margins: 24 above, 41 below, none at the sides.
    EXPECT_EQ(help->HelpRich->Left(), 0);
    EXPECT_EQ(help->HelpRich->Top(), 24);
    EXPECT_EQ(help->HelpRich->Width(), c.ClientWidth);
    EXPECT_EQ(help->HelpRich->Top() + help->HelpRich->Height(), c.ClientHeight - 41);
    // The button keeps its size and its distance from the bottom, and stays centred.
    EXPECT_EQ(help->StartButton->Width(), 173);
    EXPECT_EQ(help->StartButton->Height(), 25);
    EXPECT_EQ(help->StartButton->Top() + 25, c.ClientHeight - 8);
    EXPECT_NEAR(help->StartButton->Left() + 173 / 2.0, c.ClientWidth / 2.0, 1.0);
}

const TScaleCase ScaleCases[] = {
    {"Small640x480", 640, 480, 1.0, 305, 138},
    {"Screen800x600", 800, 600, 1.0, 305, 138},
    {"Screen1024x768", 1024, 768, 1.28, 390, 177},
    {"Screen1280x1024", 1280, 1024, 1.6, 488, 221},
    {"Screen1920x1080", 1920, 1080, 2.4, 732, 331},
    // 138 x 1.25 = 172.5: halves go to the even neighbour.
    {"HalfRoundsToEven1000x600", 1000, 600, 1.25, 381, 172},
};
INSTANTIATE_TEST_SUITE_P(Cases, HelpWindowScaling, testing::ValuesIn(ScaleCases),
                         [](const auto& caseInfo) { return std::string(caseInfo.param.Name); });

TEST_F(HelpWindows, HelpWindowOpensCentredOverTheMainWindowWithStartFocused) {
    THelpForm* help = BuildHelp();
    help->SetVisible(true);

    const int mainCentreX = Main->Left() + Main->Width() / 2;
    const int mainCentreY = Main->Top() + Main->Height() / 2;
    EXPECT_NEAR(help->Left() + help->Width() / 2, mainCentreX, 1);
    EXPECT_NEAR(help->Top() + help->Height() / 2, mainCentreY, 1);
    // The window's focus child, whether or not the window manager has activated it yet.
    EXPECT_EQ(help->Window()->focusWidget(), help->StartButton->Handle());
}

// ---- help text as shown -----------------------------------------------------------------

const TRtfRun* FindRun(const TRtfDocument& document, const std::string& text) {
    for (const TRtfParagraph& paragraph : document.Paragraphs)
        for (const TRtfRun& run : paragraph.Runs)
            if (run.Text == text) return &run;
    return nullptr;
}

constexpr uint32_t DarkGrey = 0x404040;
constexpr uint32_t Yellow = 0x40FFFF; // 255, 255, 64 as 0x00BBGGRR
constexpr uint32_t Blue = 0xFF4040;   // 64, 64, 255
constexpr uint32_t Red = 0x4040FF;    // 255, 64, 64

TEST_F(HelpWindows, TitleIsBoldSixteenPointDarkGreyVerdana) {
    const TRtfDocument& document = BuildHelp()->HelpRich->Document();
    ASSERT_FALSE(document.Paragraphs.empty());
    ASSERT_EQ(document.Paragraphs[0].Runs.size(), 1u);
    const TRtfRun& title = document.Paragraphs[0].Runs[0];
    EXPECT_EQ(title.Text, "Velkor Tarvo-K8 Settings Program");
    EXPECT_TRUE(title.Bold);
    EXPECT_EQ(title.HalfPoints, 32);
    EXPECT_EQ(title.Color, DarkGrey);
    EXPECT_EQ(title.FontName, "Verdana");
}

struct TColouredWord {
    const char* Text;
    uint32_t Color;
    bool Bold;
};

TEST_F(HelpWindows, CircleWordsCarryTheirCircleColours) {
    Sup->MultiPort = true;
    const TRtfDocument& document = BuildHelp()->HelpRich->Document();
    const TColouredWord words[] = {
        {"Yellow circles", Yellow, true}, {"Blue circles", Blue, true},
        {"Red circles", Red, true},       {"setup circles", Yellow, false},
        {"calibration circles", Red, false}, {"setup", Yellow, false},
        {"features", Blue, false},        {"calibration", Red, false},
    };
    for (const TColouredWord& word : words) {
        const TRtfRun* run = FindRun(document, word.Text);
        ASSERT_NE(run, nullptr) << word.Text;
        EXPECT_EQ(run->Color, word.Color) << word.Text;
        EXPECT_EQ(run->Bold, word.Bold) << word.Text;
        EXPECT_EQ(run->HalfPoints, 24) << word.Text;
    }
    const TRtfRun* note = FindRun(document, "Note:");
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->Bold);
    EXPECT_EQ(note->HalfPoints, 32);
    const TRtfRun* body = FindRun(document, " provide information on configuring jumpers and switches.");
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(body->Color, DarkGrey);
    EXPECT_FALSE(body->Bold);
    EXPECT_EQ(body->HalfPoints, 24);
}

TEST_F(HelpWindows, NoteReadsWithAnEmDash) {
    Sup->MultiPort = true;
    const std::string shown = BuildHelp()->HelpRich->PlainText();
    EXPECT_NE(shown.find("Note: Make sure to set the jumpers for each option group \u2014 the "
                         "configuration options for each port are handled identically; this "
                         "program only shows the setup once"),
              std::string::npos)
        << shown;
}

// ---- Start ------------------------------------------------------------------------------

TEST_F(HelpWindows, StartHidesHelpAndOpensTheFirstCirclePinned) {
    auto* other = new TCustomPanel(Main); // not a board image: passed over
    other->SetParent(Main);
    TBoardHighlight* first = AddBoardImage("Board");
    TBoardHighlight* second = AddBoardImage("LaterBoard");
    THelpForm* help = BuildHelp();
    help->SetVisible(true);

    help->StartButton->Click();

    EXPECT_FALSE(help->Visible());
    EXPECT_TRUE(PopupShown(first));
    EXPECT_TRUE(first->Pinned());
    EXPECT_FALSE(PopupShown(second)) << "only the first board image is asked";
    EXPECT_EQ(Main->FindComponent("HelpForm"), help) << "hidden, not destroyed";
}

TEST_F(HelpWindows, StartWithoutBoardImageOnlyHides) {
    THelpForm* help = BuildHelp();
    help->SetVisible(true);
    const int forms = static_cast<int>(Application->Forms().size());

    help->StartButtonClick(help->StartButton);

    EXPECT_FALSE(help->Visible());
    EXPECT_EQ(static_cast<int>(Application->Forms().size()), forms);
}

struct TDialogKeyCase {
    const char* Name;
    bool Escape;
    Qt::Key Key;
};

class HelpWindowKeys : public HelpWindows, public testing::WithParamInterface<TDialogKeyCase> {};

TEST_P(HelpWindowKeys, PressStartUnlessTheTextHasTheFocus) {
    TBoardHighlight* first = AddBoardImage("Board");
    THelpForm* help = BuildHelp();
    help->SetVisible(true);

    EXPECT_FALSE(help->DialogKey(help->HelpRich, GetParam().Escape));
    EXPECT_TRUE(help->Visible()) << "the text box keeps the key";

    EXPECT_TRUE(help->DialogKey(help->StartButton, GetParam().Escape));
    EXPECT_FALSE(help->Visible());
    EXPECT_TRUE(PopupShown(first));
    EXPECT_TRUE(first->Pinned());
}

TEST_P(HelpWindowKeys, FromTheKeyboardPressStart) {
    THelpForm* help = BuildHelp();
    help->SetVisible(true);
    QApplication::setActiveWindow(help->Window());
    help->StartButton->SetFocus();
    QWidget* focused = QApplication::focusWidget();
    if (focused != help->StartButton->Handle()) GTEST_SKIP() << "no keyboard focus offscreen";

    QTest::keyClick(focused, GetParam().Key);

    EXPECT_FALSE(help->Visible());
}

const TDialogKeyCase KeyCases[] = {{"Enter", false, Qt::Key_Return},
                                   {"Escape", true, Qt::Key_Escape}};
INSTANTIATE_TEST_SUITE_P(Cases, HelpWindowKeys, testing::ValuesIn(KeyCases),
                         [](const auto& caseInfo) { return std::string(caseInfo.param.Name); });

TEST_F(HelpWindows, HelpShownAgainAfterStartKeepsItsPlace) {
    THelpForm* help = BuildHelp();
    help->SetVisible(true);
    const TRect shownAt = help->BoundsRect();
    help->StartButton->Click();

    help->SetVisible(true);

    EXPECT_TRUE(help->Visible());
    EXPECT_EQ(help->BoundsRect(), shownAt);
}

struct TWindowCase {
    const char* Name;
    bool Help; // else the support window
};

class HelpWindowCloseBox : public HelpWindows, public testing::WithParamInterface<TWindowCase> {};

TEST_P(HelpWindowCloseBox, HidesTheWindowAndTheMenuBringsItBackUnchanged) {
    Sup->BuildWindows();
    TForm* window = GetParam().Help ? static_cast<TForm*>(Sup->HelpForm())
                                    : static_cast<TForm*>(Sup->TechForm());
    window->SetVisible(true);
    const TRect where = window->BoundsRect();

    window->Window()->close(); // the window's own close box

    EXPECT_FALSE(window->Visible());
    EXPECT_EQ(Main->FindComponent(window->Name()), window) << "hidden, not destroyed";
    window->SetVisible(true);
    EXPECT_TRUE(window->Visible());
    EXPECT_EQ(window->BoundsRect(), where);
}

const TWindowCase WindowCases[] = {{"Help", true}, {"Support", false}};
INSTANTIATE_TEST_SUITE_P(Cases, HelpWindowCloseBox, testing::ValuesIn(WindowCases),
                         [](const auto& caseInfo) { return std::string(caseInfo.param.Name); });

// ---- technical support ------------------------------------------------------------------

TEST_F(HelpWindows, SupportWindowIsBuiltAsDescribed) {
    Sup->BuildWindows();
    TTechForm* tech = Sup->TechForm();
    ASSERT_NE(tech, nullptr);
    EXPECT_EQ(tech->Name(), "TechForm");
    EXPECT_EQ(tech->Owner(), Main);
    EXPECT_EQ(tech->Caption(), "Technical Support");
    EXPECT_EQ(tech->FormStyle(), fsStayOnTop);
    EXPECT_EQ(tech->Position(), poDefaultPosOnly);
    EXPECT_FALSE(tech->Visible());

    EXPECT_EQ(tech->ClientWidth(), 305);
    EXPECT_EQ(tech->ClientHeight(), 122);
    ASSERT_NE(tech->TechMemo, nullptr);
    EXPECT_EQ(tech->TechMemo->Name(), "TechMemo");
    EXPECT_EQ(tech->TechMemo->BoundsRect(), Bounds(0, 0, 305, 89));
    EXPECT_EQ(tech->TechMemo->Anchors(), akLeft | akTop | akRight | akBottom);
    EXPECT_TRUE(tech->TechMemo->ReadOnly());
    EXPECT_EQ(tech->TechMemo->ScrollBars(), ssVertical);
    ASSERT_NE(tech->CloseButton, nullptr);
    EXPECT_EQ(tech->CloseButton->Name(), "CloseButton");
    EXPECT_EQ(tech->CloseButton->BoundsRect(), Bounds(116, 97, 73, 25));
    EXPECT_EQ(tech->CloseButton->Anchors(), akBottom);
    EXPECT_EQ(tech->CloseButton->Caption(), "Close");
    EXPECT_TRUE(tech->CloseButton->Cancel());
    EXPECT_FALSE(tech->CloseButton->Default());
    EXPECT_EQ(tech->CloseButton->TabOrder(), 0);
}

TEST_F(HelpWindows, SupportWindowIsNotScaled) {
    TScreen::SetSizeOverride(1920, 1080);
    Sup->BuildWindows();
    EXPECT_EQ(Sup->TechForm()->ClientWidth(), 305);
    EXPECT_EQ(Sup->TechForm()->ClientHeight(), 122);
}

TEST_F(HelpWindows, SupportTextNamesTheMakerTwiceAndHowToCall) {
    const std::string first =
        "There are several ways to get technical support. First and fastest is to skim the "
        "relevant sections of the manual. However, some questions require personal assistance, "
        "and Velkor stands ready to provide that help. You can call us " +
        std::string(CallHow) + " for any of your product questions.";
    const std::string second =
        "In order to provide the best and fastest support possible, we ask that you be at your "
        "computer when you call, and have the Velkor product manual and Software Master CD at "
        "hand.";
    EXPECT_EQ(TSetupSupporter::SupportText("Velkor", CallHow), first + "\r\n\r\n" + second);

    Sup->BuildWindows();
    EXPECT_EQ(Sup->TechForm()->TechMemo->Lines().Items(),
              (std::vector<std::string>{first, "", second}));
}

TEST_F(HelpWindows, SupportWindowClosesWithCloseOrEscape) {
    Sup->BuildWindows();
    TTechForm* tech = Sup->TechForm();
    const std::vector<std::string> text = tech->TechMemo->Lines().Items();

    tech->SetVisible(true);
    EXPECT_FALSE(tech->DialogKey(tech->TechMemo, true)) << "the text box keeps Escape";
    EXPECT_TRUE(tech->Visible());
    EXPECT_TRUE(tech->DialogKey(tech->CloseButton, true));
    EXPECT_FALSE(tech->Visible());

    tech->SetVisible(true);
    tech->CloseButton->Click();
    EXPECT_FALSE(tech->Visible());

    tech->SetVisible(true);
    EXPECT_EQ(tech->TechMemo->Lines().Items(), text);
    EXPECT_EQ(Sup->TechForm(), tech);
}

} // namespace
