#pragma once

// Levels and tile sets built in code for the canvas tests.

#include "gamedata/LevelRecord.h"

#include <array>
#include <cstdint>
#include <vector>

namespace korvane::test {

// One hallway per entry of roomsPerHallway, rooms numbered in order, palette set 0 with
// distinct colours in every palette.
LevelRecord MakeLevel(const std::vector<int>& roomsPerHallway);

// Appends a placement; keep the calls in sorted order (room position, x, y, id).
void AddPlacement(LevelRecord& level, int roomPosition, int x, int y, int enemyId);

// 256 tiles where tile t is filled with pixel value t mod 4.
std::array<std::uint8_t, kTileBytes> MakeTiles();

} // namespace korvane::test
