// The model's text form: written and read back whole, laid out so that one field is one line,
// and every malformed file refused with its line and field.
#include "ImageBuilder.h"

#include "gamedata/GameData.h"
#include "gamedata/LevelImport.h"
#include "gamedata/LevelTextReader.h"
#include "gamedata/ModelTextWriter.h"
#include "gamedata/SharedTextReader.h"
#include "tools/DemoCartridge.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace korvane {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The 1-based numbers of the lines that differ between two texts of the same line count.
std::vector<int> ChangedLines(const std::string& a, const std::string& b) {
    const auto la = Lines(a);
    const auto lb = Lines(b);
    EXPECT_EQ(la.size(), lb.size());
    std::vector<int> changed;
    for (std::size_t i = 0; i < std::min(la.size(), lb.size()); ++i) {
        if (la[i] != lb[i]) {
            changed.push_back(static_cast<int>(i + 1));
        }
    }
    return changed;
}

// The 1-based line number of the nth (from 0) line holding needle.
int LineOf(const std::string& text, const std::string& needle, int nth = 0) {
    const auto lines = Lines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const bool holds = needle.starts_with("  ") ? lines[i] == needle
                                                    : lines[i].find(needle) != std::string::npos;
        if (holds && nth-- == 0) {
            return static_cast<int>(i + 1);
        }
    }
    ADD_FAILURE() << "no line holds " << needle;
    return -1;
}

std::unique_ptr<GameData> Decoded(const RomImage& image) {
    auto data = std::make_unique<GameData>();
    data->Decode(image);
    return data;
}

TEST(LevelText, EveryLevelOfRandomAndDemoImagesReadsBackAsDecoded) {
    std::vector<std::unique_ptr<RomImage>> images;
    images.push_back(MakeDemoCartridge(1));
    images.push_back(MakeDemoCartridge(5));
    for (std::uint32_t seed : {1u, 2u, 3u}) {
        images.push_back(testing::MakeRandomImage(seed));
    }
    for (const auto& image : images) {
        const auto data = Decoded(*image);
        for (std::size_t n = 0; n < kLevelCount; ++n) {
            SCOPED_TRACE(n);
            const LevelRecord& level = data->levels[n];
            const std::string text = ModelTextWriter::LevelText(level, LevelCatalogue[n].name);
            const LevelTextReader::Result read = LevelTextReader::Read(text);
            ASSERT_FALSE(read.refusal) << read.refusal->Describe("level");
            // The counts worked out on reading are those decoding found.
            EXPECT_EQ(read.level->hallwayCount, level.hallwayCount);
            EXPECT_EQ(read.level->enemyCount, level.enemyCount);
            EXPECT_EQ(read.level->tileUse, level.tileUse);
            EXPECT_TRUE(*read.level == level);
            EXPECT_EQ(read.name, LevelCatalogue[n].name);
        }
        auto shared = std::make_unique<GameData>();
        const auto refusal =
            SharedTextReader::Read(ModelTextWriter::SharedText(*data), *image, *shared);
        ASSERT_FALSE(refusal) << refusal->Describe("shared.json");
        EXPECT_TRUE(shared->recordBanks == data->recordBanks);
        EXPECT_TRUE(shared->enemyGraphics == data->enemyGraphics);
        EXPECT_EQ(shared->aboutTiles, data->aboutTiles);
        EXPECT_EQ(shared->aboutTilesLarge, data->aboutTilesLarge);
    }
}

