// The user's accessibility settings, kept in memory and put in the framework's place while this lives:
// the platform under test does not keep them. The user has StickyKeys on with its hot key, and
// ToggleKeys and FilterKeys off with theirs.
#pragma once

#include "framework/AccessibilitySettings.h"

class UserAccessibilitySettings final : public AccessibilitySettings {
public:
    UserAccessibilitySettings() {
        constexpr DWORD hotKey = SKF_HOTKEYACTIVE | SKF_CONFIRMHOTKEY;
        stored.sticky.dwFlags = SKF_STICKYKEYSON | SKF_AVAILABLE | hotKey;
        stored.toggle.dwFlags = TKF_AVAILABLE | hotKey;
        stored.filter.dwFlags = FKF_AVAILABLE | hotKey;
        stored.filter.iWaitMSec = 1000;
        user = stored;
        FrameworkSetAccessibilitySettings(this);
    }
    UserAccessibilitySettings(const UserAccessibilitySettings&) = delete;
    UserAccessibilitySettings& operator=(const UserAccessibilitySettings&) = delete;
    ~UserAccessibilitySettings() override { FrameworkSetAccessibilitySettings(nullptr); }

    AccessibilityRecords Read() override { return stored; }
    void WriteSticky(STICKYKEYS record) override { stored.sticky = record; }
    void WriteToggle(TOGGLEKEYS record) override { stored.toggle = record; }
    void WriteFilter(FILTERKEYS record) override { stored.filter = record; }

    // Whether what is stored now is what the user had.
    bool AsTheUserHadThem() const {
        return stored.sticky.dwFlags == user.sticky.dwFlags && stored.toggle.dwFlags == user.toggle.dwFlags &&
               stored.filter.dwFlags == user.filter.dwFlags;
    }

    AccessibilityRecords stored;
    AccessibilityRecords user;
};
