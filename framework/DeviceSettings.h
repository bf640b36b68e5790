// The description of a Direct3D device: what the framework chooses and creates the device with.
#pragma once

#include <d3d9.h>

struct DeviceSettings {
    UINT AdapterOrdinal = 0;
    D3DDEVTYPE DeviceType = static_cast<D3DDEVTYPE>(0);
    D3DFORMAT AdapterFormat = D3DFMT_UNKNOWN;
    DWORD BehaviorFlags = 0;
    D3DPRESENT_PARAMETERS pp{};
};
