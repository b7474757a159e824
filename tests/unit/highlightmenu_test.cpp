// The circles in the main menu: where the groups go and what they and their entries are named,
// one entry per linked group, choosing an entry to pin and to close, the "Previous"/"Next" tour
// through one group with wrap-around, lookups that find nothing, and the rules and questions
// of the RadioPanel property; finally the real main window's menu.
#include "app/mainform.h"
#include "classlib/application.h"
#include "classlib/bitmap.h"
#include "classlib/button.h"
#include "classlib/custompanel.h"
#include "classlib/form.h"
#include "classlib/mainmenu.h"
#include "classlib/menuitem.h"
#include "classlib/screen.h"
#include "setupctrls/boardhighlight.h"
#include "setupctrls/boardimage.h"
#include "setupctrls/popupform.h"
#include "setupctrls/radiopanel.h"
#include "system/messagebox.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using TStringList = std::vector<std::string>;

struct TBox {
    std::string Text, Caption;
    unsigned Flags;
};

// Presses a button of the circle's popup window.
void Press(TBoardHighlight* owner, const char* button) {
    ASSERT_NE(owner->Popup(), nullptr);
    auto* b = dynamic_cast<TButton*>(owner->Popup()->FindComponent(button));
    ASSERT_NE(b, nullptr);
    b->Click();
}

class HighlightMenuTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TScreen::SetSizeOverride(1600, 1200);
        TScreen::SetCursorPosHook([] { return TPoint{-5000, -5000}; }); // away from every window
        TMessageBox::SetHook([this](QWidget*, const std::string& text, const std::string& caption, unsigned flags) {
            Boxes.push_back({text, caption, flags});
            return Answer;
        });
        Host = new TForm(nullptr);
        Host->SetBounds(0, 0, 1032, 776);
        Menu = new TMainMenu(Host);
        Board = new TBoardImage(Host);
        Board->SetParent(Host);
        Board->SetAutoSize(false);
        Board->SetCenterOnForm(false);
        Board->SetBounds(0, 0, 600, 425);
        Board->SetMenu(Menu);
    }

    void TearDown() override {
        Application->SetMouseControl(nullptr);
        delete Host;
        TScreen::SetCursorPosHook(nullptr);
        TScreen::SetSizeOverride(0, 0);
        TMessageBox::SetHook(nullptr);
    }

    void AddTopItems(const TStringList& captions) {
        for (const std::string& caption : captions) {
            auto* item = new TMenuItem(Host);
            item->SetCaption(caption);
            Menu->Items()->Add(item);
        }
    }

    TBoardHighlight* Add(const std::string& title, THighlightType type = htSettings, const std::string& name = "") {
        auto* h = new TBoardHighlight(Host);
        h->SetParent(Board);
        h->SetBounds(10 * Board->ControlCount(), 0, 9, 9);
        h->SetHighlightType(type);
        h->SetTitle(title);
        if (!name.empty()) h->SetName(name);
        return h;
    }

    void Render() {
        TBitmap canvas;
        Board->PaintTo(canvas);
    }

    TStringList TopCaptions() const {
        TStringList captions;
        for (int i = 0; i < Menu->Items()->Count(); ++i) captions.push_back(Menu->Items()->Items(i)->Caption());
        return captions;
    }
    TMenuItem* Group(const std::string& caption) const {
        for (int i = 0; i < Menu->Items()->Count(); ++i)
            if (Menu->Items()->Items(i)->Caption() == caption) return Menu->Items()->Items(i);
        return nullptr;
    }
    static TStringList EntryCaptions(const TMenuItem* group) {
        TStringList captions;
        for (int i = 0; group && i < group->Count(); ++i) captions.push_back(group->Items(i)->Caption());
        return captions;
    }
    static bool Open(const TBoardHighlight* h) { return h->Popup() && h->Popup()->Visible(); }

    TForm* Host = nullptr;
    TMainMenu* Menu = nullptr;
    TBoardImage* Board = nullptr;
    std::vector<TBox> Boxes;
    int Answer = IDOK;
};

// --- Groups and entries ----------------------------------------------------------------------

