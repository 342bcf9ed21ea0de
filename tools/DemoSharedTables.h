#pragma once

#include "gamedata/RomImage.h"

#include <cstdint>

namespace korvane::demo {

// The enemy id table, the 58 enemy graphics banks and the sprite pages they name.
void WriteDemoEnemyGraphics(RomImage& image, std::uint32_t seed);
// One bank of pointer-indexed records: tables A and B, kind A records from CPU 0x8300, then
// the kind B records. Several pointers share a record; table A's unused entries point at the
// end of the kind A records.
void WriteDemoRecordBank(RomImage& image, std::uint32_t bankFileOffset, std::uint32_t seed);
// The character areas the About box draws from: ornaments and a font.
void WriteDemoAboutTiles(RomImage& image, std::uint32_t seed);

} // namespace korvane::demo
