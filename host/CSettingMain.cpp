// The settings run: windowed at 800 by 600 when the screen is larger, full screen otherwise; while it
// runs, the window that asked for the settings stays disabled beneath it.
#include "host/CSettingMain.h"

#include "framework/Framework.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

} // namespace

CSettingMain::CSettingMain(HWND parent) : parent_(parent) {
    Effect().Initialize(2);
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

HRESULT CSettingMain::InitSaver() {
    if (HRESULT hr = CSaverBase::InitSaver(); FAILED(hr)) {
        return hr;
    }
    if (parent_ != nullptr) {
        EnableWindow(parent_, FALSE);
        SetWindowPos(FrameworkGetHWND(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    // The settings dialog is built here, once the effect runs.
    return S_OK;
}

void CSettingMain::ExitSaver() {
    CSaverBase::ExitSaver();
    if (parent_ != nullptr) {
        EnableWindow(parent_, TRUE);
    }
}
