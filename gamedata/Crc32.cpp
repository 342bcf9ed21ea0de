#include "Crc32.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <limits>

namespace korvane {

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
    uLong crc = crc32(0L, Z_NULL, 0);
    // zlib takes the length as an unsigned int: feed larger spans in pieces.
    constexpr std::size_t kPiece = std::numeric_limits<uInt>::max();
    for (std::size_t at = 0; at < bytes.size(); at += kPiece) {
        const std::size_t length = std::min(kPiece, bytes.size() - at);
        crc = crc32(crc, bytes.data() + at, static_cast<uInt>(length));
    }
    return static_cast<std::uint32_t>(crc);
}

std::string Crc32Text(std::uint32_t crc) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(crc));
    return text;
}

} // namespace korvane
