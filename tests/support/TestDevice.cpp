// A real windowed Direct3D 9 device for drawing tests.
#include "support/TestDevice.h"

#include "graphics/PngEncoder.h"

#include <doctest/doctest.h>

TestDevice::TestDevice(int w, int h) : width(w), height(h) {
    RECT frame = {0, 0, w, h};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    window = CreateWindowExW(0, L"STATIC", L"gui drawing test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                             frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    // d3d9.dll is loaded at run time, as the program does.
    library = LoadLibraryW(L"d3d9.dll");
    using Create = IDirect3D9*(WINAPI*)(UINT);
    auto create =
        library
            ? reinterpret_cast<Create>(reinterpret_cast<void*>(GetProcAddress(library, "Direct3DCreate9")))
            : nullptr;
    if (!window || !create) {
        return;
    }
    d3d.Attach(create(D3D_SDK_VERSION));
    if (!d3d) {
        return;
    }
    params.Windowed = TRUE;
    params.SwapEffect = D3DSWAPEFFECT_DISCARD;
    params.BackBufferFormat = D3DFMT_X8R8G8B8;
    params.BackBufferWidth = w;
    params.BackBufferHeight = h;
    params.hDeviceWindow = window;
    params.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    if (FAILED(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                 D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params, device.GetAddressOf()))) {
        device.Reset();
    }
}

TestDevice::~TestDevice() {
    device.Reset();
    d3d.Reset();
    if (window) {
        DestroyWindow(window);
    }
    if (library) {
        FreeLibrary(library);
    }
}

HRESULT TestDevice::Reset() {
    return device->Reset(&params);
}

void TestDevice::BeginFrame(D3DCOLOR clear) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET, clear, 1.0f, 0);
    device->BeginScene();
}

// Read before Present: after it the discarded back buffer is undefined.
void TestDevice::EndFrame() {
    device->EndScene();
    pixels.assign(static_cast<size_t>(width) * height, 0);
    Microsoft::WRL::ComPtr<IDirect3DSurface9> target;
    Microsoft::WRL::ComPtr<IDirect3DSurface9> copy;
    if (FAILED(device->GetRenderTarget(0, target.GetAddressOf())) ||
        FAILED(device->CreateOffscreenPlainSurface(width, height, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM,
                                                   copy.GetAddressOf(), nullptr)) ||
        FAILED(device->GetRenderTargetData(target.Get(), copy.Get()))) {
        return;
    }
    D3DLOCKED_RECT locked = {};
    if (FAILED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
        return;
    }
    for (int y = 0; y < height; ++y) {
        const auto* row =
            reinterpret_cast<const D3DCOLOR*>(static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch);
        for (int x = 0; x < width; ++x) {
            pixels[static_cast<size_t>(y) * width + x] = row[x] | 0xFF000000;
        }
    }
    copy->UnlockRect();
    device->Present(nullptr, nullptr, nullptr, nullptr);
}

D3DCOLOR TestDevice::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height || pixels.empty()) {
        return 0;
    }
    return pixels[static_cast<size_t>(y) * width + x];
}

void TestDevice::Save(const std::wstring& file) const {
    WriteFileBytes(file, EncodePng(ImageFromColours(pixels, width, height), false));
}

Microsoft::WRL::ComPtr<IDirect3DTexture9> FilledTexture(IDirect3DDevice9* device, int width, int height,
                                                        const std::function<D3DCOLOR(int, int)>& texel) {
    Microsoft::WRL::ComPtr<IDirect3DTexture9> texture;
    REQUIRE(device->CreateTexture(width, height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture.GetAddressOf(),
                                  nullptr) == S_OK);
    D3DLOCKED_RECT locked = {};
    REQUIRE(texture->LockRect(0, &locked, nullptr, 0) == S_OK);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<D3DCOLOR*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch);
        for (int x = 0; x < width; ++x) {
            row[x] = texel(x, y);
        }
    }
    texture->UnlockRect(0);
    return texture;
}

BYTE Red(D3DCOLOR c) {
    return static_cast<BYTE>((c >> 16) & 0xFF);
}
BYTE Green(D3DCOLOR c) {
    return static_cast<BYTE>((c >> 8) & 0xFF);
}
BYTE Blue(D3DCOLOR c) {
    return static_cast<BYTE>(c & 0xFF);
}
