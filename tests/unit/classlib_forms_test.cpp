// Forms: outer and client sizes through the constant frame metrics, fitting to the controls,
// anchored controls on resize, tab order, Enter and Escape, and closing a secondary form.
#include "classlib/application.h"
#include "classlib/button.h"
#include "classlib/checkbox.h"
#include "classlib/custompanel.h"
#include "classlib/form.h"
#include "classlib/framemetrics.h"
#include "classlib/graphiccontrol.h"
#include "classlib/mainmenu.h"
#include "classlib/memo.h"
#include "classlib/reader.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// ---- frame metrics -----------------------------------------------------------------------

struct TFrameCase {
    const char* Name;
    TBorderStyle Style;
    bool Menu;
    int Border;
    int Caption;
};

void PrintTo(const TFrameCase& c, std::ostream* os) {
    *os << c.Name;
}

class ClassLibFormFrame : public ::testing::TestWithParam<TFrameCase> {
  protected:
    void SetUp() override {
        const TFrameCase& tc = GetParam();
        Form->SetBorderStyle(tc.Style);
        if (tc.Menu) Form->SetMenu(new TMainMenu(Form.get()));
    }
    int ExtraHeight() const {
        const TFrameCase& tc = GetParam();
        return 2 * tc.Border + tc.Caption + (tc.Menu ? TFrameMetrics::MenuBar : 0);
    }
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
};

TEST_P(ClassLibFormFrame, ClientSizeIsTheOuterSizeLessTheFrame) {
    const TFrameCase& tc = GetParam();
    Form->SetBounds(30, 40, 400, 300);
    EXPECT_EQ(Form->ClientWidth(), 400 - 2 * tc.Border);
    EXPECT_EQ(Form->ClientHeight(), 300 - ExtraHeight());
    EXPECT_EQ(Form->ClientRect(), Rect(0, 0, Form->ClientWidth(), Form->ClientHeight()));
}

TEST_P(ClassLibFormFrame, SettingTheClientSizeSetsTheOuterSize) {
    const TFrameCase& tc = GetParam();
    Form->SetClientWidth(305);
    Form->SetClientHeight(122);
    EXPECT_EQ(Form->ClientWidth(), 305);
    EXPECT_EQ(Form->ClientHeight(), 122);
    EXPECT_EQ(Form->Width(), 305 + 2 * tc.Border);
    EXPECT_EQ(Form->Height(), 122 + ExtraHeight());
}

TEST_P(ClassLibFormFrame, ChangingStyleOrMenuKeepsTheClientSize) {
    Form->SetClientWidth(250);
    Form->SetClientHeight(150);
    const int outerHeight = Form->Height();
    for (TBorderStyle style : {bsSizeable, bsNone, bsDialog, bsSizeToolWin, GetParam().Style}) {
        Form->SetBorderStyle(style);
        EXPECT_EQ(Form->ClientWidth(), 250) << "style " << style;
        EXPECT_EQ(Form->ClientHeight(), 150) << "style " << style;
    }
    TMainMenu* menu = Form->Menu();
    Form->SetMenu(menu ? nullptr : new TMainMenu(Form.get()));
    EXPECT_EQ(Form->ClientHeight(), 150);
    EXPECT_EQ(Form->Height(), outerHeight + (menu ? -19 : 19));
}

TEST_P(ClassLibFormFrame, QtClientWidgetHasTheClientSize) {
    Form->SetBounds(0, 0, 333, 222);
    QWidget* window = Form->Window();
    QWidget* client = window->childAt(window->width() / 2, window->height() - 1);
    ASSERT_NE(client, nullptr);
    EXPECT_EQ(client->width(), Form->ClientWidth());
    EXPECT_EQ(client->height(), Form->ClientHeight());
}

INSTANTIATE_TEST_SUITE_P(Styles, ClassLibFormFrame,
                         ::testing::Values(TFrameCase{"Sizeable", bsSizeable, false, 4, 19},
                                           TFrameCase{"SizeableWithMenu", bsSizeable, true, 4, 19},
                                           TFrameCase{"SizeToolWin", bsSizeToolWin, false, 4, 16},
                                           TFrameCase{"SizeToolWinWithMenu", bsSizeToolWin, true, 4,
                                                      16},
                                           TFrameCase{"Single", bsSingle, false, 3, 19},
                                           TFrameCase{"Dialog", bsDialog, false, 3, 19},
                                           TFrameCase{"ToolWindow", bsToolWindow, false, 3, 16},
                                           TFrameCase{"None", bsNone, false, 0, 0}),
                         [](const ::testing::TestParamInfo<TFrameCase>& param) {
                             return std::string(param.param.Name);
                         });

