// The settings run: an 800 by 600 window in which the settings dialog is drawn over the running effect.
#pragma once

#include "host/CSaverBase.h"

#include <windows.h>

class CSettingMain : public CSaverBase {
public:
    explicit CSettingMain(HWND parent);
    ~CSettingMain() override;

    HRESULT CreateMainWindow() override;
    HRESULT CreateMainDevice() override;
    HRESULT InitSaver() override;
    void ExitSaver() override;

    HWND Parent() const { return parent_; }

private:
    HWND parent_;
};
