// The chamber image and its mirrored tiling on the device, and the device objects they need.
#include "effect/EffectRenderer.h"

#include "effect/ChamberMath.h"
#include "effect/ScopedRenderTarget.h"
#include "effect/TileLayout.h"
#include "framework/HResultError.h"
#include "graphics/PixelPrograms.h"
#include "graphics/TextureLoader.h"

#include <array>
#include <cmath>
#include <utility>

namespace {

// The chamber's colours: clear colour, the turning backdrop squares, and the mask outside.
constexpr D3DCOLOR kChamberClear = 0x00000030;
constexpr D3DCOLOR kBackdrop = 0xFF000020;
constexpr D3DCOLOR kMask = 0xFF000000;

// Direct3D 9 puts pixel centres on whole coordinates: textured geometry moves by half a pixel so
// that a texel lands on the pixel that covers the same place.
constexpr float kPixelCentre = 0.5f;

EffectVertex Flat(double x, double y, D3DCOLOR colour) {
    return EffectVertex{static_cast<float>(x), static_cast<float>(y), 0.0f, 0.0f, colour, 0.0f, 0.0f};
}

// A textured vertex at the image of `p` under `m`, showing the texture at (u, v).
EffectVertex Textured(const Matrix2D& m, Vector2 p, D3DCOLOR colour, float u, float v) {
    const Vector2 q = m.Apply(p);
    return EffectVertex{q.x - kPixelCentre, q.y - kPixelCentre, 0.0f, 1.0f, colour, u, v};
}

void SetStageStates(IDirect3DDevice9* device, DWORD operation) {
    // Mirrored tiles wind their corners the other way round: no side is culled.
    ThrowIfFailed(device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE));
    ThrowIfFailed(device->SetTextureStageState(0, D3DTSS_COLOROP, operation));
    ThrowIfFailed(device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE));
    ThrowIfFailed(device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE));
    ThrowIfFailed(device->SetTextureStageState(0, D3DTSS_ALPHAOP, operation));
    ThrowIfFailed(device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE));
    ThrowIfFailed(device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE));
}

// Stage `stage` shows the chamber image at the texture coordinates `coordinates`, filtered linearly
// and black outside, times the light in `light`; a later stage adds that to what the stages before
// it made. The light of a tile is in the colours, so the alpha stays opaque.
void SetTileStage(IDirect3DDevice9* device, DWORD stage, IDirect3DTexture9* chamber, DWORD light,
                  DWORD coordinates) {
    ThrowIfFailed(device->SetTexture(stage, chamber));
    ThrowIfFailed(device->SetTextureStageState(stage, D3DTSS_COLOROP,
                                               stage == 0 ? D3DTOP_MODULATE : D3DTOP_MULTIPLYADD));
    if (stage > 0) {
        ThrowIfFailed(device->SetTextureStageState(stage, D3DTSS_COLORARG0, D3DTA_CURRENT));
    }
    ThrowIfFailed(device->SetTextureStageState(stage, D3DTSS_COLORARG1, D3DTA_TEXTURE));
    ThrowIfFailed(device->SetTextureStageState(stage, D3DTSS_COLORARG2, light));
    ThrowIfFailed(device->SetTextureStageState(stage, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1));
    ThrowIfFailed(device->SetTextureStageState(stage, D3DTSS_ALPHAARG1, D3DTA_TEXTURE));
    ThrowIfFailed(device->SetTextureStageState(stage, D3DTSS_TEXCOORDINDEX, coordinates));
    ThrowIfFailed(device->SetSamplerState(stage, D3DSAMP_ADDRESSU, D3DTADDRESS_BORDER));
    ThrowIfFailed(device->SetSamplerState(stage, D3DSAMP_ADDRESSV, D3DTADDRESS_BORDER));
    ThrowIfFailed(device->SetSamplerState(stage, D3DSAMP_BORDERCOLOR, 0));
    ThrowIfFailed(device->SetSamplerState(stage, D3DSAMP_MINFILTER, D3DTEXF_LINEAR));
    ThrowIfFailed(device->SetSamplerState(stage, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR));
    ThrowIfFailed(device->SetSamplerState(stage, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR));
}

// Hands the stages back as a single-texture draw left them, also when a tile draw fails: no pixel
// program, the second stage off, the first modulating the first coordinates' texture by the diffuse
// colour, blending by source alpha, and the chamber image bound to none, since it is drawn into in
// the next frame.
class ScopedTileStages {
public:
    explicit ScopedTileStages(IDirect3DDevice9* device) : device_(device) {}
    ScopedTileStages(const ScopedTileStages&) = delete;
    ScopedTileStages& operator=(const ScopedTileStages&) = delete;
    ~ScopedTileStages() {
        device_->SetPixelShader(nullptr);
        device_->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        device_->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
        device_->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
        device_->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
        device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
        device_->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
        device_->SetTexture(1, nullptr);
        device_->SetTexture(0, nullptr);
    }

private:
    IDirect3DDevice9* device_;
};

} // namespace

