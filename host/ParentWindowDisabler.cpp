// The window that asked for the settings, kept disabled while the settings run above it.
#include "host/ParentWindowDisabler.h"

ParentWindowDisabler::ParentWindowDisabler(HWND parent) : parent_(parent) {
    if (parent_ != nullptr) {
        EnableWindow(parent_, FALSE);
    }
}

ParentWindowDisabler::~ParentWindowDisabler() {
    if (parent_ != nullptr) {
        EnableWindow(parent_, TRUE);
    }
}
