// The framework's clock: stopped intervals do not count, elapsed time is per step.
#include "framework/FrameworkTimer.h"
#include "support/FakeClock.h"

#include <doctest/doctest.h>

TEST_SUITE("framework") {

TEST_CASE("FrameworkTimer: time runs from the reset and elapsed is measured per step") {
    FakeClock clock;
    FrameworkTimer timer(clock);
    timer.Reset();
    clock.Advance(0.5);
    TimeValues v = timer.GetTimeValues();
    CHECK(v.time == doctest::Approx(0.5));
    CHECK(v.elapsed == doctest::Approx(0.5f));
    CHECK(v.absoluteTime == doctest::Approx(5.5));
    clock.Advance(0.25);
    v = timer.GetTimeValues();
    CHECK(v.time == doctest::Approx(0.75));
    CHECK(v.elapsed == doctest::Approx(0.25f));
}

TEST_CASE("FrameworkTimer: a stopped interval counts neither as time nor as elapsed time") {
    FakeClock clock;
    FrameworkTimer timer(clock);
    timer.Reset();
    clock.Advance(1.0);
    timer.GetTimeValues();
    timer.Stop();
    clock.Advance(30.0);
    TimeValues v = timer.GetTimeValues();
    CHECK(v.time == doctest::Approx(1.0));
    CHECK(v.elapsed == 0.0f);
    timer.Stop(); // a second stop keeps the first stop time
    clock.Advance(5.0);
    timer.Start();
    clock.Advance(0.1);
    v = timer.GetTimeValues();
    CHECK(v.time == doctest::Approx(1.1));
    CHECK(v.elapsed == doctest::Approx(0.1f));
}

TEST_CASE("FrameworkTimer: a clock running backwards gives no negative elapsed time") {
    FakeClock clock;
    FrameworkTimer timer(clock);
    timer.Reset();
    clock.now -= 1000;
    CHECK(timer.GetTimeValues().elapsed == 0.0f);
}

} // TEST_SUITE
