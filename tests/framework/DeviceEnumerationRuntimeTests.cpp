// Enumeration and settings choice against the system's real Direct3D 9 runtime.
#include "framework/DeviceEnumeration.h"

#include <doctest/doctest.h>
#include <wrl/client.h>

#include <string>

using Microsoft::WRL::ComPtr;

namespace {

// d3d9.dll from the system folder, loaded the way the framework loads it, and one Direct3D object.
class RealDirect3D {
public:
    RealDirect3D() {
        wchar_t folder[MAX_PATH] = {};
        const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
        REQUIRE(length > 0);
        library_ = LoadLibraryW((std::wstring(folder, length) + L"\\d3d9.dll").c_str());
        REQUIRE(library_ != nullptr);
        using Create = IDirect3D9*(WINAPI*)(UINT);
        auto create =
            reinterpret_cast<Create>(reinterpret_cast<void*>(GetProcAddress(library_, "Direct3DCreate9")));
        REQUIRE(bool(create != nullptr));
        d3d_.Attach(create(D3D_SDK_VERSION));
        REQUIRE(d3d_ != nullptr);
    }
    RealDirect3D(const RealDirect3D&) = delete;
    RealDirect3D& operator=(const RealDirect3D&) = delete;
    ~RealDirect3D() {
        d3d_.Reset();
        FreeLibrary(library_);
    }

    IDirect3D9* Get() const { return d3d_.Get(); }

private:
    HMODULE library_ = nullptr;
    ComPtr<IDirect3D9> d3d_;
};

// A plain top-level window of the screen's size to create devices on.
class TestWindow {
public:
    TestWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VitrelleEnumerationTestWindow";
        RegisterClassW(&wc);
        window_ = CreateWindowExW(0, wc.lpszClassName, L"enumeration test", WS_POPUP, 0, 0,
                                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                                  nullptr, wc.hInstance, nullptr);
        REQUIRE(window_ != nullptr);
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    ~TestWindow() { DestroyWindow(window_); }

    HWND Get() const { return window_; }

private:
    HWND window_ = nullptr;
};

bool HasMode(const AdapterInfo& adapter, UINT width, UINT height, D3DFORMAT format) {
    for (const D3DDISPLAYMODE& mode : adapter.DisplayModes) {
        if (mode.Width == width && mode.Height == height && mode.Format == format) {
            return true;
        }
    }
    return false;
}

// Creates a device with the chosen settings and reports what Direct3D said.
HRESULT CreateWith(IDirect3D9* d3d, HWND window, DeviceSettings settings) {
    ComPtr<IDirect3DDevice9> device;
    return d3d->CreateDevice(settings.AdapterOrdinal, settings.DeviceType, window, settings.BehaviorFlags,
                             &settings.pp, device.GetAddressOf());
}

} // namespace

TEST_SUITE("framework") {

TEST_CASE("DeviceEnumeration: the real runtime lists adapter 0 with the virtual display's mode") {
    RealDirect3D d3d;
    TestWindow window;
    DeviceEnumeration enumeration;
    REQUIRE(enumeration.Enumerate(d3d.Get(), nullptr, nullptr, window.Get()) == S_OK);
    // The devices made to try the device types leave the application's window as it was: a pixel
    // format left there would be switched back and forth at every present of the real device.
    const HDC dc = GetDC(window.Get());
    CHECK(GetPixelFormat(dc) == 0);
    ReleaseDC(window.Get(), dc);
    const AdapterInfo* adapter = enumeration.GetAdapterInfo(0);
    REQUIRE(adapter != nullptr);
    CHECK(HasMode(*adapter, 1920, 1080, D3DFMT_X8R8G8B8));
    for (const D3DDISPLAYMODE& mode : adapter->DisplayModes) {
        CHECK(mode.Width >= 640);
        CHECK(mode.Height >= 480);
    }
    CHECK(enumeration.GetDeviceCombination(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, false) !=
          nullptr);
    CHECK(enumeration.GetDeviceCombination(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, true) !=
          nullptr);
    // The software renderer answers for the reference device too, so the switch to it can work here.
    CHECK(enumeration.GetDeviceCombination(0, D3DDEVTYPE_REF, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, true) !=
          nullptr);
}

TEST_CASE("FindValidDeviceSettings: the real runtime creates the full-screen and windowed choices") {
    RealDirect3D d3d;
    TestWindow window;
    DeviceEnumeration enumeration;
    REQUIRE(enumeration.Enumerate(d3d.Get(), nullptr, nullptr, window.Get()) == S_OK);

    // What the framework asks for when it creates the saver's and the settings' devices.
    DeviceSettings in;
    MatchOptions match;
    match.AdapterOrdinal = MatchType::PreserveInput;
    match.Windowed = MatchType::PreserveInput;
    match.Resolution = MatchType::ClosestToInput;
    DeviceSettings out;

    SUBCASE("full screen at 1920 by 1080") {
        in.pp.Windowed = FALSE;
        in.pp.BackBufferWidth = 1920;
        in.pp.BackBufferHeight = 1080;
        REQUIRE(FindValidDeviceSettings(enumeration, d3d.Get(), &out, &in, &match, window.Get(),
                                        window.Get()) == S_OK);
        CHECK(out.pp.Windowed == FALSE);
        CHECK(out.DeviceType == D3DDEVTYPE_HAL);
        CHECK(out.AdapterFormat == D3DFMT_X8R8G8B8);
        CHECK(out.pp.BackBufferWidth == 1920);
        CHECK(out.pp.BackBufferHeight == 1080);
        CHECK(out.pp.BackBufferFormat == D3DFMT_X8R8G8B8);
    }
    SUBCASE("a window of any size") {
        in.pp.Windowed = TRUE;
        REQUIRE(FindValidDeviceSettings(enumeration, d3d.Get(), &out, &in, &match, window.Get(),
                                        window.Get()) == S_OK);
        D3DDISPLAYMODE desktop{};
        REQUIRE(d3d.Get()->GetAdapterDisplayMode(0, &desktop) == S_OK);
        CHECK(out.pp.Windowed == TRUE);
        CHECK(out.AdapterFormat == desktop.Format);
        CHECK(out.pp.BackBufferWidth == 0);
    }
    CHECK(out.pp.hDeviceWindow == window.Get());
    CHECK(CreateWith(d3d.Get(), window.Get(), out) == S_OK);
}

} // TEST_SUITE
