// Operations shared inside the framework: device changes, pause, shortcut keys, cursor, device choice.
#pragma once

#include "framework/Clock.h"
#include "framework/DeviceEnumeration.h"
#include "framework/DeviceSettings.h"
#include "framework/FrameworkState.h"

#include <windows.h>
#include <d3d9.h>

// Creates, resets or recreates the device for new settings and puts the window in place for them.
HRESULT ChangeDevice(const DeviceSettings& newSettings, IDirect3DDevice9* appDevice, bool forceRecreate,
                     bool clipWindowToSingleAdapter);
HRESULT CreateEnvironment(IDirect3DDevice9* appDevice);
HRESULT ResetEnvironment();
void CleanupEnvironment(bool releaseSettings);

// The process-wide enumeration; PrepareEnumeration lists the machine on first use or when forced.
DeviceEnumeration& GetEnumeration();
HRESULT PrepareEnumeration(bool force);
HRESULT FindValidDeviceSettings(DeviceSettings* out, const DeviceSettings* in, const MatchOptions* match);
HRESULT ToggleFullScreen();
HRESULT ToggleReferenceDevice();

// The Windows keys, and the accessibility hot keys, off (false) or back as the user had them (true),
// through the guard the framework's start set up; nothing before that.
void AllowShortcutKeys(bool allow);
// Whether the application lets the shortcut keys work in that mode.
bool ShortcutKeysAllowedFor(bool windowed);

// The pause key: time paused by one more level, or, when it is paused, released by one; either way
// rendering is released by one level.
void ToggleTimePause();

// One pause level of time and rendering for as long as it lives.
class ScopedPause {
public:
    ScopedPause() { FrameworkPause(true, true); }
    ScopedPause(const ScopedPause&) = delete;
    ScopedPause& operator=(const ScopedPause&) = delete;
    ~ScopedPause() { FrameworkPause(false, false); }
};

void SetupCursor();
// Shows the frame once the device has finished the one before; a device that is lost, or whose
// driver failed, is marked lost.
void PresentFrame(IDirect3DDevice9* device);
// Lets go of what presenting keeps of the device: before it is reset or released.
void ForgetPresentedFrames();
void StopControllerVibration();

// The window's client size and monitor checks after a move or resize.
void CheckForWindowSizeChange();
void CheckForWindowChangingMonitors();

// The call that tells the system what the running device needs of its power state; tests put a
// recorder in its place, null puts the system's call back.
using ExecutionStateFunction = EXECUTION_STATE(WINAPI*)(EXECUTION_STATE flags);
void FrameworkSetExecutionStateFunction(ExecutionStateFunction function);

// The framework's waits and clock source; tests put a controllable clock in its place.
void FrameworkSetClock(Clock* clock);
Clock& FrameworkClock();

// Forgets everything but the loaded Direct3D library, as if the process had just started.
// The framework must have been shut down before.
void FrameworkResetState();

inline bool IsWindowed(const DeviceSettings& s) {
    return s.pp.Windowed != FALSE;
}
