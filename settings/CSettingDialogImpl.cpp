// The settings dialog: builds its controls from the record and writes every change back into it.
#include "settings/CSettingDialogImpl.h"

#include "framework/Framework.h"
#include "gui/CGuiComboBox.h"
#include "gui/CGuiSlider.h"
#include "gui/CGuiStatic.h"
#include "settings/DialogTexts.h"
#include "settings/DialogValues.h"

#include <array>
#include <cstdint>
#include <utility>

namespace {

constexpr int kDialogX = 20;
constexpr int kDialogY = 20;
constexpr int kDialogWidth = 680;
constexpr int kDialogHeight = 520;
constexpr int kFontHeight = 12;
constexpr int kFontWeight = 400;
constexpr UINT kListItemHeight = 12;

// Item data of the resolution item shown when adapter 0 lists no mode: picking it changes nothing.
constexpr std::intptr_t kNoModeData = -1;

enum class ValueKind { Count, Percent, Hundredths };

struct SliderRow {
    int x, y;
    int id;
    int min, max;
    ValueKind kind;
    const wchar_t* leftEnd;
    const wchar_t* rightEnd;
    double CSettingImpl::*field; // null for the piece count, an integer
};

// Row 5's left end reads "1" like row 6's, although that slider goes down to 0.
const std::array<SliderRow, 8> SliderRows{{
    {20, 210, CSettingDialogImpl::kIdPieceCount, 0, 200, ValueKind::Count, L"0", L"200", nullptr},
    {20, 260, CSettingDialogImpl::kIdScaleMin, 0, 200, ValueKind::Percent, L"1", L"200",
     &CSettingImpl::PieceScaleMin},
    {20, 290, CSettingDialogImpl::kIdScaleMax, 1, 200, ValueKind::Percent, L"1", L"200",
     &CSettingImpl::PieceScaleMax},
    {20, 350, CSettingDialogImpl::kIdSpeedRotation, 0, 100, ValueKind::Hundredths, L"0", L"100",
     &CSettingImpl::SpeedRotation},
    {20, 380, CSettingDialogImpl::kIdSpeedShake, 0, 100, ValueKind::Hundredths, L"0", L"100",
     &CSettingImpl::SpeedShake},
    {20, 410, CSettingDialogImpl::kIdSpeedLight, 0, 100, ValueKind::Hundredths, L"0", L"100",
     &CSettingImpl::SpeedLight},
    {340, 30, CSettingDialogImpl::kIdLightStrength, 0, 200, ValueKind::Hundredths, L"0", L"200",
     &CSettingImpl::LightStrength},
    {340, 60, CSettingDialogImpl::kIdLightArea, 0, 100, ValueKind::Hundredths, L"0", L"100",
     &CSettingImpl::LightArea},
}};

const SliderRow* FindSliderRow(int id) {
    for (const SliderRow& row : SliderRows) {
        if (row.id == id) {
            return &row;
        }
    }
    return nullptr;
}

constexpr int kSmallestTriangle = 32;
constexpr int kTriangleStep = 32;
constexpr int kTriangleLimit = 352; // sizes below this are offered

void* IntData(std::intptr_t value) {
    return reinterpret_cast<void*>(value);
}

std::intptr_t DataInt(void* data) {
    return reinterpret_cast<std::intptr_t>(data);
}

} // namespace

CSettingDialog* CreateSettingDialog() {
    return new CSettingDialogImpl;
}

CSettingDialogImpl::CSettingDialogImpl()
    : CSettingDialogImpl([] { return FrameworkGetDisplayModes(0); },
                         ChooseFaceFor(UserInterfaceLanguage(), &IsFontFaceInstalled),
                         UserInterfaceLanguage()) {}

CSettingDialogImpl::CSettingDialogImpl(DisplayModeSource displayModes, std::wstring faceName,
                                       DialogLanguage language)
    : displayModes_(std::move(displayModes)), faceName_(std::move(faceName)), texts_(&TextsOf(language)) {}

int CSettingDialogImpl::Create(CSetting* setting, CGuiDialogResources* resources) {
    CGuiDialog& dialog = Dialog();
    dialog.Init(resources);
    dialog.DeleteAllControls();
    dialog.SetFont(0, faceName_.c_str(), kFontHeight, kFontWeight);
    setting_ = dynamic_cast<CSettingImpl*>(setting);
    dialog.SetLocation(kDialogX, kDialogY);
    dialog.SetSize(kDialogWidth, kDialogHeight);
    dialog.SetBackgroundGradient(0x00000000, 0x33FFFFFF, 0x33FFFFFF, 0x00000000);
    if (!setting_) {
        return 0; // nothing to show without a record
    }
    AddResolutionRow();
    AddTextureRow();
    AddTriangleSizeRow();
    AddSliderRows();
    AddButtons();
    return 0;
}

