#include "ImageBuilder.h"

#include "gamedata/GameData.h"

#include <gtest/gtest.h>

#include <memory>

namespace korvane {
namespace {

using testing::LevelWriter;

std::uint8_t ByteAt(const RomImage& image, std::size_t offset) {
    return image.bytes.at(offset);
}

// Row 14 lies in bank 15 at file offset 0x1E010: rows are not in bank order.
constexpr std::size_t kRow14Bank = 0x1E010;

TEST(LevelDecode, EveryFieldComesFromItsPlaceInTheBank) {
    auto image = testing::MakeRandomImage(14);
    LevelWriter level(*image, kRow14Bank);
    level.SetHallway(0, {0x12, 3, 0x5, 2});
    level.SetHallway(1, {0x3A, 5, 0xC, 0});
    level.SetHallway(2, {0x01, 1, 0x0, 0}); // ends the list
    level.SetRoomOrder({7, 8, 9, 31});
    level.At(0x0A80) = 0x21; // tileBanks
    level.At(0x0A81) = 0x40;
    level.At(0x0B00 + 7) = 0xFF; // entry 7 is the terminator
    level.At(0x0C00 + 7) = 0xFF;
    level.At(0x0D00 + 7) = 0xFF;
    level.At(0x0E00 + 7) = 0xFF;
    for (int i = 0; i < 7; ++i) {
        level.At(0x0B00 + static_cast<std::size_t>(i)) = 3; // not all 0xFF
    }

    auto data = std::make_unique<GameData>();
    data->Decode(*image);
    const LevelRecord& rec = data->levels[14];
    const auto b = [&](std::size_t offset) { return ByteAt(*image, kRow14Bank + offset); };

    for (std::size_t i = 0; i < 256; ++i) {
        EXPECT_EQ(rec.enemies[i].roomPosition, b(0x0B00 + i));
        EXPECT_EQ(rec.enemies[i].x, b(0x0C00 + i));
        EXPECT_EQ(rec.enemies[i].y, b(0x0D00 + i));
        EXPECT_EQ(rec.enemies[i].enemyId, b(0x0E00 + i));
        for (std::size_t k = 0; k < 4; ++k) {
            EXPECT_EQ(rec.blocks[i].tiles[k], b(0x1B00 + 0x100 * k + i));
            EXPECT_EQ(rec.assemblies[i].blocks[k], b(0x1700 + 4 * i + k));
        }
        EXPECT_EQ(rec.blocks[i].attributes, b(0x1F00 + i));
    }
    for (std::size_t r = 0; r < 32; ++r) {
        for (std::size_t c = 0; c < 64; ++c) {
            EXPECT_EQ(rec.rooms[r].cells[c], b(0x0F00 + 64 * r + c));
        }
        EXPECT_EQ(rec.roomOrder[r], b(0x0A00 + r));
    }
    for (std::size_t s = 0; s < 5; ++s) {
        for (std::size_t k = 0; k < 20; ++k) {
            EXPECT_EQ(rec.paletteSets[s].bytes[k], b(0x0A82 + 20 * s + k));
        }
    }
    EXPECT_EQ(rec.paletteSets[2].effectCodes()[1], b(0x0A82 + 40 + 17));
    for (std::size_t h = 0; h < 16; ++h) {
        EXPECT_EQ(rec.hallways[h].enemyBank, b(0x0A60 + 2 * h));
        EXPECT_EQ(rec.hallways[h].paletteSet, b(0x0A61 + 2 * h));
        EXPECT_EQ(rec.hallways[h].transition, b(0x0A40 + h) >> 4);
        EXPECT_EQ(rec.hallways[h].lastRoom, b(0x0A40 + h) & 0x0F);
    }
    EXPECT_EQ(rec.hallwayCount, 2);
    EXPECT_EQ(rec.tileBanks, (std::array<std::uint8_t, 2>{0x21, 0x40}));
    EXPECT_EQ(rec.checkpointHallways, (std::array<std::uint8_t, 2>{b(0x0AF0), b(0x0AF1)}));
    EXPECT_EQ(rec.checkpointRooms, (std::array<std::uint8_t, 2>{b(0x0AF8), b(0x0AF9)}));
    EXPECT_EQ(rec.enemyCount, 7);
    for (std::size_t i = 0; i < 0x800; ++i) {
        EXPECT_EQ(rec.tiles[i], ByteAt(*image, 0x40010 + 0x21 * 0x400 + i));
        EXPECT_EQ(rec.tiles[0x800 + i], ByteAt(*image, 0x40010 + 0x40 * 0x400 + i));
    }
    std::size_t raw = 0;
    for (const auto& [start, length] :
         {std::pair{0x0A20, 32}, {0x0A50, 16}, {0x0A70, 16}, {0x0AE6, 26}}) {
        for (int k = 0; k < length; ++k) {
            EXPECT_EQ(rec.undecodedBytes[raw++], b(static_cast<std::size_t>(start + k)));
        }
    }
    EXPECT_EQ(raw, 90u);
    // Rooms 7, 8, 9 (hallway 0) and 31 (hallway 1) are used once each.
    EXPECT_EQ(rec.roomUse[7] + rec.roomUse[8] + rec.roomUse[9] + rec.roomUse[31], 4);
    EXPECT_EQ(data->decoded, 1);
}

TEST(LevelDecode, HallwayListEndsAtTheFirstEntryThatFailsItsTests) {
    struct Case {
        Hallway second;
        std::uint8_t secondFirstRoom;
        int expected;
    };
    const Case cases[] = {
        {{0x3A, 5, 1, 0}, 31, 2}, // the largest values that pass
        {{0x3B, 0, 1, 0}, 0, 1},  // enemy bank too large
        {{0x00, 6, 1, 0}, 0, 1},  // palette set too large
        {{0x00, 0, 1, 0}, 32, 1}, // first room not a room
        {{0x00, 0, 0, 0}, 0, 1},  // one room, transition 0
        {{0x00, 0, 0, 1}, 0, 2},  // two rooms, transition 0 is a hallway
    };
    for (const Case& c : cases) {
        auto image = testing::MakeZeroImage();
        LevelWriter level(*image, 0x10);
        level.SetHallway(0, {0, 0, 1, 2});
        level.SetHallway(1, c.second);
        level.SetHallway(2, {0, 0, 0, 0});
        level.SetRoomOrder({0, 1, 2, c.secondFirstRoom});
        LevelRecord rec;
        rec.Decode(*image, 0x10);
        EXPECT_EQ(rec.hallwayCount, c.expected) << "enemyBank " << int(c.second.enemyBank);
    }
}

TEST(LevelDecode, ZeroImageHasNoHallwaysAndAllRoomsFree) {
    auto image = testing::MakeZeroImage();
    auto data = std::make_unique<GameData>();
    data->Decode(*image);
    for (const LevelRecord& rec : data->levels) {
        EXPECT_EQ(rec.hallwayCount, 0);
        EXPECT_EQ(rec.RemainingRooms(), 32);
        EXPECT_EQ(rec.RemainingHallways(), 15);
        EXPECT_EQ(rec.enemyCount, 0); // no terminator: the count stays 0
    }
}

TEST(LevelDecode, SixteenHallwaysOfTwoRoomsEndAtTheFirstPositionBeyondTheOrder) {
    auto image = testing::MakeZeroImage();
    LevelWriter level(*image, 0x10);
    for (int h = 0; h < 16; ++h) {
        level.SetHallway(
            h,
            {0, 0, 1, static_cast<std::uint8_t>(h < 15 ? 1 : 0)}); // 30 rooms, then a hallway at 30
    }
    LevelRecord rec;
    rec.Decode(*image, 0x10);
    EXPECT_EQ(rec.hallwayCount, 16);
    level.SetHallway(15, {0, 0, 1, 1});
    level.SetHallway(14, {0, 0, 1, 3}); // hallway 15 would start at position 32
    rec.Decode(*image, 0x10);
    EXPECT_EQ(rec.hallwayCount, 15);
}

TEST(LevelDecode, TileBanksBeyondCharacterMemoryReadZerosAndWriteOnlyTheInsidePart) {
    auto image = testing::MakeRandomImage(3);
    LevelWriter level(*image, 0x10);
    level.At(0x0A80) = 127; // half inside, half beyond the last page
    level.At(0x0A81) = 200; // wholly beyond
    LevelRecord rec;
    rec.Decode(*image, 0x10);
    for (std::size_t i = 0; i < 0x400; ++i) {
        EXPECT_EQ(rec.tiles[i], ByteAt(*image, 0x40010 + 127 * 0x400 + i));
        EXPECT_EQ(rec.tiles[0x400 + i], 0);
    }
    for (std::size_t i = 0x800; i < 0x1000; ++i) {
        EXPECT_EQ(rec.tiles[i], 0);
    }
    rec.tiles.fill(0x5A);
    auto before = std::make_unique<RomImage>(*image);
    rec.Encode(*image, 0x10);
    for (std::size_t i = 0; i < kRomSize; ++i) {
        const bool insidePage127 = i >= 0x40010 + 127 * 0x400;
        ASSERT_EQ(image->bytes[i], insidePage127 ? 0x5A : before->bytes[i]) << i;
    }
}

TEST(LevelEncode, HallwayNibblesKeepOnlyTheLowFourBits) {
    auto image = testing::MakeZeroImage();
    LevelRecord rec;
    rec.hallways[3] = {0x39, 4, 0x1A, 0x12};
    rec.Encode(*image, 0x2010);
    EXPECT_EQ(ByteAt(*image, 0x2010 + 0x0A43), 0xA2);
    EXPECT_EQ(ByteAt(*image, 0x2010 + 0x0A66), 0x39);
    EXPECT_EQ(ByteAt(*image, 0x2010 + 0x0A67), 4);
}

TEST(LevelEncode, BytesOutsideTheLevelFormatAreNeverWritten) {
    auto image = testing::MakeRandomImage(5);
    auto before = std::make_unique<RomImage>(*image);
    LevelRecord rec; // all zero: differs from the random bank nearly everywhere
    rec.tileBanks = {0, 1};
    rec.Encode(*image, 0x4010);
    for (std::size_t i = 0; i < kRomSize; ++i) {
        const bool decodedPart = i >= 0x4010 + 0x0A00 && i < 0x4010 + 0x2000;
        const bool undecoded =
            (i >= 0x4010 + 0x0A20 && i < 0x4010 + 0x0A40) ||
            (i >= 0x4010 + 0x0A50 && i < 0x4010 + 0x0A60) ||
            (i >= 0x4010 + 0x0AE6 && i < 0x4010 + 0x0B00 && i != 0x4010 + 0x0AF0 &&
             i != 0x4010 + 0x0AF1 && i != 0x4010 + 0x0AF8 && i != 0x4010 + 0x0AF9);
        const bool tilePages = i >= 0x40010 && i < 0x40010 + 0x800 + 0x400;
        if ((!decodedPart || undecoded) && !tilePages) {
            ASSERT_EQ(image->bytes[i], before->bytes[i]) << std::hex << i;
        }
    }
}

TEST(GameDataRoundTrip, RandomImagesEncodeBackByteForByte) {
    for (std::uint32_t seed = 1; seed <= 6; ++seed) {
        auto image = testing::MakeRandomImage(seed);
        if (seed % 2 == 0) {
            std::mt19937 rng(seed);
            for (const CatalogueRow& row : LevelCatalogue) {
                testing::WriteConsistentLevel(*image, row.bankOffset, rng);
            }
        }
        auto data = std::make_unique<GameData>();
        data->Decode(*image);
        auto encoded = std::make_unique<RomImage>(*image);
        data->Encode(*encoded);
        EXPECT_TRUE(encoded->bytes == image->bytes) << "seed " << seed;

        // Encoded over other bytes, every level field reads back as it was.
        auto other = testing::MakeRandomImage(seed + 100);
        data->Encode(*other);
        auto again = std::make_unique<GameData>();
        again->Decode(*other);
        for (std::size_t n = 0; n < kLevelCount; ++n) {
            again->levels[n].undecodedBytes = data->levels[n].undecodedBytes;
            EXPECT_TRUE(again->levels[n] == data->levels[n]) << "seed " << seed << " level " << n;
        }
        EXPECT_EQ(again->enemyGraphics, data->enemyGraphics);
    }
}

} // namespace
} // namespace korvane
