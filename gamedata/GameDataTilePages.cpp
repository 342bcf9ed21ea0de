// The copies of character pages that the model holds: each level keeps its own copy of the two
// 2 KB tile halves its tileBanks name, and pages below 64 are also in the sprite tiles.
#include "GameData.h"

#include <algorithm>

namespace korvane {

namespace {

constexpr std::size_t kTileHalfBytes = 0x800;
constexpr std::size_t kPartsPerHalf = kTileHalfBytes / kCharacterPageSize;  // 2
constexpr std::size_t kSpritePages = kSpriteTileBytes / kCharacterPageSize; // 64

// One 1 KB part of a level's tiles and the character page it shows.
struct PageSlot {
    std::size_t page;
    std::size_t offset; // into the level's tiles
};

// The parts of one half, in the order they are written back; a part whose page lies beyond
// character memory (128 or more) is left out: it is neither read nor written.
std::vector<PageSlot> HalfSlots(const LevelRecord& level, std::size_t half) {
    std::vector<PageSlot> slots;
    for (std::size_t part = 0; part < kPartsPerHalf; ++part) {
        const std::size_t page = std::size_t{level.tileBanks[half]} + part;
        if (page < kCharacterPages) {
            slots.push_back({page, half * kTileHalfBytes + part * kCharacterPageSize});
        }
    }
    return slots;
}

std::vector<PageSlot> LevelSlots(const LevelRecord& level) {
    std::vector<PageSlot> slots = HalfSlots(level, 0);
    const std::vector<PageSlot> second = HalfSlots(level, 1);
    slots.insert(slots.end(), second.begin(), second.end());
    return slots;
}

bool ShowsAnyOf(const LevelRecord& level, std::size_t half, const std::vector<PageSlot>& pages) {
    return std::any_of(pages.begin(), pages.end(), [&](const PageSlot& wanted) {
        const std::vector<PageSlot> slots = HalfSlots(level, half);
        return std::any_of(slots.begin(), slots.end(),
                           [&](const PageSlot& slot) { return slot.page == wanted.page; });
    });
}

} // namespace

int GameData::CarryTileEdits(int level, const std::array<std::uint8_t, kTileBytes>& tilesBefore) {
    if (level < 0 || level >= kLevelCount) {
        return 0;
    }
    const LevelRecord& edited = levels[static_cast<std::size_t>(level)];
    const std::vector<PageSlot> slots = LevelSlots(edited);
    std::vector<std::size_t> handled;
    int carried = 0;
    for (const PageSlot& first : slots) {
        if (std::find(handled.begin(), handled.end(), first.page) != handled.end()) {
            continue;
        }
        handled.push_back(first.page);
        // The level may show the page twice (its halves overlap by one page): the changes of
        // both copies are kept, the later copy's where both changed the same byte.
        std::array<std::uint8_t, kCharacterPageSize> page{};
        bool changed = false;
        for (const PageSlot& slot : slots) {
            if (slot.page != first.page) {
                continue;
            }
            const auto now = edited.tiles.begin() + static_cast<std::ptrdiff_t>(slot.offset);
            const auto was = tilesBefore.begin() + static_cast<std::ptrdiff_t>(slot.offset);
            if (std::equal(now, now + kCharacterPageSize, was)) {
                continue;
            }
            for (std::size_t i = 0; i < kCharacterPageSize; ++i) {
                if (!changed ||
                    now[static_cast<std::ptrdiff_t>(i)] != was[static_cast<std::ptrdiff_t>(i)]) {
                    page[i] = now[static_cast<std::ptrdiff_t>(i)];
                }
            }
            changed = true;
        }
        if (!changed) {
            continue;
        }
        ++carried;
        for (LevelRecord& copy : levels) {
            for (const PageSlot& slot : LevelSlots(copy)) {
                if (slot.page == first.page) {
                    std::copy(page.begin(), page.end(),
                              copy.tiles.begin() + static_cast<std::ptrdiff_t>(slot.offset));
                }
            }
        }
        if (first.page < kSpritePages) {
            std::copy(page.begin(), page.end(),
                      enemyGraphics.spriteTiles.begin() +
                          static_cast<std::ptrdiff_t>(first.page * kCharacterPageSize));
        }
    }
    return carried;
}

TileHalfSharing GameData::FindTileHalfSharing(int level, int half) const {
    TileHalfSharing sharing;
    if (level < 0 || level >= kLevelCount || half < 0 || half > 1) {
        return sharing;
    }
    const auto ownHalf = static_cast<std::size_t>(half);
    const LevelRecord& own = levels[static_cast<std::size_t>(level)];
    const std::vector<PageSlot> pages = HalfSlots(own, ownHalf);
    for (int other = 0; other < kLevelCount; ++other) {
        const LevelRecord& record = levels[static_cast<std::size_t>(other)];
        if (other != level && (ShowsAnyOf(record, 0, pages) || ShowsAnyOf(record, 1, pages))) {
            sharing.levels.push_back(other);
        }
    }
    sharing.otherHalf = ShowsAnyOf(own, 1 - ownHalf, pages);
    sharing.spritePages = std::any_of(
        pages.begin(), pages.end(), [](const PageSlot& slot) { return slot.page < kSpritePages; });
    return sharing;
}

} // namespace korvane
