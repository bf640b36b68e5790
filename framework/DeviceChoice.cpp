// Choosing the device: the process's enumeration, device creation and the mode switches.
#include "framework/DeviceRequest.h"
#include "framework/Framework.h"
#include "framework/FrameworkInternal.h"

namespace {

using F = FrameworkFields;

FrameworkState& State() {
    return GetFrameworkState();
}

struct EnumerationHolder {
    DeviceEnumeration enumeration;
};

EnumerationHolder& Holder() {
    static EnumerationHolder holder;
    return holder;
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
    auto [width, height] = State().With([&](F& f) {
        return toWindowed ? std::pair(f.windowedBackBufferWidth, f.windowedBackBufferHeight)
                          : std::pair(f.fullScreenBackBufferWidth, f.fullScreenBackBufferHeight);
    });
    return ChangeTo(MakeWindowModeToggleRequest(current, toWindowed, width, height));
}

} // namespace

DeviceEnumeration& GetEnumeration() {
    PrepareEnumeration(false);
    return Holder().enumeration;
}

HRESULT PrepareEnumeration(bool force) {
    DeviceEnumeration& enumeration = Holder().enumeration;
    if (enumeration.HasEnumerated() && !force) {
        return S_OK;
    }
    ComPtr<IDirect3D9> direct3d = State().Get(&F::direct3d);
    if (direct3d == nullptr) {
        return ErrorNoDirect3D;
    }
    auto [acceptable, context, focus] = State().With(
        [](F& f) { return std::tuple(f.isDeviceAcceptable, f.deviceChoiceContext, f.focusWindow); });
    return enumeration.Enumerate(direct3d.Get(), acceptable, context, focus);
}

HRESULT FindValidDeviceSettings(DeviceSettings* out, const DeviceSettings* in, const MatchOptions* match) {
    if (HRESULT hr = PrepareEnumeration(false); FAILED(hr)) {
        return hr;
    }
    ComPtr<IDirect3D9> direct3d = State().Get(&F::direct3d);
    auto [windowedWindow, fullScreenWindow] =
        State().With([](F& f) { return std::pair(f.deviceWindowWindowed, f.deviceWindowFullScreen); });
    return FindValidDeviceSettings(Holder().enumeration, direct3d.Get(), out, in, match, windowedWindow,
                                   fullScreenWindow);
}

HRESULT FrameworkCreateDevice(UINT adapterOrdinal, bool windowed, int suggestedWidth, int suggestedHeight,
                              IsDeviceAcceptableCallback isDeviceAcceptable,
                              ModifyDeviceSettingsCallback modifyDeviceSettings, void* context) {
    if (State().Get(&F::insideDeviceCallback)) {
        return E_FAIL;
    }
    State().With([&](F& f) {
        f.isDeviceAcceptable = isDeviceAcceptable;
        f.modifyDeviceSettings = modifyDeviceSettings;
        f.deviceChoiceContext = context;
        f.deviceCreateCalled = true;
    });
    if (!State().Get(&F::windowCreated)) {
        if (State().Get(&F::windowCreateCalled)) {
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
    if (State().Get(&F::insideDeviceCallback) || !State().HasSettings()) {
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
    if (State().Get(&F::insideDeviceCallback) || !State().HasSettings()) {
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
