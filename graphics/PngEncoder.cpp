// PNG encoding with zlib's deflate.
#include "graphics/PngEncoder.h"

#include "graphics/PngFormat.h"

#include <windows.h>

#include <zlib.h>

namespace {

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(v >> shift));
    }
}

void PutChunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data) {
    PutU32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutU32(out, PngFormat::ChunkCrc(&out[start], static_cast<std::uint32_t>(data.size())));
}

} // namespace

std::vector<std::uint8_t> EncodePng(const RgbaImage& image, bool withAlpha) {
    const std::size_t channels = withAlpha ? 4 : 3;
    if (image.width == 0 || image.height == 0 ||
        image.pixels.size() != std::size_t{image.width} * image.height * 4) {
        return {};
    }
    std::vector<std::uint8_t> raw;
    raw.reserve(image.height * (1 + image.width * channels));
    for (std::uint32_t y = 0; y < image.height; ++y) {
        raw.push_back(0); // filter: none
        for (std::uint32_t x = 0; x < image.width; ++x) {
            const std::uint8_t* p = image.At(x, y);
            raw.insert(raw.end(), p, p + channels);
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK) {
        return {};
    }
    packed.resize(packedSize);

    std::vector<std::uint8_t> png(PngFormat::Signature.begin(), PngFormat::Signature.end());
    std::vector<std::uint8_t> header;
    PutU32(header, image.width);
    PutU32(header, image.height);
    header.insert(header.end(), {8, static_cast<std::uint8_t>(withAlpha ? 6 : 2), 0, 0, 0});
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", packed);
    PutChunk(png, "IEND", {});
    return png;
}

RgbaImage ImageFromColours(const std::vector<D3DCOLOR>& colours, std::uint32_t width, std::uint32_t height) {
    RgbaImage image;
    if (colours.size() != std::size_t{width} * height) {
        return image;
    }
    image.width = width;
    image.height = height;
    image.channels = 4;
    image.pixels.reserve(colours.size() * 4);
    for (const D3DCOLOR c : colours) {
        image.pixels.insert(image.pixels.end(),
                            {static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                             static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 24)});
    }
    return image;
}

bool WriteFileBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(file);
    return ok;
}
