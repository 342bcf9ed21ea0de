#include "CellRasteriser.h"

#include "SurfacePixels.h"

#include "CRenderer.h"

#include <algorithm>
#include <cstring>

namespace korvane {

namespace {

// Bit i of a byte moved to bit 2i: interleaving the two bit planes of a tile row gives the
// row's eight 2-bit pixel values, leftmost pixel in bits 14-15.
constexpr std::array<std::uint16_t, 256> MakeSpreadTable() {
    std::array<std::uint16_t, 256> table{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        unsigned spread = 0;
        for (unsigned bit = 0; bit < 8; ++bit) {
            spread |= ((byte >> bit) & 1U) << (2 * bit);
        }
        table[byte] = static_cast<std::uint16_t>(spread);
    }
    return table;
}

constexpr std::array<std::uint16_t, 256> kSpread = MakeSpreadTable();

inline unsigned RowValues(const RendererCell& cell, int row) {
    const auto r = static_cast<std::size_t>(row);
    return static_cast<unsigned>(kSpread[cell.pattern[r]]) |
           static_cast<unsigned>(kSpread[cell.pattern[r + 8]]) << 1;
}

// The 2-bit value of pixel k (0 leftmost) of a run of four, from a nibble pair.
inline std::size_t RunPixelValue(std::size_t nibblePair, std::size_t k) {
    return ((nibblePair >> (3 - k)) & 1U) | (((nibblePair >> (7 - k)) & 1U) << 1);
}

// The nibble pairs of a tile row's left and right four pixels.
inline std::size_t LeftPair(unsigned plane0, unsigned plane1) {
    return static_cast<std::size_t>((plane0 >> 4) | (plane1 & 0xF0U));
}
inline std::size_t RightPair(unsigned plane0, unsigned plane1) {
    return static_cast<std::size_t>((plane0 & 0x0FU) | ((plane1 & 0x0FU) << 4));
}

} // namespace

void CellRasteriser::SetColours(const std::array<std::uint32_t, 64>& colours,
                                const std::array<std::uint16_t, 64>& colours565) {
    // Only the colour rows whose colours changed need new runs.
    for (std::size_t row = 0; row < kColourRows; ++row) {
        for (std::size_t value = 0; value < 4; ++value) {
            const std::size_t entry = row * 4 + value;
            if (colours_[entry] != colours[entry]) {
                runs32Ready_[row] = false;
                runs24Ready_[row] = false;
            }
            if (colours565_[entry] != colours565[entry]) {
                runs16Ready_[row] = false;
            }
        }
    }
    colours_ = colours;
    colours565_ = colours565;
}

void CellRasteriser::BuildRuns32(std::size_t colourRow) const {
    if (runs32_.empty()) {
        runs32_.resize(kColourRows * kNibblePairs * 4);
    }
    const std::uint32_t* colours = &colours_[colourRow * 4];
    std::uint32_t* out = &runs32_[colourRow * kNibblePairs * 4];
    for (std::size_t pair = 0; pair < kNibblePairs; ++pair) {
        for (std::size_t k = 0; k < 4; ++k) {
            *out++ = colours[RunPixelValue(pair, k)];
        }
    }
    runs32Ready_[colourRow] = true;
}

void CellRasteriser::BuildRuns16(std::size_t colourRow) const {
    if (runs16_.empty()) {
        runs16_.resize(kColourRows * kNibblePairs);
    }
    const std::uint16_t* colours = &colours565_[colourRow * 4];
    std::uint64_t* out = &runs16_[colourRow * kNibblePairs];
    for (std::size_t pair = 0; pair < kNibblePairs; ++pair) {
        std::uint64_t run = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            run |= static_cast<std::uint64_t>(colours[RunPixelValue(pair, k)]) << (16 * k);
        }
        out[pair] = run;
    }
    runs16Ready_[colourRow] = true;
}

void CellRasteriser::BuildRuns24(std::size_t colourRow) const {
    if (runs24_.empty()) {
        runs24_.resize(kColourRows * kNibblePairs * 12);
    }
    const std::uint32_t* colours = &colours_[colourRow * 4];
    std::uint8_t* out = &runs24_[colourRow * kNibblePairs * 12];
    for (std::size_t pair = 0; pair < kNibblePairs; ++pair) {
        for (std::size_t k = 0; k < 4; ++k) {
            const std::uint32_t c = colours[RunPixelValue(pair, k)];
            *out++ = static_cast<std::uint8_t>(c);
            *out++ = static_cast<std::uint8_t>(c >> 8);
            *out++ = static_cast<std::uint8_t>(c >> 16);
        }
    }
    runs24Ready_[colourRow] = true;
}

