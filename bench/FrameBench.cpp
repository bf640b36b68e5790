// The whole effect drawn frame after frame on real devices, as ratios to what the same device does
// when it only clears and presents: the running saver full screen at 1920 x 1080 (triangle sizes 96
// and 32 with 200 pieces, and with no light), and the settings run's 800 by 600 window with its
// dialog shown and hidden; beside them one quad over the whole back buffer that shows one texture, and
// one that adds two: the most a frame that samples its picture once, or twice, at every pixel can
// reach. Also the pixels written per frame, the CPU time of the
// thread that calls Direct3D, and where the time of a frame goes. Run by `make bench`.
#include "effect/CSaverImpl.h"
#include "framework/Framework.h"
#include "framework/FrameworkInternal.h"
#include "framework/HResultError.h"
#include "graphics/PixelPrograms.h"
#include "gui/CGuiDialogResources.h"
#include "gui/GuiPlatform.h"
#include "settings/CSettingDialog.h"

#include <windows.h>
#include <wrl/client.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <utility>

namespace {

constexpr float kElapsed = 1.0f / 60;
constexpr double kSeconds = 4.0;

double Seconds(FILETIME t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32 | t.dwLowDateTime) * 1e-7;
}

double ThreadCpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    return Seconds(kernel) + Seconds(user);
}

// All of the process's threads: also the renderer's own, which draw what the calls asked for.
double ProcessCpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
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

struct Rate {
    double framesPerSecond = 0.0;
    double cpuMs = 0.0;        // the thread that calls Direct3D
    double processCpuMs = 0.0; // every thread of the process
};

// Rates of `frame` and of `reference`, measured in turns of short spells so that a machine whose load
// changes meanwhile slows both alike; each after a spell of its own that is not measured. That spell
// takes up what the case before left to settle: measured right after the full-screen cases' steps,
// the first spell of a case that draws nothing ran at a quarter of the rate of its later spells
// (about 0.72 x clear and present in all, against 0.98 when run first), while each later spell ran
// as fast as clearing and presenting.
std::pair<Rate, Rate> Compare(const std::function<void()>& frame, const std::function<void()>& reference) {
    constexpr int kTurns = 4;
    const std::function<void()>* both[2] = {&frame, &reference};
    double wall[2] = {};
    double cpu[2] = {};
    double processCpu[2] = {};
    int frames[2] = {};
    for (const auto* f : both) {
        const double start = WallSeconds();
        int count = 0;
        do {
            Pump();
            (*f)();
            ++count;
        } while (count < 2 || WallSeconds() - start < kSeconds / kTurns);
    }
    for (int turn = 0; turn < kTurns; ++turn) {
        for (int which = 0; which < 2; ++which) {
            const double wall0 = WallSeconds();
            const double cpu0 = ThreadCpuSeconds();
            const double processCpu0 = ProcessCpuSeconds();
            int count = 0;
            do {
                Pump();
                (*both[which])();
                ++count;
            } while (count < 2 || WallSeconds() - wall0 < kSeconds / kTurns);
            wall[which] += WallSeconds() - wall0;
            cpu[which] += ThreadCpuSeconds() - cpu0;
            processCpu[which] += ProcessCpuSeconds() - processCpu0;
            frames[which] += count;
        }
    }
    auto rate = [&](int which) {
        return Rate{frames[which] / wall[which], cpu[which] * 1e3 / frames[which],
                    processCpu[which] * 1e3 / frames[which]};
    };
    return {rate(0), rate(1)};
}

void ClearAndPresent(IDirect3DDevice9* device) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    device->BeginScene();
    device->EndScene();
    PresentFrame(device);
}

