// Runs a function when a scope ends, however it ends: for paired calls that have no handle of their
// own (enable and disable a window, begin and end a scene, pause and resume).
#pragma once

#include <type_traits>
#include <utility>

// The function runs once, at the end of the scope, unless the guard was dismissed or moved from.
// It must not throw: it may run while an exception unwinds.
template <typename Function> class ScopeExit {
public:
    explicit ScopeExit(Function function) noexcept(std::is_nothrow_move_constructible_v<Function>)
        : function_(std::move(function)) {}
    ScopeExit(ScopeExit&& other) noexcept(std::is_nothrow_move_constructible_v<Function>)
        : function_(std::move(other.function_)), armed_(std::exchange(other.armed_, false)) {}
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    ScopeExit& operator=(ScopeExit&&) = delete;
    ~ScopeExit() {
        if (armed_) {
            function_();
        }
    }

    // The scope's end will not run the function.
    void Dismiss() noexcept { armed_ = false; }

private:
    Function function_;
    bool armed_ = true;
};

template <typename Function> ScopeExit(Function) -> ScopeExit<Function>;
