// A device test double for the cases a real device cannot show: loss, failing resets and presents.
#pragma once

#include "support/DeviceStub9.h"

#include <deque>

class ScriptedDevice final : public DeviceStub9 {
public:
    // Answers given in turn; when a list runs out, the call succeeds.
    std::deque<HRESULT> cooperativeLevel;
    std::deque<HRESULT> presents;
    std::deque<HRESULT> resets;

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
        return Next(presents);
    }
    HRESULT STDMETHODCALLTYPE Reset(D3DPRESENT_PARAMETERS*) override {
        ++resetCalls;
        return Next(resets);
    }
    HRESULT STDMETHODCALLTYPE GetDeviceCaps(D3DCAPS9* caps) override {
        *caps = D3DCAPS9{};
        caps->DeviceType = D3DDEVTYPE_HAL;
        return S_OK;
    }

private:
    static HRESULT Next(std::deque<HRESULT>& answers) {
        if (answers.empty()) {
            return S_OK;
        }
        const HRESULT hr = answers.front();
        answers.pop_front();
        return hr;
    }
};
