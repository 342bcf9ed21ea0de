// Copies of character pages: a tile edit reaches every copy of its page, and the query of who
// shares a half of a level's tiles, with the text the tile editor shows.
#include "ImageBuilder.h"

#include "gamedata/CKorvaneDoc.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

namespace korvane {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kPage = 0x400;
constexpr std::size_t kHalf = 0x800;

// Character memory as the test knows it, and a model whose levels and sprite tiles hold the
// pages their numbers name, as a decode would give.
class TilePages : public ::testing::Test {
protected:
    void SetUp() override {
        std::mt19937 rng(5);
        for (std::uint8_t& byte : characters) {
            byte = static_cast<std::uint8_t>(rng());
        }
        // Every level starts beyond character memory, where nothing is shared; each test puts
        // the levels it needs on real pages.
        for (int n = 0; n < kLevelCount; ++n) {
            SetBanks(n, 200, 202);
        }
        // Two bystanders on pages of their own, one of them sprite pages.
        SetBanks(0, 40, 42);
        SetBanks(15, 116, 118);
        std::copy_n(characters.begin(), kSpriteTileBytes, data->enemyGraphics.spriteTiles.begin());
    }

    // Gives level n the tile banks and the tiles they name (zeros beyond character memory).
    void SetBanks(int n, std::uint8_t first, std::uint8_t second) {
        LevelRecord& level = data->levels[static_cast<std::size_t>(n)];
        level.tileBanks = {first, second};
        for (std::size_t half = 0; half < 2; ++half) {
            for (std::size_t i = 0; i < kHalf; ++i) {
                const std::size_t at = level.tileBanks[half] * kPage + i;
                level.tiles[half * kHalf + i] = at < characters.size() ? characters[at] : 0;
            }
        }
    }
    LevelRecord& Level(int n) { return data->levels[static_cast<std::size_t>(n)]; }

