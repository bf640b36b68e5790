// Cutting the tiles into regions that each cover their pixels once.
#include "effect/TileRegions.h"

#include "effect/ChamberMath.h"
#include "effect/TileLayout.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

// Direct3D 9 puts pixel centres on whole coordinates: the geometry moves by half a pixel so that a
// texel lands on the pixel that covers the same place.
constexpr float kPixelCentre = 0.5f;

D3DCOLOR Grey(std::int32_t light) {
    const auto l = static_cast<D3DCOLOR>(std::clamp(light, 0, 255));
    return 0xFF000000 | l * 0x010101;
}

// sin and cos of k * 60 degrees.
constexpr double kSin60[6] = {0.0, std::numbers::sqrt3 / 2,  std::numbers::sqrt3 / 2,
                              0.0, -std::numbers::sqrt3 / 2, -std::numbers::sqrt3 / 2};
constexpr double kCos60[6] = {1.0, 0.5, -0.5, -1.0, -0.5, 0.5};

// A lattice vertex: row line `row`, x = column * step (row + column even).
struct LatticeVertex {
    std::int32_t row;
    std::int32_t column;
};

// The lattice vertices of cell (row, column), in the order the cell's corners are kept: an
// up-pointing cell (row + column even) has its apex, then the left and right ends of its base; a
// down-pointing one the left and right ends of its top, then its apex.
std::array<LatticeVertex, 3> CellVertices(std::int32_t row, std::int32_t column) {
    if (((row + column) & 1) == 0) {
        return {LatticeVertex{row, column}, LatticeVertex{row + 1, column - 1},
                LatticeVertex{row + 1, column + 1}};
    }
    return {LatticeVertex{row, column - 1}, LatticeVertex{row, column + 1}, LatticeVertex{row + 1, column}};
}

} // namespace

const TileRegions::Cell* TileRegions::At(std::int32_t row, std::int32_t column) const {
    const std::int32_t r = row - firstRow_;
    const std::int32_t c = column - firstColumn_;
    if (r < 0 || r >= rows_ || c < 0 || c >= columns_) {
        return nullptr;
    }
    return &cells_[static_cast<std::size_t>(r) * columns_ + c];
}

