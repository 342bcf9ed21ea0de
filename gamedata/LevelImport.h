#pragma once

#include "GameData.h"

#include <optional>
#include <span>

namespace korvane {

// Taking a level read from a level file into one level of the model, and the character pages
// that the copies of tiles in the model share.
class LevelImport {
public:
    // Gives level n of data everything of imported but the tile banks, which stay the level's
    // own (they name the character pages of the cartridge). With tiles, the 256 tiles are taken
    // too and carried to every other copy of their character pages (CarryTileEdits); without,
    // the level keeps its own. A tile of imported that would land beyond the end of character
    // memory under the level's tile banks is refused: the result is false and data is left
    // alone.
    static bool Apply(GameData& data, int n, const LevelRecord& imported, bool withTiles);

    // After the whole model was read from text onto the cartridge base: each character page
    // whose copies (the tile halves of the levels, and the sprite tiles for pages below 64) were
    // changed from base's bytes takes the changed bytes in every copy, so that no change is
    // lost to a copy written later. Copies changed in different ways are refused: the result
    // names the page and two of the copies (a level, or -1 for the sprite tiles), and data is
    // left alone. Nothing comes back on success.
    struct PageConflict {
        int page = -1;
        int firstLevel = -1;  // a level, or -1 for the sprite tiles
        int secondLevel = -1; // the same
    };
    static std::optional<PageConflict> ReconcileTilePages(GameData& data, const RomImage& base);

    // The model's Encode leaves the bytes a level keeps undecoded as the file has them; a level
    // taken from a level file brings its own, so the document's saves also call this. It writes
    // each level's undecodedBytes into the image at the start of file, except the 20 that are also
    // decoded fields (the enemy banks and palette sets of hallway slots 8 to 15 and the
    // checkpoints), which Encode wrote.
    static void WriteUndecodedBytes(const GameData& data, std::span<std::uint8_t> file);
    // Sets those 20 of level's undecodedBytes from the fields they are the bytes of, as decoding
    // the encoded level gives them.
    static void MatchUndecodedBytes(LevelRecord& level);
    // Whether undecodedBytes[index] is one of those 20.
    static bool UndecodedByteIsAField(std::size_t index);
};

} // namespace korvane
