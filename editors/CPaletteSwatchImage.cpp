#include "CPaletteSwatchImage.h"

#include "graphics/NesColours.h"

namespace korvane {

namespace {
constexpr std::uint32_t kBlack = 0x000000;
}

void CPaletteSwatchImage::MakePalette(std::span<const std::uint8_t, 4> nesColours) {
    SetSize(kWidth, kPaletteHeight);
    DrawPalette(nesColours, 0);
}

void CPaletteSwatchImage::MakePalette(const PaletteSet& set, int palette) {
    const auto first = static_cast<std::size_t>(4 * (palette & 3));
    MakePalette(std::span<const std::uint8_t, 4>(set.bytes.data() + first, 4));
}

void CPaletteSwatchImage::MakeSet(const PaletteSet& set) {
    SetSize(kWidth, kSetHeight);
    for (int p = 0; p < 4; ++p) {
        const auto first = static_cast<std::size_t>(4 * p);
        DrawPalette(std::span<const std::uint8_t, 4>(set.bytes.data() + first, 4),
                    p * kPaletteHeight);
    }
}

void CPaletteSwatchImage::DrawPalette(std::span<const std::uint8_t, 4> nesColours, int top) {
    for (int k = 0; k < 4; ++k) {
        const std::uint32_t colour = NesToGdiColour(nesColours[static_cast<std::size_t>(k)]);
        const int left = k * kSquare;
        for (int y = top; y < top + kSquare; ++y) {
            for (int x = left; x < left + kSquare; ++x) {
                SetPixel(colour, x, y);
            }
        }
        DrawFrame(left, top, left + kSquare, top + kSquare, kBlack, 1);
    }
}

} // namespace korvane