// ---- fitting to the controls -------------------------------------------------------------

TEST(ClassLibForms, AutoSizeMovesControlsToTheCornerAndFitsTheClientArea) {
    TForm form(nullptr);
    auto* memo = new TMemo(&form);
    memo->SetParent(&form);
    memo->SetBounds(8, 8, 305, 89);
    auto* button = new TButton(&form);
    button->SetParent(&form);
    button->SetBounds(165, 105, 73, 25);
    auto* hidden = new TButton(&form);
    hidden->SetParent(&form);
    hidden->SetBounds(400, 300, 10, 10);
    hidden->Hide();

    form.SetAutoSize(true);

    EXPECT_EQ(memo->BoundsRect(), Bounds(0, 0, 305, 89));
    EXPECT_EQ(button->BoundsRect(), Bounds(157, 97, 73, 25));
    EXPECT_EQ(form.ClientWidth(), 305) << "hidden controls do not count";
    EXPECT_EQ(form.ClientHeight(), 122);
    EXPECT_EQ(form.Width(), 305 + 8);
    EXPECT_EQ(form.Height(), 122 + 8 + 19);
}

// ---- anchors -----------------------------------------------------------------------------

struct TAnchorCase {
    const char* Name;
    TAnchors Anchors;
    TRect Before; // in a client area of 305 x 122
    TRect After;  // once the client area is 405 x 222
};

void PrintTo(const TAnchorCase& c, std::ostream* os) {
    *os << c.Name;
}

class ClassLibAnchors : public ::testing::TestWithParam<TAnchorCase> {};

TEST_P(ClassLibAnchors, ControlFollowsTheClientArea) {
    const TAnchorCase& tc = GetParam();
    TForm form(nullptr);
    form.SetClientWidth(305);
    form.SetClientHeight(122);
    auto* control = new TGraphicControl(&form);
    control->SetParent(&form);
    control->SetBounds(tc.Before.Left, tc.Before.Top, tc.Before.Width(), tc.Before.Height());
    control->SetAnchors(tc.Anchors);

    form.SetClientWidth(405);
    form.SetClientHeight(222);
    EXPECT_EQ(control->BoundsRect(), tc.After);

    form.SetClientWidth(305);
    form.SetClientHeight(122);
    EXPECT_EQ(control->BoundsRect(), tc.Before) << "back at the first size";
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ClassLibAnchors,
    ::testing::Values(TAnchorCase{"LeftTop", akLeft | akTop, Bounds(8, 8, 100, 20),
                                  Bounds(8, 8, 100, 20)},
                      TAnchorCase{"LeftRightStretches", akLeft | akTop | akRight,
                                  Bounds(8, 8, 289, 20), Bounds(8, 8, 389, 20)},
                      TAnchorCase{"AllFourStretchBothWays", akLeft | akTop | akRight | akBottom,
                                  Bounds(0, 0, 305, 89), Bounds(0, 0, 405, 189)},
                      TAnchorCase{"RightBottomMoves", akRight | akBottom, Bounds(220, 90, 75, 25),
                                  Bounds(320, 190, 75, 25)},
                      // Centred 73 wide at the bottom: the centre stays at half the width, the
                      // bottom distance stays 0.
                      TAnchorCase{"BottomOnlyKeepsCentreFraction", akBottom,
                                  Bounds(116, 97, 73, 25), Bounds(166, 197, 73, 25)},
                      TAnchorCase{"BottomOnlyAtAFifth", akBottom, Bounds(41, 97, 40, 25),
                                  Bounds(61, 197, 40, 25)}),
    [](const ::testing::TestParamInfo<TAnchorCase>& param) {
        return std::string(param.param.Name);
    });

