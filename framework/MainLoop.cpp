// The message pump with its idle frame step, and recovery of a lost device.
#include "framework/Framework.h"
#include "framework/FrameworkInternal.h"
#include "framework/FrameworkTimer.h"

namespace {

using F = FrameworkFields;

FrameworkState& State() {
    return GetFrameworkState();
}

HRESULT FailMainLoop() {
    State().With([](F& f) {
        f.insideMainLoop = false;
        if (f.exitCode == 0 || f.exitCode == ExitCodeReferenceDevice) {
            f.exitCode = 1;
        }
    });
    return E_FAIL;
}

// The desktop's colour format changed under a windowed device: choose settings for the new format.
void FollowDesktopFormat(const DeviceSettings& current, D3DFORMAT desktopFormat) {
    DeviceSettings wish = current;
    wish.AdapterFormat = desktopFormat;
    MatchOptions match;
    for (MatchType* option :
         {&match.VertexProcessing, &match.Resolution, &match.BackBufferFormat, &match.BackBufferCount,
          &match.MultiSample, &match.SwapEffect, &match.DepthFormat, &match.StencilFormat,
          &match.PresentFlags, &match.RefreshRate, &match.PresentInterval}) {
        *option = MatchType::ClosestToInput;
    }
    match.AdapterOrdinal = MatchType::PreserveInput;
    match.DeviceType = MatchType::PreserveInput;
    match.Windowed = MatchType::PreserveInput;
    match.AdapterFormat = MatchType::PreserveInput;
    DeviceSettings found;
    if (FAILED(FindValidDeviceSettings(&found, &wish, &match))) {
        FrameworkDisplayErrorMessage(ErrorNoCompatibleDevices);
        FrameworkShutdown(0);
        return;
    }
    if (FAILED(ChangeDevice(found, nullptr, false, false)) && FAILED(ToggleFullScreen())) {
        FrameworkShutdown(0);
    }
}

// Tests whether a lost device can be used again and resets or recreates it when it can.
// Returns true when the device is usable for this frame.
bool RecoverLostDevice(IDirect3DDevice9* device) {
    HRESULT hr = device->TestCooperativeLevel();
    if (FAILED(hr)) {
        if (hr == D3DERR_DEVICELOST) {
            return false;
        }
        const DeviceSettings current = State().GetSettings();
        if (IsWindowed(current)) {
            D3DDISPLAYMODE mode{};
            State().Get(&F::direct3d)->GetAdapterDisplayMode(current.AdapterOrdinal, &mode);
            if (mode.Format != current.AdapterFormat) {
                FollowDesktopFormat(current, mode.Format);
                return false;
            }
        }
        hr = ResetEnvironment();
        if (hr == ErrorMediaNotFound || hr == ErrorResettingDeviceObjects) {
            FrameworkDisplayErrorMessage(hr);
            FrameworkShutdown(0);
            return false;
        }
        if (hr == D3DERR_DEVICELOST) {
            return false;
        }
        if (FAILED(hr) && FAILED(ChangeDevice(State().GetSettings(), nullptr, true, false))) {
            FrameworkShutdown(0);
            return false;
        }
    }
    State().Set(&F::deviceLost, false);
    return true;
}

void Present(IDirect3DDevice9* device) {
    const HRESULT hr = device->Present(nullptr, nullptr, nullptr, nullptr);
    if (hr == D3DERR_DEVICELOST || hr == D3DERR_DRIVERINTERNALERROR) {
        State().Set(&F::deviceLost, true);
    }
}

void FrameStep() {
    auto [lost, renderingPaused, active] =
        State().With([](F& f) { return std::tuple(f.deviceLost, f.renderingPaused, f.active); });
    if (lost || renderingPaused || !active) {
        // Nothing to show: give the processor back instead of spinning.
        FrameworkClock().Sleep(50);
    }
    IDirect3DDevice9* device = FrameworkGetDevice();
    if (device == nullptr) {
        // Without settings to build a device from (a device change failed and has been
        // reported), or when building it fails, trying again every pass would only spin or
        // repeat the message: the run ends.
        if (!lost || !State().HasSettings() ||
            FAILED(ChangeDevice(State().GetSettings(), nullptr, false, true))) {
            FrameworkShutdown(0);
        }
        return;
    }
    if (lost && !renderingPaused) {
        if (!RecoverLostDevice(device)) {
            return;
        }
        device = FrameworkGetDevice();
    }

    const TimeValues values = FrameworkTimer::Global().GetTimeValues();
    auto [move, moveContext, render, renderContext] = State().With([&](F& f) {
        f.time = values.time;
        f.absoluteTime = values.absoluteTime;
        f.elapsedTime = values.elapsed;
        return std::tuple(f.frameMoveCallback, f.frameMoveContext, f.frameRenderCallback,
                          f.frameRenderContext);
    });
    if (move != nullptr) {
        move(device, values.time, values.elapsed, moveContext);
        if ((device = FrameworkGetDevice()) == nullptr) {
            return;
        }
    }
    if (State().Get(&F::renderingPaused)) {
        return;
    }
    if (render != nullptr) {
        render(device, values.time, values.elapsed, renderContext);
        if ((device = FrameworkGetDevice()) == nullptr) {
            return;
        }
    }
    Present(device);
}

} // namespace

HRESULT FrameworkMainLoop(HACCEL accelerator) {
    if (State().Get(&F::insideDeviceCallback) || State().Get(&F::insideMainLoop)) {
        if (!State().Get(&F::insideMainLoop)) {
            return FailMainLoop();
        }
        // The running loop keeps its mark; only the exit code tells of the refused call.
        State().With([](F& f) {
            if (f.exitCode == 0 || f.exitCode == ExitCodeReferenceDevice) {
                f.exitCode = 1;
            }
        });
        return E_FAIL;
    }
    State().Set(&F::insideMainLoop, true);
    // A device put off because the window had no area, or lost, is recreated by the frame step.
    const bool deviceExpected = FrameworkGetDevice() != nullptr || State().Get(&F::deviceLost);
    if (!deviceExpected) {
        if (State().Get(&F::deviceCreateCalled)) {
            return FailMainLoop();
        }
        if (HRESULT hr = FrameworkCreateDevice(0, true, 0, 0, nullptr, nullptr, nullptr); FAILED(hr)) {
            FailMainLoop();
            return hr;
        }
    }
    if (!State().Get(&F::initialised) || !State().Get(&F::windowCreated) ||
        (FrameworkGetDevice() == nullptr && !State().Get(&F::deviceLost))) {
        return FailMainLoop();
    }

    MSG message{};
    message.message = WM_NULL;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
    while (message.message != WM_QUIT) {
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            HWND window = FrameworkGetHWND();
            if (accelerator == nullptr || window == nullptr ||
                TranslateAcceleratorW(window, accelerator, &message) == 0) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        } else {
            FrameStep();
        }
    }
    if (accelerator != nullptr) {
        DestroyAcceleratorTable(accelerator);
    }
    State().Set(&F::insideMainLoop, false);
    return S_OK;
}
