// The chamber image and its mirrored tiling on the device, and the device objects they need.
#include "effect/EffectRenderer.h"

#include "effect/ChamberMath.h"
#include "effect/ScopedRenderTarget.h"
#include "effect/ScopedSpriteBatch.h"
#include "effect/TileLayout.h"
#include "framework/HResultError.h"

#include <d3dx9tex.h>

#include <array>
#include <cmath>
#include <utility>

namespace {

// The chamber's colours: clear colour, the turning backdrop squares, and the mask outside.
constexpr D3DCOLOR kChamberClear = 0x00000030;
constexpr D3DCOLOR kBackdrop = 0xFF000020;
constexpr D3DCOLOR kMask = 0xFF000000;

// A pre-transformed, flat-coloured vertex of the backdrop and the mask.
struct FlatVertex {
    float x, y, z, rhw;
    D3DCOLOR colour;
};
static_assert(sizeof(FlatVertex) == 20);
constexpr DWORD kFlatVertexFormat = D3DFVF_XYZRHW | D3DFVF_DIFFUSE;
using FlatTriangles = std::array<FlatVertex, 12>;

FlatVertex Flat(double x, double y, D3DCOLOR colour) {
    return FlatVertex{static_cast<float>(x), static_cast<float>(y), 0.0f, 0.0f, colour};
}

void DrawFlat(IDirect3DDevice9* device, const FlatTriangles& vertices) {
    ThrowIfFailed(device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE));
    ThrowIfFailed(device->SetFVF(kFlatVertexFormat));
    ThrowIfFailed(device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 4, vertices.data(), sizeof(FlatVertex)));
    ThrowIfFailed(device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE));
}

// The sprite's Begin sets its own blend states (source alpha over inverse source alpha, observed
// under Wine and documented for the runtime), and the batch is drawn at End with the states then
// current. Pieces and tiles must add up, so the additive states go back in right after Begin.
void RestoreAdditiveBlend(IDirect3DDevice9* device) {
    ThrowIfFailed(device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE));
    ThrowIfFailed(device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA));
    ThrowIfFailed(device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE));
}

} // namespace

void EffectRenderer::CreateDeviceObjects(IDirect3DDevice9* device, std::int32_t triangleSize) {
    ThrowIfFailed(D3DXCreateSprite(device, Sprite.ReleaseAndGetAddressOf()));
    CreateChamberTarget(device, triangleSize);
}

void EffectRenderer::ReleaseDeviceObjects() {
    Atlas.Reset();
    Sprite.Reset();
    ChamberTarget.Reset();
    LoadedTexture = -1;
}

void EffectRenderer::Render(IDirect3DDevice9* device, const EffectSimulation& simulation,
                            const EffectSettings& s, std::uint32_t width, std::uint32_t height,
                            const PieceColourFunction& pieceColour, const TileLightFunction& tileLight) {
    if (s.TriangleTexture != LoadedTexture) {
        // Remembered before loading: a failing atlas is tried again only for another index, or
        // after the device objects were released.
        LoadedTexture = s.TriangleTexture;
        Atlas.Reset();
        LoadAtlas(device, s.TriangleTexture);
    }
    FitChamberTarget(device, s.TriangleSize);
    RenderChamber(device, simulation, s, pieceColour);
    SetRenderStates(device);
    DrawTiles(device, simulation.RotationAngle, s.TriangleSize, width, height, tileLight);
}

void EffectRenderer::LoadAtlas(IDirect3DDevice9* device, std::int32_t textureIndex) {
    // Filter none: a texture enlarged to powers of two keeps the image unscaled in its top-left
    // corner, so the pieces' cell rectangles stay valid.
    ThrowIfFailed(D3DXCreateTextureFromResourceExW(
        device, GetModuleHandleW(nullptr), MAKEINTRESOURCEW(AtlasResourceId(textureIndex)), 0, 0, 0, 0,
        D3DFMT_R5G6B5, D3DPOOL_MANAGED, D3DX_FILTER_NONE, D3DX_FILTER_BOX | D3DX_FILTER_MIRROR, 0, nullptr,
        nullptr, Atlas.ReleaseAndGetAddressOf()));
}

