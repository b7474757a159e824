// The highlight circle: the shading of its three looks against values worked out here from the
// shading rules (own single-precision arithmetic, halves to even, blue-green-red bytes), the
// type's colours and strengths, the title derivations, which circles are linked and how they
// light, pin and take the active look together, and the first-paint-only image building.
#include "classlib/application.h"
#include "classlib/bitmap.h"
#include "classlib/custompanel.h"
#include "classlib/form.h"
#include "classlib/screen.h"
#include "setupctrls/boardhighlight.h"
#include "setupctrls/boardimage.h"
#include "setupctrls/highlightshader.h"
#include "setupctrls/popupform.h"
#include "setupctrls/radiopanel.h"
#include "system/messagebox.h"
#include "testpictures.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr TColor kGrey = RGB(130, 130, 130);
constexpr TColor kBrown = RGB(200, 100, 50);
constexpr TColor kYellow = RGB(255, 255, 0);
constexpr TColor kBlue = RGB(0, 0, 255);

using testpictures::MakeBitmap;
using testpictures::PhotoPixel;

// Rounds to the nearest integer, an exact half to the even neighbour.
int RoundHalfEven(float value) {
    float lower = std::floor(value);
    float fraction = value - lower;
    int n = static_cast<int>(lower);
    if (fraction > 0.5f) return n + 1;
    if (fraction < 0.5f) return n;
    return n % 2 == 0 ? n : n + 1;
}

// The shaded colour of pixel (row, col) of a width x height circle over `base`, worked out
// step by step from the shading rules in single precision.
TColor ExpectedShade(int row, int col, int width, int height, TColor base, TColor ring, float alpha,
                     bool whiteCore) {
    const float stepX = 2.0f / static_cast<float>(width - 1);
    const float stepY = 2.0f / static_cast<float>(height - 1);
    const float x = static_cast<float>(col) * stepX - 1.0f;
    const float y = static_cast<float>(row) * stepY - 1.0f;
    const float d = x * x + y * y;
    if (d >= 1.0f) return base;
    float w = 0.16f;
    if (d >= 0.5929f) {
        const float radius = std::sqrt(d);
        w = 1.0f - 8.0f * std::fabs(radius - 0.875f);
        if (whiteCore) {
            w = w * 2.0f;
            if (w > 1.0f) {
                base = clWhite;
                w = 2.0f - w;
            }
        }
    }
    w = w * alpha;
    auto mix = [w](int from, int to) {
        return RoundHalfEven(static_cast<float>(from) * (1.0f - w) + static_cast<float>(to) * w);
    };
    return RGB(mix(GetRValue(base), GetRValue(ring)), mix(GetGValue(base), GetGValue(ring)),
               mix(GetBValue(base), GetBValue(ring)));
}

// Counts repaint requests; the class name stays TBoardHighlight.
class TCountingHighlight : public TBoardHighlight {
  public:
    using TBoardHighlight::TBoardHighlight;
    void Invalidate() override {
        ++Invalidations;
        TBoardHighlight::Invalidate();
    }
    int Invalidations = 0;
};

// Records the mouse notices it receives, with their markers; the class name stays TBoardHighlight.
class TListeningHighlight : public TBoardHighlight {
  public:
    using TBoardHighlight::TBoardHighlight;
    void WndProc(TMessage& message) override {
        if (message.Msg == CM_MOUSEENTER) Heard += "E" + std::to_string(message.WParam);
        if (message.Msg == CM_MOUSELEAVE) Heard += "L" + std::to_string(message.WParam);
        TBoardHighlight::WndProc(message);
    }
    std::string Heard;
};

