// The enemy placement editor and its Enemy editor through their controls: the placement list,
// picking and dragging on the hallway canvas, Insert and Delete, one placement's numbers, the
// enemy graphics bank with its tile pages and palettes, and what the editor refuses.
#include "EditorTestSupport.h"
#include "HallwayTestLevels.h"
#include "editors/CEnemyEditorDlg.h"
#include "editors/CEnemyPlacementDlg.h"
#include "graphics/NesColours.h"
#include "tests/canvas/CanvasTestSupport.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>

#include <algorithm>
#include <functional>

namespace korvane {
namespace {

using test::Canvas;
using test::Find;
using test::MakeHallwayLevel;
using test::PlacementPositions;

constexpr int kListRow = 16; // the placement and palette lists' row height

// Hallways of 3, 3 and 2 rooms: hallway 1 holds positions 3 to 5. Placements at 2, 3, 3, 6.
LevelRecord PlacementLevel() {
    return MakeHallwayLevel(
        {3, 3, 2}, {{2, 40, 40, 0x10}, {3, 20, 100, 0x21}, {3, 120, 60, 0x22}, {6, 50, 50, 0x30}});
}

class EnemyPlacementTest : public ::testing::Test {
protected:
    void Open(const LevelRecord& level,
              const std::function<void(EnemyGraphics&)>& adjust = nullptr) {
        level_ = std::make_unique<LevelRecord>(level);
        original_ = std::make_unique<LevelRecord>(level);
        graphics_ = test::MakeEnemyGraphics();
        if (adjust) {
            adjust(*graphics_);
        }
        originalGraphics_ = std::make_unique<EnemyGraphics>(*graphics_);
        dialog_ = std::make_unique<CEnemyPlacementDlg>(display_.context, *level_, *graphics_);
        dialog_->show();
    }
    void SetUp() override { Open(PlacementLevel()); }

    CCanvasControl& canvas() { return Canvas(*dialog_, 1008); }
    CCanvasControl& tilesA() { return Canvas(*dialog_, 1017); }
    CCanvasControl& tilesB() { return Canvas(*dialog_, 1045); }
    CColourListControl& list() { return Find<CColourListControl>(*dialog_, 1068); }
    CColourListControl& palettes() { return Find<CColourListControl>(*dialog_, 1018); }
    QSpinBox& hallwayField() { return Find<QSpinBox>(*dialog_, 1011); }
    QSpinBox& bankField() { return Find<QSpinBox>(*dialog_, 1109); }
    const LevelRecord& working() { return dialog_->workingCopy(); }
    void ChooseHallway(int h) { test::Type(hallwayField(), h); }
    QStringList Row(int row) {
        QStringList cells;
        for (int column = 0; column < 4; ++column) {
            cells << list().cellText(column, row);
        }
        return cells;
    }

