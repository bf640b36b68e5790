// Piece colours, neighbour counts and piece transforms of the chamber image.
#include "effect/ChamberMath.h"

#include "effect/CSaverImpl.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

int Alpha(D3DCOLOR c) {
    return static_cast<int>(c >> 24);
}
int Red(D3DCOLOR c) {
    return static_cast<int>(c >> 16 & 0xFF);
}
int Green(D3DCOLOR c) {
    return static_cast<int>(c >> 8 & 0xFF);
}
int Blue(D3DCOLOR c) {
    return static_cast<int>(c & 0xFF);
}

Piece At(float x, float y) {
    Piece p;
    p.X = x;
    p.Y = y;
    return p;
}

// Where a point of the 64 x 64 picture lands, straight from the geometry of a piece.
Vector2 Lands(const Piece& p, int size, double px, double py) {
    const double sx = p.ScaleX * (px - 32.0);
    const double sy = p.ScaleY * (py - 32.0);
    const double a = p.Angle;
    return Vector2{static_cast<float>(sx * std::cos(a) - sy * std::sin(a) + size + p.X),
                   static_cast<float>(sx * std::sin(a) + sy * std::cos(a) + p.Y)};
}

Vector2 Apply(const Matrix2D& m, double x, double y) {
    return Vector2{static_cast<float>(x * m.m11 + y * m.m21 + m.dx),
                   static_cast<float>(x * m.m12 + y * m.m22 + m.dy)};
}

} // namespace

TEST_SUITE("effect") {

TEST_CASE("PieceColor: white tint and fixed alphas at phase 0") {
    CHECK(PieceColor(0.0, 1, 0) == 0x9BFFFFFF);
    CHECK(PieceColor(0.0, 5, 0) == 0x9BFFFFFF);
    CHECK(PieceColor(0.0, 6, 0) == 0x80FFFFFF);
    CHECK(Alpha(PieceColor(0.0, 3, 1)) == 239);
}

TEST_CASE("PieceColor: piece 0 at phase 1") {
    const D3DCOLOR c = PieceColor(1.0, 2, 0);
    CHECK(Alpha(c) == 59);
    CHECK(Red(c) == 231);
    CHECK(Green(c) == 235);
    CHECK(Blue(c) == 240);
}

TEST_CASE("PieceColor: every channel stays in its range over long phases and many pieces") {
    int lowLone = 255, lowCrowd = 255, lowTint = 255, highAlpha = 0;
    for (int step = 0; step < 4000; ++step) {
        const double phase = step * 0.37 - 100.0;
        for (int i = 0; i < 200; i += 7) {
            const D3DCOLOR lone = PieceColor(phase, 5, i);
            const D3DCOLOR crowd = PieceColor(phase, 6, i);
            lowLone = std::min(lowLone, Alpha(lone));
            lowCrowd = std::min(lowCrowd, Alpha(crowd));
            highAlpha = std::max({highAlpha, Alpha(lone), Alpha(crowd)});
            lowTint = std::min({lowTint, Red(lone), Green(lone), Blue(lone)});
            CHECK((lone & 0x00FFFFFF) == (crowd & 0x00FFFFFF));
        }
    }
    CHECK(lowLone >= 55);
    CHECK(lowLone <= 60);
    CHECK(lowCrowd >= 1);
    CHECK(lowTint >= 129);
    CHECK(highAlpha <= 255);
    CHECK(highAlpha >= 250);
}

TEST_CASE("PieceColor: a phase that is not a number gives the colour of phase 0") {
    const double inf = std::numeric_limits<double>::infinity();
    CHECK(PieceColor(std::nan(""), 1, 0) == 0x9BFFFFFF);
    CHECK(PieceColor(inf, 9, 0) == 0x80FFFFFF);
    CHECK(PieceColor(-inf, 9, 0) == 0x80FFFFFF);
    CSaverImpl e{std::wstring()};
    CHECK(e.GetPieceColor(1.0, 2, 0) == PieceColor(1.0, 2, 0));
}

TEST_CASE("CountNeighbours: closer than 10 pixels, the piece itself included") {
    std::vector<std::int32_t> counts;
    CountNeighbours(std::vector<Piece>{At(0, 20)}, counts);
    CHECK(counts == std::vector<std::int32_t>{1});

    // 6-8-10: exactly 10.0 apart is not near; a hair closer is.
    CountNeighbours(std::vector<Piece>{At(0, 20), At(6, 28), At(6, 27.99f), At(40, 100)}, counts);
    CHECK(counts == std::vector<std::int32_t>{2, 2, 3, 1});

    CountNeighbours(std::vector<Piece>{}, counts);
    CHECK(counts.empty());
}

TEST_CASE("CountNeighbours: agrees with counting every ordered pair") {
    std::vector<Piece> pieces;
    std::uint32_t s = 12345;
    for (int i = 0; i < 200; ++i) {
        s = s * 1664525u + 1013904223u;
        const float y = static_cast<float>(s >> 8 & 0xFF) * 0.3f;
        s = s * 1664525u + 1013904223u;
        pieces.push_back(At(static_cast<float>(s >> 8 & 0xFF) * 0.2f - 25.0f, y));
    }
    std::vector<std::int32_t> counts;
    CountNeighbours(pieces, counts);
    int crowded = 0;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        int n = 0;
        for (std::size_t j = 0; j < pieces.size(); ++j) {
            const float dx = pieces[i].X - pieces[j].X;
            const float dy = pieces[i].Y - pieces[j].Y;
            n += std::sqrt(dx * dx + dy * dy) < 10.0f ? 1 : 0;
        }
        CHECK(counts[i] == n);
        crowded += n > 5 ? 1 : 0;
    }
    CHECK(crowded > 0);
}

TEST_CASE("PieceMatrix: the picture is stretched and turned about its centre and put on the piece") {
    Piece p;
    p.X = -12.5f;
    p.Y = 70.25f;
    p.ScaleX = 1.5f;
    p.ScaleY = 0.25f;
    for (float angle : {0.0f, 0.8f, -2.5f, 7.0f}) {
        CAPTURE(angle);
        p.Angle = angle;
        const Matrix2D m = PieceMatrix(p, 96);
        const double points[][2] = {{32, 32}, {0, 0}, {64, 0}, {0, 64}, {64, 64}, {10, 50}};
        for (const auto& q : points) {
            const Vector2 got = Apply(m, q[0], q[1]);
            const Vector2 want = Lands(p, 96, q[0], q[1]);
            CHECK(std::fabs(got.x - want.x) < 2e-3);
            CHECK(std::fabs(got.y - want.y) < 2e-3);
        }
    }
}
}
