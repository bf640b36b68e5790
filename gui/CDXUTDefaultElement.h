// An entry of a dialog's default-element table: the look of one element of one control type.
#pragma once

#include "gui/CDXUTDrawElement.h"

struct CDXUTDefaultElement {
    UINT controlType = 0;
    UINT elementIndex = 0;
    CDXUTDrawElement element;
};
