// Monitor lookup through user32 when it offers it, else one primary monitor covering the screen.
#include "framework/Monitors.h"

namespace {

using MonitorFromWindowFunction = HMONITOR(WINAPI*)(HWND, DWORD);
using GetMonitorInfoFunction = BOOL(WINAPI*)(HMONITOR, LPMONITORINFO);

// The one monitor of the fallback: a value no real monitor handle compares equal to.
const HMONITOR PrimaryMonitorFallback = reinterpret_cast<HMONITOR>(static_cast<INT_PTR>(0x12340042));

struct MonitorFunctions {
    MonitorFromWindowFunction monitorFromWindow = nullptr;
    GetMonitorInfoFunction getMonitorInfo = nullptr;

    MonitorFunctions() {
        if (HMODULE user32 = GetModuleHandleW(L"USER32")) {
            monitorFromWindow = reinterpret_cast<MonitorFromWindowFunction>(
                reinterpret_cast<void*>(GetProcAddress(user32, "MonitorFromWindow")));
            getMonitorInfo = reinterpret_cast<GetMonitorInfoFunction>(
                reinterpret_cast<void*>(GetProcAddress(user32, "GetMonitorInfoW")));
        }
    }
};

const MonitorFunctions& Functions() {
    static const MonitorFunctions functions;
    return functions;
}

} // namespace

HMONITOR FrameworkMonitorFromWindow(HWND window, DWORD flags) {
    if (Functions().monitorFromWindow) {
        return Functions().monitorFromWindow(window, flags);
    }
    return PrimaryMonitorFallback;
}

BOOL FrameworkGetMonitorInfo(HMONITOR monitor, MONITORINFO* info) {
    if (Functions().getMonitorInfo) {
        return Functions().getMonitorInfo(monitor, info);
    }
    if (monitor != PrimaryMonitorFallback || !info || info->cbSize < sizeof(MONITORINFO)) {
        return FALSE;
    }
    info->rcMonitor = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &info->rcWork, 0)) {
        info->rcWork = info->rcMonitor;
    }
    info->dwFlags = MONITORINFOF_PRIMARY;
    return TRUE;
}
