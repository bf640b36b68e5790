// Sprites queued between Begin and End and drawn as triangle lists from one dynamic vertex buffer.
#include "graphics/SpriteBatch.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr DWORD SpriteVertexFormat = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;
constexpr UINT VerticesPerSprite = 6;
// Room for the dialog's frame (a few hundred glyphs and images) in one go; longer runs go in pieces.
constexpr UINT BufferSprites = 1024;
constexpr UINT BufferVertices = BufferSprites * VerticesPerSprite;

} // namespace

SpriteBatch::SpriteBatch(IDirect3DDevice9* newDevice) : device(newDevice) {
    if (!device) {
        status = E_INVALIDARG;
        return;
    }
    // Anisotropic filtering where the device has it: a turned or stretched sprite stays sharp.
    D3DCAPS9 caps = {};
    if (SUCCEEDED(device->GetDeviceCaps(&caps))) {
        if ((caps.TextureFilterCaps & D3DPTFILTERCAPS_MINFANISOTROPIC) && caps.MaxAnisotropy > 1) {
            minFilter = D3DTEXF_ANISOTROPIC;
            maxAnisotropy = caps.MaxAnisotropy;
        }
        if (caps.TextureFilterCaps & D3DPTFILTERCAPS_MAGFANISOTROPIC) {
            magFilter = D3DTEXF_ANISOTROPIC;
        }
    }
    status = MakeDeviceObjects();
}

SpriteBatch::~SpriteBatch() {
    OnLostDevice();
}

HRESULT SpriteBatch::MakeDeviceObjects() {
    bufferNext = 0;
    HRESULT hr = device->CreateVertexBuffer(BufferVertices * sizeof(SpriteVertex),
                                            D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, SpriteVertexFormat,
                                            D3DPOOL_DEFAULT, buffer.ReleaseAndGetAddressOf(), nullptr);
    if (FAILED(hr)) {
        return hr;
    }
    // A block recorded from the very calls that drawing makes holds exactly the states to give back.
    hr = device->BeginStateBlock();
    if (SUCCEEDED(hr)) {
        SetStates();
        device->SetTexture(0, nullptr);
        hr = device->EndStateBlock(savedStates.ReleaseAndGetAddressOf());
    }
    if (FAILED(hr)) {
        buffer.Reset();
    }
    return hr;
}

void SpriteBatch::OnLostDevice() {
    open = false;
    vertices.clear();
    runs.clear();
    savedStates.Reset();
    buffer.Reset();
}

HRESULT SpriteBatch::OnResetDevice() {
    if (!buffer) {
        status = device ? MakeDeviceObjects() : E_INVALIDARG;
    }
    return status;
}

HRESULT SpriteBatch::Begin(SpriteBlend newBlend, SpriteStateSaving newSaving) {
    if (open) {
        return D3DERR_INVALIDCALL;
    }
    if (!buffer || !savedStates) {
        return FAILED(status) ? status : D3DERR_INVALIDCALL;
    }
    blend = newBlend;
    saving = newSaving;
    if (saving == SpriteStateSaving::Save) {
        const HRESULT hr = savedStates->Capture();
        if (FAILED(hr)) {
            return hr;
        }
    }
    vertices.clear();
    runs.clear();
    lastTexture = nullptr;
    open = true;
    return S_OK;
}

HRESULT SpriteBatch::Draw(IDirect3DTexture9* texture, const RECT* source, const Matrix2D& transform,
                          D3DCOLOR color) {
    if (!open || !texture) {
        return D3DERR_INVALIDCALL;
    }
    if (texture != lastTexture) {
        D3DSURFACE_DESC desc = {};
        const HRESULT hr = texture->GetLevelDesc(0, &desc);
        if (FAILED(hr)) {
            return hr;
        }
        lastTexture = texture;
        lastWidth = static_cast<float>(desc.Width);
        lastHeight = static_cast<float>(desc.Height);
    }
    const RECT whole = {0, 0, static_cast<LONG>(lastWidth), static_cast<LONG>(lastHeight)};
    const RECT& rect = source ? *source : whole;
    if (rect.right <= rect.left || rect.bottom <= rect.top) {
        return S_OK;
    }
    const float width = static_cast<float>(rect.right - rect.left);
    const float height = static_cast<float>(rect.bottom - rect.top);
    const float u0 = rect.left / lastWidth;
    const float v0 = rect.top / lastHeight;
    const float u1 = rect.right / lastWidth;
    const float v1 = rect.bottom / lastHeight;
    // Pixel centres lie on whole coordinates: the half-pixel shift puts texel centres on them.
    auto corner = [&](float x, float y, float u, float v) {
        const Vector2 p = transform.Apply({x, y});
        return SpriteVertex{p.x - 0.5f, p.y - 0.5f, 0.0f, 1.0f, color, u, v};
    };
    const SpriteVertex topLeft = corner(0.0f, 0.0f, u0, v0);
    const SpriteVertex topRight = corner(width, 0.0f, u1, v0);
    const SpriteVertex bottomRight = corner(width, height, u1, v1);
    const SpriteVertex bottomLeft = corner(0.0f, height, u0, v1);
    if (runs.empty() || runs.back().texture.Get() != texture) {
        runs.push_back({texture, static_cast<UINT>(vertices.size()), 0});
    }
    vertices.insert(vertices.end(), {topLeft, topRight, bottomRight, topLeft, bottomRight, bottomLeft});
    runs.back().vertexCount += VerticesPerSprite;
    return S_OK;
}

