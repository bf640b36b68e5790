// The settings dialog over the running effect, for the run modes that show it.
#include "host/DialogHost.h"

#include "framework/Framework.h"
#include "gui/GuiPlatform.h"
#include "gui/GuiTypes.h"
#include "host/CSaverBase.h"
#include "framework/DebugOutput.h"
#include "settings/CSetting.h"
#include "settings/CSettingDialogImpl.h"

namespace {

void CALLBACK ForwardGuiEvent(UINT event, int controlId, CGuiControl* control, void* context) {
    static_cast<CSaverBase*>(context)->OnGuiEvent(event, controlId, control);
}

} // namespace

DialogHost::DialogHost() : dialog_(CreateSettingDialog()) {}

DialogHost::~DialogHost() = default;

void DialogHost::Create(CSetting& setting, CSaverBase& mode) {
    SetGuiPlatform({&FrameworkGetHWND, &FrameworkGetTime});
    setting_ = &setting;
    dialog_->Create(setting_, &resources_);
    dialog_->Dialog().SetCallback(&ForwardGuiEvent, &mode);
}

void DialogHost::OnDeviceCreated(IDirect3DDevice9* device) {
    // Without its device objects the dialog only fails to draw; the effect still runs.
    ReportIgnoredFailure(L"dialog device objects", resources_.CreateDeviceObjects(device));
}

void DialogHost::OnDeviceReset() {
    ReportIgnoredFailure(L"dialog device reset", resources_.ResetDeviceObjects());
}

void DialogHost::OnDeviceLost() {
    resources_.LoseDeviceObjects();
}

void DialogHost::OnDeviceDestroyed() {
    resources_.DestroyDeviceObjects();
}

HRESULT DialogHost::Render(float elapsed) {
    return dialog_->Dialog().Render(elapsed);
}

bool DialogHost::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return dialog_->Dialog().HandleMessage(window, message, wParam, lParam);
}

bool DialogHost::OnKeyboard(UINT key, bool keyDown) {
    if (!keyDown || key != VK_F1) {
        return false;
    }
    SetVisible(!Visible());
    return true;
}

DialogOutcome DialogHost::OnGuiEvent(UINT event, int controlId, CGuiControl* control) {
    dialog_->OnGuiEvent(event, controlId, control);
    if (event != static_cast<UINT>(GuiEvent::ButtonClicked) || setting_ == nullptr) {
        return DialogOutcome::Open;
    }
    switch (controlId) {
    case CSettingDialogImpl::kIdOk:
        if (HRESULT hr = setting_->Save(); FAILED(hr)) {
            ReportIgnoredFailure(L"saving the settings", hr);
            dialog_->ShowSaveFailure();
            return DialogOutcome::SaveFailed;
        }
        return DialogOutcome::Saved;
    case CSettingDialogImpl::kIdCancel:
        return DialogOutcome::Cancelled;
    case CSettingDialogImpl::kIdReset:
        setting_->SetDefaults();
        dialog_->Create(setting_, &resources_);
        return DialogOutcome::Open;
    default:
        return DialogOutcome::Open;
    }
}

bool DialogHost::Visible() const {
    return dialog_->Dialog().IsVisible();
}

void DialogHost::SetVisible(bool visible) {
    dialog_->Dialog().SetVisible(visible);
}
