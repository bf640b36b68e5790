// The one process-wide framework state, in parts by concern, guarded by a lock while a device may be
// used from threads.
#pragma once

#include "framework/DeviceEnumeration.h"
#include "framework/DeviceSettings.h"
#include "framework/Framework.h"
#include "framework/ShortcutKeysGuard.h"
#include "framework/UniqueHandle.h"

#include <windows.h>
#include <d3d9.h>
#include <wrl/client.h>

#include <atomic>
#include <memory>
#include <string>

using Microsoft::WRL::ComPtr;

using Direct3DCreate9Function = IDirect3D9*(WINAPI*)(UINT sdkVersion);

// The Direct3D runtime library, loaded once and kept for the process, and its creation function.
struct Direct3DLibrary {
    UniqueModule module;
    Direct3DCreate9Function create = nullptr;
};

// A callback the application registered, with the context it gets back.
template <typename Function> struct RegisteredCallback {
    Function function = nullptr;
    void* context = nullptr;
};

// The windows the device draws into and what is kept of them across full-screen changes.
struct WindowState {
    HWND focusWindow = nullptr;
    HWND deviceWindowFullScreen = nullptr;
    HWND deviceWindowWindowed = nullptr;
    HINSTANCE instance = nullptr;
    // The framework's own window class, and the program's icon it took from the program file.
    UniqueWindowClass windowClass;
    UniqueIcon extractedIcon;
    std::wstring windowTitle;
    // The window's menu while full screen has taken it away.
    UniqueMenu removedMenu;
    WINDOWPLACEMENT windowedPlacement{};
    DWORD windowedStyle = 0;
    bool topmostWhileWindowed = false;
    UINT windowedBackBufferWidth = 0;
    UINT windowedBackBufferHeight = 0;
    UINT fullScreenBackBufferWidth = 0;
    UINT fullScreenBackBufferHeight = 0;
    HMONITOR adapterMonitor = nullptr;
    bool active = true;
    bool minimised = false;
    bool maximised = false;
    bool insideSizeMove = false;
};

// Direct3D, the device and the settings it was made with.
struct DeviceState {
    ComPtr<IDirect3D9> direct3d;
    ComPtr<IDirect3DDevice9> device;
    std::unique_ptr<DeviceSettings> settings;
    D3DSURFACE_DESC backBufferDesc{};
    D3DCAPS9 caps{};
    bool deviceCreated = false;
    bool deviceObjectsCreated = false;
    bool deviceObjectsReset = false;
    bool insideDeviceCallback = false;
    bool deviceLost = false;
    bool ignoreSizeChange = false;
};

// The clock's values of the last frame and the pause counts.
struct TimingState {
    double time = 0.0;
    double absoluteTime = 0.0;
    float elapsedTime = 0.0f;
    int pauseTimeCount = 0;
    int pauseRenderingCount = 0;
    bool timePaused = false;
    bool renderingPaused = false;
    bool pausedByDeactivation = false;
};

struct CallbackState {
    IsDeviceAcceptableCallback isDeviceAcceptable = nullptr;
    ModifyDeviceSettingsCallback modifyDeviceSettings = nullptr;
    void* deviceChoiceContext = nullptr;
    RegisteredCallback<DeviceCreatedCallback> onDeviceCreated;
    RegisteredCallback<DeviceResetCallback> onDeviceReset;
    RegisteredCallback<DeviceLostCallback> onDeviceLost;
    RegisteredCallback<DeviceDestroyedCallback> onDeviceDestroyed;
    RegisteredCallback<FrameMoveCallback> onFrameMove;
    RegisteredCallback<FrameRenderCallback> onFrameRender;
    RegisteredCallback<KeyboardCallback> onKeyboard;
    RegisteredCallback<WindowMessageCallback> onWindowMessage;
};

// What the application chose, and the switches the default keys turn.
struct OptionState {
    bool handleDefaultHotkeys = false;
    bool handleAltEnter = false;
    bool showMsgBoxOnError = true;
    bool showCursorWhenFullScreen = false;
    bool clipCursorWhenFullScreen = false;
    bool allowShortcutKeysWhenWindowed = true;
    bool allowShortcutKeysWhenFullScreen = false;
    bool callDefWindowProc = true;
    bool autoChangeAdapter = true;
    bool wireframe = false;
};

