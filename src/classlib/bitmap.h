// A 32-bit off-screen bitmap: blue, green, red and a fourth byte per pixel, rows addressable.
#pragma once

#include "classlib/graphic.h"

#include <memory>

class TCanvas;

class TBitmap : public TGraphic {
  public:
    TBitmap();
    TBitmap(int width, int height);
    ~TBitmap() override;
    DECLARE_CLASS_NAME(TBitmap)

    int Width() const override;
    int Height() const override;
    void SetWidth(int width) { SetSize(width, FImage ? Height() : 0); }
    void SetHeight(int height) { SetSize(Width(), height); }
    // Keeps nothing of the old pixels; a new size starts black.
    void SetSize(int width, int height);
    // Row `y`, 4 bytes per pixel (blue, green, red, unused).
    uint8_t* ScanLine(int y);
    const uint8_t* ScanLine(int y) const;
    uint32_t Pixel(int x, int y) const; // 0x00RRGGBB
    TColor PixelColor(int x, int y) const;
    TCanvas& Canvas();

    void Draw(TCanvas& canvas, const TRect& dest) const override;
    const QImage* Image() const override;
    QImage* MutableImage();
    TGraphic* Clone() const override;
    void AssignImage(const QImage& image);

  private:
    std::unique_ptr<QImage> FImage;
    std::unique_ptr<TCanvas> FCanvas;
};
