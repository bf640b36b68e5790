// The effect's drawing on a real device: the chamber image, its mask, the mirrored tiling and its
// light, the atlases, and the device resources across loss and reset. Pixels are read back.
#include "effect/CSaverImpl.h"
#include "effect/ChamberMath.h"
#include "framework/HResultError.h"
#include "framework/Framework.h"

#include "support/FrameworkScope.h"
#include "support/ScopedBackBufferSize.h"
#include "support/SurfacePixels.h"

#include <doctest/doctest.h>
#include <wrl/client.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

using Microsoft::WRL::ComPtr;

namespace {

constexpr UINT kWidth = 640;
constexpr UINT kHeight = 480;

// A windowed device of 640 by 480 made by the framework, and an effect on the default settings.
struct Drawing {
    FrameworkScope scope;
    CSaverImpl effect{std::wstring()};
    IDirect3DDevice9* device = nullptr;

    Drawing() {
        REQUIRE(FrameworkCreateDevice(0, true, kWidth, kHeight) == S_OK);
        device = FrameworkGetDevice();
        REQUIRE(device != nullptr);
        REQUIRE(effect.OnResetDevice(device) == S_OK);
        effect.Simulation().Seed(7);
        effect.SpeedShake = 0.0;
    }
    ~Drawing() { effect.Shutdown(); }

    // One frame as the host runs it; the back buffer is read before the scene would be presented.
    SurfacePixels Frame() {
        effect.OnFrameMove(device, 0.0, 0.02f);
        REQUIRE(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0) == S_OK);
        REQUIRE(device->BeginScene() == S_OK);
        effect.OnFrameRender(device, 0.0, 0.02f);
        REQUIRE(device->EndScene() == S_OK);
        return ReadBackBuffer(device);
    }

    SurfacePixels Chamber() { return ReadTexture(device, effect.Renderer().ChamberTexture()); }
};

int Red(std::uint32_t c) {
    return c >> 16 & 0xFF;
}
int Green(std::uint32_t c) {
    return c >> 8 & 0xFF;
}

// Signed distance of (x, y) from the line through a and b; positive on the left of a->b as seen
// on a y-down image.
double Side(double x, double y, double ax, double ay, double bx, double by) {
    const double dx = bx - ax;
    const double dy = by - ay;
    return ((y - ay) * dx - (x - ax) * dy) / std::hypot(dx, dy);
}

struct Difference {
    double mean = 0.0;
    double brightness = 0.0;
};

// Mean brightness of the 5 x 5 pixels around (x, y): the comparison allows for filtering.
double Smoothed(const SurfacePixels& p, double x, double y) {
    const int ix = static_cast<int>(std::lround(x));
    const int iy = static_cast<int>(std::lround(y));
    double sum = 0.0;
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            sum += p.Sum(ix + dx, iy + dy);
        }
    }
    return sum / 25.0;
}

// Mean brightness difference between sample points and their images under a map about the centre.
// The centre (W / 2, H / 2) of the tiling lies on the corner of four pixels: pixel i covers the
// screen coordinates i to i + 1.
template <typename Map> Difference CompareMapped(const SurfacePixels& p, Map map) {
    const double cx = p.width / 2 - 0.5;
    const double cy = p.height / 2 - 0.5;
    double total = 0.0;
    double bright = 0.0;
    int count = 0;
    for (int radius = 20; radius <= 200; radius += 9) {
        for (int step = 0; step < 72; ++step) {
            const double a = step * std::numbers::pi / 36.0 + 0.01 * radius;
            const double x = radius * std::cos(a);
            const double y = radius * std::sin(a);
            const auto [mx, my] = map(x, y);
            const double here = Smoothed(p, cx + x, cy + y);
            total += std::abs(here - Smoothed(p, cx + mx, cy + my));
            bright += here;
            ++count;
        }
    }
    return {total / count, bright / count};
}

std::pair<double, double> Rotate(double x, double y, double angle) {
    return {x * std::cos(angle) - y * std::sin(angle), x * std::sin(angle) + y * std::cos(angle)};
}

// Reflection across the line through the origin at `angle`.
std::pair<double, double> Reflect(double x, double y, double angle) {
    const double c = std::cos(2 * angle);
    const double s = std::sin(2 * angle);
    return {x * c + y * s, x * s - y * c};
}

} // namespace

