// The choice of valid device settings from a wish, against scripted adapters.
#include "framework/DeviceRequest.h"
#include "framework/DeviceSettingsChoice.h"
#include "support/ScriptedMachine.h"

#include <doctest/doctest.h>

namespace {

// What the framework asks for when it creates its device on adapter 0.
DeviceSettings CreationRequest(bool windowed, UINT width, UINT height) {
    return MakeCreationRequest(0, windowed, width, height).In;
}

MatchOptions CreationOptions(bool windowed, UINT width, UINT height) {
    return MakeCreationRequest(0, windowed, width, height).Match;
}

// A lone combination linked to hand-made records, for the building step on its own.
struct Records {
    AdapterInfo adapter;
    DeviceInfo device;
    DeviceCombination c;

    Records(bool windowed, D3DFORMAT backBuffer, std::vector<D3DFORMAT> depthStencil) {
        device.DeviceType = D3DDEVTYPE_HAL;
        device.Caps.DevCaps = D3DDEVCAPS_HWTRANSFORMANDLIGHT;
        c.DeviceType = D3DDEVTYPE_HAL;
        c.AdapterFormat = D3DFMT_X8R8G8B8;
        c.BackBufferFormat = backBuffer;
        c.Windowed = windowed;
        c.DepthStencilFormats = std::move(depthStencil);
        c.MultiSampleTypes = {{D3DMULTISAMPLE_NONE, 1}};
        c.PresentIntervals = {D3DPRESENT_INTERVAL_DEFAULT};
        c.Adapter = &adapter;
        c.Device = &device;
    }
    Records(const Records&) = delete;
};

} // namespace

