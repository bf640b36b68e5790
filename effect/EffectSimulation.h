// The effect's simulation: the time step, the phases, the pieces and their shakes. Plain arithmetic
// on an explicit time step and a seeded generator: no device, no framework, no clock, so the same
// seed and the same time steps replay a run bit for bit.
#pragma once

#include "effect/EffectRandom.h"
#include "effect/EffectSettings.h"
#include "effect/Piece.h"

#include <cstdint>
#include <vector>

class EffectSimulation {
public:
    // One frame-move step with the settings of this frame.
    void Step(const EffectSettings& s, float elapsed);

    void Seed(std::uint32_t seed) { random_.Seed(seed); }
    std::uint32_t RandomState() const { return random_.State(); }
    // The triangle size the current pieces were made for (0 before the first step).
    std::int32_t PieceTriangleSize() const { return piecesMadeFor_; }
    // The phase of the pieces' colours.
    double ColourPhase() const { return ElapsedTotal * 0.05 + LightPhase; }

    double ElapsedTotal = 0.0;
    double RotationAngle = 0.0;
    double ShakeDirection = 0.0;
    double LightPhase = 0.0;
    std::vector<Piece> Pieces;
    double ShakeTimer = 0.0;
    double ShakeSpread = 0.0;
    std::int32_t ShakeFramesLeft = 0;

private:
    void UpdatePieceSize(const EffectSettings& s);
    void UpdatePieceCount(const EffectSettings& s);
    void ShakePieces(const EffectSettings& s);
    void DrawLook(Piece& piece, const EffectSettings& s);
    float DrawScale(const EffectSettings& s);

    EffectRandom random_;
    std::int32_t piecesMadeFor_ = 0;
};
