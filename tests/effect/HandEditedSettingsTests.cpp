// Values that only a hand-edited settings file can hold: the effect runs on safe values while the
// record keeps what the file says.
#include "effect/CSaverImpl.h"
#include "effect/EffectSettings.h"
#include "effect/EffectSimulation.h"

#include "support/TempFolder.h"
#include "support/ScopedBackBufferSize.h"

#include <doctest/doctest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <string>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
const double kNan = std::nan("");

bool Finite(const EffectSimulation& e) {
    bool ok = std::isfinite(e.ElapsedTotal) && std::isfinite(e.RotationAngle) &&
              std::isfinite(e.ShakeDirection) && std::isfinite(e.LightPhase) && std::isfinite(e.ShakeTimer);
    for (const Piece& p : e.Pieces) {
        ok = ok && std::isfinite(p.X) && std::isfinite(p.Y) && std::isfinite(p.Angle) &&
             std::isfinite(p.ScaleX) && std::isfinite(p.ScaleY);
    }
    return ok;
}

bool AllInRegion(const EffectSimulation& e, int size) {
    const float height = static_cast<float>(std::sqrt(3.0) * size);
    for (const Piece& p : e.Pieces) {
        if (!(p.Y >= 0.0f && p.Y <= height && std::fabs(2.0 * p.X) <= p.Y * (1.0 + 1e-6) + 1e-6)) {
            return false;
        }
    }
    return true;
}

void RunFrames(CSaverImpl& e, int frames) {
    for (int i = 0; i < frames; ++i) {
        e.OnFrameMove(nullptr, 0.0, 0.1f);
    }
}

} // namespace