// A user drags the frame: many resizes of one pixel each. A bottom-anchored button must stay
// where its centre fraction puts it, not creep along with rounding.
TEST(ClassLibForms, BottomAnchoredButtonStaysCentredWhileTheWindowIsDragged) {
    TForm form(nullptr);
    form.SetClientWidth(305);
    form.SetClientHeight(122);
    auto* button = new TButton(&form);
    button->SetParent(&form);
    button->SetBounds(116, 97, 73, 25);
    button->SetAnchors(akBottom);

    double worst = 0;
    for (int width = 306; width <= 505; ++width) {
        form.SetClientWidth(width);
        double centre = button->Left() + button->Width() / 2.0;
        worst = std::max(worst, std::abs(centre - width / 2.0));
    }
    EXPECT_LE(worst, 1.0) << "the button crept off the centre";
    for (int width = 504; width >= 305; --width)
        form.SetClientWidth(width);
    EXPECT_NEAR(button->Left(), 116, 1);
}

TEST(ClassLibForms, ShrinkingBelowAStretchedControlAndBackRestoresIt) {
    TForm form(nullptr);
    form.SetClientWidth(305);
    form.SetClientHeight(122);
    auto* control = new TGraphicControl(&form);
    control->SetParent(&form);
    control->SetBounds(8, 8, 289, 89);
    control->SetAnchors(akLeft | akTop | akRight | akBottom);

    form.SetClientWidth(4);
    form.SetClientHeight(4);
    form.SetClientWidth(305);
    form.SetClientHeight(122);

    EXPECT_EQ(control->BoundsRect(), Bounds(8, 8, 289, 89));
}

// The first change of size after construction must move anchored controls like any later one.
TEST(ClassLibForms, FirstResizeAfterConstructionMovesAnchoredControls) {
    struct TContainer {
        const char* Name;
        std::function<TWinControl*()> Make;
    };
    const TContainer containers[] = {{"form", [] { return new TForm(nullptr); }},
                                     {"panel", [] { return new TCustomPanel(nullptr); }}};
    for (const TContainer& c : containers) {
        SCOPED_TRACE(c.Name);
        std::unique_ptr<TWinControl> parent(c.Make());
        auto* stretched = new TGraphicControl(parent.get());
        stretched->SetParent(parent.get());
        stretched->SetBounds(4, 4, 20, 10);
        stretched->SetAnchors(akLeft | akTop | akRight);

        parent->SetWidth(parent->Width() + 100);

        EXPECT_EQ(stretched->Width(), 120);
    }
}

// A stored layout's outer height already holds the menu bar; once read, a resize must move
// bottom-anchored controls by exactly the change of the client area.
TEST(ClassLibForms, ResizeAfterReadingALayoutWithAMenuMovesAnchoredControlsExactly) {
    TForm form(nullptr);
    TReader::ReadRoot(R"(object Form1: TForm
  Width = 320
  Height = 300
  Menu = MainMenu1
  object Bottom: TButton
    Left = 8
    Top = 200
    Width = 75
    Height = 25
    Anchors = [akLeft, akBottom]
  end
  object MainMenu1: TMainMenu
  end
end
)",
                      &form);
    auto* bottom = static_cast<TControl*>(form.FindComponent("Bottom"));
    ASSERT_NE(bottom, nullptr);
    ASSERT_EQ(form.ClientHeight(), 300 - 8 - 19 - 19);
    const int gap = form.ClientHeight() - bottom->Top();

    form.SetHeight(400);

    EXPECT_EQ(form.ClientHeight() - bottom->Top(), gap) << "the distance to the bottom changed";
}

TEST(ClassLibForms, WindowSystemResizeReachesAnchoredControls) {
    TForm form(nullptr);
    form.SetBorderStyle(bsSizeToolWin);
    form.SetClientWidth(305);
    form.SetClientHeight(122);
    auto* stretched = new TGraphicControl(&form);
    stretched->SetParent(&form);
    stretched->SetBounds(0, 0, 305, 89);
    stretched->SetAnchors(akLeft | akTop | akRight | akBottom);
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Window()));

    form.Window()->resize(405, 222);
    QApplication::processEvents();

    EXPECT_EQ(form.ClientWidth(), 405);
    EXPECT_EQ(form.ClientHeight(), 222);
    EXPECT_EQ(form.Width(), 405 + 8);
    EXPECT_EQ(form.Height(), 222 + 8 + 16);
    EXPECT_EQ(stretched->BoundsRect(), Bounds(0, 0, 405, 189));
}

// ---- tab order ---------------------------------------------------------------------------

