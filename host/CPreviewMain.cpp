// The live preview inside a window that the display settings own.
#include "host/CPreviewMain.h"

CPreviewMain::CPreviewMain(HWND parent) : parent_(parent) {
    Effect().Initialize(1);
}
