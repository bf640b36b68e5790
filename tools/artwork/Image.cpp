// Pictures of the artwork generators, written as PNG files.
#include "artwork/Image.h"

#include "graphics/PngEncoder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace {

std::uint8_t ToByte(double v) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
}

} // namespace

Image::Image(int width, int height)
    : width_(width), height_(height), rgba_(static_cast<std::size_t>(width) * height * 4) {}

void Image::Set(int x, int y, Rgba c) {
    std::uint8_t* p = &rgba_[(static_cast<std::size_t>(y) * width_ + x) * 4];
    p[0] = ToByte(c.r);
    p[1] = ToByte(c.g);
    p[2] = ToByte(c.b);
    p[3] = ToByte(c.a);
}

Rgba Image::Get(int x, int y) const {
    const std::uint8_t* p = &rgba_[(static_cast<std::size_t>(y) * width_ + x) * 4];
    return {p[0] / 255.0, p[1] / 255.0, p[2] / 255.0, p[3] / 255.0};
}

std::vector<std::uint8_t> Image::EncodePng(bool withAlpha) const {
    RgbaImage image{static_cast<std::uint32_t>(width_), static_cast<std::uint32_t>(height_), 4, rgba_};
    std::vector<std::uint8_t> png = ::EncodePng(image, withAlpha);
    if (png.empty()) {
        throw std::runtime_error("PNG encoding failed");
    }
    return png;
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) {
        throw std::runtime_error("cannot write " + path);
    }
    std::fclose(f);
}
