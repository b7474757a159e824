// The popup window of a linked group: the window and control geometry for the panel sizes of
// the card page and the minimum size, the placement from the panel's stored position shifted
// by the board image's centring, keeping it on the screen, the reopening where the user left
// it, the mouse moving from the circle onto the window and off it again, the close box and the
// "Done" button, and the activation notice.
#include "app/mainform.h"
#include "classlib/application.h"
#include "classlib/bitmap.h"
#include "classlib/button.h"
#include "classlib/checkbox.h"
#include "classlib/form.h"
#include "classlib/mainmenu.h"
#include "classlib/memo.h"
#include "classlib/menuitem.h"
#include "classlib/screen.h"
#include "classlib/statusbar.h"
#include "setupctrls/boardhighlight.h"
#include "setupctrls/boardimage.h"
#include "setupctrls/popupform.h"
#include "setupctrls/radiopanel.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

constexpr TAnchors kAllSides = akLeft | akTop | akRight | akBottom;

class PopupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TScreen::SetSizeOverride(1600, 1200);
        TScreen::SetCursorPosHook([this] { return Cursor; });
        Host = new TForm(nullptr);
        Host->SetBounds(0, 0, 1032, 776);
        Menu = new TMainMenu(Host);
        auto* help = new TMenuItem(Host);
        help->SetCaption("&Help");
        Menu->Items()->Add(help);
        Board = new TBoardImage(Host);
        Board->SetParent(Host);
        Board->SetAutoSize(false);
        Board->SetCenterOnForm(false);
        Board->SetBounds(150, 74, 600, 425);
        Board->SetMenu(Menu);
    }

    void TearDown() override {
        Application->SetMouseControl(nullptr);
        delete Host;
        TScreen::SetCursorPosHook(nullptr);
        TScreen::SetSizeOverride(0, 0);
    }

    TRadioPanel* AddPanel(TRect bounds, int memoHeight = 58) {
        auto* panel = new TRadioPanel(Host);
        panel->SetParent(Host);
        panel->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
        panel->SetMemoHeight(memoHeight);
        return panel;
    }

    TBoardHighlight* AddHighlight(const std::string& title, TRadioPanel* panel = nullptr,
                                  THighlightType type = htSettings) {
        auto* h = new TBoardHighlight(Host);
        h->SetParent(Board);
        h->SetBounds(369, 34, 73, 25);
        h->SetHighlightType(type);
        h->SetTitle(title);
        h->SetRadioPanel(panel);
        return h;
    }

    // The board paints first (stored position, menu entries), then the mouse enters the circle.
    TPopupForm* Open(TBoardHighlight* h) {
        TBitmap canvas;
        Board->PaintTo(canvas);
        h->Perform(CM_MOUSEENTER, 0, 0);
        return h->Popup();
    }

    template <typename T> static T* Child(TPopupForm* popup, const char* name) {
        return dynamic_cast<T*>(popup->FindComponent(name));
    }
    TMenuItem* Entry(int group = 0, int index = 0) const { return Menu->Items()->Items(group)->Items(index); }

    TPoint Cursor{-5000, -5000}; // away from every window
    TForm* Host = nullptr;
    TMainMenu* Menu = nullptr;
    TBoardImage* Board = nullptr;
};

// --- Geometry -----------------------------------------------------------------------------

struct TGeometryCase {
    const char* Name;
    bool WithPanel;
    int PanelWidth, PanelHeight, MemoHeight;
    int ClientWidth, ClientHeight;
    TRect Memo;
    int ButtonTop;
    int ButtonLefts[3];
    int StatusTop;
};

class PopupGeometryTest : public PopupTest, public ::testing::WithParamInterface<TGeometryCase> {};

