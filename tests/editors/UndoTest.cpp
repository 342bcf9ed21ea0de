// Undo and redo in the editors: every kind of step, the buttons and keys, a new step after an
// undo, undoing back to the opening state, the memory of the steps, and the base's edit entry
// point on an object edited with the level.
#include "EditorTestSupport.h"
#include "editors/CBlockEditorDlg.h"
#include "editors/CEditCommand.h"
#include "editors/CRoomEditorDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTest>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace korvane {
namespace {

using test::Canvas;
using test::ClickItem;
using test::Find;

class BlockUndoTest : public ::testing::Test {
protected:
    void SetUp() override {
        level_ = test::DemoLevel(5);
        for (int b = 0; b < kBlockCount; ++b) {
            Block& block = level_->blocks[static_cast<std::size_t>(b)];
            block.tiles = {static_cast<std::uint8_t>(b), 1, 2, 3};
            block.attributes = 0x23;
        }
        original_ = std::make_unique<LevelRecord>(*level_);
        dialog_ = std::make_unique<CBlockEditorDlg>(display_.context, *level_);
        dialog_->show();
    }
    void SelectBlock(int block) { ClickItem(Canvas(*dialog_, 1007), block % 16, block / 16, 16); }
    void SelectTile(int tile) { ClickItem(Canvas(*dialog_, 1017), tile % 16, tile / 16, 16); }
    void PaintQuarter(int quarter) {
        ClickItem(Canvas(*dialog_, 1098), quarter % 2, quarter / 2, 32);
    }
    QPushButton& undoButton() { return test::FindNamed<QPushButton>(*dialog_, "undo"); }
    QPushButton& redoButton() { return test::FindNamed<QPushButton>(*dialog_, "redo"); }
    void Undo() { test::ClickNamedButton(*dialog_, "undo"); }
    void Redo() { test::ClickNamedButton(*dialog_, "redo"); }
    const LevelRecord& working() { return dialog_->workingCopy(); }

