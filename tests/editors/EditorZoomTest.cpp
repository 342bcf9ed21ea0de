// The editors' zoom and size: one zoom for all of a dialog's canvases by key and by Ctrl + wheel,
// clicks, the grid and the selection frame following it, the zoom kept for the next opening;
// dialogs that grow, canvases that show more as they do, and every editor fitting its screen
// with OK and Cancel in view.
#include "EditorTestSupport.h"
#include "HallwayTestLevels.h"
#include "editors/CAssemblyEditorDlg.h"
#include "editors/CBlockEditorDlg.h"
#include "editors/CEnemyPlacementDlg.h"
#include "editors/CHallwayEditorDlg.h"
#include "editors/CPaletteEditorDlg.h"
#include "editors/CRoomEditorDlg.h"
#include "editors/CTileEditorDlg.h"
#include "editors/EditorZoomSettings.h"
#include "tests/canvas/CanvasTestSupport.h"
#include "tests/support/DrawnInBlocks.h"

#include <QGuiApplication>
#include <QPaintEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

namespace korvane {
namespace {

using test::Canvas;

void CtrlWheel(QWidget& widget, int angle) {
    const QPointF pos(10, 10);
    QWheelEvent event(pos, widget.mapToGlobal(pos), QPoint(), QPoint(0, angle), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&widget, &event);
}

// Every widget pixel of a canvas's grab is its drawing pixel (x / zoom, y / zoom).
::testing::AssertionResult ShowsDrawingAtZoom(CCanvasControl& canvas, int zoom) {
    return test::DrawnInBlocks(canvas.grab().toImage(), canvas.screenImage(), zoom);
}

// Each test keeps its zooms in an INI file of its own.
class ZoomTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        settingsFile_ = folder_.filePath(QStringLiteral("zoom.ini"));
        EditorZoomSettings::UseSettingsFile(settingsFile_);
    }
    void TearDown() override { EditorZoomSettings::UseSettingsFile(QString()); }
    QVariant Kept(const char* name) const {
        return QSettings(settingsFile_, QSettings::IniFormat)
            .value(QStringLiteral("Zoom/") + QString::fromLatin1(name));
    }
    template <class Dialog> std::unique_ptr<Dialog> OpenShown() {
        auto dialog = std::make_unique<Dialog>(display_.context, *level_);
        dialog->show();
        dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        return dialog;
    }

    QTemporaryDir folder_;
    QString settingsFile_;
    test::EditorDisplay display_;
    std::unique_ptr<LevelRecord> level_ = test::DemoLevel(3);
};

TEST_F(ZoomTest, TheRoomEditorZoomsByKeyAndCtrlWheelAndClicksLandOnTheCellUnderThePointer) {
    auto dialog = OpenShown<CRoomEditorDlg>();
    CCanvasControl& edit = Canvas(*dialog, ids::kRoomEditCanvas);
    CCanvasControl& assemblies = Canvas(*dialog, ids::kAssembliesCanvas);
    ASSERT_EQ(dialog->zoom(), 1);
    EXPECT_EQ(edit.size(), QSize(256, 256)); // 8 x 8 assemblies of 32 pixels

    QTest::keySequence(dialog.get(), QKeySequence::ZoomIn);
    ASSERT_EQ(dialog->zoom(), 2);
    EXPECT_EQ(edit.size(), QSize(512, 512));
    EXPECT_EQ(assemblies.size(), QSize(1024, 1024));
    EXPECT_EQ(edit.displayScale(), 2);
    // Assembly $23 is column 3, row 2 of the 16 x 16 assemblies, 64 pixels each now.
    test::ClickItem(assemblies, 3, 2, 64);
    EXPECT_EQ(dialog->selectedPart(), 0x23);
    // Cell (5, 6) of the room: 64-pixel cells.
    test::ClickItem(edit, 5, 6, 64);
    EXPECT_EQ(dialog->lastCell(), 6 * 8 + 5);
    EXPECT_EQ(dialog->workingCopy().rooms[0].cells[53], 0x23);

    CtrlWheel(edit, 120);
    ASSERT_EQ(dialog->zoom(), 3);
    EXPECT_EQ(edit.size(), QSize(768, 768));
    test::ClickItem(assemblies, 15, 0, 96);
    EXPECT_EQ(dialog->selectedPart(), 0x0F);
    test::ClickItem(edit, 7, 7, 96);
    EXPECT_EQ(dialog->lastCell(), 63);
    EXPECT_EQ(dialog->workingCopy().rooms[0].cells[63], 0x0F);
    // One more notch of the wheel and a key past the largest zoom: 4 is the last step.
    CtrlWheel(assemblies, 120);
    QTest::keySequence(dialog.get(), QKeySequence::ZoomIn);
    EXPECT_EQ(dialog->zoom(), 4);
    EXPECT_EQ(edit.size(), QSize(1024, 1024));

    CtrlWheel(edit, -240); // two notches out
    EXPECT_EQ(dialog->zoom(), 2);
    QTest::keyClick(dialog.get(), Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(dialog->zoom(), 1);
    EXPECT_EQ(edit.size(), QSize(256, 256));
    QTest::keySequence(dialog.get(), QKeySequence::ZoomOut);
    EXPECT_EQ(dialog->zoom(), 1);
}

TEST_F(ZoomTest, TheGridAndTheSelectionFrameAreDrawnAtTheZoom) {
    auto dialog = OpenShown<CRoomEditorDlg>();
    dialog->SetZoom(2);
    CCanvasControl& assemblies = Canvas(*dialog, ids::kAssembliesCanvas);
    // The pointer over assembly (2, 1): 64-pixel assemblies of 4 cells each.
    test::Move(assemblies, QPoint(2 * 64 + 5, 1 * 64 + 60));
    const SelectionFrameState& frame = assemblies.renderer().frame();
    EXPECT_EQ(frame.firstColumn, 8);
    EXPECT_EQ(frame.lastColumn, 11);
    EXPECT_EQ(frame.firstRow, 4);
    EXPECT_EQ(frame.lastRow, 7);
    EXPECT_EQ(assemblies.ItemAtPixel(QPoint(2 * 64 + 5, 1 * 64 + 60)), 18);
    assemblies.repaint();
    EXPECT_TRUE(ShowsDrawingAtZoom(assemblies, 2));
    CCanvasControl& rooms = Canvas(*dialog, ids::kRoomsCanvas);
    rooms.repaint();
    EXPECT_TRUE(ShowsDrawingAtZoom(rooms, 2));
}

// Records the areas a widget is asked to repaint.
class PaintAreas : public QObject {
public:
    explicit PaintAreas(QWidget& widget) { widget.installEventFilter(this); }
    QRegion painted;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            painted += static_cast<QPaintEvent*>(event)->region();
        }
        return QObject::eventFilter(watched, event);
    }
};