void EffectRenderer::CreateDeviceObjects(IDirect3DDevice9* device, std::int32_t triangleSize) {
    vertices_.Release();
    D3DCAPS9 caps{};
    ThrowIfFailed(device->GetDeviceCaps(&caps));
    TwoStageTiles = caps.MaxTextureBlendStages >= 2 && caps.MaxSimultaneousTextures >= 2 &&
                    (caps.FVFCaps & D3DFVFCAPS_TEXCOORDCOUNTMASK) >= 2 &&
                    (caps.TextureOpCaps & D3DTEXOPCAPS_MULTIPLYADD) != 0;
    // Pixel programs outlive a reset: made once for the device.
    if (!texturedProgram_) {
        colourProgram_ = CreatePixelProgram(device, PixelProgram::Colour);
        texturedProgram_ = CreatePixelProgram(device, PixelProgram::TextureTimesColour);
        twoTilesProgram_ = CreatePixelProgram(device, PixelProgram::TwoTexturesTimesColours);
    }
    CreateChamberTarget(device, triangleSize);
}

void EffectRenderer::LoseDeviceObjects() {
    vertices_.Release();
    ChamberTarget.Reset();
}

void EffectRenderer::ReleaseDeviceObjects() {
    LoseDeviceObjects();
    colourProgram_.Reset();
    texturedProgram_.Reset();
    twoTilesProgram_.Reset();
    Atlas.Reset();
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
    PlaceTiles(simulation.RotationAngle, s.TriangleSize, width, height, tileLight);
    // With no tile lit (no light, or a window without area) nothing shows the chamber image.
    if (regions_.Empty()) {
        return;
    }
    RenderChamber(device, simulation, s, pieceColour);
    SetRenderStates(device);
    DrawPlacedTiles(device);
}

void EffectRenderer::LoadAtlas(IDirect3DDevice9* device, std::int32_t textureIndex) {
    // A texture enlarged to powers of two keeps the image unscaled in its top-left corner, so the
    // pieces' cell rectangles stay valid.
    ThrowIfFailed(CreateAtlasTexture(device, GetModuleHandleW(nullptr), AtlasResourceId(textureIndex),
                                     Atlas.ReleaseAndGetAddressOf()));
    D3DSURFACE_DESC desc{};
    ThrowIfFailed(Atlas->GetLevelDesc(0, &desc));
    atlasWidth_ = static_cast<float>(desc.Width);
    atlasHeight_ = static_cast<float>(desc.Height);
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
    ThrowIfFailed(
        CreateRenderTargetTexture(device, side, side, D3DFMT_R8G8B8, ChamberTarget.ReleaseAndGetAddressOf()));
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
    if (ChamberTarget == nullptr) {
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
    const FixedFunctionOnExit fixedFunction(device);
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
    scratch_.clear();
    for (const auto& corner : corners) {
        const double x = corner[0] - S;
        const double y = corner[1] - c;
        scratch_.push_back(Flat(S + cosPhi * x - sinPhi * y, c + sinPhi * x + cosPhi * y, kBackdrop));
    }
    DrawFlat(device);
}

// Every piece as two triangles of its 64 x 64 picture, all pieces in one draw; they add up.
void EffectRenderer::DrawPieces(IDirect3DDevice9* device, const EffectSimulation& simulation,
                                std::int32_t triangleSize, const PieceColourFunction& pieceColour) {
    const std::vector<Piece>& pieces = simulation.Pieces;
    if (pieces.empty()) {
        return;
    }
    // Without an atlas there is nothing to draw the pieces with.
    if (Atlas == nullptr) {
        throw HResultError(D3DERR_INVALIDCALL);
    }
    CountNeighbours(pieces, neighbourCounts_);
    const double phase = simulation.ColourPhase();
    scratch_.clear();
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const Piece& piece = pieces[i];
        const Matrix2D m = PieceMatrix(piece, triangleSize);
        const D3DCOLOR colour = pieceColour(phase, neighbourCounts_[i], static_cast<std::int32_t>(i));
        const auto corner = [&](float x, float y) {
            return Textured(m, Vector2{x, y}, colour, (piece.Cell.left + x) / atlasWidth_,
                            (piece.Cell.top + y) / atlasHeight_);
        };
        const EffectVertex topLeft = corner(0.0f, 0.0f);
        const EffectVertex topRight = corner(64.0f, 0.0f);
        const EffectVertex bottomLeft = corner(0.0f, 64.0f);
        const EffectVertex bottomRight = corner(64.0f, 64.0f);
        scratch_.insert(scratch_.end(), {topLeft, topRight, bottomLeft, bottomLeft, topRight, bottomRight});
    }
    DrawTextured(device, scratch_, Atlas.Get(), D3DTADDRESS_CLAMP);
}

