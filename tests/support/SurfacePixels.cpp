// Pixels read back from render targets for the picture tests.
#include "support/SurfacePixels.h"

#include <wrl/client.h>

#include <cstring>

using Microsoft::WRL::ComPtr;

int SurfacePixels::Sum(UINT x, UINT y) const {
    const std::uint32_t c = At(x, y);
    return static_cast<int>((c >> 16 & 0xFF) + (c >> 8 & 0xFF) + (c & 0xFF));
}

SurfacePixels ReadRenderTarget(IDirect3DDevice9* device, IDirect3DSurface9* target) {
    SurfacePixels result;
    D3DSURFACE_DESC desc{};
    if (target == nullptr || FAILED(target->GetDesc(&desc))) {
        return result;
    }
    ComPtr<IDirect3DSurface9> copy;
    if (FAILED(device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format, D3DPOOL_SYSTEMMEM,
                                                   &copy, nullptr)) ||
        FAILED(device->GetRenderTargetData(target, copy.Get()))) {
        return result;
    }
    D3DLOCKED_RECT locked{};
    if (FAILED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
        return result;
    }
    result.width = desc.Width;
    result.height = desc.Height;
    result.pixels.resize(std::size_t{desc.Width} * desc.Height);
    for (UINT y = 0; y < desc.Height; ++y) {
        std::memcpy(&result.pixels[std::size_t{y} * desc.Width],
                    static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch,
                    desc.Width * sizeof(std::uint32_t));
    }
    copy->UnlockRect();
    return result;
}

SurfacePixels ReadBackBuffer(IDirect3DDevice9* device) {
    ComPtr<IDirect3DSurface9> backBuffer;
    if (FAILED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer))) {
        return {};
    }
    return ReadRenderTarget(device, backBuffer.Get());
}

SurfacePixels ReadTexture(IDirect3DDevice9* device, IDirect3DTexture9* texture) {
    ComPtr<IDirect3DSurface9> level;
    if (texture == nullptr || FAILED(texture->GetSurfaceLevel(0, &level))) {
        return {};
    }
    return ReadRenderTarget(device, level.Get());
}