TEST_F(ZoomTest, APaintLowInAZoomedCanvasIsRepaintedOnScreen) {
    auto dialog = OpenShown<CRoomEditorDlg>();
    dialog->SetZoom(2);
    CCanvasControl& edit = Canvas(*dialog, ids::kRoomEditCanvas);
    // The layouts take the new sizes as the events are handled.
    QTest::qWait(50);
    // Cell (5, 5) of the room: below the first half of the 512 x 512 canvas, in view.
    const QRect cell(5 * 64, 5 * 64, 64, 64);
    ASSERT_TRUE(edit.visibleRegion().contains(cell));
    // An assembly other than the one the cell holds.
    const int part = (dialog->workingCopy().rooms[0].cells[45] + 1) % 256;
    test::ClickItem(Canvas(*dialog, ids::kAssembliesCanvas), part % 16, part / 16, 64);
    ASSERT_EQ(dialog->selectedPart(), part);
    QTest::qWait(20);
    PaintAreas areas(edit);
    test::ClickItem(edit, 5, 5, 64);
    ASSERT_EQ(dialog->lastCell(), 45);
    ASSERT_EQ(dialog->workingCopy().rooms[0].cells[45], part);
    QTest::qWait(20);
    EXPECT_TRUE(areas.painted.contains(cell));
    // Only the area that changed is painted again (the cell, and the frame that left the
    // room's first cell): not the last column of the room.
    EXPECT_FALSE(areas.painted.intersects(QRect(7 * 64, 0, 64, 512)));
}

TEST_F(ZoomTest, EachEditorKeepsItsOwnZoomForTheNextOpening) {
    {
        auto dialog = OpenShown<CRoomEditorDlg>();
        QTest::keySequence(dialog.get(), QKeySequence::ZoomIn);
        QTest::keySequence(dialog.get(), QKeySequence::ZoomIn);
        EXPECT_EQ(dialog->zoom(), 3);
        dialog->reject();
    }
    EXPECT_EQ(Kept("CRoomEditorDlg").toInt(), 3);
    auto again = OpenShown<CRoomEditorDlg>();
    EXPECT_EQ(again->zoom(), 3);
    EXPECT_EQ(Canvas(*again, ids::kRoomEditCanvas).size(), QSize(768, 768));
    // Clicks land where they should at the zoom it opened with.
    test::ClickItem(Canvas(*again, ids::kRoomEditCanvas), 2, 1, 96);
    EXPECT_EQ(again->lastCell(), 10);
    // Another editor has a zoom of its own.
    auto blocks = OpenShown<CBlockEditorDlg>();
    EXPECT_EQ(blocks->zoom(), 1);
    EXPECT_FALSE(Kept("CBlockEditorDlg").isValid());
}

