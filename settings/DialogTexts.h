// The settings dialog's texts in the user's interface language: Japanese for Japanese users,
// English for everyone else, with a font face that carries the language's glyphs.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <string>

enum class DialogLanguage { Japanese, English };

struct DialogTexts {
    const wchar_t* resolution;
    const wchar_t* texture;
    const wchar_t* triangleSize;
    // The slider rows' labels, top to bottom in the left column, then the right column.
    std::array<const wchar_t*, 8> sliderLabels;
    // The texture names by the texture's index (the item data).
    std::array<const wchar_t*, 6> textureNames;
    // OK, Cancel, Reset: the buttons in ID order.
    std::array<const wchar_t*, 3> buttons;
    // One line under the buttons when OK could not write the settings anywhere.
    const wchar_t* saveFailure;
};

const DialogTexts& TextsOf(DialogLanguage language);

// Japanese for every Japanese interface language, English for any other.
DialogLanguage LanguageOf(LANGID uiLanguage);

// The user's interface language, asked once per process.
DialogLanguage UserInterfaceLanguage();

// The face the dialog's texts are drawn with: for Japanese the first installed face with Japanese
// glyphs, for English the first installed one of the usual interface faces.
std::wstring ChooseFaceFor(DialogLanguage language,
                           const std::function<bool(const std::wstring&)>& isInstalled);
