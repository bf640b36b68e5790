// Owning handle wrappers: release once, on reset, move and destruction.
#include "framework/UniqueHandle.h"

#include <doctest/doctest.h>

namespace {

int closed = 0;

struct CountingTraits {
    using Handle = int;
    static Handle Invalid() { return 0; }
    static void Close(Handle) { ++closed; }
};

using Counted = UniqueHandleOf<CountingTraits>;

bool IsOpen(HANDLE h) {
    DWORD flags = 0;
    return GetHandleInformation(h, &flags) != 0;
}

} // namespace

TEST_SUITE("framework") {

TEST_CASE("UniqueHandle: closes once, on reset and at the end of its scope") {
    closed = 0;
    {
        Counted a(5);
        CHECK(static_cast<bool>(a));
        a.reset(6);
        CHECK(closed == 1);
        a.reset();
        CHECK(closed == 2);
        a.reset();
        CHECK(closed == 2);
        CHECK_FALSE(static_cast<bool>(a));
        a.reset(7);
    }
    CHECK(closed == 3);
}

TEST_CASE("UniqueHandle: moving hands the handle over without closing it") {
    closed = 0;
    Counted a(5);
    Counted b(std::move(a));
    CHECK(a.get() == 0);
    CHECK(b.get() == 5);
    Counted c(9);
    c = std::move(b);
    CHECK(closed == 1); // c's old handle 9
    CHECK(c.get() == 5);
    int raw = c.release();
    CHECK(raw == 5);
    CHECK(closed == 1);
}

TEST_CASE("UniqueHandle: a real kernel handle is closed") {
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    REQUIRE(event != nullptr);
    {
        UniqueHandle owned(event);
        CHECK(IsOpen(event));
    }
    CHECK_FALSE(IsOpen(event));
}
}
