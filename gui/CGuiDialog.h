// A dialog drawn inside the Direct3D window: owns its controls, routes window messages to them, keeps the
// process-wide keyboard focus and hover, reports user actions as events, and draws everything in one batch.
#pragma once

#include "gui/CGuiControl.h"
#include "gui/CGuiDefaultElement.h"
#include "gui/CGuiDialogResources.h"
#include "gui/GuiTypes.h"

#include <memory>
#include <vector>

class CGuiStatic;
class CGuiButton;
class CGuiSlider;
class CGuiComboBox;

class CGuiDialog {
public:
    CGuiDialog();
    CGuiDialog(const CGuiDialog&) = delete;
    CGuiDialog& operator=(const CGuiDialog&) = delete;
    ~CGuiDialog();

    // Binds the dialog to the cache: skin texture in slot 0, the default look, "Arial" 14 in font slot 0.
    HRESULT Init(CGuiDialogResources* resources);
    void SetCallback(GuiEventCallback callback, void* userContext);
    HRESULT SetFont(UINT slot, const wchar_t* faceName, int height, int weight);
    HRESULT SetTexture(UINT slot, const wchar_t* resourceName, HMODULE module);
    void SetLocation(int newX, int newY);
    void SetSize(int newWidth, int newHeight);
    void SetBackgroundGradient(D3DCOLOR topLeft, D3DCOLOR topRight, D3DCOLOR bottomLeft,
                               D3DCOLOR bottomRight);

    HRESULT AddStatic(int id, const wchar_t* text, int x, int y, int width, int height,
                      CGuiStatic** created = nullptr);
    HRESULT AddButton(int id, const wchar_t* text, int x, int y, int width, int height,
                      CGuiButton** created = nullptr);
    HRESULT AddSlider(int id, int x, int y, int width, int height, int min, int max, int value,
                      CGuiSlider** created = nullptr);
    HRESULT AddComboBox(int id, int x, int y, int width, int height, CGuiComboBox** created = nullptr);
    CGuiControl* GetControl(int id, ControlType type);
    size_t ControlCount() const { return controls.size(); }
    void DeleteAllControls();

    HRESULT Render(float elapsedSeconds);
    bool HandleMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    void SetVisible(bool value) { visible = value; }
    bool IsVisible() const { return visible; }

    // Used by the controls.
    void FocusControl(CGuiControl* control);
    void DropFocus();
    void SendEvent(GuiEvent event, CGuiControl* control);
    HRESULT DrawElementImage(const CGuiDrawElement* element, const RECT* rect);
    HRESULT DrawElementText(const wchar_t* text, const CGuiDrawElement* element, const RECT* rect,
                            bool shadow, int count = -1);
    // Copies the default elements of a control type into a control (also for controls inside controls).
    void ApplyDefaultElements(CGuiControl* control, ControlType type);
    CGuiDialogResources* GetResources() const { return resources; }
    // The cache's font entry behind a dialog font slot, or null.
    const CGuiFontEntry* GetFontOfSlot(UINT slot) const;
    const CGuiTextureEntry* GetTextureOfSlot(UINT slot) const;

    HRESULT InstallDefaultElements();
    HRESULT RegisterDefaultElement(UINT controlType, UINT elementIndex, const CGuiDrawElement* element);

    CGuiControl* GetMouseOverControl() const { return mouseOverControl; }
    static CGuiControl* GetFocusedControl() { return focusedControl; }

private:
    // While a message or frame is being handled, deleted controls are kept until it ends, so code still
    // running inside a deleted control (an event callback rebuilt the dialog) never touches freed memory.
    class DispatchScope {
    public:
        explicit DispatchScope(CGuiDialog& owner) : dialog(owner) { ++dialog.dispatchDepth; }
        DispatchScope(const DispatchScope&) = delete;
        DispatchScope& operator=(const DispatchScope&) = delete;
        ~DispatchScope() {
            if (--dialog.dispatchDepth == 0) {
                dialog.retired.clear();
            }
        }

    private:
        CGuiDialog& dialog;
    };

    HRESULT AppendControl(std::unique_ptr<CGuiControl> control);
    // Makes a control of this dialog with its default elements, id and place, and appends it; null on
    // failure.
    template <typename Control>
    HRESULT CreateControl(int id, int left, int top, int width, int height, Control** made);
    // A static or a button: a created control that shows a text.
    template <typename Control>
    HRESULT AddTextControl(int id, const wchar_t* text, int left, int top, int width, int height,
                           Control** created);
    CGuiControl* ControlAt(POINT point);
    void TrackHover(POINT point);
    bool OwnsFocus() const;
    bool HandleMouseMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    void DrawBackground(IDirect3DDevice9* device);
    void SetRenderStates(IDirect3DDevice9* device);
    void RenderControls(IDirect3DDevice9* device, float elapsedSeconds);

    bool visible = true;
    CGuiControl* mouseOverControl = nullptr; // not owned
    int x = 0, y = 0;
    int width = 0, height = 0;
    D3DCOLOR topLeftColor = 0, topRightColor = 0, bottomLeftColor = 0, bottomRightColor = 0;
    CGuiDialogResources* resources = nullptr; // not owned
    GuiEventCallback callback = nullptr;
    void* userContext = nullptr;
    std::vector<int> textureSlots;
    std::vector<int> fontSlots;
    std::vector<std::unique_ptr<CGuiControl>> controls;
    std::vector<CGuiDefaultElement> defaultElements;

    int dispatchDepth = 0;
    unsigned rebuildCount = 0; // grows whenever the controls are deleted
    std::vector<std::unique_ptr<CGuiControl>> retired;

    static CGuiControl* focusedControl;
};
