// Painting by dragging in the block, assembly, room and hallway editors: every cell the pointer
// crosses while the button is held, the cells between two far-apart moves included, as one
// undo step named with its count; the right button picks up the part under the pointer.
#include "EditorTestSupport.h"
#include "HallwayTestLevels.h"
#include "editors/CAssemblyEditorDlg.h"
#include "editors/CBlockEditorDlg.h"
#include "editors/CHallwayEditorDlg.h"
#include "editors/CRoomEditorDlg.h"
#include "tests/canvas/CanvasTestSupport.h"

#include <QShortcut>
#include <QTest>

namespace korvane {
namespace {

using test::Canvas;
using test::ClickItem;

// A stroke: a press at the first point, one move with the left button held to each of the
// others, and the release at the last.
void Stroke(CCanvasControl& canvas, const std::vector<QPoint>& points) {
    test::Move(canvas, points.front());
    test::Press(canvas, points.front());
    for (std::size_t i = 1; i < points.size(); ++i) {
        test::Move(canvas, points[i], Qt::LeftButton);
    }
    test::Release(canvas, points.back());
}

void RightClick(CCanvasControl& canvas, QPoint pos) {
    test::SendMouse(canvas, QEvent::MouseButtonPress, pos, Qt::RightButton);
    test::SendMouse(canvas, QEvent::MouseButtonRelease, pos, Qt::RightButton);
}

// The middle of the 32-pixel cell (column, row).
QPoint Cell32(int column, int row) {
    return {column * 32 + 16, row * 32 + 16};
}

class RoomStrokeTest : public ::testing::Test {
protected:
    void SetUp() override {
        level_ = test::DemoLevel(3);
        // Room r, cell i holds assembly (r * 8 + i) mod 256: room 5 holds 40 to 103.
        for (int r = 0; r < kRoomCount; ++r) {
            for (int i = 0; i < 64; ++i) {
                level_->rooms[static_cast<std::size_t>(r)].cells[static_cast<std::size_t>(i)] =
                    static_cast<std::uint8_t>(r * 8 + i);
            }
        }
        dialog_ = std::make_unique<CRoomEditorDlg>(display_.context, *level_);
        dialog_->show();
        ClickItem(Canvas(*dialog_, ids::kRoomsCanvas), 1, 1, 64);      // room 5
        ClickItem(Canvas(*dialog_, ids::kAssembliesCanvas), 0, 1, 32); // assembly $10
        ASSERT_EQ(dialog_->selectedItem(), 5);
        ASSERT_EQ(dialog_->selectedPart(), 0x10);
        before_ = dialog_->workingCopy();
    }
    CCanvasControl& edit() { return Canvas(*dialog_, ids::kRoomEditCanvas); }
    // The working copy as it was with assembly $10 in the cells of room 5.
    LevelRecord PaintedIn(std::initializer_list<int> cells) const {
        LevelRecord expected = before_;
        for (const int cell : cells) {
            expected.rooms[5].cells[static_cast<std::size_t>(cell)] = 0x10;
        }
        return expected;
    }
    void ExpectOneStep(const LevelRecord& expected, const char* text) {
        EXPECT_EQ(dialog_->workingCopy(), expected);
        ASSERT_EQ(dialog_->undoStack().count(), 1);
        EXPECT_EQ(dialog_->undoStack().undoText(), QString::fromLatin1(text));
        // One undo takes the whole stroke back.
        test::ClickNamedButton(*dialog_, "undo");
        EXPECT_EQ(dialog_->workingCopy(), before_);
        test::ClickNamedButton(*dialog_, "redo");
        EXPECT_EQ(dialog_->workingCopy(), expected);
    }