TEST(LevelText, TheCountsOfTheListsAreNotStoredAndTheSlotsAfterThemAre) {
    const auto image = MakeDemoCartridge(1);
    const auto data = Decoded(*image);
    const LevelRecord& level = data->levels[3];
    const std::string text = ModelTextWriter::LevelText(level, "x");
    for (const char* key : {"hallwayCount", "enemyCount", "roomUse", "assemblyUse", "blockUse",
                            "tileUse", "enemyUse"}) {
        EXPECT_EQ(text.find(key), std::string::npos) << key;
    }
    // The header comes first, then the name.
    const auto lines = Lines(text);
    ASSERT_GT(lines.size(), 4u);
    EXPECT_EQ(lines[1], "  \"format\": \"korvane-level\",");
    EXPECT_EQ(lines[2], "  \"version\": 1,");
    EXPECT_EQ(lines[3], "  \"name\": \"x\",");
    // One line per hallway and per placement of the lists, and the rest after them.
    const int hallways = LineOf(text, "\"hallways\": [");
    const int after = LineOf(text, "\"hallwaySlotsAfterList\": [");
    EXPECT_EQ(after - hallways - 2, level.hallwayCount);
    const int enemies = LineOf(text, "\"enemies\": [");
    const int enemiesAfter = LineOf(text, "\"enemySlotsAfterList\": [");
    EXPECT_EQ(enemiesAfter - enemies - 2, level.enemyCount);
    EXPECT_EQ(lines[static_cast<std::size_t>(enemiesAfter)],
              "    {\"x\": 255, \"y\": 255, \"roomPosition\": 255, \"enemyId\": 255},");
}

TEST(LevelText, OneChangedFieldIsOneChangedLine) {
    const auto image = MakeDemoCartridge(2);
    const auto data = Decoded(*image);
    const LevelRecord& level = data->levels[6];
    const std::string before = ModelTextWriter::LevelText(level, "n");
    struct Edit {
        const char* what;
        void (*change)(LevelRecord&);
    };
    const Edit edits[] = {
        {"room cell", [](LevelRecord& l) { l.rooms[5].cells[12] ^= 0x22; }},
        {"block attributes", [](LevelRecord& l) { l.blocks[200].attributes ^= 0x10; }},
        {"assembly", [](LevelRecord& l) { l.assemblies[17].blocks[3] ^= 1; }},
        {"enemy", [](LevelRecord& l) { l.enemies[1].x ^= 8; }},
        {"hallway", [](LevelRecord& l) { l.hallways[0].enemyBank ^= 1; }},
        {"palette", [](LevelRecord& l) { l.paletteSets[4].bytes[19] ^= 1; }},
        {"tile", [](LevelRecord& l) { l.tiles[0x41 * 16 + 3] ^= 0x80; }},
        {"room order", [](LevelRecord& l) { l.roomOrder[31] ^= 1; }},
        {"undecoded", [](LevelRecord& l) { l.undecodedBytes[89] ^= 1; }},
    };
    for (const Edit& edit : edits) {
        SCOPED_TRACE(edit.what);
        LevelRecord changed = level;
        edit.change(changed);
        EXPECT_EQ(ChangedLines(before, ModelTextWriter::LevelText(changed, "n")).size(), 1u);
    }
    // The cell is on row 1 of room 5: the rooms' list line, 5 rooms of 10 lines, "[", row 0.
    LevelRecord changed = level;
    changed.rooms[5].cells[12] ^= 0x22;
    EXPECT_EQ(ChangedLines(before, ModelTextWriter::LevelText(changed, "n")),
              std::vector<int>{LineOf(before, "\"rooms\": [") + 5 * 10 + 3});
}

// The demo's level 0 with one line of its text replaced.
class LevelTextRefusal : public ::testing::Test {
protected:
    void SetUp() override {
        image_ = MakeDemoCartridge(1);
        data_ = Decoded(*image_);
        // The first level with two hallways or more.
        for (std::size_t n = 0; n < kLevelCount; ++n) {
            if (data_->levels[n].hallwayCount >= 2) {
                level_ = n;
                break;
            }
        }
        text_ = ModelTextWriter::LevelText(data_->levels[level_], "Spindle Keep");
    }
    // Replaces the first occurrence of from after line (1-based) startLine with to.
    std::string Replaced(const std::string& from, const std::string& to, int startLine = 1) const {
        std::size_t at = 0;
        for (int line = 1; line < startLine; ++line) {
            at = text_.find('\n', at) + 1;
        }
        const std::size_t found = text_.find(from, at);
        EXPECT_NE(found, std::string::npos) << from;
        std::string text = text_;
        return found == std::string::npos ? text : text.replace(found, from.size(), to);
    }
    // The text with the value of key on line (1-based) replaced by value.
    std::string WithValue(int line, const std::string& key, const std::string& value) const {
        auto lines = Lines(text_);
        std::string& target = lines.at(static_cast<std::size_t>(line - 1));
        const std::string name = "\"" + key + "\": ";
        const std::size_t at = target.find(name);
        EXPECT_NE(at, std::string::npos) << key;
        const std::size_t start = at + name.size();
        const std::size_t end = target.find_first_of(",}", start);
        target.replace(start, end - start, value);
        std::string text;
        for (const std::string& l : lines) {
            text += l + "\n";
        }
        return text;
    }
    void ExpectRefused(const std::string& text, int line, const std::string& field,
                       const std::string& message) {
        const LevelTextReader::Result read = LevelTextReader::Read(text);
        ASSERT_TRUE(read.refusal);
        EXPECT_FALSE(read.level);
        EXPECT_EQ(read.refusal->line, line);
        EXPECT_EQ(read.refusal->field, field);
        EXPECT_NE(read.refusal->message.find(message), std::string::npos) << read.refusal->message;
    }

