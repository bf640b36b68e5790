// Textures from pictures: sizes under the device's limits, format fallbacks, box-filtered mip levels,
// and the atlases, the skin and the chamber target made on a real device.
#include "graphics/GraphicsErrors.h"
#include "graphics/TextureLoader.h"
#include "graphics/TextureRules.h"
#include "gui/SkinImage.h"
#include "support/AtlasResource.h"
#include "support/TestDevice.h"
#include "support/TextureLevels.h"

#include <doctest/doctest.h>
#include <wrl/client.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>

using Microsoft::WRL::ComPtr;

namespace {

D3DCAPS9 Caps(DWORD textureCaps, UINT maxSide = 4096) {
    D3DCAPS9 caps{};
    caps.TextureCaps = textureCaps;
    caps.MaxTextureWidth = caps.MaxTextureHeight = maxSide;
    return caps;
}

// The R5G6B5 word of 8-bit red, green and blue: the top bits of each byte.
std::uint32_t Word565(int r, int g, int b) {
    return static_cast<std::uint32_t>((r & 0xF8) << 8 | (g & 0xFC) << 3 | b >> 3);
}

// The mean colour of a size by size block of the picture, as an R5G6B5 word.
std::uint32_t BlockMean565(const RgbaImage& image, UINT left, UINT top, UINT size) {
    double sum[3] = {};
    for (UINT y = top; y < top + size; ++y) {
        for (UINT x = left; x < left + size; ++x) {
            for (int c = 0; c < 3; ++c) {
                sum[c] += image.At(x, y)[c];
            }
        }
    }
    const double n = double(size) * size;
    return Word565(static_cast<int>(std::lround(sum[0] / n)), static_cast<int>(std::lround(sum[1] / n)),
                      static_cast<int>(std::lround(sum[2] / n)));
}

TextureDeviceTraits WithCaps(IDirect3DDevice9* device, DWORD textureCaps) {
    TextureDeviceTraits traits = TextureDeviceTraits::Of(device);
    traits.caps.TextureCaps = textureCaps;
    return traits;
}

} // namespace

