// Which monitor a window is on, and that monitor's rectangles, with a one-monitor fallback.
#pragma once

#include <windows.h>

// MonitorFromWindow and GetMonitorInfoW, looked up in user32 at first use. Where they are missing,
// every window belongs to one primary monitor whose rectangle is the screen and whose work area is
// the system's work area.
HMONITOR FrameworkMonitorFromWindow(HWND window, DWORD flags);
BOOL FrameworkGetMonitorInfo(HMONITOR monitor, MONITORINFO* info);
