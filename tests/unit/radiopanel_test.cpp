// The radio panel: its defaults, the copied Lines, FinalAnchors before and after a popup adopts
// it, never showing on the main window, painting that never changes Visible at run time, and
// the teardown of a panel that belongs to the main window but lives in a popup that belongs to
// a highlight: every object goes exactly once, whatever goes first.
#include "app/mainform.h"
#include "classlib/application.h"
#include "classlib/bitmap.h"
#include "classlib/checkbox.h"
#include "classlib/form.h"
#include "classlib/memo.h"
#include "classlib/screen.h"
#include "setupctrls/boardhighlight.h"
#include "setupctrls/boardimage.h"
#include "setupctrls/dipswitch.h"
#include "setupctrls/popupform.h"
#include "setupctrls/radiopanel.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr TAnchors kAllSides = akLeft | akTop | akRight | akBottom;

// Counts destructions; the class names stay TRadioPanel and TBoardHighlight.
int gPanelsDestroyed = 0;
int gHighlightsDestroyed = 0;

class TCountedPanel : public TRadioPanel {
  public:
    using TRadioPanel::TRadioPanel;
    ~TCountedPanel() override { ++gPanelsDestroyed; }
};

class TCountedHighlight : public TBoardHighlight {
  public:
    using TBoardHighlight::TBoardHighlight;
    ~TCountedHighlight() override { ++gHighlightsDestroyed; }
};

std::vector<uint32_t> Pixels(TWinControl& control) {
    TBitmap bitmap;
    control.PaintTo(bitmap);
    std::vector<uint32_t> pixels;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) pixels.push_back(bitmap.Pixel(x, y));
    return pixels;
}

class RadioPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TScreen::SetSizeOverride(1600, 1200);
        TScreen::SetCursorPosHook([] { return TPoint{-5000, -5000}; }); // away from every window
        gPanelsDestroyed = gHighlightsDestroyed = 0;
        Host = new TForm(nullptr);
        Host->SetBounds(0, 0, 1032, 776);
        Board = new TBoardImage(Host);
        Board->SetParent(Host);
        Board->SetAutoSize(false);
        Board->SetCenterOnForm(false);
        Board->SetBounds(150, 74, 600, 425);
        Panel = new TCountedPanel(Host);
        Panel->SetName("FilterPanel");
        Panel->SetParent(Host);
        Panel->SetBounds(528, 240, 217, 163);
    }

    void TearDown() override {
        Application->SetMouseControl(nullptr);
        delete Host;
        TScreen::SetCursorPosHook(nullptr);
        TScreen::SetSizeOverride(0, 0);
    }

    TBoardHighlight* AddHighlight(const std::string& title, TRadioPanel* panel) {
        auto* h = new TCountedHighlight(Host);
        h->SetParent(Board);
        h->SetBounds(369, 34, 73, 25);
        h->SetTitle(title);
        h->SetRadioPanel(panel);
        return h;
    }

    TPopupForm* Adopt() {
        TBoardHighlight* h = AddHighlight("Manual &Filter Selection", Panel);
        TBitmap canvas;
        Board->PaintTo(canvas);
        h->Perform(CM_MOUSEENTER, 0, 0);
        return h->Popup();
    }

    TForm* Host = nullptr;
    TBoardImage* Board = nullptr;
    TRadioPanel* Panel = nullptr;
};

TEST_F(RadioPanelTest, NewPanelIsAnInvisibleBorderless194By100Panel) {
    auto* panel = new TRadioPanel(Host);
    panel->SetName("ConnectorPanel");
    EXPECT_EQ(panel->Width(), 194);
    EXPECT_EQ(panel->Height(), 100);
    EXPECT_FALSE(panel->Visible());
    EXPECT_EQ(panel->BevelOuter(), bvNone);
    EXPECT_EQ(panel->Anchors(), akLeft | akTop);
    EXPECT_EQ(panel->FinalAnchors(), akLeft | akTop);
    EXPECT_FALSE(panel->Placed());
    EXPECT_FALSE(panel->RadioEnabled());
    EXPECT_EQ(panel->MemoHeight(), 58);
    EXPECT_EQ(panel->Lines().Count(), 0);
    EXPECT_EQ(panel->Caption(), ""); // naming it leaves the caption empty
    EXPECT_FALSE(panel->OnRadioChange);
    EXPECT_FALSE(panel->OnActivate);
    EXPECT_FALSE(panel->OnDeactivate);
}

