// Presenting paced by an event query marked after each present.
#include "framework/FramePacer.h"

HRESULT FramePacer::Present(IDirect3DDevice9* device) {
    if (device != device_) {
        Forget();
        device_ = device;
        if (FAILED(device->CreateQuery(D3DQUERYTYPE_EVENT, event_.GetAddressOf()))) {
            event_.Reset();
        }
    }
    if (event_ && marked_) {
        // Anything but "not yet" ends the wait: done, or a lost device that Present reports itself.
        for (DWORD waited = 0;
             event_->GetData(nullptr, 0, D3DGETDATA_FLUSH) == S_FALSE && waited < kLongestWaitMs; ++waited) {
            sleep_(1);
        }
    }
    const HRESULT hr = device->Present(nullptr, nullptr, nullptr, nullptr);
    marked_ = event_ && SUCCEEDED(event_->Issue(D3DISSUE_END));
    return hr;
}

void FramePacer::Forget() {
    event_.Reset();
    device_ = nullptr;
    marked_ = false;
}
