// Reading the command line that Windows gives a screen saver.
#pragma once

#include "effect/RunModeKind.h"

#include <windows.h>

struct CommandLine {
    RunModeKind mode = RunModeKind::Settings;
    // Preview: the window handle given after "/p" (0 when none could be read).
    HWND parent = nullptr;
    // Settings: parent the dialog to the window in the foreground ("/c"), or to none.
    bool parentIsForegroundWindow = false;
};

// Decides the run mode from the first two characters of the command-line tail alone.
CommandLine ParseCommandLine(const wchar_t* tail);
