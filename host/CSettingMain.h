// The settings run
#pragma once

#include "host/CSaverBase.h"

#include <windows.h>

class CSettingMain : public CSaverBase {
public:
    explicit CSettingMain(HWND parent);

private:
    HWND parent_;
};
