// Puts a remembered render target back when a drawing step ends, also when it ends by a failure.
#pragma once

#include "framework/HResultError.h"

#include <d3d9.h>

class ScopedRenderTarget {
public:
    // `previous` is the target to restore; the caller keeps its reference alive meanwhile.
    ScopedRenderTarget(IDirect3DDevice9* device, IDirect3DSurface9* previous)
        : device_(device), previous_(previous) {}
    ScopedRenderTarget(const ScopedRenderTarget&) = delete;
    ScopedRenderTarget& operator=(const ScopedRenderTarget&) = delete;
    ~ScopedRenderTarget() {
        if (previous_ != nullptr) {
            device_->SetRenderTarget(0, previous_);
        }
    }

    // Restores now and raises a failure; the destructor then has nothing left to do.
    void Restore() {
        IDirect3DSurface9* previous = previous_;
        previous_ = nullptr;
        ThrowIfFailed(device_->SetRenderTarget(0, previous));
    }

private:
    IDirect3DDevice9* device_;
    IDirect3DSurface9* previous_;
};
