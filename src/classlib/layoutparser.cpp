#include "classlib/layoutparser.h"

#include "classlib/layouterror.h"

#include <array>
#include <charconv>
#include <climits>
#include <cstdint>
#include <system_error>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsIdentifierStart(char c) {
    return IsLetter(c) || c == '_';
}
bool IsIdentifierChar(char c) {
    return IsIdentifierStart(c) || IsDigit(c);
}
bool IsPrintableAscii(char c) {
    return c > ' ' && c < 0x7F;
}

// The value of each byte as a hexadecimal digit, -1 for the others. A table, because the
// photograph stored in a layout is a hundred thousand digits read at every start.
constexpr std::array<int8_t, 256> kHexDigitValues = [] {
    std::array<int8_t, 256> values{};
    values.fill(-1);
    for (int i = 0; i < 10; ++i) values['0' + i] = static_cast<int8_t>(i);
    for (int i = 0; i < 6; ++i) {
        values['A' + i] = static_cast<int8_t>(10 + i);
        values['a' + i] = static_cast<int8_t>(10 + i);
    }
    return values;
}();

int HexDigitValue(char c) {
    return kHexDigitValues[static_cast<unsigned char>(c)];
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string LowerAscii(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = AsciiLower(c);
    return result;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

bool IsObjectKeyword(std::string_view word) {
    return EqualsIgnoringCase(word, "object") || EqualsIgnoringCase(word, "inherited") ||
           EqualsIgnoringCase(word, "inline");
}

// Words that structure the layout; accepting them as values would hide a missing value
// until some confusing point further down.
bool IsReservedWord(std::string_view word) {
    return IsObjectKeyword(word) || EqualsIgnoringCase(word, "end");
}

std::string HexByte(unsigned char byte) {
    static const char digits[] = "0123456789ABCDEF";
    return {digits[byte >> 4], digits[byte & 0x0F]};
}

// Error messages quote file content, which may be long or binary: keep them short and readable.
std::string Quote(std::string_view text) {
    constexpr std::size_t maxShown = 40;
    std::string result = "'";
    for (std::size_t i = 0; i < text.size() && i < maxShown; ++i) {
        const char c = text[i];
        if (c == '\\' || !(c == ' ' || IsPrintableAscii(c)))
            result += "\\x" + HexByte(static_cast<unsigned char>(c));
        else
            result += c;
    }
    if (text.size() > maxShown) result += "...";
    return result + "'";
}

std::string DescribeByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == 0) return "NUL byte";
    if (byte >= 0x80) return "non-ASCII byte 0x" + HexByte(byte);
    return "control byte 0x" + HexByte(byte);
}

std::string DescribeNode(const TLayoutNode& node) {
    if (node.Name.empty()) return "unnamed object of class '" + node.ClassName + "'";
    return "object '" + node.Name + "'";
}

std::string PropertyContext(const std::string& property) {
    return " in property '" + property + "'";
}

} // namespace

TLayoutNode TLayoutParser::Parse(std::string_view text) {
    if (text.size() > MaxInputBytes)
        throw ELayoutError(1, "layout is " + std::to_string(text.size()) +
                                  " bytes, expected at most " + std::to_string(MaxInputBytes) +
                                  " bytes");
    TLayoutParser parser(text);
    return parser.ParseRoot();
}

// ---- Syntax ----

TLayoutNode TLayoutParser::ParseRoot() {
    Advance();
    if (FToken.Kind == TTokenKind::EndOfInput)
        Fail(FToken.Line, "empty layout, expected 'object', 'inherited' or 'inline'");
    TLayoutNode root = ParseObject(1);
    if (FToken.Kind != TTokenKind::EndOfInput)
        FailExpected("end of layout after the final 'end' of " + DescribeNode(root));
    return root;
}

