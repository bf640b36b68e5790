// The framework's window procedure: application callbacks first, then the framework's handling.
#include "framework/DebugOutput.h"
#include "framework/DeviceRequest.h"
#include "framework/Framework.h"
#include "framework/FrameworkInternal.h"
#include "framework/FrameworkTimer.h"
#include "framework/HResultError.h"
#include "framework/Monitors.h"

namespace {

FrameworkState& State() {
    return GetFrameworkState();
}

bool FullScreen() {
    return State().HasSettings() && !IsWindowed(State().GetSettings());
}

bool AltDown(LPARAM lParam) {
    return (static_cast<DWORD>(lParam) & (1u << 29)) != 0;
}

void CheckSizeAndMonitor() {
    CheckForWindowSizeChange();
    CheckForWindowChangingMonitors();
}

// The window goes with its menu (also one full screen had taken away), then the framework's class
// and the icon that class showed.
void OnClose(HWND window) {
    DestroyWindow(window);
    auto [windowClass, icon, menu] = State().Window().Update([](WindowState& w) {
        w.focusWindow = nullptr;
        w.deviceWindowFullScreen = nullptr;
        w.deviceWindowWindowed = nullptr;
        return std::tuple(std::move(w.windowClass), std::move(w.extractedIcon), std::move(w.removedMenu));
    });
    windowClass.reset();
    icon.reset();
}

void OnSize(WPARAM kind) {
    if (kind == SIZE_MINIMIZED) {
        // A second minimise message without a restore between them must not pause twice.
        const bool wasMinimised = State().Window().Update([](WindowState& w) {
            w.maximised = false;
            return std::exchange(w.minimised, true);
        });
        if (!wasMinimised) {
            FrameworkPause(true, true);
        }
        return;
    }
    RECT client{};
    GetClientRect(FrameworkGetHWND(), &client);
    if (client.top == 0 && client.bottom == 0) {
        return;
    }
    if (kind != SIZE_MAXIMIZED && kind != SIZE_RESTORED) {
        return;
    }
    // What the window was before this message, with the new state stored in the same step.
    auto [wasMinimised, wasMaximised, insideSizeMove] = State().Window().Update([&](WindowState& w) {
        auto before = std::tuple(w.minimised, w.maximised, w.insideSizeMove);
        w.maximised = kind == SIZE_MAXIMIZED;
        w.minimised = false;
        return before;
    });
    if (wasMinimised) {
        FrameworkPause(false, false);
    }
    if (kind == SIZE_MAXIMIZED || wasMaximised || wasMinimised || !insideSizeMove) {
        CheckSizeAndMonitor();
    }
}

// While rendering is paused (a window being dragged) the last scene is drawn again on request.
void OnPaint() {
    IDirect3DDevice9* device = FrameworkGetDevice();
    const bool ready = State().Device().Update(
        [](DeviceState& d) { return d.deviceObjectsCreated && d.deviceObjectsReset; });
    auto [paused, time, elapsed] = State().Timing().Update(
        [](TimingState& t) { return std::tuple(t.renderingPaused, t.time, t.elapsedTime); });
    if (device == nullptr || !paused || !ready) {
        return;
    }
    auto [render, context] = State().Callbacks().Get(&CallbackState::onFrameRender);
    if (render != nullptr) {
        render(device, time, elapsed, context);
        if ((device = FrameworkGetDevice()) == nullptr) {
            return;
        }
    }
    PresentFrame(device);
}

void OnActivateApp(bool activating) {
    const bool wasActive =
        State().Window().Update([&](WindowState& w) { return std::exchange(w.active, activating); });
    if (wasActive == activating) {
        return;
    }
    const bool windowed = !FullScreen();
    if (activating) {
        if (State().Timing().Update(
                [](TimingState& t) { return std::exchange(t.pausedByDeactivation, false); })) {
            FrameworkPause(false, false);
        }
        AllowShortcutKeys(ShortcutKeysAllowedFor(windowed));
        return;
    }
    StopControllerVibration();
    if (!windowed) {
        ClipCursor(nullptr);
        FrameworkPause(true, true);
        State().Timing().Set(&TimingState::pausedByDeactivation, true);
    }
    AllowShortcutKeys(true);
}

void OnDefaultHotkey(HWND window, WPARAM key) {
    switch (key) {
    case VK_ESCAPE:
        SendMessageW(window, WM_CLOSE, 0, 0);
        break;
    case VK_PAUSE:
        ToggleTimePause();
        break;
    case VK_F3: {
        const ScopedPause pause;
        ReportIgnoredFailure(L"reference device", ToggleReferenceDevice());
        break;
    }
    case VK_F8: {
        const bool wireframe =
            State().Options().Update([](OptionState& o) { return o.wireframe = !o.wireframe; });
        if (IDirect3DDevice9* device = FrameworkGetDevice(); device != nullptr) {
            device->SetRenderState(D3DRS_FILLMODE, wireframe ? D3DFILL_WIREFRAME : D3DFILL_SOLID);
        }
        break;
    }
    default:
        break;
    }
}

bool IsSwallowedSysCommand(WPARAM command) {
    return command == SC_SIZE || command == SC_MOVE || command == SC_MAXIMIZE || command == SC_KEYMENU;
}

// In full screen the cursor is the device's own; returns true when the message is answered.
bool OnSetCursor(LRESULT& result) {
    if (!State().Window().Get(&WindowState::active) || !FullScreen()) {
        return false;
    }
    IDirect3DDevice9* device = FrameworkGetDevice();
    if (device != nullptr && State().Options().Get(&OptionState::showCursorWhenFullScreen)) {
        device->ShowCursor(TRUE);
    }
    result = TRUE;
    return true;
}

void OnMouseMove() {
    if (!State().Window().Get(&WindowState::active) || !FullScreen()) {
        return;
    }
    if (IDirect3DDevice9* device = FrameworkGetDevice(); device != nullptr) {
        POINT cursor{};
        GetCursorPos(&cursor);
        device->SetCursorPosition(cursor.x, cursor.y, 0);
    }
}

// Alt+Enter switches between windowed and full screen; returns true when it did.
bool OnSysKeyDown(WPARAM key, LPARAM lParam, LRESULT& result) {
    if (key != VK_RETURN || !AltDown(lParam) || !State().Options().Get(&OptionState::handleAltEnter)) {
        return false;
    }
    const ScopedPause pause;
    ReportIgnoredFailure(L"full-screen switch", ToggleFullScreen());
    result = 0;
    return true;
}

bool OnPowerBroadcast(WPARAM event, LRESULT& result) {
    if (event == PBT_APMRESUMESUSPEND) {
        FrameworkTimer::Global().Reset();
    } else if (event != PBT_APMQUERYSUSPEND) {
        return false;
    }
    result = TRUE;
    return true;
}

// Keyboard, mouse and system-command messages; returns true with a result when answered here.
bool HandleInputMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_SETCURSOR:
        return OnSetCursor(result);
    case WM_NCHITTEST:
        if (FullScreen()) {
            result = HTCLIENT;
            return true;
        }
        return false;
    case WM_KEYDOWN:
        if (State().Options().Get(&OptionState::handleDefaultHotkeys)) {
            OnDefaultHotkey(window, wParam);
        }
        return false;
    case WM_SYSKEYDOWN:
        return OnSysKeyDown(wParam, lParam, result);
    case WM_SYSCOMMAND:
        if (FullScreen() && IsSwallowedSysCommand(wParam)) {
            result = 0;
            return true;
        }
        return false;
    case WM_MENUCHAR:
        result = MAKELRESULT(0, MNC_CLOSE);
        return true;
    case WM_MOUSEMOVE:
        OnMouseMove();
        return false;
    default:
        return false;
    }
}