TEST_P(PopupGeometryTest, WindowAndControlsHaveTheirPlaces) {
    const TGeometryCase& c = GetParam();
    TRadioPanel* panel = c.WithPanel ? AddPanel(Bounds(264, 240, c.PanelWidth, c.PanelHeight), c.MemoHeight) : nullptr;
    TPopupForm* popup = Open(AddHighlight("&Geometry", panel));
    ASSERT_NE(popup, nullptr);
    Application->ProcessMessages(); // whatever the window system does with it first

    EXPECT_EQ(popup->ClientWidth(), c.ClientWidth);
    EXPECT_EQ(popup->ClientHeight(), c.ClientHeight);
    // A sizeable tool window: 4 pixels of border each side, a 16 pixel caption bar.
    EXPECT_EQ(popup->Width(), c.ClientWidth + 8);
    EXPECT_EQ(popup->Height(), c.ClientHeight + 24);
    EXPECT_EQ(popup->MinWidth(), popup->Width());
    EXPECT_EQ(popup->MinHeight(), popup->Height());
    EXPECT_GE(popup->Width(), 194);
    EXPECT_GE(popup->Height(), 122);

    if (panel) {
        EXPECT_EQ(panel->Parent(), popup);
        EXPECT_EQ(panel->BoundsRect(), Bounds(0, 0, c.PanelWidth, c.PanelHeight));
        EXPECT_TRUE(panel->Visible());
        EXPECT_TRUE(panel->Placed());
        EXPECT_EQ(popup->ActiveControl(), panel);
    } else {
        EXPECT_EQ(popup->ActiveControl(), Child<TButton>(popup, "DoneButton"));
    }

    auto* memo = Child<TMemo>(popup, "StatusMemo");
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->Parent(), popup);
    EXPECT_EQ(memo->BoundsRect(), c.Memo);
    EXPECT_EQ(memo->Anchors(), kAllSides);
    EXPECT_TRUE(memo->ReadOnly());
    EXPECT_EQ(memo->ScrollBars(), ssVertical);

    struct TButtonCase {
        const char* Name;
        const char* Caption;
        TAnchors Anchors;
    } buttons[] = {{"PreviousButton", "Previous", akLeft | akBottom},
                   {"NextButton", "Next", akBottom},
                   {"DoneButton", "Done", akRight | akBottom}};
    for (int i = 0; i < 3; ++i) {
        auto* button = Child<TButton>(popup, buttons[i].Name);
        ASSERT_NE(button, nullptr) << buttons[i].Name;
        EXPECT_EQ(button->Parent(), popup);
        EXPECT_EQ(button->Caption(), buttons[i].Caption);
        EXPECT_EQ(button->BoundsRect(), Bounds(c.ButtonLefts[i], c.ButtonTop, 58, 25)) << buttons[i].Name;
        EXPECT_EQ(button->Anchors(), buttons[i].Anchors) << buttons[i].Name;
    }

    auto* status = Child<TStatusBar>(popup, "PopupStatus");
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(popup->PopupStatus, status);
    EXPECT_EQ(status->BoundsRect(), Bounds(0, c.StatusTop, c.ClientWidth, 19));
    EXPECT_EQ(status->Anchors(), akLeft | akRight | akBottom);
    EXPECT_EQ(status->Align(), alNone);
    EXPECT_EQ(status->PanelText(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PopupGeometryTest,
    ::testing::Values(
        // The connector panel: the minimum outer height 122 does not bind once the frame is added.
        TGeometryCase{"ConnectorPanel", true, 194, 9, 58, 194, 118, Bounds(6, 10, 182, 58), 74, {6, 68, 130}, 99},
        TGeometryCase{"FilterPanel", true, 217, 163, 58, 217, 272, Bounds(6, 164, 205, 58), 228, {6, 79, 153}, 253},
        // A narrow panel: the window is widened to 194 outside.
        TGeometryCase{"NarrowPanel", true, 100, 20, 30, 186, 101, Bounds(6, 21, 174, 30), 57, {6, 64, 122}, 82},
        // A flat panel with a short memo: the minimum height binds.
        TGeometryCase{"FlatPanel", true, 50, 0, 10, 186, 98, Bounds(6, 38, 174, 10), 54, {6, 64, 122}, 79},
        TGeometryCase{"NoPanel", false, 0, 0, 0, 186, 117, Bounds(6, 9, 174, 58), 73, {6, 64, 122}, 98}),
    [](const auto& tc) { return std::string(tc.param.Name); });

TEST_F(PopupTest, WindowSettings) {
    TRadioPanel* panel = AddPanel(Bounds(528, 240, 217, 163));
    panel->Lines().Add("First line");
    panel->Lines().Add("");
    panel->Lines().Add("Third line");
    TBoardHighlight* h = AddHighlight("Manual &Filter Selection", panel);
    TPopupForm* popup = Open(h);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->Owner(), h);
    EXPECT_EQ(popup->Highlight, h);
    EXPECT_EQ(popup->Caption(), "Manual Filter Selection");
    EXPECT_EQ(popup->Tag(), int(htSettings));
    EXPECT_EQ(popup->BorderStyle(), bsSizeToolWin);
    EXPECT_EQ(popup->FormStyle(), fsStayOnTop);
    EXPECT_FALSE(popup->AutoScroll());
    EXPECT_EQ(popup->Position(), poDesigned);
    EXPECT_TRUE(popup->Visible());
    EXPECT_FALSE(popup->CloseOnLeave);
    EXPECT_FALSE(h->Pinned());
    EXPECT_EQ(Child<TMemo>(popup, "StatusMemo")->Lines().Items(),
              (std::vector<std::string>{"First line", "", "Third line"}));
    // The window's controls, in the order they were made.
    std::vector<std::string> names;
    for (int i = 0; i < popup->ControlCount(); ++i) names.push_back(popup->Controls(i)->Name());
    EXPECT_EQ(names, (std::vector<std::string>{"", "PopupStatus", "PreviousButton", "NextButton", "DoneButton",
                                               "StatusMemo"}));
}

