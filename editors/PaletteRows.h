#pragma once

// The palette rows of a level as the tile and palette editors list them: row r (0-19) is palette
// r mod 4 of palette set r / 4, with its four NES colour numbers and the effect code byte of
// that palette's place in the set. The lists show a row as "Set #1, Pal #2", a 64 x 16 swatch
// and the effect code in two hex digits ("Fx"); the block editor lists the four palettes of one
// set the same way.

#include "gamedata/LevelRecord.h"

#include <QString>

#include <cstdint>
#include <span>

namespace korvane {

class CColourListControl;

inline constexpr int kPalettesPerSet = 4;
inline constexpr int kPaletteRowCount = kPaletteSetCount * kPalettesPerSet; // 20

constexpr int PaletteRowSet(int row) {
    return row / kPalettesPerSet;
}
constexpr int PaletteRowPalette(int row) {
    return row % kPalettesPerSet;
}

// The four colour numbers of a row and its effect code byte, in the level's palette sets.
std::span<std::uint8_t, 4> PaletteRowColours(LevelRecord& level, int row);
std::span<const std::uint8_t, 4> PaletteRowColours(const LevelRecord& level, int row);
std::uint8_t& PaletteRowEffect(LevelRecord& level, int row);
std::uint8_t PaletteRowEffect(const LevelRecord& level, int row);

// "Set #2, Pal #3" for palette 2 of set 1 (both counted from 1 in the text).
QString PaletteRowLabel(int set, int palette);

// The list's three columns: "Index" (the client width less the other two), "Palette" (64
// pixels) and "Fx" (24 pixels), for rows rows.
void SetUpPaletteRowColumns(CColourListControl& list, int rows);
// List row listRow shows palette palette of set (set counted from 0): its label, its swatch
// and its effect code.
void ShowPaletteRow(CColourListControl& list, int listRow, const PaletteSet& paletteSet, int set,
                    int palette);
// All 20 rows of the level, in row order.
void ShowPaletteRows(CColourListControl& list, const LevelRecord& level);

} // namespace korvane
