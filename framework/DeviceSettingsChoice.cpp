// Chooses complete, valid device settings from a wish: ideal settings, ranking and building.
#include "framework/DeviceSettingsChoice.h"

#include <algorithm>

namespace {

constexpr DWORD kVertexProcessingFlags = D3DCREATE_SOFTWARE_VERTEXPROCESSING |
                                        D3DCREATE_HARDWARE_VERTEXPROCESSING |
                                        D3DCREATE_MIXED_VERTEXPROCESSING;

bool Is(MatchType option, MatchType value) {
    return option == value;
}

// Distance between two unsigned values; sizes and rates from a settings file may be anything.
UINT Distance(UINT a, UINT b) {
    return a > b ? a - b : b - a;
}

// The rank a format earns against the format wanted: 1 when equal, less the more bits it lacks.
float FormatRank(D3DFORMAT have, D3DFORMAT want) {
    if (have == want) {
        return 1.0f;
    }
    const UINT difference = Distance(ColorChannelBits(have), ColorChannelBits(want));
    return std::max(0.0f, 0.9f - 0.2f * static_cast<float>(difference));
}

bool HasHardwareTransform(const DeviceCombination& c) {
    return c.Device && (c.Device->Caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT);
}

const std::vector<D3DDISPLAYMODE>& ModesOf(const DeviceCombination& c) {
    static const std::vector<D3DDISPLAYMODE> none;
    return c.Adapter ? c.Adapter->DisplayModes : none;
}

// The full-screen format preferred on a desktop: its own, unless it has fewer than 8 bits a channel.
D3DFORMAT FullScreenDesktopFormat(const D3DDISPLAYMODE& desktop) {
    return ColorChannelBits(desktop.Format) >= 8 ? desktop.Format : D3DFMT_X8R8G8B8;
}

DWORD ValidVertexProcessing(const DeviceCombination& c, const DeviceSettings& in, const MatchOptions& match) {
    const DWORD natural =
        HasHardwareTransform(c) ? D3DCREATE_HARDWARE_VERTEXPROCESSING : D3DCREATE_SOFTWARE_VERTEXPROCESSING;
    if (Is(match.VertexProcessing, MatchType::PreserveInput)) {
        return in.BehaviorFlags;
    }
    if (Is(match.VertexProcessing, MatchType::IgnoreInput)) {
        return natural;
    }
    DWORD flags = in.BehaviorFlags;
    if ((flags & (D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_MIXED_VERTEXPROCESSING)) &&
        !HasHardwareTransform(c)) {
        // A pure device needs hardware vertex processing, so it goes with it.
        flags &= ~(kVertexProcessingFlags | D3DCREATE_PUREDEVICE);
        flags |= D3DCREATE_SOFTWARE_VERTEXPROCESSING;
    }
    if (!(flags & kVertexProcessingFlags)) {
        flags |= natural;
    }
    return flags;
}

void ChooseResolution(const DeviceCombination& c, const DeviceSettings& in, const MatchOptions& match,
                      const D3DDISPLAYMODE& desktop, D3DPRESENT_PARAMETERS& pp) {
    if (Is(match.Resolution, MatchType::PreserveInput)) {
        pp.BackBufferWidth = in.pp.BackBufferWidth;
        pp.BackBufferHeight = in.pp.BackBufferHeight;
        return;
    }
    UINT width = 0;
    UINT height = 0;
    if (Is(match.Resolution, MatchType::ClosestToInput)) {
        width = in.pp.BackBufferWidth;
        height = in.pp.BackBufferHeight;
    } else if (c.Windowed) {
        width = 640;
        height = 480;
    } else {
        width = desktop.Width;
        height = desktop.Height;
    }
    pp.BackBufferWidth = width;
    pp.BackBufferHeight = height;
    if (c.Windowed) {
        return;
    }
    // Full screen: the mode of the display format nearest in width plus height; the modes are
    // sorted, so on equal distance the smaller mode stays.
    const D3DDISPLAYMODE* best = nullptr;
    UINT64 bestDistance = 0;
    for (const D3DDISPLAYMODE& mode : ModesOf(c)) {
        if (mode.Format != c.AdapterFormat) {
            continue;
        }
        const UINT64 distance = UINT64{Distance(mode.Width, width)} + Distance(mode.Height, height);
        if (!best || distance < bestDistance) {
            best = &mode;
            bestDistance = distance;
            if (distance == 0) {
                break;
            }
        }
    }
    if (best) {
        pp.BackBufferWidth = best->Width;
        pp.BackBufferHeight = best->Height;
    }
}

void ChooseMultiSample(const DeviceCombination& c, const DeviceSettings& in, const MatchOptions& match,
                       D3DPRESENT_PARAMETERS& pp) {
    pp.MultiSampleType = D3DMULTISAMPLE_NONE;
    pp.MultiSampleQuality = 0;
    if (in.pp.SwapEffect != D3DSWAPEFFECT_DISCARD) {
        return;
    }
    if (Is(match.MultiSample, MatchType::PreserveInput)) {
        pp.MultiSampleType = in.pp.MultiSampleType;
        pp.MultiSampleQuality = in.pp.MultiSampleQuality;
    } else if (Is(match.MultiSample, MatchType::ClosestToInput)) {
        const MultiSampleInfo* best = nullptr;
        UINT bestDistance = 0;
        for (const MultiSampleInfo& info : c.MultiSampleTypes) {
            const UINT distance =
                Distance(static_cast<UINT>(info.Type), static_cast<UINT>(in.pp.MultiSampleType));
            if (!best || distance < bestDistance) {
                best = &info;
                bestDistance = distance;
            }
        }
        if (best) {
            pp.MultiSampleType = best->Type;
            const DWORD highest = best->QualityLevels > 0 ? best->QualityLevels - 1 : 0;
            pp.MultiSampleQuality = std::min(in.pp.MultiSampleQuality, highest);
        }
    }
}

D3DSWAPEFFECT ChooseSwapEffect(const DeviceSettings& in, const MatchOptions& match) {
    if (Is(match.SwapEffect, MatchType::PreserveInput)) {
        return in.pp.SwapEffect;
    }
    if (Is(match.SwapEffect, MatchType::ClosestToInput) &&
        (in.pp.SwapEffect == D3DSWAPEFFECT_DISCARD || in.pp.SwapEffect == D3DSWAPEFFECT_FLIP ||
         in.pp.SwapEffect == D3DSWAPEFFECT_COPY)) {
        return in.pp.SwapEffect;
    }
    return D3DSWAPEFFECT_DISCARD;
}

// The depth-stencil format of the combination with the lowest score, or D3DFMT_UNKNOWN.
D3DFORMAT ChooseDepthStencil(const DeviceCombination& c, const DeviceSettings& in,
                             const MatchOptions& match) {
    const UINT inDepth = DepthBits(in.pp.AutoDepthStencilFormat);
    const UINT inStencil = StencilBits(in.pp.AutoDepthStencilFormat);
    const UINT wantedDepth = 4 * ColorChannelBits(c.BackBufferFormat);
    D3DFORMAT best = D3DFMT_UNKNOWN;
    UINT bestScore = 100000;
    for (D3DFORMAT format : c.DepthStencilFormats) {
        const UINT depth = DepthBits(format);
        const UINT stencil = StencilBits(format);
        UINT score = 0;
        switch (match.DepthFormat) {
        case MatchType::PreserveInput:
            score = depth == inDepth ? 0 : 10000;
            break;
        case MatchType::ClosestToInput:
            score = Distance(depth, inDepth);
            break;
        case MatchType::IgnoreInput:
            score = Distance(depth, wantedDepth);
            break;
        }
        switch (match.StencilFormat) {
        case MatchType::PreserveInput:
            score += stencil == inStencil ? 0 : 10000;
            break;
        case MatchType::ClosestToInput:
            score += Distance(stencil, inStencil);
            break;
        case MatchType::IgnoreInput:
            score += stencil;
            break;
        }
        if (score < bestScore) {
            best = format;
            bestScore = score;
        }
    }
    return best;
}

UINT ChooseRefreshRate(const DeviceCombination& c, const DeviceSettings& in, const MatchOptions& match,
                       const D3DDISPLAYMODE& desktop, const D3DPRESENT_PARAMETERS& pp) {
    if (c.Windowed) {
        return 0;
    }
    if (Is(match.RefreshRate, MatchType::PreserveInput)) {
        return in.pp.FullScreen_RefreshRateInHz;
    }
    const UINT target = Is(match.RefreshRate, MatchType::ClosestToInput) ? in.pp.FullScreen_RefreshRateInHz
                                                                         : desktop.RefreshRate;
    if (target == 0) {
        return 0;
    }
    UINT best = 0;
    UINT bestDistance = 0;
    bool found = false;
    for (const D3DDISPLAYMODE& mode : ModesOf(c)) {
        if (mode.Format != c.AdapterFormat || mode.Width != pp.BackBufferWidth ||
            mode.Height != pp.BackBufferHeight) {
            continue;
        }
        const UINT distance = Distance(mode.RefreshRate, target);
        if (!found || distance < bestDistance) {
            best = mode.RefreshRate;
            bestDistance = distance;
            found = true;
            if (distance == 0) {
                break;
            }
        }
    }
    return best;
}

UINT ChoosePresentInterval(const DeviceCombination& c, const DeviceSettings& in, const MatchOptions& match) {
    if (Is(match.PresentInterval, MatchType::PreserveInput)) {
        return in.pp.PresentationInterval;
    }
    if (Is(match.PresentInterval, MatchType::ClosestToInput) &&
        std::find(c.PresentIntervals.begin(), c.PresentIntervals.end(), in.pp.PresentationInterval) !=
            c.PresentIntervals.end()) {
        return in.pp.PresentationInterval;
    }
    return D3DPRESENT_INTERVAL_DEFAULT;
}

} // namespace

