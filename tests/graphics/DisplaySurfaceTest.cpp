#include "SurfaceTestSupport.h"

#include <gtest/gtest.h>

using namespace korvane;
using namespace korvane::testing;

namespace {

class SurfaceAtDepth : public ::testing::TestWithParam<int> {};

} // namespace

INSTANTIATE_TEST_SUITE_P(SurfaceDepths, SurfaceAtDepth, ::testing::Values(16, 24, 32));

TEST_P(SurfaceAtDepth, CreateLockAndPitch) {
    DisplayContext context(GetParam());
    DisplaySurface surface;
    ASSERT_EQ(surface.Create(context, 13, 5, callid::kCreateFrameSurface), kDisplayOk);
    int bits = 0;
    ASSERT_EQ(surface.GetPixelFormat(bits, callid::kFramePixelFormat), kDisplayOk);
    EXPECT_EQ(bits, GetParam());
    SurfaceLock lock;
    ASSERT_EQ(surface.Lock(lock), kDisplayOk);
    EXPECT_EQ(lock.bitsPerPixel, GetParam());
    EXPECT_EQ(lock.width, 13);
    EXPECT_EQ(lock.height, 5);
    EXPECT_GE(lock.pitch, 13 * BytesFor(GetParam()));
    EXPECT_EQ(lock.pitch % 4, 0);
    EXPECT_EQ(lock.bits, surface.bits());
    // A locked surface answers busy to a second lock and to fills.
    SurfaceLock second;
    EXPECT_EQ(surface.Lock(second), dderr::kSurfaceBusy);
    EXPECT_EQ(surface.Fill({0, 0, 1, 1}, 0, callid::kClear), dderr::kSurfaceBusy);
    surface.Unlock();
    EXPECT_EQ(surface.Fill({0, 0, 1, 1}, 0, callid::kClear), kDisplayOk);
}

TEST_P(SurfaceAtDepth, FillWritesTheRawValueInsideTheRectangleOnly) {
    const int bits = GetParam();
    DisplayContext context(bits);
    DisplaySurface surface;
    ASSERT_EQ(surface.Create(context, 10, 6, 0), kDisplayOk);
    const std::uint32_t value = GdiColourToSurfaceValue(0x336699, bits); // red 0x99
    EXPECT_EQ(value, RawFor(0x996633, bits));
    ASSERT_EQ(surface.Fill({2, 1, 7, 4}, value, callid::kClear), kDisplayOk);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 10; ++x) {
            const bool inside = x >= 2 && x < 7 && y >= 1 && y < 4;
            ASSERT_EQ(RawPixel(surface, x, y), inside ? value : 0U) << x << "," << y;
        }
    }
    // The presented colour is the one asked for, within the 5-6-5 rounding.
    const QRgb shown = surface.ToImage().pixel(3, 2);
    EXPECT_NEAR(qRed(shown), 0x99, bits == 16 ? 7 : 0);
    EXPECT_NEAR(qGreen(shown), 0x66, bits == 16 ? 3 : 0);
    EXPECT_NEAR(qBlue(shown), 0x33, bits == 16 ? 7 : 0);
}

TEST_P(SurfaceAtDepth, EveryNesColourWrittenThroughALockReadsBack) {
    const int bits = GetParam();
    DisplayContext context(bits);
    DisplaySurface surface;
    ASSERT_EQ(surface.Create(context, 64, 2, 0), kDisplayOk);
    SurfaceLock lock;
    ASSERT_EQ(surface.Lock(lock), kDisplayOk);
    for (int i = 0; i < 64; ++i) {
        PutRaw(lock, i, 1, RawFor(NesToSurfaceColour(static_cast<std::uint8_t>(i)), bits));
    }
    surface.Unlock();
    const QImage shown = surface.ToImage();
    for (int i = 0; i < 64; ++i) {
        const std::uint32_t colour = NesToSurfaceColour(static_cast<std::uint8_t>(i));
        const std::uint32_t expected = bits == 16 ? Widen565(SurfaceColourTo565(colour)) : colour;
        ASSERT_EQ(shown.pixel(i, 1) & 0xFFFFFFU, expected) << i;
        ASSERT_EQ(shown.pixel(i, 0) & 0xFFFFFFU, 0U);
    }
}

TEST_P(SurfaceAtDepth, ZoomInTwoGivesTwoByTwoBlocks) {
    DisplayContext context(GetParam());
    DisplaySurface surface;
    ASSERT_EQ(surface.Create(context, 16, 12, 0), kDisplayOk);
    PaintMarkers(surface);
    // Source (0, 0, W/2, H/2) onto (0, 0, W, H) within the same surface.
    ASSERT_EQ(surface.Blt({0, 0, 16, 12}, surface, {0, 0, 8, 6}, callid::kZoomInBlit), kDisplayOk);
    const std::uint32_t mask = GetParam() == 16 ? 0xFFFFU : 0xFFFFFFU;
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 16; ++x) {
            ASSERT_EQ(RawPixel(surface, x, y), Marker(x / 2, y / 2) & mask) << x << "," << y;
        }
    }
}

