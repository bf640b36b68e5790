// The two things the toolkit needs from its host: the device window (for mouse capture) and the clock.
#pragma once

#include <windows.h>

// The host points these at the framework (the device window and the frame time in seconds); tests
// point them at a window of their own and a clock they control. Unset entries give no window and time 0.
struct GuiPlatform {
    HWND (*window)() = nullptr;
    double (*time)() = nullptr;
};

void SetGuiPlatform(const GuiPlatform& platform);
HWND GuiWindow();
double GuiTime();

// Mouse capture on the device window; without a window nothing is captured.
void GuiCaptureMouse();
void GuiReleaseMouse();