TEST_SUITE("framework") {

TEST_CASE("FormatBits: colour, depth and stencil bits of the known formats") {
    struct Row {
        D3DFORMAT format;
        UINT colour, depth, stencil;
    };
    const Row rows[] = {{D3DFMT_A8R8G8B8, 8, 0, 0},
                        {D3DFMT_X8R8G8B8, 8, 0, 0},
                        {D3DFMT_A8B8G8R8, 8, 0, 0},
                        {D3DFMT_R5G6B5, 5, 0, 0},
                        {D3DFMT_A1R5G5B5, 5, 0, 0},
                        {D3DFMT_X4R4G4B4, 4, 0, 0},
                        {D3DFMT_A8R3G3B2, 2, 0, 0},
                        {D3DFMT_A2R10G10B10, 10, 0, 0},
                        {D3DFMT_A16B16G16R16, 16, 0, 0},
                        {D3DFMT_D16_LOCKABLE, 0, 16, 0},
                        {D3DFMT_D15S1, 0, 15, 1},
                        {D3DFMT_D24S8, 0, 24, 8},
                        {D3DFMT_D24X4S4, 0, 24, 4},
                        {D3DFMT_D24FS8, 0, 24, 8},
                        {D3DFMT_D32F_LOCKABLE, 0, 32, 0},
                        {D3DFMT_UNKNOWN, 0, 0, 0},
                        {static_cast<D3DFORMAT>(0x7fffffff), 0, 0, 0}};
    for (const Row& row : rows) {
        CAPTURE(row.format);
        CHECK(ColorChannelBits(row.format) == row.colour);
        CHECK(DepthBits(row.format) == row.depth);
        CHECK(StencilBits(row.format) == row.stencil);
    }
}

TEST_CASE("FindValidDeviceSettings: the full-screen mode nearest in width plus height") {
    ScriptedMachine machine(
        {AdapterWithModes(Mode(1024, 768), {Mode(1024, 768), Mode(800, 600), Mode(1280, 1024)})});
    DeviceSettings out;
    struct Row {
        UINT width, height, expectedWidth, expectedHeight;
    };
    const Row rows[] = {
        {1000, 700, 1024, 768}, // 92 away against 300
        {912, 684, 800, 600},   // 196 away from both: the smaller, earlier sorted mode
        {1280, 1024, 1280, 1024}, {100, 100, 800, 600}, {4000, 3000, 1280, 1024},
    };
    for (const Row& row : rows) {
        CAPTURE(row.width);
        CAPTURE(row.height);
        REQUIRE(machine.Find(out, CreationRequest(false, row.width, row.height),
                             CreationOptions(false, row.width, row.height)) == S_OK);
        CHECK_FALSE(out.pp.Windowed);
        CHECK(out.pp.BackBufferWidth == row.expectedWidth);
        CHECK(out.pp.BackBufferHeight == row.expectedHeight);
    }

    SUBCASE("without a suggestion the desktop size") {
        REQUIRE(machine.Find(out, CreationRequest(false, 0, 0), CreationOptions(false, 0, 0)) == S_OK);
        CHECK(out.pp.BackBufferWidth == 1024);
        CHECK(out.pp.BackBufferHeight == 768);
    }
}

TEST_CASE("FindValidDeviceSettings: the refresh rate closest to the desktop's") {
    struct Row {
        UINT desktopRate, expected;
    };
    // 80 lies between 75 and 85: the earlier listed rate wins.
    const Row rows[] = {{72, 75}, {80, 75}, {85, 85}, {100, 85}, {50, 60}, {0, 0}};
    for (const Row& row : rows) {
        CAPTURE(row.desktopRate);
        ScriptedMachine machine({AdapterWithModes(
            Mode(1024, 768, D3DFMT_X8R8G8B8, row.desktopRate),
            {Mode(1024, 768, D3DFMT_X8R8G8B8, 85), Mode(1024, 768, D3DFMT_X8R8G8B8, 60),
             Mode(1024, 768, D3DFMT_X8R8G8B8, 75), Mode(800, 600, D3DFMT_X8R8G8B8, 72)})});
        DeviceSettings out;
        REQUIRE(machine.Find(out, CreationRequest(false, 0, 0), CreationOptions(false, 0, 0)) == S_OK);
        CHECK(out.pp.BackBufferWidth == 1024);
        CHECK(out.pp.FullScreen_RefreshRateInHz == row.expected);

        // Windowed devices never name a refresh rate.
        REQUIRE(machine.Find(out, CreationRequest(true, 0, 0), CreationOptions(true, 0, 0)) == S_OK);
        CHECK(out.pp.FullScreen_RefreshRateInHz == 0);
    }
}

TEST_CASE("FindValidDeviceSettings: a refresh rate wished for is matched as closely as the modes allow") {
    ScriptedMachine machine({AdapterWithModes(
        Mode(1024, 768, D3DFMT_X8R8G8B8, 60),
        {Mode(1024, 768, D3DFMT_X8R8G8B8, 60), Mode(1024, 768, D3DFMT_X8R8G8B8, 100)})});
    DeviceSettings in = CreationRequest(false, 1024, 768);
    in.pp.FullScreen_RefreshRateInHz = 90;
    MatchOptions match = CreationOptions(false, 1024, 768);
    match.RefreshRate = MatchType::ClosestToInput;
    DeviceSettings out;
    REQUIRE(machine.Find(out, in, match) == S_OK);
    CHECK(out.pp.FullScreen_RefreshRateInHz == 100);
}

TEST_CASE("FindValidDeviceSettings: a 16-bit desktop") {
    // The adapter can show both formats full screen; the desktop runs in R5G6B5.
    auto adapter = AdapterWithModes(Mode(1024, 768, D3DFMT_R5G6B5),
                                    {Mode(1024, 768, D3DFMT_R5G6B5), Mode(1024, 768)});
    for (auto& device : adapter.DeviceTypes) {
        device.AcceptsFormats = [](D3DFORMAT display, D3DFORMAT backBuffer, bool) {
            return ColorChannelBits(display) == ColorChannelBits(backBuffer);
        };
    }
    ScriptedMachine machine({adapter});
    DeviceSettings out;

    SUBCASE("full screen favours X8R8G8B8") {
        REQUIRE(machine.Find(out, CreationRequest(false, 0, 0), CreationOptions(false, 0, 0)) == S_OK);
        CHECK(out.AdapterFormat == D3DFMT_X8R8G8B8);
        CHECK(out.pp.BackBufferFormat == D3DFMT_X8R8G8B8);
        CHECK(out.pp.AutoDepthStencilFormat == D3DFMT_D32);
    }
    SUBCASE("windowed must match the desktop exactly") {
        REQUIRE(machine.Find(out, CreationRequest(true, 0, 0), CreationOptions(true, 0, 0)) == S_OK);
        CHECK(out.AdapterFormat == D3DFMT_R5G6B5);
        CHECK(out.pp.BackBufferFormat == D3DFMT_R5G6B5);
        // 20 bits wanted for 5 bits a channel: D16 and D24X8 are both 4 away, D16 comes first.
        CHECK(out.pp.AutoDepthStencilFormat == D3DFMT_D16);
    }
    SUBCASE("on equal rank the first combination listed stays") {
        // Without R5G6B5 back buffers, A1R5G5B5 and X1R5G5B5 earn the same rank.
        auto noExactBackBuffer = adapter;
        for (auto& device : noExactBackBuffer.DeviceTypes) {
            device.AcceptsFormats = [](D3DFORMAT display, D3DFORMAT backBuffer, bool) {
                return ColorChannelBits(display) == ColorChannelBits(backBuffer) &&
                       backBuffer != D3DFMT_R5G6B5;
            };
        }
        ScriptedMachine other({noExactBackBuffer});
        REQUIRE(other.Find(out, CreationRequest(true, 0, 0), CreationOptions(true, 0, 0)) == S_OK);
        CHECK(out.pp.BackBufferFormat == D3DFMT_A1R5G5B5);
    }
    SUBCASE("windowed with only other formats than the desktop's finds nothing") {
        auto noDesktopFormat = adapter;
        for (auto& device : noDesktopFormat.DeviceTypes) {
            device.AcceptsFormats = [](D3DFORMAT display, D3DFORMAT backBuffer, bool) {
                return display == D3DFMT_X8R8G8B8 && backBuffer == D3DFMT_X8R8G8B8;
            };
        }
        ScriptedMachine other({noDesktopFormat});
        CHECK(other.Find(out, CreationRequest(true, 0, 0), CreationOptions(true, 0, 0)) ==
              kNoCompatibleDevice);
        CHECK(other.Find(out, CreationRequest(false, 0, 0), CreationOptions(false, 0, 0)) == S_OK);
    }
}

TEST_CASE("FindValidDeviceSettings: what the full-screen saver and a window get") {
    auto adapter = AdapterWithModes(
        Mode(1280, 1024, D3DFMT_X8R8G8B8, 75),
        {Mode(1280, 1024, D3DFMT_X8R8G8B8, 60), Mode(1280, 1024, D3DFMT_X8R8G8B8, 75), Mode(1024, 768)});
    adapter.DeviceTypes[0].MultiSampleTypes = {{D3DMULTISAMPLE_NONE, 1}, {D3DMULTISAMPLE_4_SAMPLES, 4}};
    ScriptedMachine machine({adapter});
    const HWND windowed = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x100));
    const HWND fullScreen = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x200));
    DeviceSettings out;

    REQUIRE(machine.Find(out, CreationRequest(false, 0, 0), CreationOptions(false, 0, 0), windowed,
                         fullScreen) == S_OK);
    CHECK(out.AdapterOrdinal == 0);
    CHECK(out.DeviceType == D3DDEVTYPE_HAL);
    CHECK(out.AdapterFormat == D3DFMT_X8R8G8B8);
    CHECK(out.BehaviorFlags == D3DCREATE_HARDWARE_VERTEXPROCESSING);
    CHECK(out.pp.BackBufferWidth == 1280);
    CHECK(out.pp.BackBufferHeight == 1024);
    CHECK(out.pp.BackBufferFormat == D3DFMT_X8R8G8B8);
    CHECK(out.pp.BackBufferCount == 2);
    CHECK(out.pp.MultiSampleType == D3DMULTISAMPLE_NONE);
    CHECK(out.pp.SwapEffect == D3DSWAPEFFECT_DISCARD);
    CHECK(out.pp.EnableAutoDepthStencil == TRUE);
    CHECK(out.pp.AutoDepthStencilFormat == D3DFMT_D32);
    CHECK(out.pp.Flags == D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL);
    CHECK(out.pp.FullScreen_RefreshRateInHz == 75);
    CHECK(out.pp.PresentationInterval == D3DPRESENT_INTERVAL_DEFAULT);
    CHECK(out.pp.Windowed == FALSE);
    CHECK(out.pp.hDeviceWindow == fullScreen);

    SUBCASE("a windowed request of 0 by 0 leaves the size to the window") {
        REQUIRE(machine.Find(out, CreationRequest(true, 0, 0), CreationOptions(true, 0, 0), windowed,
                             fullScreen) == S_OK);
        CHECK(out.pp.Windowed == TRUE);
        CHECK(out.pp.BackBufferWidth == 0);
        CHECK(out.pp.BackBufferHeight == 0);
        CHECK(out.pp.hDeviceWindow == windowed);
    }
    SUBCASE("a windowed size is kept whatever the modes") {
        REQUIRE(machine.Find(out, CreationRequest(true, 152, 112), CreationOptions(true, 152, 112)) ==
                S_OK);
        CHECK(out.pp.BackBufferWidth == 152);
        CHECK(out.pp.BackBufferHeight == 112);
    }
    SUBCASE("a windowed wish with the size ignored gets 640 by 480") {
        DeviceSettings in = CreationRequest(true, 152, 112);
        MatchOptions match;
        match.Windowed = MatchType::PreserveInput;
        REQUIRE(machine.Find(out, in, match) == S_OK);
        CHECK(out.pp.BackBufferWidth == 640);
        CHECK(out.pp.BackBufferHeight == 480);
    }
    SUBCASE("null wish and options choose a HAL window") {
        REQUIRE(FindValidDeviceSettings(machine.enumeration, &machine.d3d, &out, nullptr, nullptr) ==
                S_OK);
        CHECK(out.pp.Windowed == TRUE);
        CHECK(out.DeviceType == D3DDEVTYPE_HAL);
        CHECK(out.pp.BackBufferWidth == 640);
    }
}

