// What the two run modes that show the settings dialog share: the toolkit pointed at the framework's
// window and clock, and the dialog's events led into the run mode.
#pragma once

#include <windows.h>

class CGuiControl;

// The toolkit captures the mouse on the framework's window and animates by the framework's clock.
void ConnectGuiToFramework();

// The dialog's event callback; its context is the run mode (a CSaverBase).
void CALLBACK ForwardGuiEvent(UINT event, int controlId, CGuiControl* control, void* context);
