#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The camera metadata a photo of the card carries: an Exif APP1 payload ("Exif\0\0" followed by a
// little-endian TIFF structure with IFD0 and an Exif sub-IFD).
class TExifBlock {
  public:
    struct TCamera {
        std::string Make;
        std::string Model;
        std::string Software;
        std::string DateTime; // "YYYY:MM:DD HH:MM:SS"
        int DotsPerInch = 300;
        int Width = 0;
        int Height = 0;
    };

    static std::vector<uint8_t> Build(const TCamera& camera);
};
