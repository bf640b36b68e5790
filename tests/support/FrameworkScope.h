// A clean framework for one test: started without message boxes, shut down and forgotten after it.
#pragma once

#include "framework/DeviceSettings.h"

#include <windows.h>

class FrameworkScope {
public:
    // Starts the framework with message boxes off (they would wait forever on the virtual display).
    explicit FrameworkScope(bool init = true);
    FrameworkScope(const FrameworkScope&) = delete;
    FrameworkScope& operator=(const FrameworkScope&) = delete;
    ~FrameworkScope();
};

// Removes every waiting message of this thread, WM_QUIT included.
void DrainMessages();

// The Alt bit of a key message's lParam.
constexpr LPARAM kAltBit = LPARAM{1} << 29;

// Makes the framework's window with this title and returns it; the test stops when that fails.
HWND OpenFrameworkWindow(const wchar_t* title);

// Presses and releases a key through the system's input queue, as a user would.
void PressKey(WORD key);

// Settings for a plain windowed HAL device on adapter 0 with the given back-buffer size.
DeviceSettings WindowedSettings(HWND window, UINT width, UINT height);

SIZE ClientSizeOf(HWND window);
RECT WorkArea();
