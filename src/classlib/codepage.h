// Conversion between the program's single-byte Windows-1252 text and Unicode.
#pragma once

#include <string>

class QString;

class TCodePage {
  public:
    static std::string AnsiToUtf8(const std::string& ansi);
    static char32_t AnsiToCodePoint(unsigned char c);
    static QString ToQString(const std::string& ansi);
    // Characters outside the code page become '?'.
    static std::string FromQString(const QString& text);
};
