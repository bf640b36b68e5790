// The live preview: a child window filling the parent, drawn into until the parent destroys it.
#include "host/CPreviewMain.h"

#include "framework/Framework.h"
#include "host/DebugOutput.h"

namespace {

constexpr wchar_t kPreviewWindowName[] = L"DORAPreviewWindow";

} // namespace

CPreviewMain::CPreviewMain(HWND parent) : parent_(parent) {
    InitializeEffect(RunModeKind::Preview);
}

CPreviewMain::~CPreviewMain() = default;

int CPreviewMain::Run() {
    if (parent_ == nullptr || !IsWindow(parent_)) {
        return 0;
    }
    return CSaverBase::Run();
}

HRESULT CPreviewMain::CreateMainWindow() {
    windowClass_.emplace();
    RECT parentRect{};
    GetWindowRect(parent_, &parentRect);
    HWND child = CreateWindowExW(0, PreviewWindowClass::kName, kPreviewWindowName, WS_CHILD | WS_VISIBLE, 0,
                                 0, parentRect.right - parentRect.left, parentRect.bottom - parentRect.top,
                                 parent_, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (child == nullptr) {
        return HRESULT_FROM_WIN32(GetLastError());
    }
    return FrameworkSetWindow(child, child, child, true);
}

HRESULT CPreviewMain::CreateMainDevice() {
    return CreateDevice(true, 0, 0);
}

// The preview draws on whatever the effect's start left; a failure goes to the debug output only.
HRESULT CPreviewMain::InitSaver() {
    WriteIgnoredFailure(L"effect start", CSaverBase::InitSaver());
    return S_OK;
}
