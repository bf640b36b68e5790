// Slider.
#include "gui/CGuiSlider.h"

#include "gui/CGuiDialog.h"
#include "gui/GuiPlatform.h"

#include <algorithm>

CGuiSlider::CGuiSlider(CGuiDialog* owner) : CGuiControl(owner) {
    type = ControlType::Slider;
}

bool CGuiSlider::HitTest(POINT point) {
    return PointInRect(boundingBox, point) || PointInRect(thumbRect, point);
}

// An empty range (min at or above max) or a zero width puts the thumb at the left end.
void CGuiSlider::UpdateLayout() {
    boundingBox = {x, y, x + width, y + height};
    thumbRect = {x - height / 2, y, x - height / 2 + height, y + height};
    thumbX = 0;
    const long long span = static_cast<long long>(max) - min;
    if (span > 0) {
        thumbX = static_cast<int>((static_cast<double>(value) - min) * width / static_cast<double>(span));
    }
    thumbRect = OffsetRectBy(thumbRect, thumbX, 0);
}

int CGuiSlider::ValueAtX(int px) const {
    if (width <= 0) {
        return min;
    }
    const float perPixel = static_cast<float>((static_cast<double>(max) - min) / width);
    const double result =
        static_cast<double>(perPixel) * (static_cast<double>(px) - boundingBox.left) + min + 0.5;
    return static_cast<int>(std::clamp(result, -2147483648.0, 2147483647.0));
}

void CGuiSlider::SetRange(int newMin, int newMax) {
    min = newMin;
    max = newMax;
    int clamped = std::max(value, min);
    clamped = std::min(clamped, max);
    if (clamped != value) {
        value = clamped;
    }
    UpdateLayout();
}

void CGuiSlider::ChangeValue(long long newValue, bool fromUser) {
    newValue = std::max<long long>(newValue, min);
    newValue = std::min<long long>(newValue, max);
    if (newValue == value) {
        return;
    }
    value = static_cast<int>(newValue);
    UpdateLayout();
    if (fromUser) {
        dialog->SendEvent(GuiEvent::SliderValueChanged, this);
    }
}

bool CGuiSlider::OnKeyMessage(UINT msg, WPARAM wParam, LPARAM) {
    if (!CanTakeInput() || msg != WM_KEYDOWN) {
        return false;
    }
    const long long tenth = (static_cast<long long>(max) - min) / 10;
    const long long step = tenth > 9 ? tenth : 10;
    long long target = value;
    switch (wParam) {
    case VK_HOME:
        target = min;
        break;
    case VK_END:
        target = max;
        break;
    case VK_LEFT:
    case VK_DOWN:
        target = static_cast<long long>(value) - 1;
        break;
    case VK_RIGHT:
    case VK_UP:
        target = static_cast<long long>(value) + 1;
        break;
    case VK_NEXT:
        target = value - step;
        break;
    case VK_PRIOR:
        target = value + step;
        break;
    default:
        return false;
    }
    ChangeValue(target, true);
    return true;
}

bool CGuiSlider::OnButtonDown(POINT point) {
    if (PointInRect(thumbRect, point)) {
        pressed = true;
        GuiCaptureMouse();
        dragOffset = thumbX - point.x;
        if (!hasFocus) {
            dialog->FocusControl(this);
        }
        return true;
    }
    if (!PointInRect(boundingBox, point)) {
        return false;
    }
    pressed = true;
    if (!hasFocus) {
        dialog->FocusControl(this);
    }
    // A click on the track steps by one toward the pointer. A drag that follows moves the thumb by the
    // pointer's movement from here, as a drag of the thumb does, so a click never jumps.
    long long target = value;
    if (point.x > x + thumbX) {
        target = static_cast<long long>(value) + 1;
    } else if (point.x < x + thumbX) {
        target = static_cast<long long>(value) - 1;
    }
    const int valueBefore = value;
    ChangeValue(target, false);
    dragOffset = thumbX - point.x;
    if (value != valueBefore) {
        dialog->SendEvent(GuiEvent::SliderValueChanged, this); // last: the callback may delete this slider
    }
    return true;
}

bool CGuiSlider::OnMouseMessage(UINT msg, POINT point, WPARAM wParam, LPARAM) {
    if (!CanTakeInput()) {
        return false;
    }
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return OnButtonDown(point);
    case WM_MOUSEMOVE:
        if (!pressed) {
            return false;
        }
        ChangeValue(ValueAtX(x + point.x + dragOffset), true);
        return true;
    case WM_LBUTTONUP:
        if (!pressed) {
            return false;
        }
        pressed = false;
        GuiReleaseMouse();
        dialog->SendEvent(GuiEvent::SliderValueChanged, this);
        return true;
    case WM_MOUSEWHEEL: {
        const int notches = static_cast<short>(HIWORD(wParam)) / 120;
        ChangeValue(static_cast<long long>(value) - notches, true);
        return true;
    }
    default:
        return false;
    }
}

void CGuiSlider::Render(IDirect3DDevice9*, float elapsedSeconds) {
    if (elements.size() < 2) {
        return;
    }
    ControlState state = ControlState::Normal;
    if (!visible) {
        state = ControlState::Hidden;
    } else if (!enabled) {
        state = ControlState::Disabled;
    } else if (pressed) {
        state = ControlState::Pressed;
    } else if (mouseOver) {
        state = ControlState::MouseOver;
    } else if (hasFocus) {
        state = ControlState::Focus;
    }
    const float rate = state == ControlState::Pressed ? 0.0f : 0.8f;
    elements[0].textureColor.Blend(state, elapsedSeconds, rate);
    dialog->DrawElementImage(&elements[0], &boundingBox);
    elements[1].textureColor.Blend(state, elapsedSeconds, rate);
    dialog->DrawElementImage(&elements[1], &thumbRect);
}
