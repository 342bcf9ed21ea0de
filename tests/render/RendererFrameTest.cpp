// Frame rendering: pixels at zoom in and out, the selection frame, the same frame at 16, 24
// and 32 bits, and display failures during a frame.

#include "RenderTestSupport.h"

#include <QSet>

#include <gtest/gtest.h>

namespace korvane {
namespace {

using namespace rendertest;

// A 4 x 4-cell canvas of the four patterned tiles in palette 1, no grid, no frame.
class RendererFrame : public ::testing::Test {
protected:
    void SetUp() override {
        level = MakeTestLevel();
        renderer.SetLevelData(*level);
        renderer.SetTilePatterns(level->tiles);
        renderer.SetPalettePage(0);
        renderer.SetGridSize(4, 4);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 4; ++x) {
                renderer.PutCell(x, y, CellTile(x, y), 1, false);
            }
        }
        renderer.frame().shown = false;
        renderer.grid().shown = false;
    }
    static int CellTile(int x, int y) { return 3 + (x + y) % 4; }
    // The unshaded colour of content pixel (x, y) of the 4 x 4 canvas.
    static std::uint32_t ContentColour(int x, int y) {
        const int value = TestTilePixel(CellTile(x / 8, y / 8), x % 8, y % 8);
        return NesToSurfaceColour(kPage0[1][value]);
    }

    std::unique_ptr<LevelRecord> level;
    CRenderer renderer;
};

TEST_F(RendererFrame, ZoomInTwoFillsSixtyFourPixelsWithTwoByTwoTilePixels) {
    TestDisplay display;
    const QSize window = SetTestView(renderer, 4, 4, 2, 1);
    ASSERT_EQ(window, QSize(64, 64));
    const QImage image = RenderTestFrame(renderer, display, window);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            ASSERT_EQ(ColourAt(image, x, y), ContentColour(x / 2, y / 2)) << x << "," << y;
        }
    }
    EXPECT_TRUE(display.reporter.messages.empty());
}

TEST_F(RendererFrame, ZoomOutFourShrinksARoomByKeepingEveryFourthPixel) {
    CRenderer room;
    room.SetLevelData(*level);
    room.SetTilePatterns(level->tiles);
    room.SetPalettePage(0);
    room.SetGridSize(32, 32);
    room.SetCurrentRoom(5);
    room.DrawRoom();
    room.frame().shown = false;
    room.grid().shown = false;
    TestDisplay display;
    const QImage full = RenderTestFrame(room, display, SetTestView(room, 32, 32));
    const QSize small = SetTestView(room, 32, 32, 1, 4);
    ASSERT_EQ(small, QSize(64, 64));
    const QImage shrunk = RenderTestFrame(room, display, small);
    EXPECT_EQ(display.surface.width(), 256); // drawn at full size, then shrunk
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            ASSERT_EQ(ColourAt(shrunk, x, y), ColourAt(full, 4 * x, 4 * y)) << x << "," << y;
        }
    }
    // The shrunk room still shows several colours: not a cleared surface.
    QSet<std::uint32_t> colours;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            colours.insert(ColourAt(shrunk, x, y));
        }
    }
    EXPECT_GE(colours.size(), 4);
}

TEST_F(RendererFrame, SelectionTintsItsCellsAndAFramePastTheEdgeIsNotDrawn) {
    TestDisplay display;
    const QSize window = SetTestView(renderer, 4, 4);
    SelectionFrameState& frame = renderer.frame();
    frame.shown = true;
    frame.size = 2;
    frame.x = 3; // reaches cells 3 and 4: past the grid's right edge
    frame.y = 0;
    const QImage past = RenderTestFrame(renderer, display, window);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const bool inSquare = x >= 24 && y < 16;
            const std::uint32_t expected = inSquare
                                               ? ShadeVariant(ContentColour(x, y), kVariantSelected)
                                               : ContentColour(x, y);
            ASSERT_EQ(ColourAt(past, x, y), expected) << x << "," << y;
        }
    }

    frame.x = 1; // inside: the border pixels are inverted
    frame.y = 1;
    const QImage inside = RenderTestFrame(renderer, display, window);
    const std::uint32_t tinted = ShadeVariant(ContentColour(8, 8), kVariantSelected);
    EXPECT_EQ(ColourAt(inside, 8, 8), tinted ^ 0xFFFFFFU);
    EXPECT_EQ(ColourAt(inside, 12, 12), ShadeVariant(ContentColour(12, 12), kVariantSelected));
    EXPECT_EQ(ColourAt(inside, 4, 4), ContentColour(4, 4));
}

TEST_F(RendererFrame, HiddenFrameTintsNothing) {
    TestDisplay display;
    const QSize window = SetTestView(renderer, 4, 4);
    renderer.frame() = SelectionFrameState{};
    renderer.frame().shown = false;
    renderer.frame().x = -1;
    renderer.frame().y = -1;
    const QImage image = RenderTestFrame(renderer, display, window);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            ASSERT_EQ(ColourAt(image, x, y), ContentColour(x, y)) << x << "," << y;
        }
    }
}