// The yardsticks of a frame that samples a texture once or twice at every pixel: one quad over the
// back buffer, showing a 192 x 192 texture repeated, turned a little and about one texel to a pixel,
// filtered linearly, modulated by the pixel program the tiles use and added to the cleared target, as
// the tiles are. With two textures it is the same texture at two turns, each times its own colour, as
// where two tiles' images meet.
class TexturedQuad {
public:
    TexturedQuad(IDirect3DDevice9* device, DWORD textures)
        : device_(device), textures_(textures),
          program_(CreatePixelProgram(device, textures == 1 ? PixelProgram::TextureTimesColour
                                                            : PixelProgram::TwoTexturesTimesColours)) {
        constexpr UINT kSide = 192;
        if (FAILED(device->CreateTexture(kSide, kSide, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &texture_,
                                         nullptr))) {
            return;
        }
        D3DLOCKED_RECT locked{};
        if (SUCCEEDED(texture_->LockRect(0, &locked, nullptr, 0))) {
            for (UINT y = 0; y < kSide; ++y) {
                auto* row = reinterpret_cast<DWORD*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch);
                for (UINT x = 0; x < kSide; ++x) {
                    row[x] = (x * 5 & 0xFF) << 16 | (y * 3 & 0xFF) << 8 | ((x ^ y) & 0xFF);
                }
            }
            texture_->UnlockRect(0);
        }
    }

    // Without pixel programs the stages draw one texture, but not the sum of two.
    bool Made() const { return texture_ != nullptr && (textures_ == 1 || program_ != nullptr); }

    void Frame(float width, float height) {
        struct Vertex {
            float x, y, z, rhw;
            D3DCOLOR colour, secondColour;
            float u0, v0, u1, v1;
        };
        // Texture coordinates of the corners: the screen turned by 0.3 and by -0.5 radians, in
        // 192-texel units.
        const auto corner = [&](float x, float y) {
            constexpr float kCos0 = 0.9553365f, kSin0 = 0.2955202f, kCos1 = 0.8775826f, kSin1 = -0.4794255f;
            constexpr float kTexel = 1.0f / 192;
            return Vertex{x - 0.5f,
                          y - 0.5f,
                          0.0f,
                          1.0f,
                          0xFFC0C0C0,
                          0xFF404040,
                          (kCos0 * x - kSin0 * y) * kTexel,
                          (kSin0 * x + kCos0 * y) * kTexel,
                          (kCos1 * x - kSin1 * y) * kTexel,
                          (kSin1 * x + kCos1 * y) * kTexel};
        };
        const Vertex quad[4] = {corner(0, 0), corner(width, 0), corner(0, height), corner(width, height)};
        device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        device_->BeginScene();
        device_->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        device_->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
        device_->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
        device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        device_->SetRenderState(D3DRS_ZENABLE, FALSE);
        device_->SetRenderState(D3DRS_LIGHTING, FALSE);
        for (DWORD stage = 0; stage < textures_; ++stage) {
            device_->SetTexture(stage, texture_.Get());
            device_->SetSamplerState(stage, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
            device_->SetSamplerState(stage, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP);
            device_->SetSamplerState(stage, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
            device_->SetSamplerState(stage, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
        }
        device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
        device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        device_->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
        device_->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
        device_->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX2);
        device_->SetPixelShader(program_.Get());
        device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex));
        device_->SetPixelShader(nullptr);
        for (DWORD stage = 0; stage < textures_; ++stage) {
            device_->SetTexture(stage, nullptr);
        }
        device_->EndScene();
        PresentFrame(device_);
    }

private:
    IDirect3DDevice9* device_;
    DWORD textures_;
    Microsoft::WRL::ComPtr<IDirect3DPixelShader9> program_;
    Microsoft::WRL::ComPtr<IDirect3DTexture9> texture_;
};

