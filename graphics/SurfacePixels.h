#pragma once

// Raw pixel access shared by the display surface layer's operations: reading and writing one
// pixel of 1 to 4 bytes, rectangle intersection and the nearest-neighbour stretching copy.

#include "DisplayTypes.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace korvane::pixels {

// Bytes a pixel takes in a surface of this depth: 2, 3 or 4 for the depths that are drawn,
// and 1 for the 8- and 4-bit screens, whose surfaces are carried but never drawn into.
inline int StoredBytesPerPixel(int bitsPerPixel) {
    switch (bitsPerPixel) {
    case 16:
        return 2;
    case 24:
        return 3;
    case 32:
        return 4;
    default:
        return 1;
    }
}

// Whether anything is drawn into surfaces of this depth.
inline bool IsDrawnDepth(int bitsPerPixel) {
    return bitsPerPixel == 16 || bitsPerPixel == 24 || bitsPerPixel == 32;
}

// A block of pixel rows: base address of the top-left pixel, row pitch and size.
struct View {
    std::uint8_t* bits = nullptr;
    int pitch = 0;
    int width = 0;
    int height = 0;
    int bytesPerPixel = 0;

    std::uint8_t* at(int x, int y) const {
        return bits + static_cast<std::ptrdiff_t>(y) * pitch +
               static_cast<std::ptrdiff_t>(x) * bytesPerPixel;
    }
};

// The raw value stored at p, bytes in little-endian order.
inline std::uint32_t Read(const std::uint8_t* p, int bytesPerPixel) {
    std::uint32_t value = 0;
    for (int i = bytesPerPixel - 1; i >= 0; --i) {
        value = (value << 8) | p[i];
    }
    return value;
}

inline void Write(std::uint8_t* p, int bytesPerPixel, std::uint32_t value) {
    for (int i = 0; i < bytesPerPixel; ++i) {
        p[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

inline DisplayRect Intersect(const DisplayRect& a, const DisplayRect& b) {
    DisplayRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                  std::min(a.bottom, b.bottom)};
    if (r.empty()) {
        return {};
    }
    return r;
}

inline bool Contains(const DisplayRect& outer, const DisplayRect& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Fills the rectangle (already inside the view) with one raw value.
inline void FillRect(const View& view, const DisplayRect& rect, std::uint32_t value) {
    if (rect.empty()) {
        return;
    }
    std::uint8_t* first = view.at(rect.left, rect.top);
    for (int x = 0; x < rect.width(); ++x) {
        Write(first + x * view.bytesPerPixel, view.bytesPerPixel, value);
    }
    const auto rowBytes = static_cast<std::size_t>(rect.width() * view.bytesPerPixel);
    for (int y = rect.top + 1; y < rect.bottom; ++y) {
        std::memcpy(view.at(rect.left, y), first, rowBytes);
    }
}

// Copies source rectangle src of from into destination rectangle dst of to, scaling with
// nearest-neighbour sampling; only the destination pixels inside clip (a part of dst that lies
// inside to) are written. Both views have the same bytes per pixel and do not overlap.
// Whether StretchCopy may read and write one buffer for this pair of rectangles: both start at
// the same corner and the destination is narrower and no taller, so each pixel is read (row by
// row, left to right) before the copy writes over it.
inline bool ShrinksInPlace(const DisplayRect& src, const DisplayRect& dst) {
    return src.left == dst.left && src.top == dst.top && dst.width() < src.width() &&
           dst.height() <= src.height();
}

inline void StretchCopy(const View& from, const DisplayRect& src, const View& to,
                        const DisplayRect& dst, const DisplayRect& clip) {
    if (clip.empty() || src.empty() || dst.empty()) {
        return;
    }
    const int bpp = to.bytesPerPixel;
    const std::int64_t srcW = src.width();
    const std::int64_t srcH = src.height();
    const std::int64_t dstW = dst.width();
    const std::int64_t dstH = dst.height();
    const bool sameWidth = srcW == dstW;
    std::vector<int> sourceColumn;
    if (!sameWidth) {
        sourceColumn.resize(static_cast<std::size_t>(clip.width()));
        for (int x = clip.left; x < clip.right; ++x) {
            sourceColumn[static_cast<std::size_t>(x - clip.left)] =
                src.left + static_cast<int>((x - dst.left) * srcW / dstW);
        }
    }
    for (int y = clip.top; y < clip.bottom; ++y) {
        const int sy = src.top + static_cast<int>((y - dst.top) * srcH / dstH);
        std::uint8_t* out = to.at(clip.left, y);
        if (sameWidth) {
            std::memcpy(out, from.at(src.left + (clip.left - dst.left), sy),
                        static_cast<std::size_t>(clip.width() * bpp));
            continue;
        }
        const std::uint8_t* row = from.at(0, sy);
        switch (bpp) {
        case 4:
            for (const int sx : sourceColumn) {
                std::memcpy(out, row + sx * 4, 4);
                out += 4;
            }
            break;
        case 2:
            for (const int sx : sourceColumn) {
                std::memcpy(out, row + sx * 2, 2);
                out += 2;
            }
            break;
        default:
            for (const int sx : sourceColumn) {
                std::memcpy(out, row + sx * bpp, static_cast<std::size_t>(bpp));
                out += bpp;
            }
            break;
        }
    }
}

// Copies count 32-bit pixels with bits 24-31 set: surface words keep them zero, the pixels of
// a window image are opaque.
inline void CopyOpaque32(std::uint8_t* out, const std::uint8_t* in, int count) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000U));
    for (; i + 8 <= count; i += 8) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 4 * i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 4 * i + 16));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * i), _mm_or_si128(a, opaque));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * i + 16), _mm_or_si128(b, opaque));
    }