TEST_SUITE("graphics") {

TEST_CASE("ChooseTextureSize: powers of two and squares only where the caps demand them") {
    const struct {
        DWORD caps;
        bool mipmapped;
        UINT width, height;
        TextureSize want;
    } cases[] = {
        {0, true, 832, 384, {832, 384}},
        {D3DPTEXTURECAPS_POW2, true, 832, 384, {1024, 512}},
        {D3DPTEXTURECAPS_POW2, false, 832, 384, {1024, 512}},
        {D3DPTEXTURECAPS_POW2 | D3DPTEXTURECAPS_NONPOW2CONDITIONAL, true, 832, 384, {1024, 512}},
        {D3DPTEXTURECAPS_POW2 | D3DPTEXTURECAPS_NONPOW2CONDITIONAL, false, 832, 384, {832, 384}},
        {D3DPTEXTURECAPS_POW2, true, 256, 64, {256, 64}},
        {D3DPTEXTURECAPS_POW2 | D3DPTEXTURECAPS_SQUAREONLY, true, 832, 384, {1024, 1024}},
        {D3DPTEXTURECAPS_POW2, true, 4097, 1, {}},
        {0, true, 0, 5, {}},
    };
    for (const auto& c : cases) {
        CAPTURE(c.caps);
        CAPTURE(c.width);
        CHECK(ChooseTextureSize(c.width, c.height, c.mipmapped, Caps(c.caps)) == c.want);
    }
    CHECK(FullMipCount(832, 384) == 10);
    CHECK(FullMipCount(1024, 512) == 11);
    CHECK(FullMipCount(1, 1) == 1);
}

TEST_CASE("ChooseTextureFormat: the requested format, else the nearest one the device has") {
    const struct {
        D3DFORMAT requested;
        std::set<D3DFORMAT> supported;
        D3DFORMAT want;
    } cases[] = {
        {D3DFMT_R8G8B8, {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8}, D3DFMT_X8R8G8B8},
        {D3DFMT_R8G8B8, {D3DFMT_A8R8G8B8}, D3DFMT_A8R8G8B8},
        {D3DFMT_R8G8B8, {D3DFMT_R5G6B5}, D3DFMT_UNKNOWN},
        {D3DFMT_A8B8G8R8, {D3DFMT_A8R8G8B8, D3DFMT_X8B8G8R8}, D3DFMT_A8R8G8B8},
        {D3DFMT_R5G6B5, {D3DFMT_X8R8G8B8}, D3DFMT_X8R8G8B8},
        {D3DFMT_DXT1, {D3DFMT_DXT1}, D3DFMT_DXT1},
    };
    for (const auto& c : cases) {
        CAPTURE(c.requested);
        CHECK(ChooseTextureFormat(c.requested, [&](D3DFORMAT f) { return c.supported.count(f) > 0; }) ==
              c.want);
    }
}

TEST_CASE("HalveByBoxFilter: each pixel is the area-weighted mean of what it covers") {
    const auto grey = [](std::initializer_list<float> values, UINT width) {
        FloatImage image{width, static_cast<UINT>(values.size()) / width, {}};
        image.channels.resize(values.size() * 4, 255.0f);
        std::size_t i = 0;
        for (const float v : values) {
            std::fill_n(image.channels.begin() + static_cast<std::ptrdiff_t>(i), 3, v);
            i += 4;
        }
        return image;
    };
    const struct {
        const char* name;
        FloatImage source;
        UINT width, height;
        std::vector<float> want;
    } cases[] = {
        {"2 x 2 blocks", grey({0, 40, 100, 20, 80, 0, 60, 200}, 4), 2, 1, {30, 95}},
        {"three pixels into one", grey({30, 60, 120}, 3), 1, 1, {70}},
        {"five into two",
         grey({10, 20, 30, 40, 50}, 5),
         2,
         1,
         {(10 + 20 + 15) / 2.5f, (15 + 40 + 50) / 2.5f}},
        {"a single pixel stays", grey({77}, 1), 1, 1, {77}},
    };
    for (const auto& c : cases) {
        CAPTURE(c.name);
        const FloatImage half = HalveByBoxFilter(c.source);
        REQUIRE(half.width == c.width);
        REQUIRE(half.height == c.height);
        for (std::size_t i = 0; i < c.want.size(); ++i) {
            CHECK(half.channels[i * 4] == doctest::Approx(c.want[i]));
            CHECK(half.channels[i * 4 + 3] == doctest::Approx(255.0f));
        }
    }
}

TEST_CASE("PackRow: channels rounded to bytes, narrower ones their top bits, in each format's byte order") {
    // White, transparent black, mid grey, a dark colour and channels out of range or between bytes.
    const float pixels[] = {255, 255, 255, 255, 0, 0, 0,    0,   128, 128,
                            128, 64,  7,   3,   15, 3, 9.6f, 300, -4,  127.4f};
    std::uint16_t words[5] = {};
    PackRow(pixels, 5, D3DFMT_R5G6B5, words);
    CHECK(words[0] == 0xFFFF);
    CHECK(words[1] == 0x0000);
    CHECK(words[2] == Word565(128, 128, 128));
    CHECK(words[3] == 1u); // 7 and 3 keep no bit, 15 keeps one
    CHECK(words[4] == Word565(10, 255, 0));
    const struct {
        D3DFORMAT format;
        std::uint8_t want[8];
    } wide[] = {
        {D3DFMT_A8R8G8B8, {15, 3, 7, 3, 0, 255, 10, 127}},
        {D3DFMT_X8R8G8B8, {15, 3, 7, 255, 0, 255, 10, 255}},
        {D3DFMT_A8B8G8R8, {7, 3, 15, 3, 10, 255, 0, 127}},
    };
    for (const auto& w : wide) {
        CAPTURE(w.format);
        std::uint8_t bytes[8] = {};
        PackRow(pixels + 12, 2, w.format, bytes);
        CHECK(std::memcmp(bytes, w.want, 8) == 0);
    }
}

TEST_CASE("CreateAtlasTexture: managed R5G6B5 at the picture's size, level 0 the picture's top bits, "
          "every level a box filter") {
    TestDevice device(64, 64);
    if (!device.Ok()) {
        MESSAGE("no Direct3D 9 device here: skipped");
        return;
    }
    for (int id = 202; id <= 207; ++id) {
        CAPTURE(id);
        const RgbaImage atlas = DecodeAtlas(id);
        ComPtr<IDirect3DTexture9> texture;
        REQUIRE(CreateAtlasTexture(device.Device(), GetModuleHandleW(nullptr), id, &texture) == S_OK);
        CHECK(texture->GetLevelCount() == 10);
        D3DSURFACE_DESC desc{};
        REQUIRE(texture->GetLevelDesc(0, &desc) == S_OK);
        CHECK(desc.Pool == D3DPOOL_MANAGED);
        const TextureLevel top = ReadLevel(texture.Get(), 0);
        REQUIRE(top.format == D3DFMT_R5G6B5);
        REQUIRE(top.width == 832);
        REQUIRE(top.height == 384);
        int wrong = 0;
        for (UINT y = 0; y < 384; ++y) {
            for (UINT x = 0; x < 832; ++x) {
                const std::uint8_t* p = atlas.At(x, y);
                wrong += top.At(x, y) != Word565(p[0], p[1], p[2]);
            }
        }
        CHECK(wrong == 0);
        // Down to 13 x 6 every texel covers a whole block of the picture.
        for (UINT level = 1; level <= 6; ++level) {
            CAPTURE(level);
            const TextureLevel mip = ReadLevel(texture.Get(), level);
            REQUIRE(mip.width == 832u >> level);
            REQUIRE(mip.height == 384u >> level);
            int worst = 0;
            for (UINT y = 0; y < mip.height; ++y) {
                for (UINT x = 0; x < mip.width; ++x) {
                    const UINT block = 1u << level;
                    worst = std::max(worst, Distance565(mip.At(x, y), BlockMean565(atlas, x * block,
                                                                                   y * block, block)));
                }
            }
            CHECK(worst <= 1);
        }
        const TextureLevel last = ReadLevel(texture.Get(), 9);
        CHECK((last.width == 1 && last.height == 1));
    }
}

TEST_CASE("CreateTextureFromImage: a device that wants powers of two gets the picture unscaled in the "
          "top-left corner of a black texture") {
    TestDevice device(64, 64);
    if (!device.Ok()) {
        MESSAGE("no Direct3D 9 device here: skipped");
        return;
    }
    const RgbaImage atlas = DecodeAtlas(204);
    ComPtr<IDirect3DTexture9> plain, padded;
    REQUIRE(CreateTextureFromImage(device.Device(), atlas, D3DFMT_R5G6B5, 0, WithCaps(device.Device(), 0),
                                   &plain) == S_OK);
    REQUIRE(CreateTextureFromImage(device.Device(), atlas, D3DFMT_R5G6B5, 0,
                                   WithCaps(device.Device(), D3DPTEXTURECAPS_POW2), &padded) == S_OK);
    CHECK(padded->GetLevelCount() == 11);
    const TextureLevel a = ReadLevel(plain.Get(), 0);
    const TextureLevel b = ReadLevel(padded.Get(), 0);
    REQUIRE(b.width == 1024);
    REQUIRE(b.height == 512);
    int wrongInside = 0, litOutside = 0;
    for (UINT y = 0; y < 512; ++y) {
        for (UINT x = 0; x < 1024; ++x) {
            if (x < 832 && y < 384) {
                wrongInside += a.At(x, y) != b.At(x, y);
            } else {
                litOutside += b.At(x, y) != 0;
            }
        }
    }
    CHECK(wrongInside == 0);
    CHECK(litOutside == 0);
}

TEST_CASE("Textures from files: the skin as stored, damaged data and missing resources refused") {
    TestDevice device(64, 64);
    if (!device.Ok()) {
        MESSAGE("no Direct3D 9 device here: skipped");
        return;
    }
    ComPtr<IDirect3DTexture9> skin;
    REQUIRE(CreateTextureFromFileBytes(device.Device(), {SkinImage, kSkinImageSize}, &skin) == S_OK);
    CHECK(skin->GetLevelCount() == 1);
    const TextureLevel level = ReadLevel(skin.Get(), 0);
    CHECK(level.format == D3DFMT_A8B8G8R8);
    REQUIRE(level.words.size() == 256 * 256);
    CHECK(std::memcmp(level.words.data(), SkinImage + 128, 256 * 256 * 4) == 0);

    std::vector<std::uint8_t> damaged(SkinImage, SkinImage + 200);
    IDirect3DTexture9* none = reinterpret_cast<IDirect3DTexture9*>(1);
    CHECK(CreateTextureFromFileBytes(device.Device(), damaged, &none) == GraphicsError::InvalidData);
    CHECK(none == nullptr);
    const std::span<const std::uint8_t> atlas = AtlasBytes(202);
    damaged.assign(atlas.begin(), atlas.begin() + atlas.size() / 2);
    CHECK(CreateTextureFromFileBytes(device.Device(), damaged, &none) == GraphicsError::InvalidData);
    CHECK(FAILED(CreateAtlasTexture(device.Device(), GetModuleHandleW(nullptr), 299, &none)));
    CHECK(none == nullptr);
    ComPtr<IDirect3DTexture9> fromResource;
    CHECK(CreateTextureFromResource(device.Device(), GetModuleHandleW(nullptr), MAKEINTRESOURCEW(203),
                                    &fromResource) == S_OK);
}

TEST_CASE("CreateRenderTargetTexture: R8G8B8 becomes the nearest format the device renders to") {
    TestDevice device(64, 64);
    if (!device.Ok()) {
        MESSAGE("no Direct3D 9 device here: skipped");
        return;
    }
    ComPtr<IDirect3DTexture9> target;
    REQUIRE(CreateRenderTargetTexture(device.Device(), 192, 192, D3DFMT_R8G8B8, &target) == S_OK);
    D3DSURFACE_DESC desc{};
    REQUIRE(target->GetLevelDesc(0, &desc) == S_OK);
    CHECK(desc.Format == D3DFMT_X8R8G8B8);
    CHECK((desc.Usage == D3DUSAGE_RENDERTARGET && desc.Pool == D3DPOOL_DEFAULT && desc.Width == 192));
}
}