TEST_SUITE("effect") {

TEST_CASE("RenderChamber: with no pieces only the two blues inside the triangle and black outside") {
    Drawing d;
    d.effect.PieceCount = 0;
    d.Frame();
    const SurfacePixels c = d.Chamber();
    const int S = d.effect.TriangleSize;
    REQUIRE(c.width == UINT(2 * S));
    const double base = std::sqrt(3.0) * S;
    int deep = 0;
    int shallow = 0;
    int wrong = 0;
    for (UINT y = 0; y < c.height; ++y) {
        for (UINT x = 0; x < c.width; ++x) {
            const double left = Side(x, y, -1, base, S - 1, 0); // > 0: inside, right of the left edge
            const double right = Side(x, y, S, 0, 2 * S, base);  // > 0: inside, left of the right edge
            const bool inside = left > 1.5 && right > 1.5 && y < base - 1.5;
            const bool outside = left < -1.5 || right < -1.5 || y > base + 2.5;
            const std::uint32_t colour = c.At(x, y) & 0xFFFFFF;
            if (inside) {
                deep += colour == 0x30;
                shallow += colour == 0x20;
                wrong += colour != 0x30 && colour != 0x20;
            } else if (outside) {
                wrong += colour != 0;
            }
        }
    }
    CHECK(wrong == 0);
    CHECK(deep > 1000);
    CHECK(shallow > 1000);
    // With no rotation the backdrop squares touch at (S, S): above-left is the darker blue.
    CHECK((c.At(S - 3, S - 3) & 0xFFFFFF) == 0x20);
    CHECK((c.At(S + 3, S - 3) & 0xFFFFFF) == 0x30);
    CHECK((c.At(S + 3, S + 3) & 0xFFFFFF) == 0x20);
}

TEST_CASE("RenderChamber: every pixel of the mask area is black whatever the pieces did") {
    Drawing d;
    d.effect.PieceCount = 200;
    d.effect.PieceScaleMin = 1.0;
    d.effect.PieceScaleMax = 3.0;
    d.Frame();
    const SurfacePixels c = d.Chamber();
    const int S = d.effect.TriangleSize;
    const double base = std::sqrt(3.0) * S;
    int masked = 0;
    int lit = 0;
    int litInside = 0;
    for (UINT y = 0; y < c.height; ++y) {
        for (UINT x = 0; x < c.width; ++x) {
            const double left = Side(x, y, -1, base, S - 1, 0);
            const double right = Side(x, y, S, 0, 2 * S, base);
            if (left < -0.75 || right < -0.75 || y >= base + 2.0) {
                ++masked;
                lit += (c.At(x, y) & 0xFFFFFF) != 0;
            } else if (Red(c.At(x, y)) > 0 || Green(c.At(x, y)) > 0) {
                ++litInside; // a piece: the backdrop has no red or green
            }
        }
    }
    CHECK(masked > S * S);
    CHECK(lit == 0);
    CHECK(litInside > 1000);
}

TEST_CASE("DrawTiles: the screen has six-fold mirror symmetry about its centre") {
    Drawing d;
    for (double theta : {0.0, 0.7}) {
        CAPTURE(theta);
        d.effect.Simulation().RotationAngle = theta - 0.02 * 0.02; // the frame adds its own small turn
        const SurfacePixels p = d.Frame();
        const double t = d.effect.Simulation().RotationAngle;
        const Difference turned =
            CompareMapped(p, [&](double x, double y) { return Rotate(x, y, 2 * std::numbers::pi / 3); });
        const Difference mirrored = CompareMapped(p, [&](double x, double y) { return Reflect(x, y, t); });
        const Difference mirrored60 =
            CompareMapped(p, [&](double x, double y) { return Reflect(x, y, t + std::numbers::pi / 3); });
        // Not a symmetry of the pattern: the same test must see a clear difference there.
        const Difference askew =
            CompareMapped(p, [&](double x, double y) { return Reflect(x, y, t + std::numbers::pi / 6); });
        CHECK(turned.brightness > 60.0);
        CHECK(turned.mean < 0.1 * turned.brightness);
        CHECK(mirrored.mean < 0.1 * turned.brightness);
        CHECK(mirrored60.mean < 0.1 * turned.brightness);
        CHECK(askew.mean > 2.0 * std::max({turned.mean, mirrored.mean, mirrored60.mean}));
    }
}

TEST_CASE("DrawTiles: brightest in the middle, dark toward the left and right edges; no light is black") {
    Drawing d;
    SurfacePixels p = d.Frame();
    auto columnMean = [&](UINT x0, UINT x1) {
        double sum = 0.0;
        for (UINT y = 0; y < p.height; ++y) {
            for (UINT x = x0; x < x1; ++x) {
                sum += p.Sum(x, y);
            }
        }
        return sum / ((x1 - x0) * p.height);
    };
    const double middle = columnMean(kWidth / 2 - 40, kWidth / 2 + 40);
    CHECK(middle > 60.0);
    // The tiles reaching the edges of this small screen are lit faintly, against full light when
    // the light area covers everything.
    CHECK(columnMean(0, 4) < 0.12 * middle);
    CHECK(columnMean(kWidth - 4, kWidth) < 0.12 * middle);
    d.effect.LightArea = 1.0;
    p = d.Frame();
    CHECK(columnMean(0, 4) > 0.3 * middle);
    d.effect.LightArea = 0.5;

    d.effect.LightStrength = 0.0;
    p = d.Frame();
    int lit = 0;
    for (std::uint32_t c : p.pixels) {
        lit += (c & 0xFFFFFF) != 0;
    }
    CHECK(lit == 0);
}

TEST_CASE("Render: with no tile lit the chamber image is not painted; with light every piece is") {
    Drawing d;
    d.Frame();
    int piecesColoured = 0;
    const auto colour = [&](double, std::int32_t, std::int32_t) {
        ++piecesColoured;
        return D3DCOLOR{0xFFFFFFFF};
    };
    const auto light = [&](float x, float y, std::int32_t column, std::int32_t row) {
        return d.effect.GetTileAlpha(x, y, column, row);
    };
    for (const double strength : {0.0, 1.0}) {
        CAPTURE(strength);
        d.effect.LightStrength = strength;
        piecesColoured = 0;
        REQUIRE(d.device->BeginScene() == S_OK);
        CHECK_NOTHROW(d.effect.Renderer().Render(d.device, d.effect.Simulation(), MakeEffectSettings(d.effect),
                                                 kWidth, kHeight, colour, light));
        REQUIRE(d.device->EndScene() == S_OK);
        CHECK(piecesColoured == (strength > 0.0 ? d.effect.PieceCount : 0));
    }
}

TEST_CASE("DrawTiles: a back buffer without width or height draws nothing and divides by nothing") {
    Drawing d;
    d.Frame();
    for (auto [w, h] : {std::pair<UINT, UINT>{0, 480}, {640, 0}, {0, 0}}) {
        const ScopedBackBufferSize empty(w, h);
        REQUIRE(d.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0) == S_OK);
        REQUIRE(d.device->BeginScene() == S_OK);
        const auto light = [&](float x, float y, std::int32_t column, std::int32_t row) {
            return d.effect.GetTileAlpha(x, y, column, row);
        };
        CHECK_NOTHROW(d.effect.Renderer().DrawTiles(d.device, 0.0, d.effect.TriangleSize, w, h, light));
        REQUIRE(d.device->EndScene() == S_OK);
        const SurfacePixels p = ReadBackBuffer(d.device);
        CHECK(p.Sum(kWidth / 2, kHeight / 2) == 0);
        CHECK(d.effect.GetTileAlpha(100.0f, 0.0f, 0, 0) >= 0);
    }
}

