// The editors' keys (B Paint, I Dropper, F Bucket, Ctrl+G the grid, the standard Copy and
// Paste) and the wheel over a canvas that scrolls.
#include "EditorTestSupport.h"
#include "HallwayTestLevels.h"
#include "editors/CHallwayEditorDlg.h"
#include "editors/CRoomEditorDlg.h"
#include "editors/CTileEditorDlg.h"

#include <QApplication>
#include <QTest>
#include <QWheelEvent>

#include <set>

namespace korvane {
namespace {

using test::Canvas;
using test::ClickItem;

void Wheel(QWidget& widget, QPoint angle, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPointF pos(10, 10);
    QWheelEvent event(pos, widget.mapToGlobal(pos), QPoint(), angle, Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&widget, &event);
}

bool Checked(QWidget& dialog, int id) {
    return test::Find<QPushButton>(dialog, id).isChecked();
}

class RoomKeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        level_ = test::DemoLevel(3);
        dialog_ = std::make_unique<CRoomEditorDlg>(display_.context, *level_);
        dialog_->show();
        dialog_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog_.get()));
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(dialog_.get(), static_cast<Qt::Key>(key), modifiers);
    }
    CCanvasControl& rooms() { return Canvas(*dialog_, ids::kRoomsCanvas); }

    test::EditorDisplay display_;
    std::unique_ptr<LevelRecord> level_;
    std::unique_ptr<CRoomEditorDlg> dialog_;
};

TEST_F(RoomKeysTest, IChoosesTheDropperAndBPaint) {
    Key(Qt::Key_I);
    EXPECT_EQ(dialog_->tool(), EditorTool::Dropper);
    EXPECT_TRUE(Checked(*dialog_, ids::kDropper));
    EXPECT_FALSE(Checked(*dialog_, ids::kPaint));
    EXPECT_EQ(Canvas(*dialog_, ids::kRoomEditCanvas).pointerMode(), PointerMode::Dropper);
    Key(Qt::Key_B);
    EXPECT_EQ(dialog_->tool(), EditorTool::Paint);
    EXPECT_TRUE(Checked(*dialog_, ids::kPaint));
    EXPECT_EQ(Canvas(*dialog_, ids::kRoomEditCanvas).pointerMode(), PointerMode::Paint);
}

TEST_F(RoomKeysTest, CtrlGTogglesTheGridOfEveryCanvas) {
    ASSERT_NE(dialog_->gridFlag(), 0);
    Key(Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(dialog_->gridFlag(), 0);
    EXPECT_FALSE(Canvas(*dialog_, ids::kRoomEditCanvas).renderer().grid().shown);
    EXPECT_FALSE(rooms().renderer().grid().shown);
    EXPECT_EQ(test::Find<QPushButton>(*dialog_, ids::kGrid).property("bitmap").toInt(), 184);
    Key(Qt::Key_G, Qt::ControlModifier);
    EXPECT_NE(dialog_->gridFlag(), 0);
    EXPECT_TRUE(rooms().renderer().grid().shown);
}

TEST_F(RoomKeysTest, TheStandardCopyAndPasteKeysCopyRoom1IntoRoom4) {
    ClickItem(rooms(), 1, 0, 64); // room 1
    const QKeySequence copy(QKeySequence::Copy);
    const QKeySequence paste(QKeySequence::Paste);
    ASSERT_FALSE(copy.isEmpty());
    QTest::keySequence(dialog_.get(), copy);
    const Room room1 = level_->rooms[1];
    EXPECT_EQ(dialog_->clipboard(),
              std::vector<std::uint8_t>(room1.cells.begin(), room1.cells.end()));
    ClickItem(rooms(), 0, 1, 64); // room 4
    QTest::keySequence(dialog_.get(), paste);
    EXPECT_EQ(dialog_->workingCopy().rooms[4], room1);
    EXPECT_EQ(dialog_->undoStack().undoText(), QStringLiteral("Paste into room 4"));
}

TEST_F(RoomKeysTest, TheWheelScrollsTheRoomsCanvasAcross) {
    // The rooms canvas is 4 room columns of 32 cells at a quarter of their size, 2 shown: it
    // scrolls from 0 to 64 cells, 4 cells (one screen cell) a line, 3 lines a notch.
    ASSERT_EQ(QApplication::wheelScrollLines(), 3);
    Wheel(rooms(), {0, -120});
    EXPECT_EQ(rooms().scrollPosition(), 12);
    EXPECT_EQ(rooms().scrollBar()->value(), 12);
    Wheel(rooms(), {0, 120});
    EXPECT_EQ(rooms().scrollPosition(), 0);
    // Across: a horizontal wheel, and Shift with the wheel.
    Wheel(rooms(), {-120, 0});
    EXPECT_EQ(rooms().scrollPosition(), 12);
    Wheel(rooms(), {0, -120}, Qt::ShiftModifier);
    EXPECT_EQ(rooms().scrollPosition(), 24);
    // Half notches add up; the end stops the scrolling.
    Wheel(rooms(), {0, -60});
    EXPECT_EQ(rooms().scrollPosition(), 24);
    Wheel(rooms(), {0, -60});
    EXPECT_EQ(rooms().scrollPosition(), 36);
    Wheel(rooms(), {0, -1200});
    EXPECT_EQ(rooms().scrollPosition(), 64);
    // A canvas that does not scroll lets the wheel go on.
    CCanvasControl& edit = Canvas(*dialog_, ids::kRoomEditCanvas);
    const QPointF pos(10, 10);
    QWheelEvent event(pos, edit.mapToGlobal(pos), QPoint(), {0, -120}, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&edit, &event);
    EXPECT_FALSE(event.isAccepted());
    EXPECT_EQ(edit.scrollPosition(), 0);
}

TEST_F(RoomKeysTest, TabReachesTheCanvasesWhichShowTheirFocus) {
    CCanvasControl& edit = Canvas(*dialog_, ids::kRoomEditCanvas);
    CCanvasControl& assemblies = Canvas(*dialog_, ids::kAssembliesCanvas);
    // Tab goes round every control that takes it: the three canvases are among them.
    std::set<QWidget*> reached;
    test::Find<QPushButton>(*dialog_, ids::kOk).setFocus();
    for (int press = 0; press < 40; ++press) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached.insert(QApplication::focusWidget());
    }
    EXPECT_EQ(reached.count(&rooms()), 1u);
    EXPECT_EQ(reached.count(&edit), 1u);
    EXPECT_EQ(reached.count(&assemblies), 1u);
    // The canvas with the focus is framed in the highlight colour; without it, not.
    edit.setFocus();
    const QRgb highlight = dialog_->palette().color(QPalette::Highlight).rgb();
    EXPECT_EQ(edit.grab().toImage().pixel(1, 100), highlight);
    rooms().setFocus();
    EXPECT_NE(edit.grab().toImage().pixel(1, 100), highlight);
    EXPECT_EQ(rooms().grab().toImage().pixel(1, 100), highlight);
}

