// The DIP switch drawing: the number/string rules of its properties, the picture it paints in
// each orientation, the size swap between horizontal and vertical, and odd sizes and counts.
#include "classlib/bitmap.h"
#include "classlib/classregistry.h"
#include "classlib/custompanel.h"
#include "classlib/layouterror.h"
#include "classlib/reader.h"
#include "setupctrls/dipswitch.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <iterator>
#include <string>
#include <utility>

namespace {
constexpr TColor kGray = RGB(128, 128, 128);

// Counts repaint requests, which the setters must make exactly when something changed.
class TCountingDipSwitch : public TDipSwitch {
  public:
    using TDipSwitch::TDipSwitch;
    void Invalidate() override {
        ++Invalidations;
        TDipSwitch::Invalidate();
    }
    int Invalidations = 0;
};

class DipSwitchTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { TDipSwitch::RegisterClass(); }

    void SetUp() override {
        Panel = std::make_unique<TCustomPanel>(nullptr);
        Panel->SetBevelOuter(bvNone);
        Panel->SetBounds(0, 0, 240, 240);
        Dip = new TCountingDipSwitch(Panel.get());
        Dip->SetParent(Panel.get());
        Dip->SetBounds(kLeft, kTop, Dip->Width(), Dip->Height());
    }

    void Render() { Panel->PaintTo(Picture); }
    // A pixel of the last render, in the switch's own coordinates.
    TColor At(int x, int y) const { return Picture.PixelColor(Dip->Left() + x, Dip->Top() + y); }

    template <typename Pred> int CountInside(Pred pred) const {
        int count = 0;
        for (int y = 0; y < Dip->Height(); ++y)
            for (int x = 0; x < Dip->Width(); ++x)
                if (pred(At(x, y))) ++count;
        return count;
    }
    int CountColor(TColor color) const {
        return CountInside([color](TColor c) { return c == color; });
    }

    static constexpr int kLeft = 10, kTop = 20;
    std::unique_ptr<TCustomPanel> Panel;
    TCountingDipSwitch* Dip = nullptr; // owned by the panel
    TBitmap Picture;
};

TEST_F(DipSwitchTest, NewSwitchHasItsDefaults) {
    EXPECT_EQ(Dip->Width(), 53);
    EXPECT_EQ(Dip->Height(), 43);
    EXPECT_EQ(Dip->Orientation(), otUp);
    EXPECT_EQ(Dip->NumSwitches(), 3);
    EXPECT_EQ(Dip->Value(), 0u);
    EXPECT_EQ(Dip->BinaryValueStr(), "000");
    EXPECT_EQ(Dip->SwitchColor(), RGB(255, 255, 255));
    EXPECT_FALSE(Dip->SwapPending());
    EXPECT_FALSE(Dip->PaintedOnce());
}

// --- Value and string rules -------------------------------------------------------------------

struct TSetterCase {
    const char* Name;
    std::string StartBits; // on 8 switches; empty: value 0
    std::function<void(TDipSwitch&)> Change;
    std::string ExpectedBits;
    uint32_t ExpectedValue;
    bool Repaints;
};

