// The mirrored tiling: grid, placement and transform of every tile, checked against the geometry
// of a triangle tiling worked out here on its own; and the light fall-off.
#include "effect/TileLayout.h"

#include "effect/CSaverImpl.h"
#include "effect/ChamberMath.h"

#include "support/ScopedBackBufferSize.h"

#include <doctest/doctest.h>

#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <string>

namespace {

constexpr double kSqrt3 = std::numbers::sqrt3;
constexpr double kPi = std::numbers::pi;

struct Point {
    double x;
    double y;
};

double Distance(Point a, Point b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

// Triangle (row, column) of a tiling with side 2 step whose triangle (0, 0) points up with its apex
// at the origin: on each row the triangles alternate, and the up-pointing ones have their apex on
// the row's top line at x = column * step when column - row is even.
struct TilingTriangle {
    std::array<Point, 3> v;
    Point centroid;
};

TilingTriangle Tiling(int row, int column, double step) {
    const double h = kSqrt3 * step;
    const double top = row * h;
    const double x = column * step;
    const bool up = ((column - row) % 2 + 2) % 2 == 0;
    TilingTriangle t;
    if (up) {
        t.v = {Point{x, top}, Point{x - step, top + h}, Point{x + step, top + h}};
    } else {
        t.v = {Point{x - step, top}, Point{x + step, top}, Point{x, top + h}};
    }
    t.centroid = Point{(t.v[0].x + t.v[1].x + t.v[2].x) / 3, (t.v[0].y + t.v[1].y + t.v[2].y) / 3};
    return t;
}

// A tiling point turned by theta about the screen centre.
Point OnScreen(Point p, Point centre, double theta) {
    return Point{centre.x + p.x * std::cos(theta) - p.y * std::sin(theta),
                 centre.y + p.x * std::sin(theta) + p.y * std::cos(theta)};
}

Point Apply(const Matrix2D& m, Point p) {
    return Point{p.x * m.m11 + p.y * m.m21 + m.dx, p.x * m.m12 + p.y * m.m22 + m.dy};
}

Point Reflect(Point p, Point a, Point b) {
    const double len = Distance(a, b);
    const double ux = (b.x - a.x) / len;
    const double uy = (b.y - a.y) / len;
    const double along = (p.x - a.x) * ux + (p.y - a.y) * uy;
    return Point{2 * (a.x + along * ux) - p.x, 2 * (a.y + along * uy) - p.y};
}

struct Screen {
    std::uint32_t width;
    std::uint32_t height;
    int size;
};

// The largest error over the whole grid of: the centroid's place, the corners' places (the drawn
// triangle is the tiling's, enlarged about its centroid by S / step), and the mirror rule between
// each tile and its right-hand and lower neighbours.
struct GridErrors {
    double centroid = 0;
    double corners = 0;
    double mirror = 0;
    int mirrorPairs = 0;
};

GridErrors CheckGrid(Screen s, double theta) {
    const int size = s.size;
    const double step = size - 2;
    const double c = 2 * kSqrt3 * size / 3;
    const Point centre{double(s.width / 2), double(s.height / 2)};
    const Point chamber[] = {{double(size), 0}, {0, kSqrt3 * size}, {2.0 * size, kSqrt3 * size}};
    const Point samples[] = {chamber[0], chamber[1], chamber[2], {double(size), c}, {0.7 * size, 30},
                             {1.3 * size, 0.9 * kSqrt3 * size}};
    const TileGrid grid = MakeTileGrid(s.width, size);
    GridErrors e;
    auto matrix = [&](int r, int j) {
        return TileMatrix(PlaceTile(r, j, s.width, s.height, size, theta), size);
    };
    for (int r = -grid.Rows; r < grid.Rows; ++r) {
        for (int j = -grid.Columns; j < grid.Columns; ++j) {
            const Matrix2D m = matrix(r, j);
            const TilingTriangle t = Tiling(r, j, step);
            const Point g = OnScreen(t.centroid, centre, theta);
            e.centroid = std::max(e.centroid, Distance(Apply(m, {double(size), c}), g));
            for (const Point& corner : chamber) {
                double nearest = 1e9;
                for (const Point& v : t.v) {
                    const Point big{t.centroid.x + (v.x - t.centroid.x) * size / step,
                                    t.centroid.y + (v.y - t.centroid.y) * size / step};
                    nearest = std::min(nearest, Distance(Apply(m, corner), OnScreen(big, centre, theta)));
                }
                e.corners = std::max(e.corners, nearest);
            }
            // Neighbours: the next tile of the row, and the tile below an up-pointing one.
            for (auto [r2, j2] : {std::pair{r, j + 1}, std::pair{r + 1, j}}) {
                if (j2 >= grid.Columns || r2 >= grid.Rows) {
                    continue;
                }
                const TilingTriangle n = Tiling(r2, j2, step);
                std::array<Point, 3> shared;
                int count = 0;
                for (const Point& a : t.v) {
                    for (const Point& b : n.v) {
                        if (Distance(a, b) < 1e-6) {
                            shared[count++] = a;
                        }
                    }
                }
                if (count != 2) {
                    continue;
                }
                ++e.mirrorPairs;
                const Point a = OnScreen(shared[0], centre, theta);
                const Point b = OnScreen(shared[1], centre, theta);
                const Matrix2D mn = matrix(r2, j2);
                for (const Point& p : samples) {
                    e.mirror = std::max(e.mirror, Distance(Apply(mn, p), Reflect(Apply(m, p), a, b)));
                }
            }
        }
    }
    return e;
}

} // namespace

TEST_SUITE("effect") {

TEST_CASE("MakeTileGrid: columns and rows from the width") {
    struct Case {
        std::uint32_t width;
        int size;
        int columns;
        int rows;
    };
    const Case cases[] = {
        {1920, 96, 36, 24}, {152, 32, 18, 8}, {1920, 32, 72, 64}, {1920, 320, 18, 10}, {0, 96, 12, 4},
    };
    for (const Case& c : cases) {
        CAPTURE(c.width);
        CAPTURE(c.size);
        const TileGrid g = MakeTileGrid(c.width, c.size);
        CHECK(g.Columns == c.columns);
        CHECK(g.Rows == c.rows);
        CHECK(g.Columns % 6 == 0);
    }
    CHECK(MakeTileGrid(1920, 0).Columns == MakeTileGrid(1920, 1).Columns);
    CHECK(MakeTileGrid(1920, -7).Rows == MakeTileGrid(1920, 1).Rows);
    const TileGrid big = MakeTileGrid(1920, 32);
    CHECK(2 * big.Columns * 2 * big.Rows == 18432);
}

TEST_CASE("PlaceTile: the first tiles and the mirrored ones") {
    const double theta = 0.25;
    const int step = 94;
    const TilePlacement t00 = PlaceTile(0, 0, 1920, 1080, 96, theta);
    CHECK(t00.K == 0);
    CHECK(t00.F == 1);
    CHECK(t00.Xo == 0.0f);
    CHECK(t00.Yo == static_cast<float>(2 * step * kSqrt3 / 3));
    CHECK(t00.Phi == static_cast<float>(theta));

    const TilePlacement t01 = PlaceTile(0, 1, 1920, 1080, 96, theta);
    CHECK(t01.K == 1);
    CHECK(t01.F == -1);
    CHECK(t01.Xo == 94.0f);
    CHECK(t01.Yo == static_cast<float>(step * kSqrt3 / 3));
    CHECK(t01.Phi == doctest::Approx(theta - kPi / 3).epsilon(1e-6));

    const TilePlacement t10 = PlaceTile(1, 0, 1920, 1080, 96, theta);
    CHECK(t10.K == 3);
    CHECK(t10.F == -1);
    CHECK(t10.Phi == doctest::Approx(theta - kPi).epsilon(1e-6));
    CHECK(t10.Yo == doctest::Approx(kSqrt3 * step + step * kSqrt3 / 3));

    for (auto [r, j] : {std::pair{0, -1}, std::pair{-1, 2}, std::pair{-2, 1}}) {
        const TilePlacement t = PlaceTile(r, j, 1920, 1080, 96, theta);
        CHECK(t.K % 2 != 0);
        CHECK(t.F == -1);
    }
    CHECK(PlaceTile(-2, 0, 1920, 1080, 96, theta).F == 1);
}

TEST_CASE("PlaceTile: a window narrower than the triangle keeps its tiles near it") {
    const TilePlacement t = PlaceTile(0, 0, 20, 20, 32, 0.0);
    CHECK(t.Tx == -22.0f);
    CHECK(t.Ty == doctest::Approx(10 - 2 * kSqrt3 * 32 / 3 + 2 * 30 * kSqrt3 / 3).epsilon(1e-6));
}

TEST_CASE("TileMatrix: every tile sits in the mirrored triangle tiling at every angle") {
    const Screen screens[] = {{1920, 1080, 96}, {1920, 1080, 32}, {152, 112, 32}, {1023, 767, 17}};
    for (const Screen& s : screens) {
        for (double theta : {0.0, 0.7, -2.3, 5.9}) {
            CAPTURE(s.width);
            CAPTURE(s.size);
            CAPTURE(theta);
            const GridErrors e = CheckGrid(s, theta);
            CHECK(e.centroid < 0.01);
            CHECK(e.corners < 0.01);
            CHECK(e.mirror < 0.02);
            const TileGrid g = MakeTileGrid(s.width, s.size);
            // Every horizontal pair, and half the rows' tiles with the tile below.
            CHECK(e.mirrorPairs == 2 * g.Rows * (2 * g.Columns - 1) + (2 * g.Rows - 1) * g.Columns);
        }
    }
}

TEST_CASE("TileMatrix: the six tiles around the centre have their apexes 2.3 pixels from it") {
    for (double theta : {0.0, 1.1}) {
        for (auto [r, j] : {std::pair{0, -1}, std::pair{0, 0}, std::pair{0, 1}, std::pair{-1, -1},
                            std::pair{-1, 0}, std::pair{-1, 1}}) {
            CAPTURE(r);
            CAPTURE(j);
            const Matrix2D m = TileMatrix(PlaceTile(r, j, 1920, 1080, 96, theta), 96);
            CHECK(Distance(Apply(m, {96, 0}), {960, 540}) == doctest::Approx(4 / kSqrt3).epsilon(1e-3));
        }
    }
}

TEST_CASE("TileSourceRect: the chamber triangle's box down to its base row") {
    const RECT r96 = TileSourceRect(96);
    CHECK(r96.left == 0);
    CHECK(r96.top == 0);
    CHECK(r96.right == 192);
    CHECK(r96.bottom == 167);
    CHECK(TileSourceRect(32).bottom == 56);
}

TEST_CASE("TileAlpha: full light in the middle, fading to nothing at half the width") {
    CHECK(TileAlpha(300, 0, 1920, 1.5, 0.5) == 255);
    CHECK(TileAlpha(0, -640, 1920, 1.5, 0.5) == 127);
    CHECK(TileAlpha(960, 0, 1920, 1.5, 0.5) == 0);
    CHECK(TileAlpha(678.9f, 678.9f, 1920, 1.5, 0.5) == 0);
    CHECK(TileAlpha(5000, 0, 1920, 1.5, 0.5) == 0);
    CHECK(TileAlpha(0, 0, 1920, 1.5, 0.5) == 255);
    // Area 1 lights every tile alike; strength 0 is dark; area 0 ends the light at a quarter width.
    CHECK(TileAlpha(4000, 0, 1920, 0.5, 1.0) == 127);
    CHECK(TileAlpha(0, 0, 1920, 0.0, 0.5) == 0);
    CHECK(TileAlpha(470, 0, 1920, 1.0, 0.0) > 0);
    CHECK(TileAlpha(480, 0, 1920, 1.0, 0.0) == 0);
}

TEST_CASE("TileAlpha: broken numbers give a light in 0..255") {
    const double inf = std::numeric_limits<double>::infinity();
    CHECK(TileAlpha(100, 0, 1920, std::nan(""), 0.5) == 0);
    CHECK(TileAlpha(100, 0, 1920, 1.5, std::nan("")) == 0);
    CHECK(TileAlpha(100, 0, 1920, inf, 0.5) == 255);
    CHECK(TileAlpha(100, 0, 1920, -inf, 0.5) == 0);
    CHECK(TileAlpha(960, 0, 1920, inf, 0.5) == 0);
    CHECK(TileAlpha(std::nanf(""), 0, 1920, 1.5, 0.5) == 0);
    for (float d : {0.0f, 1.0f, 100.0f}) {
        const int a = TileAlpha(d, 0, 0, 1.5, 0.5);
        CHECK(a >= 0);
        CHECK(a <= 255);
    }
}

TEST_CASE("CSaverImpl: GetTileAlpha measures against the back-buffer width with safe light values") {
    CSaverImpl e{std::wstring()};
    const ScopedBackBufferSize screen(1920, 1080);
    CHECK(e.GetTileAlpha(300, 0, 5, -3) == 255);
    CHECK(e.GetTileAlpha(640, 0, 0, 0) == 127);
    e.LightStrength = std::nan(""); // a value the light cannot use: the default instead
    CHECK(e.GetTileAlpha(640, 0, 0, 0) == 127);
    e.LightStrength = 1.0;
    e.LightArea = 1.0;
    CHECK(e.GetTileAlpha(2000, 0, 0, 0) == 255);
}
}
