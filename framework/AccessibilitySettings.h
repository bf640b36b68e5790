// Where the StickyKeys, ToggleKeys and FilterKeys settings are read and written: the system, or a
// stand-in for tests (the platform under test may not keep these settings).
#pragma once

#include <windows.h>

struct AccessibilityRecords {
    STICKYKEYS sticky{sizeof(STICKYKEYS), 0};
    TOGGLEKEYS toggle{sizeof(TOGGLEKEYS), 0};
    FILTERKEYS filter{sizeof(FILTERKEYS), 0, 0, 0, 0, 0};
};

class AccessibilitySettings {
public:
    virtual ~AccessibilitySettings() = default;
    virtual AccessibilityRecords Read() = 0;
    virtual void WriteSticky(STICKYKEYS record) = 0;
    virtual void WriteToggle(TOGGLEKEYS record) = 0;
    virtual void WriteFilter(FILTERKEYS record) = 0;
};

// The system's settings through SystemParametersInfoW.
class SystemAccessibilitySettings final : public AccessibilitySettings {
public:
    AccessibilityRecords Read() override;
    void WriteSticky(STICKYKEYS record) override;
    void WriteToggle(TOGGLEKEYS record) override;
    void WriteFilter(FILTERKEYS record) override;
};

// The settings the framework uses; null puts the system's back.
void FrameworkSetAccessibilitySettings(AccessibilitySettings* settings);
AccessibilitySettings& FrameworkAccessibilitySettings();
