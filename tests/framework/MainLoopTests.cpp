// The main loop with real windows and devices: frames, clock, pauses, lost devices and messages.
#include "framework/Framework.h"
#include "framework/FrameworkInternal.h"
#include "support/ClockedFrameworkScope.h"
#include "support/FrameworkScope.h"
#include "support/ScriptedDevice.h"

#include <doctest/doctest.h>

#include <functional>
#include <vector>

namespace {

struct Frame {
    double time = 0.0;
    float elapsed = 0.0f;
    bool rendered = false;
    size_t sleepsBefore = 0;
};

// Drives a run of the loop: the script is called at each frame move with the frame's number.
struct LoopRun {
    std::function<void(int)> script;
    std::vector<Frame> frames;
    int renders = 0;
    int maxFrames = 3000;
    FakeClock* clock = nullptr;
    std::vector<std::pair<UINT, bool>> keys;
    std::vector<bool> altBits;

    void Install() {
        FrameworkSetFrameMoveCallback(Move, this);
        FrameworkSetFrameRenderCallback(Render, this);
        FrameworkSetKeyboardCallback(Key, this);
    }
    size_t RenderedBetween(size_t first, size_t last) const {
        size_t n = 0;
        for (size_t i = first; i <= last && i < frames.size(); ++i) {
            n += frames[i].rendered ? 1 : 0;
        }
        return n;
    }

    static void CALLBACK Move(IDirect3DDevice9*, double time, float elapsed, void* context) {
        auto* run = static_cast<LoopRun*>(context);
        Frame frame{time, elapsed, false, run->clock != nullptr ? run->clock->sleeps.size() : 0};
        run->frames.push_back(frame);
        const int index = static_cast<int>(run->frames.size()) - 1;
        if (run->script) {
            run->script(index);
        }
        if (index >= run->maxFrames) {
            PostMessageW(FrameworkGetHWND(), WM_CLOSE, 0, 0);
        }
    }
    static void CALLBACK Render(IDirect3DDevice9* device, double, float, void* context) {
        auto* run = static_cast<LoopRun*>(context);
        ++run->renders;
        if (!run->frames.empty()) {
            run->frames.back().rendered = true;
        }
        device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(40, 90, 160), 1.0f, 0);
    }
    static void CALLBACK Key(UINT key, bool down, bool alt, void* context) {
        auto* run = static_cast<LoopRun*>(context);
        run->keys.emplace_back(key, down);
        run->altBits.push_back(alt);
    }
};

// A loop run on a fake clock: each frame notes how many waits came before it.
struct ClockedLoopRun : ClockedFrameworkScope {
    LoopRun run;
    ClockedLoopRun() { run.clock = &clock; }
    // Installs the run's callbacks, makes a windowed device of the given size and runs the loop.
    void RunLoop(UINT width, UINT height) {
        run.Install();
        REQUIRE(FrameworkCreateDevice(0, true, width, height) == S_OK);
        REQUIRE(FrameworkMainLoop() == S_OK);
    }
};

} // namespace

