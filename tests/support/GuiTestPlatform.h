// The toolkit's platform for tests: a real window_ to capture the mouse on and a clock the test moves.
#pragma once

#include <windows.h>

// A top-level window_ for mouse capture, and the toolkit pointed at it and at a test clock.
class GuiTestPlatform {
public:
    GuiTestPlatform();
    GuiTestPlatform(const GuiTestPlatform&) = delete;
    GuiTestPlatform& operator=(const GuiTestPlatform&) = delete;
    ~GuiTestPlatform();

    HWND Window() const { return window_; }
    static void SetTime(double seconds);

private:
    HWND window_ = nullptr;
};
