// PNG decoding: non-interlaced images of 8 bits per channel, grey, grey with alpha, RGB or RGBA.
#pragma once

#include "graphics/RgbaImage.h"

#include <windows.h>

#include <cstdint>
#include <span>

// Decodes a whole PNG file into `image`. Anything else (no signature, a damaged chunk, a palette,
// 16-bit or interlaced image, a size beyond the limits or one the compressed data does not fill)
// gives GraphicsError::InvalidData and leaves `image` empty.
HRESULT DecodePng(std::span<const std::uint8_t> file, RgbaImage& image);
