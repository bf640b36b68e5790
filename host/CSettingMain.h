// The settings run: an 800 by 600 window in which the settings dialog is drawn over the running effect.
#pragma once

#include "gui/CGuiDialogResources.h"
#include "host/CSaverBase.h"
#include "settings/CSettingDialog.h"

#include <windows.h>

#include <memory>

class CSettingMain : public CSaverBase {
public:
    explicit CSettingMain(HWND parent);
    ~CSettingMain() override;

    HRESULT CreateMainWindow() override;
    HRESULT CreateMainDevice() override;
    HRESULT OnPostRender(IDirect3DDevice9* device, double time, float elapsed) override;
    HRESULT InitSaver() override;
    void ExitSaver() override;
    HRESULT OnDeviceCreated(IDirect3DDevice9* device, const D3DSURFACE_DESC* backBuffer) override;
    HRESULT OnDeviceReset(IDirect3DDevice9* device, const D3DSURFACE_DESC* backBuffer) override;
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                      bool* noFurtherProcessing) override;
    void OnKeyboard(UINT key, bool keyDown, bool altDown) override;
    void OnGuiEvent(UINT event, int controlId, CGuiControl* control) override;
    void OnDeviceLost() override;
    void OnDeviceDestroyed() override;

    HWND Parent() const { return parent_; }
    CSettingDialog& SettingDialog() { return *dialog_; }

private:
    HWND parent_;
    CGuiDialogResources resources_;
    std::unique_ptr<CSettingDialog> dialog_;
};