void TileRegions::Cut(std::uint32_t width, std::uint32_t height, std::int32_t triangleSize,
                      double rotationAngle, const TileLightFunction& tileLight) {
    single_.clear();
    paired_.clear();
    // A back buffer without area (a window shrunk to nothing) shows nothing.
    if (width == 0 || height == 0) {
        return;
    }
    const TileGrid grid = MakeTileGrid(width, triangleSize);
    const TileFrame frame = MakeTileFrame(width, height, triangleSize, rotationAngle);
    const double step = frame.Step;
    const double rowHeight = std::numbers::sqrt3 * step;
    // Small triangles keep a core: the strips never take more than a quarter of the step.
    const double reach = std::min(kTileReach, 0.25 * step);
    // Below its base a tile shows nothing: its image ends at the source rectangle's bottom row, so
    // two tiles meeting base to base overlap only by that much.
    const double baseReach = std::min(2.0 / std::numbers::sqrt3 + TileSourceRect(triangleSize).bottom -
                                          std::numbers::sqrt3 * triangleSize,
                                      reach);
    // Lit are only the cells whose regions can reach the screen; the cells around those need their
    // corners too (two cells around a lattice vertex lie at most 2.31 steps apart).
    const double margin = 2.0 * step / std::numbers::sqrt3 + 2.0 * reach + 2.0;
    const double farMargin = margin + 2.5 * step;
    const double centreX = frame.Left + triangleSize;
    const double centreY = frame.Top + ChamberCentroidY(triangleSize);
    side_ = 2.0f * static_cast<float>(triangleSize);
    bottom_ = TileSourceRect(triangleSize).bottom;

    // The grid and two rings of dark cells around it, so that every region touching a tile of the
    // grid finds all its cells.
    firstRow_ = -grid.Rows - 2;
    firstColumn_ = -grid.Columns - 2;
    rows_ = 2 * grid.Rows + 4;
    columns_ = 2 * grid.Columns + 4;
    cells_.resize(static_cast<std::size_t>(rows_) * columns_);
    for (std::int32_t row = firstRow_; row < firstRow_ + rows_; ++row) {
        for (std::int32_t column = firstColumn_; column < firstColumn_ + columns_; ++column) {
            Cell& cell =
                cells_[static_cast<std::size_t>(row - firstRow_) * columns_ + (column - firstColumn_)];
            const std::array<LatticeVertex, 3> v = CellVertices(row, column);
            const double gx = (v[0].column + v[1].column + v[2].column) * step / 3.0;
            const double gy = (v[0].row + v[1].row + v[2].row) * rowHeight / 3.0;
            const double sx = centreX + gx * frame.Cos - gy * frame.Sin;
            const double sy = centreY + gx * frame.Sin + gy * frame.Cos;
            cell.light = 0;
            // Cells whose regions cannot reach the screen keep no corners; a cell next to one that
            // can, does.
            if (sx < -farMargin || sx > width + farMargin || sy < -farMargin || sy > height + farMargin) {
                continue;
            }
            // The side of the cell opposite its tile's apex is the tile's base. The tile turns by
            // (its mirror) * 60 degrees * (3 row + column).
            const std::int32_t turn = ((3 * row + column) % 6 + 6) % 6;
            const double apexX = ((turn & 1) != 0 ? -1.0 : 1.0) * kSin60[turn];
            const double apexY = -kCos60[turn];
            int apex = 0;
            double best = -1e9;
            for (int k = 0; k < 3; ++k) {
                const double along = (v[k].column * step - gx) * apexX + (v[k].row * rowHeight - gy) * apexY;
                if (along > best) {
                    best = along;
                    apex = k;
                }
            }
            // A point of the cell is the sum of its corners weighted by its distances from the
            // opposite sides over the cell's height; each core corner lies those insets away from
            // the two sides that meet at its lattice vertex.
            double inset[3];
            for (int k = 0; k < 3; ++k) {
                inset[k] = (k == apex ? baseReach : reach) / rowHeight;
            }
            for (int k = 0; k < 3; ++k) {
                const int a = (k + 1) % 3;
                const int b = (k + 2) % 3;
                const double own = 1.0 - inset[a] - inset[b];
                const double qx =
                    (own * v[k].column + inset[a] * v[a].column + inset[b] * v[b].column) * step;
                const double qy = (own * v[k].row + inset[a] * v[a].row + inset[b] * v[b].row) * rowHeight;
                cell.core[k] = Vector2{static_cast<float>(centreX + qx * frame.Cos - qy * frame.Sin),
                                       static_cast<float>(centreY + qx * frame.Sin + qy * frame.Cos)};
            }
            const bool inGrid =
                row >= -grid.Rows && row < grid.Rows && column >= -grid.Columns && column < grid.Columns;
            if (!inGrid || sx < -margin || sx > width + margin || sy < -margin || sy > height + margin) {
                continue;
            }
            const TilePlacement tile = PlaceTile(frame, row, column);
            cell.light = std::max(tileLight(tile.Xo, tile.Yo, column, row), 0);
            if (cell.light == 0) {
                continue;
            }
            const Matrix2D m = TileMatrix(tile, triangleSize);
            const double det = double{m.m11} * m.m22 - double{m.m12} * m.m21;
            cell.i11 = m.m22 / det;
            cell.i21 = -m.m21 / det;
            cell.i12 = -m.m12 / det;
            cell.i22 = m.m11 / det;
            cell.ix = -(m.dx * cell.i11 + m.dy * cell.i21);
            cell.iy = -(m.dx * cell.i12 + m.dy * cell.i22);
        }
    }

    for (const Cell& cell : cells_) {
        const Cell* const only[] = {&cell};
        Emit(cell.core, only);
    }
    // The strips: each lattice edge is the left, right or bottom side of one up-pointing cell.
    for (std::int32_t row = firstRow_; row < firstRow_ + rows_; ++row) {
        for (std::int32_t column = firstColumn_ + ((row + firstColumn_) & 1);
             column < firstColumn_ + columns_; column += 2) {
            const Cell& up = *At(row, column);
            if (const Cell* left = At(row, column - 1)) {
                const Cell* const pair[] = {&up, left};
                Emit(std::array{up.core[0], up.core[1], left->core[2], left->core[1]}, pair);
            }
            if (const Cell* right = At(row, column + 1)) {
                const Cell* const pair[] = {&up, right};
                Emit(std::array{up.core[0], up.core[2], right->core[2], right->core[0]}, pair);
            }
            if (const Cell* below = At(row + 1, column)) {
                const Cell* const pair[] = {&up, below};
                Emit(std::array{up.core[1], up.core[2], below->core[1], below->core[0]}, pair);
            }
        }
    }
    // The hexagons: the six cells around each lattice vertex, in turn around it.
    for (std::int32_t row = firstRow_ + 1; row < firstRow_ + rows_; ++row) {
        for (std::int32_t column = firstColumn_ + 1 + ((row + firstColumn_ + 1) & 1);
             column + 1 < firstColumn_ + columns_; column += 2) {
            const std::array<const Cell*, 6> around = {At(row, column - 1), At(row, column),
                                                       At(row, column + 1), At(row - 1, column + 1),
                                                       At(row - 1, column), At(row - 1, column - 1)};
            const std::array<int, 6> corner = {1, 0, 0, 1, 2, 2};
            // The lattice vertex first: a hexagon that is not convex is drawn as a fan about it.
            const double vx = column * step;
            const double vy = row * rowHeight;
            std::array<Vector2, 7> hexagon;
            hexagon[0] = Vector2{static_cast<float>(centreX + vx * frame.Cos - vy * frame.Sin),
                                 static_cast<float>(centreY + vx * frame.Sin + vy * frame.Cos)};
            for (int k = 0; k < 6; ++k) {
                hexagon[k + 1] = around[k]->core[corner[k]];
            }
            EmitHexagon(hexagon, around);
        }
    }
}

