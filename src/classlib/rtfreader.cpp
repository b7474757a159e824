#include "classlib/rtfreader.h"

#include "classlib/codepage.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <utility>

namespace {
constexpr char32_t kReplacementCharacter = 0xFFFD;

struct TCharacterWord {
    std::string_view Name;
    char32_t CodePoint;
};

constexpr TCharacterWord kCharacterWords[] = {
    {"line", 0x2028},     {"tab", 0x0009},      {"emdash", 0x2014},    {"endash", 0x2013},
    {"bullet", 0x2022},   {"lquote", 0x2018},   {"rquote", 0x2019},    {"ldblquote", 0x201C},
    {"rdblquote", 0x201D}, {"emspace", 0x2003}, {"enspace", 0x2002},   {"qmspace", 0x2005},
    {"zwj", 0x200D},      {"zwnj", 0x200C},     {"zwbo", 0x200B},      {"ltrmark", 0x200E},
    {"rtlmark", 0x200F},
};

// Destinations whose content is never shown in the help window.
constexpr std::string_view kSkippedDestinations[] = {
    "author",   "buptim",     "colorschememapping", "comment",   "creatim",   "datastore",
    "doccomm",  "filetbl",    "fldinst",            "footer",    "footerf",   "footerl",
    "footerr",  "footnote",   "ftncn",              "ftnsep",    "ftnsepc",   "generator",
    "header",   "headerf",    "headerl",            "headerr",   "info",      "keywords",
    "latentstyles", "listoverridetable", "listtable", "object",  "operator",  "pict",
    "printim",  "private",    "revtbl",             "revtim",    "rsidtbl",   "stylesheet",
    "subject",  "tc",         "themedata",          "title",     "txe",       "xmlnstbl",
};

constexpr std::string_view kUnderlineWords[] = {
    "ul",     "uld",      "uldash",      "uldashd",     "uldashdd", "uldb",
    "ulhwave", "ulldash", "ulth",        "ulthd",       "ulthdash", "ulthdashd",
    "ulthdashdd", "ulthldash", "ululdbwave", "ulw",     "ulwave",
};

template <size_t Count> bool Contains(const std::string_view (&words)[Count], std::string_view name) {
    return std::find(std::begin(words), std::end(words), name) != std::end(words);
}

std::optional<char32_t> CharacterWord(std::string_view name) {
    for (const TCharacterWord& word : kCharacterWords)
        if (word.Name == name) return word.CodePoint;
    return std::nullopt;
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

std::optional<int> HexValue(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return std::nullopt;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}
} // namespace

TRtfDocument TRtfReader::Read(std::string_view rtf, bool* wellFormed) noexcept {
    TRtfReader reader(rtf);
    try {
        reader.Parse();
    } catch (...) {
        // Only an allocation failure can get here; what was read so far is still worth showing.
        reader.Warn();
    }
    if (wellFormed != nullptr) *wellFormed = reader.FWellFormed;
    return std::move(reader.FDocument);
}

TRtfReader::TRtfReader(std::string_view rtf) : FInput(rtf) {
    const size_t start = FInput.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos || FInput.substr(start, 5) != "{\\rtf") Warn();
}

void TRtfReader::Parse() {
    while (FPos < FInput.size()) {
        const char c = FInput[FPos++];
        if (FOuterGroupClosed && !IsSpace(c)) Warn();
        switch (c) {
        case '{': OpenGroup(); break;
        case '}': CloseGroup(); break;
        case '\\': ReadControl(); break;
        case '\r':
        case '\n': break; // line ends in the source are layout of the file, not of the text
        case '\0': Warn(); break;
        default: RawCharacter(static_cast<unsigned char>(c)); break;
        }
    }
    Finish();
}

void TRtfReader::Finish() {
    FlushHighSurrogate();
    if (!FStack.empty() || FOverflowDepth > 0) Warn();
    if (!FParagraph.Runs.empty()) FDocument.Paragraphs.push_back(std::move(FParagraph));
}

void TRtfReader::OpenGroup() {
    FlushHighSurrogate();
    FFallbackLeft = 0;
    FAtGroupStart = true;
    if (FStack.size() >= static_cast<size_t>(MaxDepth)) {
        Warn();
        ++FOverflowDepth;
        return;
    }
    FStack.push_back(FState);
}

