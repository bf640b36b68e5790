// Test driver: a Windows program that end-to-end tests use to start, hold and drive the real program.
//   VitrelleDriver hold-mutex NAME COMMAND...          run COMMAND (any of these) while holding mutex NAME
//   VitrelleDriver run-short PROGRAM [ARGS...]         run PROGRAM through its short 8.3 path
//   VitrelleDriver run PROGRAM [ARGS...]               run PROGRAM and wait for it
//   VitrelleDriver drive STEPS PROGRAM [ARGS...]       run PROGRAM, wait for its Direct3D window, then
//                                                      play STEPS (comma-separated, see Play) on it
//   VitrelleDriver preview PROGRAM [MS]                make a 152 x 112 parent window, run
//                                                      "PROGRAM /p <parent>", destroy the parent after
//                                                      MS milliseconds (default 3000) of preview
//   VitrelleDriver interact PROGRAM [ARGS...] -- STEP... run PROGRAM and play mouse and key input at
//                                                      given points, with checks (see Interact.h)
// Each returns PROGRAM's exit code; 200 and above are the driver's own failures. A program that does
// not end within 30 seconds after its last step is terminated (code 202).
#include "driver/Interact.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr int kUsage = 200;
constexpr int kFailed = 201;
constexpr int kHung = 202;
constexpr int kNoWindow = 203;
constexpr int kEndedTooEarly = 210;
constexpr int kWrongSize = 211;
constexpr int kStepFailed = 212;
constexpr DWORD kEndTimeoutMs = 30000;
constexpr DWORD kWindowTimeoutMs = 60000;

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

struct Child {
    PROCESS_INFORMATION info{};
    bool started = false;
    ~Child() {
        if (started) {
            CloseHandle(info.hThread);
            CloseHandle(info.hProcess);
        }
    }
};

bool Start(Child& child, const std::wstring& program, const std::vector<std::wstring>& args) {
    std::wstring commandLine = Quote(program);
    for (const std::wstring& arg : args) {
        commandLine += L" " + Quote(arg);
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &child.info)) {
        std::fwprintf(stderr, L"VitrelleDriver: cannot start %ls (error %lu)\n", program.c_str(),
                      GetLastError());
        return false;
    }
    child.started = true;
    return true;
}

// Waits for the process while this thread's windows get their messages.
bool WaitPumping(HANDLE process, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD spent = GetTickCount() - start;
        if (spent >= milliseconds) {
            return WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
        }
        const DWORD r = MsgWaitForMultipleObjects(1, &process, FALSE, milliseconds - spent, QS_ALLINPUT);
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

// The program's exit code, after it ended by itself or was ended for hanging.
int Finish(Child& child, DWORD milliseconds) {
    if (!WaitPumping(child.info.hProcess, milliseconds)) {
        std::fwprintf(stderr, L"VitrelleDriver: the program did not end; terminating it\n");
        TerminateProcess(child.info.hProcess, kHung);
        WaitForSingleObject(child.info.hProcess, 5000);
        return kHung;
    }
    DWORD code = kFailed;
    GetExitCodeProcess(child.info.hProcess, &code);
    return static_cast<int>(code);
}

int Run(const std::wstring& program, const std::vector<std::wstring>& args) {
    Child child;
    if (!Start(child, program, args)) {
        return kFailed;
    }
    WaitForSingleObject(child.info.hProcess, INFINITE);
    DWORD code = kFailed;
    GetExitCodeProcess(child.info.hProcess, &code);
    return static_cast<int>(code);
}

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    if (processId == search->processId && IsWindowVisible(window) &&
        std::wcscmp(className, L"Direct3DWindowClass") == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The program's visible Direct3D window; null when the program ended or none came in time.
HWND AwaitWindow(const Child& child) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kWindowTimeoutMs) {
        WindowSearch search{child.info.dwProcessId, nullptr};
        EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            return search.found;
        }
        if (WaitForSingleObject(child.info.hProcess, 100) == WAIT_OBJECT_0) {
            return nullptr;
        }
    }
    return nullptr;
}

void SendMouse(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

void SendMouseMove(LONG dx, LONG dy) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof input);
}

void SendKey(WORD key, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
}

