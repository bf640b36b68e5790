// Our textures against those of Direct3D's old utility library, loaded at run time where present:
// the atlases, the skin and the chamber target's format.
#include "graphics/GraphicsErrors.h"
#include "graphics/TextureLoader.h"
#include "gui/SkinImage.h"
#include "support/ReferenceLibrary.h"
#include "support/TestDevice.h"
#include "support/TextureLevels.h"

#include <d3dx9tex.h> // declarations and constants only: the library is loaded at run time

#include <doctest/doctest.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstring>
#include <string>

using Microsoft::WRL::ComPtr;

// The graphics layer's result codes have the values programs have always seen for these failures.
static_assert(GraphicsError::CannotModifyIndexBuffer == D3DXERR_CANNOTMODIFYINDEXBUFFER);
static_assert(GraphicsError::InvalidMesh == D3DXERR_INVALIDMESH);
static_assert(GraphicsError::CannotAttributeSort == D3DXERR_CANNOTATTRSORT);
static_assert(GraphicsError::SkinningNotSupported == D3DXERR_SKINNINGNOTSUPPORTED);
static_assert(GraphicsError::TooManyInfluences == D3DXERR_TOOMANYINFLUENCES);
static_assert(GraphicsError::InvalidData == D3DXERR_INVALIDDATA);
static_assert(GraphicsError::LoadedMeshHasNoData == D3DXERR_LOADEDMESHASNODATA);
static_assert(GraphicsError::DuplicateNamedFragment == D3DXERR_DUPLICATENAMEDFRAGMENT);
static_assert(GraphicsError::CannotRemoveLastItem == D3DXERR_CANNOTREMOVELASTITEM);

namespace {

// What a mip level of the reference is made from, judged against the level above it.
struct LevelKind {
    bool boxFilter = true;   // every texel within 1 of the mean of its 2 x 2 block
    bool pointSample = true; // every texel equal to the top-left texel of its block
};

LevelKind Classify(const TextureLevel& above, const TextureLevel& level) {
    LevelKind kind;
    for (UINT y = 0; y < level.height; ++y) {
        for (UINT x = 0; x < level.width; ++x) {
            const std::uint32_t quad[4] = {above.At(2 * x, 2 * y), above.At(2 * x + 1, 2 * y),
                                           above.At(2 * x, 2 * y + 1), above.At(2 * x + 1, 2 * y + 1)};
            int sum[3] = {};
            for (const std::uint32_t word : quad) {
                const Rgb565 c = Split565(word);
                sum[0] += c.r;
                sum[1] += c.g;
                sum[2] += c.b;
            }
            const std::uint32_t mean =
                static_cast<std::uint32_t>((sum[0] + 2) / 4 << 11 | (sum[1] + 2) / 4 << 5 | (sum[2] + 2) / 4);
            kind.boxFilter = kind.boxFilter && Distance565(level.At(x, y), mean) <= 1;
            kind.pointSample = kind.pointSample && level.At(x, y) == quad[0];
        }
    }
    return kind;
}

struct Comparison {
    int differing = 0; // texels that differ by more than `tolerance` in any channel
    int worst = 0;
};

Comparison Compare(const TextureLevel& ours, const TextureLevel& theirs) {
    Comparison result;
    for (std::size_t i = 0; i < ours.words.size(); ++i) {
        const int d = Distance565(ours.words[i], theirs.words[i]);
        result.worst = std::max(result.worst, d);
        result.differing += d > 1;
    }
    return result;
}

} // namespace

