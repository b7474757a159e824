#include "classlib/bitmap.h"

#include "classlib/canvas.h"

#include <QImage>

TBitmap::TBitmap() : FImage(std::make_unique<QImage>()), FCanvas(std::make_unique<TCanvas>()) {}

TBitmap::TBitmap(int width, int height) : TBitmap() { SetSize(width, height); }

TBitmap::~TBitmap() = default;

int TBitmap::Width() const { return FImage->width(); }
int TBitmap::Height() const { return FImage->height(); }

void TBitmap::SetSize(int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    if (width == Width() && height == Height()) return;
    if (width == 0 || height == 0)
        *FImage = QImage();
    else {
        *FImage = QImage(width, height, QImage::Format_RGB32);
        FImage->fill(Qt::black);
    }
    FCanvas->SetTarget(FImage.get());
    Changed();
}

uint8_t* TBitmap::ScanLine(int y) { return FImage->scanLine(y); }
const uint8_t* TBitmap::ScanLine(int y) const { return FImage->constScanLine(y); }

uint32_t TBitmap::Pixel(int x, int y) const {
    return reinterpret_cast<const uint32_t*>(FImage->constScanLine(y))[x] & 0xFFFFFF;
}

TColor TBitmap::PixelColor(int x, int y) const {
    uint32_t p = Pixel(x, y);
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

TCanvas& TBitmap::Canvas() {
    if (FCanvas->Target() != FImage.get()) FCanvas->SetTarget(FImage.get());
    return *FCanvas;
}

void TBitmap::Draw(TCanvas& canvas, const TRect& dest) const {
    // Drawing through the canvas keeps origin and clip handling in one place.
    TBitmap* self = const_cast<TBitmap*>(this);
    if (dest.Width() == Width() && dest.Height() == Height())
        canvas.CopyRect(dest, self->Canvas(), Rect(0, 0, Width(), Height()));
    else
        canvas.StretchDraw(dest, *this);
}

const QImage* TBitmap::Image() const { return FImage->isNull() ? nullptr : FImage.get(); }
QImage* TBitmap::MutableImage() { return FImage.get(); }

TGraphic* TBitmap::Clone() const {
    auto* copy = new TBitmap();
    copy->AssignImage(*FImage);
    return copy;
}

void TBitmap::AssignImage(const QImage& image) {
    *FImage = image.isNull() ? QImage() : image.convertToFormat(QImage::Format_RGB32);
    FCanvas->SetTarget(FImage.get());
    Changed();
}