#endif
    for (; i < count; ++i) {
        std::uint32_t word = 0;
        std::memcpy(&word, in + 4 * i, 4);
        word |= 0xFF000000U;
        std::memcpy(out + 4 * i, &word, 4);
    }
}

// The copy of StretchCopy when source and destination have the same size, for 32-bit pixels
// that become opaque on the way (see CopyOpaque32).
inline void CopyRectOpaque32(const View& from, const DisplayRect& src, const View& to,
                             const DisplayRect& dst, const DisplayRect& clip) {
    if (clip.empty()) {
        return;
    }
    const int sourceLeft = src.left + (clip.left - dst.left);
    for (int y = clip.top; y < clip.bottom; ++y) {
        CopyOpaque32(to.at(clip.left, y), from.at(sourceLeft, src.top + (y - dst.top)),
                     clip.width());
    }
}

// Fills count pixels from p on with one raw value: the first pixel is written, then the
// filled part is copied onto the rest, doubling each time.
inline void FillSpan(std::uint8_t* p, int count, int bytesPerPixel, std::uint32_t value) {
    if (count <= 0) {
        return;
    }
    Write(p, bytesPerPixel, value);
    const std::size_t total =
        static_cast<std::size_t>(count) * static_cast<std::size_t>(bytesPerPixel);
    std::size_t done = static_cast<std::size_t>(bytesPerPixel);
    while (done < total) {
        const std::size_t step = std::min(done, total - done);
        std::memcpy(p + done, p, step);
        done += step;
    }
}

// A copy of rectangle rect of a view in a buffer of its own (for copies within one surface).
struct OwnedCopy {
    std::vector<std::uint8_t> bytes;
    View view;
};

inline OwnedCopy CopyOut(const View& from, const DisplayRect& rect) {
    OwnedCopy copy;
    const int rowBytes = rect.width() * from.bytesPerPixel;
    copy.bytes.resize(static_cast<std::size_t>(rowBytes) * static_cast<std::size_t>(rect.height()));
    copy.view = {copy.bytes.data(), rowBytes, rect.width(), rect.height(), from.bytesPerPixel};
    for (int y = 0; y < rect.height(); ++y) {
        std::memcpy(copy.view.at(0, y), from.at(rect.left, rect.top + y),
                    static_cast<std::size_t>(rowBytes));
    }
    return copy;
}

} // namespace korvane::pixels
