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

// The system's clock: QueryPerformanceCounter, QueryPerformanceFrequency and Sleep.
class SystemClock final : public Clock {
public:
    LONGLONG Now() override;
    LONGLONG TicksPerSecond() override;
    void Sleep(DWORD milliseconds) override;

    static SystemClock& Instance();
};
