// The system's clock: the performance counter for time and Sleep for waits.
#pragma once

#include "framework/Clock.h"

#include <windows.h>

class SystemClock final : public Clock {
public:
    LONGLONG Now() override;
    LONGLONG TicksPerSecond() override;
    void Sleep(DWORD milliseconds) override;

    static SystemClock& Instance();
};
