// Presenting paced by the device's progress: the next frame waits, asleep, for the one before it.
#include "framework/FramePacer.h"

#include "support/ScriptedDevice.h"

#include <doctest/doctest.h>

#include <vector>

namespace {

std::vector<DWORD> sleeps;

void WINAPI RecordSleep(DWORD milliseconds) {
    sleeps.push_back(milliseconds);
}

} // namespace

TEST_SUITE("framework") {

TEST_CASE("FramePacer: presents once the frame before is done, sleeping while it is not") {
    ScriptedDevice device;
    device.eventQueries = true;
    sleeps.clear();
    FramePacer pacer(&RecordSleep);
    // The first frame has nothing to wait for; the second waits through two "not yet"s.
    CHECK(pacer.Present(&device) == S_OK);
    device.eventPolls = {S_FALSE, S_FALSE};
    CHECK(pacer.Present(&device) == S_OK);
    CHECK(device.log == "PM??PM");
    CHECK(sleeps == std::vector<DWORD>{1, 1});

    SUBCASE("a device that stays busy is waited for no longer than the limit") {
        device.eventPolls.assign(FramePacer::kLongestWaitMs * 2, S_FALSE);
        device.log.clear();
        sleeps.clear();
        CHECK(pacer.Present(&device) == S_OK);
        CHECK(sleeps.size() == FramePacer::kLongestWaitMs);
        CHECK(device.log.back() == 'M');
    }
    SUBCASE("a lost device ends the wait, and the present says so") {
        device.eventPolls = {D3DERR_DEVICELOST};
        device.presents = {D3DERR_DEVICELOST};
        device.log.clear();
        CHECK(pacer.Present(&device) == D3DERR_DEVICELOST);
        CHECK(device.log == "PM");
    }
    SUBCASE("forgetting lets go of the device's event, and the next present starts afresh") {
        CHECK(device.event.references == 1);
        pacer.Forget();
        CHECK(device.event.references == 0);
        device.log.clear();
        device.eventPolls = {S_FALSE};
        CHECK(pacer.Present(&device) == S_OK);
        CHECK(device.log == "PM");
    }
}

TEST_CASE("FramePacer: a device without event queries presents unpaced") {
    ScriptedDevice device;
    sleeps.clear();
    FramePacer pacer(&RecordSleep);
    device.presents = {S_OK, D3DERR_DEVICELOST};
    CHECK(pacer.Present(&device) == S_OK);
    CHECK(pacer.Present(&device) == D3DERR_DEVICELOST);
    CHECK(device.presentCalls == 2);
    CHECK(sleeps.empty());
}

} // TEST_SUITE
