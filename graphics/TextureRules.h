// How a picture becomes a texture, without a device: the texture's size under the device's
// limits, the format it gets when the requested one is missing, and the pixels of a mip chain.
#pragma once

#include "graphics/RgbaImage.h"

#include <d3d9.h>

#include <cstdint>
#include <functional>
#include <vector>

struct TextureSize {
    UINT width = 0;
    UINT height = 0;
    bool operator==(const TextureSize&) const = default;
};

// The size of a texture for a picture of width by height. Where the caps demand powers of two
// (always, or for mipmapped textures when they allow other sizes conditionally) each side grows to
// the next power of two, and to a square where they demand squares; the picture then sits unscaled
// in the top-left corner. Zero by zero when the result exceeds the device's largest texture.
TextureSize ChooseTextureSize(UINT width, UINT height, bool mipmapped, const D3DCAPS9& caps);

// The number of levels of a full mip chain, down to 1 by 1.
UINT FullMipCount(UINT width, UINT height);

// The format a texture gets: `requested` where `supported` accepts it, else the nearest one that it
// accepts with at least the same channels (R8G8B8 becomes X8R8G8B8, then A8R8G8B8); D3DFMT_UNKNOWN
// when none is.
D3DFORMAT ChooseTextureFormat(D3DFORMAT requested, const std::function<bool(D3DFORMAT)>& supported);

// Bytes per pixel of the formats textures are filled in; 0 for any other format.
UINT BytesPerPixel(D3DFORMAT format);

// One level of a texture's pixels: red, green, blue, alpha as floats 0..255, top row first.
struct FloatImage {
    UINT width = 0;
    UINT height = 0;
    std::vector<float> channels;
};

// The picture in the top-left corner of a black, transparent canvas of the given size.
FloatImage PlaceOnCanvas(const RgbaImage& image, TextureSize canvas);

// The next smaller mip level (each side halved, rounded down, at least 1) by a box filter: every
// pixel is the average of the source area it covers, partly covered pixels weighted by their share.
// Only source pixels are used, so nothing is mirrored or wrapped at the edges.
FloatImage HalveByBoxFilter(const FloatImage& source);

// Writes one row of pixels in `format` (one of those BytesPerPixel knows). Each channel is rounded
// to a whole byte; a narrower channel keeps the byte's top bits, which is how the platform's own
// image loader turns 8-bit pictures into R5G6B5 texels (compared texel for texel under Wine).
void PackRow(const float* rgba, UINT count, D3DFORMAT format, void* destination);
