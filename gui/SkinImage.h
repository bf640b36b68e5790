// The skin texture built into the program: a complete DDS file, 256 x 256 pixels of red, green, blue
// and alpha bytes, holding the artwork of every control in its own rectangle.
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr std::size_t kSkinImageSize = 262272;
extern const std::uint8_t SkinImage[kSkinImageSize];
