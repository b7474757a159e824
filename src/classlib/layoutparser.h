// Reads the text form of a stored form layout into a TLayoutNode tree. Needs no GUI toolkit.
#pragma once

#include "classlib/layoutnode.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class TLayoutParser {
  public:
    // Limits that keep hostile or damaged files from exhausting memory or the stack.
    static constexpr std::size_t MaxInputBytes = 16u * 1024 * 1024;
    static constexpr int MaxNestingDepth = 64; // objects; and lists/collections inside a value
    static constexpr std::size_t MaxElements = 250'000; // objects, values, set members, items

    // Throws ELayoutError naming the line and what was expected there.
    static TLayoutNode Parse(std::string_view text);

  private:
    enum class TTokenKind { Identifier, Integer, Float, String, Symbol, EndOfInput };
    struct TToken {
        TTokenKind Kind = TTokenKind::EndOfInput;
        std::string_view Source; // the token as written
        std::string Text;        // decoded bytes of a string
        long long Integer = 0;
        double Float = 0;
        int Line = 1;
    };

    explicit TLayoutParser(std::string_view text) : FText(text) {}

    TLayoutNode ParseRoot();
    TLayoutNode ParseObject(int depth);
    void ParseObjectHeader(TLayoutNode& node);
    void ParseObjectBody(TLayoutNode& node, int depth);
    TLayoutProperty ParseProperty(int valueDepth);
    TLayoutValue ParseValue(const std::string& property, int depth, const std::string& expected);
    TLayoutValue ParseString(const std::string& property);
    TLayoutValue ParseSet(const std::string& property);
    TLayoutValue ParseList(const std::string& property, int depth);
    TLayoutValue ParseBinary(const std::string& property);
    TLayoutValue ParseCollection(const std::string& property, int depth);
    TLayoutCollectionItem ParseCollectionItem(const std::string& property, int depth);

    void Advance();
    void SkipWhitespace();
    bool StartsNumber() const;
    void LexIdentifier();
    void LexNumber();
    void SkipDecimalDigits();
    void RejectNumberTail(std::size_t start) const;
    [[noreturn]] void FailMalformedNumber(std::size_t start) const;
    void StoreInteger(std::size_t start, std::string_view digits, int base, bool negative);
    void StoreFloat(std::size_t start);
    void LexString();
    void LexQuotedPart(std::string& text);
    void LexCharacterCode(std::string& text);
    std::vector<uint8_t> ReadBinaryData(const std::string& property, int startLine);
    // Reads whole pairs of hexadecimal digits from the current position; returns where they end.
    std::size_t ReadDigitPairs(std::vector<uint8_t>& bytes) const;

    bool AtSymbol(char symbol) const;
    bool AtKeyword(std::string_view keyword) const;
    bool AtObjectKeyword() const;
    bool AtPlainIdentifier() const;
    void Expect(char symbol, const std::string& what);
    void CheckValueDepth(int depth, const std::string& property) const;
    void CountElement();
    std::string DescribeToken() const;
    [[noreturn]] void FailExpected(const std::string& what) const;
    [[noreturn]] void Fail(int line, const std::string& reason) const;

    std::string_view FText;
    std::size_t FPos = 0;
    int FLine = 1;
    int FLastTokenLine = 1;
    TToken FToken;
    std::size_t FElements = 0;
};