TEST_F(RendererFrame, SameFrameAtSixteenTwentyFourAndThirtyTwoBits) {
    renderer.frame().shown = true;
    renderer.frame().size = 2;
    renderer.frame().x = 1;
    renderer.frame().y = 2;
    renderer.grid().shown = true;
    renderer.grid().spacing = 16;
    renderer.PutCell(0, 0, 2, 0, true);
    QImage images[3];
    const int depths[3] = {16, 24, 32};
    for (int i = 0; i < 3; ++i) {
        TestDisplay display(depths[i]);
        // One pixel wider than the cells: the cleared strip on the right shows too.
        const QSize window = SetTestView(renderer, 4, 4) + QSize(5, 0);
        images[i] = RenderTestFrame(renderer, display, window);
        ASSERT_TRUE(display.reporter.messages.empty()) << depths[i];
    }
    int differing = 0;
    for (int y = 0; y < images[2].height(); ++y) {
        for (int x = 0; x < images[2].width(); ++x) {
            const std::uint32_t full = ColourAt(images[2], x, y);
            ASSERT_EQ(ColourAt(images[1], x, y), full) << x << "," << y;
            ASSERT_EQ(ColourAt(images[0], x, y), As565(full)) << x << "," << y;
            differing += ColourAt(images[0], x, y) != full ? 1 : 0;
        }
    }
    EXPECT_GT(differing, 0);                          // the 16-bit frame really is a 5-6-5 one
    EXPECT_EQ(ColourAt(images[2], 16, 3), 0xCCCCCCU); // a grid line
    EXPECT_EQ(ColourAt(images[2], 2, 2), ShadeVariant(NesToSurfaceColour(kPage0[0][2]), 1));
}

// Display failures: every call of the frame reports its own id, then the frame stops.
TEST_F(RendererFrame, DisplayFaultsDuringAFrameReportTheirCallId) {
    const DisplayCode generic = dderr::kGeneric;
    struct Case {
        int callId;
        int zoomIn;
        int zoomOut;
        bool grid;
        bool presented;
    };
    const Case cases[] = {
        {callid::kDetachClipper, 1, 1, false, false},
        {callid::kCreateFrameSurface, 1, 1, false, false},
        {callid::kSetClipList, 1, 1, false, false},
        {callid::kAttachFrameClipper, 1, 1, false, false},
        {callid::kFramePixelFormat, 1, 1, false, false},
        {callid::kClipperWindow, 1, 1, false, false},
        {callid::kClear, 1, 1, false, false},
        {callid::kZoomInBlit, 2, 1, false, false},
        {callid::kZoomOutBlit, 1, 2, false, false},
        {callid::kGetDrawingContext, 1, 1, true, false},
        {callid::kReleaseDrawingContext, 1, 1, true, false},
        {callid::kPresent, 1, 1, false, false},
    };
    for (const Case& c : cases) {
        TestDisplay display;
        QSize window = SetTestView(renderer, 4, 4, c.zoomIn, c.zoomOut);
        renderer.grid().shown = c.grid;
        RenderTestFrame(renderer, display, window); // a first frame: a surface to detach
        ASSERT_TRUE(display.reporter.messages.empty());
        window = SetTestView(renderer, 4, 4, c.zoomIn, c.zoomOut);
        display.context.InjectFault(c.callId, generic);
        const QImage image = RenderTestFrame(renderer, display, window);
        ASSERT_EQ(display.reporter.messages.size(), 1U) << c.callId;
        EXPECT_EQ(display.reporter.messages[0].title, "Error");
        EXPECT_EQ(display.reporter.messages[0].text,
                  "DirectDraw Error DDERR_GENERIC, ID=" + std::to_string(c.callId));
        EXPECT_EQ(display.reporter.quitRequests, std::vector<int>{0});
        EXPECT_EQ(ColourAt(image, 0, 0), 0x123456U) << "not presented after " << c.callId;
    }
}

TEST_F(RendererFrame, LostSurfaceWhilePresentingRestoresThePrimaryFirst) {
    TestDisplay display;
    const QSize window = SetTestView(renderer, 4, 4);
    display.context.LosePrimary();
    RenderTestFrame(renderer, display, window);
    ASSERT_EQ(display.reporter.messages.size(), 1U);
    EXPECT_EQ(display.reporter.messages[0].text, "DirectDraw Error DDERR_SURFACELOST, ID=15");
    EXPECT_FALSE(display.context.IsPrimaryLost());
}

TEST_F(RendererFrame, FailedLockPresentsTheClearedSurfaceAndBusyLocksAreRetried) {
    TestDisplay display;
    const QSize window = SetTestView(renderer, 4, 4);
    const std::uint32_t clear = GdiToSurfaceColour(SystemMenuColour());

    display.context.InjectFault(kLockCallId, dderr::kInvalidObject);
    const QImage unlocked = RenderTestFrame(renderer, display, window);
    EXPECT_TRUE(display.reporter.messages.empty());
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            ASSERT_EQ(ColourAt(unlocked, x, y), clear) << x << "," << y;
        }
    }

    display.context.InjectFault(kLockCallId, dderr::kWasStillDrawing, 3);
    const QImage retried = RenderTestFrame(renderer, display, window);
    EXPECT_TRUE(display.reporter.messages.empty());
    EXPECT_EQ(ColourAt(retried, 9, 9), ContentColour(9, 9));
}

TEST_F(RendererFrame, EmptyGridDrawsNothing) {
    CRenderer empty;
    TestDisplay display;
    const QImage image = RenderTestFrame(empty, display, SetTestView(empty, 4, 4));
    EXPECT_EQ(ColourAt(image, 0, 0), 0x123456U);
    EXPECT_FALSE(display.surface.created());
}

TEST_F(RendererFrame, NarrowSurfacesClipCellsAtTheirEdge) {
    // 27 x 21 pixels: the right and bottom cells are cut, and nothing is written past them.
    TestDisplay display;
    SetTestView(renderer, 4, 4);
    const QImage image = RenderTestFrame(renderer, display, QSize(27, 21));
    for (int y = 0; y < 21; ++y) {
        for (int x = 0; x < 27; ++x) {
            ASSERT_EQ(ColourAt(image, x, y), ContentColour(x, y)) << x << "," << y;
        }
    }
}

} // namespace
} // namespace korvane
