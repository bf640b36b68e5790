// The settings record over real files and the real private-profile functions.
#include "settings/CSettingImpl.h"

#include "support/TempFolder.h"

#include <windows.h>

#include <doctest/doctest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty()) {
            lines.push_back(line);
        }
    }
    return lines;
}

void CheckDefaultsExceptScreen(const CSettingImpl& s) {
    CHECK(s.TriangleTexture == 1);
    CHECK(s.TriangleSize == 96);
    CHECK(s.PieceCount == 50);
    CHECK(s.PieceScaleMin == 0.2);
    CHECK(s.PieceScaleMax == 1.0);
    CHECK(s.SpeedRotation == 0.02);
    CHECK(s.SpeedShake == 0.1);
    CHECK(s.SpeedLight == 0.1);
    CHECK(s.LightStrength == 1.5);
    CHECK(s.LightArea == 0.5);
}

} // namespace

TEST_SUITE("settings") {

TEST_CASE("Settings file: no file gives the defaults and creates nothing") {
    TempFolder folder;
    const std::wstring file = folder / L"Vitrelle.ini";
    CSettingImpl s(file);
    CHECK(s.ScreenWidth == GetSystemMetrics(SM_CXSCREEN));
    CHECK(s.ScreenHeight == GetSystemMetrics(SM_CYSCREEN));
    CHECK(s.ScreenWidth > 0);
    CheckDefaultsExceptScreen(s);
    CHECK_FALSE(FileExists(file));
}

TEST_CASE("Settings file: missing entries take their defaults") {
    TempFolder folder;
    const std::wstring file = folder / L"Vitrelle.ini";
    WriteBytes(file, "[Piece]\r\nCount=120\r\n");
    CSettingImpl s(file);
    CHECK(s.PieceCount == 120);
    CHECK(s.ScreenWidth == GetSystemMetrics(SM_CXSCREEN));
    CHECK(s.TriangleSize == 96);
    CHECK(s.PieceScaleMin == 0.2);
    CHECK(s.LightArea == 0.5);
}

TEST_CASE("Settings file: hand-edited values are read as numbers, never refused") {
    TempFolder folder;
    const std::wstring file = folder / L"Vitrelle.ini";
    const std::string longText(5000, '7');
    WriteBytes(file, "[Triangle]\r\nSize=abc\r\nTexture=-3\r\n"
                     "[Piece]\r\nScaleMin=\r\nScaleMax=0.35xyz\r\nCount=  12\r\n"
                     "[speed]\r\nrotation=1e999\r\nShake=" + longText + "\r\n"
                     "[Light]\r\nStrength=-0.25\r\nArea=0,5\r\n");
    CSettingImpl s(file);
    CHECK(s.TriangleSize == 0);
    CHECK(s.TriangleTexture == -3);
    CHECK(s.PieceScaleMin == 0.0); // present but empty: 0, not the default
    CHECK(s.PieceScaleMax == 0.35);
    CHECK(s.PieceCount == 12);
    CHECK(s.SpeedRotation > 1e300); // section and key names ignore letter case
    CHECK(s.SpeedShake > 1e300);    // only the first 1023 characters are seen, still a huge number
    CHECK(s.LightStrength == -0.25);
    CHECK(s.LightArea == 0.0);
}

TEST_CASE("Settings file: a first Save writes the seventeen lines in order") {
    TempFolder folder;
    const std::wstring file = folder / L"Vitrelle.ini";
    CSettingImpl s(file);
    s.ScreenWidth = 1920;
    s.ScreenHeight = 1080;
    s.Save();
    const std::vector<std::string> expected{
        "[Screen]",          "Width=1920",        "Height=1080",       "[Triangle]",     "Texture=1",
        "Size=96",           "[Piece]",           "Count=50",          "ScaleMin=0.200000", "ScaleMax=1.000000",
        "[Speed]",           "Rotation=0.020000", "Shake=0.100000",    "Light=0.100000", "[Light]",
        "Strength=1.500000", "Area=0.500000"};
    CHECK(Lines(ReadBytes(file)) == expected);
}

TEST_CASE("Settings file: Save keeps other sections, keys, comments and the order of entries") {
    TempFolder folder;
    const std::wstring file = folder / L"Vitrelle.ini";
    WriteBytes(file, "; my notes\r\n[Light]\r\nArea=0.9\r\nColour=blue\r\n[Other]\r\nKeep=yes\r\n"
                     "[Screen]\r\nHeight=600\r\nWidth=800\r\n");
    CSettingImpl s(file);
    CHECK(s.LightArea == 0.9);
    CHECK(s.ScreenWidth == 800);
    s.LightArea = 0.29;
    s.Save();
    const std::string written = ReadBytes(file);
    INFO("file:\n", written);
    const std::vector<std::string> lines = Lines(written);
    // Entries already present keep their places; new ones follow in the record's order.
    const std::vector<std::string> expected{
        "; my notes", "[Light]",  "Area=0.290000", "Colour=blue",       "Strength=1.500000",
        "[Other]",    "Keep=yes", "[Screen]",      "Height=600",        "Width=800",
        "[Triangle]", "Texture=1", "Size=96",      "[Piece]",           "Count=50",
        "ScaleMin=0.200000", "ScaleMax=1.000000",  "[Speed]",           "Rotation=0.020000",
        "Shake=0.100000",    "Light=0.100000"};
    CHECK(lines == expected);
    CSettingImpl again(file);
    CHECK(again.LightArea == 0.29);
}

TEST_CASE("Settings file: values round-trip through Save and Load") {
    TempFolder folder;
    const std::wstring file = folder / L"Vitrelle.ini";
    CSettingImpl s(file);
    s.ScreenWidth = -1;
    s.ScreenHeight = 2147483647;
    s.TriangleTexture = 5;
    s.TriangleSize = 320;
    s.PieceCount = 500;
    s.PieceScaleMin = 1.5;
    s.PieceScaleMax = 0.3; // out of order on purpose: stored as it is
    s.SpeedRotation = 0.29;
    s.SpeedShake = 1.0;
    s.SpeedLight = 0.0;
    s.LightStrength = 2.0;
    s.LightArea = 0.01;
    s.Save();
    CHECK(ReadBytes(file).find("Rotation=0.290000") != std::string::npos);
    CSettingImpl t(file);
    CHECK(t.ScreenWidth == -1);
    CHECK(t.ScreenHeight == 2147483647);
    CHECK(t.TriangleTexture == 5);
    CHECK(t.TriangleSize == 320);
    CHECK(t.PieceCount == 500);
    CHECK(t.PieceScaleMin == 1.5);
    CHECK(t.PieceScaleMax == 0.3);
    CHECK(t.SpeedRotation == 0.29);
    CHECK(t.SpeedShake == 1.0);
    CHECK(t.SpeedLight == 0.0);
    CHECK(t.LightStrength == 2.0);
    CHECK(t.LightArea == 0.01);
}

TEST_CASE("Settings file: SetDefaults touches no file, Load brings the file back") {
    TempFolder folder;
    const std::wstring file = folder / L"Vitrelle.ini";
    const std::string content = "[Triangle]\r\nSize=160\r\n[Piece]\r\nCount=7\r\n";
    WriteBytes(file, content);
    CSettingImpl s(file);
    s.SetDefaults();
    CHECK(s.TriangleSize == 96);
    CHECK(s.PieceCount == 50);
    CHECK(s.ScreenWidth == GetSystemMetrics(SM_CXSCREEN));
    CheckDefaultsExceptScreen(s);
    CHECK(ReadBytes(file) == content);
    s.Load();
    CHECK(s.TriangleSize == 160);
    CHECK(s.PieceCount == 7);
}

TEST_CASE("Settings file: a file that cannot be written is left alone, and Save says so") {
    TempFolder folder;
    CSettingImpl s(folder / L"no such folder\\Vitrelle.ini");
    s.PieceCount = 3;
    CHECK(FAILED(s.Save()));
    CHECK_FALSE(FileExists(folder / L"no such folder"));
    CHECK(s.PieceCount == 3);

    CSettingImpl none{std::wstring()};
    none.PieceCount = 4;
    CHECK(FAILED(none.Save()));
    CHECK(none.PieceCount == 4);
    CHECK(none.TriangleSize == 96);
}

// Run on demand by an end-to-end test that starts this program through its short 8.3 name.
TEST_CASE("Settings file: Save writes next to the module's long name" * doctest::skip()) {
    CSettingImpl s;
    s.PieceCount = 77;
    s.Save();
    CHECK(FileExists(s.FileName()));
}
}
