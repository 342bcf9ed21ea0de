#pragma once

// The texts the main view builds from a level: the hex dump of its undecoded bytes.

#include "editors/HighlightList.h" // the Highlights items and their selectors
#include "gamedata/LevelRecord.h"

#include <string>

namespace korvane {

// Nine lines joined by "\n": the raw bank bytes 0A20-0A3F, 0A50-0A5F, 0A70-0A7F and
// 0AE6-0AFF under their offsets, with ".. " for the bytes of those lines that are decoded
// elsewhere (the palette sets and the checkpoints) and empty lines between the groups.
std::string UndecodedBytesText(const LevelRecord& level);

} // namespace korvane
