// The sprite batch on a real device: order and draw calls, both blends, the states given back, a batch
// larger than its buffer, device loss and reset, and the scope that closes a batch.
#include "graphics/SpriteBatch.h"

#include "support/TestDevice.h"

#include <doctest/doctest.h>

#include <cstdlib>
#include <stdexcept>

namespace {

constexpr int Width = 200;
constexpr int Height = 150;

// An 8 x 8 texture of one colour.
Microsoft::WRL::ComPtr<IDirect3DTexture9> Solid(IDirect3DDevice9* device, D3DCOLOR color) {
    return FilledTexture(device, 8, 8, [color](int, int) { return color; });
}

// A square of `side` pixels with its top-left corner at (x, y).
Matrix2D Square(float x, float y, float side) {
    return {side / 8.0f, 0.0f, 0.0f, side / 8.0f, x, y};
}

} // namespace

TEST_SUITE("graphics") {

TEST_CASE("SpriteBatch: overlapping sprites keep their order; one draw call per run of a texture") {
    TestDevice device(Width, Height);
    if (!device.Ok()) {
        MESSAGE("no Direct3D 9 device here; sprites not drawn");
        return;
    }
    const auto red = Solid(device.Device(), 0xFFFF0000);
    const auto blue = Solid(device.Device(), 0xFF0000FF);
    SpriteBatch batch(device.Device());
    REQUIRE(batch.Status() == S_OK);
    CHECK(batch.Draw(red.Get(), nullptr, Square(0, 0, 8), 0xFFFFFFFF) == D3DERR_INVALIDCALL); // not begun
    device.BeginFrame(0xFF000000);
    REQUIRE(batch.Begin(SpriteBlend::Over, SpriteStateSaving::Save) == S_OK);
    CHECK(batch.Begin(SpriteBlend::Over, SpriteStateSaving::Save) == D3DERR_INVALIDCALL);
    batch.Draw(red.Get(), nullptr, Square(10, 10, 40), 0xFFFFFFFF);
    batch.Draw(red.Get(), nullptr, Square(100, 10, 20), 0xFFFFFFFF);
    batch.Draw(blue.Get(), nullptr, Square(30, 30, 40), 0xFFFFFFFF);
    batch.Draw(red.Get(), nullptr, Square(50, 50, 40), 0xFFFFFFFF);
    const unsigned before = batch.DrawCalls();
    REQUIRE(batch.End() == S_OK);
    device.EndFrame();
    CHECK(batch.DrawCalls() - before == 3);
    CHECK(device.Pixel(15, 15) == 0xFFFF0000);
    CHECK(device.Pixel(110, 20) == 0xFFFF0000);
    CHECK(device.Pixel(40, 40) == 0xFF0000FF); // blue over the first red
    CHECK(device.Pixel(60, 60) == 0xFFFF0000); // the last red over blue
    CHECK(device.Pixel(95, 95) == 0xFF000000);

    // Apart from each other, alternating textures need one draw call per texture.
    device.BeginFrame(0xFF000000);
    batch.Begin(SpriteBlend::Over, SpriteStateSaving::Save);
    for (int row = 0; row < 4; ++row) {
        batch.Draw(red.Get(), nullptr, Square(10, 10 + 30.0f * row, 20), 0xFFFFFFFF);
        batch.Draw(blue.Get(), nullptr, Square(100, 10 + 30.0f * row, 20), 0xFFFFFFFF);
    }
    const unsigned apart = batch.DrawCalls();
    batch.End();
    device.EndFrame();
    CHECK(batch.DrawCalls() - apart == 2);
    CHECK(device.Pixel(15, 105) == 0xFFFF0000);
    CHECK(device.Pixel(105, 105) == 0xFF0000FF);
}

TEST_CASE("SpriteBatch: over blends by the source alpha, additive adds; the colour tints the texture") {
    TestDevice device(Width, Height);
    if (!device.Ok()) {
        return;
    }
    const auto white = Solid(device.Device(), 0xFFFFFFFF);
    SpriteBatch batch(device.Device());
    for (const SpriteBlend blend : {SpriteBlend::Over, SpriteBlend::Additive}) {
        device.BeginFrame(0xFF606060);
        batch.Begin(blend, SpriteStateSaving::DoNotSave);
        batch.Draw(white.Get(), nullptr, Square(10, 10, 40), 0x80FF4000);
        batch.End();
        device.EndFrame();
        const D3DCOLOR c = device.Pixel(30, 30);
        if (blend == SpriteBlend::Over) { // 0.5 x colour + 0.5 x 0x60
            CHECK(std::abs(Red(c) - 0xB0) <= 2);
            CHECK(std::abs(Green(c) - 0x50) <= 2);
            CHECK(std::abs(Blue(c) - 0x30) <= 2);
        } else { // 0.5 x colour + 0x60
            CHECK(Red(c) == 0xE0);
            CHECK(std::abs(Green(c) - 0x80) <= 2);
            CHECK(Blue(c) == 0x60);
        }
    }
}

TEST_CASE("SpriteBatch: with state saving the device's states come back, without they stay the batch's") {
    TestDevice device(Width, Height);
    if (!device.Ok()) {
        return;
    }
    IDirect3DDevice9* d = device.Device();
    const auto white = Solid(d, 0xFFFFFFFF);
    SpriteBatch batch(d);
    for (const SpriteStateSaving saving : {SpriteStateSaving::Save, SpriteStateSaving::DoNotSave}) {
        d->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
        d->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
        d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
        d->SetTexture(0, nullptr);
        device.BeginFrame(0xFF000000);
        batch.Begin(SpriteBlend::Additive, saving);
        batch.Draw(white.Get(), nullptr, Square(10, 10, 40), 0xFFFFFFFF);
        batch.End();
        device.EndFrame();
        DWORD blend = 0, cull = 0, op = 0;
        d->GetRenderState(D3DRS_ALPHABLENDENABLE, &blend);
        d->GetRenderState(D3DRS_CULLMODE, &cull);
        d->GetTextureStageState(0, D3DTSS_COLOROP, &op);
        Microsoft::WRL::ComPtr<IDirect3DBaseTexture9> bound;
        d->GetTexture(0, bound.GetAddressOf());
        Microsoft::WRL::ComPtr<IDirect3DPixelShader9> program;
        d->GetPixelShader(program.GetAddressOf());
        const bool saved = saving == SpriteStateSaving::Save;
        CHECK(blend == (saved ? FALSE : TRUE));
        CHECK(cull == (saved ? D3DCULL_CW : D3DCULL_NONE));
        CHECK(op == (saved ? D3DTOP_SELECTARG2 : D3DTOP_MODULATE));
        CHECK((bound == nullptr) == saved);
        CHECK((program == nullptr) == saved); // later fixed-function drawing needs it gone
    }
}

TEST_CASE("SpriteBatch: more sprites than the vertex buffer holds are all drawn, in pieces") {
    TestDevice device(Width, Height);
    if (!device.Ok()) {
        return;
    }
    const auto white = Solid(device.Device(), 0xFFFFFFFF);
    SpriteBatch batch(device.Device());
    device.BeginFrame(0xFF000000);
    batch.Begin(SpriteBlend::Over, SpriteStateSaving::Save);
    const unsigned before = batch.DrawCalls();
    constexpr int Count = 3000; // every other pixel of 100 rows of 60
    for (int i = 0; i < Count; ++i) {
        batch.Draw(white.Get(), nullptr, Square(2.0f * (i % 60), 2.0f * (i / 60), 1), 0xFFFFFFFF);
    }
    REQUIRE(batch.End() == S_OK);
    device.EndFrame();
    CHECK(batch.DrawCalls() - before == 3); // 1024 sprites a piece
    int lit = 0;
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Width; ++x) {
            lit += device.Pixel(x, y) == 0xFFFFFFFF ? 1 : 0;
        }
    }
    CHECK(lit == Count);
}