TEST_F(PopupTest, TagIsTheTypesOrdinal) {
    for (THighlightType type : {htOptions, htSettings, htCalibration}) {
        TBoardHighlight* h = AddHighlight("Kind " + std::to_string(int(type)), nullptr, type);
        TPopupForm* popup = Open(h);
        ASSERT_NE(popup, nullptr);
        EXPECT_EQ(popup->Tag(), int(type));
    }
}

TEST_F(PopupTest, ResizingMovesTheControlsWithTheirAnchors) {
    TRadioPanel* panel = AddPanel(Bounds(264, 240, 194, 9));
    panel->SetFinalAnchors(kAllSides);
    TPopupForm* popup = Open(AddHighlight("&Connector", panel));
    ASSERT_NE(popup, nullptr);
    popup->SetBounds(popup->Left(), popup->Top(), popup->Width() + 40, popup->Height() + 30);
    EXPECT_EQ(panel->BoundsRect(), Bounds(0, 0, 234, 39));
    EXPECT_EQ(Child<TMemo>(popup, "StatusMemo")->BoundsRect(), Bounds(6, 10, 222, 88));
    EXPECT_EQ(Child<TButton>(popup, "PreviousButton")->BoundsRect(), Bounds(6, 104, 58, 25));
    EXPECT_EQ(Child<TButton>(popup, "NextButton")->BoundsRect(), Bounds(88, 104, 58, 25));
    EXPECT_EQ(Child<TButton>(popup, "DoneButton")->BoundsRect(), Bounds(170, 104, 58, 25));
    EXPECT_EQ(Child<TStatusBar>(popup, "PopupStatus")->BoundsRect(), Bounds(0, 129, 234, 19));
}

// --- Placement ------------------------------------------------------------------------------