TileVertex TileRegions::Vertex(Vector2 p, const Cell& a, const Cell* b) const {
    const auto uv = [&](const Cell& c) {
        return Vector2{static_cast<float>((p.x * c.i11 + p.y * c.i21 + c.ix) / side_),
                       static_cast<float>((p.x * c.i12 + p.y * c.i22 + c.iy) / side_)};
    };
    const Vector2 first = uv(a);
    const Vector2 second = b != nullptr ? uv(*b) : first;
    return TileVertex{p.x - kPixelCentre,
                      p.y - kPixelCentre,
                      0.0f,
                      1.0f,
                      Grey(a.light),
                      b != nullptr ? Grey(b->light) : Grey(0),
                      first.x,
                      first.y,
                      second.x,
                      second.y};
}

void TileRegions::Emit(std::span<const Vector2> corners, std::span<const Cell* const> cells) {
    std::array<const Cell*, 6> lit{};
    std::size_t count = 0;
    for (const Cell* cell : cells) {
        if (cell->light > 0 && count < lit.size()) {
            lit[count++] = cell;
        }
    }
    for (std::size_t i = 0; i < count; i += 2) {
        const Cell& a = *lit[i];
        const Cell* b = i + 1 < count ? lit[i + 1] : nullptr;
        Fan(corners, a, b);
    }
}

void TileRegions::Fan(std::span<const Vector2> polygon, const Cell& a, const Cell* b) {
    for (std::size_t k = 1; k + 1 < polygon.size(); ++k) {
        for (const Vector2 p : {polygon[0], polygon[k], polygon[k + 1]}) {
            const TileVertex v = Vertex(p, a, b);
            if (b != nullptr) {
                paired_.push_back(v);
            } else {
                single_.push_back(EffectVertex{v.x, v.y, v.z, v.rhw, v.first, v.u0, v.v0});
            }
        }
    }
}

