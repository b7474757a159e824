// Basic value types of the class library: colours, geometry, enumerations and events.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

class TObject;
class TComponent;

using TColor = int32_t; // 0x00BBGGRR, or a system colour (high bit set)

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clNavy = 0x800000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clSystemColor = static_cast<int32_t>(0xFF000000u);
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clNone = 0x1FFFFFFF;

constexpr TColor RGB(int r, int g, int b) { return (b << 16) | (g << 8) | r; }
constexpr int GetRValue(TColor c) { return c & 0xFF; }
constexpr int GetGValue(TColor c) { return (c >> 8) & 0xFF; }
constexpr int GetBValue(TColor c) { return (c >> 16) & 0xFF; }
// Resolves system colours to the classic desktop palette.
TColor ColorToRGB(TColor color);

struct TPoint {
    int X = 0;
    int Y = 0;
    bool operator==(const TPoint&) const = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
    bool operator==(const TRect&) const = default;
};

inline TRect Rect(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }
inline TRect Bounds(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}

enum TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };

enum TAnchorKind : uint8_t { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = uint8_t;
constexpr TAnchors DefaultAnchors = akLeft | akTop;

enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };
enum TBevelCut : uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
enum TBorderStyle : uint8_t { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TFormStyle : uint8_t { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TPosition : uint8_t {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum TWindowState : uint8_t { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction : uint8_t { caNone, caHide, caFree, caMinimize };
enum TScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };

enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t;

// Component state flags.
enum TComponentStateFlag : uint16_t {
    csLoading = 1,
    csReading = 2,
    csWriting = 4,
    csDestroying = 8,
    csDesigning = 16
};
using TComponentState = uint16_t;

// Method references: an object together with one of its methods. Empty until assigned.
using TNotifyEvent = std::function<void(TObject* sender)>;
using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TIdleEvent = std::function<void(TObject* sender, bool& done)>;
using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, int x, int y)>;

// Single-byte text in the Windows-1252 code page, as stored in layouts and shown by controls.
using AnsiString = std::string;
