// The tiles against the quad per tile that they replaced: one simulation state drawn both ways on a
// real device must give the same picture, up to the pixels along the tile edges, with two texture
// stages and with one; and each pixel is written about once.
#include "effect/CSaverImpl.h"
#include "effect/ChamberMath.h"
#include "effect/TileLayout.h"
#include "framework/Framework.h"

#include "support/FrameworkScope.h"
#include "support/SurfacePixels.h"

#include <doctest/doctest.h>
#include <wrl/client.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr UINT kWidth = 640;
constexpr UINT kHeight = 480;

struct QuadVertex {
    float x, y, z, rhw;
    D3DCOLOR colour;
    float u, v;
};

struct Segment {
    Vector2 a;
    Vector2 b;
};

double Distance(Vector2 p, const Segment& s) {
    const double dx = s.b.x - s.a.x;
    const double dy = s.b.y - s.a.y;
    const double t = std::clamp(((p.x - s.a.x) * dx + (p.y - s.a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(p.x - (s.a.x + t * dx), p.y - (s.a.y + t * dy));
}

// The reference: every lit tile as the chamber image's source rectangle, a quad through the tile's
// transform, added to the back buffer with its light. Returns the sides of the lit tiles' chamber
// triangles on the screen.
std::vector<Segment> DrawQuadTiles(IDirect3DDevice9* device, CSaverImpl& effect) {
    const std::int32_t S = effect.TriangleSize;
    const double angle = effect.Simulation().RotationAngle;
    const TileGrid grid = MakeTileGrid(kWidth, S);
    const TileFrame frame = MakeTileFrame(kWidth, kHeight, S, angle);
    const RECT source = TileSourceRect(S);
    const float side = 2.0f * S;
    const float bottom = static_cast<float>(source.bottom);
    const float base = static_cast<float>(std::numbers::sqrt3 * S);
    std::vector<QuadVertex> vertices;
    std::vector<Segment> edges;
    for (std::int32_t row = -grid.Rows; row < grid.Rows; ++row) {
        for (std::int32_t column = -grid.Columns; column < grid.Columns; ++column) {
            const TilePlacement tile = PlaceTile(frame, row, column);
            const std::int32_t alpha = effect.GetTileAlpha(tile.Xo, tile.Yo, column, row);
            if (alpha <= 0) {
                continue;
            }
            const Matrix2D m = TileMatrix(tile, S);
            const D3DCOLOR colour = static_cast<D3DCOLOR>(alpha) << 24 | 0xFFFFFF;
            auto corner = [&](float x, float y) {
                const Vector2 q = m.Apply({x, y});
                return QuadVertex{q.x - 0.5f, q.y - 0.5f, 0.0f, 1.0f, colour, x / side, y / side};
            };
            const QuadVertex a = corner(0, 0), b = corner(side, 0), c = corner(0, bottom),
                             d = corner(side, bottom);
            vertices.insert(vertices.end(), {a, b, c, c, b, d});
            const Vector2 apex = m.Apply({float(S), 0.0f});
            const Vector2 left = m.Apply({0.0f, base});
            const Vector2 right = m.Apply({side, base});
            edges.insert(edges.end(), {Segment{apex, left}, Segment{apex, right}, Segment{left, right}});
        }
    }
    REQUIRE(device->SetTexture(0, effect.Renderer().ChamberTexture()) == S_OK);
    REQUIRE(device->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1) == S_OK);
    REQUIRE(device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE) == S_OK);
    REQUIRE(device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE) == S_OK);
    // A quad drawer clamps at the texture's edges.
    REQUIRE(device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP) == S_OK);
    REQUIRE(device->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP) == S_OK);
    REQUIRE(device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, static_cast<UINT>(vertices.size() / 3),
                                    vertices.data(), sizeof(QuadVertex)) == S_OK);
    REQUIRE(device->SetTexture(0, nullptr) == S_OK);
    return edges;
}

} // namespace

