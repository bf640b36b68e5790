// The run sequence shared by the run modes, the callbacks that lead into them, and one frame's scene.
#include "host/CSaverBase.h"

#include "effect/CSaverImpl.h"
#include "framework/HResultError.h"
#include "framework/Framework.h"

#include <new>
#include <utility>

namespace {

// Input that arrives ends these waits early, so the saver never spins and still answers at once.
constexpr DWORD kFrameMoveWaitMs = 10;
constexpr DWORD kFrameRenderWaitMs = 1;
constexpr float kLongestThrottledElapsed = 10.0f;

void WaitForInput(DWORD milliseconds) {
    MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds, QS_ALLINPUT, MWMO_ALERTABLE);
}

CSaverBase& Mode(void* context) {
    return *static_cast<CSaverBase*>(context);
}

bool CALLBACK IsDeviceAcceptableThunk(D3DCAPS9* caps, D3DFORMAT adapterFormat, D3DFORMAT backBufferFormat,
                                      bool windowed, void* context) {
    return Mode(context).IsDeviceAcceptable(caps, adapterFormat, backBufferFormat, windowed);
}
bool CALLBACK ModifyDeviceSettingsThunk(DeviceSettings* settings, const D3DCAPS9* caps, void* context) {
    return Mode(context).ModifyDeviceSettings(settings, caps);
}
HRESULT CALLBACK DeviceCreatedThunk(IDirect3DDevice9* device, const D3DSURFACE_DESC* desc, void* context) {
    return Mode(context).OnDeviceCreated(device, desc);
}
HRESULT CALLBACK DeviceResetThunk(IDirect3DDevice9* device, const D3DSURFACE_DESC* desc, void* context) {
    return Mode(context).OnDeviceReset(device, desc);
}
void CALLBACK DeviceLostThunk(void* context) {
    Mode(context).OnDeviceLost();
}
void CALLBACK DeviceDestroyedThunk(void* context) {
    Mode(context).OnDeviceDestroyed();
}
LRESULT CALLBACK WindowMessageThunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    bool* noFurtherProcessing, void* context) {
    return Mode(context).OnMessage(window, message, wParam, lParam, noFurtherProcessing);
}
void CALLBACK KeyboardThunk(UINT key, bool keyDown, bool altDown, void* context) {
    Mode(context).OnKeyboard(key, keyDown, altDown);
}
void CALLBACK FrameRenderThunk(IDirect3DDevice9* device, double time, float elapsed, void* context) {
    Mode(context).OnFrameRender(device, time, elapsed);
}
void CALLBACK FrameMoveThunk(IDirect3DDevice9* device, double time, float elapsed, void* context) {
    Mode(context).OnFrameMove(device, time, elapsed);
}

} // namespace

CSaverBase::CSaverBase() : effect_(new CSaverImpl) {}

CSaverBase::CSaverBase(std::unique_ptr<CSaver> effect) : effect_(std::move(effect)) {}

CSaverBase::~CSaverBase() {
    FrameworkSetDeviceCreatedCallback(nullptr, nullptr);
    FrameworkSetDeviceResetCallback(nullptr, nullptr);
    FrameworkSetDeviceLostCallback(nullptr, nullptr);
    FrameworkSetDeviceDestroyedCallback(nullptr, nullptr);
    FrameworkSetWindowMessageCallback(nullptr, nullptr);
    FrameworkSetKeyboardCallback(nullptr, nullptr);
    FrameworkSetFrameRenderCallback(nullptr, nullptr);
    FrameworkSetFrameMoveCallback(nullptr, nullptr);
}

int CSaverBase::Run() {
    try {
        RegisterCallbacks();
        ThrowIfFailed(InitFramework());
        ThrowIfFailed(InitSaver());
        ThrowIfFailed(FrameworkMainLoop(nullptr));
        ThrowIfFailed(frameMoveError_);
        ExitSaver();
        FrameworkShutdown(0);
    } catch (const HResultError& error) {
        // A failure the framework has already reported keeps its message and exit code.
        if (FrameworkGetExitCode() == 0) {
            FrameworkDisplayErrorMessage(error.Code());
        }
    }
    return FrameworkGetExitCode();
}

HRESULT CSaverBase::OnPreRender(IDirect3DDevice9*, double, float) {
    return S_OK;
}

HRESULT CSaverBase::OnPostRender(IDirect3DDevice9*, double, float) {
    return S_OK;
}

void CSaverBase::RegisterCallbacks() {
    FrameworkSetDeviceCreatedCallback(DeviceCreatedThunk, this);
    FrameworkSetDeviceResetCallback(DeviceResetThunk, this);
    FrameworkSetDeviceLostCallback(DeviceLostThunk, this);
    FrameworkSetDeviceDestroyedCallback(DeviceDestroyedThunk, this);
    FrameworkSetWindowMessageCallback(WindowMessageThunk, this);
    FrameworkSetKeyboardCallback(KeyboardThunk, this);
    FrameworkSetFrameRenderCallback(FrameRenderThunk, this);
    FrameworkSetFrameMoveCallback(FrameMoveThunk, this);
}

