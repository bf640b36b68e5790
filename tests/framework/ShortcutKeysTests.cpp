// The guard of the system's shortcut keys: what it turns off in full screen and that it always
// gives the user's accessibility settings back.
#include "framework/AccessibilitySettings.h"
#include "framework/Framework.h"
#include "framework/FrameworkInternal.h"
#include "support/CallbackLog.h"
#include "support/FrameworkScope.h"
#include "support/ScriptedDevice.h"
#include "support/UserAccessibilitySettings.h"

#include <doctest/doctest.h>

#include <stdexcept>
#include <vector>

namespace {

constexpr DWORD kHotKeyBits = 0x4 | 0x8;

bool Hooked() {
    return GetFrameworkState().ShortcutKeys().Update(
        [](ShortcutKeysState& s) { return s.guard != nullptr && s.guard->Hooked(); });
}

// The hot keys of the features the user has not switched on are off; the rest is as the user had it.
void CheckGuarded(const UserAccessibilitySettings& settings) {
    CHECK(Hooked());
    CHECK(settings.stored.sticky.dwFlags == settings.user.sticky.dwFlags);
    CHECK(settings.stored.toggle.dwFlags == (settings.user.toggle.dwFlags & ~kHotKeyBits));
    CHECK(settings.stored.filter.dwFlags == (settings.user.filter.dwFlags & ~kHotKeyBits));
    CHECK(settings.stored.filter.iWaitMSec == settings.user.filter.iWaitMSec);
}

void CheckRestored(const UserAccessibilitySettings& settings) {
    CHECK_FALSE(Hooked());
    CHECK(settings.stored.sticky.dwFlags == settings.user.sticky.dwFlags);
    CHECK(settings.stored.toggle.dwFlags == settings.user.toggle.dwFlags);
    CHECK(settings.stored.filter.dwFlags == settings.user.filter.dwFlags);
}

} // namespace

TEST_SUITE("framework") {

TEST_CASE("Shortcut keys: off in full screen, back on deactivation and on shutdown") {
    UserAccessibilitySettings user;
    FrameworkScope scope;
    REQUIRE(FrameworkCreateDevice(0, false, 0, 0) == S_OK);
    REQUIRE(FrameworkGetDeviceSettings().pp.Windowed == FALSE);
    CheckGuarded(user);

    HWND window = FrameworkGetHWND();
    SendMessageW(window, WM_ACTIVATEAPP, FALSE, 0);
    CheckRestored(user);
    CHECK(GetFrameworkState().Timing().Get(&TimingState::renderingPaused)); // full screen pauses while inactive
    SendMessageW(window, WM_ACTIVATEAPP, TRUE, 0);
    CheckGuarded(user);
    CHECK_FALSE(GetFrameworkState().Timing().Get(&TimingState::renderingPaused));

    FrameworkShutdown(0);
    CheckRestored(user);
}

TEST_CASE("Shortcut keys: a run that ends through a failed device reset gives the settings back") {
    UserAccessibilitySettings user;
    FrameworkScope scope;
    CallbackLog log;
    log.Install();
    REQUIRE(FrameworkCreateWindow(L"Guarded") == S_OK);
    DeviceSettings fullScreen = WindowedSettings(FrameworkGetHWND(), 1920, 1080);
    fullScreen.pp.Windowed = FALSE;
    ScriptedDevice device;
    REQUIRE(ChangeDevice(fullScreen, &device, false, false) == S_OK);
    device.Release();
    CheckGuarded(user);
    log.resetResult = kErrorMediaNotFound;
    CHECK(ChangeDevice(fullScreen, nullptr, false, false) == kErrorMediaNotFound);
    CHECK(FrameworkGetExitCode() == 4);
    CHECK(FrameworkGetDevice() == nullptr);
    CheckRestored(user);
}

TEST_CASE("ShortcutKeysGuard: the keys come back when its scope ends, also through an exception") {
    UserAccessibilitySettings user;
    auto guardedRun = [&](bool fail) {
        ShortcutKeysGuard guard(user);
        guard.Allow(false);
        CHECK(guard.Hooked());
        CHECK_FALSE(user.AsTheUserHadThem());
        if (fail) {
            throw std::runtime_error("a failing step");
        }
    };
    guardedRun(false);
    CHECK(user.AsTheUserHadThem());
    CHECK_THROWS_AS(guardedRun(true), std::runtime_error);
    CHECK(user.AsTheUserHadThem());
}

TEST_CASE("Shortcut keys: a windowed device leaves the keys alone") {
    UserAccessibilitySettings user;
    FrameworkScope scope;
    REQUIRE(FrameworkCreateDevice(0, true, 320, 240) == S_OK);
    CheckRestored(user);
}

TEST_CASE("Shortcut keys: a second start of the framework keeps the settings saved before the guard") {
    UserAccessibilitySettings user;
    FrameworkScope scope;
    REQUIRE(FrameworkCreateDevice(0, false, 0, 0) == S_OK);
    CheckGuarded(user);
    // Saving again now would take the guarded values for the user's own.
    REQUIRE(FrameworkInit(true, false, true) == S_OK);
    FrameworkShutdown(0);
    CheckRestored(user);
}

TEST_CASE("Shortcut keys: the Windows key does not reach the program while guarded, and does after") {
    UserAccessibilitySettings user;
    FrameworkScope scope;
    static std::vector<UINT> keys;
    keys.clear();
    FrameworkSetKeyboardCallback(
        [](UINT key, bool down, bool, void*) {
            if (down) {
                keys.push_back(key);
            }
        },
        nullptr);
    HWND window = OpenFrameworkWindow(L"Windows key");
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    auto press = [&](WORD key) {
        PressKey(key);
        for (int i = 0; i < 20; ++i) {
            DrainMessages();
            Sleep(5);
        }
    };
    AllowShortcutKeys(false);
    press(VK_LWIN);
    press('Q');
    CHECK(keys == std::vector<UINT>{'Q'});
    AllowShortcutKeys(true);
    keys.clear();
    press(VK_LWIN);
    CHECK(keys == std::vector<UINT>{VK_LWIN});
}

} // TEST_SUITE