    test::EditorDisplay display_;
    std::unique_ptr<LevelRecord> level_;
    std::unique_ptr<LevelRecord> original_;
    std::unique_ptr<EnemyGraphics> graphics_;
    std::unique_ptr<EnemyGraphics> originalGraphics_;
    std::unique_ptr<CEnemyPlacementDlg> dialog_;
};

TEST_F(EnemyPlacementTest, OpensOnHallwayZero) {
    EXPECT_EQ(dialog_->windowTitle(), QStringLiteral("Hallway Enemies Editor"));
    EXPECT_EQ(hallwayField().maximum(), 2);
    EXPECT_EQ(bankField().value(), 10);
    EXPECT_EQ(bankField().maximum(), 57);
    ASSERT_EQ(list().columnCount(), 4);
    EXPECT_EQ(list().header()->model()->headerData(0, Qt::Horizontal).toString(), "Room");
    EXPECT_EQ(list().header()->model()->headerData(3, Qt::Horizontal).toString(), "En. ID");
    EXPECT_EQ(list().columnWidth(1), 40);
    // 40 pixels, or as wide as "En. ID" needs in the header's font.
    EXPECT_GE(list().columnWidth(3),
              std::max(40, test::HeaderTitleWidth(*list().header(), QStringLiteral("En. ID"))));
    ASSERT_EQ(list().rowCount(), 1);
    EXPECT_EQ(Row(0), (QStringList{"2", "40", "40", "$10"}));
    for (int id : {1075, 1079}) {
        QComboBox& snap = Find<QComboBox>(*dialog_, id);
        ASSERT_EQ(snap.count(), 6);
        EXPECT_EQ(snap.itemText(0), QStringLiteral("1"));
        EXPECT_EQ(snap.itemText(5), QStringLiteral("32"));
        EXPECT_EQ(snap.currentText(), QStringLiteral("8"));
    }
    EXPECT_EQ(canvas().snapX(), 8);
    EXPECT_EQ(canvas().snapY(), 8);
    EXPECT_EQ(canvas().pointerMode(), PointerMode::EnemyDrag);
    EXPECT_NE(dialog_->gridFlag(), 0);
    ASSERT_EQ(palettes().rowCount(), 2);
    EXPECT_EQ(palettes().cellText(0, 0), QStringLiteral("Pal #1"));
    EXPECT_EQ(palettes().cellText(0, 1), QStringLiteral("Pal #2"));
    EXPECT_EQ(palettes().SelectedRow(2), 0);
    // Bank 10: page 10 in Tiles A, page 40 in Tiles B, 64 tiles of each visible.
    EXPECT_EQ(tilesA().renderer().gridWidth(), 16);
    EXPECT_EQ(tilesA().renderer().gridHeight(), 8);
    EXPECT_EQ(tilesA().clientWidth(), 256);
    EXPECT_EQ(tilesA().clientHeight(), 64);
    EXPECT_EQ(tilesA().renderer().cell(3, 1).pattern, test::SpriteTilePattern(10 * 64 + 19));
    EXPECT_EQ(tilesB().renderer().cell(0, 7).pattern, test::SpriteTilePattern(41 * 64 + 48));
    EXPECT_EQ(dialog_->undoStack().count(), 0);
}

TEST_F(EnemyPlacementTest, AHallwayListsItsPlacementsAndDeleteRemovesTheRowsOne) {
    ChooseHallway(1);
    EXPECT_EQ(dialog_->firstPlacement(), 1);
    ASSERT_EQ(list().rowCount(), 2);
    EXPECT_EQ(Row(0), (QStringList{"3", "20", "100", "$21"}));
    EXPECT_EQ(Row(1), (QStringList{"3", "120", "60", "$22"}));
    EXPECT_EQ(bankField().value(), 11);
    test::ClickRow(list(), 1, kListRow);
    test::ClickButton(*dialog_, 1082);
    ASSERT_EQ(working().enemyCount, 3);
    EXPECT_EQ(working().enemies[0], (EnemyPlacement{40, 40, 2, 0x10}));
    EXPECT_EQ(working().enemies[1], (EnemyPlacement{20, 100, 3, 0x21}));
    EXPECT_EQ(working().enemies[2], (EnemyPlacement{50, 50, 6, 0x30}));
    EXPECT_EQ(list().rowCount(), 1);
    EXPECT_EQ(dialog_->undoStack().undoText(),
              QStringLiteral("Delete enemy $22 from room position 3, x 120, y 60"));
    // Delete without a selected row deletes nothing.
    test::ClickButton(*dialog_, 1082);
    EXPECT_EQ(working().enemyCount, 3);
}

TEST_F(EnemyPlacementTest, InsertSortsTheNewPlacementIn) {
    ChooseHallway(1);
    test::ClickButton(*dialog_, 1077);
    ASSERT_EQ(working().enemyCount, 5);
    EXPECT_EQ(working().enemies[1], (EnemyPlacement{8, 8, 3, 0}));
    EXPECT_EQ(working().enemies[2], (EnemyPlacement{20, 100, 3, 0x21}));
    ASSERT_EQ(list().rowCount(), 3);
    EXPECT_EQ(Row(0), (QStringList{"3", "8", "8", "$00"}));
    EXPECT_EQ(dialog_->undoStack().undoText(), QStringLiteral("Insert enemy in room position 3"));
}

TEST_F(EnemyPlacementTest, InsertIsRefusedWith255Placements) {
    std::vector<test::Placement> many;
    for (int i = 0; i < 255; ++i) {
        many.push_back({i / 128, i % 128, 0, 1});
    }
    Open(MakeHallwayLevel({3, 3, 2}, many));
    ASSERT_EQ(working().enemyCount, 255);
    test::ClickButton(*dialog_, 1077);
    EXPECT_EQ(working(), *original_);
    EXPECT_EQ(dialog_->statusText(),
              QStringLiteral("The level already holds 255 enemy placements, the most it can"));
}

TEST_F(EnemyPlacementTest, ClicksOnPlacementsSelectTheirRowsAndRowsFrameTheirPlacements) {
    ChooseHallway(1);
    // The placement at x 120, y 60 of the hallway's first room.
    test::ClickItem(canvas(), 0, 0, 0); // nowhere near a placement
    EXPECT_EQ(list().SelectedRow(2), 2);
    test::Press(canvas(), {121, 61});
    test::Release(canvas(), {121, 61});
    EXPECT_EQ(list().SelectedRow(2), 1);
    test::ClickRow(list(), 0, kListRow);
    EXPECT_EQ(canvas().renderer().frame().x, 20);
    EXPECT_EQ(canvas().renderer().frame().y, 100);
    // A placement of another hallway shown in this one's rooms cannot be clicked: the canvas
    // draws only this hallway's placements.
    EXPECT_EQ(working(), *original_);
}

TEST_F(EnemyPlacementTest, DraggingMovesInStepsOfTheSnapValues) {
    ChooseHallway(1);
    test::Choose(Find<QComboBox>(*dialog_, 1075), 5); // X: 32
    test::Choose(Find<QComboBox>(*dialog_, 1079), 0); // Y: 1
    EXPECT_EQ(canvas().snapX(), 32);
    EXPECT_EQ(canvas().snapY(), 1);
    test::Press(canvas(), {20, 100});
    test::Move(canvas(), {30, 101}, Qt::LeftButton); // less than a step across
    test::Move(canvas(), {100, 103}, Qt::LeftButton);
    // The level takes the move only at the release.
    EXPECT_EQ(working(), *original_);
    test::Release(canvas(), {100, 103});
    // Grabbed at x 20 (20 mod 32 = 20): 100 snaps to 96 + 20 = 116, three steps of 32.
    EXPECT_EQ(working().enemies[1], (EnemyPlacement{116, 103, 3, 0x21}));
    EXPECT_EQ(working().enemies[2], (EnemyPlacement{120, 60, 3, 0x22}));
    EXPECT_EQ(Row(0), (QStringList{"3", "116", "103", "$21"}));
    EXPECT_EQ(list().SelectedRow(2), 0);
    EXPECT_EQ(dialog_->undoStack().undoText(),
              QStringLiteral("Drag enemy $21 to room position 3, x 116, y 103"));
    // A press and release without a move is no step.
    test::Press(canvas(), {116, 103});
    test::Release(canvas(), {116, 103});
    EXPECT_EQ(dialog_->undoStack().count(), 1);
}

TEST_F(EnemyPlacementTest, DraggingPastTheSortOrderKeepsTheDraggedRowSelected) {
    ChooseHallway(1);
    test::Choose(Find<QComboBox>(*dialog_, 1075), 0);
    test::Choose(Find<QComboBox>(*dialog_, 1079), 0);
    test::Press(canvas(), {20, 100});
    test::Move(canvas(), {200, 100}, Qt::LeftButton);
    test::Release(canvas(), {200, 100});
    EXPECT_EQ(working().enemies[1], (EnemyPlacement{120, 60, 3, 0x22}));
    EXPECT_EQ(working().enemies[2], (EnemyPlacement{200, 100, 3, 0x21}));
    EXPECT_EQ(list().SelectedRow(2), 1);
}

// The selection stands for a placement, not for a row number: it follows the placement
// wherever a change sorts it, and the next Delete removes that placement.
TEST_F(EnemyPlacementTest, TheSelectionFollowsAPlacementTheEnemyEditorReSorts) {
    ChooseHallway(1);
    test::ClickRow(list(), 0, kListRow); // $21 at x 20
    test::WhenEnemyEditorOpens(*dialog_, [](CEnemyEditorDlg& editor) {
        test::Type(Find<QSpinBox>(editor, 1074), 200);
        test::ClickButton(editor, 1);
    });
    QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, QPoint(8, kListRow / 2));
    // x 200 sorts it after $22 at x 120.
    EXPECT_EQ(working().enemies[1], (EnemyPlacement{120, 60, 3, 0x22}));
    EXPECT_EQ(working().enemies[2], (EnemyPlacement{200, 100, 3, 0x21}));
    EXPECT_EQ(list().SelectedRow(2), 1);
    EXPECT_EQ(dialog_->selectedPlacement(), 2);
    EXPECT_EQ(canvas().renderer().frame().x, 200);
    EXPECT_EQ(canvas().renderer().frame().y, 100);
    test::ClickButton(*dialog_, 1082);
    ASSERT_EQ(working().enemyCount, 3);
    EXPECT_EQ(working().enemies[1], (EnemyPlacement{120, 60, 3, 0x22}));
    EXPECT_EQ(dialog_->selectedPlacement(), -1);
    EXPECT_EQ(list().SelectedRow(1), 1); // none
    // Moved out of the hallway by the Enemy editor, a placement is no longer selected.
    test::ClickRow(list(), 0, kListRow);
    test::WhenEnemyEditorOpens(*dialog_, [](CEnemyEditorDlg& editor) {
        test::Type(Find<QSpinBox>(editor, 1063), 7);
        test::ClickButton(editor, 1);
    });
    QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, QPoint(8, kListRow / 2));
    EXPECT_EQ(list().rowCount(), 0);
    EXPECT_EQ(dialog_->selectedPlacement(), -1);
}

