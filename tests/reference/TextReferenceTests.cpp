// Our text against the old utility library's font, loaded at run time: for Latin and Japanese strings
// in the dialog's faces, the inked box within a pixel and the calculated rectangle the same.
#include "graphics/TextFont.h"
#include "settings/DialogTexts.h"
#include "settings/DialogValues.h"

#include "support/ReferenceLibrary.h"
#include "support/TestDevice.h"

#include <d3dx9core.h>
#include <doctest/doctest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

using CreateFontFunction = HRESULT(WINAPI*)(IDirect3DDevice9*, INT, UINT, UINT, UINT, BOOL, DWORD, DWORD, DWORD,
                                            DWORD, const wchar_t*, ID3DXFont**);
using CreateSpriteFunction = HRESULT(WINAPI*)(IDirect3DDevice9*, ID3DXSprite**);

constexpr int Width = 400;
constexpr int Height = 120;

// The box of the pixels that the text inked noticeably; empty when none.
RECT InkedBox(const TestDevice& device) {
    RECT box = {Width, Height, 0, 0};
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Width; ++x) {
            if (Red(device.Pixel(x, y)) > 40) {
                box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
                       std::max<LONG>(box.bottom, y + 1)};
            }
        }
    }
    return box;
}

int Off(const RECT& a, const RECT& b) {
    return std::max({std::abs(a.left - b.left), std::abs(a.top - b.top), std::abs(a.right - b.right),
                     std::abs(a.bottom - b.bottom)});
}

std::string Show(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

} // namespace

TEST_SUITE("reference") {

TEST_CASE("Text: inked box within 1 pixel and calculated rectangle equal to the reference font's") {
    ReferenceLibrary library;
    if (!library.Present()) {
        MESSAGE("the old utility library is not here; text not compared");
        return;
    }
    const auto createFont = library.Get<CreateFontFunction>("D3DXCreateFontW");
    const auto createSprite = library.Get<CreateSpriteFunction>("D3DXCreateSprite");
    const bool exported = createFont != nullptr && createSprite != nullptr;
    REQUIRE(exported);
    TestDevice device(Width, Height);
    if (!device.Ok()) {
        MESSAGE("no Direct3D 9 device here; text not compared");
        return;
    }
    IDirect3DDevice9* d = device.Device();
    Microsoft::WRL::ComPtr<ID3DXSprite> referenceSprite;
    REQUIRE(createSprite(d, referenceSprite.GetAddressOf()) == S_OK);
    SpriteBatch batch(d);

    const std::wstring japaneseFace = ChooseFaceFor(DialogLanguage::Japanese, &IsFontFaceInstalled);
    const std::wstring englishFace = ChooseFaceFor(DialogLanguage::English, &IsFontFaceInstalled);
    struct Face {
        std::wstring name;
        int height;
        int weight;
        const wchar_t* texts[3];
    };
    const Face faces[] = {
        {L"Arial", 14, FW_NORMAL, {L"OK", L"Screen resolution", L"Wg|Ay 1024x768"}},
        {englishFace, 12, FW_NORMAL, {L"Piece size (min)", L"Cancel", L"Sparkle"}},
        {japaneseFace, 12, FW_NORMAL, {L"画面解像度", L"三角形の大きさ", L"ピースの大きさ(最小)"}},
        {japaneseFace, 16, FW_BOLD, {L"光の強さ", L"キャンセル", L"設定 Shadow"}},
    };
    const UINT formats[] = {DT_LEFT | DT_TOP, DT_CENTER | DT_VCENTER, DT_RIGHT | DT_BOTTOM,
                            DT_LEFT | DT_VCENTER | DT_SINGLELINE, DT_CENTER | DT_VCENTER | DT_NOCLIP};
    const RECT area = {30, 20, 370, 100};
    int cases = 0;
    int worstBox = 0;
    int rectsDiffering = 0;
    for (const Face& face : faces) {
        Microsoft::WRL::ComPtr<ID3DXFont> reference;
        REQUIRE(createFont(d, face.height, 0, face.weight, 1, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.name.c_str(),
                           reference.GetAddressOf()) == S_OK);
        TextFont ours(d, face.name.c_str(), face.height, face.weight);
        REQUIRE(ours.Status() == S_OK);
        for (const wchar_t* text : face.texts) {
            for (const UINT format : formats) {
                CAPTURE(face.height);
                CAPTURE(format);
                RECT wantRect = area;
                RECT gotRect = area;
                const int wantHeight = reference->DrawTextW(nullptr, text, -1, &wantRect, format | DT_CALCRECT, 0);
                const int gotHeight = ours.Draw(nullptr, text, -1, &gotRect, format | DT_CALCRECT, 0);
                CHECK(gotHeight == wantHeight);
                if (Show(gotRect) != Show(wantRect)) {
                    ++rectsDiffering;
                    MESSAGE("calculated rectangle " << Show(gotRect) << ", reference " << Show(wantRect));
                }

                RECT box = area;
                device.BeginFrame(0xFF000000);
                referenceSprite->Begin(D3DXSPRITE_ALPHABLEND);
                reference->DrawTextW(referenceSprite.Get(), text, -1, &box, format, 0xFFFFFFFF);
                referenceSprite->End();
                device.EndFrame();
                const RECT want = InkedBox(device);

                box = area;
                device.BeginFrame(0xFF000000);
                batch.Begin(SpriteBlend::Over, SpriteStateSaving::Save);
                CHECK(ours.Draw(&batch, text, -1, &box, format, 0xFFFFFFFF) > 0);
                batch.End();
                device.EndFrame();
                const RECT got = InkedBox(device);
                REQUIRE(want.right > want.left);
                const int off = Off(got, want);
                if (off > 1) {
                    MESSAGE("inked box " << Show(got) << ", reference " << Show(want));
                }
                CHECK(off <= 1);
                worstBox = std::max(worstBox, off);
                ++cases;
            }
        }
    }
    MESSAGE("texts compared: " << cases << "; largest inked-box difference: " << worstBox
                               << " px; calculated rectangles differing: " << rectsDiffering);
    CHECK(rectsDiffering == 0);
}

} // TEST_SUITE
