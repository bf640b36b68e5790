// Drawing with a real device: every control kind, the background gradient, fading in, the text shadow,
// and the cache's life through device resets and re-creation.
#include "gui/CGuiButton.h"
#include "gui/CGuiComboBox.h"
#include "gui/CGuiSlider.h"
#include "gui/CGuiStatic.h"
#include "support/DialogProbe.h"
#include "support/TestDevice.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;

// A device, a cache bound to it and a dialog, drawn a frame at a time.
struct RenderProbe {
    TestDevice device{kWidth, kHeight};
    GuiTestPlatform platform;
    CGuiDialogResources resources;
    CGuiDialog dialog;

    RenderProbe() {
        if (!device.Ok()) {
            return;
        }
        dialog.Init(&resources);
        dialog.SetFont(1, L"Noto Sans CJK JP", 16, FW_NORMAL);
        resources.CreateDeviceObjects(device.Device());
        resources.ResetDeviceObjects();
    }
    ~RenderProbe() {
        resources.LoseDeviceObjects();
        resources.DestroyDeviceObjects();
    }
    HRESULT Frame(float elapsed, D3DCOLOR clear = 0xFF000000) {
        device.BeginFrame(clear);
        const HRESULT hr = dialog.Render(elapsed);
        device.EndFrame();
        return hr;
    }
    // Writes the last frame to $VITRELLE_GUI_SHOTS/<name>.png when that folder is given.
    void Shot(const wchar_t* name) const {
        if (const wchar_t* folder = _wgetenv(L"VITRELLE_GUI_SHOTS")) {
            device.Save(std::wstring(folder) + L"\\" + name + L".png");
        }
    }
};

// Every control kind, the combo box's list open so its scroll bar shows too.
void BuildAllKinds(RenderProbe& probe) {
    CGuiDialog& dialog = probe.dialog;
    dialog.SetLocation(20, 20);
    dialog.SetSize(360, 260);
    dialog.SetBackgroundGradient(0xC0203060, 0xC0203060, 0xC0101828, 0xC0101828);
    CGuiStatic* label = nullptr;
    dialog.AddStatic(-1, L"三角形の大きさ", 10, 10, 200, 24, &label);
    label->GetElement(0)->fontSlot = 1;
    label->GetElement(0)->textFormat = DT_LEFT | DT_VCENTER;
    dialog.AddButton(0, L"OK", 10, 200, 100, 40);
    dialog.AddSlider(1, 20, 50, 200, 24, 0, 100, 30);
    CGuiComboBox* combo = nullptr;
    dialog.AddComboBox(2, 10, 90, 220, 26, &combo);
    combo->SetListHeight(80);
    for (int i = 0; i < 10; ++i) {
        combo->AddItem((L"項目 " + std::to_wstring(i)).c_str(), nullptr);
    }
    for (int e = 0; e < 4; ++e) {
        combo->GetElement(e)->fontSlot = 1;
    }
    combo->UpdateLayout();
    dialog.FocusControl(combo);
    combo->OnKeyMessage(WM_KEYDOWN, VK_F4, 0);
}

bool Differs(D3DCOLOR a, D3DCOLOR b, int by) {
    return std::abs(Red(a) - Red(b)) > by || std::abs(Green(a) - Green(b)) > by || std::abs(Blue(a) - Blue(b)) > by;
}

// Pixels of a rectangle of the last frame that differ from a colour.
int CountDiffering(const TestDevice& device, RECT area, D3DCOLOR from) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            count += Differs(device.Pixel(x, y), from, 8) ? 1 : 0;
        }
    }
    return count;
}

// Pixels the dialog's frame wrote, counted by the device (alpha 0 still writes, invisibly).
DWORD PixelsDrawn(RenderProbe& probe, float elapsed) {
    Microsoft::WRL::ComPtr<IDirect3DQuery9> query;
    if (FAILED(probe.device.Device()->CreateQuery(D3DQUERYTYPE_OCCLUSION, query.GetAddressOf()))) {
        return ~0u;
    }
    probe.device.BeginFrame(0xFF000000);
    query->Issue(D3DISSUE_BEGIN);
    probe.dialog.Render(elapsed);
    query->Issue(D3DISSUE_END);
    probe.device.EndFrame();
    DWORD drawn = 0;
    while (query->GetData(&drawn, sizeof(drawn), D3DGETDATA_FLUSH) == S_FALSE) {
    }
    return drawn;
}

} // namespace

