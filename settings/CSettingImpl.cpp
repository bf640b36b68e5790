// Reads and writes the settings record through the Windows private-profile functions.
#include "settings/CSettingImpl.h"

#include "settings/ProfileNumbers.h"
#include "settings/SettingDefaults.h"
#include "settings/SettingsPath.h"

#include <windows.h>

#include <array>
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

constexpr DWORD kValueBufferSize = 1024;

std::int32_t ReadInt(const wchar_t* section, const wchar_t* key, std::int32_t defaultValue,
                     const std::wstring& file) {
    if (file.empty()) {
        return defaultValue;
    }
    return static_cast<std::int32_t>(GetPrivateProfileIntW(section, key, defaultValue, file.c_str()));
}

double ReadReal(const wchar_t* section, const wchar_t* key, double defaultValue, const std::wstring& file) {
    if (file.empty()) {
        return defaultValue;
    }
    std::wstring defaultText = FormatProfileReal(defaultValue);
    wchar_t buffer[kValueBufferSize] = {};
    DWORD length =
        GetPrivateProfileStringW(section, key, defaultText.c_str(), buffer, kValueBufferSize, file.c_str());
    return ParseProfileReal(std::wstring_view(buffer, length));
}

void Write(const wchar_t* section, const wchar_t* key, const std::wstring& text, const std::wstring& file) {
    // A file that cannot be written is silently left as it is.
    WritePrivateProfileStringW(section, key, text.c_str(), file.c_str());
}

} // namespace

CSettingImpl::CSettingImpl() : useModuleFile_(true) {
    Load();
}

CSettingImpl::CSettingImpl(std::wstring fileName) : useModuleFile_(false), fileName_(std::move(fileName)) {
    Load();
}

std::wstring CSettingImpl::FileName() const {
    return useModuleFile_ ? SettingsFileOfThisModule() : fileName_;
}

int CSettingImpl::Load() {
    const std::wstring file = FileName();
    ScreenWidth = ReadInt(L"Screen", L"Width", GetSystemMetrics(SM_CXSCREEN), file);
    ScreenHeight = ReadInt(L"Screen", L"Height", GetSystemMetrics(SM_CYSCREEN), file);
    for (std::size_t i = 0; i < kTriangleAndPiece.size(); ++i) {
        const IntEntry& e = kTriangleAndPiece[i];
        this->*e.field = ReadInt(e.section, e.key, kTriangleAndPieceDefaults[i], file);
    }
    for (const RealEntry& e : kReals) {
        this->*e.field = ReadReal(e.section, e.key, e.defaultValue, file);
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

int CSettingImpl::Save() {
    const std::wstring file = FileName();
    if (file.empty()) {
        return 0;
    }
    Write(L"Screen", L"Width", FormatProfileInt(ScreenWidth), file);
    Write(L"Screen", L"Height", FormatProfileInt(ScreenHeight), file);
    for (const IntEntry& e : kTriangleAndPiece) {
        Write(e.section, e.key, FormatProfileInt(this->*e.field), file);
    }
    for (const RealEntry& e : kReals) {
        Write(e.section, e.key, FormatProfileReal(this->*e.field), file);
    }
    return 0;
}
