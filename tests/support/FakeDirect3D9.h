// A scripted Direct3D 9 object for tests: adapters, display modes, device types, caps, format
// checks, multisample types and failures, as a test sets them up. Calls it was not scripted for
// fail (D3DERR_NOTAVAILABLE, or E_NOTIMPL for what no test needs).
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <functional>
#include <vector>

class FakeDirect3D9 final : public IDirect3D9 {
public:
    struct MultiSample {
        D3DMULTISAMPLE_TYPE Type = D3DMULTISAMPLE_NONE;
        DWORD QualityLevels = 1;
    };

    struct DeviceType {
        D3DDEVTYPE Type = D3DDEVTYPE_HAL;
        D3DCAPS9 Caps{};
        HRESULT CapsResult = S_OK;
        // What CreateDevice answers. S_OK hands back no device object: callers get a null pointer.
        HRESULT CreateDeviceResult = S_OK;
        // CheckDeviceType(display format, back-buffer format, windowed).
        std::function<bool(D3DFORMAT, D3DFORMAT, bool)> AcceptsFormats;
        // Back-buffer formats that fail the post-pixel-shader blending check.
        std::vector<D3DFORMAT> UnblendableFormats;
        // Depth-stencil formats the device offers, and (back buffer, depth-stencil) pairs that do
        // not match although both are offered.
        std::vector<D3DFORMAT> DepthStencilFormats;
        std::vector<std::pair<D3DFORMAT, D3DFORMAT>> DepthStencilMismatches;
        std::vector<MultiSample> MultiSampleTypes;
    };

    struct Adapter {
        D3DDISPLAYMODE Desktop{};
        HRESULT DesktopResult = S_OK;
        // In the order the adapter reports them; each format is read separately.
        std::vector<D3DDISPLAYMODE> Modes;
        std::vector<DeviceType> DeviceTypes;
        HMONITOR Monitor = nullptr;
    };

    struct CreateDeviceCall {
        UINT Adapter = 0;
        D3DDEVTYPE Type = D3DDEVTYPE_HAL;
        HWND FocusWindow = nullptr;
        DWORD BehaviorFlags = 0;
        D3DPRESENT_PARAMETERS Parameters{};
    };

    // A device type that accepts the back buffer in the display format (and with alpha for the
    // 8- and 5-bit formats), windowed and full screen, with D16, D24X8, D24S8 and D32, no
    // multisampling besides none, hardware transform and lighting, and intervals IMMEDIATE and ONE.
    static DeviceType TypicalDeviceType(D3DDEVTYPE type);
    // An adapter with that desktop mode as its only mode, and HAL and REF device types.
    static Adapter TypicalAdapter(const D3DDISPLAYMODE& desktop);

    std::vector<Adapter> Adapters;
    std::vector<CreateDeviceCall> CreateDeviceCalls;

    // IUnknown. The object belongs to the test that made it: the count never deletes it.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }
    ULONG References() const { return references_; }

    // IDirect3D9.
    HRESULT STDMETHODCALLTYPE RegisterSoftwareDevice(void*) override { return E_NOTIMPL; }
    UINT STDMETHODCALLTYPE GetAdapterCount() override;
    HRESULT STDMETHODCALLTYPE GetAdapterIdentifier(UINT adapter, DWORD flags,
                                                   D3DADAPTER_IDENTIFIER9* identifier) override;
    UINT STDMETHODCALLTYPE GetAdapterModeCount(UINT adapter, D3DFORMAT format) override;
    HRESULT STDMETHODCALLTYPE EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT index,
                                               D3DDISPLAYMODE* mode) override;
    HRESULT STDMETHODCALLTYPE GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) override;
    HRESULT STDMETHODCALLTYPE CheckDeviceType(UINT adapter, D3DDEVTYPE type, D3DFORMAT displayFormat,
                                              D3DFORMAT backBufferFormat, BOOL windowed) override;
    HRESULT STDMETHODCALLTYPE CheckDeviceFormat(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat,
                                                DWORD usage, D3DRESOURCETYPE resourceType,
                                                D3DFORMAT checkFormat) override;
    HRESULT STDMETHODCALLTYPE CheckDeviceMultiSampleType(UINT adapter, D3DDEVTYPE type,
                                                         D3DFORMAT surfaceFormat, BOOL windowed,
                                                         D3DMULTISAMPLE_TYPE multiSampleType,
                                                         DWORD* qualityLevels) override;
    HRESULT STDMETHODCALLTYPE CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat,
                                                     D3DFORMAT renderTargetFormat,
                                                     D3DFORMAT depthStencilFormat) override;
    HRESULT STDMETHODCALLTYPE CheckDeviceFormatConversion(UINT, D3DDEVTYPE, D3DFORMAT, D3DFORMAT) override {
        return D3DERR_NOTAVAILABLE;
    }
    HRESULT STDMETHODCALLTYPE GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps) override;
    HMONITOR STDMETHODCALLTYPE GetAdapterMonitor(UINT adapter) override;
    HRESULT STDMETHODCALLTYPE CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow,
                                           DWORD behaviorFlags, D3DPRESENT_PARAMETERS* parameters,
                                           IDirect3DDevice9** device) override;

private:
    const Adapter* FindAdapter(UINT adapter) const;
    const DeviceType* FindDeviceType(UINT adapter, D3DDEVTYPE type) const;

    ULONG references_ = 1;
};

// A display mode in one line.
D3DDISPLAYMODE Mode(UINT width, UINT height, D3DFORMAT format = D3DFMT_X8R8G8B8, UINT refreshRate = 60);
