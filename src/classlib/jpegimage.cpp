#include "classlib/jpegimage.h"

#include "classlib/canvas.h"
#include "classlib/exceptions.h"
#include "classlib/jpegdecoder.h"

#include <QImage>

#include <vector>

TJPEGImage::TJPEGImage() : FImage(std::make_unique<QImage>()) {}
TJPEGImage::~TJPEGImage() = default;

int TJPEGImage::Width() const { return FImage->width(); }
int TJPEGImage::Height() const { return FImage->height(); }

namespace {
// The decoded rows already have the layout of a 32-bit image: the image takes over the buffer
// instead of copying it, which saves a picture-sized allocation and copy at every load.
QImage WrapPixels(TDecodedImage&& decoded) {
    auto* pixels = new std::vector<uint8_t>(std::move(decoded.Pixels));
    return QImage(
        pixels->data(), decoded.Width, decoded.Height, decoded.Width * 4, QImage::Format_RGB32,
        [](void* buffer) { delete static_cast<std::vector<uint8_t>*>(buffer); }, pixels);
}
} // namespace

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
    *FImage = WrapPixels(std::move(decoded));
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