void TRtfReader::CloseGroup() {
    FlushHighSurrogate();
    FFallbackLeft = 0;
    FAtGroupStart = false;
    if (FOverflowDepth > 0) {
        --FOverflowDepth;
        return;
    }
    if (FStack.empty()) {
        Warn();
        return;
    }
    // Some writers leave out the ';' after the last font name.
    if (FState.Destination == TDestination::FontTable && !Trimmed(FFontName).empty()) CommitFont();
    FState = FStack.back();
    FStack.pop_back();
    if (FStack.empty()) FOuterGroupClosed = true;
}

void TRtfReader::RawCharacter(unsigned char byte) {
    FAtGroupStart = false;
    if (ConsumeFallback()) return;
    if (byte == ';' && CommitTableEntry()) return;
    EmitCodePoint(TCodePage::AnsiToCodePoint(byte));
}

void TRtfReader::ReadControl() {
    const bool atGroupStart = std::exchange(FAtGroupStart, false);
    if (FPos >= FInput.size()) {
        Warn();
        return;
    }
    const char symbol = FInput[FPos];
    if (IsLetter(symbol)) {
        ReadControlWord();
        return;
    }
    ++FPos;
    if (symbol == '\'') {
        HexEscape();
        return;
    }
    if (ConsumeFallback()) return;
    ControlSymbol(symbol, atGroupStart);
}

void TRtfReader::ReadControlWord() {
    const size_t start = FPos;
    while (FPos < FInput.size() && IsLetter(FInput[FPos])) ++FPos;
    const std::string_view name = FInput.substr(start, FPos - start);
    const std::optional<int32_t> parameter = ReadParameter();
    if (FPos < FInput.size() && FInput[FPos] == ' ') ++FPos;
    if (name == "bin") {
        // The data must go even when the word itself is a skipped fallback character.
        SkipBinary(parameter.value_or(0));
        ConsumeFallback();
        return;
    }
    if (ConsumeFallback()) return;
    ControlWord(name, parameter);
}

