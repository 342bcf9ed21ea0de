#pragma once

// The palette page's special effects: each effect code present among the page's four effect
// bytes changes some of the page's colour bytes on every animation tick.

#include "gamedata/LevelRecord.h"

#include <cstdint>

namespace korvane {

// Applies one tick t of every known effect code that occurs at least once among the page's
// effect bytes, in a fixed order; a code listed twice still acts once. Unknown codes (0x81,
// 0x8C and everything outside 0x80-0x8D) change nothing.
void ApplyPaletteEffects(PaletteSet& page, std::uint32_t tick);

} // namespace korvane
