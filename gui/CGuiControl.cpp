// Base behaviour shared by all controls.
#include "gui/CGuiControl.h"

int CGuiControl::liveCount = 0;

CGuiControl::CGuiControl(CGuiDialog* owner) : dialog(owner) {
    ++liveCount;
}

CGuiControl::~CGuiControl() {
    --liveCount;
}

void CGuiControl::ResetState() {
    mouseOver = false;
    hasFocus = false;
    for (CGuiDrawElement& element : elements) {
        element.textureColor.SetCurrent(element.textureColor.GetColor(ControlState::Hidden));
        element.fontColor.SetCurrent(element.fontColor.GetColor(ControlState::Hidden));
    }
}

bool CGuiControl::HitTest(POINT point) {
    return PointInRect(boundingBox, point);
}

void CGuiControl::SetFontColor(D3DCOLOR color) {
    if (!elements.empty()) {
        elements[0].fontColor.SetColor(ControlState::Normal, color);
    }
}

void CGuiControl::UpdateLayout() {
    boundingBox = {x, y, x + width, y + height};
}

void CGuiControl::SetLocation(int newX, int newY) {
    x = newX;
    y = newY;
    UpdateLayout();
}

void CGuiControl::SetSize(int newWidth, int newHeight) {
    width = newWidth;
    height = newHeight;
    UpdateLayout();
}

void CGuiControl::SetElement(UINT index, const CGuiDrawElement& element) {
    if (elements.size() < index + 1) {
        elements.resize(index + 1);
    }
    elements[index] = element;
}

CGuiDrawElement* CGuiControl::GetElement(UINT index) {
    return index < elements.size() ? &elements[index] : nullptr;
}

bool PointInRect(const RECT& rect, POINT point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

RECT OffsetRectBy(RECT rect, int dx, int dy) {
    return {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
}
