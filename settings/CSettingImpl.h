// The settings record: twelve values kept in the initialisation file next to the program.
#pragma once

#include "settings/CSetting.h"

#include <cstdint>
#include <string>

class CSettingImpl : public CSetting {
public:
    // Reads the file named after the program's own module.
    CSettingImpl();
    // Reads (and later writes) the given file instead; an empty name means no file at all.
    explicit CSettingImpl(std::wstring fileName);

    int Load() override;
    int SetDefaults() override;
    int Save() override;

    // The file that Load and Save use now (empty when no path can be built).
    std::wstring FileName() const;

    std::int32_t ScreenWidth = 0;
    std::int32_t ScreenHeight = 0;
    std::int32_t TriangleTexture = 0;
    std::int32_t TriangleSize = 0;
    std::int32_t PieceCount = 0;
    double PieceScaleMin = 0.0;
    double PieceScaleMax = 0.0;
    double SpeedRotation = 0.0;
    double SpeedShake = 0.0;
    double SpeedLight = 0.0;
    double LightStrength = 0.0;
    double LightArea = 0.0;

private:
    bool useModuleFile_;
    std::wstring fileName_;
};
