// The values a settings record takes where the file has none, and that Reset puts back; the effect
// falls back on them too. The screen size has no fixed default: it is the primary display's.
#pragma once

#include <cstdint>

struct SettingDefaultValues {
    std::int32_t TriangleTexture;
    std::int32_t TriangleSize;
    std::int32_t PieceCount;
    double PieceScaleMin;
    double PieceScaleMax;
    double SpeedRotation;
    double SpeedShake;
    double SpeedLight;
    double LightStrength;
    double LightArea;
};

inline constexpr SettingDefaultValues kSettingDefaults{
    .TriangleTexture = 1,
    .TriangleSize = 96,
    .PieceCount = 50,
    .PieceScaleMin = 0.2,
    .PieceScaleMax = 1.0,
    .SpeedRotation = 0.02,
    .SpeedShake = 0.1,
    .SpeedLight = 0.1,
    .LightStrength = 1.5,
    .LightArea = 0.5,
};
