// The colour list: row heights, the selected and focused states, keys, clicks and drawing.
#include "EditorTestSupport.h"
#include "editors/CPaletteSwatchImage.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>

namespace korvane {
namespace {

PaletteSet DistinctSet() {
    PaletteSet set;
    for (std::size_t i = 0; i < 16; ++i) {
        set.bytes[i] = static_cast<std::uint8_t>(0x11 + i);
    }
    return set;
}

// Five rows "Row n" with a text column and an image column.
void FillFiveRows(CColourListControl& list) {
    list.SetUp(5, 2);
    for (int row = 0; row < 5; ++row) {
        list.SetCellText(QStringLiteral("Row %1").arg(row), 0, row);
    }
}

// A list of 200 x 200 pixels on screen, so that its rows are laid out as the user sees them.
class ColourListTest : public ::testing::Test {
protected:
    void SetUp() override {
        list.resize(200, 200);
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    }
    CColourListControl list;
};

// Sends a key press and says whether the list took it (an ignored key goes on to the parent).
bool KeyTaken(CColourListControl& list, Qt::Key key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&list, &event);
    return event.isAccepted();
}

TEST_F(ColourListTest, SetUpMakesTitledColumnsAndRowsAppearWithTheirFirstText) {
    EXPECT_EQ(list.SetCellText(QStringLiteral("x"), 0, 0), CColourListControl::kFailed);
    list.SetUp(3, 2);
    EXPECT_EQ(list.columnCount(), 2);
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(list.header()->model()->headerData(1, Qt::Horizontal).toString(),
              QStringLiteral("Col 1"));
    EXPECT_EQ(list.columnWidth(0), 64);
    EXPECT_EQ(list.columnKind(1), CColourListControl::ColumnKind::None);

    EXPECT_EQ(list.SetCellText(QStringLiteral("second column"), 1, 0), 0);
    EXPECT_EQ(list.rowCount(), 0); // only a column-0 text makes the row
    EXPECT_EQ(list.SetCellText(QStringLiteral("first"), 0, 0), 0);
    EXPECT_EQ(list.rowCount(), 1);
    EXPECT_EQ(list.cellText(1, 0), QStringLiteral("second column"));
    EXPECT_EQ(list.columnKind(1), CColourListControl::ColumnKind::Text);
    EXPECT_EQ(list.SetColumnTitle(0, QStringLiteral("Index")), 0);
    EXPECT_EQ(list.header()->model()->headerData(0, Qt::Horizontal).toString(),
              QStringLiteral("Index"));

    // Cells outside those set up are refused.
    EXPECT_EQ(list.SetCellText(QStringLiteral("x"), 2, 0), CColourListControl::kFailed);
    EXPECT_EQ(list.SetCellText(QStringLiteral("x"), 0, 3), CColourListControl::kFailed);
    EXPECT_EQ(list.SetCellImage(CPaletteSwatchImage(), -1, 0), CColourListControl::kFailed);
    EXPECT_EQ(list.SetColumnWidth(5, 10), CColourListControl::kFailed);

    list.Clear();
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(list.columnCount(), 0);
    EXPECT_EQ(list.header()->count(), 0);
}

TEST_F(ColourListTest, RowsGrowToTheTallestImage) {
    CPaletteSwatchImage palette;
    palette.MakePalette(DistinctSet(), 0);
    CPaletteSwatchImage set;
    set.MakeSet(DistinctSet());

    CColourListControl& palettes = list;
    FillFiveRows(palettes);
    EXPECT_EQ(palettes.rowHeight(), 16);
    palettes.SetCellImage(palette, 1, 0);
    palettes.SetCellImage(palette, 1, 4);
    EXPECT_EQ(palettes.rowHeight(), 16);
    EXPECT_EQ(palettes.columnKind(1), CColourListControl::ColumnKind::Image);

    CColourListControl sets;
    FillFiveRows(sets);
    sets.SetCellImage(set, 1, 2); // the first tall image is enough
    EXPECT_EQ(sets.rowHeight(), 64);
    EXPECT_EQ(sets.RowRect(3), QRect(0, 192, 128, 64));
    sets.SetCellImage(palette, 1, 3); // a smaller one later does not shrink the rows
    EXPECT_EQ(sets.rowHeight(), 64);
    // The list asks for room for every row at the new height.
    EXPECT_EQ(sets.sizeHint().height(),
              sets.header()->sizeHint().height() + 5 * 64 + 2 * sets.frameWidth());
}

TEST_F(ColourListTest, UpAndDownMoveOnlyTheFocus) {
    FillFiveRows(list);
    QSignalSpy clicks(&list, &CColourListControl::clicked);
    test::ClickRow(list, 2, 16);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(list.currentRow(), 2);
    EXPECT_TRUE(list.isSelected(2));
    EXPECT_TRUE(list.isFocused(2));
    EXPECT_EQ(list.SelectedRow(5), 2);

    EXPECT_TRUE(KeyTaken(list, Qt::Key_Down));
    EXPECT_EQ(list.currentRow(), 3);
    EXPECT_TRUE(list.isFocused(3));
    EXPECT_TRUE(list.isSelected(2)); // the highlight stays where it was
    EXPECT_FALSE(list.isSelected(3));
    EXPECT_EQ(list.SelectedRow(5), 5); // no row is both selected and focused
    EXPECT_EQ(clicks.count(), 1);      // keys tell the owner nothing

    EXPECT_TRUE(KeyTaken(list, Qt::Key_Up));
    EXPECT_TRUE(KeyTaken(list, Qt::Key_Up));
    EXPECT_EQ(list.currentRow(), 1);
    EXPECT_TRUE(list.isFocused(1));
    EXPECT_EQ(list.SelectedRow(5), 5);
    // The query looks only at the first `count` rows.
    test::ClickRow(list, 4, 16);
    EXPECT_EQ(list.SelectedRow(5), 4);
    EXPECT_EQ(list.SelectedRow(4), 4);
    EXPECT_EQ(list.SelectedRow(3), 3);
}

TEST_F(ColourListTest, UpOnTheFirstRowAndDownOnTheLastAreTakenAndChangeNothing) {
    FillFiveRows(list);
    test::ClickRow(list, 0, 16);
    EXPECT_TRUE(KeyTaken(list, Qt::Key_Up));
    EXPECT_EQ(list.currentRow(), 0);
    EXPECT_TRUE(list.isFocused(0));
    test::ClickRow(list, 4, 16);
    EXPECT_TRUE(KeyTaken(list, Qt::Key_Down));
    EXPECT_EQ(list.currentRow(), 4);
    EXPECT_TRUE(list.isFocused(4));
    EXPECT_EQ(list.SelectedRow(5), 4);
}

TEST_F(ColourListTest, ASelectionByProgramLeavesTheCurrentRowAlone) {
    FillFiveRows(list);
    list.SelectRow(3);
    EXPECT_EQ(list.SelectedRow(5), 3);
    EXPECT_EQ(list.currentRow(), -1);
    // The first Down moves the focus from row -1 to row 0.
    EXPECT_TRUE(KeyTaken(list, Qt::Key_Down));
    EXPECT_EQ(list.currentRow(), 0);
    EXPECT_TRUE(list.isFocused(0));
    EXPECT_TRUE(list.isSelected(3));
    // Selecting a row that does not exist leaves nothing selected.
    list.SelectRow(7);
    EXPECT_EQ(list.SelectedRow(5), 5);
    EXPECT_FALSE(list.isSelected(3));
}

TEST_F(ColourListTest, AClickBelowTheLastRowLeavesNoRowSelected) {
    FillFiveRows(list); // 200 pixels leave room below the five 16-pixel rows
    QSignalSpy clicks(&list, &CColourListControl::clicked);
    test::ClickRow(list, 1, 16);
    EXPECT_EQ(list.SelectedRow(5), 1);
    test::ClickRow(list, 6, 16);
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(list.currentRow(), 5);
    EXPECT_EQ(list.SelectedRow(5), 5);
    EXPECT_FALSE(list.isSelected(1));
    // Up from below the rows reaches the last row.
    EXPECT_TRUE(KeyTaken(list, Qt::Key_Up));
    EXPECT_TRUE(list.isFocused(4));
}

TEST_F(ColourListTest, SpaceChoosesTheFocusedRowAsAClickWould) {
    FillFiveRows(list);
    QSignalSpy clicks(&list, &CColourListControl::clicked);
    test::ClickRow(list, 1, 16);
    KeyTaken(list, Qt::Key_Down);
    EXPECT_EQ(list.SelectedRow(5), 5);
    EXPECT_TRUE(KeyTaken(list, Qt::Key_Space));
    EXPECT_EQ(list.SelectedRow(5), 2);
    EXPECT_EQ(clicks.count(), 2);
}

TEST_F(ColourListTest, AHeaderClickChangesNoCell) {
    FillFiveRows(list);
    list.SelectRow(1);
    QSignalSpy clicks(&list, &CColourListControl::clicked);
    QTest::mouseClick(list.header()->viewport(), Qt::LeftButton, {}, QPoint(10, 5));
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(list.SelectedRow(5), 1);
    for (int row = 0; row < 5; ++row) {
        EXPECT_EQ(list.cellText(0, row), QStringLiteral("Row %1").arg(row));
    }
}

TEST_F(ColourListTest, ASelectedRowIsHighlightedWithInverseTextAndUnchangedSwatches) {
    QPalette colours = list.palette();
    colours.setColor(QPalette::Base, QColor(0xFF, 0xFF, 0xFF));
    colours.setColor(QPalette::Text, QColor(0x10, 0x20, 0x30));
    colours.setColor(QPalette::Highlight, QColor(0x00, 0x00, 0x80));
    list.setPalette(colours);
    list.SetUp(2, 2);
    list.SetColumnWidth(0, 100);
    CPaletteSwatchImage swatch;
    std::array<std::uint8_t, 4> nes{0x0F, 0x16, 0x2A, 0x30};
    swatch.MakePalette(nes);
    for (int row = 0; row < 2; ++row) {
        list.SetCellText(QStringLiteral("MMMM"), 0, row);
        list.SetCellImage(swatch, 1, row);
    }
    list.SelectRow(0);
    const QImage shot = list.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);

