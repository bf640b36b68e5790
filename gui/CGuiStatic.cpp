// Static text.
#include "gui/CGuiStatic.h"

#include "gui/CGuiDialog.h"

CGuiStatic::CGuiStatic(CGuiDialog* owner) : CGuiControl(owner) {
    type = ControlType::Static;
}

HRESULT CGuiStatic::SetText(const wchar_t* newText) {
    text = newText ? newText : L"";
    if (text.size() > kMaxTextLength) {
        text.resize(kMaxTextLength);
    }
    return S_OK;
}

void CGuiStatic::Render(IDirect3DDevice9*, float elapsedSeconds) {
    if (!visible || elements.empty()) {
        return;
    }
    const ControlState state = enabled ? ControlState::Normal : ControlState::Disabled;
    CGuiDrawElement& element = elements[0];
    element.fontColor.Blend(state, elapsedSeconds, 0.7f);
    dialog->DrawElementText(text.c_str(), &element, &boundingBox, true);
}
