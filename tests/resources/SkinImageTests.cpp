// The skin texture built into the program: its DDS header and the artwork in each control's rectangle.
#include "graphics/DdsDecoder.h"
#include "gui/SkinImage.h"

#include <doctest/doctest.h>

#include <cstring>
#include <initializer_list>

namespace {

std::uint32_t HeaderField(std::size_t offset) {
    std::uint32_t v;
    std::memcpy(&v, SkinImage + offset, 4);
    return v;
}

struct Pixel {
    int r, g, b, a;
};

Pixel At(int x, int y) {
    const std::uint8_t* p = SkinImage + 128 + (static_cast<std::size_t>(y) * 256 + x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

struct Area {
    int left, top, right, bottom;
};

// Averages over the pixels of an area that are at least half opaque, weighted by their alpha.
struct Summary {
    double covered = 0; // share of the area's pixels that are at least half opaque
    double r = 0, g = 0, b = 0, a = 0;
};

Summary Summarise(Area area) {
    Summary s;
    double weight = 0;
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            Pixel p = At(x, y);
            if (p.a >= 128) {
                ++count;
                weight += p.a;
                s.r += p.r * p.a;
                s.g += p.g * p.a;
                s.b += p.b * p.a;
            }
        }
    }
    s.covered = double(count) / ((area.right - area.left) * (area.bottom - area.top));
    if (weight > 0) {
        s.r /= weight * 255;
        s.g /= weight * 255;
        s.b /= weight * 255;
        s.a = weight / count / 255;
    }
    return s;
}

double Luminance(const Summary& s) { return 0.3 * s.r + 0.59 * s.g + 0.11 * s.b; }

int CountWhite(Area area) {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            Pixel p = At(x, y);
            n += p.r > 230 && p.g > 230 && p.b > 230 && p.a > 230;
        }
    }
    return n;
}

} // namespace

