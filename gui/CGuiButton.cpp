// Push button.
#include "gui/CGuiButton.h"

#include "gui/CGuiDialog.h"
#include "gui/GuiPlatform.h"

CGuiButton::CGuiButton(CGuiDialog* owner) : CGuiStatic(owner) {
    type = ControlType::Button;
}

bool CGuiButton::OnKeyMessage(UINT msg, WPARAM wParam, LPARAM) {
    if (!CanTakeInput() || wParam != VK_SPACE) {
        return false;
    }
    if (msg == WM_KEYDOWN) {
        pressed = true;
        return true;
    }
    if (msg == WM_KEYUP) {
        if (pressed) {
            pressed = false;
            dialog->SendEvent(GuiEvent::ButtonClicked, this); // last: the callback may delete this button
        }
        return true;
    }
    return false;
}

bool CGuiButton::OnMouseMessage(UINT msg, POINT point, WPARAM, LPARAM) {
    if (!CanTakeInput()) {
        return false;
    }
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!HitTest(point)) {
            return false;
        }
        pressed = true;
        GuiCaptureMouse();
        if (!hasFocus) {
            dialog->FocusControl(this);
        }
        return true;
    case WM_LBUTTONUP: {
        if (!pressed) {
            return false;
        }
        pressed = false;
        GuiReleaseMouse();
        dialog->DropFocus();
        // Released outside the button: the click is cancelled.
        if (HitTest(point)) {
            dialog->SendEvent(GuiEvent::ButtonClicked, this); // last: the callback may delete this button
        }
        return true;
    }
    default:
        return false;
    }
}

CGuiButton::Look CGuiButton::CurrentLook() {
    if (!visible) {
        return {ControlState::Hidden, 0, 0, 0.8f};
    }
    if (!enabled) {
        return {ControlState::Disabled, 0, 0, 0.8f};
    }
    if (pressed) {
        return {ControlState::Pressed, 1, 2, 0.0f};
    }
    if (mouseOver) {
        return {ControlState::MouseOver, -1, -2, 0.8f};
    }
    if (hasFocus) {
        return {ControlState::Focus, 0, 0, 0.8f};
    }
    return {ControlState::Normal, 0, 0, 0.8f};
}

// Also drawn while invisible, so a hidden button fades out.
void CGuiButton::Render(IDirect3DDevice9*, float elapsedSeconds) {
    const Look look = CurrentLook();
    const RECT rect = OffsetRectBy(boundingBox, look.dx, look.dy);
    for (UINT i = 0; i < 2 && i < elements.size(); ++i) {
        CGuiDrawElement& element = elements[i];
        element.textureColor.Blend(look.state, elapsedSeconds, look.rate);
        element.fontColor.Blend(look.state, elapsedSeconds, look.rate);
        dialog->DrawElementImage(&element, &rect);
        dialog->DrawElementText(text.c_str(), &element, &rect, false);
    }
}
