// The steps of choosing device settings, free of Direct3D calls: format bit counts, the ideal
// settings a wish describes, the rank of each combination and the valid settings built from the best.
#pragma once

#include "framework/DeviceEnumeration.h"

// Colour bits per channel of a back-buffer or display format (0 for formats not known here).
UINT ColorChannelBits(D3DFORMAT format);
UINT DepthBits(D3DFORMAT format);
UINT StencilBits(D3DFORMAT format);

// The settings the wish would ideally get; used only to rank combinations. desktop is the current
// display mode of the adapter the wish names (adapter 0 when the adapter is ignored).
DeviceSettings BuildOptimalDeviceSettings(const DeviceSettings& in, const MatchOptions& match,
                                          const D3DDISPLAYMODE& desktop);

// Whether a combination keeps every field the options ask to preserve.
bool DoesCombinationMatchPreserveOptions(const DeviceCombination& c, const DeviceSettings& in,
                                         const MatchOptions& match);

// How well a combination fits the optimal settings; desktop is the current display mode of the
// combination's adapter. The combination must be linked to its adapter and device records.
float RankDeviceCombination(const DeviceCombination& c, const DeviceSettings& optimal,
                            const D3DDISPLAYMODE& desktop);

// Complete settings from the best combination, the wish and the options.
DeviceSettings BuildValidDeviceSettings(const DeviceCombination& c, const DeviceSettings& in,
                                        const MatchOptions& match, const D3DDISPLAYMODE& desktop,
                                        HWND windowedDeviceWindow, HWND fullScreenDeviceWindow);