TEST_F(EnemyPlacementTest, AnUndoOfADragThatReSortedKeepsThePlacementSelected) {
    ChooseHallway(1);
    test::Choose(Find<QComboBox>(*dialog_, 1075), 0);
    test::Choose(Find<QComboBox>(*dialog_, 1079), 0);
    test::Press(canvas(), {20, 100}); // $21, row 0
    test::Move(canvas(), {200, 100}, Qt::LeftButton);
    test::Release(canvas(), {200, 100});
    EXPECT_EQ(list().SelectedRow(2), 1);
    test::ClickNamedButton(*dialog_, "undo");
    EXPECT_EQ(working(), *original_);
    EXPECT_EQ(list().SelectedRow(2), 0);
    EXPECT_EQ(canvas().renderer().frame().x, 20);
    EXPECT_EQ(canvas().renderer().frame().y, 100);
    test::ClickNamedButton(*dialog_, "redo");
    EXPECT_EQ(list().SelectedRow(2), 1);
    test::ClickNamedButton(*dialog_, "undo");
    test::ClickButton(*dialog_, 1082);
    ASSERT_EQ(working().enemyCount, 3);
    EXPECT_EQ(working().enemies[0], (EnemyPlacement{40, 40, 2, 0x10}));
    EXPECT_EQ(working().enemies[1], (EnemyPlacement{120, 60, 3, 0x22}));
    EXPECT_EQ(working().enemies[2], (EnemyPlacement{50, 50, 6, 0x30}));
}