TEST_CASE("RenderChamber: a failure gives the previous render target back") {
    Drawing d;
    d.Frame();
    // No atlas for the pieces: the chamber drawing fails at the first piece.
    d.effect.OnDestroyDevice();
    REQUIRE(d.effect.OnResetDevice(d.device) == S_OK);
    d.effect.Renderer().LoadedTexture = d.effect.TriangleTexture;
    ComPtr<IDirect3DSurface9> backBuffer;
    REQUIRE(d.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer) == S_OK);
    REQUIRE(d.device->BeginScene() == S_OK);
    bool raised = false;
    try {
        d.effect.OnFrameRender(d.device, 0.0, 0.02f);
    } catch (const HResultError&) {
        raised = true;
    }
    CHECK(raised);
    ComPtr<IDirect3DSurface9> current;
    REQUIRE(d.device->GetRenderTarget(0, &current) == S_OK);
    CHECK(current.Get() == backBuffer.Get());
    REQUIRE(d.device->EndScene() == S_OK);

    // With the atlas back, the next frame draws to the screen again.
    d.effect.Renderer().LoadedTexture = -1;
    const SurfacePixels p = d.Frame();
    CHECK(p.Sum(kWidth / 2 + 10, kHeight / 2 + 10) + p.Sum(kWidth / 2 - 10, kHeight / 2 - 10) > 0);
}

