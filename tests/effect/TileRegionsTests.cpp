// The tiles cut into regions, checked point by point against the tiles themselves: every point of
// the screen must get the image of each lit tile that reaches it, once, and nothing else.
#include "effect/TileRegions.h"

#include "effect/TileLayout.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr double kSqrt3 = std::numbers::sqrt3;

// Sample points: a grid at odd offsets, so that none lies on a region's edge.
constexpr double kSampleStep = 2.0;
constexpr double kSampleX = 0.3711;
constexpr double kSampleY = 0.6123;

// A light that tells the six tiles around any lattice vertex apart (three columns by two rows),
// with a sprinkling of dark tiles.
std::int32_t Light(std::int32_t column, std::int32_t row) {
    if (((row * 5 + column * 3) % 7 + 7) % 7 == 0) {
        return 0;
    }
    return 10 + 40 * ((column % 3 + 3) % 3) + 120 * ((row % 2 + 2) % 2);
}

struct Tile {
    std::int32_t light;
    Matrix2D m;
    // The inverse of m, chamber-image pixels from screen points.
    double i11, i12, i21, i22, ix, iy;
};

Vector2 Chamber(const Tile& t, double x, double y) {
    return Vector2{static_cast<float>(x * t.i11 + y * t.i21 + t.ix),
                   static_cast<float>(x * t.i12 + y * t.i22 + t.iy)};
}

// Whether chamber point p lies in the chamber triangle of size S grown by `grow` pixels; with
// `inSource`, only its part in the source rectangle, which a tile's image never leaves.
bool InChamber(Vector2 p, std::int32_t S, double grow, bool inSource) {
    const double base = kSqrt3 * S;
    // Distances inside the three sides: left, right and base.
    const double left = (kSqrt3 * (p.x - S) + p.y) / 2.0;
    const double right = (-kSqrt3 * (p.x - S) + p.y) / 2.0;
    const double below = base - p.y;
    const double bottom = TileSourceRect(S).bottom;
    if (inSource && (p.x < 0.0 || p.x > 2.0 * S || p.y < 0.0 || p.y > bottom)) {
        return false;
    }
    return left >= -grow && right >= -grow && (inSource || below >= -grow);
}

struct Contribution {
    std::int32_t light;
    Vector2 uv;
    bool pass; // the first tile of a triangle: each triangle is one write of the pixel
};

// Every sample point's contributions: each triangle of the regions that covers it adds its light
// and texture coordinates there (the second tile too, for paired triangles).
std::vector<std::vector<Contribution>> Rasterise(const TileRegions& regions, int columns, int rows) {
    std::vector<std::vector<Contribution>> at(static_cast<std::size_t>(columns) * rows);
    const auto add = [&](std::span<const TileVertex> vertices, bool paired) {
        for (std::size_t i = 0; i + 2 < vertices.size(); i += 3) {
            const TileVertex& a = vertices[i];
            const TileVertex& b = vertices[i + 1];
            const TileVertex& c = vertices[i + 2];
            const double area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
            if (area == 0.0) {
                continue;
            }
            const int x0 = std::max(
                0, static_cast<int>(std::floor((std::min({a.x, b.x, c.x}) - kSampleX) / kSampleStep)));
            const int x1 =
                std::min(columns - 1,
                         static_cast<int>(std::ceil((std::max({a.x, b.x, c.x}) - kSampleX) / kSampleStep)));
            const int y0 = std::max(
                0, static_cast<int>(std::floor((std::min({a.y, b.y, c.y}) - kSampleY) / kSampleStep)));
            const int y1 = std::min(
                rows - 1, static_cast<int>(std::ceil((std::max({a.y, b.y, c.y}) - kSampleY) / kSampleStep)));
            for (int sy = y0; sy <= y1; ++sy) {
                for (int sx = x0; sx <= x1; ++sx) {
                    const double x = sx * kSampleStep + kSampleX;
                    const double y = sy * kSampleStep + kSampleY;
                    const double wa = ((b.x - x) * (c.y - y) - (b.y - y) * (c.x - x)) / area;
                    const double wb = ((c.x - x) * (a.y - y) - (c.y - y) * (a.x - x)) / area;
                    const double wc = 1.0 - wa - wb;
                    if (wa < 0.0 || wb < 0.0 || wc < 0.0) {
                        continue;
                    }
                    auto& list = at[static_cast<std::size_t>(sy) * columns + sx];
                    list.push_back(
                        Contribution{static_cast<std::int32_t>(a.first & 0xFF),
                                     Vector2{static_cast<float>(wa * a.u0 + wb * b.u0 + wc * c.u0),
                                             static_cast<float>(wa * a.v0 + wb * b.v0 + wc * c.v0)},
                                     true});
                    if (paired) {
                        list.push_back(
                            Contribution{static_cast<std::int32_t>(a.second & 0xFF),
                                         Vector2{static_cast<float>(wa * a.u1 + wb * b.u1 + wc * c.u1),
                                                 static_cast<float>(wa * a.v1 + wb * b.v1 + wc * c.v1)},
                                         false});
                    }
                }
            }
        }
    };
    std::vector<TileVertex> single;
    for (const EffectVertex& v : regions.Single()) {
        single.push_back(TileVertex{v.x, v.y, v.z, v.rhw, v.colour, 0, v.u, v.v, v.u, v.v});
    }
    add(single, false);
    add(regions.Paired(), true);
    return at;
}

