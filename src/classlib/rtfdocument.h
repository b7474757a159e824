// A rich-text help document as plain data. No toolkit types here so the reader can be tested
// and fuzzed without a screen; the help window builds its own text document from this.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A stretch of text sharing one character format.
struct TRtfRun {
    // UTF-8. A forced line break inside the paragraph is U+2028 LINE SEPARATOR, which is what a
    // rich-text box expects there (a '\n' would start a new paragraph).
    std::string Text;
    // Empty when the document names a font its font table does not have.
    std::string FontName;
    int HalfPoints = 24;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    // 0x00BBGGRR like a Windows COLORREF; 0 is also what the document's "automatic" colour gives.
    uint32_t Color = 0;
};

struct TRtfParagraph {
    std::vector<TRtfRun> Runs;
};

struct TRtfDocument {
    std::vector<TRtfParagraph> Paragraphs;
    // Indexed by the font number the document uses; numbers its table skipped hold "".
    std::vector<std::string> Fonts;
    // 0x00BBGGRR, in table order.
    std::vector<uint32_t> Colors;

    // Paragraphs joined with '\n'; line breaks inside a paragraph become '\n' too, since plain
    // text cannot tell the two apart.
    std::string PlainText() const;
};
