// A Windows cursor's bitmaps turned into the 32-bit pixels of a device cursor.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

// mask and colour are 32-bit bottom-up DIB rows as GetDIBits gives them. A cursor without colour
// bitmap (colour null) is black and white: its mask is twice as high, the AND mask on top and the
// XOR image below. The result is top-down, width x height pixels: 0 where the AND mask is set,
// else the colour (or XOR) value with full alpha.
std::vector<uint32_t> ComposeCursorPixels(const std::vector<uint32_t>& mask,
                                          const std::vector<uint32_t>* colour, int width, int height);
