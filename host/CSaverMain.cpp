// The running saver: full screen at the settings' resolution; a key or a left-button release ends it.
// F1 shows the settings dialog and the cursor over the running effect, and hides them again.
#include "host/CSaverMain.h"

#include "framework/Framework.h"
#include "host/GracePeriod.h"
#include "settings/CSettingImpl.h"

#include <algorithm>
#include <utility>

namespace {

// A hand-edited resolution stays within what a display can have.
constexpr int kLargestResolution = 16384;

} // namespace

CSaverMain::CSaverMain() : CSaverMain(&SystemMonitors) {}

CSaverMain::CSaverMain(MonitorList monitors)
    : covers_(std::move(monitors), [this](UINT message, WPARAM wParam) { OnCoverInput(message, wParam); }) {
    HostDialog(dialogHost_);
    InitializeEffect(RunModeKind::Saver);
}

CSaverMain::~CSaverMain() = default;

HRESULT CSaverMain::CreateMainWindow() {
    return FrameworkCreateWindow(Effect().GetName(), nullptr, nullptr, nullptr, CW_USEDEFAULT, CW_USEDEFAULT);
}

HRESULT CSaverMain::CreateMainDevice() {
    const auto* setting = static_cast<const CSettingImpl*>(Effect().GetSetting());
    const int width = std::clamp(setting->ScreenWidth, 0, kLargestResolution);
    const int height = std::clamp(setting->ScreenHeight, 0, kLargestResolution);
    if (SUCCEEDED(CreateDevice(false, width, height))) {
        return S_OK;
    }
    // The framework has reported the failure; the desktop's own resolution is tried once more.
    return CreateDevice(false, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

HRESULT CSaverMain::OnDeviceCreated(IDirect3DDevice9* device, const D3DSURFACE_DESC* backBuffer) {
    const HRESULT hr = CSaverBase::OnDeviceCreated(device, backBuffer);
    covers_.Show(FrameworkGetHWND());
    return hr;
}

void CSaverMain::OnDeviceDestroyed() {
    covers_.Hide();
    CSaverBase::OnDeviceDestroyed();
}

HRESULT CSaverMain::OnPostRender(IDirect3DDevice9*, double, float elapsed) {
    return dialogHost_.Render(elapsed);
}

HRESULT CSaverMain::InitSaver() {
    if (HRESULT hr = CSaverBase::InitSaver(); FAILED(hr)) {
        return hr;
    }
    dialogHost_.Create(*Effect().GetSetting(), *this);
    dialogHost_.SetVisible(false);
    return S_OK;
}

bool CSaverMain::InputEndsRun() {
    return !dialogHost_.Visible() && GracePeriodOver(dialogClosedOnce_, dialogClosedTick_, GetTickCount());
}

LRESULT CSaverMain::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              bool* noFurtherProcessing) {
    if (IsBackgroundErase(message, noFurtherProcessing)) {
        return 1;
    }
    if (dialogHost_.HandleMessage(window, message, wParam, lParam)) {
        return 0;
    }
    // The left button ends the run when it is let go, not when it is pressed; other buttons and
    // mouse movement never end it. A release that closed the dialog is inside the grace period.
    if (message == WM_LBUTTONUP && InputEndsRun()) {
        PostQuitMessage(0);
    }
    return 0;
}

void CSaverMain::OnKeyboard(UINT key, bool keyDown, bool) {
    if (dialogHost_.OnKeyboard(key, keyDown)) {
        FrameworkSetCursorSettings(dialogHost_.Visible(), true);
        return;
    }
    if (keyDown && InputEndsRun()) {
        PostQuitMessage(0);
    }
}

void CSaverMain::OnGuiEvent(UINT event, int controlId, CGuiControl* control) {
    if (!dialogHost_.Visible()) {
        return;
    }
    switch (dialogHost_.OnGuiEvent(event, controlId, control)) {
    case DialogOutcome::Saved:
        CloseDialog();
        break;
    case DialogOutcome::Cancelled:
        Effect().GetSetting()->Load(); // the file's values are back in the next frame
        CloseDialog();
        break;
    case DialogOutcome::Open:
    case DialogOutcome::SaveFailed:
        break;
    }
}

void CSaverMain::OnCoverInput(UINT message, WPARAM wParam) {
    if (message == WM_LBUTTONUP) {
        if (InputEndsRun()) {
            PostQuitMessage(0);
        }
        return;
    }
    OnKeyboard(static_cast<UINT>(wParam), true, message == WM_SYSKEYDOWN);
}

void CSaverMain::CloseDialog() {
    dialogHost_.SetVisible(false);
    FrameworkSetCursorSettings(false, true);
    dialogClosedTick_ = GetTickCount();
    dialogClosedOnce_ = true;
}
