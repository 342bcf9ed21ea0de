#include "TileHalfSharing.h"

#include "RomImage.h"

#include <algorithm>

namespace korvane {

namespace {

const char* HalfName(int half) {
    return half == 0 ? "tiles 0-127" : "tiles 128-255";
}

// "level 3", "levels 3 and 7", "levels 3, 5 and 7".
std::string LevelList(const std::vector<int>& levels) {
    std::string text = levels.size() == 1 ? "level " : "levels ";
    for (std::size_t i = 0; i < levels.size(); ++i) {
        if (i > 0) {
            text += i + 1 == levels.size() ? " and " : ", ";
        }
        text += std::to_string(levels[i]);
    }
    return text;
}

} // namespace

std::string TileHalfSharingText(int half, const TileHalfSharing& sharing) {
    std::vector<std::string> parts;
    if (!sharing.levels.empty()) {
        parts.push_back(LevelList(sharing.levels));
    }
    if (sharing.otherHalf) {
        parts.push_back(std::string(HalfName(half == 0 ? 1 : 0)) + " of this level");
    }
    if (sharing.spritePages) {
        parts.emplace_back("the sprite tiles");
    }
    if (parts.empty()) {
        return {};
    }
    std::string text = half == 0 ? "Tiles 0-127" : "Tiles 128-255";
    text += " are shared with ";
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            text += i + 1 == parts.size() ? " and with " : ", with ";
        }
        text += parts[i];
    }
    return text;
}

std::string TileHalfOutsideText(int half, int firstPage) {
    constexpr int kTilesPerPage = static_cast<int>(kCharacterPageSize / 16); // 64
    const int insidePages = std::clamp(static_cast<int>(kCharacterPages) - firstPage, 0, 2);
    if (insidePages == 2) {
        return {};
    }
    const int firstTile = half * 2 * kTilesPerPage + insidePages * kTilesPerPage;
    const int lastTile = half * 2 * kTilesPerPage + 2 * kTilesPerPage - 1;
    return "Tiles " + std::to_string(firstTile) + "-" + std::to_string(lastTile) +
           " lie beyond the cartridge's character memory: changes to them cannot be saved";
}

} // namespace korvane
