// The mirror-pattern effect: coloured pieces shaken about in a triangular chamber whose image is
// tiled over the screen as mirrored, slowly turning triangles. It is its own settings record.
#pragma once

#include "effect/CSaver.h"
#include "effect/EffectRandom.h"
#include "effect/EffectSettings.h"
#include "effect/Piece.h"
#include "settings/CSettingImpl.h"

#include <d3dx9core.h>
#include <wrl/client.h>

#include <cstdint>
#include <string>
#include <vector>

class CSaverImpl : public CSaver, public CSettingImpl {
public:
    // Reads the settings file next to the program.
    CSaverImpl();
    // Reads the given settings file instead (an empty name: no file, the defaults).
    explicit CSaverImpl(std::wstring settingsFile);
    ~CSaverImpl() override;

    void Initialize(int runMode) override;
    HRESULT Start() override;
    void Shutdown() override;
    HRESULT OnResetDevice(IDirect3DDevice9* device) override;
    void OnLostDevice() override;
    DWORD GetClearFlags() override;
    void OnFrameMove(IDirect3DDevice9* device, double time, float elapsed) override;
    HRESULT OnFrameRender(IDirect3DDevice9* device, double time, float elapsed) override;
    CSetting* GetSetting() override;
    const wchar_t* GetName() override;
    virtual D3DCOLOR GetPieceColor(double phase, std::int32_t neighbours, std::int32_t index);
    virtual std::int32_t GetTileAlpha(float x, float y, std::int32_t column, std::int32_t row);

    // Seeds the random generator; Start seeds it from the clock.
    void Seed(std::uint32_t seed) { Random.Seed(seed); }
    std::uint32_t RandomState() const { return Random.State(); }
    // The triangle size the current pieces were made for (0 before the first frame).
    std::int32_t PieceTriangleSize() const { return PiecesMadeFor; }

    // The drawing steps of one frame, in the order OnFrameRender runs them. Each raises a failing
    // HRESULT as HResultError; RenderChamber then still ends its sprite batch and gives the device
    // its previous render target back.
    void LoadAtlas(std::int32_t textureIndex);
    void RenderChamber(IDirect3DDevice9* device);
    void SetRenderStates(IDirect3DDevice9* device);
    void DrawTiles(IDirect3DDevice9* device);

    // The device resources, for tests (no reference added).
    IDirect3DTexture9* AtlasTexture() const { return Atlas.Get(); }
    ID3DXSprite* SpriteObject() const { return Sprite.Get(); }
    IDirect3DTexture9* ChamberTexture() const { return ChamberTarget.Get(); }

    // Simulation state, read by the drawing and by tests.
    std::int32_t LoadedTexture = -1;
    double ElapsedTotal = 0.0;
    double RotationAngle = 0.0;
    double ShakeDirection = 0.0;
    double LightPhase = 0.0;
    std::vector<Piece> Pieces;
    double ShakeTimer = 0.0;
    double ShakeSpread = 0.0;
    std::int32_t ShakeFramesLeft = 0;

private:
    void UpdateChamberTarget(const EffectSettings& s, IDirect3DDevice9* given);
    void CreateChamberTarget(IDirect3DDevice9* device, std::int32_t triangleSize);
    void DrawBackdrop(IDirect3DDevice9* device, const EffectSettings& s);
    void DrawPieces(IDirect3DDevice9* device, const EffectSettings& s);
    void DrawMask(IDirect3DDevice9* device, const EffectSettings& s);
    void UpdatePieceCount(const EffectSettings& s);
    void ShakePieces(const EffectSettings& s);
    void DrawLook(Piece& piece, const EffectSettings& s);
    float DrawScale(const EffectSettings& s);

    Microsoft::WRL::ComPtr<IDirect3DTexture9> Atlas;
    Microsoft::WRL::ComPtr<ID3DXSprite> Sprite;
    Microsoft::WRL::ComPtr<IDirect3DTexture9> ChamberTarget;
    EffectRandom Random;
    std::int32_t PiecesMadeFor = 0;
    // Scratch space of the neighbour counts, kept so that frames do not allocate.
    std::vector<std::int32_t> NeighbourCounts;
};
