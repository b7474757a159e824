#include "setupctrls/dipswitch.h"

#include "classlib/canvas.h"
#include "classlib/classregistry.h"
#include "classlib/layouterror.h"
#include "classlib/layoutnode.h"
#include "classlib/reader.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

// Decisions for the corner cases:
// - No switches: the string is empty and nothing a string says can be shown, so Value keeps
//   what it had (SetValue stores its argument as given, there is no switch to clear bits from)
//   and the picture is the black body with its label only.
// - A control too small for its switches (narrower than NumSwitches + 4, lower than 17) draws
//   what fits: slots and knobs that would come out empty or inverted are left out.
// - More than 32 switches: switch positions wrap around the 32 bits of Value, so several
//   switches can show the same bit.
// - A stored layout without NumSwitches keeps the 3 switches of a new control.

namespace {
constexpr int kSlotTop = 13;    // below the "ON" label
constexpr int kSlotMargin = 3;  // between the slots' bottom and the body's edge
constexpr TColor kSlotColor = RGB(128, 128, 128);

// The bit of Value shown by switch `position` (1 = the first, highest switch).
uint32_t SwitchBit(int numSwitches, int position) {
    return 1u << ((numSwitches - position) % 32);
}

// Cuts the highest switches off the front, or adds cleared ones there.
void FitToLength(std::string& bits, size_t length) {
    if (bits.size() > length) bits.erase(0, bits.size() - length);
    else bits.insert(0, length - bits.size(), '0');
}

// Outline in the pen colour, inside in the brush colour; an empty or inverted box draws nothing.
void DrawBox(TCanvas& canvas, const TRect& box, TColor fill) {
    if (box.Width() <= 0 || box.Height() <= 0) return;
    // A box two pixels thin is all outline; the canvas leaves a 1 x 1 box unoutlined.
    const bool allOutline = box.Width() <= 2 || box.Height() <= 2;
    canvas.Brush.Color = allOutline ? canvas.Pen.Color : fill;
    if (allOutline) canvas.FillRect(box);
    else canvas.Rectangle(box);
}

template <typename F> TPropertySetter On(F apply) {
    return [apply](TComponent* component, const TLayoutValue& v, TReader& reader) {
        apply(*static_cast<TDipSwitch*>(component), v, reader);
    };
}

long long IntegerInRange(const TReader& r, const TLayoutValue& v, long long low, long long high) {
    long long n = r.Integer(v);
    if (n < low || n > high)
        throw ELayoutError(v.Line, "expected an integer from " + std::to_string(low) + " to " +
                                       std::to_string(high) + " for property '" +
                                       r.CurrentProperty() + "' but found " + std::to_string(n));
    return n;
}
} // namespace

TDipSwitch::TDipSwitch(TComponent* owner)
    : TGraphicControl(owner), FUprightImage(std::make_unique<TBitmap>()),
      FShownImage(std::make_unique<TBitmap>()) {
    SetBoundsSilently(Left(), Top(), 53, 43);
}

TDipSwitch::~TDipSwitch() = default;

void TDipSwitch::RegisterClass() {
    TClassRegistry::Instance()
        .Register("TDipSwitch", "TGraphicControl", Creator<TDipSwitch>())
        .Property("SwitchColor", On([](TDipSwitch& d, auto& v, TReader& r) { d.SetSwitchColor(r.Color(v)); }))
        .Property("Orientation", On([](TDipSwitch& d, auto& v, TReader& r) {
            d.SetOrientation(static_cast<TOrientationType>(r.Enum(v, {"otUp", "otDown", "otLeft", "otRight"})));
        }))
        .Property("NumSwitches", On([](TDipSwitch& d, auto& v, TReader& r) {
            d.SetNumSwitches(static_cast<uint8_t>(IntegerInRange(r, v, 0, 255)));
        }))
        .Property("BinaryValueStr", On([](TDipSwitch& d, auto& v, TReader& r) { d.SetBinaryValueStr(r.String(v)); }))
        .Property("Value", On([](TDipSwitch& d, auto& v, TReader& r) {
            d.SetValue(static_cast<uint32_t>(IntegerInRange(r, v, 0, 4294967295LL)));
        }));
}

void TDipSwitch::SetOrientation(TOrientationType value) {
    if (value == FOrientation) return;
    if (IsVertical(value) != IsVertical(FOrientation)) FSwapPending = true;
    FOrientation = value;
    Invalidate();
}

void TDipSwitch::SetNumSwitches(uint8_t value) {
    if (value == FNumSwitches) return;
    FNumSwitches = value;
    FitToLength(FBinaryValueStr, FNumSwitches);
    SetBinaryValueStr(std::string(FBinaryValueStr));
    Invalidate();
}

