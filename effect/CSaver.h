// The effect interface that the run modes drive from the framework's callbacks.
#pragma once

#include "effect/RunModeKind.h"

#include <d3d9.h>

class CSetting;

class CSaver {
public:
    virtual ~CSaver() = default;
    // Tells the effect its run mode.
    virtual void Initialize(RunModeKind runMode) = 0;
    virtual HRESULT Start() = 0;
    virtual void Shutdown() = 0;
    virtual HRESULT OnResetDevice(IDirect3DDevice9* device) = 0;
    virtual void OnLostDevice() = 0;
    // The device goes: everything made on it is released (what outlives a reset too).
    virtual void OnDestroyDevice() { OnLostDevice(); }
    // The flags and colour the host clears the back buffer with before every frame.
    virtual DWORD GetClearFlags() { return D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER; }
    virtual D3DCOLOR GetClearColor() { return 0xFF000000; }
    virtual void OnFrameMove(IDirect3DDevice9* device, double time, float elapsed) = 0;
    virtual HRESULT OnFrameRender(IDirect3DDevice9* device, double time, float elapsed) = 0;
    virtual CSetting* GetSetting() = 0;
    virtual const wchar_t* GetName() = 0;
};
