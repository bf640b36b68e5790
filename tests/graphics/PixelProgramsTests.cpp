// Each pixel program against the texture stages it stands in for, on a real device: the same
// triangles drawn both ways, blended over a grey background so that the alpha counts too.
#include "graphics/PixelPrograms.h"

#include "support/TestDevice.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

constexpr int Side = 64;

struct TwoTextureVertex {
    float x, y, z, rhw;
    D3DCOLOR diffuse, specular;
    float u0, v0, u1, v1;
};
constexpr DWORD TwoTextureFormat = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX2;

// A texture whose colour and alpha run across it, differently for each seed.
Microsoft::WRL::ComPtr<IDirect3DTexture9> Ramp(IDirect3DDevice9* device, int seed) {
    return FilledTexture(device, 16, 16, [seed](int x, int y) {
        return D3DCOLOR_ARGB(255 - 12 * y, 16 * x, 40 * seed + 9 * y, 255 - 8 * x * seed);
    });
}

void SetStages(IDirect3DDevice9* d, PixelProgram program) {
    const bool textured = program != PixelProgram::Colour;
    d->SetTextureStageState(0, D3DTSS_COLOROP, textured ? D3DTOP_MODULATE : D3DTOP_SELECTARG2);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, textured ? D3DTOP_MODULATE : D3DTOP_SELECTARG2);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    d->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    d->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    if (program == PixelProgram::TwoTexturesTimesColours) {
        d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
        d->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_MULTIPLYADD);
        d->SetTextureStageState(1, D3DTSS_COLORARG0, D3DTA_CURRENT);
        d->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        d->SetTextureStageState(1, D3DTSS_COLORARG2, D3DTA_SPECULAR);
        d->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
        d->SetTextureStageState(1, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
        d->SetTextureStageState(1, D3DTSS_TEXCOORDINDEX, 1);
    }
}

// A square of triangles with colours and coordinates that differ at every corner, drawn once; the
// pixels of the frame.
std::vector<D3DCOLOR> Draw(TestDevice& device, PixelProgram program, IDirect3DPixelShader9* shader) {
    IDirect3DDevice9* d = device.Device();
    device.BeginFrame(0xFF707070);
    d->SetRenderState(D3DRS_LIGHTING, FALSE);
    d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    SetStages(d, program);
    d->SetPixelShader(shader);
    const float s = Side;
    const TwoTextureVertex corners[4] = {
        {0, 0, 0, 1, 0xFFFF8040, 0x80204080, 0, 0, 1, 0},
        {s, 0, 0, 1, 0x8040FF80, 0xFF80FF20, 1, 0, 1, 1},
        {s, s, 0, 1, 0x20FFFFFF, 0x40FF0000, 1, 1, 0, 1},
        {0, s, 0, 1, 0xC0102030, 0xFF00FFFF, 0, 1, 0, 0},
    };
    d->SetFVF(TwoTextureFormat);
    d->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, corners, sizeof(TwoTextureVertex));
    d->SetPixelShader(nullptr);
    device.EndFrame();
    return device.Pixels();
}

} // namespace

TEST_SUITE("graphics") {

TEST_CASE("PixelProgram: every program draws what the texture stages beside it draw") {
    TestDevice device(Side, Side);
    if (!device.Ok()) {
        MESSAGE("no Direct3D 9 device here; programs not compared");
        return;
    }
    IDirect3DDevice9* d = device.Device();
    const auto first = Ramp(d, 1);
    const auto second = Ramp(d, 3);
    d->SetTexture(0, first.Get());
    d->SetTexture(1, second.Get());
    for (const PixelProgram program :
         {PixelProgram::Colour, PixelProgram::TextureTimesColour, PixelProgram::TwoTexturesTimesColours}) {
        CAPTURE(static_cast<int>(program));
        const auto shader = CreatePixelProgram(d, program);
        REQUIRE(shader != nullptr); // the renderer here runs pixel shader 2.0
        const std::vector<D3DCOLOR> stages = Draw(device, program, nullptr);
        const std::vector<D3DCOLOR> programmed = Draw(device, program, shader.Get());
        int worst = 0;
        for (size_t i = 0; i < stages.size(); ++i) {
            const D3DCOLOR a = stages[i];
            const D3DCOLOR b = programmed[i];
            worst = std::max({worst, std::abs(Red(a) - Red(b)), std::abs(Green(a) - Green(b)),
                              std::abs(Blue(a) - Blue(b))});
        }
        CHECK(worst <= 1);
        // The square was drawn at all: its corner is not the background's grey.
        CHECK(programmed.front() != 0xFF707070);
    }
}

} // TEST_SUITE