    std::unique_ptr<RomImage> image_;
    std::unique_ptr<GameData> data_;
    std::string text_;
    std::size_t level_ = 0;
};

TEST_F(LevelTextRefusal, ValuesOnePastTheirRangeNameTheirLineAndField) {
    const int block3 = LineOf(text_, "\"blocks\": [") + 4;
    ExpectRefused(WithValue(block3, "attributes", "256"), block3, "blocks[3].attributes",
                  "256 is out of range (0 to 255)");
    const int hallway0 = LineOf(text_, "\"hallways\": [") + 1;
    ExpectRefused(WithValue(hallway0, "lastRoom", "16"), hallway0, "hallways[0].lastRoom",
                  "16 is out of range (0 to 15)");
    ExpectRefused(WithValue(hallway0, "transition", "16"), hallway0, "hallways[0].transition",
                  "16 is out of range (0 to 15)");
    ExpectRefused(WithValue(hallway0, "enemyBank", "256"), hallway0, "hallways[0].enemyBank",
                  "256 is out of range (0 to 255)");
    const int enemy0 = LineOf(text_, "\"enemies\": [") + 1;
    ExpectRefused(WithValue(enemy0, "x", "-1"), enemy0, "enemies[0].x", "-1 is out of range");
    ExpectRefused(WithValue(enemy0, "y", "1.5"), enemy0, "enemies[0].y", "1.5 is out of range");
    ExpectRefused(WithValue(enemy0, "enemyId", "\"7\""), enemy0, "enemies[0].enemyId",
                  "a number expected, not a string");
    const int tile2 = LineOf(text_, "  \"tiles\": [", 0) + 3;
    std::string badDigits = text_;
    std::size_t lineStart = 0;
    for (int line = 1; line < tile2; ++line) {
        lineStart = badDigits.find('\n', lineStart) + 1;
    }
    badDigits.replace(badDigits.find('"', lineStart) + 1, 2, "zz");
    ExpectRefused(badDigits, tile2, "tiles[2]", "only hex digits");
    const int palette4 = LineOf(text_, "\"paletteSets\": [") + 5;
    ExpectRefused(Replaced("[", "[256, 0, ", palette4), palette4, "paletteSets[4]",
                  "20 items expected, not 22");
}

TEST_F(LevelTextRefusal, WrongCountsMissingAndUnknownKeysAndBadHeadersAreRefused) {
    const int assemblies = LineOf(text_, "\"assemblies\": [");
    ExpectRefused(Replaced("[0, ", "[", assemblies + 1), assemblies + 1, "assemblies[0]",
                  "4 items expected, not 3");
    const int order = LineOf(text_, "\"roomOrder\": [");
    ExpectRefused(Replaced("\"roomOrder\": [", "\"roomOrder\": [0, "), order, "roomOrder",
                  "32 items expected, not 33");
    ExpectRefused(Replaced("\"name\"", "\"nme\""), 4, "nme", "unknown key");
    ExpectRefused(Replaced("\"korvane-level\"", "\"korvane-shared\""), 2, "format",
                  "is not a level file");
    ExpectRefused(Replaced("\"version\": 1", "\"version\": 2"), 3, "version",
                  "version 2 is not known");
    ExpectRefused(Replaced("\"checkpointRooms\"", "\"checkpointRoomz\""),
                  LineOf(text_, "\"checkpointRooms\""), "checkpointRoomz", "unknown key");
    // Without its first key, the object is named at its own line.
    std::string noFormat = text_;
    noFormat.erase(noFormat.find("  \"format\""),
                   std::string("  \"format\": \"korvane-level\",\n").size());
    ExpectRefused(noFormat, 1, "format", "missing");
}