TLayoutNode TLayoutParser::ParseObject(int depth) {
    if (!AtObjectKeyword()) FailExpected("'object', 'inherited' or 'inline'");
    if (depth > MaxNestingDepth)
        Fail(FToken.Line, "objects nested more than " + std::to_string(MaxNestingDepth) +
                              " deep, expected 'end' before another nested object");
    CountElement();
    TLayoutNode node;
    node.Keyword = LowerAscii(FToken.Source);
    node.Line = FToken.Line;
    Advance();
    ParseObjectHeader(node);
    ParseObjectBody(node, depth);
    return node;
}

void TLayoutParser::ParseObjectHeader(TLayoutNode& node) {
    if (AtSymbol(':')) {
        Advance();
    } else {
        if (!AtPlainIdentifier())
            FailExpected("an object name or ':' after '" + node.Keyword + "'");
        node.Name = FToken.Source;
        Advance();
        Expect(':', "':' after object name '" + node.Name + "'");
    }
    if (!AtPlainIdentifier())
        FailExpected("a class name after ':'" +
                     (node.Name.empty() ? std::string() : " for object '" + node.Name + "'"));
    node.ClassName = FToken.Source;
    Advance();
}

// Properties come first, then child objects. A property after a child is refused: the
// component builder applies properties before creating children, and the order it would
// otherwise silently change matters for things like parent-relative geometry.
void TLayoutParser::ParseObjectBody(TLayoutNode& node, int depth) {
    bool sawChild = false;
    for (;;) {
        if (FToken.Kind == TTokenKind::EndOfInput)
            Fail(FToken.Line, "unexpected end of layout, expected 'end' for " + DescribeNode(node) +
                                  " (opened on line " + std::to_string(node.Line) + ")");
        if (AtKeyword("end")) {
            Advance();
            return;
        }
        if (AtObjectKeyword()) {
            sawChild = true;
            node.Children.push_back(ParseObject(depth + 1));
        } else if (FToken.Kind == TTokenKind::Identifier) {
            if (sawChild)
                Fail(FToken.Line, "property " + Quote(FToken.Source) +
                                      " follows a nested object in " + DescribeNode(node) +
                                      ", expected a nested object or 'end' (properties go first)");
            node.Properties.push_back(ParseProperty(0));
        } else {
            FailExpected("a property name, nested object or 'end' in " + DescribeNode(node));
        }
    }
}

TLayoutProperty TLayoutParser::ParseProperty(int valueDepth) {
    TLayoutProperty property;
    property.Name = FToken.Source;
    property.Line = FToken.Line;
    Advance();
    Expect('=', "'=' after property name '" + property.Name + "'");
    property.Value =
        ParseValue(property.Name, valueDepth, "a value for property '" + property.Name + "'");
    return property;
}

TLayoutValue TLayoutParser::ParseValue(const std::string& property, int depth,
                                       const std::string& expected) {
    CountElement();
    TLayoutValue value;
    value.Line = FToken.Line;
    switch (FToken.Kind) {
    case TTokenKind::Integer:
        value.Kind = TLayoutValueKind::Integer;
        value.Integer = FToken.Integer;
        Advance();
        return value;
    case TTokenKind::Float:
        value.Kind = TLayoutValueKind::Float;
        value.Float = FToken.Float;
        Advance();
        return value;
    case TTokenKind::String:
        return ParseString(property);
    case TTokenKind::Identifier:
        if (IsReservedWord(FToken.Source)) break;
        value.Kind = TLayoutValueKind::Identifier;
        value.Text = FToken.Source;
        Advance();
        return value;
    case TTokenKind::Symbol:
        if (AtSymbol('[')) return ParseSet(property);
        if (AtSymbol('(')) return ParseList(property, depth);
        if (AtSymbol('{')) return ParseBinary(property);
        if (AtSymbol('<')) return ParseCollection(property, depth);
        break;
    case TTokenKind::EndOfInput:
        break;
    }
    FailExpected(expected);
}

TLayoutValue TLayoutParser::ParseString(const std::string& property) {
    TLayoutValue value;
    value.Kind = TLayoutValueKind::String;
    value.Line = FToken.Line;
    value.Text = std::move(FToken.Text);
    Advance();
    while (AtSymbol('+')) {
        Advance();
        if (FToken.Kind != TTokenKind::String)
            FailExpected("a string after '+'" + PropertyContext(property));
        value.Text += FToken.Text;
        Advance();
    }
    return value;
}