TEST_F(PopupTest, PanelPlaceIsShiftedByTheBoardsCentring) {
    Board->SetCenterOnForm(true);
    TRadioPanel* filter = AddPanel(Bounds(528, 240, 217, 163));
    TRadioPanel* connector = AddPanel(Bounds(264, 240, 194, 9));
    TBoardHighlight* f = AddHighlight("Manual &Filter Selection", filter);
    TBoardHighlight* c = AddHighlight("&Connector", connector, htOptions);
    TPopupForm* filterPopup = Open(f);
    ASSERT_EQ(Board->Left(), 216); // centred in the 1032 x 776 window: moved by (66, 101)
    ASSERT_EQ(Board->Top(), 175);
    TPopupForm* connectorPopup = Open(c);
    ASSERT_NE(filterPopup, nullptr);
    ASSERT_NE(connectorPopup, nullptr);
    Application->ProcessMessages();
    EXPECT_EQ((TPoint{filterPopup->Left(), filterPopup->Top()}), (TPoint{594, 341}));
    EXPECT_EQ((TPoint{connectorPopup->Left(), connectorPopup->Top()}), (TPoint{330, 341}));
}

TEST_F(PopupTest, WithoutPanelTheWindowSitsBelowTheBoard) {
    Board->SetCenterOnForm(true);
    TPopupForm* popup = Open(AddHighlight("Bare"));
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->BoundsRect(), Bounds(216, 175 + 425 + 38, 194, 141));
    auto* memo = Child<TMemo>(popup, "StatusMemo");
    EXPECT_EQ(memo->Lines().Count(), 0);
    EXPECT_EQ(memo->Height(), 58);
}

TEST_F(PopupTest, OffABoardImageThePanelPlaceIsUsedAsItIs) {
    auto* plain = new TCustomPanel(Host);
    plain->SetParent(Host);
    plain->SetBounds(40, 50, 300, 300);
    TRadioPanel* panel = AddPanel(Bounds(528, 240, 217, 163));
    TBoardHighlight* h = AddHighlight("Plain parent", panel);
    h->SetParent(plain);
    h->Perform(CM_MOUSEENTER, 0, 0);
    ASSERT_NE(h->Popup(), nullptr);
    EXPECT_EQ((TPoint{h->Popup()->Left(), h->Popup()->Top()}), (TPoint{40, 50}));
}

struct TScreenCase {
    const char* Name;
    TPoint Panel;    // where the stored layout put the panel = the computed window position
    TPoint Expected; // the 194 x 9 panel gives an outer size of 202 x 142
};

class PopupScreenTest : public PopupTest, public ::testing::WithParamInterface<TScreenCase> {};

TEST_P(PopupScreenTest, WindowIsKeptOnTheScreen) {
    const TScreenCase& c = GetParam();
    TRadioPanel* panel = AddPanel(Bounds(c.Panel.X, c.Panel.Y, 194, 9));
    TPopupForm* popup = Open(AddHighlight("Edge", panel));
    ASSERT_NE(popup, nullptr);
    Application->ProcessMessages();
    EXPECT_EQ((TPoint{popup->Left(), popup->Top()}), c.Expected);
    EXPECT_EQ(popup->Width(), 202);
    EXPECT_EQ(popup->Height(), 142);
}

INSTANTIATE_TEST_SUITE_P(Cases, PopupScreenTest,
                         ::testing::Values(TScreenCase{"Inside", {300, 200}, {300, 200}},
                                           TScreenCase{"LeftOfScreen", {-20, 200}, {0, 200}},
                                           TScreenCase{"AboveScreen", {300, -7}, {300, 0}},
                                           TScreenCase{"RightEdgeFits", {1398, 200}, {1398, 200}},
                                           TScreenCase{"PastRightEdge", {1500, 200}, {1398, 200}},
                                           TScreenCase{"PastBottomEdge", {300, 1150}, {300, 1058}},
                                           TScreenCase{"PastBothEdges", {1599, 1199}, {1398, 1058}}),
                         [](const auto& tc) { return std::string(tc.param.Name); });