TEST_SUITE("effect") {

    TEST_CASE("DrawTiles: the regions show what the quads per tile showed, up to the tile edges") {
        FrameworkScope scope;
        REQUIRE(FrameworkCreateDevice(0, true, kWidth, kHeight) == S_OK);
        IDirect3DDevice9* device = FrameworkGetDevice();
        for (const auto& [size, twoStages] :
             {std::pair{96, true}, std::pair{32, true}, std::pair{32, false}}) {
            CAPTURE(size);
            CAPTURE(twoStages);
            CSaverImpl effect{std::wstring()};
            effect.TriangleSize = size;
            effect.PieceCount = 200;
            effect.Simulation().Seed(17);
            effect.Simulation().RotationAngle = 0.4;
            REQUIRE(effect.OnResetDevice(device) == S_OK);
            // The device here blends two textures in one pass; the other way is forced.
            CHECK(effect.Renderer().TwoStageTiles);
            effect.Renderer().TwoStageTiles = twoStages;
            effect.OnFrameMove(device, 0.0, 0.02f);

            REQUIRE(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0) == S_OK);
            REQUIRE(device->BeginScene() == S_OK);
            effect.OnFrameRender(device, 0.0, 0.02f);
            REQUIRE(device->EndScene() == S_OK);
            const SurfacePixels triangles = ReadBackBuffer(device);

            // The same chamber image, tiled the old way.
            REQUIRE(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0) == S_OK);
            REQUIRE(device->BeginScene() == S_OK);
            effect.Renderer().SetRenderStates(device);
            const std::vector<Segment> edges = DrawQuadTiles(device, effect);
            REQUIRE(device->EndScene() == S_OK);
            const SurfacePixels quads = ReadBackBuffer(device);
            REQUIRE(triangles.pixels.size() == quads.pixels.size());

            int close = 0;
            int lit = 0;
            double farthest = 0.0;
            for (UINT y = 0; y < kHeight; ++y) {
                for (UINT x = 0; x < kWidth; ++x) {
                    const std::uint32_t a = triangles.At(x, y);
                    const std::uint32_t b = quads.At(x, y);
                    lit += (b & 0xFFFFFF) != 0;
                    int worst = 0;
                    for (int shift : {0, 8, 16}) {
                        worst = std::max(worst, std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)));
                    }
                    if (worst <= 2) {
                        ++close;
                        continue;
                    }
                    // Pixel x covers the screen coordinates x to x + 1.
                    const Vector2 centre{x + 0.5f, y + 0.5f};
                    double nearest = 1e9;
                    for (const Segment& edge : edges) {
                        nearest = std::min(nearest, Distance(centre, edge));
                    }
                    farthest = std::max(farthest, nearest);
                }
            }
            const double share = double(close) / (kWidth * kHeight);
            const std::string stages = twoStages ? "two stages" : "one stage";
            MESSAGE("S = " << size << ", " << stages << ": " << share * 100.0
                           << " % of pixels within 2 per channel; larger differences at most " << farthest
                           << " pixels from a tile edge");
            CHECK(lit > int(kWidth * kHeight / 4));
            CHECK(share >= 0.995);
            CHECK(farthest <= 2.0);
            effect.Shutdown();
        }
    }

    TEST_CASE(
        "DrawTiles: with every tile lit each pixel is written once, a little more where six tiles meet") {
        FrameworkScope scope;
        REQUIRE(FrameworkCreateDevice(0, true, kWidth, kHeight) == S_OK);
        IDirect3DDevice9* device = FrameworkGetDevice();
        Microsoft::WRL::ComPtr<IDirect3DQuery9> query;
        REQUIRE(device->CreateQuery(D3DQUERYTYPE_OCCLUSION, &query) == S_OK);
        for (const std::int32_t size : {96, 32, 16}) {
            CAPTURE(size);
            CSaverImpl effect{std::wstring()};
            effect.TriangleSize = size;
            effect.LightArea = 1.0;
            REQUIRE(effect.OnResetDevice(device) == S_OK);
            effect.OnFrameMove(device, 0.0, 0.02f);
            REQUIRE(device->BeginScene() == S_OK);
            effect.OnFrameRender(device, 0.0, 0.02f);
            REQUIRE(query->Issue(D3DISSUE_BEGIN) == S_OK);
            effect.Renderer().SetRenderStates(device);
            effect.Renderer().DrawTiles(device, effect.Simulation().RotationAngle, size, kWidth, kHeight,
                                        [&](float x, float y, std::int32_t column, std::int32_t row) {
                                            return effect.GetTileAlpha(x, y, column, row);
                                        });
            REQUIRE(query->Issue(D3DISSUE_END) == S_OK);
            REQUIRE(device->EndScene() == S_OK);
            DWORD pixels = 0;
            while (query->GetData(&pixels, sizeof(pixels), D3DGETDATA_FLUSH) == S_FALSE) {
            }
            const double perPixel = double(pixels) / (kWidth * kHeight);
            MESSAGE("S = " << size << ": " << perPixel << " writes per pixel");
            // No pixel is left out, and the hexagons' extra passes stay small.
            CHECK(perPixel >= 1.0);
            CHECK(perPixel < (size >= 32 ? 1.1 : 1.3));
            effect.Shutdown();
        }
    }
}
