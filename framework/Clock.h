// Where the framework's time comes from: the performance counter and Sleep, or a stand-in.
#pragma once

#include <windows.h>

class Clock {
public:
    virtual ~Clock() = default;
    virtual LONGLONG Now() = 0;
    virtual LONGLONG TicksPerSecond() = 0;
    virtual void Sleep(DWORD milliseconds) = 0;
};