TEST_CASE("FindValidDeviceSettings: device types that are not available") {
    auto adapter = FakeDirect3D9::TypicalAdapter(Mode(1024, 768));
    adapter.DeviceTypes[0].CreateDeviceResult = D3DERR_NOTAVAILABLE; // no HAL
    ScriptedMachine machine({adapter});
    DeviceSettings out;
    DeviceSettings in = CreationRequest(true, 0, 0);
    in.DeviceType = D3DDEVTYPE_HAL;
    MatchOptions match = CreationOptions(true, 0, 0);

    SUBCASE("closest falls back to the reference device") {
        match.DeviceType = MatchType::ClosestToInput;
        REQUIRE(machine.Find(out, in, match) == S_OK);
        CHECK(out.DeviceType == D3DDEVTYPE_REF);
    }
    SUBCASE("preserved finds nothing") {
        match.DeviceType = MatchType::PreserveInput;
        CHECK(machine.Find(out, in, match) == kNoCompatibleDevice);
    }
    SUBCASE("REF is preferred when it is wished for") {
        auto both = FakeDirect3D9::TypicalAdapter(Mode(1024, 768));
        ScriptedMachine full({both});
        in.DeviceType = D3DDEVTYPE_REF;
        match.DeviceType = MatchType::ClosestToInput;
        REQUIRE(full.Find(out, in, match) == S_OK);
        CHECK(out.DeviceType == D3DDEVTYPE_REF);
        match.DeviceType = MatchType::IgnoreInput;
        REQUIRE(full.Find(out, in, match) == S_OK);
        CHECK(out.DeviceType == D3DDEVTYPE_HAL);
    }
}

