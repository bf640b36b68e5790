// Combo box.
#include "gui/CGuiComboBox.h"

#include "gui/CGuiDialog.h"
#include "gui/GuiPlatform.h"

#include <algorithm>
#include <cstdlib>

namespace {
constexpr int kMaxListHeight = 0x7FFF;
constexpr UINT kMaxWheelLines = 1000;
} // namespace

CGuiComboBox::CGuiComboBox(CGuiDialog* owner) : CGuiButton(owner), scrollBar(owner) {
    type = ControlType::ComboBox;
}

// Items go first, then the scroll bar, then the elements: the members' own order does that.
CGuiComboBox::~CGuiComboBox() = default;

HRESULT CGuiComboBox::OnAdded() {
    dialog->ApplyDefaultElements(&scrollBar, ControlType::ScrollBar);
    return scrollBar.OnAdded();
}

void CGuiComboBox::OnFocusLost() {
    hasFocus = false;
    opened = false;
}

void CGuiComboBox::SetFontColor(D3DCOLOR color) {
    for (UINT i : {0u, 2u}) {
        if (CGuiDrawElement* element = GetElement(i)) {
            element->fontColor.SetColor(ControlState::Normal, color);
        }
    }
}

const CGuiFontEntry* CGuiComboBox::ListFont() const {
    if (elements.size() < 3) {
        return nullptr;
    }
    const CGuiFontEntry* font = dialog->GetFontOfSlot(elements[2].fontSlot);
    return font && font->height != 0 ? font : nullptr;
}

void CGuiComboBox::UpdateLayout() {
    boundingBox = {x, y, x + width, y + height};
    buttonRect = {boundingBox.right - height, boundingBox.top, boundingBox.right, boundingBox.bottom};
    textRect = {boundingBox.left, boundingBox.top, boundingBox.right - height, boundingBox.bottom};
    listRect = OffsetRectBy(textRect, 0, static_cast<int>(0.9 * (textRect.bottom - textRect.top)));
    listRect.bottom += listHeight;
    listRect.right -= scrollBarWidth;
    const int listWidth = listRect.right - listRect.left;
    const int listRectHeight = listRect.bottom - listRect.top;
    const int dx = static_cast<int>(0.1f * listWidth);
    const int dy = static_cast<int>(0.1f * listRectHeight);
    listTextRect = {listRect.left + dx, listRect.top + dy, listRect.right - dx, listRect.bottom - dy};
    scrollBar.SetLocation(listRect.right, listRect.top + 2);
    scrollBar.SetSize(scrollBarWidth, listRectHeight - 2);
    if (const CGuiFontEntry* font = ListFont()) {
        scrollBar.SetPageSize((listTextRect.bottom - listTextRect.top) / std::abs(font->height));
        scrollBar.EnsureVisible(selected);
    }
}

void CGuiComboBox::LayoutItems() {
    const CGuiFontEntry* font = ListFont();
    if (!font) {
        return;
    }
    const int itemHeight = std::abs(font->height);
    const size_t first = static_cast<size_t>(std::max(scrollBar.GetPosition(), 0));
    int top = listTextRect.top;
    int remaining = listTextRect.bottom - listTextRect.top;
    for (size_t i = 0; i < items.size(); ++i) {
        CGuiComboItem& item = *items[i];
        if (i < first) {
            item.visible = false; // scrolled out above the list
            continue;
        }
        remaining -= itemHeight;
        if (remaining < 0) {
            item.visible = false;
            continue;
        }
        item.activeRect = {listTextRect.left, top, listTextRect.right, top + itemHeight};
        top += itemHeight;
        item.visible = true;
    }
}

