// One scene of a frame, begun on construction and ended on every way out.
#pragma once

#include <d3d9.h>

class ScopedScene {
public:
    // Begins the scene; a failure is thrown as HResultError and leaves no scene open.
    explicit ScopedScene(IDirect3DDevice9* device);
    ScopedScene(const ScopedScene&) = delete;
    ScopedScene& operator=(const ScopedScene&) = delete;
    // Ends the scene unless End already did: a scene left open would make every later BeginScene fail.
    ~ScopedScene();

    // Ends the scene now and gives EndScene's result.
    HRESULT End();

private:
    IDirect3DDevice9* device_;
};
