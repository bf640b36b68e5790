// The pause counters of time and rendering, and the clock the framework reads.
#include "framework/Framework.h"
#include "framework/FrameworkInternal.h"
#include "framework/FrameworkTimer.h"

#include <algorithm>

void FrameworkPause(bool pauseTime, bool pauseRendering) {
    const bool timeRuns = GetFrameworkState().With([&](FrameworkFields& f) {
        f.pauseTimeCount = std::max(0, f.pauseTimeCount + (pauseTime ? 1 : -1));
        f.pauseRenderingCount = std::max(0, f.pauseRenderingCount + (pauseRendering ? 1 : -1));
        f.timePaused = f.pauseTimeCount > 0;
        f.renderingPaused = f.pauseRenderingCount > 0;
        return f.pauseTimeCount == 0;
    });
    if (timeRuns) {
        FrameworkTimer::Global().Start();
    } else {
        FrameworkTimer::Global().Stop();
    }
}

void FrameworkSetClock(Clock* clock) {
    FrameworkTimer::Global().SetClock(clock != nullptr ? *clock : SystemClock::Instance());
}

Clock& FrameworkClock() {
    return FrameworkTimer::Global().GetClock();
}