void SpriteBatch::SetStates() const {
    IDirect3DDevice9* d = device.Get();
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    d->SetRenderState(D3DRS_DESTBLEND, blend == SpriteBlend::Additive ? D3DBLEND_ONE : D3DBLEND_INVSRCALPHA);
    d->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
    d->SetRenderState(D3DRS_SEPARATEALPHABLENDENABLE, FALSE);
    // Fully transparent texels change nothing in either blend: not writing them saves fill.
    d->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    d->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
    d->SetRenderState(D3DRS_ALPHAREF, 0);
    d->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    d->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    d->SetRenderState(D3DRS_STENCILENABLE, FALSE);
    // A mirroring transform turns the triangles over: both sides are drawn.
    d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    d->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
    d->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
    d->SetRenderState(D3DRS_FOGENABLE, FALSE);
    d->SetRenderState(D3DRS_COLORWRITEENABLE, 0xF);
    d->SetRenderState(D3DRS_SRGBWRITEENABLE, FALSE);
    d->SetRenderState(D3DRS_CLIPPLANEENABLE, 0);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    d->SetTextureStageState(0, D3DTSS_RESULTARG, D3DTA_CURRENT);
    d->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
    d->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
    d->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    d->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    d->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    d->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
    d->SetSamplerState(0, D3DSAMP_MAGFILTER, magFilter);
    d->SetSamplerState(0, D3DSAMP_MINFILTER, minFilter);
    d->SetSamplerState(0, D3DSAMP_MAXANISOTROPY, maxAnisotropy);
    d->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
    d->SetSamplerState(0, D3DSAMP_MAXMIPLEVEL, 0);
    d->SetSamplerState(0, D3DSAMP_MIPMAPLODBIAS, 0);
    d->SetSamplerState(0, D3DSAMP_SRGBTEXTURE, FALSE);
    d->SetVertexShader(nullptr);
    d->SetPixelShader(nullptr);
    d->SetFVF(SpriteVertexFormat);
    d->SetStreamSource(0, buffer.Get(), 0, sizeof(SpriteVertex));
}

// Appends behind what earlier draws use (no-overwrite); when the buffer is full, starts again on fresh
// storage (discard) instead of waiting for the renderer to finish with the old one.
HRESULT SpriteBatch::Upload(UINT first, UINT count, UINT& bufferStart) {
    DWORD flags = D3DLOCK_NOOVERWRITE;
    if (bufferNext == 0 || count > BufferVertices - bufferNext) {
        bufferNext = 0;
        flags = D3DLOCK_DISCARD;
    }
    void* data = nullptr;
    HRESULT hr = buffer->Lock(bufferNext * sizeof(SpriteVertex), count * sizeof(SpriteVertex), &data, flags);
    if (FAILED(hr)) {
        return hr;
    }
    std::memcpy(data, vertices.data() + first, count * sizeof(SpriteVertex));
    hr = buffer->Unlock();
    bufferStart = bufferNext;
    bufferNext += count;
    return hr;
}

HRESULT SpriteBatch::Flush() {
    if (!open) {
        return D3DERR_INVALIDCALL;
    }
    HRESULT result = S_OK;
    if (!runs.empty()) {
        SetStates();
    }
    for (const Run& run : runs) {
        device->SetTexture(0, run.texture.Get());
        for (UINT done = 0; done < run.vertexCount && SUCCEEDED(result);) {
            const UINT count = std::min(run.vertexCount - done, BufferVertices);
            UINT start = 0;
            result = Upload(run.firstVertex + done, count, start);
            if (SUCCEEDED(result)) {
                result = device->DrawPrimitive(D3DPT_TRIANGLELIST, start, count / 3);
                ++drawCalls;
            }
            done += count;
        }
    }
    vertices.clear();
    runs.clear();
    lastTexture = nullptr;
    return result;
}

HRESULT SpriteBatch::End() {
    const HRESULT hr = Flush();
    if (!open) {
        return hr;
    }
    if (saving == SpriteStateSaving::Save) {
        savedStates->Apply();
    }
    open = false;
    return hr;
}
