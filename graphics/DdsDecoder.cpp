// DDS reading: the 128-byte header is checked field by field before any pixel is read.
#include "graphics/DdsDecoder.h"

#include "graphics/GraphicsErrors.h"

#include <cstring>
#include <utility>

namespace {

constexpr std::size_t HeaderSize = 128;

// Header flags and pixel-format flags that matter here.
constexpr std::uint32_t NeededFlags = 0x1 | 0x2 | 0x4 | 0x1000; // caps, height, width, pixel format
constexpr std::uint32_t DepthFlag = 0x800000;
constexpr std::uint32_t AlphaPixels = 0x1;
constexpr std::uint32_t FourCc = 0x4;
constexpr std::uint32_t Rgb = 0x40;
constexpr std::uint32_t CubeOrVolume = 0x200 | 0x200000;

struct Layout {
    std::uint32_t red, green, blue, alpha;
    D3DFORMAT format;
    bool swapRedBlue; // stored blue, green, red
};

constexpr Layout Layouts[] = {
    {0xFF, 0xFF00, 0xFF0000, 0xFF000000, D3DFMT_A8B8G8R8, false},
    {0xFF, 0xFF00, 0xFF0000, 0, D3DFMT_X8B8G8R8, false},
    {0xFF0000, 0xFF00, 0xFF, 0xFF000000, D3DFMT_A8R8G8B8, true},
    {0xFF0000, 0xFF00, 0xFF, 0, D3DFMT_X8R8G8B8, true},
};

std::uint32_t Field(std::span<const std::uint8_t> file, std::size_t offset) {
    std::uint32_t v;
    std::memcpy(&v, file.data() + offset, 4);
    return v;
}

const Layout* FindLayout(std::span<const std::uint8_t> file) {
    const std::uint32_t pixelFlags = Field(file, 80);
    if (Field(file, 76) != 32 || (pixelFlags & FourCc) != 0 || (pixelFlags & Rgb) == 0 ||
        Field(file, 88) != 32) {
        return nullptr;
    }
    const std::uint32_t alpha = (pixelFlags & AlphaPixels) != 0 ? Field(file, 104) : 0;
    for (const Layout& layout : Layouts) {
        if (Field(file, 92) == layout.red && Field(file, 96) == layout.green &&
            Field(file, 100) == layout.blue && alpha == layout.alpha) {
            return &layout;
        }
    }
    return nullptr;
}

} // namespace

bool LooksLikeDds(std::span<const std::uint8_t> file) {
    return file.size() >= 4 && std::memcmp(file.data(), "DDS ", 4) == 0;
}

HRESULT DecodeDds(std::span<const std::uint8_t> file, RgbaImage& image, D3DFORMAT& format) {
    image = RgbaImage{};
    if (file.size() < HeaderSize || !LooksLikeDds(file) || Field(file, 4) != 124) {
        return GraphicsError::InvalidData;
    }
    const std::uint32_t flags = Field(file, 8);
    const std::uint32_t height = Field(file, 12);
    const std::uint32_t width = Field(file, 16);
    const Layout* layout = FindLayout(file);
    if ((flags & NeededFlags) != NeededFlags || (flags & DepthFlag) != 0 ||
        (Field(file, 112) & CubeOrVolume) != 0 || layout == nullptr || !AcceptableImageSize(width, height) ||
        file.size() - HeaderSize < std::uint64_t{width} * height * 4) {
        return GraphicsError::InvalidData;
    }
    image.pixels.assign(file.begin() + HeaderSize,
                        file.begin() + HeaderSize + std::size_t{width} * height * 4);
    for (std::size_t i = 0; i < image.pixels.size(); i += 4) {
        if (layout->swapRedBlue) {
            std::swap(image.pixels[i], image.pixels[i + 2]);
        }
        if (layout->alpha == 0) {
            image.pixels[i + 3] = 255;
        }
    }
    image.width = width;
    image.height = height;
    image.channels = layout->alpha != 0 ? 4 : 3;
    format = layout->format;
    return S_OK;
}
