// The arithmetic of the mirrored tiling: the grid, each tile's place and transform, and the light
// fall-off. Plain functions of the back-buffer size, usable without a device.
#pragma once

#include "graphics/Transform2D.h"

#include <d3d9types.h>
#include <windows.h>

#include <cstdint>

// The grid for a back buffer of width `width` and triangles of size S: columns -Columns..Columns-1,
// rows -Rows..Rows-1.
struct TileGrid {
    std::int32_t Columns = 0;
    std::int32_t Rows = 0;
};
TileGrid MakeTileGrid(std::uint32_t width, std::int32_t triangleSize);

// Where tile (row, column) goes: k = 3 row + column, f = +1 for even k and -1 for odd k (mirrored),
// (Xo, Yo) its centroid relative to the screen centre before the turn, Phi the turn of its image,
// (Tx, Ty) the translation of its transform.
struct TilePlacement {
    std::int32_t K = 0;
    std::int32_t F = 1;
    float Xo = 0.0f;
    float Yo = 0.0f;
    float Phi = 0.0f;
    float Tx = 0.0f;
    float Ty = 0.0f;
};
TilePlacement PlaceTile(std::int32_t row, std::int32_t column, std::uint32_t width, std::uint32_t height,
                        std::int32_t triangleSize, double rotationAngle);

// What every tile of one frame shares, worked out once per frame.
struct TileFrame {
    std::int32_t TriangleSize = 0;
    std::int32_t Step = 0;
    double RotationAngle = 0.0;
    double Cos = 1.0;
    double Sin = 0.0;
    // Screen centre less the chamber's centroid (S, c).
    float Left = 0.0f;
    float Top = 0.0f;
};
TileFrame MakeTileFrame(std::uint32_t width, std::uint32_t height, std::int32_t triangleSize,
                        double rotationAngle);
TilePlacement PlaceTile(const TileFrame& frame, std::int32_t row, std::int32_t column);

// The transform that puts the chamber image onto the tile.
Matrix2D TileMatrix(const TilePlacement& tile, std::int32_t triangleSize);

// The part of the chamber image every tile shows: the chamber triangle's bounding box.
RECT TileSourceRect(std::int32_t triangleSize);

// The light of a tile whose centroid lies at (x, y) from the screen centre, 0..255. A width of 0
// counts as 1; a result that is not a number gives 0.
std::int32_t TileAlpha(float x, float y, std::uint32_t width, double lightStrength, double lightArea);