    test::EditorDisplay display_;
    std::unique_ptr<LevelRecord> level_;
    std::unique_ptr<LevelRecord> original_;
    std::unique_ptr<CBlockEditorDlg> dialog_;
};

TEST_F(BlockUndoTest, EachKindOfStepIsUndoneAndRedone) {
    EXPECT_FALSE(undoButton().isEnabled());
    EXPECT_FALSE(redoButton().isEnabled());
    EXPECT_EQ(undoButton().toolTip(), QStringLiteral("Undo"));

    std::vector<LevelRecord> states{working()};
    SelectBlock(12);
    SelectTile(0x7F);
    PaintQuarter(3);
    states.push_back(working());
    EXPECT_EQ(undoButton().toolTip(),
              QStringLiteral("Undo Paint tile $7F into block 12, quarter 3"));
    SelectBlock(3);
    test::ClickButton(*dialog_, 1032);
    SelectBlock(200);
    test::ClickButton(*dialog_, 1033);
    states.push_back(working());
    EXPECT_EQ(undoButton().toolTip(), QStringLiteral("Undo Paste into block 200"));
    SelectBlock(12);
    test::Choose(Find<QComboBox>(*dialog_, 1025), 5);
    states.push_back(working());
    EXPECT_EQ(undoButton().toolTip(), QStringLiteral("Undo Block 12: type 5"));
    test::ClickRow(Find<CColourListControl>(*dialog_, 1018), 1, 16);
    states.push_back(working());
    EXPECT_EQ(undoButton().toolTip(), QStringLiteral("Undo Block 12: palette 1"));
    EXPECT_EQ(working().blocks[12].attributes, 0x51);
    ASSERT_EQ(dialog_->undoStack().count(), 4);

    // Back to the opening state, one step at a time, and forward again.
    for (int step = 4; step > 0; --step) {
        Undo();
        EXPECT_EQ(working(), states[static_cast<std::size_t>(step - 1)]) << step;
    }
    EXPECT_FALSE(undoButton().isEnabled());
    EXPECT_EQ(redoButton().toolTip(),
              QStringLiteral("Redo Paint tile $7F into block 12, quarter 3"));
    for (int step = 1; step <= 4; ++step) {
        Redo();
        EXPECT_EQ(working(), states[static_cast<std::size_t>(step)]) << step;
    }
    EXPECT_FALSE(redoButton().isEnabled());
}

TEST_F(BlockUndoTest, AfterUndoTheControlsShowTheWorkingCopy) {
    SelectBlock(12);
    test::Choose(Find<QComboBox>(*dialog_, 1025), 5);
    test::ClickRow(Find<CColourListControl>(*dialog_, 1018), 1, 16);
    SelectTile(0x40);
    PaintQuarter(0);
    Undo(); // the tile
    EXPECT_EQ(Canvas(*dialog_, 1098).renderer().cell(0, 0).pattern, test::TilePattern(*level_, 12));
    EXPECT_EQ(Canvas(*dialog_, 1007).renderer().cell(24, 0).pattern,
              test::TilePattern(*level_, 12));
    Undo(); // the palette row
    EXPECT_EQ(Find<CColourListControl>(*dialog_, 1018).SelectedRow(4), 3);
    EXPECT_EQ(Find<QComboBox>(*dialog_, 1025).currentIndex(), 5);
    Undo(); // the type
    EXPECT_EQ(Find<QComboBox>(*dialog_, 1025).currentIndex(), 2);
    EXPECT_EQ(working(), *original_);
}

TEST_F(BlockUndoTest, ANewStepAfterAnUndoDropsTheUndoneSteps) {
    SelectTile(0x10);
    PaintQuarter(1);
    SelectTile(0x11);
    PaintQuarter(2);
    Undo();
    EXPECT_TRUE(redoButton().isEnabled());
    SelectTile(0x12);
    PaintQuarter(3);
    EXPECT_FALSE(redoButton().isEnabled());
    EXPECT_EQ(dialog_->undoStack().count(), 2);
    LevelRecord expected = *original_;
    expected.blocks[0].tiles[1] = 0x10;
    expected.blocks[0].tiles[3] = 0x12;
    EXPECT_EQ(working(), expected);
}

TEST_F(BlockUndoTest, AClickThatWritesTheByteAlreadyThereIsNoStep) {
    SelectTile(1);
    PaintQuarter(1); // block 0's quarter 1 holds tile 1 already
    EXPECT_EQ(dialog_->undoStack().count(), 0);
    SelectBlock(5);
    test::Choose(Find<QComboBox>(*dialog_, 1025), 2); // its type is 2 already
    test::ClickRow(Find<CColourListControl>(*dialog_, 1018), 3, 16);
    // Choices of tool, grid, highlight and palette set are not steps either.
    test::ClickButton(*dialog_, 1035);
    test::ClickButton(*dialog_, 1060);
    test::Choose(Find<QComboBox>(*dialog_, 1021), 4);
    test::ClickRow(Find<CColourListControl>(*dialog_, 1029), 2, 64);
    EXPECT_EQ(dialog_->undoStack().count(), 0);
    EXPECT_FALSE(undoButton().isEnabled());
}

TEST_F(BlockUndoTest, UndoingEverythingThenOkLeavesTheLevelAsItWas) {
    SelectTile(0x33);
    PaintQuarter(0);
    SelectBlock(9);
    PaintQuarter(2);
    test::Choose(Find<QComboBox>(*dialog_, 1025), 7);
    while (undoButton().isEnabled()) {
        Undo();
    }
    test::ClickButton(*dialog_, 1);
    EXPECT_EQ(*level_, *original_);
}

TEST_F(BlockUndoTest, TheStandardKeysUndoAndRedo) {
    dialog_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog_.get()));
    SelectTile(0x21);
    PaintQuarter(0);
    const LevelRecord painted = working();
    QTest::keySequence(dialog_.get(), QKeySequence(QKeySequence::Undo));
    EXPECT_EQ(working(), *original_);
    QTest::keySequence(dialog_.get(), QKeySequence(QKeySequence::Redo));
    EXPECT_EQ(working(), painted);
}

