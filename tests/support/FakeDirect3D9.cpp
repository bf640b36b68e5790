// The scripted Direct3D 9 object: answers every query from the adapters a test set up.
#include "support/FakeDirect3D9.h"

#include <algorithm>
#include <cstdio>

D3DDISPLAYMODE Mode(UINT width, UINT height, D3DFORMAT format, UINT refreshRate) {
    return D3DDISPLAYMODE{width, height, refreshRate, format};
}

FakeDirect3D9::DeviceType FakeDirect3D9::TypicalDeviceType(D3DDEVTYPE type) {
    DeviceType device;
    device.Type = type;
    device.Caps.DeviceType = type;
    device.Caps.DevCaps = D3DDEVCAPS_HWTRANSFORMANDLIGHT;
    device.Caps.PresentationIntervals = D3DPRESENT_INTERVAL_IMMEDIATE | D3DPRESENT_INTERVAL_ONE;
    device.AcceptsFormats = [](D3DFORMAT display, D3DFORMAT backBuffer, bool) {
        return backBuffer == display || (display == D3DFMT_X8R8G8B8 && backBuffer == D3DFMT_A8R8G8B8) ||
               (display == D3DFMT_X1R5G5B5 && backBuffer == D3DFMT_A1R5G5B5);
    };
    device.DepthStencilFormats = {D3DFMT_D16, D3DFMT_D24X8, D3DFMT_D24S8, D3DFMT_D32};
    device.MultiSampleTypes = {{D3DMULTISAMPLE_NONE, 1}};
    return device;
}

FakeDirect3D9::Adapter FakeDirect3D9::TypicalAdapter(const D3DDISPLAYMODE& desktop) {
    Adapter adapter;
    adapter.Desktop = desktop;
    adapter.Modes = {desktop};
    adapter.DeviceTypes = {TypicalDeviceType(D3DDEVTYPE_HAL), TypicalDeviceType(D3DDEVTYPE_REF)};
    return adapter;
}

const FakeDirect3D9::Adapter* FakeDirect3D9::FindAdapter(UINT adapter) const {
    return adapter < Adapters.size() ? &Adapters[adapter] : nullptr;
}

const FakeDirect3D9::DeviceType* FakeDirect3D9::FindDeviceType(UINT adapter, D3DDEVTYPE type) const {
    const Adapter* a = FindAdapter(adapter);
    if (!a) {
        return nullptr;
    }
    for (const DeviceType& device : a->DeviceTypes) {
        if (device.Type == type) {
            return &device;
        }
    }
    return nullptr;
}

HRESULT FakeDirect3D9::QueryInterface(REFIID riid, void** object) {
    if (!object) {
        return E_POINTER;
    }
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IDirect3D9)) {
        *object = static_cast<IDirect3D9*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

UINT FakeDirect3D9::GetAdapterCount() {
    return static_cast<UINT>(Adapters.size());
}

HRESULT FakeDirect3D9::GetAdapterIdentifier(UINT adapter, DWORD, D3DADAPTER_IDENTIFIER9* identifier) {
    if (!FindAdapter(adapter) || !identifier) {
        return D3DERR_INVALIDCALL;
    }
    *identifier = {};
    std::snprintf(identifier->Description, sizeof identifier->Description, "Scripted adapter %u", adapter);
    return S_OK;
}

UINT FakeDirect3D9::GetAdapterModeCount(UINT adapter, D3DFORMAT format) {
    const Adapter* a = FindAdapter(adapter);
    if (!a) {
        return 0;
    }
    return static_cast<UINT>(std::count_if(a->Modes.begin(), a->Modes.end(),
                                           [&](const D3DDISPLAYMODE& m) { return m.Format == format; }));
}

HRESULT FakeDirect3D9::EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT index, D3DDISPLAYMODE* mode) {
    const Adapter* a = FindAdapter(adapter);
    if (!a || !mode) {
        return D3DERR_INVALIDCALL;
    }
    for (const D3DDISPLAYMODE& m : a->Modes) {
        if (m.Format == format && index-- == 0) {
            *mode = m;
            return S_OK;
        }
    }
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDirect3D9::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) {
    const Adapter* a = FindAdapter(adapter);
    if (!a || !mode) {
        return D3DERR_INVALIDCALL;
    }
    if (FAILED(a->DesktopResult)) {
        return a->DesktopResult;
    }
    *mode = a->Desktop;
    return S_OK;
}

