// The pause after the settings dialog closes in which the user's input does not end the saver.
#pragma once

#include <windows.h>

constexpr DWORD kDialogGraceMs = 1000;

// Whether input may end the saver at tick count now, the dialog having been closed at closedTick (when
// closedOnce). Tick counts wrap every 49.7 days, so the elapsed time is taken modulo 2^32; comparing the
// two counts directly would keep the saver running for weeks after a wrap.
constexpr bool GracePeriodOver(bool closedOnce, DWORD closedTick, DWORD now) {
    return !closedOnce || static_cast<DWORD>(now - closedTick) > kDialogGraceMs;
}
