// The dialog's model: controls, slots, focus, hover, message routing and events.
#include "gui/CDXUTDialog.h"

#include "gui/CDXUTButton.h"
#include "gui/CDXUTComboBox.h"
#include "gui/CDXUTSlider.h"
#include "gui/CDXUTStatic.h"
#include "gui/GuiPlatform.h"

#include <windowsx.h>

CDXUTControl* CDXUTDialog::focusedControl = nullptr;

CDXUTDialog::CDXUTDialog() = default;

CDXUTDialog::~CDXUTDialog() {
    DeleteAllControls();
    retired.clear();
}

HRESULT CDXUTDialog::Init(CDXUTDialogResources* newResources) {
    resources = newResources;
    SetTexture(0, MAKEINTRESOURCEW(BuiltInSkinId), BuiltInSkinModule());
    return InstallDefaultElements();
}

void CDXUTDialog::SetCallback(GuiEventCallback newCallback, void* newUserContext) {
    callback = newCallback;
    userContext = newUserContext;
}

namespace {

// Slots are small numbers chosen by the program; a wild one must not allocate gigabytes.
constexpr UINT MaxSlot = 255;

// Stores a cache index in a slot table, growing it with unset (-1) slots.
HRESULT StoreSlot(std::vector<int>& slots, UINT slot, int index) {
    if (slot > MaxSlot) {
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

HRESULT CDXUTDialog::SetFont(UINT slot, const wchar_t* faceName, int fontHeight, int weight) {
    if (!resources) {
        return E_FAIL;
    }
    return StoreSlot(fontSlots, slot, resources->AddFont(faceName, fontHeight, weight));
}

HRESULT CDXUTDialog::SetTexture(UINT slot, const wchar_t* resourceName, HMODULE module) {
    if (!resources) {
        return E_FAIL;
    }
    return StoreSlot(textureSlots, slot, resources->AddTexture(resourceName, module));
}

const CDXUTFontEntry* CDXUTDialog::GetFontOfSlot(UINT slot) const {
    if (!resources || slot >= fontSlots.size()) {
        return nullptr;
    }
    return resources->GetFont(fontSlots[slot]);
}

const CDXUTTextureEntry* CDXUTDialog::GetTextureOfSlot(UINT slot) const {
    if (!resources || slot >= textureSlots.size()) {
        return nullptr;
    }
    return resources->GetTexture(textureSlots[slot]);
}

void CDXUTDialog::SetLocation(int newX, int newY) {
    x = newX;
    y = newY;
}

void CDXUTDialog::SetSize(int newWidth, int newHeight) {
    width = newWidth;
    height = newHeight;
}

void CDXUTDialog::SetBackgroundGradient(D3DCOLOR topLeft, D3DCOLOR topRight, D3DCOLOR bottomLeft,
                                        D3DCOLOR bottomRight) {
    topLeftColor = topLeft;
    topRightColor = topRight;
    bottomLeftColor = bottomLeft;
    bottomRightColor = bottomRight;
}

void CDXUTDialog::ApplyDefaultElements(CDXUTControl* control, ControlType type) {
    for (const CDXUTDefaultElement& entry : defaultElements) {
        if (entry.controlType == static_cast<UINT>(type)) {
            control->SetElement(entry.elementIndex, entry.element);
        }
    }
}

HRESULT CDXUTDialog::AppendControl(std::unique_ptr<CDXUTControl> control) {
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
template <typename Control> HRESULT CDXUTDialog::CreateControl(Control** made) {
    *made = nullptr;
    std::unique_ptr<Control> control(new (std::nothrow) Control(this));
    if (!control) {
        return E_OUTOFMEMORY;
    }
    Control* raw = control.get();
    const HRESULT hr = AppendControl(std::move(control));
    if (SUCCEEDED(hr)) {
        *made = raw;
    }
    return hr;
}

HRESULT CDXUTDialog::AddStatic(int id, const wchar_t* text, int left, int top, int w, int h,
                               CDXUTStatic** created) {
    CDXUTStatic* control = nullptr;
    const HRESULT hr = CreateControl(&control);
    if (created) {
        *created = control;
    }
    if (FAILED(hr)) {
        return hr;
    }
    control->SetID(id);
    control->SetText(text);
    control->SetLocation(left, top);
    control->SetSize(w, h);
    return S_OK;
}

HRESULT CDXUTDialog::AddButton(int id, const wchar_t* text, int left, int top, int w, int h,
                               CDXUTButton** created) {
    CDXUTButton* control = nullptr;
    const HRESULT hr = CreateControl(&control);
    if (created) {
        *created = control;
    }
    if (FAILED(hr)) {
        return hr;
    }
    control->SetID(id);
    control->SetText(text);
    control->SetLocation(left, top);
    control->SetSize(w, h);
    return S_OK;
}

HRESULT CDXUTDialog::AddSlider(int id, int left, int top, int w, int h, int min, int max, int value,
                               CDXUTSlider** created) {
    CDXUTSlider* control = nullptr;
    const HRESULT hr = CreateControl(&control);
    if (created) {
        *created = control;
    }
    if (FAILED(hr)) {
        return hr;
    }
    control->SetID(id);
    control->SetLocation(left, top);
    control->SetSize(w, h);
    control->SetRange(min, max);
    control->SetValue(value);
    control->UpdateLayout();
    return S_OK;
}

HRESULT CDXUTDialog::AddComboBox(int id, int left, int top, int w, int h, CDXUTComboBox** created) {
    CDXUTComboBox* control = nullptr;
    const HRESULT hr = CreateControl(&control);
    if (created) {
        *created = control;
    }
    if (FAILED(hr)) {
        return hr;
    }
    control->SetID(id);
    control->SetLocation(left, top);
    control->SetSize(w, h);
    return S_OK;
}

CDXUTControl* CDXUTDialog::GetControl(int id, ControlType type) {
    for (const auto& control : controls) {
        if (control->GetID() == id && control->GetType() == type) {
            return control.get();
        }
    }
    return nullptr;
}

// Controls deleted while a message or frame is being handled are kept until it ends.
void CDXUTDialog::DeleteAllControls() {
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

bool CDXUTDialog::OwnsFocus() const {
    return focusedControl && focusedControl->GetDialog() == this;
}

void CDXUTDialog::FocusControl(CDXUTControl* control) {
    if (!control || control == focusedControl || !control->AcceptsFocus()) {
        return;
    }
    if (focusedControl) {
        focusedControl->OnFocusLost();
    }
    control->OnFocusGained();
    focusedControl = control;
}

void CDXUTDialog::DropFocus() {
    if (focusedControl) {
        focusedControl->OnFocusLost();
        focusedControl = nullptr;
    }
    GuiReleaseMouse();
}

void CDXUTDialog::SendEvent(GuiEvent event, CDXUTControl* control) {
    if (!callback || !control) {
        return;
    }
    DispatchScope scope(*this);
    callback(static_cast<UINT>(event), control->GetID(), control, userContext);
}

CDXUTControl* CDXUTDialog::ControlAt(POINT point) {
    for (const auto& control : controls) {
        if (control->HitTest(point) && control->IsEnabled() && control->IsVisible()) {
            return control.get();
        }
    }
    return nullptr;
}

void CDXUTDialog::TrackHover(POINT point) {
    CDXUTControl* under = ControlAt(point);
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
bool CDXUTDialog::HandleMouseMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    // The wheel carries screen coordinates.
    if (msg == WM_MOUSEWHEEL && window) {
        ScreenToClient(window, &point);
    }
    point.x -= x;
    point.y -= y;
    const unsigned rebuildsBefore = rebuildCount;
    CDXUTControl* focused = OwnsFocus() && focusedControl->IsEnabled() ? focusedControl : nullptr;
    if (focused && focused->OnMouseMessage(msg, point, wParam, lParam)) {
        return true;
    }
    if (rebuildCount != rebuildsBefore) {
        return true;
    }
    if (CDXUTControl* under = ControlAt(point)) {
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

bool CDXUTDialog::HandleMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!visible) {
        return false;
    }
    DispatchScope scope(*this);
    CDXUTControl* focused = OwnsFocus() && focusedControl->IsEnabled() ? focusedControl : nullptr;
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
