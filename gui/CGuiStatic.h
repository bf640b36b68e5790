// A text label with a drop shadow; it never takes the mouse or the focus.
#pragma once

#include "gui/CGuiControl.h"

#include <string>

class CGuiStatic : public CGuiControl {
public:
    static constexpr size_t kMaxTextLength = 259;

    explicit CGuiStatic(CGuiDialog* dialog);

    void Render(IDirect3DDevice9* device, float elapsedSeconds) override;
    bool HitTest(POINT) override { return false; }

    // Null gives an empty text; a longer text is cut to kMaxTextLength characters.
    HRESULT SetText(const wchar_t* newText);
    const wchar_t* GetText() const { return text.c_str(); }

protected:
    std::wstring text;
};
