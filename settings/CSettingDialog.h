// The settings dialog interface: owns the toolkit dialog that the run mode renders and feeds.
#pragma once

#include "gui/CGuiDialog.h"
#include "settings/CSetting.h"

class CSettingDialog {
public:
    CSettingDialog() = default;
    CSettingDialog(const CSettingDialog&) = delete;
    CSettingDialog& operator=(const CSettingDialog&) = delete;
    virtual ~CSettingDialog() = default;

    // (Re)builds every control from the record's current values. Always 0.
    virtual int Create(CSetting* setting, CGuiDialogResources* resources) = 0;
    // Takes a combo-box or slider change into the record and the texts beside the slider.
    virtual void OnGuiEvent(UINT event, int controlId, CGuiControl* control) = 0;
    // Says in one line, below the buttons, that OK could not save the settings; the next Create
    // takes the line away again.
    virtual void ShowSaveFailure() = 0;

    // The run mode renders this dialog, passes it messages, sets its callback and its visibility.
    CGuiDialog& Dialog() { return dialog_; }

private:
    CGuiDialog dialog_;
};

// A new settings dialog, not yet bound to a record, listing the framework's display modes of adapter 0.
CSettingDialog* CreateSettingDialog();
