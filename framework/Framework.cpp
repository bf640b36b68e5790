// The framework's lifecycle: start, window, shutdown, getters, callbacks and error messages.
#include "framework/Framework.h"

#include "framework/AccessibilitySettings.h"
#include "framework/DebugOutput.h"
#include "framework/FrameworkInternal.h"
#include "framework/FrameworkTimer.h"
#include "framework/HResultError.h"

#include <commctrl.h>
#include <shellapi.h>

#include <string>

namespace {

constexpr size_t kMaxTitleLength = 255;

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

// Settings this program changed are not the user's: a second start keeps the guard of the first.
void GuardShortcutKeys() {
    State().ShortcutKeys().Update([](ShortcutKeysState& keys) {
        if (keys.guard == nullptr) {
            keys.guard = std::make_unique<ShortcutKeysGuard>(FrameworkAccessibilitySettings());
        }
    });
}

// A 1 ms system timer resolution for the whole process makes short waits fine-grained.
void RaiseTimerResolution() {
    const UniqueModule winmm(LoadLibraryW(SystemDirectoryFile(L"winmm.dll").c_str()));
    if (!winmm) {
        ReportIgnoredFailure(L"winmm.dll", HRESULT_FROM_WIN32(GetLastError()));
        return;
    }
    using TimeBeginPeriod = UINT(WINAPI*)(UINT);
    auto timeBeginPeriod = reinterpret_cast<TimeBeginPeriod>(
        reinterpret_cast<void*>(GetProcAddress(winmm.get(), "timeBeginPeriod")));
    if (timeBeginPeriod != nullptr) {
        ReportIgnoredFailure(L"timeBeginPeriod", timeBeginPeriod(1) == 0 ? S_OK : E_FAIL);
    }
}

// Loads the runtime from the system directory once and keeps it for the process.
ComPtr<IDirect3D9> CreateDirect3D() {
    Direct3DLibrary& library = State().Library();
    if (!library.module) {
        library.module.reset(LoadLibraryW(SystemDirectoryFile(L"d3d9.dll").c_str()));
        if (!library.module) {
            return nullptr;
        }
        library.create = reinterpret_cast<Direct3DCreate9Function>(
            reinterpret_cast<void*>(GetProcAddress(library.module.get(), "Direct3DCreate9")));
    }
    if (library.create == nullptr) {
        return nullptr;
    }
    ComPtr<IDirect3D9> direct3d;
    direct3d.Attach(library.create(D3D_SDK_VERSION));
    return direct3d;
}

// Refused while a device callback runs: the device must not change under the callback's feet.
bool InsideDeviceCallback() {
    return State().Device().Get(&DeviceState::insideDeviceCallback);
}

// Starts the framework with default options when the application left that step out.
HRESULT EnsureInitialised() {
    auto [initialised, initCalled] =
        State().Lifecycle().Update([](LifecycleState& l) { return std::pair(l.initialised, l.initCalled); });
    if (initialised) {
        return S_OK;
    }
    if (initCalled) {
        return E_FAIL;
    }
    return FrameworkInit(true, true, true);
}

// The program's icon, the first one of the program file; none for a file without icons.
UniqueIcon ProgramIcon(HINSTANCE instance) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    HICON icon = ExtractIconW(instance, path, 0);
    // ExtractIconW gives 1 for a file that is not a program; that is no icon either.
    return UniqueIcon(icon == reinterpret_cast<HICON>(1) ? nullptr : icon);
}

void CreateFrameworkWindow(const wchar_t* title, HINSTANCE instance, HICON icon, HMENU menu, int x, int y) {
    if (instance == nullptr) {
        instance = GetModuleHandleW(nullptr);
    }
    UniqueIcon extractedIcon;
    if (icon == nullptr) {
        extractedIcon = ProgramIcon(instance);
        icon = extractedIcon.get();
    }
    UniqueWindowClass windowClass =
        FrameworkRegisterWindowClass(kFrameworkWindowClassName, FrameworkWindowProc, instance, icon,
                                     static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));

    RECT rect{0, 0, 640, 480};
    AdjustWindowRect(&rect, WS_OVERLAPPEDWINDOW, menu != nullptr);
    std::wstring windowTitle(title != nullptr ? title : L"");
    if (windowTitle.size() > kMaxTitleLength) {
        windowTitle.resize(kMaxTitleLength);
    }
    State().Window().Set(&WindowState::windowTitle, windowTitle);
    HWND window =
        CreateWindowExW(0, kFrameworkWindowClassName, windowTitle.c_str(), WS_OVERLAPPEDWINDOW, x, y,
                        rect.right - rect.left, rect.bottom - rect.top, nullptr, menu, instance, nullptr);
    if (window == nullptr) {
        throw HResultError(HRESULT_FROM_WIN32(GetLastError()));
    }
    State().Window().Update([&](WindowState& w) {
        w.instance = instance;
        w.windowClass = std::move(windowClass);
        w.extractedIcon = std::move(extractedIcon);
        w.focusWindow = window;
        w.deviceWindowFullScreen = window;
        w.deviceWindowWindowed = window;
    });
    State().Lifecycle().Set(&LifecycleState::windowCreated, true);
}

} // namespace

