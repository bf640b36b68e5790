// An event callback may delete and rebuild every control of the dialog, as the settings dialog's Reset
// does from inside its button's click: the controls and the dialog must carry on safely afterwards.
#include "gui/CGuiButton.h"
#include "gui/CGuiComboBox.h"
#include "gui/CGuiSlider.h"
#include "support/DialogProbe.h"

#include <doctest/doctest.h>

namespace {

// The controls of a small settings-like dialog: a button at (10, 10), a slider at (10, 60) and a
// combo box at (10, 100).
struct Controls {
    CGuiButton* button = nullptr;
    CGuiSlider* slider = nullptr;
    CGuiComboBox* combo = nullptr;
};

Controls Build(CGuiDialog& dialog, CGuiDialogResources& resources) {
    Controls made;
    dialog.Init(&resources);
    dialog.DeleteAllControls();
    dialog.AddButton(2, L"Reset", 10, 10, 80, 30, &made.button);
    dialog.AddSlider(5, 10, 60, 200, 20, 0, 100, 50, &made.slider);
    dialog.AddComboBox(6, 10, 100, 200, 20, &made.combo);
    for (const wchar_t* text : {L"a", L"b", L"c"}) {
        made.combo->AddItem(text, nullptr);
    }
    return made;
}

struct RebuildProbe : DialogProbe {
    Controls current;
    int rebuilds = 0;
    int liveDuringCallback = 0;
    bool focusNewSlider = false;

    RebuildProbe() {
        current = Build(dialog, resources);
        log.context = this;
        log.hook = [](EventLog& events, UINT, int, CGuiControl*) {
            auto* self = static_cast<RebuildProbe*>(events.context);
            self->current = Build(self->dialog, self->resources);
            ++self->rebuilds;
            self->liveDuringCallback = CGuiControl::LiveCount();
            if (self->focusNewSlider) {
                self->dialog.FocusControl(self->current.slider);
            }
        };
    }
};

} // namespace

TEST_SUITE("gui") {

TEST_CASE("Rebuild: a button click that rebuilds the dialog leaves a clean, working dialog") {
    const int before = CGuiControl::LiveCount();
    {
        RebuildProbe probe;
        CGuiButton* old = probe.current.button;
        probe.MouseDown(20, 20);
        probe.MouseUp(20, 20);
        REQUIRE(probe.rebuilds == 1);
        CHECK(probe.current.button != old);
        // The old controls lived until the message was handled, then were freed (the combo box counts
        // twice: it carries its own scroll bar).
        CHECK(probe.liveDuringCallback == before + 8);
        CHECK(CGuiControl::LiveCount() == before + 4);
        CHECK(probe.dialog.ControlCount() == 3);
        CHECK(CGuiDialog::GetFocusedControl() == nullptr);
        CHECK(probe.dialog.GetMouseOverControl() == nullptr);
        CHECK(GetCapture() == nullptr);
        CHECK_FALSE(probe.current.button->IsPressed());
        // The new controls have their look and work.
        CHECK(probe.current.button->ElementCount() == 2);
        probe.MouseDown(20, 20);
        probe.MouseUp(20, 20);
        CHECK(probe.rebuilds == 2);
        probe.MouseMove(20, 20);
        CHECK(probe.current.button->IsMouseOver());
    }
    CHECK(CGuiControl::LiveCount() == before);
}

TEST_CASE("Rebuild: the space bar's click may rebuild the dialog") {
    RebuildProbe probe;
    probe.dialog.FocusControl(probe.current.button);
    probe.KeyDown(VK_SPACE);
    probe.KeyUp(VK_SPACE);
    CHECK(probe.rebuilds == 1);
    CHECK(CGuiDialog::GetFocusedControl() == nullptr);
    CHECK_FALSE(probe.KeyUp(VK_SPACE));
    CHECK(probe.rebuilds == 1);
}

TEST_CASE("Rebuild: after a rebuild no old control's code changes the new dialog's focus") {
    RebuildProbe probe;
    probe.focusNewSlider = true;
    SUBCASE("button click") {
        probe.MouseDown(20, 20);
        probe.MouseUp(20, 20);
    }
    SUBCASE("combo item click") {
        probe.MouseDown(20, 110); // open
        probe.MouseUp(20, 110);
        const RECT& row = probe.current.combo->GetItem(1)->activeRect;
        probe.MouseDown(row.left + 2, row.top + 2);
    }
    SUBCASE("combo F4") {
        probe.dialog.FocusControl(probe.current.combo);
        probe.KeyDown(VK_F4);
        probe.KeyDown(VK_DOWN);
        probe.KeyDown(VK_F4);
    }
    SUBCASE("combo Enter after a hover") {
        probe.MouseDown(20, 110);
        probe.MouseUp(20, 110);
        const RECT& row = probe.current.combo->GetItem(2)->activeRect;
        probe.MouseMove(row.left + 2, row.top + 2);
        probe.KeyDown(VK_RETURN);
    }
    SUBCASE("combo click outside") {
        probe.MouseDown(20, 110);
        probe.MouseUp(20, 110);
        probe.MouseDown(400, 400);
    }
    SUBCASE("slider track click and release") {
        probe.MouseDown(200, 70);
        REQUIRE(probe.rebuilds == 1);
        probe.MouseUp(200, 70); // reaches the new, focused slider, which was not pressed
    }
    SUBCASE("slider wheel and keys") {
        probe.Wheel(1, 100, 70);
        probe.KeyDown(VK_HOME);
    }
    CHECK(probe.rebuilds >= 1);
    CHECK(CGuiDialog::GetFocusedControl() == probe.current.slider);
    CHECK(probe.current.slider->HasFocus());
    CHECK(probe.dialog.ControlCount() == 3);
}

TEST_CASE("Rebuild: a frame after a rebuild draws only the new controls") {
    RebuildProbe probe;
    probe.MouseDown(20, 20);
    probe.MouseUp(20, 20);
    // Without a device the frame draws nothing but must not touch the freed controls either.
    CHECK(probe.dialog.Render(0.016f) == E_FAIL);
    CHECK(probe.dialog.ControlCount() == 3);
}

} // TEST_SUITE
