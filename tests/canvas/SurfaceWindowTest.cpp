// The canvas widget: window sizing, scroll bar, clicks and their notifications, painting and
// display failures at attach.
#include "CanvasTestLevels.h"
#include "CanvasTestSupport.h"
#include "editors/CanvasCursors.h"

#include <QTest>

#include <gtest/gtest.h>

namespace korvane {
namespace {

using test::NotificationLog;
using test::RecordingDisplay;

constexpr int kAssemblyCanvasId = 1006;

// The Assembly editor's items canvas: 32 x 32 cells visible, 128 x 32 cells of content.
void SetUpAssemblyCanvas(CCanvasControl& canvas, const LevelRecord& level,
                         const std::array<std::uint8_t, kTileBytes>& tiles) {
    canvas.SetView(32, 32, 1, 1);
    canvas.SetData(128, 32, &level, tiles.data());
    canvas.SetGrid(true, 0xCCCCCC, 32);
    canvas.SetSelectionFrame(true, 4);
    canvas.DrawAllAssemblies();
}

TEST(CanvasWindow, SetViewAndSetDataSizeTheWindow) {
    RecordingDisplay display;
    CCanvasControl canvas(display.context, 1);
    canvas.SetView(32, 32, 1, 1);
    EXPECT_EQ(canvas.size(), QSize(256, 256));
    EXPECT_EQ(canvas.renderer().view().visibleWidth, 32);

    const LevelRecord level = test::MakeLevel({1});
    const auto tiles = test::MakeTiles();
    canvas.SetData(128, 32, &level, tiles.data());
    // Two more cell rows below the content for the scroll bar.
    EXPECT_EQ(canvas.size(), QSize(256, 272));
    EXPECT_EQ(canvas.clientHeight(), 256);
    EXPECT_FALSE(canvas.scrollBar()->isHidden());
    EXPECT_TRUE(canvas.scrollBar()->isEnabled());
    EXPECT_EQ(canvas.scrollBar()->geometry(), QRect(0, 256, 256, 16));
    EXPECT_EQ(canvas.scrollBar()->pageStep(), 32);
    EXPECT_EQ(canvas.scrollBar()->maximum(), 96);

    // SetView again now that the content is wider than the window: the extra rows stay.
    canvas.SetView(32, 32);
    EXPECT_EQ(canvas.size(), QSize(256, 272));
    // Scale 2 and 1/4 canvases.
    CCanvasControl tiles16(display.context, 2);
    tiles16.SetView(16, 16, 2, -1);
    EXPECT_EQ(tiles16.size(), QSize(256, 256));
    EXPECT_EQ(tiles16.renderer().view().zoomOut, 1);
    tiles16.SetData(16, 16, &level, tiles.data());
    EXPECT_EQ(tiles16.size(), QSize(256, 256));
    EXPECT_TRUE(tiles16.scrollBar()->isHidden());

    CCanvasControl rooms(display.context, 3);
    rooms.SetView(64, 256, 1, 4);
    EXPECT_EQ(rooms.size(), QSize(128, 512));
    rooms.SetData(128, 256, &level, tiles.data());
    EXPECT_EQ(rooms.size(), QSize(128, 528));
    EXPECT_EQ(rooms.scrollBar()->pageStep(), 64);
    EXPECT_EQ(rooms.scrollBar()->maximum(), 64);
    // Zoom factors below 1 become 1; a negative one keeps the factor.
    rooms.SetView(64, 256, 0, -1);
    EXPECT_EQ(rooms.renderer().view().zoomIn, 1);
    EXPECT_EQ(rooms.renderer().view().zoomOut, 4);
    EXPECT_TRUE(display.reporter.messages.empty());
}

TEST(CanvasWindow, ScrolledAssemblyCanvasReportsItemsTwoAndThirtyFour) {
    RecordingDisplay display;
    CCanvasControl canvas(display.context, kAssemblyCanvasId);
    const LevelRecord level = test::MakeLevel({1});
    const auto tiles = test::MakeTiles();
    SetUpAssemblyCanvas(canvas, level, tiles);
    NotificationLog log(canvas);

    canvas.Scroll(ScrollRequest::ThumbTrack, 8);
    ASSERT_EQ(canvas.scrollPosition(), 8);
    EXPECT_EQ(canvas.scrollBar()->value(), 8);

    test::Move(canvas, {3, 5});
    test::Press(canvas, {3, 5});
    test::Release(canvas, {3, 5});
    test::Press(canvas, {30, 4 * 8 + 1}); // four cells lower, same assembly column
    ASSERT_EQ(log.records.size(), 2u);
    const CanvasNotification& first = log.records[0];
    EXPECT_EQ(first.code, CanvasCode::Click);
    EXPECT_EQ(first.item, 2);
    EXPECT_EQ(first.itemUnderPointer, 0);
    EXPECT_EQ(first.senderId, kAssemblyCanvasId);
    EXPECT_EQ(first.senderWindow, static_cast<const void*>(&canvas));
    EXPECT_EQ(first.firstValue, -1);
    EXPECT_EQ(first.secondValue, -1);
    EXPECT_EQ(first.thirdValue, -1);
    EXPECT_EQ(first.enemyId, 0);
    EXPECT_EQ(log.records[1].item, 34);
    EXPECT_EQ(log.records[1].itemUnderPointer, 8 * 4); // items per row times the window row
    // The press put the frame on the clicked assembly.
    EXPECT_EQ(canvas.renderer().frame().x, 0);
    EXPECT_EQ(canvas.renderer().frame().y, 4);
    EXPECT_EQ(canvas.renderer().frame().lastRow, 7);
}

TEST(CanvasWindow, TileCanvasReportsSixteenTimesRowPlusColumn) {
    RecordingDisplay display;
    CCanvasControl canvas(display.context, 1017);
    const LevelRecord level = test::MakeLevel({1});
    const auto tiles = test::MakeTiles();
    canvas.SetView(16, 16, 2, -1);
    canvas.SetData(16, 16, &level, tiles.data());
    canvas.SetSelectionFrame(true, 1);
    canvas.DrawAllTiles();
    canvas.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&canvas));
    NotificationLog log(canvas);

