// Text on a real device: glyphs made once, the format flags, clipping, and characters the face lacks.
#include "graphics/TextFont.h"

#include "support/TestDevice.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <vector>

namespace {

constexpr int Width = 320;
constexpr int Height = 120;

struct Ink {
    RECT box = {Width, Height, 0, 0};
    long sum = 0;
};

Ink InkOf(const TestDevice& device, RECT area = {0, 0, Width, Height}) {
    Ink ink;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const int level = Red(device.Pixel(x, y));
            ink.sum += level;
            if (level > 40) {
                ink.box = {std::min<LONG>(ink.box.left, x), std::min<LONG>(ink.box.top, y),
                           std::max<LONG>(ink.box.right, x + 1), std::max<LONG>(ink.box.bottom, y + 1)};
            }
        }
    }
    return ink;
}

// Draws white text on black in one frame and returns its ink.
Ink DrawFrame(TestDevice& device, SpriteBatch& batch, TextFont& font, const wchar_t* text, RECT rect, UINT format) {
    device.BeginFrame(0xFF000000);
    batch.Begin(SpriteBlend::Over, SpriteStateSaving::Save);
    const int height = font.Draw(&batch, text, -1, &rect, format, 0xFFFFFFFF);
    batch.End();
    device.EndFrame();
    CHECK(height > 0);
    return InkOf(device);
}

} // namespace

TEST_SUITE("graphics") {

TEST_CASE("TextFont: each character is rasterised once, over frames and a device reset") {
    TestDevice device(Width, Height);
    if (!device.Ok()) {
        MESSAGE("no Direct3D 9 device here; text not drawn");
        return;
    }
    SpriteBatch batch(device.Device());
    TextFont font(device.Device(), L"Noto Sans CJK JP", 16, FW_NORMAL);
    REQUIRE(font.Status() == S_OK);
    CHECK(font.GlyphsRasterised() == 0);
    const Ink first = DrawFrame(device, batch, font, L"Hello 世界 Hello", {10, 10, 300, 60}, DT_LEFT);
    CHECK(font.GlyphsRasterised() == 6); // H e l o 世 界; the space has no ink
    DrawFrame(device, batch, font, L"Hello 世界 Hello", {10, 10, 300, 60}, DT_LEFT);
    batch.OnLostDevice();
    REQUIRE(device.Reset() == S_OK);
    REQUIRE(batch.OnResetDevice() == S_OK);
    const Ink after = DrawFrame(device, batch, font, L"Hello 世界 Hello", {10, 10, 300, 60}, DT_LEFT);
    CHECK(font.GlyphsRasterised() == 6);
    CHECK(after.sum == first.sum);
    CHECK(after.box.left == first.box.left);
    CHECK(after.box.right == first.box.right);
}

TEST_CASE("TextFont: the format flags align the text in its rectangle; the calculated rectangle is its size") {
    TestDevice device(Width, Height);
    if (!device.Ok()) {
        return;
    }
    SpriteBatch batch(device.Device());
    TextFont font(device.Device(), L"Arial", 16, FW_NORMAL);
    REQUIRE(font.Status() == S_OK);
    RECT size = {10, 20, 10, 20};
    CHECK(font.Draw(nullptr, L"Mid", -1, &size, DT_CALCRECT, 0) == font.LineHeight());
    const LONG width = size.right - size.left;
    CHECK(width > 20);
    CHECK(size.bottom - size.top == font.LineHeight());
    RECT two = {0, 0, 0, 0};
    CHECK(font.Draw(nullptr, L"Mid\r\nMiddle", -1, &two, DT_CALCRECT, 0) == 2 * font.LineHeight());
    CHECK(two.right > width);
    RECT counted = {0, 0, 0, 0};
    font.Draw(nullptr, L"Mid\r\nMiddle", 3, &counted, DT_CALCRECT, 0);
    CHECK(counted.right == width);
    RECT single = {0, 0, 0, 0};
    CHECK(font.Draw(nullptr, L"Mid\nMid", -1, &single, DT_CALCRECT | DT_SINGLELINE, 0) == font.LineHeight());

    const RECT area = {40, 10, 280, 110};
    const Ink left = DrawFrame(device, batch, font, L"Mid", area, DT_LEFT | DT_TOP);
    CHECK(left.box.left - area.left <= 2);
    CHECK(left.box.top - area.top <= font.LineHeight() / 2);
    const Ink centred = DrawFrame(device, batch, font, L"Mid", area, DT_CENTER | DT_VCENTER);
    CHECK(std::abs((centred.box.left + centred.box.right) - (area.left + area.right)) <= 3);
    CHECK(std::abs((centred.box.top + centred.box.bottom) - (area.top + area.bottom)) <= 6);
    const Ink right = DrawFrame(device, batch, font, L"Mid", area, DT_RIGHT | DT_BOTTOM);
    CHECK(area.right - right.box.right <= 2);
    CHECK(area.right - right.box.right >= 0);
    CHECK(area.bottom - right.box.bottom <= font.LineHeight() / 2);
    CHECK(right.box.right - right.box.left == left.box.right - left.box.left);
    CHECK(right.sum == left.sum);
}

TEST_CASE("TextFont: glyphs are cut at the rectangle unless NoClip") {
    TestDevice device(Width, Height);
    if (!device.Ok()) {
        return;
    }
    SpriteBatch batch(device.Device());
    TextFont font(device.Device(), L"Arial", 16, FW_NORMAL);
    const RECT narrow = {20, 30, 60, 50};
    const Ink clipped = DrawFrame(device, batch, font, L"WWWWWWWW", narrow, DT_LEFT | DT_VCENTER);
    CHECK(clipped.box.left >= narrow.left);
    CHECK(clipped.box.right <= narrow.right);
    CHECK(clipped.box.right >= narrow.right - 2);
    const Ink whole = DrawFrame(device, batch, font, L"WWWWWWWW", narrow, DT_LEFT | DT_VCENTER | DT_NOCLIP);
    CHECK(whole.box.right > narrow.right + 40);
}

TEST_CASE("TextFont: a character the face lacks is drawn from a Japanese face, not as a box") {
    TestDevice device(Width, Height);
    if (!device.Ok()) {
        return;
    }
    SpriteBatch batch(device.Device());
    // A Latin face without Japanese glyphs, and the one Japanese face of the list installed here.
    TextFont latin(device.Device(), L"Arial", 16, FW_NORMAL);
    TextFont japanese(device.Device(), L"Noto Sans CJK JP", 16, FW_NORMAL);
    REQUIRE(latin.Status() == S_OK);
    REQUIRE(japanese.Status() == S_OK);
    const RECT area = {10, 10, 300, 100};
    const Ink borrowed = DrawFrame(device, batch, latin, L"画面", area, DT_LEFT);
    const Ink own = DrawFrame(device, batch, japanese, L"画面", area, DT_LEFT);
    const Ink box = DrawFrame(device, batch, latin, L"\xFFFF\xFFFF", area, DT_LEFT);
    CHECK(borrowed.sum == own.sum);
    CHECK(borrowed.box.right - borrowed.box.left == own.box.right - own.box.left);
    CHECK(borrowed.box.bottom - borrowed.box.top == own.box.bottom - own.box.top);
    CHECK(box.sum != own.sum);
}

} // TEST_SUITE
