// The running saver, full screen on the primary display.
#pragma once

#include "host/CSaverBase.h"

#include <windows.h>

class CSaverMain : public CSaverBase {
public:
    CSaverMain() { Effect().Initialize(0); }
};