TEST_F(DipSwitchTest, SettersKeepStringAndValueInStep) {
    auto bits = [](const char* s) { return [s](TDipSwitch& d) { d.SetBinaryValueStr(s); }; };
    auto value = [](uint32_t v) { return [v](TDipSwitch& d) { d.SetValue(v); }; };
    auto count = [](uint8_t n) { return [n](TDipSwitch& d) { d.SetNumSwitches(n); }; };
    const TSetterCase cases[] = {
        {"short string is padded in front", "", bits("1"), "00000001", 1, true},
        {"other characters are dropped", "", bits("1x0 1"), "00000101", 5, true},
        {"long string loses its first characters", "", bits("111100001"), "11100001", 225, true},
        {"no binary digit at all", "", bits("abc"), "00000000", 0, false},
        {"empty string", "00000110", bits(""), "00000110", 6, false},
        {"same number spelled differently", "00000110", bits("110"), "00000110", 6, false},
        {"value beyond the switches is cut", "", value(511), "11111111", 255, true},
        {"value with only a hidden bit", "", value(256), "00000000", 0, true},
        {"value shows on the switches", "", value(0x81), "10000001", 0x81, true},
        {"same value", "10000001", value(0x81), "10000001", 0x81, false},
        {"fewer switches drop the highest", "10110011", count(4), "0011", 3, true},
        {"same count", "10110011", count(8), "10110011", 0xB3, false},
        {"more switches add cleared ones", "00000101", count(12), "000000000101", 5, true},
    };
    for (const TSetterCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TCountingDipSwitch dip(nullptr);
        dip.SetNumSwitches(8);
        if (!c.StartBits.empty()) dip.SetBinaryValueStr(c.StartBits);
        dip.Invalidations = 0;
        c.Change(dip);
        EXPECT_EQ(dip.BinaryValueStr(), c.ExpectedBits);
        EXPECT_EQ(dip.Value(), c.ExpectedValue);
        EXPECT_EQ(dip.Invalidations > 0, c.Repaints);
    }
}

TEST_F(DipSwitchTest, ShrinkingThenGrowingKeepsTheLowSwitches) {
    Dip->SetNumSwitches(8);
    Dip->SetBinaryValueStr("10110011");
    Dip->SetNumSwitches(4);
    EXPECT_EQ(Dip->BinaryValueStr(), "0011");
    EXPECT_EQ(Dip->Value(), 3u);
    Dip->SetNumSwitches(8);
    EXPECT_EQ(Dip->BinaryValueStr(), "00000011");
    EXPECT_EQ(Dip->Value(), 3u);
}

TEST_F(DipSwitchTest, ZeroSwitchesKeepTheValue) {
    Dip->SetNumSwitches(8);
    Dip->SetValue(5);
    Dip->SetNumSwitches(0);
    EXPECT_EQ(Dip->BinaryValueStr(), "");
    EXPECT_EQ(Dip->Value(), 5u);

    Dip->SetBinaryValueStr("1"); // no switch to take it
    EXPECT_EQ(Dip->Value(), 5u);
    EXPECT_EQ(Dip->BinaryValueStr(), "");

    Dip->SetValue(9); // stored as given: no switch clears any bit
    EXPECT_EQ(Dip->Value(), 9u);
    EXPECT_EQ(Dip->BinaryValueStr(), "");

    // Switches coming back show cleared positions, and the value follows them.
    Dip->SetNumSwitches(8);
    EXPECT_EQ(Dip->BinaryValueStr(), "00000000");
    EXPECT_EQ(Dip->Value(), 0u);
}

TEST_F(DipSwitchTest, MoreThan32SwitchesWrapAroundTheBits) {
    Dip->SetNumSwitches(40);
    Dip->SetValue(1); // bit 0: switches 8 and 40
    std::string expected(40, '0');
    expected[7] = expected[39] = '1';
    EXPECT_EQ(Dip->BinaryValueStr(), expected);
    EXPECT_EQ(Dip->Value(), 1u);

    Dip->SetValue(0x80); // bit 7: switches 1 and 33
    expected.assign(40, '0');
    expected[0] = expected[32] = '1';
    EXPECT_EQ(Dip->BinaryValueStr(), expected);

    Dip->SetBinaryValueStr("1" + std::string(39, '0')); // switch 1 alone also means bit 7
    EXPECT_EQ(Dip->Value(), 0x80u);
    Dip->SetBinaryValueStr("1" + std::string(8, '0')); // switch 32: bit 8
    EXPECT_EQ(Dip->Value(), 0x100u);
}

TEST_F(DipSwitchTest, SwitchColorAndOrientationRepaintOnlyOnChange) {
    Dip->Invalidations = 0;
    Dip->SetSwitchColor(RGB(255, 255, 255));
    Dip->SetOrientation(otUp);
    EXPECT_EQ(Dip->Invalidations, 0);
    Dip->SetSwitchColor(RGB(255, 0, 0));
    EXPECT_EQ(Dip->SwitchColor(), RGB(255, 0, 0));
    EXPECT_EQ(Dip->Invalidations, 1);
    Dip->SetOrientation(otDown);
    EXPECT_EQ(Dip->Invalidations, 2);
}

