// Lost-device recovery in the main loop, with a device double that reports loss and resets.
#include "framework/Framework.h"
#include "framework/FrameworkInternal.h"
#include "support/CallbackLog.h"
#include "support/ClockedFrameworkScope.h"
#include "support/FakeDirect3D9.h"
#include "support/FrameworkScope.h"
#include "support/ScriptedDevice.h"

#include <doctest/doctest.h>

namespace {

struct Counter {
    int frames = 0;
    int renders = 0;
    int closeAt = 8;
    IDirect3DDevice9* lastDevice = nullptr;
    CallbackLog* log = nullptr;
    int breakResetAt = -1;

    void Install() {
        FrameworkSetFrameMoveCallback(Move, this);
        FrameworkSetFrameRenderCallback(Render, this);
    }
    static void CALLBACK Move(IDirect3DDevice9* device, double, float, void* context) {
        auto* c = static_cast<Counter*>(context);
        c->lastDevice = device;
        if (c->frames == c->breakResetAt && c->log != nullptr) {
            c->log->resetResult = kErrorResettingDeviceObjects;
        }
        if (++c->frames == c->closeAt) {
            PostMessageW(FrameworkGetHWND(), WM_CLOSE, 0, 0);
        }
    }
    static void CALLBACK Render(IDirect3DDevice9*, double, float, void* context) {
        ++static_cast<Counter*>(context)->renders;
    }
};

// A window with the scripted device as the application's device; the framework holds the only
// reference afterwards.
void StartWithDevice(ScriptedDevice& device, UINT width = 200, UINT height = 200) {
    HWND window = OpenFrameworkWindow(L"Lost");
    REQUIRE(ChangeDevice(WindowedSettings(window, width, height), &device, false, true) == S_OK);
    device.Release();
    REQUIRE(FrameworkGetDevice() == &device);
}

// A minimised window whose device on the given adapter is put off until the window has an area.
HWND PutOffDevice(const wchar_t* title, UINT adapter) {
    HWND window = OpenFrameworkWindow(title);
    ShowWindow(window, SW_MINIMIZE);
    DeviceSettings settings = WindowedSettings(window, 0, 0);
    settings.AdapterOrdinal = adapter;
    REQUIRE(ChangeDevice(settings, nullptr, false, false) == S_OK);
    return window;
}

// A framework on a fake clock, with the callback log and the frame counter installed.
struct LostDeviceRun : ClockedFrameworkScope {
    CallbackLog log;
    Counter counter;
    LostDeviceRun() {
        log.Install();
        counter.Install();
    }
};

} // namespace

