// The abstract base of every control: geometry, state flags, elements and the overridable behaviour.
#pragma once

#include "gui/CGuiDrawElement.h"
#include "gui/GuiTypes.h"

#include <vector>

class CGuiDialog;

class CGuiControl {
public:
    explicit CGuiControl(CGuiDialog* dialog);
    CGuiControl(const CGuiControl&) = delete;
    CGuiControl& operator=(const CGuiControl&) = delete;
    virtual ~CGuiControl();

    // Called once when the control has been given its elements.
    virtual HRESULT OnAdded() { return S_OK; }
    // Clears hover and focus and makes every element fade in again from its Hidden colour.
    virtual void ResetState();
    virtual void Render(IDirect3DDevice9*, float) {}

    // Each handler says whether it consumed the message.
    virtual bool HandleMessage(UINT, WPARAM, LPARAM) { return false; }
    virtual bool OnKeyMessage(UINT, WPARAM, LPARAM) { return false; }
    virtual bool OnMouseMessage(UINT, POINT, WPARAM, LPARAM) { return false; }

    virtual bool AcceptsFocus() { return false; }
    virtual void OnFocusGained() { hasFocus = true; }
    virtual void OnFocusLost() { hasFocus = false; }
    virtual void OnHoverStart() { mouseOver = true; }
    virtual void OnHoverEnd() { mouseOver = false; }
    virtual void OnShortcut() {}
    virtual bool HitTest(POINT point);

    virtual void SetEnabled(bool value) { enabled = value; }
    virtual bool IsEnabled() { return enabled; }
    virtual void SetVisible(bool value) { visible = value; }
    virtual bool IsVisible() { return visible; }
    // The Normal text colour of element 0.
    virtual void SetFontColor(D3DCOLOR color);
    virtual void UpdateLayout();

    void SetLocation(int newX, int newY);
    void SetSize(int newWidth, int newHeight);

    int GetID() const { return id; }
    void SetID(int newId) { id = newId; }
    ControlType GetType() const { return type; }
    CGuiDialog* GetDialog() const { return dialog; }
    bool IsMouseOver() const { return mouseOver; }
    bool HasFocus() const { return hasFocus; }
    const RECT& GetBoundingBox() const { return boundingBox; }

    // Elements: grown with default elements as needed.
    void SetElement(UINT index, const CGuiDrawElement& element);
    CGuiDrawElement* GetElement(UINT index);
    size_t ElementCount() const { return elements.size(); }

    // Number of controls alive in the process (for checking that rebuilt dialogs free their controls).
    static int LiveCount() { return liveCount; }

protected:
    // The control may handle input: enabled and visible.
    bool CanTakeInput() { return IsEnabled() && IsVisible(); }

    bool visible = true;
    bool mouseOver = false;
    bool hasFocus = false;
    int x = 0, y = 0, width = 0, height = 0; // in dialog coordinates
    CGuiDialog* dialog;                     // owner, not owned
    std::vector<CGuiDrawElement> elements;
    int id = 0;
    ControlType type = ControlType::Static;
    bool enabled = true;
    RECT boundingBox = {};

private:
    static int liveCount;
};

bool PointInRect(const RECT& rect, POINT point);
RECT OffsetRectBy(RECT rect, int dx, int dy);
