#pragma once

#include <cstdint>

namespace korvane {

// Result of a display call: 0 is success, anything else an error code that
// DisplayErrorName() names.
using DisplayCode = std::int32_t;
inline constexpr DisplayCode kDisplayOk = 0;

// A rectangle with exclusive right and bottom edges.
struct DisplayRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    bool operator==(const DisplayRect&) const = default;
};

// The identifying numbers of the display calls, shown by the error report as "ID=%d".
namespace callid {
inline constexpr int kStartup = -1;
inline constexpr int kCreateFirstSurface = 0;
inline constexpr int kCreateClipper = 1;
inline constexpr int kAttachFirstClipper = 2;
inline constexpr int kFirstPixelFormat = 3;
inline constexpr int kDetachClipper = 4;
inline constexpr int kCreateFrameSurface = 5;
inline constexpr int kSetClipList = 6;
inline constexpr int kAttachFrameClipper = 7;
inline constexpr int kFramePixelFormat = 8;
inline constexpr int kClipperWindow = 9;
inline constexpr int kZoomInBlit = 10;
inline constexpr int kZoomOutBlit = 11;
inline constexpr int kGetDrawingContext = 12;
inline constexpr int kReleaseDrawingContext = 13;
inline constexpr int kPresent = 15;
inline constexpr int kClear = 18;
} // namespace callid

} // namespace korvane
