// A decoded picture: 8-bit red, green, blue and alpha per pixel, top row first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The largest picture a decoder accepts: each side at most 16384 pixels and at most 16 million
// pixels in all (64 MB), so a hand-made header cannot make it allocate without bound.
constexpr std::uint32_t MaxImageSide = 16384;
constexpr std::uint64_t MaxImagePixels = std::uint64_t{1} << 24;

struct RgbaImage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    // Channels the file stored: 1 grey, 2 grey and alpha, 3 red green blue, 4 with alpha.
    int channels = 0;
    std::vector<std::uint8_t> pixels; // 4 bytes a pixel; alpha 255 where the file has none

    const std::uint8_t* At(std::uint32_t x, std::uint32_t y) const {
        return &pixels[(std::size_t{y} * width + x) * 4];
    }
};

// True when a width and height are inside the limits above (and not zero).
constexpr bool AcceptableImageSize(std::uint64_t width, std::uint64_t height) {
    return width > 0 && height > 0 && width <= MaxImageSide && height <= MaxImageSide &&
           width * height <= MaxImagePixels;
}
