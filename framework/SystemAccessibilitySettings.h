// The accessibility settings of the system itself, read and written through SystemParametersInfoW.
#pragma once

#include "framework/AccessibilitySettings.h"

#include <windows.h>

class SystemAccessibilitySettings final : public AccessibilitySettings {
public:
    AccessibilityRecords Read() override;
    void WriteSticky(STICKYKEYS record) override;
    void WriteToggle(TOGGLEKEYS record) override;
    void WriteFilter(FILTERKEYS record) override;
};