TEST_SUITE("reference") {

TEST_CASE("Atlas textures: level 0 bit for bit as the reference makes it, box-filtered levels within 1") {
    const ReferenceLibrary library;
    const auto create =
        library.Get<decltype(&D3DXCreateTextureFromResourceExW)>("D3DXCreateTextureFromResourceExW");
    if (create == nullptr) {
        MESSAGE("the reference library is not present: skipped");
        return;
    }
    TestDevice device(64, 64);
    REQUIRE(device.Ok());
    for (int id = 202; id <= 207; ++id) {
        CAPTURE(id);
        ComPtr<IDirect3DTexture9> ours, theirs;
        REQUIRE(CreateAtlasTexture(device.Device(), GetModuleHandleW(nullptr), id, &ours) == S_OK);
        REQUIRE(create(device.Device(), GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), 0, 0, 0, 0,
                       D3DFMT_R5G6B5, D3DPOOL_MANAGED, D3DX_FILTER_NONE,
                       D3DX_FILTER_BOX | D3DX_FILTER_MIRROR, 0, nullptr, nullptr, &theirs) == S_OK);
        REQUIRE(ours->GetLevelCount() == theirs->GetLevelCount());
        TextureLevel theirsAbove;
        for (UINT level = 0; level < ours->GetLevelCount(); ++level) {
            CAPTURE(level);
            const TextureLevel a = ReadLevel(ours.Get(), level);
            const TextureLevel b = ReadLevel(theirs.Get(), level);
            REQUIRE(a.format == b.format);
            REQUIRE((a.width == b.width && a.height == b.height));
            if (level == 0) {
                CHECK(a.words == b.words);
            } else {
                const bool evenAbove = theirsAbove.width % 2 == 0 && theirsAbove.height % 2 == 0;
                const LevelKind kind = evenAbove ? Classify(theirsAbove, b) : LevelKind{false, false};
                const Comparison c = Compare(a, b);
                if (kind.boxFilter) {
                    CHECK(c.differing == 0);
                } else if (id == 202) {
                    const std::string made = !evenAbove ? "made from a level of odd size, not classified"
                                             : kind.pointSample ? "point-sampled from the level above it"
                                                                : "neither point-sampled nor box-filtered";
                    MESSAGE("level " << level << " of the reference is " << made << ": not compared (largest "
                                     << "difference " << c.worst << ", " << c.differing << " of "
                                     << a.words.size() << " texels more than 1 apart)");
                }
            }
            theirsAbove = b;
        }
    }
}

TEST_CASE("Skin texture: the same format, size and texels as the reference's") {
    const ReferenceLibrary library;
    const auto create = library.Get<decltype(&D3DXCreateTextureFromFileInMemoryEx)>(
        "D3DXCreateTextureFromFileInMemoryEx");
    if (create == nullptr) {
        MESSAGE("the reference library is not present: skipped");
        return;
    }
    TestDevice device(64, 64);
    REQUIRE(device.Ok());
    ComPtr<IDirect3DTexture9> ours, theirs;
    D3DXIMAGE_INFO info{};
    REQUIRE(CreateTextureFromFileBytes(device.Device(), {SkinImage, kSkinImageSize}, &ours) == S_OK);
    REQUIRE(create(device.Device(), SkinImage, kSkinImageSize, D3DX_DEFAULT, D3DX_DEFAULT, 1, 0,
                   D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, &info, nullptr,
                   &theirs) == S_OK);
    CHECK(ours->GetLevelCount() == theirs->GetLevelCount());
    const TextureLevel a = ReadLevel(ours.Get(), 0);
    const TextureLevel b = ReadLevel(theirs.Get(), 0);
    CHECK(a.format == b.format);
    CHECK((a.width == b.width && a.height == b.height));
    CHECK(a.words == b.words);
}

TEST_CASE("Chamber target: the same format as the reference gives an R8G8B8 render-target request") {
    const ReferenceLibrary library;
    const auto create = library.Get<decltype(&D3DXCreateTexture)>("D3DXCreateTexture");
    if (create == nullptr) {
        MESSAGE("the reference library is not present: skipped");
        return;
    }
    TestDevice device(64, 64);
    REQUIRE(device.Ok());
    ComPtr<IDirect3DTexture9> ours, theirs;
    REQUIRE(CreateRenderTargetTexture(device.Device(), 192, 192, D3DFMT_R8G8B8, &ours) == S_OK);
    REQUIRE(create(device.Device(), 192, 192, 1, D3DUSAGE_RENDERTARGET, D3DFMT_R8G8B8, D3DPOOL_DEFAULT,
                   &theirs) == S_OK);
    D3DSURFACE_DESC a{}, b{};
    REQUIRE(ours->GetLevelDesc(0, &a) == S_OK);
    REQUIRE(theirs->GetLevelDesc(0, &b) == S_OK);
    CHECK(a.Format == b.Format);
    CHECK((a.Width == b.Width && a.Height == b.Height && a.Usage == b.Usage && a.Pool == b.Pool));
}
}