TEST(ClassLibForms, SettingTabOrderInsertsAndShiftsTheOthers) {
    TForm form(nullptr);
    std::vector<TCheckBox*> boxes;
    for (int i = 0; i < 4; ++i) {
        boxes.push_back(new TCheckBox(&form));
        boxes.back()->SetParent(&form);
    }
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(boxes[static_cast<size_t>(i)]->TabOrder(), i);

    boxes[3]->SetTabOrder(0);
    EXPECT_EQ(boxes[3]->TabOrder(), 0);
    EXPECT_EQ(boxes[0]->TabOrder(), 1);
    EXPECT_EQ(boxes[1]->TabOrder(), 2);
    EXPECT_EQ(boxes[2]->TabOrder(), 3);

    boxes[0]->SetTabOrder(99);
    EXPECT_EQ(boxes[0]->TabOrder(), 3) << "past the end is last";
    EXPECT_EQ(boxes[2]->TabOrder(), 2);

    delete boxes[3];
    EXPECT_EQ(boxes[1]->TabOrder(), 0) << "the later ones move up when one goes";
    EXPECT_EQ(boxes[2]->TabOrder(), 1);
    EXPECT_EQ(boxes[0]->TabOrder(), 2);
}

TEST(ClassLibForms, StoredTabOrdersGiveTheListInAscendingOrder) {
    const int stored[] = {0, 1, 3, 2, 4, 5, 7, 6};
    std::string layout = "object Form1: TForm\n";
    for (int i = 0; i < 8; ++i)
        layout += "  object Box" + std::to_string(i) +
                  ": TCheckBox\n    Top = " + std::to_string(20 * i) +
                  "\n    TabOrder = " + std::to_string(stored[i]) + "\n  end\n";
    layout += "end\n";
    TForm form(nullptr);
    TReader::ReadRoot(layout, &form);

    std::vector<QWidget*> byTabOrder(8);
    for (int i = 0; i < 8; ++i) {
        auto* box = static_cast<TCheckBox*>(form.FindComponent("Box" + std::to_string(i)));
        EXPECT_EQ(box->TabOrder(), stored[i]) << box->Name();
        byTabOrder[static_cast<size_t>(stored[i])] = box->Handle();
    }
    // Qt's focus chain follows the same order.
    QWidget* w = byTabOrder[0];
    for (int i = 1; i < 8; ++i) {
        w = w->nextInFocusChain();
        EXPECT_EQ(w, byTabOrder[static_cast<size_t>(i)]) << "focus chain position " << i;
    }
}

// ---- Enter and Escape --------------------------------------------------------------------

class ClassLibDialogKeys : public ::testing::Test {
  protected:
    void SetUp() override {
        Form.SetBounds(0, 0, 300, 200);
        Ok = AddButton("ok");
        Ok->SetDefault(true);
        Cancel = AddButton("cancel");
        Cancel->SetCancel(true);
        Other = AddButton("other");
        Memo = new TMemo(&Form);
        Memo->SetParent(&Form);
        Box = new TCheckBox(&Form);
        Box->SetParent(&Form);
        Form.Show();
    }
    TButton* AddButton(const std::string& name) {
        auto* b = new TButton(&Form);
        b->SetName(name);
        b->SetParent(&Form);
        b->OnClick = [this, name](TObject*) { Pressed.push_back(name); };
        return b;
    }

    TForm Form{nullptr};
    TButton* Ok = nullptr;
    TButton* Cancel = nullptr;
    TButton* Other = nullptr;
    TMemo* Memo = nullptr;
    TCheckBox* Box = nullptr;
    std::vector<std::string> Pressed;
};

TEST_F(ClassLibDialogKeys, EnterPressesTheDefaultAndEscapeTheCancelButton) {
    struct TKeyCase {
        const char* Name;
        TControl* Focused;
        bool Escape;
        const char* Pressed; // nullptr: the key is left to the focused control
    };
    const TKeyCase cases[] = {
        {"enter, nothing focused", nullptr, false, "ok"},
        {"escape, nothing focused", nullptr, true, "cancel"},
        {"enter in a check box", Box, false, "ok"},
        {"escape in a check box", Box, true, "cancel"},
        {"enter in a memo", Memo, false, nullptr},
        {"enter on another button", Other, false, "other"},
        {"escape on another button", Other, true, "cancel"},
        {"enter on the cancel button", Cancel, false, "cancel"},
    };
    for (const TKeyCase& tc : cases) {
        Pressed.clear();
        bool handled = Form.DialogKey(tc.Focused, tc.Escape);
        EXPECT_EQ(handled, tc.Pressed != nullptr) << tc.Name;
        std::vector<std::string> expected;
        if (tc.Pressed) expected.push_back(tc.Pressed);
        EXPECT_EQ(Pressed, expected) << tc.Name;
    }
}

