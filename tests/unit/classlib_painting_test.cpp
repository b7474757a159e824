// Painting on the shared 32-bit canvas: the parent's background, graphic children in z-order
// and clipped to their bounds, reading back what lies beneath, rectangle outlines and the
// bitmap's memory layout.
#include "classlib/application.h"
#include "classlib/bitmap.h"
#include "classlib/canvas.h"
#include "classlib/custompanel.h"
#include "classlib/graphiccontrol.h"
#include "classlib/paintbuffer.h"
#include "system/messagebox.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

// 0x00RRGGBB, the way TBitmap::Pixel reports a colour.
uint32_t Rgb(TColor color) {
    TColor c = ColorToRGB(color);
    return static_cast<uint32_t>(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c);
}

// Fills an area given in its own coordinates; the area may reach beyond its bounds.
class TFiller : public TGraphicControl {
  public:
    TFiller(TComponent* owner, TColor fill, TRect area = {-1000, -1000, 1000, 1000})
        : TGraphicControl(owner), Fill(fill), Area(area) {}
    TColor Fill;
    TRect Area;
    std::function<void()> BeforeFill;

  protected:
    void Paint() override {
        if (BeforeFill) BeforeFill();
        Canvas().Brush.Style = bsSolid;
        Canvas().Brush.Color = Fill;
        Canvas().FillRect(Area);
    }
};

// A flat panel: no bevel, so every pixel is the background.
TCustomPanel* NewFlatPanel(TColor color, int width, int height) {
    auto* panel = new TCustomPanel(nullptr);
    panel->SetBevelOuter(bvNone);
    panel->SetColor(color);
    panel->SetBounds(0, 0, width, height);
    return panel;
}

TFiller* AddFiller(TCustomPanel* panel, TColor fill, TRect bounds) {
    auto* filler = new TFiller(panel, fill);
    filler->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    filler->SetParent(panel);
    return filler;
}

TEST(ClassLibPainting, PanelBackgroundFillsTheWholeBitmap) {
    const TColor colors[] = {RGB(10, 20, 30), clBtnFace, clWindow, clBlack};
    for (TColor color : colors) {
        SCOPED_TRACE(color);
        std::unique_ptr<TCustomPanel> panel(NewFlatPanel(color, 50, 30));
        TBitmap bmp;
        panel->PaintTo(bmp);
        ASSERT_EQ(bmp.Width(), 50);
        ASSERT_EQ(bmp.Height(), 30);
        int wrong = 0;
        for (int y = 0; y < bmp.Height(); ++y)
            for (int x = 0; x < bmp.Width(); ++x)
                wrong += bmp.Pixel(x, y) != Rgb(color);
        EXPECT_EQ(wrong, 0);
    }
}

TEST(ClassLibPainting, RaisedBevelIsLightTopLeftAndDarkBottomRight) {
    std::unique_ptr<TCustomPanel> panel(NewFlatPanel(RGB(0, 0, 200), 20, 10));
    panel->SetBevelOuter(bvRaised);
    TBitmap bmp;
    panel->PaintTo(bmp);
    EXPECT_EQ(bmp.Pixel(5, 0), Rgb(clWhite));
    EXPECT_EQ(bmp.Pixel(0, 5), Rgb(clWhite));
    EXPECT_EQ(bmp.Pixel(5, 9), Rgb(clGray));
    EXPECT_EQ(bmp.Pixel(19, 5), Rgb(clGray));
    EXPECT_EQ(bmp.Pixel(5, 5), Rgb(RGB(0, 0, 200)));
}

// A graphic child paints after its parent, on the parent's bitmap, and cannot paint outside
// its own bounds however large an area it fills.
TEST(ClassLibPainting, GraphicChildIsPaintedOverItsParentAndClippedToItsBounds) {
    const TColor background = RGB(0, 0, 128);
    std::unique_ptr<TCustomPanel> panel(NewFlatPanel(background, 100, 60));
    const TRect bounds = Bounds(20, 10, 30, 20);
    AddFiller(panel.get(), clRed, bounds);

    TBitmap bmp;
    panel->PaintTo(bmp);

    int wrong = 0;
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x) {
            uint32_t expected = bounds.Contains({x, y}) ? Rgb(clRed) : Rgb(background);
            if (bmp.Pixel(x, y) != expected && wrong++ < 5)
                ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << bmp.Pixel(x, y);
        }
    EXPECT_EQ(wrong, 0);
}

