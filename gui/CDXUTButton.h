// A push button: a click (mouse or space bar) sends ButtonClicked.
#pragma once

#include "gui/CDXUTStatic.h"

class CDXUTButton : public CDXUTStatic {
public:
    explicit CDXUTButton(CDXUTDialog* dialog);

    void Render(IDirect3DDevice9* device, float elapsedSeconds) override;
    bool OnKeyMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnMouseMessage(UINT msg, POINT point, WPARAM wParam, LPARAM lParam) override;
    bool AcceptsFocus() override { return IsVisible() && IsEnabled(); }
    bool HitTest(POINT point) override { return CDXUTControl::HitTest(point); }

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
