// A horizontal slider over an integer range, moved by dragging its thumb, clicking its track, keys and wheel.
#pragma once

#include "gui/CGuiControl.h"

class CGuiSlider : public CGuiControl {
public:
    explicit CGuiSlider(CGuiDialog* dialog);

    void Render(IDirect3DDevice9* device, float elapsedSeconds) override;
    bool OnKeyMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnMouseMessage(UINT msg, POINT point, WPARAM wParam, LPARAM lParam) override;
    bool AcceptsFocus() override { return IsVisible() && IsEnabled(); }
    // The thumb overhangs the ends of the track by half its width.
    bool HitTest(POINT point) override;
    void UpdateLayout() override;

    // Programmatic changes: no event.
    void SetValue(int newValue) { ChangeValue(newValue, false); }
    int GetValue() const { return value; }
    void SetRange(int newMin, int newMax);
    int GetMin() const { return min; }
    int GetMax() const { return max; }
    bool IsPressed() const { return pressed; }
    const RECT& GetThumbRect() const { return thumbRect; }
    int GetThumbX() const { return thumbX; }

    // The value whose thumb centre lies at px - x (px in dialog coordinates).
    int ValueAtX(int px) const;

private:
    bool OnButtonDown(POINT point);
    // Clamps into the range; when the value changes, lays out and, for user input, sends the event.
    void ChangeValue(long long newValue, bool fromUser);

    int value = 50;
    int min = 0;
    int max = 100;
    int dragOffset = 0;
    int thumbX = 0;
    bool pressed = false;
    RECT thumbRect = {};
};