UniqueWindowClass FrameworkRegisterWindowClass(const wchar_t* name, WNDPROC procedure, HINSTANCE instance,
                                               HICON icon, HBRUSH background) {
    WNDCLASSW windowClass{};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    const ATOM atom = RegisterClassW(&windowClass);
    if (atom != 0) {
        return UniqueWindowClass(RegisteredWindowClass{atom, instance});
    }
    if (const DWORD error = GetLastError(); error != ERROR_CLASS_ALREADY_EXISTS) {
        throw HResultError(HRESULT_FROM_WIN32(error));
    }
    return {};
}

void AllowShortcutKeys(bool allow) {
    State().ShortcutKeys().Update([&](ShortcutKeysState& keys) {
        if (keys.guard != nullptr) {
            keys.guard->Allow(allow);
        }
    });
}

bool ShortcutKeysAllowedFor(bool windowed) {
    return State().Options().Update([&](OptionState& o) {
        return windowed ? o.allowShortcutKeysWhenWindowed : o.allowShortcutKeysWhenFullScreen;
    });
}

HRESULT FrameworkInit(bool handleDefaultHotkeys, bool showMsgBoxOnError, bool handleAltEnter) {
    State().Lifecycle().Set(&LifecycleState::initCalled, true);
    InitCommonControls();
    GuardShortcutKeys();
    RaiseTimerResolution();
    State().Options().Update([&](OptionState& o) {
        o.handleDefaultHotkeys = handleDefaultHotkeys;
        o.showMsgBoxOnError = showMsgBoxOnError;
        o.handleAltEnter = handleAltEnter;
    });
    const bool haveDirect3D = State().Device().Update([](DeviceState& d) {
        if (d.direct3d == nullptr) {
            d.direct3d = CreateDirect3D();
        }
        return d.direct3d != nullptr;
    });
    if (!haveDirect3D) {
        FrameworkDisplayErrorMessage(kErrorNoDirect3D);
        return kErrorNoDirect3D;
    }
    FrameworkTimer::Global().Reset();
    State().Lifecycle().Set(&LifecycleState::initialised, true);
    return S_OK;
}

void FrameworkSetCursorSettings(bool showCursorWhenFullScreen, bool clipCursorWhenFullScreen) {
    State().Options().Update([&](OptionState& o) {
        o.showCursorWhenFullScreen = showCursorWhenFullScreen;
        o.clipCursorWhenFullScreen = clipCursorWhenFullScreen;
    });
    SetupCursor();
}

HRESULT FrameworkCreateWindow(const wchar_t* title, HINSTANCE instance, HICON icon, HMENU menu, int x,
                              int y) {
    if (InsideDeviceCallback()) {
        return E_FAIL;
    }
    State().Lifecycle().Set(&LifecycleState::windowCreateCalled, true);
    if (HRESULT hr = EnsureInitialised(); FAILED(hr)) {
        return hr;
    }
    if (State().Window().Get(&WindowState::focusWindow) != nullptr) {
        return S_OK;
    }
    return ResultOf([&] { CreateFrameworkWindow(title, instance, icon, menu, x, y); });
}

HRESULT FrameworkSetWindow(HWND focusWindow, HWND deviceWindowFullScreen, HWND deviceWindowWindowed,
                           bool handleMessages) {
    if (InsideDeviceCallback()) {
        return E_FAIL;
    }
    State().Lifecycle().Set(&LifecycleState::windowCreateCalled, true);
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
    wchar_t title[kMaxTitleLength + 1] = {};
    GetWindowTextW(focusWindow, title, static_cast<int>(std::size(title)));
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(focusWindow, GWLP_HINSTANCE));
    State().Window().Update([&](WindowState& w) {
        w.windowTitle = title;
        w.instance = instance;
        w.focusWindow = focusWindow;
        w.deviceWindowFullScreen = deviceWindowFullScreen;
        w.deviceWindowWindowed = deviceWindowWindowed;
    });
    State().Lifecycle().Set(&LifecycleState::windowCreated, true);
    return S_OK;
}

