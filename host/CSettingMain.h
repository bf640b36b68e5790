// The settings run: an 800 by 600 window in which the settings dialog is drawn over the running effect.
#pragma once

#include "host/CSaverBase.h"
#include "host/DialogHost.h"
#include "host/ParentWindowDisabler.h"

#include <windows.h>

#include <optional>

class CSettingMain : public CSaverBase {
public:
    explicit CSettingMain(HWND parent);
    ~CSettingMain() override;

    HRESULT CreateMainWindow() override;
    HRESULT CreateMainDevice() override;
    HRESULT OnPostRender(IDirect3DDevice9* device, double time, float elapsed) override;
    HRESULT InitSaver() override;
    void ExitSaver() override;
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                      bool* noFurtherProcessing) override;
    void OnKeyboard(UINT key, bool keyDown, bool altDown) override;
    void OnGuiEvent(UINT event, int controlId, CGuiControl* control) override;

    HWND Parent() const { return parent_; }
    CSettingDialog& SettingDialog() { return dialogHost_.SettingDialog(); }

private:
    HWND parent_;
    DialogHost dialogHost_;
    // The parent stays disabled from InitSaver until ExitSaver, or until this object goes.
    std::optional<ParentWindowDisabler> parentDisabled_;
};
