// The resources built into the program: its name, icon, version and manifest.
#include <windows.h>
#include <shellapi.h>

#include <doctest/doctest.h>

#include <string>

TEST_SUITE("host") {

TEST_CASE("Resources: string 1 is the name Windows lists") {
    wchar_t text[64] = {};
    int length = LoadStringW(GetModuleHandleW(nullptr), 1, text, 64);
    CHECK(std::wstring(text, length) == L"Vitrelle");
}

TEST_CASE("Resources: the icon, version information and manifest are present") {
    HMODULE module = GetModuleHandleW(nullptr);
    CHECK(FindResourceW(module, MAKEINTRESOURCEW(1), RT_GROUP_ICON) != nullptr);
    HRSRC manifest = FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST);
    REQUIRE(manifest != nullptr);
    std::string xml(static_cast<const char*>(LockResource(LoadResource(module, manifest))),
                    SizeofResource(module, manifest));
    CHECK(xml.find("Microsoft.Windows.Common-Controls") != std::string::npos);
    CHECK(xml.find("PerMonitorV2") != std::string::npos);
    CHECK(xml.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}") != std::string::npos);
    CHECK(xml.find("{35138b9a-5d96-4fbd-8e2d-a2440225f93a}") != std::string::npos);

    HRSRC version = FindResourceW(module, MAKEINTRESOURCEW(1), RT_VERSION);
    REQUIRE(version != nullptr);
    const auto* block = static_cast<const BYTE*>(LockResource(LoadResource(module, version)));
    // VS_VERSIONINFO: three WORDs, the key "VS_VERSION_INFO" and padding, then the fixed info.
    const auto* fixed = reinterpret_cast<const VS_FIXEDFILEINFO*>(block + 40);
    CHECK(fixed->dwSignature == 0xFEEF04BD);
    CHECK(HIWORD(fixed->dwFileVersionMS) == 1);
}

TEST_CASE("Resources: Windows can take the icon from the program file") {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    HICON icon = ExtractIconW(GetModuleHandleW(nullptr), path, 0);
    CHECK(reinterpret_cast<UINT_PTR>(icon) > 1);
    if (reinterpret_cast<UINT_PTR>(icon) > 1) {
        DestroyIcon(icon);
    }
}
}