struct Findings {
    int points = 0;
    int missing = 0;             // a tile that reaches the point is not drawn there
    int twice = 0;               // a tile is drawn twice at the point
    int stray = 0;               // a contribution that is no nearby tile's image
    int belowBase = 0;           // a tile drawn below its source rectangle's bottom row
    int uncovered = 0;           // a point inside a lit tile that no region covers
    double writesPerPoint = 0.0; // over the points that show a tile
};

Findings Check(std::uint32_t width, std::uint32_t height, std::int32_t S, double angle) {
    const auto light = [](float, float, std::int32_t column, std::int32_t row) { return Light(column, row); };
    TileRegions regions;
    regions.Cut(width, height, S, angle, light);
    const int columns = static_cast<int>(width / kSampleStep);
    const int rows = static_cast<int>(height / kSampleStep);
    const auto at = Rasterise(regions, columns, rows);

    const TileGrid grid = MakeTileGrid(width, S);
    const TileFrame frame = MakeTileFrame(width, height, S, angle);
    std::vector<Tile> tiles;
    for (std::int32_t row = -grid.Rows; row < grid.Rows; ++row) {
        for (std::int32_t column = -grid.Columns; column < grid.Columns; ++column) {
            const TilePlacement p = PlaceTile(frame, row, column);
            if (Light(column, row) == 0) {
                continue;
            }
            Tile t{Light(column, row), TileMatrix(p, S), 0, 0, 0, 0, 0, 0};
            const double det = double{t.m.m11} * t.m.m22 - double{t.m.m12} * t.m.m21;
            t.i11 = t.m.m22 / det;
            t.i21 = -t.m.m21 / det;
            t.i12 = -t.m.m12 / det;
            t.i22 = t.m.m11 / det;
            t.ix = -(t.m.dx * t.i11 + t.m.dy * t.i21);
            t.iy = -(t.m.dx * t.i12 + t.m.dy * t.i22);
            // Only tiles near the screen matter.
            const Vector2 centroid = t.m.Apply({float(S), float(2 * S / kSqrt3)});
            if (centroid.x > -2.0 * S && centroid.x < width + 2.0 * S && centroid.y > -2.0 * S &&
                centroid.y < height + 2.0 * S) {
                tiles.push_back(t);
            }
        }
    }

    Findings f;
    int covered = 0;
    const double bottom = TileSourceRect(S).bottom;
    const double side = 2.0 * S;
    for (int sy = 0; sy < rows; ++sy) {
        for (int sx = 0; sx < columns; ++sx) {
            // Texture coordinates belong to the pixel centre half a pixel further on.
            const double x = sx * kSampleStep + kSampleX + 0.5;
            const double y = sy * kSampleStep + kSampleY + 0.5;
            const auto& list = at[static_cast<std::size_t>(sy) * columns + sx];
            ++f.points;
            f.writesPerPoint +=
                std::count_if(list.begin(), list.end(), [](const Contribution& c) { return c.pass; });
            covered += !list.empty();
            std::vector<const Tile*> drawn;
            for (const Contribution& c : list) {
                const Tile* match = nullptr;
                for (const Tile& t : tiles) {
                    const Vector2 p = Chamber(t, x, y);
                    if (t.light == c.light && std::abs(p.x / side - c.uv.x) < 1e-4 &&
                        std::abs(p.y / side - c.uv.y) < 1e-4 && InChamber(p, S, 8.0, false)) {
                        match = &t;
                    }
                }
                if (match == nullptr) {
                    ++f.stray;
                    continue;
                }
                // Where the quad per tile ended: below it a tile's last rows would add a seam.
                f.belowBase += Chamber(*match, x, y).y > bottom + 0.01;
                if (std::find(drawn.begin(), drawn.end(), match) != drawn.end()) {
                    ++f.twice;
                } else {
                    drawn.push_back(match);
                }
            }
            bool inside = false;
            for (const Tile& t : tiles) {
                const Vector2 p = Chamber(t, x, y);
                inside = inside || InChamber(p, S, 0.0, false);
                // What filtering spreads beyond the mask's edges, down to the bottom row.
                if (InChamber(p, S, 1.55, true) && std::find(drawn.begin(), drawn.end(), &t) == drawn.end()) {
                    ++f.missing;
                }
            }
            f.uncovered += inside && list.empty();
        }
    }
    f.writesPerPoint /= std::max(covered, 1);
    return f;
}

} // namespace

