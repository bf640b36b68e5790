// The run sequence shared by the run modes, the callbacks that lead into them, and one frame's scene.
#include "host/CSaverBase.h"

#include "effect/CSaverImpl.h"
#include "framework/DebugOutput.h"
#include "framework/Framework.h"
#include "framework/HResultError.h"
#include "framework/ScopeGuard.h"
#include "host/DialogHost.h"
#include "host/ScopedScene.h"

#include <exception>
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

// No exception may cross the framework's window procedure or loop back into it: a failure inside a
// callback that answers with an HRESULT becomes that answer, any other ends the run.
template <typename Call> void Guarded(void* context, Call call) {
    Mode(context).EndRunWithFailure(ResultOf(call));
}

bool CALLBACK IsDeviceAcceptableThunk(D3DCAPS9* caps, D3DFORMAT adapterFormat, D3DFORMAT backBufferFormat,
                                      bool windowed, void* context) {
    return Mode(context).IsDeviceAcceptable(caps, adapterFormat, backBufferFormat, windowed);
}
bool CALLBACK ModifyDeviceSettingsThunk(DeviceSettings* settings, const D3DCAPS9* caps, void* context) {
    return Mode(context).ModifyDeviceSettings(settings, caps);
}
HRESULT CALLBACK DeviceCreatedThunk(IDirect3DDevice9* device, const D3DSURFACE_DESC* desc, void* context) {
    return ResultOf([&] { return Mode(context).OnDeviceCreated(device, desc); });
}
HRESULT CALLBACK DeviceResetThunk(IDirect3DDevice9* device, const D3DSURFACE_DESC* desc, void* context) {
    return ResultOf([&] { return Mode(context).OnDeviceReset(device, desc); });
}
void CALLBACK DeviceLostThunk(void* context) {
    Guarded(context, [&] { Mode(context).OnDeviceLost(); });
}
void CALLBACK DeviceDestroyedThunk(void* context) {
    Guarded(context, [&] { Mode(context).OnDeviceDestroyed(); });
}
LRESULT CALLBACK WindowMessageThunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    bool* noFurtherProcessing, void* context) {
    LRESULT result = 0;
    Guarded(context,
            [&] { result = Mode(context).OnMessage(window, message, wParam, lParam, noFurtherProcessing); });
    return result;
}
void CALLBACK KeyboardThunk(UINT key, bool keyDown, bool altDown, void* context) {
    Guarded(context, [&] { Mode(context).OnKeyboard(key, keyDown, altDown); });
}
void CALLBACK FrameRenderThunk(IDirect3DDevice9* device, double time, float elapsed, void* context) {
    Guarded(context, [&] { Mode(context).OnFrameRender(device, time, elapsed); });
}
void CALLBACK FrameMoveThunk(IDirect3DDevice9* device, double time, float elapsed, void* context) {
    Guarded(context, [&] { Mode(context).OnFrameMove(device, time, elapsed); });
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
    {
        // The end of every run, however it ends: the effect shut down (and what the run mode holds for
        // the run given back), then the framework, which restores what it changed in the system.
        const ScopeExit end([this] {
            ReportIgnoredFailure(L"ExitSaver", ResultOf([this] { ExitSaver(); }));
            FrameworkShutdown(0);
        });
        RunSteps();
    }
    return FrameworkGetExitCode();
}

void CSaverBase::RunSteps() {
    HRESULT failure = S_OK;
    try {
        RegisterCallbacks();
        ThrowIfFailed(InitFramework());
        ThrowIfFailed(InitSaver());
        ThrowIfFailed(FrameworkMainLoop(nullptr));
        ThrowIfFailed(callbackFailure_);
    } catch (const HResultError& error) {
        failure = error.Code();
    } catch (const std::bad_alloc&) {
        failure = E_OUTOFMEMORY;
    }
    // A failure the framework has already reported keeps its message and exit code.
    if (FAILED(failure) && FrameworkGetExitCode() == 0) {
        FrameworkDisplayErrorMessage(failure);
    }
}

void CSaverBase::EndRunWithFailure(HRESULT hr) {
    if (SUCCEEDED(hr)) {
        return;
    }
    if (SUCCEEDED(callbackFailure_)) {
        callbackFailure_ = hr;
    }
    PostQuitMessage(0);
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

HRESULT CSaverBase::OnDeviceCreated(IDirect3DDevice9* device, const D3DSURFACE_DESC*) {
    if (dialogHost_ != nullptr) {
        dialogHost_->OnDeviceCreated(device);
    }
    return S_OK;
}

// A failing reset goes back to the framework as the callback's result rather than as an exception:
// a reset can come from inside the window procedure (a window resize), which no exception may cross.
// The framework then reports it and ends the run, as it would for a raised failure.
HRESULT CSaverBase::OnDeviceReset(IDirect3DDevice9* device, const D3DSURFACE_DESC*) {
    if (dialogHost_ != nullptr) {
        dialogHost_->OnDeviceReset();
    }
    return Effect().OnResetDevice(device);
}

// A failure of the effect's frame move is no frame failure to shrug off: it goes on to the callback's
// guard, which ends the run, and Run reports it.
void CSaverBase::OnFrameMove(IDirect3DDevice9* device, double time, float elapsed) {
    Effect().OnFrameMove(device, time, elapsed);
    if (elapsed < kLongestThrottledElapsed) {
        WaitForInput(kFrameMoveWaitMs);
    }
}

void CSaverBase::OnFrameRender(IDirect3DDevice9* device, double time, float elapsed) {
    if (const HRESULT hr = ResultOf([&] { RenderScene(device, time, elapsed); }); FAILED(hr)) {
        ReportFrameFailure(hr);
    }
    WaitForInput(kFrameRenderWaitMs);
}

// One scene. A failure abandons the rest of it, and the scene is ended all the same.
void CSaverBase::RenderScene(IDirect3DDevice9* device, double time, float elapsed) {
    if (const DWORD flags = Effect().GetClearFlags(); flags != 0) {
        ThrowIfFailed(device->Clear(0, nullptr, flags, Effect().GetClearColor(), 1.0f, 0));
    }
    ScopedScene scene(device);
    ThrowIfFailed(OnPreRender(device, time, elapsed));
    ReportIgnoredFailure(L"effect frame", Effect().OnFrameRender(device, time, elapsed));
    ThrowIfFailed(OnPostRender(device, time, elapsed));
    ThrowIfFailed(scene.End());
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
    if (dialogHost_ != nullptr) {
        dialogHost_->OnDeviceLost();
    }
}

void CSaverBase::OnDeviceDestroyed() {
    Effect().OnDestroyDevice();
    if (dialogHost_ != nullptr) {
        dialogHost_->OnDeviceDestroyed();
    }
}

void CSaverBase::InitializeEffect(RunModeKind mode) {
    Effect().Initialize(mode);
}
