// The tinted ellipse with its coloured ring that a highlight circle lays over the photograph.
// Pure pixel work on a 32-bit bitmap, so it can be checked without a screen.
#pragma once

#include "classlib/types.h"

class TBitmap;

class THighlightShader {
  public:
    // Shades the ellipse inscribed in `image` in place, in single-precision arithmetic.
    // A bitmap one pixel wide or high has no inside to shade and is left as it is.
    static void Shade(TBitmap& image, bool whiteCore, TColor color, float alpha);
    // The weight of the tint at normalised position (x, y), and whether the base turns white.
    static bool Weight(float x, float y, bool whiteCore, float& weight, bool& white);
};
