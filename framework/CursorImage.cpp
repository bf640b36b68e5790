// Composition of a device cursor's pixels from a Windows cursor's bitmaps.
#include "framework/CursorImage.h"

std::vector<uint32_t> ComposeCursorPixels(const std::vector<uint32_t>& mask,
                                          const std::vector<uint32_t>* colour, int width, int height) {
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    const int maskRows = colour != nullptr ? height : 2 * height;
    const size_t w = static_cast<size_t>(width);
    if (mask.size() < static_cast<size_t>(maskRows) * w ||
        (colour != nullptr && colour->size() < static_cast<size_t>(height) * w)) {
        return pixels;
    }
    for (int y = 0; y < height; ++y) {
        // Bottom-up rows: the picture's top row is the bitmap's last one.
        const size_t andRow = static_cast<size_t>(maskRows - 1 - y);
        const size_t imageRow = static_cast<size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const size_t column = static_cast<size_t>(x);
            const uint32_t andValue = mask[andRow * w + column];
            const uint32_t image =
                colour != nullptr ? (*colour)[imageRow * w + column] : mask[imageRow * w + column];
            pixels[static_cast<size_t>(y) * w + column] =
                andValue != 0 ? 0u : ((image & 0x00FFFFFFu) | 0xFF000000u);
        }
    }
    return pixels;
}
