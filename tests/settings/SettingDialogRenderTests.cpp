// The settings dialog drawn by a real device: every row shows, and its texts use a face with Japanese glyphs.
#include "settings/CSettingDialogImpl.h"
#include "settings/DialogValues.h"

#include "support/GuiTestPlatform.h"
#include "support/TempFolder.h"
#include "support/TestDevice.h"

#include <doctest/doctest.h>

#include <cstdlib>
#include <string>

namespace {

bool Lit(D3DCOLOR c) {
    return Red(c) > 80 && Green(c) > 80 && Blue(c) > 80; // brighter than the 20 % white of the frame
}

// Bright (text or control) pixels in a rectangle of the frame.
int CountLit(const TestDevice& device, RECT area) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            count += Lit(device.Pixel(x, y)) ? 1 : 0;
        }
    }
    return count;
}

} // namespace

TEST_SUITE("settings") {

TEST_CASE("Setting dialog drawing: labels, controls and buttons show on the window; nothing beyond the frame; "
          "no glyph is made twice") {
    TestDevice device(800, 600);
    if (!device.Ok()) {
        MESSAGE("no Direct3D 9 device here; drawing not checked");
        return;
    }
    GuiTestPlatform platform;
    CGuiDialogResources resources;
    TempFolder folder;
    CSettingImpl record(folder / L"Vitrelle.ini");
    const std::wstring face = ChooseDialogFace(&IsFontFaceInstalled);
    // The texts are Japanese: the face must exist here, or the font mapper draws empty boxes.
    CHECK(IsFontFaceInstalled(face));
    CSettingDialogImpl dialog{[] { return std::vector<D3DDISPLAYMODE>{{800, 600, 60, D3DFMT_X8R8G8B8}}; }, face};
    dialog.Create(&record, &resources);
    resources.CreateDeviceObjects(device.Device());
    resources.ResetDeviceObjects();
    unsigned glyphsAfterFirstFrame = 0;
    for (int frame = 0; frame < 40; ++frame) {
        device.BeginFrame(0xFF000000);
        REQUIRE(dialog.Dialog().Render(1.0f / 20.0f) == S_OK);
        device.EndFrame();
        if (frame == 0) {
            glyphsAfterFirstFrame = resources.GlyphsRasterised();
            // The labels alone have more than 30 different characters.
            CHECK(glyphsAfterFirstFrame > 30);
        }
    }
    CHECK(resources.GlyphsRasterised() == glyphsAfterFirstFrame);
    if (const wchar_t* shots = _wgetenv(L"VITRELLE_GUI_SHOTS")) {
        device.Save(std::wstring(shots) + L"\\setting-dialog.png");
    }
    // Rows are placed relative to the dialog at (20, 20).
    CHECK(CountLit(device, {40, 50, 140, 70}) > 30);    // "画面解像度"
    CHECK(CountLit(device, {40, 230, 140, 250}) > 30);  // "ピース数"
    CHECK(CountLit(device, {360, 50, 460, 70}) > 30);   // "光の強さ"
    CHECK(CountLit(device, {290, 230, 330, 250}) > 4);  // the count's value text "50"
    CHECK(CountLit(device, {380, 480, 460, 500}) > 30); // the OK button
    CHECK(CountLit(device, {580, 480, 660, 500}) > 30); // the Reset button
    CHECK(CountLit(device, {710, 0, 800, 600}) == 0);   // right of the frame (20 + 680)
    CHECK(CountLit(device, {0, 550, 800, 600}) == 0);   // below it (20 + 520)
    resources.LoseDeviceObjects();
    resources.DestroyDeviceObjects();
}

}
