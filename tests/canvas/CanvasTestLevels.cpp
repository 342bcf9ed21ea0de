#include "CanvasTestLevels.h"

namespace korvane::test {

LevelRecord MakeLevel(const std::vector<int>& roomsPerHallway) {
    LevelRecord level;
    int position = 0;
    for (std::size_t h = 0; h < roomsPerHallway.size(); ++h) {
        level.hallways[h].lastRoom = static_cast<std::uint8_t>(roomsPerHallway[h] - 1);
        level.hallways[h].paletteSet = 0;
        for (int r = 0; r < roomsPerHallway[h]; ++r, ++position) {
            level.roomOrder[static_cast<std::size_t>(position)] =
                static_cast<std::uint8_t>(position % kRoomCount);
        }
    }
    level.hallwayCount = static_cast<std::int32_t>(roomsPerHallway.size());
    // Palette p, entry v: NES colour 0x10 * v + p + 1, so every entry differs.
    for (int p = 0; p < 4; ++p) {
        for (int v = 0; v < 4; ++v) {
            level.paletteSets[0].colour(p, v) = static_cast<std::uint8_t>(0x10 * v + p + 1);
        }
    }
    level.checkpointRooms = {kNoCheckpoint, kNoCheckpoint};
    level.enemies[0] = EnemyPlacement::FromPacked(kEnemyTerminator);
    level.enemyCount = 0;
    return level;
}

void AddPlacement(LevelRecord& level, int roomPosition, int x, int y, int enemyId) {
    const auto i = static_cast<std::size_t>(level.enemyCount);
    level.enemies[i] = {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y),
                        static_cast<std::uint8_t>(roomPosition),
                        static_cast<std::uint8_t>(enemyId)};
    level.enemies[i + 1] = EnemyPlacement::FromPacked(kEnemyTerminator);
    ++level.enemyCount;
}

std::array<std::uint8_t, kTileBytes> MakeTiles() {
    std::array<std::uint8_t, kTileBytes> tiles{};
    for (int t = 0; t < 256; ++t) {
        const int value = t % 4;
        for (int row = 0; row < 8; ++row) {
            const auto base = static_cast<std::size_t>(t * 16 + row);
            tiles[base] = (value & 1) != 0 ? 0xFF : 0x00;
            tiles[base + 8] = (value & 2) != 0 ? 0xFF : 0x00;
        }
    }
    return tiles;
}

} // namespace korvane::test
