// The run sequence shared by the run modes.
#include "host/CSaverBase.h"

#include "effect/CSaverImpl.h"

CSaverBase::CSaverBase() : effect_(new CSaverImpl) {}

CSaverBase::~CSaverBase() = default;

int CSaverBase::Run() {
    // The window, the device and the framework's loop join the run in later stages of the program;
    // until then a run ends at once with a normal exit code.
    return 0;
}
