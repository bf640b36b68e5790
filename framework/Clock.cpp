// The system clock behind the framework's timer and its idle waits.
#include "framework/Clock.h"

LONGLONG SystemClock::Now() {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

LONGLONG SystemClock::TicksPerSecond() {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart;
}

void SystemClock::Sleep(DWORD milliseconds) {
    ::Sleep(milliseconds);
}

SystemClock& SystemClock::Instance() {
    static SystemClock clock;
    return clock;
}