TEST_F(EnemyPlacementTest, ThePictureKeepsItsScrollUnlessTheChangedPlacementIsOutOfView) {
    // Hallway 1's second room (position 4) holds $24.
    Open(MakeHallwayLevel({3, 3, 2}, {{2, 40, 40, 0x10},
                                      {3, 20, 100, 0x21},
                                      {3, 120, 60, 0x22},
                                      {4, 64, 80, 0x24},
                                      {6, 50, 50, 0x30}}));
    ChooseHallway(1);
    ASSERT_EQ(list().rowCount(), 3);
    // A row's placement out of view: the picture scrolls to its room (32 cells on).
    test::ClickRow(list(), 2, kListRow);
    EXPECT_EQ(canvas().scrollPosition(), 32);
    EXPECT_EQ(canvas().renderer().frame().x, 64);
    EXPECT_EQ(canvas().renderer().frame().y, 80);
    // Dragged 32 pixels right (snap 8, grabbed at a multiple of 8).
    test::Press(canvas(), {64, 80});
    test::Move(canvas(), {96, 80}, Qt::LeftButton);
    test::Release(canvas(), {96, 80});
    EXPECT_EQ(working().enemies[3], (EnemyPlacement{96, 80, 4, 0x24}));
    // Undo and Redo keep the room in view and frame the placement where it is.
    test::ClickNamedButton(*dialog_, "undo");
    EXPECT_EQ(working().enemies[3], (EnemyPlacement{64, 80, 4, 0x24}));
    EXPECT_EQ(canvas().scrollPosition(), 32);
    EXPECT_EQ(list().SelectedRow(3), 2);
    EXPECT_EQ(canvas().renderer().frame().x, 64);
    EXPECT_EQ(canvas().renderer().frame().y, 80);
    test::ClickNamedButton(*dialog_, "redo");
    EXPECT_EQ(canvas().scrollPosition(), 32);
    EXPECT_EQ(canvas().renderer().frame().x, 96);
    // The first room in view, $21 selected: the Undo changes $24 in the second room, which the
    // picture then shows.
    test::ClickRow(list(), 0, kListRow);
    EXPECT_EQ(canvas().scrollPosition(), 0);
    EXPECT_EQ(canvas().renderer().frame().x, 20);
    test::ClickNamedButton(*dialog_, "undo");
    EXPECT_EQ(canvas().scrollPosition(), 32);
    EXPECT_EQ(list().SelectedRow(3), 0);
    // A change in view leaves the scroll alone: a Delete of $21 from the first room.
    test::ClickRow(list(), 0, kListRow);
    test::ClickButton(*dialog_, 1082);
    EXPECT_EQ(canvas().scrollPosition(), 0);
    EXPECT_EQ(list().rowCount(), 2);
}

