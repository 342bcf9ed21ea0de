#pragma once

// The 64 NES master colours and the conversions between a NES colour index, a GDI colour value
// (red in bits 0-7, green 8-15, blue 16-23) and a surface colour value (red in bits 16-23, green
// 8-15, blue 0-7), plus the 5-6-5 word of 16-bit surfaces.

#include <array>
#include <cstdint>

namespace korvane {

struct NesRgb {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

namespace detail {
constexpr NesRgb Rgb(std::uint32_t rrggbb) {
    return {static_cast<std::uint8_t>(rrggbb >> 16), static_cast<std::uint8_t>(rrggbb >> 8),
            static_cast<std::uint8_t>(rrggbb)};
}
} // namespace detail

// Indexed by the NES colour index 0x00-0x3F. The near-blacks differ: 0x0D is pure black,
// 0x0E/0x0F 050505, 0x1E/0x1F 090909, 0x2E/0x2F 0D0D0D, 0x3E/0x3F 111111.
inline constexpr std::array<NesRgb, 64> NesColourTable = {
    detail::Rgb(0x808080), detail::Rgb(0x003DA6), detail::Rgb(0x0012B0), detail::Rgb(0x440096),
    detail::Rgb(0xA1005E), detail::Rgb(0xC70028), detail::Rgb(0xBA0600), detail::Rgb(0x8C1700),
    detail::Rgb(0x5C2F00), detail::Rgb(0x104500), detail::Rgb(0x054A00), detail::Rgb(0x00472E),
    detail::Rgb(0x004166), detail::Rgb(0x000000), detail::Rgb(0x050505), detail::Rgb(0x050505),
    detail::Rgb(0xC7C7C7), detail::Rgb(0x0077FF), detail::Rgb(0x2155FF), detail::Rgb(0x8237FA),
    detail::Rgb(0xEB2FB5), detail::Rgb(0xFF2950), detail::Rgb(0xFF2200), detail::Rgb(0xD63200),
    detail::Rgb(0xC46200), detail::Rgb(0x358000), detail::Rgb(0x058F00), detail::Rgb(0x008A55),
    detail::Rgb(0x0099CC), detail::Rgb(0x212121), detail::Rgb(0x090909), detail::Rgb(0x090909),
    detail::Rgb(0xFFFFFF), detail::Rgb(0x0FD7FF), detail::Rgb(0x69A2FF), detail::Rgb(0xD480FF),
    detail::Rgb(0xFF45F3), detail::Rgb(0xFF618B), detail::Rgb(0xFF8833), detail::Rgb(0xFF9C12),
    detail::Rgb(0xFABC20), detail::Rgb(0x9FE30E), detail::Rgb(0x2BF035), detail::Rgb(0x0CF0A4),
    detail::Rgb(0x05FBFF), detail::Rgb(0x5E5E5E), detail::Rgb(0x0D0D0D), detail::Rgb(0x0D0D0D),
    detail::Rgb(0xFFFFFF), detail::Rgb(0xA6FCFF), detail::Rgb(0xB3ECFF), detail::Rgb(0xDAABEB),
    detail::Rgb(0xFFA8F9), detail::Rgb(0xFFABB3), detail::Rgb(0xFFD2B0), detail::Rgb(0xFFEFA6),
    detail::Rgb(0xFFF79C), detail::Rgb(0xD7E895), detail::Rgb(0xA6EDAF), detail::Rgb(0xA2F2DA),
    detail::Rgb(0x99FFFC), detail::Rgb(0xDDDDDD), detail::Rgb(0x111111), detail::Rgb(0x111111),
};

// Surface colour value of a NES colour; indices 0x40-0xFF wrap onto 0x00-0x3F.
constexpr std::uint32_t NesToSurfaceColour(std::uint8_t index) {
    const NesRgb& c = NesColourTable[index & 0x3FU];
    return (std::uint32_t{c.red} << 16) | (std::uint32_t{c.green} << 8) | c.blue;
}

// GDI colour value of a NES colour; indices 0x40-0xFF wrap onto 0x00-0x3F.
constexpr std::uint32_t NesToGdiColour(std::uint8_t index) {
    const NesRgb& c = NesColourTable[index & 0x3FU];
    return (std::uint32_t{c.blue} << 16) | (std::uint32_t{c.green} << 8) | c.red;
}

// The 5-6-5 word of a surface colour value: the top 5, 6 and 5 bits of red, green and blue.
constexpr std::uint16_t SurfaceColourTo565(std::uint32_t value) {
    return static_cast<std::uint16_t>(((value >> 8) & 0xF800U) | ((value >> 5) & 0x07E0U) |
                                      ((value >> 3) & 0x001FU));
}

// Red and blue change places between the two 32-bit packings, so one swap goes either way.
constexpr std::uint32_t SwapRedBlue(std::uint32_t value) {
    return ((value & 0xFFU) << 16) | (value & 0xFF00U) | ((value >> 16) & 0xFFU);
}
constexpr std::uint32_t GdiToSurfaceColour(std::uint32_t gdiColour) {
    return SwapRedBlue(gdiColour & 0xFFFFFFU);
}
constexpr std::uint32_t SurfaceToGdiColour(std::uint32_t surfaceColour) {
    return SwapRedBlue(surfaceColour & 0xFFFFFFU);
}

// A 5-6-5 word widened back to a surface colour value by repeating each component's top bits
// (0x8410 gives 0x848284), the nearest colour a 16-bit surface shows.
constexpr std::uint32_t Widen565(std::uint16_t word) {
    const std::uint32_t r5 = static_cast<std::uint32_t>(word >> 11);
    const std::uint32_t g6 = (static_cast<std::uint32_t>(word) >> 5) & 0x3FU;
    const std::uint32_t b5 = static_cast<std::uint32_t>(word) & 0x1FU;
    const std::uint32_t r = (r5 << 3) | (r5 >> 2);
    const std::uint32_t g = (g6 << 2) | (g6 >> 4);
    const std::uint32_t b = (b5 << 3) | (b5 >> 2);
    return (r << 16) | (g << 8) | b;
}

} // namespace korvane
