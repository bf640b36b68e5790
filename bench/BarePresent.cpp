// A bare Direct3D 9 program for comparison with the soak of the run modes: an 800 by 600 window that
// only clears and presents, and resets its device to the new client size whenever the window is
// resized; with /f it covers the screen with a full-screen device instead, like the running saver.
// What its memory does is Wine's and the renderer's own share. Escape ends it.
#include <windows.h>
#include <d3d9.h>

#include <cwchar>

namespace {

// The class the test driver looks for.
constexpr wchar_t kClassName[] = L"Direct3DWindowClass";

IDirect3DDevice9* device = nullptr;
D3DPRESENT_PARAMETERS presentation{};
bool resized = false;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        resized = true;
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) {
            DestroyWindow(window);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    const bool fullScreen = commandLine != nullptr && std::wcsstr(commandLine, L"/f") != nullptr;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    RECT outer{0, 0, 800, 600};
    AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, FALSE);
    HWND window = fullScreen ? CreateWindowExW(0, kClassName, L"Bare present", WS_POPUP | WS_VISIBLE, 0, 0, screenWidth,
                                               screenHeight, nullptr, nullptr, instance, nullptr)
                             : CreateWindowExW(0, kClassName, L"Bare present", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                               CW_USEDEFAULT, CW_USEDEFAULT, outer.right - outer.left,
                                               outer.bottom - outer.top, nullptr, nullptr, instance, nullptr);
    IDirect3D9* direct3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (window == nullptr || direct3d == nullptr) {
        return 1;
    }
    presentation.Windowed = !fullScreen;
    presentation.SwapEffect = D3DSWAPEFFECT_DISCARD;
    presentation.BackBufferFormat = fullScreen ? D3DFMT_X8R8G8B8 : D3DFMT_UNKNOWN;
    presentation.BackBufferWidth = fullScreen ? screenWidth : 0;
    presentation.BackBufferHeight = fullScreen ? screenHeight : 0;
    presentation.hDeviceWindow = window;
    if (FAILED(direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                      D3DCREATE_SOFTWARE_VERTEXPROCESSING, &presentation, &device))) {
        return 1;
    }
    MSG message{};
    while (message.message != WM_QUIT) {
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
            continue;
        }
        if (resized && !fullScreen) {
            resized = false;
            presentation.BackBufferWidth = 0; // the new client size
            presentation.BackBufferHeight = 0;
            device->Reset(&presentation);
        }
        device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 0, 64), 1.0f, 0);
        device->Present(nullptr, nullptr, nullptr, nullptr);
        Sleep(10);
    }
    device->Release();
    direct3d->Release();
    return 0;
}
