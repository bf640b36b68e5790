// Glyphs made by GDI (GGO_GRAY8_BITMAP, 65 grey levels) packed into texture pages in rows, and
// strings laid out like DrawTextW and drawn glyph by glyph through a sprite batch.
#include "graphics/TextFont.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <cwchar>

namespace {

constexpr int PageSize = 512;
// Bounds the memory a font can take, whatever text it is given: past this, new glyphs are not drawn.
constexpr size_t MaxPages = 8;
constexpr int Padding = 1;

const MAT2 Identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};

} // namespace

const std::vector<std::wstring>& JapaneseFallbackFaces() {
    static const std::vector<std::wstring> faces{L"Meiryo UI",        L"Yu Gothic UI", L"MS UI Gothic",
                                                 L"MS Gothic",        L"Noto Sans CJK JP",
                                                 L"Noto Sans JP",     L"IPAGothic"};
    return faces;
}

TextFont::TextFont(IDirect3DDevice9* newDevice, const wchar_t* faceName, int fontHeight, int fontWeight)
    : device(newDevice), face(faceName ? faceName : L""), height(fontHeight), weight(fontWeight) {
    if (!device) {
        status = E_INVALIDARG;
        return;
    }
    dc.reset(CreateCompatibleDC(nullptr));
    font.reset(CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str()));
    TEXTMETRICW metrics = {};
    if (!dc || !font || !SelectObject(dc.get(), font.get()) || !GetTextMetricsW(dc.get(), &metrics)) {
        status = E_FAIL;
        return;
    }
    lineHeight = metrics.tmHeight;
    ascent = metrics.tmAscent;
}

TextFont::~TextFont() = default;

// The first face of the list that is installed and has Japanese glyphs, at the same height and weight.
// Asking for a face that is not installed gives another face: under Wine one without Japanese glyphs,
// or some other face of a font collection; so both the name and the glyphs are checked.
bool TextFont::MakeFallback() {
    fallbackTried = true;
    DcHandle candidateDc(CreateCompatibleDC(nullptr));
    if (!candidateDc) {
        return false;
    }
    for (const std::wstring& name : JapaneseFallbackFaces()) {
        FontHandle candidate(CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                         DEFAULT_PITCH | FF_DONTCARE, name.c_str()));
        if (!candidate || !SelectObject(candidateDc.get(), candidate.get())) {
            continue;
        }
        wchar_t chosen[LF_FACESIZE] = {};
        const wchar_t probe[] = {0x3042, 0x6F22}; // hiragana a, kanji kan
        WORD indices[2] = {};
        if (GetTextFaceW(candidateDc.get(), LF_FACESIZE, chosen) > 0 &&
            CompareStringOrdinal(chosen, -1, name.c_str(), -1, TRUE) == CSTR_EQUAL &&
            GetGlyphIndicesW(candidateDc.get(), probe, 2, indices, GGI_MARK_NONEXISTING_GLYPHS) == 2 &&
            indices[0] != 0xFFFF && indices[1] != 0xFFFF) {
            fallbackFont = std::move(candidate);
            fallbackDc = std::move(candidateDc);
            return true;
        }
    }
    return false;
}

// The primary face when it has the character; else the fallback face when that has it; else the
// primary face (which then shows its missing-glyph shape).
HDC TextFont::FaceWith(wchar_t c) {
    WORD index = 0;
    if (GetGlyphIndicesW(dc.get(), &c, 1, &index, GGI_MARK_NONEXISTING_GLYPHS) == 1 && index != 0xFFFF) {
        return dc.get();
    }
    if (!fallbackTried) {
        MakeFallback();
    }
    if (fallbackDc &&
        GetGlyphIndicesW(fallbackDc.get(), &c, 1, &index, GGI_MARK_NONEXISTING_GLYPHS) == 1 &&
        index != 0xFFFF) {
        return fallbackDc.get();
    }
    return dc.get();
}

// Finds room in the pages, row by row, making a new page when the last one is full.
bool TextFont::Place(int width, int glyphHeight, Glyph& glyph) {
    const int w = width + Padding;
    const int h = glyphHeight + Padding;
    if (w > PageSize || h > PageSize) {
        return false;
    }
    if (!pages.empty() && shelfX + w > PageSize) {
        shelfX = 0;
        shelfY += shelfHeight;
        shelfHeight = 0;
    }
    if (pages.empty() || shelfY + h > PageSize) {
        if (pages.size() >= MaxPages) {
            return false;
        }
        Microsoft::WRL::ComPtr<IDirect3DTexture9> page;
        if (FAILED(device->CreateTexture(PageSize, PageSize, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                         page.GetAddressOf(), nullptr))) {
            return false;
        }
        D3DLOCKED_RECT locked = {};
        if (FAILED(page->LockRect(0, &locked, nullptr, 0))) {
            return false;
        }
        for (int y = 0; y < PageSize; ++y) {
            std::memset(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch, 0, PageSize * 4);
        }
        page->UnlockRect(0);
        pages.push_back(page);
        shelfX = 0;
        shelfY = 0;
        shelfHeight = 0;
    }
    glyph.page = static_cast<int>(pages.size() - 1);
    glyph.source = {shelfX, shelfY, shelfX + width, shelfY + glyphHeight};
    shelfX += w;
    shelfHeight = std::max(shelfHeight, h);
    return true;
}