UINT ColorChannelBits(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_R8G8B8:
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8:
    case D3DFMT_A8B8G8R8:
        return 8;
    case D3DFMT_R5G6B5:
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5:
        return 5;
    case D3DFMT_A4R4G4B4:
    case D3DFMT_X4R4G4B4:
        return 4;
    case D3DFMT_R3G3B2:
    case D3DFMT_A8R3G3B2:
        return 2;
    case D3DFMT_A2B10G10R10:
    case D3DFMT_A2R10G10B10:
        return 10;
    case D3DFMT_A16B16G16R16:
        return 16;
    default:
        return 0;
    }
}

UINT DepthBits(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_D16_LOCKABLE:
    case D3DFMT_D16:
        return 16;
    case D3DFMT_D32:
    case D3DFMT_D32F_LOCKABLE:
        return 32;
    case D3DFMT_D15S1:
        return 15;
    case D3DFMT_D24S8:
    case D3DFMT_D24X8:
    case D3DFMT_D24X4S4:
    case D3DFMT_D24FS8:
        return 24;
    default:
        return 0;
    }
}

UINT StencilBits(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_D15S1:
        return 1;
    case D3DFMT_D24S8:
    case D3DFMT_D24FS8:
        return 8;
    case D3DFMT_D24X4S4:
        return 4;
    default:
        return 0;
    }
}

