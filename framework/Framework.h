// The application framework's public operations: window, device, callbacks, main loop and errors.
#pragma once

#include "framework/DeviceEnumeration.h"
#include "framework/DeviceSettings.h"
#include "framework/FrameworkErrors.h"
#include "framework/UniqueHandle.h"

#include <windows.h>
#include <d3d9.h>

#include <vector>

// Callbacks the application registers; each gets back the context it was registered with.
// (IsDeviceAcceptableCallback comes with the enumeration.)
using ModifyDeviceSettingsCallback = bool(CALLBACK*)(DeviceSettings* settings, const D3DCAPS9* caps,
                                                     void* context);
using DeviceCreatedCallback = HRESULT(CALLBACK*)(IDirect3DDevice9* device, const D3DSURFACE_DESC* backBuffer,
                                                 void* context);
using DeviceResetCallback = HRESULT(CALLBACK*)(IDirect3DDevice9* device, const D3DSURFACE_DESC* backBuffer,
                                               void* context);
using DeviceLostCallback = void(CALLBACK*)(void* context);
using DeviceDestroyedCallback = void(CALLBACK*)(void* context);
using FrameMoveCallback = void(CALLBACK*)(IDirect3DDevice9* device, double time, float elapsed,
                                          void* context);
using FrameRenderCallback = void(CALLBACK*)(IDirect3DDevice9* device, double time, float elapsed,
                                            void* context);
using KeyboardCallback = void(CALLBACK*)(UINT key, bool keyDown, bool altDown, void* context);
using WindowMessageCallback = LRESULT(CALLBACK*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                                 bool* noFurtherProcessing, void* context);

void FrameworkSetDeviceCreatedCallback(DeviceCreatedCallback callback, void* context);
void FrameworkSetDeviceResetCallback(DeviceResetCallback callback, void* context);
void FrameworkSetDeviceLostCallback(DeviceLostCallback callback, void* context);
void FrameworkSetDeviceDestroyedCallback(DeviceDestroyedCallback callback, void* context);
void FrameworkSetFrameMoveCallback(FrameMoveCallback callback, void* context);
void FrameworkSetFrameRenderCallback(FrameRenderCallback callback, void* context);
void FrameworkSetKeyboardCallback(KeyboardCallback callback, void* context);
void FrameworkSetWindowMessageCallback(WindowMessageCallback callback, void* context);

HRESULT FrameworkInit(bool handleDefaultHotkeys = true, bool showMsgBoxOnError = true,
                      bool handleAltEnter = true);
void FrameworkSetCursorSettings(bool showCursorWhenFullScreen, bool clipCursorWhenFullScreen);
HRESULT FrameworkCreateWindow(const wchar_t* title = L"Direct3D Window", HINSTANCE instance = nullptr,
                              HICON icon = nullptr, HMENU menu = nullptr, int x = CW_USEDEFAULT,
                              int y = CW_USEDEFAULT);
HRESULT FrameworkSetWindow(HWND focusWindow, HWND deviceWindowFullScreen, HWND deviceWindowWindowed,
                           bool handleMessages = true);
HRESULT FrameworkCreateDevice(UINT adapterOrdinal = 0, bool windowed = true, int suggestedWidth = 0,
                              int suggestedHeight = 0,
                              IsDeviceAcceptableCallback isDeviceAcceptable = nullptr,
                              ModifyDeviceSettingsCallback modifyDeviceSettings = nullptr,
                              void* context = nullptr);
HRESULT FrameworkMainLoop(HACCEL accelerator = nullptr);
void FrameworkShutdown(int exitCode = 0);
int FrameworkGetExitCode();
void FrameworkDisplayErrorMessage(HRESULT hr);

// Adds one pause level (true) or removes one (false) for time and for rendering.
void FrameworkPause(bool pauseTime, bool pauseRendering);

HWND FrameworkGetHWND();
// The current device without an added reference; null when there is none.
IDirect3DDevice9* FrameworkGetDevice();
DeviceSettings FrameworkGetDeviceSettings();
double FrameworkGetTime();
float FrameworkGetElapsedTime();

// The display modes of an adapter that the settings may choose from, in the enumeration's order; none
// for an adapter that is not listed.
std::vector<D3DDISPLAYMODE> FrameworkGetDisplayModes(UINT adapterOrdinal);

// The framework's window procedure, for windows whose class the application registers itself.
LRESULT CALLBACK FrameworkWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The class of the window the framework makes.
inline constexpr wchar_t kFrameworkWindowClassName[] = L"Direct3DWindowClass";

// Registers a window class for the framework's windows: double clicks, the arrow cursor, no menu.
// The class stays registered while the handle lives. A class of that name registered already counts
// as success and gives an empty handle (the class is left to its owner); any other failure is thrown
// as HResultError.
UniqueWindowClass FrameworkRegisterWindowClass(const wchar_t* name, WNDPROC procedure, HINSTANCE instance,
                                               HICON icon, HBRUSH background);
