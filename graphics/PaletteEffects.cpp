#include "PaletteEffects.h"

#include <algorithm>
#include <array>
#include <utility>

namespace korvane {

namespace {

bool HasCode(const PaletteSet& page, std::uint8_t code) {
    const auto codes = page.effectCodes();
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

// Sets colours first.. of one palette to the entry of values chosen by the tick.
template <std::size_t Phases, std::size_t Count>
void SetByPhase(PaletteSet& page, int palette, int firstColour, std::uint32_t tick,
                const std::array<std::array<std::uint8_t, Count>, Phases>& values) {
    const auto& chosen = values[tick % Phases];
    for (std::size_t k = 0; k < Count; ++k) {
        page.colour(palette, firstColour + static_cast<int>(k)) = chosen[k];
    }
}

} // namespace

void ApplyPaletteEffects(PaletteSet& page, std::uint32_t tick) {
    const bool even = tick % 2 == 0;
    if (HasCode(page, 0x80)) {
        page.colour(3, 2) = even ? 0x31 : 0x21;
    }
    if (HasCode(page, 0x82)) {
        page.colour(0, 1) = even ? 0x10 : 0x00;
        page.colour(0, 2) = even ? 0x00 : 0x10;
        SetByPhase<4, 1>(page, 0, 3, tick, {{{0x27}, {0x07}, {0x27}, {0x36}}});
    }
    if (HasCode(page, 0x83)) {
        SetByPhase<4, 3>(
            page, 1, 1, tick,
            {{{0x20, 0x36, 0x27}, {0x36, 0x27, 0x07}, {0x20, 0x36, 0x27}, {0x20, 0x20, 0x36}}});
    }
    if (HasCode(page, 0x84)) {
        SetByPhase<3, 1>(page, 0, 2, tick, {{{0x11}, {0x15}, {0x17}}});
    }
    if (HasCode(page, 0x85)) {
        SetByPhase<3, 2>(page, 1, 2, tick, {{{0x15, 0x17}, {0x17, 0x11}, {0x11, 0x15}}});
    }
    if (HasCode(page, 0x86)) {
        // One place right: colour 1 goes to 2, 2 to 3, 3 to 1.
        const std::uint8_t third = page.colour(2, 3);
        page.colour(2, 3) = page.colour(2, 2);
        page.colour(2, 2) = page.colour(2, 1);
        page.colour(2, 1) = third;
    }
    if (HasCode(page, 0x87)) {
        page.colour(1, 3) = even ? 0x26 : 0x0F;
    }
    if (HasCode(page, 0x88)) {
        page.colour(2, 3) = even ? 0x0F : 0x26;
    }
    if (HasCode(page, 0x89)) {
        std::swap(page.colour(3, 2), page.colour(3, 3));
    }
    if (HasCode(page, 0x8A)) {
        // One place left: colour 2 goes to 1, 3 to 2, 1 to 3.
        const std::uint8_t first = page.colour(1, 1);
        page.colour(1, 1) = page.colour(1, 2);
        page.colour(1, 2) = page.colour(1, 3);
        page.colour(1, 3) = first;
    }
    if (HasCode(page, 0x8B)) {
        SetByPhase<4, 1>(page, 3, 2, tick, {{{0x30}, {0x31}, {0x36}, {0x39}}});
    }
    if (HasCode(page, 0x8D)) {
        SetByPhase<4, 3>(
            page, 1, 1, tick,
            {{{0x14, 0x03, 0x03}, {0x04, 0x14, 0x03}, {0x03, 0x04, 0x14}, {0x03, 0x03, 0x04}}});
    }
}

} // namespace korvane