// Puts the window in front and the cursor on its client centre, as a user's hand would.
void Approach(HWND window) {
    SetForegroundWindow(window);
    RECT client{};
    GetClientRect(window, &client);
    POINT centre{(client.right - client.left) / 2, (client.bottom - client.top) / 2};
    ClientToScreen(window, &centre);
    SetCursorPos(centre.x, centre.y);
    Sleep(50);
}

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> parts;
    size_t begin = 0;
    for (;;) {
        const size_t end = text.find(separator, begin);
        parts.push_back(text.substr(begin, end - begin));
        if (end == std::wstring::npos) {
            return parts;
        }
        begin = end + 1;
    }
}

long Number(const std::wstring& text) {
    return std::wcstol(text.c_str(), nullptr, 0);
}

// Steps: wait:MS, alive (fails when the program has ended), lbutton-down, lbutton-up, rclick,
// mclick, move, key:VK (down and up), keydown:VK, client:W:H (fails unless the client area has that
// size), resize:W:H (sets the window's client area to that size), ready:FILE (creates FILE),
// await:FILE (waits up to 60 s for FILE to exist).
int Play(const Child& child, HWND window, const std::wstring& steps) {
    for (const std::wstring& step : Split(steps, L',')) {
        const std::vector<std::wstring> part = Split(step, L':');
        const std::wstring& verb = part[0];
        std::fwprintf(stderr, L"VitrelleDriver: %ls\n", step.c_str());
        if (verb == L"wait" && part.size() == 2) {
            WaitPumping(child.info.hProcess, static_cast<DWORD>(Number(part[1])));
        } else if (verb == L"alive") {
            if (WaitForSingleObject(child.info.hProcess, 0) == WAIT_OBJECT_0) {
                return kEndedTooEarly;
            }
        } else if (verb == L"lbutton-down" || verb == L"lbutton-up") {
            Approach(window);
            SendMouse(verb == L"lbutton-down" ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
        } else if (verb == L"rclick" || verb == L"mclick") {
            Approach(window);
            const bool right = verb == L"rclick";
            SendMouse(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_MIDDLEDOWN);
            Sleep(50);
            SendMouse(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_MIDDLEUP);
        } else if (verb == L"move") {
            Approach(window);
            for (int i = 0; i < 10; ++i) {
                SendMouseMove(i % 2 ? -25 : 30, i % 3 ? 20 : -15);
                Sleep(30);
            }
        } else if ((verb == L"key" || verb == L"keydown") && part.size() == 2) {
            Approach(window);
            SendKey(static_cast<WORD>(Number(part[1])), true);
            if (verb == L"key") {
                Sleep(50);
                SendKey(static_cast<WORD>(Number(part[1])), false);
            }
        } else if (verb == L"client" && part.size() == 3) {
            RECT client{};
            GetClientRect(window, &client);
            if (client.right != Number(part[1]) || client.bottom != Number(part[2])) {
                std::fwprintf(stderr, L"VitrelleDriver: client area %ldx%ld\n", client.right, client.bottom);
                return kWrongSize;
            }
        } else if (verb == L"resize" && part.size() == 3) {
            RECT outer{0, 0, Number(part[1]), Number(part[2])};
            AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                               static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)));
            SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                         SWP_NOMOVE | SWP_NOZORDER);
        } else if (verb == L"ready" && part.size() >= 2) {
            const std::wstring file = step.substr(6);
            HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            if (h == INVALID_HANDLE_VALUE) {
                return kStepFailed;
            }
            CloseHandle(h);
        } else if (verb == L"await" && part.size() >= 2) {
            const std::wstring file = step.substr(6);
            const DWORD start = GetTickCount();
            while (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
                if (GetTickCount() - start > kWindowTimeoutMs) {
                    return kStepFailed;
                }
                WaitPumping(child.info.hProcess, 100);
            }
        } else {
            std::fwprintf(stderr, L"VitrelleDriver: unknown step %ls\n", step.c_str());
            return kUsage;
        }
    }
    return 0;
}

int Drive(const std::wstring& steps, const std::wstring& program, const std::vector<std::wstring>& args) {
    Child child;
    if (!Start(child, program, args)) {
        return kFailed;
    }
    HWND window = AwaitWindow(child);
    if (window == nullptr) {
        // A program that ends before it shows a window (a second saver) gives its own exit code.
        if (WaitForSingleObject(child.info.hProcess, 0) == WAIT_OBJECT_0) {
            return Finish(child, 0);
        }
        TerminateProcess(child.info.hProcess, kNoWindow);
        return kNoWindow;
    }
    if (const int failed = Play(child, window, steps); failed != 0) {
        TerminateProcess(child.info.hProcess, failed);
        WaitForSingleObject(child.info.hProcess, 5000);
        return failed;
    }
    return Finish(child, kEndTimeoutMs);
}

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

