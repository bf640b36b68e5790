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
//   VitrelleDriver soak PHASE SECONDS PROGRAM [ARGS...] run PROGRAM for long under real input and
//                                                      watch its memory and objects (see Soak.h)
// Each returns PROGRAM's exit code; 200 and above are the driver's own failures (DriverExitCodes.h). A
// program that does not end within 30 seconds after its last step is terminated (kTimedOut).
#include "driver/ChildProcess.h"
#include "driver/DriverExitCodes.h"
#include "driver/Interact.h"
#include "driver/Soak.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr DWORD kEndTimeoutMs = 30000;
constexpr DWORD kWindowTimeoutMs = 60000;
constexpr wchar_t kPreviewWindowClass[] = L"DORAPreviewWindowClass";

int Run(const std::wstring& program, const std::vector<std::wstring>& args) {
    ChildProcess child;
    if (!child.Start(program, args)) {
        return kFailed;
    }
    child.Wait(INFINITE);
    return child.ExitCode();
}

// The program's visible Direct3D window; null when the program ended or none came in time.
HWND AwaitWindow(const ChildProcess& child) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kWindowTimeoutMs) {
        if (HWND window = child.VisibleWindow(kDeviceWindowClass)) {
            return window;
        }
        if (child.Wait(100)) {
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
int Play(const ChildProcess& child, HWND window, const std::wstring& steps) {
    for (const std::wstring& step : Split(steps, L',')) {
        const std::vector<std::wstring> part = Split(step, L':');
        const std::wstring& verb = part[0];
        std::fwprintf(stderr, L"VitrelleDriver: %ls\n", step.c_str());
        if (verb == L"wait" && part.size() == 2) {
            child.WaitPumping(static_cast<DWORD>(Number(part[1])));
        } else if (verb == L"alive") {
            if (child.Ended()) {
                return kEndedEarly;
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
                return kCheckFailed;
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
                return kFailed;
            }
            CloseHandle(h);
        } else if (verb == L"await" && part.size() >= 2) {
            const std::wstring file = step.substr(6);
            const DWORD start = GetTickCount();
            while (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
                if (GetTickCount() - start > kWindowTimeoutMs) {
                    return kTimedOut;
                }
                child.WaitPumping(100);
            }
        } else {
            std::fwprintf(stderr, L"VitrelleDriver: unknown step %ls\n", step.c_str());
            return kUsage;
        }
    }
    return 0;
}

int Drive(const std::wstring& steps, const std::wstring& program, const std::vector<std::wstring>& args) {
    ChildProcess child;
    if (!child.Start(program, args)) {
        return kFailed;
    }
    HWND window = AwaitWindow(child);
    if (window == nullptr) {
        // A program that ends before it shows a window (a second saver) gives its own exit code.
        if (child.Ended()) {
            return child.ExitCode();
        }
        child.Terminate(kNoWindow);
        return kNoWindow;
    }
    if (const int failed = Play(child, window, steps); failed != 0) {
        child.Terminate(failed);
        return failed;
    }
    return child.Finish(kEndTimeoutMs);
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
    ChildProcess child;
    if (!child.Start(program, {L"/p", std::to_wstring(reinterpret_cast<UINT_PTR>(parent))})) {
        DestroyWindow(parent);
        return kFailed;
    }
    const DWORD start = GetTickCount();
    HWND preview = nullptr;
    while ((preview = FindWindowExW(parent, nullptr, kPreviewWindowClass, nullptr)) == nullptr) {
        if (child.WaitPumping(100) || GetTickCount() - start > kWindowTimeoutMs) {
            std::fwprintf(stderr, L"VitrelleDriver: no preview window appeared\n");
            DestroyWindow(parent);
            return child.Ended() ? kEndedEarly : kNoWindow;
        }
    }
    RECT client{};
    GetClientRect(preview, &client);
    std::fwprintf(stderr, L"VitrelleDriver: preview window %ldx%ld\n", client.right, client.bottom);
    if (child.WaitPumping(previewMs)) {
        DestroyWindow(parent);
        return kEndedEarly;
    }
    DestroyWindow(parent);
    return child.Finish(kEndTimeoutMs);
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
    if (command == L"soak" && argc >= 4) {
        return Soak(argc - 1, argv + 1);
    }
    if (command == L"preview" && argc >= 2) {
        return Preview(argv[1], argc >= 3 ? static_cast<DWORD>(Number(argv[2])) : 3000);
    }
    std::fwprintf(stderr, L"usage: VitrelleDriver hold-mutex NAME COMMAND... | run-short PROGRAM [ARGS...] | "
                          L"run PROGRAM [ARGS...] | drive STEPS PROGRAM [ARGS...] | preview PROGRAM [MS] | "
                          L"interact PROGRAM [ARGS...] -- STEP... | soak PHASE SECONDS PROGRAM [ARGS...]\n");
    return kUsage;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    return Dispatch(argc - 1, argv + 1);
}
