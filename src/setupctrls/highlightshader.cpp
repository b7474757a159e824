#include "setupctrls/highlightshader.h"

#include "classlib/bitmap.h"

#include <cmath>

namespace {
// Rounds to the nearest integer, halves to even, as nearbyint does in the default rounding
// mode, but without its trip through the floating-point environment: adding 1.5 * 2^23 leaves
// no fraction bits, so the addition itself rounds. Valid for 0 <= value < 2^22.
inline float RoundHalfEven(float value) {
    constexpr float kShift = 12582912.0f;
    // Without fast-math the compiler keeps both steps: (v + k) - k is not v in IEEE arithmetic.
    return (value + kShift) - kShift;
}

inline uint8_t Mix(float base, float tint, float weight) {
    return static_cast<uint8_t>(RoundHalfEven(base * (1.0f - weight) + tint * weight));
}

// Kept inline in the per-pixel loop: as a call it cost a fifth of the shading.
inline bool TintWeight(float x, float y, bool whiteCore, float& weight, bool& white) {
    float d = x * x + y * y;
    white = false;
    if (d >= 1.0f) return false;
    if (d < 0.5929f) { // inside radius 0.77: a light tint
        weight = 0.16f;
        return true;
    }
    weight = 1.0f - 8.0f * std::fabs(std::sqrt(d) - 0.875f);
    if (whiteCore) {
        weight *= 2.0f;
        if (weight > 1.0f) {
            white = true;
            weight = 2.0f - weight;
        }
    }
    return true;
}
} // namespace

bool THighlightShader::Weight(float x, float y, bool whiteCore, float& weight, bool& white) {
    return TintWeight(x, y, whiteCore, weight, white);
}

void THighlightShader::Shade(TBitmap& image, bool whiteCore, TColor color, float alpha) {
    const int width = image.Width(), height = image.Height();
    if (width < 2 || height < 2) return;
    const float sx = 2.0f / static_cast<float>(width - 1);
    const float sy = 2.0f / static_cast<float>(height - 1);
    const float red = static_cast<float>(GetRValue(color));
    const float green = static_cast<float>(GetGValue(color));
    const float blue = static_cast<float>(GetBValue(color));
    for (int r = 0; r < height; ++r) {
        uint8_t* pixel = image.ScanLine(r);
        const float y = static_cast<float>(r) * sy - 1.0f;
        for (int c = 0; c < width; ++c, pixel += 4) {
            const float x = static_cast<float>(c) * sx - 1.0f;
            float weight;
            bool white;
            if (!TintWeight(x, y, whiteCore, weight, white)) continue;
            weight *= alpha;
            // Memory order is blue, green, red, unused.
            float b = white ? 255.0f : pixel[0], g = white ? 255.0f : pixel[1],
                  rr = white ? 255.0f : pixel[2];
            pixel[0] = Mix(b, blue, weight);
            pixel[1] = Mix(g, green, weight);
            pixel[2] = Mix(rr, red, weight);
        }
    }
}
