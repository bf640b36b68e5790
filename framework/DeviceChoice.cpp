// Choosing the device: the process's enumeration, device creation and the mode switches.
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

// Settings for the other mode, sized like that mode was last time (when it was used before).
HRESULT FindToggledSettings(const DeviceSettings& current, bool windowed, DeviceSettings* out) {
    DeviceSettings wish = current;
    wish.pp.Windowed = windowed ? TRUE : FALSE;
    MatchOptions match;
    match.AdapterOrdinal = MatchType::PreserveInput;
    match.Windowed = MatchType::PreserveInput;
    match.DeviceType = MatchType::ClosestToInput;
    match.VertexProcessing = MatchType::ClosestToInput;
    match.BackBufferCount = MatchType::ClosestToInput;
    match.MultiSample = MatchType::ClosestToInput;
    match.SwapEffect = MatchType::ClosestToInput;
    match.DepthFormat = MatchType::ClosestToInput;
    match.StencilFormat = MatchType::ClosestToInput;
    match.PresentFlags = MatchType::ClosestToInput;
    match.PresentInterval = MatchType::ClosestToInput;
    auto [width, height] = State().With([&](F& f) {
        return windowed ? std::pair(f.windowedBackBufferWidth, f.windowedBackBufferHeight)
                        : std::pair(f.fullScreenBackBufferWidth, f.fullScreenBackBufferHeight);
    });
    wish.pp.BackBufferWidth = width;
    wish.pp.BackBufferHeight = height;
    match.Resolution = (width != 0 || height != 0) ? MatchType::ClosestToInput : MatchType::IgnoreInput;
    return FindValidDeviceSettings(out, &wish, &match);
}

HRESULT SwitchToMode(const DeviceSettings& current, bool windowed) {
    DeviceSettings settings;
    HRESULT hr = FindToggledSettings(current, windowed, &settings);
    if (SUCCEEDED(hr)) {
        hr = ChangeDevice(settings, nullptr, false, false);
    }
    return hr;
}

HRESULT SwitchToDeviceType(const DeviceSettings& current, D3DDEVTYPE type) {
    DeviceSettings wish = current;
    wish.DeviceType = type;
    MatchOptions match;
    match.AdapterOrdinal = MatchType::PreserveInput;
    match.DeviceType = MatchType::PreserveInput;
    for (MatchType* option : {&match.Windowed, &match.AdapterFormat, &match.VertexProcessing, &match.Resolution,
                              &match.BackBufferFormat, &match.BackBufferCount, &match.MultiSample,
                              &match.SwapEffect, &match.DepthFormat, &match.StencilFormat, &match.PresentFlags,
                              &match.RefreshRate, &match.PresentInterval}) {
        *option = MatchType::ClosestToInput;
    }
    DeviceSettings settings;
    HRESULT hr = FindValidDeviceSettings(&settings, &wish, &match);
    if (SUCCEEDED(hr)) {
        hr = ChangeDevice(settings, nullptr, false, false);
    }
    return hr;
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
    auto [acceptable, context, focus] = State().With([](F& f) {
        return std::tuple(f.isDeviceAcceptable, f.deviceChoiceContext, f.focusWindow);
    });
    return enumeration.Enumerate(direct3d.Get(), acceptable, context, focus);
}

HRESULT FindValidDeviceSettings(DeviceSettings* out, const DeviceSettings* in, const MatchOptions* match) {
    if (HRESULT hr = PrepareEnumeration(false); FAILED(hr)) {
        return hr;
    }
    ComPtr<IDirect3D9> direct3d = State().Get(&F::direct3d);
    auto [windowedWindow, fullScreenWindow] = State().With(
        [](F& f) { return std::pair(f.deviceWindowWindowed, f.deviceWindowFullScreen); });
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

    DeviceSettings suggested;
    suggested.AdapterOrdinal = adapterOrdinal;
    suggested.pp.Windowed = windowed ? TRUE : FALSE;
    // Negative sizes mean nothing; they are taken as "no wish".
    suggested.pp.BackBufferWidth = static_cast<UINT>(suggestedWidth > 0 ? suggestedWidth : 0);
    suggested.pp.BackBufferHeight = static_cast<UINT>(suggestedHeight > 0 ? suggestedHeight : 0);
    MatchOptions match;
    match.AdapterOrdinal = MatchType::PreserveInput;
    match.Windowed = MatchType::PreserveInput;
    if (windowed || (suggested.pp.BackBufferWidth != 0 && suggested.pp.BackBufferHeight != 0)) {
        match.Resolution = MatchType::ClosestToInput;
    }
    DeviceSettings valid;
    if (HRESULT hr = FindValidDeviceSettings(&valid, &suggested, &match); FAILED(hr)) {
        FrameworkDisplayErrorMessage(hr);
        return hr;
    }
    const HRESULT hr = ChangeDevice(valid, nullptr, false, true);
    return FAILED(hr) ? hr : S_OK;
}

HRESULT ToggleFullScreen() {
    if (!State().HasSettings()) {
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
    if (!State().HasSettings()) {
        return E_FAIL;
    }
    const DeviceSettings current = State().GetSettings();
    if (current.DeviceType != D3DDEVTYPE_HAL && current.DeviceType != D3DDEVTYPE_REF) {
        return E_FAIL;
    }
    const D3DDEVTYPE other = current.DeviceType == D3DDEVTYPE_HAL ? D3DDEVTYPE_REF : D3DDEVTYPE_HAL;
    const HRESULT hr = SwitchToDeviceType(current, other);
    if (FAILED(hr) && hr != E_ABORT) {
        if (FAILED(SwitchToDeviceType(current, current.DeviceType))) {
            FrameworkShutdown(0);
        }
    }
    return hr;
}
