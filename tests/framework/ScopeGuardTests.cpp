// The scope guard with a real window: EnableWindow undone on every way out of a scope.
#include "framework/ScopeGuard.h"

#include <doctest/doctest.h>

#include <windows.h>

#include <stdexcept>

namespace {

// A real top-level window that the guard disables and enables again.
struct DisabledWindow {
    HWND window = CreateWindowExW(0, L"STATIC", L"guarded", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    DisabledWindow() { REQUIRE(window != nullptr); }
    DisabledWindow(const DisabledWindow&) = delete;
    DisabledWindow& operator=(const DisabledWindow&) = delete;
    ~DisabledWindow() { DestroyWindow(window); }

    auto Disable() {
        EnableWindow(window, FALSE);
        return ScopeExit([w = window] { EnableWindow(w, TRUE); });
    }
};

} // namespace

TEST_SUITE("framework") {

    TEST_CASE("ScopeExit: the window is enabled again at a normal end and when an exception unwinds") {
        DisabledWindow w;
        {
            auto enableAgain = w.Disable();
            CHECK_FALSE(IsWindowEnabled(w.window));
        }
        CHECK(IsWindowEnabled(w.window));

        CHECK_THROWS_AS(
            [&] {
                auto enableAgain = w.Disable();
                throw std::runtime_error("a failing step");
            }(),
            std::runtime_error);
        CHECK(IsWindowEnabled(w.window));
    }

    TEST_CASE("ScopeExit: dismissed it does nothing; moved it runs once, from its new owner") {
        DisabledWindow w;
        {
            auto enableAgain = w.Disable();
            enableAgain.Dismiss();
        }
        CHECK_FALSE(IsWindowEnabled(w.window));

        int runs = 0;
        {
            ScopeExit first([&] { ++runs; });
            {
                ScopeExit second(std::move(first));
                CHECK(runs == 0);
            }
            CHECK(runs == 1);
        }
        CHECK(runs == 1);
    }

} // TEST_SUITE
