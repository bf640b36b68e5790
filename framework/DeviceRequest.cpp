// The wishes and match options of the framework's own device changes.
#include "framework/DeviceRequest.h"

namespace {

MatchOptions AllMatch(MatchType t) {
    return MatchOptions{t, t, t, t, t, t, t, t, t, t, t, t, t, t, t};
}

} // namespace

DeviceRequest MakeCreationRequest(UINT adapterOrdinal, bool windowed, UINT width, UINT height) {
    DeviceRequest request;
    request.In.AdapterOrdinal = adapterOrdinal;
    request.In.pp.Windowed = windowed ? TRUE : FALSE;
    request.In.pp.BackBufferWidth = width;
    request.In.pp.BackBufferHeight = height;
    request.Match.AdapterOrdinal = MatchType::PreserveInput;
    request.Match.Windowed = MatchType::PreserveInput;
    if (windowed || (width != 0 && height != 0)) {
        request.Match.Resolution = MatchType::ClosestToInput;
    }
    return request;
}

DeviceRequest MakeWindowModeToggleRequest(const DeviceSettings& current, bool toWindowed, UINT savedWidth,
                                          UINT savedHeight) {
    DeviceRequest request;
    request.In = current;
    request.In.pp.Windowed = toWindowed ? TRUE : FALSE;
    MatchOptions& match = request.Match;
    match = AllMatch(MatchType::ClosestToInput);
    match.AdapterOrdinal = MatchType::PreserveInput;
    match.Windowed = MatchType::PreserveInput;
    match.AdapterFormat = MatchType::IgnoreInput;
    match.BackBufferFormat = MatchType::IgnoreInput;
    match.RefreshRate = MatchType::IgnoreInput;
    match.Resolution = MatchType::IgnoreInput;
    if (savedWidth != 0 && savedHeight != 0) {
        request.In.pp.BackBufferWidth = savedWidth;
        request.In.pp.BackBufferHeight = savedHeight;
        match.Resolution = MatchType::ClosestToInput;
    }
    return request;
}

DeviceRequest MakeReferenceToggleRequest(const DeviceSettings& current) {
    DeviceRequest request;
    request.In = current;
    if (current.DeviceType == D3DDEVTYPE_HAL) {
        request.In.DeviceType = D3DDEVTYPE_REF;
    } else if (current.DeviceType == D3DDEVTYPE_REF) {
        request.In.DeviceType = D3DDEVTYPE_HAL;
    }
    MatchOptions& match = request.Match;
    match = AllMatch(MatchType::ClosestToInput);
    match.AdapterOrdinal = MatchType::PreserveInput;
    match.DeviceType = MatchType::PreserveInput;
    return request;
}