TEST_F(EnemyPlacementTest, TheEnemyEditorChangesOnePlacement) {
    ChooseHallway(1);
    test::ClickRow(list(), 0, kListRow);
    bool seen = false;
    test::WhenEnemyEditorOpens(*dialog_, [&](CEnemyEditorDlg& editor) {
        seen = true;
        EXPECT_EQ(editor.windowTitle(), QStringLiteral("Enemy Editor"));
        EXPECT_EQ(Find<QSpinBox>(editor, 1063).value(), 3);
        EXPECT_EQ(Find<QSpinBox>(editor, 1074).value(), 20);
        EXPECT_EQ(Find<QSpinBox>(editor, 1081).value(), 100);
        EXPECT_EQ(Find<QLineEdit>(editor, 1071).text(), QStringLiteral("21"));
        EXPECT_EQ(Find<QSpinBox>(editor, 1063).maximum(), 255);
        test::Type(Find<QSpinBox>(editor, 1063), 6);
        Find<QLineEdit>(editor, 1071).setText(QStringLiteral("3c"));
        test::ClickButton(editor, 1);
    });
    // A double click on the row opens it.
    QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, QPoint(8, kListRow / 2));
    ASSERT_TRUE(seen);
    // The placement moved to position 6, out of this hallway's list.
    EXPECT_EQ(working().enemies[2], (EnemyPlacement{20, 100, 6, 0x3C}));
    EXPECT_EQ(working().enemies[3], (EnemyPlacement{50, 50, 6, 0x30}));
    ASSERT_EQ(list().rowCount(), 1);
    EXPECT_EQ(Row(0), (QStringList{"3", "120", "60", "$22"}));
    EXPECT_EQ(dialog_->undoStack().undoText(),
              QStringLiteral("Enemy $3C: room position 6, x 20, y 100"));
}

TEST_F(EnemyPlacementTest, AnEmptyOrNonHexIdIsRefusedAndTheEditorStaysOpen) {
    ChooseHallway(1);
    bool seen = false;
    test::WhenEnemyEditorOpens(*dialog_, [&](CEnemyEditorDlg& editor) {
        seen = true;
        QLineEdit& id = Find<QLineEdit>(editor, 1071);
        EXPECT_EQ(id.maxLength(), 2);
        for (const char* text : {"", " ", "G1", "-1", "x"}) {
            id.setText(QString::fromLatin1(text));
            test::ClickButton(editor, 1);
            EXPECT_TRUE(editor.isVisible()) << text;
            EXPECT_EQ(editor.statusText(),
                      QStringLiteral("Monster Hex Id: enter the enemy id as one or two "
                                     "hexadecimal digits (00 to FF)"))
                << text;
        }
        id.setText(QStringLiteral("f"));
        test::ClickButton(editor, 1);
        EXPECT_FALSE(editor.isVisible());
    });
    // A double click on the placement at x 120, y 60 opens it.
    test::SendMouse(canvas(), QEvent::MouseButtonPress, {120, 60});
    test::SendMouse(canvas(), QEvent::MouseButtonRelease, {120, 60});
    test::SendMouse(canvas(), QEvent::MouseButtonDblClick, {120, 60});
    test::SendMouse(canvas(), QEvent::MouseButtonRelease, {120, 60});
    ASSERT_TRUE(seen);
    EXPECT_EQ(working().enemies[2], (EnemyPlacement{120, 60, 3, 0x0F}));
    EXPECT_EQ(dialog_->undoStack().count(), 1);
}

