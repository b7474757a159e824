// Feeds arbitrary bytes to the JPEG decoder and to the stored-picture loader that wraps it.
// Besides "no crash, no leak", the decoder's promises are checked: a success gives a picture of
// the size ReadSize reports with opaque pixels, a failure gives a reason and nothing else, and
// the picture class agrees with the decoder it is built on.
#include "classlib/exceptions.h"
#include "classlib/jpegdecoder.h"
#include "classlib/picture.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

[[noreturn]] void Broken(const char* promise, const std::string& detail) {
    std::fprintf(stderr, "fuzz_jpeg: %s (%s)\n", promise, detail.c_str());
    std::abort();
}

void CheckDecodedImage(const TDecodedImage& image) {
    const size_t expected = size_t(image.Width) * size_t(image.Height) * 4;
    if (image.Width <= 0 || image.Height <= 0 || image.Width > TJPEGDecoder::MaxDimension ||
        image.Height > TJPEGDecoder::MaxDimension)
        Broken("decoded size outside the limits",
               std::to_string(image.Width) + " x " + std::to_string(image.Height));
    if (image.Pixels.size() != expected)
        Broken("pixel buffer does not match the size", std::to_string(image.Pixels.size()));
    for (size_t i = 3; i < image.Pixels.size(); i += 4)
        if (image.Pixels[i] != 0xFF) Broken("pixel not opaque", "offset " + std::to_string(i));
}

// Returns the decoded size, or 0 x 0 when the decoder refused the data.
std::pair<int, int> CheckDecoder(const uint8_t* data, size_t size) {
    TDecodedImage image;
    std::string error;
    const bool decoded = TJPEGDecoder::Decode(data, size, image, error);
    if (!decoded) {
        if (error.empty()) Broken("failure without a reason", "");
        if (image.Width != 0 || image.Height != 0 || !image.Pixels.empty())
            Broken("failure left pixels behind", error);
        return {0, 0};
    }
    if (!error.empty()) Broken("success with an error message", error);
    CheckDecodedImage(image);
    int width = 0, height = 0;
    if (!TJPEGDecoder::ReadSize(data, size, width, height, error) || width != image.Width ||
        height != image.Height)
        Broken("ReadSize disagrees with Decode", error);
    return {image.Width, image.Height};
}

// The bytes as a whole stored picture: exercises the class name and length framing.
void CheckStoredData(const std::vector<uint8_t>& bytes) {
    TPicture picture;
    try {
        picture.LoadFromStoredData(bytes);
    } catch (const EInvalidGraphic&) {
        if (picture.Graphic()) Broken("a rejected picture kept a graphic", "");
    }
}

// The bytes as the JPEG inside a well-framed stored picture: the picture must decode exactly
// when the decoder does, to the same size.
void CheckWrappedJpeg(const std::vector<uint8_t>& bytes, std::pair<int, int> decodedSize) {
    TPicture picture;
    bool loaded = true;
    try {
        picture.LoadFromStoredData(TPicture::MakeStoredData("TJPEGImage", bytes));
    } catch (const EInvalidGraphic&) {
        loaded = false;
    }
    const bool decoded = decodedSize.first != 0;
    if (loaded != decoded) Broken("picture and decoder disagree on the same JPEG", "");
    if (loaded && (picture.Width() != decodedSize.first || picture.Height() != decodedSize.second))
        Broken("picture size differs from the decoded size", "");
    if (!loaded && picture.Graphic()) Broken("a rejected picture kept a graphic", "");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::pair<int, int> decodedSize = CheckDecoder(data, size);
    const std::vector<uint8_t> bytes(data, data + size);
    CheckStoredData(bytes);
    CheckWrappedJpeg(bytes, decodedSize);
    return 0;
}
