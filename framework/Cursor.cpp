// The cursor in full screen: hidden or drawn by the device, clipped to the window or free.
#include "framework/CursorImage.h"
#include "framework/DebugOutput.h"
#include "framework/FrameworkInternal.h"

#include <cstring>
#include <vector>

namespace {

std::vector<uint32_t> ReadBitmap32(HBITMAP bitmap, int width, int height) {
    std::vector<uint32_t> bits(static_cast<size_t>(width) * static_cast<size_t>(height));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height; // bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const UniqueWindowDC screen = AcquireWindowDC(nullptr);
    const int rows =
        GetDIBits(screen.get().dc, bitmap, 0, static_cast<UINT>(height), bits.data(), &info, DIB_RGB_COLORS);
    if (rows != height) {
        bits.clear();
    }
    return bits;
}

// Gives the device the picture of a Windows cursor.
HRESULT SetDeviceCursor(IDirect3DDevice9* device, HCURSOR cursor) {
    ICONINFO iconInfo{};
    if (cursor == nullptr || !GetIconInfo(cursor, &iconInfo)) {
        return E_FAIL;
    }
    UniqueBitmap mask(iconInfo.hbmMask);
    UniqueBitmap colour(iconInfo.hbmColor);
    BITMAP maskInfo{};
    if (!mask || GetObjectW(mask.get(), sizeof(maskInfo), &maskInfo) == 0) {
        return E_FAIL;
    }
    const bool hasColour = static_cast<bool>(colour);
    const int width = maskInfo.bmWidth;
    const int height = hasColour ? maskInfo.bmHeight : maskInfo.bmHeight / 2;
    if (width <= 0 || height <= 0) {
        return E_FAIL;
    }
    const std::vector<uint32_t> maskBits = ReadBitmap32(mask.get(), width, maskInfo.bmHeight);
    std::vector<uint32_t> colourBits;
    if (hasColour) {
        colourBits = ReadBitmap32(colour.get(), width, height);
    }
    if (maskBits.empty() || (hasColour && colourBits.empty())) {
        return E_FAIL;
    }
    const std::vector<uint32_t> pixels =
        ComposeCursorPixels(maskBits, hasColour ? &colourBits : nullptr, width, height);

    ComPtr<IDirect3DSurface9> surface;
    HRESULT hr = device->CreateOffscreenPlainSurface(static_cast<UINT>(width), static_cast<UINT>(height),
                                                     D3DFMT_A8R8G8B8, D3DPOOL_SCRATCH, &surface, nullptr);
    if (FAILED(hr)) {
        return hr;
    }
    D3DLOCKED_RECT locked{};
    if (hr = surface->LockRect(&locked, nullptr, 0); FAILED(hr)) {
        return hr;
    }
    for (int y = 0; y < height; ++y) {
        std::memcpy(static_cast<BYTE*>(locked.pBits) + static_cast<ptrdiff_t>(y) * locked.Pitch,
                    pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width),
                    static_cast<size_t>(width) * sizeof(uint32_t));
    }
    surface->UnlockRect();
    return device->SetCursorProperties(iconInfo.xHotspot, iconInfo.yHotspot, surface.Get());
}

} // namespace

void SetupCursor() {
    FrameworkState& state = GetFrameworkState();
    const bool fullScreen = state.HasSettings() && !IsWindowed(state.GetSettings());
    auto [show, clip] = state.Options().Update(
        [](OptionState& o) { return std::pair(o.showCursorWhenFullScreen, o.clipCursorWhenFullScreen); });
    HWND window = state.Window().Get(&WindowState::deviceWindowFullScreen);
    if (IDirect3DDevice9* device = FrameworkGetDevice(); fullScreen && device != nullptr) {
        SetCursor(nullptr);
        if (show) {
            ReportIgnoredFailure(
                L"device cursor",
                SetDeviceCursor(device, reinterpret_cast<HCURSOR>(GetClassLongPtrW(window, GCLP_HCURSOR))));
        }
        device->ShowCursor(show ? TRUE : FALSE);
    }
    if (fullScreen && clip) {
        RECT rect{};
        GetWindowRect(window, &rect);
        ClipCursor(&rect);
    } else {
        ClipCursor(nullptr);
    }
}

void StopControllerVibration() {
    using XInputSetStateFunction = DWORD(WINAPI*)(DWORD, void*);
    static XInputSetStateFunction setState = [] {
        wchar_t directory[MAX_PATH] = {};
        const UINT length = GetSystemDirectoryW(directory, MAX_PATH);
        std::wstring path = std::wstring(directory, length < MAX_PATH ? length : 0) + L"\\xinput9_1_0.dll";
        HMODULE library = LoadLibraryW(path.c_str());
        return library != nullptr ? reinterpret_cast<XInputSetStateFunction>(
                                        reinterpret_cast<void*>(GetProcAddress(library, "XInputSetState")))
                                  : nullptr;
    }();
    if (setState == nullptr) {
        return;
    }
    // Left and right motor speeds, both stopped.
    WORD vibration[2] = {0, 0};
    for (DWORD controller = 0; controller < 4; ++controller) {
        setState(controller, vibration);
    }
}
