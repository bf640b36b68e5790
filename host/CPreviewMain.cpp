// The live preview: a child window filling the parent, drawn into until the parent destroys it.
#include "host/CPreviewMain.h"

#include "framework/DebugOutput.h"
#include "framework/Framework.h"
#include "framework/HResultError.h"

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
    return ResultOf([&] {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        windowClass_ =
            FrameworkRegisterWindowClass(kPreviewWindowClassName, FrameworkWindowProc, instance, nullptr,
                                         static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        RECT parentRect{};
        GetWindowRect(parent_, &parentRect);
        UniqueWindow child(CreateWindowExW(0, kPreviewWindowClassName, kPreviewWindowName,
                                           WS_CHILD | WS_VISIBLE, 0, 0, parentRect.right - parentRect.left,
                                           parentRect.bottom - parentRect.top, parent_, nullptr, instance,
                                           nullptr));
        if (!child) {
            throw HResultError(HRESULT_FROM_WIN32(GetLastError()));
        }
        ThrowIfFailed(FrameworkSetWindow(child.get(), child.get(), child.get(), true));
        // The framework closes the window from now on.
        static_cast<void>(child.release());
    });
}

HRESULT CPreviewMain::CreateMainDevice() {
    return CreateDevice(true, 0, 0);
}

// The preview draws on whatever the effect's start left; a failure goes to the debug output only.
HRESULT CPreviewMain::InitSaver() {
    ReportIgnoredFailure(L"effect start", CSaverBase::InitSaver());
    return S_OK;
}
