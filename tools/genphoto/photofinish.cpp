#include "photofinish.h"

#include "noise.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

void BoxPass(std::vector<int>& line, int radius) {
    const int size = int(line.size());
    std::vector<int> prefix(size + 1, 0);
    for (int i = 0; i < size; ++i)
        prefix[i + 1] = prefix[i] + line[i];
    for (int i = 0; i < size; ++i) {
        const int from = std::max(0, i - radius), to = std::min(size, i + radius + 1);
        // Outside the image counts as empty, so shadows fade at the edges instead of smearing.
        line[i] = (prefix[to] - prefix[from]) / (2 * radius + 1);
    }
}

int Clamp8(double value) {
    return std::clamp(int(std::lround(value)), 0, 255);
}

QRgb Scaled(QRgb pixel, double factor) {
    return qRgb(Clamp8(qRed(pixel) * factor), Clamp8(qGreen(pixel) * factor),
                Clamp8(qBlue(pixel) * factor));
}

} // namespace

void TPhotoFinish::Blur(QImage& mask, int radius) {
    if (radius <= 0) return;
    const int width = mask.width(), height = mask.height();
    std::vector<int> line;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < height; ++y) {
            uchar* row = mask.scanLine(y);
            line.assign(row, row + width);
            BoxPass(line, radius);
            std::copy(line.begin(), line.end(), row);
        }
        for (int x = 0; x < width; ++x) {
            line.resize(size_t(height));
            for (int y = 0; y < height; ++y)
                line[size_t(y)] = mask.scanLine(y)[x];
            BoxPass(line, radius);
            for (int y = 0; y < height; ++y)
                mask.scanLine(y)[x] = uchar(line[size_t(y)]);
        }
    }
}

void TPhotoFinish::Darken(QImage& canvas, const QImage& mask, double strength) {
    for (int y = 0; y < canvas.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(canvas.scanLine(y));
        const uchar* shade = mask.constScanLine(y);
        for (int x = 0; x < canvas.width(); ++x)
            if (shade[x] != 0) row[x] = Scaled(row[x], 1.0 - strength * shade[x] / 255.0);
    }
}

void TPhotoFinish::TexturePcb(QImage& canvas, const QImage& pcbMask, double scale, uint32_t seed) {
    const TNoise noise(seed);
    for (int y = 0; y < canvas.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(canvas.scanLine(y));
        const uchar* inside = pcbMask.constScanLine(y);
        for (int x = 0; x < canvas.width(); ++x) {
            if (inside[x] == 0) continue;
            const double px = x / scale, py = y / scale;
            const double mottle = 0.045 * noise.Cloudy(float(px), float(py), 60.0f);
            const double weave =
                0.014 * std::sin(px * 2.1) * std::sin(py * 2.1) + 0.010 * std::sin((px + py) * 0.9);
            const double grain = 0.035 * noise.Signed(x, y);
            const double factor = 1.0 + (mottle + weave + grain) * inside[x] / 255.0;
            row[x] = Scaled(row[x], factor);
        }
    }
}

QImage TPhotoFinish::Downscale(const QImage& source, int factor) {
    QImage result(source.width() / factor, source.height() / factor, QImage::Format_RGB32);
    const int area = factor * factor;
    for (int y = 0; y < result.height(); ++y) {
        auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            int r = 0, g = 0, b = 0;
            for (int dy = 0; dy < factor; ++dy) {
                const auto* in =
                    reinterpret_cast<const QRgb*>(source.constScanLine(y * factor + dy));
                for (int dx = 0; dx < factor; ++dx) {
                    const QRgb pixel = in[x * factor + dx];
                    r += qRed(pixel);
                    g += qGreen(pixel);
                    b += qBlue(pixel);
                }
            }
            out[x] = qRgb(r / area, g / area, b / area);
        }
    }
    return result;
}

// A soft box light above the top left: brighter there, a broad sheen across the glossy mask,
// and the usual fall-off towards the corners of the frame.
void TPhotoFinish::Light(QImage& photo) {
    const double width = photo.width(), height = photo.height();
    for (int y = 0; y < photo.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(photo.scanLine(y));
        for (int x = 0; x < photo.width(); ++x) {
            const double u = x / width, v = y / height;
            const double slope = 1.035 - 0.075 * (0.6 * u + 0.4 * v);
            const double dx = u - 0.58, dy = v - 0.36;
            const double sheen = 0.07 * std::exp(-(dx * dx * 5.0 + dy * dy * 9.0));
            const double cx = u - 0.5, cy = v - 0.5;
            const double vignette = 1.0 - 0.10 * std::pow((cx * cx + cy * cy) * 2.0, 1.6);
            row[x] = Scaled(row[x], (slope + sheen) * vignette);
        }
    }
}

void TPhotoFinish::SensorNoise(QImage& photo, uint32_t seed) {
    const TNoise luma(seed), chroma(seed + 1);
    for (int y = 0; y < photo.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(photo.scanLine(y));
        for (int x = 0; x < photo.width(); ++x) {
            const QRgb pixel = row[x];
            // Shot noise is weaker in the highlights, as on a real sensor.
            const double level = 2.6 * (1.0 - 0.55 * qGray(pixel) / 255.0);
            const double l = level * (luma.Signed(x, y) + luma.Signed(x + 7, y - 3));
            const double c = 1.2 * chroma.Signed(x / 2, y / 2);
            row[x] = qRgb(Clamp8(qRed(pixel) + l + c), Clamp8(qGreen(pixel) + l),
                          Clamp8(qBlue(pixel) + l - c));
        }
    }
}

QImage TPhotoFinish::Develop(const QImage& supersampled, int factor, uint32_t seed) {
    QImage photo = Downscale(supersampled, factor);
    Light(photo);
    SensorNoise(photo, seed);
    return photo;
}
