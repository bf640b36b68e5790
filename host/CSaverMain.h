// The running saver, full screen on the primary display, ended by the user's input; F1 shows the
// settings dialog over it.
#pragma once

#include "host/CSaverBase.h"
#include "host/DialogHost.h"
#include "host/MonitorCovers.h"

#include <windows.h>

class CSaverMain : public CSaverBase {
public:
    CSaverMain();
    // Covers the monitors of this list instead of the system's.
    explicit CSaverMain(MonitorList monitors);
    ~CSaverMain() override;

    HRESULT CreateMainWindow() override;
    HRESULT CreateMainDevice() override;
    // Every other monitor is covered while the device exists.
    HRESULT OnDeviceCreated(IDirect3DDevice9* device, const D3DSURFACE_DESC* backBuffer) override;
    void OnDeviceDestroyed() override;
    HRESULT OnPostRender(IDirect3DDevice9* device, double time, float elapsed) override;
    HRESULT InitSaver() override;
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                      bool* noFurtherProcessing) override;
    void OnKeyboard(UINT key, bool keyDown, bool altDown) override;
    void OnGuiEvent(UINT event, int controlId, CGuiControl* control) override;

    // Tick count of the moment the settings dialog was last closed; 0 when it never was.
    DWORD DialogClosedTick() const { return dialogClosedTick_; }
    CSettingDialog& SettingDialog() { return dialogHost_.SettingDialog(); }
    const MonitorCovers& Covers() const { return covers_; }

private:
    // The run ends on a user's input only while the dialog is hidden and not just closed.
    bool InputEndsRun();
    // OK and Cancel hide the dialog and the cursor, and open the grace period.
    void CloseDialog();
    // Input on a cover follows the same rules as input on the saver's own window.
    void OnCoverInput(UINT message, WPARAM wParam);

    DialogHost dialogHost_;
    DWORD dialogClosedTick_ = 0;
    bool dialogClosedOnce_ = false;
    MonitorCovers covers_;
};
