// Combo box: items, selection, list layout, keyboard, wheel and mouse, and the events of closing the list.
#include "gui/CGuiComboBox.h"
#include "support/DialogProbe.h"

#include <doctest/doctest.h>

#include <string>

namespace {

// A combo box at (10, 10), 200 by 20, with items "item 0".. and a list font of height 12.
struct ComboProbe : DialogProbe {
    CGuiComboBox* combo = nullptr;
    explicit ComboProbe(int itemCount, int listHeight = 72) {
        dialog.SetFont(0, L"Arial", 12, FW_NORMAL);
        dialog.AddComboBox(3, 10, 10, 200, 20, &combo);
        combo->SetListHeight(listHeight);
        for (int i = 0; i < itemCount; ++i) {
            combo->AddItem((L"item " + std::to_wstring(i)).c_str(), reinterpret_cast<void*>(static_cast<INT_PTR>(i + 100)));
        }
    }
    // Centre of an item's row in the open list, in client coordinates (the dialog sits at 0, 0).
    POINT ItemPoint(int index) const {
        const RECT& r = combo->GetItem(index)->activeRect;
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void Open() {
        MouseDown(20, 20);
        MouseUp(20, 20);
    }
};

} // namespace

TEST_SUITE("gui") {

TEST_CASE("ComboBox: the first item is selected silently; later items leave the choice") {
    ComboProbe probe(0);
    CHECK(probe.combo->GetSelectedIndex() == -1);
    CHECK(probe.combo->SelectedData() == nullptr);
    probe.combo->AddItem(L"a", reinterpret_cast<void*>(1));
    CHECK(probe.combo->GetSelectedIndex() == 0);
    CHECK(probe.combo->GetFocusedIndex() == 0);
    probe.combo->AddItem(L"b", nullptr);
    CHECK(probe.combo->GetSelectedIndex() == 0);
    CHECK(probe.combo->SelectedData() == reinterpret_cast<void*>(1));
    CHECK(probe.combo->AddItem(nullptr, nullptr) == E_INVALIDARG);
    CHECK(probe.combo->ItemCount() == 2);
    CHECK(probe.log.Count() == 0);
}

TEST_CASE("ComboBox: item texts are cut at 255 characters; IndexOfText is exact") {
    ComboProbe probe(0);
    probe.combo->AddItem(std::wstring(300, L'y').c_str(), nullptr);
    CHECK(probe.combo->GetItem(0)->text == std::wstring(255, L'y'));
    probe.combo->AddItem(L"800 x 600", nullptr);
    probe.combo->AddItem(L"1024 x 768", nullptr);
    probe.combo->AddItem(L"800 x 600", nullptr);
    CHECK(probe.combo->IndexOfText(L"800 x 600") == 1);
    CHECK(probe.combo->IndexOfText(L"800 x 600", 2) == 3);
    CHECK(probe.combo->IndexOfText(L"800 X 600") == -1);
    CHECK(probe.combo->IndexOfText(nullptr) == -1);
    CHECK(probe.combo->IndexOfText(L"800 x 600", 4) == -1);
}

TEST_CASE("ComboBox: SelectIndex checks bounds, sends nothing and does not scroll") {
    ComboProbe probe(20);
    CHECK(probe.combo->SelectIndex(20) == E_INVALIDARG);
    CHECK(probe.combo->GetSelectedIndex() == 0);
    CHECK(probe.combo->SelectIndex(15) == S_OK);
    CHECK(probe.combo->GetSelectedIndex() == 15);
    CHECK(probe.combo->GetFocusedIndex() == 15);
    CHECK(probe.combo->SelectedData() == reinterpret_cast<void*>(115));
    CHECK(probe.combo->GetScrollBar().GetPosition() == 0);
    CHECK(probe.log.Count() == 0);
}

TEST_CASE("ComboBox: six items of font height 12 in a list of 72 fit on one page without a thumb") {
    ComboProbe probe(6);
    const RECT& text = probe.combo->GetListTextRect();
    CHECK(text.bottom - text.top == 74);
    CHECK(probe.combo->GetScrollBar().GetPageSize() == 6);
    CHECK_FALSE(probe.combo->GetScrollBar().IsThumbShown());
    probe.combo->LayoutItems();
    for (size_t i = 0; i < 6; ++i) {
        CHECK(probe.combo->GetItem(i)->visible);
        CHECK(probe.combo->GetItem(i)->activeRect.top == text.top + 12 * static_cast<int>(i));
    }
    CHECK(probe.combo->GetButtonRect().left == 190);
    CHECK(probe.combo->GetListRect().right == 190 - 16);
}

TEST_CASE("ComboBox: a seventh item needs the scroll bar's thumb and stays out of the list") {
    ComboProbe probe(7);
    CHECK(probe.combo->GetScrollBar().IsThumbShown());
    probe.combo->LayoutItems();
    CHECK_FALSE(probe.combo->GetItem(6)->visible);
}

TEST_CASE("ComboBox: a click opens the list; a click on an item chooses it and closes") {
    ComboProbe probe(6);
    probe.Open();
    CHECK(probe.combo->IsOpened());
    CHECK(probe.combo->HasFocus());
    CHECK(probe.log.Count() == 0);
    const POINT p = probe.ItemPoint(4);
    probe.MouseMove(p.x, p.y);
    CHECK(probe.combo->GetFocusedIndex() == 4);
    CHECK(probe.combo->GetSelectedIndex() == 0);
    CHECK(probe.MouseDown(p.x, p.y));
    CHECK_FALSE(probe.combo->IsOpened());
    CHECK(probe.combo->GetSelectedIndex() == 4);
    CHECK(probe.log.Count(GuiEvent::ComboBoxSelectionChanged) == 1);
    CHECK(probe.log.Last().id == 3);
    CHECK(CGuiDialog::GetFocusedControl() == nullptr);
}

TEST_CASE("ComboBox: a second click on the main part closes without an event") {
    ComboProbe probe(6);
    probe.Open();
    probe.Open();
    CHECK_FALSE(probe.combo->IsOpened());
    CHECK(probe.log.Count() == 0);
    CHECK(CGuiDialog::GetFocusedControl() == nullptr);
    CHECK(GetCapture() == nullptr);
}

TEST_CASE("ComboBox: a click outside closes, restores the highlight, sends and passes the click on") {
    ComboProbe probe(6);
    CGuiButton* button = nullptr;
    probe.dialog.AddButton(8, L"OK", 300, 300, 80, 30, &button);
    probe.Open();
    const POINT p = probe.ItemPoint(2);
    probe.MouseMove(p.x, p.y);
    probe.MouseDown(310, 310);
    CHECK_FALSE(probe.combo->IsOpened());
    CHECK(probe.combo->GetFocusedIndex() == 0);
    CHECK(probe.combo->GetSelectedIndex() == 0);
    CHECK(probe.log.Count(GuiEvent::ComboBoxSelectionChanged) == 1);
    CHECK(button->IsPressed()); // the same click reached the button
}

TEST_CASE("ComboBox: a click on the list's margin keeps it open") {
    ComboProbe probe(2);
    probe.Open();
    const RECT& list = probe.combo->GetListRect();
    CHECK(probe.MouseDown(list.left + 1, list.bottom - 2));
    CHECK(probe.combo->IsOpened());
    CHECK(probe.log.Count() == 0);
}

TEST_CASE("ComboBox: arrow keys with the list closed choose and send one event per step") {
    ComboProbe probe(4);
    probe.dialog.FocusControl(probe.combo);
    CHECK(probe.KeyDown(VK_DOWN));
    CHECK(probe.KeyDown(VK_RIGHT));
    CHECK(probe.combo->GetSelectedIndex() == 2);
    CHECK(probe.log.Count() == 2);
    probe.KeyDown(VK_DOWN);
    CHECK(probe.KeyDown(VK_DOWN)); // at the end: handled, nothing sent
    CHECK(probe.combo->GetSelectedIndex() == 3);
    CHECK(probe.log.Count() == 3);
    probe.KeyDown(VK_UP);
    CHECK(probe.combo->GetSelectedIndex() == 2);
    CHECK(probe.log.Count() == 4);
    CHECK_FALSE(probe.KeyDown(VK_RETURN)); // closed: Enter is not the box's
}

TEST_CASE("ComboBox: arrow keys in the open list move silently; Enter then sends nothing") {
    ComboProbe probe(4);
    probe.Open();
    probe.KeyDown(VK_DOWN);
    probe.KeyDown(VK_DOWN);
    CHECK(probe.combo->GetFocusedIndex() == 2);
    CHECK(probe.combo->GetSelectedIndex() == 2);
    CHECK(probe.log.Count() == 0);
    CHECK(probe.KeyDown(VK_RETURN));
    CHECK_FALSE(probe.combo->IsOpened());
    CHECK(probe.log.Count() == 0);
    CHECK(CGuiDialog::GetFocusedControl() == nullptr);
}

TEST_CASE("ComboBox: Enter after a mouse highlight sends the new choice") {
    ComboProbe probe(4);
    probe.Open();
    const POINT p = probe.ItemPoint(3);
    probe.MouseMove(p.x, p.y);
    CHECK(probe.KeyDown(VK_RETURN));
    CHECK(probe.combo->GetSelectedIndex() == 3);
    CHECK(probe.log.Count(GuiEvent::ComboBoxSelectionChanged) == 1);
}

TEST_CASE("ComboBox: F4 opens and closes, closing always sends; a repeated F4 does nothing") {
    ComboProbe probe(4);
    probe.dialog.FocusControl(probe.combo);
    CHECK(probe.KeyDown(VK_F4));
    CHECK(probe.combo->IsOpened());
    CHECK(probe.KeyDown(VK_F4, true));
    CHECK(probe.combo->IsOpened());
    CHECK(probe.log.Count() == 0);
    probe.KeyDown(VK_DOWN);
    CHECK(probe.log.Count() == 0);
    CHECK(probe.KeyDown(VK_F4));
    CHECK_FALSE(probe.combo->IsOpened());
    CHECK(probe.log.Count(GuiEvent::ComboBoxSelectionChanged) == 1);
    CHECK(probe.combo->GetSelectedIndex() == 1);
}

TEST_CASE("ComboBox: losing the focus closes the list without an event") {
    ComboProbe probe(4);
    probe.Open();
    probe.Send(WM_ACTIVATEAPP, 0, 0);
    CHECK_FALSE(probe.combo->IsOpened());
    CHECK(probe.log.Count() == 0);
}

TEST_CASE("ComboBox: the wheel over a closed box steps the choice") {
    ComboProbe probe(4);
    probe.combo->SelectIndex(2);
    probe.Wheel(1, 20, 20);
    CHECK(probe.combo->GetSelectedIndex() == 1);
    probe.Wheel(-1, 20, 20);
    probe.Wheel(-1, 20, 20);
    CHECK(probe.combo->GetSelectedIndex() == 3);
    CHECK(probe.log.Count() == 3);
    // Less than one notch moves nothing.
    probe.WheelDelta(60, 20, 20);
    CHECK(probe.combo->GetSelectedIndex() == 3);
    probe.combo->SelectIndex(1);
    probe.WheelDelta(-60, 20, 20);
    CHECK(probe.combo->GetSelectedIndex() == 1);
    probe.combo->SelectIndex(3);
    CHECK(probe.combo->GetSelectedIndex() == 3);
    CHECK(probe.log.Count() == 3);
}

TEST_CASE("ComboBox: the wheel over an open list scrolls it by the system's lines per notch") {
    ComboProbe probe(30);
    UINT lines = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    REQUIRE(lines > 0);
    REQUIRE(lines < 10);
    probe.Open();
    probe.Wheel(-1, 20, 60);
    CHECK(probe.combo->GetScrollBar().GetPosition() == static_cast<int>(lines));
    CHECK(probe.combo->GetSelectedIndex() == 0);
    CHECK(probe.log.Count() == 0);
    // The rows follow the scroll at once, so a click picks what is shown.
    CHECK_FALSE(probe.combo->GetItem(0)->visible);
    const POINT p = probe.ItemPoint(static_cast<int>(lines));
    probe.MouseDown(p.x, p.y);
    CHECK(probe.combo->GetSelectedIndex() == static_cast<int>(lines));
}

TEST_CASE("ComboBox: opening scrolls the chosen item into view; the list's down arrow scrolls it") {
    ComboProbe probe(30);
    probe.combo->SelectIndex(20);
    probe.Open();
    const int position = probe.combo->GetScrollBar().GetPosition();
    CHECK(position <= 20);
    CHECK(position + probe.combo->GetScrollBar().GetPageSize() > 20);
    probe.combo->GetScrollBar().ScrollBy(-100);
    GuiTestPlatform::SetTime(5.0);
    const RECT& down = probe.combo->GetScrollBar().GetDownRect();
    CHECK(probe.MouseDown(down.left + 2, down.top + 2));
    CHECK(probe.combo->GetScrollBar().GetPosition() == 1);
    CHECK(probe.combo->IsOpened());
    probe.combo->GetScrollBar().UpdateArrowRepeat(5.2);
    CHECK(probe.combo->GetScrollBar().GetPosition() == 1);
    probe.combo->GetScrollBar().UpdateArrowRepeat(5.34);
    CHECK(probe.combo->GetScrollBar().GetPosition() == 2);
    probe.combo->GetScrollBar().UpdateArrowRepeat(5.40);
    CHECK(probe.combo->GetScrollBar().GetPosition() == 3);
    probe.MouseUp(down.left + 2, down.top + 2);
    probe.combo->GetScrollBar().UpdateArrowRepeat(9.0);
    CHECK(probe.combo->GetScrollBar().GetPosition() == 3);
    CHECK(probe.combo->IsOpened());
    CHECK(probe.log.Count() == 0);
}

TEST_CASE("ComboBox: losing the mouse capture to another window ends a drag of the list's thumb") {
    ComboProbe probe(30);
    probe.Open();
    const RECT thumb = probe.combo->GetScrollBar().GetThumbRect();
    probe.MouseDown(thumb.left + 2, thumb.top + 2);
    REQUIRE(probe.combo->GetScrollBar().IsDragging());
    probe.Send(WM_CAPTURECHANGED, 0, 0);
    CHECK_FALSE(probe.combo->GetScrollBar().IsDragging());
    CHECK_FALSE(probe.MouseMove(thumb.left + 2, thumb.top + 40));
    CHECK(probe.combo->GetScrollBar().GetPosition() == 0);
}

} // TEST_SUITE
