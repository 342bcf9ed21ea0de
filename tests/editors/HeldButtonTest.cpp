// Undo, Redo and the commands asked for while a mouse button is held on a canvas: they wait for
// the release, and the stroke or drag becomes its own step first. Driven with real mouse and key
// events on the dialogs, the keys through the active window as the user presses them.
#include "EditorTestSupport.h"
#include "HallwayTestLevels.h"
#include "editors/CColourSelectorControl.h"
#include "editors/CEnemyPlacementDlg.h"
#include "editors/CPaletteEditorDlg.h"
#include "editors/CTileEditorDlg.h"
#include "editors/HeldButtonGate.h"

#include <QTest>

namespace korvane {
namespace {

using test::Find;
using Tile = std::array<std::uint8_t, 16>;

void PressKeys(QWidget& dialog, QKeySequence::StandardKey key) {
    QTest::keySequence(&dialog, QKeySequence(key));
}

void Activate(QWidget& dialog) {
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
}

TEST(HeldButtonGateTest, CommandsWaitForEveryHeldButtonAndRunInOrder) {
    HeldButtonGate gate;
    std::vector<int> ran;
    gate.Run([&ran] { ran.push_back(1); });
    EXPECT_EQ(ran, std::vector<int>{1});
    const int canvas = 0;
    const int pixels = 0;
    gate.Held(&canvas);
    gate.Held(&canvas); // said twice, still one button
    gate.Held(&pixels);
    gate.Run([&ran] { ran.push_back(2); });
    gate.Run([&ran] { ran.push_back(3); });
    EXPECT_EQ(gate.waiting(), 2u);
    gate.Freed(&canvas);
    EXPECT_EQ(ran, std::vector<int>{1}); // the pixel editor's button is still down
    gate.Freed(&pixels);
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 3}));
    EXPECT_FALSE(gate.held());
    // A command that presses a button again holds back the ones after it.
    gate.Held(&canvas);
    gate.Run([&] {
        ran.push_back(4);
        gate.Held(&pixels);
    });
    gate.Run([&ran] { ran.push_back(5); });
    gate.Freed(&canvas);
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 3, 4}));
    gate.Drop();
    gate.Freed(&pixels);
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 3, 4}));
}

// The enemy placement editor: Ctrl+Z between the press on a placement and the drag.
TEST(HeldButtonTest, UndoDuringAnEnemyDragWaitsAndThenUndoesTheDrag) {
    test::EditorDisplay display;
    auto level = std::make_unique<LevelRecord>(test::MakeHallwayLevel(
        {3, 3, 2}, {{2, 40, 40, 0x10}, {3, 20, 100, 0x21}, {3, 120, 60, 0x22}, {6, 50, 50, 0x30}}));
    auto graphics = test::MakeEnemyGraphics();
    CEnemyPlacementDlg dialog(display.context, *level, *graphics);
    Activate(dialog);
    test::Type(Find<QSpinBox>(dialog, 1011), 1);
    QTest::mouseClick(&Find<QPushButton>(dialog, 1077), Qt::LeftButton); // Insert
    const std::vector<EnemyPlacement> inserted{{40, 40, 2, 0x10},
                                               {8, 8, 3, 0x00},
                                               {20, 100, 3, 0x21},
                                               {120, 60, 3, 0x22},
                                               {50, 50, 6, 0x30}};
    const auto placements = [&dialog] {
        const LevelRecord& working = dialog.workingCopy();
        return std::vector<EnemyPlacement>(working.enemies.begin(),
                                           working.enemies.begin() + working.enemyCount);
    };
    ASSERT_EQ(placements(), inserted);

    CCanvasControl& canvas = test::Canvas(dialog, 1008);
    QTest::mousePress(&canvas, Qt::LeftButton, {}, QPoint(120, 60));
    EXPECT_TRUE(dialog.buttonHeld());
    PressKeys(dialog, QKeySequence::Undo);
    EXPECT_EQ(dialog.waitingCommands(), 1u);
    EXPECT_EQ(placements(), inserted); // the Insert is not undone under the held button
    QTest::mouseMove(&canvas, QPoint(140, 60));
    QTest::mouseRelease(&canvas, Qt::LeftButton, {}, QPoint(140, 60));
    EXPECT_FALSE(dialog.buttonHeld());
    EXPECT_EQ(dialog.waitingCommands(), 0u);

    // The drag (grabbed at x 120, a multiple of the snap 8: 140 snaps to 136) was one step, and
    // the Undo took back that step: every placement is there once, as before the press.
    EXPECT_EQ(placements(), inserted);
    ASSERT_EQ(dialog.undoStack().count(), 2);
    EXPECT_EQ(dialog.undoStack().index(), 1);
    EXPECT_EQ(dialog.undoStack().redoText(),
              QStringLiteral("Drag enemy $22 to room position 3, x 136, y 60"));
    PressKeys(dialog, QKeySequence::Redo);
    EXPECT_EQ(placements(), (std::vector<EnemyPlacement>{{40, 40, 2, 0x10},
                                                         {8, 8, 3, 0x00},
                                                         {20, 100, 3, 0x21},
                                                         {136, 60, 3, 0x22},
                                                         {50, 50, 6, 0x30}}));
    PressKeys(dialog, QKeySequence::Undo);
    PressKeys(dialog, QKeySequence::Undo);
    EXPECT_EQ(dialog.workingCopy(), *level);
}

