// An 8-bit RGBA picture for the artwork generators, with PNG output.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Rgba {
    double r = 0, g = 0, b = 0, a = 0; // 0..1, not premultiplied
};

class Image {
public:
    Image(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    void Set(int x, int y, Rgba c);
    Rgba Get(int x, int y) const;

    // Fills every pixel from a function of the pixel's area, sampled n by n times.
    template <typename Shade> void Paint(int samples, Shade shade) { PaintRect(0, 0, width_, height_, samples, shade); }

    // The same for the pixels x0 <= x < x1, y0 <= y < y1 only; shade takes image coordinates.
    template <typename Shade> void PaintRect(int x0, int y0, int x1, int y1, int samples, Shade shade) {
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                Rgba sum;
                for (int j = 0; j < samples; ++j) {
                    for (int i = 0; i < samples; ++i) {
                        Rgba c = shade(x + (i + 0.5) / samples, y + (j + 0.5) / samples);
                        sum.r += c.r * c.a;
                        sum.g += c.g * c.a;
                        sum.b += c.b * c.a;
                        sum.a += c.a;
                    }
                }
                Rgba out;
                if (sum.a > 0) {
                    out = {sum.r / sum.a, sum.g / sum.a, sum.b / sum.a, sum.a / (samples * samples)};
                }
                Set(x, y, out);
            }
        }
    }

    // The pixels, 4 bytes each (red, green, blue, alpha), top row first.
    const std::vector<std::uint8_t>& Bytes() const { return rgba_; }

    // PNG bytes, 8 bits per channel: colour type 2 (RGB) or 6 (RGBA).
    std::vector<std::uint8_t> EncodePng(bool withAlpha) const;

private:
    int width_;
    int height_;
    std::vector<std::uint8_t> rgba_;
};

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
