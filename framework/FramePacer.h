// Presents a frame only when the device has finished the frame before it, waiting asleep meanwhile.
// A device still busy with earlier frames would otherwise make Present spin on a processor until it
// catches up: the very processor a software renderer needs for drawing, and power spent for nothing.
#pragma once

#include <windows.h>
#include <d3d9.h>
#include <wrl/client.h>

class FramePacer {
public:
    // How the pacer sleeps: the device works in real time, whatever clock the application keeps.
    using SleepFunction = void(WINAPI*)(DWORD milliseconds);
    explicit FramePacer(SleepFunction sleep = &::Sleep) : sleep_(sleep) {}

    // Waits (at most kLongestWaitMs) for the event marked after the last present, presents, and marks
    // a new event. A device without event queries presents unpaced.
    HRESULT Present(IDirect3DDevice9* device);
    // Drops the event: before the device is reset or released, since it holds the device.
    void Forget();

    static constexpr DWORD kLongestWaitMs = 250;

private:
    SleepFunction sleep_;
    Microsoft::WRL::ComPtr<IDirect3DQuery9> event_;
    IDirect3DDevice9* device_ = nullptr;
    bool marked_ = false;
};