// Black over the parts of the image left and right of the chamber and below its base.
void EffectRenderer::DrawMask(IDirect3DDevice9* device, std::int32_t triangleSize) {
    const double S = triangleSize;
    const double base = std::sqrt(3.0) * S;
    const double h = base + 1.0;
    scratch_.assign({
        Flat(0, 0, kMask),
        Flat(S - 1, 0, kMask),
        Flat(-1, base, kMask),
        Flat(S, 0, kMask),
        Flat(2 * S, 0, kMask),
        Flat(2 * S, base, kMask),
        Flat(0, h, kMask),
        Flat(2 * S, h, kMask),
        Flat(0, 2 * S, kMask),
        Flat(0, 2 * S, kMask),
        Flat(2 * S, h, kMask),
        Flat(2 * S, 2 * S, kMask),
    });
    DrawFlat(device);
}

// Covers the back buffer with mirrored copies of the chamber triangle, turned by the rotation angle
// and faded with the distance from the centre; each pixel is written once, except in the small
// hexagons where six tiles meet (and, on a device with one texture stage, where two do).
void EffectRenderer::DrawTiles(IDirect3DDevice9* device, double rotationAngle, std::int32_t triangleSize,
                               std::uint32_t width, std::uint32_t height,
                               const TileLightFunction& tileLight) {
    PlaceTiles(rotationAngle, triangleSize, width, height, tileLight);
    DrawPlacedTiles(device);
}

void EffectRenderer::PlaceTiles(double rotationAngle, std::int32_t triangleSize, std::uint32_t width,
                                std::uint32_t height, const TileLightFunction& tileLight) {
    regions_.Cut(width, height, triangleSize, rotationAngle, tileLight);
}

void EffectRenderer::DrawPlacedTiles(IDirect3DDevice9* device) {
    if (ChamberTarget == nullptr) {
        throw HResultError(D3DERR_INVALIDCALL);
    }
    IDirect3DTexture9* const chamber = ChamberTarget.Get();
    const ScopedTileStages restore(device);
    ThrowIfFailed(device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE));
    SetTileStage(device, 0, chamber, D3DTA_DIFFUSE, 0);
    ThrowIfFailed(device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE));
    ThrowIfFailed(device->SetPixelShader(texturedProgram_.Get()));
    const std::span<const EffectVertex> single = regions_.Single();
    if (!single.empty()) {
        DynamicVertexBuffer::DrawTriangles(device, vertices_.Write(device, single), single.size());
    }
    const std::span<const TileVertex> paired = regions_.Paired();
    if (paired.empty()) {
        return;
    }
    const UINT first = vertices_.Write(device, paired);
    if (TwoStageTiles) {
        SetTileStage(device, 1, chamber, D3DTA_SPECULAR, 1);
        ThrowIfFailed(device->SetPixelShader(twoTilesProgram_.Get()));
        DynamicVertexBuffer::DrawTriangles(device, first, paired.size());
        return;
    }
    // One stage: the first tile, then the second added in a pass of its own, through the stages,
    // which take the second tile's light and coordinates.
    ThrowIfFailed(device->SetPixelShader(nullptr));
    DynamicVertexBuffer::DrawTriangles(device, first, paired.size());
    SetTileStage(device, 0, chamber, D3DTA_SPECULAR, 1);
    DynamicVertexBuffer::DrawTriangles(device, first, paired.size());
}

// The scratch vertices in one flat-coloured draw that replaces what lies beneath.
void EffectRenderer::DrawFlat(IDirect3DDevice9* device) {
    ThrowIfFailed(device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE));
    ThrowIfFailed(device->SetTexture(0, nullptr));
    SetStageStates(device, D3DTOP_SELECTARG2);
    ThrowIfFailed(device->SetPixelShader(colourProgram_.Get()));
    const UINT first = vertices_.Write(device, scratch_);
    DynamicVertexBuffer::DrawTriangles(device, first, scratch_.size());
    ThrowIfFailed(device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE));
}

// The vertices in one draw of the texture modulated by their colours, added to what lies
// beneath, filtered linearly; outside the texture `addressing` repeats its edge or shows black.
void EffectRenderer::DrawTextured(IDirect3DDevice9* device, std::span<const EffectVertex> vertices,
                                  IDirect3DTexture9* texture, D3DTEXTUREADDRESS addressing) {
    if (vertices.empty()) {
        return;
    }
    ThrowIfFailed(device->SetTexture(0, texture));
    SetStageStates(device, D3DTOP_MODULATE);
    ThrowIfFailed(device->SetPixelShader(texturedProgram_.Get()));
    ThrowIfFailed(device->SetSamplerState(0, D3DSAMP_ADDRESSU, addressing));
    ThrowIfFailed(device->SetSamplerState(0, D3DSAMP_ADDRESSV, addressing));
    ThrowIfFailed(device->SetSamplerState(0, D3DSAMP_BORDERCOLOR, 0));
    ThrowIfFailed(device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR));
    ThrowIfFailed(device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR));
    ThrowIfFailed(device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR));
    const UINT first = vertices_.Write(device, vertices);
    DynamicVertexBuffer::DrawTriangles(device, first, vertices.size());
    // The chamber image is drawn into in the next frame: no stage may still hold it then.
    ThrowIfFailed(device->SetTexture(0, nullptr));
}
