// Enumeration of adapters, display modes, device types and combinations against a scripted Direct3D.
#include "framework/DeviceEnumeration.h"
#include "support/FakeDirect3D9.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <tuple>

namespace {

bool SameMode(const D3DDISPLAYMODE& a, const D3DDISPLAYMODE& b) {
    return std::tie(a.Width, a.Height, a.Format, a.RefreshRate) ==
           std::tie(b.Width, b.Height, b.Format, b.RefreshRate);
}

struct AcceptableLog {
    int calls = 0;
    D3DDEVTYPE lastCapsType = static_cast<D3DDEVTYPE>(0);
    D3DFORMAT rejectedBackBuffer = D3DFMT_UNKNOWN;
};

bool CALLBACK RejectOneBackBuffer(D3DCAPS9* caps, D3DFORMAT, D3DFORMAT backBufferFormat, bool,
                                  void* context) {
    auto* log = static_cast<AcceptableLog*>(context);
    ++log->calls;
    log->lastCapsType = caps->DeviceType;
    return backBufferFormat != log->rejectedBackBuffer;
}

bool CALLBACK RejectAll(D3DCAPS9*, D3DFORMAT, D3DFORMAT, bool, void*) {
    return false;
}

std::vector<std::tuple<D3DFORMAT, D3DFORMAT, bool>> Triples(const DeviceInfo& device) {
    std::vector<std::tuple<D3DFORMAT, D3DFORMAT, bool>> triples;
    for (const DeviceCombination& c : device.Combinations) {
        triples.emplace_back(c.AdapterFormat, c.BackBufferFormat, c.Windowed);
    }
    return triples;
}

} // namespace

