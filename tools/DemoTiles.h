#pragma once

#include "DemoRandom.h"

#include <array>
#include <cstdint>
#include <span>

namespace korvane::demo {

// A 16 x 16 picture of pixel values 0 to 3, stored as the four tiles of a block.
using ArtPixels = std::array<std::uint8_t, 256>;

// The pictures of a level's tile set. Picture k fills tiles 4k .. 4k + 3 (top-left, top-right,
// bottom-left, bottom-right), so block k of the level shows picture k.
enum class Art : int {
    Sky = 0,
    CloudLeft,
    CloudRight,
    Stars,
    Brick,
    BrickTop,
    Ladder,
    LadderTop,
    Spikes,
    WaterTop,
    Water,
    Window,
    Egg,
    Pillar,
    Crate,
    Chain,
    MossBrick,
    CrackedStone,
    Grate,
    DoorTop,
    DoorBottom,
    Rubble,
    Torch,
    DarkWall,
    FirstDecoration, // 24 .. 47: small sprite-like ornaments
};
inline constexpr int kArtCount = 48;
inline constexpr int kFontFirstTile = 0xC0; // 48 glyphs: 0-9, A-Z, then punctuation
inline constexpr int kGlyphCount = 48;

// Brick drawing styles, one per tile area: bricks, stone blocks, small bricks.
inline constexpr int kBrickStyles = 3;

// Tile to character code of the font: "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ .,!?-:'/()&".
int GlyphIndex(char c);

// One tile (16 bytes, two bit planes) from 64 pixel values.
void PackTile(std::span<const std::uint8_t, 64> pixels, std::span<std::uint8_t, 16> out);
// The four tiles of a 16 x 16 picture.
void PackArt(const ArtPixels& art, std::span<std::uint8_t, 64> out);

// A level's 256 background tiles (4096 bytes): the pictures, then the font.
void DrawLevelTiles(std::span<std::uint8_t, 4096> out, int brickStyle, DemoRandom& rng);
// The 48 glyphs of the font (768 bytes).
void DrawFont(std::span<std::uint8_t, 768> out);
// Sprite character memory: pages of 16 x 16 creatures (any multiple of 64 bytes).
void DrawSprites(std::span<std::uint8_t> out, DemoRandom& rng);
// A small symmetric creature or ornament on a transparent background.
ArtPixels DrawCreature(DemoRandom& rng);

} // namespace korvane::demo