TEST_CASE("Device resources: a loss and reset keep pieces, phases and the managed atlas; after the device went, "
          "the atlas comes back next frame") {
    Drawing d;
    d.Frame();
    REQUIRE(d.effect.Renderer().AtlasTexture() != nullptr);
    const auto pieces = d.effect.Simulation().Pieces;
    const double phase = d.effect.Simulation().LightPhase;

    // An extra reference shows whether a second loss releases anything.
    ComPtr<IDirect3DVertexBuffer9> vertices = d.effect.Renderer().VertexBuffer();
    REQUIRE(vertices != nullptr);
    IDirect3DTexture9* const atlas = d.effect.Renderer().AtlasTexture();
    d.effect.OnLostDevice();
    d.effect.OnLostDevice();
    CHECK(d.effect.Renderer().VertexBuffer() == nullptr);
    CHECK(d.effect.Renderer().ChamberTexture() == nullptr);
    CHECK(d.effect.Renderer().AtlasTexture() == atlas);
    vertices.Get()->AddRef();
    CHECK(vertices.Get()->Release() == 1);
    vertices.Reset();

    REQUIRE(d.effect.OnResetDevice(d.device) == S_OK);
    CHECK(d.effect.Simulation().Pieces.size() == pieces.size());
    CHECK(d.effect.Simulation().LightPhase == phase);
    d.Frame();
    CHECK(d.effect.Renderer().AtlasTexture() == atlas); // drawn with, not loaded again

    d.effect.OnDestroyDevice();
    CHECK(d.effect.Renderer().AtlasTexture() == nullptr);
    CHECK(d.effect.Renderer().LoadedTexture == -1);
    REQUIRE(d.effect.OnResetDevice(d.device) == S_OK);
    d.Frame();
    CHECK(d.effect.Renderer().AtlasTexture() != nullptr);
    CHECK(d.effect.Renderer().LoadedTexture == d.effect.TriangleTexture);
    REQUIRE(d.effect.Simulation().Pieces.size() == pieces.size());
    CHECK(d.effect.Simulation().Pieces[0].X == pieces[0].X);
    CHECK(d.effect.Simulation().Pieces[49].Cell.left == pieces[49].Cell.left);
}

TEST_CASE("LoadAtlas: every style loads as an 832 by 384 picture; a new index loads another atlas") {
    Drawing d;
    for (int index = 0; index <= 5; ++index) {
        CAPTURE(index);
        d.effect.Renderer().LoadAtlas(d.device, index);
        REQUIRE(d.effect.Renderer().AtlasTexture() != nullptr);
        D3DSURFACE_DESC desc{};
        REQUIRE(d.effect.Renderer().AtlasTexture()->GetLevelDesc(0, &desc) == S_OK);
        CHECK(desc.Width >= 832);
        CHECK(desc.Height >= 384);
        CHECK(desc.Format == D3DFMT_R5G6B5);
    }
    d.effect.TriangleTexture = 1;
    d.Frame();
    CHECK(d.effect.Renderer().LoadedTexture == 1);
    d.effect.TriangleTexture = 4;
    d.Frame();
    CHECK(d.effect.Renderer().LoadedTexture == 4);
    CHECK(d.effect.Renderer().AtlasTexture() != nullptr);
}

TEST_CASE("FitChamberTarget: a new triangle size makes a chamber image of the new size") {
    Drawing d;
    d.Frame();
    d.effect.TriangleSize = 48;
    d.Frame();
    D3DSURFACE_DESC desc{};
    REQUIRE(d.effect.Renderer().ChamberTexture()->GetLevelDesc(0, &desc) == S_OK);
    CHECK(desc.Width == 96);
    CHECK(desc.Height == 96);
    CHECK(d.effect.Simulation().PieceTriangleSize() == 48);
}
}
