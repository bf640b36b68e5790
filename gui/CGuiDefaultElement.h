// An entry of a dialog's default-element table: the look of one element of one control type.
#pragma once

#include "gui/CGuiDrawElement.h"

struct CGuiDefaultElement {
    UINT controlType = 0;
    UINT elementIndex = 0;
    CGuiDrawElement element;
};