void CSettingDialogImpl::AddComboRow(int x, int y, const wchar_t* label, int id, CGuiComboBox** created) {
    Dialog().AddStatic(kIdLabel, label, x, y, 100, 20);
    Dialog().AddComboBox(id, x + 100, y, 120, 20, created);
}

void CSettingDialogImpl::AddResolutionRow() {
    CGuiComboBox* combo = nullptr;
    AddComboRow(20, 30, texts_->resolution, kIdResolution, &combo);
    if (!combo) {
        return;
    }
    const std::vector<D3DDISPLAYMODE> modes = displayModes_ ? displayModes_() : std::vector<D3DDISPLAYMODE>{};
    for (size_t i = 0; i < modes.size(); ++i) {
        const int width = static_cast<int>(modes[i].Width);
        const int height = static_cast<int>(modes[i].Height);
        const std::wstring text = ResolutionText(width, height);
        if (combo->IndexOfText(text.c_str(), 0) >= 0) {
            continue; // the same size at another refresh rate or format
        }
        combo->AddItem(text.c_str(), IntData(static_cast<std::intptr_t>(i)));
        if (width == setting_->ScreenWidth && height == setting_->ScreenHeight) {
            combo->SelectIndex(static_cast<UINT>(combo->ItemCount() - 1));
        }
    }
    if (combo->ItemCount() == 0) {
        // No mode to offer: show the record's own resolution, which picking it keeps.
        combo->AddItem(ResolutionText(setting_->ScreenWidth, setting_->ScreenHeight).c_str(),
                       IntData(kNoModeData));
    }
    combo->SetListHeight(static_cast<UINT>(kListItemHeight * combo->ItemCount()));
}

void CSettingDialogImpl::AddTextureRow() {
    CGuiComboBox* combo = nullptr;
    AddComboRow(20, 90, texts_->texture, kIdTexture, &combo);
    if (!combo) {
        return;
    }
    const auto& names = texts_->textureNames;
    for (size_t i = 0; i < names.size(); ++i) {
        combo->AddItem(names[i], IntData(static_cast<std::intptr_t>(i)));
    }
    if (setting_->TriangleTexture >= 0 && static_cast<size_t>(setting_->TriangleTexture) < names.size()) {
        combo->SelectIndex(static_cast<UINT>(setting_->TriangleTexture));
    }
    combo->SetListHeight(static_cast<UINT>(kListItemHeight * combo->ItemCount()));
}

void CSettingDialogImpl::AddTriangleSizeRow() {
    CGuiComboBox* combo = nullptr;
    AddComboRow(20, 150, texts_->triangleSize, kIdTriangleSize, &combo);
    if (!combo) {
        return;
    }
    for (int size = kSmallestTriangle; size < kTriangleLimit; size += kTriangleStep) {
        combo->AddItem(CountText(size).c_str(), IntData(size));
        if (size == setting_->TriangleSize) {
            combo->SelectIndex(static_cast<UINT>(combo->ItemCount() - 1));
        }
    }
    combo->SetListHeight(static_cast<UINT>(kListItemHeight * combo->ItemCount()));
}

std::wstring CSettingDialogImpl::ValueTextOf(int sliderId) const {
    const SliderRow* row = FindSliderRow(sliderId);
    if (!row || !setting_) {
        return {};
    }
    if (row->kind == ValueKind::Count) {
        return CountText(setting_->PieceCount);
    }
    const int position = HundredthsPosition(setting_->*(row->field));
    return row->kind == ValueKind::Percent ? PercentText(position) : CountText(position);
}

void CSettingDialogImpl::AddSliderRows() {
    CGuiDialog& dialog = Dialog();
    for (size_t i = 0; i < SliderRows.size(); ++i) {
        const SliderRow& row = SliderRows[i];
        // The toolkit clamps the start position into the range; the text shows the record's own value.
        const int start = row.field ? HundredthsPosition(setting_->*(row.field)) : setting_->PieceCount;
        dialog.AddStatic(kIdLabel, texts_->sliderLabels[i], row.x, row.y, 100, 20);
        dialog.AddSlider(row.id, row.x + 100, row.y, 140, 20, row.min, row.max, start);
        dialog.AddStatic(row.id + 1, ValueTextOf(row.id).c_str(), row.x + 250, row.y, 40, 20);
        dialog.AddStatic(kIdLabel, row.leftEnd, row.x + 90, row.y + 10, 20, 20);
        dialog.AddStatic(kIdLabel, row.rightEnd, row.x + 220, row.y + 10, 30, 20);
    }
}

