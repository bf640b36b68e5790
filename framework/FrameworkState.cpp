// The process-wide framework state and its lock.
#include "framework/FrameworkState.h"

FrameworkState::FrameworkState() {
    InitializeCriticalSection(&lock_);
}

FrameworkState::~FrameworkState() {
    DeleteCriticalSection(&lock_);
}

bool FrameworkState::HasSettings() {
    Guard guard(*this);
    return fields_.settings != nullptr;
}

DeviceSettings FrameworkState::GetSettings() {
    Guard guard(*this);
    return fields_.settings ? *fields_.settings : DeviceSettings{};
}

DeviceSettings* FrameworkState::SettingsRecord() {
    Guard guard(*this);
    return fields_.settings.get();
}

std::unique_ptr<DeviceSettings> FrameworkState::ExchangeSettings(std::unique_ptr<DeviceSettings> settings) {
    Guard guard(*this);
    std::swap(fields_.settings, settings);
    return settings;
}

void FrameworkState::ResetFields() {
    Guard guard(*this);
    fields_ = FrameworkFields{};
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