TEST_CASE("FindValidDeviceSettings: nothing fits") {
    DeviceSettings out;
    out.AdapterOrdinal = 77;

    SUBCASE("an empty enumeration") {
        FakeDirect3D9 d3d;
        DeviceEnumeration enumeration;
        REQUIRE(enumeration.Enumerate(&d3d, nullptr, nullptr, nullptr) == S_OK);
        CHECK(FindValidDeviceSettings(enumeration, &d3d, &out, nullptr, nullptr) == kNoCompatibleDevice);
    }
    SUBCASE("an adapter that does not exist, preserved") {
        ScriptedMachine machine({FakeDirect3D9::TypicalAdapter(Mode(1024, 768))});
        DeviceSettings in = CreationRequest(false, 0, 0);
        in.AdapterOrdinal = 3;
        CHECK(machine.Find(out, in, CreationOptions(false, 0, 0)) == kNoCompatibleDevice);
    }
    SUBCASE("an adapter format that is not offered, preserved") {
        ScriptedMachine machine({FakeDirect3D9::TypicalAdapter(Mode(1024, 768))});
        DeviceSettings in = CreationRequest(false, 0, 0);
        in.AdapterFormat = D3DFMT_A2R10G10B10;
        MatchOptions match = CreationOptions(false, 0, 0);
        match.AdapterFormat = MatchType::PreserveInput;
        CHECK(machine.Find(out, in, match) == kNoCompatibleDevice);
    }
    SUBCASE("the desktop mode cannot be read: windowed is impossible") {
        auto adapter = FakeDirect3D9::TypicalAdapter(Mode(1024, 768));
        ScriptedMachine machine({adapter});
        machine.d3d.Adapters[0].DesktopResult = D3DERR_INVALIDCALL;
        CHECK(machine.Find(out, CreationRequest(true, 0, 0), CreationOptions(true, 0, 0)) ==
              kNoCompatibleDevice);
    }
    CHECK(out.AdapterOrdinal == 77); // untouched on failure
}

