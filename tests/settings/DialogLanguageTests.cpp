// The settings dialog in both interface languages: which language a user gets, the English texts in the
// Japanese dialog's places, and whether every English text fits its box in the face it is drawn with.
#include "settings/CSettingDialogImpl.h"
#include "settings/DialogTexts.h"
#include "settings/DialogValues.h"

#include "gui/CGuiComboBox.h"
#include "gui/CGuiStatic.h"
#include "support/GuiTestPlatform.h"

#include <doctest/doctest.h>

#include <string>
#include <vector>

namespace {

// Text widths in a GDI font of the dialog's face, height and weight on the screen's device context.
class TextMeasure {
public:
    TextMeasure(const std::wstring& face, int height, int weight)
        : screen_(GetDC(nullptr)),
          font_(CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str())),
          previous_(SelectObject(screen_, font_)) {}
    TextMeasure(const TextMeasure&) = delete;
    TextMeasure& operator=(const TextMeasure&) = delete;
    ~TextMeasure() {
        SelectObject(screen_, previous_);
        DeleteObject(font_);
        ReleaseDC(nullptr, screen_);
    }

    int Width(const std::wstring& text) const {
        SIZE size = {};
        REQUIRE(GetTextExtentPoint32W(screen_, text.c_str(), static_cast<int>(text.size()), &size));
        return size.cx;
    }
    std::wstring Face() const {
        wchar_t face[LF_FACESIZE] = {};
        GetTextFaceW(screen_, LF_FACESIZE, face);
        return face;
    }

private:
    HDC screen_;
    HFONT font_;
    HGDIOBJ previous_;
};

// The dialog built over the defaults in one language, without a device.
struct LanguageFixture {
    explicit LanguageFixture(DialogLanguage language)
        : settingDialog(
              [] {
                  return std::vector<D3DDISPLAYMODE>{{800, 600, 60, D3DFMT_X8R8G8B8}};
              },
              ChooseFaceFor(language, &IsFontFaceInstalled), language) {
        record.SetDefaults();
        settingDialog.Create(&record, &resources);
    }
    std::wstring Text(int id, ControlType type) {
        auto* control = static_cast<CGuiStatic*>(settingDialog.Dialog().GetControl(id, type));
        REQUIRE(control != nullptr);
        return control->GetText();
    }
    CGuiComboBox* Combo(int id) {
        auto* combo =
            static_cast<CGuiComboBox*>(settingDialog.Dialog().GetControl(id, ControlType::ComboBox));
        REQUIRE(combo != nullptr);
        return combo;
    }

    GuiTestPlatform platform;
    CGuiDialogResources resources;
    CSettingImpl record{std::wstring()};
    CSettingDialogImpl settingDialog;
};

} // namespace

