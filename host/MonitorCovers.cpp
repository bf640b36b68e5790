// Black, borderless, topmost windows over the monitors the saver does not draw on.
#include "host/MonitorCovers.h"

#include "framework/DebugOutput.h"
#include "framework/Framework.h"
#include "framework/HResultError.h"

#include <utility>

namespace {

constexpr wchar_t kClassName[] = L"VitrelleMonitorCover";

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT rect, LPARAM list) {
    reinterpret_cast<std::vector<RECT>*>(list)->push_back(*rect);
    return TRUE;
}

} // namespace

std::vector<RECT> SystemMonitors() {
    std::vector<RECT> monitors;
    EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

MonitorCovers::MonitorCovers(MonitorList monitors, InputHandler onInput)
    : monitors_(std::move(monitors)), onInput_(std::move(onInput)) {}

MonitorCovers::~MonitorCovers() {
    Hide();
}

void MonitorCovers::Show(HWND deviceWindow) {
    Hide();
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    try {
        if (!windowClass_) {
            windowClass_ = FrameworkRegisterWindowClass(kClassName, &WindowProc, instance, nullptr,
                                                        static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        }
    } catch (const HResultError& error) {
        // Without covers the other monitors only show the desktop; the saver itself runs on.
        ReportIgnoredFailure(L"monitor cover class", error.Code());
        return;
    }
    RECT device{};
    GetWindowRect(deviceWindow, &device);
    const POINT middle{device.left + (device.right - device.left) / 2, device.top + (device.bottom - device.top) / 2};
    for (const RECT& monitor : monitors_()) {
        if (PtInRect(&monitor, middle)) {
            continue;
        }
        UniqueWindow cover(CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClassName, L"",
                                           WS_POPUP, monitor.left, monitor.top, monitor.right - monitor.left,
                                           monitor.bottom - monitor.top, nullptr, nullptr, instance, this));
        if (!cover) {
            ReportIgnoredFailure(L"monitor cover", HRESULT_FROM_WIN32(GetLastError()));
            continue;
        }
        ShowWindow(cover.get(), SW_SHOWNOACTIVATE);
        UpdateWindow(cover.get());
        windows_.push_back(std::move(cover));
    }
}

void MonitorCovers::Hide() {
    windows_.clear();
}

std::vector<HWND> MonitorCovers::Windows() const {
    std::vector<HWND> windows;
    for (const UniqueWindow& cover : windows_) {
        windows.push_back(cover.get());
    }
    return windows;
}

LRESULT CALLBACK MonitorCovers::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* covers = reinterpret_cast<MonitorCovers*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_MOUSEACTIVATE:
        // A click on a cover leaves the saver's window active (an inactive saver pauses).
        return MA_NOACTIVATE;
    case WM_SETCURSOR:
        SetCursor(nullptr);
        return TRUE;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONUP:
        if (covers != nullptr && covers->onInput_) {
            covers->onInput_(message, wParam);
        }
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
