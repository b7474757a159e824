#include "exifblock.h"

#include <algorithm>

namespace {

enum : uint16_t { Ascii = 2, Short = 3, Long = 4, Rational = 5, Undefined = 7 };

struct TEntry {
    uint16_t Tag;
    uint16_t Type;
    uint32_t Count;
    std::vector<uint8_t> Value; // little-endian, already in its final byte form
};

void Put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

TEntry AsciiEntry(uint16_t tag, const std::string& text) {
    std::vector<uint8_t> value(text.begin(), text.end());
    value.push_back(0);
    return {tag, Ascii, uint32_t(value.size()), value};
}

TEntry ShortEntry(uint16_t tag, uint16_t number) {
    std::vector<uint8_t> value;
    Put16(value, number);
    return {tag, Short, 1, value};
}

TEntry LongEntry(uint16_t tag, uint32_t number) {
    std::vector<uint8_t> value;
    Put32(value, number);
    return {tag, Long, 1, value};
}

TEntry RationalEntry(uint16_t tag, uint32_t numerator, uint32_t denominator) {
    std::vector<uint8_t> value;
    Put32(value, numerator);
    Put32(value, denominator);
    return {tag, Rational, 1, value};
}

TEntry UndefinedEntry(uint16_t tag, const std::string& bytes) {
    return {tag, Undefined, uint32_t(bytes.size()),
            std::vector<uint8_t>(bytes.begin(), bytes.end())};
}

size_t DirectorySize(const std::vector<TEntry>& entries) {
    size_t size = 2 + entries.size() * 12 + 4;
    for (const TEntry& entry : entries)
        if (entry.Value.size() > 4)
            size += (entry.Value.size() + 1) & ~size_t(1); // values start on word boundaries
    return size;
}

// Appends one IFD that starts at TIFF offset `offset`; values longer than four bytes follow the
// directory, as the TIFF layout requires.
void AppendDirectory(std::vector<uint8_t>& tiff, std::vector<TEntry> entries, uint32_t offset) {
    std::sort(entries.begin(), entries.end(),
              [](const TEntry& a, const TEntry& b) { return a.Tag < b.Tag; });
    uint32_t dataOffset = offset + uint32_t(2 + entries.size() * 12 + 4);
    std::vector<uint8_t> data;
    Put16(tiff, uint32_t(entries.size()));
    for (const TEntry& entry : entries) {
        Put16(tiff, entry.Tag);
        Put16(tiff, entry.Type);
        Put32(tiff, entry.Count);
        if (entry.Value.size() <= 4) {
            std::vector<uint8_t> inline4 = entry.Value;
            inline4.resize(4, 0);
            tiff.insert(tiff.end(), inline4.begin(), inline4.end());
            continue;
        }
        Put32(tiff, dataOffset + uint32_t(data.size()));
        data.insert(data.end(), entry.Value.begin(), entry.Value.end());
        if (data.size() % 2 != 0) data.push_back(0);
    }
    Put32(tiff, 0); // no further IFD
    tiff.insert(tiff.end(), data.begin(), data.end());
}

} // namespace

std::vector<uint8_t> TExifBlock::Build(const TCamera& camera) {
    const uint32_t dpi = uint32_t(camera.DotsPerInch);
    std::vector<TEntry> main = {
        AsciiEntry(0x010F, camera.Make),
        AsciiEntry(0x0110, camera.Model),
        ShortEntry(0x0112, 1), // orientation: top-left
        RationalEntry(0x011A, dpi, 1),
        RationalEntry(0x011B, dpi, 1),
        ShortEntry(0x0128, 2), // resolution unit: inch
        AsciiEntry(0x0131, camera.Software),
        AsciiEntry(0x0132, camera.DateTime),
        ShortEntry(0x0213, 1), // YCbCr positioning: centred
        LongEntry(0x8769, 0),  // Exif IFD pointer, set below
    };
    const std::vector<TEntry> exif = {
        RationalEntry(0x829A, 1, 60),               // exposure time
        RationalEntry(0x829D, 8, 1),                // f-number
        ShortEntry(0x8827, 100),                    // ISO speed
        UndefinedEntry(0x9000, "0232"),             // Exif version
        AsciiEntry(0x9003, camera.DateTime),        // taken
        AsciiEntry(0x9004, camera.DateTime),        // digitised
        RationalEntry(0x920A, 50, 1),               // focal length
        ShortEntry(0xA001, 1),                      // sRGB
        LongEntry(0xA002, uint32_t(camera.Width)),  // pixel width
        LongEntry(0xA003, uint32_t(camera.Height)), // pixel height
    };
    const uint32_t mainOffset = 8;
    const uint32_t exifOffset = mainOffset + uint32_t(DirectorySize(main));
    main.back() = LongEntry(0x8769, exifOffset);

    std::vector<uint8_t> tiff = {'I', 'I', 42, 0};
    Put32(tiff, mainOffset);
    AppendDirectory(tiff, main, mainOffset);
    AppendDirectory(tiff, exif, exifOffset);

    std::vector<uint8_t> block = {'E', 'x', 'i', 'f', 0, 0};
    block.insert(block.end(), tiff.begin(), tiff.end());
    return block;
}