    std::vector<std::uint8_t> characters = std::vector<std::uint8_t>(kCharacterSize);
    std::unique_ptr<GameData> data = std::make_unique<GameData>();
};

TEST_F(TilePages, AnEditReachesTheOtherLevelAndTheSpritePages) {
    SetBanks(2, 10, 74);  // pages 10, 11 | 74, 75
    SetBanks(9, 11, 102); // pages 11, 12 | 102, 103
    const auto before = Level(2).tiles;
    const auto untouched = std::make_unique<GameData>(*data);
    // Tile 64 of level 2 is the first tile of page 11.
    for (std::size_t i = 0; i < 16; ++i) {
        Level(2).tiles[kPage + i] ^= 0xA5;
    }
    const std::uint8_t edited = Level(2).tiles[kPage];

    EXPECT_EQ(data->CarryTileEdits(2, before), 1);
    // Page 11 is the first page of level 9's first half, and sprite page 11.
    for (std::size_t i = 0; i < kPage; ++i) {
        ASSERT_EQ(Level(9).tiles[i], Level(2).tiles[kPage + i]) << i;
        ASSERT_EQ(data->enemyGraphics.spriteTiles[11 * kPage + i], Level(2).tiles[kPage + i]) << i;
    }
    EXPECT_EQ(Level(9).tiles[0], edited);
    EXPECT_EQ(Level(9).tiles[0], characters[11 * kPage] ^ 0xA5);
    // Nothing else moved: level 9's page 12 and its second half, the other levels, the rest of
    // the sprite pages.
    EXPECT_TRUE(std::equal(Level(9).tiles.begin() + kPage, Level(9).tiles.end(),
                           untouched->levels[9].tiles.begin() + kPage));
    for (int n = 0; n < kLevelCount; ++n) {
        if (n != 2 && n != 9) {
            EXPECT_TRUE(Level(n) == untouched->levels[static_cast<std::size_t>(n)]) << n;
        }
    }
    EXPECT_TRUE(std::equal(data->enemyGraphics.spriteTiles.begin(),
                           data->enemyGraphics.spriteTiles.begin() + 11 * kPage,
                           characters.begin()));
    EXPECT_TRUE(std::equal(data->enemyGraphics.spriteTiles.begin() + 12 * kPage,
                           data->enemyGraphics.spriteTiles.end(), characters.begin() + 12 * kPage));
}

TEST_F(TilePages, NoChangeCarriesNothingAndHigherPagesAreNoSpritePages) {
    SetBanks(3, 90, 91); // pages 90, 91 | 91, 92 (the halves overlap)
    SetBanks(5, 91, 120);
    auto copy = std::make_unique<GameData>(*data);
    EXPECT_EQ(data->CarryTileEdits(3, Level(3).tiles), 0);
    EXPECT_TRUE(*data == *copy);
    EXPECT_EQ(data->CarryTileEdits(-1, Level(3).tiles), 0);
    EXPECT_EQ(data->CarryTileEdits(kLevelCount, Level(3).tiles), 0);

    // An edit of page 90 only: no other copy of it exists.
    const auto before = Level(3).tiles;
    Level(3).tiles[3] = static_cast<std::uint8_t>(~Level(3).tiles[3]);
    copy = std::make_unique<GameData>(*data);
    EXPECT_EQ(data->CarryTileEdits(3, before), 1);
    EXPECT_TRUE(*data == *copy);
}

TEST_F(TilePages, OverlappingHalvesOfOneLevelKeepBothEdits) {
    SetBanks(4, 20, 21); // page 21 is tiles 64-127 and tiles 128-191
    SetBanks(12, 21, 110);
    const auto before = Level(4).tiles;
    Level(4).tiles[kPage + 5] = 0x11; // through the first half
    Level(4).tiles[kHalf + 9] = 0x22; // through the second half
    Level(4).tiles[kPage + 7] = 0x33; // both change byte 7: the second half is written last
    Level(4).tiles[kHalf + 7] = 0x44;
    // Make sure every one of them is a change.
    ASSERT_NE(before[kPage + 5], 0x11);
    ASSERT_NE(before[kHalf + 9], 0x22);
    ASSERT_NE(before[kPage + 7], 0x33);
    ASSERT_NE(before[kHalf + 7], 0x44);

    EXPECT_EQ(data->CarryTileEdits(4, before), 1);
    for (const std::size_t copyStart : {kPage, kHalf}) {
        EXPECT_EQ(Level(4).tiles[copyStart + 5], 0x11);
        EXPECT_EQ(Level(4).tiles[copyStart + 9], 0x22);
        EXPECT_EQ(Level(4).tiles[copyStart + 7], 0x44);
        EXPECT_EQ(Level(4).tiles[copyStart + 6], characters[21 * kPage + 6]);
    }
    EXPECT_TRUE(std::equal(Level(12).tiles.begin(), Level(12).tiles.begin() + kPage,
                           Level(4).tiles.begin() + kPage));
    EXPECT_TRUE(std::equal(data->enemyGraphics.spriteTiles.begin() + 21 * kPage,
                           data->enemyGraphics.spriteTiles.begin() + 22 * kPage,
                           Level(4).tiles.begin() + kHalf));
}

TEST_F(TilePages, PagesBeyondCharacterMemoryAreNeverCopied) {
    SetBanks(6, 127, 200); // page 127, then page 128 and a whole half beyond the end
    SetBanks(7, 126, 80);  // page 127 is its tiles 64-127
    SetBanks(8, 127, 81);  // its tiles 64-127 are beyond the end, like level 6's
    auto before = Level(6).tiles;
    // Tiles 64-127 and 128-255 of level 6 lie beyond character memory.
    Level(6).tiles[kPage] = 0x5A;
    Level(6).tiles[kHalf + 1] = 0x5B;
    const auto copy = std::make_unique<GameData>(*data);
    EXPECT_EQ(data->CarryTileEdits(6, before), 0);
    EXPECT_TRUE(*data == *copy);

    before = Level(6).tiles;
    Level(6).tiles[2] = static_cast<std::uint8_t>(characters[127 * kPage + 2] ^ 0xFF);
    EXPECT_EQ(data->CarryTileEdits(6, before), 1);
    EXPECT_EQ(Level(7).tiles[kPage + 2], Level(6).tiles[2]);
    EXPECT_EQ(Level(8).tiles[2], Level(6).tiles[2]);
    EXPECT_EQ(Level(8).tiles[kPage], 0); // its part beyond the end stays as decoded
    EXPECT_NE(Level(8).tiles[kPage], 0x5A);
    EXPECT_TRUE(data->enemyGraphics == copy->enemyGraphics);
}

TEST_F(TilePages, SharingNamesTheOtherLevelsTheOwnHalfAndTheSpritePages) {
    SetBanks(2, 10, 74);
    SetBanks(9, 11, 102); // shares page 11 through its first half
    SetBanks(12, 200, 9); // shares page 10 through its second half (pages 9, 10)
    SetBanks(4, 20, 21);
    SetBanks(6, 127, 200);
    SetBanks(7, 126, 201);

    TileHalfSharing expected;
    expected.levels = {9, 12};
    expected.spritePages = true;
    EXPECT_EQ(data->FindTileHalfSharing(2, 0), expected);
    EXPECT_EQ(TileHalfSharingText(0, data->FindTileHalfSharing(2, 0)),
              "Tiles 0-127 are shared with levels 9 and 12 and with the sprite tiles");
    EXPECT_EQ(data->FindTileHalfSharing(2, 1), TileHalfSharing{});
    EXPECT_EQ(TileHalfSharingText(1, data->FindTileHalfSharing(2, 1)), "");
    EXPECT_EQ(TileHalfSharingText(0, data->FindTileHalfSharing(9, 0)),
              "Tiles 0-127 are shared with level 2 and with the sprite tiles");

    expected = {};
    expected.otherHalf = true;
    expected.spritePages = true;
    EXPECT_EQ(data->FindTileHalfSharing(4, 1), expected);
    EXPECT_EQ(TileHalfSharingText(1, expected),
              "Tiles 128-255 are shared with tiles 0-127 of this level and with the sprite tiles");

    // Only page 127 of level 6 exists; level 7 shows it, nobody shows what lies beyond.
    expected = {};
    expected.levels = {7};
    EXPECT_EQ(data->FindTileHalfSharing(6, 0), expected);
    EXPECT_EQ(data->FindTileHalfSharing(6, 1), TileHalfSharing{});
    EXPECT_EQ(data->FindTileHalfSharing(7, 1), TileHalfSharing{});
    EXPECT_EQ(data->FindTileHalfSharing(-1, 0), TileHalfSharing{});
    EXPECT_EQ(data->FindTileHalfSharing(2, 2), TileHalfSharing{});
}

TEST(TileHalfSharingText, ListsLevelsThenTheOtherHalfThenTheSpriteTiles) {
    EXPECT_EQ(TileHalfSharingText(0, {{3, 7}, false, false}),
              "Tiles 0-127 are shared with levels 3 and 7");
    EXPECT_EQ(TileHalfSharingText(1, {{3}, false, false}), "Tiles 128-255 are shared with level 3");
    EXPECT_EQ(TileHalfSharingText(0, {{3, 5, 7}, false, false}),
              "Tiles 0-127 are shared with levels 3, 5 and 7");
    EXPECT_EQ(TileHalfSharingText(0, {{3}, true, true}),
              "Tiles 0-127 are shared with level 3, with tiles 128-255 of this level and with "
              "the sprite tiles");
    EXPECT_EQ(TileHalfSharingText(1, {{}, false, true}),
              "Tiles 128-255 are shared with the sprite tiles");
    EXPECT_EQ(TileHalfSharingText(0, {}), "");
}

TEST(TileHalfOutsideText, NamesTheTilesPastCharacterMemory) {
    // A half is pages firstPage and firstPage + 1, 64 tiles each; pages stop at 127.
    EXPECT_EQ(TileHalfOutsideText(0, 126), "");
    EXPECT_EQ(TileHalfOutsideText(1, 0), "");
    EXPECT_EQ(TileHalfOutsideText(0, 127),
              "Tiles 64-127 lie beyond the cartridge's character memory: changes to them "
              "cannot be saved");
    EXPECT_EQ(TileHalfOutsideText(1, 127),
              "Tiles 192-255 lie beyond the cartridge's character memory: changes to them "
              "cannot be saved");
    EXPECT_EQ(TileHalfOutsideText(1, 128),
              "Tiles 128-255 lie beyond the cartridge's character memory: changes to them "
              "cannot be saved");
    EXPECT_EQ(TileHalfOutsideText(0, 255),
              "Tiles 0-127 lie beyond the cartridge's character memory: changes to them "
              "cannot be saved");
}

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(TilePagesOnDisk, ASharedTileEditSurvivesSaveAndReopen) {
    std::string pattern = (fs::temp_directory_path() / "korvane-pages-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const fs::path folder = pattern;
    const fs::path path = folder / "game.nes";

    // Levels on pages of their own, but level 2 and level 9 share page 11, a sprite page too.
    auto image = testing::MakeRandomImage(21);
    std::mt19937 rng(21);
    for (std::size_t n = 0; n < kLevelCount; ++n) {
        const CatalogueRow& row = LevelCatalogue[n];
        testing::WriteConsistentLevel(*image, row.bankOffset, rng);
        testing::LevelWriter level(*image, row.bankOffset);
        level.At(bank::kTileBanks) = static_cast<std::uint8_t>(64 + 4 * n);
        level.At(bank::kTileBanks + 1) = static_cast<std::uint8_t>(66 + 4 * n);
    }
    testing::LevelWriter(*image, LevelCatalogue[2].bankOffset).At(bank::kTileBanks) = 10;
    testing::LevelWriter(*image, LevelCatalogue[9].bankOffset).At(bank::kTileBanks) = 11;
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(image->data()),
                  static_cast<std::streamsize>(image->size()));
    }

    CKorvaneDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(path));
    const auto before = doc.level(2).tiles;
    // Tile 64 of level 2: the first tile of page 11.
    std::array<std::uint8_t, 16> tile{};
    for (std::size_t i = 0; i < tile.size(); ++i) {
        tile[i] = static_cast<std::uint8_t>(before[kPage + i] ^ (0x10 + i));
        doc.level(2).tiles[kPage + i] = tile[i];
    }
    // Without carrying, the later copies (level 9, then the sprite pages) overwrite the edit.
    auto plain = std::make_unique<RomImage>(doc.image());
    doc.gameData().Encode(*plain);
    EXPECT_FALSE(
        std::equal(tile.begin(), tile.end(), plain->bytes.begin() + kCharacterOffset + 11 * kPage));

    EXPECT_EQ(doc.gameData().CarryTileEdits(2, before), 1);
    ASSERT_TRUE(doc.OnSaveDocument(path));

    const auto saved = ReadBytes(path);
    ASSERT_EQ(saved.size(), kRomSize);
    EXPECT_TRUE(
        std::equal(tile.begin(), tile.end(), saved.begin() + kCharacterOffset + 11 * kPage));
    CKorvaneDoc reopened;
    ASSERT_TRUE(reopened.OnOpenDocument(path));
    EXPECT_TRUE(std::equal(tile.begin(), tile.end(), reopened.level(2).tiles.begin() + kPage));
    EXPECT_TRUE(std::equal(tile.begin(), tile.end(), reopened.level(9).tiles.begin()));
    EXPECT_TRUE(std::equal(tile.begin(), tile.end(),
                           reopened.gameData().enemyGraphics.spriteTiles.begin() + 11 * kPage));
    // Everything else came back as it was saved.
    EXPECT_TRUE(reopened.gameData() == doc.gameData());

    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

} // namespace
} // namespace korvane
