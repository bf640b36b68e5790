// What the PNG reader and writer share: the file signature, big-endian words and chunk checksums.
#pragma once

#include <zlib.h>

#include <array>
#include <cstdint>

namespace PngFormat {

inline constexpr std::array<std::uint8_t, 8> Signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

inline std::uint32_t ReadU32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

// The CRC of a chunk: over its four type bytes and the `length` bytes of data that follow them.
inline std::uint32_t ChunkCrc(const std::uint8_t* type, std::uint32_t length) {
    return static_cast<std::uint32_t>(crc32(0, type, length + 4));
}

} // namespace PngFormat
