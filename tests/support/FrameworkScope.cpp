// Helpers for tests of the framework with real windows and devices.
#include "support/FrameworkScope.h"

#include "framework/Framework.h"
#include "framework/FrameworkInternal.h"

#include <doctest/doctest.h>

FrameworkScope::FrameworkScope(bool init) {
    FrameworkShutdown(0);
    FrameworkResetState();
    DrainMessages();
    if (init) {
        REQUIRE(FrameworkInit(true, false, true) == S_OK);
    }
}

FrameworkScope::~FrameworkScope() {
    // The test's callback objects may be gone already: the closing shutdown calls none of them.
    FrameworkSetDeviceCreatedCallback(nullptr, nullptr);
    FrameworkSetDeviceResetCallback(nullptr, nullptr);
    FrameworkSetDeviceLostCallback(nullptr, nullptr);
    FrameworkSetDeviceDestroyedCallback(nullptr, nullptr);
    FrameworkSetFrameMoveCallback(nullptr, nullptr);
    FrameworkSetFrameRenderCallback(nullptr, nullptr);
    FrameworkSetKeyboardCallback(nullptr, nullptr);
    FrameworkSetWindowMessageCallback(nullptr, nullptr);
    GetFrameworkState().Callbacks().Update([](CallbackState& c) {
        c.modifyDeviceSettings = nullptr;
        c.isDeviceAcceptable = nullptr;
    });
    FrameworkShutdown(0);
    FrameworkSetClock(nullptr);
    FrameworkResetState();
    DrainMessages();
}

void DrainMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message != WM_QUIT) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

HWND OpenFrameworkWindow(const wchar_t* title) {
    REQUIRE(FrameworkCreateWindow(title) == S_OK);
    return FrameworkGetHWND();
}

void PressKey(WORD key) {
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = key;
    inputs[1] = inputs[0];
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

DeviceSettings WindowedSettings(HWND window, UINT width, UINT height) {
    DeviceSettings s;
    s.AdapterOrdinal = 0;
    s.DeviceType = D3DDEVTYPE_HAL;
    s.AdapterFormat = D3DFMT_X8R8G8B8;
    s.BehaviorFlags = D3DCREATE_HARDWARE_VERTEXPROCESSING;
    s.pp.BackBufferWidth = width;
    s.pp.BackBufferHeight = height;
    s.pp.BackBufferFormat = D3DFMT_X8R8G8B8;
    s.pp.BackBufferCount = 1;
    s.pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    s.pp.hDeviceWindow = window;
    s.pp.Windowed = TRUE;
    return s;
}

SIZE ClientSizeOf(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

RECT WorkArea() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}
