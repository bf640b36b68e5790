// Slider: layout, track clicks, thumb drags, keys, wheel and range rules.
#include "gui/CGuiSlider.h"
#include "support/DialogProbe.h"

#include <doctest/doctest.h>

#include <climits>

namespace {

// A slider at (10, 10), 200 wide and 20 high, over 0..100 at 50.
struct SliderProbe : DialogProbe {
    CGuiSlider* slider = nullptr;
    explicit SliderProbe(int min = 0, int max = 100, int value = 50) {
        dialog.AddSlider(9, 10, 10, 200, 20, min, max, value, &slider);
    }
    int ThumbCentre() const { return 10 + slider->GetThumbX(); }
};

} // namespace

TEST_SUITE("gui") {

TEST_CASE("Slider: layout puts the thumb centre at the value's place") {
    SliderProbe probe;
    CHECK(probe.slider->GetThumbX() == 100);
    const RECT thumb = probe.slider->GetThumbRect();
    CHECK(thumb.left == 10 - 10 + 100);
    CHECK(thumb.right - thumb.left == 20);
    probe.slider->SetValue(0);
    CHECK(probe.slider->GetThumbRect().left == 0); // overhangs the left end by half its width
    CHECK(probe.slider->HitTest({0, 15}));          // so the overhang is part of the slider
}

TEST_CASE("Slider: a click on the track steps by one and the release sends the value again") {
    SliderProbe probe;
    CHECK(probe.MouseDown(180, 20)); // right of the thumb
    CHECK(probe.slider->GetValue() == 51);
    CHECK(probe.log.Count() == 1);
    CHECK(probe.slider->HasFocus());
    CHECK(GetCapture() == nullptr); // a track press does not capture
    CHECK(probe.MouseUp(180, 20));
    REQUIRE(probe.log.Count() == 2);
    CHECK(probe.log.events[1].event == static_cast<UINT>(GuiEvent::SliderValueChanged));
    CHECK(probe.slider->GetValue() == 51);
    probe.Click(20, 20); // left of the thumb
    CHECK(probe.slider->GetValue() == 50);
    // The slider keeps the focus after a mouse interaction.
    CHECK(CGuiDialog::GetFocusedControl() == probe.slider);
}

TEST_CASE("Slider: the release always sends an event, also when nothing changed") {
    SliderProbe probe;
    probe.MouseDown(probe.ThumbCentre(), 20);
    CHECK(GetCapture() == probe.platform.Window());
    CHECK(probe.log.Count() == 0);
    probe.MouseUp(probe.ThumbCentre(), 20);
    CHECK(probe.log.Count(GuiEvent::SliderValueChanged) == 1);
    CHECK(GetCapture() == nullptr);
}

TEST_CASE("Slider: dragging the thumb moves it by the pointer's movement") {
    SliderProbe probe;
    const int grab = probe.ThumbCentre() + 3; // off centre on purpose
    probe.MouseDown(grab, 20);
    probe.MouseMove(grab + 40, 20, true); // 40 pixels of 200 over 0..100
    CHECK(probe.slider->GetValue() == 70);
    probe.MouseMove(grab - 500, 20, true);
    CHECK(probe.slider->GetValue() == 0);
    probe.MouseUp(grab - 500, 20);
    CHECK_FALSE(probe.slider->IsPressed());
    probe.MouseMove(grab, 20);
    CHECK(probe.slider->GetValue() == 0); // no longer pressed
}

TEST_CASE("Slider: a drag after a track click moves from where the thumb is, without a jump") {
    SliderProbe probe;
    probe.MouseDown(190, 20);
    REQUIRE(probe.slider->GetValue() == 51);
    probe.MouseMove(190, 20, true);
    CHECK(probe.slider->GetValue() == 51);
    probe.MouseMove(170, 20, true);
    CHECK(probe.slider->GetValue() == 41);
}

TEST_CASE("Slider: keys") {
    SliderProbe probe(0, 200, 100);
    probe.dialog.FocusControl(probe.slider);
    probe.KeyDown(VK_PRIOR);
    CHECK(probe.slider->GetValue() == 120);
    probe.KeyDown(VK_NEXT);
    CHECK(probe.slider->GetValue() == 100);
    probe.KeyDown(VK_LEFT);
    CHECK(probe.slider->GetValue() == 99);
    probe.KeyDown(VK_UP);
    CHECK(probe.slider->GetValue() == 100);
    probe.KeyDown(VK_END);
    CHECK(probe.slider->GetValue() == 200);
    probe.log.Clear();
    CHECK(probe.KeyDown(VK_RIGHT)); // at the limit: handled, nothing sent
    CHECK(probe.log.Count() == 0);
    probe.KeyDown(VK_HOME);
    CHECK(probe.slider->GetValue() == 0);
    CHECK_FALSE(probe.KeyDown(VK_TAB));
    CHECK_FALSE(probe.Send(WM_KEYUP, VK_LEFT, 0));
}

TEST_CASE("Slider: Page Up steps by a tenth of the range, at least 10") {
    SliderProbe narrow(0, 50, 20);
    narrow.dialog.FocusControl(narrow.slider);
    narrow.KeyDown(VK_PRIOR);
    CHECK(narrow.slider->GetValue() == 30);
}

TEST_CASE("Slider: one wheel notch forward lowers the value by one") {
    SliderProbe probe;
    CHECK(probe.Wheel(1, 100, 20));
    CHECK(probe.slider->GetValue() == 49);
    probe.Wheel(-3, 100, 20);
    CHECK(probe.slider->GetValue() == 52);
    CHECK(probe.log.Count() == 2);
}

TEST_CASE("Slider: the wheel finds the slider under the pointer in a moved dialog") {
    SliderProbe probe;
    probe.dialog.SetLocation(300, 200);
    probe.Wheel(1, 400, 220); // client point over the slider
    CHECK(probe.slider->GetValue() == 49);
}

TEST_CASE("Slider: range rules; min above max clamps to max; setters send nothing") {
    SliderProbe probe;
    probe.slider->SetRange(60, 80);
    CHECK(probe.slider->GetValue() == 60);
    probe.slider->SetValue(1000);
    CHECK(probe.slider->GetValue() == 80);
    probe.slider->SetRange(90, 10);
    CHECK(probe.slider->GetValue() == 10);
    probe.slider->SetValue(-5);
    CHECK(probe.slider->GetValue() == 10);
    probe.slider->SetRange(5, 5);
    CHECK(probe.slider->GetThumbX() == 0);
    CHECK(probe.log.Count() == 0);
}

TEST_CASE("Slider: extreme ranges do not overflow") {
    SliderProbe probe(INT_MIN, INT_MAX, INT_MAX);
    probe.dialog.FocusControl(probe.slider);
    probe.KeyDown(VK_PRIOR);
    CHECK(probe.slider->GetValue() == INT_MAX);
    probe.KeyDown(VK_RIGHT);
    CHECK(probe.slider->GetValue() == INT_MAX);
    probe.KeyDown(VK_HOME);
    probe.KeyDown(VK_LEFT);
    CHECK(probe.slider->GetValue() == INT_MIN);
    CHECK(probe.slider->GetThumbX() == 0);
}

} // TEST_SUITE