TEST_SUITE("resources") {

TEST_CASE("Skin image: the header describes a 256 x 256 picture of red, green, blue and alpha bytes") {
    CHECK(std::memcmp(SkinImage, "DDS ", 4) == 0);
    const struct {
        std::size_t offset;
        std::uint32_t value;
    } fields[] = {{4, 124},          {8, 0x1007},      {12, 256},         {16, 256},         {20, 0},
                  {24, 0},           {28, 0},          {76, 32},          {80, 0x41},        {84, 0},
                  {88, 32},          {92, 0xFF},       {96, 0xFF00},      {100, 0xFF0000},   {104, 0xFF000000},
                  {108, 0x1002},     {112, 0},         {116, 0},          {120, 0},          {124, 0}};
    for (const auto& field : fields) {
        CAPTURE(field.offset);
        CHECK(HeaderField(field.offset) == field.value);
    }
    for (std::size_t offset = 32; offset < 76; offset += 4) {
        CAPTURE(offset);
        CHECK(HeaderField(offset) == 0);
    }
    CHECK(kSkinImageSize == 128 + 256 * 256 * 4);
}

TEST_CASE("Skin image: the DDS reader takes it as 256 x 256 A8B8G8R8 pixels, bytes as stored") {
    RgbaImage image;
    D3DFORMAT format = D3DFMT_UNKNOWN;
    REQUIRE(DecodeDds({SkinImage, kSkinImageSize}, image, format) == S_OK);
    CHECK(image.width == 256);
    CHECK(image.height == 256);
    CHECK(format == D3DFMT_A8B8G8R8);
    CHECK(std::memcmp(image.pixels.data(), SkinImage + 128, image.pixels.size()) == 0);
}

TEST_CASE("Skin image: every rectangle the controls draw from holds a picture") {
    const struct {
        const char* name;
        Area area;
        double minCovered;
    } parts[] = {
        {"button face", {0, 0, 136, 54}, 0.85},      {"button fill", {136, 0, 252, 54}, 0.85},
        {"combo bar", {7, 81, 247, 123}, 0.85},      {"drop button", {98, 189, 151, 238}, 0.6},
        {"list", {13, 123, 241, 160}, 0.9},          {"selection", {12, 163, 239, 183}, 0.85},
        {"slider track", {1, 187, 93, 228}, 0.08},   {"slider thumb", {151, 193, 192, 234}, 0.6},
        {"scroll track", {196, 212, 218, 223}, 0.6}, {"scroll up", {196, 192, 218, 212}, 0.7},
        {"scroll down", {196, 223, 218, 244}, 0.7},  {"scroll thumb", {220, 192, 238, 234}, 0.65},
    };
    for (const auto& part : parts) {
        CAPTURE(part.name);
        const Area& a = part.area;
        CHECK(Summarise(a).covered >= part.minCovered);
        CHECK(At((a.left + a.right) / 2, (a.top + a.bottom) / 2).a >= 128);
    }
}

TEST_CASE("Skin image: the pictures look the way the controls expect") {
    SUBCASE("the button face is dark and translucent, its fill layer light") {
        Summary face = Summarise({0, 0, 136, 54});
        CHECK(Luminance(face) < 0.35);
        CHECK(face.a < 0.95);
        CHECK(Luminance(Summarise({136, 0, 252, 54})) > 0.8);
    }
    SUBCASE("the combo bar is bright inside a dark rim") {
        CHECK(Luminance(Summarise({30, 95, 220, 110})) > 0.7);
        Summary rim = Summarise({7, 81, 247, 84});
        CHECK(Luminance(rim) < 0.3);
    }
    SUBCASE("the list is a light panel and the selection a saturated blue bar") {
        CHECK(Luminance(Summarise({13, 123, 241, 160})) > 0.8);
        Summary selection = Summarise({12, 163, 239, 183});
        CHECK(selection.b > 0.7);
        CHECK(selection.b - selection.r > 0.4);
    }
    SUBCASE("the slider track is a thin line across the middle of its rectangle") {
        CHECK(Summarise({1, 187, 93, 200}).covered == 0);
        CHECK(Summarise({1, 215, 93, 228}).covered == 0);
        CHECK(Summarise({4, 206, 90, 208}).covered == 1);
    }
    SUBCASE("the drop button and the slider thumb are blue and round; the drop button bears a white arrow") {
        for (Area ball : {Area{98, 189, 151, 238}, Area{151, 193, 192, 234}}) {
            Summary s = Summarise(ball);
            CHECK(s.b - s.r > 0.3);
            CHECK(At(ball.left + 1, ball.top + 1).a == 0); // round, so the corners are empty
            CHECK(At(ball.right - 2, ball.bottom - 2).a == 0);
        }
        CHECK(CountWhite({115, 208, 135, 222}) > 40);
        CHECK(CountWhite({151, 193, 192, 234}) < 5);
    }
    SUBCASE("the scroll arrows are blue-grey with white triangles pointing up and down") {
        for (Area arrow : {Area{196, 192, 218, 212}, Area{196, 223, 218, 244}}) {
            Summary s = Summarise(arrow);
            CHECK(s.b > s.r);
            CHECK(CountWhite(arrow) > 10);
        }
        // The up arrow's triangle is wider at its bottom, the down arrow's at its top.
        CHECK(CountWhite({196, 203, 218, 206}) > CountWhite({196, 197, 218, 200}));
        CHECK(CountWhite({196, 229, 218, 232}) > CountWhite({196, 235, 218, 238}));
    }
    SUBCASE("the scroll track is the same in every row, so that it stretches cleanly") {
        for (int y = 213; y < 223; ++y) {
            for (int x = 196; x < 218; ++x) {
                Pixel p = At(x, y), q = At(x, 212);
                CHECK((p.r == q.r && p.g == q.g && p.b == q.b && p.a == q.a));
            }
        }
    }
}
}
