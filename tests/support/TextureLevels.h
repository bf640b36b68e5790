// Reading a texture's levels back as plain pixel words, for comparing textures.
#pragma once

#include <d3d9.h>

#include <cstdint>
#include <vector>

struct TextureLevel {
    UINT width = 0;
    UINT height = 0;
    D3DFORMAT format = D3DFMT_UNKNOWN;
    std::vector<std::uint32_t> words; // one per pixel: 16- or 32-bit formats

    std::uint32_t At(UINT x, UINT y) const { return words[std::size_t{y} * width + x]; }
};

// Level `level` of a lockable (managed or system-memory) texture; empty when it cannot be read.
TextureLevel ReadLevel(IDirect3DTexture9* texture, UINT level);

// Red, green and blue of an R5G6B5 word in their own units (0..31, 0..63, 0..31).
struct Rgb565 {
    int r, g, b;
};
Rgb565 Split565(std::uint32_t word);
// The largest difference of one channel between two R5G6B5 words, in that channel's units.
int Distance565(std::uint32_t a, std::uint32_t b);
