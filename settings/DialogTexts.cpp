// The settings dialog's Japanese and English texts and the choice between them.
#include "settings/DialogTexts.h"

#include "settings/DialogValues.h"

namespace {

const DialogTexts JapaneseTexts{
    L"画面解像度",
    L"テクスチャ",
    L"三角形サイズ",
    {L"ピース数", L"ピース変形(最小)", L"ピース変形(最大)", L"回転速度", L"変化速度", L"明滅速度",
     L"光の強さ", L"光の範囲"},
    {L"フラット", L"きらめき", L"ビビッド", L"水晶", L"モザイク", L"ステンドグラス"},
    {L"OK", L"キャンセル", L"リセット"},
    L"設定を保存できませんでした。プログラムのフォルダーにもユーザーのフォルダーにも書き込めません。",
};

const DialogTexts EnglishTexts{
    L"Screen resolution",
    L"Texture",
    L"Triangle size",
    {L"Pieces", L"Piece size (min)", L"Piece size (max)", L"Rotation speed", L"Change speed", L"Blink speed",
     L"Light strength", L"Light area"},
    {L"Flat", L"Sparkle", L"Vivid", L"Crystal", L"Mosaic", L"Stained glass"},
    {L"OK", L"Cancel", L"Reset"},
    L"The settings could not be saved: neither the program's folder nor your own folder can be written.",
};

} // namespace

const DialogTexts& TextsOf(DialogLanguage language) {
    return language == DialogLanguage::Japanese ? JapaneseTexts : EnglishTexts;
}

DialogLanguage LanguageOf(LANGID uiLanguage) {
    return PRIMARYLANGID(uiLanguage) == LANG_JAPANESE ? DialogLanguage::Japanese : DialogLanguage::English;
}

DialogLanguage UserInterfaceLanguage() {
    static const DialogLanguage language = LanguageOf(GetUserDefaultUILanguage());
    return language;
}

std::wstring ChooseFaceFor(DialogLanguage language,
                           const std::function<bool(const std::wstring&)>& isInstalled) {
    if (language == DialogLanguage::Japanese) {
        return ChooseDialogFace(isInstalled);
    }
    // Windows has Segoe UI since Vista; Wine brings Tahoma.
    static constexpr std::array<const wchar_t*, 3> faces{L"Segoe UI", L"Tahoma", L"Arial"};
    for (const wchar_t* face : faces) {
        if (isInstalled(face)) {
            return face;
        }
    }
    return faces[0];
}