TEST(ClassLibPainting, ChildReachingPastTheParentEdgeIsCutAtTheEdge) {
    std::unique_ptr<TCustomPanel> panel(NewFlatPanel(clBlack, 40, 30));
    AddFiller(panel.get(), clLime, Bounds(30, 20, 25, 25));
    TBitmap bmp;
    panel->PaintTo(bmp);
    EXPECT_EQ(bmp.Pixel(39, 29), Rgb(clLime));
    EXPECT_EQ(bmp.Pixel(30, 20), Rgb(clLime));
    EXPECT_EQ(bmp.Pixel(29, 29), Rgb(clBlack));
}

// The last child is on top; BringToFront moves a child there; hidden or removed children
// are not painted.
TEST(ClassLibPainting, OverlappingChildrenPaintInZOrder) {
    std::unique_ptr<TCustomPanel> panel(NewFlatPanel(clBlack, 60, 20));
    TFiller* first = AddFiller(panel.get(), clRed, Bounds(0, 0, 40, 20));
    TFiller* second = AddFiller(panel.get(), clBlue, Bounds(20, 0, 40, 20));
    const TPoint overlap{30, 10};
    auto colorAtOverlap = [&] {
        TBitmap bmp;
        panel->PaintTo(bmp);
        return bmp.Pixel(overlap.X, overlap.Y);
    };

    EXPECT_EQ(colorAtOverlap(), Rgb(clBlue)) << "the later child is on top";
    first->BringToFront();
    EXPECT_EQ(colorAtOverlap(), Rgb(clRed)) << "brought to the front";
    first->Hide();
    EXPECT_EQ(colorAtOverlap(), Rgb(clBlue)) << "a hidden child is not painted";
    second->SetParent(nullptr);
    EXPECT_EQ(colorAtOverlap(), Rgb(clBlack)) << "a removed child is not painted";
    delete second;
}

TEST(ClassLibPainting, GraphicCanvasIsOnlyValidWhilePainting) {
    std::unique_ptr<TCustomPanel> panel(NewFlatPanel(clBlack, 20, 20));
    TFiller* filler = AddFiller(panel.get(), clRed, Bounds(2, 2, 5, 5));
    bool hadTarget = false;
    filler->BeforeFill = [&] { hadTarget = filler->Canvas().Target() != nullptr; };
    TBitmap bmp;
    panel->PaintTo(bmp);
    EXPECT_TRUE(hadTarget);
    EXPECT_EQ(filler->Canvas().Target(), nullptr);
    filler->Canvas().FillRect(Rect(0, 0, 5, 5)); // draws nothing and must not crash
}

// Paints a pattern that tells every pixel apart: red = x, green = y.
class TPatternPanel : public TCustomPanel {
  public:
    using TCustomPanel::TCustomPanel;

  protected:
    void Paint() override {
        for (int y = 0; y < Height(); ++y)
            for (int x = 0; x < Width(); ++x)
                Canvas().SetPixel(x, y, RGB(x, y, 7));
    }
};

// Copies what lies beneath it into a bitmap of its own, then covers it.
class TReadBack : public TGraphicControl {
  public:
    using TGraphicControl::TGraphicControl;
    TBitmap Seen;

  protected:
    void Paint() override {
        Seen.SetSize(Width(), Height());
        Seen.Canvas().CopyRect(Rect(0, 0, Width(), Height()), Canvas(),
                               Rect(0, 0, Width(), Height()));
        Canvas().Brush.Color = clLime;
        Canvas().FillRect(ClientRect());
    }
};

