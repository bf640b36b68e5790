// Draws the GUI skin, a 256 x 256 RGBA picture holding every control's artwork in its own
// rectangle, and writes it as an uncompressed DDS file.
//   MakeSkin OUTPUT.dds [PREVIEW-FOLDER]
// With a preview folder it also writes skin-dark.png, skin-grey.png (the skin enlarged over a dark
// and a mid-grey ground) and skin-controls.png (the controls drawn at the sizes the dialog uses).
#include "SkinPreview.h"
#include "artwork/Image.h"
#include "artwork/Shapes.h"

#include <cstdio>
#include <exception>
#include <string>

using namespace shapes;

namespace {

constexpr int kSkinSize = 256;
constexpr int kSamples = 8;

Rgba Rgb(double r, double g, double b, double a = 1) { return {r, g, b, a}; }

// A skin rectangle and the size at which the dialog usually draws it; each picture is designed in
// those drawing units, so that corners look round and rims keep their width once stretched.
struct Region {
    int left, top, right, bottom;
    double width, height;
};

template <typename Shade> void PaintRegion(Image& image, const Region& r, Shade shade) {
    const double sx = r.width / (r.right - r.left);
    const double sy = r.height / (r.bottom - r.top);
    image.PaintRect(r.left, r.top, r.right, r.bottom, kSamples,
                    [&](double x, double y) { return shade((x - r.left) * sx, (y - r.top) * sy); });
}

// A rim of the given width inside the outline of a shape whose distance is d.
Rgba WithRim(Rgba body, Rgba rim, double d, double width) { return d > -width ? Over(body, rim) : body; }

Rgba ButtonFace(double u, double v) {
    const double d = RoundBox(u, v, 40, 10, 39.4, 9.4, 5.5);
    if (d > 0) {
        return {};
    }
    const double t = v / 20;
    Rgba c = Mix(Rgb(0.28, 0.31, 0.39, 0.80), Rgb(0.06, 0.07, 0.10, 0.88), t);
    c = Over(c, Rgb(1, 1, 1, 0.16 * (1 - Smooth(0.05, 0.5, t))));
    return WithRim(c, Mix(Rgb(0.88, 0.92, 1.0, 0.95), Rgb(0.42, 0.47, 0.58, 0.9), t), d, 1.1);
}

Rgba GlossyButton(double u, double v) {
    const double d = RoundBox(u, v, 40, 10, 39.4, 9.4, 5.5);
    if (d > 0) {
        return {};
    }
    const double t = v / 20;
    Rgba c = t < 0.5 ? Mix(Rgb(1, 1, 1), Rgb(0.90, 0.93, 0.97), t / 0.5)
                     : Mix(Rgb(0.78, 0.82, 0.89), Rgb(0.94, 0.96, 0.99), (t - 0.5) / 0.5);
    return WithRim(c, Rgb(0.48, 0.53, 0.61), d, 1.0);
}

Rgba ComboBar(double u, double v) {
    const double d = RoundBox(u, v, 50, 10, 49.4, 9.4, 4);
    if (d > 0) {
        return {};
    }
    const double t = v / 20;
    Rgba c = Mix(Rgb(0.97, 0.98, 1.0, 0.74), Rgb(0.72, 0.76, 0.84, 0.74), t);
    if (d > -2.2 && v < 2.8) {
        c = Over(c, Rgb(1, 1, 1, 0.45));
    }
    return WithRim(c, Rgb(0.08, 0.10, 0.14, 0.95), d, 1.2);
}

// A glossy blue ball of radius r centred in a 20 x 20 square.
Rgba BlueBall(double u, double v, double r) {
    const double d = Circle(u, v, 10, 10, r);
    if (d > 0) {
        return {};
    }
    const double light = Smooth(0, 1, std::hypot(u - 8.8, v - 7.0) / (1.45 * r));
    Rgba c = Mix(Rgb(0.38, 0.66, 1.0), Rgb(0.04, 0.20, 0.60), light);
    const double gx = (u - 10) / (0.68 * r), gy = (v - (10 - 0.42 * r)) / (0.42 * r);
    if (gx * gx + gy * gy < 1) {
        c = Over(c, Rgb(1, 1, 1, 0.55 * (1 - Smooth(-1, 1, gy))));
    }
    return WithRim(c, Rgb(0.02, 0.09, 0.30), d, 0.9);
}

Rgba DropButton(double u, double v) {
    Rgba c = BlueBall(u, v, 9.3);
    const double shadow[][2] = {{5.9, 8.7}, {14.1, 8.7}, {10, 13.7}};
    const double arrow[][2] = {{5.9, 8.1}, {14.1, 8.1}, {10, 13.1}};
    if (Polygon(u, v, shadow) < 0) {
        c = Over(c, Rgb(0, 0, 0.1, 0.35));
    }
    if (Polygon(u, v, arrow) < 0) {
        c = Over(c, Rgb(1, 1, 1, 0.98));
    }
    return c;
}

Rgba SliderTrack(double u, double v) {
    const double d = RoundBox(u, v, 70, 10, 68.6, 2.6, 2.6);
    if (d > 0) {
        return {};
    }
    Rgba c = Mix(Rgb(0.30, 0.34, 0.43, 0.95), Rgb(0.80, 0.86, 0.97, 0.95), Smooth(7.6, 12.6, v));
    return WithRim(c, Rgb(0.04, 0.05, 0.08, 0.92), d, 0.9);
}

Rgba ListPanel(double u, double v) {
    const double d = RoundBox(u, v, 42, 20, 41.6, 19.6, 2.5);
    if (d > 0) {
        return {};
    }
    Rgba c = Mix(Rgb(0.99, 0.99, 1.0, 0.97), Rgb(0.88, 0.90, 0.95, 0.97), v / 40);
    return WithRim(c, Rgb(0.42, 0.47, 0.56), d, 0.8);
}

Rgba SelectionBar(double u, double v) {
    const double d = RoundBox(u, v, 42, 8, 41.7, 7.7, 2.5);
    if (d > 0) {
        return {};
    }
    Rgba c = Mix(Rgb(0.30, 0.58, 1.0), Rgb(0.07, 0.30, 0.88), v / 16);
    if (d > -1.2) {
        c = Over(c, v < 8 ? Rgb(0.62, 0.80, 1.0, 0.8) : Rgb(0.03, 0.16, 0.58, 0.8));
    }
    return c;
}

// A blue-grey rounded square with a white triangle pointing up (dir -1) or down (dir +1).
Rgba ScrollArrow(double u, double v, int dir) {
    const double d = RoundBox(u, v, 8, 8, 7.5, 7.5, 3);
    if (d > 0) {
        return {};
    }
    Rgba c = Mix(Rgb(0.60, 0.68, 0.80), Rgb(0.34, 0.41, 0.53), v / 16);
    c = Over(c, Rgb(1, 1, 1, 0.18 * (1 - Smooth(2, 8, v))));
    c = WithRim(c, Rgb(0.13, 0.17, 0.24), d, 0.9);
    const double tip = 8 + 2.6 * dir, base = 8 - 2.4 * dir;
    const double arrow[][2] = {{4.4, base}, {11.6, base}, {8, tip}};
    if (Polygon(u, v, arrow) < 0) {
        c = Over(c, Rgb(1, 1, 1, 0.98));
    }
    return c;
}

// The scroll bar's channel; the same in every row so that it stretches to any height.
Rgba ScrollTrack(double u, double) {
    if (u < 2.2 || u > 13.8) {
        return {};
    }
    const double edge = std::min(u - 2.2, 13.8 - u);
    Rgba c = Mix(Rgb(0.16, 0.19, 0.25, 0.82), Rgb(0.30, 0.35, 0.44, 0.82), Smooth(0, 5.8, edge));
    return edge < 0.8 ? Over(c, Rgb(0.08, 0.10, 0.14, 0.9)) : c;
}

Rgba ScrollThumb(double u, double v) {
    const double d = RoundBox(u, v, 8, 18, 6.8, 17.2, 5.5);
    if (d > 0) {
        return {};
    }
    Rgba c = Mix(Rgb(0.76, 0.83, 0.94), Rgb(0.44, 0.52, 0.65), Smooth(0, 1, std::abs(u - 6.4) / 6.5));
    return WithRim(c, Rgb(0.13, 0.17, 0.24), d, 0.9);
}

Rgba SmallBox(double d, double t) {
    if (d > 0) {
        return {};
    }
    Rgba c = Mix(Rgb(0.26, 0.29, 0.37, 0.82), Rgb(0.07, 0.08, 0.11, 0.88), t);
    return WithRim(c, Mix(Rgb(0.88, 0.92, 1.0, 0.95), Rgb(0.45, 0.5, 0.6, 0.9), t), d, 1.3);
}

Rgba CheckMark(double u, double v) {
    const double d = std::min(Segment(u, v, 7, 14, 11.5, 19), Segment(u, v, 11.5, 19, 20.5, 7.5)) - 1.7;
    return d < 0 ? Rgb(1, 1, 1) : Rgba{};
}

// Transparent pixels take the colour of their nearest drawn neighbours, so that filtering across
// a picture's edge blends toward its own colour instead of darkening it.
void BleedColour(Image& image, const Region& r) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    std::vector<char> known(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            known[y * w + x] = image.Get(r.left + x, r.top + y).a > 0;
        }
    }
    for (bool changed = true; changed;) {
        changed = false;
        std::vector<char> next = known;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                if (known[y * w + x]) {
                    continue;
                }
                Rgba sum;
                int n = 0;
                for (int j = std::max(0, y - 1); j <= std::min(h - 1, y + 1); ++j) {
                    for (int i = std::max(0, x - 1); i <= std::min(w - 1, x + 1); ++i) {
                        if (known[j * w + i]) {
                            Rgba c = image.Get(r.left + i, r.top + j);
                            sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b, 0};
                            ++n;
                        }
                    }
                }
                if (n > 0) {
                    image.Set(r.left + x, r.top + y, {sum.r / n, sum.g / n, sum.b / n, 0});
                    next[y * w + x] = 1;
                    changed = true;
                }
            }
        }
        known.swap(next);
    }
}

