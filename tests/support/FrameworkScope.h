// A clean framework for one test: started without message boxes, shut down and forgotten after it.
#pragma once

#include "framework/DeviceSettings.h"

#include <windows.h>

#include <string>
#include <vector>

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

// Settings for a plain windowed HAL device on adapter 0 with the given back-buffer size.
DeviceSettings WindowedSettings(HWND window, UINT width, UINT height);

SIZE ClientSizeOf(HWND window);
RECT WorkArea();

// Records the device callbacks in the order they come.
struct CallbackLog {
    std::vector<std::string> calls;
    HRESULT createdResult = S_OK;
    HRESULT resetResult = S_OK;
    void Install();
    std::string Joined() const;
};

// Shows what a message box said and closes it at once: caption and text of each box shown while
// the catcher lives on this thread.
class MessageBoxCatcher {
public:
    MessageBoxCatcher();
    MessageBoxCatcher(const MessageBoxCatcher&) = delete;
    MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;
    ~MessageBoxCatcher();

    struct Box {
        std::wstring caption;
        std::wstring text;
    };
    static std::vector<Box>& Boxes();

private:
    HHOOK hook_ = nullptr;
};