TEST_CASE("FindValidDeviceSettings: the adapter and window asked for are kept") {
    ScriptedMachine machine({FakeDirect3D9::TypicalAdapter(Mode(1024, 768)),
                     FakeDirect3D9::TypicalAdapter(Mode(1600, 1200))});
    DeviceSettings out;
    DeviceSettings in = CreationRequest(false, 0, 0);
    in.AdapterOrdinal = 1;
    REQUIRE(machine.Find(out, in, CreationOptions(false, 0, 0)) == S_OK);
    CHECK(out.AdapterOrdinal == 1);
    CHECK(out.pp.BackBufferWidth == 1600);

    MatchOptions closest = CreationOptions(false, 0, 0);
    closest.AdapterOrdinal = MatchType::ClosestToInput;
    in.AdapterOrdinal = 1;
    REQUIRE(machine.Find(out, in, closest) == S_OK);
    CHECK(out.AdapterOrdinal == 1);
}

TEST_CASE("BuildValidDeviceSettings: depth-stencil scores") {
    const D3DDISPLAYMODE desktop = Mode(1024, 768);
    struct Row {
        const char* name;
        D3DFORMAT backBuffer;
        std::vector<D3DFORMAT> offered;
        MatchType depth, stencil;
        D3DFORMAT input, expected;
    };
    const auto I = MatchType::IgnoreInput;
    const auto P = MatchType::PreserveInput;
    const auto C = MatchType::ClosestToInput;
    const std::vector<D3DFORMAT> common = {D3DFMT_D16, D3DFMT_D24X8, D3DFMT_D24S8};
    const Row rows[] = {
        {"32 bits wanted: D24X8 nearest without stencil", D3DFMT_X8R8G8B8, common, I, I, D3DFMT_UNKNOWN,
         D3DFMT_D24X8},
        {"32 bits wanted and offered",
         D3DFMT_X8R8G8B8,
         {D3DFMT_D16, D3DFMT_D24S8, D3DFMT_D32},
         I,
         I,
         D3DFMT_UNKNOWN,
         D3DFMT_D32},
        {"20 bits wanted: a tie goes to the first", D3DFMT_R5G6B5, common, I, I, D3DFMT_UNKNOWN,
         D3DFMT_D16},
        {"stencil bits closest", D3DFMT_X8R8G8B8, common, C, C, D3DFMT_D24S8, D3DFMT_D24S8},
        {"depth kept, stencil ignored", D3DFMT_X8R8G8B8, common, P, I, D3DFMT_D24S8, D3DFMT_D24X8},
        {"depth kept but not offered: stencil decides", D3DFMT_X8R8G8B8, common, P, C, D3DFMT_D32,
         D3DFMT_D16},
        {"stencil kept",
         D3DFMT_X8R8G8B8,
         {D3DFMT_D15S1, D3DFMT_D24S8, D3DFMT_D24X4S4},
         I,
         P,
         D3DFMT_D24X4S4,
         D3DFMT_D24X4S4},
        {"nothing offered", D3DFMT_X8R8G8B8, {}, I, I, D3DFMT_UNKNOWN, D3DFMT_UNKNOWN},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        Records records(false, row.backBuffer, row.offered);
        DeviceSettings in;
        in.pp.AutoDepthStencilFormat = row.input;
        MatchOptions match;
        match.DepthFormat = row.depth;
        match.StencilFormat = row.stencil;
        const DeviceSettings out =
            BuildValidDeviceSettings(records.c, in, match, desktop, nullptr, nullptr);
        CHECK(out.pp.AutoDepthStencilFormat == row.expected);
        CHECK(out.pp.EnableAutoDepthStencil == (row.expected != D3DFMT_UNKNOWN ? TRUE : FALSE));
        CHECK(out.pp.Flags ==
              (row.expected != D3DFMT_UNKNOWN ? DWORD{D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL} : 0u));
    }
}