TEST(HeldButtonTest, InsertAndDeleteDuringAnEnemyDragWaitForTheRelease) {
    test::EditorDisplay display;
    auto level = std::make_unique<LevelRecord>(
        test::MakeHallwayLevel({3, 3, 2}, {{3, 20, 100, 0x21}, {3, 120, 60, 0x22}}));
    auto graphics = test::MakeEnemyGraphics();
    CEnemyPlacementDlg dialog(display.context, *level, *graphics);
    Activate(dialog);
    test::Type(Find<QSpinBox>(dialog, 1011), 1);
    CCanvasControl& canvas = test::Canvas(dialog, 1008);
    QTest::mousePress(&canvas, Qt::LeftButton, {}, QPoint(120, 60));
    // Insert from the keyboard under the held button.
    QTest::keyClick(&Find<QPushButton>(dialog, 1077), Qt::Key_Space);
    EXPECT_EQ(dialog.workingCopy().enemyCount, 2);
    QTest::mouseMove(&canvas, QPoint(160, 60));
    QTest::mouseRelease(&canvas, Qt::LeftButton, {}, QPoint(160, 60));
    const LevelRecord& working = dialog.workingCopy();
    ASSERT_EQ(working.enemyCount, 3);
    EXPECT_EQ(working.enemies[0], (EnemyPlacement{8, 8, 3, 0x00}));
    EXPECT_EQ(working.enemies[1], (EnemyPlacement{20, 100, 3, 0x21}));
    EXPECT_EQ(working.enemies[2], (EnemyPlacement{160, 60, 3, 0x22}));
    ASSERT_EQ(dialog.undoStack().count(), 2);
    EXPECT_EQ(dialog.undoStack().text(0),
              QStringLiteral("Drag enemy $22 to room position 3, x 160, y 60"));
    EXPECT_EQ(dialog.undoStack().text(1), QStringLiteral("Insert enemy in room position 3"));
}

