// A JPEG picture: the compressed bytes and their pixels, decoded by libjpeg.
#pragma once

#include "classlib/graphic.h"

#include <cstdint>
#include <memory>
#include <vector>

class TJPEGImage : public TGraphic {
  public:
    TJPEGImage();
    ~TJPEGImage() override;
    DECLARE_CLASS_NAME(TJPEGImage)

    int Width() const override;
    int Height() const override;
    // Decodes at once; raises EInvalidGraphic (and stays empty) when the data is no usable JPEG.
    void LoadFromBytes(const uint8_t* data, size_t size);
    const std::vector<uint8_t>& Data() const { return FData; }

    void Draw(TCanvas& canvas, const TRect& dest) const override;
    const QImage* Image() const override;
    TGraphic* Clone() const override;

  private:
    std::vector<uint8_t> FData;
    std::unique_ptr<QImage> FImage;
};
