// A push button: a click (mouse or space bar) sends ButtonClicked.
#pragma once

#include "gui/CGuiStatic.h"

class CGuiButton : public CGuiStatic {
public:
    explicit CGuiButton(CGuiDialog* dialog);

    void Render(IDirect3DDevice9* device, float elapsedSeconds) override;
    bool OnKeyMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnMouseMessage(UINT msg, POINT point, WPARAM wParam, LPARAM lParam) override;
    bool AcceptsFocus() override { return IsVisible() && IsEnabled(); }
    bool HitTest(POINT point) override { return CGuiControl::HitTest(point); }

    bool IsPressed() const { return pressed; }

protected:
    // The state the button is drawn in, the offset of its face and the fade rate.
    struct Look {
        ControlState state;
        int dx, dy;
        float rate;
    };
    Look CurrentLook();

    bool pressed = false;
};