TEST_F(PopupTest, SecondShowKeepsWhereAndHowLargeTheUserLeftIt) {
    TRadioPanel* panel = AddPanel(Bounds(264, 240, 194, 9));
    TBoardHighlight* h = AddHighlight("&Connector", panel, htOptions);
    TPopupForm* popup = Open(h);
    ASSERT_NE(popup, nullptr);
    popup->SetBounds(700, 650, 300, 250);
    h->Perform(CM_MOUSELEAVE, 0, 0);
    ASSERT_FALSE(popup->Visible());
    h->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_EQ(h->Popup(), popup);
    EXPECT_TRUE(popup->Visible());
    EXPECT_EQ(popup->BoundsRect(), Bounds(700, 650, 300, 250));
    EXPECT_EQ(Child<TMemo>(popup, "StatusMemo")->BoundsRect(), Bounds(6, 10, 280, 166));
    EXPECT_EQ(panel->Parent(), popup);
}

// --- The mouse between circle and window ------------------------------------------------------

struct TLeaveCase {
    const char* Name;
    int Dx, Dy; // cursor relative to the window's top-left corner; -1 / 0 means from the far edge
    bool FromRight, FromBottom;
    bool OntoWindow;
};

class PopupLeaveTest : public PopupTest, public ::testing::WithParamInterface<TLeaveCase> {};

TEST_P(PopupLeaveTest, LeavingTheCircleOntoTheWindowPinsIt) {
    const TLeaveCase& c = GetParam();
    TBoardHighlight* h = AddHighlight("&Connector", AddPanel(Bounds(264, 240, 194, 9)), htOptions);
    TPopupForm* popup = Open(h);
    ASSERT_NE(popup, nullptr);
    Cursor = {popup->Left() + (c.FromRight ? popup->Width() : 0) + c.Dx,
              popup->Top() + (c.FromBottom ? popup->Height() : 0) + c.Dy};
    h->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(popup->Visible(), c.OntoWindow);
    EXPECT_EQ(popup->CloseOnLeave, c.OntoWindow);
    EXPECT_EQ(h->Pinned(), c.OntoWindow);
    EXPECT_EQ(h->Lit(), c.OntoWindow);
    EXPECT_EQ(Entry()->Checked(), c.OntoWindow);
}

INSTANTIATE_TEST_SUITE_P(Cases, PopupLeaveTest,
                         ::testing::Values(TLeaveCase{"TopLeftCorner", 0, 0, false, false, true},
                                           TLeaveCase{"BottomRightPixel", -1, -1, true, true, true},
                                           TLeaveCase{"Middle", 50, 60, false, false, true},
                                           TLeaveCase{"RightEdgeIsOutside", 0, 0, true, false, false},
                                           TLeaveCase{"BottomEdgeIsOutside", 0, 0, false, true, false},
                                           TLeaveCase{"LeftOfWindow", -1, 5, false, false, false},
                                           TLeaveCase{"AboveWindow", 5, -1, false, false, false}),
                         [](const auto& tc) { return std::string(tc.param.Name); });

TEST_F(PopupTest, LeavingALinkedCircleOntoTheGroupsWindowPinsIt) {
    TRadioPanel* panel = AddPanel(Bounds(264, 240, 194, 9));
    TBoardHighlight* owner = AddHighlight("&Connector", panel, htOptions);
    TBoardHighlight* linked = AddHighlight("&Connector", panel, htOptions);
    TPopupForm* popup = Open(owner);
    ASSERT_NE(popup, nullptr);
    Cursor = {popup->Left() + 1, popup->Top() + 1};
    linked->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_TRUE(popup->Visible());
    EXPECT_TRUE(popup->CloseOnLeave);
    EXPECT_TRUE(owner->Pinned());
    EXPECT_TRUE(Entry()->Checked());
    EXPECT_EQ(linked->Popup(), nullptr);
}

