#include "classlib/font.h"

#include "classlib/codepage.h"

#include <QFont>

void TFont::Changed() {
    if (OnChange) OnChange(this);
}

void TFont::SetName(const std::string& name) {
    if (name == FName) return;
    FName = name;
    Changed();
}

void TFont::SetHeight(int height) {
    if (height == FHeight) return;
    FHeight = height;
    Changed();
}

int TFont::Size() const {
    // Points from pixels at 96 dpi, rounded as the platform does (MulDiv).
    int pixels = FHeight < 0 ? -FHeight : FHeight;
    return (pixels * 72 + PixelsPerInch / 2) / PixelsPerInch;
}

void TFont::SetSize(int points) { SetHeight(-((points * PixelsPerInch + 36) / 72)); }

void TFont::SetStyle(TFontStyles style) {
    if (style == FStyle) return;
    FStyle = style;
    Changed();
}

void TFont::SetColor(TColor color) {
    if (color == FColor) return;
    FColor = color;
    Changed();
}

void TFont::Assign(const TFont& other) {
    if (*this == other) return;
    FName = other.FName;
    FHeight = other.FHeight;
    FStyle = other.FStyle;
    FColor = other.FColor;
    FCharset = other.FCharset;
    Changed();
}

bool TFont::operator==(const TFont& other) const {
    return FName == other.FName && FHeight == other.FHeight && FStyle == other.FStyle &&
           FColor == other.FColor && FCharset == other.FCharset;
}

QFont TFont::ToQFont() const {
    QFont font(TCodePage::ToQString(FName));
    // The classic faces are missing here; let the font system pick the closest sans face.
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(FHeight < 0 ? -FHeight : (FHeight * 3 + 2) / 4 + 1);
    font.setBold(FStyle & fsBold);
    font.setItalic(FStyle & fsItalic);
    font.setUnderline(FStyle & fsUnderline);
    font.setStrikeOut(FStyle & fsStrikeOut);
    return font;
}