TLayoutValue TLayoutParser::ParseSet(const std::string& property) {
    TLayoutValue value;
    value.Kind = TLayoutValueKind::Set;
    value.Line = FToken.Line;
    Advance();
    if (AtSymbol(']')) {
        Advance();
        return value;
    }
    for (;;) {
        if (FToken.Kind != TTokenKind::Identifier || IsReservedWord(FToken.Source))
            FailExpected("a set member name" + PropertyContext(property));
        CountElement();
        value.Names.emplace_back(FToken.Source);
        Advance();
        if (AtSymbol(']')) {
            Advance();
            return value;
        }
        Expect(',', "',' or ']' in the set" + PropertyContext(property));
    }
}

TLayoutValue TLayoutParser::ParseList(const std::string& property, int depth) {
    CheckValueDepth(depth, property);
    TLayoutValue value;
    value.Kind = TLayoutValueKind::List;
    value.Line = FToken.Line;
    Advance();
    while (!AtSymbol(')')) {
        if (FToken.Kind == TTokenKind::EndOfInput)
            Fail(FToken.Line, "unexpected end of layout, expected ')' to close the list" +
                                  PropertyContext(property) + " opened on line " +
                                  std::to_string(value.Line));
        value.Items.push_back(
            ParseValue(property, depth + 1, "a list item or ')'" + PropertyContext(property)));
    }
    Advance();
    return value;
}

TLayoutValue TLayoutParser::ParseBinary(const std::string& property) {
    TLayoutValue value;
    value.Kind = TLayoutValueKind::Binary;
    value.Line = FToken.Line;
    // The current token is the '{', so the read position sits right behind it.
    value.Bytes = ReadBinaryData(property, value.Line);
    Advance();
    return value;
}

TLayoutValue TLayoutParser::ParseCollection(const std::string& property, int depth) {
    CheckValueDepth(depth, property);
    TLayoutValue value;
    value.Kind = TLayoutValueKind::Collection;
    value.Line = FToken.Line;
    Advance();
    while (!AtSymbol('>')) {
        if (!AtKeyword("item"))
            FailExpected("'item' or '>' in the collection" + PropertyContext(property));
        value.CollectionItems.push_back(ParseCollectionItem(property, depth + 1));
    }
    Advance();
    return value;
}

TLayoutCollectionItem TLayoutParser::ParseCollectionItem(const std::string& property, int depth) {
    CountElement();
    TLayoutCollectionItem item;
    item.Line = FToken.Line;
    Advance();
    for (;;) {
        if (AtKeyword("end")) {
            Advance();
            return item;
        }
        if (FToken.Kind != TTokenKind::Identifier || IsReservedWord(FToken.Source))
            FailExpected("a property name or 'end' in the collection item (opened on line " +
                         std::to_string(item.Line) + ")" + PropertyContext(property));
        item.Properties.push_back(ParseProperty(depth));
    }
}

// ---- Tokens ----

void TLayoutParser::Advance() {
    SkipWhitespace();
    FToken = TToken{};
    if (FPos >= FText.size()) {
        // Report the end on the last line that held something rather than on a trailing
        // empty line, which is where an editor shows the missing text belongs.
        FToken.Line = FLastTokenLine;
        return;
    }
    FToken.Line = FLine;
    const std::size_t start = FPos;
    const char c = FText[FPos];
    if (IsIdentifierStart(c))
        LexIdentifier();
    else if (StartsNumber())
        LexNumber();
    else if (c == '\'' || c == '#')
        LexString();
    else if (IsPrintableAscii(c)) {
        FToken.Kind = TTokenKind::Symbol;
        ++FPos;
    } else
        Fail(FLine,
             "unexpected " + DescribeByte(c) + " outside a string, expected ASCII layout text");
    FToken.Source = FText.substr(start, FPos - start);
    FLastTokenLine = FLine;
}

