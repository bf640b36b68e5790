// The settings dialog over the running effect, for the run modes that show it: owns the GUI resource
// cache and the dialog, feeds them device changes, frames, messages and keys, and acts on the dialog's
// buttons.
#pragma once

#include "gui/CGuiDialogResources.h"
#include "settings/CSettingDialog.h"

#include <windows.h>
#include <d3d9.h>

#include <memory>

class CGuiControl;
class CSaverBase;
class CSetting;

// What a dialog event leaves for the run mode to do.
enum class DialogOutcome {
    Open,      // nothing: a value changed, Reset rebuilt the dialog, or the event was no button's
    Saved,     // OK: the record has been written to the settings file
    // OK, but the file could not be written anywhere: the dialog stays open and says so
    SaveFailed,
    Cancelled, // Cancel: nothing was written
};

class DialogHost {
public:
    // Makes the resource cache and the dialog; the dialog is built later by Create.
    DialogHost();
    DialogHost(const DialogHost&) = delete;
    DialogHost& operator=(const DialogHost&) = delete;
    // The dialog goes before the resource cache it draws with.
    ~DialogHost();

    // Builds the dialog from the record and leads its events into the run mode's OnGuiEvent; the
    // toolkit captures the mouse on the framework's window and animates by its clock.
    void Create(CSetting& setting, CSaverBase& mode);

    // The resource cache follows the device.
    void OnDeviceCreated(IDirect3DDevice9* device);
    void OnDeviceReset();
    void OnDeviceLost();
    void OnDeviceDestroyed();

    // Draws the dialog while it is shown.
    HRESULT Render(float elapsed);
    // Gives the message to the resource cache and to the dialog while it is shown; true when the
    // dialog consumed it (the run mode then does nothing more with it).
    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // F1 pressed shows a hidden dialog and hides a shown one; true when the key was F1 going down.
    bool OnKeyboard(UINT key, bool keyDown);
    // The dialog takes control changes into the record; OK saves the record (and when that fails the
    // dialog shows why), Reset puts the defaults back and rebuilds the dialog. Cancel and the others
    // are left to the run mode.
    DialogOutcome OnGuiEvent(UINT event, int controlId, CGuiControl* control);

    bool Visible() const;
    void SetVisible(bool visible);
    CSettingDialog& SettingDialog() { return *dialog_; }

private:
    CGuiDialogResources resources_;
    std::unique_ptr<CSettingDialog> dialog_;
    CSetting* setting_ = nullptr;
};
