// The framework's window procedure: application callbacks first, then the framework's handling.
#include "framework/Framework.h"
#include "framework/FrameworkInternal.h"
#include "framework/FrameworkTimer.h"
#include "framework/Monitors.h"

namespace {

using F = FrameworkFields;

constexpr wchar_t WindowClassName[] = L"Direct3DWindowClass";

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

void OnClose(HWND window) {
    if (HMENU menu = GetMenu(window); menu != nullptr) {
        DestroyMenu(menu);
    }
    DestroyWindow(window);
    if (UnregisterClassW(WindowClassName, State().Get(&F::instance))) {
        if (HICON icon = State().Get(&F::extractedIcon); icon != nullptr) {
            DestroyIcon(icon);
            State().Set(&F::extractedIcon, nullptr);
        }
    }
    State().With([](F& f) {
        f.focusWindow = nullptr;
        f.deviceWindowFullScreen = nullptr;
        f.deviceWindowWindowed = nullptr;
    });
}

void OnSize(WPARAM kind) {
    if (kind == SIZE_MINIMIZED) {
        // A second minimise message without a restore between them must not pause twice.
        if (!State().Get(&F::minimised)) {
            FrameworkPause(true, true);
        }
        State().With([](F& f) {
            f.minimised = true;
            f.maximised = false;
        });
        return;
    }
    RECT client{};
    GetClientRect(FrameworkGetHWND(), &client);
    if (client.top == 0 && client.bottom == 0) {
        return;
    }
    auto [minimised, maximised, insideSizeMove] =
        State().With([](F& f) { return std::tuple(f.minimised, f.maximised, f.insideSizeMove); });
    if (kind == SIZE_MAXIMIZED) {
        if (minimised) {
            FrameworkPause(false, false);
        }
        State().With([](F& f) {
            f.minimised = false;
            f.maximised = true;
        });
        CheckSizeAndMonitor();
    } else if (kind == SIZE_RESTORED) {
        if (maximised) {
            State().Set(&F::maximised, false);
            CheckSizeAndMonitor();
        } else if (minimised) {
            FrameworkPause(false, false);
            State().Set(&F::minimised, false);
            CheckSizeAndMonitor();
        } else if (!insideSizeMove) {
            CheckSizeAndMonitor();
        }
    }
}

void Present(IDirect3DDevice9* device) {
    const HRESULT hr = device->Present(nullptr, nullptr, nullptr, nullptr);
    if (hr == D3DERR_DEVICELOST || hr == D3DERR_DRIVERINTERNALERROR) {
        State().Set(&F::deviceLost, true);
    }
}

// While rendering is paused (a window being dragged) the last scene is drawn again on request.
void OnPaint() {
    IDirect3DDevice9* device = FrameworkGetDevice();
    auto [paused, ready, render, context, time, elapsed] = State().With([](F& f) {
        return std::tuple(f.renderingPaused, f.deviceObjectsCreated && f.deviceObjectsReset,
                          f.frameRenderCallback, f.frameRenderContext, f.time, f.elapsedTime);
    });
    if (device == nullptr || !paused || !ready) {
        return;
    }
    if (render != nullptr) {
        render(device, time, elapsed, context);
        if ((device = FrameworkGetDevice()) == nullptr) {
            return;
        }
    }
    Present(device);
}

void OnActivateApp(bool activating) {
    const bool active = State().Get(&F::active);
    const bool windowed = !FullScreen();
    if (activating && !active) {
        State().Set(&F::active, true);
        if (State().Get(&F::pausedByDeactivation)) {
            FrameworkPause(false, false);
            State().Set(&F::pausedByDeactivation, false);
        }
        AllowShortcutKeys(windowed ? State().Get(&F::allowShortcutKeysWhenWindowed)
                                   : State().Get(&F::allowShortcutKeysWhenFullScreen));
    } else if (!activating && active) {
        State().Set(&F::active, false);
        StopControllerVibration();
        if (!windowed) {
            ClipCursor(nullptr);
            FrameworkPause(true, true);
            State().Set(&F::pausedByDeactivation, true);
        }
        AllowShortcutKeys(true);
    }
}

void OnDefaultHotkey(HWND window, WPARAM key) {
    switch (key) {
    case VK_ESCAPE:
        SendMessageW(window, WM_CLOSE, 0, 0);
        break;
    case VK_PAUSE:
        if (State().Get(&F::timePaused)) {
            FrameworkPause(false, false);
        } else {
            FrameworkPause(true, false);
        }
        break;
    case VK_F3:
        FrameworkPause(true, true);
        ToggleReferenceDevice();
        FrameworkPause(false, false);
        break;
    case VK_F8: {
        const bool wireframe = !State().Get(&F::wireframe);
        State().Set(&F::wireframe, wireframe);
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
    case WM_SETCURSOR:
        if (State().Get(&F::active) && FullScreen()) {
            IDirect3DDevice9* device = FrameworkGetDevice();
            if (device != nullptr && State().Get(&F::showCursorWhenFullScreen)) {
                device->ShowCursor(TRUE);
            }
            result = TRUE;
            return true;
        }
        return false;
    case WM_GETMINMAXINFO:
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {200, 200};
        return false;
    case WM_NCHITTEST:
        if (FullScreen()) {
            result = HTCLIENT;
            return true;
        }
        return false;
    case WM_KEYDOWN:
        if (State().Get(&F::handleDefaultHotkeys)) {
            OnDefaultHotkey(window, wParam);
        }
        return false;
    case WM_SYSKEYDOWN:
        if (wParam == VK_RETURN && AltDown(lParam) && State().Get(&F::handleAltEnter)) {
            FrameworkPause(true, true);
            ToggleFullScreen();
            FrameworkPause(false, false);
            result = 0;
            return true;
        }
        return false;
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
        if (State().Get(&F::active) && FullScreen()) {
            if (IDirect3DDevice9* device = FrameworkGetDevice(); device != nullptr) {
                POINT cursor{};
                GetCursorPos(&cursor);
                device->SetCursorPosition(cursor.x, cursor.y, 0);
            }
        }
        return false;
    case WM_ENTERMENULOOP:
        FrameworkPause(true, true);
        return false;
    case WM_EXITMENULOOP:
        FrameworkPause(false, false);
        return false;
    case WM_ENTERSIZEMOVE:
        FrameworkPause(true, true);
        State().Set(&F::insideSizeMove, true);
        return false;
    case WM_EXITSIZEMOVE:
        FrameworkPause(false, false);
        CheckSizeAndMonitor();
        State().Set(&F::insideSizeMove, false);
        return false;
    case WM_POWERBROADCAST:
        if (wParam == PBT_APMQUERYSUSPEND) {
            result = TRUE;
            return true;
        }
        if (wParam == PBT_APMRESUMESUSPEND) {
            FrameworkTimer::Global().Reset();
            result = TRUE;
            return true;
        }
        return false;
    default:
        return false;
    }
}

} // namespace

LRESULT CALLBACK FrameworkWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_KEYUP || message == WM_SYSKEYUP) {
        auto [keyboard, context] =
            State().With([](F& f) { return std::pair(f.keyboardCallback, f.keyboardContext); });
        if (keyboard != nullptr) {
            const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
            keyboard(static_cast<UINT>(wParam), down, AltDown(lParam), context);
        }
    }
    auto [windowMessage, context] =
        State().With([](F& f) { return std::pair(f.windowMessageCallback, f.windowMessageContext); });
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
        State().Get(&F::removedMenu) == nullptr) {
        return 0;
    }
    if (!State().Get(&F::callDefWindowProc)) {
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void CheckForWindowSizeChange() {
    auto [ignore, created] =
        State().With([](F& f) { return std::pair(f.ignoreSizeChange, f.deviceCreated); });
    if (ignore || !created || !State().HasSettings() || FullScreen()) {
        return;
    }
    DeviceSettings settings = State().GetSettings();
    RECT client{};
    GetClientRect(State().Get(&F::deviceWindowWindowed), &client);
    if (static_cast<UINT>(client.right - client.left) != settings.pp.BackBufferWidth ||
        static_cast<UINT>(client.bottom - client.top) != settings.pp.BackBufferHeight) {
        settings.pp.BackBufferWidth = 0;
        settings.pp.BackBufferHeight = 0;
        ChangeDevice(settings, nullptr, false, false);
    }
}

void CheckForWindowChangingMonitors() {
    auto [follow, created, ignore, current] = State().With([](F& f) {
        return std::tuple(f.autoChangeAdapter, f.deviceCreated, f.ignoreSizeChange, f.adapterMonitor);
    });
    if (!follow || !created || ignore || !State().HasSettings() || FullScreen()) {
        return;
    }
    HMONITOR monitor = FrameworkMonitorFromWindow(FrameworkGetHWND(), MONITOR_DEFAULTTOPRIMARY);
    if (monitor == current) {
        return;
    }
    ComPtr<IDirect3D9> direct3d = State().Get(&F::direct3d);
    if (direct3d == nullptr) {
        return;
    }
    for (const AdapterInfo& adapter : GetEnumeration().GetAdapterInfoList()) {
        if (direct3d->GetAdapterMonitor(adapter.AdapterOrdinal) != monitor) {
            continue;
        }
        DeviceSettings wish = State().GetSettings();
        wish.AdapterOrdinal = adapter.AdapterOrdinal;
        MatchOptions match;
        for (MatchType* option :
             {&match.DeviceType, &match.Windowed, &match.AdapterFormat, &match.VertexProcessing,
              &match.Resolution, &match.BackBufferFormat, &match.BackBufferCount, &match.MultiSample,
              &match.SwapEffect, &match.DepthFormat, &match.StencilFormat, &match.PresentFlags,
              &match.RefreshRate, &match.PresentInterval}) {
            *option = MatchType::ClosestToInput;
        }
        match.AdapterOrdinal = MatchType::PreserveInput;
        DeviceSettings found;
        HRESULT hr = FindValidDeviceSettings(&found, &wish, &match);
        if (SUCCEEDED(hr)) {
            hr = ChangeDevice(found, nullptr, false, false);
        }
        if (hr == E_ABORT) {
            State().Set(&F::autoChangeAdapter, false);
        } else if (FAILED(hr)) {
            FrameworkShutdown(0);
            FrameworkPause(false, false);
        }
        return;
    }
}
