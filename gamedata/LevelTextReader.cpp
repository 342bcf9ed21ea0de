#include "LevelTextReader.h"

#include "JsonReader.h"
#include "LevelImport.h"
#include "ModelTextWriter.h"
#include "TextFields.h"

#include <algorithm>

namespace korvane {

namespace tf = textfields;

namespace {

Hallway ReadHallway(const JsonValue& value, const std::string& path) {
    tf::RequireObject(value, path, {"enemyBank", "paletteSet", "transition", "lastRoom"});
    Hallway hallway;
    hallway.enemyBank = tf::Byte(tf::Member(value, path, "enemyBank"), tf::Join(path, "enemyBank"));
    hallway.paletteSet =
        tf::Byte(tf::Member(value, path, "paletteSet"), tf::Join(path, "paletteSet"));
    hallway.transition = static_cast<std::uint8_t>(
        tf::Whole(tf::Member(value, path, "transition"), tf::Join(path, "transition"), 15));
    hallway.lastRoom = static_cast<std::uint8_t>(
        tf::Whole(tf::Member(value, path, "lastRoom"), tf::Join(path, "lastRoom"), 15));
    return hallway;
}

EnemyPlacement ReadEnemy(const JsonValue& value, const std::string& path) {
    tf::RequireObject(value, path, {"x", "y", "roomPosition", "enemyId"});
    EnemyPlacement enemy;
    enemy.x = tf::Byte(tf::Member(value, path, "x"), tf::Join(path, "x"));
    enemy.y = tf::Byte(tf::Member(value, path, "y"), tf::Join(path, "y"));
    enemy.roomPosition =
        tf::Byte(tf::Member(value, path, "roomPosition"), tf::Join(path, "roomPosition"));
    enemy.enemyId = tf::Byte(tf::Member(value, path, "enemyId"), tf::Join(path, "enemyId"));
    return enemy;
}

std::string WhyHallwayEndsList(const Hallway& hallway, int firstRoom) {
    if (hallway.enemyBank > 0x3A) {
        return "an enemy bank above 58 ends the hallway list, so this hallway and those after "
               "it would be lost once saved";
    }
    if (hallway.paletteSet > 5) {
        return "a palette set above 5 ends the hallway list, so this hallway and those after it "
               "would be lost once saved";
    }
    if (firstRoom >= kRoomCount) {
        return "its first room (room order position past the end, or a room number of 32 or "
               "more) ends the hallway list, so this hallway and those after it would be lost "
               "once saved";
    }
    return "one room with transition 0 ends the hallway list, so this hallway and those after it "
           "would be lost once saved";
}

void ReadHallways(const JsonValue& root, LevelRecord& level) {
    const auto& listed = tf::ItemsUpTo(tf::Member(root, "", "hallways"), "hallways", kHallwaySlots);
    const auto& after = tf::Items(tf::Member(root, "", "hallwaySlotsAfterList"),
                                  "hallwaySlotsAfterList", kHallwaySlots - listed.size());
    for (std::size_t h = 0; h < kHallwaySlots; ++h) {
        level.hallways[h] = h < listed.size()
                                ? ReadHallway(listed[h], tf::Join("hallways", h))
                                : ReadHallway(after[h - listed.size()],
                                              tf::Join("hallwaySlotsAfterList", h - listed.size()));
    }
    int start = 0;
    for (std::size_t h = 0; h <= listed.size() && h < kHallwaySlots; ++h) {
        const Hallway& hallway = level.hallways[h];
        const int firstRoom =
            start < kRoomOrderSize ? level.roomOrder[static_cast<std::size_t>(start)] : kRoomCount;
        const bool ends = LevelRecord::EndsHallwayList(hallway, firstRoom);
        if (h < listed.size() && ends) {
            throw TextFieldError(listed[h].line, tf::Join("hallways", h),
                                 WhyHallwayEndsList(hallway, firstRoom));
        }
        if (h == listed.size() && !ends) {
            throw TextFieldError(after[0].line, "hallwaySlotsAfterList[0]",
                                 "the first slot after the hallway list must end it (an enemy "
                                 "bank above 58, a palette set above 5, a first room of 32 or "
                                 "more, or one room with transition 0); as it is, it would be "
                                 "read as one more hallway");
        }
        start += hallway.lastRoom + 1;
    }
    level.CountHallways();
}

void ReadEnemies(const JsonValue& root, LevelRecord& level) {
    const auto& listed = tf::ItemsUpTo(tf::Member(root, "", "enemies"), "enemies", kEnemySlots - 1);
    const auto& after = tf::Items(tf::Member(root, "", "enemySlotsAfterList"),
                                  "enemySlotsAfterList", kEnemySlots - listed.size());
    for (std::size_t i = 0; i < kEnemySlots; ++i) {
        const std::string path = i < listed.size()
                                     ? tf::Join("enemies", i)
                                     : tf::Join("enemySlotsAfterList", i - listed.size());
        const JsonValue& value = i < listed.size() ? listed[i] : after[i - listed.size()];
        level.enemies[i] = ReadEnemy(value, path);
        if (i < listed.size() && level.enemies[i].IsTerminator()) {
            throw TextFieldError(value.line, path,
                                 "four 255s end the enemy list, so this placement and those "
                                 "after it would be lost once saved");
        }
    }
    level.enemyCount = 0;
    level.CountEnemies();
    if (static_cast<std::size_t>(level.enemyCount) != listed.size()) {
        // Only a list of no placements may go without its end (the cartridge then has none).
        throw TextFieldError(after[0].line, "enemySlotsAfterList[0]",
                             "the first slot after the enemy list must end it (x, y, "
                             "roomPosition and enemyId all 255)");
    }
}

} // namespace

void LevelTextReader::ReadValue(const JsonValue& root, LevelRecord& level, std::string& name) {
    tf::RequireObject(root, "",
                      {"format", "version", "name", "blocks", "assemblies", "rooms", "roomOrder",
                       "hallways", "hallwaySlotsAfterList", "enemies", "enemySlotsAfterList",
                       "paletteSets", "checkpointHallways", "checkpointRooms", "tileBanks",
                       "undecodedBytes", "tiles"});
    tf::RequireHeader(root, kLevelFileFormat, "a level file", kTextFormatVersion);
    name = tf::Text(tf::Member(root, "", "name"), "name");

    LevelRecord read = level;
    const auto& blocks = tf::Items(tf::Member(root, "", "blocks"), "blocks", kBlockCount);
    for (std::size_t i = 0; i < kBlockCount; ++i) {
        const std::string path = tf::Join("blocks", i);
        tf::RequireObject(blocks[i], path, {"tiles", "attributes"});
        tf::Bytes(tf::Member(blocks[i], path, "tiles"), tf::Join(path, "tiles"),
                  read.blocks[i].tiles);
        read.blocks[i].attributes =
            tf::Byte(tf::Member(blocks[i], path, "attributes"), tf::Join(path, "attributes"));
    }
    const auto& assemblies =
        tf::Items(tf::Member(root, "", "assemblies"), "assemblies", kAssemblyCount);
    for (std::size_t i = 0; i < kAssemblyCount; ++i) {
        tf::Bytes(assemblies[i], tf::Join("assemblies", i), read.assemblies[i].blocks);
    }
    const auto& rooms = tf::Items(tf::Member(root, "", "rooms"), "rooms", kRoomCount);
    for (std::size_t i = 0; i < kRoomCount; ++i) {
        tf::Bytes(rooms[i], tf::Join("rooms", i), read.rooms[i].cells);
    }
    tf::Bytes(tf::Member(root, "", "roomOrder"), "roomOrder", read.roomOrder);
    ReadHallways(root, read);
    ReadEnemies(root, read);
    const auto& sets =
        tf::Items(tf::Member(root, "", "paletteSets"), "paletteSets", kPaletteSetCount);
    for (std::size_t i = 0; i < kPaletteSetCount; ++i) {
        tf::Bytes(sets[i], tf::Join("paletteSets", i), read.paletteSets[i].bytes);
    }
    tf::Bytes(tf::Member(root, "", "checkpointHallways"), "checkpointHallways",
              read.checkpointHallways);
    tf::Bytes(tf::Member(root, "", "checkpointRooms"), "checkpointRooms", read.checkpointRooms);
    tf::Bytes(tf::Member(root, "", "tileBanks"), "tileBanks", read.tileBanks);
    tf::Bytes(tf::Member(root, "", "undecodedBytes"), "undecodedBytes", read.undecodedBytes);
    const auto& tiles = tf::Items(tf::Member(root, "", "tiles"), "tiles", 256);
    for (std::size_t i = 0; i < 256; ++i) {
        const std::vector<std::uint8_t> bytes = tf::HexBytes(tiles[i], tf::Join("tiles", i), 16);
        std::copy(bytes.begin(), bytes.end(),
                  read.tiles.begin() + static_cast<std::ptrdiff_t>(16 * i));
    }
    // A tile half that reaches past the end of character memory reads as zeros there.
    for (std::size_t half = 0; half < 2; ++half) {
        const std::size_t start = std::size_t{read.tileBanks[half]} * kCharacterPageSize;
        const std::size_t inside =
            start >= kCharacterSize ? 0 : std::min<std::size_t>(0x800, kCharacterSize - start);
        for (std::size_t at = half * 0x800 + inside; at < (half + 1) * 0x800; ++at) {
            if (read.tiles[at] != 0) {
                const std::size_t tile = at / 16;
                throw TextFieldError(tiles[tile].line, tf::Join("tiles", tile),
                                     "this tile lies beyond the end of character memory (tile "
                                     "bank " +
                                         std::to_string(read.tileBanks[half]) +
                                         "), where the cartridge has nothing: it must be all 0");
            }
        }
    }
    LevelImport::MatchUndecodedBytes(read);
    read.RecountUsage();
    level = read;
}

LevelTextReader::Result LevelTextReader::Read(std::string_view text) {
    Result result;
    JsonReader::Result json = JsonReader::Read(text);
    if (!json.value) {
        result.refusal = TextRefusal{json.errorLine, "", json.message};
        return result;
    }
    try {
        LevelRecord level;
        ReadValue(*json.value, level, result.name);
        result.level = level;
    } catch (const TextFieldError& error) {
        result.refusal = TextRefusal{error.line(), error.field(), error.what()};
    }
    return result;
}

} // namespace korvane
