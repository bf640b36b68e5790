// The simulation step: time, phases, the number of pieces and the shake motion.
#include "effect/EffectSimulation.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// A shake starts whenever the shake timer passes this value, and moves the pieces for 5 frames.
constexpr double kShakePeriod = 0.6;
constexpr std::int32_t kShakeFrames = 5;
// The rotation is kept within a few turns of zero: the tiles store their turn as a float, which
// would get coarse (and the tiles' images misaligned with their places) after days of turning.
constexpr double kRotationWrap = 32.0 * kTwoPi;

} // namespace

void EffectSimulation::Step(const EffectSettings& s, float elapsed) {
    float dt = elapsed;
    if (!(dt < 0.1f) || !std::isfinite(dt)) {
        dt = 0.1f;
    }
    ElapsedTotal += dt;
    RotationAngle += dt * s.SpeedRotation;
    if (std::fabs(RotationAngle) >= kRotationWrap) {
        RotationAngle = std::remainder(RotationAngle, kTwoPi);
    }
    const double v = dt * s.SpeedShake;
    ShakeDirection += v;
    ShakeTimer += v;
    LightPhase += dt * s.SpeedLight;
    UpdatePieceSize(s);
    UpdatePieceCount(s);
    ShakePieces(s);
}

// Pieces placed for another triangle size do not fit the chamber: all of them are replaced.
void EffectSimulation::UpdatePieceSize(const EffectSettings& s) {
    if (s.TriangleSize != piecesMadeFor_) {
        std::vector<Piece>().swap(Pieces);
        piecesMadeFor_ = s.TriangleSize;
    }
}

void EffectSimulation::UpdatePieceCount(const EffectSettings& s) {
    const auto count = static_cast<std::size_t>(s.PieceCount);
    if (count < Pieces.size()) {
        Pieces.resize(count);
    }
    const double height = s.TriangleSize * std::numbers::sqrt3;
    while (Pieces.size() < count) {
        Piece piece;
        DrawLook(piece, s);
        piece.Angle = static_cast<float>(random_.Unit() * kTwoPi);
        piece.Y = static_cast<float>(random_.Unit() * height);
        const double y = piece.Y;
        piece.X = static_cast<float>(random_.Unit() * y - y * 0.5);
        Pieces.push_back(piece);
    }
}

void EffectSimulation::ShakePieces(const EffectSettings& s) {
    if (ShakeTimer > kShakePeriod) {
        ShakeFramesLeft = kShakeFrames;
        ShakeTimer -= kShakePeriod;
        // No backlog of shakes: a shake speed far beyond the usual range would otherwise leave
        // one shake start per frame (and so no motion) long after the speed came back down.
        if (ShakeTimer > kShakePeriod) {
            ShakeTimer = kShakePeriod;
        }
        ShakeSpread = random_.Below(5) == 0 ? kTwoPi : 3.0;
        return;
    }
    if (ShakeFramesLeft <= 0) {
        return;
    }
    --ShakeFramesLeft;
    const double height = std::numbers::sqrt3 * s.TriangleSize;
    const std::int32_t reach = s.TriangleSize / 4;
    for (Piece& piece : Pieces) {
        piece.Angle += (random_.Below(10) / 10.0 - 0.5) * 2.0;
        const double direction = (random_.Unit() - 0.5) * ShakeSpread + ShakeDirection;
        const double distance = random_.Unit() * reach;
        const double nx = piece.X + std::sin(direction) * distance;
        const double ny = piece.Y + std::cos(direction) * distance;
        // A move that would leave the region where pieces live is not made at all.
        if (ny >= 0.0 && ny < height && std::fabs(2.0 * nx) < ny) {
            piece.X = static_cast<float>(nx);
            piece.Y = static_cast<float>(ny);
        }
        if (random_.Below(20) == 0) {
            DrawLook(piece, s);
        }
    }
}

// A new picture and stretch for a piece: cell column and row, then the two stretch factors.
void EffectSimulation::DrawLook(Piece& piece, const EffectSettings& s) {
    const LONG column = random_.Below(13);
    const LONG row = random_.Below(6);
    piece.Cell = RECT{64 * column, 64 * row, 64 * column + 64, 64 * row + 64};
    piece.ScaleX = DrawScale(s);
    piece.ScaleY = DrawScale(s);
}

float EffectSimulation::DrawScale(const EffectSettings& s) {
    const double a = random_.Unit();
    const double b = random_.Unit();
    return static_cast<float>(b * (a * (s.PieceScaleMax - s.PieceScaleMin)) + s.PieceScaleMin);
}