TEST_F(DipSwitchTest, OnlyAChangeOfAxisAsksForASwap) {
    struct TCase {
        TOrientationType From, To;
        bool Swap;
    } cases[] = {
        {otUp, otDown, false},  {otDown, otUp, false}, {otLeft, otRight, false},
        {otRight, otLeft, false}, {otUp, otLeft, true},  {otUp, otRight, true},
        {otDown, otLeft, true}, {otLeft, otUp, true},  {otRight, otDown, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.From) + " -> " + std::to_string(c.To));
        SetUp();
        Dip->SetOrientation(c.From);
        Render(); // settles whatever the first orientation asked for
        ASSERT_FALSE(Dip->SwapPending());
        Dip->SetOrientation(c.To);
        EXPECT_EQ(Dip->SwapPending(), c.Swap);
        EXPECT_EQ(Dip->Width(), 53); // the size waits for the next paint
    }
}

// --- Picture ----------------------------------------------------------------------------------

TEST_F(DipSwitchTest, PaintsEightSwitchesInAWideControl) {
    Dip->SetBounds(kLeft, kTop, 105, 41);
    Dip->SetNumSwitches(8);
    Dip->SetValue(0xA0); // switches 1 and 3 on
    Render();
    // Slots 11 wide, 1 apart, from x = 2; rows 13 to 37. Knobs 10 high.
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE("switch " + std::to_string(i + 1));
        const int x = 2 + 12 * i, mid = x + 5;
        const bool on = i == 0 || i == 2;
        EXPECT_EQ(At(x - 1, 25), clBlack);       // body between slots
        EXPECT_EQ(At(x, 25), clBlack);           // slot outline, left
        EXPECT_EQ(At(x + 10, 25), clBlack);      // slot outline, right
        EXPECT_EQ(At(mid, 13), clBlack);         // top outline
        EXPECT_EQ(At(mid, 37), clBlack);         // bottom outline
        EXPECT_EQ(At(mid, 38), clBlack);         // body below
        EXPECT_EQ(At(mid, 25), kGray);           // middle of the slot is never covered
        if (on) {
            EXPECT_EQ(At(mid, 14), clWhite);     // knob inside
            EXPECT_EQ(At(mid, 21), clWhite);
            EXPECT_EQ(At(mid, 22), clBlack);     // knob's lower outline
            EXPECT_EQ(At(mid, 23), kGray);
            EXPECT_EQ(At(mid, 36), kGray);
        } else {
            EXPECT_EQ(At(mid, 14), kGray);
            EXPECT_EQ(At(mid, 27), kGray);
            EXPECT_EQ(At(mid, 28), clBlack);     // knob's upper outline
            EXPECT_EQ(At(mid, 29), clWhite);
            EXPECT_EQ(At(mid, 36), clWhite);
        }
    }
    EXPECT_EQ(At(97, 25), clBlack); // right of the last slot
    EXPECT_EQ(At(104, 40), clBlack);
    EXPECT_EQ(At(60, 6), clBlack);  // above the slots, away from the label
}

TEST_F(DipSwitchTest, PaintsTheNewControlsThreeSwitches) {
    Dip->SetValue(4); // first switch on
    Render();
    // Slots 12 wide at x = 5, 21, 37 from row 13 to 39; knobs 11 high.
    const int slots[] = {5, 21, 37};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE("switch " + std::to_string(i + 1));
        const int x = slots[i], mid = x + 6;
        EXPECT_EQ(At(x - 1, 26), clBlack);
        EXPECT_EQ(At(x, 26), clBlack);
        EXPECT_EQ(At(x + 11, 26), clBlack);
        EXPECT_EQ(At(x + 12, 26), clBlack);
        EXPECT_EQ(At(x + 1, 26), kGray);
        EXPECT_EQ(At(mid, 39), clBlack);
        EXPECT_EQ(At(mid, 40), clBlack);
        if (i == 0) {
            EXPECT_EQ(At(mid, 14), clWhite);
            EXPECT_EQ(At(mid, 22), clWhite);
            EXPECT_EQ(At(mid, 23), clBlack);
            EXPECT_EQ(At(mid, 24), kGray);
        } else {
            EXPECT_EQ(At(mid, 28), kGray);
            EXPECT_EQ(At(mid, 29), clBlack);
            EXPECT_EQ(At(mid, 30), clWhite);
            EXPECT_EQ(At(mid, 38), clWhite);
        }
    }
    for (int x = 17; x < 21; ++x) EXPECT_EQ(At(x, 26), clBlack) << x;
    EXPECT_EQ(At(52, 42), clBlack);
}

