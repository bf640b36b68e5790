// The run modes inside the test program, with real windows and devices: the preview's drawing in a
// child window, the settings run's window and a real resize, a failing frame, and the input rules.
#include "effect/CSaverImpl.h"
#include "framework/Framework.h"
#include "host/CPreviewMain.h"
#include "host/CSaverMain.h"
#include "host/CSettingMain.h"

#include "support/FrameworkScope.h"
#include "support/MessageBoxCatcher.h"
#include "support/SurfacePixels.h"

#include <doctest/doctest.h>

#include <cmath>
#include <stdexcept>
#include <vector>

namespace {

constexpr UINT kDestroySelf = WM_APP + 1;
constexpr UINT kResize = WM_APP + 2;

CSaverImpl& Impl(CSaverBase& mode) {
    return static_cast<CSaverImpl&>(mode.Effect());
}

// Pixels brighter than black in the middle third of a picture.
int LitInMiddle(const SurfacePixels& p) {
    int lit = 0;
    for (UINT y = p.height / 3; y < 2 * p.height / 3; ++y) {
        for (UINT x = p.width / 3; x < 2 * p.width / 3; ++x) {
            lit += p.Sum(x, y) > 0;
        }
    }
    return lit;
}

bool QuitPosted() {
    MSG message;
    return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kDestroySelf) {
        DestroyWindow(window);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// The display settings' little monitor: a 152 by 112 window that destroys itself on request.
HWND MakePreviewParent() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ParentProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VitrelleTestPreviewParent";
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 50, 50, 152, 112,
                           nullptr, nullptr, windowClass.hInstance, nullptr);
}

struct TestPreview : CPreviewMain {
    explicit TestPreview(HWND parent) : CPreviewMain(parent), parent(parent) {}
    HRESULT OnPostRender(IDirect3DDevice9* device, double, float) override {
        if (++frames == 4) {
            seen = ReadBackBuffer(device);
            PostMessageW(parent, kDestroySelf, 0, 0);
        }
        return S_OK;
    }
    HWND parent;
    int frames = 0;
    SurfacePixels seen;
};

// The settings run, resized through its real window after two frames and ended after five.
struct TestSettings : CSettingMain {
    TestSettings() : CSettingMain(nullptr) { Impl(*this).SpeedShake = 0.0; }

    HRESULT OnDeviceReset(IDirect3DDevice9* device, const D3DSURFACE_DESC* desc) override {
        ++resets;
        return CSettingMain::OnDeviceReset(device, desc);
    }
    void OnDeviceLost() override {
        ++losses;
        CSettingMain::OnDeviceLost();
    }
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool* noFurther) override {
        if (message == kResize) {
            RECT outer{0, 0, 640, 480};
            AdjustWindowRect(&outer, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE);
            SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                         SWP_NOMOVE | SWP_NOZORDER);
            return 0;
        }
        return CSettingMain::OnMessage(window, message, wParam, lParam, noFurther);
    }
    HRESULT OnPreRender(IDirect3DDevice9*, double, float) override {
        // One scene fails early: it must be ended all the same, and the next frame must draw.
        return frames == failingFrame ? E_FAIL : S_OK;
    }
    void OnFrameRender(IDirect3DDevice9* device, double time, float elapsed) override {
        // A run whose scenes stop drawing must still end, and the checks then fail.
        if (++frames > 100) {
            PostQuitMessage(0);
        }
        CSettingMain::OnFrameRender(device, time, elapsed);
    }
    HRESULT OnPostRender(IDirect3DDevice9* device, double, float) override {
        CSaverImpl& effect = Impl(*this);
        if (frames == 2) {
            RECT client{};
            GetClientRect(FrameworkGetHWND(), &client);
            firstClient = client;
            piecesBefore = effect.Simulation().Pieces;
            phaseBefore = effect.Simulation().LightPhase;
            PostMessageW(FrameworkGetHWND(), kResize, 0, 0);
        } else if (frames >= 3 && !afterResize.width) {
            afterResize = ReadBackBuffer(device);
            atlasAfterResize = effect.Renderer().AtlasTexture() != nullptr;
            piecesAfter = effect.Simulation().Pieces;
            phaseAfter = effect.Simulation().LightPhase;
        } else if (frames == failingFrame + 1) {
            afterFailure = ReadBackBuffer(device);
            PostQuitMessage(0);
        }
        return S_OK;
    }

    int frames = 0;
    int failingFrame = 5;
    int resets = 0;
    int losses = 0;
    RECT firstClient{};
    std::vector<Piece> piecesBefore;
    std::vector<Piece> piecesAfter;
    double phaseBefore = 0.0;
    double phaseAfter = 0.0;
    bool atlasAfterResize = false;
    SurfacePixels afterResize;
    SurfacePixels afterFailure;
};

