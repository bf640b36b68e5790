// The lit tiles of one frame cut into regions that each cover their pixels once. Neighbouring tiles
// overlap by a few pixels along their shared edges; instead of drawing both there, the plane is cut
// along the triangle lattice into
// - the core of each lattice cell, which only its own tile reaches: one tile;
// - a strip along each lattice edge, as wide as the overlap: the two tiles on either side of it;
// - a small hexagon around each lattice vertex: the six tiles that meet there, two at a time, each
//   cut off below its base.
// Each region carries the texture coordinates and the light of the tiles it shows, so the picture
// is the sum of every tile's image wherever it reaches, as when each tile was drawn on its own.
// Plain arithmetic, usable without a device.
#pragma once

#include "effect/DynamicVertexBuffer.h"
#include "graphics/Transform2D.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

// The light of a tile (x, y, column, row), 0..255.
using TileLightFunction = std::function<std::int32_t(float, float, std::int32_t, std::int32_t)>;

// How far a tile's image can reach beyond its lattice cell: its chamber triangle is 2 / sqrt(3)
// pixels larger than the cell on every side, the mask (drawn on pixel centres, sampled on texel
// centres) leaves 0.18 pixels more beyond the chamber's sides, and filtering spreads an edge by up
// to (1 + sqrt(3)) / 2 pixels across a slanted side. The strips along the sides are this wide on
// each side of a lattice edge; along the bases they end where a tile's image ends, at the source
// rectangle's bottom row.
constexpr double kTileReach = 2.75;

class TileRegions {
public:
    // Cuts the tiles of a back buffer of width by height pixels for the given triangle size and
    // rotation; tiles with a light of 0, and regions far off the screen, are left out.
    void Cut(std::uint32_t width, std::uint32_t height, std::int32_t triangleSize, double rotationAngle,
             const TileLightFunction& tileLight);

    // Triangles showing one tile: its light in the colour, its texture coordinates.
    std::span<const EffectVertex> Single() const { return single_; }
    // Triangles showing the sum of two tiles: the first light with the first coordinates plus the
    // second light with the second coordinates.
    std::span<const TileVertex> Paired() const { return paired_; }
    bool Empty() const { return single_.empty() && paired_.empty(); }

private:
    struct Cell {
        std::int32_t light = 0;
        // The inverse of the tile's transform, from the screen to chamber-image pixels.
        double i11 = 0.0, i12 = 0.0, i21 = 0.0, i22 = 0.0, ix = 0.0, iy = 0.0;
        // The core's corners on the screen, at the cell's three lattice vertices in lattice order.
        Vector2 core[3];
    };

    const Cell* At(std::int32_t row, std::int32_t column) const;
    TileVertex Vertex(Vector2 p, const Cell& a, const Cell* b) const;
    // The convex polygon `corners` once for each pair of the lit cells, and once alone for an odd one
    // out.
    void Emit(std::span<const Vector2> corners, std::span<const Cell* const> cells);
    // The convex polygon as a fan of triangles showing cell a, or cells a and b.
    void Fan(std::span<const Vector2> polygon, const Cell& a, const Cell* b);
    // The hexagon about a lattice vertex: its vertex, then its six corners in turn.
    void EmitHexagon(std::span<const Vector2, 7> hexagon, std::span<const Cell* const, 6> cells);
    // The convex polygon, cut off below the first cell's base when `cut`, showing cells a and b.
    void EmitCut(std::span<const Vector2> polygon, bool cut, const Cell& a, const Cell* b);
    // How far screen point p lies below the bottom row of the cell's tile, in image pixels.
    double BelowBottom(const Cell& cell, Vector2 p) const;

    std::vector<Cell> cells_;
    std::int32_t firstRow_ = 0;
    std::int32_t firstColumn_ = 0;
    std::int32_t rows_ = 0;
    std::int32_t columns_ = 0;
    float side_ = 1.0f;
    double bottom_ = 0.0;
    std::vector<EffectVertex> single_;
    std::vector<TileVertex> paired_;
};
