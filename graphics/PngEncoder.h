// PNG encoding of 8-bit pictures, for screenshots, captured frames and generated artwork.
#pragma once

#include "graphics/RgbaImage.h"

#include <d3d9.h>

#include <cstdint>
#include <string>
#include <vector>

// The PNG file of `image`: RGB (colour type 2) or, with `withAlpha`, RGBA (6); rows unfiltered,
// compressed at zlib's best level. Empty when the image is empty or compression fails.
std::vector<std::uint8_t> EncodePng(const RgbaImage& image, bool withAlpha);

// The picture held by 32-bit colour words (0xAARRGGBB, as Direct3D reads back an X8R8G8B8 or
// A8R8G8B8 surface), width by height, top row first.
RgbaImage ImageFromColours(const std::vector<D3DCOLOR>& colours, std::uint32_t width, std::uint32_t height);

// Writes bytes to a file; false when it cannot.
bool WriteFileBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes);
