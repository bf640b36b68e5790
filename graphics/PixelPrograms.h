// Small pixel programs for the few ways this program colours its pixels, used in place of the
// fixed-function texture stages where the device runs pixel shader 2.0. Each computes what the stages
// set up beside it compute; the stages' general program also adds a specular colour and clamps every
// step, which on a software renderer costs a good share of each pixel.
#pragma once

#include <d3d9.h>
#include <wrl/client.h>

enum class PixelProgram {
    // The diffuse colour.
    Colour,
    // Texture 0 at coordinates 0 times the diffuse colour, alpha too.
    TextureTimesColour,
    // Texture 0 at coordinates 0 times the diffuse colour, plus texture 1 at coordinates 1 times the
    // specular colour; the alpha is texture 1's.
    TwoTexturesTimesColours,
};

// The program's shader; null where the device has no pixel shader 2.0 or cannot make it (the reason
// goes to the debug output), and then the texture stages draw the same picture.
Microsoft::WRL::ComPtr<IDirect3DPixelShader9> CreatePixelProgram(IDirect3DDevice9* device,
                                                                 PixelProgram program);

// Gives the device back to the fixed-function stages (no pixel shader) however the scope ends.
class FixedFunctionOnExit {
public:
    explicit FixedFunctionOnExit(IDirect3DDevice9* device) : device_(device) {}
    FixedFunctionOnExit(const FixedFunctionOnExit&) = delete;
    FixedFunctionOnExit& operator=(const FixedFunctionOnExit&) = delete;
    ~FixedFunctionOnExit() { device_->SetPixelShader(nullptr); }

private:
    IDirect3DDevice9* device_;
};