    const std::vector<std::pair<int, int>> spots = {{0, 0}, {15, 0}, {0, 15}, {7, 9}, {15, 15}};
    for (const auto& [column, row] : spots) {
        QTest::mouseClick(&canvas, Qt::LeftButton, Qt::NoModifier,
                          QPoint(column * 16 + 9, row * 16 + 14));
    }
    ASSERT_EQ(log.records.size(), spots.size());
    for (std::size_t i = 0; i < spots.size(); ++i) {
        EXPECT_EQ(log.records[i].item, 16 * spots[i].second + spots[i].first) << i;
    }
    // The second press of a double click reports nothing more.
    QTest::mouseDClick(&canvas, Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
    EXPECT_EQ(log.records.size(), spots.size());
    QTest::mouseRelease(&canvas, Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
}

TEST(CanvasWindow, ClicksWithoutAFrameOrBesideTheContent) {
    RecordingDisplay display;
    CCanvasControl canvas(display.context, 5);
    const LevelRecord level = test::MakeLevel({1});
    canvas.SetView(32, 32);
    canvas.SetData(16, 8, &level, nullptr); // content smaller than the window
    canvas.SetSelectionFrame(true, 2);
    NotificationLog log(canvas);
    test::Press(canvas, {8 * 15 + 1, 8 * 7 + 1});
    test::Press(canvas, {8 * 16 + 1, 8}); // right of the content
    test::Press(canvas, {8, 8 * 8 + 1});  // below it
    canvas.SetSelectionFrame(false, 2);
    test::Press(canvas, {8 * 5 + 1, 8 * 3 + 1}); // no frame: the cell's item
    ASSERT_EQ(log.records.size(), 2u);
    EXPECT_EQ(log.records[0].item, (16 * 6) / 4 + 14 / 2);
    EXPECT_EQ(log.records[1].item, (16 * 3) / 4 + 5 / 2);
    EXPECT_EQ(canvas.renderer().frame().x, -1);
}

TEST(CanvasWindow, ScrollBarActionsFollowTheScrollingTable) {
    RecordingDisplay display;
    CCanvasControl canvas(display.context, kAssemblyCanvasId);
    const LevelRecord level = test::MakeLevel({1});
    const auto tiles = test::MakeTiles();
    SetUpAssemblyCanvas(canvas, level, tiles);
    canvas.SelectItem(1);
    ASSERT_EQ(canvas.renderer().frame().x, 4);
    QScrollBar* bar = canvas.scrollBar();

    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(canvas.scrollPosition(), 1);
    EXPECT_EQ(bar->value(), 1);
    EXPECT_EQ(canvas.renderer().frame().x, 3);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(canvas.scrollPosition(), 33);
    EXPECT_EQ(canvas.renderer().frame().x, -29);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(canvas.scrollPosition(), 96);
    EXPECT_EQ(bar->value(), 96);
    EXPECT_EQ(canvas.renderer().frame().x, -29);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd); // at the end: nothing
    EXPECT_EQ(canvas.scrollPosition(), 96);
    EXPECT_EQ(bar->value(), 96);
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(canvas.scrollPosition(), 0);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub); // from 0: nothing
    EXPECT_EQ(canvas.scrollPosition(), 0);
    EXPECT_EQ(bar->value(), 0);

