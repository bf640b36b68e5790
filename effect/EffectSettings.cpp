// Safe values for the effect from whatever the settings record holds.
#include "effect/EffectSettings.h"

#include "settings/CSettingImpl.h"

#include <algorithm>
#include <cmath>

namespace {

double SafeReal(double value, double fallback, double low, double high) {
    if (!std::isfinite(value)) {
        return fallback;
    }
    return std::clamp(value, low, high);
}

} // namespace

EffectSettings MakeEffectSettings(const CSettingImpl& record) {
    const EffectSettings defaults;
    EffectSettings s;
    s.TriangleTexture = std::clamp(record.TriangleTexture, 0, EffectLimits::kMaxTextureIndex);
    s.TriangleSize =
        std::clamp(record.TriangleSize, EffectLimits::kMinTriangleSize, EffectLimits::kMaxTriangleSize);
    s.PieceCount = std::clamp(record.PieceCount, 0, EffectLimits::kMaxPieceCount);
    const double scale = EffectLimits::kMaxPieceScale;
    s.PieceScaleMin = SafeReal(record.PieceScaleMin, defaults.PieceScaleMin, -scale, scale);
    s.PieceScaleMax = SafeReal(record.PieceScaleMax, defaults.PieceScaleMax, -scale, scale);
    const double speed = EffectLimits::kMaxSpeed;
    s.SpeedRotation = SafeReal(record.SpeedRotation, defaults.SpeedRotation, -speed, speed);
    s.SpeedShake = SafeReal(record.SpeedShake, defaults.SpeedShake, 0.0, speed);
    s.SpeedLight = SafeReal(record.SpeedLight, defaults.SpeedLight, -speed, speed);
    const double light = EffectLimits::kMaxLight;
    s.LightStrength = SafeReal(record.LightStrength, defaults.LightStrength, -light, light);
    s.LightArea = SafeReal(record.LightArea, defaults.LightArea, -light, light);
    return s;
}

std::int32_t AtlasResourceId(std::int32_t triangleTexture) {
    constexpr std::int32_t ids[EffectLimits::kMaxTextureIndex + 1] = {202, 203, 204, 205, 206, 207};
    return ids[std::clamp(triangleTexture, 0, EffectLimits::kMaxTextureIndex)];
}
