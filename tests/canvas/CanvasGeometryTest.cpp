// The canvas arithmetic without widgets: items under the pointer and under a click, the
// scrolling table, enemy markers and drag records.
#include "editors/CanvasGeometry.h"
#include "CanvasTestLevels.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

CanvasMetrics Metrics(int gridWidth, int gridHeight, int visibleWidth, int visibleHeight,
                      int zoomIn = 1, int zoomOut = 1, int scroll = 0) {
    return {gridWidth, gridHeight, visibleWidth, visibleHeight, zoomIn, zoomOut, scroll};
}

int ClickAtCell(const CanvasMetrics& m, int frameSize, int cellX, int cellY) {
    const PointerSelection s = SelectionAtCell(m, true, frameSize, cellX, cellY);
    return ClickedItem(m, frameSize, s.firstColumn, s.firstRow);
}

TEST(CanvasItemArithmetic, AssemblyCanvasScrolledByEightCells) {
    // 128 x 32 cells, 32 visible, frame of one assembly (4 cells), scrolled by 8 cells.
    const CanvasMetrics m = Metrics(128, 32, 32, 32, 1, 1, 8);
    const PointerSelection topLeft = SelectionAtCell(m, true, 4, 0, 0);
    EXPECT_EQ(topLeft.firstColumn, 0);
    EXPECT_EQ(topLeft.lastColumn, 3);
    EXPECT_EQ(topLeft.firstRow, 0);
    EXPECT_EQ(topLeft.lastRow, 3);
    EXPECT_EQ(ClickAtCell(m, 4, 0, 0), 2);
    EXPECT_EQ(ClickAtCell(m, 4, 3, 3), 2);  // anywhere inside the same assembly
    EXPECT_EQ(ClickAtCell(m, 4, 0, 4), 34); // one assembly row lower: 32 per row
    EXPECT_EQ(ClickAtCell(m, 4, 5, 1), 3);
    EXPECT_EQ(ClickAtCell(m, 4, 31, 31), 7 * 32 + (8 + 28) / 4);
}

TEST(CanvasItemArithmetic, ScrollOffsetNotAMultipleOfTheFrame) {
    // Scrolled by 2 cells with a 4-cell frame: the frame grid keeps to the content.
    const CanvasMetrics m = Metrics(128, 32, 32, 32, 1, 1, 2);
    const PointerSelection s = SelectionAtCell(m, true, 4, 1, 0);
    EXPECT_EQ(s.firstColumn, -2); // content columns 0 to 3 start two cells left of the window
    EXPECT_EQ(ClickedItem(m, 4, s.firstColumn, s.firstRow), 0);
    EXPECT_EQ(ClickAtCell(m, 4, 2, 0), 1);
}

TEST(CanvasItemArithmetic, TileCanvasAtScaleTwoReportsRowByRow) {
    // 16 x 16 tiles shown at scale 2: each tile takes two window cells each way.
    const CanvasMetrics m = Metrics(16, 16, 32, 32, 2, 1, 0);
    for (int row = 0; row < 16; row += 5) {
        for (int column = 0; column < 16; column += 3) {
            const int cellX = 2 * column + 1;
            const int cellY = 2 * row;
            const PointerSelection s = SelectionAtCell(m, true, 1, cellX, cellY);
            EXPECT_EQ(s.itemUnderPointer, 16 * row + column);
            EXPECT_EQ(ClickedItem(m, 1, s.firstColumn, s.firstRow), 16 * row + column);
        }
    }
}

TEST(CanvasItemArithmetic, RoomCanvasAtQuarterScale) {
    // 128 x 256 cells of rooms at 1/4, 2 of 4 room columns visible, scrolled by one room.
    const CanvasMetrics m = Metrics(128, 256, 16, 64, 1, 4, 32);
    EXPECT_EQ(ClickAtCell(m, 32, 0, 0), 1);
    EXPECT_EQ(ClickAtCell(m, 32, 9, 8), 4 * 1 + 2);
}