TEST_F(RadioPanelTest, LinesAreCopied) {
    TStrings given;
    given.Add("First");
    given.Add("");
    Panel->SetLines(given);
    given.SetString(0, "Changed");
    given.Add("Third");
    EXPECT_EQ(Panel->Lines().Items(), (std::vector<std::string>{"First", ""}));
    given.Clear();
    EXPECT_EQ(Panel->Lines().Count(), 2);
}

TEST_F(RadioPanelTest, FinalAnchorsOnlyRecordedUntilAdopted) {
    Panel->SetFinalAnchors(kAllSides);
    EXPECT_EQ(Panel->FinalAnchors(), kAllSides);
    EXPECT_EQ(Panel->Anchors(), akLeft | akTop);
    // Resizing the main window neither moves nor stretches the parked panel.
    Host->SetBounds(0, 0, 1200, 900);
    EXPECT_EQ(Panel->BoundsRect(), Bounds(528, 240, 217, 163));

    TPopupForm* popup = Adopt();
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(Panel->Placed());
    EXPECT_EQ(Panel->Anchors(), kAllSides);
    popup->SetBounds(popup->Left(), popup->Top(), popup->Width() + 20, popup->Height() + 10);
    EXPECT_EQ(Panel->BoundsRect(), Bounds(0, 0, 237, 173));

    // Once placed, a change takes effect at once.
    Panel->SetFinalAnchors(akLeft | akTop);
    EXPECT_EQ(Panel->Anchors(), akLeft | akTop);
    popup->SetBounds(popup->Left(), popup->Top(), popup->Width() + 20, popup->Height() + 10);
    EXPECT_EQ(Panel->BoundsRect(), Bounds(0, 0, 237, 173));
}

TEST_F(RadioPanelTest, DefaultFinalAnchorsKeepThePanelsSizeInAResizedPopup) {
    TPopupForm* popup = Adopt();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(Panel->Anchors(), akLeft | akTop);
    popup->SetBounds(popup->Left(), popup->Top(), popup->Width() + 20, popup->Height() + 10);
    EXPECT_EQ(Panel->BoundsRect(), Bounds(0, 0, 217, 163));
}

TEST_F(RadioPanelTest, EmptyLinesGiveAnEmptyMemoAndTheSamePanel) {
    std::vector<uint32_t> before = Pixels(*Panel);
    TPopupForm* popup = Adopt();
    ASSERT_NE(popup, nullptr);
    auto* memo = dynamic_cast<TMemo*>(popup->FindComponent("StatusMemo"));
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->Lines().Count(), 0);
    EXPECT_EQ(Pixels(*Panel), before);
}

TEST_F(RadioPanelTest, RadioPropertiesChangeNothingVisible) {
    std::vector<uint32_t> before = Pixels(*Panel);
    int changes = 0;
    Panel->SetRadioEnabled(true);
    Panel->OnRadioChange = [&changes](TObject*) { ++changes; };
    EXPECT_TRUE(Panel->RadioEnabled());
    EXPECT_EQ(Pixels(*Panel), before);
    EXPECT_FALSE(Panel->Visible());
    EXPECT_EQ(changes, 0);
}

TEST_F(RadioPanelTest, PaintAtRunTimeNeverChangesVisible) {
    Pixels(*Panel);
    EXPECT_FALSE(Panel->Visible());
    Panel->SetVisible(true); // made visible by code on the main window
    for (int i = 0; i < 2; ++i) Pixels(*Panel);
    EXPECT_TRUE(Panel->Visible());
}

TEST_F(RadioPanelTest, DesignerPaintHidesOnceOnly) {
    Panel->SetDesigning(true);
    Panel->SetVisible(true);
    Pixels(*Panel);
    EXPECT_FALSE(Panel->Visible());
    Panel->SetVisible(true);
    Pixels(*Panel);
    EXPECT_TRUE(Panel->Visible());
}

