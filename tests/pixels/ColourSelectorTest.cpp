// The colour selector: its layout to the pixel at 2 and 4 rows, the composed picture, the
// presses that choose left and right colours, and double clicks.
#include "editors/CColourSelectorControl.h"
#include "tests/canvas/CanvasTestSupport.h"

#include <QApplication>
#include <QHelpEvent>
#include <QSignalSpy>
#include <QToolTip>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

namespace korvane {
namespace {

using test::SendMouse;

constexpr std::array<std::uint8_t, 4> kPalette{0x0F, 0x16, 0x2A, 0x30};

QRgb Nes(std::uint32_t rrggbb) {
    return qRgb(static_cast<int>(rrggbb >> 16), static_cast<int>((rrggbb >> 8) & 0xFF),
                static_cast<int>(rrggbb & 0xFF));
}

TEST(ColourSelector, TwoRowsOfFourColours) {
    CColourSelectorControl selector(1105);
    selector.resize(100, 10);
    selector.SetPaletteColours(kPalette);
    EXPECT_EQ(selector.objectName(), "id1105");
    EXPECT_EQ(selector.height(), 32);
    EXPECT_EQ(selector.rows(), 2);
    EXPECT_EQ(selector.columns(), 2);
    EXPECT_EQ(selector.SwatchOffset(), 0);
    // Frames from (4, 5) to (19, 20) and (11, 12) to (26, 27); colours 2 pixels further in.
    EXPECT_EQ(selector.LeftSwatchFrame(), QRect(QPoint(4, 5), QPoint(18, 19)));
    EXPECT_EQ(selector.LeftSwatchColour(), QRect(QPoint(6, 7), QPoint(16, 17)));
    EXPECT_EQ(selector.RightSwatchFrame(), QRect(QPoint(11, 12), QPoint(25, 26)));
    EXPECT_EQ(selector.RightSwatchColour(), QRect(QPoint(13, 14), QPoint(23, 24)));
    // 2 x 2 cells from x = 31.
    EXPECT_EQ(selector.CellRect(0), QRect(31, 0, 16, 16));
    EXPECT_EQ(selector.CellRect(1), QRect(47, 0, 16, 16));
    EXPECT_EQ(selector.CellRect(2), QRect(31, 16, 16, 16));
    EXPECT_EQ(selector.CellRect(3), QRect(47, 16, 16, 16));
    EXPECT_EQ(selector.CellColourRect(3), QRect(49, 18, 12, 12));
    EXPECT_TRUE(selector.CellRect(4).isEmpty());

    const QImage picture = selector.Compose();
    ASSERT_EQ(picture.size(), QSize(100, 32));
    EXPECT_EQ(picture.pixel(33, 2), Nes(0x050505));  // cell 0's colour, corner
    EXPECT_EQ(picture.pixel(60, 29), Nes(0xFFFFFF)); // cell 3's colour, corner
    EXPECT_EQ(picture.pixel(55, 8), Nes(0xFF2200));  // cell 1
    EXPECT_EQ(picture.pixel(40, 24), Nes(0x2BF035)); // cell 2
    EXPECT_NE(picture.pixel(32, 1), Nes(0x050505));  // the sunken edge
    // The left swatch shows cell 0, the right one (where the left does not cover it) cell 1.
    EXPECT_EQ(picture.pixel(6, 7), Nes(0x050505));
    EXPECT_EQ(picture.pixel(16, 17), Nes(0x050505));
    EXPECT_EQ(picture.pixel(23, 24), Nes(0xFF2200));
    EXPECT_EQ(picture.pixel(20, 14), Nes(0xFF2200));
    // Beyond the cells: button face.
    const QRgb face = selector.palette().button().color().rgb();
    EXPECT_EQ(picture.pixel(63, 5), face);
    EXPECT_EQ(picture.pixel(99, 31), face);
}

TEST(ColourSelector, FourRowsOfAllNesColoursMoveTheSwatchesDown) {
    CColourSelectorControl selector(1105);
    selector.SetAllNesColours();
    selector.SetRows(4);
    selector.resize(31 + 256, 64);
    EXPECT_EQ(selector.height(), 64);
    EXPECT_EQ(selector.cellCount(), 64);
    EXPECT_EQ(selector.columns(), 16);
    EXPECT_EQ(selector.SwatchOffset(), 16);
    EXPECT_EQ(selector.LeftSwatchFrame(), QRect(4, 21, 15, 15));
    EXPECT_EQ(selector.LeftSwatchColour(), QRect(6, 23, 11, 11));
    EXPECT_EQ(selector.RightSwatchFrame(), QRect(11, 28, 15, 15));
    EXPECT_EQ(selector.RightSwatchColour(), QRect(13, 30, 11, 11));
    EXPECT_EQ(selector.CellRect(0), QRect(31, 0, 16, 16));
    EXPECT_EQ(selector.CellRect(17), QRect(47, 16, 16, 16));
    EXPECT_EQ(selector.CellRect(63), QRect(271, 48, 16, 16));
    EXPECT_EQ(selector.CellColourRect(63), QRect(273, 50, 12, 12));

    const QImage picture = selector.Compose();
    EXPECT_EQ(picture.pixel(280, 56), Nes(0x111111)); // cell 63 = NES colour 0x3F
    EXPECT_EQ(picture.pixel(40, 40), Nes(0xFFFFFF));  // cell 32 = 0x20
    EXPECT_EQ(picture.pixel(263, 8), Nes(0x050505));  // cell 14 = 0x0E
    EXPECT_EQ(picture.pixel(10, 28), Nes(0x808080));  // left swatch: cell 0
    EXPECT_EQ(picture.pixel(22, 40), Nes(0x003DA6));  // right swatch: cell 1

    // Rows below 1 are taken as 1; the height follows.
    selector.SetRows(0);
    EXPECT_EQ(selector.rows(), 1);
    EXPECT_EQ(selector.height(), 16);
    EXPECT_EQ(selector.columns(), 64);
}

TEST(ColourSelector, PressesChooseCellsForEitherSwatch) {
    CColourSelectorControl selector(1105);
    selector.resize(100, 32);
    selector.SetPaletteColours(kPalette);
    QSignalSpy chosen(&selector, &CColourSelectorControl::ColourChosen);

    SendMouse(selector, QEvent::MouseButtonPress, QPoint(40, 20), Qt::LeftButton);
    SendMouse(selector, QEvent::MouseButtonRelease, QPoint(40, 20), Qt::LeftButton);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toInt(), 1);
    EXPECT_EQ(chosen.at(0).at(1).toInt(), 2);
    EXPECT_EQ(selector.GetLeftSelection(), 2);

