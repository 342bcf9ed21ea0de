#pragma once

// The colour swatches the editors put in their lists: one palette as four framed squares side
// by side (64 x 16 pixels), or a whole palette set as its four palettes stacked (64 x 64).

#include "gamedata/LevelRecord.h"
#include "graphics/CPixelImage.h"

#include <cstdint>
#include <span>

namespace korvane {

class CPaletteSwatchImage : public CPixelImage {
public:
    static constexpr int kWidth = 64;
    static constexpr int kSquare = 16;
    static constexpr int kPaletteHeight = 16;
    static constexpr int kSetHeight = 64;

    // Colour k of the palette fills the 16 x 16 square at x = 16k, framed 1 pixel in black, so
    // that each colour shows as 14 x 14 pixels.
    void MakePalette(std::span<const std::uint8_t, 4> nesColours);
    void MakePalette(const PaletteSet& set, int palette);
    // Palettes 0 to 3 of the set, palette p in pixel rows 16p to 16p + 15.
    void MakeSet(const PaletteSet& set);

private:
    void DrawPalette(std::span<const std::uint8_t, 4> nesColours, int top);
};

} // namespace korvane
