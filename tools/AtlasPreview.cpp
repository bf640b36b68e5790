// Preview pictures of a piece atlas: an enlarged copy and an additive scatter of rotated, tinted pieces.
#include "AtlasPreview.h"

#include "artwork/Shapes.h"

#include <cmath>
#include <cstdint>

using namespace shapes;

namespace {

Rgba Sample(const Image& image, double u, double v, int cellX, int cellY) {
    // Bilinear, kept inside the piece's own cell.
    u = std::clamp(u - 0.5, cellX + 0.0, cellX + 63.0);
    v = std::clamp(v - 0.5, cellY + 0.0, cellY + 63.0);
    const int x = std::min(static_cast<int>(u), cellX + 62), y = std::min(static_cast<int>(v), cellY + 62);
    const double tx = u - x, ty = v - y;
    Rgba top = Mix(image.Get(x, y), image.Get(x + 1, y), tx);
    Rgba bottom = Mix(image.Get(x, y + 1), image.Get(x + 1, y + 1), tx);
    return Mix(top, bottom, ty);
}

// A small deterministic generator for the scatter.
struct Random {
    std::uint32_t state;
    double Next() {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) / 16777216.0;
    }
};

Image Scatter(const Image& atlas) {
    constexpr int kWidth = 640, kHeight = 400;
    std::vector<Rgba> sum(kWidth * kHeight, Rgba{0, 0, 0, 1});
    Random random{12345};
    for (int n = 0; n < 90; ++n) {
        const int cellX = 64 * static_cast<int>(random.Next() * 13), cellY = 64 * static_cast<int>(random.Next() * 6);
        const double cx = random.Next() * kWidth, cy = random.Next() * kHeight;
        const double scale = 0.35 + random.Next() * 0.9, angle = random.Next() * 2 * kPi;
        const double light = 0.55 + 0.45 * random.Next(); // the saver's twinkle
        const double cs = std::cos(angle), sn = std::sin(angle), half = 32 * scale * 1.42;
        for (int y = std::max(0, int(cy - half)); y < std::min(kHeight, int(cy + half) + 1); ++y) {
            for (int x = std::max(0, int(cx - half)); x < std::min(kWidth, int(cx + half) + 1); ++x) {
                const double dx = (x + 0.5 - cx) / scale, dy = (y + 0.5 - cy) / scale;
                const double u = cs * dx + sn * dy + 32, v = -sn * dx + cs * dy + 32;
                if (u < 0 || v < 0 || u >= 64 || v >= 64) {
                    continue;
                }
                const Rgba t = Sample(atlas, cellX + u, cellY + v, cellX, cellY);
                Rgba& s = sum[y * kWidth + x];
                s = {s.r + t.r * light, s.g + t.g * light, s.b + t.b * light, 1};
            }
        }
    }
    Image out(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            out.Set(x, y, sum[y * kWidth + x]);
        }
    }
    return out;
}

Image Enlarged(const Image& image, int k) {
    Image out(image.Width() * k, image.Height() * k);
    out.Paint(1, [&](double x, double y) { return image.Get(static_cast<int>(x) / k, static_cast<int>(y) / k); });
    return out;
}

} // namespace

void WriteAtlasPreviews(const Image& atlas, const std::string& prefix) {
    WriteFile(prefix + "-zoom.png", Enlarged(atlas, 2).EncodePng(false));
    WriteFile(prefix + "-glow.png", Scatter(atlas).EncodePng(false));
}
