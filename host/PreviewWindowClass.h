// The window class of the preview's child window, registered for as long as this object lives.
#pragma once

#include <windows.h>

class PreviewWindowClass {
public:
    // Registers the class; a class that exists already counts as registered (and is left to its
    // owner). Any other failure is thrown as HResultError.
    PreviewWindowClass();
    PreviewWindowClass(const PreviewWindowClass&) = delete;
    PreviewWindowClass& operator=(const PreviewWindowClass&) = delete;
    // Unregisters the class when this object registered it.
    ~PreviewWindowClass();

    static constexpr const wchar_t* kName = L"DORAPreviewWindowClass";

private:
    HINSTANCE instance_;
    bool registered_ = false;
};
