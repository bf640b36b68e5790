// A vertical scroll bar over an integer range of items, with arrows that repeat while held.
#pragma once

#include "gui/CGuiControl.h"

class CGuiScrollBar : public CGuiControl {
public:
    static constexpr double kFirstRepeatDelay = 0.33;
    static constexpr double kRepeatInterval = 0.05;

    explicit CGuiScrollBar(CGuiDialog* dialog);

    void Render(IDirect3DDevice9* device, float elapsedSeconds) override;
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnMouseMessage(UINT msg, POINT point, WPARAM wParam, LPARAM lParam) override;
    void UpdateLayout() override;

    // The range is start <= item < end.
    void SetRangeLimits(int newStart, int newEnd);
    void SetPageSize(int size);
    void ScrollBy(int delta);
    void EnsureVisible(int index);
    void UpdateThumb();
    // Steps once more when an arrow has been held long enough; runs once per frame.
    void UpdateArrowRepeat(double now);

    int GetPosition() const { return position; }
    int GetPageSize() const { return pageSize; }
    bool IsThumbShown() const { return showThumb; }
    bool IsDragging() const { return dragging; }
    const RECT& GetUpRect() const { return upRect; }
    const RECT& GetDownRect() const { return downRect; }
    const RECT& GetTrackRect() const { return trackRect; }
    const RECT& GetThumbRect() const { return thumbRect; }
    // The state the bar is drawn in.
    ControlState CurrentState();

private:
    enum class Arrow { None = 0, UpClicked = 1, DownClicked = 2, UpHeld = 3, DownHeld = 4 };

    bool OnButtonDown(POINT point);
    void DragThumb(POINT point);
    // Keeps the position inside the range, then lays out the thumb.
    void Cap();

    bool showThumb = true;
    bool dragging = false;
    RECT upRect = {}, downRect = {}, trackRect = {}, thumbRect = {};
    int position = 0;
    int pageSize = 1;
    int start = 0;
    int end = 1;
    POINT lastMouse = {};
    Arrow arrowState = Arrow::None;
    double arrowTime = 0.0;

    static int thumbGrabOffset; // pointer y minus thumb top when the one thumb drag began
};
