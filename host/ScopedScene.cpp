// One scene of a frame, begun on construction and ended on every way out.
#include "host/ScopedScene.h"

#include "framework/HResultError.h"

#include <utility>

ScopedScene::ScopedScene(IDirect3DDevice9* device) : device_(device) {
    ThrowIfFailed(device_->BeginScene());
}

ScopedScene::~ScopedScene() {
    End();
}

HRESULT ScopedScene::End() {
    IDirect3DDevice9* device = std::exchange(device_, nullptr);
    return device != nullptr ? device->EndScene() : S_OK;
}
