// The effect's simulation: random numbers, time steps, piece count and shakes, replayed bit for bit.
#include "effect/CSaverImpl.h"
#include "effect/EffectSimulation.h"

#include "support/TempFolder.h"

#include <doctest/doctest.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr double kPi = std::numbers::pi;

// A simulation on a settings record of no file: the defaults, nothing read or written.
struct Effect : CSettingImpl, EffectSimulation {
    explicit Effect(std::uint32_t seed = 1) : CSettingImpl(std::wstring()) {
        SpeedShake = 0.0;
        Seed(seed);
    }
    void Frame(float elapsed = 0.02f) { Step(MakeEffectSettings(*this), elapsed); }
};

// The generator and the piece formulas written out once more, independently of the effect's code.
struct Lcg {
    std::uint32_t state;
    int Draw() {
        state = state * 214013u + 2531011u;
        return static_cast<int>(state >> 16 & 0x7FFF);
    }
    int U(int n) { return Draw() % n; }
    double Unit() { return U(1000) / 1000.0; }
};

struct Look {
    double scaleMin;
    double scaleMax;
};

void RefLook(Lcg& g, Piece& p, Look look) {
    int column = g.U(13);
    int row = g.U(6);
    p.Cell = RECT{64 * column, 64 * row, 64 * column + 64, 64 * row + 64};
    for (float* scale : {&p.ScaleX, &p.ScaleY}) {
        double a = g.Unit();
        double b = g.Unit();
        *scale = static_cast<float>(b * (a * (look.scaleMax - look.scaleMin)) + look.scaleMin);
    }
}

Piece RefNewPiece(Lcg& g, int size, Look look) {
    Piece p;
    RefLook(g, p, look);
    p.Angle = static_cast<float>(g.Unit() * 2.0 * kPi);
    p.Y = static_cast<float>(g.Unit() * (size * std::sqrt(3.0)));
    p.X = static_cast<float>(g.Unit() * p.Y - p.Y * 0.5);
    return p;
}

struct ShakeCounts {
    int moved = 0;
    int refused = 0;
    int newLooks = 0;
};

void RefShakeFrame(Lcg& g, std::vector<Piece>& pieces, int size, double spread, double direction, Look look,
                   ShakeCounts& counts) {
    for (Piece& p : pieces) {
        p.Angle = static_cast<float>(p.Angle + (g.U(10) / 10.0 - 0.5) * 2.0);
        double dir = (g.Unit() - 0.5) * spread + direction;
        double dist = g.Unit() * (size / 4);
        double nx = p.X + std::sin(dir) * dist;
        double ny = p.Y + std::cos(dir) * dist;
        if (ny >= 0 && ny < std::sqrt(3.0) * size && std::fabs(2 * nx) < ny) {
            p.X = static_cast<float>(nx);
            p.Y = static_cast<float>(ny);
            ++counts.moved;
        } else {
            ++counts.refused;
        }
        if (g.U(20) == 0) {
            RefLook(g, p, look);
            ++counts.newLooks;
        }
    }
}

bool Same(const Piece& a, const Piece& b) {
    return a.Cell.left == b.Cell.left && a.Cell.top == b.Cell.top && a.Cell.right == b.Cell.right &&
           a.Cell.bottom == b.Cell.bottom && a.ScaleX == b.ScaleX && a.ScaleY == b.ScaleY && a.X == b.X &&
           a.Y == b.Y && a.Angle == b.Angle;
}

bool Same(const std::vector<Piece>& a, const std::vector<Piece>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!Same(a[i], b[i])) {
            return false;
        }
    }
    return true;
}

bool SamePlace(const Piece& a, const Piece& b) {
    return a.X == b.X && a.Y == b.Y;
}

// Region where piece centres live: 0 <= y < sqrt(3) S and |x| < y / 2, allowing for the rounding
// of the float fields (a new piece may sit exactly on the slanted side).
bool InRegion(const Piece& p, int size) {
    const float height = static_cast<float>(std::sqrt(3.0) * size);
    return std::isfinite(p.X) && std::isfinite(p.Y) && p.Y >= 0.0f && p.Y <= height &&
           std::fabs(2.0 * p.X) <= p.Y * (1.0 + 1e-6) + 1e-6;
}

} // namespace

