// Draws the running saver full screen at 1920 x 1080, frame by frame at a fixed time step (the software
// renderer here is slower than real time), and writes every frame, shrunk by box averaging, as a 24-bit
// BMP: the frames of the README's animation (make docs).
//   CaptureFrames FOLDER FRAMES FRAMES-PER-SECOND SHRINK
#include "effect/CSaverImpl.h"
#include "framework/Framework.h"
#include "framework/HResultError.h"
#include "support/SurfacePixels.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kSeed = 20261208;
constexpr int kSettleFrames = 40; // the pieces' first shake spreads them out before the capture

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bgr; // rows top to bottom, 3 bytes a pixel
};

// Each output pixel is the mean of a SHRINK x SHRINK block of the frame.
Picture Shrink(const SurfacePixels& frame, int shrink) {
    Picture out;
    out.width = static_cast<int>(frame.width) / shrink;
    out.height = static_cast<int>(frame.height) / shrink;
    out.bgr.reserve(static_cast<size_t>(out.width) * out.height * 3);
    const int area = shrink * shrink;
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            int sum[3] = {};
            for (int dy = 0; dy < shrink; ++dy) {
                for (int dx = 0; dx < shrink; ++dx) {
                    const std::uint32_t c =
                        frame.At(static_cast<UINT>(x * shrink + dx), static_cast<UINT>(y * shrink + dy));
                    for (int channel = 0; channel < 3; ++channel) {
                        sum[channel] += static_cast<int>(c >> (8 * channel) & 0xFF);
                    }
                }
            }
            for (int channel = 0; channel < 3; ++channel) {
                out.bgr.push_back(static_cast<std::uint8_t>((sum[channel] + area / 2) / area));
            }
        }
    }
    return out;
}

void PutLittleEndian(std::vector<std::uint8_t>& bytes, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

// A bottom-up 24-bit BMP, each row padded to four bytes.
bool WriteBmp(const std::wstring& path, const Picture& picture) {
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(picture.width) * 3 + 3) & ~3u;
    const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(picture.height);
    std::vector<std::uint8_t> file;
    file.reserve(54 + imageBytes);
    file.push_back('B');
    file.push_back('M');
    PutLittleEndian(file, 54 + imageBytes, 4);
    PutLittleEndian(file, 0, 4);
    PutLittleEndian(file, 54, 4);
    PutLittleEndian(file, 40, 4);
    PutLittleEndian(file, static_cast<std::uint32_t>(picture.width), 4);
    PutLittleEndian(file, static_cast<std::uint32_t>(picture.height), 4);
    PutLittleEndian(file, 1, 2);
    PutLittleEndian(file, 24, 2);
    for (int field = 0; field < 6; ++field) {
        PutLittleEndian(file, 0, 4); // no compression; sizes and palette left to the reader
    }
    const size_t stride = static_cast<size_t>(picture.width) * 3;
    for (int y = picture.height - 1; y >= 0; --y) {
        const auto row = picture.bgr.begin() + static_cast<std::ptrdiff_t>(stride * static_cast<size_t>(y));
        file.insert(file.end(), row, row + static_cast<std::ptrdiff_t>(stride));
        file.resize(file.size() + (rowBytes - stride), 0);
    }
    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    return static_cast<bool>(out);
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
    effect.Seed(kSeed);
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
        std::swprintf(name, std::size(name), L"\\frame%03d.bmp", i);
        if (!WriteBmp(folder + name, Shrink(frame, shrink))) {
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