// Prints the textured quads' rates as ratios to clear and present, each in turns with it: the most
// that a frame which shows one texture, or adds two, at every pixel can reach on this device.
void PrintTexturedQuads(IDirect3DDevice9* device, const D3DPRESENT_PARAMETERS& pp,
                        const std::function<void()>& bareFrame) {
    for (const DWORD textures : {1u, 2u}) {
        TexturedQuad quad(device, textures);
        Microsoft::WRL::ComPtr<IDirect3DStateBlock9> states;
        if (!quad.Made() || FAILED(device->CreateStateBlock(D3DSBT_ALL, &states))) {
            std::printf("  the textured quad could not be set up\n");
            return;
        }
        const auto [rate, bare] = Compare(
            [&] { quad.Frame(static_cast<float>(pp.BackBufferWidth), static_cast<float>(pp.BackBufferHeight)); },
            bareFrame);
        // The cases after it find the device as they would without it.
        states->Apply();
        std::printf("  %-28s %6.2f frames/s = %.3f x clear and present (%.2f)\n",
                    textures == 1 ? "one textured quad, added" : "one quad of two textures",
                    rate.framesPerSecond, rate.framesPerSecond / bare.framesPerSecond, bare.framesPerSecond);
    }
}

// One frame as the run modes draw it (without their waits for input); `overlay` draws over it.
void SaverFrame(CSaverImpl& effect, IDirect3DDevice9* device, const std::function<void()>& overlay = {}) {
    effect.OnFrameMove(device, 0.0, kElapsed);
    device->Clear(0, nullptr, effect.GetClearFlags(), effect.GetClearColor(), 1.0f, 0);
    device->BeginScene();
    try {
        effect.OnFrameRender(device, 0.0, kElapsed);
    } catch (const HResultError& error) {
        std::printf("frame failed: 0x%08lx\n", static_cast<unsigned long>(error.Code()));
    }
    if (overlay) {
        overlay();
    }
    device->EndScene();
    PresentFrame(device);
}

struct PixelCounts {
    double chamber = -1.0; // into the chamber image
    double screen = -1.0;  // the tiles, into the back buffer
};

// Pixels that `draw` writes, by an occlusion query; -1 where the device has none.
double PixelsWritten(IDirect3DDevice9* device, const std::function<void()>& draw) {
    Microsoft::WRL::ComPtr<IDirect3DQuery9> query;
    if (FAILED(device->CreateQuery(D3DQUERYTYPE_OCCLUSION, &query))) {
        return -1.0;
    }
    query->Issue(D3DISSUE_BEGIN);
    draw();
    query->Issue(D3DISSUE_END);
    DWORD pixels = 0;
    while (query->GetData(&pixels, sizeof(pixels), D3DGETDATA_FLUSH) == S_FALSE) {
    }
    return pixels;
}

// Pixels the effect writes in one frame, the chamber image and the screen counted apart.
PixelCounts PixelsWritten(CSaverImpl& effect, IDirect3DDevice9* device, std::uint32_t width,
                          std::uint32_t height) {
    EffectRenderer& renderer = effect.Renderer();
    effect.OnFrameMove(device, 0.0, kElapsed);
    device->Clear(0, nullptr, effect.GetClearFlags(), effect.GetClearColor(), 1.0f, 0);
    device->BeginScene();
    PixelCounts counts;
    counts.chamber = PixelsWritten(device, [&] {
        renderer.RenderChamber(device, effect.Simulation(), MakeEffectSettings(effect),
                               [&](double phase, std::int32_t neighbours, std::int32_t index) {
                                   return effect.GetPieceColor(phase, neighbours, index);
                               });
    });
    counts.screen = PixelsWritten(device, [&] {
        renderer.SetRenderStates(device);
        renderer.DrawTiles(device, effect.Simulation().RotationAngle, effect.TriangleSize, width, height,
                           [&](float x, float y, std::int32_t column, std::int32_t row) {
                               return effect.GetTileAlpha(x, y, column, row);
                           });
    });
    device->EndScene();
    PresentFrame(device);
    return counts;
}

