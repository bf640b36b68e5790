// Filling textures level by level from decoded pictures; render targets with a format fallback.
#include "graphics/TextureLoader.h"

#include "graphics/DdsDecoder.h"
#include "graphics/PngDecoder.h"

#include <wrl/client.h>

#include <algorithm>

using Microsoft::WRL::ComPtr;

namespace {

// A locked texture level, unlocked when it goes out of scope.
class ScopedLevelLock {
public:
    ScopedLevelLock(IDirect3DTexture9* texture, UINT level) : texture_(texture), level_(level) {
        result_ = texture->LockRect(level, &locked_, nullptr, 0);
    }
    ScopedLevelLock(const ScopedLevelLock&) = delete;
    ScopedLevelLock& operator=(const ScopedLevelLock&) = delete;
    ~ScopedLevelLock() {
        if (SUCCEEDED(result_)) {
            texture_->UnlockRect(level_);
        }
    }
    HRESULT Result() const { return result_; }
    BYTE* Row(UINT y) const {
        return static_cast<BYTE*>(locked_.pBits) + static_cast<std::size_t>(y) * locked_.Pitch;
    }

private:
    IDirect3DTexture9* texture_;
    UINT level_;
    D3DLOCKED_RECT locked_{};
    HRESULT result_;
};

HRESULT FillLevel(IDirect3DTexture9* texture, UINT level, const FloatImage& pixels, D3DFORMAT format) {
    const ScopedLevelLock lock(texture, level);
    if (FAILED(lock.Result())) {
        return lock.Result();
    }
    for (UINT y = 0; y < pixels.height; ++y) {
        PackRow(&pixels.channels[std::size_t{y} * pixels.width * 4], pixels.width, format, lock.Row(y));
    }
    return S_OK;
}

std::span<const std::uint8_t> ResourceBytes(HMODULE module, const wchar_t* name) {
    HRSRC resource = FindResourceW(module, name, RT_RCDATA);
    HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
        return {};
    }
    return {static_cast<const std::uint8_t*>(bytes), SizeofResource(module, resource)};
}

constexpr HRESULT NoResource = HRESULT_FROM_WIN32(ERROR_RESOURCE_DATA_NOT_FOUND);

} // namespace

TextureDeviceTraits TextureDeviceTraits::Of(IDirect3DDevice9* device) {
    TextureDeviceTraits traits;
    ComPtr<IDirect3D9> d3d;
    D3DDEVICE_CREATION_PARAMETERS creation{};
    D3DDISPLAYMODE mode{};
    if (FAILED(device->GetDeviceCaps(&traits.caps)) || FAILED(device->GetDirect3D(&d3d)) ||
        FAILED(device->GetCreationParameters(&creation)) ||
        FAILED(d3d->GetAdapterDisplayMode(creation.AdapterOrdinal, &mode))) {
        traits.supports = [](D3DFORMAT, DWORD) { return false; };
        return traits;
    }
    traits.supports = [d3d, creation, mode](D3DFORMAT format, DWORD usage) {
        return SUCCEEDED(d3d->CheckDeviceFormat(creation.AdapterOrdinal, creation.DeviceType, mode.Format,
                                                usage, D3DRTYPE_TEXTURE, format));
    };
    return traits;
}

HRESULT CreateTextureFromImage(IDirect3DDevice9* device, const RgbaImage& image, D3DFORMAT format,
                               UINT levels, const TextureDeviceTraits& traits, IDirect3DTexture9** texture) {
    if (device == nullptr || texture == nullptr ||
        image.pixels.size() != std::size_t{image.width} * image.height * 4) {
        return D3DERR_INVALIDCALL;
    }
    *texture = nullptr;
    const D3DFORMAT chosen = ChooseTextureFormat(format, [&](D3DFORMAT candidate) {
        return BytesPerPixel(candidate) != 0 && traits.supports(candidate, 0);
    });
    const TextureSize size = ChooseTextureSize(image.width, image.height, levels != 1, traits.caps);
    if (chosen == D3DFMT_UNKNOWN || size.width == 0) {
        return D3DERR_NOTAVAILABLE;
    }
    const UINT fullChain = FullMipCount(size.width, size.height);
    const UINT count = levels == 0 ? fullChain : std::min(levels, fullChain);
    ComPtr<IDirect3DTexture9> made;
    HRESULT hr =
        device->CreateTexture(size.width, size.height, count, 0, chosen, D3DPOOL_MANAGED, &made, nullptr);
    if (FAILED(hr)) {
        return hr;
    }
    // Each level is filtered from the one above it at full precision, and only then packed.
    FloatImage level = PlaceOnCanvas(image, size);
    for (UINT i = 0; i < count; ++i) {
        if (i > 0) {
            level = HalveByBoxFilter(level);
        }
        hr = FillLevel(made.Get(), i, level, chosen);
        if (FAILED(hr)) {
            return hr;
        }
    }
    *texture = made.Detach();
    return S_OK;
}

HRESULT CreateAtlasTexture(IDirect3DDevice9* device, HMODULE module, UINT id, IDirect3DTexture9** texture) {
    if (device == nullptr || texture == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *texture = nullptr;
    const std::span<const std::uint8_t> bytes = ResourceBytes(module, MAKEINTRESOURCEW(id));
    if (bytes.empty()) {
        return NoResource;
    }
    RgbaImage image;
    const HRESULT hr = DecodePng(bytes, image);
    if (FAILED(hr)) {
        return hr;
    }
    return CreateTextureFromImage(device, image, D3DFMT_R5G6B5, 0, TextureDeviceTraits::Of(device), texture);
}

HRESULT CreateTextureFromFileBytes(IDirect3DDevice9* device, std::span<const std::uint8_t> file,
                                   IDirect3DTexture9** texture) {
    if (device == nullptr || texture == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *texture = nullptr;
    RgbaImage image;
    D3DFORMAT format = D3DFMT_A8R8G8B8;
    const HRESULT hr = LooksLikeDds(file) ? DecodeDds(file, image, format) : DecodePng(file, image);
    if (FAILED(hr)) {
        return hr;
    }
    return CreateTextureFromImage(device, image, format, 1, TextureDeviceTraits::Of(device), texture);
}

HRESULT CreateTextureFromResource(IDirect3DDevice9* device, HMODULE module, const wchar_t* name,
                                  IDirect3DTexture9** texture) {
    if (texture != nullptr) {
        *texture = nullptr;
    }
    const std::span<const std::uint8_t> bytes = ResourceBytes(module, name);
    if (bytes.empty()) {
        return NoResource;
    }
    return CreateTextureFromFileBytes(device, bytes, texture);
}

HRESULT CreateRenderTargetTexture(IDirect3DDevice9* device, UINT width, UINT height, D3DFORMAT format,
                                  IDirect3DTexture9** texture) {
    if (device == nullptr || texture == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *texture = nullptr;
    const TextureDeviceTraits traits = TextureDeviceTraits::Of(device);
    const D3DFORMAT chosen = ChooseTextureFormat(
        format, [&](D3DFORMAT candidate) { return traits.supports(candidate, D3DUSAGE_RENDERTARGET); });
    if (chosen == D3DFMT_UNKNOWN) {
        return D3DERR_NOTAVAILABLE;
    }
    return device->CreateTexture(width, height, 1, D3DUSAGE_RENDERTARGET, chosen, D3DPOOL_DEFAULT, texture,
                                 nullptr);
}