TEST(CanvasItemArithmetic, HiddenFrameLeavesNoSelection) {
    const CanvasMetrics m = Metrics(32, 32, 32, 32);
    const PointerSelection s = SelectionAtCell(m, false, 4, 9, 5);
    EXPECT_EQ(s.firstColumn, -1);
    EXPECT_EQ(s.lastRow, -1);
    EXPECT_EQ(s.snappedColumn, 9);
    EXPECT_EQ(s.itemUnderPointer, 8 * 5 + 9);
}

TEST(CanvasItemArithmetic, ClicksBesideTheContentNameNoItem) {
    const CanvasMetrics m = Metrics(16, 8, 32, 32, 1, 1, 0);
    EXPECT_TRUE(InsideContent(m, 15, 7));
    EXPECT_FALSE(InsideContent(m, 16, 0));
    EXPECT_FALSE(InsideContent(m, 0, 8));
    EXPECT_FALSE(InsideContent(m, -1, 0));
}

TEST(CanvasScrolling, EndsOfTheContentChangeNothing) {
    // 128 cells wide, 256-pixel client: page 32, largest position 96.
    CanvasMetrics m = Metrics(128, 32, 32, 32);
    EXPECT_EQ(ScrollPage(m, 256), 32);
    EXPECT_EQ(LargestScroll(m, 256), 96);
    m.scroll = 96;
    ScrollOutcome out = ApplyScroll(m, 256, ScrollRequest::LineRight, 0, 1);
    EXPECT_FALSE(out.changed);
    EXPECT_EQ(out.scroll, 96);
    EXPECT_EQ(out.frameShift, 0);
    m.scroll = 0;
    EXPECT_FALSE(ApplyScroll(m, 256, ScrollRequest::LineLeft, 0, 1).changed);

    // Page left from 3 with 8 visible cells.
    CanvasMetrics narrow = Metrics(128, 32, 8, 32, 1, 1, 3);
    out = ApplyScroll(narrow, 64, ScrollRequest::PageLeft, 0, 1);
    EXPECT_FALSE(out.changed);
    EXPECT_EQ(out.scroll, 3);
    narrow.scroll = 8;
    out = ApplyScroll(narrow, 64, ScrollRequest::PageLeft, 0, 1);
    EXPECT_EQ(out.scroll, 0);
    EXPECT_EQ(out.frameShift, 8);
    narrow.scroll = LargestScroll(narrow, 64) - 7; // 113: no full page left to the right
    EXPECT_FALSE(ApplyScroll(narrow, 64, ScrollRequest::PageRight, 0, 1).changed);
}

TEST(CanvasScrolling, FrameMovesWithTheContent) {
    CanvasMetrics m = Metrics(128, 32, 32, 32, 1, 1, 10);
    ScrollOutcome out = ApplyScroll(m, 256, ScrollRequest::LineRight, 0, 1);
    EXPECT_EQ(out.scroll, 11);
    EXPECT_EQ(out.frameShift, -1);
    out = ApplyScroll(m, 256, ScrollRequest::LineLeft, 0, 8); // pixel frame
    EXPECT_EQ(out.scroll, 9);
    EXPECT_EQ(out.frameShift, 8);
    out = ApplyScroll(m, 256, ScrollRequest::PageRight, 0, 1);
    EXPECT_EQ(out.scroll, 42);
    EXPECT_EQ(out.frameShift, -32);
    out = ApplyScroll(m, 256, ScrollRequest::ThumbTrack, 50, 1);
    EXPECT_EQ(out.scroll, 50);
    EXPECT_EQ(out.frameShift, -40);
    // Top and bottom move the view but not the frame.
    out = ApplyScroll(m, 256, ScrollRequest::Bottom, 0, 1);
    EXPECT_EQ(out.scroll, 96);
    EXPECT_EQ(out.frameShift, 0);
    out = ApplyScroll(m, 256, ScrollRequest::Top, 0, 1);
    EXPECT_EQ(out.scroll, 0);
    EXPECT_EQ(out.frameShift, 0);
    EXPECT_FALSE(ApplyScroll(m, 256, ScrollRequest::EndScroll, 70, 1).changed);
    EXPECT_FALSE(ApplyScroll(m, 256, ScrollRequest::ThumbPosition, 70, 1).changed);
}