// How far the application has come, and the exit code.
struct LifecycleState {
    bool initCalled = false;
    bool initialised = false;
    bool windowCreateCalled = false;
    bool windowCreated = false;
    bool deviceCreateCalled = false;
    bool insideMainLoop = false;
    int exitCode = 0;
};

// The user's shortcut keys, guarded from the framework's start to its shutdown.
struct ShortcutKeysState {
    std::unique_ptr<ShortcutKeysGuard> guard;
};

// The lock shared by every part; it is taken only while locking is on.
class StateLock {
public:
    StateLock() { InitializeCriticalSection(&section_); }
    StateLock(const StateLock&) = delete;
    StateLock& operator=(const StateLock&) = delete;
    ~StateLock() { DeleteCriticalSection(&section_); }

    void SetEnabled(bool on) { enabled_ = on; }

    class Hold {
    public:
        explicit Hold(StateLock& lock) : lock_(lock), locked_(lock.enabled_) {
            if (locked_) {
                EnterCriticalSection(&lock_.section_);
            }
        }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
        ~Hold() {
            if (locked_) {
                LeaveCriticalSection(&lock_.section_);
            }
        }

    private:
        StateLock& lock_;
        bool locked_;
    };

private:
    CRITICAL_SECTION section_{};
    std::atomic<bool> enabled_{true};
};

// One part of the state. Every access holds the lock; a change that depends on what is there is one
// Update, never a Get followed by a Set.
template <typename Part> class StatePart {
public:
    explicit StatePart(StateLock& lock) : lock_(lock) {}
    StatePart(const StatePart&) = delete;
    StatePart& operator=(const StatePart&) = delete;

    template <typename T> T Get(T Part::*field) {
        StateLock::Hold hold(lock_);
        return part_.*field;
    }
    template <typename T, typename U> void Set(T Part::*field, U&& value) {
        StateLock::Hold hold(lock_);
        part_.*field = std::forward<U>(value);
    }
    // Runs f on the part under the lock; f must not call back into the framework.
    template <typename F> decltype(auto) Update(F&& f) {
        StateLock::Hold hold(lock_);
        return f(part_);
    }
    // Back to the part's starting values; what it owns is released outside the lock.
    void Clear() {
        Part old;
        {
            StateLock::Hold hold(lock_);
            std::swap(old, part_);
        }
    }

private:
    StateLock& lock_;
    Part part_;
};

class FrameworkState {
public:
    StatePart<WindowState>& Window() { return window_; }
    StatePart<DeviceState>& Device() { return device_; }
    StatePart<TimingState>& Timing() { return timing_; }
    StatePart<CallbackState>& Callbacks() { return callbacks_; }
    StatePart<OptionState>& Options() { return options_; }
    StatePart<LifecycleState>& Lifecycle() { return lifecycle_; }
    StatePart<ShortcutKeysState>& ShortcutKeys() { return shortcutKeys_; }

    // The current device settings: whether there are any, a copy (all zero before the first device),
    // the record Direct3D writes the real back-buffer values into (null before the first device), and
    // an exchange that gives the old record back.
    bool HasSettings();
    DeviceSettings GetSettings();
    DeviceSettings* SettingsRecord();
    std::unique_ptr<DeviceSettings> ExchangeSettings(std::unique_ptr<DeviceSettings> settings);

    void SetLocking(bool on) { lock_.SetEnabled(on); }

    // Back to the state of a fresh process, keeping only the loaded Direct3D library.
    void ResetFields();

    Direct3DLibrary& Library() { return library_; }

private:
    StateLock lock_;
    StatePart<WindowState> window_{lock_};
    StatePart<DeviceState> device_{lock_};
    StatePart<TimingState> timing_{lock_};
    StatePart<CallbackState> callbacks_{lock_};
    StatePart<OptionState> options_{lock_};
    StatePart<LifecycleState> lifecycle_{lock_};
    StatePart<ShortcutKeysState> shortcutKeys_{lock_};
    Direct3DLibrary library_;
};

// The process-wide framework state, created on first use; the framework shuts down at exit.
FrameworkState& GetFrameworkState();
