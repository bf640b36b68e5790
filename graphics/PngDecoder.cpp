// PNG decoding with zlib's inflate; every length and size is checked before it is used.
#include "graphics/PngDecoder.h"

#include "graphics/GraphicsErrors.h"
#include "graphics/PngFormat.h"

#include <zlib.h>

#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

struct Header {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int channels = 0;
};

// Deflate cannot pack more than about 1032 bytes into one; more claimed output means the header lies.
constexpr std::uint64_t MaxInflateRatio = 1032;

int Paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : (pb <= pc ? b : c);
}

int ChannelsOf(std::uint8_t colourType) {
    switch (colourType) {
    case 0:
        return 1;
    case 2:
        return 3;
    case 4:
        return 2;
    case 6:
        return 4;
    default:
        return 0; // palette images and unknown types
    }
}

bool ReadHeader(const std::uint8_t* body, std::uint32_t length, Header& header) {
    if (length != 13) {
        return false;
    }
    header.width = PngFormat::ReadU32(body);
    header.height = PngFormat::ReadU32(body + 4);
    header.channels = ChannelsOf(body[9]);
    const bool plain = body[8] == 8 && body[10] == 0 && body[11] == 0 && body[12] == 0;
    return plain && header.channels != 0 && AcceptableImageSize(header.width, header.height);
}

// Walks the chunks after the signature: the header first, the compressed data gathered, up to IEND.
bool ReadChunks(std::span<const std::uint8_t> file, Header& header, std::vector<std::uint8_t>& packed) {
    bool haveHeader = false;
    for (std::size_t pos = PngFormat::Signature.size(); file.size() - pos >= 12;) {
        const std::uint32_t length = PngFormat::ReadU32(&file[pos]);
        if (length > file.size() - pos - 12) {
            return false;
        }
        const std::uint8_t* type = &file[pos + 4];
        const std::uint8_t* body = type + 4;
        if (PngFormat::ChunkCrc(type, length) != PngFormat::ReadU32(body + length)) {
            return false;
        }
        pos += std::size_t{length} + 12;
        const bool isHeader = std::memcmp(type, "IHDR", 4) == 0;
        if (isHeader != !haveHeader) {
            return false; // the header comes first, and only once
        }
        if (isHeader) {
            if (!ReadHeader(body, length, header)) {
                return false;
            }
            haveHeader = true;
        } else if (std::memcmp(type, "IDAT", 4) == 0) {
            packed.insert(packed.end(), body, body + length);
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            return !packed.empty();
        } else if ((type[0] & 0x20) == 0 && std::memcmp(type, "PLTE", 4) != 0) {
            return false; // an unknown chunk that a reader must understand
        }
    }
    return false; // no IEND
}

bool Inflate(const std::vector<std::uint8_t>& packed, std::vector<std::uint8_t>& raw) {
    z_stream stream{};
    if (packed.size() > UINT_MAX || raw.size() > UINT_MAX || inflateInit(&stream) != Z_OK) {
        return false;
    }
    stream.next_in = const_cast<Bytef*>(packed.data());
    stream.avail_in = static_cast<uInt>(packed.size());
    stream.next_out = raw.data();
    stream.avail_out = static_cast<uInt>(raw.size());
    const int result = inflate(&stream, Z_FINISH);
    const bool complete = result == Z_STREAM_END && stream.total_out == raw.size();
    inflateEnd(&stream);
    return complete;
}

// Undoes the row filters in place; each row is one filter byte and `stride` bytes.
bool Unfilter(std::vector<std::uint8_t>& raw, std::uint32_t height, std::size_t stride, int bpp) {
    for (std::uint32_t y = 0; y < height; ++y) {
        std::uint8_t* row = &raw[y * (stride + 1)];
        const std::uint8_t* prior = y > 0 ? row - stride : nullptr;
        std::uint8_t* px = row + 1;
        const std::uint8_t filter = row[0];
        if (filter > 4) {
            return false;
        }
        for (std::size_t i = 0; i < stride; ++i) {
            const int a = i >= std::size_t(bpp) ? px[i - bpp] : 0;
            const int b = prior ? prior[i] : 0;
            const int c = prior && i >= std::size_t(bpp) ? prior[i - bpp] : 0;
            const int add = filter == 1   ? a
                            : filter == 2 ? b
                            : filter == 3 ? (a + b) / 2
                            : filter == 4 ? Paeth(a, b, c)
                                          : 0;
            px[i] = static_cast<std::uint8_t>(px[i] + add);
        }
    }
    return true;
}

void Expand(const std::vector<std::uint8_t>& raw, const Header& header, RgbaImage& image) {
    const std::size_t stride = std::size_t{header.width} * header.channels;
    const bool colour = header.channels >= 3;
    const bool alpha = header.channels % 2 == 0;
    image.pixels.assign(std::size_t{header.width} * header.height * 4, 255);
    for (std::uint32_t y = 0; y < header.height; ++y) {
        const std::uint8_t* src = &raw[y * (stride + 1) + 1];
        std::uint8_t* dst = &image.pixels[std::size_t{y} * header.width * 4];
        for (std::uint32_t x = 0; x < header.width; ++x, src += header.channels, dst += 4) {
            dst[0] = src[0];
            dst[1] = src[colour ? 1 : 0];
            dst[2] = src[colour ? 2 : 0];
            if (alpha) {
                dst[3] = src[header.channels - 1];
            }
        }
    }
}

} // namespace

HRESULT DecodePng(std::span<const std::uint8_t> file, RgbaImage& image) {
    image = RgbaImage{};
    if (file.size() < PngFormat::Signature.size() ||
        std::memcmp(file.data(), PngFormat::Signature.data(), PngFormat::Signature.size()) != 0) {
        return GraphicsError::InvalidData;
    }
    Header header;
    std::vector<std::uint8_t> packed;
    if (!ReadChunks(file, header, packed)) {
        return GraphicsError::InvalidData;
    }
    const std::size_t stride = std::size_t{header.width} * header.channels;
    const std::uint64_t rawSize = std::uint64_t{header.height} * (stride + 1);
    if (rawSize > packed.size() * MaxInflateRatio + 1024) {
        return GraphicsError::InvalidData;
    }
    std::vector<std::uint8_t> raw(static_cast<std::size_t>(rawSize));
    if (!Inflate(packed, raw) || !Unfilter(raw, header.height, stride, header.channels)) {
        return GraphicsError::InvalidData;
    }
    Expand(raw, header, image);
    image.width = header.width;
    image.height = header.height;
    image.channels = header.channels;
    return S_OK;
}
