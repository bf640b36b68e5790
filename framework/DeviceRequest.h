// The wishes the framework's own device changes make: device creation, the switch between window and
// full screen, and the switch between the hardware and the reference device.
#pragma once

#include "framework/DeviceEnumeration.h"

// A wish with its match options, as the framework's own device changes put them.
struct DeviceRequest {
    DeviceSettings In;
    MatchOptions Match;
};

// Device creation: adapter and windowed flag kept, the size closest to the suggestion when windowed
// or when both suggested sides are non-zero, everything else free.
DeviceRequest MakeCreationRequest(UINT adapterOrdinal, bool windowed, UINT width, UINT height);

// The switch between window and full screen, to the mode toWindowed names: the current settings with
// that windowed flag and the size saved for that mode (ignored when none was saved, 0 by 0).
DeviceRequest MakeWindowModeToggleRequest(const DeviceSettings& current, bool toWindowed, UINT savedWidth,
                                          UINT savedHeight);

// The switch between the hardware and the reference device: HAL and REF exchanged and kept, the
// adapter kept, everything else as close as possible.
DeviceRequest MakeReferenceToggleRequest(const DeviceSettings& current);
