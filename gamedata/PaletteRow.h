#pragma once

// The palette rows of a level: row r (0-19) is palette r mod 4 of palette set r / 4, with its
// four NES colour numbers and the effect code byte of that palette's place in the set. The tile
// and palette editors list them; tile sheets are drawn in one row's colours.

#include "LevelRecord.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace korvane {

inline constexpr int kPalettesPerSet = 4;
inline constexpr int kPaletteRowCount = kPaletteSetCount * kPalettesPerSet; // 20

constexpr int PaletteRowSet(int row) {
    return row / kPalettesPerSet;
}
constexpr int PaletteRowPalette(int row) {
    return row % kPalettesPerSet;
}

// Where a row's four colour numbers start in its palette set's bytes.
constexpr std::size_t PaletteRowFirstColour(int row) {
    return static_cast<std::size_t>(PaletteRowPalette(row) * 4);
}

// The four colour numbers of a row and its effect code byte, in the level's palette sets.
inline std::span<std::uint8_t, 4> PaletteRowColours(LevelRecord& level, int row) {
    PaletteSet& set = level.paletteSets[static_cast<std::size_t>(PaletteRowSet(row))];
    return std::span<std::uint8_t, 4>(set.bytes.data() + PaletteRowFirstColour(row), 4);
}
inline std::span<const std::uint8_t, 4> PaletteRowColours(const LevelRecord& level, int row) {
    const PaletteSet& set = level.paletteSets[static_cast<std::size_t>(PaletteRowSet(row))];
    return std::span<const std::uint8_t, 4>(set.bytes.data() + PaletteRowFirstColour(row), 4);
}
inline std::uint8_t& PaletteRowEffect(LevelRecord& level, int row) {
    return level.paletteSets[static_cast<std::size_t>(PaletteRowSet(row))]
        .effectCodes()[static_cast<std::size_t>(PaletteRowPalette(row))];
}
inline std::uint8_t PaletteRowEffect(const LevelRecord& level, int row) {
    return level.paletteSets[static_cast<std::size_t>(PaletteRowSet(row))]
        .effectCodes()[static_cast<std::size_t>(PaletteRowPalette(row))];
}

} // namespace korvane
