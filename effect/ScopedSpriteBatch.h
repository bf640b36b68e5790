// One sprite batch between Begin and End; a failure inside the batch still ends it.
#pragma once

#include "framework/HResultError.h"

#include <d3dx9core.h>

class ScopedSpriteBatch {
public:
    ScopedSpriteBatch(ID3DXSprite* sprite, DWORD flags) : sprite_(sprite) {
        ThrowIfFailed(sprite_->Begin(flags));
        begun_ = true;
    }
    ScopedSpriteBatch(const ScopedSpriteBatch&) = delete;
    ScopedSpriteBatch& operator=(const ScopedSpriteBatch&) = delete;
    ~ScopedSpriteBatch() {
        if (begun_) {
            sprite_->End();
        }
    }

    // Ends the batch now (drawing what it holds) and raises a failure.
    void End() {
        begun_ = false;
        ThrowIfFailed(sprite_->End());
    }

private:
    ID3DXSprite* sprite_;
    bool begun_ = false;
};
