// Process entry of Vitrelle.scr.
#include "host/Entry.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLineTail, int) {
    return RunEntry(commandLineTail);
}