// A chamber image of another size than 2S (a new triangle size) is replaced before it is drawn.
void EffectRenderer::FitChamberTarget(IDirect3DDevice9* device, std::int32_t triangleSize) {
    if (ChamberTarget == nullptr) {
        return;
    }
    D3DSURFACE_DESC desc{};
    ThrowIfFailed(ChamberTarget->GetLevelDesc(0, &desc));
    if (desc.Width != static_cast<UINT>(2 * triangleSize)) {
        ChamberTarget.Reset();
        CreateChamberTarget(device, triangleSize);
    }
}

void EffectRenderer::CreateChamberTarget(IDirect3DDevice9* device, std::int32_t triangleSize) {
    const UINT side = static_cast<UINT>(2 * triangleSize);
    // The device may substitute the nearest render-target format it has (X8R8G8B8 here).
    ThrowIfFailed(D3DXCreateTexture(device, side, side, 1, D3DUSAGE_RENDERTARGET, D3DFMT_R8G8B8,
                                    D3DPOOL_DEFAULT, ChamberTarget.ReleaseAndGetAddressOf()));
}

void EffectRenderer::SetRenderStates(IDirect3DDevice9* device) {
    constexpr std::array<std::pair<D3DRENDERSTATETYPE, DWORD>, 10> states = {{
        {D3DRS_ALPHABLENDENABLE, TRUE},
        {D3DRS_SRCBLEND, D3DBLEND_SRCALPHA},
        {D3DRS_DESTBLEND, D3DBLEND_ONE},
        {D3DRS_ALPHATESTENABLE, FALSE},
        {D3DRS_POINTSPRITEENABLE, FALSE},
        {D3DRS_POINTSCALEENABLE, FALSE},
        {D3DRS_LIGHTING, FALSE},
        {D3DRS_ZENABLE, FALSE},
        {D3DRS_ZWRITEENABLE, FALSE},
        {D3DRS_ZFUNC, D3DCMP_LESSEQUAL},
    }};
    for (const auto& [state, value] : states) {
        ThrowIfFailed(device->SetRenderState(state, value));
    }
}

// Paints the chamber into its off-screen image: dark blue, two turning darker squares, the pieces
// added on top, and black over everything outside the chamber triangle.
void EffectRenderer::RenderChamber(IDirect3DDevice9* device, const EffectSimulation& simulation,
                                   const EffectSettings& s, const PieceColourFunction& pieceColour) {
    if (ChamberTarget == nullptr || Sprite == nullptr) {
        throw HResultError(D3DERR_INVALIDCALL);
    }
    Microsoft::WRL::ComPtr<IDirect3DSurface9> chamber;
    ThrowIfFailed(ChamberTarget->GetSurfaceLevel(0, &chamber));
    Microsoft::WRL::ComPtr<IDirect3DSurface9> previous;
    ThrowIfFailed(device->GetRenderTarget(0, &previous));
    ThrowIfFailed(device->SetRenderTarget(0, chamber.Get()));
    // From here on a failure still hands the device its previous target back: later frames must
    // draw to the screen again, not into the chamber image.
    ScopedRenderTarget restore(device, previous.Get());
    ThrowIfFailed(device->Clear(0, nullptr, D3DCLEAR_TARGET, kChamberClear, 1.0f, 0));
    SetRenderStates(device);
    DrawBackdrop(device, simulation.RotationAngle, s.TriangleSize);
    DrawPieces(device, simulation, s.TriangleSize, pieceColour);
    DrawMask(device, s.TriangleSize);
    restore.Restore();
}

// Two squares, turned against the pattern's rotation about the chamber's centroid.
void EffectRenderer::DrawBackdrop(IDirect3DDevice9* device, double rotationAngle, std::int32_t triangleSize) {
    const double S = triangleSize;
    const double c = ChamberCentroidY(triangleSize);
    const double phi = -rotationAngle;
    const double cosPhi = std::cos(phi);
    const double sinPhi = std::sin(phi);
    const double corners[12][2] = {{-S, -S}, {S, -S},    {-S, S},    {-S, S},    {S, -S},    {S, S},
                                   {S, S},   {3 * S, S}, {S, 3 * S}, {S, 3 * S}, {3 * S, S}, {3 * S, 3 * S}};
    FlatTriangles vertices;
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const double x = corners[i][0] - S;
        const double y = corners[i][1] - c;
        vertices[i] = Flat(S + cosPhi * x - sinPhi * y, c + sinPhi * x + cosPhi * y, kBackdrop);
    }
    DrawFlat(device, vertices);
}