// A form that owns a board image with a picture; circles go on the board.
class HighlightTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TScreen::SetSizeOverride(1600, 1200);
        TScreen::SetCursorPosHook([] { return TPoint{-5000, -5000}; }); // away from every window
        TMessageBox::SetHook([this](QWidget*, const std::string& text, const std::string&, unsigned) {
            Boxes.push_back(text);
            return IDOK;
        });
        Host = new TForm(nullptr);
        Host->SetBounds(0, 0, 800, 600);
        Board = new TBoardImage(Host);
        Board->SetParent(Host);
        Board->SetAutoSize(false);
        Board->SetCenterOnForm(false);
        Board->SetStretch(true);
        Board->SetBounds(0, 0, 200, 150);
        SetBackground([](int, int) { return kGrey; });
    }

    void TearDown() override {
        Application->SetMouseControl(nullptr);
        delete Host;
        TScreen::SetCursorPosHook(nullptr);
        TScreen::SetSizeOverride(0, 0);
        TMessageBox::SetHook(nullptr);
    }

    void SetBackground(const std::function<TColor(int, int)>& color) {
        Board->Picture().SetGraphic(MakeBitmap(Board->Width(), Board->Height(), color));
    }

    template <typename T = TBoardHighlight>
    T* Add(const std::string& title, THighlightType type, TRect bounds = Bounds(10, 20, 65, 65),
           TWinControl* parent = nullptr) {
        auto* h = new T(Host);
        h->SetParent(parent ? parent : Board);
        h->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
        h->SetHighlightType(type);
        h->SetTitle(title);
        return h;
    }

    void Render() { Board->PaintTo(Canvas); }
    TColor At(const TControl* h, int row, int col) const {
        return Canvas.PixelColor(h->Left() + col, h->Top() + row);
    }
    size_t FormCount() const { return Application->Forms().size(); }

    TForm* Host = nullptr;
    TBoardImage* Board = nullptr;
    TBitmap Canvas;
    std::vector<std::string> Boxes;
};

// --- Type, colours and strengths ----------------------------------------------------------------

struct TTypeCase {
    THighlightType Type;
    TColor Ring;
    float Plain, Raised, Bright;
};

TEST_F(HighlightTest, TypeSetsColourAndStrengths) {
    auto* h = new TBoardHighlight(Host);
    EXPECT_EQ(h->HighlightType(), htSettings); // the class default
    EXPECT_EQ(h->Width(), 65);
    EXPECT_EQ(h->Height(), 65);
    EXPECT_TRUE(h->CreatePopup());
    EXPECT_TRUE(h->ControlStyle() & csReplicatable);
    const TTypeCase cases[] = {{htSettings, kYellow, 0.5f, 0.75f, 1.0f},
                               {htOptions, kBlue, 0.25f, 0.5f, 1.0f},
                               {htCalibration, RGB(255, 0, 0), 0.5f, 0.75f, 1.0f},
                               {htSettings, kYellow, 0.5f, 0.75f, 1.0f}};
    for (const TTypeCase& c : cases) {
        h->SetHighlightType(c.Type);
        EXPECT_EQ(h->RingColor(), c.Ring) << int(c.Type);
        EXPECT_EQ(h->PlainAlpha(), c.Plain) << int(c.Type);
        EXPECT_EQ(h->RaisedAlpha(), c.Raised) << int(c.Type);
        EXPECT_EQ(h->BrightAlpha(), c.Bright) << int(c.Type);
    }
    delete h;
}

// --- Shading: literal values at chosen points ---------------------------------------------------

// A 65 x 65 circle: column 60 on the middle row is radius 0.875 exactly (the ring's peak),
// column 57 lies just outside radius 0.77, 63 next to the edge, 64 on it.
struct TShadeCase {
    const char* Name;
    THighlightType Type;
    TColor Base;
    int Row, Col;
    TColor Plain, Raised, Bright;
};

class HighlightShadeTest : public HighlightTest, public ::testing::WithParamInterface<TShadeCase> {};