// Wall milliseconds per frame of each step, over 30 frames.
void PrintSteps(CSaverImpl& effect, IDirect3DDevice9* device, std::uint32_t width, std::uint32_t height) {
    double steps[4] = {};
    const auto light = [&](float x, float y, std::int32_t column, std::int32_t row) {
        return effect.GetTileAlpha(x, y, column, row);
    };
    const auto colour = [&](double phase, std::int32_t neighbours, std::int32_t index) {
        return effect.GetPieceColor(phase, neighbours, index);
    };
    constexpr int kFrames = 30;
    for (int i = 0; i < kFrames; ++i) {
        Pump();
        double t = WallSeconds();
        auto lap = [&](double& step) {
            const double now = WallSeconds();
            step += now - t;
            t = now;
        };
        effect.OnFrameMove(device, 0.0, kElapsed);
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        device->BeginScene();
        lap(steps[0]);
        EffectRenderer& renderer = effect.Renderer();
        renderer.RenderChamber(device, effect.Simulation(), MakeEffectSettings(effect), colour);
        lap(steps[1]);
        renderer.SetRenderStates(device);
        renderer.DrawTiles(device, effect.Simulation().RotationAngle, effect.TriangleSize, width, height,
                           light);
        lap(steps[2]);
        device->EndScene();
        PresentFrame(device);
        lap(steps[3]);
    }
    std::printf(
        "    ms per frame: move, clear and begin %.2f; chamber %.2f; tiles %.2f; end and present %.2f\n",
        steps[0] * 1e3 / kFrames, steps[1] * 1e3 / kFrames, steps[2] * 1e3 / kFrames,
        steps[3] * 1e3 / kFrames);
}

std::unique_ptr<CSaverImpl> MakeEffect(IDirect3DDevice9* device, std::int32_t triangleSize,
                                       std::int32_t pieces) {
    auto effect = std::make_unique<CSaverImpl>(std::wstring());
    effect->Simulation().Seed(12345);
    effect->TriangleSize = triangleSize;
    effect->PieceCount = pieces;
    if (FAILED(effect->OnResetDevice(device))) {
        std::printf("the device resources could not be made\n");
        return nullptr;
    }
    return effect;
}

void FullScreen() {
    if (FAILED(FrameworkInit(true, false, false)) || FAILED(FrameworkCreateWindow(L"FrameBench")) ||
        FAILED(FrameworkCreateDevice(0, false, 1920, 1080))) {
        std::printf("no full-screen device\n");
        return;
    }
    IDirect3DDevice9* device = FrameworkGetDevice();
    const D3DPRESENT_PARAMETERS pp = FrameworkGetDeviceSettings().pp;
    const double screen = double(pp.BackBufferWidth) * pp.BackBufferHeight;
    const auto bareFrame = [&] { ClearAndPresent(device); };
    std::printf("Full screen %ux%u, each case measured in turns with clear and present alone\n",
                pp.BackBufferWidth, pp.BackBufferHeight);
    struct Case {
        const char* name;
        std::int32_t size;
        double light;
    };
    PrintTexturedQuads(device, pp, bareFrame);
    for (const Case c : {Case{"S = 96, 200 pieces", 96, 1.5}, Case{"S = 32, 200 pieces", 32, 1.5},
                         Case{"S = 96, 200 pieces, no light", 96, 0.0}}) {
        auto effect = MakeEffect(device, c.size, 200);
        if (!effect) {
            continue;
        }
        effect->LightStrength = c.light;
        const auto [rate, bare] = Compare([&] { SaverFrame(*effect, device); }, bareFrame);
        const PixelCounts pixels = PixelsWritten(*effect, device, pp.BackBufferWidth, pp.BackBufferHeight);
        std::printf("  %-28s %6.2f frames/s = %.3f x clear and present (%.2f); %6.1f ms CPU/frame of the "
                    "Direct3D thread (bare %.1f)\n"
                    "    pixels written per frame: the tiles %.3f x the screen, the chamber image %.3f x\n",
                    c.name, rate.framesPerSecond, rate.framesPerSecond / bare.framesPerSecond,
                    bare.framesPerSecond, rate.cpuMs, bare.cpuMs, pixels.screen / screen,
                    pixels.chamber / screen);
        PrintSteps(*effect, device, pp.BackBufferWidth, pp.BackBufferHeight);
        std::fflush(stdout);
        effect->Shutdown();
    }
    FrameworkShutdown(0);
}

