// Placement of a windowed device's window inside its monitor's work area.
#include "framework/WindowPlacement.h"

#include <algorithm>

bool RectInside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

WindowBounds PlaceWindowInWorkArea(const RECT& adjusted, const RECT& work) {
    const int workWidth = work.right - work.left;
    const int workHeight = work.bottom - work.top;
    WindowBounds bounds;
    bounds.width = std::min(static_cast<int>(adjusted.right - adjusted.left), workWidth);
    bounds.height = std::min(static_cast<int>(adjusted.bottom - adjusted.top), workHeight);
    if (RectInside(adjusted, work)) {
        bounds.x = adjusted.left;
        bounds.y = adjusted.top;
    } else {
        // Integer division rounds toward zero.
        bounds.x = work.left + (workWidth - bounds.width) / 2;
        bounds.y = work.top + (workHeight - bounds.height) / 2;
    }
    return bounds;
}