TEST_F(EnemyPlacementTest, CancelInTheEnemyEditorChangesNothing) {
    ChooseHallway(1);
    test::ClickRow(list(), 1, kListRow);
    int asked = 0;
    test::WhenEnemyEditorOpens(*dialog_, [&asked](CEnemyEditorDlg& editor) {
        test::Type(Find<QSpinBox>(editor, 1074), 99);
        editor.SetDiscardQuestion([&asked](const QString&) { return ++asked > 0; });
        test::ClickButton(editor, 2);
    });
    QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, QPoint(8, kListRow + kListRow / 2));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(working(), *original_);
    EXPECT_EQ(dialog_->undoStack().count(), 0);
}

TEST_F(EnemyPlacementTest, BankIsWrittenAtOnceAndDroppedByCancel) {
    ChooseHallway(1);
    test::Type(bankField(), 20);
    EXPECT_EQ(working().hallways[1].enemyBank, 20);
    EXPECT_EQ(dialog_->undoStack().undoText(), QStringLiteral("Hallway 1: enemy bank 20"));
    EXPECT_EQ(tilesA().renderer().cell(0, 0).pattern, test::SpriteTilePattern(20 * 64));
    EXPECT_EQ(tilesB().renderer().cell(0, 0).pattern, test::SpriteTilePattern(50 * 64));
    // The palettes: each first colour shows as colour 0x00; palettes 2 and 3 all 0x00.
    const CRenderer& a = tilesA().renderer();
    const EnemyBank& bank = graphics_->enemyBanks[20];
    EXPECT_EQ(a.SurfaceColour(0, 0, 0), NesToSurfaceColour(0x00));
    EXPECT_EQ(a.SurfaceColour(0, 0, 3), NesToSurfaceColour(bank.paletteA[3]));
    EXPECT_EQ(a.SurfaceColour(0, 1, 0), NesToSurfaceColour(0x00));
    EXPECT_EQ(a.SurfaceColour(0, 1, 2), NesToSurfaceColour(bank.paletteB[2]));
    EXPECT_EQ(a.SurfaceColour(0, 2, 1), NesToSurfaceColour(0x00));
    EXPECT_EQ(*level_, *original_);
    EXPECT_EQ(test::CancelAndDiscard(*dialog_), 1);
    EXPECT_EQ(*level_, *original_);
    EXPECT_EQ(*graphics_, *originalGraphics_);

    Open(PlacementLevel());
    test::Type(bankField(), 30);
    test::ClickButton(*dialog_, 1);
    LevelRecord expected = *original_;
    expected.hallways[0].enemyBank = 30;
    EXPECT_EQ(*level_, expected);
    EXPECT_EQ(*graphics_, *originalGraphics_);
}

TEST_F(EnemyPlacementTest, TheSecondPaletteRowRedrawsBothTileCanvases) {
    test::ClickRow(palettes(), 1, 16);
    EXPECT_EQ(dialog_->paletteRow(), 1);
    for (CCanvasControl* tiles : {&tilesA(), &tilesB()}) {
        EXPECT_EQ(tiles->renderer().tilePalette(), 1);
        EXPECT_EQ(tiles->renderer().cell(5, 2).palette, 1);
    }
    // It stays with the next bank, and it is no edit.
    test::Type(bankField(), 3);
    EXPECT_EQ(tilesA().renderer().cell(0, 0).palette, 1);
    EXPECT_EQ(palettes().SelectedRow(2), 1);
    EXPECT_EQ(dialog_->undoStack().count(), 1);
}