TEST(CanvasScrolling, ZoomedOutViewStopsAtItsLastPage) {
    // Rooms at 1/4: a 128-pixel client shows 64 content cells; the bar ends at 64.
    CanvasMetrics m = Metrics(128, 256, 16, 64, 1, 4, 60);
    EXPECT_EQ(ScrollPage(m, 128), 64);
    EXPECT_EQ(LargestScroll(m, 128), 64);
    ScrollOutcome out = ApplyScroll(m, 128, ScrollRequest::LineRight, 0, 1);
    EXPECT_EQ(out.scroll, 64);
    m.scroll = 64;
    EXPECT_FALSE(ApplyScroll(m, 128, ScrollRequest::LineRight, 0, 1).changed);
    m.scroll = 2;
    EXPECT_EQ(ApplyScroll(m, 128, ScrollRequest::LineLeft, 0, 1).scroll, 0);
    // The thumb snaps to whole zoom-out steps and stays inside the bar.
    EXPECT_EQ(ApplyScroll(m, 128, ScrollRequest::ThumbTrack, 39, 1).scroll, 36);
    EXPECT_EQ(ApplyScroll(m, 128, ScrollRequest::ThumbTrack, 500, 1).scroll, 64);
}

TEST(CanvasEnemyGeometry, MarkerPositionsAndHitTest) {
    LevelRecord level = test::MakeLevel({2, 3});
    test::AddPlacement(level, 2, 16, 40, 0x11);  // hallway 1, its first room
    test::AddPlacement(level, 3, 100, 40, 0x12); // hallway 1, second room
    test::AddPlacement(level, 3, 104, 44, 0x13); // overlaps the one before
    EXPECT_EQ(HallwayFirstRoom(level, 1), 2);
    const ScreenPoint marker = EnemyScreenPosition(level.enemies[1], 2, 8);
    EXPECT_EQ(marker.x, 100 + (32 - 8) * 8);
    EXPECT_EQ(marker.y, 40);

    // The hit box is (x - 8, x + 8] by (y - 8, y + 8].
    EXPECT_EQ(EnemyAt(level, 1, 0, 16, 40), 0);
    EXPECT_EQ(EnemyAt(level, 1, 0, 24, 48), 0);
    EXPECT_EQ(EnemyAt(level, 1, 0, 8, 40), kNoEnemy);
    EXPECT_EQ(EnemyAt(level, 1, 0, 16, 32), kNoEnemy);
    EXPECT_EQ(EnemyAt(level, 1, 0, 25, 40), kNoEnemy);
    // Both of the overlapping ones are within reach: the earlier in the list wins.
    EXPECT_EQ(EnemyAt(level, 1, 0, 356 + 2, 42), 1);
    EXPECT_EQ(EnemyAt(level, 1, 0, 356 + 10, 50), 2);
    // Hallway 0 does not show them.
    EXPECT_EQ(EnemyAt(level, 0, 0, 16, 40), kNoEnemy);
}

TEST(CanvasEnemyGeometry, PlacementsPastTheRoomOrderAreNeverHit) {
    LevelRecord level = test::MakeLevel({1});
    level.hallways[0].lastRoom = 40; // damaged data: far more rooms than the order holds
    test::AddPlacement(level, 32, 8, 8, 1);
    test::AddPlacement(level, 0xFF, 8, 8, 2);
    EXPECT_EQ(EnemyAt(level, 0, 32 * 32, 8, 8), kNoEnemy);
    EXPECT_EQ(EnemyAt(level, 0, 0xFF * 32, 8, 8), kNoEnemy);
}

