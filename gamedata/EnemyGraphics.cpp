#include "EnemyGraphics.h"

#include <algorithm>

namespace korvane {

namespace {
constexpr std::size_t kPaletteBytesPerBank = 8; // paletteA, then paletteB
constexpr std::size_t kPageBytesPerBank = 2;    // pageA, then pageB
} // namespace

void EnemyGraphics::Decode(const RomImage& image) {
    const auto& rom = image.bytes;
    std::copy_n(rom.begin() + enemyfile::kIdTable, enemyIdTable.size(), enemyIdTable.begin());
    for (std::size_t n = 0; n < kEnemyBankCount; ++n) {
        const auto palettes = rom.begin() + static_cast<std::ptrdiff_t>(enemyfile::kPalettes +
                                                                        kPaletteBytesPerBank * n);
        EnemyBank& enemyBank = enemyBanks[n];
        std::copy_n(palettes, 4, enemyBank.paletteA.begin());
        std::copy_n(palettes + 4, 4, enemyBank.paletteB.begin());
        enemyBank.pageA = rom[enemyfile::kPages + kPageBytesPerBank * n];
        enemyBank.pageB = rom[enemyfile::kPages + kPageBytesPerBank * n + 1];
    }
    std::copy_n(rom.begin() + enemyfile::kSpriteTiles, kSpriteTileBytes, spriteTiles.begin());
}

void EnemyGraphics::Encode(RomImage& image) const {
    auto& rom = image.bytes;
    std::copy(enemyIdTable.begin(), enemyIdTable.end(), rom.begin() + enemyfile::kIdTable);
    for (std::size_t n = 0; n < kEnemyBankCount; ++n) {
        const auto palettes = rom.begin() + static_cast<std::ptrdiff_t>(enemyfile::kPalettes +
                                                                        kPaletteBytesPerBank * n);
        const EnemyBank& enemyBank = enemyBanks[n];
        std::copy(enemyBank.paletteA.begin(), enemyBank.paletteA.end(), palettes);
        std::copy(enemyBank.paletteB.begin(), enemyBank.paletteB.end(), palettes + 4);
        rom[enemyfile::kPages + kPageBytesPerBank * n] = enemyBank.pageA;
        rom[enemyfile::kPages + kPageBytesPerBank * n + 1] = enemyBank.pageB;
    }
    std::copy(spriteTiles.begin(), spriteTiles.end(), rom.begin() + enemyfile::kSpriteTiles);
}

} // namespace korvane
