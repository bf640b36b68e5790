// Text in one face, height and weight: glyphs rasterised by GDI with grey-level anti-aliasing into
// texture pages when first needed, kept there, and drawn as sprites.
#pragma once

#include "graphics/SpriteBatch.h"

#include <d3d9.h>
#include <wrl/client.h>

#include <memory>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <vector>

// The format flags understood, with the values of the Win32 DT_ flags of the same meaning.
namespace TextFormat {
constexpr UINT Left = 0x0;
constexpr UINT Center = 0x1;
constexpr UINT Right = 0x2;
constexpr UINT Top = 0x0;
constexpr UINT VerticalCenter = 0x4;
constexpr UINT Bottom = 0x8;
constexpr UINT SingleLine = 0x20;
constexpr UINT NoClip = 0x100;
constexpr UINT CalculateRect = 0x400;
} // namespace TextFormat

class TextFont {
public:
    // Height in pixels as for CreateFontW (positive: the cell height); weight as FW_NORMAL and the like.
    // The glyph pages live in the managed pool, so a device reset keeps them and needs no call here.
    TextFont(IDirect3DDevice9* device, const wchar_t* faceName, int height, int weight);
    TextFont(const TextFont&) = delete;
    TextFont& operator=(const TextFont&) = delete;
    ~TextFont();

    // S_OK when the face could be made.
    HRESULT Status() const { return status; }

    // Draws `count` characters (-1: up to the terminator) into `rect` through an open batch, in the
    // way of DrawTextW: lines break at line feeds unless SingleLine; each line is aligned by the
    // horizontal flags and the block of lines by the vertical ones; glyphs are cut at the rectangle
    // unless NoClip. CalculateRect draws nothing and sets rect's right and bottom to the text's size.
    // Returns the text's height in pixels (from rect's top when centred or at the bottom), 0 on failure.
    int Draw(SpriteBatch* batch, const wchar_t* text, int count, RECT* rect, UINT format, D3DCOLOR color);

    int LineHeight() const { return lineHeight; }
    // How many glyph images GDI has made for this font so far: each character once.
    unsigned GlyphsRasterised() const { return glyphsRasterised; }

private:
    struct Glyph {
        int page = -1;   // -1: nothing to draw (a space, or no room left)
        RECT source{};   // in the page
        int offsetX = 0; // from the pen position to the image's left edge
        int offsetY = 0; // from the line's top to the image's top edge
        int advance = 0;
    };
    struct FontDeleter {
        void operator()(HFONT font) const { DeleteObject(font); }
    };
    struct DcDeleter {
        void operator()(HDC dc) const { DeleteDC(dc); }
    };
    using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;
    using DcHandle = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

    const Glyph& GlyphOf(wchar_t c);
    HDC FaceWith(wchar_t c);
    bool MakeFallback();
    Glyph Rasterise(HDC dc, wchar_t c);
    bool Place(int width, int height, Glyph& glyph);
    int LineWidth(const wchar_t* line, size_t length);

    Microsoft::WRL::ComPtr<IDirect3DDevice9> device;
    std::wstring face;
    int height;
    int weight;
    HRESULT status = S_OK;
    DcHandle dc;
    FontHandle font;
    DcHandle fallbackDc;
    FontHandle fallbackFont;
    bool fallbackTried = false;
    int lineHeight = 0;
    int ascent = 0;
    std::unordered_map<wchar_t, Glyph> glyphs;
    std::vector<Microsoft::WRL::ComPtr<IDirect3DTexture9>> pages;
    int shelfX = 0;
    int shelfY = 0;
    int shelfHeight = 0;
    unsigned glyphsRasterised = 0;
};

// The faces tried, in order, for characters that the chosen face lacks: Japanese faces of Windows and
// of common free font packages.
const std::vector<std::wstring>& JapaneseFallbackFaces();
