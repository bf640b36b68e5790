// The framework's lifecycle: start, window, shutdown, getters, callbacks and error messages.
#include "framework/Framework.h"

#include "framework/AccessibilitySettings.h"
#include "framework/FrameworkInternal.h"
#include "framework/FrameworkTimer.h"

#include <commctrl.h>
#include <shellapi.h>

#include <string>

namespace {

using F = FrameworkFields;

constexpr wchar_t WindowClassName[] = L"Direct3DWindowClass";
constexpr size_t MaxTitleLength = 255;

FrameworkState& State() {
    return GetFrameworkState();
}

std::wstring SystemDirectoryFile(const wchar_t* name) {
    wchar_t directory[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return name;
    }
    return std::wstring(directory, length) + L"\\" + name;
}

void SaveAccessibilitySettings() {
    State().With([](F& f) {
        // Settings this program changed are not the user's: keep the ones saved before.
        if (f.accessibilityChanged) {
            return;
        }
        const AccessibilityRecords records = FrameworkAccessibilitySettings().Read();
        f.savedStickyKeys = records.sticky;
        f.savedToggleKeys = records.toggle;
        f.savedFilterKeys = records.filter;
    });
}

// A 1 ms system timer resolution for the whole process makes short waits fine-grained.
void RaiseTimerResolution() {
    HMODULE winmm = LoadLibraryW(SystemDirectoryFile(L"winmm.dll").c_str());
    if (winmm == nullptr) {
        return;
    }
    using TimeBeginPeriod = UINT(WINAPI*)(UINT);
    auto timeBeginPeriod =
        reinterpret_cast<TimeBeginPeriod>(reinterpret_cast<void*>(GetProcAddress(winmm, "timeBeginPeriod")));
    if (timeBeginPeriod != nullptr) {
        timeBeginPeriod(1);
    }
    FreeLibrary(winmm);
}

FARPROC Entry(HMODULE library, const char* name) {
    return GetProcAddress(library, name);
}

// Loads the runtime from the system directory once and keeps it for the process.
ComPtr<IDirect3D9> CreateDirect3D() {
    Direct3DEntryPoints& entry = State().EntryPoints();
    if (entry.library == nullptr) {
        entry.library = LoadLibraryW(SystemDirectoryFile(L"d3d9.dll").c_str());
        if (entry.library == nullptr) {
            return nullptr;
        }
        entry.create = reinterpret_cast<Direct3DCreate9Function>(
            reinterpret_cast<void*>(Entry(entry.library, "Direct3DCreate9")));
        entry.perfBeginEvent = Entry(entry.library, "D3DPERF_BeginEvent");
        entry.perfEndEvent = Entry(entry.library, "D3DPERF_EndEvent");
        entry.perfSetMarker = Entry(entry.library, "D3DPERF_SetMarker");
        entry.perfSetRegion = Entry(entry.library, "D3DPERF_SetRegion");
        entry.perfQueryRepeatFrame = Entry(entry.library, "D3DPERF_QueryRepeatFrame");
        entry.perfSetOptions = Entry(entry.library, "D3DPERF_SetOptions");
        entry.perfGetStatus = Entry(entry.library, "D3DPERF_GetStatus");
    }
    if (entry.create == nullptr) {
        return nullptr;
    }
    ComPtr<IDirect3D9> direct3d;
    direct3d.Attach(entry.create(D3D_SDK_VERSION));
    return direct3d;
}

// Refused while a device callback runs: the device must not change under the callback's feet.
bool InsideDeviceCallback() {
    return State().Get(&F::insideDeviceCallback);
}

// Starts the framework with default options when the application left that step out.
HRESULT EnsureInitialised() {
    if (State().Get(&F::initialised)) {
        return S_OK;
    }
    if (State().Get(&F::initCalled)) {
        return E_FAIL;
    }
    return FrameworkInit(true, true, true);
}

} // namespace

