// One visual part of a control: a skin rectangle, a font, a text format and two fading colour sets.
#pragma once

#include "gui/CGuiStateColor.h"

struct CGuiDrawElement {
    UINT textureSlot = 0;  // dialog texture slot of the image
    UINT fontSlot = 0;     // dialog font slot of the text
    UINT textFormat = 0;   // DT_ flags for the text
    RECT textureRect = {}; // source rectangle in skin pixels
    CGuiStateColor textureColor;
    CGuiStateColor fontColor;
};