TEST_F(HighlightMenuTest, GroupsGoInFrontOfHelpWithTheirNames) {
    AddTopItems({"&File", "&Help"});
    TBoardHighlight* filter = Add("Manual &Filter Selection", htSettings);
    TBoardHighlight* connector = Add("&Connector", htOptions);
    Render();
    EXPECT_EQ(TopCaptions(), (TStringList{"&File", "&Settings", "&Options", "&Help"}));
    EXPECT_EQ(filter->MainMenu(), Menu);
    EXPECT_EQ(connector->MainMenu(), Menu);

    TMenuItem* settings = Group("&Settings");
    TMenuItem* options = Group("&Options");
    ASSERT_NE(settings, nullptr);
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(settings->Name(), "Settings1");
    EXPECT_EQ(options->Name(), "Options1");
    EXPECT_EQ(settings->Owner(), Host);
    ASSERT_EQ(settings->Count(), 1);
    ASSERT_EQ(options->Count(), 1);
    TMenuItem* filterEntry = settings->Items(0);
    TMenuItem* connectorEntry = options->Items(0);
    EXPECT_EQ(filterEntry->Caption(), "Manual &Filter Selection");
    EXPECT_EQ(filterEntry->Name(), "ManualFilterSelection1");
    EXPECT_EQ(connectorEntry->Caption(), "&Connector");
    EXPECT_EQ(connectorEntry->Name(), "Connector1");
    EXPECT_EQ(connectorEntry->Owner(), Host);
    EXPECT_TRUE(connectorEntry->Enabled());
    EXPECT_FALSE(connectorEntry->Checked());

    // A calibration circle painted later goes between the two.
    Add("&Calibrate", htCalibration);
    Render();
    EXPECT_EQ(TopCaptions(), (TStringList{"&File", "&Settings", "&Calibration", "&Options", "&Help"}));
    EXPECT_EQ(Group("&Calibration")->Name(), "Calibration1");
    // Painting again adds nothing.
    Render();
    EXPECT_EQ(TopCaptions().size(), 5u);
    EXPECT_EQ(EntryCaptions(settings), (TStringList{"Manual &Filter Selection"}));
}

struct TOrderCase {
    const char* Name;
    TStringList Initial;
    std::vector<THighlightType> Types; // painted in this order
    TStringList Expected;
};

class HighlightMenuOrderTest : public HighlightMenuTest, public ::testing::WithParamInterface<TOrderCase> {};

