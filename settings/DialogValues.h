// The arithmetic and texts of the settings dialog: slider positions of record values, value texts,
// resolution item texts and the choice of a font face that carries Japanese glyphs.
#pragma once

#include <functional>
#include <string>

// The slider position that shows a value kept in hundredths: value times 100 rounded to the nearest
// whole number, halves up. A hand-edited value beyond the int range (or not a number) gives the nearest
// int (or 0) instead of an undefined conversion.
int HundredthsPosition(double value);

// The record value a hundredths slider position stands for.
double HundredthsValue(int position);

// "%d" of a position, and "%d%" for the deformation rows.
std::wstring CountText(int value);
std::wstring PercentText(int value);

// "%4dx%4d": width and height right-aligned in four characters (" 800x 600", "1920x1080").
std::wstring ResolutionText(int width, int height);

// The dialog's face: "MS UI Gothic" where it exists, otherwise the first installed face of a list of
// Japanese faces, otherwise "MS UI Gothic" still (the font mapper then picks what it can).
std::wstring ChooseDialogFace(const std::function<bool(const std::wstring&)>& isInstalled);

// Whether the system has a font family of that face name.
bool IsFontFaceInstalled(const std::wstring& faceName);