TextFont::Glyph TextFont::Rasterise(HDC face, wchar_t c) {
    Glyph glyph;
    GLYPHMETRICS metrics = {};
    const DWORD size = GetGlyphOutlineW(face, c, GGO_GRAY8_BITMAP, &metrics, 0, nullptr, &Identity);
    if (size == GDI_ERROR) {
        if (GetGlyphOutlineW(face, c, GGO_METRICS, &metrics, 0, nullptr, &Identity) != GDI_ERROR) {
            glyph.advance = metrics.gmCellIncX;
        }
        return glyph;
    }
    glyph.advance = metrics.gmCellIncX;
    if (size == 0) {
        return glyph; // no ink: a space
    }
    std::vector<BYTE> grey(size);
    if (GetGlyphOutlineW(face, c, GGO_GRAY8_BITMAP, &metrics, size, grey.data(), &Identity) == GDI_ERROR) {
        return glyph;
    }
    ++glyphsRasterised;
    const int width = static_cast<int>(metrics.gmBlackBoxX);
    const int rows = static_cast<int>(metrics.gmBlackBoxY);
    const int pitch = (width + 3) & ~3;
    if (static_cast<size_t>(pitch) * rows > grey.size() || !Place(width, rows, glyph)) {
        glyph.page = -1;
        return glyph;
    }
    // One pixel up and left of where GDI's own text output puts the image: where the dialog's texts
    // have always stood (measured against the earlier drawing: every glyph sat there).
    glyph.offsetX = metrics.gmptGlyphOrigin.x - 1;
    glyph.offsetY = ascent - metrics.gmptGlyphOrigin.y - 1;
    D3DLOCKED_RECT locked = {};
    if (FAILED(pages[glyph.page]->LockRect(0, &locked, &glyph.source, 0))) {
        glyph.page = -1;
        return glyph;
    }
    for (int y = 0; y < rows; ++y) {
        auto* texel = reinterpret_cast<DWORD*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch);
        for (int x = 0; x < width; ++x) {
            const DWORD level = std::min<DWORD>(grey[y * pitch + x], 64);
            texel[x] = ((level * 255 + 32) / 64) << 24 | 0x00FFFFFF;
        }
    }
    pages[glyph.page]->UnlockRect(0);
    return glyph;
}

const TextFont::Glyph& TextFont::GlyphOf(wchar_t c) {
    const auto found = glyphs.find(c);
    if (found != glyphs.end()) {
        return found->second;
    }
    return glyphs.emplace(c, Rasterise(FaceWith(c), c)).first->second;
}

int TextFont::LineWidth(const wchar_t* line, size_t length) {
    int width = 0;
    for (size_t i = 0; i < length; ++i) {
        width += GlyphOf(line[i]).advance;
    }
    return width;
}

int TextFont::Draw(SpriteBatch* batch, const wchar_t* text, int count, RECT* rect, UINT format,
                   D3DCOLOR color) {
    if (FAILED(status) || !text || !rect) {
        return 0;
    }
    const bool calculate = (format & TextFormat::CalculateRect) != 0;
    if (!calculate && (!batch || !batch->IsOpen())) {
        return 0;
    }
    const size_t length = count < 0 ? std::wcslen(text) : static_cast<size_t>(count);
    struct Line {
        size_t start, length;
        int width;
    };
    std::vector<Line> lines;
    size_t start = 0;
    for (size_t i = 0; i <= length; ++i) {
        const bool breaks = i == length || ((format & TextFormat::SingleLine) == 0 && text[i] == L'\n');
        if (breaks) {
            size_t end = i;
            if (end > start && text[end - 1] == L'\r') {
                --end;
            }
            lines.push_back({start, end - start, LineWidth(text + start, end - start)});
            start = i + 1;
        }
    }
    const int textHeight = static_cast<int>(lines.size()) * lineHeight;
    int y = rect->top;
    if (format & TextFormat::Bottom) {
        y = rect->bottom - textHeight;
    } else if (format & TextFormat::VerticalCenter) {
        y = rect->top + (rect->bottom - rect->top - textHeight) / 2;
    }
    const int top = y;
    const bool clip = (format & TextFormat::NoClip) == 0;
    RECT box = {LONG_MAX, top, LONG_MIN, top + textHeight};
    for (const Line& line : lines) {
        int x = rect->left;
        if (format & TextFormat::Right) {
            x = rect->right - line.width;
        } else if (format & TextFormat::Center) {
            x = rect->left + (rect->right - rect->left - line.width) / 2;
        }
        box.left = std::min<LONG>(box.left, x);
        box.right = std::max<LONG>(box.right, x + line.width);
        for (size_t i = 0; i < line.length && !calculate; ++i) {
            const Glyph& glyph = GlyphOf(text[line.start + i]);
            if (glyph.page >= 0) {
                RECT source = glyph.source;
                RECT target = {x + glyph.offsetX, y + glyph.offsetY, 0, 0};
                target.right = target.left + (source.right - source.left);
                target.bottom = target.top + (source.bottom - source.top);
                if (clip) {
                    source.left += std::max(0L, rect->left - target.left);
                    source.top += std::max(0L, rect->top - target.top);
                    source.right -= std::max(0L, target.right - rect->right);
                    source.bottom -= std::max(0L, target.bottom - rect->bottom);
                    target.left = std::max(target.left, rect->left);
                    target.top = std::max(target.top, rect->top);
                }
                const Matrix2D at{1.0f, 0.0f, 0.0f, 1.0f, static_cast<float>(target.left),
                                  static_cast<float>(target.top)};
                if (FAILED(batch->Draw(pages[glyph.page].Get(), &source, at, color))) {
                    return 0;
                }
            }
            x += glyph.advance;
        }
        y += lineHeight;
    }
    const int height =
        (format & (TextFormat::Bottom | TextFormat::VerticalCenter)) ? top + textHeight - rect->top : textHeight;
    if (calculate) {
        *rect = box;
    }
    return height;
}
