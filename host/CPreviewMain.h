// The live preview inside a window that the display settings own.
#pragma once

#include "host/CSaverBase.h"

#include <windows.h>

class CPreviewMain : public CSaverBase {
public:
    explicit CPreviewMain(HWND parent);

    // A parent that is no window (gone before the preview started, or a bad handle) ends the
    // preview at once and normally: there is nothing to draw into, and nobody to tell.
    int Run() override;
    HRESULT CreateMainWindow() override;
    HRESULT CreateMainDevice() override;
    HRESULT InitSaver() override;

private:
    HWND parent_;
};