TEST_F(ClassLibDialogKeys, DisabledHiddenOrDestroyedDefaultButtonIsNotPressed) {
    Ok->SetEnabled(false);
    EXPECT_FALSE(Form.DialogKey(Box, false));
    Ok->SetEnabled(true);
    Ok->Hide();
    EXPECT_FALSE(Form.DialogKey(Box, false));
    Ok->Show();
    delete Ok;
    EXPECT_FALSE(Form.DialogKey(Box, false));
    delete Cancel;
    EXPECT_FALSE(Form.DialogKey(Box, true));
    EXPECT_TRUE(Pressed.empty());
}

// A default button that moves to another form (and belongs to it) must be forgotten here:
// this form is not told when the button is destroyed.
TEST_F(ClassLibDialogKeys, DefaultButtonMovedToAnotherFormIsForgottenHere) {
    TForm other(nullptr);
    other.Show();
    auto* moving = new TButton(&other);
    moving->SetParent(&Form);
    moving->SetDefault(true);
    moving->OnClick = [this](TObject*) { Pressed.push_back("moving"); };
    ASSERT_TRUE(Form.DialogKey(Box, false));
    Pressed.clear();

    moving->SetParent(&other);
    EXPECT_FALSE(Form.DialogKey(Box, false)) << "the old form pressed a button it lost";
    delete moving;
    EXPECT_FALSE(Form.DialogKey(Box, false));
    EXPECT_TRUE(Pressed.empty());
}

TEST_F(ClassLibDialogKeys, RealKeysReachTheFormThroughTheFocusedWidget) {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.Window()));
    Form.Window()->activateWindow();
    QApplication::setActiveWindow(Form.Window());
    struct TRealKey {
        TWinControl* Focused;
        Qt::Key Key;
        std::vector<std::string> Pressed;
    };
    const TRealKey keys[] = {{Box, Qt::Key_Return, {"ok"}},
                             {Box, Qt::Key_Escape, {"cancel"}},
                             {Memo, Qt::Key_Return, {}},
                             {Other, Qt::Key_Enter, {"other"}}};
    for (const TRealKey& k : keys) {
        Pressed.clear();
        k.Focused->SetFocus();
        QApplication::processEvents();
        ASSERT_EQ(QApplication::focusWidget(), k.Focused->Handle()) << k.Focused->ClassName();
        QTest::keyClick(QApplication::focusWidget(), k.Key);
        EXPECT_EQ(Pressed, k.Pressed) << k.Focused->ClassName() << " key " << k.Key;
    }
    EXPECT_EQ(static_cast<QPlainTextEdit*>(Memo->Handle())->blockCount(), 2)
        << "the memo took Enter as a new line";
}

// ---- closing -----------------------------------------------------------------------------

TEST(ClassLibForms, ClosingASecondaryFormRunsOnCloseAndHidesIt) {
    TForm form(nullptr);
    ASSERT_NE(Application->MainForm(), &form);
    std::vector<TCloseAction> offered;
    TCloseAction answer = caNone;
    form.OnClose = [&](TObject* sender, TCloseAction& action) {
        EXPECT_EQ(sender, &form);
        offered.push_back(action);
        action = answer;
    };
    form.Show();
    ASSERT_TRUE(form.Window()->isVisible());

    form.Close();
    EXPECT_TRUE(form.Visible()) << "OnClose answered caNone";

    answer = caHide;
    form.Close();
    EXPECT_FALSE(form.Visible());
    EXPECT_FALSE(form.Window()->isVisible());

    form.Show();
    form.Window()->close(); // the window system's close button
    QApplication::processEvents();
    EXPECT_FALSE(form.Visible());
    const std::vector<TCloseAction> expected = {caHide, caHide, caHide};
    EXPECT_EQ(offered, expected);
}

} // namespace
