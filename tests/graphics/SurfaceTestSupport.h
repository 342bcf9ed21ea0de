#pragma once

#include "graphics/DisplayLayer.h"
#include "graphics/NesColours.h"

#include <gtest/gtest.h>

#include <cstring>

namespace korvane::testing {

inline int BytesFor(int bits) {
    return bits == 16 ? 2 : bits == 24 ? 3 : bits == 32 ? 4 : 1;
}

// The raw value of pixel (x, y) of a surface, bytes little-endian.
inline std::uint32_t RawPixel(const DisplaySurface& surface, int x, int y) {
    const int bpp = BytesFor(surface.bitsPerPixel());
    const std::uint8_t* p = surface.bits() + y * surface.pitch() + x * bpp;
    std::uint32_t value = 0;
    for (int i = bpp - 1; i >= 0; --i) {
        value = (value << 8) | p[i];
    }
    return value;
}

// Writes a raw value through a lock, as the cell rasteriser does.
inline void PutRaw(const SurfaceLock& lock, int x, int y, std::uint32_t value) {
    const int bpp = BytesFor(lock.bitsPerPixel);
    std::uint8_t* p = lock.bits + y * lock.pitch + x * bpp;
    for (int i = 0; i < bpp; ++i) {
        p[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// The raw value of a surface colour value at a depth.
inline std::uint32_t RawFor(std::uint32_t surfaceColour, int bits) {
    return bits == 16 ? SurfaceColourTo565(surfaceColour) : surfaceColour;
}

// A distinct value per source pixel, so that a copy shows which pixel it came from.
inline std::uint32_t Marker(int x, int y) {
    return static_cast<std::uint32_t>((x * 37 + y * 101 + 1) & 0x7FFF);
}

inline void PaintMarkers(DisplaySurface& surface) {
    SurfaceLock lock;
    ASSERT_EQ(surface.Lock(lock), kDisplayOk);
    for (int y = 0; y < lock.height; ++y) {
        for (int x = 0; x < lock.width; ++x) {
            PutRaw(lock, x, y, Marker(x, y));
        }
    }
    surface.Unlock();
}

} // namespace korvane::testing