TEST_CASE("SpriteBatch: releases its device objects when the device is lost and draws again after the reset") {
    TestDevice device(Width, Height);
    if (!device.Ok()) {
        return;
    }
    const auto white = Solid(device.Device(), 0xFFFFFFFF);
    SpriteBatch batch(device.Device());
    batch.Begin(SpriteBlend::Over, SpriteStateSaving::Save);
    batch.OnLostDevice(); // an open batch is dropped
    CHECK_FALSE(batch.IsOpen());
    // A default-pool object still held would make the reset fail.
    REQUIRE(device.Reset() == S_OK);
    CHECK(FAILED(batch.Begin(SpriteBlend::Over, SpriteStateSaving::Save)));
    REQUIRE(batch.OnResetDevice() == S_OK);
    device.BeginFrame(0xFF000000);
    REQUIRE(batch.Begin(SpriteBlend::Over, SpriteStateSaving::Save) == S_OK);
    batch.Draw(white.Get(), nullptr, Square(10, 10, 8), 0xFFFFFFFF);
    REQUIRE(batch.End() == S_OK);
    device.EndFrame();
    CHECK(device.Pixel(12, 12) == 0xFFFFFFFF);
}

TEST_CASE("SpriteBatchScope: an exception leaving the scope still ends the batch and draws what was queued") {
    TestDevice device(Width, Height);
    if (!device.Ok()) {
        return;
    }
    const auto white = Solid(device.Device(), 0xFFFFFFFF);
    SpriteBatch batch(device.Device());
    device.BeginFrame(0xFF000000);
    try {
        SpriteBatchScope scope(batch, SpriteBlend::Over, SpriteStateSaving::Save);
        REQUIRE(scope.Result() == S_OK);
        batch.Draw(white.Get(), nullptr, Square(10, 10, 8), 0xFFFFFFFF);
        throw std::runtime_error("a control failed");
    } catch (const std::runtime_error&) {
    }
    device.EndFrame();
    CHECK_FALSE(batch.IsOpen());
    CHECK(device.Pixel(12, 12) == 0xFFFFFFFF);
    {
        SpriteBatchScope scope(batch, SpriteBlend::Over, SpriteStateSaving::Save);
        CHECK(scope.End() == S_OK);
        CHECK_FALSE(batch.IsOpen());
        CHECK(batch.Begin(SpriteBlend::Over, SpriteStateSaving::Save) == S_OK); // the scope's end leaves it
    }
    CHECK(batch.IsOpen());
    batch.End();
}

} // TEST_SUITE
