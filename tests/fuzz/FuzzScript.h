#pragma once

// What both fuzz targets do with a decoded model: run the level operations an input chooses and
// abort when a check fails.

#include "gamedata/GameData.h"

#include <cstddef>
#include <cstdint>

namespace korvane::fuzz {

// Aborts with the message when the condition does not hold.
void Require(bool condition, const char* what);

// Decodes the image, checks that the unedited model encodes back byte for byte, then runs the
// script on the model: four bytes per operation, the fourth choosing the level. After every
// operation a refusal must have changed nothing and the usage counts must equal a recount; on
// a level whose counts were not damaged on purpose, an accepted operation must leave a hallway
// list and an enemy list that read back as the model holds them, and the saved model, decoded
// again, gives back its hallway and enemy tables.
void DecodeAndRunScript(const RomImage& image, const std::uint8_t* script, std::size_t size);

} // namespace korvane::fuzz
