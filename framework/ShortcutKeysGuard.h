// The system's shortcut keys while a full-screen device runs: the Windows keys and the accessibility
// hot keys are turned off, and given back as the user had them when the guard ends, however it ends.
#pragma once

#include "framework/AccessibilitySettings.h"
#include "framework/UniqueHandle.h"

class ShortcutKeysGuard {
public:
    // Saves the user's StickyKeys, ToggleKeys and FilterKeys settings; the keys stay as they are.
    explicit ShortcutKeysGuard(AccessibilitySettings& settings);
    ShortcutKeysGuard(const ShortcutKeysGuard&) = delete;
    ShortcutKeysGuard& operator=(const ShortcutKeysGuard&) = delete;
    // Gives the keys back.
    ~ShortcutKeysGuard();

    // False: the Windows keys are swallowed and the hot keys of features the user has not switched on
    // are off. True: everything as the user had it.
    void Allow(bool allow);
    bool Hooked() const { return static_cast<bool>(hook_); }

private:
    AccessibilitySettings& settings_;
    AccessibilityRecords saved_;
    // Whether the stored settings are this program's rather than the user's.
    bool changed_ = false;
    UniqueHook hook_;
};
