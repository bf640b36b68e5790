// Textures made from pictures and empty render targets, on a Direct3D 9 device.
#pragma once

#include "graphics/RgbaImage.h"
#include "graphics/TextureRules.h"

#include <windows.h>
#include <d3d9.h>

#include <cstdint>
#include <functional>
#include <span>

// What a device offers for textures: its caps and a check of each format for a given usage. Read
// from the device normally; tests give other answers to see how a texture is made elsewhere.
struct TextureDeviceTraits {
    D3DCAPS9 caps{};
    std::function<bool(D3DFORMAT format, DWORD usage)> supports;

    static TextureDeviceTraits Of(IDirect3DDevice9* device);
};

// A managed texture holding `image`, in `format` or its nearest supported fallback, with `levels`
// levels (0: a full chain) made by a box filter. Where the device wants another size the picture
// sits unscaled in the top-left corner of a black texture.
HRESULT CreateTextureFromImage(IDirect3DDevice9* device, const RgbaImage& image, D3DFORMAT format,
                               UINT levels, const TextureDeviceTraits& traits, IDirect3DTexture9** texture);

// A piece atlas: the PNG in RCDATA resource `id` of `module`, as an R5G6B5 texture with a full
// box-filtered mip chain.
HRESULT CreateAtlasTexture(IDirect3DDevice9* device, HMODULE module, UINT id, IDirect3DTexture9** texture);

// A one-level managed texture from a whole DDS or PNG file in memory, in the format the file stores
// (DDS) or A8R8G8B8 (PNG).
HRESULT CreateTextureFromFileBytes(IDirect3DDevice9* device, std::span<const std::uint8_t> file,
                                   IDirect3DTexture9** texture);
// The same from a resource of `module` (RCDATA) named `name`, which may be an integer id.
HRESULT CreateTextureFromResource(IDirect3DDevice9* device, HMODULE module, const wchar_t* name,
                                  IDirect3DTexture9** texture);

// A one-level render-target texture of exactly width by height in the default pool, in `format` or
// the nearest format the device can render to. It is never enlarged: its users tell a stale target
// by its width and address it in its own pixels.
HRESULT CreateRenderTargetTexture(IDirect3DDevice9* device, UINT width, UINT height, D3DFORMAT format,
                                  IDirect3DTexture9** texture);
