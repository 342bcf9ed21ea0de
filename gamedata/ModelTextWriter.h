#pragma once

// The model's text form: JSON laid out for version control, one line per block, assembly,
// enemy placement, palette set, hallway, row of a room (8 numbers) and tile, so that a change
// to one field shows as one changed line in `diff -u`. LevelTextReader and SharedTextReader
// read it back.
//
// A level file holds the level's name and everything its record holds except the counts the
// model works out itself (the ...Use tables, enemyCount, hallwayCount): the hallways and enemy
// placements of the lists, and the slots after each list as they stand in the cartridge.

#include "GameData.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace korvane {

inline constexpr std::string_view kLevelFileFormat = "korvane-level";
inline constexpr std::string_view kSharedFileFormat = "korvane-shared";
inline constexpr std::string_view kFolderFormat = "korvane-unpacked";
inline constexpr int kTextFormatVersion = 1;

class ModelTextWriter {
public:
    // A level file of level (named name).
    static std::string LevelText(const LevelRecord& level, std::string_view name);
    // shared.json: the record banks, the enemy graphics and the About box tiles.
    static std::string SharedText(const GameData& data);
    // korvane.json: the size and CRC-32 of the cartridge file the folder came from.
    static std::string FolderText(std::size_t size, std::uint32_t crc);
};

} // namespace korvane