void CellRasteriser::DrawCell(const SurfaceLock& lock, int pixelX, int pixelY,
                              const RendererCell& cell, int variant) const {
    const int colourRow = (variant & 3) * 4 + (cell.palette & 3);
    if (pixelX < 0 || pixelY < 0 || pixelX + 8 > lock.width || pixelY + 8 > lock.height ||
        lock.bits == nullptr) {
        DrawClipped(lock, pixelX, pixelY, cell, colourRow);
        return;
    }
    const auto pitch = static_cast<std::ptrdiff_t>(lock.pitch);
    const auto rowIndex = static_cast<std::size_t>(colourRow);
    std::uint8_t* row = lock.bits + static_cast<std::ptrdiff_t>(pixelY) * pitch;
    const std::uint8_t* plane0 = cell.pattern.data();
    const std::uint8_t* plane1 = cell.pattern.data() + 8;
    switch (lock.bitsPerPixel) {
    case 32: {
        if (!runs32Ready_[rowIndex]) {
            BuildRuns32(rowIndex);
        }
        row += static_cast<std::ptrdiff_t>(pixelX) * 4;
        const std::uint32_t* runs = &runs32_[rowIndex * kNibblePairs * 4];
        for (int r = 0; r < 8; ++r, row += pitch) {
            const unsigned p0 = plane0[r];
            const unsigned p1 = plane1[r];
            std::memcpy(row, runs + LeftPair(p0, p1) * 4, 16);
            std::memcpy(row + 16, runs + RightPair(p0, p1) * 4, 16);
        }
        break;
    }
    case 16: {
        if (!runs16Ready_[rowIndex]) {
            BuildRuns16(rowIndex);
        }
        row += static_cast<std::ptrdiff_t>(pixelX) * 2;
        const std::uint64_t* runs = &runs16_[rowIndex * kNibblePairs];
        for (int r = 0; r < 8; ++r, row += pitch) {
            const unsigned p0 = plane0[r];
            const unsigned p1 = plane1[r];
            std::memcpy(row, runs + LeftPair(p0, p1), 8);
            std::memcpy(row + 8, runs + RightPair(p0, p1), 8);
        }
        break;
    }
    case 24: {
        if (!runs24Ready_[rowIndex]) {
            BuildRuns24(rowIndex);
        }
        row += static_cast<std::ptrdiff_t>(pixelX) * 3;
        const std::uint8_t* runs = &runs24_[rowIndex * kNibblePairs * 12];
        for (int r = 0; r < 8; ++r, row += pitch) {
            const unsigned p0 = plane0[r];
            const unsigned p1 = plane1[r];
            std::memcpy(row, runs + LeftPair(p0, p1) * 12, 12);
            std::memcpy(row + 12, runs + RightPair(p0, p1) * 12, 12);
        }
        break;
    }
    default:
        break;
    }
}

namespace {

constexpr std::uint64_t kLowNibbles = 0x0F0F0F0F0F0F0F0FULL;

// The nibble pairs of all eight rows at once, row r in byte r: left and right halves.
struct RowPairs {
    std::uint64_t left;
    std::uint64_t right;
};

inline RowPairs PairsOf(const RendererCell& cell) {
    std::uint64_t plane0 = 0;
    std::uint64_t plane1 = 0;
    std::memcpy(&plane0, cell.pattern.data(), 8);
    std::memcpy(&plane1, cell.pattern.data() + 8, 8);
    return {((plane0 >> 4) & kLowNibbles) | (plane1 & ~kLowNibbles),
            (plane0 & kLowNibbles) | ((plane1 << 4) & ~kLowNibbles)};
}

inline std::size_t PairOfRow(std::uint64_t pairs, int row) {
    return static_cast<std::size_t>((pairs >> (8 * row)) & 0xFFU);
}

} // namespace

