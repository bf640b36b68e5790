// Helpers for driving a dialog with window messages in tests: an event log, a clock the test moves,
// and a real window to capture the mouse on.
#pragma once

#include "gui/CDXUTDialog.h"

#include <vector>

struct RecordedEvent {
    UINT event;
    int id;
    CDXUTControl* control;
};

// Collects the events a dialog sends; an optional hook runs inside the callback.
class EventLog {
public:
    using Hook = void (*)(EventLog& log, UINT event, int id, CDXUTControl* control);

    void Attach(CDXUTDialog& dialog) { dialog.SetCallback(&EventLog::Callback, this); }
    size_t Count() const { return events.size(); }
    size_t Count(GuiEvent event) const;
    const RecordedEvent& Last() const { return events.back(); }
    void Clear() { events.clear(); }

    std::vector<RecordedEvent> events;
    Hook hook = nullptr;
    void* context = nullptr;

private:
    static void Callback(UINT event, int id, CDXUTControl* control, void* userContext);
};

// A top-level window for mouse capture, and the toolkit pointed at it and at a test clock.
class GuiTestPlatform {
public:
    GuiTestPlatform();
    GuiTestPlatform(const GuiTestPlatform&) = delete;
    GuiTestPlatform& operator=(const GuiTestPlatform&) = delete;
    ~GuiTestPlatform();

    HWND Window() const { return window; }
    static void SetTime(double seconds);

private:
    HWND window = nullptr;
};

// A dialog bound to a cache without a device, with an event log attached.
struct DialogProbe {
    DialogProbe();

    GuiTestPlatform platform;
    CDXUTDialogResources resources;
    CDXUTDialog dialog;
    EventLog log;

    bool Send(UINT msg, WPARAM wParam, LPARAM lParam);
    bool MouseDown(int x, int y) { return Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
    bool MouseUp(int x, int y) { return Send(WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }
    bool MouseMove(int x, int y, bool buttonDown = false) {
        return Send(WM_MOUSEMOVE, buttonDown ? MK_LBUTTON : 0, MAKELPARAM(x, y));
    }
    bool Click(int x, int y) {
        const bool down = MouseDown(x, y);
        const bool up = MouseUp(x, y);
        return down || up;
    }
    // Wheel notches (positive: forward) at a point in client coordinates.
    bool Wheel(int notches, int x, int y) { return WheelDelta(notches * WHEEL_DELTA, x, y); }
    bool WheelDelta(int delta, int x, int y);
    bool KeyDown(WPARAM key, bool repeat = false) { return Send(WM_KEYDOWN, key, repeat ? (1 << 30) : 0); }
    bool KeyUp(WPARAM key) { return Send(WM_KEYUP, key, 0xC0000001); }
};