DeviceSettings BuildOptimalDeviceSettings(const DeviceSettings& in, const MatchOptions& match,
                                          const D3DDISPLAYMODE& desktop) {
    const auto ignored = [](MatchType option) { return option == MatchType::IgnoreInput; };
    DeviceSettings optimal;
    D3DPRESENT_PARAMETERS& pp = optimal.pp;
    optimal.AdapterOrdinal = ignored(match.AdapterOrdinal) ? 0 : in.AdapterOrdinal;
    optimal.DeviceType = ignored(match.DeviceType) ? D3DDEVTYPE_HAL : in.DeviceType;
    pp.Windowed = ignored(match.Windowed) ? TRUE : in.pp.Windowed;
    if (ignored(match.AdapterFormat)) {
        optimal.AdapterFormat = pp.Windowed ? desktop.Format : FullScreenDesktopFormat(desktop);
    } else {
        optimal.AdapterFormat = in.AdapterFormat;
    }
    optimal.BehaviorFlags =
        ignored(match.VertexProcessing) ? D3DCREATE_HARDWARE_VERTEXPROCESSING : in.BehaviorFlags;
    if (!ignored(match.Resolution)) {
        pp.BackBufferWidth = in.pp.BackBufferWidth;
        pp.BackBufferHeight = in.pp.BackBufferHeight;
    } else if (pp.Windowed) {
        pp.BackBufferWidth = 640;
        pp.BackBufferHeight = 480;
    } else {
        pp.BackBufferWidth = desktop.Width;
        pp.BackBufferHeight = desktop.Height;
    }
    pp.BackBufferFormat = ignored(match.BackBufferFormat) ? optimal.AdapterFormat : in.pp.BackBufferFormat;
    pp.BackBufferCount = ignored(match.BackBufferCount) ? 2 : in.pp.BackBufferCount;
    if (ignored(match.MultiSample)) {
        pp.MultiSampleType = D3DMULTISAMPLE_NONE;
        pp.MultiSampleQuality = 0;
    } else {
        pp.MultiSampleType = in.pp.MultiSampleType;
        pp.MultiSampleQuality = in.pp.MultiSampleQuality;
    }
    pp.SwapEffect = ignored(match.SwapEffect) ? D3DSWAPEFFECT_DISCARD : in.pp.SwapEffect;
    if (ignored(match.DepthFormat) && ignored(match.StencilFormat)) {
        pp.EnableAutoDepthStencil = TRUE;
        pp.AutoDepthStencilFormat = ColorChannelBits(pp.BackBufferFormat) >= 8 ? D3DFMT_D32 : D3DFMT_D16;
    } else {
        pp.EnableAutoDepthStencil = in.pp.EnableAutoDepthStencil;
        pp.AutoDepthStencilFormat = in.pp.AutoDepthStencilFormat;
    }
    pp.Flags = ignored(match.PresentFlags) ? D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL : in.pp.Flags;
    pp.FullScreen_RefreshRateInHz = ignored(match.RefreshRate) ? 0 : in.pp.FullScreen_RefreshRateInHz;
    pp.PresentationInterval =
        ignored(match.PresentInterval) ? D3DPRESENT_INTERVAL_DEFAULT : in.pp.PresentationInterval;
    return optimal;
}

