// The editors' canvases after a paint, an undo and a redo draw again only what changed (one
// room of the Rooms canvas, one cell of the edit canvas): what they show must be, pixel for
// pixel, what the same canvas shows once it has forgotten its last drawing and drawn
// everything again, also with the highlights that shade by use.
#include "EditorTestSupport.h"
#include "HallwayTestLevels.h"
#include "editors/CHallwayEditorDlg.h"
#include "editors/CRoomEditorDlg.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include <functional>

namespace korvane {
namespace {

using test::Canvas;
using test::ClickItem;
using test::Find;

constexpr int kHighlights = 1021;
constexpr int kRoomPixels = 64;     // a room on the Rooms canvases (a quarter of its size)
constexpr int kAssemblyPixels = 32; // an assembly on the room editor's edit canvas

// The canvas as it shows now, then as it shows drawn whole by draw from nothing.
struct TwoPictures {
    QImage redrawn;
    QImage whole;
};
TwoPictures Pictures(CCanvasControl& canvas, const std::function<void()>& draw) {
    canvas.repaint();
    TwoPictures pictures{canvas.screenImage().copy(), {}};
    canvas.renderer().ForgetRetainedDrawing();
    draw();
    canvas.repaint();
    pictures.whole = canvas.screenImage().copy();
    return pictures;
}

void ExpectSamePixels(const TwoPictures& pictures, const char* what) {
    ASSERT_FALSE(pictures.whole.isNull()) << what;
    ASSERT_EQ(pictures.redrawn.size(), pictures.whole.size()) << what;
    for (int y = 0; y < pictures.whole.height(); ++y) {
        for (int x = 0; x < pictures.whole.width(); ++x) {
            ASSERT_EQ(pictures.redrawn.pixel(x, y), pictures.whole.pixel(x, y))
                << what << " at " << x << "," << y;
        }
    }
}

class RoomEditorRedrawTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        level_ = test::DemoLevel(3);
        dialog_ = std::make_unique<CRoomEditorDlg>(display_.context, *level_);
        dialog_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
        test::Choose(Find<QComboBox>(*dialog_, kHighlights), GetParam());
    }
    CCanvasControl& rooms() { return Canvas(*dialog_, 1050); }
    CCanvasControl& edit() { return Canvas(*dialog_, 1051); }
    CCanvasControl& assemblies() { return Canvas(*dialog_, 1006); }

    // Both canvases that a paint changes, each as it shows against drawn whole.
    void ExpectBothAsDrawnWhole(const char* step) {
        ExpectSamePixels(Pictures(rooms(), [this] { rooms().DrawAllRooms(); }), step);
        ExpectSamePixels(Pictures(edit(), [this] { edit().DrawRoom(); }), step);
    }

    test::EditorDisplay display_;
    std::unique_ptr<LevelRecord> level_;
    std::unique_ptr<CRoomEditorDlg> dialog_;
};

TEST_P(RoomEditorRedrawTest, PaintUndoAndRedoShowWhatAWholeDrawingShows) {
    ClickItem(rooms(), 1, 1, kRoomPixels); // room 5
    ASSERT_EQ(dialog_->selectedItem(), 5);
    rooms().repaint();
    edit().repaint();
    const QImage roomsBefore = rooms().screenImage().copy();
    const QImage editBefore = edit().screenImage().copy();
    // An assembly that is not in cell 9 of room 5 yet.
    const int assembly = level_->rooms[5].cells[9] == 0x41 ? 0x42 : 0x41;
    ClickItem(assemblies(), assembly % 16, assembly / 16, kAssemblyPixels);
    ClickItem(edit(), 1, 1, kAssemblyPixels); // cell 9
    ASSERT_EQ(dialog_->workingCopy().rooms[5].cells[9], assembly);
    rooms().repaint();
    edit().repaint();
    EXPECT_NE(rooms().screenImage(), roomsBefore) << "the paint shows";
    EXPECT_NE(edit().screenImage(), editBefore) << "the paint shows";
    ExpectBothAsDrawnWhole("paint");

    test::ClickNamedButton(*dialog_, "undo");
    ASSERT_EQ(dialog_->workingCopy().rooms[5].cells[9], level_->rooms[5].cells[9]);
    ExpectBothAsDrawnWhole("undo");
    test::ClickNamedButton(*dialog_, "redo");
    ASSERT_EQ(dialog_->workingCopy().rooms[5].cells[9], assembly);
    ExpectBothAsDrawnWhole("redo");

    // Another room and another cell, then the pointer elsewhere on the edit canvas.
    ClickItem(rooms(), 0, 3, kRoomPixels); // room 12
    ClickItem(edit(), 7, 6, kAssemblyPixels);
    ASSERT_EQ(dialog_->workingCopy().rooms[12].cells[55], assembly);
    ExpectBothAsDrawnWhole("second paint");
    test::ClickNamedButton(*dialog_, "undo");
    ExpectBothAsDrawnWhole("second undo");
}

// No shading, shade all, a block type, and the unused items shaded by their use.
INSTANTIATE_TEST_SUITE_P(Highlights, RoomEditorRedrawTest, ::testing::Values(17, 16, 1, 18));

// In the hallway editor a painted room changes the use of two rooms: with the unused highlight
// both change their shading on the Rooms canvas.
TEST(HallwayEditorRedrawTest, APaintedRoomShadesTwoRoomsAsAWholeDrawingDoes) {
    test::EditorDisplay display;
    LevelRecord level = test::MakeHallwayLevel({3, 2, 4});
    CHallwayEditorDlg dialog(display.context, level);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    test::Choose(Find<QComboBox>(dialog, kHighlights), 18);
    CCanvasControl& rooms = Canvas(dialog, 1050);
    CCanvasControl& hallway = Canvas(dialog, 1008);
    rooms.repaint();
    const QImage before = rooms.screenImage().copy();
    // Room 2 (row 0, column 2) into position 0, where room 0 was: room 0 is used no more.
    ClickItem(rooms, 2, 0, kRoomPixels);
    ASSERT_EQ(dialog.selectedPart(), 2);
    ClickItem(hallway, 0, 0, 256);
    ASSERT_EQ(dialog.workingCopy().roomOrder[0], 2);
    ASSERT_EQ(dialog.workingCopy().roomUse[0], 0);
    rooms.repaint();
    EXPECT_NE(rooms.screenImage(), before) << "the shading changed";
    ExpectSamePixels(Pictures(rooms, [&] { rooms.DrawAllRooms(); }), "paint");
    test::ClickNamedButton(dialog, "undo");
    ASSERT_EQ(dialog.workingCopy().roomUse[0], 1);
    ExpectSamePixels(Pictures(rooms, [&] { rooms.DrawAllRooms(); }), "undo");
    test::ClickNamedButton(dialog, "redo");
    ExpectSamePixels(Pictures(rooms, [&] { rooms.DrawAllRooms(); }), "redo");
}

} // namespace
} // namespace korvane
