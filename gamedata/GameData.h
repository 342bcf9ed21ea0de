#pragma once

#include "EnemyGraphics.h"
#include "LevelCatalogue.h"
#include "LevelRecord.h"
#include "RecordBank.h"
#include "TileHalfSharing.h"

#include <array>
#include <cstdint>

namespace korvane {

inline constexpr std::size_t kAboutTileBytes = 224;      // 14 tiles
inline constexpr std::size_t kAboutTileLargeBytes = 768; // 48 tiles

// The whole decoded model of a cartridge: the 16 levels and the tables they share.
// About 300 KB: keep it on the heap (the document owns one).
class GameData {
public:
    std::array<LevelRecord, kLevelCount> levels{};
    std::array<RecordBank, 3> recordBanks{};
    EnemyGraphics enemyGraphics{};
    std::int32_t decoded = 0;
    std::array<std::uint8_t, kAboutTileBytes> aboutTiles{};
    std::array<std::uint8_t, kAboutTileLargeBytes> aboutTilesLarge{};

    bool operator==(const GameData&) const = default;

    // Levels in catalogue order, then the record banks, the enemy graphics and the About tiles.
    void Decode(const RomImage& image);
    // Levels in catalogue order, then the record banks and the enemy graphics.
    void Encode(RomImage& image) const;

    // After level's tiles were changed (tilesBefore is what they held before): every other copy
    // of each changed 1 KB character page takes the page's new bytes, so that all copies agree
    // and a save keeps the change whichever copy is written last. Copies are the tile halves of
    // every level, the level's own other half included, and spriteTiles for pages below 64.
    // Pages from 128 on are left alone. Returns how many pages changed.
    int CarryTileEdits(int level, const std::array<std::uint8_t, kTileBytes>& tilesBefore);
    // Which other levels, and whether the level's other half and the sprite pages, show a page
    // of half 0 (tiles 0-127) or 1 (tiles 128-255) of level.
    TileHalfSharing FindTileHalfSharing(int level, int half) const;
};

} // namespace korvane