HRESULT FakeDirect3D9::CheckDeviceType(UINT adapter, D3DDEVTYPE type, D3DFORMAT displayFormat,
                                       D3DFORMAT backBufferFormat, BOOL windowed) {
    const DeviceType* device = FindDeviceType(adapter, type);
    if (!device || !device->AcceptsFormats) {
        return D3DERR_NOTAVAILABLE;
    }
    return device->AcceptsFormats(displayFormat, backBufferFormat, windowed != FALSE) ? S_OK
                                                                                      : D3DERR_NOTAVAILABLE;
}

HRESULT FakeDirect3D9::CheckDeviceFormat(UINT adapter, D3DDEVTYPE type, D3DFORMAT, DWORD usage,
                                         D3DRESOURCETYPE, D3DFORMAT checkFormat) {
    const DeviceType* device = FindDeviceType(adapter, type);
    if (!device) {
        return D3DERR_NOTAVAILABLE;
    }
    const auto has = [](const std::vector<D3DFORMAT>& list, D3DFORMAT format) {
        return std::find(list.begin(), list.end(), format) != list.end();
    };
    if (usage & D3DUSAGE_DEPTHSTENCIL) {
        return has(device->DepthStencilFormats, checkFormat) ? S_OK : D3DERR_NOTAVAILABLE;
    }
    if ((usage & D3DUSAGE_QUERY_POSTPIXELSHADER_BLENDING) && has(device->UnblendableFormats, checkFormat)) {
        return D3DERR_NOTAVAILABLE;
    }
    return S_OK;
}

HRESULT FakeDirect3D9::CheckDeviceMultiSampleType(UINT adapter, D3DDEVTYPE type, D3DFORMAT, BOOL,
                                                  D3DMULTISAMPLE_TYPE multiSampleType, DWORD* qualityLevels) {
    const DeviceType* device = FindDeviceType(adapter, type);
    if (!device) {
        return D3DERR_NOTAVAILABLE;
    }
    for (const MultiSample& m : device->MultiSampleTypes) {
        if (m.Type == multiSampleType) {
            if (qualityLevels) {
                *qualityLevels = m.QualityLevels;
            }
            return S_OK;
        }
    }
    return D3DERR_NOTAVAILABLE;
}

HRESULT FakeDirect3D9::CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE type, D3DFORMAT,
                                              D3DFORMAT renderTargetFormat, D3DFORMAT depthStencilFormat) {
    const DeviceType* device = FindDeviceType(adapter, type);
    if (!device) {
        return D3DERR_NOTAVAILABLE;
    }
    const auto& mismatches = device->DepthStencilMismatches;
    const bool mismatch = std::find(mismatches.begin(), mismatches.end(),
                                    std::pair{renderTargetFormat, depthStencilFormat}) != mismatches.end();
    return mismatch ? D3DERR_NOTAVAILABLE : S_OK;
}

HRESULT FakeDirect3D9::GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps) {
    const DeviceType* device = FindDeviceType(adapter, type);
    if (!device || !caps) {
        return D3DERR_NOTAVAILABLE;
    }
    if (FAILED(device->CapsResult)) {
        return device->CapsResult;
    }
    *caps = device->Caps;
    return S_OK;
}

HMONITOR FakeDirect3D9::GetAdapterMonitor(UINT adapter) {
    const Adapter* a = FindAdapter(adapter);
    return a ? a->Monitor : nullptr;
}

HRESULT FakeDirect3D9::CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                                    D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device) {
    CreateDeviceCall call{adapter, type, focusWindow, behaviorFlags, {}};
    if (parameters) {
        call.Parameters = *parameters;
    }
    CreateDeviceCalls.push_back(call);
    if (device) {
        *device = nullptr;
    }
    const DeviceType* scripted = FindDeviceType(adapter, type);
    return scripted ? scripted->CreateDeviceResult : D3DERR_NOTAVAILABLE;
}
