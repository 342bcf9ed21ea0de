#pragma once

// Writes 8 x 8 tile cells straight into a locked surface. The colour table is expanded into
// ready-made runs of four pixels indexed by a nibble of each bit plane, so each tile row costs
// two table reads and two stores of four pixels. The runs of a colour row are
// built the first time a cell uses the row after its colours changed.

#include "DisplayLayer.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

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

    // Draws count cells side by side in one cell row, cell i with its top-left pixel at
    // (pixelX + 8 i, pixelY) in shade variant variants[i]: the same pixels as DrawCell on each.
    void DrawRow(const SurfaceLock& lock, int pixelX, int pixelY, const RendererCell* cells,
                 const std::uint8_t* variants, int count) const;

private:
    static constexpr std::size_t kColourRows = 16;   // variant * 4 + palette
    static constexpr std::size_t kNibblePairs = 256; // plane 0 nibble | plane 1 nibble << 4

    void DrawClipped(const SurfaceLock& lock, int pixelX, int pixelY, const RendererCell& cell,
                     int colourRow) const;
    void BuildRuns32(std::size_t colourRow) const;
    void BuildRuns16(std::size_t colourRow) const;
    void BuildRuns24(std::size_t colourRow) const;

    std::array<std::uint32_t, 64> colours_{};
    std::array<std::uint16_t, 64> colours565_{};
    // Four pixels per entry, leftmost first: [colour row][nibble pair][pixel]. Filled on demand.
    mutable std::vector<std::uint32_t> runs32_;
    mutable std::vector<std::uint64_t> runs16_;
    mutable std::vector<std::uint8_t> runs24_; // 12 bytes a run: blue, green, red per pixel
    mutable std::array<bool, kColourRows> runs32Ready_{};
    mutable std::array<bool, kColourRows> runs16Ready_{};
    mutable std::array<bool, kColourRows> runs24Ready_{};
};

} // namespace korvane
