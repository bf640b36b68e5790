// Reading uncompressed 32-bit DDS images (the skin's kind of file).
#pragma once

#include "graphics/RgbaImage.h"

#include <windows.h>
#include <d3d9types.h>

#include <cstdint>
#include <span>

// Decodes the top level of a two-dimensional DDS file of 32-bit pixels whose masks put red, green,
// blue (and alpha) in whole bytes. `format` receives the Direct3D format the pixels are stored in
// (D3DFMT_A8B8G8R8 for bytes red, green, blue, alpha; D3DFMT_A8R8G8B8 for blue, green, red, alpha;
// the X forms without alpha). Anything else, or a file shorter than its header says, gives
// GraphicsError::InvalidData and leaves `image` empty.
HRESULT DecodeDds(std::span<const std::uint8_t> file, RgbaImage& image, D3DFORMAT& format);

// True when the bytes begin like a DDS file.
bool LooksLikeDds(std::span<const std::uint8_t> file);
