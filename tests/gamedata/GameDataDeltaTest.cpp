// The changes of a whole model between two states, with both sides kept.
#include "ImageBuilder.h"

#include "gamedata/GameDataDelta.h"

#include <gtest/gtest.h>

#include <memory>

namespace korvane {
namespace {

std::unique_ptr<GameData> DecodedModel(std::uint32_t seed) {
    auto image = testing::MakeRandomImage(seed);
    std::mt19937 rng(seed);
    for (const CatalogueRow& row : LevelCatalogue) {
        testing::WriteConsistentLevel(*image, row.bankOffset, rng);
    }
    auto model = std::make_unique<GameData>();
    model->Decode(*image);
    return model;
}

TEST(GameDataDeltaTest, KeepsOnlyTheChangedLevelsAndTablesAndRestoresBothSides) {
    const auto before = DecodedModel(3);
    auto after = std::make_unique<GameData>(*before);
    after->levels[3].rooms[2].cells[5] ^= 0x11;
    after->levels[3].rooms[2].cells[6] ^= 0x22;
    after->levels[9].tiles[100] ^= 0xFF;
    after->enemyGraphics.spriteTiles[0x4000] ^= 0x01;

    const GameDataDelta delta = GameDataDelta::Between(*before, *after);
    EXPECT_FALSE(delta.empty());
    EXPECT_EQ(delta.changedLevels(), (std::vector<int>{3, 9}));
    EXPECT_TRUE(delta.enemyGraphicsChanged());
    // Two runs of one level (2 bytes, then 1 byte elsewhere) and one byte of the enemy tables:
    // both sides of 4 bytes, far less than one level record.
    EXPECT_LT(delta.MemoryBytes(), 1024u);

    auto model = std::make_unique<GameData>(*after);
    delta.ApplyBefore(*model);
    EXPECT_TRUE(*model == *before);
    delta.ApplyAfter(*model);
    EXPECT_TRUE(*model == *after);
}

TEST(GameDataDeltaTest, EqualModelsGiveAnEmptyDelta) {
    const auto model = DecodedModel(5);
    const auto copy = std::make_unique<GameData>(*model);
    const GameDataDelta delta = GameDataDelta::Between(*model, *copy);
    EXPECT_TRUE(delta.empty());
    EXPECT_TRUE(delta.changedLevels().empty());
    EXPECT_FALSE(delta.enemyGraphicsChanged());
}

TEST(GameDataDeltaTest, AWholeOtherModelComesAndGoesRecordBanksAndFlagIncluded) {
    const auto empty = std::make_unique<GameData>();
    const auto decoded = DecodedModel(8);
    ASSERT_FALSE(empty->recordBanks == decoded->recordBanks);
    const GameDataDelta delta = GameDataDelta::Between(*empty, *decoded);
    EXPECT_EQ(delta.changedLevels().size(), 16u);

    auto model = std::make_unique<GameData>();
    delta.ApplyAfter(*model);
    EXPECT_TRUE(*model == *decoded);
    EXPECT_EQ(model->decoded, 1);
    delta.ApplyBefore(*model);
    EXPECT_TRUE(*model == *empty);
    EXPECT_EQ(model->decoded, 0);
}

TEST(GameDataDeltaTest, UnchangedPartsKeepWhatTheTargetHolds) {
    const auto before = DecodedModel(4);
    auto after = std::make_unique<GameData>(*before);
    after->levels[0].blocks[1].attributes ^= 0x40;
    const GameDataDelta delta = GameDataDelta::Between(*before, *after);

    // Another level differs in the target: the delta leaves it alone.
    auto target = std::make_unique<GameData>(*after);
    target->levels[5].tiles[7] ^= 0x80;
    const LevelRecord other = target->levels[5];
    delta.ApplyBefore(*target);
    EXPECT_EQ(target->levels[0], before->levels[0]);
    EXPECT_EQ(target->levels[5], other);
}

} // namespace
} // namespace korvane