std::optional<int32_t> TRtfReader::ReadParameter() {
    const bool negative = FPos + 1 < FInput.size() && FInput[FPos] == '-' && IsDigit(FInput[FPos + 1]);
    if (!negative && (FPos >= FInput.size() || !IsDigit(FInput[FPos]))) return std::nullopt;
    if (negative) ++FPos;
    // Read every digit so none leak into the text, but saturate so the value cannot overflow.
    const int64_t limit = negative ? 2147483648LL : 2147483647LL;
    int64_t magnitude = 0;
    while (FPos < FInput.size() && IsDigit(FInput[FPos])) {
        magnitude = std::min(magnitude * 10 + (FInput[FPos] - '0'), limit + 1);
        ++FPos;
    }
    if (magnitude > limit) {
        Warn();
        magnitude = limit;
    }
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

void TRtfReader::HexEscape() {
    int value = 0;
    int digits = 0;
    for (; digits < 2 && FPos < FInput.size(); ++digits, ++FPos) {
        const std::optional<int> digit = HexValue(FInput[FPos]);
        if (!digit) break;
        value = value * 16 + *digit;
    }
    if (ConsumeFallback()) return;
    // A half escape says nothing reliable about the byte meant; drop it.
    if (digits < 2) {
        Warn();
        return;
    }
    EmitCodePoint(TCodePage::AnsiToCodePoint(static_cast<unsigned char>(value)));
}

void TRtfReader::SkipBinary(int32_t count) {
    const size_t left = FInput.size() - FPos;
    if (count < 0 || static_cast<size_t>(count) > left) Warn();
    FPos += std::min(static_cast<size_t>(std::max(count, 0)), left);
}

bool TRtfReader::ConsumeFallback() {
    if (FFallbackLeft <= 0) return false;
    --FFallbackLeft;
    return true;
}

void TRtfReader::ControlSymbol(char symbol, bool atGroupStart) {
    switch (symbol) {
    case '\\':
    case '{':
    case '}': EmitCodePoint(static_cast<unsigned char>(symbol)); break;
    case '~': EmitCodePoint(0x00A0); break;
    case '-': EmitCodePoint(0x00AD); break;
    case '_': EmitCodePoint(0x2011); break;
    case '\r':
    case '\n': EndParagraph(); break;
    case '*':
        // We understand none of the optional destinations, so the whole group goes.
        if (atGroupStart) FState.Destination = TDestination::Skip;
        break;
    default: break; // index and formula symbols carry nothing we show
    }
}

void TRtfReader::ControlWord(std::string_view name, std::optional<int32_t> parameter) {
    if (StartDestination(name)) return;
    switch (FState.Destination) {
    case TDestination::Skip: return;
    case TDestination::FontTable:
        if (name == "f") {
            StartFont(parameter.value_or(0));
            return;
        }
        break;
    case TDestination::ColorTable:
        if (SetColorComponent(name, parameter)) return;
        break;
    case TDestination::Text: break;
    }
    if (!ApplyFormatWord(name, parameter)) ApplyTextWord(name, parameter);
}

bool TRtfReader::StartDestination(std::string_view name) {
    TDestination destination = TDestination::Skip;
    if (name == "fonttbl")
        destination = TDestination::FontTable;
    else if (name == "colortbl")
        destination = TDestination::ColorTable;
    else if (!Contains(kSkippedDestinations, name))
        return false;
    if (FState.Destination == TDestination::Skip) return true;
    FState.Destination = destination;
    FFontNumber = -1;
    FFontName.clear();
    FRed = FGreen = FBlue = 0;
    return true;
}

bool TRtfReader::ApplyFormatWord(std::string_view name, std::optional<int32_t> parameter) {
    TCharFormat& format = FState.Format;
    const bool on = parameter.value_or(1) != 0;
    if (name == "plain")
        format = TCharFormat{};
    else if (name == "f")
        format.Font = parameter.value_or(0);
    else if (name == "fs")
        format.HalfPoints = std::clamp(parameter.value_or(24), MinHalfPoints, MaxHalfPoints);
    else if (name == "cf")
        format.Color = parameter.value_or(0);
    else if (name == "b")
        format.Bold = on;
    else if (name == "i")
        format.Italic = on;
    else if (Contains(kUnderlineWords, name))
        format.Underline = on;
    else if (name == "ulnone")
        format.Underline = false;
    else
        return false;
    return true;
}

bool TRtfReader::ApplyTextWord(std::string_view name, std::optional<int32_t> parameter) {
    if (const std::optional<char32_t> codePoint = CharacterWord(name))
        EmitCodePoint(*codePoint);
    else if (name == "par" || name == "sect" || name == "page")
        EndParagraph();
    else if (name == "u" && parameter)
        UnicodeCharacter(*parameter);
    else if (name == "uc")
        SetFallbackChars(parameter.value_or(1));
    else if (name == "deff")
        FDefaultFont = parameter.value_or(0);
    else
        return false;
    return true;
}

void TRtfReader::SetFallbackChars(int32_t count) {
    if (count < 0 || count > MaxFallbackChars) Warn();
    FState.FallbackChars = std::clamp(count, 0, MaxFallbackChars);
}

void TRtfReader::UnicodeCharacter(int32_t value) {
    FFallbackLeft = FState.FallbackChars;
    if (value < -32768 || value > 65535) {
        Warn();
        EmitCodePoint(kReplacementCharacter);
        return;
    }
    // Writers store code units above 32767 as negative signed 16-bit numbers.
    const char32_t unit = static_cast<char32_t>(value < 0 ? value + 65536 : value);
    if (IsLowSurrogate(unit) && FHighSurrogate != 0) {
        const char32_t codePoint = 0x10000 + ((FHighSurrogate - 0xD800) << 10) + (unit - 0xDC00);
        FHighSurrogate = 0;
        EmitCodePoint(codePoint);
    } else if (IsHighSurrogate(unit)) {
        FlushHighSurrogate();
        FHighSurrogate = unit;
    } else if (IsLowSurrogate(unit)) {
        EmitCodePoint(kReplacementCharacter);
    } else {
        EmitCodePoint(unit);
    }
}

void TRtfReader::EmitCodePoint(char32_t codePoint) {
    FlushHighSurrogate();
    if (codePoint != 0) Deliver(codePoint);
}

void TRtfReader::Deliver(char32_t codePoint) {
    if (FState.Destination == TDestination::Text)
        AppendToParagraph(codePoint);
    else if (FState.Destination == TDestination::FontTable)
        AppendToFontName(codePoint);
}

// Every run carries its font's name and is compared with it for each character, so a name as
// long as the document would make reading quadratic in time and in memory.
void TRtfReader::AppendToFontName(char32_t codePoint) {
    if (FFontName.size() >= MaxFontNameBytes) {
        Warn();
        return;
    }
    AppendUtf8(FFontName, codePoint);
}

// A high surrogate waits for its partner in the next \u; anything else in between orphans it.
void TRtfReader::FlushHighSurrogate() {
    if (FHighSurrogate == 0) return;
    FHighSurrogate = 0;
    Deliver(kReplacementCharacter);
}

void TRtfReader::AppendToParagraph(char32_t codePoint) {
    if (FParagraph.Runs.empty() || !LastRunHasCurrentFormat()) {
        const TCharFormat& format = FState.Format;
        TRtfRun run;
        run.FontName = FontNameFor(format.Font);
        run.HalfPoints = format.HalfPoints;
        run.Bold = format.Bold;
        run.Italic = format.Italic;
        run.Underline = format.Underline;
        run.Color = ColorFor(format.Color);
        FParagraph.Runs.push_back(std::move(run));
    }
    AppendUtf8(FParagraph.Runs.back().Text, codePoint);
}

bool TRtfReader::LastRunHasCurrentFormat() const {
    const TRtfRun& run = FParagraph.Runs.back();
    const TCharFormat& format = FState.Format;
    return run.FontName == FontNameFor(format.Font) && run.HalfPoints == format.HalfPoints &&
           run.Bold == format.Bold && run.Italic == format.Italic &&
           run.Underline == format.Underline && run.Color == ColorFor(format.Color);
}

void TRtfReader::EndParagraph() {
    if (FState.Destination != TDestination::Text) return;
    FlushHighSurrogate();
    FDocument.Paragraphs.push_back(std::move(FParagraph));
    FParagraph = TRtfParagraph{};
}

std::string_view TRtfReader::FontNameFor(int font) const {
    const int index = font < 0 ? FDefaultFont : font;
    if (index < 0 || static_cast<size_t>(index) >= FDocument.Fonts.size()) return {};
    return FDocument.Fonts[static_cast<size_t>(index)];
}

uint32_t TRtfReader::ColorFor(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= FDocument.Colors.size()) return 0;
    return FDocument.Colors[static_cast<size_t>(index)];
}

