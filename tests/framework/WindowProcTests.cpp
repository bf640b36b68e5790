// The framework's window procedure with real windows and messages.
#include "framework/Framework.h"
#include "framework/FrameworkInternal.h"
#include "support/CallbackLog.h"
#include "support/FrameworkScope.h"

#include <doctest/doctest.h>

#include <vector>

namespace {

struct Seen {
    std::vector<UINT> messages;
    std::vector<WPARAM> sysCommands;
    std::vector<std::pair<UINT, bool>> keys;
    std::vector<bool> alt;
    int renders = 0;
    bool swallowClose = false;

    void Install() {
        FrameworkSetWindowMessageCallback(Message, this);
        FrameworkSetKeyboardCallback(Key, this);
        FrameworkSetFrameRenderCallback(Render, this);
    }
    static LRESULT CALLBACK Message(HWND, UINT message, WPARAM wParam, LPARAM, bool* noFurtherProcessing,
                                    void* context) {
        auto* seen = static_cast<Seen*>(context);
        seen->messages.push_back(message);
        if (message == WM_SYSCOMMAND) {
            seen->sysCommands.push_back(wParam & 0xFFF0);
        }
        if (message == WM_CLOSE && seen->swallowClose) {
            *noFurtherProcessing = true;
            return 42;
        }
        return 0;
    }
    static void CALLBACK Key(UINT key, bool down, bool alt, void* context) {
        auto* seen = static_cast<Seen*>(context);
        seen->keys.emplace_back(key, down);
        seen->alt.push_back(alt);
    }
    static void CALLBACK Render(IDirect3DDevice9* device, double, float, void* context) {
        ++static_cast<Seen*>(context)->renders;
        device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(200, 60, 30), 1.0f, 0);
    }
    size_t Count(UINT message) const {
        size_t n = 0;
        for (UINT m : messages) {
            n += m == message ? 1 : 0;
        }
        return n;
    }
};

// A clean framework whose callbacks record into a Seen.
struct WatchedFramework {
    FrameworkScope scope;
    Seen seen;
    WatchedFramework() { seen.Install(); }
};

} // namespace

TEST_SUITE("framework") {

TEST_CASE_FIXTURE(WatchedFramework,
    "Window procedure: the keyboard callback gets key-down and key-up with the Alt bit") {
    HWND window = OpenFrameworkWindow(L"Keys");
    SendMessageW(window, WM_SYSKEYDOWN, 'A', kAltBit | 1);
    SendMessageW(window, WM_SYSKEYUP, 'A', kAltBit | 1);
    SendMessageW(window, WM_KEYDOWN, 'B', 1);
    SendMessageW(window, WM_KEYUP, 'B', 1);
    REQUIRE(seen.keys.size() == 4);
    CHECK(seen.keys[0] == std::pair<UINT, bool>('A', true));
    CHECK(seen.keys[1] == std::pair<UINT, bool>('A', false));
    CHECK(seen.keys[2] == std::pair<UINT, bool>('B', true));
    CHECK(seen.keys[3] == std::pair<UINT, bool>('B', false));
    CHECK(seen.alt == std::vector<bool>{true, true, false, false});
}

TEST_CASE_FIXTURE(WatchedFramework,
    "Window procedure: the message callback can stop the framework's own handling") {
    seen.swallowClose = true;
    HWND window = OpenFrameworkWindow(L"Swallow");
    CHECK(SendMessageW(window, WM_CLOSE, 0, 0) == 42);
    CHECK(IsWindow(window));
    seen.swallowClose = false;
    CHECK(SendMessageW(window, WM_CLOSE, 0, 0) == 0);
    CHECK_FALSE(IsWindow(window));
    CHECK(FrameworkGetHWND() == nullptr);
}

TEST_CASE_FIXTURE(WatchedFramework,
    "Window procedure: F10 never reaches the default procedure, so no menu loop starts") {
    HWND window = OpenFrameworkWindow(L"F10");
    CHECK(SendMessageW(window, WM_SYSKEYDOWN, VK_F10, 1) == 0);
    CHECK(SendMessageW(window, WM_SYSKEYUP, VK_F10, 1) == 0);
    DrainMessages();
    CHECK(seen.sysCommands.empty());
    CHECK(seen.Count(WM_ENTERMENULOOP) == 0);
    // The same keys on a window that uses the default procedure do start the menu.
    HWND plain = CreateWindowExW(0, L"STATIC", L"plain", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    REQUIRE(plain != nullptr);
    static std::vector<WPARAM> plainCommands;
    plainCommands.clear();
    static WNDPROC original = nullptr;
    original = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        plain, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
            if (m == WM_SYSCOMMAND) {
                plainCommands.push_back(wp & 0xFFF0);
                return 0;
            }
            return CallWindowProcW(original, w, m, wp, lp);
        })));
    SendMessageW(plain, WM_SYSKEYDOWN, VK_F10, 1);
    SendMessageW(plain, WM_SYSKEYUP, VK_F10, 1);
    CHECK(plainCommands == std::vector<WPARAM>{SC_KEYMENU});
    DestroyWindow(plain);
}

