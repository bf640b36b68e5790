// The dialog's drawing: the default look of the controls, element images and texts, and the frame's
// render states, background gradient and sprite batch.
#include "gui/CGuiControl.h"
#include "gui/CGuiDialog.h"
#include "gui/DefaultElementTable.h"

#include "graphics/StateBlockScope.h"

#include <algorithm>

HRESULT CGuiDialog::RegisterDefaultElement(UINT controlType, UINT elementIndex,
                                            const CGuiDrawElement* element) {
    // Controls have a handful of elements; a wild index must not make every new control huge.
    constexpr UINT MaxElementIndex = 63;
    if (!element || elementIndex > MaxElementIndex) {
        return E_INVALIDARG;
    }
    for (CGuiDefaultElement& entry : defaultElements) {
        if (entry.controlType == controlType && entry.elementIndex == elementIndex) {
            entry.element = *element;
            return S_OK;
        }
    }
    try {
        defaultElements.push_back({controlType, elementIndex, *element});
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT CGuiDialog::InstallDefaultElements() {
    SetFont(0, L"Arial", 14, FW_NORMAL);
    for (const DefaultElementRow& row : DefaultElementRows()) {
        CGuiDrawElement element;
        element.textureSlot = 0;
        element.fontSlot = 0;
        element.textFormat = row.textFormat;
        element.textureRect = row.textureRect;
        element.textureColor.Init(row.textureColors[0]);
        element.fontColor.Init(row.fontColors[0]);
        for (int state = 0; state < kControlStateCount; ++state) {
            element.textureColor.colors[state] = row.textureColors[state];
            element.fontColor.colors[state] = row.fontColors[state];
        }
        const HRESULT hr = RegisterDefaultElement(static_cast<UINT>(row.type), row.index, &element);
        if (FAILED(hr)) {
            return hr;
        }
    }
    return S_OK;
}

// The skin rectangle is stretched over the destination; an empty source or destination draws nothing.
HRESULT CGuiDialog::DrawElementImage(const CGuiDrawElement* element, const RECT* rect) {
    if (!element || !rect || element->textureColor.CurrentAlpha() == 0.0f) {
        return S_OK;
    }
    const RECT screen = OffsetRectBy(*rect, x, y);
    const CGuiTextureEntry* entry = GetTextureOfSlot(element->textureSlot);
    if (!entry || !resources->GetSprite()) {
        return E_FAIL;
    }
    const RECT& source = element->textureRect;
    const int sourceWidth = source.right - source.left;
    const int sourceHeight = source.bottom - source.top;
    const int screenWidth = screen.right - screen.left;
    const int screenHeight = screen.bottom - screen.top;
    if (sourceWidth <= 0 || sourceHeight <= 0 || screenWidth <= 0 || screenHeight <= 0) {
        return S_OK;
    }
    if (!entry->texture) {
        return E_FAIL;
    }
    const float scaleX = static_cast<float>(screenWidth) / sourceWidth;
    const float scaleY = static_cast<float>(screenHeight) / sourceHeight;
    const Matrix2D stretch{scaleX, 0.0f, 0.0f, scaleY, static_cast<float>(screen.left), static_cast<float>(screen.top)};
    return resources->GetSprite()->Draw(entry->texture.Get(), &source, stretch, element->textureColor.Current());
}

// With a shadow the text is drawn first in black, one pixel right and down, with the text's alpha.
HRESULT CGuiDialog::DrawElementText(const wchar_t* text, const CGuiDrawElement* element, const RECT* rect,
                                     bool shadow, int count) {
    if (!element || !rect || !text || element->fontColor.CurrentAlpha() == 0.0f) {
        return S_OK;
    }
    RECT screen = OffsetRectBy(*rect, x, y);
    const CGuiFontEntry* font = GetFontOfSlot(element->fontSlot);
    SpriteBatch* sprite = resources ? resources->GetSprite() : nullptr;
    if (!font || !font->font || !sprite) {
        return E_FAIL;
    }
    if (shadow) {
        RECT shadowRect = OffsetRectBy(screen, 1, 1);
        const BYTE alpha =
            static_cast<BYTE>(std::clamp(element->fontColor.CurrentAlpha(), 0.0f, 1.0f) * 255.0f);
        if (font->font->Draw(sprite, text, count, &shadowRect, element->textFormat,
                             D3DCOLOR_ARGB(alpha, 0, 0, 0)) == 0 &&
            text[0] != L'\0' && count != 0) {
            return E_FAIL;
        }
    }
    if (font->font->Draw(sprite, text, count, &screen, element->textFormat, element->fontColor.Current()) ==
            0 &&
        text[0] != L'\0' && count != 0) {
        return E_FAIL;
    }
    return S_OK;
}

namespace {

struct GradientVertex {
    float x, y, z, rhw;
    D3DCOLOR color;
};
static_assert(sizeof(GradientVertex) == 20);

} // namespace

void CGuiDialog::SetRenderStates(IDirect3DDevice9* device) {
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
    device->SetRenderState(D3DRS_SEPARATEALPHABLENDENABLE, FALSE);
    device->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
    device->SetRenderState(D3DRS_COLORWRITEENABLE, 0xF);
    device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
    device->SetRenderState(D3DRS_FOGENABLE, FALSE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    device->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_RESULTARG, D3DTA_CURRENT);
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
}

// Nothing is drawn when all four corners are fully transparent.
void CGuiDialog::DrawBackground(IDirect3DDevice9* device) {
    const D3DCOLOR corners = topLeftColor | topRightColor | bottomLeftColor | bottomRightColor;
    if ((corners & 0xFF000000) == 0) {
        return;
    }
    const float left = static_cast<float>(x);
    const float top = static_cast<float>(y);
    const float right = static_cast<float>(x + width);
    const float bottom = static_cast<float>(y + height);
    const GradientVertex vertices[4] = {
        {left, top, 0.5f, 1.0f, topLeftColor},
        {right, top, 0.5f, 1.0f, topRightColor},
        {right, bottom, 0.5f, 1.0f, bottomRightColor},
        {left, bottom, 0.5f, 1.0f, bottomLeftColor},
    };
    device->SetVertexShader(nullptr);
    device->SetPixelShader(resources->GetBackgroundProgram());
    device->SetRenderState(D3DRS_ZENABLE, FALSE);
    device->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
    device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, vertices, sizeof(GradientVertex));
}

// Every control but the focused one in list order, then the focused one on top.
void CGuiDialog::RenderControls(IDirect3DDevice9* device, float elapsedSeconds) {
    const unsigned rebuildsBefore = rebuildCount;
    for (size_t i = 0; i < controls.size() && rebuildCount == rebuildsBefore; ++i) {
        if (controls[i].get() != focusedControl) {
            controls[i]->Render(device, elapsedSeconds);
        }
    }
    if (OwnsFocus() && rebuildCount == rebuildsBefore) {
        focusedControl->Render(device, elapsedSeconds);
    }
}

HRESULT CGuiDialog::Render(float elapsedSeconds) {
    if (!visible) {
        return S_OK;
    }
    IDirect3DDevice9* device = resources ? resources->GetDevice() : nullptr;
    IDirect3DStateBlock9* stateBlock = resources ? resources->GetStateBlock() : nullptr;
    SpriteBatch* sprite = resources ? resources->GetSprite() : nullptr;
    if (!device || !stateBlock || !sprite) {
        return E_FAIL;
    }
    DispatchScope scope(*this);
    // The resources' block holds the states of the sprite batch's drawing, among them all that the
    // background and the element images set here.
    const StateBlockScope savedStates(stateBlock);
    SetRenderStates(device);
    DrawBackground(device);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    const CGuiTextureEntry* skin = GetTextureOfSlot(0);
    device->SetTexture(0, skin ? skin->texture.Get() : nullptr);
    // The state block above gives the states back, so the batch need not save them again.
    SpriteBatchScope batch(*sprite, SpriteBlend::Over, SpriteStateSaving::DoNotSave);
    if (FAILED(batch.Result())) {
        return batch.Result();
    }
    RenderControls(device, elapsedSeconds);
    return batch.End();
}
