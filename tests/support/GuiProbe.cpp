// Helpers for driving a dialog with window messages in tests.
#include "support/GuiProbe.h"

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

size_t EventLog::Count(GuiEvent event) const {
    size_t count = 0;
    for (const RecordedEvent& recorded : events) {
        count += recorded.event == static_cast<UINT>(event) ? 1 : 0;
    }
    return count;
}

void EventLog::Callback(UINT event, int id, CDXUTControl* control, void* userContext) {
    auto* log = static_cast<EventLog*>(userContext);
    log->events.push_back({event, id, control});
    if (log->hook) {
        log->hook(*log, event, id, control);
    }
}

GuiTestPlatform::GuiTestPlatform() {
    window = CreateWindowExW(0, L"STATIC", L"gui test", WS_OVERLAPPEDWINDOW, 100, 100, 640, 480, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    testWindow = window;
    testTime = 0.0;
    SetGuiPlatform({&TestWindow, &TestTime});
}

GuiTestPlatform::~GuiTestPlatform() {
    SetGuiPlatform({});
    testWindow = nullptr;
    if (window) {
        DestroyWindow(window);
    }
}

void GuiTestPlatform::SetTime(double seconds) {
    testTime = seconds;
}

DialogProbe::DialogProbe() {
    dialog.Init(&resources);
    log.Attach(dialog);
}

bool DialogProbe::Send(UINT msg, WPARAM wParam, LPARAM lParam) {
    return dialog.HandleMessage(platform.Window(), msg, wParam, lParam);
}

bool DialogProbe::WheelDelta(int delta, int x, int y) {
    POINT screen = {x, y};
    ClientToScreen(platform.Window(), &screen);
    const WPARAM wParam = MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta)));
    return Send(WM_MOUSEWHEEL, wParam, MAKELPARAM(screen.x, screen.y));
}