TEST_F(RoomKeysTest, ArrowsSelectRoomsAndMoveTheCellCursorWhichSpacePaintsOrPicks) {
    // Rooms: 4 to a row.
    rooms().setFocus();
    QTest::keyClick(&rooms(), Qt::Key_Right);
    EXPECT_EQ(dialog_->selectedItem(), 1);
    QTest::keyClick(&rooms(), Qt::Key_Down);
    EXPECT_EQ(dialog_->selectedItem(), 5);
    EXPECT_EQ(Canvas(*dialog_, ids::kRoomEditCanvas).renderer().currentRoom(), 5);
    QTest::keyClick(&rooms(), Qt::Key_Left);
    QTest::keyClick(&rooms(), Qt::Key_Left); // stops at the first column
    EXPECT_EQ(dialog_->selectedItem(), 4);
    // Assemblies: 16 to a row; the arrow selects the part.
    CCanvasControl& assemblies = Canvas(*dialog_, ids::kAssembliesCanvas);
    assemblies.setFocus();
    QTest::keyClick(&assemblies, Qt::Key_Down);
    QTest::keyClick(&assemblies, Qt::Key_Right);
    EXPECT_EQ(dialog_->selectedPart(), 17);
    // The edit canvas: 8 cells to a row; the cursor moves, Space paints at it.
    CCanvasControl& edit = Canvas(*dialog_, ids::kRoomEditCanvas);
    edit.setFocus();
    const LevelRecord before = dialog_->workingCopy();
    QTest::keyClick(&edit, Qt::Key_Right);
    QTest::keyClick(&edit, Qt::Key_Right);
    QTest::keyClick(&edit, Qt::Key_Down);
    EXPECT_EQ(edit.keyItem(), 10);
    EXPECT_EQ(dialog_->workingCopy(), before); // moving paints nothing
    QTest::keyClick(&edit, Qt::Key_Space);
    LevelRecord expected = before;
    expected.rooms[4].cells[10] = 17;
    EXPECT_EQ(dialog_->workingCopy(), expected);
    EXPECT_EQ(dialog_->undoStack().undoText(),
              QStringLiteral("Paint assembly $11 into room 4, cell 10"));
    // With the Dropper, Space picks: cell 11 of room 4.
    test::ClickButton(*dialog_, ids::kDropper);
    edit.setFocus();
    QTest::keyClick(&edit, Qt::Key_Right);
    QTest::keyClick(&edit, Qt::Key_Space);
    EXPECT_EQ(dialog_->selectedPart(), before.rooms[4].cells[11]);
    EXPECT_EQ(dialog_->undoStack().count(), 1);
}

TEST(EditorKeysTest, TheHallwayCanvasScrollsAlongTheHallwayByTheWheel) {
    test::EditorDisplay display;
    auto level = std::make_unique<LevelRecord>(test::MakeHallwayLevel({3, 3, 2}, {}));
    CHallwayEditorDlg dialog(display.context, *level);
    dialog.show();
    CCanvasControl& hallway = Canvas(dialog, ids::kHallwayCanvas);
    // 3 rooms of 32 cells, one shown: a line is one cell.
    Wheel(hallway, {0, -240});
    EXPECT_EQ(hallway.scrollPosition(), 6);
}

TEST(EditorKeysTest, FChoosesTheTileEditorsBucket) {
    test::EditorDisplay display;
    auto level = test::DemoLevel(3);
    CTileEditorDlg dialog(display.context, *level);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClick(&dialog, Qt::Key_F);
    EXPECT_TRUE(Checked(dialog, ids::kBucket));
    EXPECT_FALSE(Checked(dialog, ids::kPaint));
    QTest::keyClick(&dialog, Qt::Key_I);
    EXPECT_TRUE(Checked(dialog, ids::kDropper));
    EXPECT_FALSE(Checked(dialog, ids::kBucket));
    QTest::keyClick(&dialog, Qt::Key_B);
    EXPECT_TRUE(Checked(dialog, ids::kPaint));
}

} // namespace
} // namespace korvane