// How a settings run for a parent window ends: after two frames, or at once by a step after the
// parent was disabled that fails or throws.
enum class Ending { Normal, FailingStep, Exception };

// A settings run for the window that asked for it; it looks at both windows and ends as told.
struct TestSettingsWithParent : CSettingMain {
    TestSettingsWithParent(HWND parent, Ending ending) : CSettingMain(parent), ending(ending) {}
    HRESULT InitSaver() override {
        REQUIRE(CSettingMain::InitSaver() == S_OK);
        if (ending == Ending::Normal) {
            return S_OK;
        }
        parentEnabledWhileRunning = IsWindowEnabled(Parent()) != FALSE;
        if (ending == Ending::Exception) {
            throw std::runtime_error("a later step");
        }
        return E_FAIL;
    }
    HRESULT OnPostRender(IDirect3DDevice9*, double, float) override {
        if (++frames == 2) {
            parentEnabledWhileRunning = IsWindowEnabled(Parent()) != FALSE;
            const LONG_PTR exStyle = GetWindowLongPtrW(FrameworkGetHWND(), GWL_EXSTYLE);
            topmostWhileRunning = (exStyle & WS_EX_TOPMOST) != 0;
            PostQuitMessage(0);
        }
        return S_OK;
    }
    Ending ending;
    int frames = 0;
    bool parentEnabledWhileRunning = true;
    bool topmostWhileRunning = false;
};

} // namespace

