// The one process-wide framework state, guarded by a lock while a device may be used from threads.
#pragma once

#include "framework/DeviceSettings.h"
#include "framework/Framework.h"

#include <windows.h>
#include <d3d9.h>
#include <wrl/client.h>

#include <atomic>
#include <memory>
#include <string>

using Microsoft::WRL::ComPtr;

using Direct3DCreate9Function = IDirect3D9*(WINAPI*)(UINT sdkVersion);

// Entry points of the Direct3D runtime library, loaded once and kept for the process.
struct Direct3DEntryPoints {
    HMODULE library = nullptr;
    Direct3DCreate9Function create = nullptr;
    FARPROC perfBeginEvent = nullptr;
    FARPROC perfEndEvent = nullptr;
    FARPROC perfSetMarker = nullptr;
    FARPROC perfSetRegion = nullptr;
    FARPROC perfQueryRepeatFrame = nullptr;
    FARPROC perfSetOptions = nullptr;
    FARPROC perfGetStatus = nullptr;
};

struct FrameworkFields {
    // Direct3D
    ComPtr<IDirect3D9> direct3d;
    ComPtr<IDirect3DDevice9> device;
    std::unique_ptr<DeviceSettings> settings;
    D3DSURFACE_DESC backBufferDesc{};
    D3DCAPS9 caps{};

    // Windows
    HWND focusWindow = nullptr;
    HWND deviceWindowFullScreen = nullptr;
    HWND deviceWindowWindowed = nullptr;
    HINSTANCE instance = nullptr;
    // The program's icon when the framework took it from the program file itself.
    HICON extractedIcon = nullptr;
    std::wstring windowTitle;
    HMENU removedMenu = nullptr;
    WINDOWPLACEMENT windowedPlacement{};
    DWORD windowedStyle = 0;
    bool topmostWhileWindowed = false;
    UINT windowedBackBufferWidth = 0;
    UINT windowedBackBufferHeight = 0;
    UINT fullScreenBackBufferWidth = 0;
    UINT fullScreenBackBufferHeight = 0;
    HMONITOR adapterMonitor = nullptr;

    // Options
    bool handleDefaultHotkeys = false;
    bool handleAltEnter = false;
    bool showMsgBoxOnError = true;
    bool showCursorWhenFullScreen = false;
    bool clipCursorWhenFullScreen = false;
    bool allowShortcutKeysWhenWindowed = true;
    bool allowShortcutKeysWhenFullScreen = false;
    bool callDefWindowProc = true;
    bool autoChangeAdapter = true;

    // Progress
    bool initCalled = false;
    bool initialised = false;
    bool windowCreateCalled = false;
    bool windowCreated = false;
    bool deviceCreateCalled = false;
    bool deviceCreated = false;
    bool deviceObjectsCreated = false;
    bool deviceObjectsReset = false;
    bool insideDeviceCallback = false;
    bool insideMainLoop = false;
    bool active = true;
    bool deviceLost = false;
    bool minimised = false;
    bool maximised = false;
    bool ignoreSizeChange = false;
    bool insideSizeMove = false;
    bool pausedByDeactivation = false;

    int exitCode = 0;

    // Callbacks
    IsDeviceAcceptableCallback isDeviceAcceptable = nullptr;
    ModifyDeviceSettingsCallback modifyDeviceSettings = nullptr;
    void* deviceChoiceContext = nullptr;
    DeviceCreatedCallback deviceCreatedCallback = nullptr;
    void* deviceCreatedContext = nullptr;
    DeviceResetCallback deviceResetCallback = nullptr;
    void* deviceResetContext = nullptr;
    DeviceLostCallback deviceLostCallback = nullptr;
    void* deviceLostContext = nullptr;
    DeviceDestroyedCallback deviceDestroyedCallback = nullptr;
    void* deviceDestroyedContext = nullptr;
    FrameMoveCallback frameMoveCallback = nullptr;
    void* frameMoveContext = nullptr;
    FrameRenderCallback frameRenderCallback = nullptr;
    void* frameRenderContext = nullptr;
    KeyboardCallback keyboardCallback = nullptr;
    void* keyboardContext = nullptr;
    WindowMessageCallback windowMessageCallback = nullptr;
    void* windowMessageContext = nullptr;

    // Timing and pause
    double time = 0.0;
    double absoluteTime = 0.0;
    float elapsedTime = 0.0f;
    int pauseTimeCount = 0;
    int pauseRenderingCount = 0;
    bool timePaused = false;
    bool renderingPaused = false;

    // Shortcut keys and the wireframe switch
    HHOOK keyboardHook = nullptr;
    bool allowShortcutKeys = true;
    STICKYKEYS savedStickyKeys{};
    TOGGLEKEYS savedToggleKeys{};
    FILTERKEYS savedFilterKeys{};
    bool accessibilityChanged = false;
    bool wireframe = false;
};

class FrameworkState {
public:
    FrameworkState();
    FrameworkState(const FrameworkState&) = delete;
    FrameworkState& operator=(const FrameworkState&) = delete;
    ~FrameworkState();

    template <typename T> T Get(T FrameworkFields::*field) {
        Guard guard(*this);
        return fields_.*field;
    }
    template <typename T, typename U> void Set(T FrameworkFields::*field, U&& value) {
        Guard guard(*this);
        fields_.*field = std::forward<U>(value);
    }
    // Runs f on the fields under the lock; f must not call back into the framework.
    template <typename F> decltype(auto) With(F&& f) {
        Guard guard(*this);
        return f(fields_);
    }

    bool HasSettings();
    DeviceSettings GetSettings();
    // The record Direct3D writes the real back-buffer values into; null before the first device.
    DeviceSettings* SettingsRecord();
    std::unique_ptr<DeviceSettings> ExchangeSettings(std::unique_ptr<DeviceSettings> settings);

    void SetLocking(bool on) { lockEnabled_ = on; }

    // Back to the state of a fresh process, keeping only the loaded Direct3D library.
    void ResetFields();

    Direct3DEntryPoints& EntryPoints() { return entryPoints_; }

private:
    class Guard {
    public:
        explicit Guard(FrameworkState& state) : state_(state), locked_(state.lockEnabled_) {
            if (locked_) {
                EnterCriticalSection(&state_.lock_);
            }
        }
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;
        ~Guard() {
            if (locked_) {
                LeaveCriticalSection(&state_.lock_);
            }
        }

    private:
        FrameworkState& state_;
        bool locked_;
    };

    CRITICAL_SECTION lock_{};
    std::atomic<bool> lockEnabled_{true};
    FrameworkFields fields_;
    Direct3DEntryPoints entryPoints_;
};

// The process-wide framework state, created on first use; the framework shuts down at exit.
FrameworkState& GetFrameworkState();
