// The running saver: full screen at the settings' resolution; a key or a left-button release ends it.
// F1 shows the settings dialog and the cursor over the running effect, and hides them again.
#include "host/CSaverMain.h"

#include "framework/Framework.h"
#include "gui/GuiTypes.h"
#include "host/DialogHosting.h"
#include "host/GracePeriod.h"
#include "settings/CSettingDialogImpl.h"
#include "settings/CSettingImpl.h"

#include <algorithm>

namespace {

// A hand-edited resolution stays within what a display can have.
constexpr int kLargestResolution = 16384;

} // namespace

CSaverMain::CSaverMain() : dialog_(CreateSettingDialog()) {
    Effect().Initialize(0);
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

HRESULT CSaverMain::OnPostRender(IDirect3DDevice9*, double, float elapsed) {
    return DialogVisible() ? dialog_->Dialog().Render(elapsed) : S_OK;
}

HRESULT CSaverMain::InitSaver() {
    if (HRESULT hr = CSaverBase::InitSaver(); FAILED(hr)) {
        return hr;
    }
    ConnectGuiToFramework();
    dialog_->Create(Effect().GetSetting(), &resources_);
    dialog_->Dialog().SetCallback(&ForwardGuiEvent, this);
    dialog_->Dialog().SetVisible(false);
    return S_OK;
}

HRESULT CSaverMain::OnDeviceCreated(IDirect3DDevice9* device, const D3DSURFACE_DESC* backBuffer) {
    resources_.CreateDeviceObjects(device);
    return CSaverBase::OnDeviceCreated(device, backBuffer);
}

HRESULT CSaverMain::OnDeviceReset(IDirect3DDevice9* device, const D3DSURFACE_DESC* backBuffer) {
    resources_.ResetDeviceObjects();
    return CSaverBase::OnDeviceReset(device, backBuffer);
}

void CSaverMain::OnDeviceLost() {
    CSaverBase::OnDeviceLost();
    resources_.LoseDeviceObjects();
}

void CSaverMain::OnDeviceDestroyed() {
    CSaverBase::OnDeviceDestroyed();
    resources_.DestroyDeviceObjects();
}

bool CSaverMain::InputEndsRun() {
    return !DialogVisible() && GracePeriodOver(dialogClosedOnce_, dialogClosedTick_, GetTickCount());
}

LRESULT CSaverMain::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              bool* noFurtherProcessing) {
    if (IsBackgroundErase(message, noFurtherProcessing)) {
        return 1;
    }
    resources_.HandleMessage(window, message, wParam, lParam);
    if (DialogVisible()) {
        dialog_->Dialog().HandleMessage(window, message, wParam, lParam);
    }
    // The left button ends the run when it is let go, not when it is pressed; other buttons and
    // mouse movement never end it. A release that closed the dialog is inside the grace period.
    if (message == WM_LBUTTONUP && InputEndsRun()) {
        PostQuitMessage(0);
    }
    return 0;
}

void CSaverMain::OnKeyboard(UINT key, bool keyDown, bool) {
    if (!keyDown) {
        return;
    }
    if (key == VK_F1) {
        CGuiDialog& dialog = dialog_->Dialog();
        dialog.SetVisible(!dialog.IsVisible());
        FrameworkSetCursorSettings(dialog.IsVisible(), true);
        return;
    }
    if (InputEndsRun()) {
        PostQuitMessage(0);
    }
}

void CSaverMain::OnGuiEvent(UINT event, int controlId, CGuiControl* control) {
    if (!DialogVisible()) {
        return;
    }
    dialog_->OnGuiEvent(event, controlId, control);
    if (event != static_cast<UINT>(GuiEvent::ButtonClicked)) {
        return;
    }
    CSetting& setting = *Effect().GetSetting();
    switch (controlId) {
    case CSettingDialogImpl::IdOk:
        setting.Save();
        CloseDialog();
        break;
    case CSettingDialogImpl::IdCancel:
        setting.Load(); // the file's values are back in the next frame
        CloseDialog();
        break;
    case CSettingDialogImpl::IdReset:
        setting.SetDefaults();
        dialog_->Create(&setting, &resources_);
        break;
    default:
        break;
    }
}

void CSaverMain::CloseDialog() {
    dialog_->Dialog().SetVisible(false);
    FrameworkSetCursorSettings(false, true);
    dialogClosedTick_ = GetTickCount();
    dialogClosedOnce_ = true;
}
