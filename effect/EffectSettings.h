// The values the effect works with, derived every frame from the settings record. A hand-edited
// settings file can hold any number; the record keeps it as written (the dialog and Save see it),
// while the effect uses these safe values instead.
#pragma once

#include "settings/SettingDefaults.h"

#include <cstdint>

class CSettingImpl;

// Limits applied to the record's values (the dialog offers values well inside them).
struct EffectLimits {
    // The tiling divides by the size and steps by size - 2; below 16 the tile count explodes
    // ((W / S)^2), above 1024 the chamber image (2S x 2S) outgrows common texture limits.
    static constexpr std::int32_t kMinTriangleSize = 16;
    static constexpr std::int32_t kMaxTriangleSize = 1024;
    // The neighbour count compares every pair of pieces.
    static constexpr std::int32_t kMaxPieceCount = 1000;
    static constexpr std::int32_t kMaxTextureIndex = 5;
    // Stretch factors of the pieces.
    static constexpr double kMaxPieceScale = 16.0;
    // Speeds in radians (or phase units) per second; a shake speed below 0 counts as 0.
    static constexpr double kMaxSpeed = 100.0;
    static constexpr double kMaxLight = 100.0;
};

struct EffectSettings {
    std::int32_t TriangleTexture = kSettingDefaults.TriangleTexture;
    std::int32_t TriangleSize = kSettingDefaults.TriangleSize;
    std::int32_t PieceCount = kSettingDefaults.PieceCount;
    double PieceScaleMin = kSettingDefaults.PieceScaleMin;
    double PieceScaleMax = kSettingDefaults.PieceScaleMax;
    double SpeedRotation = kSettingDefaults.SpeedRotation;
    double SpeedShake = kSettingDefaults.SpeedShake;
    double SpeedLight = kSettingDefaults.SpeedLight;
    double LightStrength = kSettingDefaults.LightStrength;
    double LightArea = kSettingDefaults.LightArea;
};

// Integers are clamped into their limits (a negative count gives no pieces); a number that is not
// finite takes the setting's default, a finite one is clamped into its limits.
EffectSettings MakeEffectSettings(const CSettingImpl& record);

// The resource id of the piece atlas for a texture index; an index outside 0..5 is clamped first.
std::int32_t AtlasResourceId(std::int32_t triangleTexture);
