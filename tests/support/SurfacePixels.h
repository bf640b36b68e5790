// Reading rendered pixels back from the device: render targets into plain 32-bit colour words.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <cstdint>
#include <vector>

struct SurfacePixels {
    UINT width = 0;
    UINT height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t At(UINT x, UINT y) const { return pixels[std::size_t{y} * width + x]; }
    // Brightness of a pixel: the sum of red, green and blue, 0..765.
    int Sum(UINT x, UINT y) const;
};

// The content of a render-target surface (X8R8G8B8 or A8R8G8B8); empty when it cannot be read.
SurfacePixels ReadRenderTarget(IDirect3DDevice9* device, IDirect3DSurface9* target);
// The device's back buffer 0.
SurfacePixels ReadBackBuffer(IDirect3DDevice9* device);
// Level 0 of a render-target texture.
SurfacePixels ReadTexture(IDirect3DDevice9* device, IDirect3DTexture9* texture);