void TDipSwitch::SetValue(uint32_t value) {
    if (value == FValue) return;
    FValue = value;
    std::string bits(FNumSwitches, '0');
    for (int position = 1; position <= FNumSwitches; ++position)
        if (value & SwitchBit(FNumSwitches, position)) bits[position - 1] = '1';
    FBinaryValueStr = bits;
    // Recomputing from the string drops the bits that no switch shows.
    SetBinaryValueStr(bits);
    Invalidate();
}

void TDipSwitch::SetBinaryValueStr(const std::string& value) {
    std::string bits;
    std::copy_if(value.begin(), value.end(), std::back_inserter(bits),
                 [](char c) { return c == '0' || c == '1'; });
    if (bits.empty()) return;
    FitToLength(bits, FNumSwitches);
    if (bits.empty()) return; // no switches to take it
    uint32_t newValue = ValueOfString(bits);
    if (newValue == FValue) return;
    FValue = newValue;
    FBinaryValueStr = bits;
    Invalidate();
}

void TDipSwitch::SetSwitchColor(TColor value) {
    if (value == FSwitchColor) return;
    FSwitchColor = value;
    Invalidate();
}

uint32_t TDipSwitch::ValueOfString(const std::string& bits) const {
    uint32_t value = 0;
    for (int position = 1; position <= FNumSwitches; ++position)
        if (bits[position - 1] == '1') value |= SwitchBit(FNumSwitches, position);
    return value;
}

void TDipSwitch::Paint() {
    const bool vertical = IsVertical(FOrientation);
    DrawUpright(vertical ? Height() : Width(), vertical ? Width() : Height());
    TurnToOrientation();
    if (FSwapPending) {
        FSwapPending = false;
        // Before the first paint the size came with the orientation (a stored layout).
        if (FPaintedOnce) SetBounds(Left(), Top(), Height(), Width());
    }
    const TRect whole = Rect(0, 0, FShownImage->Width(), FShownImage->Height());
    Canvas().CopyRect(whole, FShownImage->Canvas(), whole);
    FPaintedOnce = true;
}

// The picture as seen with orientation otUp: knobs of set bits at the top, first switch left.
void TDipSwitch::DrawUpright(int width, int height) {
    FUprightImage->SetSize(width, height);
    TCanvas& canvas = FUprightImage->Canvas();
    canvas.Pen = TPen{};
    canvas.Brush.Style = bsSolid;
    DrawBox(canvas, Rect(0, 0, width, height), clBlack);
    canvas.Font.SetName("MS Sans Serif");
    canvas.Font.SetHeight(-11);
    canvas.Font.SetStyle(0);
    canvas.Font.SetColor(clWhite);
    canvas.Brush.Style = bsClear;
    canvas.TextOut(0, 0, "ON");
    canvas.Brush.Style = bsSolid;
    if (FNumSwitches > 0) DrawSwitches(width, height);
}

void TDipSwitch::DrawSwitches(int width, int height) {
    TCanvas& canvas = FUprightImage->Canvas();
    const int n = FNumSwitches;
    const int slotWidth = (width - 3) / (n + 1);
    const int gap = (width - 3 - n * slotWidth) / n;
    const int knobHeight = (17 * ((height - 16) / 2)) / 20;
    const int slotBottom = height - kSlotMargin;
    if (slotWidth <= 0) return;
    for (int i = 0; i < n; ++i) {
        const int x = gap + 1 + i * (slotWidth + gap);
        DrawBox(canvas, Rect(x, kSlotTop, x + slotWidth, slotBottom), kSlotColor);
        const bool on = FValue & SwitchBit(n, i + 1);
        const TRect knob = on ? Rect(x, kSlotTop, x + slotWidth, kSlotTop + knobHeight)
                              : Rect(x, slotBottom - knobHeight, x + slotWidth, slotBottom);
        DrawBox(canvas, knob, FSwitchColor);
    }
}

// Rotates or flips the upright picture into the shown one, row pointer by row pointer.
void TDipSwitch::TurnToOrientation() {
    const TBitmap& upright = *FUprightImage;
    const int width = upright.Width(), height = upright.Height();
    if (IsVertical(FOrientation)) FShownImage->SetSize(height, width);
    else FShownImage->SetSize(width, height);
    if (width == 0 || height == 0) return;
    std::vector<uint32_t*> shown(FShownImage->Height());
    for (size_t y = 0; y < shown.size(); ++y)
        shown[y] = reinterpret_cast<uint32_t*>(FShownImage->ScanLine(static_cast<int>(y)));
    for (int y = 0; y < height; ++y) {
        const auto* from = reinterpret_cast<const uint32_t*>(upright.ScanLine(y));
        switch (FOrientation) {
        case otUp: std::copy(from, from + width, shown[y]); break;
        case otDown:
            for (int x = 0; x < width; ++x) shown[height - 1 - y][width - 1 - x] = from[x];
            break;
        case otLeft:
            for (int x = 0; x < width; ++x) shown[width - 1 - x][y] = from[x];
            break;
        case otRight:
            for (int x = 0; x < width; ++x) shown[x][height - 1 - y] = from[x];
            break;
        }
    }
}
