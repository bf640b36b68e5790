// Device changes: creation, reset and recreation of the device, and the window around it.
#include "framework/Framework.h"
#include "framework/FrameworkInternal.h"
#include "framework/Monitors.h"
#include "framework/WindowPlacement.h"

#include <memory>

namespace {

using F = FrameworkFields;

FrameworkState& State() {
    return GetFrameworkState();
}

// Runs a device callback with the inside-a-device-callback mark set, so that it cannot change the
// device under its own feet.
template <typename Call> auto InsideDeviceCallback(Call&& call) {
    State().Set(&F::insideDeviceCallback, true);
    if constexpr (std::is_void_v<decltype(call())>) {
        call();
        State().Set(&F::insideDeviceCallback, false);
    } else {
        auto result = call();
        State().Set(&F::insideDeviceCallback, false);
        return result;
    }
}

void CallDeviceLost() {
    auto [callback, context] =
        State().With([](F& f) { return std::pair(f.deviceLostCallback, f.deviceLostContext); });
    if (callback != nullptr) {
        InsideDeviceCallback([&] { callback(context); });
    }
}

void CallDeviceDestroyed() {
    auto [callback, context] =
        State().With([](F& f) { return std::pair(f.deviceDestroyedCallback, f.deviceDestroyedContext); });
    if (callback != nullptr) {
        InsideDeviceCallback([&] { callback(context); });
    }
}

HRESULT CallDeviceReset(IDirect3DDevice9* device, D3DSURFACE_DESC desc) {
    auto [callback, context] =
        State().With([](F& f) { return std::pair(f.deviceResetCallback, f.deviceResetContext); });
    if (callback == nullptr) {
        return S_OK;
    }
    return InsideDeviceCallback([&] { return callback(device, &desc, context); });
}

void ReadBackBufferDescription(IDirect3DDevice9* device) {
    D3DSURFACE_DESC desc{};
    ComPtr<IDirect3DSurface9> backBuffer;
    if (SUCCEEDED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer))) {
        backBuffer->GetDesc(&desc);
    }
    State().Set(&F::backBufferDesc, desc);
}

void ReleasePauseAndSizeChanges() {
    State().Set(&F::ignoreSizeChange, false);
    FrameworkPause(false, false);
}

// Puts the device windows in shape for the new mode before the device changes.
void PrepareWindowsForMode(const DeviceSettings* old, const DeviceSettings& current) {
    auto [windowedWindow, fullScreenWindow] =
        State().With([](F& f) { return std::pair(f.deviceWindowWindowed, f.deviceWindowFullScreen); });
    if (IsWindowed(current)) {
        if (old != nullptr && !IsWindowed(*old)) {
            State().With([&](F& f) {
                f.fullScreenBackBufferWidth = old->pp.BackBufferWidth;
                f.fullScreenBackBufferHeight = old->pp.BackBufferHeight;
            });
            SetWindowLongPtrW(windowedWindow, GWL_STYLE,
                              static_cast<LONG_PTR>(State().Get(&F::windowedStyle)));
        }
        if (fullScreenWindow != windowedWindow) {
            ShowWindow(fullScreenWindow, SW_HIDE);
        } else if (HMENU menu = State().Get(&F::removedMenu); menu != nullptr) {
            SetMenu(windowedWindow, menu);
            State().Set(&F::removedMenu, nullptr);
        }
        return;
    }
    if (old == nullptr || IsWindowed(*old)) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof(placement);
        GetWindowPlacement(windowedWindow, &placement);
        const LONG_PTR exStyle = GetWindowLongPtrW(windowedWindow, GWL_EXSTYLE);
        const LONG_PTR style = GetWindowLongPtrW(windowedWindow, GWL_STYLE);
        State().With([&](F& f) {
            f.windowedPlacement = placement;
            f.topmostWhileWindowed = (exStyle & WS_EX_TOPMOST) != 0;
            f.windowedStyle = static_cast<DWORD>(style) & ~static_cast<DWORD>(WS_MINIMIZE | WS_MAXIMIZE);
            f.windowedBackBufferWidth = old != nullptr ? old->pp.BackBufferWidth : 0;
            f.windowedBackBufferHeight = old != nullptr ? old->pp.BackBufferHeight : 0;
        });
    }
    ShowWindow(fullScreenWindow, SW_HIDE);
    SetWindowLongPtrW(fullScreenWindow, GWL_STYLE, WS_POPUP | WS_SYSMENU);
    if (fullScreenWindow == windowedWindow) {
        if (HMENU menu = GetMenu(fullScreenWindow); menu != nullptr) {
            State().Set(&F::removedMenu, menu);
            SetMenu(fullScreenWindow, nullptr);
        }
    }
    State().With([](F& f) {
        if ((f.windowedPlacement.flags & WPF_RESTORETOMAXIMIZED) != 0) {
            f.windowedPlacement.flags &= ~static_cast<UINT>(WPF_RESTORETOMAXIMIZED);
            f.windowedPlacement.showCmd = SW_RESTORE;
        }
    });
}

