// Draws the program icon, a small kaleidoscope, and writes it as a Windows icon file.
//   MakeIcon OUTPUT.ico [PREVIEW.png]
#include "artwork/Image.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Piece {
    double x, y, size;
    int shape; // 0 disc, 1 diamond, 2 square
    Rgba colour;
};

// Pieces inside one 30-degree wedge; folding the plane into that wedge mirrors them six-fold.
constexpr Piece kPieces[] = {
    {0.16, 0.04, 0.10, 1, {1.00, 0.86, 0.35, 1}},
    {0.42, 0.10, 0.13, 0, {0.90, 0.25, 0.55, 1}},
    {0.70, 0.08, 0.12, 2, {0.25, 0.75, 1.00, 1}},
    {0.62, 0.30, 0.09, 0, {0.45, 0.95, 0.55, 1}},
    {0.34, 0.16, 0.05, 0, {0.95, 0.95, 1.00, 1}},
    {0.86, 0.24, 0.07, 1, {1.00, 0.55, 0.20, 1}},
};

double ShapeDistance(const Piece& p, double x, double y) {
    double dx = std::abs(x - p.x);
    double dy = std::abs(y - p.y);
    switch (p.shape) {
    case 1:
        return (dx + dy) / p.size;
    case 2:
        return std::max(dx, dy) / (p.size * 0.8);
    default:
        return std::hypot(dx, dy) / p.size;
    }
}

Rgba Shade(double u, double v) {
    const double r = std::hypot(u, v);
    if (r > 1.0) {
        return {};
    }
    if (r > 0.92) {
        double t = (r - 0.92) / 0.08;
        double glow = 0.75 + 0.25 * std::sin(t * kPi);
        return {0.85 * glow, 0.78 * glow, 0.55 * glow, 1};
    }
    double angle = std::fmod(std::atan2(v, u) + 2 * kPi, kPi / 3);
    if (angle > kPi / 6) {
        angle = kPi / 3 - angle;
    }
    const double x = r * std::cos(angle);
    const double y = r * std::sin(angle);
    double light = 1.0 - 0.55 * r;
    Rgba c{0.05 + 0.05 * (1 - r), 0.07 + 0.06 * (1 - r), 0.22 + 0.14 * (1 - r), 1};
    for (const Piece& p : kPieces) {
        double d = ShapeDistance(p, x, y);
        if (d < 1.0) {
            double bevel = 0.8 + 0.2 * (1 - d);
            c.r += p.colour.r * bevel * light;
            c.g += p.colour.g * bevel * light;
            c.b += p.colour.b * bevel * light;
        }
    }
    return c;
}

Image DrawIcon(int size) {
    Image image(size, size);
    const double half = size / 2.0;
    image.Paint(6, [&](double px, double py) { return Shade((px - half) / (half - 0.5), (py - half) / (half - 0.5)); });
    return image;
}

void PutU16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

// A 32-bit DIB entry: header, bottom-up BGRA rows, then the 1-bit mask of transparent pixels.
std::vector<std::uint8_t> EncodeDib(const Image& image) {
    const int size = image.Width();
    std::vector<std::uint8_t> out;
    for (std::uint32_t v : {40u, static_cast<std::uint32_t>(size), static_cast<std::uint32_t>(size * 2)}) {
        PutU32(out, v);
    }
    PutU16(out, 1);
    PutU16(out, 32);
    for (int i = 0; i < 6; ++i) {
        PutU32(out, 0);
    }
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x) {
            Rgba c = image.Get(x, y);
            for (double v : {c.b, c.g, c.r, c.a}) {
                out.push_back(static_cast<std::uint8_t>(std::lround(v * 255)));
            }
        }
    }
    const int maskStride = ((size + 31) / 32) * 4;
    for (int y = size - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(maskStride);
        for (int x = 0; x < size; ++x) {
            if (image.Get(x, y).a < 0.5) {
                row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: MakeIcon OUTPUT.ico [PREVIEW.png]\n");
        return 2;
    }
    try {
        const int sizes[] = {16, 24, 32, 48, 256};
        std::vector<std::vector<std::uint8_t>> entries;
        for (int size : sizes) {
            Image image = DrawIcon(size);
            entries.push_back(size == 256 ? image.EncodePng(true) : EncodeDib(image));
        }
        std::vector<std::uint8_t> file;
        PutU16(file, 0);
        PutU16(file, 1);
        PutU16(file, static_cast<unsigned>(entries.size()));
        std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * entries.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const std::uint8_t dimension = static_cast<std::uint8_t>(sizes[i] == 256 ? 0 : sizes[i]);
            file.insert(file.end(), {dimension, dimension, 0, 0});
            PutU16(file, 1);
            PutU16(file, 32);
            PutU32(file, static_cast<std::uint32_t>(entries[i].size()));
            PutU32(file, offset);
            offset += static_cast<std::uint32_t>(entries[i].size());
        }
        for (const auto& entry : entries) {
            file.insert(file.end(), entry.begin(), entry.end());
        }
        WriteFile(argv[1], file);
        if (argc == 3) {
            WriteFile(argv[2], DrawIcon(256).EncodePng(true));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "MakeIcon: %s\n", e.what());
        return 1;
    }
    return 0;
}