TEST_P(HighlightShadeTest, EachLookHasItsColour) {
    const TShadeCase& c = GetParam();
    SetBackground([&c](int, int) { return c.Base; });
    auto* h = Add("", c.Type);
    h->SetCreatePopup(false);
    Render();
    EXPECT_EQ(At(h, c.Row, c.Col), c.Plain) << "plain";
    h->Perform(CM_MOUSEENTER, 0, 0); // lit, not active
    Render();
    EXPECT_EQ(At(h, c.Row, c.Col), c.Raised) << "lit";
    h->SetPopupActive(true, false); // lit and active
    Render();
    EXPECT_EQ(At(h, c.Row, c.Col), c.Bright) << "bright";
    h->Unlight(); // active only
    Render();
    EXPECT_EQ(At(h, c.Row, c.Col), c.Raised) << "active";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HighlightShadeTest,
    ::testing::Values(
        // Yellow over grey: 0.5 / 0.75 / 1.0 with a white core.
        TShadeCase{"SettingsInside", htSettings, kGrey, 32, 32, RGB(140, 140, 120), RGB(145, 145, 114), RGB(150, 150, 109)},
        TShadeCase{"SettingsJustInside077", htSettings, kGrey, 32, 56, RGB(140, 140, 120), RGB(145, 145, 114), RGB(150, 150, 109)},
        TShadeCase{"SettingsRingStart", htSettings, kGrey, 32, 57, RGB(146, 146, 114), RGB(153, 153, 106), RGB(192, 192, 65)},
        TShadeCase{"SettingsRingInner", htSettings, kGrey, 32, 59, RGB(177, 177, 81), RGB(200, 200, 57), RGB(255, 255, 128)},
        // 130 * 0.5 + 127.5 = 192.5 rounds to the even 192.
        TShadeCase{"SettingsRingPeak", htSettings, kGrey, 32, 60, RGB(192, 192, 65), RGB(224, 224, 32), RGB(255, 255, 255)},
        TShadeCase{"SettingsRingOuter", htSettings, kGrey, 32, 62, RGB(161, 161, 98), RGB(177, 177, 81), RGB(255, 255, 0)},
        TShadeCase{"SettingsEdge", htSettings, kGrey, 32, 63, RGB(146, 146, 114), RGB(153, 153, 106), RGB(192, 192, 65)},
        TShadeCase{"SettingsOnEdge", htSettings, kGrey, 32, 64, kGrey, kGrey, kGrey},
        TShadeCase{"SettingsCorner", htSettings, kGrey, 0, 0, kGrey, kGrey, kGrey},
        TShadeCase{"SettingsDiagonal", htSettings, kGrey, 10, 50, RGB(186, 186, 72), RGB(214, 214, 43), RGB(255, 255, 201)},
        // Blue over grey: 0.25 / 0.5 / 1.0.
        TShadeCase{"OptionsInside", htOptions, kGrey, 32, 32, RGB(125, 125, 135), RGB(120, 120, 140), RGB(109, 109, 150)},
        TShadeCase{"OptionsRingStart", htOptions, kGrey, 32, 57, RGB(122, 122, 138), RGB(114, 114, 146), RGB(65, 65, 192)},
        TShadeCase{"OptionsRingInner", htOptions, kGrey, 32, 59, RGB(106, 106, 153), RGB(81, 81, 177), RGB(128, 128, 255)},
        TShadeCase{"OptionsRingPeak", htOptions, kGrey, 32, 60, RGB(98, 98, 161), RGB(65, 65, 192), RGB(255, 255, 255)},
        TShadeCase{"OptionsRingOuter", htOptions, kGrey, 32, 62, RGB(114, 114, 146), RGB(98, 98, 161), RGB(0, 0, 255)},
        TShadeCase{"OptionsEdge", htOptions, kGrey, 32, 63, RGB(122, 122, 138), RGB(114, 114, 146), RGB(65, 65, 192)},
        TShadeCase{"OptionsCorner", htOptions, kGrey, 0, 0, kGrey, kGrey, kGrey},
        TShadeCase{"OptionsDiagonal", htOptions, kGrey, 10, 50, RGB(101, 101, 158), RGB(72, 72, 186), RGB(201, 201, 255)},
        // A coloured base shows that each channel mixes with its own channel of the ring.
        TShadeCase{"SettingsBrownInside", htSettings, kBrown, 32, 32, RGB(204, 112, 46), RGB(207, 119, 44), RGB(209, 125, 42)},
        TShadeCase{"SettingsBrownPeak", htSettings, kBrown, 32, 60, RGB(228, 178, 25), RGB(241, 216, 12), RGB(255, 255, 255)},
        TShadeCase{"SettingsBrownRingInner", htSettings, kBrown, 32, 59, RGB(221, 158, 31), RGB(231, 187, 22), RGB(255, 255, 128)},
        TShadeCase{"OptionsBrownInside", htOptions, kBrown, 32, 32, RGB(192, 96, 58), RGB(184, 92, 66), RGB(168, 84, 83)},
        TShadeCase{"OptionsBrownPeak", htOptions, kBrown, 32, 60, RGB(150, 75, 101), RGB(100, 50, 152), RGB(255, 255, 255)},
        TShadeCase{"OptionsBrownDiagonal", htOptions, kBrown, 10, 50, RGB(155, 78, 96), RGB(111, 55, 142), RGB(201, 201, 255)},
        TShadeCase{"CalibrationBrownRingOuter", htCalibration, kBrown, 32, 62, RGB(214, 75, 38), RGB(221, 62, 31), RGB(255, 0, 0)}),
    [](const auto& tc) { return std::string(tc.param.Name); });