    // The same cell with the right button: both swatches show it.
    SendMouse(selector, QEvent::MouseButtonPress, QPoint(31, 16), Qt::RightButton);
    ASSERT_EQ(chosen.count(), 2);
    EXPECT_EQ(chosen.at(1).at(0).toInt(), 2);
    EXPECT_EQ(chosen.at(1).at(1).toInt(), 2);
    EXPECT_EQ(selector.GetRightSelection(), 2);
    const QImage picture = selector.Compose();
    EXPECT_EQ(picture.pixel(10, 10), Nes(0x2BF035));
    EXPECT_EQ(picture.pixel(22, 22), Nes(0x2BF035));

    // The edges of a cell: its last pixel is inside, the next one belongs to the next cell.
    SendMouse(selector, QEvent::MouseButtonPress, QPoint(46, 15), Qt::LeftButton);
    EXPECT_EQ(selector.GetLeftSelection(), 0);
    SendMouse(selector, QEvent::MouseButtonPress, QPoint(47, 0), Qt::LeftButton);
    EXPECT_EQ(selector.GetLeftSelection(), 1);
    EXPECT_EQ(chosen.count(), 4);

    // The indicator, the space right of the cells and the middle button choose nothing.
    SendMouse(selector, QEvent::MouseButtonPress, QPoint(10, 10), Qt::LeftButton);
    SendMouse(selector, QEvent::MouseButtonPress, QPoint(63, 10), Qt::RightButton);
    SendMouse(selector, QEvent::MouseButtonPress, QPoint(40, 5), Qt::MiddleButton);
    EXPECT_EQ(chosen.count(), 4);
    EXPECT_EQ(selector.GetLeftSelection(), 1);
    EXPECT_EQ(selector.GetRightSelection(), 2);
}

TEST(ColourSelector, DoubleClicksChooseNothing) {
    CColourSelectorControl selector(1105);
    selector.resize(100, 32);
    selector.SetPaletteColours(kPalette);
    QSignalSpy chosen(&selector, &CColourSelectorControl::ColourChosen);
    SendMouse(selector, QEvent::MouseButtonPress, QPoint(50, 5), Qt::LeftButton);
    SendMouse(selector, QEvent::MouseButtonRelease, QPoint(50, 5), Qt::LeftButton);
    selector.SetLeftSelection(3);
    SendMouse(selector, QEvent::MouseButtonDblClick, QPoint(50, 5), Qt::LeftButton);
    SendMouse(selector, QEvent::MouseButtonDblClick, QPoint(50, 5), Qt::RightButton);
    EXPECT_EQ(chosen.count(), 1);
    EXPECT_EQ(selector.GetLeftSelection(), 3);
    EXPECT_EQ(selector.GetRightSelection(), 1);
}

TEST(ColourSelector, ClearedOrTooFewColoursDrawAndChooseNoCells) {
    CColourSelectorControl selector(1105);
    selector.resize(100, 32);
    selector.SetPaletteColours(kPalette);
    selector.Clear();
    EXPECT_EQ(selector.cellCount(), 0);
    EXPECT_EQ(selector.columns(), 0);
    QSignalSpy chosen(&selector, &CColourSelectorControl::ColourChosen);
    SendMouse(selector, QEvent::MouseButtonPress, QPoint(35, 5), Qt::LeftButton);
    EXPECT_EQ(chosen.count(), 0);
    const QImage picture = selector.Compose();
    const QRgb face = selector.palette().button().color().rgb();
    EXPECT_EQ(picture.pixel(38, 8), face);
    EXPECT_EQ(picture.pixel(10, 10), face); // a swatch with no colour to show
}

TEST(ColourSelector, EachCellNamesItsNesColourInItsToolTip) {
    CColourSelectorControl selector(1105);
    selector.SetAllNesColours();
    selector.SetRows(4);
    selector.resize(31 + 256, 64);
    // Cell n of the 64 is NES colour n: row 1, column 6 is $16; the last is $3F.
    EXPECT_EQ(selector.CellToolTip(0), QStringLiteral("$00"));
    EXPECT_EQ(selector.CellToolTip(0x16), QStringLiteral("$16"));
    EXPECT_EQ(selector.CellToolTip(0x2A), QStringLiteral("$2A"));
    EXPECT_EQ(selector.CellToolTip(63), QStringLiteral("$3F"));
    EXPECT_EQ(selector.CellToolTip(64), QString());
    EXPECT_EQ(selector.CellToolTip(-1), QString());
    // What the pointer is over: cell $16 is at x 31 + 6 x 16, y 16.
    EXPECT_EQ(selector.CellToolTip(selector.CellAt(QPoint(31 + 6 * 16 + 5, 16 + 5))),
              QStringLiteral("$16"));
    EXPECT_EQ(selector.CellToolTip(selector.CellAt(QPoint(10, 10))), QString()); // a swatch
    // The tool tip the control shows for the pointer's place.
    selector.show();
    const QPoint over(31 + 6 * 16 + 5, 16 + 5);
    QHelpEvent help(QEvent::ToolTip, over, selector.mapToGlobal(over));
    QApplication::sendEvent(&selector, &help);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("$16"));
    QToolTip::hideText();

    // A palette's four cells keep their NES numbers, above $3F wrapped as they are drawn.
    const std::array<std::uint8_t, 4> palette{0x0F, 0x16, 0x27, 0x70};
    selector.SetPaletteColours(palette);
    selector.SetRows(2);
    selector.resize(31 + 32, 32);
    EXPECT_EQ(selector.CellToolTip(0), QStringLiteral("$0F"));
    EXPECT_EQ(selector.CellToolTip(1), QStringLiteral("$16"));
    EXPECT_EQ(selector.CellToolTip(3), QStringLiteral("$30"));
    selector.Clear();
    EXPECT_EQ(selector.CellToolTip(0), QString());
}

} // namespace
} // namespace korvane
