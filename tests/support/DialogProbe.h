// A dialog driven with window messages in tests, with its event log and test platform.
#pragma once

#include "gui/CGuiDialog.h"
#include "support/EventLog.h"
#include "support/GuiTestPlatform.h"

// A dialog bound to a cache without a device, with an event log attached.
struct DialogProbe {
    DialogProbe();

    GuiTestPlatform platform;
    CGuiDialogResources resources;
    CGuiDialog dialog;
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