TEST_SUITE("framework") {

TEST_CASE_FIXTURE(LostDeviceRun,
    "Lost device: the loop waits and tests the device each pass until it can be reset") {
    ScriptedDevice device;
    device.presents = {S_OK, S_OK, D3DERR_DEVICELOST};
    device.cooperativeLevel = {D3DERR_DEVICELOST, D3DERR_DEVICELOST, D3DERR_DEVICELOST,
                               D3DERR_DEVICENOTRESET};
    StartWithDevice(device);

    CHECK(FrameworkMainLoop() == S_OK);
    CHECK(device.testCalls == 4);
    CHECK(device.resetCalls == 1);
    CHECK(clock.sleeps.size() == 4); // one 50 ms wait before each test of the lost device
    CHECK(counter.frames == 8);
    CHECK(counter.renders == 8);
    FrameworkShutdown(0);
    CHECK(log.Joined() == "created, reset 0x0, lost, reset 0x0, lost, destroyed");
    CHECK(device.references == 0);
    CHECK(FrameworkGetExitCode() == 0);
}

TEST_CASE_FIXTURE(LostDeviceRun, "Lost device: a device that will not reset is replaced by a new one") {
    ScriptedDevice device;
    device.presents = {D3DERR_DEVICELOST};
    device.cooperativeLevel = {D3DERR_DEVICENOTRESET};
    device.resets = {D3DERR_INVALIDCALL};
    StartWithDevice(device);

    CHECK(FrameworkMainLoop() == S_OK);
    CHECK(device.resetCalls == 1);
    CHECK(device.references == 0);
    REQUIRE(counter.lastDevice != nullptr);
    CHECK(counter.lastDevice != &device);
    CHECK(counter.frames == 8);
    FrameworkShutdown(0);
    CHECK(log.Joined() == "created, reset 0x0, lost, destroyed, created, reset 200x200, lost, destroyed");
    CHECK(FrameworkGetExitCode() == 0);
}

TEST_CASE_FIXTURE(LostDeviceRun,
    "Lost device: device objects that cannot be restored are reported and end the run") {
    counter.log = &log;
    counter.breakResetAt = 1;
    counter.closeAt = 1000;
    ScriptedDevice device;
    device.presents = {S_OK, D3DERR_DEVICELOST};
    device.cooperativeLevel = {D3DERR_DEVICENOTRESET};
    StartWithDevice(device);
    HWND window = FrameworkGetHWND();

    CHECK(FrameworkMainLoop() == S_OK);
    CHECK(counter.frames == 2);
    CHECK_FALSE(IsWindow(window));
    CHECK(FrameworkGetDevice() == nullptr);
    CHECK(device.references == 0);
    // The failed reset is followed by a device-lost call at once, so that the application can let
    // go of what it made before failing.
    CHECK(log.Joined() == "created, reset 0x0, lost, reset 0x0, lost, destroyed");
    // The failure keeps its exit code through the final shutdown of the run.
    FrameworkShutdown(0);
    CHECK(FrameworkGetExitCode() == 9);
}

TEST_CASE("Lost device: a device put off for a window without area is created once the window has one") {
    FrameworkScope scope;
    Counter counter;
    counter.closeAt = 3;
    counter.Install();
    HWND window = PutOffDevice(L"No area", 0);
    REQUIRE(ClientSizeOf(window).cy == 0);
    CHECK(FrameworkGetDevice() == nullptr);
    CHECK(GetFrameworkState().Device().Get(&DeviceState::deviceLost));
    ShowWindow(window, SW_RESTORE);
    CHECK(FrameworkMainLoop() == S_OK);
    CHECK(counter.frames == 3);
    CHECK(counter.lastDevice != nullptr);
}

TEST_CASE("Device change: a reset that fails goes back to the old settings and builds a new device") {
    FrameworkScope scope;
    CallbackLog log;
    log.Install();
    ScriptedDevice device;
    device.resets = {D3DERR_INVALIDCALL};
    StartWithDevice(device);
    HWND window = FrameworkGetHWND();
    REQUIRE(ChangeDevice(WindowedSettings(window, 300, 200), nullptr, false, true) == S_OK);
    CHECK(device.resetCalls == 1);
    CHECK(device.references == 0);
    IDirect3DDevice9* replacement = FrameworkGetDevice();
    REQUIRE(replacement != nullptr);
    CHECK(replacement != &device);
    CHECK(FrameworkGetDeviceSettings().pp.BackBufferWidth == 300);
    CHECK(ClientSizeOf(window).cx == 300);
    CHECK(log.Joined() == "created, reset 0x0, lost, destroyed, created, reset 300x200");
    CHECK(FrameworkGetExitCode() == 0);
}

TEST_CASE("Lost device: a device that cannot be built again is reported once and ends the run") {
    FrameworkScope scope;
    Counter counter;
    counter.closeAt = 1000;
    counter.Install();
    // No adapter has this number: the device, put off while the window has no area, cannot be made.
    HWND window = PutOffDevice(L"Unbuildable", 7);
    REQUIRE(FrameworkGetDevice() == nullptr);
    ShowWindow(window, SW_RESTORE);
    CHECK(FrameworkMainLoop() == S_OK);
    CHECK(counter.frames == 0);
    CHECK_FALSE(IsWindow(window));
    FrameworkShutdown(0);
    CHECK(FrameworkGetExitCode() == 6);
}

TEST_CASE_FIXTURE(LostDeviceRun,
    "Lost device: a windowed device follows a desktop that changed its colour format meanwhile") {
    HWND window = OpenFrameworkWindow(L"Desktop format");
    // A scripted runtime stands in for the real one: only it can change the desktop's format.
    FakeDirect3D9 direct3d;
    FakeDirect3D9::Adapter adapter = FakeDirect3D9::TypicalAdapter(Mode(1920, 1080, D3DFMT_X8R8G8B8));
    adapter.Modes.push_back(Mode(1920, 1080, D3DFMT_R5G6B5));
    adapter.Monitor = MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY);
    direct3d.Adapters = {adapter};
    GetFrameworkState().Device().Set(&DeviceState::direct3d, ComPtr<IDirect3D9>(&direct3d));

    ScriptedDevice device;
    device.presents = {D3DERR_DEVICELOST};
    device.cooperativeLevel = {D3DERR_DEVICENOTRESET};
    DeviceSettings settings = WindowedSettings(window, 200, 200);
    REQUIRE(ChangeDevice(settings, &device, false, true) == S_OK);
    device.Release();

    direct3d.Adapters[0].Desktop = Mode(1920, 1080, D3DFMT_R5G6B5);
    REQUIRE(PrepareEnumeration(true) == S_OK);
    CHECK(FrameworkMainLoop() == S_OK);
    CHECK(counter.frames == 8);
    CHECK(device.resetCalls == 1);
    CHECK(FrameworkGetDeviceSettings().AdapterFormat == D3DFMT_R5G6B5);
    CHECK(FrameworkGetDeviceSettings().pp.BackBufferFormat == D3DFMT_R5G6B5);
    CHECK(FrameworkGetDevice() == &device);
    CHECK(FrameworkGetExitCode() == 0);
    FrameworkShutdown(0);
    CHECK(log.Joined() == "created, reset 0x0, lost, reset 0x0, lost, destroyed");
    CHECK(device.references == 0);
    CHECK(direct3d.References() == 1);
}

} // TEST_SUITE
