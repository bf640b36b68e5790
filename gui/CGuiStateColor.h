// A colour per control state and the colour actually drawn, which glides toward the state's colour.
#pragma once

#include "gui/GuiTypes.h"

#include <d3d9.h>

class CGuiStateColor {
public:
    // Normal, Focus, MouseOver and Pressed get defaultColor; the drawn colour starts at hiddenColor.
    void Init(D3DCOLOR defaultColor, D3DCOLOR disabledColor = 0xC8808080, D3DCOLOR hiddenColor = 0x00000000);
    // Moves the drawn colour toward the state's colour: rate is the share of the distance left after
    // one thirtieth of a second (0 jumps at once).
    void Blend(ControlState state, float elapsedSeconds, float rate = 0.7f);

    void SetColor(ControlState state, D3DCOLOR color) { colors[static_cast<int>(state)] = color; }
    D3DCOLOR GetColor(ControlState state) const { return colors[static_cast<int>(state)]; }
    void SetCurrent(D3DCOLOR color);
    D3DCOLOR Current() const;
    float CurrentAlpha() const { return current[3]; }

    D3DCOLOR colors[kControlStateCount] = {};
    float current[4] = {}; // red, green, blue, alpha in 0..1
};

// One channel in 0..1 as a byte: 255 at or above 1, 0 at or below 0, else rounded.
BYTE ChannelToByte(float value);