TEST_F(BlockUndoTest, AThousandOneByteStepsHoldLessThanOneMegabyte) {
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
    const std::size_t heapBefore = mallinfo2().uordblks;
#endif
    constexpr int kSteps = 1000;
    for (int i = 0; i < kSteps; ++i) {
        SelectTile(0x50 + (i % 2));
        PaintQuarter(0);
    }
    ASSERT_EQ(dialog_->undoStack().count(), kSteps);
    for (int i = 0; i < kSteps; ++i) {
        const auto* step = dynamic_cast<const CEditCommand*>(dialog_->undoStack().command(i));
        ASSERT_NE(step, nullptr);
        ASSERT_EQ(step->parts().size(), 1u);
        EXPECT_EQ(step->parts()[0].delta.changedBytes(), 1u);
    }
    EXPECT_LT(dialog_->UndoMemoryBytes(), 1'000'000u);
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
    // What the heap actually grew by, Qt's own parts of each step included.
    const std::size_t heapAfter = mallinfo2().uordblks;
    EXPECT_LT(heapAfter - std::min(heapAfter, heapBefore), 1'000'000u);
#endif
}

// A dialog that edits an extra object with the level, as the enemy editor edits the enemy
// tables, and says why it refuses a change.
struct ExtraTable {
    std::array<std::uint8_t, 64> bytes{};
};

class TrackingDialog : public CEditorDialog {
public:
    TrackingDialog(DisplayContext& display, LevelRecord& level, ExtraTable& table)
        : CEditorDialog(display, level), table_(table) {
        TrackEditedObject(table_);
        FinishOpening();
    }
    using CEditorDialog::ApplyEdit;
    using CEditorDialog::ShowStatus;
    int refreshes = 0;

protected:
    void RefreshFromWorkingCopy() override { ++refreshes; }

private:
    ExtraTable& table_;
};

TEST(EditorBaseTest, AnObjectEditedWithTheLevelIsUndoneWithIt) {
    test::EditorDisplay display;
    auto level = std::make_unique<LevelRecord>();
    ExtraTable table;
    TrackingDialog dialog(display.context, *level, table);
    EXPECT_EQ(test::FindNamed<QLabel>(dialog, "status").text(), QString());
    dialog.ShowStatus(QStringLiteral("Not enough rooms left"));
    EXPECT_EQ(dialog.statusText(), QStringLiteral("Not enough rooms left"));

    EXPECT_TRUE(dialog.ApplyEdit(QStringLiteral("Both"), [&table](LevelRecord& record) {
        record.rooms[1].cells[2] = 9;
        table.bytes[40] = 7;
    }));
    EXPECT_EQ(dialog.refreshes, 1);
    EXPECT_EQ(dialog.statusText(), QString()); // a step clears the refusal
    const auto* step = dynamic_cast<const CEditCommand*>(dialog.undoStack().command(0));
    ASSERT_NE(step, nullptr);
    EXPECT_EQ(step->parts().size(), 2u);
    EXPECT_EQ(step->text(), QStringLiteral("Both"));

    dialog.undoStack().undo();
    EXPECT_EQ(dialog.workingCopy().rooms[1].cells[2], 0);
    EXPECT_EQ(table.bytes[40], 0);
    EXPECT_EQ(dialog.refreshes, 2);
    dialog.undoStack().redo();
    EXPECT_EQ(dialog.workingCopy().rooms[1].cells[2], 9);
    EXPECT_EQ(table.bytes[40], 7);

    // A change of the extra object alone is a step too; no change at all is none, but the
    // editor still shows its working copy again.
    EXPECT_TRUE(
        dialog.ApplyEdit(QStringLiteral("Table"), [&table](LevelRecord&) { table.bytes[0] = 1; }));
    EXPECT_FALSE(dialog.ApplyEdit(QStringLiteral("Nothing"), [](LevelRecord&) {}));
    EXPECT_EQ(dialog.undoStack().count(), 2);
    EXPECT_EQ(dialog.refreshes, 5);
    // The level is written back only by OK.
    EXPECT_EQ(level->rooms[1].cells[2], 0);
    dialog.accept();
    EXPECT_EQ(level->rooms[1].cells[2], 9);
}

