// The framework's default keys and the full-screen cursor, with real devices.
#include "framework/Framework.h"
#include "framework/FrameworkInternal.h"
#include "framework/FrameworkTimer.h"
#include "support/CallbackLog.h"
#include "support/ClockedFrameworkScope.h"
#include "support/FrameworkScope.h"

#include <doctest/doctest.h>

namespace {

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace

TEST_SUITE("framework") {

TEST_CASE("Default keys: Alt+Enter goes to full screen and back to the same window") {
    FrameworkScope scope;
    CallbackLog log;
    log.Install();
    REQUIRE(FrameworkCreateDevice(0, true, 640, 480) == S_OK);
    HWND window = FrameworkGetHWND();
    RECT before{};
    GetWindowRect(window, &before);
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);

    CHECK(SendMessageW(window, WM_SYSKEYDOWN, VK_RETURN, kAltBit | 1) == 0);
    DeviceSettings s = FrameworkGetDeviceSettings();
    CHECK(s.pp.Windowed == FALSE);
    CHECK(s.pp.BackBufferWidth == static_cast<UINT>(GetSystemMetrics(SM_CXSCREEN)));
    CHECK((GetWindowLongPtrW(window, GWL_STYLE) & WS_POPUP) != 0);
    CHECK(FrameworkGetDevice() != nullptr);

    CHECK(SendMessageW(window, WM_SYSKEYDOWN, VK_RETURN, kAltBit | 1) == 0);
    s = FrameworkGetDeviceSettings();
    CHECK(s.pp.Windowed == TRUE);
    CHECK(s.pp.BackBufferWidth == 640);
    CHECK(s.pp.BackBufferHeight == 480);
    CHECK(ClientSizeOf(window).cx == 640);
    CHECK(ClientSizeOf(window).cy == 480);
    CHECK((GetWindowLongPtrW(window, GWL_STYLE) & ~WS_VISIBLE) == (style & ~WS_VISIBLE));
    RECT after{};
    GetWindowRect(window, &after);
    CHECK(SameRect(before, after));
    FrameworkShutdown(0);
    // Whatever was created and reset in between came in pairs.
    int created = 0, destroyed = 0, resets = 0, losts = 0;
    for (const std::string& call : log.calls) {
        created += call == "created";
        destroyed += call == "destroyed";
        resets += call.rfind("reset", 0) == 0;
        losts += call == "lost";
    }
    CHECK(created == destroyed);
    CHECK(resets == losts);
}

TEST_CASE("Default keys: F3 switches to the reference device and back, with its exit-code marker") {
    FrameworkScope scope;
    REQUIRE(FrameworkCreateDevice(0, true, 320, 240) == S_OK);
    HWND window = FrameworkGetHWND();
    SendMessageW(window, WM_KEYDOWN, VK_F3, 1);
    CHECK(FrameworkGetDeviceSettings().DeviceType == D3DDEVTYPE_REF);
    CHECK(FrameworkGetExitCode() == kExitCodeReferenceDevice);
    SendMessageW(window, WM_KEYDOWN, VK_F3, 1);
    CHECK(FrameworkGetDeviceSettings().DeviceType == D3DDEVTYPE_HAL);
    CHECK(FrameworkGetExitCode() == 0);
    CHECK_FALSE(GetFrameworkState().Timing().Get(&TimingState::renderingPaused));
}

TEST_CASE("Default keys: F8 toggles wireframe drawing; without the option the keys do nothing") {
    FrameworkScope scope(false);
    REQUIRE(FrameworkInit(true, false, true) == S_OK);
    REQUIRE(FrameworkCreateDevice(0, true, 320, 240) == S_OK);
    HWND window = FrameworkGetHWND();
    DWORD fill = 0;
    SendMessageW(window, WM_KEYDOWN, VK_F8, 1);
    FrameworkGetDevice()->GetRenderState(D3DRS_FILLMODE, &fill);
    CHECK(fill == D3DFILL_WIREFRAME);
    SendMessageW(window, WM_KEYDOWN, VK_F8, 1);
    FrameworkGetDevice()->GetRenderState(D3DRS_FILLMODE, &fill);
    CHECK(fill == D3DFILL_SOLID);

    FrameworkShutdown(0);
    FrameworkResetState();
    DrainMessages();
    REQUIRE(FrameworkInit(false, false, false) == S_OK);
    REQUIRE(FrameworkCreateDevice(0, true, 320, 240) == S_OK);
    window = FrameworkGetHWND();
    SendMessageW(window, WM_KEYDOWN, VK_F8, 1);
    FrameworkGetDevice()->GetRenderState(D3DRS_FILLMODE, &fill);
    CHECK(fill == D3DFILL_SOLID);
    SendMessageW(window, WM_KEYDOWN, VK_ESCAPE, 1);
    CHECK(IsWindow(window));
    SendMessageW(window, WM_SYSKEYDOWN, VK_RETURN, kAltBit | 1);
    CHECK(FrameworkGetDeviceSettings().pp.Windowed == TRUE);
}

TEST_CASE("Full-screen cursor: clipped to the window while active, free when the program loses activation") {
    FrameworkScope scope;
    REQUIRE(FrameworkCreateDevice(0, false, 0, 0) == S_OK);
    FrameworkSetCursorSettings(true, true);
    HWND window = FrameworkGetHWND();
    RECT windowRect{}, clip{};
    GetWindowRect(window, &windowRect);
    GetClipCursor(&clip);
    CHECK(SameRect(clip, windowRect));
    SendMessageW(window, WM_ACTIVATEAPP, FALSE, 0);
    GetClipCursor(&clip);
    const RECT screen{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                      GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                      GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    CHECK(SameRect(clip, screen));
    CHECK(SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(5, 5)) == HTCLIENT);
    CHECK(SendMessageW(window, WM_SYSCOMMAND, SC_MOVE, 0) == 0);
    FrameworkSetCursorSettings(false, false);
    GetClipCursor(&clip);
    CHECK(SameRect(clip, screen));
}

TEST_CASE("FrameworkMainLoop: without a device it makes a default windowed one") {
    FrameworkScope scope;
    static int frames = 0;
    frames = 0;
    FrameworkSetFrameMoveCallback(
        [](IDirect3DDevice9*, double, float, void*) {
            if (++frames == 3) {
                PostMessageW(FrameworkGetHWND(), WM_CLOSE, 0, 0);
            }
        },
        nullptr);
    CHECK(FrameworkMainLoop() == S_OK);
    CHECK(frames == 3);
}

TEST_CASE("FrameworkMainLoop: without a device after a failed attempt it fails with exit code 1") {
    FrameworkScope scope;
    GetFrameworkState().Lifecycle().Set(&LifecycleState::deviceCreateCalled, true);
    CHECK(FrameworkMainLoop() == E_FAIL);
    CHECK(FrameworkGetExitCode() == 1);
    CHECK_FALSE(GetFrameworkState().Lifecycle().Get(&LifecycleState::insideMainLoop));
}

TEST_CASE_FIXTURE(ClockedFrameworkScope,
    "Window procedure: resuming from suspend starts the clock from zero") {
    HWND window = OpenFrameworkWindow(L"Power");
    clock.Advance(3600.0);
    CHECK(FrameworkTimer::Global().GetTimeValues().time == doctest::Approx(3600.0));
    CHECK(SendMessageW(window, WM_POWERBROADCAST, PBT_APMQUERYSUSPEND, 0) == TRUE);
    CHECK(SendMessageW(window, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0) == TRUE);
    clock.Advance(0.5);
    CHECK(FrameworkTimer::Global().GetTimeValues().time == doctest::Approx(0.5));
}

} // TEST_SUITE