TEST(ClassLibPainting, GraphicChildReadsBackWhatItsParentDrewBeneathIt) {
    TPatternPanel panel(nullptr);
    panel.SetBounds(0, 0, 64, 48);
    auto* reader = new TReadBack(&panel);
    reader->SetBounds(10, 12, 20, 16);
    reader->SetParent(&panel);

    TBitmap bmp;
    panel.PaintTo(bmp);

    ASSERT_EQ(reader->Seen.Width(), 20);
    ASSERT_EQ(reader->Seen.Height(), 16);
    int wrong = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 20; ++x)
            wrong += reader->Seen.PixelColor(x, y) != RGB(x + 10, y + 12, 7);
    EXPECT_EQ(wrong, 0) << "first pixel seen: " << std::hex << reader->Seen.Pixel(0, 0);
    EXPECT_EQ(bmp.Pixel(10, 12), Rgb(clLime));
    EXPECT_EQ(bmp.PixelColor(9, 12), RGB(9, 12, 7));
}

TEST(ClassLibPainting, ReadBackSeesEarlierSiblingsButNothingBeyondTheParent) {
    std::unique_ptr<TCustomPanel> panel(NewFlatPanel(clBlue, 40, 30));
    AddFiller(panel.get(), clRed, Bounds(0, 0, 35, 30));
    auto* reader = new TReadBack(panel.get());
    reader->SetBounds(30, 20, 20, 20); // 10 x 10 of it lie on the panel
    reader->SetParent(panel.get());

    TBitmap bmp;
    panel->PaintTo(bmp);

    const TBitmap& seen = reader->Seen;
    EXPECT_EQ(seen.Pixel(0, 0), Rgb(clRed)) << "the sibling painted before it";
    EXPECT_EQ(seen.Pixel(7, 5), Rgb(clBlue)) << "the panel where no sibling is";
    EXPECT_EQ(seen.Pixel(15, 15), Rgb(clBlack)) << "beyond the panel nothing is copied";
}

// Every pixel of a small canvas after Rectangle: outline, inside, or untouched.
struct TRectangleCase {
    const char* Name;
    TRect Shape;
    TPenStyle Pen;
    TBrushStyle Brush;
};

class ClassLibRectangle : public ::testing::TestWithParam<TRectangleCase> {};

TEST_P(ClassLibRectangle, OutlineIsTheOutermostRingOfPixels) {
    const TRectangleCase& tc = GetParam();
    TBitmap bmp(12, 10);
    TCanvas& canvas = bmp.Canvas();
    canvas.Pen.Color = clRed;
    canvas.Pen.Style = tc.Pen;
    canvas.Brush.Color = clBlue;
    canvas.Brush.Style = tc.Brush;
    canvas.Rectangle(tc.Shape);

    const TRect& r = tc.Shape;
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x) {
            bool inside = r.Contains({x, y});
            bool ring =
                inside && (x == r.Left || x == r.Right - 1 || y == r.Top || y == r.Bottom - 1);
            uint32_t expected = 0;
            if (ring && tc.Pen != psClear)
                expected = Rgb(clRed);
            else if (inside && tc.Brush != bsClear)
                expected = Rgb(clBlue);
            EXPECT_EQ(bmp.Pixel(x, y), expected) << "pixel " << x << "," << y;
        }
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, ClassLibRectangle,
    ::testing::Values(TRectangleCase{"Filled", Rect(2, 1, 9, 8), psSolid, bsSolid},
                      TRectangleCase{"FrameOnly", Rect(2, 1, 9, 8), psSolid, bsClear},
                      TRectangleCase{"NoPen", Rect(2, 1, 9, 8), psClear, bsSolid},
                      TRectangleCase{"TwoByTwo", Rect(4, 4, 6, 6), psSolid, bsSolid},
                      TRectangleCase{"SinglePixel", Rect(4, 4, 5, 5), psSolid, bsSolid},
                      TRectangleCase{"WholeCanvas", Rect(0, 0, 12, 10), psSolid, bsSolid},
                      TRectangleCase{"PastTheEdge", Rect(6, 5, 20, 20), psSolid, bsSolid}),
    [](const ::testing::TestParamInfo<TRectangleCase>& param) {
        return std::string(param.param.Name);
    });