TEST_SUITE("effect") {

TEST_CASE("EffectRandom: the first draws after seeding with 1") {
    EffectRandom r;
    r.Seed(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169};
    for (int e : expected) {
        CHECK(r.Draw() == e);
    }
    r.Seed(1);
    CHECK(r.Below(13) == 41 % 13);
    CHECK(r.Unit() == (18467 % 1000) / 1000.0);
}

TEST_CASE("EffectSimulation: a time step above 0.1 s counts as 0.1 s, a shorter one as it is") {
    Effect e;
    e.SpeedRotation = 0.5;
    e.SpeedShake = 0.25;
    e.SpeedLight = 0.75;
    e.Frame(0.25f);
    const double dt = 0.1f;
    CHECK(e.ElapsedTotal == dt);
    CHECK(e.RotationAngle == dt * 0.5);
    CHECK(e.ShakeDirection == dt * 0.25);
    CHECK(e.ShakeTimer == dt * 0.25);
    CHECK(e.LightPhase == dt * 0.75);

    Effect f;
    f.SpeedRotation = 0.5;
    f.Frame(0.05f);
    CHECK(f.ElapsedTotal == double(0.05f));
    CHECK(f.RotationAngle == double(0.05f) * 0.5);

    Effect g;
    g.Frame(0.1f);
    g.Frame(std::nanf(""));
    g.Frame(-INFINITY);
    CHECK(g.ElapsedTotal == 3 * dt);
}

TEST_CASE("EffectSimulation: new pieces take their draws in order and lie in the region") {
    Effect e(7);
    e.TriangleSize = 64;
    e.PieceCount = 40;
    e.PieceScaleMin = 0.3;
    e.PieceScaleMax = 1.7;
    e.Frame();
    Lcg g{7};
    std::vector<Piece> expected;
    for (int i = 0; i < 40; ++i) {
        expected.push_back(RefNewPiece(g, 64, {0.3, 1.7}));
    }
    CHECK(Same(e.Pieces, expected));
    CHECK(e.RandomState() == g.state);
    for (const Piece& p : e.Pieces) {
        CHECK(InRegion(p, 64));
        CHECK(p.Cell.right - p.Cell.left == 64);
        CHECK(p.Cell.left <= 12 * 64);
        CHECK(p.Cell.top <= 5 * 64);
        CHECK(p.ScaleX >= 0.3f);
        CHECK(p.ScaleX < 1.7f);
    }
}

TEST_CASE("EffectSimulation: a shake starts only above 0.6 and moves nothing in its first frame") {
    Effect e(3);
    e.Frame();
    const std::vector<Piece> before = e.Pieces;
    const std::uint32_t state = e.RandomState();

    e.ShakeTimer = 0.6;
    e.Frame();
    CHECK(e.ShakeFramesLeft == 0);
    CHECK(e.RandomState() == state);

    e.SpeedShake = 0.5;
    e.Frame(0.02f);
    CHECK(e.ShakeFramesLeft == 5);
    CHECK(e.ShakeTimer == doctest::Approx(0.01).epsilon(1e-9));
    CHECK(Same(e.Pieces, before));
    Lcg g{state};
    const double spread = g.U(5) == 0 ? 2 * kPi : 3.0;
    CHECK(e.ShakeSpread == spread);
    CHECK(e.RandomState() == g.state);
}

TEST_CASE("EffectSimulation: the five frames after a shake's start move every piece, then the pieces rest") {
    Effect e(11);
    e.TriangleSize = 96;
    e.PieceCount = 30;
    e.Frame();
    e.ShakeTimer = 0.7;
    e.Frame();
    REQUIRE(e.ShakeFramesLeft == 5);
    const float middleY = static_cast<float>(0.6 * std::sqrt(3.0) * 96);
    for (int frame = 0; frame < 5; ++frame) {
        // From the middle of the chamber no move of up to S / 4 leaves the region.
        for (Piece& p : e.Pieces) {
            p.X = 0.0f;
            p.Y = middleY;
        }
        const std::vector<Piece> before = e.Pieces;
        e.Frame();
        CHECK(e.ShakeFramesLeft == 4 - frame);
        for (std::size_t i = 0; i < before.size(); ++i) {
            CHECK_FALSE(SamePlace(e.Pieces[i], before[i]));
        }
    }
    const std::vector<Piece> rested = e.Pieces;
    const std::uint32_t state = e.RandomState();
    e.Frame();
    CHECK(Same(e.Pieces, rested));
    CHECK(e.RandomState() == state);
}

TEST_CASE("EffectSimulation: shake frames follow the reference draw by draw, refused moves keep the place") {
    for (std::uint32_t seed : {1u, 99u, 123456u}) {
        CAPTURE(seed);
        Effect e(seed);
        e.TriangleSize = 34; // not a multiple of 4: the reach of a move is S / 4 truncated
        e.PieceCount = 60;
        e.PieceScaleMin = 0.0;
        e.PieceScaleMax = 2.0;
        e.Frame();
        // Crowd a third of the pieces into the apex, where most moves leave the region.
        for (std::size_t i = 0; i < e.Pieces.size(); i += 3) {
            e.Pieces[i].X = 0.0f;
            e.Pieces[i].Y = 0.5f;
        }
        std::vector<Piece> expected = e.Pieces;
        Lcg g{e.RandomState()};
        ShakeCounts counts;
        e.SpeedShake = 3.0; // a shake every 10 frames
        for (int frame = 0; frame < 60; ++frame) {
            const bool starts = e.ShakeTimer + 0.02f * 3.0 > 0.6;
            const int framesLeft = e.ShakeFramesLeft;
            e.Frame(0.02f);
            if (starts) {
                g.U(5);
            } else if (framesLeft > 0) {
                RefShakeFrame(g, expected, 34, e.ShakeSpread, e.ShakeDirection, {0.0, 2.0}, counts);
            }
            REQUIRE(Same(e.Pieces, expected));
            REQUIRE(e.RandomState() == g.state);
        }
        CHECK(counts.moved > 0);
        CHECK(counts.refused > 0);
        CHECK(counts.newLooks > 0);
    }
}

TEST_CASE("EffectSimulation: a shake speed that starts a shake every frame moves nothing") {
    Effect e(5);
    e.Frame();
    const std::vector<Piece> before = e.Pieces;
    e.SpeedShake = 40.0; // 0.8 per frame of 0.02 s
    for (int i = 0; i < 100; ++i) {
        e.Frame(0.02f);
        CHECK(e.ShakeFramesLeft == 5);
    }
    CHECK(Same(e.Pieces, before));

    // The timer keeps no backlog: back at an ordinary speed the pieces move again at once.
    e.SpeedShake = 100.0;
    for (int i = 0; i < 1000; ++i) {
        e.Frame(0.1f);
    }
    CHECK(e.ShakeTimer <= 0.6);
    e.SpeedShake = 0.1;
    e.Frame();
    e.Frame();
    CHECK(e.ShakeFramesLeft == 4);
}

TEST_CASE("EffectSimulation: no pieces, fewer pieces, more pieces") {
    Effect e(21);
    e.PieceCount = 0;
    e.Frame();
    CHECK(e.Pieces.empty());
    e.ShakeTimer = 0.65;
    e.Frame();
    CHECK(e.ShakeFramesLeft == 5);
    e.Frame();
    CHECK(e.ShakeFramesLeft == 4);

    e.PieceCount = 50;
    e.Frame();
    REQUIRE(e.Pieces.size() == 50);
    const std::vector<Piece> fifty = e.Pieces;
    e.PieceCount = 10;
    e.ShakeFramesLeft = 0;
    e.Frame();
    REQUIRE(e.Pieces.size() == 10);
    CHECK(Same(e.Pieces, std::vector<Piece>(fifty.begin(), fifty.begin() + 10)));

    Lcg g{e.RandomState()};
    e.PieceCount = 30;
    e.Frame();
    REQUIRE(e.Pieces.size() == 30);
    CHECK(Same(std::vector<Piece>(e.Pieces.begin(), e.Pieces.begin() + 10),
               std::vector<Piece>(fifty.begin(), fifty.begin() + 10)));
    for (std::size_t i = 10; i < 30; ++i) {
        CHECK(Same(e.Pieces[i], RefNewPiece(g, 96, {0.2, 1.0})));
    }
}

TEST_CASE("EffectSimulation: a new triangle size replaces every piece in the same frame") {
    Effect e(8);
    e.TriangleSize = 96;
    e.Frame();
    CHECK(e.PieceTriangleSize() == 96);
    e.TriangleSize = 64;
    Lcg g{e.RandomState()};
    e.Frame();
    CHECK(e.PieceTriangleSize() == 64);
    REQUIRE(e.Pieces.size() == 50);
    for (const Piece& p : e.Pieces) {
        CHECK(Same(p, RefNewPiece(g, 64, {0.2, 1.0})));
    }
    // The same size again keeps the pieces.
    const std::vector<Piece> kept = e.Pieces;
    e.Frame();
    CHECK(Same(e.Pieces, kept));
}

TEST_CASE("EffectSimulation: the same seed and time steps replay the run bit for bit") {
    auto run = [](std::uint32_t seed) {
        Effect e(seed);
        e.SpeedShake = 1.0;
        e.SpeedRotation = 0.3;
        e.PieceCount = 80;
        for (int i = 0; i < 1500; ++i) {
            if (i == 700) {
                e.PieceCount = 120;
            }
            e.Frame(0.004f + 0.0001f * static_cast<float>(i % 300));
        }
        return e.Pieces;
    };
    const std::vector<Piece> a = run(77);
    CHECK(Same(a, run(77)));
    CHECK_FALSE(Same(a, run(78)));
}

TEST_CASE("EffectSimulation: every piece stays in the region over long runs") {
    struct Run {
        std::uint32_t seed;
        std::int32_t size;
    };
    for (Run r : {Run{1, 32}, Run{2024, 96}, Run{31337, 17}, Run{4000000000u, 320}}) {
        CAPTURE(r.seed);
        CAPTURE(r.size);
        Effect e(r.seed);
        e.TriangleSize = r.size;
        e.PieceCount = 200;
        e.SpeedShake = 1.0;
        e.SpeedRotation = 1.0;
        int outside = 0;
        for (int i = 0; i < 4000; ++i) {
            e.Frame(0.01f + 0.03f * static_cast<float>(i % 5));
            for (const Piece& p : e.Pieces) {
                outside += InRegion(p, r.size) ? 0 : 1;
            }
        }
        CHECK(outside == 0);
        CHECK(e.Pieces.size() == 200);
    }
}

TEST_CASE("CSaverImpl: Initialize shrinks the preview's pieces in memory only") {
    TempFolder folder;
    const std::wstring file = folder / L"Vitrelle.ini";
    const std::string content =
        "[Triangle]\r\nSize=160\r\n[Piece]\r\nCount=7\r\nScaleMin=0.3\r\nScaleMax=0.9\r\n";
    WriteBytes(file, content);
    for (RunModeKind mode : {RunModeKind::Saver, RunModeKind::Settings}) {
        CSaverImpl e(file);
        e.Initialize(mode);
        CHECK(e.TriangleSize == 160);
        CHECK(e.PieceCount == 7);
        CHECK(e.PieceScaleMin == 0.3);
        CHECK(e.PieceScaleMax == 0.9);
    }
    CSaverImpl preview(file);
    preview.Initialize(RunModeKind::Preview);
    CHECK(preview.TriangleSize == 32);
    CHECK(preview.PieceCount == 20);
    CHECK(preview.PieceScaleMin == 0.1);
    CHECK(preview.PieceScaleMax == 0.5);
    CHECK(preview.SpeedShake == 0.1);
    CHECK(ReadBytes(file) == content);
}

TEST_CASE("CSaverImpl: the host's view of the effect") {
    CSaverImpl e{std::wstring()};
    CSaver& saver = e;
    CHECK(saver.GetClearFlags() == D3DCLEAR_TARGET);
    CHECK(saver.GetClearColor() == 0xFF000000);
    CHECK(std::wstring(saver.GetName()) == L"Vitrelle");
    // The settings base, not the effect's own address.
    CHECK(saver.GetSetting() == static_cast<CSetting*>(static_cast<CSettingImpl*>(&e)));
    static_cast<CSettingImpl*>(saver.GetSetting())->PieceCount = 3;
    e.OnFrameMove(nullptr, 0.0, 0.02f);
    CHECK(e.Simulation().Pieces.size() == 3);

    const std::uint32_t low = GetTickCount() / 10;
    CHECK(saver.Start() == S_OK);
    const std::uint32_t high = GetTickCount() / 10;
    CHECK(e.Simulation().RandomState() >= low);
    CHECK(e.Simulation().RandomState() <= high);

    e.Renderer().LoadedTexture = 4;
    saver.Shutdown();
    CHECK(e.Renderer().LoadedTexture == -1);
    saver.OnLostDevice();
    CHECK(e.Renderer().LoadedTexture == -1);
}
}
