// What the machine's Direct3D can do: adapters, display modes and the usable device combinations,
// and the choice of complete device settings from a partly filled wish.
#pragma once

#include "framework/DeviceSettings.h"
#include "framework/FrameworkErrors.h"

#include <windows.h>
#include <d3d9.h>

#include <vector>

// How closely a chosen settings field must follow the input.
enum class MatchType {
    IgnoreInput = 0,    // choose freely
    PreserveInput = 1,  // the result must equal the input
    ClosestToInput = 2, // come as close to the input as possible
};

// One match option per settings field.
struct MatchOptions {
    MatchType AdapterOrdinal = MatchType::IgnoreInput;
    MatchType DeviceType = MatchType::IgnoreInput;
    MatchType Windowed = MatchType::IgnoreInput;
    MatchType AdapterFormat = MatchType::IgnoreInput;
    MatchType VertexProcessing = MatchType::IgnoreInput;
    MatchType Resolution = MatchType::IgnoreInput;
    MatchType BackBufferFormat = MatchType::IgnoreInput;
    MatchType BackBufferCount = MatchType::IgnoreInput;
    MatchType MultiSample = MatchType::IgnoreInput;
    MatchType SwapEffect = MatchType::IgnoreInput;
    MatchType DepthFormat = MatchType::IgnoreInput;
    MatchType StencilFormat = MatchType::IgnoreInput;
    MatchType PresentFlags = MatchType::IgnoreInput;
    MatchType RefreshRate = MatchType::IgnoreInput;
    MatchType PresentInterval = MatchType::IgnoreInput;
};

// The application's veto over a candidate combination (caps, display format, back-buffer format,
// windowed, the application's context).
using IsDeviceAcceptableCallback = bool(CALLBACK*)(D3DCAPS9* caps, D3DFORMAT adapterFormat,
                                                   D3DFORMAT backBufferFormat, bool windowed, void* context);

struct AdapterInfo;
struct DeviceInfo;

// A multisample type a combination supports, with its number of quality levels.
struct MultiSampleInfo {
    D3DMULTISAMPLE_TYPE Type = D3DMULTISAMPLE_NONE;
    DWORD QualityLevels = 0;
};

// One usable pairing of display format, back-buffer format and windowed flag on one device.
struct DeviceCombination {
    UINT AdapterOrdinal = 0;
    D3DDEVTYPE DeviceType = static_cast<D3DDEVTYPE>(0);
    D3DFORMAT AdapterFormat = D3DFMT_UNKNOWN;
    D3DFORMAT BackBufferFormat = D3DFMT_UNKNOWN;
    bool Windowed = false;
    std::vector<D3DFORMAT> DepthStencilFormats;
    std::vector<MultiSampleInfo> MultiSampleTypes;
    std::vector<UINT> PresentIntervals;
    // Links into the records that hold this combination (valid while the enumeration lives).
    const AdapterInfo* Adapter = nullptr;
    const DeviceInfo* Device = nullptr;
};

// One device type of one adapter.
struct DeviceInfo {
    UINT AdapterOrdinal = 0;
    D3DDEVTYPE DeviceType = static_cast<D3DDEVTYPE>(0);
    D3DCAPS9 Caps{};
    std::vector<DeviceCombination> Combinations;
};

// One adapter: its display modes (sorted by width, height, format, refresh rate) and device types.
struct AdapterInfo {
    UINT AdapterOrdinal = 0;
    D3DADAPTER_IDENTIFIER9 Identifier{};
    std::vector<D3DDISPLAYMODE> DisplayModes;
    std::vector<DeviceInfo> Devices;
};

class DeviceEnumeration {
public:
    // Fixed options: the smallest display mode listed and the highest multisample quality counted.
    static constexpr UINT kMinimumWidth = 640;
    static constexpr UINT kMinimumHeight = 480;
    static constexpr DWORD kMaximumMultiSampleQuality = 0xFFFF;

    DeviceEnumeration() = default;
    DeviceEnumeration(const DeviceEnumeration&) = delete;
    DeviceEnumeration& operator=(const DeviceEnumeration&) = delete;

    // Lists everything again (the old lists are cleared first). focusWindow is given to the
    // throw-away device that tells whether a device type is really available.
    HRESULT Enumerate(IDirect3D9* d3d, IsDeviceAcceptableCallback isDeviceAcceptable, void* context,
                      HWND focusWindow);

    bool HasEnumerated() const { return enumerated_; }
    const std::vector<AdapterInfo>& GetAdapterInfoList() const { return adapters_; }
    // The first record with that ordinal, or null.
    const AdapterInfo* GetAdapterInfo(UINT ordinal) const;
    const DeviceInfo* GetDeviceInfo(UINT ordinal, D3DDEVTYPE deviceType) const;
    const DeviceCombination* GetDeviceCombination(UINT ordinal, D3DDEVTYPE deviceType,
                                                  D3DFORMAT adapterFormat, D3DFORMAT backBufferFormat,
                                                  bool windowed) const;

private:
    std::vector<AdapterInfo> adapters_;
    bool enumerated_ = false;
};

// Turns a partly filled wish (in, with match; null in = all zero, null match = all IgnoreInput) into
// complete, valid settings over the enumerated combinations. The device window of the result is
// windowedDeviceWindow when windowed, else fullScreenDeviceWindow. Returns
// kErrorNoCompatibleDevices when no combination fits.
HRESULT FindValidDeviceSettings(const DeviceEnumeration& enumeration, IDirect3D9* d3d, DeviceSettings* out,
                                const DeviceSettings* in, const MatchOptions* match,
                                HWND windowedDeviceWindow = nullptr, HWND fullScreenDeviceWindow = nullptr);