TEST_F(DipSwitchTest, LabelIsWhiteOnBlackAboveTheSlots) {
    Dip->SetBounds(kLeft, kTop, 105, 41);
    Dip->SetNumSwitches(8);
    Dip->SetSwitchColor(RGB(255, 0, 0));
    Render();
    int white = 0;
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 105; ++x) {
            TColor c = At(x, y);
            // The text may be smoothed, but it is always a grey between black and white.
            EXPECT_TRUE(GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c)) << x << "," << y;
            if (c == clWhite) ++white;
        }
    EXPECT_GT(white, 0);
    // Nothing the label draws reaches into the slots.
    EXPECT_EQ(At(7, 13), clBlack);
    EXPECT_EQ(At(7, 30), RGB(255, 0, 0));
}

TEST_F(DipSwitchTest, SwitchColorPaintsOnlyTheKnobs) {
    Dip->SetBounds(kLeft, kTop, 105, 41);
    Dip->SetNumSwitches(8);
    Dip->SetValue(0x80);
    Dip->SetSwitchColor(RGB(255, 0, 0));
    Render();
    EXPECT_EQ(At(7, 17), RGB(255, 0, 0));  // first switch, up
    EXPECT_EQ(At(19, 33), RGB(255, 0, 0)); // second, down
    EXPECT_EQ(At(7, 30), kGray);
    EXPECT_EQ(At(19, 17), kGray);
    EXPECT_EQ(At(13, 25), clBlack);
    EXPECT_EQ(At(100, 39), clBlack);
    // Eight knobs of 9 x 8 inner pixels each, nothing else in the switch colour.
    EXPECT_EQ(CountColor(RGB(255, 0, 0)), 8 * 9 * 8);
}

TEST_F(DipSwitchTest, LooksTheSameDisabledAndIgnoresTheMouse) {
    Dip->SetNumSwitches(8);
    Dip->SetBounds(kLeft, kTop, 105, 41);
    Dip->SetValue(0x5A);
    Render();
    TBitmap enabled;
    enabled.AssignImage(*Picture.Image());

    Dip->SetEnabled(false);
    Render();
    for (int y = 0; y < Dip->Height(); ++y)
        for (int x = 0; x < Dip->Width(); ++x)
            ASSERT_EQ(At(x, y), enabled.PixelColor(kLeft + x, kTop + y)) << x << "," << y;

    Dip->SetEnabled(true);
    for (int x : {7, 19, 31}) {
        Dip->Perform(WM_LBUTTONDOWN, 0, MakeMousePos(x, 17));
        Dip->Perform(WM_LBUTTONUP, 0, MakeMousePos(x, 17));
        Dip->Perform(WM_LBUTTONDOWN, 0, MakeMousePos(x, 33));
        Dip->Perform(WM_LBUTTONUP, 0, MakeMousePos(x, 33));
    }
    EXPECT_EQ(Dip->Value(), 0x5Au);
    EXPECT_EQ(Dip->BinaryValueStr(), "01011010");
}

// --- Orientations -----------------------------------------------------------------------------

struct TCentroid {
    double X = 0, Y = 0;
    int Count = 0;
};

struct TOrientationCase {
    TOrientationType Orientation;
    int Width, Height;
    int FirstX, FirstY; // where the first switch lies from the centre (sign per axis, 0: any)
    int KnobX, KnobY;   // the way a knob moves when its bit is set
    int LabelX, LabelY; // the corner with "ON"
};

