// Reads the Rich Text Format subset our help documents use into a TRtfDocument.
// The input is untrusted (it is a file on disk), so the reader is a single loop with an explicit
// group stack: no recursion, every count clamped, and it never throws.
#pragma once

#include "classlib/rtfdocument.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TRtfReader {
  public:
    // Groups nested deeper than this still balance braces but no longer save formatting.
    static constexpr int MaxDepth = 200;
    static constexpr std::size_t MaxTableEntries = 4096;
    // Face names have at most 31 characters where Rich Text is written; longer ones are cut.
    static constexpr std::size_t MaxFontNameBytes = 128;
    // Fallback characters skipped after \uN; real writers use 1 or 2.
    static constexpr int MaxFallbackChars = 16;
    static constexpr int MinHalfPoints = 1;
    static constexpr int MaxHalfPoints = 3276;

    // Always returns a document. *wellFormed (when given) turns false if anything had to be
    // guessed: missing header, unbalanced braces, too deep, truncated escapes, clamped numbers.
    static TRtfDocument Read(std::string_view rtf, bool* wellFormed = nullptr) noexcept;

  private:
    enum class TDestination { Text, FontTable, ColorTable, Skip };

    struct TCharFormat {
        int Font = -1; // -1: the document's default font
        int HalfPoints = 24;
        bool Bold = false;
        bool Italic = false;
        bool Underline = false;
        int Color = -1; // -1: automatic
    };

    struct TGroupState {
        TCharFormat Format;
        TDestination Destination = TDestination::Text;
        int FallbackChars = 1;
    };

    explicit TRtfReader(std::string_view rtf);

    void Parse();
    void Finish();
    void OpenGroup();
    void CloseGroup();
    void RawCharacter(unsigned char byte);
    void ReadControl();
    void ReadControlWord();
    std::optional<int32_t> ReadParameter();
    void HexEscape();
    void SkipBinary(int32_t count);
    bool ConsumeFallback();
    void ControlSymbol(char symbol, bool atGroupStart);
    void ControlWord(std::string_view name, std::optional<int32_t> parameter);
    bool StartDestination(std::string_view name);
    bool ApplyFormatWord(std::string_view name, std::optional<int32_t> parameter);
    bool ApplyTextWord(std::string_view name, std::optional<int32_t> parameter);
    void SetFallbackChars(int32_t count);
    void UnicodeCharacter(int32_t value);

    void EmitCodePoint(char32_t codePoint);
    void Deliver(char32_t codePoint);
    void AppendToFontName(char32_t codePoint);
    void FlushHighSurrogate();
    void AppendToParagraph(char32_t codePoint);
    void EndParagraph();
    std::string_view FontNameFor(int font) const;
    uint32_t ColorFor(int index) const;
    bool LastRunHasCurrentFormat() const;

    bool CommitTableEntry();
    void StartFont(int32_t number);
    void CommitFont();
    bool SetColorComponent(std::string_view name, std::optional<int32_t> parameter);
    void CommitColor();

    void Warn() { FWellFormed = false; }

    std::string_view FInput;
    std::size_t FPos = 0;
    TRtfDocument FDocument;
    TRtfParagraph FParagraph;
    TGroupState FState;
    std::vector<TGroupState> FStack;
    int FOverflowDepth = 0;
    bool FAtGroupStart = false;
    bool FOuterGroupClosed = false;
    bool FWellFormed = true;

    int FDefaultFont = 0;
    int FFallbackLeft = 0;
    char32_t FHighSurrogate = 0;

    int32_t FFontNumber = -1;
    std::string FFontName;
    uint32_t FRed = 0;
    uint32_t FGreen = 0;
    uint32_t FBlue = 0;
};
