// Sprites queued between Begin and End and drawn as triangle lists from one dynamic vertex buffer.
#include "graphics/SpriteBatch.h"

#include "graphics/PixelPrograms.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr DWORD SpriteVertexFormat = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;
constexpr UINT VerticesPerSprite = 6;
// Room for the dialog's frame (a few hundred glyphs and images) in one go; longer runs go in pieces.
constexpr UINT BufferSprites = 1024;
constexpr UINT BufferVertices = BufferSprites * VerticesPerSprite;

} // namespace

SpriteBatch::SpriteBatch(IDirect3DDevice9* newDevice, SpriteFilter filter) : device(newDevice) {
    if (!device) {
        status = E_INVALIDARG;
        return;
    }
    D3DCAPS9 caps = {};
    if (filter == SpriteFilter::Anisotropic && SUCCEEDED(device->GetDeviceCaps(&caps))) {
        if ((caps.TextureFilterCaps & D3DPTFILTERCAPS_MINFANISOTROPIC) && caps.MaxAnisotropy > 1) {
            minFilter = D3DTEXF_ANISOTROPIC;
            maxAnisotropy = caps.MaxAnisotropy;
        }
        if (caps.TextureFilterCaps & D3DPTFILTERCAPS_MAGFANISOTROPIC) {
            magFilter = D3DTEXF_ANISOTROPIC;
        }
    }
    program = CreatePixelProgram(device.Get(), PixelProgram::TextureTimesColour);
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
    hr = RecordStateBlock(savedStates.ReleaseAndGetAddressOf());
    if (FAILED(hr)) {
        buffer.Reset();
    }
    return hr;
}

HRESULT SpriteBatch::RecordStateBlock(IDirect3DStateBlock9** block) const {
    const HRESULT hr = device->BeginStateBlock();
    if (FAILED(hr)) {
        return hr;
    }
    SetStates();
    device->SetTexture(0, nullptr);
    return device->EndStateBlock(block);
}

void SpriteBatch::DropRuns() {
    for (size_t i = 0; i < runCount; ++i) {
        runs[i].texture.Reset();
        runs[i].vertices.clear();
        runs[i].boxes.clear();
    }
    runCount = 0;
    lastTexture = nullptr;
}

void SpriteBatch::OnLostDevice() {
    open = false;
    DropRuns();
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
    DropRuns();
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
    const Box box = {std::min({topLeft.x, topRight.x, bottomRight.x, bottomLeft.x}),
                     std::min({topLeft.y, topRight.y, bottomRight.y, bottomLeft.y}),
                     std::max({topLeft.x, topRight.x, bottomRight.x, bottomLeft.x}),
                     std::max({topLeft.y, topRight.y, bottomRight.y, bottomLeft.y})};
    Run& run = RunFor(texture, box);
    run.boxes.push_back(box);
    run.vertices.insert(run.vertices.end(), {topLeft, topRight, bottomRight, topLeft, bottomRight, bottomLeft});
    return S_OK;
}

namespace {

bool Intersect(float left, float top, float right, float bottom, float left2, float top2, float right2,
               float bottom2) {
    return left < right2 && left2 < right && top < bottom2 && top2 < bottom;
}

} // namespace

// The latest run of the texture with no sprite of a later run overlapping the new one (sprites that
// share no pixel may be drawn in either order), else a new run at the end.
SpriteBatch::Run& SpriteBatch::RunFor(IDirect3DTexture9* texture, const Box& box) {
    const auto overlaps = [&box](const Box& other) {
        return Intersect(box.left, box.top, box.right, box.bottom, other.left, other.top, other.right,
                         other.bottom);
    };
    for (size_t i = runCount; i-- > 0;) {
        Run& run = runs[i];
        if (run.texture.Get() == texture) {
            run.box = {std::min(run.box.left, box.left), std::min(run.box.top, box.top),
                       std::max(run.box.right, box.right), std::max(run.box.bottom, box.bottom)};
            return run;
        }
        if (overlaps(run.box) && std::any_of(run.boxes.begin(), run.boxes.end(), overlaps)) {
            break;
        }
    }
    if (runCount == runs.size()) {
        runs.emplace_back();
    }
    Run& run = runs[runCount++];
    run.texture = texture;
    run.box = box;
    return run;
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
    d->SetPixelShader(program.Get());
    d->SetFVF(SpriteVertexFormat);
    d->SetStreamSource(0, buffer.Get(), 0, sizeof(SpriteVertex));
}

// Appends behind what earlier draws use (no-overwrite); when the buffer is full, starts again on fresh
// storage (discard) instead of waiting for the renderer to finish with the old one.
HRESULT SpriteBatch::Lock(UINT count, SpriteVertex*& data, UINT& bufferStart) {
    DWORD flags = D3DLOCK_NOOVERWRITE;
    if (bufferNext == 0 || count > BufferVertices - bufferNext) {
        bufferNext = 0;
        flags = D3DLOCK_DISCARD;
    }
    void* locked = nullptr;
    const HRESULT hr =
        buffer->Lock(bufferNext * sizeof(SpriteVertex), count * sizeof(SpriteVertex), &locked, flags);
    if (FAILED(hr)) {
        return hr;
    }
    data = static_cast<SpriteVertex*>(locked);
    bufferStart = bufferNext;
    bufferNext += count;
    return S_OK;
}

// A run longer than the whole buffer goes in buffer-sized pieces.
HRESULT SpriteBatch::DrawInPieces(const Run& run) {
    device->SetTexture(0, run.texture.Get());
    const auto total = static_cast<UINT>(run.vertices.size());
    for (UINT done = 0; done < total; done += BufferVertices) {
        const UINT count = std::min(total - done, BufferVertices);
        SpriteVertex* data = nullptr;
        UINT start = 0;
        HRESULT hr = Lock(count, data, start);
        if (SUCCEEDED(hr)) {
            std::memcpy(data, run.vertices.data() + done, count * sizeof(SpriteVertex));
            hr = buffer->Unlock();
        }
        if (SUCCEEDED(hr)) {
            hr = device->DrawPrimitive(D3DPT_TRIANGLELIST, start, count / 3);
            ++drawCalls;
        }
        if (FAILED(hr)) {
            return hr;
        }
    }
    return S_OK;
}

// Consecutive runs that fit in the buffer together are written with one lock, then drawn run by run.
HRESULT SpriteBatch::Flush() {
    if (!open) {
        return D3DERR_INVALIDCALL;
    }
    HRESULT result = S_OK;
    if (runCount > 0) {
        SetStates();
    }
    size_t next = 0;
    while (next < runCount && SUCCEEDED(result)) {
        UINT count = 0;
        size_t end = next;
        while (end < runCount && count + runs[end].vertices.size() <= BufferVertices) {
            count += static_cast<UINT>(runs[end++].vertices.size());
        }
        if (end == next) {
            result = DrawInPieces(runs[next++]);
            continue;
        }
        SpriteVertex* data = nullptr;
        UINT start = 0;
        result = Lock(count, data, start);
        if (SUCCEEDED(result)) {
            for (size_t i = next; i < end; ++i) {
                data = std::copy(runs[i].vertices.begin(), runs[i].vertices.end(), data);
            }
            result = buffer->Unlock();
        }
        for (; next < end && SUCCEEDED(result); ++next) {
            const auto vertexCount = static_cast<UINT>(runs[next].vertices.size());
            device->SetTexture(0, runs[next].texture.Get());
            result = device->DrawPrimitive(D3DPT_TRIANGLELIST, start, vertexCount / 3);
            start += vertexCount;
            ++drawCalls;
        }
    }
    DropRuns();
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