// The display settings' little monitor: a parent window that the preview draws into, destroyed
// while the preview runs.
int Preview(const std::wstring& program, DWORD previewMs) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ParentProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VitrelleDriverPreviewParent";
    RegisterClassW(&windowClass);
    HWND parent = CreateWindowExW(0, windowClass.lpszClassName, L"Preview parent", WS_POPUP | WS_VISIBLE, 100,
                                  100, 152, 112, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (parent == nullptr) {
        return kFailed;
    }
    Child child;
    if (!Start(child, program, {L"/p", std::to_wstring(reinterpret_cast<UINT_PTR>(parent))})) {
        DestroyWindow(parent);
        return kFailed;
    }
    const DWORD start = GetTickCount();
    while (FindWindowExW(parent, nullptr, L"DORAPreviewWindowClass", nullptr) == nullptr) {
        if (WaitPumping(child.info.hProcess, 100) || GetTickCount() - start > kWindowTimeoutMs) {
            std::fwprintf(stderr, L"VitrelleDriver: no preview window appeared\n");
            DestroyWindow(parent);
            return WaitForSingleObject(child.info.hProcess, 0) == WAIT_OBJECT_0 ? kEndedTooEarly
                                                                                : Finish(child, 0);
        }
    }
    HWND preview = FindWindowExW(parent, nullptr, L"DORAPreviewWindowClass", nullptr);
    RECT client{};
    GetClientRect(preview, &client);
    std::fwprintf(stderr, L"VitrelleDriver: preview window %ldx%ld\n", client.right, client.bottom);
    if (WaitPumping(child.info.hProcess, previewMs)) {
        DestroyWindow(parent);
        return kEndedTooEarly;
    }
    DestroyWindow(parent);
    return Finish(child, kEndTimeoutMs);
}

std::vector<std::wstring> Rest(int argc, wchar_t** argv, int from) {
    return std::vector<std::wstring>(argv + from, argv + argc);
}

int Dispatch(int argc, wchar_t** argv) {
    const std::wstring command = argc >= 1 ? argv[0] : L"";
    if (command == L"hold-mutex" && argc >= 3) {
        HANDLE mutex = CreateMutexW(nullptr, TRUE, argv[1]);
        if (mutex == nullptr) {
            return kFailed;
        }
        const std::wstring next = argv[2];
        const int code = next == L"run" || next == L"drive" || next == L"run-short" || next == L"preview"
                             ? Dispatch(argc - 2, argv + 2)
                             : Run(argv[2], Rest(argc, argv, 3));
        CloseHandle(mutex);
        return code;
    }
    if (command == L"run-short" && argc >= 2) {
        wchar_t shortName[MAX_PATH];
        DWORD length = GetShortPathNameW(argv[1], shortName, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) {
            return kFailed;
        }
        std::fwprintf(stderr, L"VitrelleDriver: starting %ls\n", shortName);
        return Run(shortName, Rest(argc, argv, 2));
    }
    if (command == L"run" && argc >= 2) {
        return Run(argv[1], Rest(argc, argv, 2));
    }
    if (command == L"drive" && argc >= 3) {
        return Drive(argv[1], argv[2], Rest(argc, argv, 3));
    }
    if (command == L"interact" && argc >= 4) {
        return Interact(argc - 1, argv + 1);
    }
    if (command == L"preview" && argc >= 2) {
        return Preview(argv[1], argc >= 3 ? static_cast<DWORD>(Number(argv[2])) : 3000);
    }
    std::fwprintf(stderr, L"usage: VitrelleDriver hold-mutex NAME COMMAND... | run-short PROGRAM [ARGS...] | "
                          L"run PROGRAM [ARGS...] | drive STEPS PROGRAM [ARGS...] | preview PROGRAM [MS] | "
                          L"interact PROGRAM [ARGS...] -- STEP...\n");
    return kUsage;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    return Dispatch(argc - 1, argv + 1);
}
