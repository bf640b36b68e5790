// The system's accessibility settings, and the choice of where the framework reads them.
#include "framework/AccessibilitySettings.h"

AccessibilityRecords SystemAccessibilitySettings::Read() {
    AccessibilityRecords records;
    SystemParametersInfoW(SPI_GETSTICKYKEYS, sizeof(STICKYKEYS), &records.sticky, 0);
    SystemParametersInfoW(SPI_GETTOGGLEKEYS, sizeof(TOGGLEKEYS), &records.toggle, 0);
    SystemParametersInfoW(SPI_GETFILTERKEYS, sizeof(FILTERKEYS), &records.filter, 0);
    return records;
}

void SystemAccessibilitySettings::WriteSticky(STICKYKEYS record) {
    SystemParametersInfoW(SPI_SETSTICKYKEYS, sizeof(STICKYKEYS), &record, 0);
}

void SystemAccessibilitySettings::WriteToggle(TOGGLEKEYS record) {
    SystemParametersInfoW(SPI_SETTOGGLEKEYS, sizeof(TOGGLEKEYS), &record, 0);
}

void SystemAccessibilitySettings::WriteFilter(FILTERKEYS record) {
    SystemParametersInfoW(SPI_SETFILTERKEYS, sizeof(FILTERKEYS), &record, 0);
}

namespace {

AccessibilitySettings* replacement = nullptr;

} // namespace

void FrameworkSetAccessibilitySettings(AccessibilitySettings* settings) {
    replacement = settings;
}

AccessibilitySettings& FrameworkAccessibilitySettings() {
    static SystemAccessibilitySettings system;
    return replacement != nullptr ? *replacement : system;
}