HRESULT FrameworkInit(bool handleDefaultHotkeys, bool showMsgBoxOnError, bool handleAltEnter) {
    State().Set(&F::initCalled, true);
    InitCommonControls();
    SaveAccessibilitySettings();
    RaiseTimerResolution();
    State().With([&](F& f) {
        f.handleDefaultHotkeys = handleDefaultHotkeys;
        f.showMsgBoxOnError = showMsgBoxOnError;
        f.handleAltEnter = handleAltEnter;
    });
    if (State().Get(&F::direct3d) == nullptr) {
        ComPtr<IDirect3D9> direct3d = CreateDirect3D();
        if (direct3d == nullptr) {
            FrameworkDisplayErrorMessage(ErrorNoDirect3D);
            return ErrorNoDirect3D;
        }
        State().Set(&F::direct3d, std::move(direct3d));
    }
    FrameworkTimer::Global().Reset();
    State().Set(&F::initialised, true);
    return S_OK;
}

void FrameworkSetCursorSettings(bool showCursorWhenFullScreen, bool clipCursorWhenFullScreen) {
    State().With([&](F& f) {
        f.showCursorWhenFullScreen = showCursorWhenFullScreen;
        f.clipCursorWhenFullScreen = clipCursorWhenFullScreen;
    });
    SetupCursor();
}

HRESULT FrameworkCreateWindow(const wchar_t* title, HINSTANCE instance, HICON icon, HMENU menu, int x,
                              int y) {
    if (InsideDeviceCallback()) {
        return E_FAIL;
    }
    State().Set(&F::windowCreateCalled, true);
    if (HRESULT hr = EnsureInitialised(); FAILED(hr)) {
        return hr;
    }
    if (State().Get(&F::focusWindow) != nullptr) {
        return S_OK;
    }
    if (instance == nullptr) {
        instance = GetModuleHandleW(nullptr);
    }
    State().Set(&F::instance, instance);
    if (icon == nullptr) {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        icon = ExtractIconW(instance, path, 0);
        // ExtractIconW gives 1 for a file that is not a program; that is no icon either.
        if (icon == reinterpret_cast<HICON>(1)) {
            icon = nullptr;
        }
        State().Set(&F::extractedIcon, icon);
    }

    WNDCLASSW windowClass{};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = FrameworkWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = WindowClassName;
    if (RegisterClassW(&windowClass) == 0) {
        const DWORD error = GetLastError();
        if (error != ERROR_CLASS_ALREADY_EXISTS) {
            return HRESULT_FROM_WIN32(error);
        }
    }

    RECT rect{0, 0, 640, 480};
    AdjustWindowRect(&rect, WS_OVERLAPPEDWINDOW, menu != nullptr);
    std::wstring windowTitle(title != nullptr ? title : L"");
    if (windowTitle.size() > MaxTitleLength) {
        windowTitle.resize(MaxTitleLength);
    }
    State().Set(&F::windowTitle, windowTitle);
    HWND window =
        CreateWindowExW(0, WindowClassName, windowTitle.c_str(), WS_OVERLAPPEDWINDOW, x, y,
                        rect.right - rect.left, rect.bottom - rect.top, nullptr, menu, instance, nullptr);
    if (window == nullptr) {
        return HRESULT_FROM_WIN32(GetLastError());
    }
    State().With([&](F& f) {
        f.focusWindow = window;
        f.deviceWindowFullScreen = window;
        f.deviceWindowWindowed = window;
        f.windowCreated = true;
    });
    return S_OK;
}

HRESULT FrameworkSetWindow(HWND focusWindow, HWND deviceWindowFullScreen, HWND deviceWindowWindowed,
                           bool handleMessages) {
    if (InsideDeviceCallback()) {
        return E_FAIL;
    }
    State().Set(&F::windowCreateCalled, true);
    if (focusWindow == nullptr || deviceWindowFullScreen == nullptr || deviceWindowWindowed == nullptr) {
        return E_INVALIDARG;
    }
    if (handleMessages) {
        SetLastError(0);
        // 64-bit windows keep their procedure in a pointer-sized slot.
        if (SetWindowLongPtrW(focusWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FrameworkWindowProc)) ==
                0 &&
            GetLastError() != 0) {
            return HRESULT_FROM_WIN32(GetLastError());
        }
    }
    if (HRESULT hr = EnsureInitialised(); FAILED(hr)) {
        return hr;
    }
    wchar_t title[MaxTitleLength + 1] = {};
    GetWindowTextW(focusWindow, title, static_cast<int>(std::size(title)));
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(focusWindow, GWLP_HINSTANCE));
    State().With([&](F& f) {
        f.windowTitle = title;
        f.instance = instance;
        f.focusWindow = focusWindow;
        f.deviceWindowFullScreen = deviceWindowFullScreen;
        f.deviceWindowWindowed = deviceWindowWindowed;
        f.windowCreated = true;
    });
    return S_OK;
}

