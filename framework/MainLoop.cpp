// The message pump with its idle frame step, and recovery of a lost device.
#include "framework/DeviceRequest.h"
#include "framework/Framework.h"
#include "framework/FramePacer.h"
#include "framework/FrameworkInternal.h"
#include "framework/FrameworkTimer.h"

namespace {

FrameworkState& State() {
    return GetFrameworkState();
}

// A refused or failed loop ends the run with exit code 1 unless a failure was stored already.
void StoreLoopFailure(LifecycleState& l) {
    if (l.exitCode == 0 || l.exitCode == kExitCodeReferenceDevice) {
        l.exitCode = 1;
    }
}

HRESULT FailMainLoop() {
    State().Lifecycle().Update([](LifecycleState& l) {
        l.insideMainLoop = false;
        StoreLoopFailure(l);
    });
    return E_FAIL;
}

// The desktop's colour format changed under a windowed device: choose settings for the new format.
void FollowDesktopFormat(const DeviceSettings& current, D3DFORMAT desktopFormat) {
    const DeviceRequest request = MakeDesktopFormatRequest(current, desktopFormat);
    DeviceSettings found;
    if (FAILED(FindValidDeviceSettings(&found, &request.In, &request.Match))) {
        FrameworkDisplayErrorMessage(kErrorNoCompatibleDevices);
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
            State()
                .Device()
                .Get(&DeviceState::direct3d)
                ->GetAdapterDisplayMode(current.AdapterOrdinal, &mode);
            if (mode.Format != current.AdapterFormat) {
                FollowDesktopFormat(current, mode.Format);
                return false;
            }
        }
        hr = ResetEnvironment();
        if (hr == kErrorMediaNotFound || hr == kErrorResettingDeviceObjects) {
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
    State().Device().Set(&DeviceState::deviceLost, false);
    return true;
}

// Advances the clock, lets the application move and draw, and shows the frame.
void MoveAndRender(IDirect3DDevice9* device) {
    const TimeValues values = FrameworkTimer::Global().GetTimeValues();
    State().Timing().Update([&](TimingState& t) {
        t.time = values.time;
        t.absoluteTime = values.absoluteTime;
        t.elapsedTime = values.elapsed;
    });
    auto [move, render] = State().Callbacks().Update(
        [](CallbackState& c) { return std::pair(c.onFrameMove, c.onFrameRender); });
    if (move.function != nullptr) {
        move.function(device, values.time, values.elapsed, move.context);
        if ((device = FrameworkGetDevice()) == nullptr) {
            return;
        }
    }
    if (State().Timing().Get(&TimingState::renderingPaused)) {
        return;
    }
    if (render.function != nullptr) {
        render.function(device, values.time, values.elapsed, render.context);
        if ((device = FrameworkGetDevice()) == nullptr) {
            return;
        }
    }
    PresentFrame(device);
}

void FrameStep() {
    const bool lost = State().Device().Get(&DeviceState::deviceLost);
    const bool renderingPaused = State().Timing().Get(&TimingState::renderingPaused);
    const bool active = State().Window().Get(&WindowState::active);
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
    MoveAndRender(device);
}

// Dispatches messages and runs a frame step whenever the queue is empty, until the quit message.
void RunMessagePump(HACCEL accelerator) {
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
}

// Used by the window's thread alone, which presents and changes devices.
FramePacer& Pacer() {
    static FramePacer pacer;
    return pacer;
}

} // namespace

void ForgetPresentedFrames() {
    Pacer().Forget();
}

void PresentFrame(IDirect3DDevice9* device) {
    const HRESULT hr = Pacer().Present(device);
    if (hr == D3DERR_DEVICELOST || hr == D3DERR_DRIVERINTERNALERROR) {
        State().Device().Set(&DeviceState::deviceLost, true);
    }
}

HRESULT FrameworkMainLoop(HACCEL accelerator) {
    const bool insideCallback = State().Device().Get(&DeviceState::insideDeviceCallback);
    const bool refused = State().Lifecycle().Update([&](LifecycleState& l) {
        if (l.insideMainLoop || insideCallback) {
            // A running loop keeps its mark; only the exit code tells of the refused call.
            StoreLoopFailure(l);
            return true;
        }
        l.insideMainLoop = true;
        return false;
    });
    if (refused) {
        return E_FAIL;
    }
    // A device put off because the window had no area, or lost, is recreated by the frame step.
    const bool deviceExpected =
        FrameworkGetDevice() != nullptr || State().Device().Get(&DeviceState::deviceLost);
    if (!deviceExpected) {
        if (State().Lifecycle().Get(&LifecycleState::deviceCreateCalled)) {
            return FailMainLoop();
        }
        if (HRESULT hr = FrameworkCreateDevice(0, true, 0, 0, nullptr, nullptr, nullptr); FAILED(hr)) {
            FailMainLoop();
            return hr;
        }
    }
    if (!State().Lifecycle().Get(&LifecycleState::initialised) ||
        !State().Lifecycle().Get(&LifecycleState::windowCreated) ||
        (FrameworkGetDevice() == nullptr && !State().Device().Get(&DeviceState::deviceLost))) {
        return FailMainLoop();
    }

    RunMessagePump(accelerator);
    State().Lifecycle().Set(&LifecycleState::insideMainLoop, false);
    return S_OK;
}
