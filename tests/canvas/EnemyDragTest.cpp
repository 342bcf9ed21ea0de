// Enemy-drag mode of the hallway canvas: hit tests, dragging on the canvas's own copy and the
// notifications 1, 3 and 4.
#include "CanvasTestLevels.h"
#include "CanvasTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvane {
namespace {

using test::NotificationLog;
using test::RecordingDisplay;

constexpr Qt::MouseButtons kHeld = Qt::LeftButton;

// The Hallway Enemies editor's canvas: one room visible, hallway 0 of two rooms.
struct EnemyCanvas {
    RecordingDisplay display;
    LevelRecord level = test::MakeLevel({2, 1});
    CCanvasControl canvas{display.context, 1008};

    EnemyCanvas() {
        test::AddPlacement(level, 0, 200, 100, 5); // A
        test::AddPlacement(level, 0, 230, 50, 6);  // B
        test::AddPlacement(level, 2, 10, 10, 7);   // C, in hallway 1
    }
    void Load(int snapX = 8, int snapY = 8) {
        canvas.SetView(32, 32);
        canvas.SetHallway(0, &level, nullptr);
        canvas.DrawHallway();
        canvas.SetSelectionFrame(true, 1);
        canvas.SetPointerMode(PointerMode::EnemyDrag);
        canvas.SetSnap(snapX, snapY);
    }
};

void ExpectEnemyRecord(const CanvasNotification& n, CanvasCode code, int index, int roomPosition,
                       int x, int y, int enemyId) {
    EXPECT_EQ(n.code, code);
    EXPECT_EQ(n.item, index);
    EXPECT_EQ(n.itemUnderPointer, index);
    EXPECT_EQ(n.firstValue, roomPosition);
    EXPECT_EQ(n.secondValue, x);
    EXPECT_EQ(n.thirdValue, y);
    EXPECT_EQ(n.enemyId, enemyId);
    EXPECT_EQ(n.senderId, 1008);
}

TEST(CanvasEnemyDrag, DragAcrossARoomBoundaryIsReportedAtTheRelease) {
    EnemyCanvas e;
    e.Load();
    e.canvas.Scroll(ScrollRequest::ThumbTrack, 16); // half of room 0 and half of room 1
    ASSERT_EQ(e.canvas.scrollPosition(), 16);
    NotificationLog log(e.canvas);

    // A sits at window pixel 200 - 128 = 72.
    test::Press(e.canvas, {74, 98});
    ASSERT_EQ(log.records.size(), 1u);
    ExpectEnemyRecord(log.records[0], CanvasCode::Click, 0, 0, 200, 100, 5);
    EXPECT_TRUE(e.canvas.dragging());
    EXPECT_EQ(e.canvas.renderer().frame().x, 72);
    EXPECT_EQ(e.canvas.renderer().frame().y, 100);

    test::Move(e.canvas, {120, 98}, kHeld);
    test::Move(e.canvas, {170, 98}, kHeld); // 96 pixels right of the press: room 1, x 40
    EXPECT_EQ(log.records.size(), 1u);      // nothing is said while dragging
    const LevelRecord& copy = e.canvas.renderer().levelData();
    EXPECT_EQ(copy.enemies[0], (EnemyPlacement{230, 50, 0, 6})); // re-sorted: B first
    EXPECT_EQ(copy.enemies[1], (EnemyPlacement{40, 100, 1, 5}));
    EXPECT_EQ(e.canvas.selectedEnemy(), 1);
    EXPECT_EQ(e.canvas.renderer().frame().x, 168);
    EXPECT_EQ(e.canvas.renderer().frame().y, 100);
    EXPECT_EQ(e.level.enemies[0], (EnemyPlacement{200, 100, 0, 5})); // the owner's data

    test::Release(e.canvas, {170, 98});
    ASSERT_EQ(log.records.size(), 2u);
    ExpectEnemyRecord(log.records[1], CanvasCode::EnemyDragEnded, 1, 1, 40, 100, 5);
    EXPECT_FALSE(e.canvas.dragging());
    EXPECT_EQ(copy.enemyCount, 3);
    EXPECT_EQ(copy.enemies[2], (EnemyPlacement{10, 10, 2, 7}));
    // Moving afterwards drags nothing.
    test::Move(e.canvas, {10, 10});
    EXPECT_EQ(copy.enemies[1], (EnemyPlacement{40, 100, 1, 5}));
}

TEST(CanvasEnemyDrag, AtZoom2TheSameDragIsTwiceTheScreenDistance) {
    EnemyCanvas e;
    e.Load();
    e.canvas.SetZoom(2);
    EXPECT_EQ(e.canvas.size(), QSize(512, 512 + 16));
    e.canvas.Scroll(ScrollRequest::ThumbTrack, 16);
    NotificationLog log(e.canvas);
    // A at drawing pixel 72 is at screen pixel 144; a press beside it at 2 x (74, 98).
    test::Press(e.canvas, {148, 196});
    ASSERT_EQ(log.records.size(), 1u);
    ExpectEnemyRecord(log.records[0], CanvasCode::Click, 0, 0, 200, 100, 5);
    // 192 screen pixels right: 96 drawing pixels, into room 1 at x 40.
    test::Move(e.canvas, {240, 196}, kHeld);
    test::Move(e.canvas, {340, 196}, kHeld);
    test::Release(e.canvas, {340, 196});
    ASSERT_EQ(log.records.size(), 2u);
    ExpectEnemyRecord(log.records[1], CanvasCode::EnemyDragEnded, 1, 1, 40, 100, 5);
    // A press at screen pixel (0, 0) is far from every marker at this zoom.
    test::Press(e.canvas, {0, 0});
    EXPECT_EQ(log.records.size(), 2u);
}

TEST(CanvasEnemyDrag, TheButtonIsFreedAfterTheDragIsReportedAndNewDataEndsADrag) {
    EnemyCanvas e;
    e.Load();
    std::vector<std::string> said;
    QObject::connect(&e.canvas, &CSurfaceWindow::buttonHeld, [&] { said.push_back("held"); });
    QObject::connect(&e.canvas, &CSurfaceWindow::buttonFreed, [&] { said.push_back("freed"); });
    QObject::connect(&e.canvas, &CSurfaceWindow::notified, [&](const CanvasNotification& n) {
        said.push_back(n.code == CanvasCode::Click ? "click" : "dragEnded");
    });
    test::Press(e.canvas, {200, 100}); // A
    EXPECT_TRUE(e.canvas.buttonDown());
    test::Move(e.canvas, {220, 100}, kHeld);
    test::Release(e.canvas, {220, 100});
    EXPECT_EQ(said, (std::vector<std::string>{"held", "click", "dragEnded", "freed"}));
    EXPECT_FALSE(e.canvas.buttonDown());

    // The owner's data comes again during a drag (of B): the drag is over and says nothing,
    // and the canvas shows the owner's placements as they are.
    said.clear();
    test::Press(e.canvas, {230, 50});
    e.canvas.SetHallway(0, &e.level, nullptr);
    EXPECT_FALSE(e.canvas.dragging());
    test::Move(e.canvas, {100, 50}, kHeld);
    test::Release(e.canvas, {100, 50});
    EXPECT_EQ(said, (std::vector<std::string>{"held", "click", "freed"}));
    EXPECT_EQ(e.canvas.renderer().levelData().enemies, e.level.enemies);
}

TEST(CanvasEnemyDrag, SnapStepsKeepTheGrabOffset) {
    EnemyCanvas e;
    e.Load(32, 1);
    e.canvas.Scroll(ScrollRequest::ThumbTrack, 16);
    NotificationLog log(e.canvas);
    test::Press(e.canvas, {72, 100});
    test::Move(e.canvas, {92, 103}, kHeld);
    test::Release(e.canvas, {92, 103});
    ASSERT_EQ(log.records.size(), 2u);
    // x moved by one step of 32, y by the 3 pixels of the pointer.
    ExpectEnemyRecord(log.records[1], CanvasCode::EnemyDragEnded, 1, 0, 232, 103, 5);
}

TEST(CanvasEnemyDrag, OverlappingEnemiesPickTheEarlierOne) {
    RecordingDisplay display;
    LevelRecord level = test::MakeLevel({1});
    test::AddPlacement(level, 0, 100, 100, 1);
    test::AddPlacement(level, 0, 104, 104, 2);
    CCanvasControl canvas(display.context, 1008);
    canvas.SetView(32, 32);
    canvas.SetHallway(0, &level, nullptr);
    canvas.SetPointerMode(PointerMode::EnemyDrag);
    NotificationLog log(canvas);
    test::Press(canvas, {103, 103});
    test::Release(canvas, {103, 103});
    test::Press(canvas, {110, 110}); // out of the first one's reach
    test::Release(canvas, {110, 110});
    test::Press(canvas, {150, 150}); // no enemy: nothing
    test::Release(canvas, {150, 150});
    ASSERT_EQ(log.records.size(), 4u);
    ExpectEnemyRecord(log.records[0], CanvasCode::Click, 0, 0, 100, 100, 1);
    ExpectEnemyRecord(log.records[2], CanvasCode::Click, 1, 0, 104, 104, 2);
    EXPECT_FALSE(canvas.dragging());
}

TEST(CanvasEnemyDrag, DoubleClickSendsOneThreeFour) {
    EnemyCanvas e;
    e.Load();
    NotificationLog log(e.canvas);
    const QPoint a(201, 101);
    test::Press(e.canvas, a);
    test::Release(e.canvas, a);
    test::SendMouse(e.canvas, QEvent::MouseButtonDblClick, a);
    test::Release(e.canvas, a);
    ASSERT_EQ(log.records.size(), 3u);
    ExpectEnemyRecord(log.records[0], CanvasCode::Click, 0, 0, 200, 100, 5);
    ExpectEnemyRecord(log.records[1], CanvasCode::EnemyDragEnded, 0, 0, 200, 100, 5);
    ExpectEnemyRecord(log.records[2], CanvasCode::EnemyDoubleClick, 0, 0, 200, 100, 5);
    EXPECT_FALSE(e.canvas.dragging());
    EXPECT_EQ(e.canvas.renderer().levelData().enemies, e.level.enemies);
}

TEST(CanvasEnemyDrag, PointerLeavingTheCanvasKeepsThePlacementInside) {
    EnemyCanvas e;
    e.Load();
    NotificationLog log(e.canvas);
    test::Press(e.canvas, {200, 100});
    test::Move(e.canvas, {-50, 400}, kHeld);
    test::Release(e.canvas, {-50, 400});
    ASSERT_EQ(log.records.size(), 2u);
    // Held at the left edge and the bottom row: x 0, y (255 / 8) * 8 + 100 mod 8.
    ExpectEnemyRecord(log.records[1], CanvasCode::EnemyDragEnded, 0, 0, 0, 252, 5);
}

TEST(CanvasEnemyDrag, GrabPointerOverEnemiesAndBaseClicksWhenHidden) {
    EnemyCanvas e;
    e.Load();
    test::Move(e.canvas, {203, 97});
    EXPECT_EQ(e.canvas.cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(e.canvas.cursor().hotSpot(), QPoint(16, 18));
    test::Move(e.canvas, {20, 200});
    EXPECT_EQ(e.canvas.cursor().shape(), Qt::ArrowCursor);

    // With the enemies hidden the canvas takes ordinary clicks.
    e.canvas.SetShowEnemies(false);
    EXPECT_FALSE(e.canvas.enemyDragActive());
    NotificationLog log(e.canvas);
    test::Press(e.canvas, {200, 100});
    ASSERT_EQ(log.records.size(), 1u);
    EXPECT_EQ(log.records[0].code, CanvasCode::Click);
    EXPECT_EQ(log.records[0].firstValue, -1);
    EXPECT_FALSE(e.canvas.dragging());
}

} // namespace
} // namespace korvane
