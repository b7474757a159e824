#include "classlib/rtfreader.h"

#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace {

std::string Repeat(std::string_view piece, size_t count) {
    std::string out;
    out.reserve(piece.size() * count);
    for (size_t i = 0; i < count; ++i) out += piece;
    return out;
}

bool IsValidUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t length = 1;
        char32_t cp = lead;
        if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            cp = lead & 0x07;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            cp = lead & 0x0F;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            cp = lead & 0x1F;
        } else if (lead >= 0x80) {
            return false;
        }
        if (i + length > text.size()) return false;
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (next & 0x3F);
        }
        const char32_t shortest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < shortest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

bool DocumentIsValidUtf8(const TRtfDocument& document) {
    for (const TRtfParagraph& paragraph : document.Paragraphs)
        for (const TRtfRun& run : paragraph.Runs)
            if (!IsValidUtf8(run.Text) || !IsValidUtf8(run.FontName)) return false;
    for (const std::string& font : document.Fonts)
        if (!IsValidUtf8(font)) return false;
    return true;
}

std::string Body(std::string_view body) { return "{\\rtf1\\ansi " + std::string(body) + "}"; }

// ---------------------------------------------------------------------------------------------
// The shape of the help documents shipped with the program.

class TRtfHelpDocument : public ::testing::Test {
  protected:
    static constexpr const char* kSource =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033"
        "{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 Verdana;}}\r\n"
        "{\\colortbl\\red64\\green64\\blue64;\\red255\\green255\\blue64;"
        "\\red64\\green64\\blue255;\\red255\\green64\\blue64;}\r\n"
        "\\viewkind4\\uc1\\pard\\f0\\fs32\\cf0\\b Settings Help\\b0\\par\r\n"
        "\\fs24 Pick a port \\emdash  then press Apply.\\par\r\n"
        "{\\cf1\\fs24\\b Yellow circles} mark inputs, {\\cf2 blue} outputs.\\par\r\n"
        "}\r\n";

    void SetUp() override { FDocument = TRtfReader::Read(kSource, &FWellFormed); }

    const TRtfParagraph& Paragraph(size_t index) const { return FDocument.Paragraphs.at(index); }

    TRtfDocument FDocument;
    bool FWellFormed = false;
};

TEST_F(TRtfHelpDocument, IsWellFormedAndSplitsParagraphsAtPar) {
    EXPECT_TRUE(FWellFormed);
    ASSERT_EQ(FDocument.Paragraphs.size(), 3u);
    EXPECT_EQ(FDocument.PlainText(), "Settings Help\n"
                                     "Pick a port \u2014 then press Apply.\n"
                                     "Yellow circles mark inputs, blue outputs.");
}

TEST_F(TRtfHelpDocument, ReadsFontAndColourTablesInColorrefOrder) {
    EXPECT_EQ(FDocument.Fonts, std::vector<std::string>{"Verdana"});
    EXPECT_EQ(FDocument.Colors, (std::vector<uint32_t>{0x00404040, 0x0040FFFF, 0x00FF4040, 0x004040FF}));
}

TEST_F(TRtfHelpDocument, TitleIsOneBold16PointRun) {
    ASSERT_EQ(Paragraph(0).Runs.size(), 1u);
    const TRtfRun& title = Paragraph(0).Runs[0];
    EXPECT_EQ(title.Text, "Settings Help");
    EXPECT_TRUE(title.Bold);
    EXPECT_EQ(title.HalfPoints, 32);
    EXPECT_EQ(title.FontName, "Verdana");
    EXPECT_EQ(title.Color, 0x00404040u);
}

TEST_F(TRtfHelpDocument, EmdashConsumesOnlyItsDelimiterSpace) {
    ASSERT_EQ(Paragraph(1).Runs.size(), 1u);
    const TRtfRun& body = Paragraph(1).Runs[0];
    EXPECT_EQ(body.Text, "Pick a port \u2014 then press Apply.");
    EXPECT_EQ(body.HalfPoints, 24);
    EXPECT_FALSE(body.Bold);
}

