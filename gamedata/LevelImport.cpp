#include "LevelImport.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace korvane {

namespace {

constexpr std::size_t kTileHalfBytes = 0x800;
constexpr std::size_t kSpritePages = kSpriteTileBytes / kCharacterPageSize;

struct PageCopy {
    int level; // -1: the sprite tiles
    std::uint8_t* bytes;
};

// Where the undecoded bytes lie in the bank, in their order, and which of them are fields too.
struct UndecodedRange {
    std::size_t offset;
    std::size_t length;
};
constexpr std::array<UndecodedRange, 4> kUndecodedRanges{{
    {0x0A20, 32},
    {0x0A50, 16},
    {0x0A70, 16}, // the enemy banks and palette sets of hallway slots 8 to 15
    {0x0AE6, 26}, // holds the checkpoints at 0x0AF0 and 0x0AF8
}};
constexpr std::size_t kHallwayPairsInUndecoded = 48;
constexpr std::size_t kCheckpointHallwaysInUndecoded = 74;
constexpr std::size_t kCheckpointRoomsInUndecoded = 82;

bool IsAlsoAField(std::size_t index) {
    return (index >= kHallwayPairsInUndecoded && index < kHallwayPairsInUndecoded + 16) ||
           index == kCheckpointHallwaysInUndecoded || index == kCheckpointHallwaysInUndecoded + 1 ||
           index == kCheckpointRoomsInUndecoded || index == kCheckpointRoomsInUndecoded + 1;
}

} // namespace

void LevelImport::WriteUndecodedBytes(const GameData& data, std::span<std::uint8_t> file) {
    if (file.size() < kRomSize) {
        return;
    }
    for (std::size_t n = 0; n < kLevelCount; ++n) {
        const LevelRecord& level = data.levels[n];
        std::size_t index = 0;
        for (const UndecodedRange& range : kUndecodedRanges) {
            for (std::size_t k = 0; k < range.length; ++k, ++index) {
                if (!IsAlsoAField(index)) {
                    file[LevelCatalogue[n].bankOffset + range.offset + k] =
                        level.undecodedBytes[index];
                }
            }
        }
    }
}

bool LevelImport::UndecodedByteIsAField(std::size_t index) {
    return IsAlsoAField(index);
}

void LevelImport::MatchUndecodedBytes(LevelRecord& level) {
    for (std::size_t k = 0; k < 8; ++k) {
        level.undecodedBytes[kHallwayPairsInUndecoded + 2 * k] = level.hallways[8 + k].enemyBank;
        level.undecodedBytes[kHallwayPairsInUndecoded + 2 * k + 1] =
            level.hallways[8 + k].paletteSet;
    }
    for (std::size_t k = 0; k < 2; ++k) {
        level.undecodedBytes[kCheckpointHallwaysInUndecoded + k] = level.checkpointHallways[k];
        level.undecodedBytes[kCheckpointRoomsInUndecoded + k] = level.checkpointRooms[k];
    }
}

bool LevelImport::Apply(GameData& data, int n, const LevelRecord& imported, bool withTiles) {
    if (n < 0 || n >= kLevelCount) {
        return false;
    }
    LevelRecord& level = data.levels[static_cast<std::size_t>(n)];
    LevelRecord result = imported;
    result.tileBanks = level.tileBanks;
    if (!withTiles) {
        result.tiles = level.tiles;
    } else {
        for (std::size_t half = 0; half < 2; ++half) {
            const std::size_t start = std::size_t{result.tileBanks[half]} * kCharacterPageSize;
            const std::size_t inside =
                start >= kCharacterSize ? 0 : std::min(kTileHalfBytes, kCharacterSize - start);
            const auto first =
                result.tiles.begin() + static_cast<std::ptrdiff_t>(half * kTileHalfBytes);
            if (std::any_of(first + static_cast<std::ptrdiff_t>(inside),
                            first + static_cast<std::ptrdiff_t>(kTileHalfBytes),
                            [](std::uint8_t byte) { return byte != 0; })) {
                return false;
            }
        }
    }
    result.RecountUsage();
    const std::array<std::uint8_t, kTileBytes> before = level.tiles;
    level = result;
    if (withTiles) {
        data.CarryTileEdits(n, before);
    }
    return true;
}

std::optional<LevelImport::PageConflict> LevelImport::ReconcileTilePages(GameData& data,
                                                                         const RomImage& base) {
    // All decisions first, then the copies, so that a conflict leaves data alone.
    std::vector<std::pair<std::vector<PageCopy>, const std::uint8_t*>> carries;
    for (std::size_t page = 0; page < kCharacterPages; ++page) {
        std::vector<PageCopy> copies;
        for (std::size_t n = 0; n < kLevelCount; ++n) {
            LevelRecord& level = data.levels[n];
            for (std::size_t half = 0; half < 2; ++half) {
                for (std::size_t part = 0; part < 2; ++part) {
                    if (std::size_t{level.tileBanks[half]} + part == page) {
                        copies.push_back({static_cast<int>(n), level.tiles.data() +
                                                                   half * kTileHalfBytes +
                                                                   part * kCharacterPageSize});
                    }
                }
            }
        }
        if (page < kSpritePages) {
            copies.push_back(
                {-1, data.enemyGraphics.spriteTiles.data() + page * kCharacterPageSize});
        }
        const std::uint8_t* original = base.Characters().data() + page * kCharacterPageSize;
        const std::uint8_t* changed = nullptr;
        int changedLevel = -1;
        for (const PageCopy& copy : copies) {
            if (std::memcmp(copy.bytes, original, kCharacterPageSize) == 0) {
                continue;
            }
            if (changed == nullptr) {
                changed = copy.bytes;
                changedLevel = copy.level;
            } else if (std::memcmp(copy.bytes, changed, kCharacterPageSize) != 0) {
                return PageConflict{static_cast<int>(page), changedLevel, copy.level};
            }
        }
        if (changed != nullptr) {
            carries.emplace_back(std::move(copies), changed);
        }
    }
    for (auto& [copies, changed] : carries) {
        const std::vector<std::uint8_t> bytes(changed, changed + kCharacterPageSize);
        for (const PageCopy& copy : copies) {
            std::memcpy(copy.bytes, bytes.data(), kCharacterPageSize);
        }
    }
    return std::nullopt;
}

} // namespace korvane