TEST_CASE("BuildValidDeviceSettings: presentation intervals, full screen and windowed") {
    ScriptedMachine machine({FakeDirect3D9::TypicalAdapter(Mode(1024, 768))});
    auto& caps = machine.d3d.Adapters[0].DeviceTypes[0].Caps;
    caps.PresentationIntervals =
        D3DPRESENT_INTERVAL_IMMEDIATE | D3DPRESENT_INTERVAL_ONE | D3DPRESENT_INTERVAL_TWO;
    REQUIRE(machine.enumeration.Enumerate(&machine.d3d, nullptr, nullptr, nullptr) == S_OK);
    struct Row {
        bool windowed;
        UINT wish;
        MatchType option;
        UINT expected;
    };
    const Row rows[] = {
        {false, D3DPRESENT_INTERVAL_TWO, MatchType::ClosestToInput, D3DPRESENT_INTERVAL_TWO},
        {true, D3DPRESENT_INTERVAL_TWO, MatchType::ClosestToInput, D3DPRESENT_INTERVAL_DEFAULT},
        {true, D3DPRESENT_INTERVAL_IMMEDIATE, MatchType::ClosestToInput, D3DPRESENT_INTERVAL_IMMEDIATE},
        {false, D3DPRESENT_INTERVAL_THREE, MatchType::ClosestToInput, D3DPRESENT_INTERVAL_DEFAULT},
        {true, D3DPRESENT_INTERVAL_ONE, MatchType::IgnoreInput, D3DPRESENT_INTERVAL_DEFAULT},
        {true, D3DPRESENT_INTERVAL_FOUR, MatchType::PreserveInput, D3DPRESENT_INTERVAL_FOUR},
    };
    for (const Row& row : rows) {
        CAPTURE(row.windowed);
        CAPTURE(row.wish);
        DeviceSettings in = CreationRequest(row.windowed, 0, 0);
        in.pp.PresentationInterval = row.wish;
        MatchOptions match = CreationOptions(row.windowed, 0, 0);
        match.PresentInterval = row.option;
        DeviceSettings out;
        REQUIRE(machine.Find(out, in, match) == S_OK);
        CHECK(out.pp.PresentationInterval == row.expected);
    }
}