class TileStrokeTest : public ::testing::Test {
protected:
    void SetUp() override {
        level_ = test::DemoLevel(1);
        // Tile 9: rows 0-7 of plane 0 are 0x11 to 0x88, plane 1 all 0x0F; tile 10 all 0.
        for (std::size_t i = 0; i < 8; ++i) {
            level_->tiles[9 * 16 + i] = static_cast<std::uint8_t>(0x11 * (i + 1));
            level_->tiles[9 * 16 + 8 + i] = 0x0F;
        }
        std::fill_n(level_->tiles.begin() + 10 * 16, 16, std::uint8_t{0});
        dialog_ = std::make_unique<CTileEditorDlg>(display_.context, *level_);
        Activate(*dialog_);
        SelectTile(9);
    }
    void SelectTile(int tile) { test::ClickItem(test::Canvas(*dialog_, 1017), tile, 0, 16); }
    CPixelEditorControl& pixels() { return Find<CPixelEditorControl>(*dialog_, 1103); }
    QPoint At(int x, int y) { return pixels().CellRect(x, y).center(); }
    Tile Working(int tile = 9) { return test::TilePattern(dialog_->workingCopy(), tile); }
    QUndoStack& steps() { return dialog_->undoStack(); }

    test::EditorDisplay display_;
    std::unique_ptr<LevelRecord> level_;
    std::unique_ptr<CTileEditorDlg> dialog_;
};

// Tile 9 as SetUp makes it.
constexpr Tile kTile9{0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88,
                      0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F};
// Pixel (7, 7) painted with colour 1: bit 0 of row 7 set in plane 0 (0x88 -> 0x89), cleared in
// plane 1 (0x0F -> 0x0E).
constexpr Tile kClicked{0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x89,
                        0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0E};
// Then pixels (0, 3), (1, 3) and (2, 3) with colour 1: plane 0 of row 3 gains bits 7, 6 and 5
// (0x44 -> 0xE4), plane 1 of row 3 has none of them (0x0F stays).
constexpr Tile kClickedAndStroke{0x11, 0x22, 0x33, 0xE4, 0x55, 0x66, 0x77, 0x89,
                                 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0E};
// The stroke alone on tile 9.
constexpr Tile kStroke{0x11, 0x22, 0x33, 0xE4, 0x55, 0x66, 0x77, 0x88,
                       0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F};

TEST_F(TileStrokeTest, UndoDuringAStrokeWaitsAndRedoBringsTheStrokeBack) {
    QTest::mouseClick(&pixels(), Qt::LeftButton, {}, At(7, 7));
    ASSERT_EQ(Working(), kClicked);
    QTest::mousePress(&pixels(), Qt::LeftButton, {}, At(0, 3));
    QTest::mouseMove(&pixels(), At(1, 3));
    PressKeys(*dialog_, QKeySequence::Undo);
    QTest::mouseMove(&pixels(), At(2, 3));
    EXPECT_EQ(dialog_->waitingCommands(), 1u);
    EXPECT_EQ(pixels().ReadTile(), kClickedAndStroke); // the stroke goes on
    QTest::mouseRelease(&pixels(), Qt::LeftButton, {}, At(2, 3));
    // The stroke was a step of its own, and the Undo took back that step.
    ASSERT_EQ(steps().count(), 2);
    EXPECT_EQ(steps().index(), 1);
    EXPECT_EQ(steps().redoText(), QStringLiteral("Paint tile $09"));
    EXPECT_EQ(Working(), kClicked);
    EXPECT_EQ(pixels().ReadTile(), kClicked);
    test::ClickNamedButton(*dialog_, "redo");
    EXPECT_EQ(Working(), kClickedAndStroke);
    EXPECT_EQ(pixels().ReadTile(), kClickedAndStroke);
}