void EffectRenderer::DrawPieces(IDirect3DDevice9* device, const EffectSimulation& simulation,
                                std::int32_t triangleSize, const PieceColourFunction& pieceColour) {
    ScopedSpriteBatch batch(Sprite.Get(), 0);
    RestoreAdditiveBlend(device);
    const std::vector<Piece>& pieces = simulation.Pieces;
    CountNeighbours(pieces, neighbourCounts_);
    const double phase = simulation.ColourPhase();
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const Piece& piece = pieces[i];
        const D3DXMATRIX m(ToD3DMatrix(PieceMatrix(piece, triangleSize)));
        ThrowIfFailed(Sprite->SetTransform(&m));
        const D3DCOLOR colour = pieceColour(phase, neighbourCounts_[i], static_cast<std::int32_t>(i));
        // Without an atlas there is nothing to draw the pieces with.
        if (Atlas == nullptr) {
            throw HResultError(D3DERR_INVALIDCALL);
        }
        ThrowIfFailed(Sprite->Draw(Atlas.Get(), &piece.Cell, nullptr, nullptr, colour));
    }
    batch.End();
}

// Black over the parts of the image left and right of the chamber and below its base.
void EffectRenderer::DrawMask(IDirect3DDevice9* device, std::int32_t triangleSize) {
    const double S = triangleSize;
    const double base = std::sqrt(3.0) * S;
    const double h = base + 1.0;
    const FlatTriangles vertices = {
        Flat(0, 0, kMask),     Flat(S - 1, 0, kMask),    Flat(-1, base, kMask), Flat(S, 0, kMask),
        Flat(2 * S, 0, kMask), Flat(2 * S, base, kMask), Flat(0, h, kMask),     Flat(2 * S, h, kMask),
        Flat(0, 2 * S, kMask), Flat(0, 2 * S, kMask),    Flat(2 * S, h, kMask), Flat(2 * S, 2 * S, kMask),
    };
    DrawFlat(device, vertices);
}

// Covers the back buffer with mirrored copies of the chamber image, turned by the rotation angle
// and faded with the distance from the centre.
void EffectRenderer::DrawTiles(IDirect3DDevice9* device, double rotationAngle, std::int32_t triangleSize,
                               std::uint32_t width, std::uint32_t height,
                               const TileLightFunction& tileLight) {
    if (ChamberTarget == nullptr || Sprite == nullptr) {
        throw HResultError(D3DERR_INVALIDCALL);
    }
    // A back buffer without area (a window shrunk to nothing) shows nothing.
    if (width == 0 || height == 0) {
        return;
    }
    const TileGrid grid = MakeTileGrid(width, triangleSize);
    const TileFrame frame = MakeTileFrame(width, height, triangleSize, rotationAngle);
    const RECT source = TileSourceRect(triangleSize);
    ScopedSpriteBatch batch(Sprite.Get(), 0);
    RestoreAdditiveBlend(device);
    for (std::int32_t row = -grid.Rows; row < grid.Rows; ++row) {
        for (std::int32_t column = -grid.Columns; column < grid.Columns; ++column) {
            const TilePlacement tile = PlaceTile(frame, row, column);
            const std::int32_t alpha = tileLight(tile.Xo, tile.Yo, column, row);
            // An unlit tile adds nothing; skipping it saves the transform and the fill.
            if (alpha <= 0) {
                continue;
            }
            const D3DXMATRIX m(ToD3DMatrix(TileMatrix(tile, triangleSize)));
            ThrowIfFailed(Sprite->SetTransform(&m));
            const D3DCOLOR colour = static_cast<D3DCOLOR>(alpha) << 24 | 0xFFFFFF;
            ThrowIfFailed(Sprite->Draw(ChamberTarget.Get(), &source, nullptr, nullptr, colour));
        }
    }
    batch.End();
}
