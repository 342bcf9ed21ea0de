#include "graphics/NesColours.h"

#include <gtest/gtest.h>

#include <set>

using namespace korvane;

namespace {

std::uint32_t Rrggbb(std::uint8_t index) {
    const NesRgb& c = NesColourTable[index];
    return (std::uint32_t{c.red} << 16) | (std::uint32_t{c.green} << 8) | c.blue;
}

} // namespace

TEST(NesColourTable, NearBlacksAreDistinctShades) {
    EXPECT_EQ(Rrggbb(0x0D), 0x000000U);
    EXPECT_EQ(Rrggbb(0x0E), 0x050505U);
    EXPECT_EQ(Rrggbb(0x0F), 0x050505U);
    EXPECT_EQ(Rrggbb(0x1E), 0x090909U);
    EXPECT_EQ(Rrggbb(0x1F), 0x090909U);
    EXPECT_EQ(Rrggbb(0x2E), 0x0D0D0DU);
    EXPECT_EQ(Rrggbb(0x2F), 0x0D0D0DU);
    EXPECT_EQ(Rrggbb(0x3E), 0x111111U);
    EXPECT_EQ(Rrggbb(0x3F), 0x111111U);
}

TEST(NesColourTable, RowsStartAndEndWhereTabled) {
    EXPECT_EQ(Rrggbb(0x00), 0x808080U);
    EXPECT_EQ(Rrggbb(0x01), 0x003DA6U);
    EXPECT_EQ(Rrggbb(0x0C), 0x004166U);
    EXPECT_EQ(Rrggbb(0x10), 0xC7C7C7U);
    EXPECT_EQ(Rrggbb(0x16), 0xFF2200U);
    EXPECT_EQ(Rrggbb(0x1D), 0x212121U);
    EXPECT_EQ(Rrggbb(0x21), 0x0FD7FFU);
    EXPECT_EQ(Rrggbb(0x2C), 0x05FBFFU);
    EXPECT_EQ(Rrggbb(0x31), 0xA6FCFFU);
    EXPECT_EQ(Rrggbb(0x3D), 0xDDDDDDU);
}

TEST(NesColourTable, OnlyTheKnownPairsRepeat) {
    // 0x20/0x30 white and the four near-black pairs are the only duplicates.
    std::set<std::uint32_t> distinct;
    for (int i = 0; i < 64; ++i) {
        distinct.insert(Rrggbb(static_cast<std::uint8_t>(i)));
    }
    EXPECT_EQ(distinct.size(), 59U);
    EXPECT_EQ(Rrggbb(0x20), 0xFFFFFFU);
    EXPECT_EQ(Rrggbb(0x30), 0xFFFFFFU);
}

TEST(NesColourConversions, IndicesWrapToSixBits) {
    EXPECT_EQ(NesToGdiColour(0x41), 0xA63D00U);
    EXPECT_EQ(NesToGdiColour(0x41), NesToGdiColour(0x01));
    EXPECT_EQ(NesToSurfaceColour(0x01), 0x003DA6U);
    EXPECT_EQ(NesToSurfaceColour(0xFF), 0x111111U);
    EXPECT_EQ(NesToSurfaceColour(0xC6), 0xBA0600U);
    EXPECT_EQ(NesToGdiColour(0x86), 0x0006BAU);
}

TEST(NesColourConversions, GdiAndSurfaceFormsAreMirrorImages) {
    for (int i = 0; i < 256; ++i) {
        const auto index = static_cast<std::uint8_t>(i);
        const std::uint32_t surface = NesToSurfaceColour(index);
        const std::uint32_t gdi = NesToGdiColour(index);
        ASSERT_EQ(gdi & 0xFF00U, surface & 0xFF00U) << i;
        ASSERT_EQ(gdi & 0xFFU, surface >> 16) << i;
        ASSERT_EQ(gdi >> 16, surface & 0xFFU) << i;
        ASSERT_EQ(GdiToSurfaceColour(gdi), surface) << i;
        ASSERT_EQ(SurfaceToGdiColour(surface), gdi) << i;
    }
}

TEST(NesColourConversions, FiveSixFiveWords) {
    EXPECT_EQ(SurfaceColourTo565(0xFFFFFF), 0xFFFFU);
    EXPECT_EQ(SurfaceColourTo565(0x808080), 0x8410U);
    EXPECT_EQ(SurfaceColourTo565(0x000000), 0x0000U);
    EXPECT_EQ(SurfaceColourTo565(0xFF0000), 0xF800U);
    EXPECT_EQ(SurfaceColourTo565(0x00FF00), 0x07E0U);
    EXPECT_EQ(SurfaceColourTo565(0x0000FF), 0x001FU);
    // The near-blacks 0x0E and 0x1E fall to the same word as pure black only where the top
    // bits say so: 050505 keeps green bit 0, 090909 keeps all three.
    EXPECT_EQ(SurfaceColourTo565(NesToSurfaceColour(0x0E)), 0x0020U);
    EXPECT_EQ(SurfaceColourTo565(NesToSurfaceColour(0x1E)), 0x0841U);
    EXPECT_EQ(Widen565(0x8410), 0x848284U);
    EXPECT_EQ(Widen565(0xFFFF), 0xFFFFFFU);
}
