// Where the settings file lies, for ordinary, short and very long module paths.
#include "settings/SettingsPath.h"

#include "settings/CSettingImpl.h"

#include "support/TempFolder.h"

#include <doctest/doctest.h>

TEST_SUITE("settings") {

TEST_CASE("SettingsPath: the extension is replaced by .ini") {
    CHECK(ReplaceExtensionWithIni(L"C:\\Windows\\System32\\Example.scr") == L"C:\\Windows\\System32\\Example.ini");
    CHECK(ReplaceExtensionWithIni(L"C:\\a\\Example") == L"C:\\a\\Example.ini");
    CHECK(ReplaceExtensionWithIni(L"C:\\a.b\\Example") == L"C:\\a.b\\Example.ini");
    // Only the last extension goes; the name never loses more than that.
    CHECK(ReplaceExtensionWithIni(L"C:\\a\\my.saver.scr") == L"C:\\a\\my.saver.ini");
    CHECK(ReplaceExtensionWithIni(L"Vitrelle long name.scr") == L"Vitrelle long name.ini");
}

TEST_CASE("SettingsPath: the program's settings file is named after its own module") {
    wchar_t module[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
    REQUIRE(length > 0);
    std::wstring expected = ReplaceExtensionWithIni(LongPathName(std::wstring(module, length)));
    CHECK(SettingsFileOfThisModule() == expected);
    CHECK(expected.size() > 4);
}

TEST_CASE("SettingsPath: a short 8.3 path gives the settings file of the long name") {
    TempFolder folder;
    const std::wstring longName = folder / L"Vitrelle long name.scr";
    WriteBytes(longName, "MZ");
    wchar_t shortName[MAX_PATH];
    DWORD length = GetShortPathNameW(longName.c_str(), shortName, MAX_PATH);
    REQUIRE(length > 0);
    REQUIRE(std::wstring(shortName, length) != longName);
    CHECK(SettingsFileForModule(std::wstring(shortName, length)) == folder / L"Vitrelle long name.ini");
}

TEST_CASE("SettingsPath: module paths longer than 1024 characters are not cut") {
    TempFolder folder;
    std::wstring deep = folder.Path();
    const std::wstring part(120, L'd');
    while (deep.size() < 1200) {
        deep += L"\\" + part;
        REQUIRE(CreateDirectoryW(deep.c_str(), nullptr));
    }
    const std::wstring module = deep + L"\\Vitrelle.scr";
    WriteBytes(module, "MZ");
    std::wstring settings = SettingsFileForModule(module);
    CHECK(settings == deep + L"\\Vitrelle.ini");
    CHECK(settings.size() > 1024);
    // The profile functions refuse such paths: the record keeps its defaults, and no other file
    // (a cut-off name) is written instead.
    CSettingImpl record(settings);
    CHECK(record.TriangleSize == 96);
    record.PieceCount = 3;
    record.Save();
    CHECK_FALSE(FileExists(settings.substr(0, 1023)));
    CHECK_FALSE(FileExists(settings.substr(0, 1024)));
}

TEST_CASE("SettingsPath: a module file that does not exist gives no settings file") {
    TempFolder folder;
    CHECK(SettingsFileForModule(folder / L"missing.scr").empty());
    CHECK(SettingsFileForModule(L"").empty());
}
}
