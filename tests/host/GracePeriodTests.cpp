// The grace period after the settings dialog closes, across the wrap of the millisecond tick count.
#include "host/GracePeriod.h"

#include <doctest/doctest.h>

TEST_SUITE("host") {

TEST_CASE("Grace period: input ends the saver only more than 1000 ms after the dialog closed") {
    struct Case {
        DWORD closed, now;
        bool over;
    };
    const Case cases[] = {
        {5000, 5000, false},
        {5000, 5999, false},
        {5000, 6000, false},
        {5000, 6001, true},
        {5000, 90000000, true},
        // Closed just before the count wraps: still in the grace period after the wrap, over after it.
        {0xFFFFFF00u, 0x00000100u, false},
        {0xFFFFFF00u, 0x000002E8u, false},
        {0xFFFFFF00u, 0x000002E9u, true},
        {0xFFFFFF00u, 0x00010000u, true},
        // Closed right after a wrap.
        {0x00000010u, 0x00000020u, false},
        {0x00000010u, 0x00000400u, true},
    };
    for (const Case& c : cases) {
        CAPTURE(c.closed);
        CAPTURE(c.now);
        CHECK(GracePeriodOver(true, c.closed, c.now) == c.over);
    }
}

TEST_CASE("Grace period: a dialog never closed does not hold input back, whatever the tick count") {
    CHECK(GracePeriodOver(false, 0, 0));
    CHECK(GracePeriodOver(false, 0, 500));
    CHECK(GracePeriodOver(false, 0, 0xFFFFFFFFu));
}

}
