// The running saver: full screen at the settings' resolution; a key or a left-button release ends it.
#include "host/CSaverMain.h"

#include "framework/Framework.h"
#include "settings/CSettingImpl.h"

#include <algorithm>

namespace {

// Input within this time after the settings dialog closed does not end the run: the click or key
// that closed the dialog must not end the saver too.
constexpr DWORD kDialogGraceMs = 1000;
// A hand-edited resolution stays within what a display can have.
constexpr int kLargestResolution = 16384;

} // namespace

CSaverMain::CSaverMain() {
    Effect().Initialize(0);
}

CSaverMain::~CSaverMain() = default;

HRESULT CSaverMain::CreateMainWindow() {
    return FrameworkCreateWindow(Effect().GetName(), nullptr, nullptr, nullptr, CW_USEDEFAULT, CW_USEDEFAULT);
}

HRESULT CSaverMain::CreateMainDevice() {
    const auto* setting = static_cast<const CSettingImpl*>(Effect().GetSetting());
    const int width = std::clamp(setting->ScreenWidth, 0, kLargestResolution);
    const int height = std::clamp(setting->ScreenHeight, 0, kLargestResolution);
    if (SUCCEEDED(CreateDevice(false, width, height))) {
        return S_OK;
    }
    // The framework has reported the failure; the desktop's own resolution is tried once more.
    return CreateDevice(false, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

bool CSaverMain::InputEndsRun() const {
    return !DialogVisible() && dialogClosedTick_ < GetTickCount() - kDialogGraceMs;
}

LRESULT CSaverMain::OnMessage(HWND, UINT message, WPARAM, LPARAM, bool* noFurtherProcessing) {
    if (IsBackgroundErase(message, noFurtherProcessing)) {
        return 1;
    }
    // The left button ends the run when it is let go, not when it is pressed; other buttons and
    // mouse movement never end it.
    if (message == WM_LBUTTONUP && InputEndsRun()) {
        PostQuitMessage(0);
    }
    return 0;
}

void CSaverMain::OnKeyboard(UINT key, bool keyDown, bool) {
    if (!keyDown) {
        return;
    }
    // F1 belongs to the settings dialog.
    if (key == VK_F1) {
        return;
    }
    if (InputEndsRun()) {
        PostQuitMessage(0);
    }
}
