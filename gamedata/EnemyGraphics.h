#pragma once

#include "RomImage.h"

#include <array>
#include <cstdint>

namespace korvane {

inline constexpr int kEnemyBankCount = 58;
inline constexpr std::size_t kSpriteTileBytes = 0x10000; // character pages 0 to 63

// One enemy graphics bank: two sprite palettes and two 1 KB pages of spriteTiles.
struct EnemyBank {
    std::array<std::uint8_t, 4> paletteA{};
    std::array<std::uint8_t, 4> paletteB{};
    std::uint8_t pageA = 0;
    std::uint8_t pageB = 0;
    bool operator==(const EnemyBank&) const = default;
};

namespace enemyfile {
inline constexpr std::size_t kIdTable = 0x00110; // 256 bytes, program bank 0
inline constexpr std::size_t kPalettes = 0x2040; // 8 bytes per bank: paletteA, paletteB
inline constexpr std::size_t kPages = 0x2210;    // 2 bytes per bank: pageA, pageB
inline constexpr std::size_t kSpriteTiles = 0x40010;
} // namespace enemyfile

class EnemyGraphics {
public:
    std::array<std::uint8_t, 256> enemyIdTable{};
    std::array<EnemyBank, kEnemyBankCount> enemyBanks{};
    std::array<std::uint8_t, kSpriteTileBytes> spriteTiles{};

    bool operator==(const EnemyGraphics&) const = default;

    void Decode(const RomImage& image);
    void Encode(RomImage& image) const;
};

} // namespace korvane
