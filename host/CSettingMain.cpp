// The settings run
#include "host/CSettingMain.h"

CSettingMain::CSettingMain(HWND parent) : parent_(parent) {
    Effect().Initialize(2);
}