double TileRegions::BelowBottom(const Cell& cell, Vector2 p) const {
    return p.x * cell.i12 + p.y * cell.i22 + cell.iy - bottom_;
}

// The triangles of the fan about hexagon[0] for each lit cell, cut off below the cell's base where
// its base line crosses the hexagon (the six tiles meeting at the base corners). Cells cut along
// the same line on the same side, and cells not cut at all, go in pairs.
void TileRegions::EmitHexagon(std::span<const Vector2, 7> hexagon, std::span<const Cell* const, 6> cells) {
    std::array<const Cell*, 6> lit{};
    std::array<bool, 6> cut{};
    std::size_t count = 0;
    for (const Cell* cell : cells) {
        if (cell->light <= 0) {
            continue;
        }
        bool crosses = false;
        for (const Vector2 p : hexagon) {
            crosses = crosses || BelowBottom(*cell, p) > 0.0;
        }
        cut[count] = crosses;
        lit[count++] = cell;
    }
    // With strips of one width all round the hexagon is convex, and drawn as one polygon; else as
    // a fan about its vertex.
    const auto turn = [&](std::size_t k) {
        const Vector2 p = hexagon[1 + k % 6];
        const Vector2 q = hexagon[1 + (k + 1) % 6];
        const Vector2 r = hexagon[1 + (k + 2) % 6];
        return (double{q.x} - p.x) * (double{r.y} - q.y) - (double{q.y} - p.y) * (double{r.x} - q.x);
    };
    bool convex = true;
    for (std::size_t k = 1; k < 6; ++k) {
        convex = convex && turn(k) * turn(0) > 0.0;
    }
    std::array<bool, 6> done{};
    for (std::size_t i = 0; i < count; ++i) {
        if (done[i]) {
            continue;
        }
        done[i] = true;
        const Cell& a = *lit[i];
        const Cell* b = nullptr;
        for (std::size_t j = i + 1; j < count && b == nullptr; ++j) {
            const Cell& c = *lit[j];
            const bool sameCut = !cut[i] ? !cut[j]
                                         : cut[j] && std::abs(a.i12 - c.i12) < 1e-4 &&
                                               std::abs(a.i22 - c.i22) < 1e-4 && std::abs(a.iy - c.iy) < 1e-2;
            if (!done[j] && sameCut) {
                done[j] = true;
                b = &c;
            }
        }
        if (convex) {
            EmitCut(std::span(hexagon).subspan<1>(), cut[i], a, b);
            continue;
        }
        for (std::size_t k = 1; k <= 6; ++k) {
            EmitCut(std::array{hexagon[0], hexagon[k], hexagon[k < 6 ? k + 1 : 1]}, cut[i], a, b);
        }
    }
}

// The convex polygon, less its part below the first cell's bottom row when `cut`, as a fan.
void TileRegions::EmitCut(std::span<const Vector2> polygon, bool cut, const Cell& a, const Cell* b) {
    std::array<Vector2, 8> kept;
    std::size_t n = 0;
    for (std::size_t e = 0; e < polygon.size(); ++e) {
        const Vector2 p = polygon[e];
        const Vector2 q = polygon[(e + 1) % polygon.size()];
        const double dp = cut ? BelowBottom(a, p) : -1.0;
        const double dq = cut ? BelowBottom(a, q) : -1.0;
        if (dp <= 0.0) {
            kept[n++] = p;
        }
        if ((dp <= 0.0) != (dq <= 0.0)) {
            const double t = dp / (dp - dq);
            kept[n++] =
                Vector2{static_cast<float>(p.x + t * (q.x - p.x)), static_cast<float>(p.y + t * (q.y - p.y))};
        }
    }
    Fan(std::span(kept).first(n), a, b);
}
