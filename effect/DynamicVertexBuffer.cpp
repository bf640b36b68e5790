// Writing the frame's vertices into one dynamic vertex buffer.
#include "effect/DynamicVertexBuffer.h"

#include "framework/HResultError.h"

#include <algorithm>
#include <cstring>

namespace {

// Room for a frame of the default settings without growing.
constexpr UINT kInitialCapacity = 16384;

} // namespace

UINT DynamicVertexBuffer::Write(IDirect3DDevice9* device, std::span<const EffectVertex> vertices) {
    const auto count = static_cast<UINT>(vertices.size());
    if (count > capacity_) {
        Grow(device, count);
    }
    DWORD flags = D3DLOCK_NOOVERWRITE;
    if (next_ == 0 || count > capacity_ - next_) {
        // What the earlier draws read may still be in flight: fresh storage instead of waiting.
        next_ = 0;
        flags = D3DLOCK_DISCARD;
    }
    const UINT first = next_;
    if (count > 0) {
        void* data = nullptr;
        ThrowIfFailed(
            buffer_->Lock(first * sizeof(EffectVertex), count * sizeof(EffectVertex), &data, flags));
        std::memcpy(data, vertices.data(), count * sizeof(EffectVertex));
        ThrowIfFailed(buffer_->Unlock());
        next_ += count;
    }
    ThrowIfFailed(device->SetStreamSource(0, buffer_.Get(), 0, sizeof(EffectVertex)));
    ThrowIfFailed(device->SetFVF(kEffectVertexFormat));
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

void DynamicVertexBuffer::Grow(IDirect3DDevice9* device, UINT count) {
    const UINT capacity = std::max({count, kInitialCapacity, 2 * capacity_});
    buffer_.Reset();
    capacity_ = 0;
    next_ = 0;
    ThrowIfFailed(device->CreateVertexBuffer(capacity * sizeof(EffectVertex),
                                             D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, kEffectVertexFormat,
                                             D3DPOOL_DEFAULT, &buffer_, nullptr));
    capacity_ = capacity;
}
