// Failures that do not end the run, written to the debugger's output.
#pragma once

#include <windows.h>

// A failed frame: "ERROR:", the failure's description and "\r\n", as three strings.
void WriteFrameFailure(HRESULT hr);

// A failing result that the run goes on after: "IGNORED:", the step, ": ", the description and
// "\r\n". A success writes nothing.
void WriteIgnoredFailure(const wchar_t* step, HRESULT hr);