    // New data puts the view back at the start.
    canvas.Scroll(ScrollRequest::ThumbTrack, 40);
    canvas.SetData(0, 0, nullptr, nullptr);
    EXPECT_EQ(canvas.scrollPosition(), 0);
    EXPECT_EQ(bar->value(), 0);
}

TEST(CanvasWindow, PlaceFrameAtTakesOffTheScrollPosition) {
    RecordingDisplay display;
    CCanvasControl canvas(display.context, kAssemblyCanvasId);
    const LevelRecord level = test::MakeLevel({1});
    const auto tiles = test::MakeTiles();
    SetUpAssemblyCanvas(canvas, level, tiles);
    canvas.Scroll(ScrollRequest::ThumbTrack, 2);
    canvas.PlaceFrameAt(40, 24);
    const SelectionFrameState& frame = canvas.renderer().frame();
    EXPECT_EQ(frame.x, 40 - 16);
    EXPECT_EQ(frame.y, 24);
    EXPECT_EQ(frame.lastColumn, 40 - 16 + 3);
    canvas.SetSelectionFrame(false, 4);
    EXPECT_EQ(frame.x, -1);
    EXPECT_EQ(frame.firstRow, -1);
    canvas.PlaceFrameAt(40, 24);
    EXPECT_EQ(frame.firstColumn, -1);
    EXPECT_EQ(frame.x, -1);
    canvas.SetSelectionFrame(true, 0);
    EXPECT_EQ(frame.size, 1);
}

TEST(CanvasWindow, PointerModesShowTheirPointers) {
    RecordingDisplay display;
    CCanvasControl canvas(display.context, 1);
    const LevelRecord level = test::MakeLevel({1});
    canvas.SetView(32, 32);
    canvas.SetData(32, 32, &level, nullptr);
    canvas.SetPointerMode(PointerMode::Paint);
    test::Move(canvas, {20, 20});
    EXPECT_EQ(canvas.cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(canvas.cursor().hotSpot(), QPoint(2, 29));
    canvas.SetPointerMode(PointerMode::Third);
    test::Move(canvas, {21, 20});
    EXPECT_EQ(canvas.cursor().hotSpot(), QPoint(11, 11));
    canvas.SetPointerMode(PointerMode::None);
    test::Move(canvas, {22, 20});
    EXPECT_EQ(canvas.cursor().shape(), Qt::ArrowCursor);
    // The pictures are drawn, not blank.
    for (CanvasPointer p : {CanvasPointer::Paint, CanvasPointer::ThirdTool, CanvasPointer::Dropper,
                            CanvasPointer::EnemyGrab}) {
        const QImage image = CanvasCursors::Image(p);
        EXPECT_EQ(image.size(), QSize(32, 32));
        int opaque = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                opaque += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
            }
        }
        EXPECT_GT(opaque, 40) << static_cast<int>(p);
        const QPoint hot = CanvasCursors::HotSpot(p);
        EXPECT_GT(qAlpha(image.pixel(hot)) + qAlpha(image.pixel(hot + QPoint(1, -1))), 0)
            << static_cast<int>(p);
    }
}