bool NeedsRecreate(const DeviceSettings* old, const DeviceSettings& current, IDirect3DDevice9* appDevice,
                   bool forceRecreate) {
    return forceRecreate || appDevice != nullptr || FrameworkGetDevice() == nullptr || old == nullptr ||
           old->AdapterOrdinal != current.AdapterOrdinal || old->DeviceType != current.DeviceType ||
           old->BehaviorFlags != current.BehaviorFlags;
}

SIZE ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right - client.left, client.bottom - client.top};
}

// Brings the windowed device window's client area to the back-buffer size. Returns true when the
// window could not take that size (it was limited to the work area).
bool FitWindowToBackBuffer(const DeviceSettings& current, bool clip) {
    HWND window = State().Get(&F::deviceWindowWindowed);
    const LONG width = static_cast<LONG>(current.pp.BackBufferWidth);
    const LONG height = static_cast<LONG>(current.pp.BackBufferHeight);
    const SIZE client = ClientSize(window);
    const bool sizeMatches = client.cx == width && client.cy == height;

    HMONITOR monitor = State().Get(&F::adapterMonitor);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    FrameworkGetMonitorInfo(monitor, &info);
    RECT windowRect{};
    GetWindowRect(window, &windowRect);
    const bool maximisedOnMonitor =
        IsZoomed(window) && FrameworkMonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY) == monitor;
    if (sizeMatches &&
        (!clip || IsIconic(window) || RectInside(windowRect, info.rcWork) || maximisedOnMonitor)) {
        return false;
    }
    if (IsIconic(window) || IsZoomed(window)) {
        ShowWindow(window, SW_RESTORE);
    }
    RECT adjusted{0, 0, width, height};
    AdjustWindowRect(&adjusted, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)),
                     GetMenu(window) != nullptr);
    if (clip) {
        const WindowBounds bounds = PlaceWindowInWorkArea(adjusted, info.rcWork);
        SetWindowPos(window, nullptr, bounds.x, bounds.y, bounds.width, bounds.height, SWP_NOZORDER);
    } else {
        SetWindowPos(window, nullptr, 0, 0, adjusted.right - adjusted.left, adjusted.bottom - adjusted.top,
                     SWP_NOZORDER | SWP_NOMOVE);
    }
    const SIZE after = ClientSize(window);
    return after.cx != width || after.cy != height;
}

HRESULT RecreateDevice(std::unique_ptr<DeviceSettings>& old, IDirect3DDevice9* appDevice) {
    if (FrameworkGetDevice() != nullptr) {
        CleanupEnvironment(false);
    }
    const HRESULT hr = CreateEnvironment(appDevice);
    if (FAILED(hr)) {
        old.reset();
        CleanupEnvironment(true);
        FrameworkDisplayErrorMessage(hr);
        ReleasePauseAndSizeChanges();
    }
    return hr;
}

