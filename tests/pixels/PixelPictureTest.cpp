// The picture behind the pixel editor: the tile form, the whole-picture commands and the fill.
// Expected bytes are worked out by hand from the tile format.
#include "editors/PixelPicture.h"

#include <gtest/gtest.h>

#include <random>

namespace korvane {
namespace {

// Pixel (0, 0) = 1, (1, 0) = 2, (0, 1) = 3, every other pixel 0: no mirror or turn of it is
// the same picture.
constexpr TileBytes kCorner{0x80, 0x80, 0, 0, 0, 0, 0, 0, 0x40, 0x80, 0, 0, 0, 0, 0, 0};

PixelPicture Corner() {
    return PixelPicture::FromTile(kCorner);
}

TEST(PixelPicture, TileFormReadsPlaneZeroAsTheLowBit) {
    const PixelPicture picture = Corner();
    ASSERT_EQ(picture.width(), 8);
    ASSERT_EQ(picture.height(), 8);
    EXPECT_EQ(picture.Get(0, 0), 1);
    EXPECT_EQ(picture.Get(1, 0), 2);
    EXPECT_EQ(picture.Get(0, 1), 3);
    int lit = 0;
    for (const std::uint8_t value : picture.values()) {
        lit += value != 0 ? 1 : 0;
    }
    EXPECT_EQ(lit, 3);
    EXPECT_EQ(picture.ToTile(), kCorner);
    // Outside the picture: reads 0, writes are dropped.
    EXPECT_EQ(picture.Get(8, 0), 0);
    EXPECT_EQ(picture.Get(-1, 3), 0);
    PixelPicture copy = picture;
    copy.Set(8, 8, 3);
    copy.Set(-1, 0, 3);
    EXPECT_EQ(copy, picture);
    // Values keep only their low 2 bits in the tile form: 7 is 3.
    copy.Set(7, 7, 7);
    EXPECT_EQ(copy.ToTile()[7], 0x01);
    EXPECT_EQ(copy.ToTile()[15], 0x01);
}

TEST(PixelPicture, EachCommandGivesTheBytesWorkedOutByHand) {
    struct Case {
        const char* name;
        void (PixelPicture::*command)();
        TileBytes expected;
    };
    const Case cases[] = {
        // Columns move left, column 0 comes in on the right: every byte rotates left by a bit.
        {"shift left", &PixelPicture::ShiftLeft, {0x01, 0x01, 0, 0, 0, 0, 0, 0, 0x80, 0x01}},
        {"shift right", &PixelPicture::ShiftRight, {0x40, 0x40, 0, 0, 0, 0, 0, 0, 0x20, 0x40}},
        // Rows move up, row 0 becomes row 7.
        {"shift up",
         &PixelPicture::ShiftUp,
         {0x80, 0, 0, 0, 0, 0, 0, 0x80, 0x80, 0, 0, 0, 0, 0, 0, 0x40}},
        {"shift down", &PixelPicture::ShiftDown, {0, 0x80, 0x80, 0, 0, 0, 0, 0, 0, 0x40, 0x80}},
        // (7, 0) = 1, (6, 0) = 2, (7, 1) = 3.
        {"mirror horizontal",
         &PixelPicture::MirrorHorizontal,
         {0x01, 0x01, 0, 0, 0, 0, 0, 0, 0x02, 0x01}},
        // (0, 7) = 1, (1, 7) = 2, (0, 6) = 3.
        {"mirror vertical",
         &PixelPicture::MirrorVertical,
         {0, 0, 0, 0, 0, 0, 0x80, 0x80, 0, 0, 0, 0, 0, 0, 0x80, 0x40}},
        // (x, y) goes to (7 - y, x): (7, 0) = 1, (7, 1) = 2, (6, 0) = 3.
        {"rotate clockwise",
         &PixelPicture::RotateClockwise,
         {0x03, 0, 0, 0, 0, 0, 0, 0, 0x02, 0x01}},
        // (x, y) goes to (y, 7 - x): (0, 7) = 1, (0, 6) = 2, (1, 7) = 3.
        {"rotate counter-clockwise",
         &PixelPicture::RotateCounterClockwise,
         {0, 0, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x80, 0x40}},
    };
    for (const Case& c : cases) {
        PixelPicture picture = Corner();
        (picture.*c.command)();
        EXPECT_EQ(picture.ToTile(), c.expected) << c.name;
    }
}

TEST(PixelPicture, RepeatedCommandsGiveTheTileBack) {
    std::mt19937 rng(11);
    TileBytes tile{};
    for (std::uint8_t& byte : tile) {
        byte = static_cast<std::uint8_t>(rng());
    }
    const PixelPicture original = PixelPicture::FromTile(tile);
    const auto repeat = [&](void (PixelPicture::*command)(), int times) {
        PixelPicture picture = original;
        for (int i = 0; i < times; ++i) {
            (picture.*command)();
        }
        return picture;
    };
    EXPECT_EQ(repeat(&PixelPicture::ShiftLeft, 8), original);
    EXPECT_EQ(repeat(&PixelPicture::ShiftRight, 8), original);
    EXPECT_EQ(repeat(&PixelPicture::ShiftUp, 8), original);
    EXPECT_EQ(repeat(&PixelPicture::ShiftDown, 8), original);
    EXPECT_EQ(repeat(&PixelPicture::RotateClockwise, 4), original);
    EXPECT_EQ(repeat(&PixelPicture::RotateCounterClockwise, 4), original);
    EXPECT_EQ(repeat(&PixelPicture::MirrorHorizontal, 2), original);
    EXPECT_EQ(repeat(&PixelPicture::MirrorVertical, 2), original);
    // Fewer repeats do change it (the tile is random enough), so the checks above are real.
    EXPECT_NE(repeat(&PixelPicture::ShiftLeft, 7), original);
    EXPECT_NE(repeat(&PixelPicture::RotateClockwise, 3), original);

    PixelPicture there = original;
    there.ShiftLeft();
    there.ShiftRight();
    EXPECT_EQ(there, original);
    there.RotateClockwise();
    there.RotateCounterClockwise();
    EXPECT_EQ(there, original);
    EXPECT_EQ(there.ToTile(), tile);
}

TEST(PixelPicture, FloodFillDoesNotLeakThroughADiagonal) {
    // A wall of 1s on the diagonal x + y = 7; the rest is 0.
    PixelPicture picture(8, 8);
    for (int y = 0; y < 8; ++y) {
        picture.Set(7 - y, y, 1);
    }
    EXPECT_EQ(picture.FloodFill(0, 0, 2), 28); // the 28 pixels with x + y < 7
    // Row y: bit y of plane 0 is the wall; plane 1 holds the 2s left of it.
    const TileBytes expected{0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80,
                             0xFE, 0xFC, 0xF8, 0xF0, 0xE0, 0xC0, 0x80, 0x00};
    EXPECT_EQ(picture.ToTile(), expected);

    // Filling with the value already there changes nothing; so does a start outside.
    EXPECT_EQ(picture.FloodFill(0, 0, 2), 0);
    EXPECT_EQ(picture.FloodFill(8, 0, 3), 0);
    EXPECT_EQ(picture.ToTile(), expected);

    // Two 0s that touch only at a corner are not one area.
    PixelPicture corners(2, 2);
    corners.Set(1, 0, 1);
    corners.Set(0, 1, 1);
    EXPECT_EQ(corners.FloodFill(0, 0, 3), 1);
    EXPECT_EQ(corners.Get(1, 1), 0);
}

TEST(PixelPicture, FloodFillOfALargeAreaNeedsNoDeepRecursion) {
    // A recursive fill would nest 65,536 calls here.
    PixelPicture picture(256, 256);
    EXPECT_EQ(picture.FloodFill(128, 128, 5), 256 * 256);
    EXPECT_EQ(picture.Get(0, 0), 5);
    EXPECT_EQ(picture.Get(255, 255), 5);
}

TEST(PixelPicture, StripCommandsWrapAndLeaveRotationsAlone) {
    PixelPicture strip(4, 1);
    for (int x = 0; x < 4; ++x) {
        strip.Set(x, 0, static_cast<std::uint8_t>(0x10 + x));
    }
    const PixelPicture original = strip;
    strip.ShiftLeft();
    EXPECT_EQ(strip.values(), (std::vector<std::uint8_t>{0x11, 0x12, 0x13, 0x10}));
    strip.ShiftRight();
    strip.ShiftRight();
    EXPECT_EQ(strip.values(), (std::vector<std::uint8_t>{0x13, 0x10, 0x11, 0x12}));
    strip = original;
    strip.MirrorHorizontal();
    EXPECT_EQ(strip.values(), (std::vector<std::uint8_t>{0x13, 0x12, 0x11, 0x10}));
    strip = original;
    strip.ShiftUp();
    strip.ShiftDown();
    strip.MirrorVertical();
    strip.RotateClockwise();
    strip.RotateCounterClockwise();
    EXPECT_EQ(strip, original);
    strip.Fill(0x2A);
    EXPECT_EQ(strip.values(), (std::vector<std::uint8_t>(4, 0x2A)));
}

} // namespace
} // namespace korvane