void TLayoutParser::SkipWhitespace() {
    while (FPos < FText.size()) {
        const char c = FText[FPos];
        if (c == '\n')
            ++FLine;
        else if (c != ' ' && c != '\t' && c != '\r')
            return;
        ++FPos;
    }
}

bool TLayoutParser::StartsNumber() const {
    const auto isNumberStart = [](char c) { return IsDigit(c) || c == '$'; };
    const char c = FText[FPos];
    if (c == '-' || c == '+') return FPos + 1 < FText.size() && isNumberStart(FText[FPos + 1]);
    return isNumberStart(c);
}

void TLayoutParser::LexIdentifier() {
    const std::size_t start = FPos;
    const auto skipWord = [this] {
        while (FPos < FText.size() && IsIdentifierChar(FText[FPos]))
            ++FPos;
    };
    skipWord();
    while (FPos < FText.size() && FText[FPos] == '.') {
        if (FPos + 1 >= FText.size() || !IsIdentifierStart(FText[FPos + 1]))
            Fail(FLine, "expected an identifier after '.' in " +
                            Quote(FText.substr(start, FPos + 1 - start)));
        ++FPos;
        skipWord();
    }
    FToken.Kind = TTokenKind::Identifier;
}

void TLayoutParser::LexNumber() {
    const std::size_t start = FPos;
    const bool negative = FText[FPos] == '-';
    if (FText[FPos] == '-' || FText[FPos] == '+') ++FPos;
    if (FText[FPos] == '$') {
        ++FPos;
        const std::size_t digits = FPos;
        while (FPos < FText.size() && HexDigitValue(FText[FPos]) >= 0)
            ++FPos;
        if (FPos == digits) Fail(FLine, "expected hexadecimal digits after '$'");
        RejectNumberTail(start);
        StoreInteger(start, FText.substr(digits, FPos - digits), 16, negative);
        return;
    }
    const std::size_t digits = FPos;
    SkipDecimalDigits();
    const std::size_t integerEnd = FPos;
    bool isFloat = false;
    if (FPos < FText.size() && FText[FPos] == '.') {
        ++FPos;
        if (FPos >= FText.size() || !IsDigit(FText[FPos])) FailMalformedNumber(start);
        SkipDecimalDigits();
        isFloat = true;
    }
    if (FPos < FText.size() && (FText[FPos] == 'e' || FText[FPos] == 'E')) {
        ++FPos;
        if (FPos < FText.size() && (FText[FPos] == '+' || FText[FPos] == '-')) ++FPos;
        if (FPos >= FText.size() || !IsDigit(FText[FPos])) FailMalformedNumber(start);
        SkipDecimalDigits();
        isFloat = true;
    }
    RejectNumberTail(start);
    if (isFloat)
        StoreFloat(start);
    else
        StoreInteger(start, FText.substr(digits, integerEnd - digits), 10, negative);
}

void TLayoutParser::SkipDecimalDigits() {
    while (FPos < FText.size() && IsDigit(FText[FPos]))
        ++FPos;
}

// "12abc" or "1.5.3" must not split into two tokens that happen to parse.
void TLayoutParser::RejectNumberTail(std::size_t start) const {
    if (FPos >= FText.size()) return;
    const char c = FText[FPos];
    if (IsIdentifierChar(c) || c == '.' || c == '$') FailMalformedNumber(start);
}

void TLayoutParser::FailMalformedNumber(std::size_t start) const {
    std::size_t end = start + 1;
    while (end < FText.size() && (IsIdentifierChar(FText[end]) || FText[end] == '.' ||
                                  FText[end] == '$' || FText[end] == '+' || FText[end] == '-'))
        ++end;
    Fail(FLine, "malformed number " + Quote(FText.substr(start, end - start)) +
                    ", expected a decimal, $hexadecimal or floating-point number");
}

