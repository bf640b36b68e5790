// The settings record: twelve values kept in the settings file (see SettingsStore for where it lies).
#pragma once

#include "settings/CSetting.h"
#include "settings/SettingsStore.h"

#include <cstdint>
#include <optional>
#include <string>

class CSettingImpl : public CSetting {
public:
    // Reads the settings of the program that holds this code: the user's own file when it exists,
    // else the one beside the program.
    CSettingImpl();
    // Reads (and later writes) the given file only; an empty name means no file at all.
    explicit CSettingImpl(std::wstring fileName);
    // Reads and writes these places through this disk.
    CSettingImpl(SettingsLocations locations, SettingsDisk& disk);

    int Load() override;
    int SetDefaults() override;
    HRESULT Save() override;

    // The file that Load reads now (empty when no path can be built).
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
    // The places are worked out afresh for every Load and Save of the program's own settings.
    SettingsStore Store() const;

    std::optional<SettingsLocations> locations_;
    SettingsDisk* disk_;
};
