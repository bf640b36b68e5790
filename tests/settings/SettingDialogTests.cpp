// The settings dialog over a real record and the toolkit without a device: positions, texts, coupling,
// the resolution list and the round trip of every slider position through the settings file.
#include "settings/CSettingDialogImpl.h"
#include "settings/DialogValues.h"

#include "gui/CGuiComboBox.h"
#include "gui/CGuiSlider.h"
#include "gui/CGuiStatic.h"
#include "support/EventLog.h"
#include "support/GuiTestPlatform.h"
#include "support/TempFolder.h"

#include <doctest/doctest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

D3DDISPLAYMODE Mode(UINT width, UINT height, UINT refresh = 60, D3DFORMAT format = D3DFMT_X8R8G8B8) {
    return D3DDISPLAYMODE{width, height, refresh, format};
}

CGuiSlider* SliderOf(CSettingDialog& dialog, int id) {
    auto* slider = static_cast<CGuiSlider*>(dialog.Dialog().GetControl(id, ControlType::Slider));
    REQUIRE(slider != nullptr);
    return slider;
}

std::wstring TextOf(CSettingDialog& dialog, int id) {
    auto* label = static_cast<CGuiStatic*>(dialog.Dialog().GetControl(id, ControlType::Static));
    REQUIRE(label != nullptr);
    return label->GetText();
}

// A dialog built over a record kept in a fresh temporary file, with a display-mode list the test sets.
struct DialogFixture {
    GuiTestPlatform platform;
    CGuiDialogResources resources;
    TempFolder folder;
    std::wstring file = folder / L"Vitrelle.ini";
    CSettingImpl record{file};
    std::vector<D3DDISPLAYMODE> modes{Mode(640, 480), Mode(800, 600), Mode(1920, 1080)};
    CSettingDialogImpl settingDialog{[this] { return modes; }, L"MS UI Gothic"};
    std::vector<RecordedEvent> forwarded;

    void Build() {
        settingDialog.Create(&record, &resources);
        settingDialog.Dialog().SetCallback(&Forward, this);
    }
    CGuiSlider* Slider(int id) { return SliderOf(settingDialog, id); }
    CGuiComboBox* Combo(int id) {
        auto* combo = static_cast<CGuiComboBox*>(settingDialog.Dialog().GetControl(id, ControlType::ComboBox));
        REQUIRE(combo != nullptr);
        return combo;
    }
    std::wstring Text(int id) { return TextOf(settingDialog, id); }
    // What the toolkit does when the user moves a slider: the new position, then the event.
    void MoveSlider(int id, int position) {
        CGuiSlider* slider = Slider(id);
        slider->SetValue(position);
        settingDialog.OnGuiEvent(static_cast<UINT>(GuiEvent::SliderValueChanged), id, slider);
    }
    void Pick(int id, UINT index) {
        CGuiComboBox* combo = Combo(id);
        REQUIRE(combo->SelectIndex(index) == S_OK);
        settingDialog.OnGuiEvent(static_cast<UINT>(GuiEvent::ComboBoxSelectionChanged), id, combo);
    }
    bool Send(UINT msg, WPARAM wParam, LPARAM lParam) {
        return settingDialog.Dialog().HandleMessage(platform.Window(), msg, wParam, lParam);
    }

    static void Forward(UINT event, int id, CGuiControl* control, void* context) {
        auto* self = static_cast<DialogFixture*>(context);
        self->forwarded.push_back({event, id, control});
        self->settingDialog.OnGuiEvent(event, id, control);
    }
};

struct HundredthsRow {
    int id;
    double CSettingImpl::*field;
    int min, max;
    bool percent;
};

const HundredthsRow HundredthsRows[] = {
    {CSettingDialogImpl::kIdScaleMin, &CSettingImpl::PieceScaleMin, 0, 200, true},
    {CSettingDialogImpl::kIdScaleMax, &CSettingImpl::PieceScaleMax, 1, 200, true},
    {CSettingDialogImpl::kIdSpeedRotation, &CSettingImpl::SpeedRotation, 0, 100, false},
    {CSettingDialogImpl::kIdSpeedShake, &CSettingImpl::SpeedShake, 0, 100, false},
    {CSettingDialogImpl::kIdSpeedLight, &CSettingImpl::SpeedLight, 0, 100, false},
    {CSettingDialogImpl::kIdLightStrength, &CSettingImpl::LightStrength, 0, 200, false},
    {CSettingDialogImpl::kIdLightArea, &CSettingImpl::LightArea, 0, 100, false},
};