TEST(CanvasEnemyGeometry, DragRecordCrossesRoomsAndStaysInTheHallway) {
    LevelRecord level = test::MakeLevel({1, 2});
    // Hallway 1 starts at room position 1; scrolled by 16 cells, pixel 144 of the window is
    // pixel 272 of the hallway: the second room, x 16.
    EnemyPlacement p = DraggedPlacement(level, 1, 16, 144, 300, 0x42);
    EXPECT_EQ(p.roomPosition, 2);
    EXPECT_EQ(p.x, 16);
    EXPECT_EQ(p.y, 300 % 256);
    EXPECT_EQ(p.enemyId, 0x42);
    p = DraggedPlacement(level, 1, 16, 127, 10, 0x42);
    EXPECT_EQ(p.roomPosition, 1);
    EXPECT_EQ(p.x, 255);
    // Beyond either end of the hallway the placement stops at its first or last pixel.
    p = DraggedPlacement(level, 1, 0, -40, 10, 1);
    EXPECT_EQ(p.roomPosition, 1);
    EXPECT_EQ(p.x, 0);
    p = DraggedPlacement(level, 1, 32, 400, 10, 1);
    EXPECT_EQ(p.roomPosition, 2);
    EXPECT_EQ(p.x, 255);
}

TEST(CanvasEnemyGeometry, SnappingKeepsTheGrabOffset) {
    // Step 8, grab offset 3: positions 3, 11, 19 ...
    EXPECT_EQ(SnapDragX(0, 17, 8, 3), 19);
    EXPECT_EQ(SnapDragX(0, 15, 8, 3), 11);
    EXPECT_EQ(SnapDragX(5, 17, 8, 3), 19); // (5 + 17) / 8 * 8 + 3
    EXPECT_EQ(SnapDragX(0, 17, 32, 0), 0);
    EXPECT_EQ(SnapDragY(17, 1, 0), 17);
    EXPECT_EQ(SnapDragY(17, 16, 4), 20);
    EXPECT_EQ(PositiveModulo(-3, 8), 5);
    EXPECT_EQ(PositiveModulo(11, 8), 3);
}

} // namespace
} // namespace korvane

namespace korvane {
namespace {

using Cells = std::vector<WindowCell>;

TEST(PointerPathCells, ARowADiagonalAShallowLineAndBackwards) {
    // Along row 0 from the middle of cell 0 to the middle of cell 3.
    EXPECT_EQ(CellsAlongPath(4, 4, 28, 4), (Cells{{0, 0}, {1, 0}, {2, 0}, {3, 0}}));
    // Exactly through the corners: the diagonal cells only.
    EXPECT_EQ(CellsAlongPath(4, 4, 28, 28), (Cells{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));
    // Centres (4.5, 4.5) to (20.5, 12.5), slope 1/2: x = 8 at y = 6.25 (row 0), y = 8 at
    // x = 11.5 (column 1), x = 16 at y = 10.25 (row 1).
    EXPECT_EQ(CellsAlongPath(4, 4, 20, 12), (Cells{{0, 0}, {1, 0}, {1, 1}, {2, 1}}));
    // Left and up, into negative cells (the pointer left the window while the button is held).
    EXPECT_EQ(CellsAlongPath(3, 3, -5, 3), (Cells{{0, 0}, {-1, 0}}));
    EXPECT_EQ(CellsAlongPath(20, 20, 20, -1), (Cells{{2, 2}, {2, 1}, {2, 0}, {2, -1}}));
    // Within one cell, and not moving at all.
    EXPECT_EQ(CellsAlongPath(1, 1, 6, 6), (Cells{{0, 0}}));
    EXPECT_EQ(CellsAlongPath(9, 9, 9, 9), (Cells{{1, 1}}));
}

} // namespace
} // namespace korvane