TEST_F(PopupTest, MouseFromCircleOntoWindowAndOffItAgain) {
    TBoardHighlight* h = AddHighlight("&Connector", AddPanel(Bounds(264, 240, 194, 9)), htOptions);
    const int exceptions = Application->ExceptionCount();
    TBitmap canvas;
    Board->PaintTo(canvas);
    Application->SetMouseControl(h);
    TPopupForm* popup = h->Popup();
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(popup->Visible());
    auto* memo = Child<TMemo>(popup, "StatusMemo");

    // Onto the window's client area.
    Cursor = {popup->Left() + 10, popup->Top() + 100};
    Application->SetMouseControl(popup);
    EXPECT_TRUE(popup->Visible());
    EXPECT_TRUE(popup->CloseOnLeave);
    EXPECT_TRUE(h->Pinned());
    EXPECT_TRUE(Entry()->Checked());

    // Onto the memo and back: a move inside the window.
    Cursor = {popup->Left() + 20, popup->Top() + 40};
    Application->SetMouseControl(memo);
    EXPECT_TRUE(popup->Visible());
    Application->SetMouseControl(popup);
    EXPECT_TRUE(popup->Visible());
    Application->SetMouseControl(memo);
    EXPECT_TRUE(popup->Visible());
    EXPECT_TRUE(h->Lit());

    // Off the window from the memo.
    Cursor = {popup->Left() + popup->Width() + 3, popup->Top() + 40};
    Application->SetMouseControl(nullptr);
    EXPECT_FALSE(popup->Visible());
    EXPECT_FALSE(popup->CloseOnLeave);
    EXPECT_FALSE(h->Lit());
    EXPECT_FALSE(Entry()->Checked());
    EXPECT_EQ(Application->ExceptionCount(), exceptions); // none from the mouse handlers
}

TEST_F(PopupTest, PinnedWindowWithoutCloseOnLeaveStaysWhenTheMouseLeavesIt) {
    TBoardHighlight* h = AddHighlight("&Connector", AddPanel(Bounds(264, 240, 194, 9)), htOptions);
    TPopupForm* popup = Open(h);
    ASSERT_NE(popup, nullptr);
    h->Click();
    h->Perform(CM_MOUSELEAVE, 0, 0);
    ASSERT_TRUE(popup->Visible());
    popup->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_TRUE(popup->Visible());
    EXPECT_TRUE(h->Lit());
}

TEST_F(PopupTest, CloseBoxUnlightsTheGroupAndClearsTheCheckMark) {
    TRadioPanel* panel = AddPanel(Bounds(264, 240, 194, 9));
    TBoardHighlight* a = AddHighlight("&Connector", panel, htOptions);
    TBoardHighlight* b = AddHighlight("&Connector", panel, htOptions);
    TPopupForm* popup = Open(b);
    ASSERT_NE(popup, nullptr);
    a->Click();
    ASSERT_TRUE(Entry()->Checked());
    ASSERT_TRUE(a->Lit());
    ASSERT_TRUE(b->Lit());
    popup->Window()->close(); // the title bar's close box
    EXPECT_FALSE(popup->Visible());
    EXPECT_FALSE(a->Lit());
    EXPECT_FALSE(b->Lit());
    EXPECT_FALSE(Entry()->Checked());
    EXPECT_EQ(b->Popup(), popup); // hidden, not destroyed
}

TEST_F(PopupTest, DoneButtonClosesTheWindow) {
    TBoardHighlight* h = AddHighlight("&Connector", AddPanel(Bounds(264, 240, 194, 9)), htOptions);
    TPopupForm* popup = Open(h);
    ASSERT_NE(popup, nullptr);
    h->Click();
    Child<TButton>(popup, "DoneButton")->Click();
    EXPECT_FALSE(popup->Visible());
    EXPECT_FALSE(h->Lit());
    EXPECT_FALSE(Entry()->Checked());
}

// --- Activation -------------------------------------------------------------------------------