TEST_P(HighlightMenuOrderTest, GroupsTakeTheirPlace) {
    const TOrderCase& c = GetParam();
    AddTopItems(c.Initial);
    int n = 0;
    for (THighlightType type : c.Types) {
        Add("Item " + std::to_string(++n), type);
        Render(); // one at a time, so each finds the groups of the ones before
    }
    EXPECT_EQ(TopCaptions(), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HighlightMenuOrderTest,
    ::testing::Values(
        TOrderCase{"AllThreeReversed", {"&File", "&Help"}, {htOptions, htCalibration, htSettings},
                   {"&File", "&Settings", "&Calibration", "&Options", "&Help"}},
        TOrderCase{"WithoutHelpAtTheEnd", {"&File"}, {htOptions, htSettings}, {"&File", "&Settings", "&Options"}},
        TOrderCase{"EmptyMenu", {}, {htCalibration, htSettings}, {"&Settings", "&Calibration"}},
        TOrderCase{"FirstListedCaptionWins", {"&Help", "&File", "&Options"}, {htSettings},
                   {"&Settings", "&Help", "&File", "&Options"}},
        TOrderCase{"CalibrationBeforeHelp", {"&File", "&Help"}, {htCalibration}, {"&File", "&Calibration", "&Help"}},
        TOrderCase{"CaptionsCompareExactly", {"&file", "Help"}, {htOptions}, {"&file", "Help", "&Options"}}),
    [](const auto& tc) { return std::string(tc.param.Name); });

TEST_F(HighlightMenuTest, NamesTakeTheFirstFreeNumber) {
    AddTopItems({"&Help"});
    auto* taken = new TMenuItem(Host);
    taken->SetName("settings1"); // names compare without regard to case
    auto* alsoTaken = new TMenuItem(Host);
    alsoTaken->SetName("Connector1");
    Add("Con&nector", htSettings);
    Add("Connector", htSettings); // another entry with the same identifier stem
    Render();
    TMenuItem* settings = Group("&Settings");
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(settings->Name(), "Settings2");
    ASSERT_EQ(settings->Count(), 2);
    EXPECT_EQ(settings->Items(0)->Name(), "Connector2");
    EXPECT_EQ(settings->Items(1)->Name(), "Connector3");
}

TEST_F(HighlightMenuTest, EmptyTitleMakesTheGroupButNoEntry) {
    AddTopItems({"&File", "&Help"});
    Add("", htOptions);
    Render();
    EXPECT_EQ(TopCaptions(), (TStringList{"&File", "&Options", "&Help"}));
    EXPECT_EQ(Group("&Options")->Count(), 0);
    Add("", htOptions);
    Add("Later", htOptions);
    Render();
    EXPECT_EQ(TopCaptions(), (TStringList{"&File", "&Options", "&Help"}));
    EXPECT_EQ(EntryCaptions(Group("&Options")), (TStringList{"Later"}));
}

TEST_F(HighlightMenuTest, CircleOffABoardImageHasNoEntry) {
    AddTopItems({"&Help"});
    auto* panel = new TCustomPanel(Host);
    panel->SetParent(Host);
    TBoardHighlight* h = Add("Loose", htSettings);
    h->SetParent(panel);
    TBitmap canvas;
    panel->PaintTo(canvas);
    EXPECT_TRUE(h->Prepared());
    EXPECT_EQ(h->MainMenu(), nullptr);
    EXPECT_EQ(TopCaptions(), (TStringList{"&Help"}));
}

// --- Choosing an entry ---------------------------------------------------------------------

TEST_F(HighlightMenuTest, LinkedCirclesShareOneEntryHandledByTheFirstPainted) {
    AddTopItems({"&Help"});
    TBoardHighlight* first = Add("&Connector", htOptions);
    Add("Unrelated", htSettings);
    TBoardHighlight* second = Add("&Connector", htOptions);
    Render();
    TMenuItem* options = Group("&Options");
    ASSERT_EQ(EntryCaptions(options), (TStringList{"&Connector"}));
    TMenuItem* entry = options->Items(0);

    entry->Click();
    EXPECT_TRUE(Open(first));
    EXPECT_EQ(second->Popup(), nullptr);
    EXPECT_TRUE(first->Pinned());
    EXPECT_TRUE(first->Lit());
    EXPECT_TRUE(second->Lit());
    EXPECT_TRUE(entry->Checked());

    entry->Click();
    EXPECT_FALSE(Open(first));
    EXPECT_FALSE(first->Lit());
    EXPECT_FALSE(second->Lit());
    EXPECT_FALSE(entry->Checked());

    // And the same once more: the hidden window comes back pinned.
    entry->Click();
    EXPECT_TRUE(Open(first));
    EXPECT_TRUE(first->Pinned());
    EXPECT_TRUE(entry->Checked());
}

TEST_F(HighlightMenuTest, EntryClosesAPopupThatAnotherLinkedCircleOwns) {
    AddTopItems({"&Help"});
    TBoardHighlight* first = Add("&Connector", htOptions);
    TBoardHighlight* second = Add("&Connector", htOptions);
    Render();
    second->Perform(CM_MOUSEENTER, 0, 0); // the mouse reached the second circle first
    second->Click();
    ASSERT_TRUE(Open(second));
    ASSERT_EQ(first->Popup(), nullptr);
    TMenuItem* entry = Group("&Options")->Items(0);
    ASSERT_TRUE(entry->Checked());

    entry->Click(); // handled by the first circle, which has no window of its own
    EXPECT_FALSE(Open(second));
    EXPECT_FALSE(entry->Checked());
    EXPECT_FALSE(first->Lit());
    EXPECT_FALSE(second->Lit());
}

TEST_F(HighlightMenuTest, CheckMarkFollowsPinAndClose) {
    AddTopItems({"&Help"});
    TBoardHighlight* h = Add("&Connector", htOptions);
    Render();
    TMenuItem* entry = Group("&Options")->Items(0);
    h->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_FALSE(entry->Checked()); // shown, not pinned
    h->Click();
    EXPECT_TRUE(entry->Checked());
    h->Popup()->Close();
    EXPECT_FALSE(entry->Checked());
}

// --- The tour ---------------------------------------------------------------------------------

TEST_F(HighlightMenuTest, NextAndPreviousWrapAroundTheGroup) {
    AddTopItems({"&File", "&Help"});
    TBoardHighlight* a = Add("&Alpha", htSettings);
    Add("&Elsewhere", htOptions); // another group is not visited
    TBoardHighlight* b = Add("&Beta", htSettings);
    TBoardHighlight* c = Add("&Gamma", htSettings);
    Render();
    TMenuItem* settings = Group("&Settings");
    ASSERT_EQ(EntryCaptions(settings), (TStringList{"&Alpha", "&Beta", "&Gamma"}));

    settings->Items(0)->Click();
    ASSERT_TRUE(Open(a));

    struct TStep {
        const char* Button;
        TBoardHighlight* From;
        TBoardHighlight* To;
        int ToIndex;
    } steps[] = {{"NextButton", a, b, 1},     {"NextButton", b, c, 2}, {"NextButton", c, a, 0},
                 {"PreviousButton", a, c, 2}, {"PreviousButton", c, b, 1}, {"PreviousButton", b, a, 0}};
    for (const TStep& step : steps) {
        SCOPED_TRACE(std::string(step.Button) + " from " + step.From->Title());
        // The open window closes before the next one shows.
        bool targetLitWhenClosed = true;
        step.From->Popup()->OnHide = [&](TObject*) { targetLitWhenClosed = step.To->Lit(); };
        Press(step.From, step.Button);
        step.From->Popup()->OnHide = nullptr;
        EXPECT_FALSE(targetLitWhenClosed);
        EXPECT_FALSE(Open(step.From));
        EXPECT_FALSE(step.From->Lit());
        EXPECT_TRUE(Open(step.To));
        EXPECT_TRUE(step.To->Pinned());
        for (int i = 0; i < 3; ++i) EXPECT_EQ(settings->Items(i)->Checked(), i == step.ToIndex) << i;
    }
}

TEST_F(HighlightMenuTest, SingleEntryTourReopensTheSameWindowPinned) {
    AddTopItems({"&Help"});
    TBoardHighlight* h = Add("&Only", htCalibration);
    Render();
    h->Perform(CM_MOUSEENTER, 0, 0);
    TPopupForm* popup = h->Popup();
    int hides = 0;
    popup->OnHide = [&hides](TObject*) { ++hides; };
    for (const char* button : {"NextButton", "PreviousButton"}) {
        Press(h, button);
        EXPECT_EQ(h->Popup(), popup);
        EXPECT_TRUE(Open(h));
        EXPECT_TRUE(h->Pinned());
        EXPECT_TRUE(Group("&Calibration")->Items(0)->Checked());
    }
    EXPECT_EQ(hides, 2);
}

TEST_F(HighlightMenuTest, TourWithoutEntryLeavesTheWindowOpen) {
    Board->SetMenu(nullptr);
    TBoardHighlight* noMenu = Add("&Loose", htSettings);
    Render();
    noMenu->Perform(CM_MOUSEENTER, 0, 0);
    noMenu->Click();
    Press(noMenu, "NextButton");
    Press(noMenu, "PreviousButton");
    EXPECT_TRUE(Open(noMenu));
    EXPECT_TRUE(noMenu->Lit());
}

TEST_F(HighlightMenuTest, RenamedCircleNoLongerFindsItsEntry) {
    AddTopItems({"&Help"});
    TBoardHighlight* a = Add("&Alpha", htSettings);
    Add("&Beta", htSettings);
    Render();
    TMenuItem* entry = Group("&Settings")->Items(0);
    a->Perform(CM_MOUSEENTER, 0, 0);
    a->SetTitle("Renamed");
    a->Click();
    EXPECT_TRUE(a->Pinned());
    EXPECT_FALSE(entry->Checked());
    EXPECT_EQ(entry->Caption(), "&Alpha");
    EXPECT_EQ(entry->Name(), "Alpha1");
    Press(a, "NextButton");
    EXPECT_TRUE(Open(a));
}

// --- The RadioPanel property --------------------------------------------------------------------

class HighlightRadioPanelTest : public HighlightMenuTest {
  protected:
    void SetUp() override {
        HighlightMenuTest::SetUp();
        First = Add("&Filter", htSettings, "FilterHighlight");
        Linked = Add("&Filter", htSettings, "FilterHighlight2");
        Stranger = Add("&Connector", htOptions, "ConnectorHighlight");
        Panel = NewPanel("FilterPanel");
        Other = NewPanel("ConnectorPanel");
        First->SetRadioPanel(Panel);
        Stranger->SetRadioPanel(Other);
    }
    TRadioPanel* NewPanel(const std::string& name) {
        auto* panel = new TRadioPanel(Host);
        panel->SetName(name);
        panel->SetParent(Host);
        return panel;
    }
    TBoardHighlight *First = nullptr, *Linked = nullptr, *Stranger = nullptr;
    TRadioPanel *Panel = nullptr, *Other = nullptr;
};

TEST_F(HighlightRadioPanelTest, PanelOfAnotherGroupIsRefusedSilentlyAtRunTime) {
    Stranger->SetRadioPanel(Panel);
    EXPECT_EQ(Stranger->RadioPanel(), Other);
    First->SetRadioPanel(Other);
    EXPECT_EQ(First->RadioPanel(), Panel);
    EXPECT_TRUE(Boxes.empty());
    // A circle of the same group may share it, without questions at run time.
    Linked->SetRadioPanel(Panel);
    EXPECT_EQ(Linked->RadioPanel(), Panel);
    First->SetRadioPanel(NewPanel("Spare"));
    EXPECT_EQ(Linked->RadioPanel(), Panel);
    EXPECT_TRUE(Boxes.empty());
    // None clears the link; the same panel again does nothing.
    Stranger->SetRadioPanel(nullptr);
    EXPECT_EQ(Stranger->RadioPanel(), nullptr);
    Linked->SetRadioPanel(Panel);
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(HighlightRadioPanelTest, RefusalInTheDesignerSaysWhoHasThePanel) {
    Stranger->SetDesigning(true);
    Stranger->SetRadioPanel(Panel);
    EXPECT_EQ(Stranger->RadioPanel(), Other);
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, "FilterPanel has already been assigned to FilterHighlight.");
    EXPECT_EQ(Boxes[0].Flags & 0xF, MB_OK);
    EXPECT_EQ(Boxes[0].Flags & 0xF0, MB_ICONERROR);
}

struct TSyncCase {
    const char* Name;
    int Answer;
    bool Loading;
    bool ExpectQuestion;
    bool ExpectSynchronised;
};

class HighlightRadioPanelSyncTest : public HighlightRadioPanelTest, public ::testing::WithParamInterface<TSyncCase> {};

TEST_P(HighlightRadioPanelSyncTest, DesignerOffersToSynchroniseTheGroup) {
    const TSyncCase& c = GetParam();
    Linked->SetRadioPanel(Panel);
    TRadioPanel* spare = NewPanel("SparePanel");
    First->SetDesigning(true);
    First->SetLoading(c.Loading);
    Answer = c.Answer;
    First->SetRadioPanel(spare);
    EXPECT_EQ(First->RadioPanel(), spare);
    ASSERT_EQ(Boxes.size(), c.ExpectQuestion ? 1u : 0u);
    if (c.ExpectQuestion) {
        EXPECT_EQ(Boxes[0].Text, "FilterHighlight's RadioPanel property changed. Synchronize linked component FilterHighlight2?");
        EXPECT_EQ(Boxes[0].Flags & 0xF, MB_YESNO);
    }
    EXPECT_EQ(Linked->RadioPanel(), c.ExpectSynchronised ? spare : Panel);
    EXPECT_EQ(Stranger->RadioPanel(), Other);
}

INSTANTIATE_TEST_SUITE_P(Cases, HighlightRadioPanelSyncTest,
                         ::testing::Values(TSyncCase{"Yes", IDYES, false, true, true},
                                           TSyncCase{"No", IDNO, false, true, false},
                                           TSyncCase{"WhileLoading", IDYES, true, false, false}),
                         [](const auto& tc) { return std::string(tc.param.Name); });

TEST_F(HighlightRadioPanelTest, SynchronisingSetsTheLinkWithoutItsOwnChecks) {
    // The linked circle gets the panel directly, so its own setter's questions never come.
    TBoardHighlight* third = Add("&Filter", htSettings, "FilterHighlight3");
    third->SetRadioPanel(Panel);
    Linked->SetRadioPanel(Panel);
    First->SetDesigning(true);
    Linked->SetDesigning(true);
    third->SetDesigning(true);
    Answer = IDYES;
    TRadioPanel* spare = NewPanel("SparePanel");
    First->SetRadioPanel(spare);
    EXPECT_EQ(Linked->RadioPanel(), spare);
    EXPECT_EQ(third->RadioPanel(), spare);
    ASSERT_EQ(Boxes.size(), 2u);
    EXPECT_EQ(Boxes[1].Text, "FilterHighlight's RadioPanel property changed. Synchronize linked component FilterHighlight3?");
}

// --- The real main window -------------------------------------------------------------------

class HighlightMenuMainFormTest : public ::testing::Test {
  protected:
    void SetUp() override { TScreen::SetCursorPosHook([] { return TPoint{-5000, -5000}; }); }
    void TearDown() override {
        Application->SetMouseControl(nullptr);
        delete Form;
        Application->OnIdle = nullptr;
        TScreen::SetCursorPosHook(nullptr);
    }
    TMainForm* Form = nullptr;
};

TEST_F(HighlightMenuMainFormTest, PageMenuAfterTheFirstPaint) {
    Form = new TMainForm(Application);
    TMenuItem* bar = Form->MainMenu1->Items();
    ASSERT_EQ(bar->Count(), 2);
    TBitmap canvas;
    Form->BoardImage1->PaintTo(canvas);
    TStringList captions, names;
    for (int i = 0; i < bar->Count(); ++i) {
        captions.push_back(bar->Items(i)->Caption());
        names.push_back(bar->Items(i)->Name());
    }
    EXPECT_EQ(captions, (TStringList{"&File", "&Settings", "&Options", "&Help"}));
    EXPECT_EQ(names, (TStringList{"File1", "Settings1", "Options1", "Help1"}));
    ASSERT_EQ(bar->Items(1)->Count(), 1);
    ASSERT_EQ(bar->Items(2)->Count(), 1);
    TMenuItem* filterEntry = bar->Items(1)->Items(0);
    TMenuItem* connectorEntry = bar->Items(2)->Items(0);
    EXPECT_EQ(filterEntry->Name(), "ManualFilterSelection1");
    EXPECT_EQ(connectorEntry->Name(), "Connector1");
    EXPECT_EQ(Form->FindComponent("Connector1"), connectorEntry);

    connectorEntry->Click();
    ASSERT_NE(Form->ConnectorHighlight->Popup(), nullptr);
    EXPECT_TRUE(Form->ConnectorHighlight->Popup()->Visible());
    EXPECT_TRUE(connectorEntry->Checked());
    EXPECT_FALSE(filterEntry->Checked());
    Press(Form->ConnectorHighlight, "NextButton"); // the only entry of its group
    EXPECT_TRUE(Form->ConnectorHighlight->Popup()->Visible());
    EXPECT_TRUE(connectorEntry->Checked());
    connectorEntry->Click();
    EXPECT_FALSE(Form->ConnectorHighlight->Popup()->Visible());
    EXPECT_FALSE(connectorEntry->Checked());
}

} // namespace
