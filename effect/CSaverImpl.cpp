// The effect's slots and its simulation: the time step, the phases, the pieces and their shakes.
// The simulation makes no graphics calls and uses no globals: the same seed and the same time
// steps replay a run bit for bit.
#include "effect/CSaverImpl.h"

#include "effect/ChamberMath.h"
#include "framework/HResultError.h"
#include "effect/ScopedRenderTarget.h"
#include "effect/ScopedSpriteBatch.h"
#include "effect/TileLayout.h"
#include "framework/Framework.h"

#include <d3dx9tex.h>

#include <array>
#include <cmath>
#include <numbers>
#include <utility>

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// A shake starts whenever the shake timer passes this value, and moves the pieces for 5 frames.
constexpr double kShakePeriod = 0.6;
constexpr std::int32_t kShakeFrames = 5;
// The rotation is kept within a few turns of zero: the tiles store their turn as a float, which
// would get coarse (and the tiles' images misaligned with their places) after days of turning.
constexpr double kRotationWrap = 32.0 * kTwoPi;

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

// The framework's current device; the one a callback was given when there is none (tests).
IDirect3DDevice9* CurrentDevice(IDirect3DDevice9* given) {
    IDirect3DDevice9* device = FrameworkGetDevice();
    return device != nullptr ? device : given;
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

CSaverImpl::CSaverImpl() = default;

CSaverImpl::CSaverImpl(std::wstring settingsFile) : CSettingImpl(std::move(settingsFile)) {}

CSaverImpl::~CSaverImpl() = default;

void CSaverImpl::Initialize(int runMode) {
    if (runMode == 1) {
        // The preview's little window: small triangles, few and small pieces; never saved.
        TriangleSize = 32;
        PieceCount = 20;
        PieceScaleMin = 0.1;
        PieceScaleMax = 0.5;
    }
}

HRESULT CSaverImpl::Start() {
    Seed(GetTickCount() / 10);
    return S_OK;
}

void CSaverImpl::Shutdown() {
    OnLostDevice();
}

HRESULT CSaverImpl::OnResetDevice(IDirect3DDevice9* given) {
    IDirect3DDevice9* device = CurrentDevice(given);
    if (HRESULT hr = D3DXCreateSprite(device, Sprite.ReleaseAndGetAddressOf()); FAILED(hr)) {
        return hr;
    }
    try {
        CreateChamberTarget(device, MakeEffectSettings(*this).TriangleSize);
    } catch (const HResultError& error) {
        return error.Code();
    }
    return S_OK;
}

void CSaverImpl::OnLostDevice() {
    Atlas.Reset();
    Sprite.Reset();
    ChamberTarget.Reset();
    LoadedTexture = -1;
}

DWORD CSaverImpl::GetClearFlags() {
    return D3DCLEAR_TARGET;
}

void CSaverImpl::OnFrameMove(IDirect3DDevice9* given, double, float elapsed) {
    const EffectSettings s = MakeEffectSettings(*this);
    float dt = elapsed;
    if (!(dt < 0.1f) || !std::isfinite(dt)) {
        dt = 0.1f;
    }
    ElapsedTotal += dt;
    RotationAngle += dt * s.SpeedRotation;
    if (std::fabs(RotationAngle) >= kRotationWrap) {
        RotationAngle = std::remainder(RotationAngle, kTwoPi);
    }
    const double v = dt * s.SpeedShake;
    ShakeDirection += v;
    ShakeTimer += v;
    LightPhase += dt * s.SpeedLight;
    UpdateChamberTarget(s, given);
    UpdatePieceCount(s);
    ShakePieces(s);
}

HRESULT CSaverImpl::OnFrameRender(IDirect3DDevice9* given, double, float) {
    IDirect3DDevice9* device = CurrentDevice(given);
    const std::int32_t texture = MakeEffectSettings(*this).TriangleTexture;
    if (texture != LoadedTexture) {
        // Remembered before loading: a failing atlas is tried again only for another index, or
        // after the device resources were released.
        LoadedTexture = texture;
        Atlas.Reset();
        LoadAtlas(texture);
    }
    RenderChamber(device);
    SetRenderStates(device);
    DrawTiles(device);
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

// A new triangle size needs a chamber image of the new size and replaces every piece: they were
// placed for the old chamber. Without a chamber target (no device) only the pieces follow.
void CSaverImpl::UpdateChamberTarget(const EffectSettings& s, IDirect3DDevice9* given) {
    if (ChamberTarget != nullptr) {
        D3DSURFACE_DESC desc{};
        ThrowIfFailed(ChamberTarget->GetLevelDesc(0, &desc));
        if (desc.Width != static_cast<UINT>(2 * s.TriangleSize)) {
            ChamberTarget.Reset();
            CreateChamberTarget(CurrentDevice(given), s.TriangleSize);
        }
    }
    if (s.TriangleSize != PiecesMadeFor) {
        std::vector<Piece>().swap(Pieces);
        PiecesMadeFor = s.TriangleSize;
    }
}

void CSaverImpl::UpdatePieceCount(const EffectSettings& s) {
    const auto count = static_cast<std::size_t>(s.PieceCount);
    if (count < Pieces.size()) {
        Pieces.resize(count);
    }
    const double height = s.TriangleSize * std::numbers::sqrt3;
    while (Pieces.size() < count) {
        Piece piece;
        DrawLook(piece, s);
        piece.Angle = static_cast<float>(Random.Unit() * kTwoPi);
        piece.Y = static_cast<float>(Random.Unit() * height);
        const double y = piece.Y;
        piece.X = static_cast<float>(Random.Unit() * y - y * 0.5);
        Pieces.push_back(piece);
    }
}

void CSaverImpl::ShakePieces(const EffectSettings& s) {
    if (ShakeTimer > kShakePeriod) {
        ShakeFramesLeft = kShakeFrames;
        ShakeTimer -= kShakePeriod;
        // No backlog of shakes: a shake speed far beyond the usual range would otherwise leave
        // one shake start per frame (and so no motion) long after the speed came back down.
        if (ShakeTimer > kShakePeriod) {
            ShakeTimer = kShakePeriod;
        }
        ShakeSpread = Random.Below(5) == 0 ? kTwoPi : 3.0;
        return;
    }
    if (ShakeFramesLeft <= 0) {
        return;
    }
    --ShakeFramesLeft;
    const double height = std::numbers::sqrt3 * s.TriangleSize;
    const std::int32_t reach = s.TriangleSize / 4;
    for (Piece& piece : Pieces) {
        piece.Angle += (Random.Below(10) / 10.0 - 0.5) * 2.0;
        const double direction = (Random.Unit() - 0.5) * ShakeSpread + ShakeDirection;
        const double distance = Random.Unit() * reach;
        const double nx = piece.X + std::sin(direction) * distance;
        const double ny = piece.Y + std::cos(direction) * distance;
        // A move that would leave the region where pieces live is not made at all.
        if (ny >= 0.0 && ny < height && std::fabs(2.0 * nx) < ny) {
            piece.X = static_cast<float>(nx);
            piece.Y = static_cast<float>(ny);
        }
        if (Random.Below(20) == 0) {
            DrawLook(piece, s);
        }
    }
}

// A new picture and stretch for a piece: cell column and row, then the two stretch factors.
void CSaverImpl::DrawLook(Piece& piece, const EffectSettings& s) {
    const LONG column = Random.Below(13);
    const LONG row = Random.Below(6);
    piece.Cell = RECT{64 * column, 64 * row, 64 * column + 64, 64 * row + 64};
    piece.ScaleX = DrawScale(s);
    piece.ScaleY = DrawScale(s);
}

float CSaverImpl::DrawScale(const EffectSettings& s) {
    const double a = Random.Unit();
    const double b = Random.Unit();
    return static_cast<float>(b * (a * (s.PieceScaleMax - s.PieceScaleMin)) + s.PieceScaleMin);
}

void CSaverImpl::CreateChamberTarget(IDirect3DDevice9* device, std::int32_t triangleSize) {
    if (device == nullptr) {
        throw HResultError(D3DERR_INVALIDCALL);
    }
    const UINT side = static_cast<UINT>(2 * triangleSize);
    // The device may substitute the nearest render-target format it has (X8R8G8B8 here).
    ThrowIfFailed(D3DXCreateTexture(device, side, side, 1, D3DUSAGE_RENDERTARGET, D3DFMT_R8G8B8,
                                    D3DPOOL_DEFAULT, ChamberTarget.ReleaseAndGetAddressOf()));
}

void CSaverImpl::LoadAtlas(std::int32_t textureIndex) {
    // Filter none: a texture enlarged to powers of two keeps the image unscaled in its top-left
    // corner, so the pieces' cell rectangles stay valid.
    ThrowIfFailed(D3DXCreateTextureFromResourceExW(
        FrameworkGetDevice(), GetModuleHandleW(nullptr), MAKEINTRESOURCEW(AtlasResourceId(textureIndex)), 0,
        0, 0, 0, D3DFMT_R5G6B5, D3DPOOL_MANAGED, D3DX_FILTER_NONE, D3DX_FILTER_BOX | D3DX_FILTER_MIRROR, 0,
        nullptr, nullptr, Atlas.ReleaseAndGetAddressOf()));
}

void CSaverImpl::SetRenderStates(IDirect3DDevice9* device) {
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
void CSaverImpl::RenderChamber(IDirect3DDevice9* device) {
    if (ChamberTarget == nullptr || Sprite == nullptr) {
        throw HResultError(D3DERR_INVALIDCALL);
    }
    const EffectSettings s = MakeEffectSettings(*this);
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
    DrawBackdrop(device, s);
    DrawPieces(device, s);
    DrawMask(device, s);
    restore.Restore();
}

// Two squares, turned against the pattern's rotation about the chamber's centroid.
void CSaverImpl::DrawBackdrop(IDirect3DDevice9* device, const EffectSettings& s) {
    const double S = s.TriangleSize;
    const double c = ChamberCentroidY(s.TriangleSize);
    const double phi = -RotationAngle;
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

void CSaverImpl::DrawPieces(IDirect3DDevice9* device, const EffectSettings& s) {
    ScopedSpriteBatch batch(Sprite.Get(), 0);
    RestoreAdditiveBlend(device);
    CountNeighbours(Pieces, NeighbourCounts);
    const double phase = ElapsedTotal * 0.05 + LightPhase;
    for (std::size_t i = 0; i < Pieces.size(); ++i) {
        const Piece& piece = Pieces[i];
        const D3DXMATRIX m(ToD3DMatrix(PieceMatrix(piece, s.TriangleSize)));
        ThrowIfFailed(Sprite->SetTransform(&m));
        const auto index = static_cast<std::int32_t>(i);
        const D3DCOLOR colour = GetPieceColor(phase, NeighbourCounts[i], index);
        // Without an atlas there is nothing to draw the pieces with.
        if (Atlas == nullptr) {
            throw HResultError(D3DERR_INVALIDCALL);
        }
        ThrowIfFailed(Sprite->Draw(Atlas.Get(), &piece.Cell, nullptr, nullptr, colour));
    }
    batch.End();
}

// Black over the parts of the image left and right of the chamber and below its base.
void CSaverImpl::DrawMask(IDirect3DDevice9* device, const EffectSettings& s) {
    const double S = s.TriangleSize;
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
void CSaverImpl::DrawTiles(IDirect3DDevice9* device) {
    if (ChamberTarget == nullptr || Sprite == nullptr) {
        throw HResultError(D3DERR_INVALIDCALL);
    }
    const D3DPRESENT_PARAMETERS pp = FrameworkGetDeviceSettings().pp;
    const std::uint32_t width = pp.BackBufferWidth;
    const std::uint32_t height = pp.BackBufferHeight;
    // A back buffer without area (a window shrunk to nothing) shows nothing.
    if (width == 0 || height == 0) {
        return;
    }
    const EffectSettings s = MakeEffectSettings(*this);
    const TileGrid grid = MakeTileGrid(width, s.TriangleSize);
    const TileFrame frame = MakeTileFrame(width, height, s.TriangleSize, RotationAngle);
    const RECT source = TileSourceRect(s.TriangleSize);
    ScopedSpriteBatch batch(Sprite.Get(), 0);
    RestoreAdditiveBlend(device);
    for (std::int32_t row = -grid.Rows; row < grid.Rows; ++row) {
        for (std::int32_t column = -grid.Columns; column < grid.Columns; ++column) {
            const TilePlacement tile = PlaceTile(frame, row, column);
            const std::int32_t alpha = GetTileAlpha(tile.Xo, tile.Yo, column, row);
            // An unlit tile adds nothing; skipping it saves the transform and the fill.
            if (alpha <= 0) {
                continue;
            }
            const D3DXMATRIX m(ToD3DMatrix(TileMatrix(tile, s.TriangleSize)));
            ThrowIfFailed(Sprite->SetTransform(&m));
            const D3DCOLOR colour = static_cast<D3DCOLOR>(alpha) << 24 | 0xFFFFFF;
            ThrowIfFailed(Sprite->Draw(ChamberTarget.Get(), &source, nullptr, nullptr, colour));
        }
    }
    batch.End();
}
