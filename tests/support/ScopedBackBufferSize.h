// Gives the framework a current back-buffer size without a device, for code that reads it (the
// tiling and its light); the framework's settings record goes back as it was afterwards.
#pragma once

#include "framework/FrameworkState.h"

#include <memory>

class ScopedBackBufferSize {
public:
    ScopedBackBufferSize(UINT width, UINT height) {
        auto settings = std::make_unique<DeviceSettings>();
        settings->pp.BackBufferWidth = width;
        settings->pp.BackBufferHeight = height;
        settings->pp.Windowed = TRUE;
        saved_ = GetFrameworkState().ExchangeSettings(std::move(settings));
    }
    ScopedBackBufferSize(const ScopedBackBufferSize&) = delete;
    ScopedBackBufferSize& operator=(const ScopedBackBufferSize&) = delete;
    ~ScopedBackBufferSize() { GetFrameworkState().ExchangeSettings(std::move(saved_)); }

private:
    std::unique_ptr<DeviceSettings> saved_;
};
