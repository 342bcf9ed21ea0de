// Undo and redo in the hallway and enemy placement editors: every kind of step back to the
// opening state and forward again, and the controls showing the working copy after each.
#include "EditorTestSupport.h"
#include "HallwayTestLevels.h"
#include "editors/CEnemyEditorDlg.h"
#include "editors/CEnemyPlacementDlg.h"
#include "editors/CHallwayEditorDlg.h"
#include "tests/canvas/CanvasTestSupport.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>

namespace korvane {
namespace {

using test::Canvas;
using test::Find;
using test::MakeHallwayLevel;
using test::PlacementPositions;

void Undo(QWidget& dialog) {
    test::ClickNamedButton(dialog, "undo");
}
void Redo(QWidget& dialog) {
    test::ClickNamedButton(dialog, "redo");
}

// The states a dialog's steps left and their texts, to walk back and forth.
class Steps {
public:
    explicit Steps(CEditorDialog& dialog) : dialog_(dialog), states_{dialog.workingCopy()} {}

    // A step was just made.
    void Made(const QString& text) {
        states_.push_back(dialog_.workingCopy());
        texts_.push_back(text);
        EXPECT_EQ(dialog_.undoStack().count(), static_cast<int>(texts_.size()))
            << text.toStdString();
    }

    // Undoes every step back to the first state and redoes them all, checking each state and
    // each step's text in the buttons' tool tips.
    void Walk() {
        ASSERT_EQ(dialog_.undoStack().count(), static_cast<int>(texts_.size()));
        auto& undo = test::FindNamed<QPushButton>(dialog_, "undo");
        auto& redo = test::FindNamed<QPushButton>(dialog_, "redo");
        for (std::size_t step = texts_.size(); step > 0; --step) {
            EXPECT_EQ(undo.toolTip(), QStringLiteral("Undo ") + texts_[step - 1]);
            Undo(dialog_);
            EXPECT_EQ(dialog_.workingCopy(), states_[step - 1]) << "undo " << step;
        }
        EXPECT_FALSE(undo.isEnabled());
        for (std::size_t step = 1; step <= texts_.size(); ++step) {
            EXPECT_EQ(redo.toolTip(), QStringLiteral("Redo ") + texts_[step - 1]);
            Redo(dialog_);
            EXPECT_EQ(dialog_.workingCopy(), states_[step]) << "redo " << step;
        }
        EXPECT_FALSE(redo.isEnabled());
    }

private:
    CEditorDialog& dialog_;
    std::vector<LevelRecord> states_;
    std::vector<QString> texts_;
};

class HallwayUndoTest : public ::testing::Test {
protected:
    void SetUp() override {
        level_ = std::make_unique<LevelRecord>(
            MakeHallwayLevel({3, 2, 4}, {{3, 10, 10, 1}, {4, 20, 20, 2}, {5, 30, 30, 3}}));
        dialog_ = std::make_unique<CHallwayEditorDlg>(display_.context, *level_);
        dialog_->show();
    }
    QSpinBox& hallwayField() { return Find<QSpinBox>(*dialog_, 1011); }
    QSpinBox& roomCount() { return Find<QSpinBox>(*dialog_, 1014); }
    QString remaining() { return Find<QLabel>(*dialog_, 1053).text(); }
    CCanvasControl& hallwayCanvas() { return Canvas(*dialog_, 1008); }
    void ChooseHallway(int h) { test::Type(hallwayField(), h); }
    void PaintPosition(int room, int position) {
        test::ClickItem(Canvas(*dialog_, 1050), room % 8, room / 8, 64);
        hallwayCanvas().Scroll(ScrollRequest::ThumbTrack, 32 * position);
        test::ClickItem(hallwayCanvas(), 0, 0, 256);
    }

