// The dialog's model driven by window messages: hit test and drawing order, focus, hover, key routing.
#include "gui/CGuiButton.h"
#include "gui/CGuiSlider.h"
#include "gui/CGuiStatic.h"
#include "support/DialogProbe.h"

#include <doctest/doctest.h>

namespace {

// A slider at the top of a dialog and a button below it.
struct SliderAboveButton {
    DialogProbe probe;
    CGuiSlider* slider = nullptr;
    CGuiButton* button = nullptr;
    SliderAboveButton() {
        probe.dialog.AddSlider(1, 10, 10, 100, 20, 0, 100, 50, &slider);
        probe.dialog.AddButton(2, L"b", 10, 50, 100, 40, &button);
    }
};

} // namespace

TEST_SUITE("gui") {

TEST_CASE("Dialog: overlapping controls, the first added wins the hit test") {
    DialogProbe probe;
    CGuiButton* first = nullptr;
    CGuiButton* second = nullptr;
    REQUIRE(probe.dialog.AddButton(1, L"first", 10, 10, 100, 40, &first) == S_OK);
    REQUIRE(probe.dialog.AddButton(2, L"second", 50, 20, 100, 40, &second) == S_OK);
    probe.Click(60, 30); // inside both
    REQUIRE(probe.log.Count() == 1);
    CHECK(probe.log.Last().id == 1);
    probe.Click(140, 30); // only the second
    CHECK(probe.log.Last().id == 2);
    probe.MouseMove(60, 30);
    CHECK(first->IsMouseOver());
    CHECK_FALSE(second->IsMouseOver());
}

TEST_CASE("Dialog: a disabled or invisible control is skipped by the hit test") {
    DialogProbe probe;
    CGuiButton* top = nullptr;
    REQUIRE(probe.dialog.AddButton(1, L"top", 0, 0, 100, 40, &top) == S_OK);
    REQUIRE(probe.dialog.AddButton(2, L"below", 0, 0, 100, 40) == S_OK);
    top->SetEnabled(false);
    probe.Click(10, 10);
    REQUIRE(probe.log.Count() == 1);
    CHECK(probe.log.Last().id == 2);
    top->SetEnabled(true);
    top->SetVisible(false);
    probe.Click(10, 10);
    CHECK(probe.log.Last().id == 2);
}

TEST_CASE("Dialog: GetControl matches id and type, first added first") {
    DialogProbe probe;
    CGuiButton* a = nullptr;
    CGuiButton* b = nullptr;
    probe.dialog.AddButton(7, L"a", 0, 0, 10, 10, &a);
    probe.dialog.AddButton(7, L"b", 0, 20, 10, 10, &b);
    probe.dialog.AddStatic(8, L"s", 0, 40, 10, 10);
    CHECK(probe.dialog.GetControl(7, ControlType::Button) == a);
    CHECK(probe.dialog.GetControl(7, ControlType::Static) == nullptr);
    CHECK(probe.dialog.GetControl(8, ControlType::Static) != nullptr);
    CHECK(probe.dialog.GetControl(9, ControlType::Button) == nullptr);
}

TEST_CASE("Dialog: controls get their default elements when added") {
    DialogProbe probe;
    CGuiButton* button = nullptr;
    CGuiSlider* slider = nullptr;
    probe.dialog.AddButton(1, L"b", 0, 0, 10, 10, &button);
    probe.dialog.AddSlider(2, 0, 20, 100, 20, 0, 10, 5, &slider);
    REQUIRE(button->ElementCount() == 2);
    CHECK(button->GetElement(1)->textureRect.left == 136);
    CHECK(button->GetElement(0)->textureColor.GetColor(ControlState::Normal) == 0x96FFFFFF);
    // A new element starts from its hidden colour so it fades in.
    CHECK(button->GetElement(0)->textureColor.Current() == 0);
    REQUIRE(slider->ElementCount() == 2);
    CHECK(slider->GetElement(1)->textureRect.top == 193);
}

TEST_CASE("Dialog: an invisible dialog handles nothing and its controls keep their state") {
    DialogProbe probe;
    CGuiButton* button = nullptr;
    probe.dialog.AddButton(1, L"b", 0, 0, 100, 40, &button);
    probe.MouseDown(10, 10);
    REQUIRE(button->IsPressed());
    probe.dialog.SetVisible(false);
    CHECK_FALSE(probe.MouseUp(10, 10));
    CHECK_FALSE(probe.KeyDown(VK_SPACE));
    CHECK(button->IsPressed());
    CHECK(probe.log.Count() == 0);
    probe.dialog.SetVisible(true);
    CHECK(probe.MouseUp(10, 10));
    CHECK(probe.log.Count() == 1);
}

TEST_CASE_FIXTURE(SliderAboveButton, "Dialog: keys go only to the focused control") {
    CHECK_FALSE(probe.KeyDown(VK_RIGHT)); // no focus: not handled
    CHECK(slider->GetValue() == 50);
    probe.MouseDown(10 + slider->GetThumbX(), 20); // on the thumb: focus
    probe.MouseUp(10 + slider->GetThumbX(), 20);
    probe.log.Clear();
    CHECK(probe.KeyDown(VK_RIGHT));
    CHECK(slider->GetValue() == 51);
    CHECK(probe.KeyDown(VK_SPACE) == false); // the slider does not take space; the button never sees it
    CHECK_FALSE(button->IsPressed());
    CHECK(probe.log.Count() == 1);
}

TEST_CASE("Dialog: a left click on empty space drops the focus but keeps the mouse capture") {
    DialogProbe probe;
    CGuiSlider* slider = nullptr;
    probe.dialog.AddSlider(1, 10, 10, 100, 20, 0, 100, 50, &slider);
    const int thumb = 10 + slider->GetThumbX();
    probe.MouseDown(thumb, 20);
    REQUIRE(CGuiDialog::GetFocusedControl() == slider);
    REQUIRE(GetCapture() == probe.platform.Window());
    CHECK_FALSE(probe.MouseDown(300, 300));
    CHECK(CGuiDialog::GetFocusedControl() == nullptr);
    CHECK_FALSE(slider->HasFocus());
    CHECK(GetCapture() == probe.platform.Window());
    ReleaseCapture();
}

TEST_CASE("Dialog: WM_ACTIVATEAPP toggles the focus flag but keeps the focused control") {
    DialogProbe probe;
    CGuiSlider* slider = nullptr;
    probe.dialog.AddSlider(1, 10, 10, 100, 20, 0, 100, 50, &slider);
    probe.dialog.FocusControl(slider);
    REQUIRE(slider->HasFocus());
    CHECK_FALSE(probe.Send(WM_ACTIVATEAPP, 0, 0));
    CHECK_FALSE(slider->HasFocus());
    CHECK(CGuiDialog::GetFocusedControl() == slider);
    probe.Send(WM_ACTIVATEAPP, 1, 0);
    CHECK(slider->HasFocus());
    CHECK(CGuiDialog::GetFocusedControl() == slider);
}

TEST_CASE("Dialog: focus is one for the whole process and moves between dialogs") {
    DialogProbe probe;
    CGuiDialog other;
    other.Init(&probe.resources);
    CGuiSlider* mine = nullptr;
    CGuiSlider* theirs = nullptr;
    probe.dialog.AddSlider(1, 0, 0, 100, 20, 0, 100, 50, &mine);
    other.AddSlider(1, 0, 0, 100, 20, 0, 100, 50, &theirs);
    probe.dialog.FocusControl(mine);
    other.FocusControl(theirs);
    CHECK_FALSE(mine->HasFocus());
    CHECK(theirs->HasFocus());
    // Keys reach a dialog only through its own focused control.
    CHECK_FALSE(probe.KeyDown(VK_RIGHT));
    CHECK(mine->GetValue() == 50);
    other.DeleteAllControls();
    CHECK(CGuiDialog::GetFocusedControl() == nullptr);
}

TEST_CASE("Dialog: hover follows the pointer and ends when the window moves") {
    DialogProbe probe;
    CGuiButton* a = nullptr;
    CGuiButton* b = nullptr;
    probe.dialog.SetLocation(100, 50);
    probe.dialog.AddButton(1, L"a", 0, 0, 50, 20, &a);
    probe.dialog.AddButton(2, L"b", 0, 30, 50, 20, &b);
    probe.MouseMove(110, 55); // dialog coordinates (10, 5)
    CHECK(a->IsMouseOver());
    CHECK(probe.dialog.GetMouseOverControl() == a);
    probe.MouseMove(110, 85);
    CHECK_FALSE(a->IsMouseOver());
    CHECK(b->IsMouseOver());
    probe.Send(WM_MOVE, 0, 0);
    CHECK_FALSE(b->IsMouseOver());
    CHECK(probe.dialog.GetMouseOverControl() == nullptr);
}

TEST_CASE_FIXTURE(SliderAboveButton,
    "Dialog: a click the focused control declines goes on to the control under the pointer") {
    probe.dialog.FocusControl(slider);
    CHECK(probe.MouseDown(20, 60));
    CHECK(button->IsPressed());
    CHECK(CGuiDialog::GetFocusedControl() == button);
    CHECK_FALSE(slider->HasFocus());
    probe.MouseUp(20, 60);
    CHECK(probe.log.Count(GuiEvent::ButtonClicked) == 1);
}

TEST_CASE("Dialog: a static never takes the mouse") {
    DialogProbe probe;
    CGuiStatic* label = nullptr;
    probe.dialog.AddStatic(-1, L"label", 0, 0, 100, 20, &label);
    probe.MouseMove(10, 10);
    CHECK_FALSE(label->IsMouseOver());
    CHECK_FALSE(probe.MouseDown(10, 10));
    CHECK(CGuiDialog::GetFocusedControl() == nullptr);
}

TEST_CASE("Dialog: DeleteAllControls clears focus and hover and frees every control") {
    const int before = CGuiControl::LiveCount();
    {
        DialogProbe probe;
        CGuiSlider* slider = nullptr;
        probe.dialog.AddSlider(1, 0, 0, 100, 20, 0, 100, 50, &slider);
        probe.dialog.AddComboBox(2, 0, 40, 100, 20);
        probe.dialog.FocusControl(slider);
        probe.MouseMove(5, 45);
        REQUIRE(probe.dialog.GetMouseOverControl() != nullptr);
        probe.dialog.DeleteAllControls();
        CHECK(probe.dialog.ControlCount() == 0);
        CHECK(CGuiDialog::GetFocusedControl() == nullptr);
        CHECK(probe.dialog.GetMouseOverControl() == nullptr);
        CHECK(CGuiControl::LiveCount() == before);
        probe.dialog.AddButton(3, L"again", 0, 0, 10, 10);
    }
    CHECK(CGuiControl::LiveCount() == before);
}

} // TEST_SUITE