void FrameworkShutdown(int exitCode) {
    if (HWND window = FrameworkGetHWND(); window != nullptr && IsWindow(window)) {
        SendMessageW(window, WM_CLOSE, 0, 0);
    }
    State().Lifecycle().Update([&](LifecycleState& l) {
        // A failure already reported keeps its exit code: a later normal shutdown must not turn it
        // into success. The reference-device marker is no failure and goes.
        const bool failureStored = l.exitCode != 0 && l.exitCode != kExitCodeReferenceDevice;
        if (exitCode != 0 || !failureStored) {
            l.exitCode = exitCode;
        }
    });
    CleanupEnvironment(true);
    // The guard gives the user's shortcut keys back as it goes.
    State().ShortcutKeys().Clear();
    State().Device().Set(&DeviceState::direct3d, nullptr);
}

int FrameworkGetExitCode() {
    return State().Lifecycle().Get(&LifecycleState::exitCode);
}

void FrameworkDisplayErrorMessage(HRESULT hr) {
    const ErrorReport report = ErrorReportFor(hr, GetSystemMetrics(SM_REMOTESESSION) != 0);
    State().Lifecycle().Set(&LifecycleState::exitCode, report.exitCode);
    if (State().Options().Get(&OptionState::showMsgBoxOnError)) {
        const std::wstring caption = ErrorCaption(State().Window().Get(&WindowState::windowTitle));
        MessageBoxW(FrameworkGetHWND(), report.text.c_str(), caption.c_str(), MB_ICONERROR);
    }
}

HWND FrameworkGetHWND() {
    const bool windowed = !State().HasSettings() || IsWindowed(State().GetSettings());
    return State().Window().Update(
        [&](WindowState& w) { return windowed ? w.deviceWindowWindowed : w.deviceWindowFullScreen; });
}

IDirect3DDevice9* FrameworkGetDevice() {
    return State().Device().Update([](DeviceState& d) { return d.device.Get(); });
}

DeviceSettings FrameworkGetDeviceSettings() {
    return State().GetSettings();
}

double FrameworkGetTime() {
    return State().Timing().Get(&TimingState::time);
}

float FrameworkGetElapsedTime() {
    return State().Timing().Get(&TimingState::elapsedTime);
}

void FrameworkSetDeviceCreatedCallback(DeviceCreatedCallback callback, void* context) {
    State().Callbacks().Set(&CallbackState::onDeviceCreated, RegisteredCallback{callback, context});
}

void FrameworkSetDeviceResetCallback(DeviceResetCallback callback, void* context) {
    State().Callbacks().Set(&CallbackState::onDeviceReset, RegisteredCallback{callback, context});
}

void FrameworkSetDeviceLostCallback(DeviceLostCallback callback, void* context) {
    State().Callbacks().Set(&CallbackState::onDeviceLost, RegisteredCallback{callback, context});
}

void FrameworkSetDeviceDestroyedCallback(DeviceDestroyedCallback callback, void* context) {
    State().Callbacks().Set(&CallbackState::onDeviceDestroyed, RegisteredCallback{callback, context});
}

void FrameworkSetFrameMoveCallback(FrameMoveCallback callback, void* context) {
    State().Callbacks().Set(&CallbackState::onFrameMove, RegisteredCallback{callback, context});
}

void FrameworkSetFrameRenderCallback(FrameRenderCallback callback, void* context) {
    State().Callbacks().Set(&CallbackState::onFrameRender, RegisteredCallback{callback, context});
}

void FrameworkSetKeyboardCallback(KeyboardCallback callback, void* context) {
    State().Callbacks().Set(&CallbackState::onKeyboard, RegisteredCallback{callback, context});
}

void FrameworkSetWindowMessageCallback(WindowMessageCallback callback, void* context) {
    State().Callbacks().Set(&CallbackState::onWindowMessage, RegisteredCallback{callback, context});
}

void FrameworkResetState() {
    State().ResetFields();
    State().SetLocking(true);
}
