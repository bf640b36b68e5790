// Random settings files and the checks each of them must pass.
#include "support/SettingsFuzzer.h"

#include "effect/EffectSettings.h"
#include "effect/EffectSimulation.h"
#include "gui/CGuiDialogResources.h"
#include "gui/CGuiSlider.h"
#include "settings/CSettingDialogImpl.h"
#include "settings/CSettingImpl.h"
#include "settings/ProfileNumbers.h"
#include "settings/SettingsDisk.h"

#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <string_view>

namespace {

constexpr std::array<const char*, 5> kSections{"Screen", "Triangle", "Piece", "Speed", "Light"};
constexpr std::array<const char*, 12> kKeys{"Width", "Height", "Texture", "Size", "Count", "ScaleMin",
                                            "ScaleMax", "Rotation", "Shake", "Light", "Strength", "Area"};
constexpr std::array<const char*, 34> kValues{
    "0", "1", "-1", "96", "200", "0.5", "2147483647", "-2147483648", "2147483648", "4294967296",
    "99999999999999999999999", "1e308", "1e309", "-1e999", "1e-999", "4.9e-324", "nan", "NaN", "-nan",
    "nan(123)", "inf", "-inf", "Infinity", "INF", "", " ", "\"0.25\"", "'7'", "0x7fffffff", "0b1011",
    "0o17", "+5", "1.5.5", "abc"};

// The settings files live in memory here, so that a hundred thousand of them cost no disk.
class MemoryDisk : public SettingsDisk {
public:
    HRESULT Read(const std::wstring& file, std::string& bytes) override {
        const auto found = files.find(file);
        if (found == files.end()) {
            return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
        }
        if (found->second.size() > MaxFileSize) {
            return HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE);
        }
        bytes = found->second;
        return S_OK;
    }
    bool Exists(const std::wstring& file) override { return files.contains(file); }
    HRESULT Write(const std::wstring& file, std::string_view bytes) override {
        files[file] = std::string(bytes);
        return S_OK;
    }
    HRESULT Replace(const std::wstring& from, const std::wstring& to) override {
        files[to] = std::move(files[from]);
        files.erase(from);
        return S_OK;
    }
    void Remove(const std::wstring& file) override { files.erase(file); }
    HRESULT CreateFolders(const std::wstring&) override { return S_OK; }

    std::map<std::wstring, std::string> files;
};

const wchar_t kProgramFile[] = L"C:\\Saver\\Vitrelle.ini";
const wchar_t kUserFile[] = L"C:\\User\\Vitrelle\\Vitrelle.ini";

// The record's values as one comparable text.
std::string Fingerprint(const CSettingImpl& s) {
    std::string text;
    for (std::int32_t v : {s.ScreenWidth, s.ScreenHeight, s.TriangleTexture, s.TriangleSize, s.PieceCount}) {
        text += std::to_string(v) + ";";
    }
    for (double v : {s.PieceScaleMin, s.PieceScaleMax, s.SpeedRotation, s.SpeedShake, s.SpeedLight,
                     s.LightStrength, s.LightArea}) {
        const std::wstring formatted = std::isnan(v) ? L"nan" : FormatProfileReal(v);
        text += std::string(formatted.begin(), formatted.end()) + ";";
    }
    return text;
}

std::string CheckSimulation(const CSettingImpl& record) {
    const EffectSettings settings = MakeEffectSettings(record);
    EffectSimulation simulation;
    simulation.Seed(12345);
    for (int frame = 0; frame < 10; ++frame) {
        simulation.Step(settings, frame == 5 ? 30.0f : 1.0f / 60.0f);
    }
    if (simulation.Pieces.size() > static_cast<std::size_t>(EffectLimits::kMaxPieceCount)) {
        return "more pieces than the limit";
    }
    if (!std::isfinite(simulation.RotationAngle) || !std::isfinite(simulation.ColourPhase())) {
        return "the rotation or the colour phase is not finite";
    }
    for (const Piece& piece : simulation.Pieces) {
        if (!std::isfinite(piece.X) || !std::isfinite(piece.Y) || !std::isfinite(piece.ScaleX) ||
            !std::isfinite(piece.ScaleY) || !std::isfinite(piece.Angle)) {
            return "a piece has a place, stretch or turn that is not finite";
        }
    }
    const std::int32_t atlas = AtlasResourceId(record.TriangleTexture);
    if (atlas < 202 || atlas > 207) {
        return "a texture index outside the six atlases";
    }
    return {};
}

std::string CheckDialog(CSettingImpl& record) {
    static CGuiDialogResources resources;
    CSettingDialogImpl dialog([] { return std::vector<D3DDISPLAYMODE>{{800, 600, 60, D3DFMT_X8R8G8B8}}; },
                              L"Arial", DialogLanguage::English);
    dialog.Create(&record, &resources);
    for (int id = CSettingDialogImpl::kIdPieceCount; id <= CSettingDialogImpl::kIdLightArea; id += 2) {
        auto* slider = static_cast<CGuiSlider*>(dialog.Dialog().GetControl(id, ControlType::Slider));
        if (slider == nullptr) {
            return "a slider is missing";
        }
        if (slider->GetValue() < slider->GetMin() || slider->GetValue() > slider->GetMax()) {
            return "a slider stands outside its range";
        }
        if (dialog.Dialog().GetControl(id + 1, ControlType::Static) == nullptr) {
            return "a value text is missing";
        }
    }
    return {};
}

} // namespace