TEST_F(RadioPanelTest, PanelNoHighlightNamesStaysHidden) {
    auto* spare = new TRadioPanel(Host);
    spare->SetParent(Host);
    TPopupForm* popup = Adopt();
    ASSERT_NE(popup, nullptr);
    Pixels(*Host);
    EXPECT_FALSE(spare->Visible());
    EXPECT_EQ(spare->Parent(), Host);
    EXPECT_TRUE(Panel->Visible());
    EXPECT_EQ(Host->IndexOfControl(Panel), -1);
}

// --- Teardown of the synthetic page, in every order -----------------------------------------------

struct TTeardownCase {
    const char* Name;
    // Destroys something first; gets the popup's owner, the popup and the panel.
    std::function<void(TBoardHighlight*, TPopupForm*, TRadioPanel*)> First;
};

class RadioPanelTeardownTest : public RadioPanelTest, public ::testing::WithParamInterface<TTeardownCase> {};

TEST_P(RadioPanelTeardownTest, EveryObjectGoesOnce) {
    const size_t formsBefore = Application->Forms().size() - 1; // without the main window
    const int exceptions = Application->ExceptionCount();
    TBoardHighlight* h = AddHighlight("Manual &Filter Selection", Panel);
    h->SetName("Owner");
    AddHighlight("Manual &Filter Selection", Panel)->SetName("Linked");
    auto* box = new TCheckBox(Host); // a control of the panel, owned by the main window
    box->SetParent(Panel);
    TBitmap canvas;
    Board->PaintTo(canvas);
    Application->SetMouseControl(h);
    TPopupForm* popup = h->Popup();
    ASSERT_NE(popup, nullptr);
    h->Click();
    Application->SetMouseControl(box);

    GetParam().First(h, popup, Panel);

    // What is left still works: each remaining circle is entered and left again.
    for (const char* name : {"Owner", "Linked"})
        if (auto* left = dynamic_cast<TBoardHighlight*>(Host->FindComponent(name))) {
            if (left->Popup()) left->Popup()->Close();
            left->Unlight();
        }
    for (const char* name : {"Owner", "Linked"})
        if (auto* left = dynamic_cast<TBoardHighlight*>(Host->FindComponent(name))) {
            Application->SetMouseControl(left);
            Application->SetMouseControl(nullptr);
            EXPECT_FALSE(left->Lit()) << name;
        }
    if (Host->FindComponent("Linked")) Board->PaintTo(canvas);

    delete Host;
    Host = nullptr;
    EXPECT_EQ(gPanelsDestroyed, 1);
    EXPECT_EQ(gHighlightsDestroyed, 2);
    EXPECT_EQ(Application->Forms().size(), formsBefore);
    EXPECT_EQ(Application->MouseControl(), nullptr);
    EXPECT_EQ(Application->ExceptionCount(), exceptions);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RadioPanelTeardownTest,
    ::testing::Values(
        TTeardownCase{"MainWindowOnly", [](TBoardHighlight*, TPopupForm*, TRadioPanel*) {}},
        TTeardownCase{"HighlightFirst", [](TBoardHighlight* h, TPopupForm*, TRadioPanel*) { delete h; }},
        TTeardownCase{"PanelFirst", [](TBoardHighlight*, TPopupForm*, TRadioPanel* p) { delete p; }},
        TTeardownCase{"PopupFirst", [](TBoardHighlight*, TPopupForm* popup, TRadioPanel*) { delete popup; }},
        TTeardownCase{"BoardFirst", [](TBoardHighlight* h, TPopupForm*, TRadioPanel*) { delete h->Parent(); }}),
    [](const auto& tc) { return std::string(tc.param.Name); });

// --- The real main window -------------------------------------------------------------------

class RadioPanelMainFormTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TScreen::SetCursorPosHook([] { return TPoint{-5000, -5000}; });
        FormsBefore = Application->Forms().size();
        Form = new TMainForm(Application);
    }
    void TearDown() override {
        Application->SetMouseControl(nullptr);
        delete Form;
        Application->OnIdle = nullptr;
        TScreen::SetCursorPosHook(nullptr);
    }
    // Paints the page and opens both popups pinned, with the mouse on a filter check box.
    void OpenBoth() {
        TBitmap canvas;
        Form->BoardImage1->PaintTo(canvas);
        for (TBoardHighlight* h : {Form->FilterHighlight, Form->ConnectorHighlight}) {
            Application->SetMouseControl(h);
            ASSERT_NE(h->Popup(), nullptr);
            h->Click();
        }
        Application->SetMouseControl(Form->FilterCheck3);
    }
    TMainForm* Form = nullptr;
    size_t FormsBefore = 0;
};

