// Failures that do not end the run, written to the debugger's output.
#include "framework/DebugOutput.h"

#include "framework/FrameworkErrors.h"

namespace {

void WriteToDebugger(const wchar_t* text) {
    OutputDebugStringW(text);
}

DebugOutputFunction output = WriteToDebugger;

} // namespace

void FrameworkSetDebugOutput(DebugOutputFunction function) {
    output = function != nullptr ? function : WriteToDebugger;
}

void ReportFrameFailure(HRESULT hr) {
    output(L"ERROR:");
    output(ErrorDescription(hr));
    output(L"\r\n");
}

void ReportIgnoredFailure(const wchar_t* step, HRESULT hr) {
    if (SUCCEEDED(hr)) {
        return;
    }
    output(L"IGNORED:");
    output(step);
    output(L": ");
    output(ErrorDescription(hr));
    output(L"\r\n");
}
