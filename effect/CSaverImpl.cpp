// The effect's slots and its simulation: the time step, the phases, the pieces and their shakes.
// The simulation makes no graphics calls and uses no globals: the same seed and the same time
// steps replay a run bit for bit.
#include "effect/CSaverImpl.h"

#include "effect/ChamberMath.h"
#include "effect/TileLayout.h"

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

HRESULT CSaverImpl::OnResetDevice(IDirect3DDevice9*) {
    // The sprite and the chamber target are made together with the drawing.
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

void CSaverImpl::OnFrameMove(IDirect3DDevice9*, double, float elapsed) {
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
    UpdateChamberTarget(s);
    UpdatePieceCount(s);
    ShakePieces(s);
}

HRESULT CSaverImpl::OnFrameRender(IDirect3DDevice9*, double, float) {
    // The chamber image and the tiles are drawn by the drawing code, which is not built yet.
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
    return TileAlpha(x, y, BackBufferWidth, s.LightStrength, s.LightArea);
}

// A new triangle size replaces every piece: they were placed for the old chamber.
void CSaverImpl::UpdateChamberTarget(const EffectSettings& s) {
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
