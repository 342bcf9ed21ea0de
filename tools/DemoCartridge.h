#pragma once

#include "gamedata/RomImage.h"

#include <cstdint>
#include <memory>
#include <string>

namespace korvane {

// A made-up cartridge image for this game's format, built from a seed: the same seed always
// gives the same 393,232 bytes. Its 16 levels have tiles, blocks of every block type and
// palette, rooms with floors, walls, shafts, water and spikes, 1 to 8 hallways of 1 to 6 rooms,
// checkpoints, 10 to 60 enemy placements and palette sets that use every palette effect; the
// shared tables (enemy graphics, record banks, About box tiles) are filled in as well.
void BuildDemoCartridge(RomImage& image, std::uint32_t seed = 1);
std::unique_ptr<RomImage> MakeDemoCartridge(std::uint32_t seed = 1);

// Writes the demo image to path as the document saves (AtomicFileWriter): a new file, or a
// regular file there replaced whole. On failure returns false and says why in error.
bool WriteDemoCartridge(const std::string& path, std::uint32_t seed, std::string& error);

} // namespace korvane