bool TRtfReader::CommitTableEntry() {
    if (FState.Destination == TDestination::FontTable)
        CommitFont();
    else if (FState.Destination == TDestination::ColorTable)
        CommitColor();
    else
        return false;
    return true;
}

void TRtfReader::StartFont(int32_t number) {
    FFontNumber = number;
    FFontName.clear();
}

void TRtfReader::CommitFont() {
    if (FFontNumber < 0 || static_cast<size_t>(FFontNumber) >= MaxTableEntries) {
        Warn();
    } else {
        const size_t index = static_cast<size_t>(FFontNumber);
        if (index >= FDocument.Fonts.size()) FDocument.Fonts.resize(index + 1);
        FDocument.Fonts[index] = Trimmed(FFontName);
    }
    FFontName.clear();
}

bool TRtfReader::SetColorComponent(std::string_view name, std::optional<int32_t> parameter) {
    const uint32_t value = static_cast<uint32_t>(std::clamp(parameter.value_or(0), 0, 255));
    if (name == "red")
        FRed = value;
    else if (name == "green")
        FGreen = value;
    else if (name == "blue")
        FBlue = value;
    else
        return false;
    return true;
}

// An entry with no components is the "automatic" colour, which the model stores as 0.
void TRtfReader::CommitColor() {
    if (FDocument.Colors.size() < MaxTableEntries)
        FDocument.Colors.push_back(FRed | (FGreen << 8) | (FBlue << 16));
    else
        Warn();
    FRed = FGreen = FBlue = 0;
}
