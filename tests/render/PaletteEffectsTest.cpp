// The palette effect codes, tick by tick, and the animation tick of a hallway canvas.

#include "graphics/PaletteEffects.h"
#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace korvane {
namespace {

using namespace rendertest;

PaletteSet PageWith(std::array<std::uint8_t, 4> codes) {
    PaletteSet page;
    for (int i = 0; i < 16; ++i) {
        page.bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(0x40 + i);
    }
    std::copy(codes.begin(), codes.end(), page.bytes.begin() + 16);
    return page;
}

struct Expected {
    int palette;
    int colour;
    std::vector<std::uint8_t> byTick; // value after tick t, for t = 1, 2, ...
};

struct EffectCase {
    std::uint8_t code;
    std::vector<Expected> changes;
};

// The fixed-value effects over five ticks, written out from the effect table.
const std::vector<EffectCase> kFixedEffects = {
    {0x80, {{3, 2, {0x21, 0x31, 0x21, 0x31, 0x21}}}},
    {0x82,
     {{0, 1, {0x00, 0x10, 0x00, 0x10, 0x00}},
      {0, 2, {0x10, 0x00, 0x10, 0x00, 0x10}},
      {0, 3, {0x07, 0x27, 0x36, 0x27, 0x07}}}},
    {0x83,
     {{1, 1, {0x36, 0x20, 0x20, 0x20, 0x36}},
      {1, 2, {0x27, 0x36, 0x20, 0x36, 0x27}},
      {1, 3, {0x07, 0x27, 0x36, 0x27, 0x07}}}},
    {0x84, {{0, 2, {0x15, 0x17, 0x11, 0x15, 0x17}}}},
    {0x85, {{1, 2, {0x17, 0x11, 0x15, 0x17, 0x11}}, {1, 3, {0x11, 0x15, 0x17, 0x11, 0x15}}}},
    {0x87, {{1, 3, {0x0F, 0x26, 0x0F, 0x26, 0x0F}}}},
    {0x88, {{2, 3, {0x26, 0x0F, 0x26, 0x0F, 0x26}}}},
    {0x8B, {{3, 2, {0x31, 0x36, 0x39, 0x30, 0x31}}}},
    {0x8D,
     {{1, 1, {0x04, 0x03, 0x03, 0x14, 0x04}},
      {1, 2, {0x14, 0x04, 0x03, 0x03, 0x14}},
      {1, 3, {0x03, 0x14, 0x04, 0x03, 0x03}}}},
};

TEST(PaletteEffects, FixedValueCodesFollowTheTick) {
    for (const EffectCase& effect : kFixedEffects) {
        PaletteSet page = PageWith({0x00, effect.code, 0x00, 0x00});
        const PaletteSet start = page;
        for (std::uint32_t t = 1; t <= 5; ++t) {
            ApplyPaletteEffects(page, t);
            PaletteSet expected = start;
            for (const Expected& change : effect.changes) {
                expected.colour(change.palette, change.colour) = change.byTick[t - 1];
            }
            ASSERT_EQ(page.bytes, expected.bytes)
                << "code " << std::hex << int{effect.code} << " tick " << t;
        }
    }
}

TEST(PaletteEffects, RotationsAndSwapBuildOnThePreviousTick) {
    PaletteSet right = PageWith({0x86, 0, 0, 0});
    const PaletteSet start = right;
    ApplyPaletteEffects(right, 1);
    EXPECT_EQ(right.colour(2, 1), start.colour(2, 3));
    EXPECT_EQ(right.colour(2, 2), start.colour(2, 1));
    EXPECT_EQ(right.colour(2, 3), start.colour(2, 2));
    EXPECT_EQ(right.colour(2, 0), start.colour(2, 0));
    ApplyPaletteEffects(right, 2);
    EXPECT_NE(right.bytes, start.bytes);
    ApplyPaletteEffects(right, 3);
    EXPECT_EQ(right.bytes, start.bytes); // three turns: back where it began

    PaletteSet left = PageWith({0, 0, 0x8A, 0});
    ApplyPaletteEffects(left, 1);
    EXPECT_EQ(left.colour(1, 1), start.colour(1, 2));
    EXPECT_EQ(left.colour(1, 2), start.colour(1, 3));
    EXPECT_EQ(left.colour(1, 3), start.colour(1, 1));

    PaletteSet swap = PageWith({0, 0, 0, 0x89});
    ApplyPaletteEffects(swap, 1);
    EXPECT_EQ(swap.colour(3, 2), start.colour(3, 3));
    EXPECT_EQ(swap.colour(3, 3), start.colour(3, 2));
    ApplyPaletteEffects(swap, 2);
    EXPECT_EQ(swap.bytes, PageWith({0, 0, 0, 0x89}).bytes);

    // Listed twice, a rotation still turns once per tick.
    PaletteSet twice = PageWith({0x86, 0x86, 0x00, 0x00});
    ApplyPaletteEffects(twice, 1);
    EXPECT_EQ(twice.colour(2, 1), start.colour(2, 3));
    EXPECT_EQ(twice.colour(2, 2), start.colour(2, 1));
}

TEST(PaletteEffects, UnknownCodesChangeNothingAndCodesCombine) {
    for (const int value : {0x00, 0x81, 0x8C, 0x8E, 0x7F, 0xFF}) {
        const auto code = static_cast<std::uint8_t>(value);
        PaletteSet page = PageWith({code, code, code, code});
        const PaletteSet start = page;
        ApplyPaletteEffects(page, 1);
        ApplyPaletteEffects(page, 2);
        EXPECT_EQ(page.bytes, start.bytes) << int{code};
    }
    // 0x84 then 0x85 on every tick, palette 0 colour 2 and palette 1 colours 2 and 3.
    PaletteSet both = PageWith({0x85, 0x84, 0, 0});
    ApplyPaletteEffects(both, 1);
    EXPECT_EQ(both.colour(0, 2), 0x15);
    EXPECT_EQ(both.colour(1, 2), 0x17);
    EXPECT_EQ(both.colour(1, 3), 0x11);
    // 0x86 acts before 0x88: the rotated colour 3 is then overwritten.
    PaletteSet ordered = PageWith({0x88, 0x86, 0, 0});
    ApplyPaletteEffects(ordered, 1);
    EXPECT_EQ(ordered.colour(2, 3), 0x26);
    EXPECT_EQ(ordered.colour(2, 1), 0x4B);
}

TEST(PaletteEffects, AnimationTickChangesOnlyTheCanvasCopyAndRedraws) {
    auto level = MakeTestLevel();
    level->paletteSets[1].bytes[16] = 0x80;
    const LevelRecord original = *level;
    CRenderer renderer;
    renderer.SetHallway(0, level.get(), level->tiles.data());
    renderer.DrawHallway();
    int invalidated = 0;
    renderer.SetInvalidateCallback([&] { ++invalidated; });
    renderer.AnimationTick();
    EXPECT_EQ(renderer.hallway().tick, 1U);
    EXPECT_EQ(renderer.levelData().paletteSets[1].colour(3, 2), 0x21);
    EXPECT_EQ(renderer.SurfaceColour(0, 3, 2), NesToSurfaceColour(0x21));
    renderer.AnimationTick();
    EXPECT_EQ(renderer.SurfaceColour(0, 3, 2), NesToSurfaceColour(0x31));
    EXPECT_EQ(invalidated, 2);
    EXPECT_EQ(*level, original); // the owner's data is never touched

    // The tick counter keeps counting when the hallway is set again.
    renderer.SetHallway(0, level.get(), nullptr);
    renderer.AnimationTick();
    EXPECT_EQ(renderer.hallway().tick, 3U);
    EXPECT_EQ(renderer.SurfaceColour(0, 3, 2), NesToSurfaceColour(0x21));
}

} // namespace
} // namespace korvane