// After the device changed: shortcut keys, monitor, window placement and size, visibility and
// the display's power for the new mode.
void FinishDeviceChange(const DeviceSettings* old, const DeviceSettings& current,
                        bool clipWindowToSingleAdapter) {
    const bool windowed = IsWindowed(current);
    AllowShortcutKeys(windowed ? State().Get(&F::allowShortcutKeysWhenWindowed)
                               : State().Get(&F::allowShortcutKeysWhenFullScreen));
    State().Set(&F::adapterMonitor, State().Get(&F::direct3d)->GetAdapterMonitor(current.AdapterOrdinal));

    HWND windowedWindow = State().Get(&F::deviceWindowWindowed);
    if (windowed && old != nullptr && !IsWindowed(*old)) {
        const WINDOWPLACEMENT placement = State().Get(&F::windowedPlacement);
        SetWindowPlacement(windowedWindow, &placement);
        SetWindowPos(windowedWindow, State().Get(&F::topmostWhileWindowed) ? HWND_TOPMOST : HWND_NOTOPMOST, 0,
                     0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOREDRAW);
    }
    if (windowed && (current.pp.BackBufferWidth != 0 || current.pp.BackBufferHeight != 0)) {
        if (FitWindowToBackBuffer(current, clipWindowToSingleAdapter)) {
            // The window was limited: let the device take the client area the window got. This
            // replaces the current settings record, so current is not used after it.
            DeviceSettings clientSized = current;
            clientSized.pp.BackBufferWidth = 0;
            clientSized.pp.BackBufferHeight = 0;
            ChangeDevice(clientSized, nullptr, false, clipWindowToSingleAdapter);
        }
    }

    HWND deviceWindow = FrameworkGetHWND();
    if (!IsWindowVisible(deviceWindow)) {
        ShowWindow(deviceWindow, SW_SHOW);
    }
    // The display stays powered while a full-screen device runs.
    SetThreadExecutionState(windowed ? ES_CONTINUOUS : (ES_CONTINUOUS | ES_DISPLAY_REQUIRED));
}

} // namespace

HRESULT ChangeDevice(const DeviceSettings& newSettings, IDirect3DDevice9* appDevice, bool forceRecreate,
                     bool clipWindowToSingleAdapter) {
    ComPtr<IDirect3D9> direct3d = State().Get(&F::direct3d);
    if (direct3d == nullptr) {
        return S_FALSE;
    }
    auto settings = std::make_unique<DeviceSettings>(newSettings);
    auto [modify, context] =
        State().With([](F& f) { return std::pair(f.modifyDeviceSettings, f.deviceChoiceContext); });
    if (modify != nullptr) {
        D3DCAPS9 caps{};
        direct3d->GetDeviceCaps(settings->AdapterOrdinal, settings->DeviceType, &caps);
        if (!modify(settings.get(), &caps, context)) {
            if (!State().HasSettings()) {
                FrameworkDisplayErrorMessage(ErrorNoCompatibleDevices);
            }
            return E_ABORT;
        }
    }

    std::unique_ptr<DeviceSettings> old = State().ExchangeSettings(std::move(settings));
    const DeviceSettings& current = *State().SettingsRecord();
    FrameworkPause(true, true);
    State().Set(&F::ignoreSizeChange, true);
    GetFrameworkState().SetLocking((current.BehaviorFlags & D3DCREATE_MULTITHREADED) != 0);
    PrepareWindowsForMode(old.get(), current);

    if (NeedsRecreate(old.get(), current, appDevice, forceRecreate)) {
        if (HRESULT hr = RecreateDevice(old, appDevice); FAILED(hr)) {
            return hr;
        }
    } else if (HRESULT hr = ResetEnvironment(); FAILED(hr)) {
        if (hr == ErrorMediaNotFound || hr == ErrorResettingDeviceObjects) {
            FrameworkDisplayErrorMessage(hr);
            ReleasePauseAndSizeChanges();
            FrameworkShutdown(0);
            return hr;
        }
        if (hr == D3DERR_DEVICELOST) {
            State().Set(&F::deviceLost, true);
        } else {
            // The device would not reset: go back to the old settings and build a new device once.
            std::unique_ptr<DeviceSettings> failed = State().ExchangeSettings(std::move(old));
            const HRESULT retry = ChangeDevice(newSettings, appDevice, true, clipWindowToSingleAdapter);
            ReleasePauseAndSizeChanges();
            if (FAILED(retry)) {
                FrameworkShutdown(0);
                return ErrorCreatingDevice;
            }
            return S_OK;
        }
    }

    FinishDeviceChange(old.get(), current, clipWindowToSingleAdapter);
    old.reset();
    ReleasePauseAndSizeChanges();
    State().Set(&F::deviceCreated, true);
    return S_OK;
}

