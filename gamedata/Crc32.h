#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace korvane {

// The CRC-32 of the bytes (zlib's crc32, the checksum patches and cartridge databases use).
std::uint32_t Crc32(std::span<const std::uint8_t> bytes);

// A checksum as patch messages show it: eight upper-case hex digits ("0A1B2C3D").
std::string Crc32Text(std::uint32_t crc);

} // namespace korvane
