#pragma once

// Who else shows the character pages of one half of a level's tiles. A half is 2 KB from the
// 1 KB page its tileBanks entry names, so it covers that page and the next; pages from 128 on
// lie beyond character memory and are shared with nobody.

#include <string>
#include <vector>

namespace korvane {

struct TileHalfSharing {
    std::vector<int> levels;  // the other levels (Level #) whose tiles show one of its pages
    bool otherHalf = false;   // the level's own other half shows one of its pages
    bool spritePages = false; // one of its pages is below 64, so also a sprite page

    bool shared() const { return !levels.empty() || otherHalf || spritePages; }
    bool operator==(const TileHalfSharing&) const = default;
};

// What the tile editor tells the user, for half 0 (tiles 0-127) or 1 (tiles 128-255):
// "Tiles 0-127 are shared with levels 3 and 7", with "level 3" for one level and "levels 3, 5
// and 7" for more, then "tiles 128-255 of this level" and "the sprite tiles" where they apply
// ("Tiles 0-127 are shared with level 3 and with the sprite tiles"). Empty when nothing is
// shared.
std::string TileHalfSharingText(int half, const TileHalfSharing& sharing);

// Whether a half whose first 1 KB page is firstPage reaches past character memory (pages 0 to
// 127): those tiles read as zeros and are never written back, so edits to them cannot be saved.
// The tile editor says so: "Tiles 192-255 lie beyond the cartridge's character memory: changes
// to them cannot be saved". Empty when the whole half lies inside it.
std::string TileHalfOutsideText(int half, int firstPage);

} // namespace korvane
