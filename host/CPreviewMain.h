// The live preview inside a window that the display settings own.
#pragma once

#include "host/CSaverBase.h"

#include <windows.h>

class CPreviewMain : public CSaverBase {
public:
    explicit CPreviewMain(HWND parent);

private:
    HWND parent_;
};
