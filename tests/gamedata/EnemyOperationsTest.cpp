#include "ImageBuilder.h"

#include "gamedata/LevelRecord.h"

#include <gtest/gtest.h>

#include <vector>

namespace korvane {
namespace {

constexpr EnemyPlacement kFree{0xFF, 0xFF, 0xFF, 0xFF};

// A level of two hallways (rooms at positions 0-3 and 4-9) holding the placements as given.
LevelRecord MakeLevel(const std::vector<EnemyPlacement>& placements) {
    LevelRecord rec;
    rec.hallways[0] = {0, 0, 1, 3};
    rec.hallways[1] = {0, 0, 1, 5};
    rec.enemies.fill(kFree);
    std::copy(placements.begin(), placements.end(), rec.enemies.begin());
    rec.CountHallways();
    rec.CountEnemies();
    rec.RecountUsage();
    return rec;
}

std::uint32_t Pack(std::uint8_t x, std::uint8_t y, std::uint8_t position, std::uint8_t id) {
    return EnemyPlacement{x, y, position, id}.Packed();
}

TEST(EnemyAdd, SortsByRoomPositionThenXThenY) {
    LevelRecord rec = MakeLevel({{20, 0, 0, 1}, {4, 0, 1, 2}});
    EXPECT_EQ(rec.AddEnemy(Pack(8, 8, 0, 0)), 3);
    EXPECT_EQ(rec.enemies[0], (EnemyPlacement{8, 8, 0, 0}));
    EXPECT_EQ(rec.enemies[1], (EnemyPlacement{20, 0, 0, 1}));
    EXPECT_EQ(rec.enemies[2], (EnemyPlacement{4, 0, 1, 2}));
    EXPECT_TRUE(rec.enemies[3].IsTerminator());
    EXPECT_EQ(rec.enemyUse[0], 1);
    EXPECT_EQ(rec.enemyUse[2], 1);
    EXPECT_EQ(rec.FindEnemy(Pack(4, 0, 1, 2)), 2);
    EXPECT_EQ(rec.FindEnemy(kEnemyTerminator), 3);
    EXPECT_EQ(rec.FindEnemy(Pack(1, 1, 1, 1)), -1);
}

TEST(EnemyAdd, TheListHoldsAtMost255Placements) {
    std::vector<EnemyPlacement> placements(254, EnemyPlacement{1, 2, 3, 4});
    LevelRecord rec = MakeLevel(placements);
    ASSERT_EQ(rec.enemyCount, 254);
    EXPECT_EQ(rec.AddEnemy(Pack(0, 0, 0, 9)), 255);
    EXPECT_TRUE(rec.enemies[255].IsTerminator());
    EXPECT_EQ(rec.enemies[0], (EnemyPlacement{0, 0, 0, 9}));
    const LevelRecord before = rec;
    EXPECT_EQ(rec.AddEnemy(Pack(0, 0, 0, 9)), kEnemyRefused);
    EXPECT_EQ(rec, before);
}

TEST(EnemyAddSetDelete, RefusalsChangeNothing) {
    LevelRecord empty = MakeLevel({});
    LevelRecord before = empty;
    EXPECT_EQ(empty.DeleteEnemy(0), kEnemyRefused);
    EXPECT_EQ(empty.SetEnemy(0, Pack(1, 1, 1, 1)), kEnemyRefused);
    EXPECT_EQ(empty, before);

    LevelRecord two = MakeLevel({{1, 1, 0, 1}, {2, 2, 1, 2}});
    before = two;
    EXPECT_EQ(two.DeleteEnemy(2), kEnemyRefused);
    EXPECT_EQ(two.DeleteEnemy(-1), kEnemyRefused);
    EXPECT_EQ(two.SetEnemy(2, Pack(1, 1, 1, 1)), kEnemyRefused);
    EXPECT_EQ(two.SetEnemy(300, Pack(1, 1, 1, 1)), kEnemyRefused);
    // Four 0xFF bytes would read back as the end of the list.
    EXPECT_EQ(two.AddEnemy(kEnemyTerminator), kEnemyRefused);
    EXPECT_EQ(two.SetEnemy(0, kEnemyTerminator), kEnemyRefused);
    EXPECT_EQ(two, before);
}

TEST(EnemyDelete, MovesLaterEntriesDownAndEndsTheListEarlier) {
    LevelRecord rec = MakeLevel({{1, 1, 0, 1}, {2, 2, 1, 2}, {3, 3, 2, 3}});
    EXPECT_EQ(rec.DeleteEnemy(0), 2);
    EXPECT_EQ(rec.enemies[0], (EnemyPlacement{2, 2, 1, 2}));
    EXPECT_EQ(rec.enemies[1], (EnemyPlacement{3, 3, 2, 3}));
    EXPECT_TRUE(rec.enemies[2].IsTerminator());
    EXPECT_EQ(rec.enemyUse[1], 0);
    EXPECT_EQ(rec.DeleteEnemy(1), 1);
    EXPECT_EQ(rec.DeleteEnemy(0), 0);

    // With every placement gone all four columns hold 0xFF for all 256 entries.
    auto image = testing::MakeZeroImage();
    rec.Encode(*image, 0x10);
    for (std::size_t i = 0; i < 256; ++i) {
        for (std::size_t column : {0x0B00u, 0x0C00u, 0x0D00u, 0x0E00u}) {
            ASSERT_EQ(image->bytes[0x10 + column + i], 0xFF) << column << " " << i;
        }
    }
}

TEST(EnemySet, OverwritesAndSorts) {
    LevelRecord rec = MakeLevel({{1, 1, 0, 1}, {2, 2, 1, 2}, {3, 3, 2, 3}});
    EXPECT_EQ(rec.SetEnemy(0, Pack(9, 9, 5, 7)), 3);
    EXPECT_EQ(rec.enemies[2], (EnemyPlacement{9, 9, 5, 7}));
    EXPECT_EQ(rec.enemies[0], (EnemyPlacement{2, 2, 1, 2}));
    EXPECT_EQ(rec.enemyUse[7], 1);
    EXPECT_EQ(rec.enemyUse[1], 0);
}

TEST(EnemyCount, WithoutTerminatorTheCountStays) {
    LevelRecord rec = MakeLevel({});
    rec.enemies.fill(EnemyPlacement{1, 2, 3, 4});
    rec.enemyCount = 17;
    EXPECT_EQ(rec.CountEnemies(), 17);
    rec.enemies[200] = kFree;
    EXPECT_EQ(rec.CountEnemies(), 200);
}

TEST(EnemyRoomPositions, RemovingAPositionDetachesItsPlacementsAndMovesLaterOnesDown) {
    LevelRecord rec = MakeLevel({{1, 1, 5, 1}, {2, 2, 6, 2}});
    rec.RemoveRoomPositionFromEnemies(1, 1); // position 4 + 1 = 5
    EXPECT_EQ(rec.enemies[0], (EnemyPlacement{2, 2, 5, 2}));
    EXPECT_EQ(rec.enemies[1], (EnemyPlacement{1, 1, 0xFF, 1}));
    EXPECT_TRUE(rec.enemies[2].IsTerminator());
    EXPECT_EQ(rec.enemyCount, 2);

    // A detached placement of x, y and id 0xFF becomes the end of the list.
    LevelRecord edge = MakeLevel({{0, 0, 0, 0}, {0xFF, 0xFF, 3, 0xFF}});
    edge.RemoveRoomPositionFromEnemies(0, 3);
    EXPECT_EQ(edge.enemyCount, 1);
    EXPECT_EQ(edge.enemyUse[0xFF], 0);
}

TEST(EnemyRoomPositions, InsertingAPositionMovesLaterOnesUpAndDropsTheLast) {
    LevelRecord rec = MakeLevel({{1, 1, 3, 1}, {2, 2, 4, 2}, {3, 3, 31, 3}, {4, 4, 30, 4}});
    rec.InsertRoomPositionIntoEnemies(1, 0); // position 4
    EXPECT_EQ(rec.enemies[0], (EnemyPlacement{1, 1, 3, 1}));
    EXPECT_EQ(rec.enemies[1], (EnemyPlacement{2, 2, 5, 2}));
    EXPECT_EQ(rec.enemies[2], (EnemyPlacement{4, 4, 31, 4}));
    EXPECT_EQ(rec.enemies[3], (EnemyPlacement{3, 3, 0xFF, 3}));
    EXPECT_EQ(rec.EnemiesBeforeHallway(1), 1);
    EXPECT_EQ(rec.EnemiesBeforeHallway(2), 2);
    EXPECT_EQ(rec.EnemiesBeforeHallway(9), 2); // only valid hallways count
    EXPECT_EQ(rec.EnemiesBeforeHallway(0), 0);
}

TEST(EnemyRoomPositions, PositionsOutsideTheOrderAndTheOnlyRoomChangeNothing) {
    LevelRecord rec = MakeLevel({{1, 1, 3, 1}, {2, 2, 31, 2}});
    const LevelRecord before = rec;
    rec.InsertRoomPositionIntoEnemies(1, 28); // position 32
    rec.RemoveRoomPositionFromEnemies(1, 40);
    rec.RemoveRoomPositionFromEnemies(-1, 0);
    rec.InsertRoomPositionIntoEnemies(16, 0);
    EXPECT_EQ(rec, before);

    LevelRecord single = MakeLevel({{1, 1, 0, 1}});
    single.hallways[1] = {};
    single.hallways[0].lastRoom = 0;
    single.CountHallways();
    single.hallwayCount = 1; // a one-room hallway with transition 1
    const LevelRecord singleBefore = single;
    single.RemoveRoomPositionFromEnemies(0, 0);
    EXPECT_EQ(single, singleBefore);
}

} // namespace
} // namespace korvane
