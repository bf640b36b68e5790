// Colour sets and their fading.
#include "gui/CGuiStateColor.h"

#include <cmath>

void CGuiStateColor::Init(D3DCOLOR defaultColor, D3DCOLOR disabledColor, D3DCOLOR hiddenColor) {
    for (D3DCOLOR& color : colors) {
        color = defaultColor;
    }
    SetColor(ControlState::Disabled, disabledColor);
    SetColor(ControlState::Hidden, hiddenColor);
    SetCurrent(hiddenColor);
}

void CGuiStateColor::Blend(ControlState state, float elapsedSeconds, float rate) {
    // A zero or negative step (or NaN) leaves the colour; a power of zero would otherwise make NaN.
    if (!(elapsedSeconds > 0.0f)) {
        return;
    }
    const float exponent = static_cast<float>(30.0f * elapsedSeconds);
    float t = 1.0f - std::pow(rate, exponent);
    if (!(t >= 0.0f)) {
        t = 0.0f;
    } else if (t > 1.0f) {
        t = 1.0f;
    }
    const D3DCOLOR target = GetColor(state);
    const float to[4] = {((target >> 16) & 0xFF) / 255.0f, ((target >> 8) & 0xFF) / 255.0f,
                         (target & 0xFF) / 255.0f, ((target >> 24) & 0xFF) / 255.0f};
    for (int i = 0; i < 4; ++i) {
        current[i] = current[i] + (to[i] - current[i]) * t;
    }
}

void CGuiStateColor::SetCurrent(D3DCOLOR color) {
    current[0] = ((color >> 16) & 0xFF) / 255.0f;
    current[1] = ((color >> 8) & 0xFF) / 255.0f;
    current[2] = (color & 0xFF) / 255.0f;
    current[3] = ((color >> 24) & 0xFF) / 255.0f;
}

D3DCOLOR CGuiStateColor::Current() const {
    return D3DCOLOR_ARGB(ChannelToByte(current[3]), ChannelToByte(current[0]), ChannelToByte(current[1]),
                         ChannelToByte(current[2]));
}

BYTE ChannelToByte(float value) {
    if (value >= 1.0f) {
        return 255;
    }
    if (!(value > 0.0f)) {
        return 0;
    }
    return static_cast<BYTE>(value * 255.0f + 0.5f);
}