// A dialog with a hallway canvas, as the hallway editor has: reloaded through SetHallway.
class HallwayCanvasDialog : public CEditorDialog {
public:
    HallwayCanvasDialog(DisplayContext& display, LevelRecord& level)
        : CEditorDialog(display, level) {
        canvas = new CCanvasControl(display, ids::kHallwayCanvas, this);
        canvas->SetView(32, 32, 1, 1);
        canvas->SetHallway(0, &workingCopy(), workingCopy().tiles.data());
        RegisterCanvas(
            *canvas, CanvasRole::Edit | CanvasRole::Grid,
            [](CCanvasControl& hallway) { hallway.DrawHallway(); },
            [this](CCanvasControl& hallway) {
                ++loads;
                hallway.SetHallway(0, &workingCopy(), nullptr);
            });
        body()->addWidget(CreateStandardToolButtons());
        FinishOpening();
    }
    using CEditorDialog::ApplyEdit;
    CCanvasControl* canvas = nullptr;
    int loads = 0;
};

TEST(EditorBaseTest, ACanvasWithItsOwnLoadRoutineIsReloadedThroughIt) {
    test::EditorDisplay display;
    auto level = test::DemoLevel(7);
    HallwayCanvasDialog dialog(display.context, *level);
    EXPECT_EQ(dialog.canvas->pointerMode(), PointerMode::Paint);
    EXPECT_TRUE(dialog.canvas->renderer().grid().shown);
    const int room = level->roomOrder[0];
    EXPECT_TRUE(dialog.ApplyEdit(QStringLiteral("Room"), [room](LevelRecord& record) {
        std::uint8_t& cell = record.rooms[static_cast<std::size_t>(room)].cells[0];
        cell = static_cast<std::uint8_t>(~cell);
    }));
    EXPECT_EQ(dialog.loads, 1);
    EXPECT_EQ(dialog.canvas->renderer().levelData().rooms[static_cast<std::size_t>(room)],
              dialog.workingCopy().rooms[static_cast<std::size_t>(room)]);
    EXPECT_TRUE(dialog.canvas->renderer().hallway().hallwayMode);
    dialog.undoStack().undo();
    EXPECT_EQ(dialog.loads, 2);
    EXPECT_EQ(dialog.canvas->renderer().levelData().rooms[static_cast<std::size_t>(room)],
              level->rooms[static_cast<std::size_t>(room)]);
}

TEST(EditorBaseTest, EveryEditorUndoesAPaintClick) {
    test::EditorDisplay display;
    auto level = test::DemoLevel(6);
    const LevelRecord original = *level;
    CRoomEditorDlg dialog(display.context, *level);
    dialog.show();
    const std::uint8_t held = original.rooms[0].cells[0];
    const int part = held == 0x21 ? 0x22 : 0x21;
    ClickItem(Canvas(dialog, 1006), part % 16, part / 16, 32);
    ClickItem(Canvas(dialog, 1051), 0, 0, 32);
    EXPECT_EQ(dialog.workingCopy().rooms[0].cells[0], part);
    dialog.undoStack().undo();
    EXPECT_EQ(dialog.workingCopy(), original);
    EXPECT_EQ(
        Canvas(dialog, 1051).renderer().cell(0, 0).pattern,
        test::TilePattern(original, original.blocks[original.assemblies[held].blocks[0]].tiles[0]));
}

} // namespace
} // namespace korvane
