// One dynamic vertex buffer that the effect's draws of a frame fill one after the other: each write
// goes behind the last without touching it (no-overwrite), and when the buffer is full the next
// write starts again at its beginning on fresh storage (discard).
#pragma once

#include <d3d9.h>
#include <wrl/client.h>

#include <cstdint>
#include <span>

// A pre-transformed vertex with a colour and one pair of texture coordinates.
struct EffectVertex {
    float x, y, z, rhw;
    D3DCOLOR colour;
    float u, v;
};
static_assert(sizeof(EffectVertex) == 28);
constexpr DWORD kEffectVertexFormat = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

// A pre-transformed vertex of the tiles: the light of one tile in the diffuse colour with its
// texture coordinates, the light of a second tile in the specular colour with its own.
struct TileVertex {
    float x, y, z, rhw;
    D3DCOLOR first;
    D3DCOLOR second;
    float u0, v0;
    float u1, v1;
};
static_assert(sizeof(TileVertex) == 40);
constexpr DWORD kTileVertexFormat = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX2;

class DynamicVertexBuffer {
public:
    // Copies the vertices into the buffer, growing it when they do not fit at all, and sets it as
    // stream 0 with their vertex format; returns the index of the first vertex written.
    UINT Write(IDirect3DDevice9* device, std::span<const EffectVertex> vertices);
    UINT Write(IDirect3DDevice9* device, std::span<const TileVertex> vertices);
    // Draws `count` vertices from `first` as a triangle list.
    static void DrawTriangles(IDirect3DDevice9* device, UINT first, std::size_t count);
    // Releases the buffer (default pool: before every device reset); safe to repeat.
    void Release();

    IDirect3DVertexBuffer9* Buffer() const { return buffer_.Get(); }

private:
    UINT Write(IDirect3DDevice9* device, const void* vertices, UINT count, UINT stride, DWORD format);
    void Grow(IDirect3DDevice9* device, UINT bytes);

    Microsoft::WRL::ComPtr<IDirect3DVertexBuffer9> buffer_;
    // In bytes: vertices of different sizes share the buffer.
    UINT capacity_ = 0;
    UINT next_ = 0;
};
