#include "noise.h"

#include <cmath>

namespace {

uint32_t Mix(uint32_t h) {
    h ^= h >> 16;
    h *= 0x7feb352dU;
    h ^= h >> 15;
    h *= 0x846ca68bU;
    h ^= h >> 16;
    return h;
}

float SmoothStep(float t) {
    return t * t * (3.0f - 2.0f * t);
}

float Lerp(float a, float b, float t) {
    return a + (b - a) * t;
}

} // namespace

float TNoise::At(int x, int y) const {
    const uint32_t h = Mix(Seed ^ Mix(uint32_t(x) * 0x9E3779B1U ^ Mix(uint32_t(y) + 0x632BE5ABU)));
    return float(h >> 8) / float(1U << 24);
}

float TNoise::Smooth(float x, float y, float cellSize) const {
    const float fx = x / cellSize, fy = y / cellSize;
    const int ix = int(std::floor(fx)), iy = int(std::floor(fy));
    const float tx = SmoothStep(fx - float(ix)), ty = SmoothStep(fy - float(iy));
    const float top = Lerp(Signed(ix, iy), Signed(ix + 1, iy), tx);
    const float bottom = Lerp(Signed(ix, iy + 1), Signed(ix + 1, iy + 1), tx);
    return Lerp(top, bottom, ty);
}

float TNoise::Cloudy(float x, float y, float cellSize) const {
    return 0.55f * Smooth(x, y, cellSize) + 0.3f * Smooth(x + 17.0f, y - 9.0f, cellSize / 2.3f) +
           0.15f * Smooth(x - 5.0f, y + 31.0f, cellSize / 5.1f);
}

float TNoise::Next() {
    return At(int(Counter++), -7919);
}
