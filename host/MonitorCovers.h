// Black windows over every monitor but the one the saver draws on, so that no part of the desktop
// stays visible while the saver runs.
#pragma once

#include "framework/UniqueHandle.h"

#include <windows.h>

#include <functional>
#include <vector>

// The monitors' rectangles in virtual-screen coordinates.
using MonitorList = std::function<std::vector<RECT>()>;

// The system's monitors, as EnumDisplayMonitors lists them.
std::vector<RECT> SystemMonitors();

class MonitorCovers {
public:
    // What a cover does with a key-down (WM_KEYDOWN, WM_SYSKEYDOWN) or a left-button release
    // (WM_LBUTTONUP): the saver's own rules. Mouse movement is not passed on.
    using InputHandler = std::function<void(UINT message, WPARAM wParam)>;

    MonitorCovers(MonitorList monitors, InputHandler onInput);
    MonitorCovers(const MonitorCovers&) = delete;
    MonitorCovers& operator=(const MonitorCovers&) = delete;
    ~MonitorCovers();

    // Covers every monitor except the one that holds the middle of the device window: a borderless,
    // topmost black window each, shown without taking the activation. Covers shown before go first.
    void Show(HWND deviceWindow);
    // Destroys the covers.
    void Hide();

    std::vector<HWND> Windows() const;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    MonitorList monitors_;
    InputHandler onInput_;
    // The class outlives its windows: they are destroyed first.
    UniqueWindowClass windowClass_;
    std::vector<UniqueWindow> windows_;
};
