// The differences between two cartridges in the model's terms.
#include "ImageBuilder.h"

#include "gamedata/GameData.h"
#include "gamedata/ModelDiff.h"
#include "tools/DemoCartridge.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace korvane {
namespace {

std::vector<std::string> SortedLines(const std::vector<ModelChange>& changes) {
    std::vector<std::string> lines;
    for (const ModelChange& change : changes) {
        lines.push_back(change.line);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::string Hex2(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "$%02X", value);
    return text;
}

TEST(ModelDiff, KnownEditsAreListedExactlyAndEqualCartridgesGiveNothing) {
    const auto image = MakeDemoCartridge(3);
    const std::vector<std::uint8_t> fileA(image->bytes.begin(), image->bytes.end());
    auto a = std::make_unique<GameData>();
    a->Decode(*image);
    EXPECT_TRUE(ModelDiff::Compare(*a, fileA, *a, fileA).empty());

    auto b = std::make_unique<GameData>(*a);
    std::vector<std::string> expected;
    // A room cell.
    const std::uint8_t cell = a->levels[3].rooms[5].cells[12];
    const std::uint8_t newCell = cell == 0x22 ? 0x23 : 0x22;
    b->levels[3].rooms[5].cells[12] = newCell;
    expected.push_back("level 3 room 5 cell 12: assembly " + Hex2(cell) + " -> " + Hex2(newCell));
    // A hallway one room longer.
    std::size_t longer = 0;
    while (longer < kLevelCount && a->levels[longer].hallwayCount < 1) {
        ++longer;
    }
    ASSERT_LT(longer, kLevelCount);
    const unsigned rooms = a->levels[longer].hallways[0].lastRoom + 1u;
    b->levels[longer].hallways[0].lastRoom = static_cast<std::uint8_t>(rooms);
    expected.push_back("level " + std::to_string(longer) + " hallway 0: " + std::to_string(rooms) +
                       (rooms == 1 ? " room" : " rooms") + " -> " + std::to_string(rooms + 1) +
                       " rooms");
    // A placement added.
    ASSERT_GE(b->levels[7].AddEnemy(EnemyPlacement{8, 8, 4, 0x2F}.Packed()), 0);
    expected.push_back("level 7 enemy placement added at room position 4 (x 8, y 8, id $2F)");
    // Nine pixels of tile $41 of level 1: row 0 of plane 0, and one pixel of row 1 of plane 1.
    b->levels[1].tiles[0x41 * 16 + 0] ^= 0xFF;
    b->levels[1].tiles[0x41 * 16 + 9] ^= 0x01;
    expected.push_back("level 1 tile $41: 9 pixels");
    // Three sprite tiles of character page $12.
    for (std::size_t tile : {0u, 7u, 63u}) {
        b->enemyGraphics.spriteTiles[0x12 * 0x400 + tile * 16 + 5] ^= 0x10;
    }
    expected.push_back("character page $12: 3 tiles");
    // Bytes no model holds: program bank 30, in two runs.
    std::vector<std::uint8_t> fileB = fileA;
    const std::size_t bank30 = 0x10 + 30 * 0x2000;
    for (std::size_t at : {0x0F10u, 0x0F11u, 0x0F12u, 0x0F13u, 0x0F14u, 0x0F16u, 0x0F17u, 0x0F18u,
                           0x0F19u, 0x0F1Au, 0x0F1Bu, 0x0F1Cu}) {
        fileB[bank30 + at] ^= 0x5A;
    }
    expected.push_back("program bank 30: 12 bytes in 2 runs at $0F10-$0F1C");
    std::sort(expected.begin(), expected.end());

    const std::vector<ModelChange> changes = ModelDiff::Compare(*a, fileA, *b, fileB);
    EXPECT_EQ(SortedLines(changes), expected);

    // The same as fields.
    const auto cellChange = std::find_if(changes.begin(), changes.end(),
                                         [](const ModelChange& c) { return c.table == "rooms"; });
    ASSERT_NE(cellChange, changes.end());
    EXPECT_EQ(cellChange->level, 3);
    EXPECT_EQ(cellChange->index, 5);
    EXPECT_EQ(cellChange->field, "[12]");
    EXPECT_EQ(cellChange->from, std::to_string(cell));
    EXPECT_EQ(cellChange->to, std::to_string(newCell));
    const std::string json = ModelDiff::Json(changes);
    EXPECT_NE(json.find("{\"level\": 7, \"table\": \"enemies\", "), std::string::npos) << json;
    EXPECT_NE(json.find("\"field\": null, \"from\": null, \"to\": {\"x\": 8, \"y\": 8, "
                        "\"roomPosition\": 4, \"enemyId\": 47}}"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("{\"level\": null, \"table\": \"image\", \"index\": 30, "),
              std::string::npos);
}

TEST(ModelDiff, BytesTheModelHoldsAreNotListedAsImageBytes) {
    // A cartridge saved with one hallway edited differs in its bytes only where the model
    // keeps them: the diff names the field, and nothing of the image.
    const auto image = testing::MakeRandomImage(9);
    const std::vector<std::uint8_t> fileA(image->bytes.begin(), image->bytes.end());
    auto a = std::make_unique<GameData>();
    a->Decode(*image);
    auto b = std::make_unique<GameData>(*a);
    b->levels[2].blocks[0x10].attributes ^= 0x40;
    b->recordBanks[1].pointersB[3] ^= 0x0100;
    auto edited = std::make_unique<RomImage>(*image);
    b->Encode(*edited);
    const std::vector<std::uint8_t> fileB(edited->bytes.begin(), edited->bytes.end());
    auto decodedB = std::make_unique<GameData>();
    decodedB->Decode(*edited);
    const std::vector<ModelChange> changes = ModelDiff::Compare(*a, fileA, *decodedB, fileB);
    char pointerLine[96];
    std::snprintf(pointerLine, sizeof pointerLine, "record bank 1 pointer B 3: $%04X -> $%04X",
                  a->recordBanks[1].pointersB[3], b->recordBanks[1].pointersB[3]);
    const std::vector<std::string> lines = SortedLines(changes);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(std::count(lines.begin(), lines.end(),
                         "level 2 block $10: attributes " +
                             Hex2(a->levels[2].blocks[0x10].attributes) + " -> " +
                             Hex2(b->levels[2].blocks[0x10].attributes)),
              1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), std::string(pointerLine)), 1);
    for (const ModelChange& change : changes) {
        EXPECT_NE(change.table, "image") << change.line;
    }
}

} // namespace
} // namespace korvane