HRESULT CSaverBase::InitFramework() {
    if (HRESULT hr = FrameworkInit(true, true, false); FAILED(hr)) {
        return hr;
    }
    FrameworkSetCursorSettings(false, true);
    if (HRESULT hr = CreateMainWindow(); FAILED(hr)) {
        return hr;
    }
    return CreateMainDevice();
}

HRESULT CSaverBase::InitSaver() {
    return Effect().Start();
}

void CSaverBase::ExitSaver() {
    Effect().Shutdown();
}

HRESULT CSaverBase::CreateDevice(bool windowed, int width, int height) {
    return FrameworkCreateDevice(0, windowed, width, height, IsDeviceAcceptableThunk,
                                 ModifyDeviceSettingsThunk, this);
}

bool CSaverBase::IsDeviceAcceptable(const D3DCAPS9*, D3DFORMAT, D3DFORMAT, bool) {
    return true;
}

bool CSaverBase::ModifyDeviceSettings(DeviceSettings* settings, const D3DCAPS9*) {
    settings->pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    return true;
}

HRESULT CSaverBase::OnDeviceCreated(IDirect3DDevice9*, const D3DSURFACE_DESC*) {
    return S_OK;
}

// A failing reset goes back to the framework as the callback's result rather than as an exception:
// a reset can come from inside the window procedure (a window resize), which no exception may cross.
// The framework then reports it and ends the run, as it would for a raised failure.
HRESULT CSaverBase::OnDeviceReset(IDirect3DDevice9* device, const D3DSURFACE_DESC*) {
    return Effect().OnResetDevice(device);
}

void CSaverBase::OnFrameMove(IDirect3DDevice9* device, double time, float elapsed) {
    try {
        Effect().OnFrameMove(device, time, elapsed);
    } catch (const HResultError& error) {
        // Not a frame failure to shrug off: the run ends, and Run reports it.
        if (SUCCEEDED(frameMoveError_)) {
            frameMoveError_ = error.Code();
        }
        PostQuitMessage(0);
    } catch (const std::bad_alloc&) {
        if (SUCCEEDED(frameMoveError_)) {
            frameMoveError_ = E_OUTOFMEMORY;
        }
        PostQuitMessage(0);
    }
    if (elapsed < kLongestThrottledElapsed) {
        WaitForInput(kFrameMoveWaitMs);
    }
}

void CSaverBase::OnFrameRender(IDirect3DDevice9* device, double time, float elapsed) {
    if (HRESULT hr = RenderScene(device, time, elapsed); FAILED(hr)) {
        ReportFrameFailure(hr);
    }
    WaitForInput(kFrameRenderWaitMs);
}

// One scene. A scene once begun is always ended, also after a failure inside it: a scene left open
// would make every later BeginScene fail and the screen would never be drawn again.
HRESULT CSaverBase::RenderScene(IDirect3DDevice9* device, double time, float elapsed) {
    if (const DWORD flags = Effect().GetClearFlags(); flags != 0) {
        if (HRESULT hr = device->Clear(0, nullptr, flags, Effect().GetClearColor(), 1.0f, 0); FAILED(hr)) {
            return hr;
        }
    }
    if (HRESULT hr = device->BeginScene(); FAILED(hr)) {
        return hr;
    }
    HRESULT hr = OnPreRender(device, time, elapsed);
    if (SUCCEEDED(hr)) {
        try {
            Effect().OnFrameRender(device, time, elapsed);
        } catch (const HResultError& error) {
            hr = error.Code();
        } catch (const std::bad_alloc&) {
            hr = E_OUTOFMEMORY;
        }
    }
    if (SUCCEEDED(hr)) {
        hr = OnPostRender(device, time, elapsed);
    }
    const HRESULT ended = device->EndScene();
    return FAILED(hr) ? hr : ended;
}

LRESULT CSaverBase::OnMessage(HWND, UINT message, WPARAM, LPARAM, bool* noFurtherProcessing) {
    return IsBackgroundErase(message, noFurtherProcessing) ? 1 : 0;
}

// Every frame covers the whole client area, so the window's background is never erased. Under Wine
// the device window of a running device keeps getting WM_PAINT (observed several times a second on
// the full-screen saver); the default handling then filled the window with the class's black brush
// over the presented frame, and the screen showed black between frames.
bool CSaverBase::IsBackgroundErase(UINT message, bool* noFurtherProcessing) {
    if (message != WM_ERASEBKGND) {
        return false;
    }
    if (noFurtherProcessing != nullptr) {
        *noFurtherProcessing = true;
    }
    return true;
}

void CSaverBase::OnKeyboard(UINT, bool, bool) {}

void CSaverBase::OnGuiEvent(UINT, int, CGuiControl*) {}

void CSaverBase::OnDeviceLost() {
    Effect().OnLostDevice();
}

void CSaverBase::OnDeviceDestroyed() {
    Effect().OnLostDevice();
}

void CSaverBase::ReportFrameFailure(HRESULT hr) {
    OutputDebugStringW(L"ERROR:");
    OutputDebugStringW(ErrorDescription(hr));
    OutputDebugStringW(L"\r\n");
}
