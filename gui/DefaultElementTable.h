// The built-in look of every control type: which skin rectangle, text format and colours each element has.
#pragma once

#include "gui/GuiTypes.h"

#include <d3d9.h>

#include <span>

struct DefaultElementRow {
    ControlType type;
    UINT index;
    RECT textureRect; // empty for an element without image
    UINT textFormat;
    D3DCOLOR textureColors[kControlStateCount]; // Normal, Disabled, Hidden, Focus, MouseOver, Pressed
    D3DCOLOR fontColors[kControlStateCount];
};

// The rows in registration order.
std::span<const DefaultElementRow> DefaultElementRows();
