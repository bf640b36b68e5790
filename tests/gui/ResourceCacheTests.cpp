// The font and texture cache without a device: matching, stable indices and the dialog's slots.
#include "gui/CGuiDialog.h"

#include <doctest/doctest.h>

#include <string>

TEST_SUITE("gui") {

TEST_CASE("ResourceCache: a font differing only in letter case is the cached one; another height is new") {
    CGuiDialogResources cache;
    const int arial = cache.AddFont(L"Arial", 14, FW_NORMAL);
    CHECK(cache.AddFont(L"ARIAL", 14, FW_NORMAL) == arial);
    CHECK(cache.AddFont(L"Arial", 16, FW_NORMAL) != arial);
    CHECK(cache.AddFont(L"Arial", 14, FW_BOLD) != arial);
    CHECK(cache.FontCount() == 3);
    CHECK(cache.GetFont(arial)->height == 14);
    CHECK(cache.GetFont(99) == nullptr);
    CHECK(cache.GetFont(-1) == nullptr);
}

TEST_CASE("ResourceCache: a shorter face name is another face, not the cached one that begins with it") {
    CGuiDialogResources cache;
    const int full = cache.AddFont(L"Noto Sans CJK JP", 14, FW_NORMAL);
    const int prefix = cache.AddFont(L"Noto Sans", 14, FW_NORMAL);
    CHECK(prefix != full);
    CHECK(cache.GetFont(prefix)->faceName == L"Noto Sans");
}

TEST_CASE("ResourceCache: face names are cut at 259 characters") {
    CGuiDialogResources cache;
    const std::wstring longName(400, L'f');
    const int index = cache.AddFont(longName.c_str(), 12, FW_NORMAL);
    CHECK(cache.GetFont(index)->faceName.size() == 259);
    CHECK(cache.AddFont(longName.c_str(), 12, FW_NORMAL) == index);
}

TEST_CASE("ResourceCache: textures match by module and by id or name") {
    CGuiDialogResources cache;
    HMODULE module = GetModuleHandleW(nullptr);
    const int skin = cache.AddTexture(MAKEINTRESOURCEW(kBuiltInSkinId), BuiltInSkinModule());
    CHECK(cache.AddTexture(MAKEINTRESOURCEW(kBuiltInSkinId), BuiltInSkinModule()) == skin);
    const int byId = cache.AddTexture(MAKEINTRESOURCEW(kBuiltInSkinId), module);
    CHECK(byId != skin);
    const int byName = cache.AddTexture(L"Skin", module);
    CHECK(cache.AddTexture(L"SKIN", module) == byName);
    CHECK(byName != byId);
    CHECK(cache.TextureCount() == 3);
    CHECK(cache.GetTexture(byName)->resourceName == L"Skin");
}

TEST_CASE("ResourceCache: device calls without a device are harmless") {
    CGuiDialogResources cache;
    cache.AddFont(L"Arial", 14, FW_NORMAL);
    CHECK(FAILED(cache.ResetDeviceObjects()));
    cache.LoseDeviceObjects();
    cache.DestroyDeviceObjects();
    CHECK(FAILED(cache.CreateDeviceObjects(nullptr)));
    CHECK(cache.GetSprite() == nullptr);
}

TEST_CASE("Dialog slots: Init uses the skin and Arial 14; repeated set-ups reuse the cache entries") {
    CGuiDialogResources cache;
    CGuiDialog first;
    CGuiDialog second;
    first.Init(&cache);
    second.Init(&cache);
    first.Init(&cache);
    CHECK(cache.FontCount() == 1);
    CHECK(cache.TextureCount() == 1);
    CHECK(first.GetFontOfSlot(0)->faceName == L"Arial");
    CHECK(first.GetFontOfSlot(0)->height == 14);
    CHECK(first.GetTextureOfSlot(0)->resourceId == kBuiltInSkinId);
    CHECK(first.SetFont(3, L"Noto Sans CJK JP", 12, FW_NORMAL) == S_OK);
    CHECK(first.GetFontOfSlot(3)->height == 12);
    CHECK(first.GetFontOfSlot(2) == nullptr); // a slot never set
    CHECK(first.GetFontOfSlot(100) == nullptr);
    // Wild slot and element numbers are refused instead of growing tables without bound.
    CHECK(first.SetFont(0xFFFFFFFF, L"Arial", 12, FW_NORMAL) == E_INVALIDARG);
    CHECK(first.SetTexture(100000, L"Skin", nullptr) == E_INVALIDARG);
    CGuiDrawElement element;
    CHECK(first.RegisterDefaultElement(static_cast<UINT>(ControlType::Button), 1u << 30, &element) == E_INVALIDARG);
    CHECK(first.RegisterDefaultElement(static_cast<UINT>(ControlType::Button), 2, &element) == S_OK);
}

} // TEST_SUITE