TEST_CASE("Window procedure: a resized window takes its windowed device along to the new client size") {
    FrameworkScope scope;
    CallbackLog log;
    log.Install();
    REQUIRE(FrameworkCreateWindow(L"Resize") == S_OK);
    REQUIRE(FrameworkCreateDevice(0, true, 320, 240) == S_OK);
    HWND window = FrameworkGetHWND();
    IDirect3DDevice9* device = FrameworkGetDevice();
    RECT outer{0, 0, 500, 400};
    AdjustWindowRect(&outer, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE);
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOMOVE);
    REQUIRE(ClientSizeOf(window).cx == 500);
    const DeviceSettings settings = FrameworkGetDeviceSettings();
    CHECK(settings.pp.BackBufferWidth == 500);
    CHECK(settings.pp.BackBufferHeight == 400);
    CHECK(FrameworkGetDevice() == device);
    CHECK(log.Joined() == "created, reset 320x240, lost, reset 500x400");
}

TEST_CASE_FIXTURE(WatchedFramework,
    "Window procedure: WM_PAINT draws the scene again only while rendering is paused") {
    REQUIRE(FrameworkCreateDevice(0, true, 320, 240) == S_OK);
    HWND window = FrameworkGetHWND();
    DrainMessages();
    seen.renders = 0;
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    CHECK(seen.renders == 0);
    FrameworkPause(true, true);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    CHECK(seen.renders == 1);
    FrameworkPause(false, false);
}

TEST_CASE("Window procedure: moving or sizing pauses time and rendering until it ends") {
    FrameworkScope scope;
    REQUIRE(FrameworkCreateDevice(0, true, 320, 240) == S_OK);
    HWND window = FrameworkGetHWND();
    SendMessageW(window, WM_ENTERSIZEMOVE, 0, 0);
    CHECK(GetFrameworkState().Timing().Get(&TimingState::renderingPaused));
    CHECK(GetFrameworkState().Timing().Get(&TimingState::timePaused));
    SendMessageW(window, WM_EXITSIZEMOVE, 0, 0);
    CHECK_FALSE(GetFrameworkState().Timing().Get(&TimingState::renderingPaused));
    CHECK_FALSE(GetFrameworkState().Timing().Get(&TimingState::timePaused));
    // A second minimise message before the restore does not leave a pause level behind.
    SendMessageW(window, WM_SIZE, SIZE_MINIMIZED, 0);
    SendMessageW(window, WM_SIZE, SIZE_MINIMIZED, 0);
    CHECK(GetFrameworkState().Timing().Get(&TimingState::renderingPaused));
    SendMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(320, 240));
    CHECK_FALSE(GetFrameworkState().Timing().Get(&TimingState::renderingPaused));
    CHECK_FALSE(GetFrameworkState().Timing().Get(&TimingState::timePaused));
    MINMAXINFO info{};
    SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    CHECK(info.ptMinTrackSize.x == 200);
    CHECK(info.ptMinTrackSize.y == 200);
}

} // TEST_SUITE
