#pragma once

// A picture as plain pixels, without Qt: what the PNG decoder hands the tile sheet, and what the
// sheet makes of a QImage. Either palette indices, one per pixel, or red, green, blue and alpha
// samples of 8 or 16 bits, four per pixel; rows one after the other, top to bottom.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvane {

struct PlainColour {
    std::uint16_t red = 0;
    std::uint16_t green = 0;
    std::uint16_t blue = 0;
    std::uint16_t alpha = 0;
};

struct PlainPicture {
    int width = 0;
    int height = 0;
    bool byIndex = false;               // samples are palette indices, one per pixel
    int paletteEntries = 0;             // the colours the picture's palette has (for byIndex)
    int sampleDepth = 8;                // 8 or 16 bits per colour sample (not byIndex)
    std::vector<std::uint16_t> samples; // width * height indices, or 4 samples a pixel

    std::size_t PixelNumber(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
               static_cast<std::size_t>(x);
    }
    unsigned IndexAt(int x, int y) const { return samples[PixelNumber(x, y)]; }
    PlainColour ColourAt(int x, int y) const {
        const std::size_t at = 4 * PixelNumber(x, y);
        return {samples[at], samples[at + 1], samples[at + 2], samples[at + 3]};
    }
};

} // namespace korvane
