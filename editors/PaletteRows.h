#pragma once

// The palette rows of a level (gamedata/PaletteRow.h) as the tile and palette editors list
// them: a row shows as "Set #1, Pal #2", a 64 x 16 swatch and the effect code in two hex digits
// ("Fx"); the block editor lists the four palettes of one set the same way.

#include "gamedata/PaletteRow.h"

#include <QString>

namespace korvane {

class CColourListControl;

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
