// The live preview: a child window filling the parent, drawn into until the parent destroys it.
#include "host/CPreviewMain.h"

#include "framework/Framework.h"

namespace {

constexpr wchar_t kPreviewClassName[] = L"DORAPreviewWindowClass";
constexpr wchar_t kPreviewWindowName[] = L"DORAPreviewWindow";

} // namespace

CPreviewMain::CPreviewMain(HWND parent) : parent_(parent) {
    Effect().Initialize(1);
}

int CPreviewMain::Run() {
    if (parent_ == nullptr || !IsWindow(parent_)) {
        return 0;
    }
    return CSaverBase::Run();
}

HRESULT CPreviewMain::CreateMainWindow() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass{};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = FrameworkWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kPreviewClassName;
    if (RegisterClassW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        return HRESULT_FROM_WIN32(GetLastError());
    }
    RECT parentRect{};
    GetWindowRect(parent_, &parentRect);
    HWND child = CreateWindowExW(0, kPreviewClassName, kPreviewWindowName, WS_CHILD | WS_VISIBLE, 0, 0,
                                 parentRect.right - parentRect.left, parentRect.bottom - parentRect.top,
                                 parent_, nullptr, instance, nullptr);
    if (child == nullptr) {
        return HRESULT_FROM_WIN32(GetLastError());
    }
    return FrameworkSetWindow(child, child, child, true);
}

HRESULT CPreviewMain::CreateMainDevice() {
    return CreateDevice(true, 0, 0);
}

HRESULT CPreviewMain::InitSaver() {
    CSaverBase::InitSaver();
    return S_OK;
}
