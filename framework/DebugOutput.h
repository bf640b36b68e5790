// Failures that do not end the run, written to the debugger's output.
#pragma once

#include <windows.h>

// A failed frame: "ERROR:", the failure's description and "\r\n", as three strings.
void ReportFrameFailure(HRESULT hr);

// A failing result that the run goes on after: "IGNORED:", the step, ": ", the description and
// "\r\n". A success writes nothing.
void ReportIgnoredFailure(const wchar_t* step, HRESULT hr);

// Where the strings go: OutputDebugStringW, or a function a test reads them from (null puts the
// debugger's output back).
using DebugOutputFunction = void (*)(const wchar_t* text);
void FrameworkSetDebugOutput(DebugOutputFunction output);
