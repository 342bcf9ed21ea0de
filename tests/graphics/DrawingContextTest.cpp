#include "SurfaceTestSupport.h"

#include <QFont>
#include <QFontMetrics>

#include <utility>
#include <vector>

#include <gtest/gtest.h>

using namespace korvane;
using namespace korvane::testing;

namespace {

class DrawingAtDepth : public ::testing::TestWithParam<int> {};

} // namespace

INSTANTIATE_TEST_SUITE_P(DrawingDepths, DrawingAtDepth, ::testing::Values(16, 24, 32));

TEST_P(DrawingAtDepth, FocusRectInvertsEveryOtherBorderPixelAndASecondRestores) {
    const int bits = GetParam();
    DisplayContext context(bits);
    DisplaySurface surface;
    ASSERT_EQ(surface.Create(context, 12, 10, 0), kDisplayOk);
    const std::uint32_t grey = RawFor(0x404040, bits);
    ASSERT_EQ(surface.Fill({0, 0, 12, 10}, grey, 18), kDisplayOk);
    const std::uint32_t inverted = bits == 16 ? (grey ^ 0xFFFFU) : (grey ^ 0xFFFFFFU);

    DrawingContext dc;
    ASSERT_EQ(surface.GetDC(dc, callid::kGetDrawingContext), kDisplayOk);
    EXPECT_TRUE(surface.hasDrawingContext());
    const DisplayRect rect{2, 1, 9, 7};
    dc.FocusRect(rect);
    int flipped = 0;
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 12; ++x) {
            const bool border =
                x >= 2 && x <= 8 && y >= 1 && y <= 6 && (x == 2 || x == 8 || y == 1 || y == 6);
            const bool dot = border && ((x - 2) + (y - 1)) % 2 == 0;
            ASSERT_EQ(RawPixel(surface, x, y), dot ? inverted : grey) << x << "," << y;
            flipped += dot ? 1 : 0;
        }
    }
    EXPECT_EQ(flipped, 11); // 22 border pixels, every other one
    dc.FocusRect(rect);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 12; ++x) {
            ASSERT_EQ(RawPixel(surface, x, y), grey) << x << "," << y;
        }
    }
    ASSERT_EQ(surface.ReleaseDC(dc, callid::kReleaseDrawingContext), kDisplayOk);
    EXPECT_FALSE(surface.hasDrawingContext());
    EXPECT_FALSE(dc.valid());
}

TEST_P(DrawingAtDepth, FocusRectPastTheEdgeStaysInside) {
    DisplayContext context(GetParam());
    DisplaySurface surface;
    ASSERT_EQ(surface.Create(context, 4, 4, 0), kDisplayOk);
    DrawingContext dc;
    ASSERT_EQ(surface.GetDC(dc, 12), kDisplayOk);
    dc.FocusRect({-3, -3, 3, 3}); // only its right column and bottom row reach in
    int changed = 0;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            changed += RawPixel(surface, x, y) != 0 ? 1 : 0;
        }
    }
    EXPECT_EQ(changed, 3); // (2,0), (0,2) and (2,2)
    EXPECT_NE(RawPixel(surface, 2, 2), 0U);
    EXPECT_EQ(RawPixel(surface, 2, 1), 0U);
    ASSERT_EQ(surface.ReleaseDC(dc, 13), kDisplayOk);
}

TEST_P(DrawingAtDepth, LinesIncludeBothEnds) {
    const int bits = GetParam();
    DisplayContext context(bits);
    DisplaySurface surface;
    ASSERT_EQ(surface.Create(context, 10, 10, 0), kDisplayOk);
    DrawingContext dc;
    ASSERT_EQ(surface.GetDC(dc, 12), kDisplayOk);
    dc.Line(1, 3, 6, 3, 0xCCCCCC);
    dc.Line(8, 0, 8, 20, 0x0000FF); // runs off the bottom
    const std::uint32_t grid = RawFor(0xCCCCCC, bits);
    const std::uint32_t red = RawFor(0xFF0000, bits);
    for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(RawPixel(surface, x, 3), x >= 1 && x <= 6 ? grid : (x == 8 ? red : 0U)) << x;
    }
    for (int y = 0; y < 10; ++y) {
        EXPECT_EQ(RawPixel(surface, 8, y), red) << y;
    }
    EXPECT_EQ(RawPixel(surface, 1, 2), 0U);
    ASSERT_EQ(surface.ReleaseDC(dc, 13), kDisplayOk);
}

