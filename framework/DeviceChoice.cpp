// Choosing the device: the process's enumeration, device creation and the mode switches.
#include "framework/DeviceRequest.h"
#include "framework/Framework.h"
#include "framework/FrameworkInternal.h"

namespace {

FrameworkState& State() {
    return GetFrameworkState();
}

// The process's enumeration, listed or not.
DeviceEnumeration& Enumeration() {
    static DeviceEnumeration enumeration;
    return enumeration;
}

// Finds settings for a request and changes the device to them (no window clipping).
HRESULT ChangeTo(const DeviceRequest& request) {
    DeviceSettings settings;
    HRESULT hr = FindValidDeviceSettings(&settings, &request.In, &request.Match);
    if (SUCCEEDED(hr)) {
        hr = ChangeDevice(settings, nullptr, false, false);
    }
    return hr;
}

// The other mode, sized like that mode was last time (when it was used before).
HRESULT SwitchToMode(const DeviceSettings& current, bool toWindowed) {
    auto [width, height] = State().Window().Update([&](WindowState& w) {
        return toWindowed ? std::pair(w.windowedBackBufferWidth, w.windowedBackBufferHeight)
                          : std::pair(w.fullScreenBackBufferWidth, w.fullScreenBackBufferHeight);
    });
    return ChangeTo(MakeWindowModeToggleRequest(current, toWindowed, width, height));
}

} // namespace

DeviceEnumeration& GetEnumeration() {
    PrepareEnumeration(false);
    return Enumeration();
}

std::vector<D3DDISPLAYMODE> FrameworkGetDisplayModes(UINT adapterOrdinal) {
    const AdapterInfo* adapter = GetEnumeration().GetAdapterInfo(adapterOrdinal);
    return adapter != nullptr ? adapter->DisplayModes : std::vector<D3DDISPLAYMODE>{};
}

HRESULT PrepareEnumeration(bool force) {
    DeviceEnumeration& enumeration = Enumeration();
    if (enumeration.HasEnumerated() && !force) {
        return S_OK;
    }
    ComPtr<IDirect3D9> direct3d = State().Device().Get(&DeviceState::direct3d);
    if (direct3d == nullptr) {
        return kErrorNoDirect3D;
    }
    auto [acceptable, context] = State().Callbacks().Update(
        [](CallbackState& c) { return std::pair(c.isDeviceAcceptable, c.deviceChoiceContext); });
    HWND focus = State().Window().Get(&WindowState::focusWindow);
    return enumeration.Enumerate(direct3d.Get(), acceptable, context, focus);
}

HRESULT FindValidDeviceSettings(DeviceSettings* out, const DeviceSettings* in, const MatchOptions* match) {
    if (HRESULT hr = PrepareEnumeration(false); FAILED(hr)) {
        return hr;
    }
    ComPtr<IDirect3D9> direct3d = State().Device().Get(&DeviceState::direct3d);
    auto [windowedWindow, fullScreenWindow] = State().Window().Update(
        [](WindowState& w) { return std::pair(w.deviceWindowWindowed, w.deviceWindowFullScreen); });
    return FindValidDeviceSettings(Enumeration(), direct3d.Get(), out, in, match, windowedWindow,
                                   fullScreenWindow);
}

HRESULT FrameworkCreateDevice(UINT adapterOrdinal, bool windowed, int suggestedWidth, int suggestedHeight,
                              IsDeviceAcceptableCallback isDeviceAcceptable,
                              ModifyDeviceSettingsCallback modifyDeviceSettings, void* context) {
    if (State().Device().Get(&DeviceState::insideDeviceCallback)) {
        return E_FAIL;
    }
    State().Callbacks().Update([&](CallbackState& c) {
        c.isDeviceAcceptable = isDeviceAcceptable;
        c.modifyDeviceSettings = modifyDeviceSettings;
        c.deviceChoiceContext = context;
    });
    State().Lifecycle().Update([](LifecycleState& l) {
        l.deviceCreateCalled = true;
        // A new request starts afresh: when an earlier attempt failed and was reported, and the
        // caller tries again (the saver falls back to the desktop's resolution), a run that then
        // goes on normally must not end with the earlier attempt's exit code.
        l.exitCode = 0;
    });
    if (!State().Lifecycle().Get(&LifecycleState::windowCreated)) {
        if (State().Lifecycle().Get(&LifecycleState::windowCreateCalled)) {
            return E_FAIL;
        }
        if (HRESULT hr = FrameworkCreateWindow(L"Direct3D Window", nullptr, nullptr, nullptr, CW_USEDEFAULT,
                                               CW_USEDEFAULT);
            FAILED(hr)) {
            return hr;
        }
    }
    if (HRESULT hr = PrepareEnumeration(true); FAILED(hr)) {
        FrameworkDisplayErrorMessage(hr);
        return hr;
    }

    // Negative sizes mean nothing; they are taken as "no wish".
    const DeviceRequest request = MakeCreationRequest(
        adapterOrdinal, windowed, static_cast<UINT>(suggestedWidth > 0 ? suggestedWidth : 0),
        static_cast<UINT>(suggestedHeight > 0 ? suggestedHeight : 0));
    DeviceSettings valid;
    if (HRESULT hr = FindValidDeviceSettings(&valid, &request.In, &request.Match); FAILED(hr)) {
        FrameworkDisplayErrorMessage(hr);
        return hr;
    }
    const HRESULT hr = ChangeDevice(valid, nullptr, false, true);
    return FAILED(hr) ? hr : S_OK;
}

HRESULT ToggleFullScreen() {
    if (State().Device().Get(&DeviceState::insideDeviceCallback) || !State().HasSettings()) {
        return E_FAIL;
    }
    const DeviceSettings current = State().GetSettings();
    const bool toWindowed = !IsWindowed(current);
    const HRESULT hr = SwitchToMode(current, toWindowed);
    if (FAILED(hr) && hr != E_ABORT) {
        if (FAILED(SwitchToMode(current, !toWindowed))) {
            FrameworkShutdown(0);
        }
    }
    return hr;
}

HRESULT ToggleReferenceDevice() {
    if (State().Device().Get(&DeviceState::insideDeviceCallback) || !State().HasSettings()) {
        return E_FAIL;
    }
    const DeviceSettings current = State().GetSettings();
    if (current.DeviceType != D3DDEVTYPE_HAL && current.DeviceType != D3DDEVTYPE_REF) {
        return E_FAIL;
    }
    const HRESULT hr = ChangeTo(MakeReferenceToggleRequest(current));
    if (FAILED(hr) && hr != E_ABORT) {
        // Back to the device type it was, with everything else as close as possible.
        DeviceRequest back = MakeReferenceToggleRequest(current);
        back.In.DeviceType = current.DeviceType;
        if (FAILED(ChangeTo(back))) {
            FrameworkShutdown(0);
        }
    }
    return hr;
}