TEST_F(ZoomTest, AKeptZoomThatIsNoZoomOpensAt1OrTheLargest) {
    QSettings(settingsFile_, QSettings::IniFormat)
        .setValue(QStringLiteral("Zoom/CRoomEditorDlg"), QStringLiteral("large"));
    QSettings(settingsFile_, QSettings::IniFormat)
        .setValue(QStringLiteral("Zoom/CAssemblyEditorDlg"), 40);
    EXPECT_EQ(OpenShown<CRoomEditorDlg>()->zoom(), 1);
    EXPECT_EQ(OpenShown<CAssemblyEditorDlg>()->zoom(), 4);
}

TEST_F(ZoomTest, TheTileEditorZoomsItsPixelEditorWithItsCanvases) {
    auto dialog = OpenShown<CTileEditorDlg>();
    const QSize opening = dialog->size();
    auto& pixels = test::Find<CPixelEditorControl>(*dialog, ids::kPixelEditor);
    const int cell = pixels.cellSize();
    const QSize size = pixels.size();
    CtrlWheel(pixels, 120);
    ASSERT_EQ(dialog->zoom(), 2);
    EXPECT_EQ(pixels.cellSize(), 2 * cell);
    // 8 x 8 pixels, each cell wider by cell.
    EXPECT_EQ(pixels.size(), size + QSize(8 * cell, 8 * cell));
    // The tile's pixel (6, 1) under a click at the zoomed cell.
    const QPoint middle = pixels.CellRect(6, 1).center();
    EXPECT_EQ(pixels.CellAt(QPointF(middle)), QPoint(6, 1));
    EXPECT_EQ(pixels.CellRect(6, 1).size(), QSize(2 * cell, 2 * cell));
    // The dialog took the size of its larger content, and takes its first size again at 1.
    EXPECT_GT(dialog->width(), opening.width());
    EXPECT_GT(dialog->height(), opening.height());
    QTest::keyClick(dialog.get(), Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(dialog->size(), opening);
}

// Every editor at zoom 1 on the test screen: within its free area, OK and Cancel inside the
// dialog, the content scrolled where it is larger.
template <class Dialog> void ExpectFitsTheScreen(Dialog& dialog) {
    const QRect free = dialog.screen()->availableGeometry();
    EXPECT_LE(dialog.height(), free.height()) << dialog.windowTitle().toStdString();
    EXPECT_LE(dialog.width(), free.width()) << dialog.windowTitle().toStdString();
    for (int id : {ids::kOk, ids::kCancel}) {
        auto& button = test::Find<QPushButton>(dialog, id);
        const QRect inDialog(button.mapTo(&dialog, QPoint(0, 0)), button.size());
        EXPECT_TRUE(dialog.rect().contains(inDialog)) << dialog.windowTitle().toStdString();
    }
}

TEST_F(ZoomTest, EveryEditorFitsItsScreenWithOkAndCancelInView) {
    ExpectFitsTheScreen(*OpenShown<CBlockEditorDlg>());
    ExpectFitsTheScreen(*OpenShown<CAssemblyEditorDlg>());
    ExpectFitsTheScreen(*OpenShown<CTileEditorDlg>());
    ExpectFitsTheScreen(*OpenShown<CPaletteEditorDlg>());
    ExpectFitsTheScreen(*OpenShown<CHallwayEditorDlg>());
    auto room = OpenShown<CRoomEditorDlg>();
    ExpectFitsTheScreen(*room);
    // The room editor is taller than the test screen: its canvases scroll, at full size.
    if (room->screen()->availableGeometry().height() < 940) {
        EXPECT_GT(room->contentArea()->verticalScrollBar()->maximum(), 0);
    }
    EXPECT_EQ(Canvas(*room, ids::kAssembliesCanvas).size(), QSize(512, 512));
    // Zoom 4 stays within the screen too, the content scrolling both ways.
    room->SetZoom(4);
    ExpectFitsTheScreen(*room);
    EXPECT_GT(room->contentArea()->horizontalScrollBar()->maximum(), 0);
}

TEST_F(ZoomTest, TheHallwayCanvasShowsMoreOfTheHallwayAsTheDialogGrows) {
    // Hallway 0 is 8 rooms of 32 cells.
    *level_ = test::MakeHallwayLevel({8, 2});
    auto dialog = OpenShown<CHallwayEditorDlg>();
    CCanvasControl& hallway = Canvas(*dialog, ids::kHallwayCanvas);
    const int rooms = 8;
    ASSERT_EQ(hallway.renderer().gridWidth(), rooms * 32);
    EXPECT_EQ(hallway.renderer().view().visibleWidth, 32);
    EXPECT_EQ(hallway.width(), 256);
    EXPECT_EQ(hallway.scrollBar()->maximum(), rooms * 32 - 32);

    dialog->resize(dialog->width() + 400, dialog->height() + 100);
    QCoreApplication::processEvents();
    // The width goes to the two canvases that scroll, the hallway and the rooms.
    const int width = hallway.width();
    CCanvasControl& roomsCanvas = Canvas(*dialog, ids::kRoomsCanvas);
    EXPECT_GT(width, 256 + 100);
    EXPECT_GT(roomsCanvas.width(), 256 + 100);
    EXPECT_EQ(roomsCanvas.renderer().view().visibleWidth, roomsCanvas.width() / 8);
    EXPECT_EQ(hallway.renderer().view().visibleWidth, width / 8);
    EXPECT_EQ(hallway.scrollBar()->maximum(), rooms * 32 - width / 8);
    // The taller dialog does not stretch it: the rows are the hallway's.
    EXPECT_EQ(hallway.height(), 256 + 16);
    hallway.repaint();
    EXPECT_EQ(hallway.screenImage().width(), width);
    // A click in the newly shown part names the room under it: room 2 starts at pixel 512.
    hallway.Scroll(ScrollRequest::Top);
    const int item = hallway.ItemAtPixel(QPoint(2 * 256 + 10, 10));
    EXPECT_EQ(item, width >= 2 * 256 + 11 ? 2 : -1);

    // Zoom 2: the same least number of columns, each twice as wide.
    dialog->SetZoom(2);
    QCoreApplication::processEvents();
    EXPECT_GE(hallway.width(), 512);
    EXPECT_EQ(hallway.height(), 512 + 16);
    EXPECT_EQ(hallway.renderer().view().visibleWidth, std::max(32, hallway.width() / 16));
}

TEST_F(ZoomTest, TheRoomsCanvasOfTheRoomEditorGrowsButNeverBelowItsOwnSize) {
    auto dialog = OpenShown<CRoomEditorDlg>();
    CCanvasControl& rooms = Canvas(*dialog, ids::kRoomsCanvas);
    // Two of the four columns of rooms: 16 of 32 window cells, 64 of 128 content cells.
    EXPECT_EQ(rooms.width(), 128);
    EXPECT_EQ(rooms.renderer().view().visibleWidth, 16);
    EXPECT_EQ(rooms.scrollBar()->maximum(), 64);
    QWidget& content = *dialog->contentArea()->widget();
    const int contentWidth = content.width();
    const auto widen = [&](int pixels) {
        const int viewport = dialog->contentArea()->maximumViewportSize().width();
        dialog->resize(dialog->width() + contentWidth - viewport + pixels, 2000);
        QCoreApplication::processEvents();
    };
    // 64 pixels more than the content needs: a half column of rooms more is shown.
    widen(64);
    EXPECT_EQ(rooms.width(), 192);
    EXPECT_EQ(rooms.renderer().view().visibleWidth, 24);
    EXPECT_EQ(rooms.scrollBar()->maximum(), 128 - 96);
    // Far wider: all four columns, nothing left to scroll, and no wider than that.
    widen(300);
    EXPECT_EQ(rooms.width(), 256);
    EXPECT_EQ(rooms.scrollBar()->maximum(), 0);
    EXPECT_FALSE(rooms.scrollBar()->isEnabled());
    // A zoom fits the dialog to its content at its own size: the rooms at twice theirs.
    dialog->SetZoom(2);
    QCoreApplication::processEvents();
    EXPECT_EQ(rooms.width(), 256);
    dialog->SetZoom(1);
    QCoreApplication::processEvents();
    EXPECT_EQ(rooms.width(), 128);
    // Made small, the dialog scrolls its content; the canvas is back at its own size.
    dialog->resize(300, 300);
    QCoreApplication::processEvents();
    EXPECT_EQ(rooms.width(), 128);
    EXPECT_EQ(rooms.renderer().view().visibleWidth, 16);
    EXPECT_GT(dialog->contentArea()->horizontalScrollBar()->maximum(), 0);
}

TEST_F(ZoomTest, TheFrameThatFollowsThePointerGoesBackToTheSelectedItemWhenItLeaves) {
    auto dialog = OpenShown<CRoomEditorDlg>();
    CCanvasControl& assemblies = Canvas(*dialog, ids::kAssembliesCanvas);
    test::ClickItem(assemblies, 3, 2, 32); // assembly $23 selected
    test::Move(assemblies, QPoint(10 * 32 + 4, 12 * 32 + 4));
    const SelectionFrameState& frame = assemblies.renderer().frame();
    ASSERT_EQ(frame.firstColumn, 40);
    ASSERT_EQ(frame.firstRow, 48);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&assemblies, &leave);
    EXPECT_EQ(frame.firstColumn, 12);
    EXPECT_EQ(frame.lastColumn, 15);
    EXPECT_EQ(frame.firstRow, 8);
    EXPECT_EQ(frame.lastRow, 11);
}

} // namespace
} // namespace korvane
