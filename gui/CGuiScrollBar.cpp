// Scroll bar.
#include "gui/CGuiScrollBar.h"

#include "gui/CGuiDialog.h"
#include "gui/GuiPlatform.h"

#include <algorithm>

int CGuiScrollBar::thumbGrabOffset = 0;

CGuiScrollBar::CGuiScrollBar(CGuiDialog* owner) : CGuiControl(owner) {
    type = ControlType::ScrollBar;
}

void CGuiScrollBar::UpdateLayout() {
    boundingBox = {x, y, x + width, y + height};
    upRect = {boundingBox.left, boundingBox.top, boundingBox.right, boundingBox.top + width};
    downRect = {boundingBox.left, boundingBox.bottom - width, boundingBox.right, boundingBox.bottom};
    trackRect = {boundingBox.left, upRect.bottom, boundingBox.right, downRect.top};
    thumbRect.left = trackRect.left;
    thumbRect.right = trackRect.right;
    UpdateThumb();
}

void CGuiScrollBar::UpdateThumb() {
    const int range = end - start;
    if (pageSize < range) {
        const int trackHeight = trackRect.bottom - trackRect.top;
        const int thumbHeight = std::max(trackHeight * pageSize / range, 8);
        thumbRect.top = trackRect.top + (position - start) * (trackHeight - thumbHeight) / (range - pageSize);
        thumbRect.bottom = thumbRect.top + thumbHeight;
        showThumb = true;
    } else {
        thumbRect.bottom = thumbRect.top;
        showThumb = false;
    }
}

void CGuiScrollBar::Cap() {
    if (position < start || pageSize >= end - start) {
        position = start;
    } else if (position + pageSize > end) {
        position = end - pageSize;
    }
    UpdateThumb();
}

// An end below the start is read as an empty range.
void CGuiScrollBar::SetRangeLimits(int newStart, int newEnd) {
    start = newStart;
    end = std::max(newEnd, newStart);
    Cap();
}

// A page holds at least one item.
void CGuiScrollBar::SetPageSize(int size) {
    pageSize = std::max(size, 1);
    Cap();
}

void CGuiScrollBar::ScrollBy(int delta) {
    position += delta;
    Cap();
}

void CGuiScrollBar::EnsureVisible(int index) {
    index = std::max(0, std::min(index, end - 1));
    if (index < position) {
        position = index;
    } else if (index >= position + pageSize) {
        position = index - pageSize + 1;
    }
    UpdateThumb();
}

bool CGuiScrollBar::HandleMessage(UINT msg, WPARAM, LPARAM lParam) {
    if (msg == WM_CAPTURECHANGED && reinterpret_cast<HWND>(lParam) != GuiWindow()) {
        dragging = false;
    }
    return false;
}

bool CGuiScrollBar::OnButtonDown(POINT point) {
    if (PointInRect(upRect, point)) {
        GuiCaptureMouse();
        if (position > start) {
            --position;
        }
        UpdateThumb();
        arrowState = Arrow::UpClicked;
        arrowTime = GuiTime();
        return true;
    }
    if (PointInRect(downRect, point)) {
        GuiCaptureMouse();
        if (position + pageSize < end) {
            ++position;
        }
        UpdateThumb();
        arrowState = Arrow::DownClicked;
        arrowTime = GuiTime();
        return true;
    }
    if (PointInRect(thumbRect, point)) {
        GuiCaptureMouse();
        dragging = true;
        thumbGrabOffset = point.y - thumbRect.top;
        return true;
    }
    if (point.x >= thumbRect.left && point.x < thumbRect.right) {
        GuiCaptureMouse();
        if (point.y >= trackRect.top && point.y < thumbRect.top) {
            ScrollBy(-(pageSize - 1));
            return true;
        }
        if (point.y >= thumbRect.bottom && point.y < trackRect.bottom) {
            ScrollBy(pageSize - 1);
            return true;
        }
    }
    return false;
}

// The thumb follows the pointer inside the track; the position is the nearest item to it.
void CGuiScrollBar::DragThumb(POINT point) {
    const int thumbHeight = thumbRect.bottom - thumbRect.top;
    thumbRect.top = point.y - thumbGrabOffset;
    thumbRect.bottom = thumbRect.top + thumbHeight;
    if (thumbRect.top < trackRect.top) {
        thumbRect = OffsetRectBy(thumbRect, 0, trackRect.top - thumbRect.top);
    } else if (thumbRect.bottom > trackRect.bottom) {
        thumbRect = OffsetRectBy(thumbRect, 0, trackRect.bottom - thumbRect.bottom);
    }
    const int maxFirst = end - pageSize - start;
    const int maxThumb = (trackRect.bottom - trackRect.top) - thumbHeight;
    if (maxFirst <= 0 || maxThumb <= 0) {
        return; // the thumb fills the track: nothing to scroll
    }
    position = start + (thumbRect.top - trackRect.top + maxThumb / (2 * maxFirst)) * maxFirst / maxThumb;
    position = std::clamp(position, start, start + maxFirst);
}

bool CGuiScrollBar::OnMouseMessage(UINT msg, POINT point, WPARAM, LPARAM) {
    lastMouse = point;
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return OnButtonDown(point);
    case WM_LBUTTONUP:
        dragging = false;
        GuiReleaseMouse();
        UpdateThumb();
        arrowState = Arrow::None;
        return false;
    case WM_MOUSEMOVE:
        if (!dragging) {
            return false;
        }
        DragThumb(point);
        return true;
    default:
        return false;
    }
}

// The first step happened at the click; one more after kFirstRepeatDelay, then one every kRepeatInterval,
// while the pointer stays on the arrow that was clicked.
void CGuiScrollBar::UpdateArrowRepeat(double now) {
    const bool up = arrowState == Arrow::UpClicked || arrowState == Arrow::UpHeld;
    const bool down = arrowState == Arrow::DownClicked || arrowState == Arrow::DownHeld;
    if ((up && PointInRect(upRect, lastMouse)) || (down && PointInRect(downRect, lastMouse))) {
        const bool clicked = arrowState == Arrow::UpClicked || arrowState == Arrow::DownClicked;
        if (now - arrowTime > (clicked ? kFirstRepeatDelay : kRepeatInterval)) {
            ScrollBy(up ? -1 : 1);
            arrowState = up ? Arrow::UpHeld : Arrow::DownHeld;
            arrowTime = now;
        }
    }
}

ControlState CGuiScrollBar::CurrentState() {
    if (!visible) {
        return ControlState::Hidden;
    }
    if (!enabled || !showThumb) {
        return ControlState::Disabled;
    }
    if (mouseOver) {
        return ControlState::MouseOver;
    }
    if (hasFocus) {
        return ControlState::Focus;
    }
    return ControlState::Normal;
}

void CGuiScrollBar::Render(IDirect3DDevice9*, float elapsedSeconds) {
    if (arrowState != Arrow::None) {
        UpdateArrowRepeat(GuiTime());
    }
    const ControlState state = CurrentState();
    const RECT* rects[4] = {&trackRect, &upRect, &downRect, &thumbRect};
    for (UINT i = 0; i < 4 && i < elements.size(); ++i) {
        elements[i].textureColor.Blend(state, elapsedSeconds, 0.8f);
        dialog->DrawElementImage(&elements[i], rects[i]);
    }
}