TEST_F(DipSwitchTest, EachOrientationTurnsThePicture) {
    const TOrientationCase cases[] = {
        {otUp, 105, 41, -1, 0, 0, -1, -1, -1},
        {otDown, 105, 41, +1, 0, 0, +1, +1, +1},
        {otLeft, 41, 105, 0, +1, -1, 0, -1, +1},
        {otRight, 41, 105, 0, -1, +1, 0, +1, -1},
    };
    const TColor red = RGB(255, 0, 0);
    auto sign = [](double d) { return d > 0.5 ? 1 : d < -0.5 ? -1 : 0; };
    for (const TOrientationCase& c : cases) {
        SCOPED_TRACE("orientation " + std::to_string(c.Orientation));
        SetUp(); // a control that never painted: its stored size fits the orientation
        Dip->SetNumSwitches(8);
        Dip->SetSwitchColor(red);
        Dip->SetOrientation(c.Orientation);
        Dip->SetBounds(kLeft, kTop, c.Width, c.Height);

        Render();
        EXPECT_EQ(Dip->Width(), c.Width);
        EXPECT_EQ(Dip->Height(), c.Height);
        EXPECT_FALSE(Dip->SwapPending());
        TBitmap cleared;
        cleared.AssignImage(*Picture.Image());
        Dip->SetValue(0x80);
        Render();

        // Turning the first switch on moves its knob from the gray slot end to the red one.
        TCentroid turnedRed, turnedGray, label;
        const double cx = (c.Width - 1) / 2.0, cy = (c.Height - 1) / 2.0;
        for (int y = 0; y < c.Height; ++y)
            for (int x = 0; x < c.Width; ++x) {
                TColor now = At(x, y), before = cleared.PixelColor(kLeft + x, kTop + y);
                TCentroid* sum = nullptr;
                if (now == clWhite) sum = &label;
                else if (now != before && now == red) sum = &turnedRed;
                else if (now != before && now == kGray) sum = &turnedGray;
                if (!sum) continue;
                sum->X += x - cx;
                sum->Y += y - cy;
                ++sum->Count;
            }
        ASSERT_GT(turnedRed.Count, 0);
        ASSERT_GT(turnedGray.Count, 0);
        ASSERT_GT(label.Count, 0);
        auto mean = [](const TCentroid& s) { return TCentroid{s.X / s.Count, s.Y / s.Count, 1}; };
        TCentroid on = mean(turnedRed), off = mean(turnedGray), text = mean(label);
        const double firstX = (on.X + off.X) / 2, firstY = (on.Y + off.Y) / 2;
        if (c.FirstX) {
            EXPECT_EQ(sign(firstX / 10), c.FirstX);
        }
        if (c.FirstY) {
            EXPECT_EQ(sign(firstY / 10), c.FirstY);
        }
        EXPECT_EQ(sign(on.X - off.X), c.KnobX);
        EXPECT_EQ(sign(on.Y - off.Y), c.KnobY);
        EXPECT_EQ(sign(text.X), c.LabelX);
        EXPECT_EQ(sign(text.Y), c.LabelY);
    }
}

TEST_F(DipSwitchTest, ShownImageIsTheUprightOneTurned) {
    Dip->SetNumSwitches(8);
    Dip->SetValue(0xC5);
    Dip->SetBounds(kLeft, kTop, 105, 41);
    Render();
    TBitmap upright;
    upright.AssignImage(*Dip->UprightImage().Image());
    auto check = [&](TOrientationType orientation, auto place) {
        SCOPED_TRACE("orientation " + std::to_string(orientation));
        Dip->SetOrientation(orientation);
        Render(); // turning between axes swaps the size here...
        Render(); // ...and this paint fits the picture to it
        const TBitmap& shown = Dip->ShownImage();
        for (int y = 0; y < 41; ++y)
            for (int x = 0; x < 105; ++x) {
                auto [sx, sy] = place(x, y);
                ASSERT_EQ(shown.Pixel(sx, sy), upright.Pixel(x, y)) << x << "," << y;
                ASSERT_EQ(At(sx, sy), upright.PixelColor(x, y)) << x << "," << y;
            }
    };
    check(otDown, [](int x, int y) { return std::pair{104 - x, 40 - y}; });
    check(otLeft, [](int x, int y) { return std::pair{y, 104 - x}; });
    check(otRight, [](int x, int y) { return std::pair{40 - y, x}; });
    check(otUp, [](int x, int y) { return std::pair{x, y}; });
}

