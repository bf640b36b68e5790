// The arithmetic of the chamber image: piece colours, neighbour counts and piece transforms.
// Plain functions, usable without a device.
#pragma once

#include "effect/Piece.h"

#include "graphics/Transform2D.h"

#include <d3d9types.h>

#include <cstdint>
#include <span>
#include <vector>

// y of the chamber triangle's centroid, 2 sqrt(3) S / 3.
double ChamberCentroidY(std::int32_t triangleSize);

// Colour of piece `index` with `neighbours` pieces (itself included) nearby, at colour phase `phase`.
// A phase that is not finite counts as 0.
D3DCOLOR PieceColor(double phase, std::int32_t neighbours, std::int32_t index);

// For every piece, the number of pieces (itself included) whose centre lies closer than 10 pixels.
void CountNeighbours(std::span<const Piece> pieces, std::vector<std::int32_t>& counts);

// The transform that puts the 64 x 64 picture of a piece into the chamber image.
Matrix2D PieceMatrix(const Piece& piece, std::int32_t triangleSize);