    test::EditorDisplay display_;
    std::unique_ptr<LevelRecord> level_;
    std::unique_ptr<CHallwayEditorDlg> dialog_;
};

TEST_F(HallwayUndoTest, EveryKindOfStepIsUndoneAndRedone) {
    Steps steps(*dialog_);
    auto step = [&steps](const char* text) { steps.Made(QString::fromLatin1(text)); };
    PaintPosition(9, 1);
    step("Paint room 9 into hallway 0, room 1");
    test::Type(roomCount(), 6); // three rooms more, the enemies three positions up
    ASSERT_EQ(PlacementPositions(dialog_->workingCopy()), (std::vector<int>{6, 7, 8}));
    step("Hallway 0: 3 rooms to 6");
    ChooseHallway(1);
    test::ClickButton(*dialog_, 1055); // before the enemies' hallway: they move up
    ASSERT_EQ(PlacementPositions(dialog_->workingCopy()), (std::vector<int>{7, 8, 9}));
    step("Insert hallway 1");
    test::Choose(Find<QComboBox>(*dialog_, 1034), 8);
    step("Hallway 1: transition 8 - Next hallway up, no panning");
    test::ClickRow(Find<CColourListControl>(*dialog_, 1029), 3, 64);
    step("Hallway 1: palette set #4");
    Find<QCheckBox>(*dialog_, 1067).click();
    step("Checkpoint 1 in hallway 1");
    ChooseHallway(2);
    Find<QCheckBox>(*dialog_, 1073).click();
    step("Checkpoint 2 in hallway 2");
    test::ClickButton(*dialog_, 1065);
    step("Delete checkpoints");
    ChooseHallway(0);
    test::ClickButton(*dialog_, 1032);
    ChooseHallway(3);
    test::ClickButton(*dialog_, 1033);
    step("Paste into hallway 3");
    test::ClickButton(*dialog_, 1057);
    step("Remove hallway 3");
    steps.Walk();
}

TEST_F(HallwayUndoTest, AfterUndoTheControlsShowTheWorkingCopy) {
    // A new last hallway, shown, then undone: the editor goes to the hallway that is last now.
    ChooseHallway(2);
    test::Type(roomCount(), 7);
    test::ClickButton(*dialog_, 1055);
    ChooseHallway(3);
    ASSERT_EQ(roomCount().value(), 7);
    Undo(*dialog_);
    EXPECT_EQ(dialog_->workingCopy().hallwayCount, 3);
    EXPECT_EQ(dialog_->currentHallway(), 2);
    EXPECT_EQ(hallwayField().value(), 2);
    EXPECT_EQ(hallwayField().maximum(), 2);
    EXPECT_EQ(roomCount().value(), 7);
    EXPECT_EQ(remaining(), QStringLiteral("Remaining Rooms: 20"));
    EXPECT_EQ(hallwayCanvas().renderer().currentHallway(), 2);
    EXPECT_EQ(hallwayCanvas().renderer().gridWidth(), 7 * 32);
    Undo(*dialog_);
    EXPECT_EQ(roomCount().value(), 4);
    EXPECT_EQ(remaining(), QStringLiteral("Remaining Rooms: 23"));
    EXPECT_EQ(hallwayCanvas().renderer().gridWidth(), 4 * 32);
    Redo(*dialog_);
    EXPECT_EQ(roomCount().value(), 7);
    Redo(*dialog_);
    EXPECT_EQ(hallwayField().maximum(), 3);
    EXPECT_EQ(dialog_->currentHallway(), 2);
    EXPECT_EQ(roomCount().value(), 1);

    // Checkpoint boxes and the transition follow too.
    Find<QCheckBox>(*dialog_, 1067).click();
    test::Choose(Find<QComboBox>(*dialog_, 1034), 6);
    Undo(*dialog_);
    EXPECT_EQ(Find<QComboBox>(*dialog_, 1034).currentIndex(), 2);
    EXPECT_TRUE(Find<QCheckBox>(*dialog_, 1067).isChecked());
    Undo(*dialog_);
    EXPECT_FALSE(Find<QCheckBox>(*dialog_, 1067).isChecked());
    // A refusal's message goes with the next undo or redo: 6 rooms are left for hallway 1.
    ChooseHallway(0);
    test::Type(roomCount(), 16);
    ChooseHallway(1);
    test::Type(roomCount(), 16);
    EXPECT_EQ(roomCount().value(), 8);
    EXPECT_NE(dialog_->statusText(), QString());
    Undo(*dialog_);
    EXPECT_EQ(dialog_->statusText(), QString());
    EXPECT_EQ(roomCount().value(), 2);
}

class EnemyUndoTest : public ::testing::Test {
protected:
    void SetUp() override {
        level_ = std::make_unique<LevelRecord>(MakeHallwayLevel(
            {3, 3, 2},
            {{2, 40, 40, 0x10}, {3, 20, 100, 0x21}, {3, 120, 60, 0x22}, {6, 50, 50, 0x30}}));
        graphics_ = test::MakeEnemyGraphics();
        dialog_ = std::make_unique<CEnemyPlacementDlg>(display_.context, *level_, *graphics_);
        dialog_->show();
    }
    CColourListControl& list() { return Find<CColourListControl>(*dialog_, 1068); }
    QSpinBox& bankField() { return Find<QSpinBox>(*dialog_, 1109); }