// The settings run's window: its effect (the defaults) with the settings dialog over it.
void SettingsWindow() {
    FrameworkResetState();
    if (FAILED(FrameworkInit(true, false, false)) || FAILED(FrameworkCreateWindow(L"FrameBench")) ||
        FAILED(FrameworkCreateDevice(0, true, 800, 600))) {
        std::printf("no 800 by 600 window\n");
        return;
    }
    IDirect3DDevice9* device = FrameworkGetDevice();
    SetGuiPlatform({&FrameworkGetHWND, &FrameworkGetTime});
    const auto bareFrame = [&] { ClearAndPresent(device); };
    auto effect = MakeEffect(device, 96, 50);
    CGuiDialogResources resources;
    std::unique_ptr<CSettingDialog> dialog(CreateSettingDialog());
    if (!effect || FAILED(resources.CreateDeviceObjects(device)) || FAILED(resources.ResetDeviceObjects())) {
        std::printf("the dialog's resources could not be made\n");
        return;
    }
    effect->Initialize(RunModeKind::Settings);
    dialog->Create(effect->GetSetting(), &resources);
    const auto drawDialog = [&] { dialog->Dialog().Render(kElapsed); };
    const auto frameWith = [&](bool shown) {
        return [&, shown] {
            dialog->Dialog().SetVisible(shown);
            SaverFrame(*effect, device, drawDialog);
        };
    };
    PrintTexturedQuads(device, FrameworkGetDeviceSettings().pp, bareFrame);
    const auto [shown, bare] = Compare(frameWith(true), bareFrame);
    const auto [hidden, bareAgain] = Compare(frameWith(false), bareFrame);
    // Shown and hidden also in turns with each other, so that a change of load weighs on both alike.
    const auto [shownInTurns, hiddenInTurns] = Compare(frameWith(true), frameWith(false));
    std::printf("Window 800x600, /c: the dialog shown %6.2f frames/s = %.3f x clear and present (%.2f); "
                "%.1f ms CPU/frame, %.1f ms of the whole process\n",
                shown.framesPerSecond, shown.framesPerSecond / bare.framesPerSecond, bare.framesPerSecond,
                shown.cpuMs, shown.processCpuMs);
    std::printf("  the dialog hidden (F1) %6.2f frames/s = %.3f x clear and present (%.2f); %.1f ms CPU/frame, "
                "%.1f ms of the whole process\n",
                hidden.framesPerSecond, hidden.framesPerSecond / bareAgain.framesPerSecond,
                bareAgain.framesPerSecond, hidden.cpuMs, hidden.processCpuMs);
    std::printf("  a frame with the dialog shown, measured in turns with one with it hidden: %.3f x the time, "
                "%.3f x the process's CPU\n",
                hiddenInTurns.framesPerSecond / shownInTurns.framesPerSecond,
                shownInTurns.processCpuMs / hiddenInTurns.processCpuMs);
    effect->Shutdown();
    resources.LoseDeviceObjects();
    resources.DestroyDeviceObjects();
    FrameworkShutdown(0);
}

} // namespace

// With "screen" or "window" as its argument it measures that part alone.
int main(int argc, char** argv) {
    const std::string only = argc > 1 ? argv[1] : "";
    std::printf("Frames drawn back to back and presented (none of the run modes' waits for input)\n");
    if (only != "window") {
        FullScreen();
    }
    if (only != "screen") {
        SettingsWindow();
    }
    std::fflush(stdout);
    return FrameworkGetExitCode();
}
