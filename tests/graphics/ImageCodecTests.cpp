// PNG and DDS decoding: well-formed files give their pixels, damaged or unsupported ones a clear error.
#include "graphics/DdsDecoder.h"
#include "graphics/GraphicsErrors.h"
#include "graphics/PngDecoder.h"
#include "graphics/PngEncoder.h"

#include <doctest/doctest.h>
#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void PutU32(Bytes& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(v >> shift));
    }
}

void PutChunk(Bytes& out, const char* type, const Bytes& data) {
    PutU32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutU32(out, static_cast<std::uint32_t>(crc32(0, &out[start], static_cast<uInt>(out.size() - start))));
}

Bytes Header(std::uint32_t width, std::uint32_t height, std::uint8_t depth, std::uint8_t colourType,
             std::uint8_t interlace = 0) {
    Bytes header;
    PutU32(header, width);
    PutU32(header, height);
    header.insert(header.end(), {depth, colourType, 0, 0, interlace});
    return header;
}

Bytes Deflate(const Bytes& raw) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    Bytes packed(size);
    REQUIRE(compress2(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 6) == Z_OK);
    packed.resize(size);
    return packed;
}

// A PNG file of the given header and rows (filter bytes included), with its chunks in order.
Bytes MakePng(const Bytes& header, const Bytes& rows,
              const std::vector<std::pair<const char*, Bytes>>& extra = {}) {
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(png, "IHDR", header);
    for (const auto& [type, data] : extra) {
        PutChunk(png, type, data);
    }
    PutChunk(png, "IDAT", Deflate(rows));
    PutChunk(png, "IEND", {});
    return png;
}

int Paeth(int a, int b, int c) {
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : (pb <= pc ? b : c);
}

// The rows of a picture of `channels` bytes a pixel, row y filtered with filter type y % 5.
Bytes FilterRows(const Bytes& pixels, std::uint32_t width, std::uint32_t height, int channels) {
    const std::size_t stride = std::size_t{width} * channels;
    Bytes rows;
    for (std::uint32_t y = 0; y < height; ++y) {
        const int filter = static_cast<int>(y % 5);
        rows.push_back(static_cast<std::uint8_t>(filter));
        for (std::size_t i = 0; i < stride; ++i) {
            const auto at = [&](std::uint32_t row, std::size_t col) {
                return int{pixels[row * stride + col]};
            };
            const int a = i >= std::size_t(channels) ? at(y, i - channels) : 0;
            const int b = y > 0 ? at(y - 1, i) : 0;
            const int c = y > 0 && i >= std::size_t(channels) ? at(y - 1, i - channels) : 0;
            const int predict = filter == 1   ? a
                                : filter == 2 ? b
                                : filter == 3 ? (a + b) / 2
                                : filter == 4 ? Paeth(a, b, c)
                                              : 0;
            rows.push_back(static_cast<std::uint8_t>(at(y, i) - predict));
        }
    }
    return rows;
}

Bytes Unfiltered(std::uint32_t width, std::uint32_t height, int channels) {
    return Bytes(std::size_t{height} * (1 + std::size_t{width} * channels), 0);
}

} // namespace

TEST_SUITE("graphics") {

TEST_CASE("DecodePng: grey, grey with alpha, RGB and RGBA, through all five row filters") {
    const std::uint32_t width = 7, height = 11;
    const struct {
        std::uint8_t colourType;
        int channels;
    } kinds[] = {{0, 1}, {4, 2}, {2, 3}, {6, 4}};
    for (const auto& kind : kinds) {
        CAPTURE(kind.colourType);
        Bytes pixels(std::size_t{width} * height * kind.channels);
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            pixels[i] = static_cast<std::uint8_t>(i * 37 + i / 5 * 91);
        }
        RgbaImage image;
        REQUIRE(DecodePng(MakePng(Header(width, height, 8, kind.colourType),
                                  FilterRows(pixels, width, height, kind.channels)),
                          image) == S_OK);
        CHECK(image.width == width);
        CHECK(image.height == height);
        CHECK(image.channels == kind.channels);
        int wrong = 0;
        for (std::uint32_t y = 0; y < height; ++y) {
            for (std::uint32_t x = 0; x < width; ++x) {
                const std::uint8_t* source = &pixels[(std::size_t{y} * width + x) * kind.channels];
                const bool colour = kind.channels >= 3;
                const std::uint8_t want[4] = {source[0], source[colour ? 1 : 0], source[colour ? 2 : 0],
                                              kind.channels % 2 == 0 ? source[kind.channels - 1]
                                                                     : std::uint8_t{255}};
                wrong += std::memcmp(image.At(x, y), want, 4) != 0;
            }
        }
        CHECK(wrong == 0);
    }
}

