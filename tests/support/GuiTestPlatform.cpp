// The test window_ and test clock the toolkit reads while a test platform lives.
#include "support/GuiTestPlatform.h"

#include "gui/GuiPlatform.h"

namespace {

double testTime = 0.0;
HWND testWindow = nullptr;

HWND TestWindow() {
    return testWindow;
}
double TestTime() {
    return testTime;
}

} // namespace

GuiTestPlatform::GuiTestPlatform() {
    window_ = CreateWindowExW(0, L"STATIC", L"gui test", WS_OVERLAPPEDWINDOW, 100, 100, 640, 480, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    testWindow = window_;
    testTime = 0.0;
    SetGuiPlatform({&TestWindow, &TestTime});
}

GuiTestPlatform::~GuiTestPlatform() {
    SetGuiPlatform({});
    testWindow = nullptr;
    if (window_) {
        DestroyWindow(window_);
    }
}

void GuiTestPlatform::SetTime(double seconds) {
    testTime = seconds;
}
