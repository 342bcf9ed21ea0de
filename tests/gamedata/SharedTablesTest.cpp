#include "ImageBuilder.h"

#include "gamedata/GameData.h"

#include <gtest/gtest.h>

#include <memory>

namespace korvane {
namespace {

using testing::RecordSpec;
using testing::WritePointer;
using testing::WriteRecords;

constexpr std::uint32_t kBank26 = 0x34010;

TEST(RecordBank, DecodesBothKindsWithTheirPointerCounts) {
    auto image = testing::MakeZeroImage();
    const auto a = WriteRecords(*image, kBank26, 0x8300,
                                {{2, 0x10, {1, 2, 3}}, {0xFF, 0x11, {}}, {0, 0x12, {9}}});
    ASSERT_EQ(a, (std::vector<std::uint16_t>{0x8300, 0x8305, 0x8307}));
    // Kind B follows kind A; bit 7 of byte 0 is a flag and does not count.
    const auto b =
        WriteRecords(*image, kBank26, 0x830A, {{0x81, 0x20, {1, 2, 3, 4}}, {0, 0x21, {5, 6}}});
    ASSERT_EQ(b, (std::vector<std::uint16_t>{0x830A, 0x8310}));
    WritePointer(*image, kBank26, false, 0, 0x8300);
    WritePointer(*image, kBank26, false, 5, 0x8300);
    WritePointer(*image, kBank26, false, 6, 0x8307);
    WritePointer(*image, kBank26, false, 127, 0x830A); // largest pointer of A: the list ends
    WritePointer(*image, kBank26, true, 3, 0x8310);
    WritePointer(*image, kBank26, true, 255, 0x8310);

    RecordBank bank;
    bank.Decode(*image, kBank26);
    EXPECT_EQ(bank.fileOffset, kBank26);
    EXPECT_EQ(bank.maxA, 0x830A);
    EXPECT_EQ(bank.countA, 3);
    ASSERT_EQ(bank.recordsA.size(), 3u);
    EXPECT_EQ(bank.recordsA[0], (BankRecord{0x8300, 2, {2, 0x10}, {1, 2, 3}}));
    EXPECT_EQ(bank.recordsA[1], (BankRecord{0x8305, 0, {0xFF, 0x11}, {}}));
    EXPECT_EQ(bank.recordsA[2], (BankRecord{0x8307, 1, {0, 0x12}, {9}}));
    EXPECT_EQ(bank.endA, 0x830A);
    EXPECT_EQ(bank.maxB, 0x8310);
    EXPECT_EQ(bank.countB, 2);
    ASSERT_EQ(bank.recordsB.size(), 2u);
    EXPECT_EQ(bank.recordsB[0], (BankRecord{0x830A, 0, {0x81, 0x20}, {1, 2, 3, 4}}));
    EXPECT_EQ(bank.recordsB[1], (BankRecord{0x8310, 2, {0, 0x21}, {5, 6}}));
    EXPECT_EQ(bank.pointersA[5], 0x8300);
    EXPECT_EQ(bank.pointersB[255], 0x8310);

    auto written = testing::MakeRandomImage(8);
    auto before = std::make_unique<RomImage>(*written);
    bank.Encode(*written);
    for (std::size_t i = 0; i < kRomSize; ++i) {
        const bool tables = i >= kBank26 && i < kBank26 + 0x300;
        const bool records = i >= kBank26 + 0x300 && i < kBank26 + 0x314;
        ASSERT_EQ(written->bytes[i], tables || records ? image->bytes[i] : before->bytes[i]) << i;
    }
}

TEST(RecordBank, PointersAtOrBelowTheFirstRecordGiveNoKindARecords) {
    auto image = testing::MakeZeroImage();
    WritePointer(*image, kBank26, false, 9, 0x8300);
    WritePointer(*image, kBank26, true, 0, 0x8300);
    WriteRecords(*image, kBank26, 0x8300, {{1, 7, {1, 2, 3, 4}}});
    RecordBank bank;
    bank.Decode(*image, kBank26);
    EXPECT_EQ(bank.countA, 0);
    EXPECT_EQ(bank.endA, 0x8300);
    ASSERT_EQ(bank.countB, 1);
    EXPECT_EQ(bank.recordsB[0].address, 0x8300);
    EXPECT_EQ(bank.recordsB[0].pointerCount, 1);
}

TEST(RecordBank, ARecordRunningPastTheBankEndsTheList) {
    auto image = testing::MakeRandomImage(21);
    // Table A reaches the last bytes of the bank, table B holds 0xFFFF.
    for (int i = 0; i < 128; ++i) {
        WritePointer(*image, kBank26, false, i, 0x9FFF);
    }
    for (int i = 0; i < 256; ++i) {
        WritePointer(*image, kBank26, true, i, 0xFFFF);
    }
    RecordBank bank;
    bank.Decode(*image, kBank26);
    ASSERT_FALSE(bank.recordsA.empty());
    for (const auto* list : {&bank.recordsA, &bank.recordsB}) {
        for (const BankRecord& record : *list) {
            ASSERT_LE(record.address + 2u + record.items.size(), 0xA000u);
        }
    }
    // The list ends exactly where the next record would not fit.
    const BankRecord& last = bank.recordsB.empty() ? bank.recordsA.back() : bank.recordsB.back();
    const std::size_t next = last.address + 2u + last.items.size();
    const std::size_t byte0 = next + 2 <= 0xA000 ? image->bytes[kBank26 + next - 0x8000] : 0;
    EXPECT_GT(next + 2 + 2 * ((byte0 & 0x7F) + 1), 0xA000u);

    // A bank holding an edited record that no longer fits writes nothing past its end.
    bank.recordsB.push_back({0x9FFC, 0, {0x7F, 0}, std::vector<std::uint8_t>(256, 0x77)});
    auto out = std::make_unique<RomImage>(*image);
    bank.Encode(*out);
    EXPECT_EQ(out->bytes[kBank26 + 0x1FFF], 0x77);
    EXPECT_EQ(out->bytes[kBank26 + 0x2000], image->bytes[kBank26 + 0x2000]);
}

TEST(EnemyGraphics, TablesComeFromBanksZeroAndOneAndTheSpritePages) {
    auto image = testing::MakeRandomImage(30);
    EnemyGraphics graphics;
    graphics.Decode(*image);
    for (std::size_t i = 0; i < 256; ++i) {
        EXPECT_EQ(graphics.enemyIdTable[i], image->bytes[0x110 + i]);
    }
    for (std::size_t n = 0; n < 58; ++n) {
        for (std::size_t k = 0; k < 4; ++k) {
            EXPECT_EQ(graphics.enemyBanks[n].paletteA[k], image->bytes[0x2040 + 8 * n + k]);
            EXPECT_EQ(graphics.enemyBanks[n].paletteB[k], image->bytes[0x2044 + 8 * n + k]);
        }
        EXPECT_EQ(graphics.enemyBanks[n].pageA, image->bytes[0x2210 + 2 * n]);
        EXPECT_EQ(graphics.enemyBanks[n].pageB, image->bytes[0x2211 + 2 * n]);
    }
    EXPECT_TRUE(std::equal(graphics.spriteTiles.begin(), graphics.spriteTiles.end(),
                           image->bytes.begin() + 0x40010));
    auto zero = testing::MakeZeroImage();
    graphics.Encode(*zero);
    for (std::size_t i = 0; i < kRomSize; ++i) {
        const bool written = (i >= 0x110 && i < 0x210) || (i >= 0x2040 && i < 0x2040 + 8 * 58) ||
                             (i >= 0x2210 && i < 0x2210 + 2 * 58) || (i >= 0x40010 && i < 0x50010);
        ASSERT_EQ(zero->bytes[i], written ? image->bytes[i] : 0) << i;
    }
}

TEST(GameData, AboutTilesAreCopiedInOrderAndNotWrittenBack) {
    auto image = testing::MakeRandomImage(40);
    auto data = std::make_unique<GameData>();
    data->Decode(*image);
    std::size_t k = 0;
    for (const auto& [offset, length] : {std::pair{0x5F630, 64},
                                         {0x5F730, 64},
                                         {0x5F530, 32},
                                         {0x5F260, 16},
                                         {0x5F3B0, 16},
                                         {0x5F550, 16},
                                         {0x5F3C0, 16}}) {
        for (int i = 0; i < length; ++i) {
            EXPECT_EQ(data->aboutTiles[k++], image->bytes[static_cast<std::size_t>(offset + i)]);
        }
    }
    for (std::size_t i = 0; i < 768; ++i) {
        EXPECT_EQ(data->aboutTilesLarge[i], image->bytes[0x5D010 + i]);
    }
    data->aboutTiles.fill(0);
    data->aboutTilesLarge.fill(0);
    auto out = std::make_unique<RomImage>(*image);
    data->Encode(*out);
    EXPECT_EQ(out->bytes, image->bytes);
}

TEST(GameData, SharedCharacterPagesReachTheFileFromTheCopyWrittenLast) {
    auto image = testing::MakeZeroImage();
    // Rows 0 and 8 both use pages 0x48-0x49 for their first half; row 3 uses sprite page 2.
    for (std::uint32_t bank : {LevelCatalogue[0].bankOffset, LevelCatalogue[8].bankOffset}) {
        image->bytes[bank + 0x0A80] = 0x48;
    }
    image->bytes[LevelCatalogue[3].bankOffset + 0x0A80] = 0x02;
    auto data = std::make_unique<GameData>();
    data->Decode(*image);
    data->levels[0].tiles[0] = 0x11; // an earlier row: overwritten by row 8's copy
    data->levels[8].tiles[1] = 0x22;
    data->levels[3].tiles[2] = 0x33; // a sprite page: overwritten by the sprite tables
    data->Encode(*image);
    EXPECT_EQ(image->bytes[0x40010 + 0x48 * 0x400], 0x00);
    EXPECT_EQ(image->bytes[0x40010 + 0x48 * 0x400 + 1], 0x22);
    EXPECT_EQ(image->bytes[0x40010 + 0x02 * 0x400 + 2], 0x00);
}

} // namespace
} // namespace korvane
