// The six piece atlases built into the program: format, cell layout, shapes and row colours.
#include "support/AtlasResource.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

constexpr int kCell = 64;

bool Lit(const std::uint8_t* p, int threshold) { return std::max({p[0], p[1], p[2]}) > threshold; }

struct Box {
    int left = kCell, top = kCell, right = -1, bottom = -1, count = 0;
};

Box LitBox(const RgbaImage& image, int column, int row, int threshold) {
    Box box;
    for (int y = 0; y < kCell; ++y) {
        for (int x = 0; x < kCell; ++x) {
            if (Lit(image.At(column * kCell + x, row * kCell + y), threshold)) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
                ++box.count;
            }
        }
    }
    return box;
}

// Chroma-weighted mean hue of a row, in degrees, and the mean chroma of its lit pixels (0..1).
std::pair<double, double> RowHue(const RgbaImage& image, int row) {
    double sx = 0, sy = 0, chroma = 0;
    int lit = 0;
    for (int y = row * kCell; y < (row + 1) * kCell; ++y) {
        for (int x = 0; x < static_cast<int>(image.width); ++x) {
            const std::uint8_t* p = image.At(x, y);
            const double r = p[0] / 255.0, g = p[1] / 255.0, b = p[2] / 255.0;
            const double hi = std::max({r, g, b}), c = hi - std::min({r, g, b});
            if (hi < 0.15) {
                continue;
            }
            ++lit;
            chroma += c;
            if (c <= 0) {
                continue;
            }
            double h = hi == r ? std::fmod((g - b) / c + 6, 6) : hi == g ? (b - r) / c + 2 : (r - g) / c + 4;
            h *= 3.14159265358979 / 3;
            sx += c * std::cos(h);
            sy += c * std::sin(h);
        }
    }
    double hue = std::atan2(sy, sx) * 180 / 3.14159265358979;
    return {hue < 0 ? hue + 360 : hue, lit > 0 ? chroma / lit : 0};
}

} // namespace

TEST_SUITE("resources") {

TEST_CASE("Atlases: each is an 832 x 384 PNG with 8-bit channels, RGB or RGBA with every pixel opaque") {
    for (int id = 202; id <= 207; ++id) {
        CAPTURE(id);
        const RgbaImage atlas = DecodeAtlas(id);
        CHECK(atlas.width == 832);
        CHECK(atlas.height == 384);
        CHECK(atlas.channels == (id <= 203 ? 3 : 4));
        int translucent = 0;
        for (std::size_t i = 3; i < atlas.pixels.size(); i += 4) {
            translucent += atlas.pixels[i] != 255;
        }
        CHECK(translucent == 0);
    }
}

TEST_CASE("Atlases: every cell holds one shape, centred on black, filling the cell") {
    for (int id = 202; id <= 207; ++id) {
        const RgbaImage atlas = DecodeAtlas(id);
        for (int row = 0; row < 6; ++row) {
            for (int column = 0; column < 13; ++column) {
                CAPTURE(id);
                CAPTURE(row);
                CAPTURE(column);
                int border = 0;
                for (int y = 0; y < kCell; ++y) {
                    for (int x = 0; x < kCell; ++x) {
                        const bool edge = x < 2 || y < 2 || x >= kCell - 2 || y >= kCell - 2;
                        border += edge && Lit(atlas.At(column * kCell + x, row * kCell + y), 0);
                    }
                }
                CHECK(border == 0);
                const Box box = LitBox(atlas, column, row, 32);
                CHECK(box.count > 250);
                CHECK(std::abs((box.left + box.right) / 2.0 - 31.5) <= 3.0);
                CHECK(std::abs((box.top + box.bottom) / 2.0 - 31.5) <= 3.0);
                CHECK(std::max(box.right - box.left, box.bottom - box.top) + 1 >= 38);
            }
        }
    }
}

TEST_CASE("Atlases: the rows are red, yellow, green, cyan, blue and magenta") {
    const double hues[6] = {0, 60, 120, 180, 240, 300};
    for (int id = 202; id <= 207; ++id) {
        const RgbaImage atlas = DecodeAtlas(id);
        for (int row = 0; row < 6; ++row) {
            CAPTURE(id);
            CAPTURE(row);
            auto [hue, chroma] = RowHue(atlas, row);
            const double off = std::abs(std::remainder(hue - hues[row], 360.0));
            CHECK(off < 10);
            CHECK(chroma > 0.35);
        }
    }
}

TEST_CASE("Atlases: the columns hold different shapes and the six styles differ") {
    const RgbaImage first = DecodeAtlas(202);
    // Shapes: the lit areas of any two cells in a row overlap by clearly less than their union.
    for (int a = 0; a < 13; ++a) {
        for (int b = a + 1; b < 13; ++b) {
            int both = 0, either = 0;
            for (int y = 0; y < kCell; ++y) {
                for (int x = 0; x < kCell; ++x) {
                    const bool la = Lit(first.At(a * kCell + x, y), 32), lb = Lit(first.At(b * kCell + x, y), 32);
                    both += la && lb;
                    either += la || lb;
                }
            }
            CAPTURE(a);
            CAPTURE(b);
            CHECK(double(both) / either < 0.9);
        }
    }
    // Styles: any two atlases differ on average by a visible amount over the lit pixels.
    RgbaImage atlases[6];
    for (int i = 0; i < 6; ++i) {
        atlases[i] = DecodeAtlas(202 + i);
    }
    for (int i = 0; i < 6; ++i) {
        for (int j = i + 1; j < 6; ++j) {
            double difference = 0;
            int lit = 0;
            for (int y = 0; y < 384; ++y) {
                for (int x = 0; x < 832; ++x) {
                    const std::uint8_t *p = atlases[i].At(x, y), *q = atlases[j].At(x, y);
                    if (Lit(p, 32) || Lit(q, 32)) {
                        ++lit;
                        difference += std::abs(p[0] - q[0]) + std::abs(p[1] - q[1]) + std::abs(p[2] - q[2]);
                    }
                }
            }
            CAPTURE(i);
            CAPTURE(j);
            CHECK(difference / (3 * 255.0 * lit) > 0.08);
        }
    }
}
}
