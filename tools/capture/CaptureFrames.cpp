// Draws the running saver full screen at 1920 x 1080, frame by frame at a fixed time step (the software
// renderer here is slower than real time), and writes every frame, shrunk by box averaging, as a PNG:
// the frames of the README's animation (make docs).
//   CaptureFrames FOLDER FRAMES FRAMES-PER-SECOND SHRINK
#include "effect/CSaverImpl.h"
#include "framework/Framework.h"
#include "framework/HResultError.h"
#include "graphics/PngEncoder.h"
#include "support/SurfacePixels.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kSeed = 20261208;
constexpr int kSettleFrames = 40; // the pieces' first shake spreads them out before the capture

// Each output pixel is the mean of a SHRINK x SHRINK block of the frame.
RgbaImage Shrink(const SurfacePixels& frame, int shrink) {
    RgbaImage out;
    out.width = frame.width / static_cast<UINT>(shrink);
    out.height = frame.height / static_cast<UINT>(shrink);
    out.channels = 3;
    out.pixels.reserve(std::size_t{out.width} * out.height * 4);
    const int area = shrink * shrink;
    for (UINT y = 0; y < out.height; ++y) {
        for (UINT x = 0; x < out.width; ++x) {
            int sum[3] = {};
            for (int dy = 0; dy < shrink; ++dy) {
                for (int dx = 0; dx < shrink; ++dx) {
                    const std::uint32_t c = frame.At(x * shrink + dx, y * shrink + dy);
                    for (int channel = 0; channel < 3; ++channel) {
                        sum[channel] += static_cast<int>(c >> (16 - 8 * channel) & 0xFF);
                    }
                }
            }
            for (int channel = 0; channel < 3; ++channel) {
                out.pixels.push_back(static_cast<std::uint8_t>((sum[channel] + area / 2) / area));
            }
            out.pixels.push_back(255);
        }
    }
    return out;
}

// One frame of the effect into the back buffer; its pixels are read back before Present, which
// discards them.
SurfacePixels DrawFrame(CSaverImpl& effect, IDirect3DDevice9* device, double time, float step) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
    effect.OnFrameMove(device, time, step);
    device->Clear(0, nullptr, effect.GetClearFlags(), effect.GetClearColor(), 1.0f, 0);
    ThrowIfFailed(device->BeginScene());
    const HRESULT drawn = effect.OnFrameRender(device, time, step);
    device->EndScene();
    ThrowIfFailed(drawn);
    SurfacePixels pixels = ReadBackBuffer(device);
    device->Present(nullptr, nullptr, nullptr, nullptr);
    return pixels;
}

int Capture(const std::wstring& folder, int frames, int perSecond, int shrink) {
    IDirect3DDevice9* device = FrameworkGetDevice();
    CSaverImpl effect{std::wstring()};
    effect.Simulation().Seed(kSeed);
    ThrowIfFailed(effect.OnResetDevice(device));
    const float step = 1.0f / static_cast<float>(perSecond);
    double time = 0.0;
    for (int i = 0; i < kSettleFrames; ++i, time += step) {
        effect.OnFrameMove(device, time, step);
    }
    for (int i = 0; i < frames; ++i, time += step) {
        const SurfacePixels frame = DrawFrame(effect, device, time, step);
        if (frame.pixels.empty()) {
            std::fprintf(stderr, "frame %d could not be read back\n", i);
            return 1;
        }
        wchar_t name[32];
        std::swprintf(name, std::size(name), L"\\frame%03d.png", i);
        if (!WriteFileBytes(folder + name, EncodePng(Shrink(frame, shrink), false))) {
            std::fprintf(stderr, "frame %d could not be written\n", i);
            return 1;
        }
    }
    effect.Shutdown();
    std::printf("%d frames of %dx%d at %d per second\n", frames, 1920 / shrink, 1080 / shrink, perSecond);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: CaptureFrames FOLDER FRAMES FRAMES-PER-SECOND SHRINK\n");
        return 2;
    }
    const int frames = _wtoi(argv[2]);
    const int perSecond = _wtoi(argv[3]);
    const int shrink = _wtoi(argv[4]);
    if (frames < 1 || frames > 1000 || perSecond < 1 || perSecond > 100 || shrink < 1 || shrink > 16) {
        std::fprintf(stderr, "FRAMES 1..1000, FRAMES-PER-SECOND 1..100, SHRINK 1..16\n");
        return 2;
    }
    if (FAILED(FrameworkInit(true, false, false)) || FAILED(FrameworkCreateWindow(L"CaptureFrames")) ||
        FAILED(FrameworkCreateDevice(0, false, 1920, 1080))) {
        std::fprintf(stderr, "no full-screen device\n");
        return 1;
    }
    int result = 1;
    try {
        result = Capture(argv[1], frames, perSecond, shrink);
    } catch (const HResultError& error) {
        std::fprintf(stderr, "drawing failed: 0x%08lx\n", static_cast<unsigned long>(error.Code()));
    }
    FrameworkShutdown(0);
    return result;
}
