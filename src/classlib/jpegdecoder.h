#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A decoded picture: 4 bytes per pixel in the order blue, green, red, 0xFF, rows packed
// (stride = Width * 4). This is the memory layout of QImage::Format_RGB32 on little-endian
// machines, so the picture class can wrap it without converting.
struct TDecodedImage {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Pixels;
};

// Decodes JPEG data held in memory. It is fed files from disk and fuzzer input alike, so every
// failure comes back as false plus an English message: it never exits, throws or prints.
// Colour (YCbCr, RGB) and grayscale pictures are decoded; CMYK/YCCK pictures are rejected.
class TJPEGDecoder {
  public:
    static constexpr int MaxDimension = 16384;
    static constexpr long long MaxPixels = 40'000'000;
    // Real progressive files have about ten scans; hundreds only come from hostile files that
    // try to make us re-process the whole coefficient buffer over and over.
    static constexpr int MaxScans = 500;
    // Every progressive scan passes over the whole picture, so the work grows with scans times
    // pixels: a kilobyte of arithmetic-coded scans over a large flat picture keeps the decoder
    // busy for many seconds. A 40-megapixel photograph in the usual ten scans needs 400 million.
    static constexpr long long MaxScanPixels = 1'000'000'000;

    // Fills image and returns true, or returns false with the reason in error and image empty.
    static bool Decode(const uint8_t* data, size_t size, TDecodedImage& image, std::string& error);

    // Reads only the header. Applies the same size limits as Decode, so a true answer means the
    // dimensions are acceptable; width and height are 0 on failure.
    static bool ReadSize(const uint8_t* data, size_t size, int& width, int& height,
                         std::string& error);
};
