#pragma once

// Where a tile sheet's pixels lie in the NES two-plane tile bytes; shared by the sheet's
// Qt-free reading and its export to a picture.

#include "TileSheet.h"

#include <cstddef>

namespace korvane {

inline constexpr int kSheetTilePixels = 8;         // a tile is 8 x 8 pixels
inline constexpr std::size_t kSheetTileBytes = 16; // plane 0, then plane 1
inline constexpr std::size_t kSheetPlaneBytes = 8;

// Where sheet pixel (x, y) lies in the sheet's tile bytes: the byte of its row in plane 0 and
// the bit of its column.
struct SheetPixelPlace {
    std::size_t rowByte;
    unsigned bit;
};

constexpr SheetPixelPlace SheetPixelPlaceOf(int x, int y) {
    const int tile = (y / kSheetTilePixels) * kTileSheetColumns + x / kSheetTilePixels;
    return {static_cast<std::size_t>(tile) * kSheetTileBytes +
                static_cast<std::size_t>(y % kSheetTilePixels),
            static_cast<unsigned>(kSheetTilePixels - 1 - x % kSheetTilePixels)};
}

} // namespace korvane