TEST_F(TRtfHelpDocument, ColouredGroupsPickTheirEntryAndFormattingComesBackAfterThem) {
    const std::vector<TRtfRun>& runs = Paragraph(2).Runs;
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ(runs[0].Text, "Yellow circles");
    EXPECT_TRUE(runs[0].Bold);
    EXPECT_EQ(runs[0].Color, 0x0040FFFFu);

    EXPECT_EQ(runs[1].Text, " mark inputs, ");
    EXPECT_FALSE(runs[1].Bold);
    EXPECT_EQ(runs[1].Color, 0x00404040u);
    EXPECT_EQ(runs[1].HalfPoints, 24);

    EXPECT_EQ(runs[2].Text, "blue");
    EXPECT_EQ(runs[2].Color, 0x00FF4040u);
    EXPECT_EQ(runs[3].Text, " outputs.");
    EXPECT_EQ(runs[3].Color, 0x00404040u);
}

// ---------------------------------------------------------------------------------------------
// What each piece of text turns into.

struct TTextCase {
    const char* Name;
    const char* Body;
    const char* Expected;
};

void PrintTo(const TTextCase& testCase, std::ostream* out) { *out << testCase.Name; }

class TRtfText : public ::testing::TestWithParam<TTextCase> {};

TEST_P(TRtfText, GivesExpectedPlainText) {
    bool wellFormed = false;
    const TRtfDocument document = TRtfReader::Read(Body(GetParam().Body), &wellFormed);
    EXPECT_EQ(document.PlainText(), GetParam().Expected);
    EXPECT_TRUE(wellFormed);
}

const TTextCase kTextCases[] = {
    {"EscapedSpecials", "a\\\\b\\{c\\}d", "a\\b{c}d"},
    {"NonBreakingSpace", "a\\~b", "a\u00A0b"},
    {"OptionalAndNonBreakingHyphen", "a\\-b\\_c", "a\u00ADb\u2011c"},
    {"Tab", "a\\tab b", "a\tb"},
    {"LineBreakInsideParagraph", "a\\line b", "a\nb"},
    {"Punctuation", "\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote", "\u2013\u2022\u2018\u2019\u201C\u201D"},
    {"SourceLineEndsIgnored", "a\r\nb\rc\nd", "abcd"},
    {"EscapedLineEndIsParagraph", "a\\\nb", "a\nb"},
    {"TrailingParAddsNoEmptyParagraph", "a\\par b\\par", "a\nb"},
    {"DoubleParKeepsEmptyParagraph", "a\\par\\par b", "a\n\nb"},
    {"NegativeParameterThenText", "\\li-360 x", "x"},
    {"Cp1252Euro", "\\'80", "\u20AC"},
    {"Cp1252EAcute", "\\'e9", "\u00E9"},
    {"Cp1252UpperCaseHex", "\\'C9\\'9F", "\u00C9\u0178"},
    {"Cp1252UnassignedStaysC1", "\\'81", "\u0081"},
    {"RawHighByteIsCp1252", "\x93q\x94", "\u201Cq\u201D"},
    {"UnicodeSkipsOneFallback", "\\u8364?x", "\u20ACx"},
    {"UnicodeFallbackMayBeHexEscape", "\\u233\\'e9x", "\u00E9x"},
    {"UnicodeNegativeAdds65536", "\\u-255?", "\uFF01"},
    {"UnicodeSurrogatePair", "\\u-10179?\\u-8704?", "\U0001F600"},
    {"UnicodeLoneHighSurrogate", "\\u-10179?x", "\uFFFDx"},
    {"UnicodeLoneLowSurrogate", "\\u-8704?x", "\uFFFDx"},
    {"UcTwoSkipsTwo", "\\uc2\\u8364ABx", "\u20ACx"},
    {"UcZeroSkipsNothing", "\\uc0\\u8364 x", "\u20ACx"},
    {"UcIsScopedToGroup", "{\\uc2\\u8364AB}\\u8364?x", "\u20AC\u20ACx"},
    {"FallbackEndsAtGroup", "\\uc3\\u8364{x}", "\u20ACx"},
    {"BinaryDataIsNotText", "a\\bin3 }{\\c", "ac"},
    {"IgnorableDestinationSkipped", "{\\*\\generator Writer 1.0;}a", "a"},
    {"UnknownIgnorableDestinationSkipped", "{\\*\\shpinst{\\sp x}}a", "a"},
    {"KnownDestinationsSkipped", "{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}}a", "a"},
    {"PictureWithBinaryBracesSkipped", "{\\pict\\bin4 }}}}}a", "a"},
    {"UnknownWordGroupShowsText", "{\\unknownword x}", "x"},
    {"StarOutsideGroupStartIgnored", "a\\*b", "ab"},
    {"UnicodeInsideSkippedGroupLeavesNoFallback", "{\\*\\x \\u8364?}ab", "ab"},
};