TEST_F(LevelTextRefusal, HallwayAndEnemyListsThatWouldNotReadBackAreRefused) {
    const int hallway1 = LineOf(text_, "\"hallways\": [") + 2;
    ASSERT_GE(data_->levels[level_].hallwayCount, 2);
    const std::string bank =
        "\"enemyBank\": " + std::to_string(data_->levels[level_].hallways[1].enemyBank);
    ExpectRefused(Replaced(bank, "\"enemyBank\": 59", hallway1), hallway1, "hallways[1]",
                  "an enemy bank above 58 ends the hallway list");
    // A slot after the list that no longer ends it.
    const int after = LineOf(text_, "\"hallwaySlotsAfterList\": [") + 1;
    ASSERT_EQ(data_->levels[level_]
                  .hallways[static_cast<std::size_t>(data_->levels[level_].hallwayCount)]
                  .lastRoom,
              0);
    ExpectRefused(
        Replaced("\"transition\": 0, \"lastRoom\": 0", "\"transition\": 0, \"lastRoom\": 1", after),
        after, "hallwaySlotsAfterList[0]", "must end it");
    // Moving a listed hallway after the list leaves a wrong count of slots.
    const int enemy0 = LineOf(text_, "\"enemies\": [") + 1;
    const std::string x =
        "\"x\": " + std::to_string(data_->levels[level_].enemies[0].x) +
        ", \"y\": " + std::to_string(data_->levels[level_].enemies[0].y) +
        ", \"roomPosition\": " + std::to_string(data_->levels[level_].enemies[0].roomPosition) +
        ", \"enemyId\": " + std::to_string(data_->levels[level_].enemies[0].enemyId);
    ExpectRefused(
        Replaced(x, "\"x\": 255, \"y\": 255, \"roomPosition\": 255, \"enemyId\": 255", enemy0),
        enemy0, "enemies[0]", "four 255s end the enemy list");
    const int enemiesAfter = LineOf(text_, "\"enemySlotsAfterList\": [") + 1;
    ExpectRefused(Replaced("\"x\": 255", "\"x\": 254", enemiesAfter), enemiesAfter,
                  "enemySlotsAfterList[0]", "must end it");
}

TEST_F(LevelTextRefusal, JsonThatIsCutShortOrMalformedIsRefusedAtItsLine) {
    const std::size_t half = text_.size() / 2;
    const int lastLine =
        static_cast<int>(
            std::count(text_.begin(), text_.begin() + static_cast<std::ptrdiff_t>(half), '\n')) +
        1;
    ExpectRefused(text_.substr(0, half), lastLine, "", "the text ends");
    ExpectRefused(Replaced("\"name\": ", "\"name\": ,"), 4, "", "a value expected");
    // The second "name" is the level's own, pushed down to line 5.
    ExpectRefused(Replaced("{\n", "{\n  \"name\": \"a\",\n"), 5, "", "key \"name\" given twice");
    ExpectRefused(text_ + "{}", static_cast<int>(Lines(text_).size()) + 1, "",
                  "unexpected text after the end");
    ExpectRefused(Replaced("Spindle Keep", "Spindle \xC3 Keep"), 4, "", "not valid UTF-8");
    ExpectRefused("", 1, "", "the text ends where a value was expected");
}

