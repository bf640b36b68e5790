// A clean framework for one test whose waits and clock are a fake clock the test moves.
#pragma once

#include "framework/FrameworkInternal.h"
#include "support/FakeClock.h"
#include "support/FrameworkScope.h"

class ClockedFrameworkScope {
public:
    ClockedFrameworkScope() { FrameworkSetClock(&clock); }

    // Declared before scope_ so that it outlives the framework, which lets go of it on shutdown.
    FakeClock clock;

private:
    FrameworkScope scope_;
};