RECT Box(CGuiControl* control) {
    return control->GetBoundingBox();
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace

TEST_SUITE("settings") {

TEST_CASE("Dialog values: hundredths positions round halves up and survive hand-edited values") {
    CHECK(HundredthsPosition(0.29) == 29);
    CHECK(HundredthsPosition(0.02) == 2);
    CHECK(HundredthsPosition(0.2) == 20);
    CHECK(HundredthsPosition(0.005) == 1);
    CHECK(HundredthsPosition(0.0049) == 0);
    CHECK(HundredthsPosition(-0.015) == -1);
    CHECK(HundredthsPosition(5.0) == 500);
    CHECK(HundredthsPosition(1e300) == std::numeric_limits<int>::max());
    CHECK(HundredthsPosition(-1e300) == std::numeric_limits<int>::min());
    CHECK(HundredthsPosition(std::numeric_limits<double>::infinity()) == std::numeric_limits<int>::max());
    CHECK(HundredthsPosition(std::numeric_limits<double>::quiet_NaN()) == 0);
    for (int p = -300; p <= 300; ++p) {
        CHECK(HundredthsPosition(HundredthsValue(p)) == p);
    }
}

TEST_CASE("Dialog values: value and resolution texts") {
    CHECK(CountText(0) == L"0");
    CHECK(CountText(-12) == L"-12");
    CHECK(CountText(std::numeric_limits<int>::min()) == L"-2147483648");
    CHECK(PercentText(20) == L"20%");
    CHECK(ResolutionText(800, 600) == L" 800x 600");
    CHECK(ResolutionText(1920, 1080) == L"1920x1080");
    CHECK(ResolutionText(640, 48) == L" 640x  48");
    CHECK(ResolutionText(12800, 7200) == L"12800x7200");
}

TEST_CASE("Dialog values: the face carries Japanese glyphs when the preferred one is missing") {
    CHECK(ChooseDialogFace([](const std::wstring&) { return true; }) == L"MS UI Gothic");
    CHECK(ChooseDialogFace([](const std::wstring& face) { return face == L"Noto Sans CJK JP"; }) ==
          L"Noto Sans CJK JP");
    CHECK(ChooseDialogFace([](const std::wstring& face) { return face == L"MS Gothic" || face == L"IPAGothic"; }) ==
          L"MS Gothic");
    CHECK(ChooseDialogFace([](const std::wstring&) { return false; }) == L"MS UI Gothic");
    CHECK_FALSE(IsFontFaceInstalled(L"No Such Face Anywhere"));
    CHECK_FALSE(IsFontFaceInstalled(std::wstring(40, L'x')));
}

TEST_CASE("Setting dialog: frame, rows, value texts and buttons where they belong") {
    DialogFixture f;
    f.Build();
    CGuiDialog& dialog = f.settingDialog.Dialog();
    CHECK(f.settingDialog.Setting() == &f.record);
    // 3 combo rows of 2 controls, 8 slider rows of 5, 3 buttons.
    CHECK(dialog.ControlCount() == 49);
    CHECK(f.Text(CSettingDialogImpl::kIdLabel) == L"画面解像度");
    CHECK(SameRect(Box(f.settingDialog.Dialog().GetControl(CSettingDialogImpl::kIdLabel, ControlType::Static)),
                   RECT{20, 30, 120, 50}));
    CHECK(SameRect(Box(f.Combo(3)), RECT{120, 30, 240, 50}));
    CHECK(SameRect(Box(f.Combo(4)), RECT{120, 90, 240, 110}));
    CHECK(SameRect(Box(f.Combo(5)), RECT{120, 150, 240, 170}));

    struct SliderPlace {
        int id, x, y, min, max;
    };
    const SliderPlace places[] = {{6, 20, 210, 0, 200},   {8, 20, 260, 0, 200},   {10, 20, 290, 1, 200},
                                  {12, 20, 350, 0, 100},  {14, 20, 380, 0, 100},  {16, 20, 410, 0, 100},
                                  {18, 340, 30, 0, 200},  {20, 340, 60, 0, 100}};
    for (const SliderPlace& place : places) {
        CAPTURE(place.id);
        CGuiSlider* slider = f.Slider(place.id);
        CHECK(slider->GetMin() == place.min);
        CHECK(slider->GetMax() == place.max);
        auto* value = dialog.GetControl(place.id + 1, ControlType::Static);
        REQUIRE(value != nullptr);
        CHECK(SameRect(Box(value), RECT{place.x + 250, place.y, place.x + 290, place.y + 20}));
    }
    const wchar_t* buttonTexts[] = {L"OK", L"キャンセル", L"リセット"};
    for (int id = 0; id < 3; ++id) {
        auto* button = static_cast<CGuiStatic*>(dialog.GetControl(id, ControlType::Button));
        REQUIRE(button != nullptr);
        CHECK(std::wstring(button->GetText()) == buttonTexts[id]);
        CHECK(SameRect(Box(button), RECT{360 + 100 * id, 460, 440 + 100 * id, 480}));
    }
}

TEST_CASE("Setting dialog: the defaults show as positions and texts") {
    DialogFixture f;
    f.Build();
    CHECK(f.Slider(6)->GetValue() == 50);
    CHECK(f.Text(7) == L"50");
    CHECK(f.Slider(8)->GetValue() == 20);
    CHECK(f.Text(9) == L"20%");
    CHECK(f.Slider(10)->GetValue() == 100);
    CHECK(f.Text(11) == L"100%");
    CHECK(f.Slider(12)->GetValue() == 2);
    CHECK(f.Text(13) == L"2");
    CHECK(f.Text(15) == L"10");
    CHECK(f.Text(17) == L"10");
    CHECK(f.Slider(18)->GetValue() == 150);
    CHECK(f.Text(19) == L"150");
    CHECK(f.Text(21) == L"50");
    CHECK(f.Combo(4)->GetSelectedIndex() == 1);
    CHECK(f.Combo(5)->GetSelectedIndex() == 2);
    CHECK(f.Combo(5)->ItemCount() == 10);
    CHECK(std::wstring(f.Combo(5)->GetItem(9)->text) == L"320");
    CHECK(reinterpret_cast<intptr_t>(f.Combo(5)->GetItem(9)->data) == 320);
    CHECK(std::wstring(f.Combo(4)->GetItem(5)->text) == L"ステンドグラス");
}

TEST_CASE("Setting dialog: a stored 0.29 shows 29, and every hundredths position survives saving and loading") {
    DialogFixture f;
    WriteBytes(f.file, "[Speed]\r\nRotation=0.290000\r\n");
    f.record.Load();
    f.Build();
    CHECK(f.Slider(12)->GetValue() == 29);
    CHECK(f.Text(13) == L"29");

    for (int p = 0; p <= 200; ++p) {
        CAPTURE(p);
        for (const HundredthsRow& row : HundredthsRows) {
            if (p < row.min || p > row.max) {
                continue;
            }
            f.MoveSlider(row.id, p);
            REQUIRE(f.Slider(row.id)->GetValue() == p);
        }
        f.record.Save();
        CSettingImpl loaded(f.file);
        CSettingDialogImpl shown{[] { return std::vector<D3DDISPLAYMODE>{}; }, L"MS UI Gothic"};
        shown.Create(&loaded, &f.resources);
        for (const HundredthsRow& row : HundredthsRows) {
            if (p < row.min || p > row.max) {
                continue;
            }
            CAPTURE(row.id);
            CHECK(loaded.*(row.field) == HundredthsValue(p));
            CHECK(SliderOf(shown, row.id)->GetValue() == p);
            CHECK(TextOf(shown, row.id + 1) == (row.percent ? PercentText(p) : CountText(p)));
        }
    }
}

TEST_CASE("Setting dialog: the deformation sliders keep minimum and maximum in order") {
    DialogFixture f;
    f.Build(); // 20% .. 100%
    SUBCASE("the minimum passing the maximum drags it along") {
        f.MoveSlider(10, 60);
        f.MoveSlider(8, 75);
        CHECK(f.record.PieceScaleMin == 0.75);
        CHECK(f.record.PieceScaleMax == 0.75);
        CHECK(f.Slider(10)->GetValue() == 75);
        CHECK(f.Text(9) == L"75%");
        CHECK(f.Text(11) == L"75%");
    }
    SUBCASE("the maximum passing the minimum drags it along") {
        f.MoveSlider(10, 7);
        CHECK(f.record.PieceScaleMax == 0.07);
        CHECK(f.record.PieceScaleMin == 0.07);
        CHECK(f.Slider(8)->GetValue() == 7);
        CHECK(f.Text(9) == L"7%");
    }
    SUBCASE("equal values move nothing else") {
        f.MoveSlider(8, 100);
        CHECK(f.record.PieceScaleMax == 1.0);
        f.MoveSlider(10, 100);
        CHECK(f.record.PieceScaleMin == 1.0);
        CHECK(f.Slider(8)->GetValue() == 100);
        CHECK(f.Slider(10)->GetValue() == 100);
    }
    SUBCASE("the minimum reaches 0, the maximum stops at 1") {
        f.MoveSlider(8, 0);
        CHECK(f.record.PieceScaleMin == 0.0);
        CHECK(f.Text(9) == L"0%");
        f.MoveSlider(10, 0); // clamped by the slider
        CHECK(f.Slider(10)->GetValue() == 1);
        CHECK(f.record.PieceScaleMax == 0.01);
        CHECK(f.Text(11) == L"1%");
        CHECK(f.record.PieceScaleMin == 0.0);
    }
    SUBCASE("a file with the bounds reversed is shown as stored until a slider moves") {
        f.record.PieceScaleMin = 1.5;
        f.record.PieceScaleMax = 0.5;
        f.Build();
        CHECK(f.Text(9) == L"150%");
        CHECK(f.Text(11) == L"50%");
        CHECK(f.record.PieceScaleMin == 1.5);
        f.MoveSlider(8, 120);
        CHECK(f.record.PieceScaleMax == 1.2);
        CHECK(f.Slider(10)->GetValue() == 120);
    }
}

TEST_CASE("Setting dialog: the resolution list gives one item per size, with the first such mode's index") {
    DialogFixture f;
    f.modes = {Mode(640, 480), Mode(800, 600, 60), Mode(800, 600, 75), Mode(1024, 768, 60, D3DFMT_R5G6B5),
               Mode(1024, 768, 60), Mode(1024, 768, 70), Mode(1024, 768, 85), Mode(1920, 1080)};
    f.record.ScreenWidth = 1024;
    f.record.ScreenHeight = 768;
    f.Build();
    CGuiComboBox* combo = f.Combo(3);
    REQUIRE(combo->ItemCount() == 4);
    const wchar_t* texts[] = {L" 640x 480", L" 800x 600", L"1024x 768", L"1920x1080"};
    const intptr_t data[] = {0, 1, 3, 7};
    for (size_t i = 0; i < 4; ++i) {
        CAPTURE(i);
        CHECK(combo->GetItem(i)->text == texts[i]);
        CHECK(reinterpret_cast<intptr_t>(combo->GetItem(i)->data) == data[i]);
    }
    CHECK(combo->GetSelectedIndex() == 2);
    f.Pick(3, 1);
    CHECK(f.record.ScreenWidth == 800);
    CHECK(f.record.ScreenHeight == 600);
    f.Pick(3, 3);
    CHECK(f.record.ScreenWidth == 1920);
    CHECK(f.record.ScreenHeight == 1080);
}

TEST_CASE("Setting dialog: a saved resolution that adapter 0 lacks shows the first item and stays") {
    DialogFixture f;
    WriteBytes(f.file, "[Screen]\r\nWidth=1234\r\nHeight=567\r\n");
    f.record.Load();
    f.Build();
    CHECK(f.Combo(3)->GetSelectedIndex() == 0);
    CHECK(f.Combo(3)->ItemCount() == 3);
    // OK without touching the list keeps the old resolution.
    f.record.Save();
    CSettingImpl loaded(f.file);
    CHECK(loaded.ScreenWidth == 1234);
    CHECK(loaded.ScreenHeight == 567);
}

TEST_CASE("Setting dialog: without any display mode the list shows the record's own resolution") {
    DialogFixture f;
    f.modes.clear();
    f.record.ScreenWidth = 800;
    f.record.ScreenHeight = 600;
    f.Build();
    REQUIRE(f.Combo(3)->ItemCount() == 1);
    CHECK(f.Combo(3)->GetItem(0)->text == L" 800x 600");
    f.Pick(3, 0);
    CHECK(f.record.ScreenWidth == 800);
    CHECK(f.record.ScreenHeight == 600);
}

TEST_CASE("Setting dialog: a mode list that shrank after building changes nothing") {
    DialogFixture f;
    f.Build();
    f.modes.resize(1);
    f.Pick(3, 2); // its data is index 2, no longer listed
    CHECK(f.record.ScreenWidth == GetSystemMetrics(SM_CXSCREEN));
    CHECK(f.record.ScreenHeight == GetSystemMetrics(SM_CYSCREEN));
}

TEST_CASE("Setting dialog: a piece count of 500 shows at the slider's end with its own text and is kept") {
    DialogFixture f;
    WriteBytes(f.file, "[Piece]\r\nCount=500\r\n");
    f.record.Load();
    f.Build();
    CHECK(f.Slider(6)->GetValue() == 200);
    CHECK(f.Text(7) == L"500");
    CHECK(f.record.PieceCount == 500);
    f.record.Save();
    CHECK(CSettingImpl(f.file).PieceCount == 500);
    f.MoveSlider(6, 199);
    CHECK(f.record.PieceCount == 199);
    CHECK(f.Text(7) == L"199");
}

TEST_CASE("Setting dialog: hand-edited values out of every range build a usable dialog") {
    DialogFixture f;
    WriteBytes(f.file, "[Triangle]\r\nTexture=9\r\nSize=100\r\n[Piece]\r\nCount=-5\r\nScaleMin=nan\r\n"
                       "[Speed]\r\nRotation=1e308\r\n[Light]\r\nStrength=-3\r\n");
    f.record.Load();
    f.Build();
    CHECK(f.Combo(4)->GetSelectedIndex() == 0);
    CHECK(f.record.TriangleTexture == 9);
    CHECK(f.Combo(5)->GetSelectedIndex() == 0);
    CHECK(f.record.TriangleSize == 100);
    CHECK(f.Slider(6)->GetValue() == 0);
    CHECK(f.Text(7) == L"-5");
    CHECK(f.Slider(8)->GetValue() == 0);
    CHECK(f.Slider(12)->GetValue() == 100);
    CHECK(f.Text(13) == L"2147483647");
    CHECK(f.Slider(18)->GetValue() == 0);
    CHECK(f.Text(19) == L"-300");
    f.Pick(4, 3);
    CHECK(f.record.TriangleTexture == 3);
    f.Pick(5, 9);
    CHECK(f.record.TriangleSize == 320);
}

TEST_CASE("Setting dialog: a second build starts afresh from the record") {
    DialogFixture f;
    f.Build();
    const int alive = CGuiControl::LiveCount();
    f.MoveSlider(12, 80);
    f.record.SetDefaults();
    f.Build();
    CHECK(f.settingDialog.Dialog().ControlCount() == 49);
    CHECK(CGuiControl::LiveCount() == alive);
    CHECK(f.Slider(12)->GetValue() == 2);
    CHECK(f.Text(13) == L"2");
}

TEST_CASE("Setting dialog: real mouse and key messages reach the record through the toolkit") {
    DialogFixture f;
    f.Build();
    // The rotation slider's track right of its thumb, in client coordinates (the dialog lies at 20, 20).
    CGuiSlider* rotation = f.Slider(12);
    const RECT track = rotation->GetBoundingBox();
    const int x = 20 + track.right - 5;
    const int y = 20 + (track.top + track.bottom) / 2;
    CHECK(f.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)));
    CHECK(f.Send(WM_LBUTTONUP, 0, MAKELPARAM(x, y)));
    CHECK(f.record.SpeedRotation == 0.03);
    CHECK(f.Text(13) == L"3");
    // Arrow keys on the focused slider.
    CHECK(f.Send(WM_KEYDOWN, VK_RIGHT, 0));
    CHECK(f.record.SpeedRotation == 0.04);
    CHECK(f.Send(WM_KEYDOWN, VK_HOME, 0));
    CHECK(f.record.SpeedRotation == 0.0);
    CHECK(f.Text(13) == L"0");
    // Down arrow on the focused texture combo picks the next atlas at once.
    f.settingDialog.Dialog().FocusControl(f.Combo(4));
    CHECK(f.Send(WM_KEYDOWN, VK_DOWN, 0));
    CHECK(f.record.TriangleTexture == 2);
    // The buttons only report; the record is not touched by them.
    const double rotationBefore = f.record.SpeedRotation;
    const int textureBefore = f.record.TriangleTexture;
    f.forwarded.clear();
    const RECT ok = f.settingDialog.Dialog().GetControl(0, ControlType::Button)->GetBoundingBox();
    f.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20 + ok.left + 5, 20 + ok.top + 5));
    f.Send(WM_LBUTTONUP, 0, MAKELPARAM(20 + ok.left + 5, 20 + ok.top + 5));
    REQUIRE(f.forwarded.size() == 1);
    CHECK(f.forwarded[0].event == static_cast<UINT>(GuiEvent::ButtonClicked));
    CHECK(f.forwarded[0].id == 0);
    CHECK(f.record.SpeedRotation == rotationBefore);
    CHECK(f.record.TriangleTexture == textureBefore);
}

TEST_CASE("Setting dialog: events before the first build or without a control are ignored") {
    CSettingDialogImpl dialog{[] { return std::vector<D3DDISPLAYMODE>{}; }, L"MS UI Gothic"};
    dialog.OnGuiEvent(static_cast<UINT>(GuiEvent::SliderValueChanged), 12, nullptr);
    CHECK(dialog.Setting() == nullptr);
    std::unique_ptr<CSettingDialog> made(CreateSettingDialog());
    CHECK(static_cast<CSettingDialogImpl*>(made.get())->Setting() == nullptr);
    CHECK(made->Dialog().ControlCount() == 0);
}

}