TEST_CASE("BuildValidDeviceSettings: vertex processing follows the device's transform and lighting") {
    const D3DDISPLAYMODE desktop = Mode(1024, 768);
    Records records(true, D3DFMT_X8R8G8B8, {});
    struct Row {
        bool hardware;
        MatchType option;
        DWORD input, expected;
    };
    constexpr DWORD SW = D3DCREATE_SOFTWARE_VERTEXPROCESSING;
    constexpr DWORD HW = D3DCREATE_HARDWARE_VERTEXPROCESSING;
    constexpr DWORD MX = D3DCREATE_MIXED_VERTEXPROCESSING;
    constexpr DWORD MT = D3DCREATE_MULTITHREADED;
    const Row rows[] = {
        {true, MatchType::IgnoreInput, SW, HW},
        {false, MatchType::IgnoreInput, HW, SW},
        {false, MatchType::PreserveInput, HW, HW},
        {false, MatchType::ClosestToInput, HW, SW},
        {false, MatchType::ClosestToInput, MX | MT, SW | MT},
        {true, MatchType::ClosestToInput, MX, MX},
        {true, MatchType::ClosestToInput, MT, MT | HW},
        {false, MatchType::ClosestToInput, 0, SW},
        {false, MatchType::ClosestToInput, HW | D3DCREATE_PUREDEVICE, SW},
        {true, MatchType::ClosestToInput, HW | D3DCREATE_PUREDEVICE, HW | D3DCREATE_PUREDEVICE},
    };
    for (const Row& row : rows) {
        CAPTURE(row.hardware);
        CAPTURE(row.input);
        records.device.Caps.DevCaps = row.hardware ? D3DDEVCAPS_HWTRANSFORMANDLIGHT : 0;
        DeviceSettings in;
        in.BehaviorFlags = row.input;
        MatchOptions match;
        match.VertexProcessing = row.option;
        CHECK(BuildValidDeviceSettings(records.c, in, match, desktop, nullptr, nullptr).BehaviorFlags ==
              row.expected);
    }
}

