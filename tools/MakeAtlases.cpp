// Draws the six piece atlases: 13 shapes by 6 colours in 64 x 64 cells on black, in six styles,
// and writes them as 8-bit PNG files (the first two RGB, the others RGBA, every pixel opaque).
//   MakeAtlases OUTPUT-FOLDER [PREVIEW-FOLDER]
// The files are named Atlas202.png to Atlas207.png after the resources they become. With a preview
// folder it also writes each atlas enlarged and a scatter of its pieces added up on black.
#include "AtlasPreview.h"
#include "AtlasShapes.h"
#include "artwork/Image.h"
#include "artwork/Shapes.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <string>

using namespace shapes;
using namespace atlas;

namespace {

constexpr int kSamples = 6;
// Mosaic blocks: twelve a cell side, the cell's centre on a block corner.
constexpr int kBlocks = 12;
constexpr double kBlock = 64.0 / kBlocks;

std::uint32_t Hash(std::uint32_t a, std::uint32_t b, std::uint32_t c = 0, std::uint32_t d = 0) {
    std::uint32_t h = 0x811C9DC5u;
    for (std::uint32_t v : {a, b, c, d}) {
        h = (h ^ v) * 0x01000193u;
        h ^= h >> 15;
        h *= 0x2C1B3C6Du;
        h ^= h >> 12;
    }
    return h;
}

double Unit(std::uint32_t h) { return (h >> 8) / 16777216.0; }

Rgba FromHsv(double hue, double s, double v) {
    s = Clamp01(s);
    v = Clamp01(v);
    auto channel = [&](double n) {
        const double k = std::fmod(n + hue / 60, 6);
        return v - v * s * std::max(0.0, std::min({k, 4 - k, 1.0}));
    };
    return {channel(5), channel(3), channel(1), 1};
}

const Rgba kBlack{0, 0, 0, 1};

struct Cell {
    int column, row, style;
    double hue;
    const std::array<double, kBlocks * kBlocks>* mosaic; // share of each mosaic block that the shape covers
};

// Position along the light's fall from the upper left (0) to the lower right (1).
double Falloff(double x, double y) { return Clamp01(0.5 + (0.55 * x + 0.83 * y) / 56); }

// The three nearest seeds of a jittered grid: their distances, and the nearest seed's id and place.
struct Seeds {
    double d1 = 1e9, d2 = 1e9, d3 = 1e9;
    std::uint32_t id = 0;
    double x = 0, y = 0;
};

Seeds NearestSeeds(double x, double y, double spacing, std::uint32_t salt) {
    Seeds s;
    const int gx = static_cast<int>(std::floor(x / spacing)), gy = static_cast<int>(std::floor(y / spacing));
    for (int j = gy - 1; j <= gy + 1; ++j) {
        for (int i = gx - 1; i <= gx + 1; ++i) {
            const std::uint32_t id = Hash(static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(j), salt);
            const double sx = (i + 0.5 + 0.7 * (Unit(id) - 0.5)) * spacing;
            const double sy = (j + 0.5 + 0.7 * (Unit(Hash(id, 1)) - 0.5)) * spacing;
            const double d = std::hypot(x - sx, y - sy);
            if (d < s.d1) {
                s.d3 = s.d2;
                s.d2 = s.d1;
                s = {d, s.d2, s.d3, id, sx, sy};
            } else if (d < s.d2) {
                s.d3 = s.d2;
                s.d2 = d;
            } else if (d < s.d3) {
                s.d3 = d;
            }
        }
    }
    return s;
}

Rgba SmoothShaded(const Cell& c, double x, double y) {
    if (ShapeDistance(c.column, x, y) >= 0) {
        return kBlack;
    }
    const double g = Falloff(x, y);
    return FromHsv(c.hue, 0.5 + 0.5 * shapes::Smooth(0, 0.7, g), 1.0 - 0.64 * g);
}

Rgba Glints(const Cell& c, double x, double y) {
    if (ShapeDistance(c.column, x, y) >= 0) {
        return kBlack;
    }
    const double g = Falloff(x, y);
    Rgba colour = FromHsv(c.hue, 0.7 + 0.3 * g, 0.92 - 0.6 * g);
    // Streaks of light running from the lower left to the upper right.
    const double q = (x + y) / std::sqrt(2.0) + 8 * (Unit(Hash(c.column, c.row, 11)) - 0.5);
    const double glints[][3] = {{-13, 2.0, 0.95}, {-8.5, 0.7, 0.85}, {7.5, 1.3, 0.8}, {11.5, 0.6, 0.6}};
    double k = 0;
    for (const auto& glint : glints) {
        k = std::max(k, glint[2] * std::exp(-(q - glint[0]) * (q - glint[0]) / (2 * glint[1] * glint[1])));
    }
    return Mix(colour, FromHsv(c.hue, 0.12, 1), k);
}

Rgba Vivid(const Cell& c, double x, double y) {
    const double d = ShapeDistance(c.column, x, y);
    if (d >= 0) {
        return kBlack;
    }
    constexpr double e = 0.35;
    double nx = ShapeDistance(c.column, x + e, y) - ShapeDistance(c.column, x - e, y);
    double ny = ShapeDistance(c.column, x, y + e) - ShapeDistance(c.column, x, y - e);
    const double length = std::hypot(nx, ny);
    const double lit = length > 0 ? -(0.55 * nx + 0.83 * ny) / length : 0;
    if (-d > 1.1 && -d < 3.4 && lit > 0.45) {
        return {1, 1, 1, 1};
    }
    const double shade = (-d < 2.2 && lit < -0.5) ? 0.72 : 1.0;
    return FromHsv(c.hue, 1, (1.0 - 0.28 * Falloff(x, y)) * shade);
}

Rgba Crystal(const Cell& c, double x, double y) {
    const double d = ShapeDistance(c.column, x, y);
    if (d >= 0) {
        return kBlack;
    }
    const Seeds s = NearestSeeds(x, y, 15, Hash(c.column, c.row, 3));
    if (s.d2 - s.d1 < 0.9 || -d < 1.2) {
        return FromHsv(c.hue, 0.35, 1); // light caught by the facet's edges
    }
    const double b = Unit(Hash(s.id, 7));
    const double angle = 2 * kPi * Unit(Hash(s.id, 8));
    const double slope = ((x - s.x) * std::cos(angle) + (y - s.y) * std::sin(angle)) / 7.5;
    const double v = (0.36 + 0.64 * b) * Clamp01(0.86 + 0.14 * slope) * (1.05 - 0.2 * Falloff(x, y));
    return FromHsv(c.hue, 0.95 - 0.4 * b * b, v);
}


using Coverage = std::array<double, kBlocks * kBlocks>;

Coverage MosaicCoverage(int column, double shiftY) {
    Coverage coverage{};
    constexpr int n = 10;
    // The outer ring of blocks stays empty, so that every cell keeps its black border.
    for (int by = 1; by < kBlocks - 1; ++by) {
        for (int bx = 1; bx < kBlocks - 1; ++bx) {
            int inside = 0;
            for (int j = 0; j < n; ++j) {
                for (int i = 0; i < n; ++i) {
                    const double x = (bx + (i + 0.5) / n) * kBlock - 32, y = (by + (j + 0.5) / n) * kBlock - 32;
                    inside += ShapeDistance(column, x, y - shiftY) < 0;
                }
            }
            coverage[by * kBlocks + bx] = double(inside) / (n * n);
        }
    }
    return coverage;
}

constexpr double kMosaicThreshold = 0.25; // blocks covered less than this stay empty

// Rounding a shape to blocks can leave one more block row at one end than at the other; moving the
// shape by half a block then centres its blocks in the cell.
Coverage CentredMosaicCoverage(int column) {
    for (double shift : {0.0, kBlock / 2, -kBlock / 2}) {
        Coverage coverage = MosaicCoverage(column, shift);
        int top = kBlocks, bottom = -1;
        for (int i = 0; i < kBlocks * kBlocks; ++i) {
            if (coverage[i] >= kMosaicThreshold) {
                top = std::min(top, i / kBlocks);
                bottom = std::max(bottom, i / kBlocks);
            }
        }
        if (top + bottom == kBlocks - 1) {
            return coverage;
        }
    }
    return MosaicCoverage(column, 0);
}

Rgba Mosaic(const Cell& c, double x, double y) {
    const int bx = std::clamp(static_cast<int>((x + 32) / kBlock), 0, kBlocks - 1);
    const int by = std::clamp(static_cast<int>((y + 32) / kBlock), 0, kBlocks - 1);
    const double cover = (*c.mosaic)[by * kBlocks + bx];
    const double lx = x + 32 - bx * kBlock, ly = y + 32 - by * kBlock;
    if (cover < kMosaicThreshold || lx < 0.5 || lx > kBlock - 0.5 || ly < 0.5 || ly > kBlock - 0.5) {
        return kBlack; // empty block or grout
    }
    const std::uint32_t h = Hash(bx, by, c.column * 8 + c.row, 5);
    const double centreX = (bx + 0.5) * kBlock - 32, centreY = (by + 0.5) * kBlock - 32;
    double v = (0.68 + 0.32 * Unit(h)) * (0.3 + 0.7 * cover) * (1.05 - 0.3 * Falloff(centreX, centreY));
    if (lx < 1.4 || ly < 1.4) {
        v *= 1.12; // the lit upper and left bevel of each block
    } else if (lx > kBlock - 1.4 || ly > kBlock - 1.4) {
        v *= 0.85;
    }
    return FromHsv(c.hue, 0.82 + 0.18 * Unit(Hash(h, 2)), v);
}

// One pane of a stained-glass piece: which pane a point lies in and how far it is from the pane's edge.
struct Pane {
    std::uint32_t id;
    double edge;
};

// Pane edges every `step` along a coordinate, the first at `offset`.
Pane Strip(double t, double step, double offset, std::uint32_t salt) {
    const double k = std::floor((t - offset) / step);
    const double local = t - offset - k * step;
    return {Hash(static_cast<std::uint32_t>(k), salt), std::min(local, step - local)};
}

// Pane edges along rays from the centre, n of them, the first at angle `first`.
Pane Sectors(double x, double y, int n, double first, std::uint32_t salt) {
    const double r = std::hypot(x, y), step = 2 * kPi / n;
    double a = std::atan2(y, x) - first;
    a -= 2 * kPi * std::floor(a / (2 * kPi));
    const double k = std::floor(a / step), local = a - k * step;
    return {Hash(static_cast<std::uint32_t>(k), salt), r * std::sin(std::min(std::min(local, step - local), kPi / 2))};
}

// Filled shapes are cut into small irregular panes; bars, outlines and rings into panes across them,
// so that no pane is a sliver along the stroke.
Pane PaneAt(int column, double x, double y, std::uint32_t salt) {
    const double r = std::hypot(x, y);
    switch (column) {
    case 2:
        return Strip(y, 56.0 / 6, -28, salt);
    case 3:
        return Strip(x + (y < 0 ? 0 : 4.4), 8.8, -22, Hash(salt, y < 0));
    case 4:
        return Sectors(x, y, 12, kPi / 4, salt);
    case 6:
        return Sectors(x, y, 5, -kPi / 2 + kPi / 5, salt);
    case 7: {
        if (r < 8.5) {
            return {Hash(salt, 99), 8.5 - r};
        }
        const Pane arm = Sectors(x, y, 6, kPi / 2 + kPi / 6, salt);
        const Pane ring = Strip(r, 8.5, 8.5, Hash(salt, 7));
        return {Hash(arm.id, ring.id), std::min(ring.edge, 20.0)};
    }
    case 9:
        return Sectors(x, y, 9, -kPi / 2 + kPi / 9, salt);
    case 11:
        return Sectors(x, y, 12, 0.1, salt);
    case 12:
        return r > 18 ? Sectors(x, y, 14, 0.1, salt) : Sectors(x, y, 7, 0.3, Hash(salt, 5));
    default: {
        const Seeds s = NearestSeeds(x, y, 9, salt);
        // Where three panes meet the lead widens, which rounds the panes' corners.
        return {s.id, std::min((s.d2 - s.d1) / 2, (s.d3 - s.d1) / 2 - 0.6)};
    }
    }
}

Rgba StainedGlass(const Cell& c, double x, double y) {
    constexpr double kLead = 0.75; // half the width of the lead between panes
    const double d = ShapeDistance(c.column, x, y);
    const Pane pane = PaneAt(c.column, x, y, Hash(c.column, c.row, 4));
    const double edge = std::min(pane.edge, -d - 0.6);
    if (edge < kLead) {
        return kBlack;
    }
    const double b = Unit(Hash(pane.id, 9));
    const double glow = 0.76 + 0.24 * shapes::Smooth(kLead, 3.5, edge);
    const double v = (0.68 + 0.32 * b) * glow * (1.04 - 0.16 * Falloff(x, y));
    return FromHsv(c.hue, 0.72 + 0.28 * Unit(Hash(pane.id, 10)), v);
}

Image DrawAtlas(int style) {
    using Shade = Rgba (*)(const Cell&, double, double);
    constexpr Shade kStyles[] = {SmoothShaded, Glints, Vivid, Crystal, Mosaic, StainedGlass};
    std::array<Coverage, kColumns> mosaic;
    for (int column = 0; column < kColumns; ++column) {
        mosaic[column] = CentredMosaicCoverage(column);
    }
    Image image(kColumns * kCell, kRows * kCell);
    image.Paint(kSamples, [&](double px, double py) {
        const int column = std::clamp(static_cast<int>(px / kCell), 0, kColumns - 1);
        const int row = std::clamp(static_cast<int>(py / kCell), 0, kRows - 1);
        const Cell cell{column, row, style, kRowHue[row], &mosaic[column]};
        return kStyles[style](cell, px - column * kCell - kCell / 2, py - row * kCell - kCell / 2);
    });
    return image;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: MakeAtlases OUTPUT-FOLDER [PREVIEW-FOLDER]\n");
        return 2;
    }
    try {
        for (int style = 0; style < 6; ++style) {
            const Image atlas = DrawAtlas(style);
            const std::string name = "Atlas" + std::to_string(202 + style);
            WriteFile(std::string(argv[1]) + "/" + name + ".png", atlas.EncodePng(style >= 2));
            if (argc == 3) {
                WriteAtlasPreviews(atlas, std::string(argv[2]) + "/" + name);
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "MakeAtlases: %s\n", e.what());
        return 1;
    }
    return 0;
}
