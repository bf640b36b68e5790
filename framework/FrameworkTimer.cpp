// The framework's clock over a performance counter.
#include "framework/FrameworkTimer.h"

FrameworkTimer::FrameworkTimer(Clock& clock) : clock_(&clock) {
    ticksPerSecond_ = clock.TicksPerSecond();
    if (ticksPerSecond_ <= 0) {
        ticksPerSecond_ = 1;
    }
}

void FrameworkTimer::SetClock(Clock& clock) {
    *this = FrameworkTimer(clock);
    Reset();
}

void FrameworkTimer::Reset() {
    const LONGLONG t = stopTime_ != 0 ? stopTime_ : clock_->Now();
    baseTime_ = t;
    lastElapsedTime_ = t;
    stopTime_ = 0;
    stopped_ = false;
}

void FrameworkTimer::Start() {
    const LONGLONG now = clock_->Now();
    if (stopped_) {
        baseTime_ += now - stopTime_;
    }
    stopTime_ = 0;
    lastElapsedTime_ = now;
    stopped_ = false;
}

void FrameworkTimer::Stop() {
    if (stopped_) {
        return;
    }
    const LONGLONG now = clock_->Now();
    stopTime_ = now;
    lastElapsedTime_ = now;
    stopped_ = true;
}

TimeValues FrameworkTimer::GetTimeValues() {
    const LONGLONG t = stopTime_ != 0 ? stopTime_ : clock_->Now();
    const double perSecond = static_cast<double>(ticksPerSecond_);
    TimeValues values;
    values.elapsed = static_cast<float>(static_cast<double>(t - lastElapsedTime_) / perSecond);
    if (values.elapsed < 0.0f) {
        values.elapsed = 0.0f;
    }
    lastElapsedTime_ = t;
    values.absoluteTime = static_cast<double>(t) / perSecond;
    values.time = static_cast<double>(t - baseTime_) / perSecond;
    return values;
}

FrameworkTimer& FrameworkTimer::Global() {
    static FrameworkTimer timer(SystemClock::Instance());
    return timer;
}
