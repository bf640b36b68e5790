// The window that asked for the settings, kept disabled while the settings run above it.
#pragma once

#include <windows.h>

class ParentWindowDisabler {
public:
    // Disables the window; a null window is left alone.
    explicit ParentWindowDisabler(HWND parent);
    ParentWindowDisabler(const ParentWindowDisabler&) = delete;
    ParentWindowDisabler& operator=(const ParentWindowDisabler&) = delete;
    // Enables it again, whatever ended the run.
    ~ParentWindowDisabler();

private:
    HWND parent_;
};