namespace {

struct TextResult {
    std::vector<std::pair<int, int>> textPixels;
    bool onlyTwoValues = true;
};

// Draws "$1F" in white at (20, 10) over a blue-grey surface and collects the white pixels.
TextResult DrawLabel(int bits) {
    DisplayContext context(bits);
    DisplaySurface surface;
    TextResult result;
    EXPECT_EQ(surface.Create(context, 120, 40, 0), kDisplayOk);
    const std::uint32_t background = RawFor(0x204060, bits);
    EXPECT_EQ(surface.Fill({0, 0, 120, 40}, background, 18), kDisplayOk);
    DrawingContext dc;
    EXPECT_EQ(surface.GetDC(dc, 12), kDisplayOk);
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(16);
    font.setBold(true);
    dc.SetFont(font);
    dc.TextOut(20, 10, QStringLiteral("$1F"), 0xFFFFFF);
    EXPECT_EQ(surface.ReleaseDC(dc, 13), kDisplayOk);
    const std::uint32_t white = RawFor(0xFFFFFF, bits);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 120; ++x) {
            const std::uint32_t raw = RawPixel(surface, x, y);
            if (raw == white) {
                result.textPixels.emplace_back(x, y);
            } else if (raw != background) {
                result.onlyTwoValues = false;
            }
        }
    }
    return result;
}

} // namespace

TEST_P(DrawingAtDepth, TextDrawsInsideItsBoxOnATransparentBackground) {
    const TextResult drawn = DrawLabel(GetParam());
    // No smoothing: every pixel is the text colour or the untouched background.
    EXPECT_TRUE(drawn.onlyTwoValues);
    EXPECT_GT(drawn.textPixels.size(), 40U);
    for (const auto& [x, y] : drawn.textPixels) {
        // Three characters of a 16-pixel fixed-pitch face, top-left at (20, 10).
        ASSERT_GE(x, 20);
        ASSERT_LT(x, 20 + 3 * 12);
        ASSERT_GE(y, 10);
        ASSERT_LT(y, 10 + 20);
    }
    // The same glyphs at every depth.
    EXPECT_EQ(drawn.textPixels, DrawLabel(32).textPixels);
}

TEST(DrawingContextState, OneContextAtATimeAndTheSurfaceIsBusyMeanwhile) {
    DisplayContext context(32);
    DisplaySurface surface;
    ASSERT_EQ(surface.Create(context, 4, 4, 0), kDisplayOk);
    DrawingContext dc;
    DrawingContext second;
    ASSERT_EQ(surface.GetDC(dc, 12), kDisplayOk);
    EXPECT_EQ(surface.GetDC(second, 12), dderr::kDcAlreadyCreated);
    SurfaceLock lock;
    EXPECT_EQ(surface.Lock(lock), dderr::kSurfaceBusy);
    EXPECT_EQ(surface.ReleaseDC(second, 13), dderr::kNoDc);
    ASSERT_EQ(surface.ReleaseDC(dc, 13), kDisplayOk);
    EXPECT_EQ(surface.Lock(lock), kDisplayOk);
    surface.Unlock();
}

TEST(DrawingContextState, ReleasingTheSurfaceEndsAnOpenContext) {
    DisplayContext context(24);
    DrawingContext dc;
    {
        DisplaySurface surface;
        ASSERT_EQ(surface.Create(context, 4, 4, 0), kDisplayOk);
        ASSERT_EQ(surface.GetDC(dc, 12), kDisplayOk);
        dc.TextOut(0, 0, QStringLiteral("x"), 0xFFFFFF);
    }
    EXPECT_FALSE(dc.valid());
    dc.Line(0, 0, 3, 3, 0xFFFFFF); // draws nothing, touches nothing
    dc.FocusRect({0, 0, 4, 4});
}