void TLayoutParser::StoreInteger(std::size_t start, std::string_view digits, int base,
                                 bool negative) {
    constexpr unsigned long long largestPositive = LLONG_MAX;
    const unsigned long long limit = negative ? largestPositive + 1 : largestPositive;
    unsigned long long magnitude = 0;
    bool tooLarge = false;
    for (const char c : digits) {
        const auto digit = static_cast<unsigned long long>(HexDigitValue(c));
        if (magnitude > (limit - digit) / static_cast<unsigned>(base)) {
            tooLarge = true;
            break;
        }
        magnitude = magnitude * static_cast<unsigned>(base) + digit;
    }
    if (tooLarge)
        Fail(FLine, "integer " + Quote(FText.substr(start, FPos - start)) +
                        " is out of range, expected a value from " + std::to_string(LLONG_MIN) +
                        " to " + std::to_string(LLONG_MAX));
    FToken.Kind = TTokenKind::Integer;
    // Unsigned negation wraps, which also yields LLONG_MIN for a magnitude of 2^63.
    FToken.Integer = static_cast<long long>(negative ? 0 - magnitude : magnitude);
}

void TLayoutParser::StoreFloat(std::size_t start) {
    std::string_view number = FText.substr(start, FPos - start);
    if (number.front() == '+') number.remove_prefix(1); // from_chars takes no '+'
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc() || end != number.data() + number.size())
        Fail(FLine, "floating-point number " + Quote(FText.substr(start, FPos - start)) +
                        " is out of range, expected a value a double can hold");
    FToken.Kind = TTokenKind::Float;
    FToken.Float = value;
}

// A string is quoted parts and #character codes written back to back: 'It'#39's'.
void TLayoutParser::LexString() {
    std::string text;
    while (FPos < FText.size()) {
        if (FText[FPos] == '\'')
            LexQuotedPart(text);
        else if (FText[FPos] == '#')
            LexCharacterCode(text);
        else
            break;
    }
    FToken.Kind = TTokenKind::String;
    FToken.Text = std::move(text);
}

void TLayoutParser::LexQuotedPart(std::string& text) {
    ++FPos; // opening quote
    for (;;) {
        if (FPos >= FText.size() || FText[FPos] == '\n' || FText[FPos] == '\r')
            Fail(FLine,
                 "unterminated string, expected a closing quote (') before the end of the line");
        const char c = FText[FPos++];
        if (c != '\'') {
            text += c;
        } else if (FPos < FText.size() && FText[FPos] == '\'') {
            text += '\'';
            ++FPos;
        } else {
            return;
        }
    }
}

// Codes above 255 are refused: stored text is single-byte, and slipping UTF-8 into it would
// turn into wrong characters later instead of an error now.
void TLayoutParser::LexCharacterCode(std::string& text) {
    const std::size_t start = FPos++;
    const bool hex = FPos < FText.size() && FText[FPos] == '$';
    if (hex) ++FPos;
    const int base = hex ? 16 : 10;
    const std::size_t digits = FPos;
    unsigned code = 0;
    while (FPos < FText.size()) {
        const int digit = HexDigitValue(FText[FPos]);
        if (digit < 0 || digit >= base) break;
        if (code <= 255) code = code * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
        ++FPos;
    }
    if (FPos == digits)
        Fail(FLine, std::string("expected ") +
                        (hex ? "hexadecimal digits after '#$'" : "a character code after '#'"));
    if (code > 255)
        Fail(FLine, "character code " + Quote(FText.substr(start, FPos - start)) +
                        " is out of range, expected 0 to 255 (single-byte text)");
    text += static_cast<char>(code);
}