TEST_F(PopupTest, ActivationGivesTheGroupTheActiveLook) {
    TRadioPanel* panel = AddPanel(Bounds(264, 240, 194, 9));
    std::vector<std::string> events;
    panel->OnActivate = [&events](TObject* sender) { events.push_back(std::string("activate ") + sender->ClassName()); };
    panel->OnDeactivate = [&events](TObject* sender) { events.push_back(std::string("deactivate ") + sender->ClassName()); };
    TBoardHighlight* a = AddHighlight("&Connector", panel, htOptions);
    TBoardHighlight* other = AddHighlight("Other", nullptr, htOptions);
    TBoardHighlight* b = AddHighlight("&Connector", panel, htOptions);
    TPopupForm* popup = Open(a);
    ASSERT_NE(popup, nullptr);

    for (WPARAM state : {WA_ACTIVE, WA_CLICKACTIVE}) {
        a->SetPopupActive(false, true);
        EXPECT_EQ(popup->Perform(WM_ACTIVATE, state, 0), 0);
        EXPECT_TRUE(a->PopupActive());
        EXPECT_TRUE(b->PopupActive());
        EXPECT_FALSE(other->PopupActive());
    }
    // The group came to the front of the board's z-order.
    EXPECT_EQ(Board->Controls(0), other);
    popup->Perform(WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_FALSE(a->PopupActive());
    EXPECT_FALSE(b->PopupActive());

    // The panel's handlers belong to the window now.
    popup->Activated(true);
    popup->Activated(false);
    EXPECT_EQ(events, (std::vector<std::string>{"activate TPopupForm", "deactivate TPopupForm"}));
}

// --- The real page ------------------------------------------------------------------------------

class PopupMainFormTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TScreen::SetSizeOverride(1600, 1200);
        TScreen::SetCursorPosHook([] { return TPoint{-5000, -5000}; });
        Form = new TMainForm(Application);
    }
    void TearDown() override {
        Application->SetMouseControl(nullptr);
        delete Form;
        Application->OnIdle = nullptr;
        TScreen::SetCursorPosHook(nullptr);
        TScreen::SetSizeOverride(0, 0);
    }
    TMainForm* Form = nullptr;
};

TEST_F(PopupMainFormTest, StartMessageAndHoverOpenThePagesTwoWindows) {
    TBitmap canvas;
    Form->BoardImage1->PaintTo(canvas);
    const int shiftX = Form->BoardImage1->Left() - 150, shiftY = Form->BoardImage1->Top() - 74;

    Form->BoardImage1->Perform(WM_SHOWFIRST, 0, 0); // the help window's Start button
    TPopupForm* filter = Form->FilterHighlight->Popup();
    ASSERT_NE(filter, nullptr);
    EXPECT_TRUE(filter->Visible());
    EXPECT_TRUE(Form->FilterHighlight->Pinned());
    EXPECT_TRUE(Form->MainMenu1->Items()->Items(1)->Items(0)->Checked());
    EXPECT_EQ(filter->Caption(), "Manual Filter Selection");
    EXPECT_EQ(filter->ClientWidth(), 217);
    EXPECT_EQ(filter->ClientHeight(), 272);
    EXPECT_EQ((TPoint{filter->Left(), filter->Top()}), (TPoint{528 + shiftX, 240 + shiftY}));
    EXPECT_EQ(Form->FilterPanel->Parent(), filter);
    EXPECT_EQ(Form->FilterCheck0->Parent(), Form->FilterPanel);

    Application->SetMouseControl(Form->ConnectorHighlight);
    TPopupForm* connector = Form->ConnectorHighlight->Popup();
    ASSERT_NE(connector, nullptr);
    EXPECT_EQ(connector->Caption(), "Connector");
    EXPECT_EQ(connector->Tag(), int(htOptions));
    EXPECT_EQ(connector->ClientWidth(), 194);
    EXPECT_EQ(connector->ClientHeight(), 118);
    EXPECT_EQ((TPoint{connector->Left(), connector->Top()}), (TPoint{264 + shiftX, 240 + shiftY}));
    Application->SetMouseControl(nullptr); // off the circle, not onto its window
    EXPECT_FALSE(connector->Visible());
    EXPECT_TRUE(filter->Visible()); // pinned
}

} // namespace