    test::EditorDisplay display_;
    std::unique_ptr<LevelRecord> level_;
    std::unique_ptr<CRoomEditorDlg> dialog_;
    LevelRecord before_;
};

TEST_F(RoomStrokeTest, ADragAlongRow2FromCell17To23IsOneStepOf7Cells) {
    Stroke(edit(), {Cell32(1, 2), Cell32(2, 2), Cell32(3, 2), Cell32(5, 2), Cell32(7, 2)});
    ExpectOneStep(PaintedIn({17, 18, 19, 20, 21, 22, 23}),
                  "Paint assembly $10 into room 5, 7 cells");
}

TEST_F(RoomStrokeTest, TheDiagonalThroughTheCornersPaintsTheDiagonalCellsOnly) {
    Stroke(edit(), {Cell32(0, 0), Cell32(3, 3), Cell32(7, 7)});
    ExpectOneStep(PaintedIn({0, 9, 18, 27, 36, 45, 54, 63}),
                  "Paint assembly $10 into room 5, 8 cells");
}

TEST_F(RoomStrokeTest, OneFastMoveStillPaintsEveryCellBetween) {
    // (16.5, 16.5) to (240.5, 112.5) is 7 cells across and 3 down; in cell units the path
    // meets x = 1 .. 7 at t = 0.069, 0.212, 0.355, 0.498, 0.641, 0.783, 0.926 and y = 1 .. 3 at
    // t = 0.162, 0.495, 0.828: (0,0) (1,0) (1,1) (2,1) (3,1) (3,2) (4,2) (5,2) (6,2) (6,3) (7,3).
    Stroke(edit(), {Cell32(0, 0), {240, 112}});
    ExpectOneStep(PaintedIn({0, 1, 9, 10, 11, 19, 20, 21, 22, 30, 31}),
                  "Paint assembly $10 into room 5, 11 cells");
}

TEST_F(RoomStrokeTest, AOneCellStrokeKeepsItsNameAndAStrokeThatChangesNothingMakesNoStep) {
    Stroke(edit(), {Cell32(3, 0), {100, 10}, {120, 30}});
    EXPECT_EQ(dialog_->undoStack().undoText(),
              QStringLiteral("Paint assembly $10 into room 5, cell 3"));
    EXPECT_EQ(dialog_->workingCopy(), PaintedIn({3}));
    // Over cells 2 to 4 now: only 2 and 4 change, and the count says so.
    Stroke(edit(), {Cell32(2, 0), Cell32(4, 0)});
    EXPECT_EQ(dialog_->undoStack().count(), 2);
    EXPECT_EQ(dialog_->undoStack().undoText(),
              QStringLiteral("Paint assembly $10 into room 5, 2 cells"));
    Stroke(edit(), {Cell32(2, 0), Cell32(4, 0)});
    EXPECT_EQ(dialog_->undoStack().count(), 2);
    EXPECT_EQ(dialog_->workingCopy(), PaintedIn({2, 3, 4}));
}

TEST_F(RoomStrokeTest, UndoAskedForDuringTheStrokeWaitsAndTakesTheWholeStroke) {
    test::Move(edit(), Cell32(0, 4));
    test::Press(edit(), Cell32(0, 4));
    test::Move(edit(), Cell32(2, 4), Qt::LeftButton);
    EXPECT_EQ(dialog_->workingCopy(), PaintedIn({32, 33, 34})); // shown at once
    // Undo by its key (the button is not enabled before the stroke is a step).
    for (QShortcut* key : dialog_->findChildren<QShortcut*>()) {
        if (key->key() == QKeySequence(QKeySequence::Undo)) {
            emit key->activated();
        }
    }
    EXPECT_EQ(dialog_->waitingCommands(), 1u);
    test::Release(edit(), Cell32(2, 4));
    EXPECT_EQ(dialog_->workingCopy(), before_);
    EXPECT_EQ(dialog_->undoStack().count(), 1);
    EXPECT_EQ(dialog_->undoStack().redoText(),
              QStringLiteral("Paint assembly $10 into room 5, 3 cells"));
}

TEST_F(RoomStrokeTest, WithTheDropperADragPaintsNothing) {
    test::ClickButton(*dialog_, ids::kDropper);
    Stroke(edit(), {Cell32(0, 0), Cell32(7, 0)});
    EXPECT_EQ(dialog_->workingCopy(), before_);
    EXPECT_EQ(dialog_->undoStack().count(), 0);
    EXPECT_EQ(dialog_->selectedPart(), 40); // the press picked cell 0
}

TEST_F(RoomStrokeTest, TheRightButtonPicksTheAssemblyAndKeepsPaint) {
    RightClick(edit(), Cell32(3, 1)); // cell 11 holds 51
    EXPECT_EQ(dialog_->selectedPart(), 51);
    EXPECT_EQ(dialog_->tool(), EditorTool::Paint);
    EXPECT_EQ(dialog_->undoStack().count(), 0);
    // The next press paints what was picked.
    ClickItem(edit(), 0, 0, 32);
    EXPECT_EQ(dialog_->workingCopy().rooms[5].cells[0], 51);
}

// Blocks and assemblies: a 2 x 2 edit canvas of 32-pixel quarters.
TEST(QuarterStrokeTest, BlockQuartersAlongARowAcrossTheAntiDiagonalAndRightClick) {
    test::EditorDisplay display;
    auto level = test::DemoLevel(3);
    level->blocks[0] = Block{{1, 2, 3, 4}, level->blocks[0].attributes};
    CBlockEditorDlg dialog(display.context, *level);
    dialog.show();
    CCanvasControl& edit = Canvas(dialog, ids::kBlockEditCanvas);
    ASSERT_EQ(edit.size(), QSize(64, 64));
    // Tile 0 (chosen at opening) along the top row: quarters 0 and 1.
    Stroke(edit, {Cell32(0, 0), Cell32(1, 0)});
    EXPECT_EQ(dialog.workingCopy().blocks[0].tiles, (std::array<std::uint8_t, 4>{0, 0, 3, 4}));
    EXPECT_EQ(dialog.undoStack().undoText(),
              QStringLiteral("Paint tile $00 into block 0, 2 quarters"));
    test::ClickNamedButton(dialog, "undo");
    // From (16.5, 48.5) up to (48.5, 16.5): x = 32 comes at t = 0.484, before y = 32 at
    // t = 0.516, so quarter 3 lies between quarters 2 and 1.
    Stroke(edit, {Cell32(0, 1), Cell32(1, 0)});
    EXPECT_EQ(dialog.workingCopy().blocks[0].tiles, (std::array<std::uint8_t, 4>{1, 0, 0, 0}));
    EXPECT_EQ(dialog.undoStack().undoText(),
              QStringLiteral("Paint tile $00 into block 0, 3 quarters"));
    EXPECT_EQ(dialog.undoStack().count(), 1);
    RightClick(edit, Cell32(0, 0));
    EXPECT_EQ(dialog.selectedPart(), 1);
    EXPECT_EQ(dialog.tool(), EditorTool::Paint);
}

TEST(QuarterStrokeTest, AssemblyQuartersInOneFastDiagonalMove) {
    test::EditorDisplay display;
    auto level = test::DemoLevel(3);
    level->assemblies[0].blocks = {5, 6, 7, 8};
    CAssemblyEditorDlg dialog(display.context, *level);
    dialog.show();
    CCanvasControl& edit = Canvas(dialog, ids::kAssemblyEditCanvas);
    // Exactly through the middle corner: quarters 0 and 3 only.
    Stroke(edit, {{4, 4}, {60, 60}});
    EXPECT_EQ(dialog.workingCopy().assemblies[0].blocks, (std::array<std::uint8_t, 4>{0, 6, 7, 0}));
    EXPECT_EQ(dialog.undoStack().count(), 1);
    EXPECT_EQ(dialog.undoStack().undoText(),
              QStringLiteral("Paint block $00 into assembly 0, 2 quarters"));
    RightClick(edit, Cell32(1, 0));
    EXPECT_EQ(dialog.selectedPart(), 6);
}

// The hallway canvas shows one room position at a time (256 pixels): a stroke paints the one
// under the pointer, and a pointer leaving the canvas paints nothing more.
TEST(HallwayStrokeTest, AStrokeOverOnePositionIsOneStepAndTheRightButtonPicks) {
    test::EditorDisplay display;
    auto level = std::make_unique<LevelRecord>(test::MakeHallwayLevel({3, 3, 2}, {}));
    CHallwayEditorDlg dialog(display.context, *level);
    dialog.show();
    CCanvasControl& hallway = Canvas(dialog, ids::kHallwayCanvas);
    ClickItem(Canvas(dialog, ids::kRoomsCanvas), 1, 1, 64); // room 9
    ASSERT_EQ(dialog.selectedPart(), 9);
    const LevelRecord before = dialog.workingCopy();
    ASSERT_NE(before.GetHallwayRoom(0, 1), 9);
    hallway.Scroll(ScrollRequest::ThumbTrack, 32); // position 1
    Stroke(hallway, {{40, 60}, {230, 200}, {-30, 100}});
    LevelRecord expected = before;
    ASSERT_EQ(expected.SetHallwayRoom(0, 1, 9), HallwayResult::Ok);
    EXPECT_EQ(dialog.workingCopy(), expected);
    EXPECT_EQ(dialog.undoStack().count(), 1);
    EXPECT_EQ(dialog.undoStack().undoText(), QStringLiteral("Paint room 9 into hallway 0, room 1"));
    // The right button picks up position 2's room, with Paint still chosen.
    const int third = before.GetHallwayRoom(0, 2);
    ASSERT_NE(third, 9);
    hallway.Scroll(ScrollRequest::ThumbTrack, 64);
    RightClick(hallway, {100, 100});
    EXPECT_EQ(dialog.selectedPart(), third);
    EXPECT_EQ(dialog.tool(), EditorTool::Paint);
    EXPECT_EQ(dialog.undoStack().count(), 1);
}

} // namespace
} // namespace korvane