TEST_P(SurfaceAtDepth, ZoomOutFourKeepsTheTopLeftSampleOfEachBlock) {
    DisplayContext context(GetParam());
    DisplaySurface surface;
    ASSERT_EQ(surface.Create(context, 32, 16, 0), kDisplayOk);
    PaintMarkers(surface);
    // Source (0, 0, W*4, H*4) onto (0, 0, W, H), W = 8, H = 4.
    ASSERT_EQ(surface.Blt({0, 0, 8, 4}, surface, {0, 0, 32, 16}, callid::kZoomOutBlit), kDisplayOk);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 8; ++x) {
            ASSERT_EQ(RawPixel(surface, x, y), Marker(4 * x, 4 * y)) << x << "," << y;
        }
    }
    // Outside the destination the surface is as it was.
    EXPECT_EQ(RawPixel(surface, 8, 0), Marker(8, 0));
    EXPECT_EQ(RawPixel(surface, 0, 4), Marker(0, 4));
}

TEST_P(SurfaceAtDepth, AShrinkOntoItsOwnCornerSamplesTheOriginalPixels) {
    DisplayContext context(GetParam());
    DisplaySurface surface;
    ASSERT_EQ(surface.Create(context, 13, 7, 0), kDisplayOk);
    PaintMarkers(surface);
    // 13 x 7 onto 5 x 3: source column x * 13 / 5 and row y * 7 / 3 (nearest, truncating).
    ASSERT_EQ(surface.Blt({0, 0, 5, 3}, surface, {0, 0, 13, 7}, callid::kZoomOutBlit), kDisplayOk);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            ASSERT_EQ(RawPixel(surface, x, y), Marker(x * 13 / 5, y * 7 / 3)) << x << "," << y;
        }
    }
    EXPECT_EQ(RawPixel(surface, 5, 0), Marker(5, 0));
    EXPECT_EQ(RawPixel(surface, 0, 3), Marker(0, 3));
}

TEST_P(SurfaceAtDepth, OverlappingCopyReadsTheOriginalPixels) {
    DisplayContext context(GetParam());
    DisplaySurface surface;
    ASSERT_EQ(surface.Create(context, 12, 3, 0), kDisplayOk);
    PaintMarkers(surface);
    ASSERT_EQ(surface.Blt({2, 0, 12, 3}, surface, {0, 0, 10, 3}, 10), kDisplayOk);
    for (int x = 2; x < 12; ++x) {
        ASSERT_EQ(RawPixel(surface, x, 1), Marker(x - 2, 1)) << x;
    }
}

TEST(DisplaySurfaceClipping, ClipListLimitsFillsAndBlits) {
    DisplayContext context(32);
    DisplaySurface surface;
    DisplayClipper clipper;
    ASSERT_EQ(surface.Create(context, 8, 8, 0), kDisplayOk);
    ASSERT_EQ(context.CreateClipper(clipper, callid::kCreateClipper), kDisplayOk);
    ASSERT_EQ(clipper.SetClipList({0, 0, 4, 3}, callid::kSetClipList), kDisplayOk);
    ASSERT_EQ(surface.SetClipper(&clipper, callid::kAttachFrameClipper), kDisplayOk);
    // A fill past the surface's edge is clipped, not refused.
    ASSERT_EQ(surface.Fill({-5, -5, 50, 50}, 0xABCDEF, callid::kClear), kDisplayOk);
    int filled = 0;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool inside = x < 4 && y < 3;
            ASSERT_EQ(RawPixel(surface, x, y), inside ? 0xABCDEFU : 0U) << x << "," << y;
            filled += inside ? 1 : 0;
        }
    }
    EXPECT_EQ(filled, 12);

    DisplaySurface other;
    ASSERT_EQ(other.Create(context, 8, 8, 0), kDisplayOk);
    PaintMarkers(other);
    // A zoom by 2 clipped to the clip list keeps the unclipped mapping.
    ASSERT_EQ(surface.Blt({0, 0, 8, 8}, other, {0, 0, 4, 4}, 10), kDisplayOk);
    EXPECT_EQ(RawPixel(surface, 3, 2), Marker(1, 1));
    EXPECT_EQ(RawPixel(surface, 4, 2), 0U);
    EXPECT_EQ(RawPixel(surface, 3, 3), 0U);

    // Detached, a rectangle outside the surface is refused and a clipper with no list too.
    ASSERT_EQ(surface.SetClipper(nullptr, callid::kDetachClipper), kDisplayOk);
    EXPECT_EQ(surface.Fill({0, 0, 9, 1}, 0, callid::kClear), dderr::kInvalidRect);
    EXPECT_EQ(surface.Blt({0, 0, 8, 8}, other, {0, 0, 9, 4}, 10), dderr::kInvalidRect);
    DisplayClipper empty;
    ASSERT_EQ(surface.SetClipper(&empty, callid::kAttachFrameClipper), kDisplayOk);
    EXPECT_EQ(surface.Fill({0, 0, 1, 1}, 0, callid::kClear), dderr::kNoClipList);
}

