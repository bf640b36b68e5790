// The requests the framework makes of the device choice: creation, window-mode and reference toggles.
#include "framework/DeviceRequest.h"
#include "support/ScriptedMachine.h"

#include <doctest/doctest.h>

TEST_SUITE("framework") {

TEST_CASE("MakeCreationRequest: the size is a wish when windowed or when both sides are given") {
    const DeviceRequest fullScreen = MakeCreationRequest(1, false, 1024, 0);
    CHECK(fullScreen.In.AdapterOrdinal == 1);
    CHECK(fullScreen.In.pp.Windowed == FALSE);
    CHECK(fullScreen.Match.AdapterOrdinal == MatchType::PreserveInput);
    CHECK(fullScreen.Match.Windowed == MatchType::PreserveInput);
    CHECK(fullScreen.Match.Resolution == MatchType::IgnoreInput);
    CHECK(fullScreen.Match.DeviceType == MatchType::IgnoreInput);
    CHECK(MakeCreationRequest(0, false, 1024, 768).Match.Resolution == MatchType::ClosestToInput);
    CHECK(MakeCreationRequest(0, true, 0, 0).Match.Resolution == MatchType::ClosestToInput);
}

TEST_CASE("MakeWindowModeToggleRequest: from a window to full screen and back") {
    ScriptedMachine machine(
        {AdapterWithModes(Mode(1280, 1024), {Mode(1024, 768), Mode(800, 600), Mode(1280, 1024)})});
    DeviceSettings window;
    DeviceRequest creation = MakeCreationRequest(0, true, 640, 480);
    creation.In.DeviceType = D3DDEVTYPE_REF;
    creation.Match.DeviceType = MatchType::PreserveInput;
    REQUIRE(machine.Find(window, creation.In, creation.Match) == S_OK);
    REQUIRE(window.DeviceType == D3DDEVTYPE_REF);
    window.pp.BackBufferCount = 1;

    DeviceSettings fullScreen;
    DeviceRequest toggle = MakeWindowModeToggleRequest(window, false, 0, 0);
    REQUIRE(machine.Find(fullScreen, toggle.In, toggle.Match) == S_OK);
    CHECK(fullScreen.pp.Windowed == FALSE);
    CHECK(fullScreen.DeviceType == D3DDEVTYPE_REF); // the device type follows the current one
    CHECK(fullScreen.pp.BackBufferCount == 1);
    CHECK(fullScreen.pp.BackBufferWidth == 1280); // never full screen before: the desktop size
    CHECK(fullScreen.pp.BackBufferHeight == 1024);

    toggle = MakeWindowModeToggleRequest(window, false, 810, 590);
    REQUIRE(machine.Find(fullScreen, toggle.In, toggle.Match) == S_OK);
    CHECK(fullScreen.pp.BackBufferWidth == 800);
    CHECK(fullScreen.pp.BackBufferHeight == 600);

    DeviceSettings back;
    toggle = MakeWindowModeToggleRequest(fullScreen, true, 640, 480);
    REQUIRE(machine.Find(back, toggle.In, toggle.Match) == S_OK);
    CHECK(back.pp.Windowed == TRUE);
    CHECK(back.pp.BackBufferWidth == 640);
    CHECK(back.pp.BackBufferHeight == 480);
    CHECK(back.DeviceType == D3DDEVTYPE_REF);
    CHECK(back.pp.FullScreen_RefreshRateInHz == 0);
}

TEST_CASE("MakeReferenceToggleRequest: HAL and REF exchanged, the rest kept as closely as possible") {
    ScriptedMachine machine({FakeDirect3D9::TypicalAdapter(Mode(1024, 768))});
    DeviceSettings hal;
    const DeviceRequest creation = MakeCreationRequest(0, true, 300, 200);
    REQUIRE(machine.Find(hal, creation.In, creation.Match) == S_OK);
    REQUIRE(hal.DeviceType == D3DDEVTYPE_HAL);

    DeviceSettings reference;
    DeviceRequest toggle = MakeReferenceToggleRequest(hal);
    CHECK(toggle.In.DeviceType == D3DDEVTYPE_REF);
    CHECK(toggle.Match.DeviceType == MatchType::PreserveInput);
    REQUIRE(machine.Find(reference, toggle.In, toggle.Match) == S_OK);
    CHECK(reference.DeviceType == D3DDEVTYPE_REF);
    CHECK(reference.pp.Windowed == TRUE);
    CHECK(reference.pp.BackBufferWidth == 300);
    CHECK(reference.pp.BackBufferHeight == 200);
    CHECK(reference.pp.AutoDepthStencilFormat == hal.pp.AutoDepthStencilFormat);

    toggle = MakeReferenceToggleRequest(reference);
    CHECK(toggle.In.DeviceType == D3DDEVTYPE_HAL);

    auto halOnly = FakeDirect3D9::TypicalAdapter(Mode(1024, 768));
    halOnly.DeviceTypes.pop_back();
    ScriptedMachine noReference({halOnly});
    toggle = MakeReferenceToggleRequest(hal);
    CHECK(noReference.Find(reference, toggle.In, toggle.Match) == kNoCompatibleDevice);
}

TEST_CASE("MakeAdapterChangeRequest: the new adapter kept, the window and its size as before") {
    ScriptedMachine machine(
        {FakeDirect3D9::TypicalAdapter(Mode(1024, 768)), FakeDirect3D9::TypicalAdapter(Mode(1280, 1024))});
    DeviceSettings first;
    const DeviceRequest creation = MakeCreationRequest(0, true, 300, 200);
    REQUIRE(machine.Find(first, creation.In, creation.Match) == S_OK);
    REQUIRE(first.AdapterOrdinal == 0);

    DeviceSettings moved;
    const DeviceRequest change = MakeAdapterChangeRequest(first, 1);
    CHECK(change.Match.AdapterOrdinal == MatchType::PreserveInput);
    REQUIRE(machine.Find(moved, change.In, change.Match) == S_OK);
    CHECK(moved.AdapterOrdinal == 1);
    CHECK(moved.DeviceType == first.DeviceType);
    CHECK(moved.pp.Windowed == TRUE);
    CHECK(moved.pp.BackBufferWidth == 300);
    CHECK(moved.pp.BackBufferHeight == 200);
}

TEST_CASE("MakeDesktopFormatRequest: a window follows the desktop's new colour format") {
    ScriptedMachine before({FakeDirect3D9::TypicalAdapter(Mode(1024, 768, D3DFMT_X8R8G8B8))});
    DeviceSettings current;
    const DeviceRequest creation = MakeCreationRequest(0, true, 300, 200);
    REQUIRE(before.Find(current, creation.In, creation.Match) == S_OK);
    REQUIRE(current.AdapterFormat == D3DFMT_X8R8G8B8);

    ScriptedMachine after({FakeDirect3D9::TypicalAdapter(Mode(1024, 768, D3DFMT_R5G6B5))});
    DeviceSettings followed;
    const DeviceRequest request = MakeDesktopFormatRequest(current, D3DFMT_R5G6B5);
    CHECK(request.Match.AdapterFormat == MatchType::PreserveInput);
    REQUIRE(after.Find(followed, request.In, request.Match) == S_OK);
    CHECK(followed.AdapterFormat == D3DFMT_R5G6B5);
    CHECK(followed.DeviceType == current.DeviceType);
    CHECK(followed.pp.Windowed == TRUE);
    CHECK(followed.pp.BackBufferWidth == 300);
    // With nothing but the old format offered, the wish cannot be met.
    CHECK(before.Find(followed, request.In, request.Match) == kNoCompatibleDevice);
}

} // TEST_SUITE
