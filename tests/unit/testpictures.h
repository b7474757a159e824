// Pictures for tests that need a photograph beneath the controls.
#pragma once

#include "classlib/bitmap.h"
#include "classlib/types.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace testpictures {

// A photograph-like picture: every pixel differs from its neighbours, so a shifted or scaled
// copy cannot pass for the original.
inline TColor PhotoPixel(int x, int y) {
    return RGB((x * 7 + y) & 255, (y * 13 + x / 3) & 255, (x + 2 * y) & 255);
}

inline std::unique_ptr<TBitmap> MakeBitmap(int width, int height,
                                           const std::function<TColor(int, int)>& color) {
    auto bitmap = std::make_unique<TBitmap>(width, height);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = bitmap->ScanLine(y);
        for (int x = 0; x < width; ++x) {
            TColor c = color(x, y);
            row[4 * x + 0] = static_cast<uint8_t>(GetBValue(c));
            row[4 * x + 1] = static_cast<uint8_t>(GetGValue(c));
            row[4 * x + 2] = static_cast<uint8_t>(GetRValue(c));
        }
    }
    return bitmap;
}

} // namespace testpictures
