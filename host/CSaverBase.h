// The base of the three run modes: registers with the framework, runs it from start to end, forwards
// every framework callback to a virtual operation, and gives the process exit code.
#pragma once

#include "effect/CSaver.h"
#include "framework/DeviceSettings.h"
#include "host/CommandLine.h"

#include <windows.h>
#include <d3d9.h>

#include <memory>

class CGuiControl;
class DialogHost;

class CSaverBase {
public:
    // Creates the effect, which reads the settings file.
    CSaverBase();
    CSaverBase(const CSaverBase&) = delete;
    CSaverBase& operator=(const CSaverBase&) = delete;
    // Unregisters the callbacks and deletes the effect.
    virtual ~CSaverBase() = 0;

    // Runs the mode to its end; the result is the process exit code. ExitSaver and the framework's
    // shutdown run on every way out: a failing step, an exception, a normal end.
    virtual int Run();

    virtual HRESULT CreateMainWindow() = 0;
    virtual HRESULT CreateMainDevice() = 0;
    // Around the effect's drawing inside each scene; the settings dialog draws after it.
    virtual HRESULT OnPreRender(IDirect3DDevice9* device, double time, float elapsed);
    virtual HRESULT OnPostRender(IDirect3DDevice9* device, double time, float elapsed);
    virtual void RegisterCallbacks();
    virtual HRESULT InitFramework();
    virtual HRESULT InitSaver();
    virtual void ExitSaver();

    // The framework's callbacks.
    virtual bool IsDeviceAcceptable(const D3DCAPS9* caps, D3DFORMAT adapterFormat, D3DFORMAT backBufferFormat,
                                    bool windowed);
    virtual bool ModifyDeviceSettings(DeviceSettings* settings, const D3DCAPS9* caps);
    virtual HRESULT OnDeviceCreated(IDirect3DDevice9* device, const D3DSURFACE_DESC* backBuffer);
    virtual HRESULT OnDeviceReset(IDirect3DDevice9* device, const D3DSURFACE_DESC* backBuffer);
    virtual void OnFrameMove(IDirect3DDevice9* device, double time, float elapsed);
    virtual void OnFrameRender(IDirect3DDevice9* device, double time, float elapsed);
    virtual LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              bool* noFurtherProcessing);
    virtual void OnKeyboard(UINT key, bool keyDown, bool altDown);
    // Events of the settings dialog's controls.
    virtual void OnGuiEvent(UINT event, int controlId, CGuiControl* control);
    virtual void OnDeviceLost();
    virtual void OnDeviceDestroyed();

    CSaver& Effect() { return *effect_; }

    // Ends the run from inside a callback, where no exception may go on: the main loop stops and Run
    // reports the failure (the first one, when several come).
    void EndRunWithFailure(HRESULT hr);

protected:
    // Runs the given effect instead (tests drive the run sequence with effects of their own).
    explicit CSaverBase(std::unique_ptr<CSaver> effect);

    // True for the background erase, which the run modes answer themselves (see the source).
    static bool IsBackgroundErase(UINT message, bool* noFurtherProcessing);
    // The device callbacks handed to FrameworkCreateDevice, with this object as their context.
    HRESULT CreateDevice(bool windowed, int width, int height);
    // Tells the effect which run mode it is drawn for.
    void InitializeEffect(RunModeKind mode);
    // The run modes that show the settings dialog: the device callbacks pass every device change on
    // to its resource cache.
    void HostDialog(DialogHost& host) { dialogHost_ = &host; }

private:
    // Steps 1 to 4 of the run; a failure is reported here, once.
    void RunSteps();
    // Clear, scene, the effect's and the dialog's drawing; a failure is thrown as HResultError.
    void RenderScene(IDirect3DDevice9* device, double time, float elapsed);

    std::unique_ptr<CSaver> effect_;
    DialogHost* dialogHost_ = nullptr;
    // A failure inside a callback; it ends the main loop and then the run.
    HRESULT callbackFailure_ = S_OK;
};