void FrameworkShutdown(int exitCode) {
    if (HWND window = FrameworkGetHWND(); window != nullptr && IsWindow(window)) {
        SendMessageW(window, WM_CLOSE, 0, 0);
    }
    State().With([&](F& f) {
        // A failure already reported keeps its exit code: a later normal shutdown must not turn it
        // into success. The reference-device marker is no failure and goes.
        const bool failureStored = f.exitCode != 0 && f.exitCode != ExitCodeReferenceDevice;
        if (exitCode != 0 || !failureStored) {
            f.exitCode = exitCode;
        }
    });
    CleanupEnvironment(true);
    AllowShortcutKeys(true);
    State().Set(&F::direct3d, nullptr);
}

int FrameworkGetExitCode() {
    return State().Get(&F::exitCode);
}

void FrameworkDisplayErrorMessage(HRESULT hr) {
    const ErrorReport report = ErrorReportFor(hr, GetSystemMetrics(SM_REMOTESESSION) != 0);
    State().Set(&F::exitCode, report.exitCode);
    if (State().Get(&F::showMsgBoxOnError)) {
        const std::wstring caption = ErrorCaption(State().Get(&F::windowTitle));
        MessageBoxW(FrameworkGetHWND(), report.text.c_str(), caption.c_str(), MB_ICONERROR);
    }
}

HWND FrameworkGetHWND() {
    const bool windowed = !State().HasSettings() || IsWindowed(State().GetSettings());
    return State().With([&](F& f) { return windowed ? f.deviceWindowWindowed : f.deviceWindowFullScreen; });
}

IDirect3DDevice9* FrameworkGetDevice() {
    return State().With([](F& f) { return f.device.Get(); });
}

DeviceSettings FrameworkGetDeviceSettings() {
    return State().GetSettings();
}

double FrameworkGetTime() {
    return State().Get(&F::time);
}

float FrameworkGetElapsedTime() {
    return State().Get(&F::elapsedTime);
}

void FrameworkSetDeviceCreatedCallback(DeviceCreatedCallback callback, void* context) {
    State().With([&](F& f) {
        f.deviceCreatedCallback = callback;
        f.deviceCreatedContext = context;
    });
}

void FrameworkSetDeviceResetCallback(DeviceResetCallback callback, void* context) {
    State().With([&](F& f) {
        f.deviceResetCallback = callback;
        f.deviceResetContext = context;
    });
}

void FrameworkSetDeviceLostCallback(DeviceLostCallback callback, void* context) {
    State().With([&](F& f) {
        f.deviceLostCallback = callback;
        f.deviceLostContext = context;
    });
}

void FrameworkSetDeviceDestroyedCallback(DeviceDestroyedCallback callback, void* context) {
    State().With([&](F& f) {
        f.deviceDestroyedCallback = callback;
        f.deviceDestroyedContext = context;
    });
}

void FrameworkSetFrameMoveCallback(FrameMoveCallback callback, void* context) {
    State().With([&](F& f) {
        f.frameMoveCallback = callback;
        f.frameMoveContext = context;
    });
}

void FrameworkSetFrameRenderCallback(FrameRenderCallback callback, void* context) {
    State().With([&](F& f) {
        f.frameRenderCallback = callback;
        f.frameRenderContext = context;
    });
}

void FrameworkSetKeyboardCallback(KeyboardCallback callback, void* context) {
    State().With([&](F& f) {
        f.keyboardCallback = callback;
        f.keyboardContext = context;
    });
}

void FrameworkSetWindowMessageCallback(WindowMessageCallback callback, void* context) {
    State().With([&](F& f) {
        f.windowMessageCallback = callback;
        f.windowMessageContext = context;
    });
}

void FrameworkResetState() {
    State().ResetFields();
    State().SetLocking(true);
}