// On a graphic control's canvas the outline of its client rectangle is its own outer ring.
class TFramed : public TGraphicControl {
  public:
    using TGraphicControl::TGraphicControl;

  protected:
    void Paint() override {
        Canvas().Pen.Color = clRed;
        Canvas().Brush.Color = clWhite;
        Canvas().Rectangle(ClientRect());
    }
};

TEST(ClassLibPainting, RectangleOnAGraphicControlUsesItsOwnCoordinates) {
    std::unique_ptr<TCustomPanel> panel(NewFlatPanel(clBlack, 30, 30));
    auto* framed = new TFramed(panel.get());
    framed->SetBounds(5, 7, 10, 8);
    framed->SetParent(panel.get());
    TBitmap bmp;
    panel->PaintTo(bmp);
    EXPECT_EQ(bmp.Pixel(5, 7), Rgb(clRed));
    EXPECT_EQ(bmp.Pixel(14, 14), Rgb(clRed));
    EXPECT_EQ(bmp.Pixel(14, 10), Rgb(clRed));
    EXPECT_EQ(bmp.Pixel(6, 8), Rgb(clWhite));
    EXPECT_EQ(bmp.Pixel(13, 13), Rgb(clWhite));
    EXPECT_EQ(bmp.Pixel(4, 7), Rgb(clBlack));
    EXPECT_EQ(bmp.Pixel(15, 15), Rgb(clBlack));
}

TEST(ClassLibPainting, BitmapMemoryIsBlueGreenRedThenAFourthByte) {
    TBitmap bmp(4, 3);
    bmp.Canvas().Brush.Color = RGB(0x11, 0x22, 0x33);
    bmp.Canvas().FillRect(Rect(0, 0, 4, 3));

    const uint8_t* row = bmp.ScanLine(1);
    EXPECT_EQ(row[4 * 2 + 0], 0x33);
    EXPECT_EQ(row[4 * 2 + 1], 0x22);
    EXPECT_EQ(row[4 * 2 + 2], 0x11);
    EXPECT_EQ(bmp.Pixel(2, 1), 0x112233u);
    EXPECT_EQ(bmp.PixelColor(2, 1), RGB(0x11, 0x22, 0x33));

    uint8_t* written = bmp.ScanLine(2);
    written[4 * 3 + 0] = 0x01; // blue
    written[4 * 3 + 1] = 0x02; // green
    written[4 * 3 + 2] = 0x03; // red
    EXPECT_EQ(bmp.Pixel(3, 2), 0x030201u);
    EXPECT_EQ(bmp.Canvas().Pixel(3, 2), RGB(0x03, 0x02, 0x01));
    EXPECT_EQ(bmp.Pixel(3, 1), 0x112233u) << "rows are separate";
}

TEST(ClassLibPainting, NewBitmapSizeStartsBlack) {
    TBitmap bmp(3, 3);
    bmp.Canvas().Brush.Color = clWhite;
    bmp.Canvas().FillRect(Rect(0, 0, 3, 3));
    bmp.SetSize(5, 4);
    EXPECT_EQ(bmp.Pixel(0, 0), 0u);
    EXPECT_EQ(bmp.Pixel(4, 3), 0u);
}

TEST(ClassLibPainting, TextWithClearBrushKeepsTheBackground) {
    for (TBrushStyle style : {bsClear, bsSolid}) {
        SCOPED_TRACE(style == bsClear ? "clear brush" : "solid brush");
        TBitmap bmp(80, 30);
        TCanvas& canvas = bmp.Canvas();
        canvas.Brush.Style = bsSolid;
        canvas.Brush.Color = RGB(1, 2, 3);
        canvas.FillRect(Rect(0, 0, 80, 30));
        canvas.Brush.Color = clRed;
        canvas.Brush.Style = style;
        canvas.Font.SetColor(clWhite);
        canvas.TextOut(4, 4, "HHgg");
        int brushPixels = 0, textPixels = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 80; ++x) {
                brushPixels += bmp.Pixel(x, y) == Rgb(clRed);
                textPixels += bmp.Pixel(x, y) != Rgb(clRed) && bmp.Pixel(x, y) != Rgb(RGB(1, 2, 3));
            }
        EXPECT_GT(textPixels, 0) << "the text was drawn";
        if (style == bsClear)
            EXPECT_EQ(brushPixels, 0);
        else
            EXPECT_GT(brushPixels, 0);
    }
}