TEST_SUITE("framework") {

TEST_CASE("FrameworkMainLoop: renders continuously with advancing time until a real Escape closes it") {
    FrameworkScope scope;
    LoopRun run;
    bool escapeSeen = false;
    run.script = [&](int frame) {
        if (frame == 20) {
            SetForegroundWindow(FrameworkGetHWND());
            PressKey(VK_ESCAPE);
        }
    };
    run.Install();
    REQUIRE(FrameworkCreateWindow(L"Demo") == S_OK);
    REQUIRE(FrameworkCreateDevice(0, true, 320, 240) == S_OK);
    HWND window = FrameworkGetHWND();
    CHECK(FrameworkMainLoop() == S_OK);
    for (const auto& [key, down] : run.keys) {
        escapeSeen = escapeSeen || (key == VK_ESCAPE && down);
    }
    CHECK(escapeSeen);
    CHECK(run.frames.size() > 20);
    CHECK(run.frames.size() < static_cast<size_t>(run.maxFrames));
    CHECK(run.renders == static_cast<int>(run.frames.size()));
    CHECK(run.frames.back().time > run.frames.front().time);
    for (size_t i = 1; i < run.frames.size(); ++i) {
        CHECK(run.frames[i].time >= run.frames[i - 1].time);
    }
    CHECK(FrameworkGetTime() == doctest::Approx(run.frames.back().time));
    CHECK_FALSE(IsWindow(window));
    FrameworkShutdown(0);
    CHECK(FrameworkGetExitCode() == 0);
}

TEST_CASE(
    "FrameworkMainLoop: refuses to run again from inside itself, and without a device after a failed try") {
    FrameworkScope scope;
    LoopRun run;
    HRESULT nested = S_OK;
    run.script = [&](int frame) {
        if (frame == 1) {
            nested = FrameworkMainLoop();
            PostMessageW(FrameworkGetHWND(), WM_CLOSE, 0, 0);
        }
    };
    run.Install();
    REQUIRE(FrameworkCreateDevice(0, true, 200, 200) == S_OK);
    CHECK(FrameworkMainLoop() == S_OK);
    CHECK(nested == E_FAIL);
    CHECK(FrameworkGetExitCode() == 1);
}

TEST_CASE_FIXTURE(ClockedLoopRun,
    "FrameworkMainLoop: minimising stops time and rendering; restoring resumes without the gap") {
    run.script = [&](int frame) {
        HWND window = FrameworkGetHWND();
        clock.Advance(0.1);
        if (frame == 5) {
            ShowWindow(window, SW_MINIMIZE);
            clock.Advance(100.0);
        }
        if (frame == 9) {
            ShowWindow(window, SW_RESTORE);
        }
        if (frame == 12) {
            PostMessageW(window, WM_CLOSE, 0, 0);
        }
    };
    RunLoop(320, 240);
    REQUIRE(run.frames.size() >= 12);
    // The script advances the clock after each frame has read it, so frame 5 stopped the clock
    // 0.1 s after its own time, and frame 9 (restored during its move) started it again.
    const double atMinimise = run.frames[5].time;
    CHECK(run.RenderedBetween(0, 4) == 5);
    CHECK(run.RenderedBetween(5, 8) == 0); // minimised during frame 5's move
    CHECK(run.frames[9].rendered);
    for (size_t i = 6; i <= 10; ++i) {
        CHECK(run.frames[i].time == doctest::Approx(atMinimise + 0.1));
        CHECK(run.frames[i].elapsed == 0.0f);
    }
    for (size_t i = 6; i <= 9; ++i) {
        CHECK(run.frames[i].sleepsBefore == run.frames[i - 1].sleepsBefore + 1); // one 50 ms wait
    }
    CHECK(run.frames[10].sleepsBefore == run.frames[9].sleepsBefore);
    CHECK(run.frames[11].elapsed == doctest::Approx(0.1f));
    CHECK(run.frames[11].time == doctest::Approx(atMinimise + 0.2));
    for (DWORD sleep : clock.sleeps) {
        CHECK(sleep == 50);
    }
}

TEST_CASE_FIXTURE(ClockedLoopRun,
    "FrameworkMainLoop: Pause pressed twice stops and restarts the clock, rendering goes on") {
    run.script = [&](int frame) {
        HWND window = FrameworkGetHWND();
        clock.Advance(0.1);
        if (frame == 3 || frame == 7) {
            SendMessageW(window, WM_KEYDOWN, VK_PAUSE, 1);
        }
        if (frame == 10) {
            PostMessageW(window, WM_CLOSE, 0, 0);
        }
    };
    RunLoop(200, 200);
    REQUIRE(run.frames.size() >= 10);
    CHECK(run.RenderedBetween(0, 10) == 11);
    for (size_t i = 4; i <= 8; ++i) {
        CHECK(run.frames[i].time == doctest::Approx(run.frames[3].time + 0.1));
        CHECK(run.frames[i].elapsed == 0.0f);
    }
    CHECK(run.frames[9].time == doctest::Approx(run.frames[3].time + 0.2));
    CHECK(run.frames[9].elapsed == doctest::Approx(0.1f));
    // Time stopped by the key does not make the loop wait: only paused rendering does.
    CHECK(clock.sleeps.empty());
}

TEST_CASE("FrameworkPause: unmatched releases leave both counts at zero") {
    FrameworkScope scope;
    auto counts = [] {
        return GetFrameworkState().Timing().Update(
            [](TimingState& t) { return std::pair(t.pauseTimeCount, t.pauseRenderingCount); });
    };
    FrameworkPause(false, false);
    FrameworkPause(false, false);
    CHECK(counts() == std::pair(0, 0));
    FrameworkPause(true, true);
    CHECK(GetFrameworkState().Timing().Get(&TimingState::renderingPaused));
    CHECK(GetFrameworkState().Timing().Get(&TimingState::timePaused));
    FrameworkPause(false, false);
    CHECK(counts() == std::pair(0, 0));
    CHECK_FALSE(GetFrameworkState().Timing().Get(&TimingState::renderingPaused));
    CHECK_FALSE(GetFrameworkState().Timing().Get(&TimingState::timePaused));
}

TEST_CASE_FIXTURE(ClockedLoopRun, "FrameworkMainLoop: an inactive application waits 50 ms per pass") {
    run.script = [&](int frame) {
        HWND window = FrameworkGetHWND();
        if (frame == 2) {
            SendMessageW(window, WM_ACTIVATEAPP, FALSE, 0);
        }
        if (frame == 5) {
            SendMessageW(window, WM_ACTIVATEAPP, TRUE, 0);
        }
        if (frame == 8) {
            PostMessageW(window, WM_CLOSE, 0, 0);
        }
    };
    RunLoop(200, 200);
    REQUIRE(run.frames.size() >= 8);
    CHECK(run.frames[2].sleepsBefore == 0);
    CHECK(run.frames[5].sleepsBefore == 3); // frames 3, 4 and 5 came after a wait each
    CHECK(run.frames[8].sleepsBefore == 3);
    CHECK(run.RenderedBetween(0, 8) == 9); // a window that lost activation still renders
}

} // TEST_SUITE
