// The piece atlases built into the test program, as file bytes and as decoded pictures.
#pragma once

#include "graphics/RgbaImage.h"

#include <cstdint>
#include <span>

// The PNG bytes of RCDATA resource `id` of the test program; empty when it is missing.
std::span<const std::uint8_t> AtlasBytes(int id);
// The decoded atlas; fails the running test case when it cannot be decoded.
RgbaImage DecodeAtlas(int id);
