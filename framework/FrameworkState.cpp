// The process-wide framework state and its lock.
#include "framework/FrameworkState.h"

bool FrameworkState::HasSettings() {
    return device_.Update([](DeviceState& d) { return d.settings != nullptr; });
}

DeviceSettings FrameworkState::GetSettings() {
    return device_.Update([](DeviceState& d) { return d.settings ? *d.settings : DeviceSettings{}; });
}

DeviceSettings* FrameworkState::SettingsRecord() {
    return device_.Update([](DeviceState& d) { return d.settings.get(); });
}

std::unique_ptr<DeviceSettings> FrameworkState::ExchangeSettings(std::unique_ptr<DeviceSettings> settings) {
    device_.Update([&](DeviceState& d) { std::swap(d.settings, settings); });
    return settings;
}

void FrameworkState::ResetFields() {
    window_.Clear();
    device_.Clear();
    timing_.Clear();
    callbacks_.Clear();
    options_.Clear();
    lifecycle_.Clear();
    shortcutKeys_.Clear();
}

namespace {

// Destroyed before the state it shuts down, because it is constructed after it.
struct ShutdownAtExit {
    ShutdownAtExit() = default;
    ShutdownAtExit(const ShutdownAtExit&) = delete;
    ShutdownAtExit& operator=(const ShutdownAtExit&) = delete;
    ~ShutdownAtExit() { FrameworkShutdown(0); }
};

} // namespace

FrameworkState& GetFrameworkState() {
    static FrameworkState state;
    static ShutdownAtExit shutdownAtExit;
    return state;
}
