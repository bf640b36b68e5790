// The run sequence shared by the run modes, with effects that fail on purpose: a failing frame is
// written to the debug output and the next one is tried; a failing frame move ends the run with the
// framework's report; a failing start ends it before the main loop. However the run ends, the effect
// is shut down and the framework gives back what it changed in the system.
#include "effect/CSaverImpl.h"
#include "framework/HResultError.h"
#include "framework/Framework.h"
#include "framework/FrameworkInternal.h"
#include "host/CSaverBase.h"

#include "support/DebugOutputCatcher.h"
#include "support/FrameworkScope.h"
#include "support/MessageBoxCatcher.h"
#include "support/UserAccessibilitySettings.h"

#include <doctest/doctest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// The effect on the defaults, with failures switched on from a given frame.
struct FailingEffect : CSaverImpl {
    FailingEffect() : CSaverImpl(std::wstring()) {}
    HRESULT Start() override { return startResult; }
    void Shutdown() override {
        ++shutdowns;
        CSaverImpl::Shutdown();
    }
    void OnFrameMove(IDirect3DDevice9* device, double time, float elapsed) override {
        ++moves;
        if (moves == failingMove) {
            throw HResultError(E_OUTOFMEMORY);
        }
        CSaverImpl::OnFrameMove(device, time, elapsed);
    }
    HRESULT OnFrameRender(IDirect3DDevice9* device, double time, float elapsed) override {
        ++renders;
        if (renders == failingRender) {
            throw HResultError(D3DERR_INVALIDCALL);
        }
        return CSaverImpl::OnFrameRender(device, time, elapsed);
    }
    HRESULT startResult = S_OK;
    int failingMove = 0;
    int failingRender = 0;
    int moves = 0;
    int renders = 0;
    int shutdowns = 0;
};

// A windowed run of 320 by 240 that ends itself after `lastFrame` drawn scenes.
struct TestMode : CSaverBase {
    explicit TestMode(std::unique_ptr<FailingEffect> e) : CSaverBase(std::move(e)) {}
    FailingEffect& Failing() { return static_cast<FailingEffect&>(Effect()); }
    HRESULT CreateMainWindow() override { return FrameworkCreateWindow(L"Run sequence"); }
    HRESULT CreateMainDevice() override { return CreateDevice(true, 320, 240); }
    HRESULT OnPostRender(IDirect3DDevice9*, double, float) override {
        ++scenes;
        if (scenes == lastFrame) {
            PostQuitMessage(0);
        }
        return S_OK;
    }
    void OnFrameRender(IDirect3DDevice9* device, double time, float elapsed) override {
        // A run whose scenes stop drawing must still end, and the checks then fail.
        if (++frames > 100) {
            PostQuitMessage(0);
        }
        CSaverBase::OnFrameRender(device, time, elapsed);
    }
    int frames = 0;
    int scenes = 0;
    int lastFrame = 5;
};

} // namespace

TEST_SUITE("host") {

TEST_CASE("Run: a failing frame goes to the debug output and the next frame is drawn; exit code 0") {
    FrameworkScope scope(false);
    MessageBoxCatcher boxes;
    DebugOutputCatcher debug;
    auto effect = std::make_unique<FailingEffect>();
    effect->failingRender = 2;
    TestMode mode(std::move(effect));
    CHECK(mode.Run() == 0);
    CHECK(mode.scenes == 5);
    CHECK(mode.Failing().renders >= 5);
    CHECK(mode.Failing().shutdowns == 1);
    CHECK(MessageBoxCatcher::Boxes().empty());
    const std::wstring expected = std::wstring(L"ERROR:") + ErrorDescription(D3DERR_INVALIDCALL) + L"\r\n";
    CHECK(DebugOutputCatcher::Text() == expected);
}

TEST_CASE("Run: a failure thrown inside a callback ends the run with the framework's report, once, and "
          "exit code 1") {
    FrameworkScope scope(false);
    MessageBoxCatcher boxes;
    // A window message that the run mode fails on, sent by the third scene.
    struct FailingOnMessage : TestMode {
        using TestMode::TestMode;
        HRESULT OnPostRender(IDirect3DDevice9* device, double time, float elapsed) override {
            if (scenes == 2 && failOnMessage) {
                PostMessageW(FrameworkGetHWND(), WM_APP, 0, 0);
            }
            return TestMode::OnPostRender(device, time, elapsed);
        }
        LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool* noFurther) override {
            if (message == WM_APP) {
                throw HResultError(E_ACCESSDENIED);
            }
            return TestMode::OnMessage(window, message, wParam, lParam, noFurther);
        }
        bool failOnMessage = false;
    };
    auto effect = std::make_unique<FailingEffect>();
    FailingEffect& failing = *effect;
    FailingOnMessage mode(std::move(effect));
    SUBCASE("the effect's frame move") {
        failing.failingMove = 3;
    }
    SUBCASE("a window message") {
        mode.failOnMessage = true;
    }
    mode.lastFrame = 50;
    CHECK(mode.Run() == 1);
    CHECK(mode.scenes < 50);
    CHECK(mode.Failing().shutdowns == 1);
    CHECK(MessageBoxCatcher::Boxes().size() == 1);
}

TEST_CASE("Run: a failing start ends the run before the main loop, with the report and exit code 1") {
    FrameworkScope scope(false);
    MessageBoxCatcher boxes;
    auto effect = std::make_unique<FailingEffect>();
    effect->startResult = E_FAIL;
    TestMode mode(std::move(effect));
    CHECK(mode.Run() == 1);
    CHECK(mode.Failing().moves == 0);
    CHECK(mode.Failing().shutdowns == 1);
    CHECK(MessageBoxCatcher::Boxes().size() == 1);
}

TEST_CASE("Run: a run that fails or throws after the shortcut keys were taken gives them back") {
    FrameworkScope scope(false);
    MessageBoxCatcher boxes;
    UserAccessibilitySettings user;
    // The effect's start takes the keys as a full-screen device does when it becomes active (a real
    // full-screen device here would leave the shared virtual display slow to show the next program's
    // first frames), sees them taken, and then fails.
    struct KeysWatcher : FailingEffect {
        HRESULT Start() override {
            AllowShortcutKeys(false);
            keysTaken = !settings->AsTheUserHadThem();
            if (throws) {
                throw std::runtime_error("start");
            }
            return E_FAIL;
        }
        const UserAccessibilitySettings* settings = nullptr;
        bool throws = false;
        bool keysTaken = false;
    };
    auto effect = std::make_unique<KeysWatcher>();
    KeysWatcher& watcher = *effect;
    watcher.settings = &user;
    TestMode mode(std::move(effect));
    SUBCASE("a failing step") {
        CHECK(mode.Run() == 1);
        CHECK(MessageBoxCatcher::Boxes().size() == 1);
    }
    SUBCASE("an exception the run does not report") {
        watcher.throws = true;
        CHECK_THROWS_AS(mode.Run(), std::runtime_error);
        CHECK(MessageBoxCatcher::Boxes().empty());
    }
    CHECK(watcher.keysTaken);
    CHECK(user.AsTheUserHadThem());
    CHECK(watcher.shutdowns == 1);
}
}
