// The live preview inside a window that the display settings own.
#pragma once

#include "framework/UniqueHandle.h"
#include "host/CSaverBase.h"

#include <windows.h>

// The class of the preview's child window.
inline constexpr wchar_t kPreviewWindowClassName[] = L"DORAPreviewWindowClass";

class CPreviewMain : public CSaverBase {
public:
    explicit CPreviewMain(HWND parent);
    ~CPreviewMain() override;

    // A parent that is no window (gone before the preview started, or a bad handle) ends the
    // preview at once and normally: there is nothing to draw into, and nobody to tell.
    int Run() override;
    HRESULT CreateMainWindow() override;
    HRESULT CreateMainDevice() override;
    HRESULT InitSaver() override;

private:
    HWND parent_;
    // Registered by CreateMainWindow; unregistered when the preview is gone, after the framework has
    // closed the child window.
    UniqueWindowClass windowClass_;
};
