#include "AboutArtwork.h"

#include <algorithm>

namespace korvane {

namespace {

// 5 x 7 glyphs, one string of 7 rows of 5 columns per character of kAboutGlyphs.
constexpr std::array<std::string_view, 39> kGlyphRows{
    "                                   ", // space
    " ### #   ##   #######   ##   ##   #", // A
    "#### #   ##   ##### #   ##   ##### ", // B
    " ### #   ##    #    #    #   # ### ", // C
    "#### #   ##   ##   ##   ##   ##### ", // D
    "######    #### #    #    #    #####", // E
    "######    #### #    #    #    #    ", // F
    " ### #   ##    # ####   ##   # ####", // G
    "#   ##   #######   ##   ##   ##   #", // H
    " ###   #    #    #    #    #   ### ", // I
    "  ###   #    #    #    ##   # ###  ", // J
    "#   ##  # ###  #  # #   ##   ##   #", // K
    "#    #    #    #    #    #    #####", // L
    "#   ### ### # ##   ##   ##   ##   #", // M
    "#   ###  ## # ##  ###   ##   ##   #", // N
    " ### #   ##   ##   ##   ##   # ### ", // O
    "#### #   ##   ##### #    #    #    ", // P
    " ### #   ##   ##   ## # ##  #  ## #", // Q
    "#### #   ##   ##### # #  #  # #   #", // R
    " #####     ###      #    #    #### ", // S
    "#####  #    #    #    #    #    #  ", // T
    "#   ##   ##   ##   ##   ##   # ### ", // U
    "#   ##   ##   ##   # # #  # #   #  ", // V
    "#   ##   ##   ## # ## # ## # # # # ", // W
    "#   # # #   #   # # #   ##   ##   #", // X
    "#   # # #   #    #    #    #    #  ", // Y
    "#####    #   #   #   #   #    #####", // Z
    " ### #   ##  ### # ###  ##   # ### ", // 0
    "  #   ##    #    #    #    #   ### ", // 1
    " ### #   #    #  ##  #   #    #####", // 2
    " ### #   #    #  ##     ##   # ### ", // 3
    "   #   ##  # # #  ######   #    #  ", // 4
    "######    ####     #    ##   # ### ", // 5
    " ### #    #    #### #   ##   # ### ", // 6
    "#####    #   #   #    #    #    #  ", // 7
    " ### #   ##   # ### #   ##   # ### ", // 8
    " ### #   ##   # ####    #    # ### ", // 9
    "  #    #    #    #    #         #  ", // !
    "                               ##  ", // .
};

using Tile = std::array<std::uint8_t, 16>;

// A tile from eight rows of eight pixel values '0' to '3'.
Tile TileFromRows(const std::array<std::string_view, 8>& rows) {
    Tile tile{};
    for (std::size_t y = 0; y < 8; ++y) {
        for (std::size_t x = 0; x < 8; ++x) {
            const int value = x < rows[y].size() ? rows[y][x] - '0' : 0;
            const auto bit = static_cast<std::uint8_t>(0x80U >> x);
            if ((value & 1) != 0) {
                tile[y] = static_cast<std::uint8_t>(tile[y] | bit);
            }
            if ((value & 2) != 0) {
                tile[y + 8] = static_cast<std::uint8_t>(tile[y + 8] | bit);
            }
        }
    }
    return tile;
}

// A glyph in colour 3, one pixel in from the left and the top of its tile.
Tile GlyphTile(std::string_view rows) {
    Tile tile{};
    for (std::size_t y = 0; y < 7; ++y) {
        for (std::size_t x = 0; x < 5; ++x) {
            const std::size_t at = y * 5 + x;
            if (at < rows.size() && rows[at] == '#') {
                const auto bit = static_cast<std::uint8_t>(0x80U >> (x + 1));
                tile[y + 1] = static_cast<std::uint8_t>(tile[y + 1] | bit);
                tile[y + 9] = static_cast<std::uint8_t>(tile[y + 9] | bit);
            }
        }
    }
    return tile;
}

constexpr std::array<std::array<std::string_view, 8>, 4> kOwnTiles{{
    // brick, upper half
    {"33333333", "21111211", "21111211", "21111211", "33333333", "11211112", "11211112",
     "11211112"},
    // brick, lower half (mortar line first)
    {"33333333", "11112111", "11112111", "11112111", "33333333", "21111112", "21111112",
     "21111112"},
    // sparkle
    {"00000000", "00030000", "00030000", "03333300", "00030000", "00030000", "00000000",
     "00000000"},
    // small star
    {"00000000", "00000000", "00020000", "00232000", "00020000", "00000000", "00000000",
     "00000000"},
}};

} // namespace

std::array<std::uint8_t, kTileBytes>
AboutTileTable(const std::array<std::uint8_t, kAboutTileBytes>& aboutTiles,
               const std::array<std::uint8_t, kAboutTileLargeBytes>& aboutTilesLarge) {
    std::array<std::uint8_t, kTileBytes> table{};
    std::copy(aboutTiles.begin(), aboutTiles.end(), table.begin() + kAboutSmallFirst * 16);
    std::copy(aboutTilesLarge.begin(), aboutTilesLarge.end(),
              table.begin() + kAboutLargeFirst * 16);
    for (std::size_t i = 0; i < kOwnTiles.size(); ++i) {
        const Tile tile = TileFromRows(kOwnTiles[i]);
        std::copy(tile.begin(), tile.end(),
                  table.begin() + (kAboutOwnFirst + static_cast<int>(i)) * 16);
    }
    for (std::size_t i = 0; i < kGlyphRows.size(); ++i) {
        const Tile tile = GlyphTile(kGlyphRows[i]);
        std::copy(tile.begin(), tile.end(),
                  table.begin() + (kAboutGlyphFirst + static_cast<int>(i)) * 16);
    }
    return table;
}

LevelRecord AboutPaletteRecord() {
    LevelRecord record{};
    constexpr std::array<std::uint8_t, 16> kColours{
        0x0F, 0x06, 0x16, 0x27, // bricks: black, dark red, red, orange
        0x0F, 0x01, 0x11, 0x21, // blues
        0x0F, 0x0A, 0x1A, 0x2A, // greens
        0x0F, 0x00, 0x10, 0x30, // glyphs: black to white
    };
    std::copy(kColours.begin(), kColours.end(), record.paletteSets[0].bytes.begin());
    return record;
}

int AboutPatternTile(int surface, int row, int column, int shift) {
    const int r = ((row % 4) + 4) % 4;
    const int c = (((column + shift) % 5) + 5) % 5;
    switch (surface) {
    case 0:
        return kAboutSmallFirst + (r * 5 + c) % 14;
    case 1:
        return kAboutLargeFirst + (r * 12 + c) % 48;
    default:
        return kAboutOwnFirst + (r % 2) + ((c == 2 && r == 0) ? 2 : 0);
    }
}

int AboutPatternPalette(int surface, int row) {
    if (surface == 2) {
        return 0;
    }
    return (row + surface) % 3;
}

int AboutGlyphTile(char character) {
    const std::size_t at = kAboutGlyphs.find(character);
    return kAboutGlyphFirst + (at == std::string_view::npos ? 0 : static_cast<int>(at));
}

} // namespace korvane
