// Failures that do not end the run, written to the debugger's output.
#include "host/DebugOutput.h"

#include "framework/FrameworkErrors.h"

void WriteFrameFailure(HRESULT hr) {
    OutputDebugStringW(L"ERROR:");
    OutputDebugStringW(ErrorDescription(hr));
    OutputDebugStringW(L"\r\n");
}

void WriteIgnoredFailure(const wchar_t* step, HRESULT hr) {
    if (SUCCEEDED(hr)) {
        return;
    }
    OutputDebugStringW(L"IGNORED:");
    OutputDebugStringW(step);
    OutputDebugStringW(L": ");
    OutputDebugStringW(ErrorDescription(hr));
    OutputDebugStringW(L"\r\n");
}