INSTANTIATE_TEST_SUITE_P(Cases, TRtfText, ::testing::ValuesIn(kTextCases),
                         [](const auto& testCase) { return std::string(testCase.param.Name); });

TEST(TRtfReader, LineBreakIsLineSeparatorInsideOneParagraph) {
    const TRtfDocument document = TRtfReader::Read(Body("a\\line b"));
    ASSERT_EQ(document.Paragraphs.size(), 1u);
    ASSERT_EQ(document.Paragraphs[0].Runs.size(), 1u);
    EXPECT_EQ(document.Paragraphs[0].Runs[0].Text, "a\u2028b");
}

// ---------------------------------------------------------------------------------------------
// Character formatting of a single "x" after the given words.

struct TFormatCase {
    const char* Name;
    const char* Words;
    bool Bold;
    bool Italic;
    bool Underline;
    int HalfPoints;
    uint32_t Color;
    const char* FontName;
};

void PrintTo(const TFormatCase& testCase, std::ostream* out) { *out << testCase.Name; }

class TRtfFormat : public ::testing::TestWithParam<TFormatCase> {};

TEST_P(TRtfFormat, AppliesToRun) {
    const TFormatCase& c = GetParam();
    const std::string source = "{\\rtf1\\ansi\\deff1{\\fonttbl{\\f1 Arial;}{\\f3 Courier New;}}"
                               "{\\colortbl;\\red1\\green2\\blue3;}" +
                               std::string(c.Words) + "x}";
    const TRtfDocument document = TRtfReader::Read(source);
    ASSERT_EQ(document.Paragraphs.size(), 1u);
    ASSERT_EQ(document.Paragraphs[0].Runs.size(), 1u);
    const TRtfRun& run = document.Paragraphs[0].Runs[0];
    EXPECT_EQ(run.Text, "x");
    EXPECT_EQ(run.Bold, c.Bold);
    EXPECT_EQ(run.Italic, c.Italic);
    EXPECT_EQ(run.Underline, c.Underline);
    EXPECT_EQ(run.HalfPoints, c.HalfPoints);
    EXPECT_EQ(run.Color, c.Color);
    EXPECT_EQ(run.FontName, c.FontName);
}

const TFormatCase kFormatCases[] = {
    {"Defaults", "", false, false, false, 24, 0, "Arial"},
    {"BoldOnOff", "\\b\\b0 ", false, false, false, 24, 0, "Arial"},
    {"BoldWithParameter", "\\b1 ", true, false, false, 24, 0, "Arial"},
    {"Italic", "\\i ", false, true, false, 24, 0, "Arial"},
    {"Underline", "\\ul ", false, false, true, 24, 0, "Arial"},
    {"DoubleUnderline", "\\uldb ", false, false, true, 24, 0, "Arial"},
    {"UnderlineNone", "\\ul\\ulnone ", false, false, false, 24, 0, "Arial"},
    {"PlainResetsAll", "\\b\\i\\ul\\fs40\\cf1\\f3\\plain ", false, false, false, 24, 0, "Arial"},
    {"FontNumber", "\\f3 ", false, false, false, 24, 0, "Courier New"},
    {"UnknownFont", "\\f2 ", false, false, false, 24, 0, ""},
    {"Colour", "\\cf1 ", false, false, false, 24, 0x00030201, "Arial"},
    {"AutoColourEntry", "\\cf1\\cf0 ", false, false, false, 24, 0, "Arial"},
    {"NegativeColour", "\\cf-5 ", false, false, false, 24, 0, "Arial"},
    {"ColourPastTable", "\\cf70000 ", false, false, false, 24, 0, "Arial"},
    {"FontSize", "\\fs18 ", false, false, false, 18, 0, "Arial"},
    {"FontSizeZero", "\\fs0 ", false, false, false, TRtfReader::MinHalfPoints, 0, "Arial"},
    {"HugeFontSize", "\\fs99999999999999 ", false, false, false, TRtfReader::MaxHalfPoints, 0, "Arial"},
    {"GroupRestores", "{\\b\\i\\cf1\\fs40\\f3}", false, false, false, 24, 0, "Arial"},
};