TEST_CASE("DecodePng: damaged, unsupported or lying files give InvalidData and an empty image") {
    const Bytes rgb = Unfiltered(4, 3, 3);
    const Bytes good = MakePng(Header(4, 3, 8, 2), rgb);
    const auto changed = [&](std::size_t offset, std::uint8_t xorBits) {
        Bytes copy = good;
        copy[offset] ^= xorBits;
        return copy;
    };
    Bytes noEnd = good;
    noEnd.resize(noEnd.size() - 12);
    Bytes headerLast = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(headerLast, "IDAT", Deflate(rgb));
    PutChunk(headerLast, "IHDR", Header(4, 3, 8, 2));
    PutChunk(headerLast, "IEND", {});
    Bytes noData = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(noData, "IHDR", Header(4, 3, 8, 2));
    PutChunk(noData, "IEND", {});
    Bytes badFilter = rgb;
    badFilter[0] = 5;
    Bytes longChunk = good;
    longChunk[33 + 3] = 0xFF; // the IDAT's length now runs past the end of the file

    const struct {
        const char* name;
        Bytes file;
    } cases[] = {
        {"empty", {}},
        {"wrong signature", changed(1, 0x20)},
        {"signature only", Bytes(good.begin(), good.begin() + 8)},
        {"cut inside the header", Bytes(good.begin(), good.begin() + 20)},
        {"cut inside the data", Bytes(good.begin(), good.end() - 20)},
        {"no IEND", noEnd},
        {"bad CRC", changed(good.size() - 20, 0x01)},
        {"chunk longer than the file", longChunk},
        {"header not first", headerLast},
        {"no image data", noData},
        {"palette image", MakePng(Header(4, 3, 8, 3), Unfiltered(4, 3, 1), {{"PLTE", Bytes(3, 0)}})},
        {"16 bits a channel", MakePng(Header(4, 3, 16, 2), Unfiltered(4, 3, 6))},
        {"interlaced", MakePng(Header(4, 3, 8, 2, 1), rgb)},
        {"unknown colour type", MakePng(Header(4, 3, 8, 7), rgb)},
        {"zero width", MakePng(Header(0, 3, 8, 2), Bytes(3, 0))},
        {"zero height", MakePng(Header(4, 0, 8, 2), Bytes())},
        {"wider than the limit",
         MakePng(Header(MaxImageSide + 1, 1, 8, 0), Unfiltered(MaxImageSide + 1, 1, 1))},
        {"more pixels than the limit", MakePng(Header(MaxImageSide, MaxImageSide, 8, 6), rgb)},
        {"a header far larger than its data", MakePng(Header(4000, 4000, 8, 6), rgb)},
        {"data short of the size", MakePng(Header(4, 4, 8, 2), rgb)},
        {"data beyond the size", MakePng(Header(4, 2, 8, 2), rgb)},
        {"unknown row filter", MakePng(Header(4, 3, 8, 2), badFilter)},
        {"unknown critical chunk", MakePng(Header(4, 3, 8, 2), rgb, {{"ABCD", Bytes(2, 0)}})},
    };
    RgbaImage image;
    REQUIRE(DecodePng(good, image) == S_OK);
    for (const auto& c : cases) {
        CAPTURE(c.name);
        CHECK(DecodePng(c.file, image) == GraphicsError::InvalidData);
        CHECK(image.width == 0);
        CHECK(image.pixels.empty());
    }
    // Ancillary chunks that the decoder does not know are skipped.
    CHECK(DecodePng(MakePng(Header(4, 3, 8, 2), rgb, {{"tEXt", Bytes(5, 'a')}}), image) == S_OK);
}

TEST_CASE("EncodePng: what it writes decodes to the same picture, with or without alpha") {
    RgbaImage source{5, 3, 4, {}};
    for (std::uint32_t i = 0; i < 5 * 3 * 4; ++i) {
        source.pixels.push_back(static_cast<std::uint8_t>(i * 53));
    }
    for (const bool withAlpha : {false, true}) {
        CAPTURE(withAlpha);
        RgbaImage decoded;
        REQUIRE(DecodePng(EncodePng(source, withAlpha), decoded) == S_OK);
        CHECK(decoded.channels == (withAlpha ? 4 : 3));
        RgbaImage want = source;
        for (std::size_t i = 3; !withAlpha && i < want.pixels.size(); i += 4) {
            want.pixels[i] = 255;
        }
        CHECK(decoded.pixels == want.pixels);
    }
    CHECK(EncodePng(RgbaImage{2, 2, 4, Bytes(3)}, false).empty());
    const RgbaImage colours = ImageFromColours({0x80112233, 0xFF445566}, 2, 1);
    CHECK(colours.pixels == Bytes{0x11, 0x22, 0x33, 0x80, 0x44, 0x55, 0x66, 0xFF});
}
}

