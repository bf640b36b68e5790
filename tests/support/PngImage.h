// A small PNG reader for the tests: non-interlaced 8-bit greyscale, RGB and RGBA images, checked
// chunk by chunk (signature, CRCs, header, compressed data, filters).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct PngImage {
    int width = 0;
    int height = 0;
    int bitDepth = 0;
    int colourType = 0; // 0 grey, 2 RGB, 6 RGBA, others are refused
    int interlace = 0;
    std::vector<std::uint8_t> rgba; // 4 bytes a pixel, alpha 255 when the file has none

    const std::uint8_t* At(int x, int y) const { return &rgba[(static_cast<std::size_t>(y) * width + x) * 4]; }
};

// Decodes the file's bytes into image; on failure returns false and says why in error.
bool DecodePng(const std::uint8_t* data, std::size_t size, PngImage& image, std::string& error);