TEST_SUITE("host") {

TEST_CASE("CPreviewMain: draws into a child of a 152 by 112 window and ends with 0 when it goes") {
    FrameworkScope scope(false);
    MessageBoxCatcher boxes;
    HWND parent = MakePreviewParent();
    REQUIRE(parent != nullptr);
    int code = -1;
    {
        TestPreview preview(parent);
        code = preview.Run();
        CHECK(preview.frames >= 4);
        CHECK(preview.seen.width == 152);
        CHECK(preview.seen.height == 112);
        CHECK(LitInMiddle(preview.seen) > 500);
        // The preview's own small chamber, whatever the settings file says.
        CHECK(Impl(preview).TriangleSize == 32);
        CHECK(Impl(preview).PieceCount == 20);
    }
    CHECK(code == 0);
    CHECK_FALSE(IsWindow(parent));
    CHECK(MessageBoxCatcher::Boxes().empty());
}

TEST_CASE("CPreviewMain: a parent that is no window ends the preview at once with 0") {
    FrameworkScope scope(false);
    CPreviewMain preview(nullptr);
    CHECK(preview.Run() == 0);
    CHECK(FrameworkGetHWND() == nullptr);
}

TEST_CASE("CSettingMain: an 800 by 600 window; a real resize rebuilds the device resources and the "
          "pieces, phases and atlas come back in the next frame; a failed frame is followed by a drawn one") {
    FrameworkScope scope(false);
    MessageBoxCatcher boxes;
    TestSettings settings;
    const int code = settings.Run();
    CHECK(code == 0);
    CHECK(MessageBoxCatcher::Boxes().empty());
    CHECK(settings.firstClient.right == 800);
    CHECK(settings.firstClient.bottom == 600);

    CHECK(settings.resets == 2);
    CHECK(settings.losses >= 1);
    CHECK(settings.afterResize.width == 640);
    CHECK(settings.afterResize.height == 480);
    CHECK(LitInMiddle(settings.afterResize) > 10000);
    CHECK(settings.atlasAfterResize);
    REQUIRE(settings.piecesAfter.size() == settings.piecesBefore.size());
    REQUIRE_FALSE(settings.piecesAfter.empty());
    for (std::size_t i = 0; i < settings.piecesAfter.size(); ++i) {
        CHECK(settings.piecesAfter[i].X == settings.piecesBefore[i].X);
        CHECK(settings.piecesAfter[i].Cell.top == settings.piecesBefore[i].Cell.top);
    }
    CHECK(settings.phaseAfter > settings.phaseBefore);

    CHECK(settings.frames > settings.failingFrame);
    CHECK(LitInMiddle(settings.afterFailure) > 10000);
}

TEST_CASE("CSettingMain: with a parent window it is topmost; the parent stays disabled until the run "
          "ends, however it ends") {
    FrameworkScope scope(false);
    MessageBoxCatcher boxes;
    HWND parent = MakePreviewParent();
    REQUIRE(parent != nullptr);
    SUBCASE("a normal end") {
        TestSettingsWithParent settings(parent, Ending::Normal);
        CHECK(settings.Run() == 0);
        CHECK_FALSE(settings.parentEnabledWhileRunning);
        CHECK(settings.topmostWhileRunning);
        // Enabled again by the run's end, not by the run mode going away.
        CHECK(IsWindowEnabled(parent));
    }
    SUBCASE("a later step fails") {
        TestSettingsWithParent settings(parent, Ending::FailingStep);
        CHECK(settings.Run() == 1);
        CHECK_FALSE(settings.parentEnabledWhileRunning);
        CHECK(IsWindowEnabled(parent));
        CHECK(MessageBoxCatcher::Boxes().size() == 1);
    }
    SUBCASE("a later step throws") {
        TestSettingsWithParent settings(parent, Ending::Exception);
        CHECK_THROWS_AS(settings.Run(), std::runtime_error);
        CHECK_FALSE(settings.parentEnabledWhileRunning);
        CHECK(IsWindowEnabled(parent));
    }
    DestroyWindow(parent);
}

TEST_CASE("CSaverMain: a left-button release or a key-down ends the run; other input does not") {
    DrainMessages();
    QuitPosted();
    CSaverMain saver;
    bool noFurther = false;
    for (UINT message : {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MBUTTONDOWN, WM_MBUTTONUP,
                         WM_MOUSEMOVE, WM_LBUTTONDBLCLK}) {
        CAPTURE(message);
        saver.OnMessage(nullptr, message, 0, 0, &noFurther);
        CHECK_FALSE(QuitPosted());
    }
    saver.OnKeyboard('A', false, false);
    CHECK_FALSE(QuitPosted());
    saver.OnKeyboard(VK_F1, true, false);
    CHECK_FALSE(QuitPosted());

    saver.OnMessage(nullptr, WM_LBUTTONUP, 0, 0, &noFurther);
    CHECK(QuitPosted());
    saver.OnKeyboard('A', true, false);
    CHECK(QuitPosted());
    saver.OnKeyboard(VK_SPACE, true, true);
    CHECK(QuitPosted());
    CHECK_FALSE(noFurther);
    CHECK(saver.DialogClosedTick() == 0);
}

TEST_CASE("CSaverBase: the background is never erased under a presented frame") {
    CSaverMain saver;
    CSettingMain settings(nullptr);
    for (CSaverBase* mode : {static_cast<CSaverBase*>(&saver), static_cast<CSaverBase*>(&settings)}) {
        bool noFurther = false;
        CHECK(mode->OnMessage(nullptr, WM_ERASEBKGND, 0, 0, &noFurther) == 1);
        CHECK(noFurther);
    }
}
}
