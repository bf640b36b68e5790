// The effect's slots: the simulation step and the drawing, each handed to its own room with the
// safe values of this frame's settings.
#include "effect/CSaverImpl.h"

#include "effect/ChamberMath.h"
#include "effect/TileLayout.h"
#include "framework/Framework.h"
#include "framework/HResultError.h"

#include <utility>

CSaverImpl::CSaverImpl() = default;

CSaverImpl::CSaverImpl(std::wstring settingsFile) : CSettingImpl(std::move(settingsFile)) {}

CSaverImpl::~CSaverImpl() = default;

void CSaverImpl::Initialize(RunModeKind runMode) {
    if (runMode == RunModeKind::Preview) {
        // The preview's little window: small triangles, few and small pieces; never saved.
        TriangleSize = 32;
        PieceCount = 20;
        PieceScaleMin = 0.1;
        PieceScaleMax = 0.5;
    }
}

HRESULT CSaverImpl::Start() {
    simulation_.Seed(GetTickCount() / 10);
    return S_OK;
}

void CSaverImpl::Shutdown() {
    renderer_.ReleaseDeviceObjects();
}

HRESULT CSaverImpl::OnResetDevice(IDirect3DDevice9* device) {
    try {
        renderer_.CreateDeviceObjects(device, MakeEffectSettings(*this).TriangleSize);
    } catch (const HResultError& error) {
        return error.Code();
    }
    return S_OK;
}

// The atlas lies in the managed pool, which a reset keeps: it is not decoded again after every reset
// (every resize of the settings window resets the device).
void CSaverImpl::OnLostDevice() {
    renderer_.LoseDeviceObjects();
}

void CSaverImpl::OnDestroyDevice() {
    renderer_.ReleaseDeviceObjects();
}

DWORD CSaverImpl::GetClearFlags() {
    return D3DCLEAR_TARGET;
}

void CSaverImpl::OnFrameMove(IDirect3DDevice9*, double, float elapsed) {
    simulation_.Step(MakeEffectSettings(*this), elapsed);
}

HRESULT CSaverImpl::OnFrameRender(IDirect3DDevice9* device, double, float) {
    const D3DPRESENT_PARAMETERS pp = FrameworkGetDeviceSettings().pp;
    renderer_.Render(
        device, simulation_, MakeEffectSettings(*this), pp.BackBufferWidth, pp.BackBufferHeight,
        [this](double phase, std::int32_t neighbours, std::int32_t index) {
            return GetPieceColor(phase, neighbours, index);
        },
        [this](float x, float y, std::int32_t column, std::int32_t row) {
            return GetTileAlpha(x, y, column, row);
        });
    return S_OK;
}

CSetting* CSaverImpl::GetSetting() {
    return static_cast<CSettingImpl*>(this);
}

const wchar_t* CSaverImpl::GetName() {
    return L"Vitrelle";
}

D3DCOLOR CSaverImpl::GetPieceColor(double phase, std::int32_t neighbours, std::int32_t index) {
    return PieceColor(phase, neighbours, index);
}

std::int32_t CSaverImpl::GetTileAlpha(float x, float y, std::int32_t, std::int32_t) {
    const EffectSettings s = MakeEffectSettings(*this);
    const std::uint32_t width = FrameworkGetDeviceSettings().pp.BackBufferWidth;
    return TileAlpha(x, y, width, s.LightStrength, s.LightArea);
}