    test::EditorDisplay display_;
    std::unique_ptr<LevelRecord> level_;
    std::unique_ptr<EnemyGraphics> graphics_;
    std::unique_ptr<CEnemyPlacementDlg> dialog_;
};

TEST_F(EnemyUndoTest, EveryKindOfStepIsUndoneAndRedone) {
    test::Type(Find<QSpinBox>(*dialog_, 1011), 1);
    Steps steps(*dialog_);
    auto step = [&steps](const char* text) { steps.Made(QString::fromLatin1(text)); };
    CCanvasControl& canvas = Canvas(*dialog_, 1008);
    test::Press(canvas, {20, 100});
    test::Move(canvas, {60, 140}, Qt::LeftButton);
    test::Release(canvas, {60, 140});
    step("Drag enemy $21 to room position 3, x 60, y 140");
    test::ClickButton(*dialog_, 1077);
    step("Insert enemy in room position 3");
    test::ClickRow(list(), 2, 16);
    test::ClickButton(*dialog_, 1082);
    step("Delete enemy $22 from room position 3, x 120, y 60");
    test::WhenEnemyEditorOpens(*dialog_, [](CEnemyEditorDlg& editor) {
        test::Type(Find<QSpinBox>(editor, 1081), 7);
        Find<QLineEdit>(editor, 1071).setText(QStringLiteral("44"));
        test::ClickButton(editor, 1);
    });
    QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, QPoint(8, 8));
    step("Enemy $44: room position 3, x 8, y 7");
    test::Type(bankField(), 42);
    step("Hallway 1: enemy bank 42");
    steps.Walk();
}

TEST_F(EnemyUndoTest, AfterUndoTheListTheCanvasAndTheBankShowTheWorkingCopy) {
    test::Type(Find<QSpinBox>(*dialog_, 1011), 1);
    test::ClickButton(*dialog_, 1077);
    test::Type(bankField(), 42);
    CCanvasControl& tilesA = Canvas(*dialog_, 1017);
    ASSERT_EQ(tilesA.renderer().cell(0, 0).pattern, test::SpriteTilePattern(42 * 64));
    Undo(*dialog_);
    EXPECT_EQ(bankField().value(), 11);
    EXPECT_EQ(tilesA.renderer().cell(0, 0).pattern, test::SpriteTilePattern(11 * 64));
    EXPECT_EQ(list().rowCount(), 3);
    Undo(*dialog_);
    EXPECT_EQ(list().rowCount(), 2);
    EXPECT_EQ(list().cellText(1, 0), QStringLiteral("20"));
    EXPECT_EQ(Canvas(*dialog_, 1008).renderer().levelData().enemyCount, 4);
    Redo(*dialog_);
    EXPECT_EQ(list().cellText(1, 0), QStringLiteral("8"));
    EXPECT_EQ(Canvas(*dialog_, 1008).renderer().levelData().enemyCount, 5);
}

} // namespace
} // namespace korvane