std::uint64_t SettingsFuzzer::Next() {
    // splitmix64: a full-period generator whose every seed gives a good sequence.
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::string SettingsFuzzer::RandomBytes(std::size_t length) {
    std::string bytes(length, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(Next() & 0xFF);
    }
    return bytes;
}

std::string SettingsFuzzer::Value() {
    switch (Below(6)) {
    case 0:
    {
        std::string number = std::to_string(static_cast<std::int64_t>(Next()));
        if (Chance(50)) {
            number += '.';
            number += std::to_string(Next());
        }
        return number;
    }
    case 1:
        return std::string(1 + Below(Chance(5) ? 70000 : 400), static_cast<char>('0' + Below(10)));
    case 2:
        return RandomBytes(Below(12));
    default:
        return kValues[Below(kValues.size())];
    }
}

std::string SettingsFuzzer::Structured() {
    std::string text;
    const std::size_t lines = Below(60);
    for (std::size_t i = 0; i < lines; ++i) {
        std::string name;
        const std::size_t kind = Below(10);
        if (kind < 2) {
            name = std::string("[") + (Chance(90) ? kSections[Below(kSections.size())] : "Other") + "]";
            if (Chance(10)) {
                name = " " + name + " ";
            }
        } else if (kind < 8) {
            name = Chance(95) ? kKeys[Below(kKeys.size())] : "Colour";
            name += std::string(Below(3), ' ') + (Chance(95) ? "=" : "") + std::string(Below(3), ' ') + Value();
        } else if (kind < 9) {
            name = "; a comment " + Value();
        }
        for (char& c : name) {
            if (Chance(20) && c >= 'a' && c <= 'z') {
                c = static_cast<char>(c - 'a' + 'A');
            }
        }
        text += name;
        text += Chance(80) ? "\r\n" : Chance(50) ? "\n" : "\r";
    }
    return text;
}

void SettingsFuzzer::Mutate(std::string& bytes) {
    const std::size_t changes = 1 + Below(8);
    for (std::size_t i = 0; i < changes; ++i) {
        const std::size_t at = Below(bytes.size() + 1);
        switch (Below(4)) {
        case 0:
            if (at < bytes.size()) {
                bytes[at] = static_cast<char>(Next() & 0xFF);
            }
            break;
        case 1:
            bytes.insert(at, 1, "=[]\r\n\0 ;\""[Below(9)]);
            break;
        case 2:
            bytes.erase(at, Below(8));
            break;
        default:
            if (!bytes.empty() && bytes.size() < 100000) {
                const std::size_t from = Below(bytes.size());
                bytes.insert(at, bytes.substr(from, Below(40)));
            }
            break;
        }
    }
}

std::string SettingsFuzzer::Encode(const std::string& text) {
    const std::size_t kind = Below(10);
    if (kind < 6) {
        return text;
    }
    if (kind < 8) {
        return "\xEF\xBB\xBF" + text;
    }
    const bool bigEndian = kind == 9;
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : text) {
        // Now and then a character beyond 8 bits, as a UTF-16 file may hold.
        const char high = Chance(2) ? static_cast<char>(Next() & 0xFF) : '\0';
        bytes.push_back(bigEndian ? high : c);
        bytes.push_back(bigEndian ? c : high);
    }
    return bytes;
}

std::string SettingsFuzzer::NextFile() {
    if (Below(20000) == 0) {
        // Beyond the size that is read at all.
        return std::string(SettingsDisk::MaxFileSize + 1 + Below(100), '7');
    }
    std::string text = Chance(15) ? RandomBytes(Below(2048)) : Structured();
    if (Chance(40)) {
        Mutate(text);
    }
    return Encode(text);
}

std::string CheckSettingsFile(const std::string& bytes) {
    MemoryDisk disk;
    disk.files[kProgramFile] = bytes;
    CSettingImpl record(SettingsLocations{kProgramFile, kUserFile}, disk);
    if (std::string finding = CheckSimulation(record); !finding.empty()) {
        return finding;
    }
    if (std::string finding = CheckDialog(record); !finding.empty()) {
        return finding;
    }
    // Saved and read again, the record holds what it held (reals to six decimals), and a second save
    // changes nothing more.
    const std::string before = Fingerprint(record);
    if (FAILED(record.Save())) {
        return "saving into memory failed";
    }
    const bool tooLarge = bytes.size() > SettingsDisk::MaxFileSize;
    const std::wstring written = tooLarge ? kUserFile : kProgramFile;
    if (tooLarge != disk.files.contains(kUserFile) || (tooLarge && disk.files[kProgramFile] != bytes)) {
        return "a file too large to read was rewritten, or the settings went to the wrong file";
    }
    const std::string first = disk.files[written];
    record.Load();
    if (Fingerprint(record) != before) {
        return "the values read back differ from the values saved";
    }
    record.Save();
    if (disk.files[written] != first) {
        return "a second save changed the file again";
    }
    if (disk.files.size() != (tooLarge ? 2u : 1u)) {
        return "a temporary file was left behind";
    }
    return {};
}
