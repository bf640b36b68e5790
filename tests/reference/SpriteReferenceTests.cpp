// Our sprite batch against the old utility library's sprite, loaded at run time: the same pixels over
// transforms, source rectangles, colours and both blends.
#include "graphics/SpriteBatch.h"

#include "support/ReferenceLibrary.h"
#include "support/TestDevice.h"

#include <d3dx9core.h>
#include <doctest/doctest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

using CreateSpriteFunction = HRESULT(WINAPI*)(IDirect3DDevice9*, ID3DXSprite**);

constexpr int Width = 480;
constexpr int Height = 360;

// 64 x 48 texels of changing colour and alpha, alpha 0 and 255 among them.
Microsoft::WRL::ComPtr<IDirect3DTexture9> PatternTexture(IDirect3DDevice9* device) {
    return FilledTexture(device, 64, 48, [](int x, int y) {
        const int alpha = std::clamp((x + y) * 4 - 40, 0, 255);
        return D3DCOLOR_ARGB(alpha, x * 4, y * 5, ((x ^ y) * 8) & 0xFF);
    });
}

struct Sprite {
    Matrix2D transform;
    const RECT* source;
    D3DCOLOR color;
};

// Scaled, turned, mirrored and shifted by fractions of a pixel; each drawn whole and in part, in
// three colours, overlapping so that the order shows.
std::vector<Sprite> Sprites(int transformIndex) {
    static const RECT part = {8, 4, 40, 36};
    const Vector2 centre = {32.0f, 24.0f};
    const Matrix2D transforms[] = {
        {1.0f, 0.0f, 0.0f, 1.0f, 40.0f, 30.0f},
        {1.0f, 0.0f, 0.0f, 1.0f, 40.25f, 30.5f},
        Matrix2D::Scaling(2.0f, 1.5f),
        Matrix2D::Scaling(0.5f, 0.75f),
        CentredTransform2D(centre, {1.0f, 1.0f}, 0.5236f, {120.0f, 90.0f}),
        CentredTransform2D(centre, {-1.0f, 1.0f}, 0.0f, {100.0f, 80.0f}),
        CentredTransform2D(centre, {1.7f, -0.8f}, -1.1f, {150.0f, 100.0f}),
    };
    const D3DCOLOR colors[] = {0xFFFFFFFF, 0x80FF8040, 0xC04080FF};
    std::vector<Sprite> sprites;
    for (int k = 0; k < 6; ++k) {
        Matrix2D t = transforms[transformIndex];
        t.dx += 30.0f * k + 10.0f;
        t.dy += 20.0f * k + 10.0f;
        sprites.push_back({t, k % 2 ? &part : nullptr, colors[k % 3]});
    }
    return sprites;
}

} // namespace

TEST_SUITE("reference") {

TEST_CASE("Sprite batch: the reference sprite's pixels, within 1 per channel, over transforms, colours and blends") {
    ReferenceLibrary library;
    if (!library.Present()) {
        MESSAGE("the old utility library is not here; sprites not compared");
        return;
    }
    const auto createSprite = library.Get<CreateSpriteFunction>("D3DXCreateSprite");
    const bool exported = createSprite != nullptr;
    REQUIRE(exported);
    TestDevice device(Width, Height);
    if (!device.Ok()) {
        MESSAGE("no Direct3D 9 device here; sprites not compared");
        return;
    }
    IDirect3DDevice9* d = device.Device();
    const auto texture = PatternTexture(d);
    Microsoft::WRL::ComPtr<ID3DXSprite> reference;
    REQUIRE(createSprite(d, reference.GetAddressOf()) == S_OK);
    SpriteBatch batch(d);
    REQUIRE(batch.Status() == S_OK);
    const D3DCOLOR clear = 0xFF305070;
    int cases = 0;
    int worst = 0;
    long differing = 0;
    for (const SpriteBlend blend : {SpriteBlend::Over, SpriteBlend::Additive}) {
        for (int t = 0; t < 7; ++t) {
            const std::vector<Sprite> sprites = Sprites(t);
            device.BeginFrame(clear);
            REQUIRE(reference->Begin(D3DXSPRITE_ALPHABLEND) == S_OK);
            if (blend == SpriteBlend::Additive) {
                d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE); // drawn at End with the states then
            }
            for (const Sprite& s : sprites) {
                D3DXMATRIX m;
                static_cast<D3DMATRIX&>(m) = ToD3DMatrix(s.transform);
                reference->SetTransform(&m);
                REQUIRE(reference->Draw(texture.Get(), s.source, nullptr, nullptr, s.color) == S_OK);
            }
            REQUIRE(reference->End() == S_OK);
            device.EndFrame();
            const std::vector<D3DCOLOR> want = device.Pixels();

            device.BeginFrame(clear);
            REQUIRE(batch.Begin(blend, SpriteStateSaving::Save) == S_OK);
            for (const Sprite& s : sprites) {
                REQUIRE(batch.Draw(texture.Get(), s.source, s.transform, s.color) == S_OK);
            }
            REQUIRE(batch.End() == S_OK);
            device.EndFrame();
            const std::vector<D3DCOLOR> got = device.Pixels();

            int drawn = 0;
            for (size_t i = 0; i < want.size(); ++i) {
                drawn += want[i] != (clear | 0xFF000000) ? 1 : 0;
                const int diff = std::max({std::abs(Red(want[i]) - Red(got[i])),
                                           std::abs(Green(want[i]) - Green(got[i])),
                                           std::abs(Blue(want[i]) - Blue(got[i]))});
                worst = std::max(worst, diff);
                differing += diff > 1 ? 1 : 0;
            }
            CHECK(drawn > 3000); // the sprites did show
            cases += static_cast<int>(sprites.size());
        }
    }
    MESSAGE("sprites compared: " << cases << " in 14 frames; pixels off by more than 1: " << differing
                                 << "; largest difference per channel: " << worst);
    CHECK(differing == 0);
}

} // TEST_SUITE