TEST_F(HighlightTest, ImagesStoreBlueGreenRed) {
    SetBackground([](int, int) { return kBrown; });
    auto* h = Add("", htOptions);
    Render();
    const uint8_t* inside = h->PlainImage().ScanLine(32) + 4 * 32;
    EXPECT_EQ(inside[0], 58); // blue
    EXPECT_EQ(inside[1], 96); // green
    EXPECT_EQ(inside[2], 192); // red
    const uint8_t* outside = h->PlainImage().ScanLine(0);
    EXPECT_EQ(outside[0], 50);
    EXPECT_EQ(outside[1], 100);
    EXPECT_EQ(outside[2], 200);
}

// The white core with a strength below 1 (only reachable through the shader itself).
TEST_F(HighlightTest, WhiteCoreMixesWithTheStrength) {
    struct TPixelCase {
        int Row, Col;
        TColor Expected;
    };
    const TPixelCase points[] = {{32, 32, RGB(140, 140, 120)}, {32, 57, RGB(161, 161, 98)},
                              {32, 59, RGB(255, 255, 191)}, {32, 60, RGB(255, 255, 255)},
                              {32, 62, RGB(192, 192, 65)},  {32, 64, kGrey},
                              {10, 50, RGB(255, 255, 228)}};
    auto image = MakeBitmap(65, 65, [](int, int) { return kGrey; });
    THighlightShader::Shade(*image, true, kYellow, 0.5f);
    for (const TPixelCase& p : points)
        EXPECT_EQ(image->PixelColor(p.Col, p.Row), p.Expected) << p.Row << "," << p.Col;
}

// --- Shading: every pixel over a photograph-like background --------------------------------------

struct TSweepCase {
    const char* Name;
    THighlightType Type;
    TRect Bounds;
};

class HighlightSweepTest : public HighlightTest, public ::testing::WithParamInterface<TSweepCase> {};

