#include "classlib/codepage.h"

#include <QString>

namespace {
// 0x80..0x9F of Windows-1252; 0 marks the five unassigned bytes, kept as C1 controls.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}
} // namespace

char32_t TCodePage::AnsiToCodePoint(unsigned char c) {
    if (c >= 0x80 && c <= 0x9F && kHighControls[c - 0x80] != 0) return kHighControls[c - 0x80];
    return c;
}

std::string TCodePage::AnsiToUtf8(const std::string& ansi) {
    std::string out;
    out.reserve(ansi.size());
    for (unsigned char c : ansi) AppendUtf8(out, AnsiToCodePoint(c));
    return out;
}

QString TCodePage::ToQString(const std::string& ansi) {
    QString out;
    out.reserve(static_cast<qsizetype>(ansi.size()));
    for (unsigned char c : ansi) out.append(QChar(static_cast<char16_t>(AnsiToCodePoint(c))));
    return out;
}

std::string TCodePage::FromQString(const QString& text) {
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (QChar ch : text) {
        char16_t u = ch.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out += static_cast<char>(u);
            continue;
        }
        char mapped = '?';
        for (int i = 0; i < 32; ++i)
            if (kHighControls[i] == u) mapped = static_cast<char>(0x80 + i);
        out += mapped;
    }
    return out;
}
