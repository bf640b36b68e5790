// A combo box: a button showing the chosen item, with a drop-down list that carries its own scroll bar.
#pragma once

#include "gui/CGuiButton.h"
#include "gui/CGuiScrollBar.h"

#include <memory>
#include <string>
#include <vector>

struct CGuiFontEntry;

struct CGuiComboItem {
    std::wstring text; // at most 255 characters
    void* data = nullptr;
    RECT activeRect = {}; // where the item lies in the open list
    bool visible = false; // whether it lies inside the list
};

class CGuiComboBox : public CGuiButton {
public:
    static constexpr size_t kMaxItemTextLength = 255;
    static constexpr int kScrollBarWidth = 16;

    explicit CGuiComboBox(CGuiDialog* dialog);
    ~CGuiComboBox() override;

    HRESULT OnAdded() override;
    void Render(IDirect3DDevice9* device, float elapsedSeconds) override;
    // Lets the list's scroll bar see a lost capture, so a thumb drag cannot outlive it.
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        return scrollBar.HandleMessage(msg, wParam, lParam);
    }
    bool OnKeyMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnMouseMessage(UINT msg, POINT point, WPARAM wParam, LPARAM lParam) override;
    void OnFocusLost() override;
    void SetFontColor(D3DCOLOR color) override;
    void UpdateLayout() override;

    HRESULT AddItem(const wchar_t* text, void* data);
    // Programmatic choice: no event, the list does not scroll.
    HRESULT SelectIndex(UINT index);
    void* SelectedData() const;
    int IndexOfText(const wchar_t* text, UINT start = 0) const;
    void SetListHeight(UINT height);

    int GetSelectedIndex() const { return selected; }
    int GetFocusedIndex() const { return focused; }
    size_t ItemCount() const { return items.size(); }
    const CGuiComboItem* GetItem(size_t index) const {
        return index < items.size() ? items[index].get() : nullptr;
    }
    bool IsOpened() const { return opened; }
    CGuiScrollBar& GetScrollBar() { return scrollBar; }
    const RECT& GetButtonRect() const { return buttonRect; }
    const RECT& GetListRect() const { return listRect; }
    const RECT& GetListTextRect() const { return listTextRect; }
    // Lays the items from the scroll position down into the list's text area.
    void LayoutItems();

private:
    const CGuiFontEntry* ListFont() const;
    int ItemAt(POINT point, size_t from) const;
    bool OnButtonDown(POINT point);
    bool OnWheel(WPARAM wParam);
    // Moves the highlight (and the choice) by one; sends the event when the list is closed.
    bool StepFocus(int delta);
    void CloseList();
    void RenderList(float elapsedSeconds);

    int selected = -1;
    int focused = -1;
    int listHeight = 100;
    CGuiScrollBar scrollBar;
    int scrollBarWidth = kScrollBarWidth;
    bool opened = false;
    RECT textRect = {}, buttonRect = {}, listRect = {}, listTextRect = {};
    std::vector<std::unique_ptr<CGuiComboItem>> items;
};
