#pragma once

// Writes 8 x 8 tile cells straight into a locked surface. The colour table is expanded once per
// palette page into rows of ready-made pixel pairs, so each tile row costs two plane lookups and
// four stores, whatever the depth.

#include "DisplayLayer.h"

#include <array>
#include <cstdint>

namespace korvane {

struct RendererCell;

class CellRasteriser {
public:
    // colours and colours565 are indexed [variant * 16 + palette * 4 + value].
    void SetColours(const std::array<std::uint32_t, 64>& colours,
                    const std::array<std::uint16_t, 64>& colours565);

    // Draws the cell with its top-left pixel at (pixelX, pixelY); pixels outside the locked
    // area are skipped. Depths other than 16, 24 and 32 draw nothing.
    void DrawCell(const SurfaceLock& lock, int pixelX, int pixelY, const RendererCell& cell,
                  int variant) const;

private:
    void DrawClipped(const SurfaceLock& lock, int pixelX, int pixelY, const RendererCell& cell,
                     int colourRow) const;

    std::array<std::uint32_t, 64> colours_{};
    std::array<std::uint16_t, 64> colours565_{};
    // Two neighbouring pixels (left value in the high two bits of the index) per colour row.
    std::array<std::uint64_t, 16 * 16> pairs32_{};
    std::array<std::uint32_t, 16 * 16> pairs16_{};
};

} // namespace korvane
