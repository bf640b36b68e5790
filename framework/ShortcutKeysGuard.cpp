// The guard of the system's shortcut keys: the Windows keys and the accessibility hot keys.
#include "framework/ShortcutKeysGuard.h"

#include <atomic>

namespace {

// Read by the hook, which Windows calls without an object.
std::atomic<bool> windowsKeysAllowed{true};

LRESULT CALLBACK LowLevelKeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && (wParam == WM_KEYDOWN || wParam == WM_KEYUP) && !windowsKeysAllowed) {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        if (key->vkCode == VK_LWIN || key->vkCode == VK_RWIN) {
            return 1;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

constexpr DWORD kFeatureOn = 0x1;
constexpr DWORD kHotKeyBits = 0x4 | 0x8;

// A feature the user has not switched on loses its hot key while shortcut keys are off.
template <typename Record> bool WithoutHotKey(Record& record) {
    if ((record.dwFlags & kFeatureOn) != 0) {
        return false;
    }
    record.dwFlags &= ~kHotKeyBits;
    return true;
}

} // namespace

ShortcutKeysGuard::ShortcutKeysGuard(AccessibilitySettings& settings)
    : settings_(settings), saved_(settings.Read()) {}

ShortcutKeysGuard::~ShortcutKeysGuard() {
    Allow(true);
}

void ShortcutKeysGuard::Allow(bool allow) {
    windowsKeysAllowed = allow;
    if (allow) {
        // Put back exactly what the user had, and only when this program changed it.
        if (changed_) {
            settings_.WriteSticky(saved_.sticky);
            settings_.WriteToggle(saved_.toggle);
            settings_.WriteFilter(saved_.filter);
            changed_ = false;
        }
        hook_.reset();
        return;
    }
    // Every 64-bit Windows is of the NT family above version 4, so the hook is always available.
    if (!hook_) {
        hook_.reset(SetWindowsHookExW(WH_KEYBOARD_LL, LowLevelKeyboardProc, GetModuleHandleW(nullptr), 0));
    }
    changed_ = true;
    AccessibilityRecords records = saved_;
    if (WithoutHotKey(records.sticky)) {
        settings_.WriteSticky(records.sticky);
    }
    if (WithoutHotKey(records.toggle)) {
        settings_.WriteToggle(records.toggle);
    }
    if (WithoutHotKey(records.filter)) {
        settings_.WriteFilter(records.filter);
    }
}