INSTANTIATE_TEST_SUITE_P(Cases, TRtfFormat, ::testing::ValuesIn(kFormatCases),
                         [](const auto& testCase) { return std::string(testCase.param.Name); });

TEST(TRtfReader, FontTableWithoutEntryGroupsOrClosingSemicolon) {
    bool wellFormed = false;
    const TRtfDocument document = TRtfReader::Read(
        "{\\rtf1{\\fonttbl\\f0\\fnil Tahoma;\\f2 Times {\\*\\falt TNR}New Roman;{\\f4 "
        "{\\*\\panose 02020603}Symbol}}\\f2 x}",
        &wellFormed);
    EXPECT_TRUE(wellFormed);
    EXPECT_EQ(document.Fonts, (std::vector<std::string>{"Tahoma", "", "Times New Roman", "", "Symbol"}));
    ASSERT_EQ(document.Paragraphs.size(), 1u);
    EXPECT_EQ(document.Paragraphs[0].Runs.at(0).FontName, "Times New Roman");
}

TEST(TRtfReader, DepthUpToMaxDepthIsWellFormed) {
    const size_t inner = TRtfReader::MaxDepth - 1;
    bool wellFormed = false;
    TRtfReader::Read("{\\rtf1 " + Repeat("{", inner) + "x" + Repeat("}", inner) + "}", &wellFormed);
    EXPECT_TRUE(wellFormed);
    TRtfReader::Read("{\\rtf1 " + Repeat("{", inner + 1) + "x" + Repeat("}", inner + 1) + "}", &wellFormed);
    EXPECT_FALSE(wellFormed);
}

TEST(TRtfReader, FormattingBeyondMaxDepthStillEndsWithTheShallowGroup) {
    const std::string source = "{\\rtf1 " + Repeat("{\\b ", 100000) + "x" + Repeat("}", 100000) + "y}";
    bool wellFormed = true;
    const TRtfDocument document = TRtfReader::Read(source, &wellFormed);
    EXPECT_FALSE(wellFormed);
    ASSERT_EQ(document.Paragraphs.size(), 1u);
    const std::vector<TRtfRun>& runs = document.Paragraphs[0].Runs;
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].Text, "x");
    EXPECT_TRUE(runs[0].Bold);
    EXPECT_EQ(runs[1].Text, "y");
    EXPECT_FALSE(runs[1].Bold);
}

TEST(TRtfReader, TablesAreCapped) {
    const std::string source = "{\\rtf1{\\colortbl" + Repeat("\\red1;", 5000) + "}{\\fonttbl{\\f" +
                               std::to_string(TRtfReader::MaxTableEntries) + " Big;}{\\f1 Ok;}}x}";
    bool wellFormed = true;
    const TRtfDocument document = TRtfReader::Read(source, &wellFormed);
    EXPECT_FALSE(wellFormed);
    EXPECT_EQ(document.Colors.size(), TRtfReader::MaxTableEntries);
    EXPECT_EQ(document.Fonts, (std::vector<std::string>{"", "Ok"}));
    EXPECT_EQ(document.PlainText(), "x");
}

// ---------------------------------------------------------------------------------------------
// Malformed input: a best-effort document, the warning flag, and nothing worse.

struct TMalformedCase {
    const char* Name;
    std::string Source;
    std::string Expected;
};

void PrintTo(const TMalformedCase& testCase, std::ostream* out) { *out << testCase.Name; }

class TRtfMalformed : public ::testing::TestWithParam<TMalformedCase> {};

