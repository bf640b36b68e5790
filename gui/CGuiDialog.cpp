// The dialog's model: controls, slots, focus, hover, message routing and events.
#include "gui/CGuiDialog.h"

#include "gui/CGuiButton.h"
#include "gui/CGuiComboBox.h"
#include "gui/CGuiSlider.h"
#include "gui/CGuiStatic.h"
#include "gui/GuiPlatform.h"

#include <windowsx.h>

CGuiControl* CGuiDialog::focusedControl = nullptr;

CGuiDialog::CGuiDialog() = default;

CGuiDialog::~CGuiDialog() {
    DeleteAllControls();
    retired.clear();
}

HRESULT CGuiDialog::Init(CGuiDialogResources* newResources) {
    resources = newResources;
    SetTexture(0, MAKEINTRESOURCEW(kBuiltInSkinId), BuiltInSkinModule());
    return InstallDefaultElements();
}

void CGuiDialog::SetCallback(GuiEventCallback newCallback, void* newUserContext) {
    callback = newCallback;
    userContext = newUserContext;
}

namespace {

// Slots are small numbers chosen by the program; a wild one must not allocate gigabytes.
constexpr UINT kMaxSlot = 255;

// Stores a cache index in a slot table, growing it with unset (-1) slots.
HRESULT StoreSlot(std::vector<int>& slots, UINT slot, int index) {
    if (slot > kMaxSlot) {
        return E_INVALIDARG;
    }
    try {
        if (slots.size() < static_cast<size_t>(slot) + 1) {
            slots.resize(static_cast<size_t>(slot) + 1, -1);
        }
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    slots[slot] = index;
    return S_OK;
}

} // namespace

HRESULT CGuiDialog::SetFont(UINT slot, const wchar_t* faceName, int fontHeight, int weight) {
    if (!resources) {
        return E_FAIL;
    }
    return StoreSlot(fontSlots, slot, resources->AddFont(faceName, fontHeight, weight));
}

HRESULT CGuiDialog::SetTexture(UINT slot, const wchar_t* resourceName, HMODULE module) {
    if (!resources) {
        return E_FAIL;
    }
    return StoreSlot(textureSlots, slot, resources->AddTexture(resourceName, module));
}

const CGuiFontEntry* CGuiDialog::GetFontOfSlot(UINT slot) const {
    if (!resources || slot >= fontSlots.size()) {
        return nullptr;
    }
    return resources->GetFont(fontSlots[slot]);
}

const CGuiTextureEntry* CGuiDialog::GetTextureOfSlot(UINT slot) const {
    if (!resources || slot >= textureSlots.size()) {
        return nullptr;
    }
    return resources->GetTexture(textureSlots[slot]);
}

void CGuiDialog::SetLocation(int newX, int newY) {
    x = newX;
    y = newY;
}

void CGuiDialog::SetSize(int newWidth, int newHeight) {
    width = newWidth;
    height = newHeight;
}

void CGuiDialog::SetBackgroundGradient(D3DCOLOR topLeft, D3DCOLOR topRight, D3DCOLOR bottomLeft,
                                        D3DCOLOR bottomRight) {
    topLeftColor = topLeft;
    topRightColor = topRight;
    bottomLeftColor = bottomLeft;
    bottomRightColor = bottomRight;
}

void CGuiDialog::ApplyDefaultElements(CGuiControl* control, ControlType type) {
    for (const CGuiDefaultElement& entry : defaultElements) {
        if (entry.controlType == static_cast<UINT>(type)) {
            control->SetElement(entry.elementIndex, entry.element);
        }
    }
}

HRESULT CGuiDialog::AppendControl(std::unique_ptr<CGuiControl> control) {
    try {
        ApplyDefaultElements(control.get(), control->GetType());
        const HRESULT hr = control->OnAdded();
        if (FAILED(hr)) {
            return hr;
        }
        controls.push_back(std::move(control));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

// The caller's pointer is set only once the control belongs to the dialog, so a failed add never leaves
// the caller holding a control that was freed.
template <typename Control>
HRESULT CGuiDialog::CreateControl(int id, int left, int top, int w, int h, Control** made) {
    *made = nullptr;
    std::unique_ptr<Control> control(new (std::nothrow) Control(this));
    if (!control) {
        return E_OUTOFMEMORY;
    }
    Control* raw = control.get();
    const HRESULT hr = AppendControl(std::move(control));
    if (FAILED(hr)) {
        return hr;
    }
    raw->SetID(id);
    raw->SetLocation(left, top);
    raw->SetSize(w, h);
    *made = raw;
    return S_OK;
}

template <typename Control>
HRESULT CGuiDialog::AddTextControl(int id, const wchar_t* text, int left, int top, int w, int h,
                                    Control** created) {
    Control* control = nullptr;
    const HRESULT hr = CreateControl(id, left, top, w, h, &control);
    if (created) {
        *created = control;
    }
    if (SUCCEEDED(hr)) {
        control->SetText(text);
    }
    return hr;
}

HRESULT CGuiDialog::AddStatic(int id, const wchar_t* text, int left, int top, int w, int h,
                               CGuiStatic** created) {
    return AddTextControl(id, text, left, top, w, h, created);
}

HRESULT CGuiDialog::AddButton(int id, const wchar_t* text, int left, int top, int w, int h,
                               CGuiButton** created) {
    return AddTextControl(id, text, left, top, w, h, created);
}

HRESULT CGuiDialog::AddSlider(int id, int left, int top, int w, int h, int min, int max, int value,
                               CGuiSlider** created) {
    CGuiSlider* control = nullptr;
    const HRESULT hr = CreateControl(id, left, top, w, h, &control);
    if (created) {
        *created = control;
    }
    if (SUCCEEDED(hr)) {
        control->SetRange(min, max);
        control->SetValue(value);
        control->UpdateLayout();
    }
    return hr;
}

HRESULT CGuiDialog::AddComboBox(int id, int left, int top, int w, int h, CGuiComboBox** created) {
    CGuiComboBox* control = nullptr;
    const HRESULT hr = CreateControl(id, left, top, w, h, &control);
    if (created) {
        *created = control;
    }
    return hr;
}

CGuiControl* CGuiDialog::GetControl(int id, ControlType type) {
    for (const auto& control : controls) {
        if (control->GetID() == id && control->GetType() == type) {
            return control.get();
        }
    }
    return nullptr;
}

// Controls deleted while a message or frame is being handled are kept until it ends.
void CGuiDialog::DeleteAllControls() {
    if (OwnsFocus()) {
        focusedControl = nullptr;
    }
    mouseOverControl = nullptr;
    ++rebuildCount;
    if (dispatchDepth > 0) {
        for (auto& control : controls) {
            retired.push_back(std::move(control));
        }
    }
    controls.clear();
}

bool CGuiDialog::OwnsFocus() const {
    return focusedControl && focusedControl->GetDialog() == this;
}

void CGuiDialog::FocusControl(CGuiControl* control) {
    if (!control || control == focusedControl || !control->AcceptsFocus()) {
        return;
    }
    if (focusedControl) {
        focusedControl->OnFocusLost();
    }
    control->OnFocusGained();
    focusedControl = control;
}

void CGuiDialog::DropFocus() {
    if (focusedControl) {
        focusedControl->OnFocusLost();
        focusedControl = nullptr;
    }
    GuiReleaseMouse();
}

void CGuiDialog::SendEvent(GuiEvent event, CGuiControl* control) {
    if (!callback || !control) {
        return;
    }
    DispatchScope scope(*this);
    callback(static_cast<UINT>(event), control->GetID(), control, userContext);
}

CGuiControl* CGuiDialog::ControlAt(POINT point) {
    for (const auto& control : controls) {
        if (control->HitTest(point) && control->IsEnabled() && control->IsVisible()) {
            return control.get();
        }
    }
    return nullptr;
}

void CGuiDialog::TrackHover(POINT point) {
    CGuiControl* under = ControlAt(point);
    if (under == mouseOverControl) {
        return;
    }
    if (mouseOverControl) {
        mouseOverControl->OnHoverEnd();
    }
    mouseOverControl = under;
    if (under) {
        under->OnHoverStart();
    }
}

// Mouse messages in dialog coordinates: first to the focused control, then to the control under the
// pointer. When a control's event rebuilt the dialog, the message has been acted on and goes no further.
bool CGuiDialog::HandleMouseMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    // The wheel carries screen coordinates.
    if (msg == WM_MOUSEWHEEL && window) {
        ScreenToClient(window, &point);
    }
    point.x -= x;
    point.y -= y;
    const unsigned rebuildsBefore = rebuildCount;
    CGuiControl* focused = OwnsFocus() && focusedControl->IsEnabled() ? focusedControl : nullptr;
    if (focused && focused->OnMouseMessage(msg, point, wParam, lParam)) {
        return true;
    }
    if (rebuildCount != rebuildsBefore) {
        return true;
    }
    if (CGuiControl* under = ControlAt(point)) {
        if (under->OnMouseMessage(msg, point, wParam, lParam) || rebuildCount != rebuildsBefore) {
            return true;
        }
    } else if (msg == WM_LBUTTONDOWN && OwnsFocus()) {
        // A click on empty dialog space takes the focus away; any mouse capture stays.
        focusedControl->OnFocusLost();
        focusedControl = nullptr;
        return false;
    }
    if (msg == WM_MOUSEMOVE) {
        TrackHover(point);
    }
    return false;
}

bool CGuiDialog::HandleMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!visible) {
        return false;
    }
    DispatchScope scope(*this);
    CGuiControl* focused = OwnsFocus() && focusedControl->IsEnabled() ? focusedControl : nullptr;
    if (focused && focused->HandleMessage(msg, wParam, lParam)) {
        return true;
    }
    switch (msg) {
    case WM_MOVE:
    case WM_SIZE:
        TrackHover({-1, -1});
        return false;
    case WM_ACTIVATEAPP:
        if (focused) {
            if (wParam) {
                focused->OnFocusGained();
            } else {
                focused->OnFocusLost();
            }
        }
        return false;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        return focused && focused->OnKeyMessage(msg, wParam, lParam);
    default:
        if (msg >= WM_MOUSEFIRST && msg <= 0x020D) {
            return HandleMouseMessage(window, msg, wParam, lParam);
        }
        return false;
    }
}
