// Reading the command line that Windows gives a screen saver.
#pragma once

#include <windows.h>

// The numbers are those the effect's Initialize takes.
enum class RunModeKind {
    Saver = 0,    // "/s": full screen, single instance
    Preview = 1,  // "/p <hwnd>": inside the display settings' little monitor
    Settings = 2, // "/c" or anything else: the settings dialog
};

struct CommandLine {
    RunModeKind mode = RunModeKind::Settings;
    // Preview: the window handle given after "/p" (0 when none could be read).
    HWND parent = nullptr;
    // Settings: parent the dialog to the window in the foreground ("/c"), or to none.
    bool parentIsForegroundWindow = false;
};

// Decides the run mode from the first two characters of the command-line tail alone.
CommandLine ParseCommandLine(const wchar_t* tail);
