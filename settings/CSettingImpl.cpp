// Reads and writes the settings record: the file's text is read whole, edited and written whole.
#include "settings/CSettingImpl.h"

#include "settings/ProfileNumbers.h"
#include "settings/SettingDefaults.h"
#include "settings/SettingsPath.h"

#include <windows.h>

#include <array>
#include <optional>
#include <utility>

namespace {

struct IntEntry {
    const wchar_t* section;
    const wchar_t* key;
    std::int32_t CSettingImpl::*field;
};

struct RealEntry {
    const wchar_t* section;
    const wchar_t* key;
    double CSettingImpl::*field;
    double defaultValue;
};

// Entries 3 to 5; the screen size (entries 1 and 2) takes its default from the display.
constexpr std::array<IntEntry, 3> kTriangleAndPiece{{
    {L"Triangle", L"Texture", &CSettingImpl::TriangleTexture},
    {L"Triangle", L"Size", &CSettingImpl::TriangleSize},
    {L"Piece", L"Count", &CSettingImpl::PieceCount},
}};
constexpr std::array<std::int32_t, 3> kTriangleAndPieceDefaults{
    kSettingDefaults.TriangleTexture, kSettingDefaults.TriangleSize, kSettingDefaults.PieceCount};

constexpr std::array<RealEntry, 7> kReals{{
    {L"Piece", L"ScaleMin", &CSettingImpl::PieceScaleMin, kSettingDefaults.PieceScaleMin},
    {L"Piece", L"ScaleMax", &CSettingImpl::PieceScaleMax, kSettingDefaults.PieceScaleMax},
    {L"Speed", L"Rotation", &CSettingImpl::SpeedRotation, kSettingDefaults.SpeedRotation},
    {L"Speed", L"Shake", &CSettingImpl::SpeedShake, kSettingDefaults.SpeedShake},
    {L"Speed", L"Light", &CSettingImpl::SpeedLight, kSettingDefaults.SpeedLight},
    {L"Light", L"Strength", &CSettingImpl::LightStrength, kSettingDefaults.LightStrength},
    {L"Light", L"Area", &CSettingImpl::LightArea, kSettingDefaults.LightArea},
}};

// What the private-profile functions let through: a value read for an integer is cut to 29
// characters, one read for a real to 1023; an integer's empty value gives its default.
constexpr std::size_t kIntValueLength = 29;
constexpr std::size_t kRealValueLength = 1023;

std::int32_t ReadInt(const ProfileText& text, const wchar_t* section, const wchar_t* key,
                     std::int32_t defaultValue) {
    const std::optional<std::wstring> value = text.Find(section, key);
    if (!value || value->empty()) {
        return defaultValue;
    }
    return ParseProfileInt(std::wstring_view(*value).substr(0, kIntValueLength));
}

double ReadReal(const ProfileText& text, const wchar_t* section, const wchar_t* key, double defaultValue) {
    const std::optional<std::wstring> value = text.Find(section, key);
    if (!value) {
        return ParseProfileReal(FormatProfileReal(defaultValue));
    }
    return ParseProfileReal(std::wstring_view(*value).substr(0, kRealValueLength));
}

} // namespace

CSettingImpl::CSettingImpl() : disk_(&RealSettingsDisk()) {
    Load();
}

CSettingImpl::CSettingImpl(std::wstring fileName)
    : locations_(SettingsLocations{std::move(fileName), {}}), disk_(&RealSettingsDisk()) {
    Load();
}

CSettingImpl::CSettingImpl(SettingsLocations locations, SettingsDisk& disk)
    : locations_(std::move(locations)), disk_(&disk) {
    Load();
}

SettingsStore CSettingImpl::Store() const {
    return SettingsStore(locations_ ? *locations_ : SettingsLocationsOfThisModule(), *disk_);
}

std::wstring CSettingImpl::FileName() const {
    return Store().FileToRead();
}

int CSettingImpl::Load() {
    const ProfileText text = Store().Read();
    ScreenWidth = ReadInt(text, L"Screen", L"Width", GetSystemMetrics(SM_CXSCREEN));
    ScreenHeight = ReadInt(text, L"Screen", L"Height", GetSystemMetrics(SM_CYSCREEN));
    for (std::size_t i = 0; i < kTriangleAndPiece.size(); ++i) {
        const IntEntry& e = kTriangleAndPiece[i];
        this->*e.field = ReadInt(text, e.section, e.key, kTriangleAndPieceDefaults[i]);
    }
    for (const RealEntry& e : kReals) {
        this->*e.field = ReadReal(text, e.section, e.key, e.defaultValue);
    }
    return 0;
}

int CSettingImpl::SetDefaults() {
    ScreenWidth = GetSystemMetrics(SM_CXSCREEN);
    ScreenHeight = GetSystemMetrics(SM_CYSCREEN);
    for (std::size_t i = 0; i < kTriangleAndPiece.size(); ++i) {
        this->*kTriangleAndPiece[i].field = kTriangleAndPieceDefaults[i];
    }
    for (const RealEntry& e : kReals) {
        this->*e.field = e.defaultValue;
    }
    return 0;
}

HRESULT CSettingImpl::Save() {
    return Store().Write([this](ProfileText& text) {
        text.Set(L"Screen", L"Width", FormatProfileInt(ScreenWidth));
        text.Set(L"Screen", L"Height", FormatProfileInt(ScreenHeight));
        for (const IntEntry& e : kTriangleAndPiece) {
            text.Set(e.section, e.key, FormatProfileInt(this->*e.field));
        }
        for (const RealEntry& e : kReals) {
            text.Set(e.section, e.key, FormatProfileReal(this->*e.field));
        }
    });
}
