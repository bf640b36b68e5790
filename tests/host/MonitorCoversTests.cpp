// The black windows over the monitors the saver does not draw on: real windows at the rectangles of
// two and three monitors (split from the one virtual screen), their colour read back from the screen,
// input on them, and their life within the running saver's.
#include "host/CSaverMain.h"
#include "host/MonitorCovers.h"

#include "framework/Framework.h"
#include "support/FrameworkScope.h"
#include "support/MessageBoxCatcher.h"

#include <doctest/doctest.h>

#include <vector>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

// A white window at a rectangle of the screen.
HWND WhiteWindow(const RECT& r) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = PlainProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = L"VitrelleTestWhite";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP | WS_VISIBLE, r.left, r.top,
                                  r.right - r.left, r.bottom - r.top, nullptr, nullptr, windowClass.hInstance, nullptr);
    UpdateWindow(window);
    return window;
}

void PumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        Sleep(20);
    } while (GetTickCount() - start < milliseconds);
}

COLORREF ScreenPixelAtMiddle(const RECT& r) {
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ReleaseDC(nullptr, screen);
    return colour;
}

bool SameRect(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}

// A running saver that looks at its covers in its third frame. It then ends itself, or, told to click,
// moves the mouse over a cover and lets go of the left button there three frames later.
struct TestSaver : CSaverMain {
    TestSaver(std::vector<RECT> monitors, bool click)
        : CSaverMain([monitors] { return monitors; }), click(click) {}
    HRESULT OnPostRender(IDirect3DDevice9*, double, float) override {
        ++frames;
        if (frames == 3) {
            covers = Covers().Windows();
            for (HWND cover : covers) {
                RECT r{};
                GetWindowRect(cover, &r);
                rects.push_back(r);
            }
            if (!click || covers.empty()) {
                PostQuitMessage(0);
            } else {
                SendMessageW(covers[0], WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
            }
        } else if (frames == 6 && click) {
            SendMessageW(covers[0], WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        } else if (frames == 60) {
            PostQuitMessage(0); // the click did not end the run; the checks then fail
        }
        return S_OK;
    }
    bool click;
    int frames = 0;
    std::vector<HWND> covers;
    std::vector<RECT> rects;
};

} // namespace

TEST_SUITE("host") {

TEST_CASE("Monitor covers: a borderless, topmost black window on every monitor but the device's, with two "
          "and three monitors; keys and left-button releases pass on, mouse moves do not; Hide destroys them") {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    HWND backdrop = WhiteWindow({0, 0, width, height});
    for (int count : {2, 3}) {
        CAPTURE(count);
        std::vector<RECT> monitors;
        for (int i = 0; i < count; ++i) {
            monitors.push_back({i * width / count, 0, (i + 1) * width / count, height});
        }
        // The device's window lies on the middle monitor.
        const RECT& deviceMonitor = monitors[1];
        HWND device = WhiteWindow(deviceMonitor);
        std::vector<UINT> passedOn;
        MonitorCovers covers([&] { return monitors; }, [&](UINT message, WPARAM) { passedOn.push_back(message); });
        covers.Show(device);
        PumpFor(500);

        REQUIRE(covers.Windows().size() == static_cast<std::size_t>(count - 1));
        std::size_t next = 0;
        for (std::size_t i = 0; i < monitors.size(); ++i) {
            if (i == 1) {
                CHECK(ScreenPixelAtMiddle(monitors[i]) == kWhite);
                continue;
            }
            HWND cover = covers.Windows()[next++];
            RECT r{};
            GetWindowRect(cover, &r);
            CHECK(SameRect(r, monitors[i]));
            CHECK(IsWindowVisible(cover));
            CHECK((GetWindowLongPtrW(cover, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
            CHECK((GetWindowLongPtrW(cover, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME | WS_BORDER)) == 0);
            CHECK(ScreenPixelAtMiddle(monitors[i]) == RGB(0, 0, 0));
        }

        HWND first = covers.Windows()[0];
        SendMessageW(first, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
        SendMessageW(first, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        SendMessageW(first, WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
        CHECK(passedOn.empty());
        SendMessageW(first, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
        SendMessageW(first, WM_KEYDOWN, 'A', 0);
        CHECK(passedOn == std::vector<UINT>{WM_LBUTTONUP, WM_KEYDOWN});

        const std::vector<HWND> windows = covers.Windows();
        covers.Hide();
        CHECK(covers.Windows().empty());
        for (HWND cover : windows) {
            CHECK_FALSE(IsWindow(cover));
        }
        DestroyWindow(device);
    }
    DestroyWindow(backdrop);
}

TEST_CASE("CSaverMain: the other monitors are covered from the device's creation until it goes; on a cover "
          "a mouse move does not end the run, a left-button release does") {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    const RECT primary{0, 0, width, height};
    struct Layout {
        std::vector<RECT> monitors;
        bool click;
    };
    const std::vector<Layout> layouts{
        {{primary, {width, 0, 2 * width, height}}, true},
        {{{-1280, 0, 0, 1024}, primary, {0, height, 1600, height + 900}}, false},
    };
    for (const auto& [monitors, click] : layouts) {
        {
            CAPTURE(monitors.size());
            FrameworkScope scope(false);
            MessageBoxCatcher boxes;
            TestSaver saver(monitors, click);
            CHECK(saver.Run() == 0);
            REQUIRE(saver.rects.size() == monitors.size() - 1);
            std::size_t next = 0;
            for (const RECT& monitor : monitors) {
                if (!SameRect(monitor, primary)) {
                    CHECK(SameRect(saver.rects[next++], monitor));
                }
            }
            for (HWND cover : saver.covers) {
                CHECK_FALSE(IsWindow(cover));
            }
            CHECK(saver.Covers().Windows().empty());
            const bool clicked = click && monitors.size() > 1;
            CHECK(saver.frames >= (clicked ? 6 : 3));
            CHECK(saver.frames <= (clicked ? 7 : 4));
        }
    }
}
}
