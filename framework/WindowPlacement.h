// Where a windowed device's window goes so that its client area fits the back buffer.
#pragma once

#include <windows.h>

struct WindowBounds {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// adjusted: the outer rectangle for the wanted client area placed at (0, 0); work: the monitor's
// work area. The window is limited to the work area's size and centred in it unless the
// rectangle already lies inside it.
WindowBounds PlaceWindowInWorkArea(const RECT& adjusted, const RECT& work);

bool RectInside(const RECT& inner, const RECT& outer);
