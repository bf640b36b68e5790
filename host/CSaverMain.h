// The running saver, full screen on the primary display, ended by the user's input.
#pragma once

#include "host/CSaverBase.h"

#include <windows.h>

class CSaverMain : public CSaverBase {
public:
    CSaverMain();
    ~CSaverMain() override;

    HRESULT CreateMainWindow() override;
    HRESULT CreateMainDevice() override;
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                      bool* noFurtherProcessing) override;
    void OnKeyboard(UINT key, bool keyDown, bool altDown) override;

    // Tick count of the moment the settings dialog was last closed; 0 when it never was.
    DWORD DialogClosedTick() const { return dialogClosedTick_; }

private:
    // Whether the settings dialog is shown over the saver; it is hidden until F1 shows it.
    bool DialogVisible() const { return false; }
    // The run ends on a user's input only while the dialog is hidden and not just closed.
    bool InputEndsRun() const;

    DWORD dialogClosedTick_ = 0;
};