HRESULT CreateEnvironment(IDirect3DDevice9* appDevice) {
    DeviceSettings* settings = State().SettingsRecord();
    ComPtr<IDirect3DDevice9> device;
    if (appDevice != nullptr) {
        device = appDevice;
    } else {
        HWND focus = State().Get(&F::focusWindow);
        RECT client{};
        GetClientRect(focus, &client);
        // A window without area cannot hold a device yet; the main loop tries again.
        if (client.right - client.left == 0 || client.bottom - client.top == 0) {
            State().Set(&F::deviceLost, true);
            return S_OK;
        }
        const HRESULT hr = State()
                               .Get(&F::direct3d)
                               ->CreateDevice(settings->AdapterOrdinal, settings->DeviceType, focus,
                                              settings->BehaviorFlags, &settings->pp, &device);
        if (hr == D3DERR_DEVICELOST) {
            State().Set(&F::deviceLost, true);
            return S_OK;
        }
        if (FAILED(hr)) {
            return ErrorCreatingDevice;
        }
    }
    State().Set(&F::device, device);
    State().With([&](F& f) {
        if (settings->DeviceType == D3DDEVTYPE_REF && f.exitCode == 0) {
            f.exitCode = ExitCodeReferenceDevice;
        } else if (settings->DeviceType == D3DDEVTYPE_HAL && f.exitCode == ExitCodeReferenceDevice) {
            f.exitCode = 0;
        }
    });

    ReadBackBufferDescription(device.Get());
    SetupCursor();
    D3DCAPS9 caps{};
    device->GetDeviceCaps(&caps);
    State().Set(&F::caps, caps);

    auto [created, createdContext] =
        State().With([](F& f) { return std::pair(f.deviceCreatedCallback, f.deviceCreatedContext); });
    if (created != nullptr) {
        const D3DSURFACE_DESC desc = State().Get(&F::backBufferDesc);
        const HRESULT hr = InsideDeviceCallback([&] { return created(device.Get(), &desc, createdContext); });
        if (FrameworkGetDevice() == nullptr) {
            return E_FAIL;
        }
        if (FAILED(hr)) {
            return hr == ErrorMediaNotFound ? ErrorMediaNotFound : ErrorCreatingDeviceObjects;
        }
    }
    State().Set(&F::deviceObjectsCreated, true);

    const HRESULT hr = CallDeviceReset(device.Get(), State().Get(&F::backBufferDesc));
    if (FrameworkGetDevice() == nullptr) {
        return E_FAIL;
    }
    if (FAILED(hr)) {
        return hr == ErrorMediaNotFound ? ErrorMediaNotFound : ErrorResettingDeviceObjects;
    }
    State().Set(&F::deviceObjectsReset, true);
    return S_OK;
}

HRESULT ResetEnvironment() {
    if (State().Get(&F::deviceObjectsReset)) {
        CallDeviceLost();
        State().Set(&F::deviceObjectsReset, false);
    }
    IDirect3DDevice9* device = FrameworkGetDevice();
    if (device == nullptr) {
        return ErrorResettingDevice;
    }
    DeviceSettings* settings = State().SettingsRecord();
    if (HRESULT hr = device->Reset(&settings->pp); FAILED(hr)) {
        return hr == D3DERR_DEVICELOST ? D3DERR_DEVICELOST : ErrorResettingDevice;
    }
    ReadBackBufferDescription(device);
    SetupCursor();
    if (HRESULT hr = CallDeviceReset(device, State().Get(&F::backBufferDesc)); FAILED(hr)) {
        CallDeviceLost();
        return hr == ErrorMediaNotFound ? ErrorMediaNotFound : ErrorResettingDeviceObjects;
    }
    State().Set(&F::deviceObjectsReset, true);
    return S_OK;
}

void CleanupEnvironment(bool releaseSettings) {
    if (FrameworkGetDevice() != nullptr) {
        if (State().Get(&F::deviceObjectsReset)) {
            CallDeviceLost();
            State().Set(&F::deviceObjectsReset, false);
        }
        if (State().Get(&F::deviceObjectsCreated)) {
            CallDeviceDestroyed();
            State().Set(&F::deviceObjectsCreated, false);
        }
        IDirect3DDevice9* device = State().With([](F& f) { return f.device.Detach(); });
        if (device != nullptr && device->Release() > 0) {
            FrameworkDisplayErrorMessage(ErrorNonZeroRefCount);
        }
        State().With([](F& f) {
            f.backBufferDesc = {};
            f.caps = {};
        });
    }
    if (releaseSettings) {
        State().ExchangeSettings(nullptr);
    }
    State().Set(&F::deviceCreated, false);
}
