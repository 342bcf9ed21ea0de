#pragma once

#include "EnemyGraphics.h"
#include "LevelCatalogue.h"
#include "LevelRecord.h"
#include "RecordBank.h"

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
};

} // namespace korvane
