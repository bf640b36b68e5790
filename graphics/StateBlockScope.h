// Captures the device's states into a state block and applies them back when the scope ends, however
// it ends.
#pragma once

#include <d3d9.h>

class StateBlockScope {
public:
    explicit StateBlockScope(IDirect3DStateBlock9* block) : block(block) {
        if (block && FAILED(block->Capture())) {
            this->block = nullptr;
        }
    }
    StateBlockScope(const StateBlockScope&) = delete;
    StateBlockScope& operator=(const StateBlockScope&) = delete;
    ~StateBlockScope() {
        if (block) {
            block->Apply();
        }
    }

private:
    IDirect3DStateBlock9* block;
};
