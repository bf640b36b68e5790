// The mirror-pattern effect: coloured pieces shaken about in a triangular chamber whose image is
// tiled over the screen as mirrored, slowly turning triangles. It is its own settings record; the
// simulation and the device side are rooms of their own, to which the slots delegate.
#pragma once

#include "effect/CSaver.h"
#include "effect/EffectRenderer.h"
#include "effect/EffectSimulation.h"
#include "settings/CSettingImpl.h"

#include <cstdint>
#include <string>

class CSaverImpl : public CSaver, public CSettingImpl {
public:
    // Reads the settings file next to the program.
    CSaverImpl();
    // Reads the given settings file instead (an empty name: no file, the defaults).
    explicit CSaverImpl(std::wstring settingsFile);
    ~CSaverImpl() override;

    void Initialize(RunModeKind runMode) override;
    HRESULT Start() override;
    void Shutdown() override;
    HRESULT OnResetDevice(IDirect3DDevice9* device) override;
    void OnLostDevice() override;
    void OnDestroyDevice() override;
    DWORD GetClearFlags() override;
    void OnFrameMove(IDirect3DDevice9* device, double time, float elapsed) override;
    HRESULT OnFrameRender(IDirect3DDevice9* device, double time, float elapsed) override;
    CSetting* GetSetting() override;
    const wchar_t* GetName() override;
    virtual D3DCOLOR GetPieceColor(double phase, std::int32_t neighbours, std::int32_t index);
    virtual std::int32_t GetTileAlpha(float x, float y, std::int32_t column, std::int32_t row);

    EffectSimulation& Simulation() { return simulation_; }
    EffectRenderer& Renderer() { return renderer_; }

private:
    EffectSimulation simulation_;
    EffectRenderer renderer_;
};
