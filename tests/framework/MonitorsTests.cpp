// Monitor lookup through the framework's wrappers.
#include "framework/Monitors.h"

#include <doctest/doctest.h>

TEST_SUITE("framework") {

TEST_CASE("Monitors: a window's monitor covers the screen and holds the work area") {
    HWND window = CreateWindowExW(0, L"STATIC", L"monitor test", WS_POPUP, 10, 10, 100, 100, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    REQUIRE(window != nullptr);
    const HMONITOR monitor = FrameworkMonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY);
    CHECK(monitor == MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY));

    MONITORINFO info{};
    info.cbSize = sizeof info;
    REQUIRE(FrameworkGetMonitorInfo(monitor, &info));
    CHECK(info.rcMonitor.left == 0);
    CHECK(info.rcMonitor.top == 0);
    CHECK(info.rcMonitor.right == GetSystemMetrics(SM_CXSCREEN));
    CHECK(info.rcMonitor.bottom == GetSystemMetrics(SM_CYSCREEN));
    CHECK(info.rcWork.right <= info.rcMonitor.right);
    CHECK(info.rcWork.bottom <= info.rcMonitor.bottom);
    CHECK((info.dwFlags & MONITORINFOF_PRIMARY) != 0);
    DestroyWindow(window);
}

} // TEST_SUITE
