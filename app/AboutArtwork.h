#pragma once

// The About box's tile animation: the tile table (the cartridge's About tiles followed by a
// brick, a few sparkles and a glyph set of the box's own), its palettes, the fill pattern and
// the two lines of text it spells out.

#include "gamedata/GameData.h"
#include "gamedata/LevelRecord.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace korvane {

inline constexpr int kAboutColumns = 32;
inline constexpr int kAboutRows = 4;
inline constexpr int kAboutSmallFirst = 0;  // 14 tiles from the cartridge
inline constexpr int kAboutLargeFirst = 14; // 48 tiles from the cartridge
inline constexpr int kAboutOwnFirst = 64;   // brick and sparkle tiles
inline constexpr int kAboutGlyphFirst = 96; // the glyph set
inline constexpr std::string_view kAboutGlyphs = " ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789!.";

inline constexpr std::string_view kAboutFirstLine = "THE KORVANE EDITOR";               // 18
inline constexpr std::string_view kAboutSecondLine = "BUILD YOUR OWN KEEPS AND HALLS!"; // 31
inline constexpr int kAboutFirstLineColumn = 7;

// 256 tiles of 16 bytes.
std::array<std::uint8_t, kTileBytes>
AboutTileTable(const std::array<std::uint8_t, kAboutTileBytes>& aboutTiles,
               const std::array<std::uint8_t, kAboutTileLargeBytes>& aboutTilesLarge);
// A level record that carries only the box's palettes (palette set 0).
LevelRecord AboutPaletteRecord();
// The tile a surface shows at a cell when its pattern is shifted by `shift` columns.
int AboutPatternTile(int surface, int row, int column, int shift);
int AboutPatternPalette(int surface, int row);
// The glyph tile of a character (space for characters without a glyph).
int AboutGlyphTile(char character);

} // namespace korvane
