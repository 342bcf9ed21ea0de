#include "GameData.h"

#include <algorithm>

namespace korvane {

namespace {

// The About box tiles, copied from the last 16 KB of character memory: {file offset, bytes}.
struct TileSpan {
    std::size_t offset;
    std::size_t length;
};
constexpr std::array<TileSpan, 7> kAboutTileSpans{{
    {0x5F630, 64},
    {0x5F730, 64},
    {0x5F530, 32},
    {0x5F260, 16},
    {0x5F3B0, 16},
    {0x5F550, 16},
    {0x5F3C0, 16},
}};
constexpr std::size_t kAboutTilesLargeOffset = 0x5D010;

} // namespace

void GameData::Decode(const RomImage& image) {
    for (std::size_t n = 0; n < kLevelCount; ++n) {
        levels[n].Decode(image, LevelCatalogue[n].bankOffset);
    }
    for (std::size_t k = 0; k < recordBanks.size(); ++k) {
        recordBanks[k].Decode(image, kRecordBankOffsets[k]);
    }
    enemyGraphics.Decode(image);

    auto about = aboutTiles.begin();
    for (const TileSpan& tileSpan : kAboutTileSpans) {
        about = std::copy_n(image.bytes.begin() + static_cast<std::ptrdiff_t>(tileSpan.offset),
                            tileSpan.length, about);
    }
    std::copy_n(image.bytes.begin() + static_cast<std::ptrdiff_t>(kAboutTilesLargeOffset),
                aboutTilesLarge.size(), aboutTilesLarge.begin());
    decoded = 1;
}

void GameData::Encode(RomImage& image) const {
    // Character pages named by several levels, or also lying in the sprite pages, reach the
    // file from the copy written last: levels in catalogue order, then the sprite pages.
    for (std::size_t n = 0; n < kLevelCount; ++n) {
        levels[n].Encode(image, LevelCatalogue[n].bankOffset);
    }
    for (const RecordBank& recordBank : recordBanks) {
        recordBank.Encode(image);
    }
    enemyGraphics.Encode(image);
}

} // namespace korvane