TEST_SUITE("gui") {

TEST_CASE("Render: a dialog with every control kind draws them all") {
    RenderProbe probe;
    if (!probe.device.Ok()) {
        MESSAGE("no Direct3D 9 device here; drawing not checked");
        return;
    }
    BuildAllKinds(probe);
    for (int frame = 0; frame < 60; ++frame) {
        REQUIRE(probe.Frame(1.0f / 30.0f) == S_OK);
    }
    probe.Shot(L"all-kinds");
    const D3DCOLOR black = 0xFF000000;
    CHECK(CountDiffering(probe.device, {30, 30, 230, 54}, black) > 200);   // the label
    CHECK(CountDiffering(probe.device, {30, 220, 130, 260}, black) > 1000); // the button
    CHECK(CountDiffering(probe.device, {30, 70, 250, 94}, black) > 500);   // the slider
    CHECK(CountDiffering(probe.device, {30, 110, 250, 136}, black) > 1000); // the combo box
    const RECT list = probe.dialog.GetControl(2, ControlType::ComboBox) != nullptr
                          ? static_cast<CGuiComboBox*>(probe.dialog.GetControl(2, ControlType::ComboBox))->GetListRect()
                          : RECT{};
    CHECK(CountDiffering(probe.device, OffsetRectBy(list, 20, 20), black) > 3000); // the open list
    // Outside the dialog nothing is drawn.
    CHECK(CountDiffering(probe.device, {385, 0, 400, 300}, black) == 0);
}

TEST_CASE("Render: the background gradient has its corner colours; all alphas 0 draws nothing") {
    RenderProbe probe;
    if (!probe.device.Ok()) {
        return;
    }
    probe.dialog.SetLocation(50, 40);
    probe.dialog.SetSize(200, 100);
    probe.dialog.SetBackgroundGradient(0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF);
    REQUIRE(probe.Frame(0.016f) == S_OK);
    probe.Shot(L"gradient");
    const D3DCOLOR topLeft = probe.device.Pixel(51, 41);
    CHECK(Red(topLeft) > 240);
    CHECK(Green(topLeft) < 15);
    const D3DCOLOR topRight = probe.device.Pixel(248, 41);
    CHECK(Green(topRight) > 240);
    CHECK(Red(topRight) < 15);
    const D3DCOLOR bottomLeft = probe.device.Pixel(51, 138);
    CHECK(Blue(bottomLeft) > 240);
    CHECK(Red(bottomLeft) < 15);
    CHECK(probe.device.Pixel(49, 41) == 0xFF000000);  // left of the dialog
    CHECK(probe.device.Pixel(150, 141) == 0xFF000000); // below it
    // The middle lies on the fan's diagonal, halfway from red to white.
    const D3DCOLOR middle = probe.device.Pixel(150, 90);
    CHECK(Red(middle) > 240);
    CHECK(std::abs(Green(middle) - 128) < 12);
    CHECK(std::abs(Blue(middle) - 128) < 12);

    // Half-transparent corners blend over what is below.
    probe.dialog.SetBackgroundGradient(0x80FFFFFF, 0x80FFFFFF, 0x80FFFFFF, 0x80FFFFFF);
    probe.Frame(0.016f);
    CHECK(std::abs(Red(probe.device.Pixel(150, 90)) - 128) <= 3);

    const DWORD transparent = [&] {
        probe.dialog.SetBackgroundGradient(0x00FF0000, 0x0000FF00, 0x000000FF, 0x00FFFFFF);
        return PixelsDrawn(probe, 0.016f);
    }();
    if (transparent == ~0u) {
        MESSAGE("no occlusion queries here; the empty gradient is not checked");
        return;
    }
    CHECK(transparent == 0);
    probe.dialog.SetBackgroundGradient(0x00FF0000, 0x0000FF00, 0x000000FF, 0x01FFFFFF);
    CHECK(PixelsDrawn(probe, 0.016f) == 200u * 100u);
}

TEST_CASE("Render: a new control's first frame at 60 fps is about 10.6 % of the way to its colour") {
    RenderProbe probe;
    if (!probe.device.Ok()) {
        return;
    }
    CGuiSlider* slider = nullptr;
    probe.dialog.AddSlider(1, 100, 100, 200, 40, 0, 100, 50, &slider);
    // Only the thumb is drawn, and it fades from white at alpha 0, so its pixels on black are
    // proportional to the faded alpha alone.
    CGuiDrawElement* track = slider->GetElement(0);
    for (int state = 0; state < kControlStateCount; ++state) {
        track->textureColor.colors[state] = 0;
    }
    slider->GetElement(1)->textureColor.SetColor(ControlState::Hidden, 0x00FFFFFF);
    slider->ResetState();
    const RECT thumb = slider->GetThumbRect();
    const int cx = (thumb.left + thumb.right) / 2;
    const int cy = (thumb.top + thumb.bottom) / 2;
    REQUIRE(probe.Frame(1.0f / 60.0f) == S_OK);
    const D3DCOLOR first = probe.device.Pixel(cx, cy);
    for (int frame = 0; frame < 120; ++frame) {
        probe.Frame(1.0f / 30.0f);
    }
    const D3DCOLOR full = probe.device.Pixel(cx, cy);
    probe.Shot(L"fade-in");
    const int fullBrightest = static_cast<int>(std::max({Red(full), Green(full), Blue(full)}));
    REQUIRE(fullBrightest > 100);
    const int channel = fullBrightest == Blue(full) ? Blue(first) : fullBrightest == Green(full) ? Green(first) : Red(first);
    const double share = static_cast<double>(channel) / fullBrightest;
    CHECK(share > 0.095);
    CHECK(share < 0.12);
}

TEST_CASE("Render: a static's text has a black shadow one pixel right and down") {
    RenderProbe probe;
    if (!probe.device.Ok()) {
        return;
    }
    CGuiStatic* label = nullptr;
    probe.dialog.AddStatic(-1, L"設定 Shadow", 20, 20, 300, 40, &label);
    label->GetElement(0)->fontSlot = 1;
    const D3DCOLOR grey = 0xFF808080;
    for (int frame = 0; frame < 60; ++frame) {
        probe.Frame(1.0f / 30.0f, grey);
    }
    probe.Shot(L"shadow");
    // Lit text pixels and dark shadow pixels: the shadow reaches a row and a column further.
    RECT lit = {kWidth, kHeight, -1, -1};
    RECT dark = {kWidth, kHeight, -1, -1};
    for (int y = 20; y < 62; ++y) {
        for (int x = 20; x < 322; ++x) {
            const int red = Red(probe.device.Pixel(x, y));
            RECT* box = red > 150 ? &lit : red < 100 ? &dark : nullptr;
            if (box) {
                box->left = std::min<LONG>(box->left, x);
                box->top = std::min<LONG>(box->top, y);
                box->right = std::max<LONG>(box->right, x);
                box->bottom = std::max<LONG>(box->bottom, y);
            }
        }
    }
    REQUIRE(lit.right > lit.left + 30);
    REQUIRE(dark.right > dark.left);
    // Anti-aliased edges may move a box by one pixel either way of the threshold.
    CHECK(dark.bottom - lit.bottom >= 1);
    CHECK(dark.bottom - lit.bottom <= 2);
    CHECK(dark.right - lit.right >= 1);
    CHECK(dark.right - lit.right <= 2);
    CHECK(dark.top > lit.top);
    CHECK(dark.left > lit.left);
}

TEST_CASE("Render: the dialog survives a device reset and a destroy and create of the cache") {
    RenderProbe probe;
    if (!probe.device.Ok()) {
        return;
    }
    BuildAllKinds(probe);
    for (int frame = 0; frame < 60; ++frame) {
        probe.Frame(1.0f / 30.0f);
    }
    const D3DCOLOR button = probe.device.Pixel(80, 230);
    const D3DCOLOR text = probe.device.Pixel(40, 42);
    const size_t fonts = probe.resources.FontCount();
    const size_t textures = probe.resources.TextureCount();

    probe.resources.LoseDeviceObjects();
    REQUIRE(probe.device.Reset() == S_OK);
    REQUIRE(probe.resources.ResetDeviceObjects() == S_OK);
    REQUIRE(probe.Frame(1.0f / 30.0f) == S_OK);
    CHECK(probe.device.Pixel(80, 230) == button);

    probe.resources.LoseDeviceObjects();
    probe.resources.DestroyDeviceObjects();
    CHECK(probe.dialog.Render(0.016f) == E_FAIL); // no device: nothing drawn, nothing broken
    REQUIRE(probe.resources.CreateDeviceObjects(probe.device.Device()) == S_OK);
    REQUIRE(probe.resources.ResetDeviceObjects() == S_OK);
    CHECK(probe.resources.FontCount() == fonts);
    CHECK(probe.resources.TextureCount() == textures);
    for (size_t i = 0; i < fonts; ++i) {
        CHECK(probe.resources.GetFont(static_cast<int>(i))->font != nullptr);
    }
    CHECK(probe.dialog.GetTextureOfSlot(0)->texture != nullptr);
    CHECK(probe.dialog.GetFontOfSlot(1)->faceName == L"Noto Sans CJK JP");
    REQUIRE(probe.Frame(1.0f / 30.0f) == S_OK);
    probe.Shot(L"after-recreate");
    CHECK(probe.device.Pixel(80, 230) == button);
    CHECK(probe.device.Pixel(40, 42) == text);
}

TEST_CASE("Render: the control added last is drawn on top, the focused one above all") {
    RenderProbe probe;
    if (!probe.device.Ok()) {
        return;
    }
    // Two overlapping buttons showing only the light face, tinted red and blue.
    CGuiButton* buttons[2] = {};
    const D3DCOLOR tints[2] = {0xFFFF0000, 0xFF0000FF};
    for (int i = 0; i < 2; ++i) {
        probe.dialog.AddButton(i, L"", 50 + 60 * i, 50, 120, 60, &buttons[i]);
        CGuiDrawElement* face = buttons[i]->GetElement(0);
        face->textureRect = {136, 0, 252, 54};
        face->textureColor.Init(tints[i]);
        for (int state = 0; state < kControlStateCount; ++state) {
            buttons[i]->GetElement(1)->textureColor.colors[state] = 0;
        }
    }
    for (int frame = 0; frame < 60; ++frame) {
        probe.Frame(1.0f / 30.0f);
    }
    const D3DCOLOR overlap = probe.device.Pixel(140, 80);
    CHECK(Blue(overlap) > 2 * Red(overlap));
    probe.dialog.FocusControl(buttons[0]);
    probe.Frame(1.0f / 30.0f);
    const D3DCOLOR focused = probe.device.Pixel(140, 80);
    CHECK(Red(focused) > 2 * Blue(focused));
}

TEST_CASE("Render: frames step a held arrow of an open combo list by the toolkit's clock") {
    RenderProbe probe;
    if (!probe.device.Ok()) {
        return;
    }
    CGuiComboBox* combo = nullptr;
    probe.dialog.AddComboBox(1, 10, 10, 200, 24, &combo);
    for (int i = 0; i < 30; ++i) {
        combo->AddItem(L"item", nullptr);
    }
    GuiTestPlatform::SetTime(100.0);
    const HWND window = probe.platform.Window();
    probe.dialog.HandleMessage(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    probe.dialog.HandleMessage(window, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    REQUIRE(combo->IsOpened());
    const RECT down = combo->GetScrollBar().GetDownRect();
    probe.dialog.HandleMessage(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.left + 2, down.top + 2));
    CHECK(combo->GetScrollBar().GetPosition() == 1);
    const double times[] = {100.1, 100.2, 100.34, 100.36, 100.40, 100.46};
    const int expected[] = {1, 1, 2, 2, 3, 4};
    for (int i = 0; i < 6; ++i) {
        GuiTestPlatform::SetTime(times[i]);
        probe.Frame(0.016f);
        CHECK(combo->GetScrollBar().GetPosition() == expected[i]);
    }
    probe.dialog.HandleMessage(window, WM_LBUTTONUP, 0, MAKELPARAM(down.left + 2, down.top + 2));
    GuiTestPlatform::SetTime(101.0);
    probe.Frame(0.016f);
    CHECK(combo->GetScrollBar().GetPosition() == 4);
}

TEST_CASE("Render: a hidden dialog draws nothing; the device state is restored after a frame") {
    RenderProbe probe;
    if (!probe.device.Ok()) {
        return;
    }
    BuildAllKinds(probe);
    IDirect3DDevice9* device = probe.device.Device();
    // Values other than those the dialog's drawing sets, for every kind of state it touches.
    const std::pair<D3DRENDERSTATETYPE, DWORD> renderStates[] = {
        {D3DRS_DESTBLEND, D3DBLEND_ONE}, {D3DRS_ALPHABLENDENABLE, FALSE}, {D3DRS_CULLMODE, D3DCULL_CW},
        {D3DRS_ZENABLE, D3DZB_TRUE},     {D3DRS_ALPHATESTENABLE, TRUE},   {D3DRS_COLORWRITEENABLE, 0x7}};
    for (const auto& [state, value] : renderStates) {
        device->SetRenderState(state, value);
    }
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_ADD);
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    device->SetFVF(D3DFVF_XYZ);
    probe.Frame(0.5f);
    for (const auto& [state, value] : renderStates) {
        DWORD now = 0;
        device->GetRenderState(state, &now);
        CHECK_MESSAGE(now == value, "render state ", state);
    }
    DWORD value = 0;
    device->GetTextureStageState(0, D3DTSS_COLOROP, &value);
    CHECK(value == D3DTOP_ADD);
    device->GetTextureStageState(1, D3DTSS_COLOROP, &value);
    CHECK(value == D3DTOP_MODULATE);
    device->GetSamplerState(0, D3DSAMP_MINFILTER, &value);
    CHECK(value == D3DTEXF_POINT);
    device->GetFVF(&value);
    CHECK(value == D3DFVF_XYZ);
    probe.dialog.SetVisible(false);
    CHECK(probe.Frame(0.5f) == S_OK);
    CHECK(CountDiffering(probe.device, {0, 0, kWidth, kHeight}, 0xFF000000) == 0);
}

} // TEST_SUITE
