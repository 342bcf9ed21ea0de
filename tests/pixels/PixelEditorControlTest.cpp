// The pixel editor control: sizing, drawing, the three tools with their signals, strokes, double
// clicks, dragging beyond the edges, the commands and the pointers.
#include "editors/CPixelEditorControl.h"
#include "tests/canvas/CanvasTestSupport.h"

#include <QPaintEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvane {
namespace {

using test::SendMouse;

constexpr int kId = 1103;
// Pixel (0, 0) = 1, (1, 0) = 2, (0, 1) = 3, the rest 0.
constexpr TileBytes kCorner{0x80, 0x80, 0, 0, 0, 0, 0, 0, 0x40, 0x80, 0, 0, 0, 0, 0, 0};
constexpr std::array<std::uint8_t, 4> kPalette{0x0F, 0x16, 0x2A, 0x30};

// The middle of pixel (x, y) with 16-pixel cells inside the 2-pixel frame.
QPoint At(int x, int y) {
    return {2 + 16 * x + 8, 2 + 16 * y + 8};
}

void Press(QWidget& w, QPoint pos, Qt::MouseButton button = Qt::LeftButton,
           Qt::MouseButtons held = Qt::NoButton) {
    SendMouse(w, QEvent::MouseButtonPress, pos, button, held);
}
void Release(QWidget& w, QPoint pos, Qt::MouseButton button = Qt::LeftButton,
             Qt::MouseButtons held = Qt::NoButton) {
    SendMouse(w, QEvent::MouseButtonRelease, pos, button, held);
}
void Drag(QWidget& w, QPoint pos, Qt::MouseButtons held = Qt::LeftButton) {
    SendMouse(w, QEvent::MouseMove, pos, Qt::NoButton, held);
}
void DoubleClick(QWidget& w, QPoint pos, Qt::MouseButton button = Qt::LeftButton) {
    SendMouse(w, QEvent::MouseButtonDblClick, pos, button);
}

struct Signals {
    explicit Signals(CPixelEditorControl& control)
        : changed(&control, &CPixelEditorControl::PixelsChanged),
          picked(&control, &CPixelEditorControl::ColourPicked),
          started(&control, &CPixelEditorControl::StrokeStarted),
          finished(&control, &CPixelEditorControl::StrokeFinished) {}
    QSignalSpy changed;
    QSignalSpy picked;
    QSignalSpy started;
    QSignalSpy finished;
};

class PixelEditor : public ::testing::Test {
protected:
    void SetUp() override {
        control.LoadTile(kCorner, 16);
        control.SetTileColours(kPalette);
        control.SetColours(1, 0);
    }
    CPixelEditorControl control{kId};
};

TEST_F(PixelEditor, SizesItselfFromTheCellSize) {
    EXPECT_EQ(control.objectName(), "id1103");
    EXPECT_EQ(control.size(), QSize(132, 132));
    EXPECT_EQ(control.CellRect(0, 0), QRect(2, 2, 16, 16));
    EXPECT_EQ(control.CellRect(7, 3), QRect(114, 50, 16, 16));

    CPixelEditorControl strip(1103);
    strip.LoadStrip(kPalette, 16);
    EXPECT_EQ(strip.size(), QSize(68, 20));
    EXPECT_EQ(strip.dataMode(), PixelDataMode::Strip);

    // Cell size 0: the inner width divided by the picture's width.
    CPixelEditorControl fitted(1103);
    fitted.setFixedSize(100, 100);
    fitted.LoadTile(kCorner, 0);
    EXPECT_EQ(fitted.cellSize(), 12);
    EXPECT_EQ(fitted.size(), QSize(100, 100));
    fitted.setFixedSize(30, 30);
    fitted.LoadTile(kCorner, 0);
    EXPECT_EQ(fitted.cellSize(), 3);
    EXPECT_EQ(fitted.size(), QSize(28, 28));
}

TEST_F(PixelEditor, ColourTablesComeFromTheNesColours) {
    EXPECT_EQ(control.colourTable(),
              (std::vector<QRgb>{qRgb(0x05, 0x05, 0x05), qRgb(0xFF, 0x22, 0x00),
                                 qRgb(0x2B, 0xF0, 0x35), qRgb(0xFF, 0xFF, 0xFF)}));
    CPixelEditorControl strip(1103);
    strip.LoadStrip(kPalette, 16);
    ASSERT_EQ(strip.colourTable().size(), 64u);
    EXPECT_EQ(strip.colourTable()[0x00], qRgb(0x80, 0x80, 0x80));
    EXPECT_EQ(strip.colourTable()[0x21], qRgb(0x0F, 0xD7, 0xFF));
    EXPECT_EQ(strip.colourTable()[0x3F], qRgb(0x11, 0x11, 0x11));
}

TEST_F(PixelEditor, DrawsCellsInTheirColoursUnderAGreyGrid) {
    const QImage image = control.grab().toImage();
    ASSERT_EQ(image.size(), QSize(132, 132));
    const QRgb grid = qRgb(192, 192, 192);
    // Lines along the top and left of every cell.
    EXPECT_EQ(image.pixel(2, 2), grid);
    EXPECT_EQ(image.pixel(2 + 16, 2 + 5), grid);
    EXPECT_EQ(image.pixel(2 + 5, 2 + 112), grid);
    EXPECT_EQ(image.pixel(2 + 127, 2 + 112), grid); // the last line reaches the last pixel
    // Cell colours: (0, 0) value 1, (1, 0) value 2, (0, 1) value 3, (5, 5) value 0.
    EXPECT_EQ(image.pixel(At(0, 0)), qRgb(0xFF, 0x22, 0x00));
    EXPECT_EQ(image.pixel(At(1, 0)), qRgb(0x2B, 0xF0, 0x35));
    EXPECT_EQ(image.pixel(At(0, 1)), qRgb(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(image.pixel(At(5, 5)), qRgb(0x05, 0x05, 0x05));
    // No line closes the last column and row: their far edge is cell colour.
    EXPECT_EQ(image.pixel(2 + 127, 2 + 127), qRgb(0x05, 0x05, 0x05));

    // Nothing of a picture is drawn before one is loaded.
    CPixelEditorControl empty(1103);
    empty.setFixedSize(132, 132);
    const QImage blank = empty.grab().toImage();
    EXPECT_EQ(blank.pixel(2, 2), empty.palette().button().color().rgb());
    EXPECT_EQ(blank.pixel(60, 60), empty.palette().button().color().rgb());
}

TEST_F(PixelEditor, PaintPressAlwaysNotifiesButADragOnlyOnChanges) {
    Signals s(control);
    // A press on a cell that already has the left colour still notifies.
    Press(control, At(0, 0));
    EXPECT_EQ(s.started.count(), 1);
    EXPECT_EQ(s.changed.count(), 1);
    EXPECT_EQ(control.ReadTile(), kCorner);
    // Dragging over cells of that colour sends nothing.
    Drag(control, At(0, 0) + QPoint(3, 3));
    EXPECT_EQ(s.changed.count(), 1);
    // A cell of another colour changes and notifies once.
    Drag(control, At(4, 0));
    EXPECT_EQ(control.GetPixel(4, 0), 1);
    EXPECT_EQ(s.changed.count(), 2);
    Drag(control, At(4, 0) + QPoint(1, 0));
    EXPECT_EQ(s.changed.count(), 2);
    EXPECT_EQ(s.finished.count(), 0);
    Release(control, At(4, 0));
    EXPECT_EQ(s.finished.count(), 1);
    EXPECT_FALSE(control.strokeActive());
    // After the release moves do nothing.
    Drag(control, At(5, 0), Qt::NoButton);
    EXPECT_EQ(control.GetPixel(5, 0), 0);
    EXPECT_EQ(s.started.count(), 1);
    // Plane 0 of row 0 gained pixel 4 (bit 3).
    EXPECT_EQ(control.ReadTile()[0], 0x88);
}

TEST_F(PixelEditor, DraggingBeyondTheEdgesPaintsTheNearestEdgeCells) {
    Press(control, At(3, 2));
    Drag(control, QPoint(500, At(0, 2).y()));
    EXPECT_EQ(control.GetPixel(7, 2), 1);
    EXPECT_EQ(control.GetPixel(4, 2), 0); // only the cells under the pointer
    Drag(control, QPoint(500, At(0, 5).y()));
    EXPECT_EQ(control.GetPixel(7, 5), 1);
    Drag(control, QPoint(-40, -40));
    EXPECT_EQ(control.GetPixel(0, 0), 1);
    Drag(control, QPoint(At(6, 0).x(), 900));
    EXPECT_EQ(control.GetPixel(6, 7), 1);
    // The frame's pixels belong to the nearest cell too.
    Drag(control, QPoint(0, At(0, 4).y()));
    EXPECT_EQ(control.GetPixel(0, 4), 1);
    Release(control, QPoint(-40, -40));
    const TileBytes tile = control.ReadTile();
    EXPECT_EQ(tile[2], 0x11); // (3, 2) and (7, 2)
    EXPECT_EQ(tile[5], 0x01); // (7, 5)
    EXPECT_EQ(tile[4], 0x80); // (0, 4)
    EXPECT_EQ(tile[7], 0x02); // (6, 7)
}

TEST_F(PixelEditor, WithBothButtonsHeldMovesActForTheLeft) {
    control.SetColours(1, 3);
    Signals s(control);
    Press(control, At(1, 1), Qt::LeftButton);
    Press(control, At(2, 2), Qt::RightButton, Qt::LeftButton);
    EXPECT_EQ(control.GetPixel(1, 1), 1);
    EXPECT_EQ(control.GetPixel(2, 2), 3); // the right press itself acts
    Drag(control, At(4, 4), Qt::LeftButton | Qt::RightButton);
    EXPECT_EQ(control.GetPixel(4, 4), 1);
    Release(control, At(4, 4), Qt::LeftButton, Qt::RightButton);
    EXPECT_EQ(s.finished.count(), 0); // the right button is still down
    Drag(control, At(5, 5), Qt::RightButton);
    EXPECT_EQ(control.GetPixel(5, 5), 3);
    Release(control, At(5, 5), Qt::RightButton);
    EXPECT_EQ(s.started.count(), 1);
    EXPECT_EQ(s.finished.count(), 1);
    EXPECT_EQ(s.changed.count(), 4);
}

TEST_F(PixelEditor, ADoubleClickActsAsOnePress) {
    Signals s(control);
    Press(control, At(3, 3));
    Release(control, At(3, 3));
    EXPECT_EQ(control.GetPixel(3, 3), 1);
    control.SetPixel(3, 3, 2); // so that a second paint would show
    DoubleClick(control, At(3, 3));
    Drag(control, At(4, 3));
    Release(control, At(4, 3));
    EXPECT_EQ(control.GetPixel(3, 3), 2);
    EXPECT_EQ(control.GetPixel(4, 3), 0);
    EXPECT_EQ(s.changed.count(), 1);
    EXPECT_EQ(s.started.count(), 1);
    EXPECT_EQ(s.finished.count(), 1);

    control.SetTool(PixelTool::Dropper);
    Press(control, At(0, 1), Qt::RightButton);
    Release(control, At(0, 1), Qt::RightButton);
    DoubleClick(control, At(0, 1), Qt::RightButton);
    Release(control, At(0, 1), Qt::RightButton);
    EXPECT_EQ(s.picked.count(), 1);

    control.SetTool(PixelTool::Bucket);
    Press(control, At(6, 6));
    Release(control, At(6, 6));
    control.SetPixel(6, 6, 0);
    DoubleClick(control, At(6, 6));
    EXPECT_EQ(control.GetPixel(6, 6), 0);
    EXPECT_EQ(s.changed.count(), 2);
}

TEST_F(PixelEditor, TheDropperReportsTheValueUnderThePointerOnEveryMove) {
    control.SetTool(PixelTool::Dropper);
    Signals s(control);
    Press(control, At(1, 0));
    Drag(control, At(0, 1));
    Drag(control, At(0, 1) + QPoint(2, 0));
    Drag(control, QPoint(-10, -10));
    Release(control, QPoint(-10, -10));
    Press(control, At(5, 5), Qt::RightButton);
    Release(control, At(5, 5), Qt::RightButton);
    ASSERT_EQ(s.picked.count(), 5);
    const std::pair<int, int> expected[] = {{0, 2}, {0, 3}, {0, 3}, {0, 1}, {1, 0}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(s.picked.at(i).at(0).toInt(), expected[i].first) << i;
        EXPECT_EQ(s.picked.at(i).at(1).toInt(), expected[i].second) << i;
    }
    EXPECT_EQ(s.changed.count(), 0);
    EXPECT_EQ(control.ReadTile(), kCorner);
}

TEST_F(PixelEditor, TheBucketFillsOnlyWhatIsJoinedAndAlwaysNotifies) {
    // A diagonal wall of value 1 from (7, 0) to (0, 7).
    TileBytes wall{};
    for (std::size_t y = 0; y < 8; ++y) {
        wall[y] = static_cast<std::uint8_t>(1U << y);
    }
    control.LoadTile(wall, 16);
    control.SetTool(PixelTool::Bucket);
    control.SetColours(2, 1);
    Signals s(control);
    Press(control, At(0, 0));
    Drag(control, At(7, 7)); // moves do nothing with the bucket
    Release(control, At(7, 7));
    const TileBytes expected{0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80,
                             0xFE, 0xFC, 0xF8, 0xF0, 0xE0, 0xC0, 0x80, 0x00};
    EXPECT_EQ(control.ReadTile(), expected);
    EXPECT_EQ(s.changed.count(), 1);

    // The right colour is the wall's own: nothing changes, and the owner still hears of it.
    Press(control, At(3, 4), Qt::RightButton);
    Release(control, At(3, 4), Qt::RightButton);
    EXPECT_EQ(control.ReadTile(), expected);
    EXPECT_EQ(s.changed.count(), 2);
    EXPECT_EQ(s.started.count(), 2);
    EXPECT_EQ(s.finished.count(), 2);
}

// Pixel (0, 0) = 1, (1, 0) = 2, (0, 1) = 3, (7, 2) = 1, (3, 7) = 2, the rest 0: something in
// every edge column and row, so that the shifts wrap. Bit 7 of a byte is x 0.
// Plane 0 (values 1 and 3): row 0 x 0, row 1 x 0, row 2 x 7.
// Plane 1 (values 2 and 3): row 0 x 1, row 1 x 0, row 7 x 3.
constexpr TileBytes kEdges{0x80, 0x80, 0x01, 0, 0, 0, 0, 0, 0x40, 0x80, 0, 0, 0, 0, 0, 0x10};

TEST_F(PixelEditor, EachCommandGivesTheBytesWorkedOutByHandAndNotifiesOnce) {
    struct Case {
        const char* name;
        void (CPixelEditorControl::*command)();
        TileBytes expected;
    };
    const Case cases[] = {
        // (x, y) -> (x + 1, y), x 7 to 0: (1, 0) = 1, (2, 0) = 2, (1, 1) = 3, (0, 2) = 1,
        // (4, 7) = 2.
        {"shift right",
         &CPixelEditorControl::ShiftRight,
         {0x40, 0x40, 0x80, 0, 0, 0, 0, 0, 0x20, 0x40, 0, 0, 0, 0, 0, 0x08}},
        // (x, y) -> (x - 1, y), x 0 to 7: (7, 0) = 1, (0, 0) = 2, (7, 1) = 3, (6, 2) = 1,
        // (2, 7) = 2.
        {"shift left",
         &CPixelEditorControl::ShiftLeft,
         {0x01, 0x01, 0x02, 0, 0, 0, 0, 0, 0x80, 0x01, 0, 0, 0, 0, 0, 0x20}},
        // (x, y) -> (x, y + 1), y 7 to 0: (0, 1) = 1, (1, 1) = 2, (0, 2) = 3, (7, 3) = 1,
        // (3, 0) = 2.
        {"shift down",
         &CPixelEditorControl::ShiftDown,
         {0, 0x80, 0x80, 0x01, 0, 0, 0, 0, 0x10, 0x40, 0x80, 0, 0, 0, 0, 0}},
        // (x, y) -> (x, y - 1), y 0 to 7: (0, 7) = 1, (1, 7) = 2, (0, 0) = 3, (7, 1) = 1,
        // (3, 6) = 2.
        {"shift up",
         &CPixelEditorControl::ShiftUp,
         {0x80, 0x01, 0, 0, 0, 0, 0, 0x80, 0x80, 0, 0, 0, 0, 0, 0x10, 0x40}},
        // (x, y) -> (7 - x, y): (7, 0) = 1, (6, 0) = 2, (7, 1) = 3, (0, 2) = 1, (4, 7) = 2.
        {"mirror left-right",
         &CPixelEditorControl::MirrorHorizontal,
         {0x01, 0x01, 0x80, 0, 0, 0, 0, 0, 0x02, 0x01, 0, 0, 0, 0, 0, 0x08}},
        // (x, y) -> (x, 7 - y): (0, 7) = 1, (1, 7) = 2, (0, 6) = 3, (7, 5) = 1, (3, 0) = 2.
        {"mirror top-bottom",
         &CPixelEditorControl::MirrorVertical,
         {0, 0, 0, 0, 0, 0x01, 0x80, 0x80, 0x10, 0, 0, 0, 0, 0, 0x80, 0x40}},
        // (x, y) -> (7 - y, x): (7, 0) = 1, (7, 1) = 2, (6, 0) = 3, (5, 7) = 1, (0, 3) = 2.
        {"rotate clockwise",
         &CPixelEditorControl::RotateClockwise,
         {0x03, 0, 0, 0, 0, 0, 0, 0x04, 0x02, 0x01, 0, 0x80, 0, 0, 0, 0}},
        // (x, y) -> (y, 7 - x): (0, 7) = 1, (0, 6) = 2, (1, 7) = 3, (2, 0) = 1, (7, 4) = 2.
        {"rotate counter-clockwise",
         &CPixelEditorControl::RotateCounterClockwise,
         {0x20, 0, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0x01, 0, 0x80, 0x40}},
    };
    for (const Case& c : cases) {
        control.LoadTile(kEdges, 16);
        Signals s(control);
        (control.*c.command)();
        EXPECT_EQ(control.ReadTile(), c.expected) << c.name;
        EXPECT_EQ(s.changed.count(), 1) << c.name;
        EXPECT_EQ(s.started.count(), 0) << c.name;
    }
    // Fill with a value beyond 2 bits keeps its low 2 bits: 6 is 2.
    Signals s(control);
    control.Fill(6);
    EXPECT_EQ(control.ReadTile(),
              (TileBytes{0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(s.changed.count(), 1);
}

TEST_F(PixelEditor, StripModeHoldsNesColourNumbers) {
    const StripColours colours{0x0F, 0x16, 0x27, 0x30};
    control.LoadStrip(colours, 16);
    control.SetColours(0x21, 0x3D);
    Signals s(control);
    Press(control, At(2, 0));
    Release(control, At(2, 0));
    Press(control, At(9, 0), Qt::RightButton); // beyond the right edge: cell 3
    Release(control, At(9, 0), Qt::RightButton);
    EXPECT_EQ(control.ReadStrip(), (StripColours{0x0F, 0x16, 0x21, 0x3D}));
    EXPECT_EQ(control.ReadTile(), TileBytes{});
    control.SetTool(PixelTool::Dropper);
    Press(control, At(1, 3));
    ASSERT_EQ(s.picked.count(), 1);
    EXPECT_EQ(s.picked.at(0).at(1).toInt(), 0x16);
    Release(control, At(1, 3));
    const QImage image = control.grab().toImage();
    EXPECT_EQ(image.pixel(At(2, 0)), qRgb(0x0F, 0xD7, 0xFF));
    EXPECT_EQ(image.pixel(At(3, 0)), qRgb(0xDD, 0xDD, 0xDD));
    control.ShiftLeft();
    EXPECT_EQ(control.ReadStrip(), (StripColours{0x16, 0x21, 0x3D, 0x0F}));
}

TEST_F(PixelEditor, StrokesEndWhenTheControlGoesAwayOrNewDataArrives) {
    Signals s(control);
    TileBytes seenAtFinish{};
    QObject::connect(&control, &CPixelEditorControl::StrokeFinished,
                     [&] { seenAtFinish = control.ReadTile(); });
    Press(control, At(5, 5));
    const TileBytes painted = control.ReadTile();
    control.LoadTile(TileBytes{}, 16);
    EXPECT_EQ(s.finished.count(), 1);
    EXPECT_EQ(seenAtFinish, painted); // the owner can still read the stroke's result
    Drag(control, At(6, 6));
    EXPECT_EQ(control.GetPixel(6, 6), 0);

    Press(control, At(1, 1));
    control.setEnabled(false);
    EXPECT_EQ(s.finished.count(), 2);
    control.setEnabled(true);
    Drag(control, At(2, 1));
    EXPECT_EQ(control.GetPixel(2, 1), 0);

    control.show();
    Press(control, At(1, 2));
    control.hide();
    EXPECT_EQ(s.finished.count(), 3);
    Release(control, At(1, 2));
    EXPECT_EQ(s.finished.count(), 3);
    EXPECT_EQ(s.started.count(), 3);

    // Without a picture presses do nothing at all.
    CPixelEditorControl empty(1103);
    Signals none(empty);
    Press(empty, QPoint(5, 5));
    Release(empty, QPoint(5, 5));
    EXPECT_EQ(none.started.count() + none.changed.count() + none.finished.count(), 0);
}

TEST_F(PixelEditor, ButtonsAreFreedAfterTheStrokeEndsAndOnlyWhenTheyAreUp) {
    std::vector<std::string> said;
    QObject::connect(&control, &CPixelEditorControl::ButtonsHeld, [&] { said.push_back("held"); });
    QObject::connect(&control, &CPixelEditorControl::ButtonsFreed,
                     [&] { said.push_back("freed"); });
    QObject::connect(&control, &CPixelEditorControl::StrokeStarted,
                     [&] { said.push_back("started"); });
    QObject::connect(&control, &CPixelEditorControl::StrokeFinished,
                     [&] { said.push_back("finished"); });
    Press(control, At(1, 1));
    Press(control, At(1, 1), Qt::RightButton, Qt::LeftButton);
    Release(control, At(1, 1), Qt::LeftButton, Qt::RightButton);
    EXPECT_EQ(said, (std::vector<std::string>{"held", "started"}));
    Release(control, At(1, 1), Qt::RightButton);
    EXPECT_EQ(said, (std::vector<std::string>{"held", "started", "finished", "freed"}));
    // New data ends the stroke, but the button is still down until it comes up.
    said.clear();
    Press(control, At(2, 2));
    control.LoadTile(kCorner, 16);
    EXPECT_EQ(said, (std::vector<std::string>{"held", "started", "finished"}));
    Release(control, At(2, 2));
    EXPECT_EQ(said, (std::vector<std::string>{"held", "started", "finished", "freed"}));
    // A double click holds nothing that its release frees; hiding frees a held button.
    said.clear();
    DoubleClick(control, At(3, 3));
    Release(control, At(3, 3));
    EXPECT_TRUE(said.empty());
    control.show();
    Press(control, At(3, 3));
    control.hide();
    Release(control, At(3, 3));
    EXPECT_EQ(said, (std::vector<std::string>{"held", "started", "finished", "freed"}));
}

TEST_F(PixelEditor, ValuesAreCutToTwoBitsInTileMode) {
    control.SetColours(5, -1); // 5 paints as 1; -1 keeps the right colour
    EXPECT_EQ(control.rightColour(), 0);
    Press(control, At(7, 7));
    Release(control, At(7, 7));
    EXPECT_EQ(control.GetPixel(7, 7), 1);
    control.SetPixel(6, 7, 14);
    EXPECT_EQ(control.GetPixel(6, 7), 2);
    control.SetPixel(9, 9, 1); // outside: ignored
    EXPECT_EQ(control.GetPixel(9, 9), 0);
}

TEST_F(PixelEditor, ThePointerFollowsTheTool) {
    const auto expectCursor = [&](CanvasPointer pointer) {
        ASSERT_EQ(control.pointer(), pointer);
        EXPECT_EQ(control.cursor().hotSpot(), CanvasCursors::HotSpot(pointer));
        EXPECT_EQ(control.cursor().pixmap().toImage().convertToFormat(QImage::Format_ARGB32),
                  CanvasCursors::Image(pointer).convertToFormat(QImage::Format_ARGB32));
    };
    expectCursor(CanvasPointer::Paint);
    control.SetTool(PixelTool::Bucket);
    expectCursor(CanvasPointer::ThirdTool);
    control.SetTool(PixelTool::Dropper);
    expectCursor(CanvasPointer::Dropper);
    control.SetTool(PixelTool::Paint);
    expectCursor(CanvasPointer::Paint);
}

// Records the areas the control is asked to paint.
struct PaintLog : QObject {
    std::vector<QRect> rects;
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            rects.push_back(static_cast<QPaintEvent*>(event)->rect());
        }
        return false;
    }
};

TEST_F(PixelEditor, APaintedCellRepaintsOnlyThatCell) {
    control.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&control));
    QCoreApplication::processEvents();
    PaintLog log;
    control.installEventFilter(&log);
    Press(control, At(4, 6));
    Release(control, At(4, 6));
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    ASSERT_FALSE(log.rects.empty());
    for (const QRect& rect : log.rects) {
        EXPECT_EQ(rect, QRect(2 + 64, 2 + 96, 16, 16));
    }
    control.removeEventFilter(&log);
}

} // namespace
} // namespace korvane