TEST_F(DipSwitchTest, SizeSwapsAcrossAxesOnlyAfterTheFirstPaint) {
    Dip->SetBounds(kLeft, kTop, 105, 41);
    Dip->SetOrientation(otLeft); // as a stored layout would, before any paint
    EXPECT_TRUE(Dip->SwapPending());
    Render();
    EXPECT_FALSE(Dip->SwapPending());
    EXPECT_TRUE(Dip->PaintedOnce());
    EXPECT_EQ(Dip->Width(), 105);
    EXPECT_EQ(Dip->Height(), 41);

    Dip->SetOrientation(otUp);
    EXPECT_EQ(Dip->Width(), 105); // nothing moves before the paint
    Render();
    EXPECT_EQ(Dip->Width(), 41);
    EXPECT_EQ(Dip->Height(), 105);
    EXPECT_FALSE(Dip->SwapPending());

    Dip->SetOrientation(otDown); // same axis
    Render();
    EXPECT_EQ(Dip->Width(), 41);
    EXPECT_EQ(Dip->Height(), 105);
}

TEST_F(DipSwitchTest, TurningAwayAndBackRestoresTheSize) {
    Dip->SetBounds(kLeft, kTop, 105, 41);
    Dip->SetNumSwitches(8);
    Render();
    Dip->SetOrientation(otLeft);
    Render();
    EXPECT_EQ(Dip->Width(), 41);
    EXPECT_EQ(Dip->Height(), 105);
    Render(); // the paint the new size asked for draws the vertical picture
    EXPECT_EQ(Dip->ShownImage().Width(), 41);
    EXPECT_EQ(Dip->ShownImage().Height(), 105);
    EXPECT_EQ(At(20, 52), kGray); // a slot, running across
    Dip->SetOrientation(otUp);
    Render();
    EXPECT_EQ(Dip->Width(), 105);
    EXPECT_EQ(Dip->Height(), 41);
}

// --- Odd sizes and counts ---------------------------------------------------------------------

TEST_F(DipSwitchTest, SmallControlsDrawWhatFits) {
    struct TCase {
        int Width, Height; // upright
        int Switches;
        bool SlotsShow;
    } cases[] = {
        {0, 0, 8, false},     {1, 1, 8, false},     {3, 43, 8, false},   {11, 43, 8, false},
        {105, 16, 8, false},  {105, 12, 8, false},  {105, 2, 8, false},  {12, 17, 8, false},
        {40, 100, 255, false}, {0, 43, 3, false},   {53, 0, 3, false},   {53, 43, 0, false},
        {180, 43, 40, true},  {14, 43, 2, true},
    };
    const TColor red = RGB(255, 0, 0);
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.Width) + "x" + std::to_string(c.Height) + " with " +
                     std::to_string(c.Switches));
        for (TOrientationType o : {otUp, otLeft}) {
            SetUp();
            Dip->SetOrientation(o);
            Dip->SetNumSwitches(static_cast<uint8_t>(c.Switches));
            Dip->SetValue(0x55555555);
            Dip->SetSwitchColor(red);
            const int width = o == otUp ? c.Width : c.Height;
            const int height = o == otUp ? c.Height : c.Width;
            Dip->SetBounds(kLeft, kTop, width, height);
            Render();
            EXPECT_EQ(Dip->Width(), width);
            const bool empty = width == 0 || height == 0; // a bitmap has both sides or none
            EXPECT_EQ(Dip->ShownImage().Width(), empty ? 0 : width);
            EXPECT_EQ(Dip->ShownImage().Height(), empty ? 0 : height);
            EXPECT_EQ(CountColor(kGray) > 0, c.SlotsShow);
            EXPECT_EQ(CountColor(red) > 0, c.SlotsShow);
            // Everything around the switch is still the panel's.
            const TColor face = Picture.PixelColor(0, 0);
            for (int x = kLeft - 1; x <= kLeft + width; ++x) {
                EXPECT_EQ(Picture.PixelColor(x, kTop - 1), face);
                EXPECT_EQ(Picture.PixelColor(x, kTop + height), face);
            }
            for (int y = kTop; y < kTop + height; ++y) {
                EXPECT_EQ(Picture.PixelColor(kLeft - 1, y), face);
                EXPECT_EQ(Picture.PixelColor(kLeft + width, y), face);
            }
        }
    }
}