// A child whose paint fails is reported once; the children above it still paint.
TEST(ClassLibPainting, FailingChildPaintIsShownAndLaterChildrenStillPaint) {
    auto previous = TMessageBox::SetHook(
        [](QWidget*, const std::string&, const std::string&, unsigned) { return IDOK; });
    std::unique_ptr<TCustomPanel> panel(NewFlatPanel(clBlack, 30, 10));
    TFiller* faulty = AddFiller(panel.get(), clRed, Bounds(0, 0, 10, 10));
    faulty->BeforeFill = [] { throw std::runtime_error("paint failed"); };
    AddFiller(panel.get(), clLime, Bounds(20, 0, 10, 10));
    const int before = Application->ExceptionCount();

    TBitmap bmp;
    panel->PaintTo(bmp);

    EXPECT_EQ(Application->ExceptionCount(), before + 1);
    EXPECT_EQ(bmp.Pixel(25, 5), Rgb(clLime));
    EXPECT_EQ(faulty->Canvas().Target(), nullptr);
    TMessageBox::SetHook(previous);
}

// On the screen every window paints through one shared off-screen image: each paint must show
// its own window, whatever painted before it or starts while it paints.
QImage Grab(TWinControl* control) { return control->Handle()->grab().toImage(); }

bool IsFilled(const QImage& image, TColor color, QRect area) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != Rgb(color)) return false;
    return true;
}

TEST(ClassLibScreenPainting, WindowsOfDifferentSizesEachShowTheirOwnPixels) {
    std::unique_ptr<TCustomPanel> large(NewFlatPanel(clRed, 120, 80));
    std::unique_ptr<TCustomPanel> small(NewFlatPanel(clLime, 30, 20));
    AddFiller(small.get(), clBlue, Bounds(10, 5, 10, 10));
    for (TCustomPanel* panel : {large.get(), small.get(), large.get(), small.get()}) {
        const QImage shot = Grab(panel);
        ASSERT_EQ(shot.size(), QSize(panel->Width(), panel->Height()));
        if (panel == large.get()) {
            EXPECT_TRUE(IsFilled(shot, clRed, shot.rect()));
        } else {
            EXPECT_TRUE(IsFilled(shot, clLime, QRect(0, 0, 10, 20)));
            EXPECT_TRUE(IsFilled(shot, clBlue, QRect(10, 5, 10, 10)));
            EXPECT_TRUE(IsFilled(shot, clLime, QRect(20, 0, 10, 20)));
        }
    }
    // The smaller window painted into the memory the larger one left, not into memory of its own.
    EXPECT_GE(TPaintBuffer::SharedBytes(), std::size_t(120 * 80 * 4));
}

TEST(ClassLibScreenPainting, WindowPaintedWhileAnotherPaintsDoesNotOverwriteIt) {
    std::unique_ptr<TCustomPanel> outer(NewFlatPanel(clNavy, 60, 40));
    std::unique_ptr<TCustomPanel> inner(NewFlatPanel(clYellow, 100, 70));
    TFiller* filler = AddFiller(outer.get(), clLime, Bounds(40, 0, 20, 40));
    QImage innerShot;
    filler->BeforeFill = [&] { innerShot = Grab(inner.get()); };

    const QImage outerShot = Grab(outer.get());

    EXPECT_TRUE(IsFilled(outerShot, clNavy, QRect(0, 0, 40, 40)));
    EXPECT_TRUE(IsFilled(outerShot, clLime, QRect(40, 0, 20, 40)));
    ASSERT_EQ(innerShot.size(), QSize(100, 70));
    EXPECT_TRUE(IsFilled(innerShot, clYellow, innerShot.rect()));
}

} // namespace
