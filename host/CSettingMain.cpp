// The settings run: windowed at 800 by 600 when the screen is larger, full screen otherwise; while it
// runs, the window that asked for the settings stays disabled beneath it. The settings dialog shows
// from the start; OK saves and ends the run, Cancel ends it without saving, Reset puts the defaults back.
#include "host/CSettingMain.h"

#include "framework/Framework.h"
#include "gui/GuiTypes.h"
#include "host/DialogHosting.h"
#include "settings/CSettingDialogImpl.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

} // namespace

CSettingMain::CSettingMain(HWND parent) : parent_(parent), dialog_(CreateSettingDialog()) {
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

HRESULT CSettingMain::OnPostRender(IDirect3DDevice9*, double, float elapsed) {
    return dialog_->Dialog().Render(elapsed);
}

HRESULT CSettingMain::InitSaver() {
    if (HRESULT hr = CSaverBase::InitSaver(); FAILED(hr)) {
        return hr;
    }
    if (parent_ != nullptr) {
        EnableWindow(parent_, FALSE);
        SetWindowPos(FrameworkGetHWND(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    ConnectGuiToFramework();
    dialog_->Create(Effect().GetSetting(), &resources_);
    dialog_->Dialog().SetCallback(&ForwardGuiEvent, this);
    return S_OK;
}

void CSettingMain::ExitSaver() {
    CSaverBase::ExitSaver();
    if (parent_ != nullptr) {
        EnableWindow(parent_, TRUE);
    }
}

HRESULT CSettingMain::OnDeviceCreated(IDirect3DDevice9* device, const D3DSURFACE_DESC* backBuffer) {
    resources_.CreateDeviceObjects(device);
    return CSaverBase::OnDeviceCreated(device, backBuffer);
}

HRESULT CSettingMain::OnDeviceReset(IDirect3DDevice9* device, const D3DSURFACE_DESC* backBuffer) {
    resources_.ResetDeviceObjects();
    return CSaverBase::OnDeviceReset(device, backBuffer);
}

void CSettingMain::OnDeviceLost() {
    CSaverBase::OnDeviceLost();
    resources_.LoseDeviceObjects();
}

void CSettingMain::OnDeviceDestroyed() {
    CSaverBase::OnDeviceDestroyed();
    resources_.DestroyDeviceObjects();
}

LRESULT CSettingMain::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                bool* noFurtherProcessing) {
    if (IsBackgroundErase(message, noFurtherProcessing)) {
        return 1;
    }
    resources_.HandleMessage(window, message, wParam, lParam);
    dialog_->Dialog().HandleMessage(window, message, wParam, lParam);
    return 0;
}

void CSettingMain::OnKeyboard(UINT key, bool keyDown, bool) {
    if (keyDown && key == VK_F1) {
        CGuiDialog& dialog = dialog_->Dialog();
        dialog.SetVisible(!dialog.IsVisible());
    }
}

void CSettingMain::OnGuiEvent(UINT event, int controlId, CGuiControl* control) {
    dialog_->OnGuiEvent(event, controlId, control);
    if (event != static_cast<UINT>(GuiEvent::ButtonClicked)) {
        return;
    }
    CSetting& setting = *Effect().GetSetting();
    switch (controlId) {
    case CSettingDialogImpl::IdOk:
        setting.Save();
        PostQuitMessage(0);
        break;
    case CSettingDialogImpl::IdCancel:
        PostQuitMessage(0);
        break;
    case CSettingDialogImpl::IdReset:
        setting.SetDefaults();
        dialog_->Create(&setting, &resources_);
        break;
    default:
        break;
    }
}
