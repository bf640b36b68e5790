// The pause counters of time and rendering, and the clock the framework reads.
#include "framework/Framework.h"
#include "framework/FrameworkInternal.h"
#include "framework/FrameworkTimer.h"
#include "framework/SystemClock.h"

#include <algorithm>

namespace {

// Adds the steps to the pause counts (never below zero) in one step, and lets the clock run or stops
// it. The time step may depend on the counts as they are.
template <typename TimeStep> void ChangePause(TimeStep timeStep, int renderingStep) {
    const bool timeRuns = GetFrameworkState().Timing().Update([&](TimingState& t) {
        t.pauseTimeCount = std::max(0, t.pauseTimeCount + timeStep(t));
        t.pauseRenderingCount = std::max(0, t.pauseRenderingCount + renderingStep);
        t.timePaused = t.pauseTimeCount > 0;
        t.renderingPaused = t.pauseRenderingCount > 0;
        return t.pauseTimeCount == 0;
    });
    if (timeRuns) {
        FrameworkTimer::Global().Start();
    } else {
        FrameworkTimer::Global().Stop();
    }
}

} // namespace

void FrameworkPause(bool pauseTime, bool pauseRendering) {
    ChangePause([&](const TimingState&) { return pauseTime ? 1 : -1; }, pauseRendering ? 1 : -1);
}

void ToggleTimePause() {
    ChangePause([](const TimingState& t) { return t.timePaused ? -1 : 1; }, -1);
}

void FrameworkSetClock(Clock* clock) {
    FrameworkTimer::Global().SetClock(clock != nullptr ? *clock : SystemClock::Instance());
}

Clock& FrameworkClock() {
    return FrameworkTimer::Global().GetClock();
}
