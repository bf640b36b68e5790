// The guard of the system's shortcut keys: the Windows keys and the accessibility hot keys.
#include "framework/AccessibilitySettings.h"
#include "framework/FrameworkInternal.h"

namespace {

using F = FrameworkFields;

LRESULT CALLBACK LowLevelKeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && (wParam == WM_KEYDOWN || wParam == WM_KEYUP) &&
        !GetFrameworkState().Get(&F::allowShortcutKeys)) {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        if (key->vkCode == VK_LWIN || key->vkCode == VK_RWIN) {
            return 1;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

constexpr DWORD FeatureOn = 0x1;
constexpr DWORD HotKeyBits = 0x4 | 0x8;

// A feature the user has not switched on loses its hot key while shortcut keys are off.
template <typename Record> bool WithoutHotKey(Record& record) {
    if ((record.dwFlags & FeatureOn) != 0) {
        return false;
    }
    record.dwFlags &= ~HotKeyBits;
    return true;
}

} // namespace

void AllowShortcutKeys(bool allow) {
    FrameworkState& state = GetFrameworkState();
    state.Set(&F::allowShortcutKeys, allow);
    if (allow) {
        // Put back exactly what the user had, and only when this program changed it.
        auto [changed, sticky, toggle, filter] = state.With([](F& f) {
            return std::tuple(f.accessibilityChanged, f.savedStickyKeys, f.savedToggleKeys,
                              f.savedFilterKeys);
        });
        if (changed) {
            AccessibilitySettings& system = FrameworkAccessibilitySettings();
            system.WriteSticky(sticky);
            system.WriteToggle(toggle);
            system.WriteFilter(filter);
            state.Set(&F::accessibilityChanged, false);
        }
        if (HHOOK hook = state.Get(&F::keyboardHook); hook != nullptr) {
            UnhookWindowsHookEx(hook);
            state.Set(&F::keyboardHook, nullptr);
        }
        return;
    }
    // Every 64-bit Windows is of the NT family above version 4, so the hook is always available.
    if (state.Get(&F::keyboardHook) == nullptr) {
        state.Set(&F::keyboardHook,
                  SetWindowsHookExW(WH_KEYBOARD_LL, LowLevelKeyboardProc, GetModuleHandleW(nullptr), 0));
    }
    auto [initCalled, sticky, toggle, filter] = state.With([](F& f) {
        return std::tuple(f.initCalled, f.savedStickyKeys, f.savedToggleKeys, f.savedFilterKeys);
    });
    // Without the user's settings saved there is nothing to restore them from: leave them alone.
    if (!initCalled) {
        return;
    }
    state.Set(&F::accessibilityChanged, true);
    AccessibilitySettings& system = FrameworkAccessibilitySettings();
    if (WithoutHotKey(sticky)) {
        system.WriteSticky(sticky);
    }
    if (WithoutHotKey(toggle)) {
        system.WriteToggle(toggle);
    }
    if (WithoutHotKey(filter)) {
        system.WriteFilter(filter);
    }
}