bool DoesCombinationMatchPreserveOptions(const DeviceCombination& c, const DeviceSettings& in,
                                         const MatchOptions& match) {
    if (Is(match.AdapterOrdinal, MatchType::PreserveInput) && c.AdapterOrdinal != in.AdapterOrdinal) {
        return false;
    }
    if (Is(match.DeviceType, MatchType::PreserveInput) && c.DeviceType != in.DeviceType) {
        return false;
    }
    if (Is(match.Windowed, MatchType::PreserveInput) && c.Windowed != (in.pp.Windowed != FALSE)) {
        return false;
    }
    if (Is(match.AdapterFormat, MatchType::PreserveInput) && c.AdapterFormat != in.AdapterFormat) {
        return false;
    }
    return true;
}

float RankDeviceCombination(const DeviceCombination& c, const DeviceSettings& optimal,
                            const D3DDISPLAYMODE& desktop) {
    const D3DPRESENT_PARAMETERS& want = optimal.pp;
    const auto& modes = ModesOf(c);
    const auto anyMode = [&](auto predicate) { return std::any_of(modes.begin(), modes.end(), predicate); };
    float rank = 0.0f;
    if (c.AdapterOrdinal == optimal.AdapterOrdinal) {
        rank += 1000.0f;
    }
    if (c.DeviceType == optimal.DeviceType) {
        rank += 100.0f;
    }
    if (c.DeviceType == D3DDEVTYPE_HAL) {
        rank += 0.1f;
    }
    if (c.Windowed == (want.Windowed != FALSE)) {
        rank += 10.0f;
    }
    rank += FormatRank(c.AdapterFormat, optimal.AdapterFormat);
    if (!c.Windowed && c.AdapterFormat == FullScreenDesktopFormat(desktop)) {
        rank += 0.1f;
    }
    if ((optimal.BehaviorFlags & (D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_MIXED_VERTEXPROCESSING)) &&
        HasHardwareTransform(c)) {
        rank += 1.0f;
    }
    if (HasHardwareTransform(c)) {
        rank += 0.1f;
    }
    if (anyMode([&](const D3DDISPLAYMODE& m) {
            return m.Format == c.AdapterFormat && m.Width == want.BackBufferWidth &&
                   m.Height == want.BackBufferHeight;
        })) {
        rank += 1.0f;
    }
    rank += FormatRank(c.BackBufferFormat, want.BackBufferFormat);
    if (c.BackBufferFormat == c.AdapterFormat) {
        rank += 0.1f;
    }
    // A quality is usable only below the type's number of quality levels.
    if (std::any_of(c.MultiSampleTypes.begin(), c.MultiSampleTypes.end(), [&](const MultiSampleInfo& m) {
            return m.Type == want.MultiSampleType && m.QualityLevels > want.MultiSampleQuality;
        })) {
        rank += 1.0f;
    }
    if (std::find(c.DepthStencilFormats.begin(), c.DepthStencilFormats.end(), want.AutoDepthStencilFormat) !=
        c.DepthStencilFormats.end()) {
        rank += 1.0f;
    }
    if (anyMode([&](const D3DDISPLAYMODE& m) {
            return m.Format == c.AdapterFormat && m.RefreshRate == want.FullScreen_RefreshRateInHz;
        })) {
        rank += 1.0f;
    }
    if (std::find(c.PresentIntervals.begin(), c.PresentIntervals.end(), want.PresentationInterval) !=
        c.PresentIntervals.end()) {
        rank += 1.0f;
    }
    return rank;
}

