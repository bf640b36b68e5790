// Frames per second and CPU time per frame of the whole effect, full screen at 1920 x 1080 with 200
// pieces, drawn back to back (none of the run modes' waits) and presented. Run by `make bench`.
#include "effect/CSaverImpl.h"
#include "framework/HResultError.h"
#include "framework/Framework.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

double Seconds(FILETIME t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32 | t.dwLowDateTime) * 1e-7;
}

double ProcessCpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return Seconds(kernel) + Seconds(user);
}

double ThreadCpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    return Seconds(kernel) + Seconds(user);
}

double WallSeconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool Frame(CSaverImpl& effect, IDirect3DDevice9* device) {
    Pump();
    effect.OnFrameMove(device, 0.0, 1.0f / 60);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, effect.GetClearColor(), 1.0f, 0);
    if (FAILED(device->BeginScene())) {
        return false;
    }
    bool drawn = true;
    try {
        effect.OnFrameRender(device, 0.0, 1.0f / 60);
    } catch (const HResultError& error) {
        std::printf("frame failed: 0x%08lx\n", static_cast<unsigned long>(error.Code()));
        drawn = false;
    }
    device->EndScene();
    device->Present(nullptr, nullptr, nullptr, nullptr);
    return drawn;
}

// Draws frames for at least `seconds` of wall time (and at least 5 frames) and prints the figures.
void Measure(IDirect3DDevice9* device, std::int32_t triangleSize, double seconds) {
    CSaverImpl effect{std::wstring()};
    effect.Simulation().Seed(12345);
    effect.TriangleSize = triangleSize;
    effect.PieceCount = 200;
    if (FAILED(effect.OnResetDevice(device))) {
        std::printf("S = %d: the device resources could not be made\n", triangleSize);
        return;
    }
    for (int i = 0; i < 2; ++i) {
        Frame(effect, device); // atlas load and warm-up
    }
    const double wall0 = WallSeconds();
    const double process0 = ProcessCpuSeconds();
    const double thread0 = ThreadCpuSeconds();
    int frames = 0;
    int failed = 0;
    do {
        failed += Frame(effect, device) ? 0 : 1;
        ++frames;
    } while (frames < 5 || WallSeconds() - wall0 < seconds);
    const double wall = WallSeconds() - wall0;
    const double process = ProcessCpuSeconds() - process0;
    const double thread = ThreadCpuSeconds() - thread0;
    std::printf(
        "1920x1080, S = %3d, 200 pieces: %6.2f frames/s  %8.1f ms CPU/frame (process)  %7.1f ms CPU/frame "
        "(drawing thread)  %d frames%s\n",
        triangleSize, frames / wall, process * 1e3 / frames, thread * 1e3 / frames, frames,
        failed ? " (some frames failed)" : "");
    std::fflush(stdout);
    effect.Shutdown();
}

} // namespace

int main() {
    std::printf("Whole effect, frames drawn back to back and presented, full screen\n");
    if (FAILED(FrameworkInit(true, false, false)) || FAILED(FrameworkCreateWindow(L"FrameBench")) ||
        FAILED(FrameworkCreateDevice(0, false, 1920, 1080))) {
        std::printf("no full-screen device\n");
        return 1;
    }
    IDirect3DDevice9* device = FrameworkGetDevice();
    const D3DPRESENT_PARAMETERS pp = FrameworkGetDeviceSettings().pp;
    std::printf("back buffer %ux%u\n", pp.BackBufferWidth, pp.BackBufferHeight);
    for (std::int32_t size : {96, 32}) {
        Measure(device, size, 6.0);
    }
    FrameworkShutdown(0);
    return FrameworkGetExitCode();
}
