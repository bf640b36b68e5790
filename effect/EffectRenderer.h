// The effect's device side: the piece atlas, the chamber image and the drawing of the chamber and
// of its mirrored tiles. It draws what the simulation holds and owns every device object the
// effect uses; it reads no framework state.
#pragma once

#include "effect/DynamicVertexBuffer.h"
#include "effect/EffectSettings.h"
#include "effect/EffectSimulation.h"
#include "effect/TileRegions.h"

#include <d3d9.h>
#include <wrl/client.h>

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

// The colour of a piece (phase, neighbours, index).
using PieceColourFunction = std::function<D3DCOLOR(double, std::int32_t, std::int32_t)>;

class EffectRenderer {
public:
    // Makes the device objects for triangles of the given size, after a device creation or reset, and
    // learns whether the device blends two textures in one pass.
    void CreateDeviceObjects(IDirect3DDevice9* device, std::int32_t triangleSize);
    // Releases the objects a device reset takes away (the chamber target and the vertices); the
    // atlas, in the managed pool, outlives the reset. Safe to repeat.
    void LoseDeviceObjects();
    // Releases every device object and forgets the atlas; safe to repeat.
    void ReleaseDeviceObjects();

    // One frame: the atlas of the chosen style, the chamber image, then the tiles over a back
    // buffer of width by height pixels. Each step raises a failing HRESULT as HResultError.
    void Render(IDirect3DDevice9* device, const EffectSimulation& simulation, const EffectSettings& s,
                std::uint32_t width, std::uint32_t height, const PieceColourFunction& pieceColour,
                const TileLightFunction& tileLight);

    // The steps of Render, in its order. RenderChamber gives the device its previous render target
    // back also when it fails.
    void LoadAtlas(IDirect3DDevice9* device, std::int32_t textureIndex);
    void FitChamberTarget(IDirect3DDevice9* device, std::int32_t triangleSize);
    void RenderChamber(IDirect3DDevice9* device, const EffectSimulation& simulation, const EffectSettings& s,
                       const PieceColourFunction& pieceColour);
    void SetRenderStates(IDirect3DDevice9* device);
    void DrawTiles(IDirect3DDevice9* device, double rotationAngle, std::int32_t triangleSize,
                   std::uint32_t width, std::uint32_t height, const TileLightFunction& tileLight);

    // The device objects, for tests (no reference added).
    IDirect3DTexture9* AtlasTexture() const { return Atlas.Get(); }
    IDirect3DVertexBuffer9* VertexBuffer() const { return vertices_.Buffer(); }
    IDirect3DTexture9* ChamberTexture() const { return ChamberTarget.Get(); }

    // The TriangleTexture whose atlas was last loaded; -1 means none.
    std::int32_t LoadedTexture = -1;
    // Whether the strips where two tiles meet are drawn once with two texture stages; without, each
    // of the two tiles is drawn there in a pass of its own. Set from the device's abilities.
    bool TwoStageTiles = false;

private:
    void CreateChamberTarget(IDirect3DDevice9* device, std::int32_t triangleSize);
    void DrawBackdrop(IDirect3DDevice9* device, double rotationAngle, std::int32_t triangleSize);
    void DrawPieces(IDirect3DDevice9* device, const EffectSimulation& simulation, std::int32_t triangleSize,
                    const PieceColourFunction& pieceColour);
    void DrawMask(IDirect3DDevice9* device, std::int32_t triangleSize);
    void DrawFlat(IDirect3DDevice9* device);
    void DrawTextured(IDirect3DDevice9* device, std::span<const EffectVertex> vertices,
                      IDirect3DTexture9* texture, D3DTEXTUREADDRESS addressing);
    // The lit tiles' regions into regions_, and their draws: one for the regions of one tile, one for
    // those of two.
    void PlaceTiles(double rotationAngle, std::int32_t triangleSize, std::uint32_t width,
                    std::uint32_t height, const TileLightFunction& tileLight);
    void DrawPlacedTiles(IDirect3DDevice9* device);

    Microsoft::WRL::ComPtr<IDirect3DTexture9> Atlas;
    Microsoft::WRL::ComPtr<IDirect3DTexture9> ChamberTarget;
    // The pixel programs of the flat and the textured draws and of the strips of two tiles; null
    // where the texture stages draw.
    Microsoft::WRL::ComPtr<IDirect3DPixelShader9> colourProgram_;
    Microsoft::WRL::ComPtr<IDirect3DPixelShader9> texturedProgram_;
    Microsoft::WRL::ComPtr<IDirect3DPixelShader9> twoTilesProgram_;
    // Size of the atlas texture's top level: the pieces' cells are in its pixels.
    float atlasWidth_ = 1.0f;
    float atlasHeight_ = 1.0f;
    DynamicVertexBuffer vertices_;
    // Scratch space of the neighbour counts and of one draw's vertices, kept so that frames do not
    // allocate.
    std::vector<std::int32_t> neighbourCounts_;
    std::vector<EffectVertex> scratch_;
    TileRegions regions_;
};
