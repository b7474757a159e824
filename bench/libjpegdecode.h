// The plainest use of libjpeg: decode a JPEG held in memory into 4-byte BGRA pixels, the layout
// of QImage::Format_RGB32. The baseline program and the decoder benchmark both use it, so the
// program's own decoder is compared with libjpeg doing exactly the same job and nothing more.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct TPlainJpeg {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Pixels; // rows packed, Width * 4 bytes each
};

// False on a corrupt or unsupported file; libjpeg's message goes to stderr.
bool DecodeJpegBgra(const uint8_t* data, size_t size, TPlainJpeg& image);

// The whole file, or an empty vector if it cannot be read.
std::vector<uint8_t> ReadWholeFile(const std::string& path);
