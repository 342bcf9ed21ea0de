#include "CellRasteriser.h"

#include "CRenderer.h"

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

} // namespace

void CellRasteriser::SetColours(const std::array<std::uint32_t, 64>& colours,
                                const std::array<std::uint16_t, 64>& colours565) {
    colours_ = colours;
    colours565_ = colours565;
    for (std::size_t row = 0; row < 16; ++row) {
        for (std::size_t pair = 0; pair < 16; ++pair) {
            const std::size_t left = row * 4 + (pair >> 2);
            const std::size_t right = row * 4 + (pair & 3);
            pairs32_[row * 16 + pair] = static_cast<std::uint64_t>(colours_[left]) |
                                        static_cast<std::uint64_t>(colours_[right]) << 32;
            pairs16_[row * 16 + pair] = static_cast<std::uint32_t>(colours565_[left]) |
                                        static_cast<std::uint32_t>(colours565_[right]) << 16;
        }
    }
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
    std::uint8_t* row = lock.bits + static_cast<std::ptrdiff_t>(pixelY) * pitch;
    switch (lock.bitsPerPixel) {
    case 32: {
        row += static_cast<std::ptrdiff_t>(pixelX) * 4;
        const std::uint64_t* pairs = &pairs32_[static_cast<std::size_t>(colourRow) * 16];
        for (int r = 0; r < 8; ++r, row += pitch) {
            const unsigned v = RowValues(cell, r);
            const std::uint64_t p0 = pairs[(v >> 12) & 15];
            const std::uint64_t p1 = pairs[(v >> 8) & 15];
            const std::uint64_t p2 = pairs[(v >> 4) & 15];
            const std::uint64_t p3 = pairs[v & 15];
            std::memcpy(row, &p0, 8);
            std::memcpy(row + 8, &p1, 8);
            std::memcpy(row + 16, &p2, 8);
            std::memcpy(row + 24, &p3, 8);
        }
        break;
    }
    case 16: {
        row += static_cast<std::ptrdiff_t>(pixelX) * 2;
        const std::uint32_t* pairs = &pairs16_[static_cast<std::size_t>(colourRow) * 16];
        for (int r = 0; r < 8; ++r, row += pitch) {
            const unsigned v = RowValues(cell, r);
            const std::uint64_t words = static_cast<std::uint64_t>(pairs[(v >> 12) & 15]) |
                                        static_cast<std::uint64_t>(pairs[(v >> 8) & 15]) << 32;
            const std::uint64_t words2 = static_cast<std::uint64_t>(pairs[(v >> 4) & 15]) |
                                         static_cast<std::uint64_t>(pairs[v & 15]) << 32;
            std::memcpy(row, &words, 8);
            std::memcpy(row + 8, &words2, 8);
        }
        break;
    }
    case 24: {
        row += static_cast<std::ptrdiff_t>(pixelX) * 3;
        const std::uint32_t* colours = &colours_[static_cast<std::size_t>(colourRow) * 4];
        for (int r = 0; r < 8; ++r, row += pitch) {
            const unsigned v = RowValues(cell, r);
            std::uint8_t* out = row;
            for (int x = 0; x < 8; ++x, out += 3) {
                const std::uint32_t c = colours[(v >> (14 - 2 * x)) & 3];
                out[0] = static_cast<std::uint8_t>(c);
                out[1] = static_cast<std::uint8_t>(c >> 8);
                out[2] = static_cast<std::uint8_t>(c >> 16);
            }
        }
        break;
    }
    default:
        break;
    }
}

void CellRasteriser::DrawClipped(const SurfaceLock& lock, int pixelX, int pixelY,
                                 const RendererCell& cell, int colourRow) const {
    if (lock.bits == nullptr) {
        return;
    }
    const int bytesPerPixel = lock.bitsPerPixel / 8;
    if (bytesPerPixel < 2 || bytesPerPixel > 4) {
        return;
    }
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
