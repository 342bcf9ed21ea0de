#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace korvane {

// The whole cartridge file in memory: a 16-byte iNES header, 32 program banks of 8 KB and
// 128 KB of character memory. Nothing in the header is interpreted.
inline constexpr std::size_t kRomSize = 0x60010;
inline constexpr std::size_t kHeaderSize = 0x10;
inline constexpr std::size_t kProgramOffset = 0x10;
inline constexpr std::size_t kBankSize = 0x2000;
inline constexpr std::size_t kCharacterOffset = 0x40010;
inline constexpr std::size_t kCharacterSize = 0x20000;
inline constexpr std::size_t kCharacterPageSize = 0x400;
inline constexpr std::size_t kCharacterPages = kCharacterSize / kCharacterPageSize; // 128

// A 16-bit pointer p inside a program bank mapped at CPU 0x8000 designates
// bank start + (p - 0x8000).
inline constexpr std::uint16_t kBankCpuBase = 0x8000;

struct RomImage {
    std::array<std::uint8_t, kRomSize> bytes{};

    std::uint8_t* data() { return bytes.data(); }
    const std::uint8_t* data() const { return bytes.data(); }
    static constexpr std::size_t size() { return kRomSize; }

    // The 8 KB program bank that starts at the given file offset.
    std::span<std::uint8_t, kBankSize> Bank(std::size_t bankOffset) {
        return std::span<std::uint8_t, kBankSize>(bytes.data() + bankOffset, kBankSize);
    }
    std::span<const std::uint8_t, kBankSize> Bank(std::size_t bankOffset) const {
        return std::span<const std::uint8_t, kBankSize>(bytes.data() + bankOffset, kBankSize);
    }
    std::span<std::uint8_t, kCharacterSize> Characters() {
        return std::span<std::uint8_t, kCharacterSize>(bytes.data() + kCharacterOffset,
                                                       kCharacterSize);
    }
    std::span<const std::uint8_t, kCharacterSize> Characters() const {
        return std::span<const std::uint8_t, kCharacterSize>(bytes.data() + kCharacterOffset,
                                                             kCharacterSize);
    }
};

} // namespace korvane
