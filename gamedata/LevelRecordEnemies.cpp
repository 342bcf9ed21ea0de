// The enemy placement operations of LevelRecord.
#include "LevelRecord.h"

#include <algorithm>

namespace korvane {

namespace {

// The list holds at most 255 placements: entry 255 is the last possible terminator.
constexpr int kMostEnemies = kEnemySlots - 1;
constexpr std::uint8_t kDetachedPosition = 0xFF;

// Placements sort by room position first, then x, y and enemy id.
std::uint32_t SortKey(const EnemyPlacement& enemy) {
    return static_cast<std::uint32_t>(enemy.roomPosition) << 24 |
           static_cast<std::uint32_t>(enemy.x) << 16 | static_cast<std::uint32_t>(enemy.y) << 8 |
           static_cast<std::uint32_t>(enemy.enemyId);
}

EnemyPlacement FromSortKey(std::uint32_t key) {
    return {static_cast<std::uint8_t>(key >> 16), static_cast<std::uint8_t>(key >> 8),
            static_cast<std::uint8_t>(key >> 24), static_cast<std::uint8_t>(key)};
}

} // namespace

int LevelRecord::CountEnemies() {
    for (std::size_t i = 0; i < kEnemySlots; ++i) {
        if (enemies[i].IsTerminator()) {
            enemyCount = static_cast<std::int32_t>(i);
            break;
        }
    }
    return enemyCount;
}

int LevelRecord::FindEnemy(std::uint32_t packed) const {
    for (std::size_t i = 0; i < kEnemySlots; ++i) {
        if (enemies[i].Packed() == packed) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int LevelRecord::AddEnemy(std::uint32_t packed) {
    const int count = UsedEnemies();
    // A placement of four 0xFF bytes would be read back as the end of the list.
    if (count >= kMostEnemies || packed == kEnemyTerminator) {
        return kEnemyRefused;
    }
    enemies[static_cast<std::size_t>(count)] = EnemyPlacement::FromPacked(packed);
    enemies[static_cast<std::size_t>(count + 1)] = EnemyPlacement::FromPacked(kEnemyTerminator);
    enemyCount = count + 1;
    SortEnemies();
    return enemyCount;
}

int LevelRecord::DeleteEnemy(int index) {
    const int count = UsedEnemies();
    if (count == 0 || index < 0 || index >= count) {
        return kEnemyRefused;
    }
    std::copy(enemies.begin() + index + 1, enemies.begin() + count, enemies.begin() + index);
    enemies[static_cast<std::size_t>(count - 1)] = EnemyPlacement::FromPacked(kEnemyTerminator);
    enemyCount = count - 1;
    RecountUsage();
    return enemyCount;
}

int LevelRecord::SetEnemy(int index, std::uint32_t packed) {
    if (index < 0 || index >= UsedEnemies() || packed == kEnemyTerminator) {
        return kEnemyRefused;
    }
    enemies[static_cast<std::size_t>(index)] = EnemyPlacement::FromPacked(packed);
    SortEnemies();
    return enemyCount;
}

void LevelRecord::SortEnemies() {
    const auto count = static_cast<std::size_t>(UsedEnemies());
    std::array<std::uint32_t, kEnemySlots> keys{};
    for (std::size_t i = 0; i < count; ++i) {
        keys[i] = SortKey(enemies[i]);
    }
    std::sort(keys.begin(), keys.begin() + static_cast<std::ptrdiff_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        enemies[i] = FromSortKey(keys[i]);
    }
    RecountUsage();
}

int LevelRecord::EnemiesBeforeHallway(int h) const {
    // Hallways 0 to h - 1 own exactly the positions before HallwayStart(h).
    const int end = std::min(HallwayStart(std::min(h, UsedHallways())), kRoomOrderSize);
    const auto first = enemies.begin();
    return static_cast<int>(
        std::count_if(first, first + UsedEnemies(),
                      [end](const EnemyPlacement& enemy) { return enemy.roomPosition < end; }));
}

void LevelRecord::RemoveRoomPositionFromEnemies(int h, int i) {
    if (h < 0 || h >= kHallwaySlots || i < 0) {
        return;
    }
    const int position = HallwayStart(h) + i;
    if (position >= kRoomOrderSize) {
        return; // not a position of roomOrder
    }
    if (UsedHallways() == 1 && hallways[0].lastRoom == 0) {
        return; // the level's only room stays
    }
    const int count = UsedEnemies();
    for (int k = 0; k < count; ++k) {
        EnemyPlacement& enemy = enemies[static_cast<std::size_t>(k)];
        if (enemy.roomPosition == position) {
            enemy.roomPosition = kDetachedPosition;
        }
    }
    // Later positions move down by one, over all 256 entries.
    for (EnemyPlacement& enemy : enemies) {
        if (enemy.roomPosition >= position && enemy.roomPosition < kRoomOrderSize) {
            --enemy.roomPosition;
        }
    }
    SortEnemies();
    CountEnemies();
    RecountUsage();
}

void LevelRecord::InsertRoomPositionIntoEnemies(int h, int i) {
    if (h < 0 || h >= kHallwaySlots || i < 0) {
        return;
    }
    const int position = HallwayStart(h) + i;
    if (position >= kRoomOrderSize) {
        return;
    }
    // The last position falls off the 32 entries of roomOrder.
    const int count = UsedEnemies();
    for (int k = 0; k < count; ++k) {
        EnemyPlacement& enemy = enemies[static_cast<std::size_t>(k)];
        if (enemy.roomPosition == kRoomOrderSize - 1) {
            enemy.roomPosition = kDetachedPosition;
        }
    }
    for (EnemyPlacement& enemy : enemies) {
        if (enemy.roomPosition >= position && enemy.roomPosition < kRoomOrderSize - 1) {
            ++enemy.roomPosition;
        }
    }
    SortEnemies();
    CountEnemies();
    RecountUsage();
}

} // namespace korvane