TEST_F(EnemyPlacementTest, ABankBeyondTheTablesShowsNothingAndKeepsItsByte) {
    LevelRecord level = PlacementLevel();
    level.hallways[1].enemyBank = 58;
    level.CountHallways();
    ASSERT_EQ(level.hallwayCount, 3);
    Open(level);
    ChooseHallway(1);
    EXPECT_EQ(bankField().text(), QStringLiteral("58"));
    for (CCanvasControl* tiles : {&tilesA(), &tilesB()}) {
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 16; ++x) {
                ASSERT_EQ(tiles->renderer().cell(x, y).pattern, (std::array<std::uint8_t, 16>{}));
            }
        }
        for (int palette = 0; palette < 4; ++palette) {
            for (int value = 0; value < 4; ++value) {
                EXPECT_EQ(tiles->renderer().SurfaceColour(0, palette, value),
                          NesToSurfaceColour(0x0F));
            }
        }
    }
    // Looking at it is no edit; OK keeps the byte.
    ChooseHallway(0);
    ChooseHallway(1);
    EXPECT_EQ(working(), *original_);
    // Choosing a bank writes it.
    bankField().stepBy(1);
    EXPECT_EQ(working().hallways[1].enemyBank, 0);
    EXPECT_EQ(bankField().text(), QStringLiteral("0"));
    dialog_->undoStack().undo();
    EXPECT_EQ(bankField().text(), QStringLiteral("58"));
    test::ClickButton(*dialog_, 1);
    EXPECT_EQ(level_->hallways[1].enemyBank, 58);
}

TEST_F(EnemyPlacementTest, TilesPastTheSpriteTilesAreBlank) {
    // Page 63 is the last one: Tiles A shows it, then blank tiles; page 200 is all blank.
    Open(PlacementLevel(), [](EnemyGraphics& graphics) {
        graphics.enemyBanks[10].pageA = 63;
        graphics.enemyBanks[10].pageB = 200;
    });
    const std::array<std::uint8_t, 16> blank{};
    EXPECT_EQ(tilesA().renderer().cell(0, 0).pattern, test::SpriteTilePattern(63 * 64));
    EXPECT_EQ(tilesA().renderer().cell(15, 3).pattern, test::SpriteTilePattern(63 * 64 + 63));
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x) {
            if (y >= 4) {
                ASSERT_EQ(tilesA().renderer().cell(x, y).pattern, blank) << x << "," << y;
            }
            ASSERT_EQ(tilesB().renderer().cell(x, y).pattern, blank) << x << "," << y;
        }
    }
}

TEST_F(EnemyPlacementTest, OkWritesBackTheLevelAndTheTablesCancelNeither) {
    ChooseHallway(2);
    test::ClickButton(*dialog_, 1077);
    EXPECT_EQ(test::CancelAndDiscard(*dialog_), 1);
    EXPECT_EQ(*level_, *original_);
    EXPECT_EQ(*graphics_, *originalGraphics_);

    Open(PlacementLevel());
    test::ClickButton(*dialog_, 1);
    EXPECT_EQ(*level_, *original_);
    EXPECT_EQ(*graphics_, *originalGraphics_);
    EXPECT_EQ(dialog_->enemyGraphics(), *originalGraphics_);
}

TEST_F(EnemyPlacementTest, ALevelWithoutHallwaysOpensWithNothingToDo) {
    Open(MakeHallwayLevel({}, {{0, 20, 20, 1}}));
    EXPECT_EQ(list().rowCount(), 0);
    EXPECT_FALSE(Find<QPushButton>(*dialog_, 1077).isEnabled());
    EXPECT_FALSE(hallwayField().isEnabled());
    EXPECT_FALSE(bankField().isEnabled());
    EXPECT_EQ(canvas().pointerMode(), PointerMode::None);
    test::ClickButton(*dialog_, 1077);
    test::Press(canvas(), {20, 20});
    test::Move(canvas(), {60, 60}, Qt::LeftButton);
    test::Release(canvas(), {60, 60});
    test::ClickButton(*dialog_, 1082);
    EXPECT_EQ(working(), *original_);
    EXPECT_EQ(dialog_->undoStack().count(), 0);
}

} // namespace
} // namespace korvane
