// A scripted Direct3D with its enumeration, on which the choice of device settings is made.
#pragma once

#include "framework/DeviceEnumeration.h"
#include "framework/DeviceSettingsChoice.h"
#include "support/FakeDirect3D9.h"

#include <doctest/doctest.h>

#include <utility>
#include <vector>

// The no-compatible-device result, written out so that a changed constant shows in the tests.
constexpr HRESULT kNoCompatibleDevice = static_cast<HRESULT>(0x80040902);

struct ScriptedMachine {
    FakeDirect3D9 d3d;
    DeviceEnumeration enumeration;

    explicit ScriptedMachine(std::vector<FakeDirect3D9::Adapter> adapters) {
        d3d.Adapters = std::move(adapters);
        REQUIRE(enumeration.Enumerate(&d3d, nullptr, nullptr, nullptr) == S_OK);
    }

    // One call of the choice.
    HRESULT Find(DeviceSettings& out, const DeviceSettings& in, const MatchOptions& match,
                 HWND windowedWindow = nullptr, HWND fullScreenWindow = nullptr) {
        return FindValidDeviceSettings(enumeration, &d3d, &out, &in, &match, windowedWindow,
                                       fullScreenWindow);
    }
};

// A typical adapter offering exactly the given modes.
inline FakeDirect3D9::Adapter AdapterWithModes(const D3DDISPLAYMODE& desktop,
                                               std::vector<D3DDISPLAYMODE> modes) {
    auto adapter = FakeDirect3D9::TypicalAdapter(desktop);
    adapter.Modes = std::move(modes);
    return adapter;
}