TEST_P(HighlightSweepTest, EveryPixelOfEveryLook) {
    const TSweepCase& c = GetParam();
    Board->SetBounds(0, 0, 300, 300);
    SetBackground(PhotoPixel);
    auto* h = Add("", c.Type, c.Bounds);
    Render();
    const THighlightLook look = HighlightLook(c.Type);
    struct TImageCase {
        const char* Name;
        const TBitmap& Image;
        float Alpha;
        bool WhiteCore;
    } images[] = {{"plain", h->PlainImage(), look.PlainAlpha, false},
                  {"raised", h->RaisedImage(), look.RaisedAlpha, false},
                  {"bright", h->BrightImage(), look.BrightAlpha, true}};
    const int w = c.Bounds.Width(), ht = c.Bounds.Height();
    for (const TImageCase& image : images) {
        ASSERT_EQ(image.Image.Width(), w);
        ASSERT_EQ(image.Image.Height(), ht);
        int wrong = 0;
        for (int r = 0; r < ht; ++r)
            for (int col = 0; col < w; ++col) {
                TColor base = PhotoPixel(c.Bounds.Left + col, c.Bounds.Top + r);
                TColor expected = ExpectedShade(r, col, w, ht, base, look.RingColor, image.Alpha, image.WhiteCore);
                if (image.Image.PixelColor(col, r) != expected && ++wrong <= 3)
                    ADD_FAILURE() << image.Name << " at row " << r << " col " << col;
            }
        EXPECT_EQ(wrong, 0) << image.Name;
    }
    // The plain look is what the first paint shows, pixel for pixel.
    int wrong = 0;
    for (int r = 0; r < ht; ++r)
        for (int col = 0; col < w; ++col)
            if (At(h, r, col) != h->PlainImage().PixelColor(col, r)) ++wrong;
    EXPECT_EQ(wrong, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, HighlightSweepTest,
                         ::testing::Values(TSweepCase{"FilterCircle", htSettings, Bounds(169, 34, 73, 25)},
                                           TSweepCase{"ConnectorCircle", htOptions, Bounds(16, 30, 89, 249)},
                                           TSweepCase{"Round", htCalibration, Bounds(100, 100, 65, 65)},
                                           TSweepCase{"Tiny", htSettings, Bounds(3, 5, 2, 3)}),
                         [](const auto& tc) { return std::string(tc.param.Name); });

TEST_F(HighlightTest, FlatEllipseTouchesAllEdgesAndCornersShowThePhoto) {
    auto* h = Add("", htSettings, Bounds(20, 30, 73, 25));
    Render();
    struct TPixelCase {
        int Row, Col;
        TColor Expected;
    } points[] = {{12, 36, RGB(140, 140, 120)}, {12, 1, RGB(144, 144, 116)}, {12, 71, RGB(144, 144, 116)},
                  {1, 36, RGB(172, 172, 87)},   {6, 10, RGB(191, 191, 67)},  {12, 0, kGrey},
                  {0, 36, kGrey},               {0, 0, kGrey},               {24, 72, kGrey},
                  {0, 72, kGrey},               {24, 0, kGrey}};
    for (const TPixelCase& p : points) EXPECT_EQ(At(h, p.Row, p.Col), p.Expected) << p.Row << "," << p.Col;
}

// --- Images are made at the first paint only --------------------------------------------------

TEST_F(HighlightTest, LookIsFixedAfterTheFirstPaint) {
    auto* h = Add("", htSettings);
    Render();
    TColor before = At(h, 32, 60);
    h->SetHighlightType(htOptions);
    Render();
    EXPECT_EQ(At(h, 32, 60), before);
    h->SetBounds(h->Left(), h->Top(), 100, 100);
    Render();
    EXPECT_EQ(h->PlainImage().Width(), 65);
    EXPECT_EQ(At(h, 32, 60), before);
    EXPECT_EQ(h->RingColor(), kBlue); // the type itself did change
}

TEST_F(HighlightTest, DesignerRebuildsTheLookOnEveryPaint) {
    auto* h = Add("", htSettings);
    h->SetDesigning(true);
    Render();
    EXPECT_EQ(At(h, 32, 60), RGB(192, 192, 65));
    h->SetHighlightType(htOptions);
    Render();
    EXPECT_EQ(At(h, 32, 60), RGB(98, 98, 161));
    EXPECT_FALSE(h->Prepared());
}

// --- Title derivations ---------------------------------------------------------------------

struct TTitleCase {
    const char* Title;
    const char* Plain;
    const char* Ident;
};

TEST_F(HighlightTest, TitleGivesPlainTitleAndIdentifier) {
    const TTitleCase cases[] = {
        {"Manual &Filter Selection", "Manual Filter Selection", "ManualFilterSelection"},
        {"&Connector", "Connector", "Connector"},
        {"Connector", "Connector", "Connector"},
        {"_Already_An_Ident9", "_Already_An_Ident9", "_Already_An_Ident9"},
        {"Tom && Jerry", "Tom  Jerry", "TomJerry"},
        {"&&", "", ""},
        {"9-pin D-sub", "9-pin D-sub", "pinDsub"},
        {"  _x y", "  _x y", "_xy"},
        {"123", "123", ""},
        {"", "", ""},
        {"Filter 8 (\xC4)", "Filter 8 (\xC4)", "Filter8"},
        {"\xC4rger", "\xC4rger", "rger"}, // only ASCII letters start an identifier
        {"\xE9t\xE9 2", "\xE9t\xE9 2", "t2"},
    };
    auto* h = new TBoardHighlight(Host);
    for (const TTitleCase& c : cases) {
        h->SetTitle(c.Title);
        EXPECT_EQ(h->Title(), c.Title);
        EXPECT_EQ(h->PlainTitle(), c.Plain) << c.Title;
        EXPECT_EQ(h->TitleIdent(), c.Ident) << c.Title;
    }
    delete h;
}

// --- Linked circles -------------------------------------------------------------------------

TEST_F(HighlightTest, EnteringLightsTheLinkedGroupAndOpensOnePopup) {
    auto* a = Add("&Connector", htOptions, Bounds(0, 0, 20, 20));
    auto* other = Add("Connector", htOptions, Bounds(30, 0, 20, 20)); // differs by '&'
    auto* b = Add("&Connector", htOptions, Bounds(60, 0, 20, 20));
    auto* settings = Add("&Connector", htSettings, Bounds(90, 0, 20, 20)); // differs by type
    Render();
    size_t forms = FormCount();

    b->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_TRUE(a->Lit());
    EXPECT_TRUE(b->Lit());
    EXPECT_FALSE(other->Lit());
    EXPECT_FALSE(settings->Lit());
    EXPECT_EQ(FormCount(), forms + 1);
    ASSERT_NE(b->Popup(), nullptr); // the circle entered first builds the window
    EXPECT_EQ(a->Popup(), nullptr);
    EXPECT_EQ(b->Popup()->Owner(), b);
    EXPECT_EQ(b->Popup()->Highlight, b);
    EXPECT_TRUE(b->Popup()->Visible());

    // Entering again, or entering a linked circle, changes nothing.
    b->Perform(CM_MOUSEENTER, 0, 0);
    a->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_EQ(FormCount(), forms + 1);
    EXPECT_EQ(a->Popup(), nullptr);
    // Not linked, but the same caption and type: the existing window blocks a second one.
    other->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_TRUE(other->Lit());
    EXPECT_EQ(other->Popup(), nullptr);
    EXPECT_EQ(FormCount(), forms + 1);

    // Leaving elsewhere than onto the popup closes it and unlights the whole group.
    a->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(b->Popup()->Visible());
    EXPECT_FALSE(a->Lit());
    EXPECT_FALSE(b->Lit());

    // The next time the group is entered through another member the same window returns.
    a->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_TRUE(b->Popup()->Visible());
    EXPECT_EQ(a->Popup(), nullptr);
    EXPECT_EQ(FormCount(), forms + 1);
}

TEST_F(HighlightTest, NoticesReachTheLinkedCirclesOnceWithMarkerOne) {
    auto* a = Add<TListeningHighlight>("Group", htSettings, Bounds(0, 0, 20, 20));
    auto* stranger = Add<TListeningHighlight>("Other", htSettings, Bounds(30, 0, 20, 20));
    auto* b = Add<TListeningHighlight>("Group", htSettings, Bounds(60, 0, 20, 20));
    for (TListeningHighlight* h : {a, stranger, b}) h->SetCreatePopup(false);

    a->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_EQ(a->Heard, "E0E1"); // its own notice, then the group's, which it ignores
    EXPECT_EQ(b->Heard, "E1");
    a->Perform(CM_MOUSEENTER, 0, 0); // already lit: nothing goes out
    EXPECT_EQ(a->Heard, "E0E1E0");
    EXPECT_EQ(b->Heard, "E1");
    a->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(b->Heard, "E1L1");
    EXPECT_EQ(stranger->Heard, "");

    // A notice with marker 1 goes no further.
    a->Unlight();
    b->Unlight();
    b->Perform(CM_MOUSEENTER, 1, 0);
    EXPECT_TRUE(b->Lit());
    EXPECT_FALSE(a->Lit());
    EXPECT_EQ(a->Heard, "E0E1E0L0L1");
}

TEST_F(HighlightTest, CirclesOnAnotherBoardImageAreNotLinked) {
    auto* otherBoard = new TBoardImage(Host);
    otherBoard->SetParent(Host);
    auto* here = Add("Same", htSettings, Bounds(0, 0, 20, 20));
    auto* there = Add("Same", htSettings, Bounds(0, 0, 20, 20), otherBoard);
    here->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_TRUE(here->Lit());
    EXPECT_FALSE(there->Lit());
    here->Click();
    EXPECT_FALSE(there->Pinned());
    here->SetPopupActive(true, true);
    EXPECT_FALSE(there->PopupActive());
    here->Popup()->Close();
    EXPECT_FALSE(here->Lit());
}

TEST_F(HighlightTest, CirclesOffABoardImageAreNotLinked) {
    auto* panel = new TCustomPanel(Host);
    panel->SetParent(Host);
    panel->SetBounds(0, 0, 200, 200);
    auto* a = Add("Same", htSettings, Bounds(0, 0, 20, 20), panel);
    auto* b = Add("Same", htSettings, Bounds(30, 0, 20, 20), panel);
    a->SetCreatePopup(false);
    b->SetCreatePopup(false);
    a->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_TRUE(a->Lit());
    EXPECT_FALSE(b->Lit());
    a->SetPopupActive(true, true);
    EXPECT_FALSE(b->PopupActive());
}

TEST_F(HighlightTest, WithoutCreatePopupOnlyTheGroupsPopupUnlights) {
    auto* lone = Add("Lone", htSettings, Bounds(0, 0, 20, 20));
    lone->SetCreatePopup(false);
    size_t forms = FormCount();
    lone->Perform(CM_MOUSEENTER, 0, 0);
    lone->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_TRUE(lone->Lit());
    EXPECT_EQ(FormCount(), forms);

    auto* silent = Add("Pair", htSettings, Bounds(30, 0, 20, 20));
    silent->SetCreatePopup(false);
    auto* speaker = Add("Pair", htSettings, Bounds(60, 0, 20, 20));
    silent->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_TRUE(silent->Lit());
    ASSERT_NE(speaker->Popup(), nullptr);
    EXPECT_TRUE(speaker->Popup()->Visible());
    speaker->Popup()->Close();
    EXPECT_FALSE(silent->Lit());
    EXPECT_FALSE(speaker->Lit());
    EXPECT_TRUE(lone->Lit());
}

TEST_F(HighlightTest, ClickPinsTheGroupsPopup) {
    auto* a = Add("Group", htSettings, Bounds(0, 0, 20, 20));
    auto* b = Add("Group", htSettings, Bounds(30, 0, 20, 20));
    int clicks = 0;
    b->OnClick = [&clicks](TObject*) { ++clicks; };
    a->Perform(CM_MOUSEENTER, 0, 0);
    ASSERT_NE(a->Popup(), nullptr);
    EXPECT_FALSE(a->Pinned());
    b->Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(a->Pinned());
    // Pinned: leaving the circle leaves the window open and the group lit.
    b->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_TRUE(a->Popup()->Visible());
    EXPECT_TRUE(a->Lit());
    EXPECT_TRUE(b->Lit());
    // Closing does not unpin; showing the hidden window again does.
    a->Popup()->Close();
    EXPECT_TRUE(a->Pinned());
    EXPECT_FALSE(a->Lit());
    a->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_FALSE(a->Pinned());
}

// --- The active look and the z-order walk -----------------------------------------------------

struct TActiveCase {
    const char* Name;
    const char* Layout;   // one letter per circle; capitals are the linked group
    char Self;            // the circle whose popup became active
    const char* Expected; // the z-order afterwards
};

class HighlightActiveTest : public HighlightTest, public ::testing::WithParamInterface<TActiveCase> {};

TEST_P(HighlightActiveTest, EveryLinkedCircleIsHandledOnce) {
    const TActiveCase& c = GetParam();
    std::vector<TCountingHighlight*> circles;
    std::string layout = c.Layout;
    for (size_t i = 0; i < layout.size(); ++i) {
        bool linked = std::isupper(static_cast<unsigned char>(layout[i]));
        auto* h = Add<TCountingHighlight>(linked ? "Linked" : std::string("Other ") + layout[i], htSettings,
                                          Bounds(static_cast<int>(i) * 10, 0, 8, 8));
        h->SetName(std::string(1, layout[i]));
        circles.push_back(h);
    }
    for (TCountingHighlight* h : circles) h->Invalidations = 0;
    TCountingHighlight* self = circles[layout.find(c.Self)];

    self->SetPopupActive(true, true);

    std::string order;
    for (int i = 0; i < Board->ControlCount(); ++i) order += Board->Controls(i)->Name();
    EXPECT_EQ(order, c.Expected);
    for (TCountingHighlight* h : circles) {
        bool linked = std::isupper(static_cast<unsigned char>(h->Name()[0]));
        EXPECT_EQ(h->PopupActive(), linked) << h->Name();
        // Once handled: one repaint request for the move to the front, one for the look.
        EXPECT_EQ(h->Invalidations, linked ? 2 : 0) << h->Name();
    }

    self->SetPopupActive(false, true);
    for (TCountingHighlight* h : circles) EXPECT_FALSE(h->PopupActive()) << h->Name();
}

INSTANTIATE_TEST_SUITE_P(Cases, HighlightActiveTest,
                         ::testing::Values(TActiveCase{"Interleaved", "AxByC", 'B', "xyBAC"},
                                           TActiveCase{"Adjacent", "ABC", 'A', "ABC"},
                                           TActiveCase{"SelfLast", "xABy", 'B', "xyBA"},
                                           TActiveCase{"Alone", "xAy", 'A', "xyA"},
                                           TActiveCase{"FourLinked", "ABxCD", 'C', "xCABD"}),
                         [](const auto& tc) { return std::string(tc.param.Name); });

TEST_F(HighlightTest, DestroyedRadioPanelIsForgotten) {
    auto* h = Add("Panelled", htSettings);
    auto* panel = new TRadioPanel(Host);
    panel->SetParent(Host);
    h->SetRadioPanel(panel);
    delete panel;
    EXPECT_EQ(h->RadioPanel(), nullptr);
    h->Perform(CM_MOUSEENTER, 0, 0); // builds a popup without a panel
    ASSERT_NE(h->Popup(), nullptr);
    EXPECT_EQ(h->Popup()->Width(), 194);
}

} // namespace