TEST_F(DipSwitchTest, ZeroSwitchesDrawBodyAndLabelOnly) {
    Dip->SetNumSwitches(0);
    Render();
    EXPECT_EQ(CountColor(kGray), 0);
    EXPECT_GT(CountColor(clWhite), 0);
    for (int y = 13; y < 43; ++y)
        for (int x = 0; x < 53; ++x) ASSERT_EQ(At(x, y), clBlack) << x << "," << y;
}

// --- Stored layouts ---------------------------------------------------------------------------

TEST_F(DipSwitchTest, RegistryCreatesTheDefaultSwitch) {
    const TClassInfo* info = TClassRegistry::Instance().Find("TDipSwitch");
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->Parent, "TGraphicControl");
    std::unique_ptr<TComponent> created(info->Create(nullptr));
    auto* dip = dynamic_cast<TDipSwitch*>(created.get());
    ASSERT_NE(dip, nullptr);
    EXPECT_EQ(dip->Width(), 53);
    EXPECT_EQ(dip->Height(), 43);
    EXPECT_EQ(dip->NumSwitches(), 3);
    const char* published[] = {"SwitchColor", "Orientation", "NumSwitches", "BinaryValueStr", "Value"};
    ASSERT_EQ(info->Properties.size(), std::size(published));
    for (size_t i = 0; i < std::size(published); ++i) EXPECT_EQ(info->Properties[i].Name, published[i]);
    EXPECT_NE(TClassRegistry::Instance().FindProperty("TDipSwitch", "Left"), nullptr);
}

TEST_F(DipSwitchTest, LayoutValuesOutOfRangeAreRejected) {
    struct TCase {
        const char* Property;
        const char* Value;
        const char* Message;
    } cases[] = {
        {"NumSwitches", "256", "from 0 to 255"},
        {"NumSwitches", "-1", "from 0 to 255"},
        {"Value", "4294967296", "from 0 to 4294967295"},
        {"Value", "-1", "from 0 to 4294967295"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Property) + " = " + c.Value);
        TCustomPanel root(nullptr);
        std::string layout = "object Root: TCustomPanel\n  object Dip1: TDipSwitch\n    " +
                             std::string(c.Property) + " = " + c.Value + "\n  end\nend\n";
        try {
            TReader::ReadRoot(layout, &root);
            ADD_FAILURE() << "no error";
        } catch (const ELayoutError& e) {
            EXPECT_EQ(e.Line(), 3);
            EXPECT_NE(std::string(e.what()).find(c.Message), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(c.Property), std::string::npos) << e.what();
        }
    }
}

TEST_F(DipSwitchTest, LayoutWithoutCountKeepsThreeSwitches) {
    TCustomPanel root(nullptr);
    TReader::ReadRoot("object Root: TCustomPanel\n"
                      "  object Dip1: TDipSwitch\n"
                      "    Width = 41\n    Height = 53\n"
                      "    Orientation = otRight\n    Value = 255\n"
                      "  end\nend\n",
                      &root);
    auto* dip = dynamic_cast<TDipSwitch*>(root.FindComponent("Dip1"));
    ASSERT_NE(dip, nullptr);
    EXPECT_EQ(dip->NumSwitches(), 3);
    EXPECT_EQ(dip->Value(), 7u);
    EXPECT_EQ(dip->BinaryValueStr(), "111");
}
} // namespace
