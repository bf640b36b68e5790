// A program that the test driver starts, waits for and looks at; ended with the driver's failure code
// when this object goes while it still runs.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The class of the program's Direct3D window, which the driver looks for.
inline constexpr wchar_t kDeviceWindowClass[] = L"Direct3DWindowClass";

class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    // Starts PROGRAM with the arguments (quoted where they need it); false, with a message, when it
    // cannot be started.
    bool Start(const std::wstring& program, const std::vector<std::wstring>& args);

    bool Ended() const;
    // The program's exit code once it has ended.
    int ExitCode() const;
    DWORD Id() const { return info_.dwProcessId; }
    HANDLE Handle() const { return info_.hProcess; }

    // Waits until the program ends or the time is up, while this thread's windows get their messages;
    // true when it ended.
    bool WaitPumping(DWORD milliseconds) const;
    // Waits until the program ends or the time is up; true when it ended.
    bool Wait(DWORD milliseconds) const;
    // The program's exit code after it ended within the time; otherwise it is ended and the result is
    // kTimedOut.
    int Finish(DWORD milliseconds);
    // Ends the program at once (the code is what it then exits with).
    void Terminate(int code);

    // A visible top-level window of this program with that class; null when there is none now.
    HWND VisibleWindow(const wchar_t* className) const;

private:
    PROCESS_INFORMATION info_{};
};