std::vector<uint8_t> TLayoutParser::ReadBinaryData(const std::string& property, int startLine) {
    std::vector<uint8_t> bytes;
    const std::size_t close = FText.find('}', FPos);
    if (close != std::string_view::npos) bytes.reserve((close - FPos) / 2);
    int highNibble = -1;
    for (; FPos < FText.size(); ++FPos) {
        // Most of the data is long runs of digit pairs: read a run without the checks below.
        if (highNibble < 0) {
            const std::size_t start = FPos;
            FPos = ReadDigitPairs(bytes);
            if (FPos != start) FLastTokenLine = FLine;
            if (FPos >= FText.size()) break;
        }
        const char c = FText[FPos];
        if (c == '}') {
            if (highNibble >= 0)
                Fail(FLine, "odd number of hexadecimal digits in the binary data" +
                                PropertyContext(property) + " opened on line " +
                                std::to_string(startLine) + ", expected pairs of digits");
            ++FPos;
            FLastTokenLine = FLine;
            return bytes;
        }
        if (c == '\n') {
            ++FLine;
            continue;
        }
        if (c == ' ' || c == '\t' || c == '\r') continue;
        FLastTokenLine = FLine;
        const int nibble = HexDigitValue(c);
        if (nibble < 0)
            Fail(FLine,
                 "expected a hexadecimal digit or '}' in the binary data" +
                     PropertyContext(property) + " but found " +
                     (IsPrintableAscii(c) ? Quote(std::string_view(&c, 1)) : DescribeByte(c)));
        if (highNibble < 0) {
            highNibble = nibble;
        } else {
            bytes.push_back(static_cast<uint8_t>(highNibble << 4 | nibble));
            highNibble = -1;
        }
    }
    Fail(FLastTokenLine, "unexpected end of layout, expected '}' to close the binary data" +
                             PropertyContext(property) + " opened on line " +
                             std::to_string(startLine));
}

std::size_t TLayoutParser::ReadDigitPairs(std::vector<uint8_t>& bytes) const {
    const char* text = FText.data();
    const std::size_t size = FText.size();
    std::size_t pos = FPos;
    for (; pos + 1 < size; pos += 2) {
        const int high = HexDigitValue(text[pos]), low = HexDigitValue(text[pos + 1]);
        if ((high | low) < 0) break;
        bytes.push_back(static_cast<uint8_t>(high << 4 | low));
    }
    return pos;
}

// ---- Helpers ----

bool TLayoutParser::AtSymbol(char symbol) const {
    return FToken.Kind == TTokenKind::Symbol && FToken.Source.size() == 1 &&
           FToken.Source[0] == symbol;
}

bool TLayoutParser::AtKeyword(std::string_view keyword) const {
    return FToken.Kind == TTokenKind::Identifier && EqualsIgnoringCase(FToken.Source, keyword);
}

bool TLayoutParser::AtObjectKeyword() const {
    return FToken.Kind == TTokenKind::Identifier && IsObjectKeyword(FToken.Source);
}

bool TLayoutParser::AtPlainIdentifier() const {
    return FToken.Kind == TTokenKind::Identifier && !IsReservedWord(FToken.Source) &&
           FToken.Source.find('.') == std::string_view::npos;
}

void TLayoutParser::Expect(char symbol, const std::string& what) {
    if (!AtSymbol(symbol)) FailExpected(what);
    Advance();
}

void TLayoutParser::CheckValueDepth(int depth, const std::string& property) const {
    if (depth >= MaxNestingDepth)
        Fail(FToken.Line, "lists and collections nested more than " +
                              std::to_string(MaxNestingDepth) + " deep" +
                              PropertyContext(property) + ", expected a flatter value");
}

void TLayoutParser::CountElement() {
    if (++FElements > MaxElements)
        Fail(FToken.Line, "layout holds more than " + std::to_string(MaxElements) +
                              " objects, values and set members, expected a smaller layout");
}

std::string TLayoutParser::DescribeToken() const {
    switch (FToken.Kind) {
    case TTokenKind::EndOfInput:
        return "end of layout";
    case TTokenKind::String:
        return "string " + Quote(FToken.Text);
    default:
        return Quote(FToken.Source);
    }
}

void TLayoutParser::FailExpected(const std::string& what) const {
    Fail(FToken.Line, "expected " + what + " but found " + DescribeToken());
}

void TLayoutParser::Fail(int line, const std::string& reason) const {
    throw ELayoutError(line, reason);
}
