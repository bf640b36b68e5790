// The settings dialog: three combo boxes, eight sliders with their value texts and the three buttons,
// writing every change straight into the settings record.
#pragma once

#include "settings/CSettingDialog.h"
#include "settings/CSettingImpl.h"
#include "settings/DialogTexts.h"

#include <d3d9.h>

#include <functional>
#include <string>
#include <vector>

class CGuiComboBox;

// Where the resolution list comes from: the display modes of adapter 0, in the enumeration's order.
using DisplayModeSource = std::function<std::vector<D3DDISPLAYMODE>()>;

class CSettingDialogImpl : public CSettingDialog {
public:
    // Control IDs; the three buttons are 0 to 2, every label is -1, a value text is its slider's ID + 1.
    static constexpr int kIdOk = 0;
    static constexpr int kIdCancel = 1;
    static constexpr int kIdReset = 2;
    static constexpr int kIdResolution = 3;
    static constexpr int kIdTexture = 4;
    static constexpr int kIdTriangleSize = 5;
    static constexpr int kIdPieceCount = 6;
    static constexpr int kIdScaleMin = 8;
    static constexpr int kIdScaleMax = 10;
    static constexpr int kIdSpeedRotation = 12;
    static constexpr int kIdSpeedShake = 14;
    static constexpr int kIdSpeedLight = 16;
    static constexpr int kIdLightStrength = 18;
    static constexpr int kIdLightArea = 20;
    static constexpr int kIdSaveFailure = 22;
    static constexpr int kIdLabel = -1;

    // Lists the framework's display modes of adapter 0 and speaks the user's interface language, in an
    // installed face that carries its glyphs.
    CSettingDialogImpl();
    CSettingDialogImpl(DisplayModeSource displayModes, std::wstring faceName,
                       DialogLanguage language = DialogLanguage::Japanese);

    int Create(CSetting* setting, CGuiDialogResources* resources) override;
    void OnGuiEvent(UINT event, int controlId, CGuiControl* control) override;
    void ShowSaveFailure() override;

    CSettingImpl* Setting() const { return setting_; }
    const std::wstring& FaceName() const { return faceName_; }

private:
    void AddComboRow(int x, int y, const wchar_t* label, int id, CGuiComboBox** created);
    void AddResolutionRow();
    void AddTextureRow();
    void AddTriangleSizeRow();
    void AddSliderRows();
    void AddButtons();
    void OnResolutionChanged(CGuiControl* control);
    void OnSliderChanged(int controlId, int position);
    // Both deformation bounds stay ordered: the other slider follows when one passes it.
    void KeepScalesOrdered(int movedId);
    void SetValueText(int sliderId, const std::wstring& text);
    std::wstring ValueTextOf(int sliderId) const;

    CSettingImpl* setting_ = nullptr; // not owned
    DisplayModeSource displayModes_;
    std::wstring faceName_;
    const DialogTexts* texts_;
};