TEST_SUITE("framework") {

TEST_CASE("DeviceEnumeration: lists modes of at least 640 by 480 in width, height, format, rate order") {
    FakeDirect3D9 d3d;
    auto adapter = FakeDirect3D9::TypicalAdapter(Mode(1024, 768));
    adapter.Modes = {Mode(1024, 768, D3DFMT_X8R8G8B8, 75), Mode(800, 600, D3DFMT_R5G6B5, 60),
                     Mode(640, 480, D3DFMT_X8R8G8B8, 60), Mode(1024, 768, D3DFMT_R5G6B5, 60),
                     Mode(1024, 768, D3DFMT_X8R8G8B8, 60), Mode(640, 400, D3DFMT_X8R8G8B8, 60),
                     Mode(320, 240, D3DFMT_X8R8G8B8, 60), Mode(1024, 600, D3DFMT_X1R5G5B5, 60),
                     Mode(800, 600, D3DFMT_A2R10G10B10, 60),
                     // A format outside the listed display formats is never asked for.
                     Mode(1280, 1024, D3DFMT_A8R8G8B8, 60)};
    d3d.Adapters = {adapter};

    DeviceEnumeration enumeration;
    REQUIRE(enumeration.Enumerate(&d3d, nullptr, nullptr, nullptr) == S_OK);
    const AdapterInfo* info = enumeration.GetAdapterInfo(0);
    REQUIRE(info != nullptr);
    const std::vector<D3DDISPLAYMODE> expected = {
        Mode(640, 480, D3DFMT_X8R8G8B8, 60),    Mode(800, 600, D3DFMT_R5G6B5, 60),
        Mode(800, 600, D3DFMT_A2R10G10B10, 60), Mode(1024, 600, D3DFMT_X1R5G5B5, 60),
        Mode(1024, 768, D3DFMT_X8R8G8B8, 60),   Mode(1024, 768, D3DFMT_X8R8G8B8, 75),
        Mode(1024, 768, D3DFMT_R5G6B5, 60)};
    REQUIRE(info->DisplayModes.size() == expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        CAPTURE(i);
        CHECK(SameMode(info->DisplayModes[i], expected[i]));
    }
}

TEST_CASE("DeviceEnumeration: combinations per display format, back-buffer format and windowed flag") {
    FakeDirect3D9 d3d;

    SUBCASE("the formats of the modes first, then the desktop's; full screen before windowed") {
        auto adapter = FakeDirect3D9::TypicalAdapter(Mode(1024, 768, D3DFMT_R5G6B5));
        adapter.Modes = {Mode(1024, 768, D3DFMT_X8R8G8B8)};
        adapter.DeviceTypes = {FakeDirect3D9::TypicalDeviceType(D3DDEVTYPE_HAL)};
        d3d.Adapters = {adapter};
        DeviceEnumeration enumeration;
        REQUIRE(enumeration.Enumerate(&d3d, nullptr, nullptr, nullptr) == S_OK);
        const DeviceInfo* hal = enumeration.GetDeviceInfo(0, D3DDEVTYPE_HAL);
        REQUIRE(hal != nullptr);
        using T = std::tuple<D3DFORMAT, D3DFORMAT, bool>;
        const std::vector<T> expected = {
            {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, false}, {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, true},
            {D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, false}, {D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, true},
            {D3DFMT_R5G6B5, D3DFMT_R5G6B5, false},     {D3DFMT_R5G6B5, D3DFMT_R5G6B5, true}};
        CHECK(Triples(*hal) == expected);
        for (const DeviceCombination& c : hal->Combinations) {
            CHECK(c.Adapter == enumeration.GetAdapterInfo(0));
            CHECK(c.Device == hal);
            CHECK(c.AdapterOrdinal == 0);
            CHECK(c.DeviceType == D3DDEVTYPE_HAL);
        }
    }

    SUBCASE("an adapter without display modes offers windowed combinations only") {
        auto adapter = FakeDirect3D9::TypicalAdapter(Mode(1024, 768));
        adapter.Modes = {Mode(320, 240)};
        d3d.Adapters = {adapter};
        DeviceEnumeration enumeration;
        REQUIRE(enumeration.Enumerate(&d3d, nullptr, nullptr, nullptr) == S_OK);
        const DeviceInfo* hal = enumeration.GetDeviceInfo(0, D3DDEVTYPE_HAL);
        REQUIRE(hal != nullptr);
        CHECK(enumeration.GetAdapterInfo(0)->DisplayModes.empty());
        CHECK(hal->Combinations.size() == 2);
        for (const DeviceCombination& c : hal->Combinations) {
            CHECK(c.Windowed);
        }
    }

    SUBCASE("blending and the application's veto remove combinations") {
        auto adapter = FakeDirect3D9::TypicalAdapter(Mode(1024, 768));
        adapter.DeviceTypes = {FakeDirect3D9::TypicalDeviceType(D3DDEVTYPE_HAL)};
        adapter.DeviceTypes[0].UnblendableFormats = {D3DFMT_A8R8G8B8};
        d3d.Adapters = {adapter};
        AcceptableLog log;
        log.rejectedBackBuffer = D3DFMT_X8R8G8B8;
        DeviceEnumeration enumeration;
        CHECK(enumeration.Enumerate(&d3d, RejectOneBackBuffer, &log, nullptr) == S_OK);
        // Both back-buffer formats passed the device check, only X8R8G8B8 reached the callback.
        CHECK(log.calls == 2);
        CHECK(log.lastCapsType == D3DDEVTYPE_HAL);
        CHECK(enumeration.GetAdapterInfoList().empty());
        CHECK(enumeration.GetAdapterInfo(0) == nullptr);
    }
}

TEST_CASE("DeviceEnumeration: depth-stencil, multisample and interval lists of a combination") {
    FakeDirect3D9 d3d;
    auto adapter = FakeDirect3D9::TypicalAdapter(Mode(1024, 768));
    adapter.DeviceTypes = {FakeDirect3D9::TypicalDeviceType(D3DDEVTYPE_HAL)};
    auto& hal = adapter.DeviceTypes[0];
    hal.DepthStencilFormats = {D3DFMT_D32, D3DFMT_D24S8, D3DFMT_D16, D3DFMT_D24X4S4};
    hal.DepthStencilMismatches = {{D3DFMT_X8R8G8B8, D3DFMT_D24S8}};
    hal.MultiSampleTypes = {
        {D3DMULTISAMPLE_NONE, 1}, {D3DMULTISAMPLE_4_SAMPLES, 3}, {D3DMULTISAMPLE_NONMASKABLE, 0x20000}};
    hal.Caps.PresentationIntervals = D3DPRESENT_INTERVAL_IMMEDIATE | D3DPRESENT_INTERVAL_ONE |
                                     D3DPRESENT_INTERVAL_TWO | D3DPRESENT_INTERVAL_FOUR;
    d3d.Adapters = {adapter};
    DeviceEnumeration enumeration;
    REQUIRE(enumeration.Enumerate(&d3d, nullptr, nullptr, nullptr) == S_OK);

    const DeviceCombination* fullScreen =
        enumeration.GetDeviceCombination(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, false);
    const DeviceCombination* windowed =
        enumeration.GetDeviceCombination(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, true);
    const DeviceCombination* alpha =
        enumeration.GetDeviceCombination(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, true);
    REQUIRE(fullScreen != nullptr);
    REQUIRE(windowed != nullptr);
    REQUIRE(alpha != nullptr);

    // In the candidate order, each needing the format check and the match with the back buffer.
    CHECK(fullScreen->DepthStencilFormats ==
          std::vector<D3DFORMAT>{D3DFMT_D16, D3DFMT_D24X4S4, D3DFMT_D32});
    CHECK(alpha->DepthStencilFormats ==
          std::vector<D3DFORMAT>{D3DFMT_D16, D3DFMT_D24S8, D3DFMT_D24X4S4, D3DFMT_D32});

    REQUIRE(fullScreen->MultiSampleTypes.size() == 3);
    CHECK(fullScreen->MultiSampleTypes[0].Type == D3DMULTISAMPLE_NONE);
    CHECK(fullScreen->MultiSampleTypes[1].Type == D3DMULTISAMPLE_NONMASKABLE);
    CHECK(fullScreen->MultiSampleTypes[1].QualityLevels == 0x10000);
    CHECK(fullScreen->MultiSampleTypes[2].Type == D3DMULTISAMPLE_4_SAMPLES);
    CHECK(fullScreen->MultiSampleTypes[2].QualityLevels == 3);

    CHECK(fullScreen->PresentIntervals ==
          std::vector<UINT>{D3DPRESENT_INTERVAL_IMMEDIATE, D3DPRESENT_INTERVAL_DEFAULT,
                            D3DPRESENT_INTERVAL_ONE, D3DPRESENT_INTERVAL_TWO, D3DPRESENT_INTERVAL_FOUR});
    CHECK(windowed->PresentIntervals == std::vector<UINT>{D3DPRESENT_INTERVAL_IMMEDIATE,
                                                          D3DPRESENT_INTERVAL_DEFAULT,
                                                          D3DPRESENT_INTERVAL_ONE});
}

TEST_CASE("DeviceEnumeration: a combination without any multisample type is dropped") {
    FakeDirect3D9 d3d;
    auto adapter = FakeDirect3D9::TypicalAdapter(Mode(1024, 768));
    adapter.DeviceTypes[0].MultiSampleTypes.clear();
    d3d.Adapters = {adapter};
    DeviceEnumeration enumeration;
    REQUIRE(enumeration.Enumerate(&d3d, nullptr, nullptr, nullptr) == S_OK);
    CHECK(enumeration.GetDeviceInfo(0, D3DDEVTYPE_HAL) == nullptr);
    CHECK(enumeration.GetDeviceInfo(0, D3DDEVTYPE_REF) != nullptr);
}

TEST_CASE("DeviceEnumeration: device types that are not available are skipped") {
    FakeDirect3D9 d3d;
    HWND focus = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x4242));
    auto primary = FakeDirect3D9::TypicalAdapter(Mode(1024, 768, D3DFMT_R5G6B5));
    primary.DeviceTypes = {FakeDirect3D9::TypicalDeviceType(D3DDEVTYPE_HAL),
                           FakeDirect3D9::TypicalDeviceType(D3DDEVTYPE_SW),
                           FakeDirect3D9::TypicalDeviceType(D3DDEVTYPE_REF)};
    primary.DeviceTypes[0].CreateDeviceResult = D3DERR_NOTAVAILABLE;
    primary.DeviceTypes[1].CapsResult = D3DERR_INVALIDCALL;
    // Any other failure of the throw-away device still counts as available.
    primary.DeviceTypes[2].CreateDeviceResult = D3DERR_OUTOFVIDEOMEMORY;
    auto second = FakeDirect3D9::TypicalAdapter(Mode(800, 600));
    d3d.Adapters = {primary, second};

    DeviceEnumeration enumeration;
    REQUIRE(enumeration.Enumerate(&d3d, nullptr, nullptr, focus) == S_OK);
    CHECK(enumeration.GetDeviceInfo(0, D3DDEVTYPE_HAL) == nullptr);
    CHECK(enumeration.GetDeviceInfo(0, D3DDEVTYPE_SW) == nullptr);
    CHECK(enumeration.GetDeviceInfo(0, D3DDEVTYPE_REF) != nullptr);
    CHECK(enumeration.GetDeviceInfo(1, D3DDEVTYPE_HAL) != nullptr);

    // One throw-away device per type whose caps could be read: HAL, REF, then HAL and REF of the
    // second adapter, each 1 by 1 in the primary desktop's format.
    REQUIRE(d3d.CreateDeviceCalls.size() == 4);
    const auto& secondHal = d3d.CreateDeviceCalls[2];
    CHECK(secondHal.Adapter == 1);
    CHECK(secondHal.Type == D3DDEVTYPE_HAL);
    // On a hidden window of its own, gone again afterwards, never on the application's window.
    CHECK(secondHal.FocusWindow != focus);
    CHECK(secondHal.Parameters.hDeviceWindow == secondHal.FocusWindow);
    CHECK_FALSE(IsWindow(secondHal.FocusWindow));
    CHECK(secondHal.BehaviorFlags == D3DCREATE_HARDWARE_VERTEXPROCESSING);
    CHECK(secondHal.Parameters.BackBufferWidth == 1);
    CHECK(secondHal.Parameters.BackBufferHeight == 1);
    CHECK(secondHal.Parameters.BackBufferFormat == D3DFMT_R5G6B5);
    CHECK(secondHal.Parameters.BackBufferCount == 1);
    CHECK(secondHal.Parameters.SwapEffect == D3DSWAPEFFECT_COPY);
    CHECK(secondHal.Parameters.Windowed == TRUE);
}

