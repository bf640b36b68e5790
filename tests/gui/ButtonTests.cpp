// Static text and push button behaviour.
#include "gui/CGuiButton.h"
#include "gui/CGuiStatic.h"
#include "support/DialogProbe.h"

#include <doctest/doctest.h>

#include <string>

TEST_SUITE("gui") {

TEST_CASE("Static: text is cut at 259 characters; null gives an empty text") {
    DialogProbe probe;
    const std::wstring longText(300, L'x');
    CGuiStatic* label = nullptr;
    REQUIRE(probe.dialog.AddStatic(1, longText.c_str(), 0, 0, 10, 10, &label) == S_OK);
    CHECK(std::wstring(label->GetText()) == std::wstring(259, L'x'));
    CHECK(label->SetText(nullptr) == S_OK);
    CHECK(std::wstring(label->GetText()).empty());
    CHECK(label->SetText(L"設定") == S_OK);
    CHECK(std::wstring(label->GetText()) == L"設定");
}

TEST_CASE("Button: a click sends one event on release, with the id and the control") {
    DialogProbe probe;
    CGuiButton* button = nullptr;
    probe.dialog.AddButton(42, L"OK", 10, 10, 80, 30, &button);
    CHECK(probe.MouseDown(20, 20));
    CHECK(button->IsPressed());
    CHECK(button->HasFocus());
    CHECK(GetCapture() == probe.platform.Window());
    CHECK(probe.log.Count() == 0);
    CHECK(probe.MouseUp(20, 20));
    REQUIRE(probe.log.Count() == 1);
    CHECK(probe.log.Last().event == static_cast<UINT>(GuiEvent::ButtonClicked));
    CHECK(probe.log.Last().id == 42);
    CHECK(probe.log.Last().control == button);
    // The focus does not stay on a button after a mouse click, and the capture is given back.
    CHECK_FALSE(button->IsPressed());
    CHECK_FALSE(button->HasFocus());
    CHECK(CGuiDialog::GetFocusedControl() == nullptr);
    CHECK(GetCapture() == nullptr);
}

TEST_CASE("Button: pressed, dragged outside and released there sends nothing") {
    DialogProbe probe;
    CGuiButton* button = nullptr;
    probe.dialog.AddButton(1, L"OK", 10, 10, 80, 30, &button);
    probe.MouseDown(20, 20);
    probe.MouseMove(200, 200, true);
    CHECK(probe.MouseUp(200, 200)); // still the button's release
    CHECK(probe.log.Count() == 0);
    CHECK_FALSE(button->IsPressed());
    CHECK_FALSE(button->HasFocus());
    CHECK(GetCapture() == nullptr);
}

TEST_CASE("Button: space bar clicks a focused button; a release without press sends nothing") {
    DialogProbe probe;
    CGuiButton* button = nullptr;
    probe.dialog.AddButton(5, L"OK", 10, 10, 80, 30, &button);
    probe.dialog.FocusControl(button);
    CHECK(probe.KeyUp(VK_SPACE));
    CHECK(probe.log.Count() == 0);
    CHECK(probe.KeyDown(VK_SPACE));
    CHECK(button->IsPressed());
    CHECK(probe.KeyUp(VK_SPACE));
    CHECK(probe.log.Count(GuiEvent::ButtonClicked) == 1);
    CHECK_FALSE(probe.KeyDown(VK_RETURN));
}

TEST_CASE("Button: a disabled or hidden button ignores clicks and cannot take focus") {
    DialogProbe probe;
    CGuiButton* button = nullptr;
    probe.dialog.AddButton(1, L"OK", 10, 10, 80, 30, &button);
    button->SetEnabled(false);
    CHECK_FALSE(probe.MouseDown(20, 20));
    CHECK_FALSE(button->AcceptsFocus());
    probe.dialog.FocusControl(button);
    CHECK(CGuiDialog::GetFocusedControl() == nullptr);
    button->SetEnabled(true);
    button->SetVisible(false);
    CHECK_FALSE(button->OnMouseMessage(WM_LBUTTONDOWN, {20, 20}, 0, 0));
    CHECK_FALSE(button->OnKeyMessage(WM_KEYDOWN, VK_SPACE, 0));
    CHECK(probe.log.Count() == 0);
}

} // TEST_SUITE
