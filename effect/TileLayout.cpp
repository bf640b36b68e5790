// Grid, placement, transform and light of the mirrored tiles.
#include "effect/TileLayout.h"

#include "effect/ChamberMath.h"
#include "graphics/Transform2D.h"

#include <algorithm>
#include <cmath>
#include <numbers>

TileGrid MakeTileGrid(std::uint32_t width, std::int32_t triangleSize) {
    // The effect passes its safe size; anything below 1 is taken as 1 rather than divided by.
    const std::uint32_t across = width / static_cast<std::uint32_t>(std::max(triangleSize, 1));
    TileGrid grid;
    grid.Columns = static_cast<std::int32_t>((across + 11) / 6 * 6 + 6);
    grid.Rows = static_cast<std::int32_t>((across + 3) / 2 * 2 + 2);
    return grid;
}

TileFrame MakeTileFrame(std::uint32_t width, std::uint32_t height, std::int32_t triangleSize,
                        double rotationAngle) {
    TileFrame f;
    f.TriangleSize = triangleSize;
    f.Step = triangleSize - 2;
    f.RotationAngle = rotationAngle;
    f.Cos = std::cos(rotationAngle);
    f.Sin = std::sin(rotationAngle);
    // Signed: a window narrower than the triangle must not wrap around.
    f.Left = static_cast<float>(std::int64_t{width / 2} - triangleSize);
    f.Top = static_cast<float>(double(height / 2) - ChamberCentroidY(triangleSize));
    return f;
}

TilePlacement PlaceTile(const TileFrame& frame, std::int32_t row, std::int32_t column) {
    const double sqrt3 = std::numbers::sqrt3;
    const std::int32_t step = frame.Step;
    TilePlacement t;
    t.K = 3 * row + column;
    t.F = (t.K & 1) ? -1 : 1;
    t.Xo = static_cast<float>(column * step);
    const double inRow = t.F == -1 ? step * sqrt3 / 3.0 : 2.0 * step * sqrt3 / 3.0;
    t.Yo = static_cast<float>(row * sqrt3 * step + inRow);
    t.Phi = static_cast<float>(t.F * std::numbers::pi * t.K / 3.0 + frame.RotationAngle);
    t.Tx = static_cast<float>(frame.Left + t.Xo * frame.Cos - t.Yo * frame.Sin);
    t.Ty = static_cast<float>(frame.Top + t.Xo * frame.Sin + t.Yo * frame.Cos);
    return t;
}

TilePlacement PlaceTile(std::int32_t row, std::int32_t column, std::uint32_t width, std::uint32_t height,
                        std::int32_t triangleSize, double rotationAngle) {
    return PlaceTile(MakeTileFrame(width, height, triangleSize, rotationAngle), row, column);
}

Matrix2D TileMatrix(const TilePlacement& tile, std::int32_t triangleSize) {
    const Vector2 centre{static_cast<float>(triangleSize), static_cast<float>(ChamberCentroidY(triangleSize))};
    const Vector2 scaling{static_cast<float>(tile.F), 1.0f};
    const Vector2 translation{tile.Tx, tile.Ty};
    return CentredTransform2D(centre, scaling, tile.Phi, translation);
}

RECT TileSourceRect(std::int32_t triangleSize) {
    const auto bottom = static_cast<LONG>(std::numbers::sqrt3 * triangleSize + 1.0);
    return RECT{0, 0, 2 * triangleSize, bottom};
}

std::int32_t TileAlpha(float x, float y, std::uint32_t width, double lightStrength, double lightArea) {
    const float d = std::sqrt(x * x + y * y);
    const float w = static_cast<float>(std::max<std::uint32_t>(width, 1));
    const double a = 255.0 * lightStrength * (1.0 - (2.0f * d / w) * 2.0 * (1.0 - lightArea));
    if (std::isnan(a) || a < 0.0) {
        return 0;
    }
    if (a >= 255.0) {
        return 255;
    }
    return static_cast<std::int32_t>(a);
}
