// The palette swatches: four framed colour squares per palette, four palettes per set.
#include "editors/CPaletteSwatchImage.h"

#include <gtest/gtest.h>

#include <array>

namespace korvane {
namespace {

// GDI colour values (red in bits 0-7) of NES colours 0x01 (003DA6), 0x16 (FF2200),
// 0x2A (2BF035) and 0x30 (FFFFFF), from the NES colour table.
constexpr std::array<std::uint32_t, 4> kGdi{0xA63D00, 0x0022FF, 0x35F02B, 0xFFFFFF};
constexpr std::array<std::uint8_t, 4> kNes{0x01, 0x16, 0x2A, 0x30};

// Square k of a palette row starting at pixel row top: a black 1-pixel frame around 14 x 14
// pixels of the colour.
void ExpectSquare(const CPixelImage& image, int k, int top, std::uint32_t colour) {
    int inside = 0;
    for (int y = top; y < top + 16; ++y) {
        for (int x = 16 * k; x < 16 * k + 16; ++x) {
            const bool edge = y == top || y == top + 15 || x == 16 * k || x == 16 * k + 15;
            const std::uint32_t expected = edge ? 0x000000 : colour;
            ASSERT_EQ(image.GetPixel(x, y), expected) << "square " << k << " at " << x << "," << y;
            inside += edge ? 0 : 1;
        }
    }
    EXPECT_EQ(inside, 14 * 14);
}

TEST(PaletteSwatchTest, OnePaletteIsFourFramedSquares) {
    CPaletteSwatchImage swatch;
    swatch.MakePalette(kNes);
    ASSERT_EQ(swatch.width(), 64);
    ASSERT_EQ(swatch.height(), 16);
    for (int k = 0; k < 4; ++k) {
        ExpectSquare(swatch, k, 0, kGdi[static_cast<std::size_t>(k)]);
    }
    // Colour numbers wrap to their low six bits: 0x41 is 0x01.
    CPaletteSwatchImage wrapped;
    wrapped.MakePalette(std::array<std::uint8_t, 4>{0x41, 0x56, 0x6A, 0x70});
    EXPECT_EQ(wrapped.pixels(), swatch.pixels());
}

TEST(PaletteSwatchTest, ASetStacksItsFourPalettes) {
    PaletteSet set;
    // Palette p holds the four test colours turned by p places.
    for (std::size_t p = 0; p < 4; ++p) {
        for (std::size_t v = 0; v < 4; ++v) {
            set.bytes[4 * p + v] = kNes[(v + p) % 4];
        }
    }
    set.bytes[16] = 0x86; // effect codes are not colours
    CPaletteSwatchImage swatch;
    swatch.MakeSet(set);
    ASSERT_EQ(swatch.width(), 64);
    ASSERT_EQ(swatch.height(), 64);
    for (int p = 0; p < 4; ++p) {
        for (int k = 0; k < 4; ++k) {
            ExpectSquare(swatch, k, 16 * p, kGdi[static_cast<std::size_t>((k + p) % 4)]);
        }
    }
    CPaletteSwatchImage third;
    third.MakePalette(set, 2);
    ExpectSquare(third, 0, 0, kGdi[2]);
    ExpectSquare(third, 3, 0, kGdi[1]);
}

} // namespace
} // namespace korvane
