// A program that the test driver starts, waits for and looks at.
#include "driver/ChildProcess.h"

#include "driver/DriverExitCodes.h"

#include <cstdio>

namespace {

constexpr DWORD kTerminateWaitMs = 5000;

std::wstring Quote(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) {
        return arg;
    }
    std::wstring quoted = L"\"";
    for (wchar_t c : arg) {
        if (c == L'"') {
            quoted += L'\\';
        }
        quoted += c;
    }
    return quoted + L"\"";
}

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK VisitWindow(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    if (processId == search->processId && IsWindowVisible(window) &&
        std::wstring(className) == search->className) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

ChildProcess::~ChildProcess() {
    if (info_.hProcess == nullptr) {
        return;
    }
    if (!Ended()) {
        Terminate(kFailed);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool ChildProcess::Start(const std::wstring& program, const std::vector<std::wstring>& args) {
    std::wstring commandLine = Quote(program);
    for (const std::wstring& arg : args) {
        commandLine += L" " + Quote(arg);
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info_)) {
        std::fwprintf(stderr, L"VitrelleDriver: cannot start %ls (error %lu)\n", program.c_str(),
                      GetLastError());
        info_ = PROCESS_INFORMATION{};
        return false;
    }
    return true;
}

bool ChildProcess::Ended() const {
    return Wait(0);
}

int ChildProcess::ExitCode() const {
    DWORD code = kFailed;
    GetExitCodeProcess(info_.hProcess, &code);
    return static_cast<int>(code);
}

bool ChildProcess::WaitPumping(DWORD milliseconds) const {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD spent = GetTickCount() - start;
        if (spent >= milliseconds) {
            return Ended();
        }
        const DWORD r =
            MsgWaitForMultipleObjects(1, &info_.hProcess, FALSE, milliseconds - spent, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0) {
            return true;
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

bool ChildProcess::Wait(DWORD milliseconds) const {
    return WaitForSingleObject(info_.hProcess, milliseconds) == WAIT_OBJECT_0;
}

int ChildProcess::Finish(DWORD milliseconds) {
    if (!WaitPumping(milliseconds)) {
        std::fwprintf(stderr, L"VitrelleDriver: the program did not end; terminating it\n");
        Terminate(kTimedOut);
        return kTimedOut;
    }
    return ExitCode();
}

void ChildProcess::Terminate(int code) {
    TerminateProcess(info_.hProcess, static_cast<UINT>(code));
    Wait(kTerminateWaitMs);
}

HWND ChildProcess::VisibleWindow(const wchar_t* className) const {
    WindowSearch search{info_.dwProcessId, className, nullptr};
    EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
