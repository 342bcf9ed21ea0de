#pragma once

#include "gamedata/RomImage.h"

#include <cstdint>

namespace korvane::demo {

// The character page of a level's tile area (its catalogue row's 4 KB character area): the two
// tile halves are this page and the page two above it.
int TileAreaPage(int row);

// Writes level row n (0 to 15) into its program bank: blocks, assemblies, rooms, room order,
// hallways, palette sets, checkpoints and enemy placements. Tiles are written separately,
// once per shared tile area.
void WriteDemoLevel(RomImage& image, int row, std::uint32_t seed);

} // namespace korvane::demo