DeviceSettings BuildValidDeviceSettings(const DeviceCombination& c, const DeviceSettings& in,
                                        const MatchOptions& match, const D3DDISPLAYMODE& desktop,
                                        HWND windowedDeviceWindow, HWND fullScreenDeviceWindow) {
    DeviceSettings valid;
    D3DPRESENT_PARAMETERS& pp = valid.pp;
    valid.AdapterOrdinal = c.AdapterOrdinal;
    valid.DeviceType = c.DeviceType;
    valid.AdapterFormat = c.AdapterFormat;
    valid.BehaviorFlags = ValidVertexProcessing(c, in, match);
    pp.Windowed = c.Windowed ? TRUE : FALSE;
    pp.BackBufferFormat = c.BackBufferFormat;
    ChooseResolution(c, in, match, desktop, pp);

    switch (match.BackBufferCount) {
    case MatchType::PreserveInput:
        pp.BackBufferCount = in.pp.BackBufferCount;
        break;
    case MatchType::ClosestToInput:
        pp.BackBufferCount = std::clamp<UINT>(in.pp.BackBufferCount, 1, 3);
        break;
    case MatchType::IgnoreInput:
        pp.BackBufferCount = 2;
        break;
    }
    ChooseMultiSample(c, in, match, pp);
    pp.SwapEffect = ChooseSwapEffect(in, match);

    const D3DFORMAT depthStencil = ChooseDepthStencil(c, in, match);
    const bool haveDepthStencil = depthStencil != D3DFMT_UNKNOWN;
    pp.EnableAutoDepthStencil = haveDepthStencil ? TRUE : FALSE;
    pp.AutoDepthStencilFormat = depthStencil;

    switch (match.PresentFlags) {
    case MatchType::PreserveInput:
        pp.Flags = in.pp.Flags;
        break;
    case MatchType::ClosestToInput:
        // Discarding a depth buffer that does not exist is refused by the runtime.
        pp.Flags = haveDepthStencil ? in.pp.Flags | D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL
                                    : in.pp.Flags & ~DWORD{D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL};
        break;
    case MatchType::IgnoreInput:
        pp.Flags = haveDepthStencil ? D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL : 0;
        break;
    }
    pp.FullScreen_RefreshRateInHz = ChooseRefreshRate(c, in, match, desktop, pp);
    pp.PresentationInterval = ChoosePresentInterval(c, in, match);
    pp.hDeviceWindow = c.Windowed ? windowedDeviceWindow : fullScreenDeviceWindow;
    return valid;
}

HRESULT FindValidDeviceSettings(const DeviceEnumeration& enumeration, IDirect3D9* d3d, DeviceSettings* out,
                                const DeviceSettings* in, const MatchOptions* match,
                                HWND windowedDeviceWindow, HWND fullScreenDeviceWindow) {
    if (!d3d) {
        return kErrorNoDirect3D;
    }
    if (!out) {
        return E_POINTER;
    }
    const DeviceSettings input = in ? *in : DeviceSettings{};
    const MatchOptions options = match ? *match : MatchOptions{};

    D3DDISPLAYMODE optimalDesktop{};
    const UINT optimalAdapter = Is(options.AdapterOrdinal, MatchType::IgnoreInput) ? 0 : input.AdapterOrdinal;
    d3d->GetAdapterDisplayMode(optimalAdapter, &optimalDesktop);
    const DeviceSettings optimal = BuildOptimalDeviceSettings(input, options, optimalDesktop);

    const DeviceCombination* best = nullptr;
    D3DDISPLAYMODE bestDesktop{};
    float bestRank = -1.0f;
    for (const AdapterInfo& adapter : enumeration.GetAdapterInfoList()) {
        // A failed read leaves the format unknown, which no windowed combination has.
        D3DDISPLAYMODE desktop{};
        d3d->GetAdapterDisplayMode(adapter.AdapterOrdinal, &desktop);
        for (const DeviceInfo& device : adapter.Devices) {
            for (const DeviceCombination& c : device.Combinations) {
                if (c.Windowed && c.AdapterFormat != desktop.Format) {
                    continue;
                }
                if (!DoesCombinationMatchPreserveOptions(c, input, options)) {
                    continue;
                }
                const float rank = RankDeviceCombination(c, optimal, desktop);
                if (rank > bestRank) {
                    best = &c;
                    bestRank = rank;
                    bestDesktop = desktop;
                }
            }
        }
    }
    if (!best) {
        return kErrorNoCompatibleDevices;
    }
    *out = BuildValidDeviceSettings(*best, input, options, bestDesktop, windowedDeviceWindow,
                                    fullScreenDeviceWindow);
    return S_OK;
}