Image DrawSkin() {
    Image skin(kSkinSize, kSkinSize);
    struct Piece {
        Region region;
        Rgba (*shade)(double, double);
    };
    const Piece pieces[] = {
        {{0, 0, 136, 54, 80, 20}, ButtonFace},
        {{136, 0, 252, 54, 80, 20}, GlossyButton},
        {{0, 54, 27, 81, 27, 27}, [](double u, double v) { return SmallBox(RoundBox(u, v, 13.5, 13.5, 11, 11, 3), v / 27); }},
        {{27, 54, 54, 81, 27, 27}, CheckMark},
        {{54, 54, 81, 81, 27, 27}, [](double u, double v) { return SmallBox(Circle(u, v, 13.5, 13.5, 11), v / 27); }},
        {{81, 54, 108, 81, 27, 27}, [](double u, double v) { return Circle(u, v, 13.5, 13.5, 5) < 0 ? Rgb(1, 1, 1) : Rgba{}; }},
        {{7, 81, 247, 123, 100, 20}, ComboBar},
        {{13, 123, 241, 160, 84, 40}, ListPanel},
        {{12, 163, 239, 183, 84, 16}, SelectionBar},
        {{1, 187, 93, 228, 140, 20}, SliderTrack},
        {{98, 189, 151, 238, 20, 20}, DropButton},
        {{151, 193, 192, 234, 20, 20}, [](double u, double v) { return BlueBall(u, v, 8.8); }},
        {{196, 192, 218, 212, 16, 16}, [](double u, double v) { return ScrollArrow(u, v, -1); }},
        {{196, 212, 218, 223, 16, 11}, ScrollTrack},
        {{196, 223, 218, 244, 16, 16}, [](double u, double v) { return ScrollArrow(u, v, 1); }},
        {{220, 192, 238, 234, 16, 36}, ScrollThumb},
    };
    for (const Piece& piece : pieces) {
        PaintRegion(skin, piece.region, piece.shade);
        BleedColour(skin, piece.region);
    }
    return skin;
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>(v >> shift));
    }
}

// The DDS file: magic, 124-byte header, then the pixels as red, green, blue, alpha bytes.
std::vector<std::uint8_t> EncodeDds(const Image& image) {
    std::vector<std::uint8_t> out{'D', 'D', 'S', ' '};
    const std::uint32_t header[31] = {
        124, 0x1007, static_cast<std::uint32_t>(image.Height()), static_cast<std::uint32_t>(image.Width()), 0, 0, 0,
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, // reserved
        32, 0x41, 0, 32, 0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000,
        0x1002, 0, 0, 0, 0};
    for (std::uint32_t v : header) {
        PutU32(out, v);
    }
    out.insert(out.end(), image.Bytes().begin(), image.Bytes().end());
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: MakeSkin OUTPUT.dds [PREVIEW-FOLDER]\n");
        return 2;
    }
    try {
        const Image skin = DrawSkin();
        WriteFile(argv[1], EncodeDds(skin));
        if (argc == 3) {
            WriteSkinPreviews(skin, argv[2]);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "MakeSkin: %s\n", e.what());
        return 1;
    }
    return 0;
}