TEST_SUITE("effect") {

TEST_CASE("MakeEffectSettings: clamps what it can use, defaults what it cannot") {
    CSettingImpl r{std::wstring()};
    const EffectSettings plain = MakeEffectSettings(r);
    CHECK(plain.TriangleSize == 96);
    CHECK(plain.PieceCount == 50);
    CHECK(plain.SpeedShake == 0.1);

    struct IntCase {
        std::int32_t CSettingImpl::*field;
        std::int32_t EffectSettings::*safe;
        std::int32_t value;
        std::int32_t expected;
    };
    const IntCase ints[] = {
        {&CSettingImpl::TriangleSize, &EffectSettings::TriangleSize, INT_MIN, 16},
        {&CSettingImpl::TriangleSize, &EffectSettings::TriangleSize, 0, 16},
        {&CSettingImpl::TriangleSize, &EffectSettings::TriangleSize, 2, 16},
        {&CSettingImpl::TriangleSize, &EffectSettings::TriangleSize, 17, 17},
        {&CSettingImpl::TriangleSize, &EffectSettings::TriangleSize, 320, 320},
        {&CSettingImpl::TriangleSize, &EffectSettings::TriangleSize, INT_MAX, 1024},
        {&CSettingImpl::PieceCount, &EffectSettings::PieceCount, -1, 0},
        {&CSettingImpl::PieceCount, &EffectSettings::PieceCount, INT_MIN, 0},
        {&CSettingImpl::PieceCount, &EffectSettings::PieceCount, 500, 500},
        {&CSettingImpl::PieceCount, &EffectSettings::PieceCount, INT_MAX, 1000},
        {&CSettingImpl::TriangleTexture, &EffectSettings::TriangleTexture, -3, 0},
        {&CSettingImpl::TriangleTexture, &EffectSettings::TriangleTexture, 5, 5},
        {&CSettingImpl::TriangleTexture, &EffectSettings::TriangleTexture, 6, 5},
    };
    for (const IntCase& c : ints) {
        CAPTURE(c.value);
        CSettingImpl s{std::wstring()};
        s.*c.field = c.value;
        CHECK(MakeEffectSettings(s).*c.safe == c.expected);
    }

    struct RealCase {
        double CSettingImpl::*field;
        double EffectSettings::*safe;
        double value;
        double expected;
    };
    const RealCase reals[] = {
        {&CSettingImpl::SpeedRotation, &EffectSettings::SpeedRotation, kNan, 0.02},
        {&CSettingImpl::SpeedRotation, &EffectSettings::SpeedRotation, kInf, 0.02},
        {&CSettingImpl::SpeedRotation, &EffectSettings::SpeedRotation, -0.5, -0.5},
        {&CSettingImpl::SpeedRotation, &EffectSettings::SpeedRotation, -1e300, -100.0},
        {&CSettingImpl::SpeedShake, &EffectSettings::SpeedShake, -0.5, 0.0},
        {&CSettingImpl::SpeedShake, &EffectSettings::SpeedShake, 1e300, 100.0},
        {&CSettingImpl::SpeedLight, &EffectSettings::SpeedLight, -kInf, 0.1},
        {&CSettingImpl::PieceScaleMin, &EffectSettings::PieceScaleMin, kNan, 0.2},
        {&CSettingImpl::PieceScaleMax, &EffectSettings::PieceScaleMax, 1e9, 16.0},
        {&CSettingImpl::LightStrength, &EffectSettings::LightStrength, kNan, 1.5},
        {&CSettingImpl::LightArea, &EffectSettings::LightArea, kInf, 0.5},
        {&CSettingImpl::LightArea, &EffectSettings::LightArea, 0.75, 0.75},
    };
    for (const RealCase& c : reals) {
        CAPTURE(c.value);
        CSettingImpl s{std::wstring()};
        s.*c.field = c.value;
        CHECK(MakeEffectSettings(s).*c.safe == c.expected);
    }
}

TEST_CASE("AtlasResourceId: six atlases, any index picks one of them") {
    CHECK(AtlasResourceId(0) == 202);
    CHECK(AtlasResourceId(1) == 203);
    CHECK(AtlasResourceId(5) == 207);
    CHECK(AtlasResourceId(-3) == 202);
    CHECK(AtlasResourceId(6) == 207);
    CHECK(AtlasResourceId(INT_MIN) == 202);
    CHECK(AtlasResourceId(INT_MAX) == 207);
}

TEST_CASE("CSaverImpl: a hand-edited file runs on safe values and keeps its own") {
    TempFolder folder;
    const std::wstring file = folder / L"Vitrelle.ini";
    WriteBytes(file, "[Triangle]\r\nTexture=9\r\nSize=2\r\n"
                     "[Piece]\r\nCount=500\r\nScaleMin=nan\r\nScaleMax=1e999\r\n"
                     "[Speed]\r\nRotation=1e999\r\nShake=-inf\r\nLight=nan\r\n[Light]\r\nStrength=inf\r\n");
    CSaverImpl e(file);
    e.Initialize(RunModeKind::Saver);
    e.Simulation().Seed(5);
    RunFrames(e, 300);
    CHECK(e.Simulation().Pieces.size() == 500);
    CHECK(e.Simulation().PieceTriangleSize() == 16);
    CHECK(AllInRegion(e.Simulation(), 16));
    CHECK(Finite(e.Simulation()));
    CHECK(e.Simulation().RotationAngle == doctest::Approx(300 * double(0.1f) * 0.02)); // the default speed
    const ScopedBackBufferSize screen(1920, 1080);
    const int alpha = e.GetTileAlpha(100, 0, 0, 0);
    CHECK(alpha == 255);

    // The record, the dialog and Save still see the file's values.
    CHECK(e.TriangleTexture == 9);
    CHECK(e.TriangleSize == 2);
    CHECK(e.PieceCount == 500);
    CHECK(std::isnan(e.PieceScaleMin));
    CHECK(e.SpeedRotation == kInf);
    e.Save();
    const std::string saved = ReadBytes(file);
    CHECK(saved.find("Count=500") != std::string::npos);
    CHECK(saved.find("Size=2") != std::string::npos);
    CHECK(saved.find("Texture=9") != std::string::npos);
}

TEST_CASE("CSaverImpl: no value of any setting breaks the simulation") {
    struct Case {
        const char* name;
        std::function<void(CSaverImpl&)> set;
        std::size_t pieces;
        int size;
    };
    const Case cases[] = {
        {"size INT_MIN", [](CSaverImpl& e) { e.TriangleSize = INT_MIN; }, 50, 16},
        {"size 0", [](CSaverImpl& e) { e.TriangleSize = 0; }, 50, 16},
        {"size 3", [](CSaverImpl& e) { e.TriangleSize = 3; }, 50, 16},
        {"size INT_MAX", [](CSaverImpl& e) { e.TriangleSize = INT_MAX; }, 50, 1024},
        {"count -1", [](CSaverImpl& e) { e.PieceCount = -1; }, 0, 96},
        {"count INT_MIN", [](CSaverImpl& e) { e.PieceCount = INT_MIN; }, 0, 96},
        {"count INT_MAX", [](CSaverImpl& e) { e.PieceCount = INT_MAX; }, 1000, 96},
        {"scales", [](CSaverImpl& e) { e.PieceScaleMin = -kInf; e.PieceScaleMax = kNan; }, 50, 96},
        {"shake huge", [](CSaverImpl& e) { e.SpeedShake = 1e308; }, 50, 96},
        {"shake nan", [](CSaverImpl& e) { e.SpeedShake = kNan; }, 50, 96},
        {"rotation -inf", [](CSaverImpl& e) { e.SpeedRotation = -kInf; }, 50, 96},
        {"rotation huge", [](CSaverImpl& e) { e.SpeedRotation = 1e308; }, 50, 96},
        {"light nan",
         [](CSaverImpl& e) {
             e.SpeedLight = kNan;
             e.LightStrength = kNan;
             e.LightArea = -kInf;
         },
         50, 96},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        CSaverImpl e{std::wstring()};
        e.Simulation().Seed(9);
        c.set(e);
        RunFrames(e, 200);
        CHECK(e.Simulation().Pieces.size() == c.pieces);
        CHECK(e.Simulation().PieceTriangleSize() == c.size);
        CHECK(AllInRegion(e.Simulation(), c.size));
        CHECK(Finite(e.Simulation()));
        CHECK(std::fabs(e.Simulation().RotationAngle) < 32 * 2 * 3.1416);
        const double phase = e.Simulation().ElapsedTotal * 0.05 + e.Simulation().LightPhase;
        const D3DCOLOR colour = e.GetPieceColor(phase, 1, 0);
        CHECK((colour >> 24) >= 55);
        const ScopedBackBufferSize screen(1920, 1080);
        const int alpha = e.GetTileAlpha(200, 0, 0, 0);
        CHECK(alpha >= 0);
        CHECK(alpha <= 255);
    }
}
}