void CellRasteriser::DrawRow(const SurfaceLock& lock, int pixelX, int pixelY,
                             const RendererCell* cells, const std::uint8_t* variants,
                             int count) const {
    const int bitsPerPixel = lock.bitsPerPixel;
    const bool rowInside = lock.bits != nullptr && pixelY >= 0 && pixelY + 8 <= lock.height;
    if (!rowInside || (bitsPerPixel != 32 && bitsPerPixel != 16) || pixelX < 0) {
        for (int i = 0; i < count; ++i) {
            DrawCell(lock, pixelX + 8 * i, pixelY, cells[i], variants[i]);
        }
        return;
    }
    // Cells 0 to inside - 1 lie wholly inside the surface; the rest are clipped.
    const int inside = std::clamp((lock.width - pixelX) / 8, 0, count);
    const auto pitch = static_cast<std::ptrdiff_t>(lock.pitch);
    std::uint8_t* top = lock.bits + static_cast<std::ptrdiff_t>(pixelY) * pitch;
    if (bitsPerPixel == 32) {
        top += static_cast<std::ptrdiff_t>(pixelX) * 4;
        for (int i = 0; i < inside; ++i, top += 32) {
            const auto colourRow =
                static_cast<std::size_t>((variants[i] & 3) * 4 + (cells[i].palette & 3));
            if (!runs32Ready_[colourRow]) {
                BuildRuns32(colourRow);
            }
            const std::uint32_t* runs = &runs32_[colourRow * kNibblePairs * 4];
            const RowPairs pairs = PairsOf(cells[i]);
            std::uint8_t* out = top;
#pragma GCC unroll 8
            for (int r = 0; r < 8; ++r, out += pitch) {
                std::memcpy(out, runs + PairOfRow(pairs.left, r) * 4, 16);
                std::memcpy(out + 16, runs + PairOfRow(pairs.right, r) * 4, 16);
            }
        }
    } else {
        top += static_cast<std::ptrdiff_t>(pixelX) * 2;
        for (int i = 0; i < inside; ++i, top += 16) {
            const auto colourRow =
                static_cast<std::size_t>((variants[i] & 3) * 4 + (cells[i].palette & 3));
            if (!runs16Ready_[colourRow]) {
                BuildRuns16(colourRow);
            }
            const std::uint64_t* runs = &runs16_[colourRow * kNibblePairs];
            const RowPairs pairs = PairsOf(cells[i]);
            std::uint8_t* out = top;
#pragma GCC unroll 8
            for (int r = 0; r < 8; ++r, out += pitch) {
                std::memcpy(out, runs + PairOfRow(pairs.left, r), 8);
                std::memcpy(out + 8, runs + PairOfRow(pairs.right, r), 8);
            }
        }
    }
    for (int i = inside; i < count; ++i) {
        DrawCell(lock, pixelX + 8 * i, pixelY, cells[i], variants[i]);
    }
}

void CellRasteriser::DrawClipped(const SurfaceLock& lock, int pixelX, int pixelY,
                                 const RendererCell& cell, int colourRow) const {
    if (lock.bits == nullptr) {
        return;
    }
    // Only the three drawn layouts: another depth (say 30) would give a pixel size that the
    // surface's rows were not laid out for.
    if (!pixels::IsDrawnDepth(lock.bitsPerPixel)) {
        return;
    }
    const int bytesPerPixel = pixels::StoredBytesPerPixel(lock.bitsPerPixel);
    for (int r = 0; r < 8; ++r) {
        const int py = pixelY + r;
        if (py < 0 || py >= lock.height) {
            continue;
        }
        const unsigned v = RowValues(cell, r);
        std::uint8_t* row = lock.bits + static_cast<std::ptrdiff_t>(py) * lock.pitch;
        for (int x = 0; x < 8; ++x) {
            const int px = pixelX + x;
            if (px < 0 || px >= lock.width) {
                continue;
            }
            const std::size_t entry =
                static_cast<std::size_t>(colourRow) * 4 + ((v >> (14 - 2 * x)) & 3);
            std::uint8_t* out = row + static_cast<std::ptrdiff_t>(px) * bytesPerPixel;
            if (bytesPerPixel == 2) {
                const std::uint16_t word = colours565_[entry];
                std::memcpy(out, &word, 2);
            } else if (bytesPerPixel == 3) {
                const std::uint32_t c = colours_[entry];
                out[0] = static_cast<std::uint8_t>(c);
                out[1] = static_cast<std::uint8_t>(c >> 8);
                out[2] = static_cast<std::uint8_t>(c >> 16);
            } else {
                const std::uint32_t c = colours_[entry];
                std::memcpy(out, &c, 4);
            }
        }
    }
}

} // namespace korvane
