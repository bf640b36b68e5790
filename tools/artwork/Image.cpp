// PNG encoding with zlib, for the artwork generators.
#include "artwork/Image.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace {

std::uint8_t ToByte(double v) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(v >> shift));
    }
}

void PutChunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data) {
    PutU32(out, static_cast<std::uint32_t>(data.size()));
    std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    uLong crc = crc32(0, out.data() + start, static_cast<uInt>(out.size() - start));
    PutU32(out, static_cast<std::uint32_t>(crc));
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
    const int channels = withAlpha ? 4 : 3;
    std::vector<std::uint8_t> raw;
    raw.reserve(static_cast<std::size_t>(height_) * (1 + width_ * channels));
    for (int y = 0; y < height_; ++y) {
        raw.push_back(0); // filter: none
        for (int x = 0; x < width_; ++x) {
            const std::uint8_t* p = &rgba_[(static_cast<std::size_t>(y) * width_ + x) * 4];
            raw.insert(raw.end(), p, p + channels);
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK) {
        throw std::runtime_error("zlib compression failed");
    }
    packed.resize(packedSize);

    std::vector<std::uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    PutU32(header, static_cast<std::uint32_t>(width_));
    PutU32(header, static_cast<std::uint32_t>(height_));
    header.insert(header.end(), {8, static_cast<std::uint8_t>(withAlpha ? 6 : 2), 0, 0, 0});
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", packed);
    PutChunk(png, "IEND", {});
    return png;
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) {
        throw std::runtime_error("cannot write " + path);
    }
    std::fclose(f);
}
