// Feeds arbitrary bytes to the Rich Text reader. The help window hands the reader's strings
// straight to Qt as UTF-8, so besides "no crash, no hang, no leak" every string that comes out
// must be valid UTF-8, and the counts and lengths the reader promises to clamp must stay clamped.
#include "classlib/rtfreader.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void Broken(const char* promise, std::string_view detail) {
    std::fprintf(stderr, "fuzz_rtf: %s: \"%.*s\"\n", promise, static_cast<int>(detail.size()),
                 detail.data());
    std::abort();
}

// Length of the UTF-8 sequence a lead byte announces; 0 for bytes that cannot start one
// (continuation bytes, the overlong leads C0/C1, and F5..FF beyond U+10FFFF).
int SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The second byte narrows the range for the leads that could otherwise encode overlong forms,
// surrogates (ED A0..BF) or values past U+10FFFF (F4 90..).
bool SecondByteAllowed(unsigned char lead, unsigned char second) {
    switch (lead) {
    case 0xE0:
        return second >= 0xA0;
    case 0xED:
        return second <= 0x9F;
    case 0xF0:
        return second >= 0x90;
    case 0xF4:
        return second <= 0x8F;
    default:
        return true;
    }
}

bool IsValidUtf8(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = SequenceLength(lead);
        if (length == 0 || text.size() - i < static_cast<size_t>(length)) return false;
        for (int k = 1; k < length; ++k)
            if (!IsContinuation(static_cast<unsigned char>(text[i + k]))) return false;
        if (length > 1 && !SecondByteAllowed(lead, static_cast<unsigned char>(text[i + 1])))
            return false;
        i += static_cast<size_t>(length);
    }
    return true;
}

void CheckUtf8(const char* what, std::string_view text) {
    if (!IsValidUtf8(text)) Broken(what, text);
}

// A name is cut once it reaches the limit, so the last character may take it up to 3 bytes over.
void CheckFontName(std::string_view name) {
    CheckUtf8("font name is not UTF-8", name);
    if (name.size() > TRtfReader::MaxFontNameBytes + 3) Broken("font name not clamped", name);
}

void CheckDocument(const TRtfDocument& document) {
    if (document.Fonts.size() > TRtfReader::MaxTableEntries) Broken("font table not clamped", "");
    if (document.Colors.size() > TRtfReader::MaxTableEntries)
        Broken("colour table not clamped", "");
    for (const std::string& font : document.Fonts)
        CheckFontName(font);
    for (const TRtfParagraph& paragraph : document.Paragraphs)
        for (const TRtfRun& run : paragraph.Runs) {
            CheckUtf8("run text is not UTF-8", run.Text);
            CheckFontName(run.FontName);
            if (run.Text.empty()) Broken("empty run", "");
            if (run.HalfPoints < TRtfReader::MinHalfPoints ||
                run.HalfPoints > TRtfReader::MaxHalfPoints)
                Broken("font size not clamped", std::to_string(run.HalfPoints));
            if (run.Color > 0xFFFFFF)
                Broken("colour outside 0x00BBGGRR", std::to_string(run.Color));
        }
    CheckUtf8("plain text is not UTF-8", document.PlainText());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view rtf(reinterpret_cast<const char*>(data), size);
    bool wellFormed = true;
    CheckDocument(TRtfReader::Read(rtf, &wellFormed));
    return 0;
}
