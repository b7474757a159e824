#pragma once

#include <cstdint>

// Seeded, platform-independent noise. std:: distributions differ between standard libraries;
// these do not, so the photo comes out byte-identical wherever it is generated.
class TNoise {
  public:
    explicit TNoise(uint32_t seed) : Seed(seed) {}

    // Uniform in [0, 1) for one lattice point.
    float At(int x, int y) const;
    // Uniform in [-1, 1) for one lattice point.
    float Signed(int x, int y) const { return At(x, y) * 2.0f - 1.0f; }
    // Smooth value noise in [-1, 1): cells of the given size in pixels.
    float Smooth(float x, float y, float cellSize) const;
    // Sum of three octaves of Smooth, still roughly in [-1, 1).
    float Cloudy(float x, float y, float cellSize) const;
    // Next value of a counter-driven sequence in [0, 1), for placing things.
    float Next();

  private:
    uint32_t Seed;
    uint32_t Counter = 0;
};
