#pragma once

#include <QImage>

#include <cstdint>

// Pixel-level steps that turn clean vector drawing into something that reads as a photograph:
// soft shadows, a textured solder mask, uneven light, lens fall-off and sensor noise.
class TPhotoFinish {
  public:
    // Blurs an 8-bit mask in place; three box passes approximate a Gaussian.
    static void Blur(QImage& mask, int radius);
    // Multiplies the canvas by (1 - strength * mask) where the mask is set.
    static void Darken(QImage& canvas, const QImage& mask, double strength);
    // Mottle and glass-weave pattern of the laminate, only where pcbMask is set.
    static void TexturePcb(QImage& canvas, const QImage& pcbMask, double scale, uint32_t seed);
    // Averages factor x factor blocks down to the final size, then adds light and noise.
    static QImage Develop(const QImage& supersampled, int factor, uint32_t seed);

  private:
    static QImage Downscale(const QImage& source, int factor);
    static void Light(QImage& photo);
    static void SensorNoise(QImage& photo, uint32_t seed);
};