TEST_F(RadioPanelMainFormTest, PanelsAreNeverSeenOnTheMainWindow) {
    for (TRadioPanel* panel : {Form->FilterPanel, Form->ConnectorPanel}) {
        EXPECT_FALSE(panel->Visible());
        EXPECT_EQ(panel->Parent(), Form);
        EXPECT_EQ(panel->MemoHeight(), 58);
        EXPECT_EQ(panel->FinalAnchors(), akLeft | akTop);
    }
    EXPECT_EQ(Form->FilterPanel->BoundsRect(), Bounds(528, 240, 217, 163));
    EXPECT_EQ(Form->ConnectorPanel->BoundsRect(), Bounds(264, 240, 194, 9));
    EXPECT_EQ(Form->FilterPanel->Lines().Count(), 5);
    EXPECT_EQ(Form->ConnectorPanel->Lines().Items(),
              (std::vector<std::string>{"All I/O signals are on the 37-pin male D-sub connector."}));
    TBitmap canvas;
    Form->PaintTo(canvas);
    Form->BoardImage1->PaintTo(canvas);
    EXPECT_FALSE(Form->FilterPanel->Visible());
    EXPECT_FALSE(Form->ConnectorPanel->Visible());

    OpenBoth();
    for (TRadioPanel* panel : {Form->FilterPanel, Form->ConnectorPanel}) {
        EXPECT_EQ(Form->IndexOfControl(panel), -1);
        EXPECT_NE(dynamic_cast<TPopupForm*>(panel->Parent()), nullptr);
        EXPECT_EQ(panel->Owner(), Form);
        EXPECT_TRUE(panel->Visible());
    }
    EXPECT_EQ(Form->FilterDips->Parent(), Form->FilterPanel);
    auto* memo = dynamic_cast<TMemo*>(Form->FilterHighlight->Popup()->FindComponent("StatusMemo"));
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->Lines().Items(), Form->FilterPanel->Lines().Items());
}

struct TMainTeardownCase {
    const char* Name;
    std::function<void(TMainForm*)> First;
};

class RadioPanelMainTeardownTest : public RadioPanelMainFormTest,
                                   public ::testing::WithParamInterface<TMainTeardownCase> {};

TEST_P(RadioPanelMainTeardownTest, DeletingTheMainWindowWithBothPopupsOpen) {
    const int exceptions = Application->ExceptionCount();
    OpenBoth();
    ASSERT_EQ(Application->Forms().size(), FormsBefore + 3);
    GetParam().First(Form);
    delete Form;
    Form = nullptr;
    EXPECT_EQ(Application->Forms().size(), FormsBefore);
    EXPECT_EQ(Application->MouseControl(), nullptr);
    EXPECT_EQ(Application->ExceptionCount(), exceptions);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RadioPanelMainTeardownTest,
    ::testing::Values(TMainTeardownCase{"AsItIs", [](TMainForm*) {}},
                      TMainTeardownCase{"FilterHighlightFirst", [](TMainForm* f) { delete f->FilterHighlight; }},
                      TMainTeardownCase{"FilterPanelFirst", [](TMainForm* f) { delete f->FilterPanel; }},
                      TMainTeardownCase{"FilterPanelFirstThenReopen",
                                        [](TMainForm* f) {
                                            delete f->FilterPanel;
                                            f->FilterHighlight->Popup()->Close();
                                            Application->SetMouseControl(f->FilterHighlight);
                                        }},
                      TMainTeardownCase{"ConnectorPopupFirst",
                                        [](TMainForm* f) { delete f->ConnectorHighlight->Popup(); }},
                      TMainTeardownCase{"BoardImageFirst", [](TMainForm* f) { delete f->BoardImage1; }},
                      TMainTeardownCase{"PopupsClosedFirst",
                                        [](TMainForm* f) {
                                            f->FilterHighlight->Popup()->Close();
                                            f->ConnectorHighlight->Popup()->Close();
                                        }}),
    [](const auto& tc) { return std::string(tc.param.Name); });

} // namespace