TEST_CASE("BuildValidDeviceSettings: back buffers, multisampling and swap effect wished for") {
    const D3DDISPLAYMODE desktop = Mode(1024, 768);
    Records records(false, D3DFMT_X8R8G8B8, {D3DFMT_D24S8});
    records.c.MultiSampleTypes = {
        {D3DMULTISAMPLE_NONE, 1}, {D3DMULTISAMPLE_2_SAMPLES, 2}, {D3DMULTISAMPLE_4_SAMPLES, 4}};
    MatchOptions match;
    match.BackBufferCount = MatchType::ClosestToInput;
    match.MultiSample = MatchType::ClosestToInput;
    match.SwapEffect = MatchType::ClosestToInput;
    match.PresentFlags = MatchType::ClosestToInput;
    DeviceSettings in;
    in.pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    in.pp.MultiSampleType = D3DMULTISAMPLE_3_SAMPLES;
    in.pp.MultiSampleQuality = 7;
    in.pp.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;

    const std::pair<UINT, UINT> counts[] = {{0, 1}, {1, 1}, {3, 3}, {9, 3}};
    for (auto [count, expected] : counts) {
        CAPTURE(count);
        in.pp.BackBufferCount = count;
        DeviceSettings out = BuildValidDeviceSettings(records.c, in, match, desktop, nullptr, nullptr);
        CHECK(out.pp.BackBufferCount == expected);
    }

    DeviceSettings out = BuildValidDeviceSettings(records.c, in, match, desktop, nullptr, nullptr);
    // 3 samples lie between 2 and 4: the first of the two, with the quality cut to what it has.
    CHECK(out.pp.MultiSampleType == D3DMULTISAMPLE_2_SAMPLES);
    CHECK(out.pp.MultiSampleQuality == 1);
    CHECK(out.pp.SwapEffect == D3DSWAPEFFECT_DISCARD);
    CHECK(out.pp.Flags == (D3DPRESENTFLAG_LOCKABLE_BACKBUFFER | D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL));

    in.pp.SwapEffect = D3DSWAPEFFECT_COPY;
    out = BuildValidDeviceSettings(records.c, in, match, desktop, nullptr, nullptr);
    CHECK(out.pp.SwapEffect == D3DSWAPEFFECT_COPY);
    CHECK(out.pp.MultiSampleType == D3DMULTISAMPLE_NONE); // multisampling needs DISCARD
    CHECK(out.pp.MultiSampleQuality == 0);

    in.pp.SwapEffect = static_cast<D3DSWAPEFFECT>(99);
    out = BuildValidDeviceSettings(records.c, in, match, desktop, nullptr, nullptr);
    CHECK(out.pp.SwapEffect == D3DSWAPEFFECT_DISCARD);

    // No depth buffer: the flag to discard one must not be asked for.
    records.c.DepthStencilFormats.clear();
    in.pp.Flags = D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL | D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
    out = BuildValidDeviceSettings(records.c, in, match, desktop, nullptr, nullptr);
    CHECK(out.pp.EnableAutoDepthStencil == FALSE);
    CHECK(out.pp.Flags == D3DPRESENTFLAG_LOCKABLE_BACKBUFFER);
}

TEST_CASE("RankDeviceCombination: each agreement adds its weight") {
    const D3DDISPLAYMODE desktop = Mode(1024, 768, D3DFMT_X8R8G8B8, 60);
    Records records(false, D3DFMT_X8R8G8B8, {D3DFMT_D16, D3DFMT_D32});
    records.adapter.DisplayModes = {desktop};
    records.c.PresentIntervals = {D3DPRESENT_INTERVAL_DEFAULT, D3DPRESENT_INTERVAL_ONE};
    DeviceSettings in;
    in.pp.Windowed = FALSE;
    MatchOptions match;
    match.Windowed = MatchType::PreserveInput;
    const DeviceSettings optimal = BuildOptimalDeviceSettings(in, match, desktop);
    CHECK(optimal.pp.BackBufferWidth == 1024);
    CHECK(optimal.pp.AutoDepthStencilFormat == D3DFMT_D32);

    // 1000 adapter + 100 type + 0.1 HAL + 10 windowed + 1 format + 0.1 desktop format + 1.1 vertex
    // processing + 1 mode size + 1 back buffer + 0.1 same as display + 1 multisample + 1 depth
    // (the refresh rate 0 is no mode's) + 1 interval.
    CHECK(RankDeviceCombination(records.c, optimal, desktop) == doctest::Approx(1117.4f));

    records.c.BackBufferFormat = D3DFMT_R5G6B5; // 3 bits less a channel: 0.3 instead of 1.1
    records.c.DeviceType = D3DDEVTYPE_REF;      // 100.1 less
    records.c.Windowed = true;                  // 10 and the desktop's 0.1 less
    CHECK(RankDeviceCombination(records.c, optimal, desktop) == doctest::Approx(1006.4f));

    DeviceSettings demanding = optimal;
    demanding.pp.MultiSampleQuality = 1; // more quality than NONE has
    CHECK(RankDeviceCombination(records.c, demanding, desktop) == doctest::Approx(1005.4f));
}

} // TEST_SUITE
