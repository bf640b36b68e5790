// The soak command of the test driver: runs the program for a long time under real input and watches
// its working set and its handle, GDI and USER object counts.
//
// VitrelleDriver soak PHASE SECONDS PROGRAM [ARGS...]
//   still          nothing but the program's own running, for SECONDS
//   combos         the settings dialog's three lists opened and closed by real clicks, for SECONDS
//   resizes:N      the window resized N times, as the end of a drag on its frame does, after two
//                  minutes of such resizes; a sample is taken at the first size, a second after its
//                  resize, when the device reset has settled
// A sample every 10 s goes to standard output. From the first minute on (in a storm, the first two)
// every sample must stay within 2 MB of working set and 5 handles, GDI and USER objects of the first
// one counted. Escape then ends the program. The result is the program's exit code, or
// kCheckFailed when a sample strayed.
#pragma once

#include <windows.h>

int Soak(int argc, wchar_t** argv);
