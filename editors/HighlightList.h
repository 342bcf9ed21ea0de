#pragma once

// The items of the editors' Highlights list and the shading selector each one gives to the
// canvases. Items 0 to 15 name the 16 block types; the block editor's type list uses the same
// texts, and the main view's Highlights list the first 18 items.

#include <array>

namespace korvane {

inline constexpr std::array<const char*, 19> kHighlightItems{
    "0: background, through",
    "1: foreground, solid",
    "2: lader, through",
    "3: ???",
    "4: lader, walkable",
    "5: spikes/lava",
    "6: foreground, through",
    "7: egg",
    "8: water",
    "9: ???",
    "A: ???",
    "B: ???",
    "C: ???",
    "D: ???",
    "E: ???",
    "F: ???",
    "Shade all",
    "No shading",
    "Unused stuff in this level",
};
inline constexpr int kBlockTypeItems = 16;
inline constexpr int kShadeAllItem = 16;
inline constexpr int kNoShadingItem = 17;
inline constexpr int kUnusedItem = 18;

// The selector an item gives: 0-15 a block type, 16 shade all, 17 no shading (-1), 18 and
// beyond the items the level does not use (-2).
constexpr int HighlightSelectorForItem(int item) {
    if (item > kNoShadingItem) {
        return -2;
    }
    if (item == kNoShadingItem) {
        return -1;
    }
    return item < kShadeAllItem ? item : kShadeAllItem;
}

} // namespace korvane
