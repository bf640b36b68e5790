// A device test double for the cases a real device cannot show: loss, failing resets and presents.
#pragma once

#include "support/DeviceStub9.h"

#include <deque>
#include <string>

class ScriptedDevice;

// The device's one event query: its marks and polls go into the device's log.
class ScriptedEvent final : public IDirect3DQuery9 {
public:
    explicit ScriptedEvent(ScriptedDevice& device) : device(device) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9**) override { return E_NOTIMPL; }
    D3DQUERYTYPE STDMETHODCALLTYPE GetType() override { return D3DQUERYTYPE_EVENT; }
    DWORD STDMETHODCALLTYPE GetDataSize() override { return sizeof(BOOL); }
    inline HRESULT STDMETHODCALLTYPE Issue(DWORD flags) override;
    inline HRESULT STDMETHODCALLTYPE GetData(void* data, DWORD size, DWORD flags) override;

    ULONG references = 0;

private:
    ScriptedDevice& device;
};

class ScriptedDevice final : public DeviceStub9 {
public:
    // Answers given in turn; when a list runs out, the call succeeds.
    std::deque<HRESULT> cooperativeLevel;
    std::deque<HRESULT> presents;
    std::deque<HRESULT> resets;
    // With event queries, the answers of the event's polls in turn (done when the list runs out),
    // and the order of presents, marks and polls: "P", "M", "?" for each poll that says "not yet".
    bool eventQueries = false;
    std::deque<HRESULT> eventPolls;
    std::string log;
    ScriptedEvent event{*this};

    int testCalls = 0;
    int presentCalls = 0;
    int resetCalls = 0;
    // The test's own reference is the first; the object is never deleted by Release.
    ULONG references = 1;

    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    HRESULT STDMETHODCALLTYPE TestCooperativeLevel() override {
        ++testCalls;
        return Next(cooperativeLevel);
    }
    HRESULT STDMETHODCALLTYPE Present(const RECT*, const RECT*, HWND, const RGNDATA*) override {
        ++presentCalls;
        log += 'P';
        return Next(presents);
    }
    HRESULT STDMETHODCALLTYPE Reset(D3DPRESENT_PARAMETERS*) override {
        ++resetCalls;
        return Next(resets);
    }
    HRESULT STDMETHODCALLTYPE CreateQuery(D3DQUERYTYPE type, IDirect3DQuery9** query) override {
        if (!eventQueries || type != D3DQUERYTYPE_EVENT) {
            return D3DERR_NOTAVAILABLE;
        }
        event.AddRef();
        *query = &event;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDeviceCaps(D3DCAPS9* caps) override {
        *caps = D3DCAPS9{};
        caps->DeviceType = D3DDEVTYPE_HAL;
        return S_OK;
    }

    static HRESULT Next(std::deque<HRESULT>& answers) {
        if (answers.empty()) {
            return S_OK;
        }
        const HRESULT hr = answers.front();
        answers.pop_front();
        return hr;
    }
};

HRESULT ScriptedEvent::Issue(DWORD) {
    device.log += 'M';
    return S_OK;
}

HRESULT ScriptedEvent::GetData(void*, DWORD, DWORD) {
    const HRESULT hr = ScriptedDevice::Next(device.eventPolls);
    device.log += hr == S_FALSE ? "?" : "";
    return hr;
}