    // Row 0 (selected): the text cell's ground is the highlight, its text the inverse of the
    // text colour; row 1: white ground, text in the text colour.
    auto countInRect = [&](const QRect& rect, QRgb colour) {
        int count = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x) {
                count += shot.pixel(x, y) == colour ? 1 : 0;
            }
        }
        return count;
    };
    const QRect selectedText(1, 1, 98, 14);
    const QRect plainText(1, 17, 98, 14);
    EXPECT_EQ(shot.pixel(95, 8), qRgb(0x00, 0x00, 0x80));
    EXPECT_GT(countInRect(selectedText, qRgb(0xEF, 0xDF, 0xCF)), 0);
    EXPECT_EQ(countInRect(selectedText, qRgb(0x10, 0x20, 0x30)), 0);
    EXPECT_EQ(shot.pixel(95, 24), qRgb(0xFF, 0xFF, 0xFF));
    EXPECT_GT(countInRect(plainText, qRgb(0x10, 0x20, 0x30)), 0);
    // The swatch: NES 0x16 is FF2200, 0x2A is 2BF035, in both rows, selected or not.
    for (int top : {0, 16}) {
        EXPECT_EQ(shot.pixel(100 + 16 + 8, top + 8), qRgb(0xFF, 0x22, 0x00));
        EXPECT_EQ(shot.pixel(100 + 32 + 8, top + 8), qRgb(0x2B, 0xF0, 0x35));
        EXPECT_EQ(shot.pixel(100 + 16, top + 8), qRgb(0, 0, 0)); // the black frame
    }
}

} // namespace
} // namespace korvane
