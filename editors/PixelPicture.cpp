#include "PixelPicture.h"

#include <algorithm>
#include <utility>

namespace korvane {

PixelPicture::PixelPicture(int width, int height)
    : width_(std::max(0, width)), height_(std::max(0, height)),
      values_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0) {}

PixelPicture PixelPicture::FromTile(std::span<const std::uint8_t, kTileDataBytes> tile) {
    PixelPicture picture(kTileSide, kTileSide);
    for (int y = 0; y < kTileSide; ++y) {
        const unsigned low = tile[static_cast<std::size_t>(y)];
        const unsigned high = tile[static_cast<std::size_t>(kTileSide + y)];
        for (int x = 0; x < kTileSide; ++x) {
            const int bit = kTileSide - 1 - x;
            picture.Set(
                x, y, static_cast<std::uint8_t>((((high >> bit) & 1U) << 1) | ((low >> bit) & 1U)));
        }
    }
    return picture;
}

TileBytes PixelPicture::ToTile() const {
    TileBytes tile{};
    for (int y = 0; y < kTileSide; ++y) {
        unsigned low = 0;
        unsigned high = 0;
        for (int x = 0; x < kTileSide; ++x) {
            const unsigned value = Get(x, y) & kTilePixelMask;
            const int bit = kTileSide - 1 - x;
            low |= (value & 1U) << bit;
            high |= (value >> 1) << bit;
        }
        tile[static_cast<std::size_t>(y)] = static_cast<std::uint8_t>(low);
        tile[static_cast<std::size_t>(kTileSide + y)] = static_cast<std::uint8_t>(high);
    }
    return tile;
}

std::uint8_t PixelPicture::Get(int x, int y) const {
    return Contains(x, y) ? values_[Index(x, y)] : std::uint8_t{0};
}

void PixelPicture::Set(int x, int y, std::uint8_t value) {
    if (Contains(x, y)) {
        values_[Index(x, y)] = value;
    }
}

int PixelPicture::FloodFill(int x, int y, std::uint8_t value) {
    if (!Contains(x, y)) {
        return 0;
    }
    const std::uint8_t target = Get(x, y);
    if (target == value) {
        return 0;
    }
    // An explicit stack instead of recursion: the area filled is the same whatever the order.
    int changed = 0;
    std::vector<std::pair<int, int>> pending{{x, y}};
    while (!pending.empty()) {
        const auto [px, py] = pending.back();
        pending.pop_back();
        if (!Contains(px, py) || values_[Index(px, py)] != target) {
            continue;
        }
        values_[Index(px, py)] = value;
        ++changed;
        pending.push_back({px - 1, py});
        pending.push_back({px + 1, py});
        pending.push_back({px, py - 1});
        pending.push_back({px, py + 1});
    }
    return changed;
}

void PixelPicture::Fill(std::uint8_t value) {
    std::fill(values_.begin(), values_.end(), value);
}

void PixelPicture::ShiftLeft() {
    for (int y = 0; y < height_; ++y) {
        const auto row = values_.begin() + static_cast<std::ptrdiff_t>(Index(0, y));
        std::rotate(row, row + 1, row + width_);
    }
}

void PixelPicture::ShiftRight() {
    for (int y = 0; y < height_; ++y) {
        const auto row = values_.begin() + static_cast<std::ptrdiff_t>(Index(0, y));
        std::rotate(row, row + width_ - 1, row + width_);
    }
}

void PixelPicture::ShiftUp() {
    if (!values_.empty()) {
        std::rotate(values_.begin(), values_.begin() + width_, values_.end());
    }
}

void PixelPicture::ShiftDown() {
    if (!values_.empty()) {
        std::rotate(values_.begin(), values_.end() - width_, values_.end());
    }
}

void PixelPicture::MirrorHorizontal() {
    for (int y = 0; y < height_; ++y) {
        const auto row = values_.begin() + static_cast<std::ptrdiff_t>(Index(0, y));
        std::reverse(row, row + width_);
    }
}

void PixelPicture::MirrorVertical() {
    for (int y = 0; y < height_ / 2; ++y) {
        const auto top = values_.begin() + static_cast<std::ptrdiff_t>(Index(0, y));
        const auto bottom =
            values_.begin() + static_cast<std::ptrdiff_t>(Index(0, height_ - 1 - y));
        std::swap_ranges(top, top + width_, bottom);
    }
}

void PixelPicture::RotateClockwise() {
    if (width_ != height_) {
        return;
    }
    const PixelPicture old = *this;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            Set(width_ - 1 - y, x, old.Get(x, y));
        }
    }
}

void PixelPicture::RotateCounterClockwise() {
    if (width_ != height_) {
        return;
    }
    const PixelPicture old = *this;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            Set(y, height_ - 1 - x, old.Get(x, y));
        }
    }
}

} // namespace korvane
