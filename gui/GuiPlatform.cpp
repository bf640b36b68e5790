// The host's window and clock as seen by the toolkit.
#include "gui/GuiPlatform.h"

namespace {
GuiPlatform current;
}

void SetGuiPlatform(const GuiPlatform& platform) {
    current = platform;
}

HWND GuiWindow() {
    return current.window ? current.window() : nullptr;
}

double GuiTime() {
    return current.time ? current.time() : 0.0;
}

void GuiCaptureMouse() {
    if (HWND window = GuiWindow()) {
        SetCapture(window);
    }
}

void GuiReleaseMouse() {
    ReleaseCapture();
}