int CGuiComboBox::ItemAt(POINT point, size_t from) const {
    for (size_t i = from; i < items.size(); ++i) {
        if (items[i]->visible && PointInRect(items[i]->activeRect, point)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void CGuiComboBox::CloseList() {
    opened = false;
    dialog->DropFocus();
}

HRESULT CGuiComboBox::AddItem(const wchar_t* text, void* data) {
    if (!text) {
        return E_INVALIDARG;
    }
    try {
        auto item = std::make_unique<CGuiComboItem>();
        item->text = text;
        if (item->text.size() > kMaxItemTextLength) {
            item->text.resize(kMaxItemTextLength);
        }
        item->data = data;
        items.push_back(std::move(item));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    scrollBar.SetRangeLimits(0, static_cast<int>(items.size()));
    if (items.size() == 1) {
        selected = 0;
        focused = 0;
    }
    return S_OK;
}

HRESULT CGuiComboBox::SelectIndex(UINT index) {
    if (index >= items.size()) {
        return E_INVALIDARG;
    }
    selected = focused = static_cast<int>(index);
    return S_OK;
}

void* CGuiComboBox::SelectedData() const {
    return selected >= 0 && static_cast<size_t>(selected) < items.size() ? items[selected]->data : nullptr;
}

int CGuiComboBox::IndexOfText(const wchar_t* text, UINT start) const {
    if (!text) {
        return -1;
    }
    for (size_t i = start; i < items.size(); ++i) {
        if (items[i]->text == text) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void CGuiComboBox::SetListHeight(UINT newHeight) {
    listHeight = static_cast<int>(std::min<UINT>(newHeight, kMaxListHeight));
    UpdateLayout();
}

bool CGuiComboBox::StepFocus(int delta) {
    const int target = focused + delta;
    if (target < 0 || static_cast<size_t>(target) >= items.size()) {
        return true;
    }
    focused = selected = target;
    if (opened) {
        scrollBar.EnsureVisible(focused); // keep the highlight in view
        LayoutItems();
        return true;
    }
    dialog->SendEvent(GuiEvent::ComboBoxSelectionChanged, this); // last: the callback may delete this box
    return true;
}

bool CGuiComboBox::OnKeyMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!CanTakeInput()) {
        return false;
    }
    if (scrollBar.OnKeyMessage(msg, wParam, lParam)) {
        return true;
    }
    if (msg != WM_KEYDOWN) {
        return false;
    }
    switch (wParam) {
    case VK_RETURN: {
        if (!opened) {
            return false;
        }
        const bool changed = selected != focused;
        selected = focused;
        CloseList();
        if (changed) {
            dialog->SendEvent(GuiEvent::ComboBoxSelectionChanged, this);
        }
        return true;
    }
    case VK_F4:
        if (lParam & (1 << 30)) {
            return true; // auto-repeat of a held key
        }
        if (!opened) {
            opened = true;
            scrollBar.EnsureVisible(selected);
            LayoutItems();
            return true;
        }
        CloseList();
        dialog->SendEvent(GuiEvent::ComboBoxSelectionChanged, this);
        return true;
    case VK_LEFT:
    case VK_UP:
        return StepFocus(-1);
    case VK_RIGHT:
    case VK_DOWN:
        return StepFocus(+1);
    default:
        return false;
    }
}

bool CGuiComboBox::OnButtonDown(POINT point) {
    if (HitTest(point)) {
        pressed = true;
        GuiCaptureMouse();
        if (!hasFocus) {
            dialog->FocusControl(this);
        }
        if (hasFocus) {
            opened = !opened;
            if (opened) {
                scrollBar.EnsureVisible(selected); // open with the chosen item in view
                LayoutItems();
            } else {
                dialog->DropFocus();
            }
        }
        return true;
    }
    if (opened && PointInRect(listRect, point)) {
        LayoutItems();
        const int hit = ItemAt(point, static_cast<size_t>(std::max(scrollBar.GetPosition(), 0)));
        if (hit >= 0) {
            selected = focused = hit;
            CloseList();
            dialog->SendEvent(GuiEvent::ComboBoxSelectionChanged, this);
        }
        return true; // a click on the list's margin keeps it open
    }
    // A click elsewhere closes the list and goes on to whatever is under it.
    const bool wasOpen = opened;
    if (opened) {
        focused = selected;
        opened = false;
    }
    pressed = false;
    dialog->DropFocus();
    if (wasOpen) {
        dialog->SendEvent(GuiEvent::ComboBoxSelectionChanged, this);
    }
    return false;
}

// Open: scrolls the list by the system's wheel lines per notch. Closed: steps the choice by one.
bool CGuiComboBox::OnWheel(WPARAM wParam) {
    const int notches = static_cast<short>(HIWORD(wParam)) / 120;
    if (opened) {
        UINT lines = 3;
        SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
        if (lines == WHEEL_PAGESCROLL) {
            lines = static_cast<UINT>(scrollBar.GetPageSize());
        }
        scrollBar.ScrollBy(-(notches * static_cast<int>(std::min(lines, kMaxWheelLines))));
        LayoutItems();
        return true;
    }
    if (notches > 0 && focused > 0) {
        --focused;
    } else if (notches < 0 && focused >= 0 && static_cast<size_t>(focused) + 1 < items.size()) {
        ++focused;
    } else {
        return true; // less than one notch, or already at the end
    }
    selected = focused;
    dialog->SendEvent(GuiEvent::ComboBoxSelectionChanged, this);
    return true;
}

bool CGuiComboBox::OnMouseMessage(UINT msg, POINT point, WPARAM wParam, LPARAM lParam) {
    if (!CanTakeInput()) {
        return false;
    }
    // The release always reaches the scroll bar so an arrow press or thumb drag always ends.
    if ((opened || msg == WM_LBUTTONUP) && scrollBar.OnMouseMessage(msg, point, wParam, lParam)) {
        LayoutItems();
        return true;
    }
    switch (msg) {
    case WM_MOUSEMOVE: {
        if (!opened || !PointInRect(listRect, point)) {
            return false;
        }
        LayoutItems();
        const int hit = ItemAt(point, 0);
        if (hit >= 0) {
            focused = hit;
        }
        return true;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return OnButtonDown(point);
    case WM_LBUTTONUP:
        // A release outside still ends the press, so the box is not left drawn pressed.
        if (!pressed) {
            return false;
        }
        pressed = false;
        GuiReleaseMouse();
        return HitTest(point);
    case WM_MOUSEWHEEL:
        return OnWheel(wParam);
    default:
        return false;
    }
}

void CGuiComboBox::RenderList(float elapsedSeconds) {
    CGuiDrawElement& list = elements[2];
    CGuiDrawElement& highlight = elements[3];
    const ControlState listState = opened ? ControlState::Normal : ControlState::Hidden;
    list.textureColor.Blend(listState, elapsedSeconds, 0.7f);
    list.fontColor.Blend(listState, elapsedSeconds, 0.7f);
    dialog->DrawElementImage(&list, &listRect);
    for (int i = 0; i < 4; ++i) {
        highlight.textureColor.current[i] = list.textureColor.current[i];
    }
    highlight.fontColor.SetCurrent(highlight.fontColor.GetColor(ControlState::Normal));
    if (!opened) {
        return;
    }
    for (size_t i = static_cast<size_t>(std::max(scrollBar.GetPosition(), 0)); i < items.size(); ++i) {
        const CGuiComboItem& item = *items[i];
        if (!item.visible) {
            continue;
        }
        if (static_cast<int>(i) == focused) {
            const RECT band = {listRect.left, item.activeRect.top - 2, listRect.right,
                               item.activeRect.bottom + 2};
            dialog->DrawElementImage(&highlight, &band);
            dialog->DrawElementText(item.text.c_str(), &highlight, &item.activeRect, false);
        } else {
            dialog->DrawElementText(item.text.c_str(), &list, &item.activeRect, false);
        }
    }
}

void CGuiComboBox::Render(IDirect3DDevice9* device, float elapsedSeconds) {
    if (elements.size() < 4) {
        return;
    }
    if (opened) {
        scrollBar.Render(device, elapsedSeconds);
    }
    LayoutItems();
    RenderList(elapsedSeconds);
    const Look look = CurrentLook();
    CGuiDrawElement& button = elements[1];
    button.textureColor.Blend(look.state, elapsedSeconds, look.rate);
    const RECT buttonAt = OffsetRectBy(buttonRect, look.dx, look.dy);
    dialog->DrawElementImage(&button, &buttonAt);
    CGuiDrawElement& main = elements[0];
    const ControlState mainState = opened ? ControlState::Pressed : look.state;
    main.textureColor.Blend(mainState, elapsedSeconds, look.rate);
    main.fontColor.Blend(mainState, elapsedSeconds, look.rate);
    dialog->DrawElementImage(&main, &textRect);
    if (selected >= 0 && static_cast<size_t>(selected) < items.size()) {
        dialog->DrawElementText(items[selected]->text.c_str(), &main, &textRect, false);
    }
}
