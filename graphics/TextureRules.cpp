// Texture sizes, format fallbacks, box-filtered mip levels and pixel packing.
#include "graphics/TextureRules.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace {

// For each format a texture may be asked for, the formats tried in turn: the same channels with
// at least as many bits, then more channels.
struct Fallback {
    D3DFORMAT requested;
    std::array<D3DFORMAT, 3> candidates;
};

constexpr Fallback Fallbacks[] = {
    {D3DFMT_R8G8B8, {D3DFMT_R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8}},
    {D3DFMT_X8R8G8B8, {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, D3DFMT_UNKNOWN}},
    {D3DFMT_X8B8G8R8, {D3DFMT_X8B8G8R8, D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8}},
    {D3DFMT_A8B8G8R8, {D3DFMT_A8B8G8R8, D3DFMT_A8R8G8B8, D3DFMT_UNKNOWN}},
    {D3DFMT_R5G6B5, {D3DFMT_R5G6B5, D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8}},
};

// Source pixels and their weights for each destination pixel of a box filter along one axis.
struct Tap {
    UINT index;
    float weight;
};

std::vector<std::vector<Tap>> BoxTaps(UINT sourceSize, UINT destinationSize) {
    std::vector<std::vector<Tap>> taps(destinationSize);
    const double scale = static_cast<double>(sourceSize) / destinationSize;
    for (UINT d = 0; d < destinationSize; ++d) {
        const double begin = d * scale;
        const double end = (d + 1) * scale;
        for (UINT s = static_cast<UINT>(begin); s < sourceSize && s < end; ++s) {
            const double covered = std::min<double>(end, s + 1) - std::max<double>(begin, s);
            if (covered > 0) {
                taps[d].push_back({s, static_cast<float>(covered / scale)});
            }
        }
    }
    return taps;
}

// A channel of 0..255 to `bits` bits: rounded to a whole byte, whose top bits are kept (as the
// platform's own loaders convert 8-bit pictures to 16-bit textures).
unsigned Quantise(float value, int bits) {
    const auto byte = static_cast<unsigned>(std::clamp(value, 0.0f, 255.0f) + 0.5f);
    return byte >> (8 - bits);
}

} // namespace

TextureSize ChooseTextureSize(UINT width, UINT height, bool mipmapped, const D3DCAPS9& caps) {
    const bool powerOfTwo = (caps.TextureCaps & D3DPTEXTURECAPS_POW2) != 0;
    const bool conditional = (caps.TextureCaps & D3DPTEXTURECAPS_NONPOW2CONDITIONAL) != 0;
    TextureSize size{width, height};
    if (powerOfTwo && (mipmapped || !conditional)) {
        size = {std::bit_ceil(width), std::bit_ceil(height)};
    }
    if ((caps.TextureCaps & D3DPTEXTURECAPS_SQUAREONLY) != 0) {
        size.width = size.height = std::max(size.width, size.height);
    }
    if (size.width == 0 || size.height == 0 || size.width > caps.MaxTextureWidth ||
        size.height > caps.MaxTextureHeight) {
        return {};
    }
    return size;
}

UINT FullMipCount(UINT width, UINT height) {
    return static_cast<UINT>(std::bit_width(std::max({width, height, 1u})));
}

D3DFORMAT ChooseTextureFormat(D3DFORMAT requested, const std::function<bool(D3DFORMAT)>& supported) {
    for (const Fallback& fallback : Fallbacks) {
        if (fallback.requested != requested) {
            continue;
        }
        for (const D3DFORMAT candidate : fallback.candidates) {
            if (candidate != D3DFMT_UNKNOWN && supported(candidate)) {
                return candidate;
            }
        }
        return D3DFMT_UNKNOWN;
    }
    return supported(requested) ? requested : D3DFMT_UNKNOWN;
}

UINT BytesPerPixel(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_R5G6B5:
        return 2;
    case D3DFMT_X8R8G8B8:
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8B8G8R8:
    case D3DFMT_A8B8G8R8:
        return 4;
    default:
        return 0;
    }
}

FloatImage PlaceOnCanvas(const RgbaImage& image, TextureSize canvas) {
    FloatImage result{canvas.width, canvas.height,
                      std::vector<float>(std::size_t{canvas.width} * canvas.height * 4)};
    const UINT width = std::min(image.width, canvas.width);
    const UINT height = std::min(image.height, canvas.height);
    for (UINT y = 0; y < height; ++y) {
        const std::uint8_t* source = image.At(0, y);
        float* destination = &result.channels[std::size_t{y} * canvas.width * 4];
        std::copy(source, source + std::size_t{width} * 4, destination);
    }
    return result;
}

FloatImage HalveByBoxFilter(const FloatImage& source) {
    const UINT width = std::max(source.width / 2, 1u);
    const UINT height = std::max(source.height / 2, 1u);
    const auto across = BoxTaps(source.width, width);
    const auto down = BoxTaps(source.height, height);
    // Rows first, then columns: the filter is separable.
    std::vector<float> rows(std::size_t{width} * source.height * 4, 0.0f);
    for (UINT y = 0; y < source.height; ++y) {
        for (UINT x = 0; x < width; ++x) {
            float* out = &rows[(std::size_t{y} * width + x) * 4];
            for (const Tap& tap : across[x]) {
                const float* in = &source.channels[(std::size_t{y} * source.width + tap.index) * 4];
                for (int c = 0; c < 4; ++c) {
                    out[c] += in[c] * tap.weight;
                }
            }
        }
    }
    FloatImage result{width, height, std::vector<float>(std::size_t{width} * height * 4, 0.0f)};
    for (UINT y = 0; y < height; ++y) {
        for (const Tap& tap : down[y]) {
            const float* in = &rows[std::size_t{tap.index} * width * 4];
            float* out = &result.channels[std::size_t{y} * width * 4];
            for (std::size_t i = 0; i < std::size_t{width} * 4; ++i) {
                out[i] += in[i] * tap.weight;
            }
        }
    }
    return result;
}

void PackRow(const float* rgba, UINT count, D3DFORMAT format, void* destination) {
    auto* bytes = static_cast<std::uint8_t*>(destination);
    for (UINT i = 0; i < count; ++i, rgba += 4) {
        if (format == D3DFMT_R5G6B5) {
            const auto word = static_cast<std::uint16_t>(Quantise(rgba[0], 5) << 11 |
                                                         Quantise(rgba[1], 6) << 5 | Quantise(rgba[2], 5));
            std::memcpy(bytes + std::size_t{i} * 2, &word, 2);
            continue;
        }
        const bool redFirst = format == D3DFMT_A8B8G8R8 || format == D3DFMT_X8B8G8R8;
        const bool opaque = format == D3DFMT_X8R8G8B8 || format == D3DFMT_X8B8G8R8;
        std::uint8_t* p = bytes + std::size_t{i} * 4;
        p[0] = static_cast<std::uint8_t>(Quantise(rgba[redFirst ? 0 : 2], 8));
        p[1] = static_cast<std::uint8_t>(Quantise(rgba[1], 8));
        p[2] = static_cast<std::uint8_t>(Quantise(rgba[redFirst ? 2 : 0], 8));
        p[3] = opaque ? 255 : static_cast<std::uint8_t>(Quantise(rgba[3], 8));
    }
}
