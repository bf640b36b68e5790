// Piece colours, neighbour counts and piece transforms of the chamber image.
#include "effect/ChamberMath.h"

#include "graphics/Transform2D.h"

#include <cmath>

double ChamberCentroidY(std::int32_t triangleSize) {
    return 2.0 * std::sqrt(3.0) * triangleSize / 3.0;
}

D3DCOLOR PieceColor(double phase, std::int32_t neighbours, std::int32_t index) {
    if (!std::isfinite(phase)) {
        phase = 0.0;
    }
    const double i = index;
    double a;
    if (neighbours <= 5) {
        a = 155.0 + 100.0 * std::sin(i + phase * (i / 20.0 + 5.0));
    } else {
        a = 128.0 + 127.0 * std::sin(phase * (i / 10.0 + 5.0)) * std::sin(phase * (i / 15.0 + 4.0));
    }
    const double r = 192.0 + 63.0 * std::cos(0.9 * phase);
    const double g = 192.0 + 63.0 * std::cos(0.8 * phase);
    const double b = 192.0 + 63.0 * std::cos(0.7 * phase);
    // Every value lies inside its byte; the masks only keep the packing safe.
    const auto byte = [](double v) {
        return static_cast<std::uint32_t>(static_cast<std::int32_t>(v)) & 0xFF;
    };
    return byte(a) << 24 | byte(r) << 16 | byte(g) << 8 | byte(b);
}

void CountNeighbours(std::span<const Piece> pieces, std::vector<std::int32_t>& counts) {
    const std::size_t n = pieces.size();
    counts.assign(n, 1);
    // The distance is the same both ways (negation is exact), so each pair is measured once.
    for (std::size_t i = 0; i < n; ++i) {
        const float xi = pieces[i].X;
        const float yi = pieces[i].Y;
        for (std::size_t j = i + 1; j < n; ++j) {
            const float dx = xi - pieces[j].X;
            const float dy = yi - pieces[j].Y;
            if (std::sqrt(dx * dx + dy * dy) < 10.0f) {
                ++counts[i];
                ++counts[j];
            }
        }
    }
}

Matrix2D PieceMatrix(const Piece& piece, std::int32_t triangleSize) {
    const Vector2 centre{32.0f, 32.0f};
    const Vector2 scaling{piece.ScaleX, piece.ScaleY};
    const Vector2 translation{static_cast<float>(double(piece.X) - 32.0 + triangleSize),
                              static_cast<float>(double(piece.Y) - 32.0)};
    return CentredTransform2D(centre, scaling, piece.Angle, translation);
}
