#pragma once

#include <cstdint>
#include <vector>

class QImage;

// Encodes the photo the way a camera-side export would: progressive, YCbCr 4:2:0, a JFIF header
// carrying the print resolution and an Exif block with the camera metadata.
class TJpegWriter {
  public:
    struct TOptions {
        int Quality = 85;
        int DotsPerInch = 300;
        std::vector<uint8_t> Exif; // APP1 payload, written right after the JFIF header
    };

    // libjpeg's own error handler ends the process with its message: for this build-time tool
    // that is the right reaction to an encoder failure.
    static std::vector<uint8_t> Encode(const QImage& image, const TOptions& options);
};
