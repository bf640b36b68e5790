// A real windowed Direct3D 9 device on a window of its own, for tests that draw and read pixels back.
#pragma once

#include <d3d9.h>
#include <wrl/client.h>

#include <functional>
#include <string>
#include <vector>

class TestDevice {
public:
    TestDevice(int width, int height);
    TestDevice(const TestDevice&) = delete;
    TestDevice& operator=(const TestDevice&) = delete;
    ~TestDevice();

    // False when this machine has no usable Direct3D 9 (the test then says so and skips).
    bool Ok() const { return device != nullptr; }
    IDirect3DDevice9* Device() const { return device.Get(); }
    HWND Window() const { return window; }
    int Width() const { return width; }
    int Height() const { return height; }
    HRESULT Reset();

    // Begins a scene cleared to a colour; EndFrame ends it and reads the back buffer back.
    void BeginFrame(D3DCOLOR clear);
    void EndFrame();
    // A pixel of the last frame read back, as 0xAARRGGBB (alpha forced to 0xFF).
    D3DCOLOR Pixel(int x, int y) const;
    // Every pixel of the last frame, row by row, as Pixel gives them.
    const std::vector<D3DCOLOR>& Pixels() const { return pixels; }
    // Writes the last frame to a PNG file.
    void Save(const std::wstring& file) const;

private:
    HWND window = nullptr;
    int width;
    int height;
    Microsoft::WRL::ComPtr<IDirect3D9> d3d;
    Microsoft::WRL::ComPtr<IDirect3DDevice9> device;
    D3DPRESENT_PARAMETERS params = {};
    std::vector<D3DCOLOR> pixels;
    HMODULE library = nullptr;
};

// A managed A8R8G8B8 texture of width by height texels, each of the colour `texel(x, y)`.
Microsoft::WRL::ComPtr<IDirect3DTexture9> FilledTexture(IDirect3DDevice9* device, int width, int height,
                                                        const std::function<D3DCOLOR(int, int)>& texel);

BYTE Red(D3DCOLOR c);
BYTE Green(D3DCOLOR c);
BYTE Blue(D3DCOLOR c);
