#include "classlib/jpegimage.h"

#include "classlib/canvas.h"
#include "classlib/exceptions.h"
#include "classlib/jpegdecoder.h"

#include <QImage>

#include <cstring>

TJPEGImage::TJPEGImage() : FImage(std::make_unique<QImage>()) {}
TJPEGImage::~TJPEGImage() = default;

int TJPEGImage::Width() const { return FImage->width(); }
int TJPEGImage::Height() const { return FImage->height(); }

void TJPEGImage::LoadFromBytes(const uint8_t* data, size_t size) {
    TDecodedImage decoded;
    std::string error;
    if (!TJPEGDecoder::Decode(data, size, decoded, error)) {
        FData.clear();
        *FImage = QImage();
        Changed();
        throw EInvalidGraphic("JPEG error: " + error);
    }
    FData.assign(data, data + size);
    QImage image(decoded.Width, decoded.Height, QImage::Format_RGB32);
    for (int y = 0; y < decoded.Height; ++y)
        std::memcpy(image.scanLine(y), decoded.Pixels.data() + static_cast<size_t>(y) * decoded.Width * 4,
                    static_cast<size_t>(decoded.Width) * 4);
    *FImage = std::move(image);
    Changed();
}

void TJPEGImage::Draw(TCanvas& canvas, const TRect& dest) const { canvas.StretchDraw(dest, *this); }

const QImage* TJPEGImage::Image() const { return FImage->isNull() ? nullptr : FImage.get(); }

TGraphic* TJPEGImage::Clone() const {
    auto* copy = new TJPEGImage();
    copy->FData = FData;
    *copy->FImage = *FImage;
    copy->SetTransparent(Transparent());
    return copy;
}