TEST(CanvasWindow, PaintingPresentsTheRenderersFrame) {
    RecordingDisplay display;
    CCanvasControl canvas(display.context, 1);
    const LevelRecord level = test::MakeLevel({1});
    const auto tiles = test::MakeTiles();
    canvas.SetView(16, 16, 1, 1);
    canvas.SetData(16, 16, &level, tiles.data());
    canvas.SetGrid(false);
    canvas.SetSelectionFrame(false, 1);
    canvas.DrawAllTiles();
    canvas.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&canvas));
    canvas.repaint();

    const QImage& screen = canvas.screenImage();
    ASSERT_EQ(screen.size(), QSize(128, 128));
    EXPECT_EQ(screen.format(), display.context.screenImageFormat());
    // Tile t holds pixel value t mod 4 in palette 0.
    for (int tile : {0, 1, 2, 3, 17, 255}) {
        const QPoint pixel((tile % 16) * 8 + 3, (tile / 16) * 8 + 5);
        EXPECT_EQ(screen.pixel(pixel) & 0xFFFFFFu,
                  canvas.renderer().SurfaceColour(0, 0, tile % 4) & 0xFFFFFFu)
            << tile;
    }
    // The same state rendered again by the renderer alone gives the same picture.
    DisplaySurface surface;
    DisplayClipper clipper;
    ASSERT_EQ(surface.Create(display.context, 128, 128, 0), kDisplayOk);
    ASSERT_EQ(display.context.CreateClipper(clipper, 1), kDisplayOk);
    QImage expected(128, 128, display.context.screenImageFormat());
    expected.fill(Qt::black);
    canvas.renderer().RenderFrame(display.context, surface, clipper, &canvas, 128, 128, expected,
                                  DisplayRect{0, 0, 128, 128});
    EXPECT_EQ(screen, expected);
    EXPECT_TRUE(display.reporter.messages.empty());
}

class CanvasAttachFault : public ::testing::TestWithParam<int> {};

TEST_P(CanvasAttachFault, IsReportedOnceAndEndsTheProgram) {
    const int callId = GetParam();
    RecordingDisplay display;
    display.context.InjectFault(callId, dderr::kSurfaceLost);
    CCanvasControl canvas(display.context, 1);
    ASSERT_EQ(display.reporter.messages.size(), 1u);
    EXPECT_EQ(display.reporter.messages[0].title, "Error");
    EXPECT_EQ(display.reporter.messages[0].text,
              "DirectDraw Error DDERR_SURFACELOST, ID=" + std::to_string(callId));
    EXPECT_EQ(display.reporter.quitRequests, std::vector<int>{0});
    EXPECT_FALSE(canvas.displayUsable());

    // The broken canvas draws nothing more, so nothing more is reported.
    const LevelRecord level = test::MakeLevel({1});
    canvas.SetView(16, 16);
    canvas.SetData(16, 16, &level, nullptr);
    canvas.DrawAllTiles();
    canvas.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&canvas));
    canvas.repaint();
    EXPECT_EQ(display.reporter.messages.size(), 1u);
    EXPECT_EQ(display.reporter.quitRequests.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(AttachCalls, CanvasAttachFault, ::testing::Values(0, 1, 2, 3));

} // namespace
} // namespace korvane
