// Device changes: creation, reset and recreation of the device, and the window around it.
#include "framework/DebugOutput.h"
#include "framework/Framework.h"
#include "framework/FrameworkInternal.h"
#include "framework/Monitors.h"
#include "framework/ScopeGuard.h"
#include "framework/WindowPlacement.h"

#include <memory>
#include <tuple>
#include <utility>

namespace {

ExecutionStateFunction executionStateFunction = SetThreadExecutionState;

FrameworkState& State() {
    return GetFrameworkState();
}

// Runs a device callback with the inside-a-device-callback mark set, so that it cannot change the
// device under its own feet.
template <typename Call> auto InsideDeviceCallback(Call&& call) {
    State().Device().Set(&DeviceState::insideDeviceCallback, true);
    const ScopeExit markGone([] { State().Device().Set(&DeviceState::insideDeviceCallback, false); });
    return call();
}

// Clears one of the device's marks and tells whether it was set, in one step.
bool TakeMark(bool DeviceState::*mark) {
    return State().Device().Update([&](DeviceState& d) { return std::exchange(d.*mark, false); });
}

void CallDeviceLost() {
    auto [callback, context] = State().Callbacks().Get(&CallbackState::onDeviceLost);
    if (callback != nullptr) {
        InsideDeviceCallback([&] { callback(context); });
    }
}

void CallDeviceDestroyed() {
    auto [callback, context] = State().Callbacks().Get(&CallbackState::onDeviceDestroyed);
    if (callback != nullptr) {
        InsideDeviceCallback([&] { callback(context); });
    }
}

HRESULT CallDeviceReset(IDirect3DDevice9* device, D3DSURFACE_DESC desc) {
    auto [callback, context] = State().Callbacks().Get(&CallbackState::onDeviceReset);
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
    State().Device().Set(&DeviceState::backBufferDesc, desc);
}

std::pair<HWND, HWND> DeviceWindows() {
    return State().Window().Update(
        [](WindowState& w) { return std::pair(w.deviceWindowWindowed, w.deviceWindowFullScreen); });
}

// Puts the device windows in shape for the new mode before the device changes.
void PrepareWindowsForMode(const DeviceSettings* old, const DeviceSettings& current) {
    auto [windowedWindow, fullScreenWindow] = DeviceWindows();
    if (IsWindowed(current)) {
        if (old != nullptr && !IsWindowed(*old)) {
            const DWORD style = State().Window().Update([&](WindowState& w) {
                w.fullScreenBackBufferWidth = old->pp.BackBufferWidth;
                w.fullScreenBackBufferHeight = old->pp.BackBufferHeight;
                return w.windowedStyle;
            });
            SetWindowLongPtrW(windowedWindow, GWL_STYLE, static_cast<LONG_PTR>(style));
        }
        if (fullScreenWindow != windowedWindow) {
            ShowWindow(fullScreenWindow, SW_HIDE);
        } else if (UniqueMenu menu =
                       State().Window().Update([](WindowState& w) { return std::move(w.removedMenu); });
                   menu) {
            // The window owns its menu again.
            SetMenu(windowedWindow, menu.release());
        }
        return;
    }
    if (old == nullptr || IsWindowed(*old)) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof(placement);
        GetWindowPlacement(windowedWindow, &placement);
        const LONG_PTR exStyle = GetWindowLongPtrW(windowedWindow, GWL_EXSTYLE);
        const LONG_PTR style = GetWindowLongPtrW(windowedWindow, GWL_STYLE);
        State().Window().Update([&](WindowState& w) {
            w.windowedPlacement = placement;
            w.topmostWhileWindowed = (exStyle & WS_EX_TOPMOST) != 0;
            w.windowedStyle = static_cast<DWORD>(style) & ~static_cast<DWORD>(WS_MINIMIZE | WS_MAXIMIZE);
            w.windowedBackBufferWidth = old != nullptr ? old->pp.BackBufferWidth : 0;
            w.windowedBackBufferHeight = old != nullptr ? old->pp.BackBufferHeight : 0;
        });
    }
    ShowWindow(fullScreenWindow, SW_HIDE);
    SetWindowLongPtrW(fullScreenWindow, GWL_STYLE, WS_POPUP | WS_SYSMENU);
    if (fullScreenWindow == windowedWindow) {
        if (HMENU menu = GetMenu(fullScreenWindow); menu != nullptr) {
            // Kept, and destroyed if the window closes before it gets it back.
            SetMenu(fullScreenWindow, nullptr);
            State().Window().Update([&](WindowState& w) { w.removedMenu.reset(menu); });
        }
    }
    State().Window().Update([](WindowState& w) {
        if ((w.windowedPlacement.flags & WPF_RESTORETOMAXIMIZED) != 0) {
            w.windowedPlacement.flags &= ~static_cast<UINT>(WPF_RESTORETOMAXIMIZED);
            w.windowedPlacement.showCmd = SW_RESTORE;
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
    HWND window = State().Window().Get(&WindowState::deviceWindowWindowed);
    const LONG width = static_cast<LONG>(current.pp.BackBufferWidth);
    const LONG height = static_cast<LONG>(current.pp.BackBufferHeight);
    const SIZE client = ClientSize(window);
    const bool sizeMatches = client.cx == width && client.cy == height;

    HMONITOR monitor = State().Window().Get(&WindowState::adapterMonitor);
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
    }
    return hr;
}

// After the device changed: shortcut keys, monitor, window placement and size, visibility and
// the display's power for the new mode.
void FinishDeviceChange(const DeviceSettings* old, const DeviceSettings& current,
                        bool clipWindowToSingleAdapter) {
    const bool windowed = IsWindowed(current);
    AllowShortcutKeys(ShortcutKeysAllowedFor(windowed));
    HMONITOR monitor =
        State().Device().Get(&DeviceState::direct3d)->GetAdapterMonitor(current.AdapterOrdinal);
    auto [windowedWindow, placement, topmost] = State().Window().Update([&](WindowState& w) {
        w.adapterMonitor = monitor;
        return std::tuple(w.deviceWindowWindowed, w.windowedPlacement, w.topmostWhileWindowed);
    });
    if (windowed && old != nullptr && !IsWindowed(*old)) {
        SetWindowPlacement(windowedWindow, &placement);
        SetWindowPos(windowedWindow, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOREDRAW);
    }
    if (windowed && (current.pp.BackBufferWidth != 0 || current.pp.BackBufferHeight != 0)) {
        if (FitWindowToBackBuffer(current, clipWindowToSingleAdapter)) {
            // The window was limited: let the device take the client area the window got. This
            // replaces the current settings record, so current is not used after it.
            DeviceSettings clientSized = current;
            clientSized.pp.BackBufferWidth = 0;
            clientSized.pp.BackBufferHeight = 0;
            ReportIgnoredFailure(L"client-sized device",
                                 ChangeDevice(clientSized, nullptr, false, clipWindowToSingleAdapter));
        }
    }

    HWND deviceWindow = FrameworkGetHWND();
    if (!IsWindowVisible(deviceWindow)) {
        ShowWindow(deviceWindow, SW_SHOW);
    }
    // A screen saver leaves the display to the user's power plan, full screen as well as windowed:
    // nothing is asked for beyond clearing an earlier request.
    executionStateFunction(ES_CONTINUOUS);
}

// Lets the application adjust the settings for the device's capabilities; false when it refuses them.
bool LetApplicationModify(IDirect3D9* direct3d, DeviceSettings& settings) {
    auto [modify, context] = State().Callbacks().Update(
        [](CallbackState& c) { return std::pair(c.modifyDeviceSettings, c.deviceChoiceContext); });
    if (modify == nullptr) {
        return true;
    }
    D3DCAPS9 caps{};
    direct3d->GetDeviceCaps(settings.AdapterOrdinal, settings.DeviceType, &caps);
    return modify(&settings, &caps, context);
}

// Creates the device on the focus window. S_FALSE when it cannot be made yet (a window without area, a
// lost device): the device counts as lost and the main loop tries again.
HRESULT CreateDeviceOnFocusWindow(DeviceSettings& settings, ComPtr<IDirect3DDevice9>& device) {
    HWND focus = State().Window().Get(&WindowState::focusWindow);
    RECT client{};
    GetClientRect(focus, &client);
    if (client.right - client.left == 0 || client.bottom - client.top == 0) {
        State().Device().Set(&DeviceState::deviceLost, true);
        return S_FALSE;
    }
    const HRESULT hr = State()
                           .Device()
                           .Get(&DeviceState::direct3d)
                           ->CreateDevice(settings.AdapterOrdinal, settings.DeviceType, focus,
                                          settings.BehaviorFlags, &settings.pp, &device);
    if (hr == D3DERR_DEVICELOST) {
        State().Device().Set(&DeviceState::deviceLost, true);
        return S_FALSE;
    }
    return FAILED(hr) ? kErrorCreatingDevice : S_OK;
}

// A run on the reference rasterizer ends with its own exit code unless a failure was stored.
void NoteReferenceDevice(const DeviceSettings& settings) {
    State().Lifecycle().Update([&](LifecycleState& l) {
        if (settings.DeviceType == D3DDEVTYPE_REF && l.exitCode == 0) {
            l.exitCode = kExitCodeReferenceDevice;
        } else if (settings.DeviceType == D3DDEVTYPE_HAL && l.exitCode == kExitCodeReferenceDevice) {
            l.exitCode = 0;
        }
    });
}

// Calls the device-created callback; E_FAIL when the callback took the device away.
HRESULT CallDeviceCreated(IDirect3DDevice9* device) {
    auto [created, context] = State().Callbacks().Get(&CallbackState::onDeviceCreated);
    if (created == nullptr) {
        return S_OK;
    }
    const D3DSURFACE_DESC desc = State().Device().Get(&DeviceState::backBufferDesc);
    const HRESULT hr = InsideDeviceCallback([&] { return created(device, &desc, context); });
    if (FrameworkGetDevice() == nullptr) {
        return E_FAIL;
    }
    if (FAILED(hr)) {
        return hr == kErrorMediaNotFound ? kErrorMediaNotFound : kErrorCreatingDeviceObjects;
    }
    return S_OK;
}

} // namespace

void FrameworkSetExecutionStateFunction(ExecutionStateFunction function) {
    executionStateFunction = function != nullptr ? function : SetThreadExecutionState;
}

HRESULT ChangeDevice(const DeviceSettings& newSettings, IDirect3DDevice9* appDevice, bool forceRecreate,
                     bool clipWindowToSingleAdapter) {
    ComPtr<IDirect3D9> direct3d = State().Device().Get(&DeviceState::direct3d);
    if (direct3d == nullptr) {
        return S_FALSE;
    }
    auto settings = std::make_unique<DeviceSettings>(newSettings);
    if (!LetApplicationModify(direct3d.Get(), *settings)) {
        if (!State().HasSettings()) {
            FrameworkDisplayErrorMessage(kErrorNoCompatibleDevices);
        }
        return E_ABORT;
    }

    std::unique_ptr<DeviceSettings> old = State().ExchangeSettings(std::move(settings));
    const DeviceSettings& current = *State().SettingsRecord();
    const ScopedPause pause;
    State().Device().Set(&DeviceState::ignoreSizeChange, true);
    const ScopeExit sizeChangesBack([] { State().Device().Set(&DeviceState::ignoreSizeChange, false); });
    GetFrameworkState().SetLocking((current.BehaviorFlags & D3DCREATE_MULTITHREADED) != 0);
    PrepareWindowsForMode(old.get(), current);

    if (NeedsRecreate(old.get(), current, appDevice, forceRecreate)) {
        if (HRESULT hr = RecreateDevice(old, appDevice); FAILED(hr)) {
            return hr;
        }
    } else if (HRESULT hr = ResetEnvironment(); FAILED(hr)) {
        if (hr == kErrorMediaNotFound || hr == kErrorResettingDeviceObjects) {
            FrameworkDisplayErrorMessage(hr);
            FrameworkShutdown(0);
            return hr;
        }
        if (hr == D3DERR_DEVICELOST) {
            State().Device().Set(&DeviceState::deviceLost, true);
        } else {
            // The device would not reset: go back to the old settings and build a new device once.
            std::unique_ptr<DeviceSettings> failed = State().ExchangeSettings(std::move(old));
            const HRESULT retry = ChangeDevice(newSettings, appDevice, true, clipWindowToSingleAdapter);
            if (FAILED(retry)) {
                FrameworkShutdown(0);
                return kErrorCreatingDevice;
            }
            return S_OK;
        }
    }

    FinishDeviceChange(old.get(), current, clipWindowToSingleAdapter);
    old.reset();
    State().Device().Set(&DeviceState::deviceCreated, true);
    return S_OK;
}

HRESULT CreateEnvironment(IDirect3DDevice9* appDevice) {
    DeviceSettings* settings = State().SettingsRecord();
    ComPtr<IDirect3DDevice9> device;
    if (appDevice != nullptr) {
        device = appDevice;
    } else if (HRESULT hr = CreateDeviceOnFocusWindow(*settings, device); hr != S_OK) {
        return hr == S_FALSE ? S_OK : hr;
    }
    State().Device().Set(&DeviceState::device, device);
    NoteReferenceDevice(*settings);

    ReadBackBufferDescription(device.Get());
    SetupCursor();
    D3DCAPS9 caps{};
    device->GetDeviceCaps(&caps);
    State().Device().Set(&DeviceState::caps, caps);

    if (HRESULT hr = CallDeviceCreated(device.Get()); FAILED(hr)) {
        return hr;
    }
    State().Device().Set(&DeviceState::deviceObjectsCreated, true);

    const HRESULT hr = CallDeviceReset(device.Get(), State().Device().Get(&DeviceState::backBufferDesc));
    if (FrameworkGetDevice() == nullptr) {
        return E_FAIL;
    }
    if (FAILED(hr)) {
        return hr == kErrorMediaNotFound ? kErrorMediaNotFound : kErrorResettingDeviceObjects;
    }
    State().Device().Set(&DeviceState::deviceObjectsReset, true);
    return S_OK;
}

HRESULT ResetEnvironment() {
    if (TakeMark(&DeviceState::deviceObjectsReset)) {
        CallDeviceLost();
    }
    IDirect3DDevice9* device = FrameworkGetDevice();
    if (device == nullptr) {
        return kErrorResettingDevice;
    }
    DeviceSettings* settings = State().SettingsRecord();
    ForgetPresentedFrames();
    if (HRESULT hr = device->Reset(&settings->pp); FAILED(hr)) {
        return hr == D3DERR_DEVICELOST ? D3DERR_DEVICELOST : kErrorResettingDevice;
    }
    ReadBackBufferDescription(device);
    SetupCursor();
    if (HRESULT hr = CallDeviceReset(device, State().Device().Get(&DeviceState::backBufferDesc));
        FAILED(hr)) {
        CallDeviceLost();
        return hr == kErrorMediaNotFound ? kErrorMediaNotFound : kErrorResettingDeviceObjects;
    }
    State().Device().Set(&DeviceState::deviceObjectsReset, true);
    return S_OK;
}

void CleanupEnvironment(bool releaseSettings) {
    ForgetPresentedFrames();
    if (FrameworkGetDevice() != nullptr) {
        if (TakeMark(&DeviceState::deviceObjectsReset)) {
            CallDeviceLost();
        }
        if (TakeMark(&DeviceState::deviceObjectsCreated)) {
            CallDeviceDestroyed();
        }
        IDirect3DDevice9* device = State().Device().Update([](DeviceState& d) {
            d.backBufferDesc = {};
            d.caps = {};
            return d.device.Detach();
        });
        if (device != nullptr && device->Release() > 0) {
            FrameworkDisplayErrorMessage(kErrorNonZeroRefCount);
        }
    }
    if (releaseSettings) {
        State().ExchangeSettings(nullptr);
    }
    State().Device().Set(&DeviceState::deviceCreated, false);
}
