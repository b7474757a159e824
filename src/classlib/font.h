// A font description: name, size, style and colour.
#pragma once

#include "classlib/object.h"
#include "classlib/types.h"

#include <string>

class QFont;

class TFont : public TObject {
  public:
    DECLARE_CLASS_NAME(TFont)
    static constexpr int PixelsPerInch = 96;

    const std::string& Name() const { return FName; }
    void SetName(const std::string& name);
    // Negative: character height in pixels; positive: cell height. Size is in points.
    int Height() const { return FHeight; }
    void SetHeight(int height);
    int Size() const;
    void SetSize(int points);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles style);
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    int Charset() const { return FCharset; }
    void SetCharset(int charset) { FCharset = charset; }
    void Assign(const TFont& other);
    bool operator==(const TFont& other) const;

    QFont ToQFont() const;
    TNotifyEvent OnChange;

  private:
    void Changed();
    std::string FName = "MS Sans Serif";
    int FHeight = -11;
    TFontStyles FStyle = 0;
    TColor FColor = clWindowText;
    int FCharset = 1;
};
