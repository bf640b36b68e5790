// The framework's clock: time since the last reset without the stopped intervals, and frame steps.
#pragma once

#include "framework/Clock.h"

struct TimeValues {
    double time = 0.0;
    double absoluteTime = 0.0;
    float elapsed = 0.0f;
};

class FrameworkTimer {
public:
    explicit FrameworkTimer(Clock& clock);

    // Starts counting from zero again (a stopped timer restarts from its stop time).
    void Reset();
    void Start();
    void Stop();
    bool IsStopped() const { return stopped_; }
    // Reads the clock; the elapsed time is measured from the previous call.
    TimeValues GetTimeValues();

    // Takes time from another clock; the timer starts afresh on it, running from zero.
    void SetClock(Clock& clock);
    Clock& GetClock() const { return *clock_; }

    // The process-wide timer, created on first use.
    static FrameworkTimer& Global();

private:
    Clock* clock_;
    bool stopped_ = true;
    LONGLONG ticksPerSecond_ = 1;
    LONGLONG stopTime_ = 0;
    LONGLONG lastElapsedTime_ = 0;
    LONGLONG baseTime_ = 0;
};
