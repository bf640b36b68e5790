// The settings run: windowed at 800 by 600 when the screen is larger, full screen otherwise; while it
// runs, the window that asked for the settings stays disabled beneath it. The settings dialog shows
// from the start; OK saves and ends the run, Cancel ends it without saving, Reset puts the defaults back.
#include "host/CSettingMain.h"

#include "framework/Framework.h"
#include "framework/DebugOutput.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

} // namespace

CSettingMain::CSettingMain(HWND parent) : parent_(parent) {
    HostDialog(dialogHost_);
    InitializeEffect(RunModeKind::Settings);
}

CSettingMain::~CSettingMain() = default;

HRESULT CSettingMain::CreateMainWindow() {
    return FrameworkCreateWindow(Effect().GetName(), nullptr, nullptr, nullptr, CW_USEDEFAULT, CW_USEDEFAULT);
}

HRESULT CSettingMain::CreateMainDevice() {
    FrameworkSetCursorSettings(true, true);
    const bool windowed = GetSystemMetrics(SM_CXSCREEN) > kWidth && GetSystemMetrics(SM_CYSCREEN) > kHeight;
    return CreateDevice(windowed, kWidth, kHeight);
}

HRESULT CSettingMain::OnPostRender(IDirect3DDevice9*, double, float elapsed) {
    return dialogHost_.Render(elapsed);
}

HRESULT CSettingMain::InitSaver() {
    if (HRESULT hr = CSaverBase::InitSaver(); FAILED(hr)) {
        return hr;
    }
    if (parent_ != nullptr) {
        parentDisabled_.emplace(parent_);
        if (!SetWindowPos(FrameworkGetHWND(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE)) {
            ReportIgnoredFailure(L"topmost window", HRESULT_FROM_WIN32(GetLastError()));
        }
    }
    dialogHost_.Create(*Effect().GetSetting(), *this);
    return S_OK;
}

void CSettingMain::ExitSaver() {
    CSaverBase::ExitSaver();
    parentDisabled_.reset();
}

LRESULT CSettingMain::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                bool* noFurtherProcessing) {
    if (IsBackgroundErase(message, noFurtherProcessing)) {
        return 1;
    }
    dialogHost_.HandleMessage(window, message, wParam, lParam);
    return 0;
}

void CSettingMain::OnKeyboard(UINT key, bool keyDown, bool) {
    dialogHost_.OnKeyboard(key, keyDown);
}

void CSettingMain::OnGuiEvent(UINT event, int controlId, CGuiControl* control) {
    switch (dialogHost_.OnGuiEvent(event, controlId, control)) {
    case DialogOutcome::Saved:
    case DialogOutcome::Cancelled:
        PostQuitMessage(0);
        break;
    case DialogOutcome::Open:
    case DialogOutcome::SaveFailed:
        break;
    }
}