TEST_F(TileStrokeTest, ATileCommandFromTheKeyboardDuringAStrokeIsItsOwnStepAfterIt) {
    QTest::mousePress(&pixels(), Qt::LeftButton, {}, At(0, 3));
    QTest::mouseMove(&pixels(), At(1, 3));
    QTest::mouseMove(&pixels(), At(2, 3));
    // Mirror left-right, pressed with the space bar on its button.
    QTest::keyClick(&Find<QPushButton>(*dialog_, 1041), Qt::Key_Space);
    EXPECT_EQ(pixels().ReadTile(), kStroke);
    EXPECT_EQ(steps().count(), 0);
    QTest::mouseRelease(&pixels(), Qt::LeftButton, {}, At(2, 3));
    ASSERT_EQ(steps().count(), 2);
    EXPECT_EQ(steps().text(0), QStringLiteral("Paint tile $09"));
    EXPECT_EQ(steps().text(1), QStringLiteral("Mirror tile $09 left-right"));
    // Each byte's bits reversed: 0x11 -> 0x88, 0x22 -> 0x44, 0x33 -> 0xCC, 0xE4 -> 0x27,
    // 0x55 -> 0xAA, 0x66 -> 0x66, 0x77 -> 0xEE, 0x88 -> 0x11, 0x0F -> 0xF0.
    const Tile mirrored{0x88, 0x44, 0xCC, 0x27, 0xAA, 0x66, 0xEE, 0x11,
                        0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0};
    EXPECT_EQ(Working(), mirrored);
    test::ClickNamedButton(*dialog_, "undo");
    EXPECT_EQ(Working(), kStroke);
    test::ClickNamedButton(*dialog_, "undo");
    EXPECT_EQ(Working(), kTile9);
}

TEST_F(TileStrokeTest, PasteAndTheUndoButtonFromTheKeyboardWaitForTheStroke) {
    test::ClickButton(*dialog_, 1032); // Copy tile 9
    SelectTile(10);
    QTest::mouseClick(&pixels(), Qt::LeftButton, {}, At(7, 7)); // plane 0 of row 7: 0x01
    QTest::mousePress(&pixels(), Qt::LeftButton, {}, At(0, 0));
    QTest::mouseMove(&pixels(), At(1, 0));                              // plane 0 of row 0: 0xC0
    QTest::keyClick(&Find<QPushButton>(*dialog_, 1033), Qt::Key_Space); // Paste
    QTest::keyClick(&test::FindNamed<QPushButton>(*dialog_, "undo"), Qt::Key_Space);
    EXPECT_EQ(dialog_->waitingCommands(), 2u);
    QTest::mouseRelease(&pixels(), Qt::LeftButton, {}, At(1, 0));
    // The click, the stroke and the Paste are three steps; the Undo took back the Paste.
    ASSERT_EQ(steps().count(), 3);
    EXPECT_EQ(steps().index(), 2);
    EXPECT_EQ(steps().text(1), QStringLiteral("Paint tile $0A"));
    EXPECT_EQ(steps().redoText(), QStringLiteral("Paste onto tile $0A"));
    EXPECT_EQ(Working(10), (Tile{0xC0, 0, 0, 0, 0, 0, 0, 0x01, 0, 0, 0, 0, 0, 0, 0, 0}));
    test::ClickNamedButton(*dialog_, "redo");
    EXPECT_EQ(Working(10), kTile9);
}

TEST(HeldButtonTest, UndoDuringAPaletteStripStrokeWaitsForTheRelease) {
    test::EditorDisplay display;
    auto level = test::DemoLevel(2);
    CPaletteEditorDlg dialog(display.context, *level);
    Activate(dialog);
    auto& strip = Find<CPixelEditorControl>(dialog, 1103);
    constexpr int kColour = 0x2C;
    ASSERT_NE(strip.GetPixel(1, 0), kColour);
    ASSERT_NE(strip.GetPixel(2, 0), kColour);
    strip.SetColours(kColour, -1);
    QTest::mouseClick(&strip, Qt::LeftButton, {}, strip.CellRect(1, 0).center());
    const LevelRecord painted = dialog.workingCopy();
    QTest::mousePress(&strip, Qt::LeftButton, {}, strip.CellRect(2, 0).center());
    ASSERT_EQ(dialog.undoStack().count(), 2); // the strip stores every change at once
    PressKeys(dialog, QKeySequence::Undo);
    EXPECT_EQ(dialog.undoStack().index(), 2);
    QTest::mouseRelease(&strip, Qt::LeftButton, {}, strip.CellRect(2, 0).center());
    EXPECT_EQ(dialog.undoStack().index(), 1);
    EXPECT_EQ(dialog.workingCopy(), painted);
}

} // namespace
} // namespace korvane
