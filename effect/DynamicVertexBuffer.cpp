// Writing the frame's vertices into one dynamic vertex buffer.
#include "effect/DynamicVertexBuffer.h"

#include "framework/HResultError.h"

#include <algorithm>
#include <cstring>

namespace {

// Room for a frame of the default settings without growing.
constexpr UINT kInitialCapacity = 1 << 20;

} // namespace

UINT DynamicVertexBuffer::Write(IDirect3DDevice9* device, std::span<const EffectVertex> vertices) {
    return Write(device, vertices.data(), static_cast<UINT>(vertices.size()), sizeof(EffectVertex),
                 kEffectVertexFormat);
}

UINT DynamicVertexBuffer::Write(IDirect3DDevice9* device, std::span<const TileVertex> vertices) {
    return Write(device, vertices.data(), static_cast<UINT>(vertices.size()), sizeof(TileVertex),
                 kTileVertexFormat);
}

UINT DynamicVertexBuffer::Write(IDirect3DDevice9* device, const void* vertices, UINT count, UINT stride,
                                DWORD format) {
    const UINT bytes = count * stride;
    if (bytes > capacity_) {
        Grow(device, bytes);
    }
    // A draw starts at a whole vertex of its own size.
    UINT first = (next_ + stride - 1) / stride;
    DWORD flags = D3DLOCK_NOOVERWRITE;
    if (next_ == 0 || bytes > capacity_ - std::min(capacity_, first * stride)) {
        // What the earlier draws read may still be in flight: fresh storage instead of waiting.
        first = 0;
        flags = D3DLOCK_DISCARD;
    }
    if (count > 0) {
        void* data = nullptr;
        ThrowIfFailed(buffer_->Lock(first * stride, bytes, &data, flags));
        std::memcpy(data, vertices, bytes);
        ThrowIfFailed(buffer_->Unlock());
        next_ = first * stride + bytes;
    }
    ThrowIfFailed(device->SetStreamSource(0, buffer_.Get(), 0, stride));
    ThrowIfFailed(device->SetFVF(format));
    return first;
}

void DynamicVertexBuffer::DrawTriangles(IDirect3DDevice9* device, UINT first, std::size_t count) {
    if (count >= 3) {
        ThrowIfFailed(device->DrawPrimitive(D3DPT_TRIANGLELIST, first, static_cast<UINT>(count / 3)));
    }
}

void DynamicVertexBuffer::Release() {
    buffer_.Reset();
    capacity_ = 0;
    next_ = 0;
}

void DynamicVertexBuffer::Grow(IDirect3DDevice9* device, UINT bytes) {
    const UINT capacity = std::max({bytes, kInitialCapacity, 2 * capacity_});
    buffer_.Reset();
    capacity_ = 0;
    next_ = 0;
    // No vertex format of its own: every draw sets the one it wrote.
    ThrowIfFailed(device->CreateVertexBuffer(capacity, D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, 0,
                                             D3DPOOL_DEFAULT, &buffer_, nullptr));
    capacity_ = capacity;
}
