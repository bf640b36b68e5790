// CPU time per frame of the effect's arithmetic: the simulation step, the piece colours with their
// neighbour counts, and the layout, transforms and light of every tile on a 1920 x 1080 screen.
#include "effect/CSaverImpl.h"
#include "effect/ChamberMath.h"
#include "effect/TileLayout.h"
#include "framework/FrameworkState.h"

#include <windows.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

double ThreadCpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto seconds = [](FILETIME t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32 | t.dwLowDateTime) * 1e-7;
    };
    return seconds(kernel) + seconds(user);
}

double WallSeconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Runs `frame` until at least a second of CPU time has passed; prints the time per frame.
void Measure(const char* name, const std::function<void()>& frame) {
    frame(); // warm up
    long frames = 0;
    const double cpu0 = ThreadCpuSeconds();
    const double wall0 = WallSeconds();
    double cpu = 0;
    do {
        for (int i = 0; i < 16; ++i) {
            frame();
        }
        frames += 16;
        cpu = ThreadCpuSeconds() - cpu0;
    } while (cpu < 1.0);
    const double wall = WallSeconds() - wall0;
    std::printf("%-58s %9.4f ms CPU/frame  (%8.4f ms wall, %ld frames)\n", name, cpu * 1e3 / frames,
                wall * 1e3 / frames, frames);
    std::fflush(stdout);
}

volatile std::uint32_t sink;

struct Effect : CSaverImpl {
    Effect() : CSaverImpl(std::wstring()) {
        Simulation().Seed(12345);
        PieceCount = 200;
    }
};

void TileLoop(Effect& e, std::uint32_t width, std::uint32_t height) {
    const std::int32_t size = e.TriangleSize;
    const TileGrid grid = MakeTileGrid(width, size);
    const TileFrame frame = MakeTileFrame(width, height, size, e.Simulation().RotationAngle);
    std::uint32_t acc = 0;
    for (std::int32_t r = -grid.Rows; r < grid.Rows; ++r) {
        for (std::int32_t j = -grid.Columns; j < grid.Columns; ++j) {
            const TilePlacement t = PlaceTile(frame, r, j);
            const Matrix2D m = TileMatrix(t, size);
            const std::int32_t a = e.GetTileAlpha(t.Xo, t.Yo, j, r);
            acc += static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(m.dx);
        }
    }
    sink = acc;
}

} // namespace

int main() {
    std::printf("Effect arithmetic, CPU time per frame (one thread)\n");

    Effect move;
    move.OnFrameMove(nullptr, 0.0, 1.0f / 60);
    Measure("OnFrameMove, 200 pieces, default speeds (60 frames/s)",
            [&] { move.OnFrameMove(nullptr, 0.0, 1.0f / 60); });

    Effect shake;
    shake.OnFrameMove(nullptr, 0.0, 1.0f / 60);
    Measure("OnFrameMove, 200 pieces, every frame a shake move", [&] {
        shake.Simulation().ShakeFramesLeft = 5;
        shake.OnFrameMove(nullptr, 0.0, 1.0f / 60);
    });

    Effect colours;
    colours.SpeedShake = 1.0;
    for (int i = 0; i < 600; ++i) {
        colours.OnFrameMove(nullptr, 0.0, 1.0f / 60);
    }
    std::vector<std::int32_t> counts;
    Measure("neighbour counts and colours, 200 pieces", [&] {
        CountNeighbours(colours.Simulation().Pieces, counts);
        const double phase = colours.Simulation().ElapsedTotal * 0.05 + colours.Simulation().LightPhase;
        std::uint32_t acc = 0;
        for (std::size_t i = 0; i < colours.Simulation().Pieces.size(); ++i) {
            acc += colours.GetPieceColor(phase, counts[i], static_cast<std::int32_t>(i));
        }
        sink = acc;
    });

    // The light of the tiles is measured against the framework's current back-buffer width.
    auto screen = std::make_unique<DeviceSettings>();
    screen->pp.BackBufferWidth = 1920;
    screen->pp.BackBufferHeight = 1080;
    GetFrameworkState().ExchangeSettings(std::move(screen));
    for (std::int32_t size : {32, 96}) {
        Effect tiles;
        tiles.TriangleSize = size;
        tiles.Simulation().RotationAngle = 0.3;
        const TileGrid grid = MakeTileGrid(1920, size);
        const std::string name = "tile layout, matrices, alphas, 1920x1080, S = " + std::to_string(size) +
                                 " (" + std::to_string(4 * grid.Columns * grid.Rows) + " tiles)";
        Measure(name.c_str(), [&] { TileLoop(tiles, 1920, 1080); });
    }
    return 0;
}
