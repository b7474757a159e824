// Drawing onto a 32-bit bitmap, with an origin and clip so a graphic control can draw on its
// parent's bitmap in its own coordinates and read back what lies beneath it.
#pragma once

#include "classlib/font.h"
#include "classlib/object.h"
#include "classlib/types.h"

#include <string>

class QImage;
class QPainter;
class TGraphic;

enum TBrushStyle : uint8_t { bsSolid, bsClear };
enum TPenStyle : uint8_t { psSolid, psDash, psDot, psClear };

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = psSolid;
};

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
};

class TCanvas : public TObject {
  public:
    TCanvas() = default;
    explicit TCanvas(QImage* target);
    DECLARE_CLASS_NAME(TCanvas)

    // Where drawing goes: the target image, the target position of (0, 0) and the clip
    // rectangle in canvas coordinates. A canvas without target draws nothing.
    void SetTarget(QImage* target, TPoint origin, TRect clip);
    void SetTarget(QImage* target);
    QImage* Target() const { return FTarget; }
    TPoint Origin() const { return FOrigin; }
    TRect ClipRect() const { return FClip; }

    TPen Pen;
    TBrush Brush;
    TFont Font;

    void FillRect(const TRect& rect);
    // Outline in the pen colour, inside filled with the brush (unless clear).
    void Rectangle(const TRect& rect);
    void FrameRect(const TRect& rect);
    void TextOut(int x, int y, const std::string& text);
    void TextRect(const TRect& rect, const std::string& text, TAlignment alignment);
    int TextWidth(const std::string& text) const;
    int TextHeight(const std::string& text) const;
    void Draw(int x, int y, const TGraphic& graphic);
    void StretchDraw(const TRect& dest, const TGraphic& graphic);
    // Pixel copy of `src` (in the source canvas's coordinates) into `dest` of this canvas.
    void CopyRect(const TRect& dest, const TCanvas& source, const TRect& src);
    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);

  private:
    bool BeginPainter(QPainter& painter) const;
    TRect TargetClip() const;
    QImage* FTarget = nullptr;
    TPoint FOrigin;
    TRect FClip;
};