// The framework's own handling; returns true with a result when the message is answered here.
bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return false;
    case WM_SIZE:
        OnSize(wParam);
        return false;
    case WM_PAINT:
        OnPaint();
        return false;
    case WM_CLOSE:
        OnClose(window);
        result = 0;
        return true;
    case WM_ACTIVATEAPP:
        OnActivateApp(wParam != FALSE);
        return false;
    case WM_GETMINMAXINFO:
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {200, 200};
        return false;
    case WM_ENTERMENULOOP:
        FrameworkPause(true, true);
        return false;
    case WM_ENTERSIZEMOVE:
        FrameworkPause(true, true);
        State().Window().Set(&WindowState::insideSizeMove, true);
        return false;
    case WM_EXITMENULOOP:
        FrameworkPause(false, false);
        return false;
    case WM_EXITSIZEMOVE:
        FrameworkPause(false, false);
        CheckSizeAndMonitor();
        State().Window().Set(&WindowState::insideSizeMove, false);
        return false;
    case WM_POWERBROADCAST:
        return OnPowerBroadcast(wParam, result);
    default:
        return HandleInputMessage(window, message, wParam, lParam, result);
    }
}

// Callbacks first, then the framework's handling, then the default.
LRESULT ProcessMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_KEYUP || message == WM_SYSKEYUP) {
        auto [keyboard, context] = State().Callbacks().Get(&CallbackState::onKeyboard);
        if (keyboard != nullptr) {
            const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
            keyboard(static_cast<UINT>(wParam), down, AltDown(lParam), context);
        }
    }
    auto [windowMessage, context] = State().Callbacks().Get(&CallbackState::onWindowMessage);
    if (windowMessage != nullptr) {
        bool noFurtherProcessing = false;
        const LRESULT result = windowMessage(window, message, wParam, lParam, &noFurtherProcessing, context);
        if (noFurtherProcessing) {
            return result;
        }
    }
    LRESULT result = 0;
    if (HandleMessage(window, message, wParam, lParam, result)) {
        return result;
    }
    // Without a menu, F10 would only start an empty menu loop that stops the frames.
    if ((message == WM_SYSKEYDOWN || message == WM_SYSKEYUP) && wParam == VK_F10 &&
        !State().Window().Update([](WindowState& w) { return static_cast<bool>(w.removedMenu); })) {
        return 0;
    }
    if (!State().Options().Get(&OptionState::callDefWindowProc)) {
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

// No exception may cross into Windows: one raised while handling a message is reported as a failure
// of the run, which then ends.
LRESULT CALLBACK FrameworkWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (const HRESULT hr = ResultOf([&] { result = ProcessMessage(window, message, wParam, lParam); });
        FAILED(hr)) {
        FrameworkDisplayErrorMessage(hr);
        PostQuitMessage(0);
    }
    return result;
}

