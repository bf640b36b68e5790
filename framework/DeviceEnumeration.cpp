// Lists adapters, display modes, device types and the usable device combinations.
#include "framework/DeviceEnumeration.h"

#include "framework/UniqueHandle.h"

#include <wrl/client.h>

#include <algorithm>
#include <array>
#include <new>
#include <tuple>

using Microsoft::WRL::ComPtr;

namespace {

constexpr std::array kDisplayFormats = {D3DFMT_X8R8G8B8, D3DFMT_X1R5G5B5, D3DFMT_R5G6B5, D3DFMT_A2R10G10B10};
constexpr std::array kDeviceTypes = {D3DDEVTYPE_HAL, D3DDEVTYPE_SW, D3DDEVTYPE_REF};
constexpr std::array kBackBufferFormats = {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_A2R10G10B10,
                                          D3DFMT_R5G6B5,   D3DFMT_A1R5G5B5, D3DFMT_X1R5G5B5};
constexpr std::array kDepthStencilFormats = {D3DFMT_D16,   D3DFMT_D15S1,   D3DFMT_D24X8,
                                            D3DFMT_D24S8, D3DFMT_D24X4S4, D3DFMT_D32};
constexpr std::array<UINT, 6> PresentIntervals = {D3DPRESENT_INTERVAL_IMMEDIATE, D3DPRESENT_INTERVAL_DEFAULT,
                                                  D3DPRESENT_INTERVAL_ONE,       D3DPRESENT_INTERVAL_TWO,
                                                  D3DPRESENT_INTERVAL_THREE,     D3DPRESENT_INTERVAL_FOUR};

bool ModeLess(const D3DDISPLAYMODE& a, const D3DDISPLAYMODE& b) {
    return std::tie(a.Width, a.Height, a.Format, a.RefreshRate) <
           std::tie(b.Width, b.Height, b.Format, b.RefreshRate);
}

// Reads the display modes of every listed format that are large enough, sorted, and the distinct
// formats they come in (plus the desktop format).
void EnumerateDisplayModes(IDirect3D9* d3d, AdapterInfo& adapter, std::vector<D3DFORMAT>& formats) {
    for (D3DFORMAT format : kDisplayFormats) {
        const UINT count = d3d->GetAdapterModeCount(adapter.AdapterOrdinal, format);
        for (UINT i = 0; i < count; ++i) {
            D3DDISPLAYMODE mode{};
            if (FAILED(d3d->EnumAdapterModes(adapter.AdapterOrdinal, format, i, &mode))) {
                continue;
            }
            if (mode.Width < DeviceEnumeration::kMinimumWidth ||
                mode.Height < DeviceEnumeration::kMinimumHeight) {
                continue;
            }
            adapter.DisplayModes.push_back(mode);
            if (std::find(formats.begin(), formats.end(), mode.Format) == formats.end()) {
                formats.push_back(mode.Format);
            }
        }
    }
    D3DDISPLAYMODE desktop{};
    if (SUCCEEDED(d3d->GetAdapterDisplayMode(adapter.AdapterOrdinal, &desktop)) &&
        desktop.Format != D3DFMT_UNKNOWN &&
        std::find(formats.begin(), formats.end(), desktop.Format) == formats.end()) {
        formats.push_back(desktop.Format);
    }
    std::sort(adapter.DisplayModes.begin(), adapter.DisplayModes.end(), ModeLess);
}

// Whether a device type can really be made: only D3DERR_NOTAVAILABLE from a throw-away device says no.
// The throw-away device gets a hidden window of its own where one can be made: a device can leave its
// pixel format on the window it was made on, and a later device there of another format would then
// switch the window's format back and forth at every present.
bool IsDeviceTypeAvailable(IDirect3D9* d3d, UINT ordinal, D3DDEVTYPE type, HWND focusWindow) {
    const UniqueWindow own(
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
    const HWND window = own ? own.get() : focusWindow;
    D3DDISPLAYMODE primaryDesktop{};
    d3d->GetAdapterDisplayMode(0, &primaryDesktop);
    D3DPRESENT_PARAMETERS pp{};
    pp.BackBufferWidth = 1;
    pp.BackBufferHeight = 1;
    pp.BackBufferFormat = primaryDesktop.Format;
    pp.BackBufferCount = 1;
    pp.SwapEffect = D3DSWAPEFFECT_COPY;
    pp.Windowed = TRUE;
    pp.hDeviceWindow = window;
    ComPtr<IDirect3DDevice9> device;
    const HRESULT hr = d3d->CreateDevice(ordinal, type, window, D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp,
                                         device.GetAddressOf());
    return hr != D3DERR_NOTAVAILABLE;
}

void EnumerateDepthStencilFormats(IDirect3D9* d3d, DeviceCombination& c) {
    for (D3DFORMAT candidate : kDepthStencilFormats) {
        if (SUCCEEDED(d3d->CheckDeviceFormat(c.AdapterOrdinal, c.DeviceType, c.AdapterFormat,
                                             D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, candidate)) &&
            SUCCEEDED(d3d->CheckDepthStencilMatch(c.AdapterOrdinal, c.DeviceType, c.AdapterFormat,
                                                  c.BackBufferFormat, candidate))) {
            c.DepthStencilFormats.push_back(candidate);
        }
    }
}

void EnumerateMultiSampleTypes(IDirect3D9* d3d, DeviceCombination& c) {
    for (int type = D3DMULTISAMPLE_NONE; type <= D3DMULTISAMPLE_16_SAMPLES; ++type) {
        const auto msType = static_cast<D3DMULTISAMPLE_TYPE>(type);
        DWORD levels = 0;
        if (SUCCEEDED(d3d->CheckDeviceMultiSampleType(c.AdapterOrdinal, c.DeviceType, c.BackBufferFormat,
                                                      c.Windowed, msType, &levels))) {
            levels = std::min<DWORD>(levels, DeviceEnumeration::kMaximumMultiSampleQuality + 1);
            c.MultiSampleTypes.push_back({msType, levels});
        }
    }
}

void EnumeratePresentIntervals(const D3DCAPS9& caps, DeviceCombination& c) {
    for (UINT interval : PresentIntervals) {
        // Intervals above one are meaningful for full-screen devices only.
        if (c.Windowed && (interval == D3DPRESENT_INTERVAL_TWO || interval == D3DPRESENT_INTERVAL_THREE ||
                           interval == D3DPRESENT_INTERVAL_FOUR)) {
            continue;
        }
        if (interval == D3DPRESENT_INTERVAL_DEFAULT || (caps.PresentationIntervals & interval)) {
            c.PresentIntervals.push_back(interval);
        }
    }
}

void EnumerateCombinations(IDirect3D9* d3d, DeviceInfo& device, bool adapterHasModes,
                           const std::vector<D3DFORMAT>& displayFormats,
                           IsDeviceAcceptableCallback isDeviceAcceptable, void* context) {
    for (D3DFORMAT displayFormat : displayFormats) {
        for (D3DFORMAT backBufferFormat : kBackBufferFormats) {
            for (bool windowed : {false, true}) {
                if (!windowed && !adapterHasModes) {
                    continue;
                }
                if (FAILED(d3d->CheckDeviceType(device.AdapterOrdinal, device.DeviceType, displayFormat,
                                                backBufferFormat, windowed))) {
                    continue;
                }
                if (FAILED(d3d->CheckDeviceFormat(device.AdapterOrdinal, device.DeviceType, displayFormat,
                                                  D3DUSAGE_QUERY_POSTPIXELSHADER_BLENDING, D3DRTYPE_TEXTURE,
                                                  backBufferFormat))) {
                    continue;
                }
                if (isDeviceAcceptable &&
                    !isDeviceAcceptable(&device.Caps, displayFormat, backBufferFormat, windowed, context)) {
                    continue;
                }
                DeviceCombination c;
                c.AdapterOrdinal = device.AdapterOrdinal;
                c.DeviceType = device.DeviceType;
                c.AdapterFormat = displayFormat;
                c.BackBufferFormat = backBufferFormat;
                c.Windowed = windowed;
                EnumerateDepthStencilFormats(d3d, c);
                EnumerateMultiSampleTypes(d3d, c);
                EnumeratePresentIntervals(device.Caps, c);
                if (c.MultiSampleTypes.empty()) {
                    continue;
                }
                device.Combinations.push_back(std::move(c));
            }
        }
    }
}

void EnumerateAdapter(IDirect3D9* d3d, AdapterInfo& adapter, IsDeviceAcceptableCallback isDeviceAcceptable,
                      void* context, HWND focusWindow) {
    std::vector<D3DFORMAT> displayFormats;
    EnumerateDisplayModes(d3d, adapter, displayFormats);
    for (D3DDEVTYPE type : kDeviceTypes) {
        DeviceInfo device;
        device.AdapterOrdinal = adapter.AdapterOrdinal;
        device.DeviceType = type;
        if (FAILED(d3d->GetDeviceCaps(adapter.AdapterOrdinal, type, &device.Caps))) {
            continue;
        }
        if (!IsDeviceTypeAvailable(d3d, adapter.AdapterOrdinal, type, focusWindow)) {
            continue;
        }
        EnumerateCombinations(d3d, device, !adapter.DisplayModes.empty(), displayFormats, isDeviceAcceptable,
                              context);
        if (!device.Combinations.empty()) {
            adapter.Devices.push_back(std::move(device));
        }
    }
}

} // namespace

HRESULT DeviceEnumeration::Enumerate(IDirect3D9* d3d, IsDeviceAcceptableCallback isDeviceAcceptable,
                                     void* context, HWND focusWindow) {
    adapters_.clear();
    enumerated_ = false;
    if (!d3d) {
        return kErrorNoDirect3D;
    }
    try {
        const UINT count = d3d->GetAdapterCount();
        for (UINT ordinal = 0; ordinal < count; ++ordinal) {
            AdapterInfo adapter;
            adapter.AdapterOrdinal = ordinal;
            d3d->GetAdapterIdentifier(ordinal, 0, &adapter.Identifier);
            EnumerateAdapter(d3d, adapter, isDeviceAcceptable, context, focusWindow);
            if (!adapter.Devices.empty()) {
                adapters_.push_back(std::move(adapter));
            }
        }
    } catch (const std::bad_alloc&) {
        adapters_.clear();
        return E_OUTOFMEMORY;
    }
    // The lists are complete: only now are the addresses of the records final.
    for (AdapterInfo& adapter : adapters_) {
        for (DeviceInfo& device : adapter.Devices) {
            for (DeviceCombination& c : device.Combinations) {
                c.Adapter = &adapter;
                c.Device = &device;
            }
        }
    }
    enumerated_ = true;
    return S_OK;
}

const AdapterInfo* DeviceEnumeration::GetAdapterInfo(UINT ordinal) const {
    for (const AdapterInfo& adapter : adapters_) {
        if (adapter.AdapterOrdinal == ordinal) {
            return &adapter;
        }
    }
    return nullptr;
}

const DeviceInfo* DeviceEnumeration::GetDeviceInfo(UINT ordinal, D3DDEVTYPE deviceType) const {
    const AdapterInfo* adapter = GetAdapterInfo(ordinal);
    if (!adapter) {
        return nullptr;
    }
    for (const DeviceInfo& device : adapter->Devices) {
        if (device.DeviceType == deviceType) {
            return &device;
        }
    }
    return nullptr;
}

const DeviceCombination* DeviceEnumeration::GetDeviceCombination(UINT ordinal, D3DDEVTYPE deviceType,
                                                                 D3DFORMAT adapterFormat,
                                                                 D3DFORMAT backBufferFormat,
                                                                 bool windowed) const {
    const DeviceInfo* device = GetDeviceInfo(ordinal, deviceType);
    if (!device) {
        return nullptr;
    }
    for (const DeviceCombination& c : device->Combinations) {
        if (c.AdapterFormat == adapterFormat && c.BackBufferFormat == backBufferFormat &&
            c.Windowed == windowed) {
            return &c;
        }
    }
    return nullptr;
}
