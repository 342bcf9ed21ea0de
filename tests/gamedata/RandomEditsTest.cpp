#include "ImageBuilder.h"
#include "TempFolder.h"

#include "gamedata/CKorvaneDoc.h"
#include "gamedata/GameData.h"

#include <gtest/gtest.h>

#include <memory>

namespace korvane {
namespace {

// What an operation of the random scripts gave back.
struct Outcome {
    int result = 0;        // the result code (0 for operations without one)
    bool endsList = false; // refused because the hallway list would not read back
};

// Applies one operation chosen by rng with arguments that are sometimes out of range or would
// end the hallway list (enemy banks above 0x3A, palette sets above 5, rooms of 32 and more,
// one-room hallways with transition 0).
Outcome ApplyRandomOperation(LevelRecord& rec, std::mt19937& rng) {
    const auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    std::array<std::uint8_t, 16> rooms{};
    for (std::uint8_t& room : rooms) {
        room = static_cast<std::uint8_t>(pick(8) == 0 ? 32 + pick(224) : pick(32));
    }
    const Hallway hallway{static_cast<std::uint8_t>(pick(8) == 0 ? pick(256) : pick(0x3B)),
                          static_cast<std::uint8_t>(pick(8) == 0 ? pick(256) : pick(6)),
                          static_cast<std::uint8_t>(pick(4) == 0 ? 0 : pick(16)),
                          static_cast<std::uint8_t>(pick(pick(4) == 0 ? 17 : 4))};
    const int h = pick(rec.hallwayCount + 2) - 1;
    const std::uint32_t placement =
        EnemyPlacement{static_cast<std::uint8_t>(pick(256)), static_cast<std::uint8_t>(pick(256)),
                       static_cast<std::uint8_t>(pick(34)), static_cast<std::uint8_t>(pick(255))}
            .Packed();
    const auto hallwayOutcome = [](HallwayResult result) {
        return Outcome{static_cast<int>(result), result == HallwayResult::EndsHallwayList};
    };
    switch (pick(10)) {
    case 0:
        return hallwayOutcome(rec.InsertHallway(h, rooms, hallway));
    case 1:
        return hallwayOutcome(rec.RemoveHallway(h));
    case 2:
        return hallwayOutcome(rec.ReplaceHallway(h, rooms, hallway));
    case 3:
        return hallwayOutcome(rec.SetHallwayRoom(h, pick(8), rooms[0]));
    case 4: {
        // Mostly with the hallway's own room count, as the hallway editor calls it.
        Hallway entry = hallway;
        if (h >= 0 && pick(6) != 0) {
            entry.lastRoom = rec.hallways[static_cast<std::size_t>(h)].lastRoom;
        }
        return hallwayOutcome(rec.SetHallwayEntry(h, entry));
    }
    case 5:
        return {rec.AddEnemy(placement)};
    case 6:
        return {rec.DeleteEnemy(pick(rec.enemyCount + 2) - 1)};
    case 7:
        return {rec.SetEnemy(pick(rec.enemyCount + 2) - 1, placement)};
    case 8:
        rec.RemoveRoomPositionFromEnemies(h, pick(8));
        return {};
    default:
        rec.InsertRoomPositionIntoEnemies(h, pick(8));
        return {};
    }
}

// Levels written the way an edited level is written: hallways that pass the list's tests and a
// sorted enemy list.
std::unique_ptr<RomImage> ConsistentImage(std::uint32_t seed) {
    std::mt19937 rng(seed);
    auto image = testing::MakeRandomImage(seed);
    for (const CatalogueRow& row : LevelCatalogue) {
        testing::WriteConsistentLevel(*image, row.bankOffset, rng);
    }
    return image;
}

TEST(RandomEdits, RefusalsChangeNothingAndTheModelMatchesAFreshDecode) {
    std::mt19937 rng(2024);
    auto image = ConsistentImage(2024);
    auto data = std::make_unique<GameData>();
    data->Decode(*image);
    auto fresh = std::make_unique<GameData>();
    int refusals = 0;
    int listRefusals = 0;
    for (int round = 0; round < 40; ++round) {
        LevelRecord& rec = data->levels[static_cast<std::size_t>(round % kLevelCount)];
        for (int step = 0; step < 50; ++step) {
            const LevelRecord before = rec;
            const Outcome outcome = ApplyRandomOperation(rec, rng);
            if (outcome.result < 0) {
                ++refusals;
                listRefusals += outcome.endsList ? 1 : 0;
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
    EXPECT_GT(listRefusals, 50);
}

// Every edit the model accepted is in the file after a save and an open: a long random script
// of hallway and enemy operations on every level, saved through the document and opened again,
// gives back exactly the hallway and enemy tables the model held.
TEST(RandomEdits, ASavedScriptOpensAgainWithTheSameHallwaysAndEnemies) {
    for (const std::uint32_t seed : {7u, 8u, 9u}) {
        SCOPED_TRACE(seed);
        testing::TempFolder folder;
        const auto path = folder / "game.nes";
        const auto image = ConsistentImage(seed);
        testing::WriteFileBytes(path, {image->bytes.begin(), image->bytes.end()});
        RecordingReporter reporter;
        CKorvaneDoc doc(&reporter);
        ASSERT_TRUE(doc.OnOpenDocument(path));
        std::mt19937 rng(seed);
        int accepted = 0;
        for (int step = 0; step < 3000; ++step) {
            LevelRecord& rec = doc.level(static_cast<int>(rng() % kLevelCount));
            accepted += ApplyRandomOperation(rec, rng).result >= 0 ? 1 : 0;
        }
        EXPECT_GT(accepted, 1000);
        ASSERT_TRUE(doc.OnSaveDocument(path));

        CKorvaneDoc reopened(&reporter);
        ASSERT_TRUE(reopened.OnOpenDocument(path));
        EXPECT_TRUE(reporter.messages.empty());
        for (int n = 0; n < kLevelCount; ++n) {
            const LevelRecord& held = doc.level(n);
            const LevelRecord& read = reopened.level(n);
            EXPECT_EQ(read.hallwayCount, held.hallwayCount) << n;
            EXPECT_EQ(read.hallways, held.hallways) << n;
            EXPECT_EQ(read.roomOrder, held.roomOrder) << n;
            EXPECT_EQ(read.enemyCount, held.enemyCount) << n;
            EXPECT_EQ(read.enemies, held.enemies) << n;
        }
    }
}

} // namespace
} // namespace korvane
