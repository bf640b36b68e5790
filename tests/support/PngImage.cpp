// PNG decoding for the tests, with zlib's inflate.
#include "support/PngImage.h"

#include <zlib.h>

#include <cstdlib>
#include <cstring>

namespace {

std::uint32_t ReadU32(const std::uint8_t* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

int Paeth(int a, int b, int c) {
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : (pb <= pc ? b : c);
}

// Undoes the per-row filters in place; rows are 1 filter byte plus `stride` bytes.
bool Unfilter(std::vector<std::uint8_t>& raw, int height, std::size_t stride, int bpp, std::string& error) {
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = &raw[y * (stride + 1)];
        const std::uint8_t* prior = y > 0 ? &raw[(y - 1) * (stride + 1) + 1] : nullptr;
        std::uint8_t* px = row + 1;
        for (std::size_t i = 0; i < stride; ++i) {
            const int a = i >= std::size_t(bpp) ? px[i - bpp] : 0;
            const int b = prior ? prior[i] : 0;
            const int c = prior && i >= std::size_t(bpp) ? prior[i - bpp] : 0;
            int add;
            switch (row[0]) {
            case 0: add = 0; break;
            case 1: add = a; break;
            case 2: add = b; break;
            case 3: add = (a + b) / 2; break;
            case 4: add = Paeth(a, b, c); break;
            default: error = "unknown filter type " + std::to_string(row[0]); return false;
            }
            px[i] = static_cast<std::uint8_t>(px[i] + add);
        }
    }
    return true;
}

// Walks the chunks after the signature: reads the header into image and gathers the compressed data.
bool ReadChunks(const std::uint8_t* data, std::size_t size, PngImage& image, std::vector<std::uint8_t>& packed,
                std::string& error) {
    bool header = false, end = false;
    for (std::size_t pos = 8; pos < size && !end;) {
        if (size - pos < 12) {
            error = "truncated chunk";
            return false;
        }
        const std::uint32_t length = ReadU32(data + pos);
        if (length > size - pos - 12) {
            error = "chunk runs past the end";
            return false;
        }
        const std::uint8_t* type = data + pos + 4;
        const std::uint8_t* body = type + 4;
        if (crc32(0, type, length + 4) != ReadU32(body + length)) {
            error = "bad CRC in chunk " + std::string(reinterpret_cast<const char*>(type), 4);
            return false;
        }
        if (std::memcmp(type, "IHDR", 4) == 0 && length == 13) {
            image.width = static_cast<int>(ReadU32(body));
            image.height = static_cast<int>(ReadU32(body + 4));
            image.bitDepth = body[8];
            image.colourType = body[9];
            image.interlace = body[12];
            header = true;
        } else if (std::memcmp(type, "IDAT", 4) == 0) {
            packed.insert(packed.end(), body, body + length);
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            end = true;
        }
        pos += 12 + length;
    }
    if (!header || !end) {
        error = "missing IHDR or IEND";
        return false;
    }
    return true;
}

// Copies the unfiltered rows into the image's RGBA pixels.
void ExpandToRgba(const std::vector<std::uint8_t>& raw, std::size_t stride, int channels, PngImage& image) {
    image.rgba.assign(std::size_t(image.width) * image.height * 4, 255);
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* src = &raw[y * (stride + 1) + 1];
        for (int x = 0; x < image.width; ++x, src += channels) {
            std::uint8_t* dst = &image.rgba[(std::size_t(y) * image.width + x) * 4];
            for (int k = 0; k < 3; ++k) {
                dst[k] = src[channels >= 3 ? k : 0];
            }
            if (channels == 4) {
                dst[3] = src[3];
            }
        }
    }
}

} // namespace

bool DecodePng(const std::uint8_t* data, std::size_t size, PngImage& image, std::string& error) {
    static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size < 8 || std::memcmp(data, kSignature, 8) != 0) {
        error = "no PNG signature";
        return false;
    }
    std::vector<std::uint8_t> packed;
    if (!ReadChunks(data, size, image, packed, error)) {
        return false;
    }
    const int channels = image.colourType == 0 ? 1 : image.colourType == 2 ? 3 : image.colourType == 6 ? 4 : 0;
    if (channels == 0 || image.bitDepth != 8 || image.interlace != 0 || image.width <= 0 || image.height <= 0 ||
        image.width > 16384 || image.height > 16384) {
        error = "unsupported format";
        return false;
    }
    const std::size_t stride = std::size_t(image.width) * channels;
    std::vector<std::uint8_t> raw((stride + 1) * image.height);
    uLongf rawSize = static_cast<uLongf>(raw.size());
    if (uncompress(raw.data(), &rawSize, packed.data(), static_cast<uLong>(packed.size())) != Z_OK ||
        rawSize != raw.size()) {
        error = "compressed data does not inflate to the image size";
        return false;
    }
    if (!Unfilter(raw, image.height, stride, channels, error)) {
        return false;
    }
    ExpandToRgba(raw, stride, channels, image);
    return true;
}
