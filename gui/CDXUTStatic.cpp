// Static text.
#include "gui/CDXUTStatic.h"

#include "gui/CDXUTDialog.h"

CDXUTStatic::CDXUTStatic(CDXUTDialog* owner) : CDXUTControl(owner) {
    type = ControlType::Static;
}

HRESULT CDXUTStatic::SetText(const wchar_t* newText) {
    text = newText ? newText : L"";
    if (text.size() > MaxTextLength) {
        text.resize(MaxTextLength);
    }
    return S_OK;
}

void CDXUTStatic::Render(IDirect3DDevice9*, float elapsedSeconds) {
    if (!visible || elements.empty()) {
        return;
    }
    const ControlState state = enabled ? ControlState::Normal : ControlState::Disabled;
    CDXUTDrawElement& element = elements[0];
    element.fontColor.Blend(state, elapsedSeconds, 0.7f);
    dialog->DrawElementText(text.c_str(), &element, &boundingBox, true);
}
