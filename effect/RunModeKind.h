// The three ways the program runs; the numbers are those the effect's Initialize stands for.
#pragma once

enum class RunModeKind {
    Saver = 0,    // "/s": full screen, single instance
    Preview = 1,  // "/p <hwnd>": inside the display settings' little monitor
    Settings = 2, // "/c" or anything else: the settings dialog
};
