// What the two run modes that show the settings dialog share.
#include "host/DialogHosting.h"

#include "framework/Framework.h"
#include "gui/GuiPlatform.h"
#include "host/CSaverBase.h"

void ConnectGuiToFramework() {
    SetGuiPlatform({&FrameworkGetHWND, &FrameworkGetTime});
}

void CALLBACK ForwardGuiEvent(UINT event, int controlId, CGuiControl* control, void* context) {
    static_cast<CSaverBase*>(context)->OnGuiEvent(event, controlId, control);
}