TEST_P(TRtfMalformed, ReturnsSaneDocumentAndWarns) {
    bool wellFormed = true;
    const TRtfDocument document = TRtfReader::Read(GetParam().Source, &wellFormed);
    EXPECT_FALSE(wellFormed);
    EXPECT_EQ(document.PlainText(), GetParam().Expected);
    EXPECT_TRUE(DocumentIsValidUtf8(document));
    for (const TRtfParagraph& paragraph : document.Paragraphs)
        for (const TRtfRun& run : paragraph.Runs) {
            EXPECT_GE(run.HalfPoints, TRtfReader::MinHalfPoints);
            EXPECT_LE(run.HalfPoints, TRtfReader::MaxHalfPoints);
        }
}

const TMalformedCase kMalformedCases[] = {
    {"Empty", "", ""},
    {"NotRtf", "plain words", "plain words"},
    {"DeepNesting", Repeat("{", 100000) + "x" + Repeat("}", 100000), "x"},
    {"DeepNestingNeverClosed", "{\\rtf1 " + Repeat("{", 100000) + "x", "x"},
    {"UnbalancedClosers", Repeat("}", 10000) + "{\\rtf1 ok}", "ok"},
    {"ClosersInsideDocument", "{\\rtf1 a" + Repeat("}", 10000) + "b}", "ab"},
    {"MissingClosers", "{\\rtf1{\\b a", "a"},
    {"HugeParameter", Body("\\fs99999999999999 x\\f-99999999999 y"), "xy"},
    {"UnicodeTooHigh", Body("\\u99999?x"), "\uFFFDx"},
    {"UnicodeTooLow", Body("\\u-99999?x"), "\uFFFDx"},
    {"HugeFallbackCount", Body("\\uc999999\\u8364 abcdefghijklmnopqrstuvwxyz"), "\u20ACqrstuvwxyz"},
    {"NegativeFallbackCount", Body("\\uc-3\\u8364 x"), "\u20ACx"},
    {"BinaryPastEnd", "{\\rtf1 a\\bin999999 }}}", "a"},
    {"NegativeBinary", Body("a\\bin-5 b"), "ab"},
    {"TruncatedHexEscape", "{\\rtf1 a\\'4", "a"},
    {"InvalidHexDigits", Body("a\\'zzb\\'4gc"), "azzbgc"},
    {"LoneBackslash", "{\\rtf1 ab\\", "ab"},
    {"NulBytes", std::string("{\\rtf1 a\0b\\\0c}", 14), "abc"},
    {"TextAfterDocument", "{\\rtf1 a}b", "ab"},
    {"FontTableNeverClosed", "{\\rtf1{\\fonttbl{\\f0 Arial", ""},
    {"FontWithoutNumber", "{\\rtf1{\\fonttbl Arial;}x}", "x"},
};

INSTANTIATE_TEST_SUITE_P(Cases, TRtfMalformed, ::testing::ValuesIn(kMalformedCases),
                         [](const auto& testCase) { return std::string(testCase.param.Name); });

// Token soup from a fixed seed: catches crashes, sanitizer reports and broken UTF-8 that the
// hand-written cases above did not think of.
TEST(TRtfReader, RandomTokenSoupGivesValidUtf8) {
    const std::vector<std::string> tokens = {
        "{", "}", "\\", "\\'", "\\'e9", "\\'8", "\\u", "\\u-", "\\u55357", "\\u-10179", "\\u56832",
        "\\uc", "\\uc2", "\\bin", "\\bin3 ", "\\*", "\\fonttbl", "\\colortbl", "\\f", "\\f1",
        "\\fs", "\\cf2", "\\red300", "\\par", "\\line", "\\b", "\\plain", "\\pict", ";", " ", "a",
        "9", "-", "\r\n", std::string(1, '\0'), "\x80", "\xff", "\\~", "\\-", "\\\\"};
    std::mt19937 random(20240611);
    std::uniform_int_distribution<size_t> pick(0, tokens.size() - 1);
    std::uniform_int_distribution<size_t> length(0, 200);
    for (int round = 0; round < 3000; ++round) {
        std::string source = round % 2 == 0 ? "{\\rtf1 " : "";
        for (size_t n = length(random); n > 0; --n) source += tokens[pick(random)];
        const TRtfDocument document = TRtfReader::Read(source);
        ASSERT_TRUE(DocumentIsValidUtf8(document)) << source;
        ASSERT_TRUE(IsValidUtf8(document.PlainText())) << source;
    }
}

} // namespace
