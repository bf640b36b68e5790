// Preview pictures of the skin: enlarged copies and a mock dialog drawn with bilinear stretching.
#include "SkinPreview.h"

#include "artwork/Shapes.h"

#include <cmath>
#include <cstdint>

using namespace shapes;

namespace {

struct Rect {
    int left, top, right, bottom;
};

Rgba Texel(const Image& image, int x, int y) {
    return image.Get(std::clamp(x, 0, image.Width() - 1), std::clamp(y, 0, image.Height() - 1));
}

// Bilinear sample with texel centres at half-integer coordinates, as the GPU filters.
Rgba Sample(const Image& image, double u, double v) {
    const double fx = u - 0.5, fy = v - 0.5;
    const int x = static_cast<int>(std::floor(fx)), y = static_cast<int>(std::floor(fy));
    const double tx = fx - x, ty = fy - y;
    Rgba top = Mix(Texel(image, x, y), Texel(image, x + 1, y), tx);
    Rgba bottom = Mix(Texel(image, x, y + 1), Texel(image, x + 1, y + 1), tx);
    return Mix(top, bottom, ty);
}

void Blend(Image& canvas, int x, int y, Rgba c) {
    if (x < 0 || y < 0 || x >= canvas.Width() || y >= canvas.Height()) {
        return;
    }
    Rgba d = canvas.Get(x, y);
    canvas.Set(x, y, {d.r + (c.r - d.r) * c.a, d.g + (c.g - d.g) * c.a, d.b + (c.b - d.b) * c.a, 1});
}

// The skin rectangle src stretched over dst, tinted by an 0xAARRGGBB colour.
void DrawElement(Image& canvas, const Image& skin, Rect src, Rect dst, std::uint32_t tint) {
    const double ta = (tint >> 24) / 255.0, tr = ((tint >> 16) & 0xFF) / 255.0;
    const double tg = ((tint >> 8) & 0xFF) / 255.0, tb = (tint & 0xFF) / 255.0;
    const double sx = double(src.right - src.left) / (dst.right - dst.left);
    const double sy = double(src.bottom - src.top) / (dst.bottom - dst.top);
    for (int y = dst.top; y < dst.bottom; ++y) {
        for (int x = dst.left; x < dst.right; ++x) {
            Rgba t = Sample(skin, src.left + (x - dst.left + 0.5) * sx, src.top + (y - dst.top + 0.5) * sy);
            Blend(canvas, x, y, {t.r * tr, t.g * tg, t.b * tb, t.a * ta});
        }
    }
}

Rect Moved(Rect r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

Image Enlarged(const Image& image, int k, Rgba ground) {
    Image out(image.Width() * k, image.Height() * k);
    out.Paint(1, [&](double x, double y) {
        Rgba c = image.Get(static_cast<int>(x) / k, static_cast<int>(y) / k);
        return Over(ground, c);
    });
    return out;
}

constexpr Rect kFace{0, 0, 136, 54}, kFill{136, 0, 252, 54}, kCombo{7, 81, 247, 123}, kDrop{98, 189, 151, 238};
constexpr Rect kList{13, 123, 241, 160}, kSelection{12, 163, 239, 183}, kTrack{1, 187, 93, 228};
constexpr Rect kThumb{151, 193, 192, 234}, kUp{196, 192, 218, 212}, kBar{196, 212, 218, 223};
constexpr Rect kDown{196, 223, 218, 244}, kBarThumb{220, 192, 238, 234};

void Button(Image& c, const Image& s, int x, int y, std::uint32_t face, std::uint32_t fill, int dx, int dy) {
    Rect r = Moved({x, y, x + 80, y + 20}, dx, dy);
    DrawElement(c, s, kFace, r, face);
    DrawElement(c, s, kFill, r, fill);
}

void Combo(Image& c, const Image& s, int x, int y, std::uint32_t main, std::uint32_t drop, bool open) {
    if (open) {
        const Rect list{x, y + 18, x + 84, y + 20 + 18 + 72};
        DrawElement(c, s, kList, list, 0xFFFFFFFF);
        DrawElement(c, s, kSelection, {list.left, list.top + 9 + 24 - 2, list.right, list.top + 9 + 36 + 2}, 0xFFFFFFFF);
        const int sx = list.right, top = list.top + 2, bottom = list.bottom;
        DrawElement(c, s, kBar, {sx, top + 16, sx + 16, bottom - 16}, 0xFFFFFFFF);
        DrawElement(c, s, kUp, {sx, top, sx + 16, top + 16}, 0xFFFFFFFF);
        DrawElement(c, s, kDown, {sx, bottom - 16, sx + 16, bottom}, 0xFFFFFFFF);
        DrawElement(c, s, kBarThumb, {sx, top + 24, sx + 16, top + 52}, 0xFFFFFFFF);
    }
    DrawElement(c, s, kDrop, {x + 100, y, x + 120, y + 20}, drop);
    DrawElement(c, s, kCombo, {x, y, x + 100, y + 20}, main);
}

void Slider(Image& c, const Image& s, int x, int y, double value, std::uint32_t track) {
    DrawElement(c, s, kTrack, {x, y, x + 140, y + 20}, track);
    const int thumbX = x - 10 + static_cast<int>(value * 140);
    DrawElement(c, s, kThumb, {thumbX, y, thumbX + 20, y + 20}, 0xFFFFFFFF);
}

// A stand-in for the running pattern behind the dialog: dark, with a few coloured glows.
Rgba Backdrop(double x, double y) {
    const double glows[][5] = {{60, 40, 0.9, 0.2, 0.4}, {250, 120, 0.2, 0.8, 0.5}, {360, 30, 0.3, 0.4, 1.0},
                               {150, 190, 1.0, 0.8, 0.2}};
    Rgba c{0.02, 0.02, 0.04, 1};
    for (const auto& g : glows) {
        const double k = 0.55 * std::exp(-(std::pow(x - g[0], 2) + std::pow(y - g[1], 2)) / 3000);
        c = {c.r + g[2] * k, c.g + g[3] * k, c.b + g[4] * k, 1};
    }
    // The dialog's own gradient: white at 20 % in two opposite corners, clear in the others.
    const double w = 0.2 * ((x / 400) * (1 - y / 210) + (1 - x / 400) * (y / 210));
    return Mix(c, Rgba{1, 1, 1, 1}, w);
}

Image Controls(const Image& skin) {
    Image canvas(400, 210);
    canvas.Paint(1, Backdrop);
    // Buttons: normal, focused, under the pointer, pressed.
    Button(canvas, skin, 20, 20, 0x96FFFFFF, 0x00FFFFFF, 0, 0);
    Button(canvas, skin, 110, 20, 0xFFFFFFFF, 0x1EFFFFFF, 0, 0);
    Button(canvas, skin, 200, 20, 0xFFFFFFFF, 0xA0FFFFFF, -1, -2);
    Button(canvas, skin, 290, 20, 0xC8FFFFFF, 0x3C000000, 1, 2);
    Combo(canvas, skin, 20, 60, 0x96C8C8C8, 0x96FFFFFF, false);
    Combo(canvas, skin, 20, 95, 0xFFFFFFFF, 0xFFFFFFFF, false);
    Combo(canvas, skin, 200, 60, 0xFFFFFFFF, 0xFF969696, true);
    Slider(canvas, skin, 20, 140, 0.3, 0x96FFFFFF);
    Slider(canvas, skin, 20, 175, 0.75, 0xC8FFFFFF);
    return canvas;
}

} // namespace

void WriteSkinPreviews(const Image& skin, const std::string& folder) {
    WriteFile(folder + "/skin-dark.png", Enlarged(skin, 3, {0.05, 0.06, 0.08, 1}).EncodePng(false));
    WriteFile(folder + "/skin-grey.png", Enlarged(skin, 3, {0.5, 0.5, 0.5, 1}).EncodePng(false));
    WriteFile(folder + "/skin-controls.png", Enlarged(Controls(skin), 3, {0, 0, 0, 1}).EncodePng(false));
}