void CSettingDialogImpl::AddButtons() {
    for (int id = kIdOk; id <= kIdReset; ++id) {
        Dialog().AddButton(id, texts_->buttons[static_cast<size_t>(id)], 340 + 20 + 100 * id, 460, 80, 20);
    }
}

void CSettingDialogImpl::OnGuiEvent(UINT event, int controlId, CGuiControl* control) {
    if (!setting_ || !control) {
        return;
    }
    if (event == static_cast<UINT>(GuiEvent::ComboBoxSelectionChanged) &&
        control->GetType() == ControlType::ComboBox) {
        auto* combo = static_cast<CGuiComboBox*>(control);
        switch (controlId) {
        case kIdResolution:
            OnResolutionChanged(control);
            break;
        case kIdTexture:
            setting_->TriangleTexture = static_cast<std::int32_t>(DataInt(combo->SelectedData()));
            break;
        case kIdTriangleSize:
            setting_->TriangleSize = static_cast<std::int32_t>(DataInt(combo->SelectedData()));
            break;
        default:
            break;
        }
        return;
    }
    if (event == static_cast<UINT>(GuiEvent::SliderValueChanged) &&
        control->GetType() == ControlType::Slider) {
        OnSliderChanged(controlId, static_cast<CGuiSlider*>(control)->GetValue());
    }
}

void CSettingDialogImpl::OnResolutionChanged(CGuiControl* control) {
    auto* combo = static_cast<CGuiComboBox*>(control);
    if (combo->GetSelectedIndex() < 0) {
        return;
    }
    const std::intptr_t index = DataInt(combo->SelectedData());
    const std::vector<D3DDISPLAYMODE> modes = displayModes_ ? displayModes_() : std::vector<D3DDISPLAYMODE>{};
    // The list is read again here; an index it no longer holds changes nothing.
    if (index < 0 || static_cast<size_t>(index) >= modes.size()) {
        return;
    }
    setting_->ScreenWidth = static_cast<std::int32_t>(modes[static_cast<size_t>(index)].Width);
    setting_->ScreenHeight = static_cast<std::int32_t>(modes[static_cast<size_t>(index)].Height);
}

void CSettingDialogImpl::OnSliderChanged(int controlId, int position) {
    const SliderRow* row = FindSliderRow(controlId);
    if (!row) {
        return;
    }
    if (row->field) {
        setting_->*(row->field) = HundredthsValue(position);
    } else {
        setting_->PieceCount = position;
    }
    SetValueText(controlId, ValueTextOf(controlId));
    KeepScalesOrdered(controlId);
}

void CSettingDialogImpl::KeepScalesOrdered(int movedId) {
    int followerId = 0;
    if (movedId == kIdScaleMin && setting_->PieceScaleMin > setting_->PieceScaleMax) {
        setting_->PieceScaleMax = setting_->PieceScaleMin;
        followerId = kIdScaleMax;
    } else if (movedId == kIdScaleMax && setting_->PieceScaleMax < setting_->PieceScaleMin) {
        setting_->PieceScaleMin = setting_->PieceScaleMax;
        followerId = kIdScaleMin;
    } else {
        return;
    }
    const SliderRow* follower = FindSliderRow(followerId);
    if (auto* slider = static_cast<CGuiSlider*>(Dialog().GetControl(followerId, ControlType::Slider))) {
        slider->SetValue(HundredthsPosition(setting_->*(follower->field))); // programmatic: no event
    }
    SetValueText(followerId, ValueTextOf(followerId));
}

void CSettingDialogImpl::ShowSaveFailure() {
    if (!Dialog().GetControl(kIdSaveFailure, ControlType::Static)) {
        Dialog().AddStatic(kIdSaveFailure, texts_->saveFailure, 20, 490, 640, 20);
    }
}

void CSettingDialogImpl::SetValueText(int sliderId, const std::wstring& text) {
    if (auto* label = static_cast<CGuiStatic*>(Dialog().GetControl(sliderId + 1, ControlType::Static))) {
        label->SetText(text.c_str());
    }
}
