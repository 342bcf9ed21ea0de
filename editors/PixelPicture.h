#pragma once

// A small picture of pixel values, one byte per pixel, row by row: what the pixel editor shows
// and changes. It knows the NES tile form (two bit planes of 8 bytes, bit 7 leftmost) and the
// whole-picture commands; it knows nothing of colours or widgets.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace korvane {

inline constexpr int kTileSide = 8;               // a tile is 8 x 8 pixels
inline constexpr std::size_t kTileDataBytes = 16; // plane 0 in bytes 0-7, plane 1 in 8-15
inline constexpr std::uint8_t kTilePixelMask = 3; // a tile pixel holds 2 bits

using TileBytes = std::array<std::uint8_t, kTileDataBytes>;

class PixelPicture {
public:
    PixelPicture() = default;
    // A picture of the given size, every pixel 0. Negative sizes count as 0.
    PixelPicture(int width, int height);

    // The 8 x 8 pixel values of a tile: 2 x (bit 7 - x of byte 8 + y) + (bit 7 - x of byte y).
    static PixelPicture FromTile(std::span<const std::uint8_t, kTileDataBytes> tile);
    // The tile form of an 8 x 8 picture; each value counts with its low 2 bits. Pixels outside
    // the picture count as 0.
    TileBytes ToTile() const;

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return values_.empty(); }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    const std::vector<std::uint8_t>& values() const { return values_; }

    // 0 outside the picture.
    std::uint8_t Get(int x, int y) const;
    // Ignored outside the picture.
    void Set(int x, int y, std::uint8_t value);

    // Gives value to every pixel that holds the start pixel's value and is joined to the start
    // through left, right, up and down neighbours of that value (diagonals do not join).
    // Returns how many pixels changed: 0 when value is already the start pixel's value or the
    // start lies outside.
    int FloodFill(int x, int y, std::uint8_t value);

    // The whole-picture commands. Shifts wrap around: what leaves one edge comes in at the
    // other. The rotations turn a square picture a quarter turn (clockwise: the pixel (x, y)
    // goes to (w - 1 - y, x)); a picture that is not square is left as it is.
    void Fill(std::uint8_t value);
    void ShiftLeft();
    void ShiftRight();
    void ShiftUp();
    void ShiftDown();
    void MirrorHorizontal();
    void MirrorVertical();
    void RotateClockwise();
    void RotateCounterClockwise();

    bool operator==(const PixelPicture&) const = default;

private:
    std::size_t Index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(x);
    }

    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> values_;
};

} // namespace korvane
