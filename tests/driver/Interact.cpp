// The interact command of the test driver: real mouse and key input played on the program's window.
#include "driver/Interact.h"

#include "driver/ChildProcess.h"
#include "driver/DriverExitCodes.h"

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr DWORD kDriveLimitMs = 120000;
constexpr DWORD kCursorWaitMs = 5000;

// The program under test with its top-level Direct3D window, within the time limit of the whole drive.
class Target {
public:
    bool Start(const std::wstring& program, const std::vector<std::wstring>& args) {
        deadline_ = GetTickCount() + kDriveLimitMs;
        return process_.Start(program, args);
    }

    bool Ended() const { return process_.Ended(); }
    int ExitCode() const { return process_.ExitCode(); }

    // Milliseconds left of the whole drive.
    DWORD Left() const {
        const DWORD now = GetTickCount();
        return static_cast<LONG>(deadline_ - now) > 0 ? deadline_ - now : 0;
    }

    // Waits until the process ends or ms pass; true when it ended.
    bool WaitForEnd(DWORD ms) const { return process_.Wait(ms < Left() ? ms : Left()); }

    // The program's visible top-level window of the framework's class.
    HWND MainWindow() {
        if (window_ && IsWindow(window_)) {
            return window_;
        }
        window_ = nullptr;
        while (Left() > 0 && !Ended()) {
            window_ = process_.VisibleWindow(kDeviceWindowClass);
            if (window_) {
                return window_;
            }
            Sleep(50);
        }
        return nullptr;
    }

private:
    ChildProcess process_;
    HWND window_ = nullptr;
    DWORD deadline_ = 0;
};

bool ParseInts(const std::wstring& text, std::vector<int>& out, size_t count) {
    out.clear();
    const wchar_t* p = text.c_str();
    while (*p) {
        wchar_t* end = nullptr;
        const long value = std::wcstol(p, &end, 10);
        if (end == p) {
            return false;
        }
        out.push_back(static_cast<int>(value));
        p = *end == L',' ? end + 1 : end;
        if (*end != L',' && *end != 0) {
            return false;
        }
    }
    return out.size() == count;
}

WORD KeyCode(const std::wstring& name) {
    struct Named {
        const wchar_t* name;
        WORD code;
    };
    static const Named names[] = {{L"F1", VK_F1},         {L"ESC", VK_ESCAPE},  {L"SPACE", VK_SPACE},
                                  {L"RETURN", VK_RETURN}, {L"LEFT", VK_LEFT},   {L"RIGHT", VK_RIGHT},
                                  {L"UP", VK_UP},         {L"DOWN", VK_DOWN},   {L"HOME", VK_HOME},
                                  {L"END", VK_END},       {L"SHIFT", VK_SHIFT}, {L"TAB", VK_TAB}};
    for (const Named& named : names) {
        if (name == named.name) {
            return named.code;
        }
    }
    if (name.size() == 1 && ((name[0] >= L'A' && name[0] <= L'Z') || (name[0] >= L'0' && name[0] <= L'9'))) {
        return static_cast<WORD>(name[0]);
    }
    if (name.rfind(L"0x", 0) == 0) {
        return static_cast<WORD>(std::wcstoul(name.c_str() + 2, nullptr, 16));
    }
    return 0;
}

POINT ScreenPoint(HWND window, int x, int y) {
    POINT point{x, y};
    ClientToScreen(window, &point);
    return point;
}

// The 0..65535 input coordinate that maps back to exactly this pixel, whether the system scales it by
// size / 65536 (truncating) or by size / 65535 (rounding).
LONG Normalised(int pixel, int size) {
    return size > 0 ? static_cast<LONG>((static_cast<long long>(pixel) * 65536 + size - 1) / size) : 0;
}

// A mouse event at an exact screen pixel: the button changes there, whatever the cursor did before.
void SendMouse(DWORD flags, POINT screen) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = Normalised(screen.x, GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = Normalised(screen.y, GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof input);
}

void MoveTo(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    SendMouse(0, screen);
    Sleep(40);
}

void SendKey(WORD key) {
    INPUT inputs[2]{};
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    }
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(1, &inputs[0], sizeof(INPUT));
    Sleep(30);
    SendInput(1, &inputs[1], sizeof(INPUT));
}

// The cursor of the foreground window's thread: shown when its show count allows it and it has a
// cursor at all. (Under Wine GetCursorInfo reports the foreground thread's cursor; a program that hides
// its cursor with SetCursor(null) keeps its show count, so the handle is what tells.)
// Makes the window the foreground window and waits (up to 2 s) until it is. Asking again while it
// already is would make Wine move the X input focus anew, and input sent meanwhile can go astray.
void BringToFront(HWND window) {
    if (GetForegroundWindow() == window) {
        return;
    }
    SetForegroundWindow(window);
    for (int i = 0; i < 40 && GetForegroundWindow() != window; ++i) {
        Sleep(50);
    }
    Sleep(100);
}

bool CursorShown() {
    CURSORINFO info{};
    info.cbSize = sizeof info;
    return GetCursorInfo(&info) && (info.flags & CURSOR_SHOWING) != 0 && info.hCursor != nullptr;
}

