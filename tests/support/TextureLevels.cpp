// Texture levels read back through LockRect.
#include "support/TextureLevels.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

TextureLevel ReadLevel(IDirect3DTexture9* texture, UINT level) {
    TextureLevel result;
    D3DSURFACE_DESC desc{};
    if (texture == nullptr || FAILED(texture->GetLevelDesc(level, &desc))) {
        return result;
    }
    const UINT bytes = desc.Format == D3DFMT_R5G6B5 ? 2 : 4;
    D3DLOCKED_RECT locked{};
    if (FAILED(texture->LockRect(level, &locked, nullptr, D3DLOCK_READONLY))) {
        return result;
    }
    result.width = desc.Width;
    result.height = desc.Height;
    result.format = desc.Format;
    result.words.resize(std::size_t{desc.Width} * desc.Height);
    for (UINT y = 0; y < desc.Height; ++y) {
        const BYTE* row = static_cast<const BYTE*>(locked.pBits) + std::size_t{y} * locked.Pitch;
        for (UINT x = 0; x < desc.Width; ++x) {
            std::uint32_t word = 0;
            std::memcpy(&word, row + std::size_t{x} * bytes, bytes);
            result.words[std::size_t{y} * desc.Width + x] = word;
        }
    }
    texture->UnlockRect(level);
    return result;
}

Rgb565 Split565(std::uint32_t word) {
    return {static_cast<int>(word >> 11 & 31), static_cast<int>(word >> 5 & 63), static_cast<int>(word & 31)};
}

int Distance565(std::uint32_t a, std::uint32_t b) {
    const Rgb565 p = Split565(a), q = Split565(b);
    return std::max({std::abs(p.r - q.r), std::abs(p.g - q.g), std::abs(p.b - q.b)});
}