TEST(DisplaySurfaceDepths, EightBitScreensGiveOneByteBuffers) {
    DisplayContext context(8);
    DisplaySurface surface;
    ASSERT_EQ(surface.Create(context, 5, 2, 0), kDisplayOk);
    EXPECT_EQ(surface.bytesPerPixel(), 1);
    EXPECT_GE(surface.pitch(), 5);
    DrawingContext dc;
    ASSERT_EQ(surface.GetDC(dc, callid::kGetDrawingContext), kDisplayOk);
    dc.Line(0, 0, 4, 0, 0xFFFFFF);
    dc.FocusRect({0, 0, 5, 2});
    dc.TextOut(0, 0, QStringLiteral("A"), 0xFFFFFF);
    ASSERT_EQ(surface.ReleaseDC(dc, callid::kReleaseDrawingContext), kDisplayOk);
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(RawPixel(surface, x, 0), 0U);
    }
}

TEST(DisplaySurfacePresent, CopiesIntoTheWindowImageWithOpaquePixels) {
    for (const int bits : {16, 24, 32}) {
        DisplayContext context(bits);
        DisplaySurface surface;
        ASSERT_EQ(surface.Create(context, 6, 4, 0), kDisplayOk);
        ASSERT_EQ(surface.Fill({0, 0, 6, 4}, GdiColourToSurfaceValue(0x0000FF, bits), 18),
                  kDisplayOk);
        ASSERT_EQ(surface.Fill({1, 1, 2, 2}, GdiColourToSurfaceValue(0xFFFFFF, bits), 18),
                  kDisplayOk);
        QImage window(10, 10, context.screenImageFormat());
        window.fill(Qt::black);
        ASSERT_EQ(context.Present(surface, {0, 0, 6, 4}, window, {3, 2, 9, 6}, callid::kPresent),
                  kDisplayOk);
        EXPECT_EQ(window.pixel(3, 2), 0xFFFF0000U) << bits;
        EXPECT_EQ(window.pixel(4, 3), 0xFFFFFFFFU) << bits;
        EXPECT_EQ(window.pixel(8, 5), 0xFFFF0000U) << bits;
        EXPECT_EQ(window.pixel(9, 5), 0xFF000000U) << bits;
        EXPECT_EQ(window.pixel(2, 2), 0xFF000000U) << bits;
        // A window image in another format gets the same colours.
        QImage argb(10, 10, QImage::Format_ARGB32_Premultiplied);
        argb.fill(Qt::transparent);
        ASSERT_EQ(context.Present(surface, {0, 0, 6, 4}, argb, {0, 0, 6, 4}, 15), kDisplayOk);
        EXPECT_EQ(argb.pixel(1, 1), 0xFFFFFFFFU) << bits;
        EXPECT_EQ(argb.pixel(0, 0), 0xFFFF0000U) << bits;
        EXPECT_EQ(argb.pixel(6, 0), 0U) << bits;
    }
}

TEST(DisplaySurfaceLost, LostSurfacesAnswerAndRestore) {
    DisplayContext context(32);
    DisplaySurface surface;
    ASSERT_EQ(surface.Create(context, 4, 4, 0), kDisplayOk);
    ASSERT_EQ(surface.Fill({0, 0, 4, 4}, 0x123456, 18), kDisplayOk);
    context.LoseSurfaces();
    EXPECT_TRUE(surface.IsLost());
    EXPECT_TRUE(context.IsPrimaryLost());
    // The fill answers lost and the primary is restored on the way back.
    EXPECT_EQ(surface.Fill({0, 0, 4, 4}, 0, 18), dderr::kSurfaceLost);
    EXPECT_FALSE(context.IsPrimaryLost());
    SurfaceLock lock;
    EXPECT_EQ(surface.Lock(lock), dderr::kSurfaceLost);
    EXPECT_EQ(surface.Restore(), kDisplayOk);
    EXPECT_FALSE(surface.IsLost());
    EXPECT_EQ(RawPixel(surface, 0, 0), 0U);
    EXPECT_EQ(surface.Lock(lock), kDisplayOk);
    surface.Unlock();
    // A surface made after the loss is not lost.
    DisplaySurface later;
    ASSERT_EQ(later.Create(context, 1, 1, 0), kDisplayOk);
    EXPECT_FALSE(later.IsLost());
}

TEST(DisplaySurfaceSizes, EmptyAndTooBigSurfaces) {
    DisplayContext context(32);
    DisplaySurface surface;
    ASSERT_EQ(surface.Create(context, 0, 0, 5), kDisplayOk);
    EXPECT_EQ(surface.Fill({0, 0, 0, 0}, 1, 18), kDisplayOk);
    EXPECT_EQ(surface.Blt({0, 0, 0, 0}, surface, {0, 0, 0, 0}, 10), kDisplayOk);
    EXPECT_EQ(surface.Create(context, kMaxSurfaceSide + 1, 1, 5), dderr::kTooBigWidth);
    EXPECT_EQ(surface.Create(context, 1, -1, 5), dderr::kInvalidParams);
    surface.Release();
    EXPECT_FALSE(surface.created());
    SurfaceLock lock;
    EXPECT_EQ(surface.Lock(lock), dderr::kInvalidObject);
}
