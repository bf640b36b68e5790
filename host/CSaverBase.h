// The base of the three run modes: registers with the framework, runs it from start to end, forwards
// every framework callback to a virtual operation, and gives the process exit code.
#pragma once

#include "effect/CSaver.h"
#include "framework/DeviceSettings.h"

#include <windows.h>
#include <d3d9.h>

#include <memory>

class CGuiControl;

class CSaverBase {
public:
    // Creates the effect, which reads the settings file.
    CSaverBase();
    CSaverBase(const CSaverBase&) = delete;
    CSaverBase& operator=(const CSaverBase&) = delete;
    // Unregisters the callbacks and deletes the effect.
    virtual ~CSaverBase() = 0;

    // Runs the mode to its end; the result is the process exit code.
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

    // The three debug strings a failed frame writes: "ERROR:", the failure's description, "\r\n".
    static void ReportFrameFailure(HRESULT hr);

protected:
    // Runs the given effect instead (tests drive the run sequence with effects of their own).
    explicit CSaverBase(std::unique_ptr<CSaver> effect);

    // True for the background erase, which the run modes answer themselves (see the source).
    static bool IsBackgroundErase(UINT message, bool* noFurtherProcessing);
    // The device callbacks handed to FrameworkCreateDevice, with this object as their context.
    HRESULT CreateDevice(bool windowed, int width, int height);

private:
    HRESULT RenderScene(IDirect3DDevice9* device, double time, float elapsed);

    std::unique_ptr<CSaver> effect_;
    // A failure of the effect's frame move; it ends the main loop and then the run.
    HRESULT frameMoveError_ = S_OK;
};