TEST_SUITE("settings") {

    TEST_CASE("Dialog language: Japanese interfaces get the Japanese texts, every other one the English") {
        CHECK(LanguageOf(MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN)) == DialogLanguage::Japanese);
        CHECK(LanguageOf(MAKELANGID(LANG_JAPANESE, SUBLANG_NEUTRAL)) == DialogLanguage::Japanese);
        for (LANGID other :
             {MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK),
              MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED),
              MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN), 0}) {
            CAPTURE(other);
            CHECK(LanguageOf(static_cast<LANGID>(other)) == DialogLanguage::English);
        }
        // The English face is one of the interface faces, never a Japanese one picked for lack of choice.
        const auto only = [](const wchar_t* face) {
            return [face](const std::wstring& name) { return name == face; };
        };
        CHECK(ChooseFaceFor(DialogLanguage::English, [](const std::wstring&) { return true; }) ==
              L"Segoe UI");
        CHECK(ChooseFaceFor(DialogLanguage::English, only(L"Tahoma")) == L"Tahoma");
        CHECK(ChooseFaceFor(DialogLanguage::English, only(L"Noto Sans CJK JP")) == L"Segoe UI");
        CHECK(ChooseFaceFor(DialogLanguage::Japanese, only(L"Noto Sans CJK JP")) == L"Noto Sans CJK JP");
    }

    TEST_CASE("Dialog language: the English dialog has the Japanese one's controls and places, in English") {
        LanguageFixture japanese(DialogLanguage::Japanese);
        LanguageFixture english(DialogLanguage::English);
        CGuiDialog& jp = japanese.settingDialog.Dialog();
        CGuiDialog& en = english.settingDialog.Dialog();
        REQUIRE(en.ControlCount() == jp.ControlCount());
        for (int id = CSettingDialogImpl::kIdOk; id <= CSettingDialogImpl::kIdLightArea + 1; ++id) {
            for (ControlType type :
                 {ControlType::Static, ControlType::Button, ControlType::ComboBox, ControlType::Slider}) {
                CAPTURE(id);
                CGuiControl* mine = en.GetControl(id, type);
                CGuiControl* theirs = jp.GetControl(id, type);
                REQUIRE((mine == nullptr) == (theirs == nullptr));
                if (mine) {
                    const RECT a = mine->GetBoundingBox(), b = theirs->GetBoundingBox();
                    CHECK((a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom));
                }
            }
        }
        CHECK(english.Text(CSettingDialogImpl::kIdLabel, ControlType::Static) == L"Screen resolution");
        CHECK(japanese.Text(CSettingDialogImpl::kIdLabel, ControlType::Static) == L"画面解像度");
        const wchar_t* buttons[] = {L"OK", L"Cancel", L"Reset"};
        for (int id = 0; id < 3; ++id) {
            CHECK(english.Text(id, ControlType::Button) == buttons[id]);
        }
        // Value texts are numbers in both languages.
        CHECK(english.Text(CSettingDialogImpl::kIdScaleMin + 1, ControlType::Static) ==
              japanese.Text(CSettingDialogImpl::kIdScaleMin + 1, ControlType::Static));

        // Each texture keeps its index whatever its name: picking "Crystal" picks the same atlas as 水晶.
        const wchar_t* names[] = {L"Flat", L"Sparkle", L"Vivid", L"Crystal", L"Mosaic", L"Stained glass"};
        const wchar_t* japaneseNames[] = {L"フラット", L"きらめき", L"ビビッド",
                                          L"水晶",     L"モザイク", L"ステンドグラス"};
        CGuiComboBox* textures = english.Combo(CSettingDialogImpl::kIdTexture);
        CGuiComboBox* japaneseTextures = japanese.Combo(CSettingDialogImpl::kIdTexture);
        REQUIRE(textures->ItemCount() == 6);
        for (size_t i = 0; i < 6; ++i) {
            CAPTURE(i);
            CHECK(textures->GetItem(i)->text == names[i]);
            CHECK(japaneseTextures->GetItem(i)->text == japaneseNames[i]);
            CHECK(textures->GetItem(i)->data == japaneseTextures->GetItem(i)->data);
        }
    }

    TEST_CASE("Dialog language: every English text fits its box in the dialog's face, and so does the Japanese "
              "line that says OK could not save") {
        const std::wstring face = ChooseFaceFor(DialogLanguage::English, &IsFontFaceInstalled);
        TextMeasure measure(face, 12, 400);
        CAPTURE(measure.Face());
        const DialogTexts& texts = TextsOf(DialogLanguage::English);
        // Labels are 100 wide, buttons 80, and a combo box of 120 keeps 100 for its text beside the
        // drop-down button.
        std::vector<std::pair<std::wstring, int>> boxes{
            {texts.resolution, 100}, {texts.texture, 100}, {texts.triangleSize, 100}};
        for (const wchar_t* label : texts.sliderLabels) {
            boxes.emplace_back(label, 100);
        }
        for (const wchar_t* name : texts.textureNames) {
            boxes.emplace_back(name, 100);
        }
        for (const wchar_t* button : texts.buttons) {
            boxes.emplace_back(button, 80);
        }
        // The line that says OK could not save spans 640 under the buttons.
        boxes.emplace_back(texts.saveFailure, 640);
        for (const auto& [text, width] : boxes) {
            CAPTURE(std::string(text.begin(), text.end()));
            const int measured = measure.Width(text);
            CAPTURE(measured);
            CHECK(measured > 0);
            CHECK(measured <= width);
        }
        const TextMeasure japanese(ChooseFaceFor(DialogLanguage::Japanese, &IsFontFaceInstalled), 12, 400);
        CHECK(japanese.Width(TextsOf(DialogLanguage::Japanese).saveFailure) <= 640);
    }
}