TEST_SUITE("effect") {

    TEST_CASE("TileRegions: each point gets every lit tile that reaches it, once, and no other") {
        struct Case {
            std::uint32_t width, height;
            std::int32_t size;
            double angle;
        };
        for (const Case c : {Case{640, 480, 96, 0.4}, Case{640, 480, 32, 0.4}, Case{400, 300, 32, 2.1},
                             Case{300, 200, 16, -0.7}, Case{500, 400, 57, 1.0}}) {
            CAPTURE(c.size);
            CAPTURE(c.angle);
            const Findings f = Check(c.width, c.height, c.size, c.angle);
            CHECK(f.points > 10000);
            CHECK(f.missing == 0);
            CHECK(f.twice == 0);
            CHECK(f.stray == 0);
            CHECK(f.belowBase == 0);
            CHECK(f.uncovered == 0);
            MESSAGE("S = " << c.size << ": " << f.writesPerPoint << " writes per point");
            // Only the small hexagons where six tiles meet take more than one write.
            CHECK(f.writesPerPoint < (c.size >= 32 ? 1.1 : 1.3));
        }
    }

    TEST_CASE("TileRegions: nothing without light or without area; every region is left out with its tiles") {
        TileRegions regions;
        regions.Cut(640, 480, 32, 0.3, [](float, float, std::int32_t, std::int32_t) { return 0; });
        CHECK(regions.Empty());
        regions.Cut(0, 480, 32, 0.3, [](float, float, std::int32_t, std::int32_t) { return 255; });
        CHECK(regions.Empty());
        // One lit tile: its core, three strips and three hexagons, all showing it alone, covering its
        // lattice cell and less than the cell grown by twice the reach.
        regions.Cut(640, 480, 32, 0.3, [](float, float, std::int32_t column, std::int32_t row) {
            return column == 0 && row == 0 ? 200 : 0;
        });
        CHECK(regions.Paired().empty());
        const std::span<const EffectVertex> v = regions.Single();
        REQUIRE(v.size() % 3 == 0);
        REQUIRE(v.size() >= 3 * (1 + 3 * 2 + 3));
        double area = 0.0;
        for (std::size_t i = 0; i + 2 < v.size(); i += 3) {
            area += std::abs((v[i + 1].x - v[i].x) * (v[i + 2].y - v[i].y) -
                             (v[i + 1].y - v[i].y) * (v[i + 2].x - v[i].x)) /
                    2;
        }
        for (const EffectVertex& vertex : v) {
            CHECK(vertex.colour == 0xFFC8C8C8);
        }
        const double step = 30.0;
        const double inradius = step / kSqrt3;
        CHECK(area > 3 * kSqrt3 * inradius * inradius);
        CHECK(area < 3 * kSqrt3 * (inradius + 2 * kTileReach) * (inradius + 2 * kTileReach));
    }
}
