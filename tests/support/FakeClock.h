// A clock that moves only when told to; its sleeps advance it and are counted.
#pragma once

#include "framework/Clock.h"

#include <vector>

class FakeClock final : public Clock {
public:
    static constexpr LONGLONG kFrequency = 1000000; // ticks are microseconds

    LONGLONG Now() override { return now; }
    LONGLONG TicksPerSecond() override { return kFrequency; }
    void Sleep(DWORD milliseconds) override {
        sleeps.push_back(milliseconds);
        now += static_cast<LONGLONG>(milliseconds) * 1000;
    }
    void Advance(double seconds) { now += static_cast<LONGLONG>(seconds * kFrequency); }

    // Starts away from zero, which the timer reads as "not stopped".
    LONGLONG now = 5000000;
    std::vector<DWORD> sleeps;
};