TEST(LevelImport, KeepsTheTileBanksAndCarriesTakenTilesToEveryCopy) {
    const auto source = MakeDemoCartridge(1);
    const auto target = MakeDemoCartridge(2);
    const auto from = Decoded(*source);
    const auto to = Decoded(*target);
    const LevelRecord imported = from->levels[0];
    // Level 8 shows the same character pages as level 0 in the demo (it revisits it).
    ASSERT_EQ(to->levels[0].tileBanks, to->levels[8].tileBanks);
    auto without = std::make_unique<GameData>(*to);
    ASSERT_TRUE(LevelImport::Apply(*without, 0, imported, false));
    EXPECT_EQ(without->levels[0].tiles, to->levels[0].tiles);
    EXPECT_EQ(without->levels[0].tileBanks, to->levels[0].tileBanks);
    EXPECT_EQ(without->levels[0].rooms, imported.rooms);
    EXPECT_EQ(without->levels[0].hallways, imported.hallways);
    EXPECT_EQ(without->levels[0].tileUse, imported.tileUse);
    EXPECT_TRUE(without->levels[8] == to->levels[8]);

    auto with = std::make_unique<GameData>(*to);
    ASSERT_TRUE(LevelImport::Apply(*with, 0, imported, true));
    EXPECT_EQ(with->levels[0].tiles, imported.tiles);
    EXPECT_EQ(with->levels[8].tiles, imported.tiles);
    EXPECT_EQ(with->levels[0].tileBanks, to->levels[0].tileBanks);
}

TEST(LevelImport, ReconcileTakesTheOneChangedCopyAndRefusesTwoThatDisagree) {
    const auto image = MakeDemoCartridge(1);
    auto data = Decoded(*image);
    ASSERT_EQ(data->levels[0].tileBanks, data->levels[8].tileBanks);
    const std::size_t page = data->levels[0].tileBanks[0];
    data->levels[8].tiles[5] ^= 0xFF;
    ASSERT_FALSE(LevelImport::ReconcileTilePages(*data, *image));
    EXPECT_EQ(data->levels[0].tiles[5], data->levels[8].tiles[5]);
    EXPECT_EQ(data->levels[0].tiles[5],
              static_cast<std::uint8_t>(image->Characters()[page * 0x400 + 5] ^ 0xFF));

    auto conflicting = Decoded(*image);
    conflicting->levels[0].tiles[5] ^= 1;
    conflicting->levels[8].tiles[5] ^= 2;
    const auto conflict = LevelImport::ReconcileTilePages(*conflicting, *image);
    ASSERT_TRUE(conflict);
    EXPECT_EQ(conflict->page, static_cast<int>(page));
    EXPECT_EQ(conflict->firstLevel, 0);
    EXPECT_EQ(conflict->secondLevel, 8);
    EXPECT_EQ(conflicting->levels[0].tiles[5],
              static_cast<std::uint8_t>(image->Characters()[page * 0x400 + 5] ^ 1));
}

TEST(SharedText, RecordsThatWouldNotReadBackAreRefusedAndNothingChanges) {
    const auto image = MakeDemoCartridge(1);
    const auto data = Decoded(*image);
    const std::string text = ModelTextWriter::SharedText(*data);
    ASSERT_FALSE(data->recordBanks[0].recordsA.empty());
    const BankRecord& first = data->recordBanks[0].recordsA[0];
    // One item more than the header's count: the next record would not start where written.
    const std::string items = "\"items\": \"";
    const std::size_t at = text.find(items, text.find("\"recordsA\"")) + items.size();
    std::string grown = text;
    grown.insert(at, "00");
    auto read = std::make_unique<GameData>(*data);
    read->recordBanks[0].recordsA.clear();
    const auto before = std::make_unique<GameData>(*read);
    const auto refusal = SharedTextReader::Read(grown, *image, *read);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->field, "recordBanks[0].recordsA[0]");
    EXPECT_EQ(refusal->line, LineOf(text, "{\"address\": " + std::to_string(first.address)));
    EXPECT_TRUE(*read == *before);
    // A sprite tile cut short.
    std::string shortTile = text;
    shortTile.erase(shortTile.find("\"", shortTile.find("\"spriteTiles\"") + 16) + 1, 2);
    const auto tileRefusal = SharedTextReader::Read(shortTile, *image, *read);
    ASSERT_TRUE(tileRefusal);
    EXPECT_EQ(tileRefusal->field, "enemyGraphics.spriteTiles[0]");
    EXPECT_NE(tileRefusal->message.find("16 bytes (32 hex digits) expected, not 15"),
              std::string::npos);
}

} // namespace
} // namespace korvane
