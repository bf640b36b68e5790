// The choice of where the framework reads and writes the accessibility settings.
#include "framework/AccessibilitySettings.h"

#include "framework/SystemAccessibilitySettings.h"

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