TEST_CASE("DeviceEnumeration: an adapter without device types is left out") {
    FakeDirect3D9 d3d;
    auto empty = FakeDirect3D9::TypicalAdapter(Mode(1024, 768));
    empty.DeviceTypes.clear();
    d3d.Adapters = {empty, FakeDirect3D9::TypicalAdapter(Mode(1280, 1024))};
    DeviceEnumeration enumeration;
    REQUIRE(enumeration.Enumerate(&d3d, nullptr, nullptr, nullptr) == S_OK);
    REQUIRE(enumeration.GetAdapterInfoList().size() == 1);
    CHECK(enumeration.GetAdapterInfoList()[0].AdapterOrdinal == 1);
    CHECK(enumeration.GetAdapterInfo(0) == nullptr);
    CHECK(enumeration.GetAdapterInfo(1) == &enumeration.GetAdapterInfoList()[0]);
}

TEST_CASE("DeviceEnumeration: enumerating again starts from empty lists") {
    FakeDirect3D9 d3d;
    d3d.Adapters = {FakeDirect3D9::TypicalAdapter(Mode(1024, 768))};
    DeviceEnumeration enumeration;
    REQUIRE(enumeration.Enumerate(&d3d, nullptr, nullptr, nullptr) == S_OK);
    REQUIRE(enumeration.Enumerate(&d3d, nullptr, nullptr, nullptr) == S_OK);
    CHECK(enumeration.GetAdapterInfoList().size() == 1);
    CHECK(enumeration.GetAdapterInfo(0)->DisplayModes.size() == 1);
    CHECK(enumeration.HasEnumerated());

    CHECK(enumeration.Enumerate(nullptr, nullptr, nullptr, nullptr) == static_cast<HRESULT>(0x80040901));
    CHECK(enumeration.GetAdapterInfoList().empty());
    CHECK_FALSE(enumeration.HasEnumerated());

    CHECK(enumeration.Enumerate(&d3d, RejectAll, nullptr, nullptr) == S_OK);
    CHECK(enumeration.GetAdapterInfoList().empty());
    CHECK(d3d.References() == 1);
}

} // TEST_SUITE
