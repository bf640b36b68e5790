// Base behaviour shared by all controls.
#include "gui/CDXUTControl.h"

int CDXUTControl::liveCount = 0;

CDXUTControl::CDXUTControl(CDXUTDialog* owner) : dialog(owner) {
    ++liveCount;
}

CDXUTControl::~CDXUTControl() {
    --liveCount;
}

void CDXUTControl::ResetState() {
    mouseOver = false;
    hasFocus = false;
    for (CDXUTDrawElement& element : elements) {
        element.textureColor.SetCurrent(element.textureColor.GetColor(ControlState::Hidden));
        element.fontColor.SetCurrent(element.fontColor.GetColor(ControlState::Hidden));
    }
}

bool CDXUTControl::HitTest(POINT point) {
    return PointInRect(boundingBox, point);
}

void CDXUTControl::SetFontColor(D3DCOLOR color) {
    if (!elements.empty()) {
        elements[0].fontColor.SetColor(ControlState::Normal, color);
    }
}

void CDXUTControl::UpdateLayout() {
    boundingBox = {x, y, x + width, y + height};
}

void CDXUTControl::SetLocation(int newX, int newY) {
    x = newX;
    y = newY;
    UpdateLayout();
}

void CDXUTControl::SetSize(int newWidth, int newHeight) {
    width = newWidth;
    height = newHeight;
    UpdateLayout();
}

void CDXUTControl::SetElement(UINT index, const CDXUTDrawElement& element) {
    if (elements.size() < index + 1) {
        elements.resize(index + 1);
    }
    elements[index] = element;
}

CDXUTDrawElement* CDXUTControl::GetElement(UINT index) {
    return index < elements.size() ? &elements[index] : nullptr;
}

bool PointInRect(const RECT& rect, POINT point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

RECT OffsetRectBy(RECT rect, int dx, int dy) {
    return {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
}