// Runs one step; 0 to go on, otherwise the drive's result.
int RunStep(Target& target, const std::wstring& step) {
    const size_t colon = step.find(L':');
    const std::wstring verb = step.substr(0, colon);
    const std::wstring arg = colon == std::wstring::npos ? L"" : step.substr(colon + 1);
    std::vector<int> n;
    if (verb == L"exit") {
        if (!ParseInts(arg, n, 1)) {
            return kUsage;
        }
        if (!target.WaitForEnd(static_cast<DWORD>(n[0]))) {
            std::fwprintf(stderr, L"VitrelleDriver: still running after %d ms\n", n[0]);
            return kTimedOut;
        }
        return target.ExitCode();
    }
    if (verb == L"wait" || verb == L"alive") {
        if (!ParseInts(arg, n, 1)) {
            return kUsage;
        }
        if (target.WaitForEnd(static_cast<DWORD>(n[0]))) {
            std::fwprintf(stderr, L"VitrelleDriver: the program ended during %ls (exit code %d)\n",
                          step.c_str(), target.ExitCode());
            return kEndedEarly;
        }
        return 0;
    }
    if (verb == L"pause") {
        HANDLE file = CreateFileW(arg.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return kFailed;
        }
        CloseHandle(file);
        while (GetFileAttributesW(arg.c_str()) != INVALID_FILE_ATTRIBUTES) {
            if (target.Left() == 0) {
                return kTimedOut;
            }
            if (target.Ended()) {
                return kEndedEarly;
            }
            Sleep(50);
        }
        return 0;
    }
    if (target.Ended()) {
        std::fwprintf(stderr, L"VitrelleDriver: the program ended before %ls (exit code %d)\n", step.c_str(),
                      target.ExitCode());
        return kEndedEarly;
    }
    if (verb == L"cursor") {
        // The program takes input at its own pace: wait up to 5 s for the cursor to be as said.
        const bool wanted = arg == L"shown";
        const DWORD start = GetTickCount();
        bool shown = !wanted;
        while (GetTickCount() - start < kCursorWaitMs && target.Left() > 0 && !target.Ended()) {
            if (HWND window = target.MainWindow()) {
                BringToFront(window);
            }
            shown = CursorShown();
            if (shown == wanted) {
                return 0;
            }
            Sleep(50);
        }
        std::fwprintf(stderr, L"VitrelleDriver: the cursor is %ls\n", shown ? L"shown" : L"hidden");
        return kCheckFailed;
    }
    HWND window = target.MainWindow();
    if (!window) {
        std::fwprintf(stderr, L"VitrelleDriver: no window for %ls\n", step.c_str());
        return target.Ended() ? kEndedEarly : kNoWindow;
    }
    BringToFront(window);
    if (verb == L"key") {
        const WORD key = KeyCode(arg);
        if (key == 0) {
            return kUsage;
        }
        SendKey(key);
    } else if (verb == L"drag") {
        if (!ParseInts(arg, n, 4)) {
            return kUsage;
        }
        const POINT from = ScreenPoint(window, n[0], n[1]);
        const POINT to = ScreenPoint(window, n[2], n[3]);
        MoveTo(from);
        SendMouse(MOUSEEVENTF_LEFTDOWN, from);
        Sleep(30);
        constexpr int kDragSteps = 8;
        for (int i = 1; i <= kDragSteps; ++i) {
            MoveTo(
                POINT{from.x + (to.x - from.x) * i / kDragSteps, from.y + (to.y - from.y) * i / kDragSteps});
        }
        // Settle on the end point once more before letting go.
        Sleep(150);
        MoveTo(to);
        Sleep(100);
        SendMouse(MOUSEEVENTF_LEFTUP, to);
    } else {
        if (!ParseInts(arg, n, 2)) {
            return kUsage;
        }
        const POINT point = ScreenPoint(window, n[0], n[1]);
        MoveTo(point);
        if (verb == L"click" || verb == L"down") {
            SendMouse(MOUSEEVENTF_LEFTDOWN, point);
            Sleep(30);
        }
        if (verb == L"click" || verb == L"up") {
            SendMouse(MOUSEEVENTF_LEFTUP, point);
        }
        if (verb == L"rclick") {
            SendMouse(MOUSEEVENTF_RIGHTDOWN, point);
            Sleep(30);
            SendMouse(MOUSEEVENTF_RIGHTUP, point);
        }
        if (verb != L"click" && verb != L"down" && verb != L"up" && verb != L"rclick" && verb != L"move") {
            return kUsage;
        }
    }
    Sleep(50); // let the program take the input in
    return 0;
}

} // namespace

void ClickAt(HWND window, int x, int y) {
    BringToFront(window);
    const POINT point = ScreenPoint(window, x, y);
    MoveTo(point);
    SendMouse(MOUSEEVENTF_LEFTDOWN, point);
    Sleep(30);
    SendMouse(MOUSEEVENTF_LEFTUP, point);
}

void PressKeyOn(HWND window, WORD key) {
    BringToFront(window);
    SendKey(key);
}

int Interact(int argc, wchar_t** argv) {
    int separator = 0;
    while (separator < argc && std::wstring(argv[separator]) != L"--") {
        ++separator;
    }
    if (separator == 0 || separator == argc) {
        return kUsage;
    }
    std::vector<std::wstring> args(argv + 1, argv + separator);
    Target target;
    if (!target.Start(argv[0], args)) {
        return kFailed;
    }
    if (!target.MainWindow()) {
        std::fwprintf(stderr, L"VitrelleDriver: the program showed no window\n");
        return target.Ended() ? kEndedEarly : kNoWindow;
    }
    for (int i = separator + 1; i < argc; ++i) {
        std::fwprintf(stderr, L"VitrelleDriver: %ls\n", argv[i]);
        if (const int result = RunStep(target, argv[i]);
            result != 0 || std::wstring(argv[i]).rfind(L"exit:", 0) == 0) {
            return result;
        }
    }
    std::fwprintf(stderr, L"VitrelleDriver: the program was still running after the last step\n");
    return kStillRunning;
}