namespace {

struct DdsFields {
    std::uint32_t size = 124, flags = 0x1007, height = 2, width = 3, formatSize = 32, formatFlags = 0x41;
    std::uint32_t fourCc = 0, bits = 32, red = 0xFF, green = 0xFF00, blue = 0xFF0000, alpha = 0xFF000000;
    std::uint32_t caps2 = 0;
    std::size_t pixelBytes = 3 * 2 * 4;
};

Bytes MakeDds(const DdsFields& f) {
    Bytes file(128, 0);
    std::memcpy(file.data(), "DDS ", 4);
    const std::pair<std::size_t, std::uint32_t> fields[] = {
        {4, f.size},         {8, f.flags},   {12, f.height}, {16, f.width}, {76, f.formatSize},
        {80, f.formatFlags}, {84, f.fourCc}, {88, f.bits},   {92, f.red},   {96, f.green},
        {100, f.blue},       {104, f.alpha}, {108, 0x1000},  {112, f.caps2}};
    for (const auto& [offset, value] : fields) {
        std::memcpy(&file[offset], &value, 4);
    }
    for (std::size_t i = 0; i < f.pixelBytes; ++i) {
        file.push_back(static_cast<std::uint8_t>(i * 11 + 1));
    }
    return file;
}

} // namespace

TEST_SUITE("graphics") {

TEST_CASE("DecodeDds: 32-bit layouts give their format and the pixels as red, green, blue, alpha") {
    const struct {
        const char* name;
        DdsFields fields;
        D3DFORMAT format;
        int order[4]; // the stored byte of each of red, green, blue, alpha; -1 for opaque
    } layouts[] = {
        {"A8B8G8R8", {}, D3DFMT_A8B8G8R8, {0, 1, 2, 3}},
        {"A8R8G8B8", {.red = 0xFF0000, .blue = 0xFF}, D3DFMT_A8R8G8B8, {2, 1, 0, 3}},
        {"X8R8G8B8",
         {.formatFlags = 0x40, .red = 0xFF0000, .blue = 0xFF},
         D3DFMT_X8R8G8B8,
         {2, 1, 0, -1}},
    };
    for (const auto& layout : layouts) {
        CAPTURE(layout.name);
        const Bytes file = MakeDds(layout.fields);
        RgbaImage image;
        D3DFORMAT format = D3DFMT_UNKNOWN;
        REQUIRE(DecodeDds(file, image, format) == S_OK);
        CHECK(format == layout.format);
        CHECK(image.width == 3);
        CHECK(image.height == 2);
        int wrong = 0;
        for (std::size_t pixel = 0; pixel < 6; ++pixel) {
            for (int c = 0; c < 4; ++c) {
                const int stored = layout.order[c];
                const std::uint8_t want = stored < 0 ? 255 : file[128 + pixel * 4 + stored];
                wrong += image.pixels[pixel * 4 + c] != want;
            }
        }
        CHECK(wrong == 0);
    }
}

TEST_CASE("DecodeDds: damaged or unsupported files give InvalidData and an empty image") {
    const Bytes good = MakeDds({});
    Bytes wrongMagic = good;
    wrongMagic[3] = 'X';
    const struct {
        const char* name;
        Bytes file;
    } cases[] = {
        {"empty", {}},
        {"cut inside the header", Bytes(good.begin(), good.begin() + 100)},
        {"wrong magic", wrongMagic},
        {"wrong header size", MakeDds({.size = 120})},
        {"no width flag", MakeDds({.flags = 0x1003})},
        {"volume", MakeDds({.flags = 0x801007})},
        {"cube map", MakeDds({.caps2 = 0x200 | 0xFC00})},
        {"wrong pixel-format size", MakeDds({.formatSize = 24})},
        {"compressed", MakeDds({.formatFlags = 0x4, .fourCc = 0x31545844})},
        {"16 bits a pixel", MakeDds({.bits = 16})},
        {"masks not in whole bytes", MakeDds({.red = 0xFF00, .green = 0xFF})},
        {"zero width", MakeDds({.width = 0, .pixelBytes = 0})},
        {"wider than the limit", MakeDds({.width = MaxImageSide + 1})},
        {"more pixels than the limit", MakeDds({.height = MaxImageSide, .width = MaxImageSide})},
        {"pixels short of the size", MakeDds({.pixelBytes = 3 * 2 * 4 - 1})},
    };
    RgbaImage image;
    D3DFORMAT format = D3DFMT_UNKNOWN;
    for (const auto& c : cases) {
        CAPTURE(c.name);
        CHECK(DecodeDds(c.file, image, format) == GraphicsError::InvalidData);
        CHECK(image.pixels.empty());
    }
}
}
