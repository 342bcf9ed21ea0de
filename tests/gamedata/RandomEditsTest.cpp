#include "ImageBuilder.h"

#include "gamedata/GameData.h"

#include <gtest/gtest.h>

#include <memory>

namespace korvane {
namespace {

// Applies one operation chosen by rng with arguments that are sometimes out of range; returns
// its result (0 for operations without one).
int ApplyRandomOperation(LevelRecord& rec, std::mt19937& rng) {
    const auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    std::array<std::uint8_t, 16> rooms{};
    for (std::uint8_t& room : rooms) {
        room = static_cast<std::uint8_t>(pick(32));
    }
    // A hallway that survives a save and a reopen: transition 0 with one room would end the list.
    const Hallway hallway{static_cast<std::uint8_t>(pick(0x3B)), static_cast<std::uint8_t>(pick(6)),
                          static_cast<std::uint8_t>(1 + pick(15)),
                          static_cast<std::uint8_t>(pick(pick(4) == 0 ? 17 : 4))};
    const int h = pick(rec.hallwayCount + 2) - 1;
    const std::uint32_t placement =
        EnemyPlacement{static_cast<std::uint8_t>(pick(256)), static_cast<std::uint8_t>(pick(256)),
                       static_cast<std::uint8_t>(pick(34)), static_cast<std::uint8_t>(pick(255))}
            .Packed();
    switch (pick(9)) {
    case 0:
        return static_cast<int>(rec.InsertHallway(h, rooms, hallway));
    case 1:
        return static_cast<int>(rec.RemoveHallway(h));
    case 2:
        return static_cast<int>(rec.ReplaceHallway(h, rooms, hallway));
    case 3:
        return rec.SetHallwayRoom(h, pick(8), rooms[0]);
    case 4:
        return rec.AddEnemy(placement);
    case 5:
        return rec.DeleteEnemy(pick(rec.enemyCount + 2) - 1);
    case 6:
        return rec.SetEnemy(pick(rec.enemyCount + 2) - 1, placement);
    case 7:
        rec.RemoveRoomPositionFromEnemies(h, pick(8));
        return 0;
    default:
        rec.InsertRoomPositionIntoEnemies(h, pick(8));
        return 0;
    }
}

TEST(RandomEdits, RefusalsChangeNothingAndTheModelMatchesAFreshDecode) {
    std::mt19937 rng(2024);
    auto image = testing::MakeRandomImage(2024);
    for (const CatalogueRow& row : LevelCatalogue) {
        testing::WriteConsistentLevel(*image, row.bankOffset, rng);
    }
    auto data = std::make_unique<GameData>();
    data->Decode(*image);
    auto fresh = std::make_unique<GameData>();
    int refusals = 0;
    for (int round = 0; round < 40; ++round) {
        LevelRecord& rec = data->levels[static_cast<std::size_t>(round % kLevelCount)];
        for (int step = 0; step < 50; ++step) {
            const LevelRecord before = rec;
            if (ApplyRandomOperation(rec, rng) < 0) {
                ++refusals;
                ASSERT_TRUE(rec == before) << "round " << round << " step " << step;
            }
        }
        data->Encode(*image);
        fresh->Decode(*image);
        for (std::size_t n = 0; n < kLevelCount; ++n) {
            LevelRecord decoded = fresh->levels[n];
            decoded.undecodedBytes = data->levels[n].undecodedBytes; // hallway bytes rewritten
            ASSERT_TRUE(decoded == data->levels[n]) << "round " << round << " level " << n;
        }
    }
    EXPECT_GT(refusals, 100);
}

} // namespace
} // namespace korvane