namespace {

// A windowed device follows its window's size and monitor, except while a device change is running.
bool DeviceFollowsWindow() {
    const bool settled = State().Device().Update(
        [](DeviceState& d) { return d.deviceCreated && !d.ignoreSizeChange && d.settings != nullptr; });
    return settled && !FullScreen();
}

} // namespace

void CheckForWindowSizeChange() {
    if (!DeviceFollowsWindow()) {
        return;
    }
    DeviceSettings settings = State().GetSettings();
    RECT client{};
    GetClientRect(State().Window().Get(&WindowState::deviceWindowWindowed), &client);
    if (static_cast<UINT>(client.right - client.left) != settings.pp.BackBufferWidth ||
        static_cast<UINT>(client.bottom - client.top) != settings.pp.BackBufferHeight) {
        settings.pp.BackBufferWidth = 0;
        settings.pp.BackBufferHeight = 0;
        ReportIgnoredFailure(L"client-sized device", ChangeDevice(settings, nullptr, false, false));
    }
}

void CheckForWindowChangingMonitors() {
    if (!State().Options().Get(&OptionState::autoChangeAdapter) || !DeviceFollowsWindow()) {
        return;
    }
    HMONITOR current = State().Window().Get(&WindowState::adapterMonitor);
    HMONITOR monitor = FrameworkMonitorFromWindow(FrameworkGetHWND(), MONITOR_DEFAULTTOPRIMARY);
    if (monitor == current) {
        return;
    }
    ComPtr<IDirect3D9> direct3d = State().Device().Get(&DeviceState::direct3d);
    if (direct3d == nullptr) {
        return;
    }
    for (const AdapterInfo& adapter : GetEnumeration().GetAdapterInfoList()) {
        if (direct3d->GetAdapterMonitor(adapter.AdapterOrdinal) != monitor) {
            continue;
        }
        const DeviceRequest request = MakeAdapterChangeRequest(State().GetSettings(), adapter.AdapterOrdinal);
        DeviceSettings found;
        HRESULT hr = FindValidDeviceSettings(&found, &request.In, &request.Match);
        if (SUCCEEDED(hr)) {
            hr = ChangeDevice(found, nullptr, false, false);
        }
        if (hr == E_ABORT) {
            State().Options().Set(&OptionState::autoChangeAdapter, false);
        } else if (FAILED(hr)) {
            FrameworkShutdown(0);
            FrameworkPause(false, false);
        }
        return;
    }
}
