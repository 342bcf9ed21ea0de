#include "DemoCartridge.h"
#include "gamedata/GameData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>

namespace korvane {
namespace {

std::unique_ptr<GameData> Decoded(const RomImage& image) {
    auto data = std::make_unique<GameData>();
    data->Decode(image);
    return data;
}

std::uint32_t SortKey(const EnemyPlacement& e) {
    return static_cast<std::uint32_t>(e.roomPosition) << 24 |
           static_cast<std::uint32_t>(e.x) << 16 | static_cast<std::uint32_t>(e.y) << 8 | e.enemyId;
}

// Total rooms of the valid hallways.
int Positions(const LevelRecord& level) {
    int total = 0;
    for (int h = 0; h < level.hallwayCount; ++h) {
        total += level.hallways[static_cast<std::size_t>(h)].lastRoom + 1;
    }
    return total;
}

class DemoCartridgeSeeds : public ::testing::TestWithParam<std::uint32_t> {};

TEST(DemoCartridge, SameSeedSameBytesOtherSeedOtherBytes) {
    const auto first = MakeDemoCartridge(1);
    const auto again = MakeDemoCartridge(1);
    const auto other = MakeDemoCartridge(2);
    EXPECT_TRUE(first->bytes == again->bytes);
    EXPECT_FALSE(first->bytes == other->bytes);
    // The default seed is 1.
    EXPECT_TRUE(MakeDemoCartridge()->bytes == first->bytes);
}

TEST(DemoCartridge, WrittenFileIsTheWholeImageWithAPlausibleHeader) {
    const auto path = std::filesystem::temp_directory_path() / "korvane-demo-test.nes";
    std::string error;
    ASSERT_TRUE(WriteDemoCartridge(path.string(), 5, error)) << error;
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> file((std::istreambuf_iterator<char>(in)), {});
    std::filesystem::remove(path);
    ASSERT_EQ(file.size(), 393232u);
    const auto image = MakeDemoCartridge(5);
    EXPECT_TRUE(
        std::equal(file.begin(), file.end(), image->bytes.begin(),
                   [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; }));
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "NES\x1A");
    EXPECT_EQ(file[4], 16); // 16 units of 16 KB program memory
    EXPECT_EQ(file[5], 16); // 16 units of 8 KB character memory
}

TEST(DemoCartridge, WritingIntoAMissingFolderFailsWithAReason) {
    std::string error;
    EXPECT_FALSE(WriteDemoCartridge("/nonexistent-folder/demo.nes", 1, error));
    EXPECT_NE(error.find("/nonexistent-folder/demo.nes"), std::string::npos);
}

TEST_P(DemoCartridgeSeeds, DecodeThenEncodeReproducesEveryByte) {
    const auto image = MakeDemoCartridge(GetParam());
    const auto data = Decoded(*image);
    auto encoded = std::make_unique<RomImage>(*image);
    data->Encode(*encoded);
    EXPECT_TRUE(encoded->bytes == image->bytes);
    // Every level, record bank and enemy table comes back from a blank image too (only the
    // undecoded bytes and the About tiles are not written).
    auto blank = std::make_unique<RomImage>();
    data->Encode(*blank);
    const auto again = Decoded(*blank);
    for (std::size_t n = 0; n < data->levels.size(); ++n) {
        LevelRecord level = again->levels[n];
        level.undecodedBytes = data->levels[n].undecodedBytes;
        EXPECT_TRUE(level == data->levels[n]) << n;
    }
    EXPECT_TRUE(again->recordBanks == data->recordBanks);
    EXPECT_TRUE(again->enemyGraphics == data->enemyGraphics);
}

TEST_P(DemoCartridgeSeeds, LevelsHaveHallwaysRoomsCheckpointsAndSortedEnemies) {
    const auto data = Decoded(*MakeDemoCartridge(GetParam()));
    std::set<int> hallwayCounts;
    for (const LevelRecord& level : data->levels) {
        SCOPED_TRACE(&level - data->levels.data());
        ASSERT_GE(level.hallwayCount, 1);
        ASSERT_LE(level.hallwayCount, 8);
        hallwayCounts.insert(level.hallwayCount);
        const int positions = Positions(level);
        EXPECT_LE(positions, 32);
        for (int h = 0; h < level.hallwayCount; ++h) {
            const Hallway& hallway = level.hallways[static_cast<std::size_t>(h)];
            EXPECT_LE(hallway.lastRoom, 5);
            EXPECT_LE(hallway.enemyBank, 0x39);
            EXPECT_LE(hallway.paletteSet, 4);
            EXPECT_FALSE(hallway.lastRoom == 0 && hallway.transition == 0);
        }
        const Hallway& end = level.hallways[static_cast<std::size_t>(level.hallwayCount)];
        EXPECT_EQ(end.lastRoom, 0);
        EXPECT_EQ(end.transition, 0);
        for (int p = 0; p < positions; ++p) {
            EXPECT_LT(level.roomOrder[static_cast<std::size_t>(p)], 32);
        }
        for (std::size_t k = 0; k < 2; ++k) {
            const int room = level.checkpointRooms[k];
            if (room == kNoCheckpoint) {
                EXPECT_EQ(level.checkpointHallways[k], level.hallwayCount);
                continue;
            }
            ASSERT_LT(room, positions);
            const int h = level.checkpointHallways[k];
            ASSERT_LT(h, level.hallwayCount);
            EXPECT_GE(room, level.HallwayStart(h));
            EXPECT_LE(room,
                      level.HallwayStart(h) + level.hallways[static_cast<std::size_t>(h)].lastRoom);
        }
        ASSERT_GE(level.enemyCount, 10);
        ASSERT_LE(level.enemyCount, 60);
        for (int i = 0; i < level.enemyCount; ++i) {
            const EnemyPlacement& enemy = level.enemies[static_cast<std::size_t>(i)];
            EXPECT_LT(enemy.roomPosition, positions);
            if (i > 0) {
                EXPECT_LT(SortKey(level.enemies[static_cast<std::size_t>(i - 1)]), SortKey(enemy));
            }
        }
        for (std::size_t i = static_cast<std::size_t>(level.enemyCount); i < 256; ++i) {
            EXPECT_TRUE(level.enemies[i].IsTerminator());
        }
        EXPECT_GE(level.tileBanks[0], 64);
        EXPECT_EQ(level.tileBanks[1], level.tileBanks[0] + 2);
    }
    EXPECT_EQ(hallwayCounts.size(), 8u); // every count from 1 to 8 somewhere
    // Levels that share a character area in the catalogue share their tiles.
    EXPECT_EQ(data->levels[0].tileBanks, data->levels[8].tileBanks);
    EXPECT_TRUE(data->levels[0].tiles == data->levels[8].tiles);
    EXPECT_FALSE(data->levels[0].tiles == data->levels[1].tiles);
}

TEST_P(DemoCartridgeSeeds, EveryBlockTypePaletteAndEffectCodeOccurs) {
    const auto data = Decoded(*MakeDemoCartridge(GetParam()));
    std::set<int> effectBytes;
    for (const LevelRecord& level : data->levels) {
        std::set<int> types;
        std::set<int> palettes;
        for (const Block& block : level.blocks) {
            types.insert(block.blockType());
            palettes.insert(block.palette());
        }
        EXPECT_EQ(types.size(), 16u);
        EXPECT_EQ(palettes.size(), 4u);
        // The rooms in use draw on many assemblies and tiles, not on one.
        EXPECT_GT(std::count_if(level.tileUse.begin(), level.tileUse.end(),
                                [](int uses) { return uses > 0; }),
                  20);
        for (const PaletteSet& set : level.paletteSets) {
            effectBytes.insert(set.effectCodes().begin(), set.effectCodes().end());
        }
    }
    for (const int code :
         {0x80, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8A, 0x8B, 0x8D}) {
        EXPECT_TRUE(effectBytes.count(code)) << std::hex << code;
    }
    EXPECT_TRUE(effectBytes.count(0x81) || effectBytes.count(0x8C)); // bytes that are no code
}

TEST_P(DemoCartridgeSeeds, SharedTablesAreFilledIn) {
    const auto data = Decoded(*MakeDemoCartridge(GetParam()));
    for (const RecordBank& bank : data->recordBanks) {
        ASSERT_FALSE(bank.recordsA.empty());
        ASSERT_FALSE(bank.recordsB.empty());
        EXPECT_EQ(bank.endA, bank.recordsB.front().address);
        EXPECT_EQ(bank.maxB, bank.recordsB.back().address);
        bool sharedA = false;
        for (const BankRecord& record : bank.recordsA) {
            EXPECT_GE(record.pointerCount, 1);
            sharedA = sharedA || record.pointerCount > 1;
            EXPECT_EQ(record.items.size(), static_cast<std::size_t>((record.header[0] + 1) & 0xFF));
        }
        bool sharedB = false;
        bool flagged = false;
        for (const BankRecord& record : bank.recordsB) {
            EXPECT_GE(record.pointerCount, 1);
            sharedB = sharedB || record.pointerCount > 1;
            flagged = flagged || (record.header[0] & 0x80) != 0;
            EXPECT_LE(record.address + 2 + record.items.size(), 0xA000u);
        }
        EXPECT_TRUE(sharedA);
        EXPECT_TRUE(sharedB);
        EXPECT_TRUE(flagged);
    }
    for (const EnemyBank& bank : data->enemyGraphics.enemyBanks) {
        EXPECT_LT(bank.pageA, 64);
        EXPECT_LT(bank.pageB, 64);
    }
    auto nonZero = [](const auto& bytes) {
        return std::count_if(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b != 0; });
    };
    EXPECT_GT(nonZero(data->aboutTiles), 50);
    EXPECT_GT(nonZero(data->aboutTilesLarge), 200);
    EXPECT_GT(nonZero(data->enemyGraphics.spriteTiles), 20000);
}

INSTANTIATE_TEST_SUITE_P(Seeds, DemoCartridgeSeeds,
                         ::testing::Values(1u, 2u, 0u, 4242u, 0xFFFFFFFFu));

} // namespace
} // namespace korvane
