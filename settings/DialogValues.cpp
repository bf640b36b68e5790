// The arithmetic and texts of the settings dialog.
#include "settings/DialogValues.h"

#include "framework/UniqueHandle.h"

#include <windows.h>

#include <array>
#include <cmath>
#include <cwchar>

int HundredthsPosition(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    const double rounded = std::floor(value * 100.0 + 0.5);
    if (rounded <= -2147483648.0) {
        return INT32_MIN;
    }
    if (rounded >= 2147483647.0) {
        return INT32_MAX;
    }
    return static_cast<int>(rounded);
}

double HundredthsValue(int position) {
    return static_cast<double>(position) / 100.0;
}

std::wstring CountText(int value) {
    wchar_t buffer[16] = {};
    std::swprintf(buffer, std::size(buffer), L"%d", value);
    return buffer;
}

std::wstring PercentText(int value) {
    return CountText(value) + L"%";
}

std::wstring ResolutionText(int width, int height) {
    wchar_t buffer[32] = {};
    std::swprintf(buffer, std::size(buffer), L"%4dx%4d", width, height);
    return buffer;
}

std::wstring ChooseDialogFace(const std::function<bool(const std::wstring&)>& isInstalled) {
    static constexpr std::array<const wchar_t*, 7> faces{
        L"MS UI Gothic",     L"Meiryo UI",    L"Yu Gothic UI", L"MS Gothic",
        L"Noto Sans CJK JP", L"Noto Sans JP", L"IPAGothic",
    };
    for (const wchar_t* face : faces) {
        if (isInstalled(face)) {
            return face;
        }
    }
    return faces[0];
}

namespace {

int CALLBACK FoundFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

} // namespace

bool IsFontFaceInstalled(const std::wstring& faceName) {
    if (faceName.empty() || faceName.size() >= LF_FACESIZE) {
        return false;
    }
    const UniqueWindowDC screen = AcquireWindowDC(nullptr);
    if (!screen) {
        return false;
    }
    LOGFONTW wanted = {};
    wanted.lfCharSet = DEFAULT_CHARSET;
    faceName.copy(wanted.lfFaceName, faceName.size());
    bool found = false;
    EnumFontFamiliesExW(screen.get().dc, &wanted, &FoundFace, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}
