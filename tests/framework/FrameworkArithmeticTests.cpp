// Window placement in the work area and the device cursor's pixels.
#include "framework/CursorImage.h"
#include "framework/WindowPlacement.h"

#include <doctest/doctest.h>

TEST_SUITE("framework") {

TEST_CASE("PlaceWindowInWorkArea: a window with borders is centred, rounding toward zero") {
    const RECT work{0, 0, 1920, 1080};
    const WindowBounds b = PlaceWindowInWorkArea(RECT{-8, -31, 808, 608}, work);
    CHECK(b.width == 816);
    CHECK(b.height == 639);
    CHECK(b.x == (1920 - 816) / 2);
    CHECK(b.y == (1080 - 639) / 2); // 220.5 becomes 220
}

TEST_CASE("PlaceWindowInWorkArea: a too large window is limited to the work area and sits in it") {
    const RECT work{100, 50, 1380, 1074};
    const WindowBounds b = PlaceWindowInWorkArea(RECT{-8, -31, 1928, 1208}, work);
    CHECK(b.width == 1280);
    CHECK(b.height == 1024);
    CHECK(b.x == 100);
    CHECK(b.y == 50);
}

TEST_CASE("PlaceWindowInWorkArea: a rectangle already inside keeps its own corner") {
    const WindowBounds b = PlaceWindowInWorkArea(RECT{10, 20, 650, 500}, RECT{0, 0, 1920, 1080});
    CHECK(b.x == 10);
    CHECK(b.y == 20);
    CHECK(b.width == 640);
    CHECK(b.height == 480);
}

TEST_CASE("ComposeCursorPixels: black-and-white cursor, AND mask on top, XOR image below, bottom-up") {
    // 2 x 1 cursor: mask is 2 x 2 bottom-up, so row 1 (last) is the AND row, row 0 the XOR row.
    const std::vector<uint32_t> mask = {
        0x00FFFFFF, 0x00000000, // XOR image: white, black
        0x00000000, 0x00FFFFFF, // AND mask: opaque, transparent
    };
    const std::vector<uint32_t> pixels = ComposeCursorPixels(mask, nullptr, 2, 1);
    REQUIRE(pixels.size() == 2);
    CHECK(pixels[0] == 0xFFFFFFFFu);
    CHECK(pixels[1] == 0u);
}

TEST_CASE("ComposeCursorPixels: colour cursor rows are flipped to top-down with full alpha") {
    const std::vector<uint32_t> mask = {0, 0, 0, 1};           // bottom row opaque, top-right transparent
    const std::vector<uint32_t> colour = {0x112233, 0x445566,  // bottom row
                                          0x778899, 0x00AABB}; // top row
    const std::vector<uint32_t> pixels = ComposeCursorPixels(mask, &colour, 2, 2);
    CHECK(pixels == std::vector<uint32_t>{0xFF778899u, 0u, 0xFF112233u, 0xFF445566u});
}

TEST_CASE("ComposeCursorPixels: bitmaps shorter than their size give a transparent cursor") {
    const std::vector<uint32_t> mask = {0, 0};
    const std::vector<uint32_t> pixels = ComposeCursorPixels(mask, nullptr, 2, 2);
    CHECK(pixels == std::vector<uint32_t>(4, 0u));
}

} // TEST_SUITE
