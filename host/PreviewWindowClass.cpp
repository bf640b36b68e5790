// The window class of the preview's child window, registered for as long as this object lives.
#include "host/PreviewWindowClass.h"

#include "framework/Framework.h"
#include "framework/HResultError.h"

PreviewWindowClass::PreviewWindowClass() : instance_(GetModuleHandleW(nullptr)) {
    WNDCLASSW windowClass{};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = FrameworkWindowProc;
    windowClass.hInstance = instance_;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kName;
    if (RegisterClassW(&windowClass) != 0) {
        registered_ = true;
    } else if (const DWORD error = GetLastError(); error != ERROR_CLASS_ALREADY_EXISTS) {
        throw HResultError(HRESULT_FROM_WIN32(error));
    }
}

PreviewWindowClass::~PreviewWindowClass() {
    if (registered_) {
        UnregisterClassW(kName, instance_);
    }
}
