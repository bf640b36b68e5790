// Scroll bar: thumb size and place, paging, dragging and the arrows' auto-repeat.
#include "gui/CGuiScrollBar.h"
#include "support/DialogProbe.h"

#include <doctest/doctest.h>

namespace {

// A free-standing bar at (0, 0), 16 wide and 116 high: arrows of 16, a track of 84 from y 16 to 100.
struct BarProbe : DialogProbe {
    CGuiScrollBar bar{&dialog};
    BarProbe(int items, int page) {
        dialog.ApplyDefaultElements(&bar, ControlType::ScrollBar);
        bar.SetLocation(0, 0);
        bar.SetSize(16, 116);
        bar.SetRangeLimits(0, items);
        bar.SetPageSize(page);
    }
    bool Down(int x, int y) { return bar.OnMouseMessage(WM_LBUTTONDOWN, {x, y}, MK_LBUTTON, 0); }
    bool Up(int x, int y) { return bar.OnMouseMessage(WM_LBUTTONUP, {x, y}, 0, 0); }
    bool Move(int x, int y) { return bar.OnMouseMessage(WM_MOUSEMOVE, {x, y}, MK_LBUTTON, 0); }
};

int ThumbHeight(const CGuiScrollBar& bar) { return bar.GetThumbRect().bottom - bar.GetThumbRect().top; }

} // namespace

TEST_SUITE("gui") {

TEST_CASE("ScrollBar: layout of arrows, track and thumb") {
    BarProbe probe(20, 5);
    CHECK(probe.bar.GetUpRect().bottom == 16);
    CHECK(probe.bar.GetDownRect().top == 100);
    CHECK(probe.bar.GetTrackRect().top == 16);
    CHECK(probe.bar.GetTrackRect().bottom == 100);
    CHECK(ThumbHeight(probe.bar) == 84 * 5 / 20);
    CHECK(probe.bar.GetThumbRect().top == 16);
    probe.bar.ScrollBy(15); // the last page
    CHECK(probe.bar.GetPosition() == 15);
    CHECK(probe.bar.GetThumbRect().bottom == 100);
    probe.bar.ScrollBy(100);
    CHECK(probe.bar.GetPosition() == 15);
    probe.bar.ScrollBy(-100);
    CHECK(probe.bar.GetPosition() == 0);
}

TEST_CASE("ScrollBar: the thumb is never shorter than 8 pixels") {
    BarProbe probe(1000, 2);
    CHECK(ThumbHeight(probe.bar) == 8);
    probe.bar.ScrollBy(998);
    CHECK(probe.bar.GetThumbRect().bottom == 100);
}

TEST_CASE("ScrollBar: a range not larger than the page shows no thumb and is drawn disabled") {
    BarProbe probe(6, 6);
    CHECK_FALSE(probe.bar.IsThumbShown());
    CHECK(ThumbHeight(probe.bar) == 0);
    CHECK(probe.bar.CurrentState() == ControlState::Disabled);
    probe.bar.ScrollBy(3);
    CHECK(probe.bar.GetPosition() == 0);
    probe.bar.SetRangeLimits(0, 7);
    CHECK(probe.bar.IsThumbShown());
    CHECK(probe.bar.CurrentState() == ControlState::Normal);
}

TEST_CASE("ScrollBar: EnsureVisible scrolls just enough") {
    BarProbe probe(20, 5);
    probe.bar.EnsureVisible(12);
    CHECK(probe.bar.GetPosition() == 8);
    probe.bar.EnsureVisible(10);
    CHECK(probe.bar.GetPosition() == 8);
    probe.bar.EnsureVisible(3);
    CHECK(probe.bar.GetPosition() == 3);
    probe.bar.EnsureVisible(500);
    CHECK(probe.bar.GetPosition() == 15);
    probe.bar.EnsureVisible(-4);
    CHECK(probe.bar.GetPosition() == 0);
}

TEST_CASE("ScrollBar: a click on the track pages by one less than the page") {
    BarProbe probe(20, 5);
    CHECK(probe.Down(8, 90)); // below the thumb
    CHECK(probe.bar.GetPosition() == 4);
    CHECK_FALSE(probe.Up(8, 90));
    CHECK(probe.Down(8, 17)); // above the thumb
    CHECK(probe.bar.GetPosition() == 0);
    probe.Up(8, 17);
    CHECK_FALSE(probe.Down(40, 50)); // beside the bar
}

TEST_CASE("ScrollBar: dragging the thumb picks the nearest position") {
    BarProbe probe(20, 5); // thumb 21 high, 63 pixels of travel for 15 positions
    const int grabY = probe.bar.GetThumbRect().top + 5;
    CHECK(probe.Down(8, grabY));
    CHECK(probe.bar.IsDragging());
    CHECK(probe.Move(8, grabY + 21)); // 21 pixels: 5 positions
    CHECK(probe.bar.GetPosition() == 5);
    CHECK(probe.bar.GetThumbRect().top == 16 + 21);
    probe.Move(8, grabY + 500);
    CHECK(probe.bar.GetPosition() == 15);
    CHECK(probe.bar.GetThumbRect().bottom == 100);
    probe.Up(8, grabY + 500);
    CHECK_FALSE(probe.bar.IsDragging());
    CHECK_FALSE(probe.Move(8, grabY));
}

TEST_CASE("ScrollBar: a held arrow steps at once, after 0.33 s, then every 0.05 s") {
    BarProbe probe(20, 5);
    GuiTestPlatform::SetTime(10.0);
    CHECK(probe.Down(8, 108)); // down arrow
    CHECK(probe.bar.GetPosition() == 1);
    probe.bar.UpdateArrowRepeat(10.30);
    CHECK(probe.bar.GetPosition() == 1);
    probe.bar.UpdateArrowRepeat(10.34);
    CHECK(probe.bar.GetPosition() == 2);
    probe.bar.UpdateArrowRepeat(10.38);
    CHECK(probe.bar.GetPosition() == 2);
    probe.bar.UpdateArrowRepeat(10.40);
    CHECK(probe.bar.GetPosition() == 3);
    probe.bar.UpdateArrowRepeat(11.00); // one step per frame at most
    CHECK(probe.bar.GetPosition() == 4);
    // Off the arrow the repeat pauses; back on it, it goes on.
    probe.Move(8, 50);
    probe.bar.UpdateArrowRepeat(12.00);
    CHECK(probe.bar.GetPosition() == 4);
    probe.Move(8, 108);
    probe.bar.UpdateArrowRepeat(12.10);
    CHECK(probe.bar.GetPosition() == 5);
    probe.Up(8, 108);
    probe.bar.UpdateArrowRepeat(20.0);
    CHECK(probe.bar.GetPosition() == 5);
}

TEST_CASE("ScrollBar: the up arrow repeats upward and stops at the start") {
    BarProbe probe(20, 5);
    probe.bar.ScrollBy(2);
    GuiTestPlatform::SetTime(1.0);
    probe.Down(8, 4);
    CHECK(probe.bar.GetPosition() == 1);
    probe.bar.UpdateArrowRepeat(1.34);
    CHECK(probe.bar.GetPosition() == 0);
    probe.bar.UpdateArrowRepeat(1.40);
    CHECK(probe.bar.GetPosition() == 0);
}

} // TEST_SUITE
