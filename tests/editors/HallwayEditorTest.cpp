// The hallway editor through its controls: opening, painting and picking rooms, the room count
// with and without the enemies moving along, inserting and removing hallways, transitions,
// palette sets, checkpoints, copy and paste, and the refusals it explains.
#include "EditorTestSupport.h"
#include "HallwayTestLevels.h"
#include "editors/CHallwayEditorDlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QSpinBox>

namespace korvane {
namespace {

using test::Canvas;
using test::Find;
using test::MakeHallwayLevel;
using test::Placement;
using test::PlacementPositions;

constexpr int kRoomPixels = 256;     // one room on the hallway canvas
constexpr int kSmallRoomPixels = 64; // one room on the rooms canvas
const QString kTransition0Refusal = QStringLiteral(
    "A one-room hallway cannot use transition 0: the game would end the hallway list there");

// Hallways of 3, 2 and 4 rooms (positions 0-2, 3-4 and 5-8) and enemies at positions 3, 4, 5.
LevelRecord ThreeHallways() {
    return MakeHallwayLevel({3, 2, 4}, {{3, 10, 10, 1}, {4, 20, 20, 2}, {5, 30, 30, 3}});
}

class HallwayEditorTest : public ::testing::Test {
protected:
    void Open(const LevelRecord& level) {
        level_ = std::make_unique<LevelRecord>(level);
        original_ = std::make_unique<LevelRecord>(level);
        dialog_ = std::make_unique<CHallwayEditorDlg>(display_.context, *level_);
        dialog_->show();
    }
    void SetUp() override { Open(ThreeHallways()); }

    CCanvasControl& hallwayCanvas() { return Canvas(*dialog_, 1008); }
    CCanvasControl& roomsCanvas() { return Canvas(*dialog_, 1050); }
    QSpinBox& hallwayField() { return Find<QSpinBox>(*dialog_, 1011); }
    QSpinBox& roomCount() { return Find<QSpinBox>(*dialog_, 1014); }
    QComboBox& transitions() { return Find<QComboBox>(*dialog_, 1034); }
    CColourListControl& pages() { return Find<CColourListControl>(*dialog_, 1029); }
    QCheckBox& box(int id) { return Find<QCheckBox>(*dialog_, id); }
    QString remaining() { return Find<QLabel>(*dialog_, 1053).text(); }
    const LevelRecord& working() { return dialog_->workingCopy(); }

    void ChooseHallway(int h) { test::Type(hallwayField(), h); }
    // Room r of the rooms canvas (the first four columns are visible).
    void ChooseRoom(int room) {
        test::ClickItem(roomsCanvas(), room % 8, room / 8, kSmallRoomPixels);
    }
    // A click on room position i of the current hallway, scrolled into view.
    void ClickPosition(int i) {
        hallwayCanvas().Scroll(ScrollRequest::ThumbTrack, 32 * i);
        test::ClickItem(hallwayCanvas(), 0, 0, kRoomPixels);
    }

    test::EditorDisplay display_;
    std::unique_ptr<LevelRecord> level_;
    std::unique_ptr<LevelRecord> original_;
    std::unique_ptr<CHallwayEditorDlg> dialog_;
};

TEST_F(HallwayEditorTest, OpensOnHallwayZeroWithEveryControl) {
    EXPECT_EQ(dialog_->windowTitle(), QStringLiteral("Hallway Editor"));
    EXPECT_EQ(dialog_->currentHallway(), 0);
    EXPECT_EQ(hallwayField().minimum(), 0);
    EXPECT_EQ(hallwayField().maximum(), 2);
    EXPECT_EQ(hallwayField().value(), 0);
    EXPECT_TRUE(hallwayField().wrapping());
    EXPECT_EQ(roomCount().minimum(), 1);
    EXPECT_EQ(roomCount().maximum(), 16);
    EXPECT_EQ(roomCount().value(), 3);
    EXPECT_EQ(remaining(), QStringLiteral("Remaining Rooms: 23"));
    EXPECT_TRUE(box(1059).isChecked());
    EXPECT_EQ(box(1059).text(), QStringLiteral("Shift or remove enemies when modifying hallway"));
    EXPECT_EQ(box(1067).text(), QStringLiteral("Check point #1 in this hallway"));
    EXPECT_EQ(box(1073).text(), QStringLiteral("Check point #2 in this hallway"));
    EXPECT_FALSE(box(1067).isChecked());
    EXPECT_EQ(Find<QPushButton>(*dialog_, 1055).text(), QStringLiteral("Insert Hallway"));
    EXPECT_EQ(Find<QPushButton>(*dialog_, 1057).text(), QStringLiteral("Remove Hallway"));
    EXPECT_EQ(Find<QPushButton>(*dialog_, 1065).text(), QStringLiteral("Delete Checkpoints"));
    EXPECT_FALSE(Find<QPushButton>(*dialog_, 1033).isEnabled());
    EXPECT_EQ(dialog_->tool(), EditorTool::Paint);
    EXPECT_NE(dialog_->gridFlag(), 0);

    const char* labels[16] = {"0 - ???",
                              "1 - ???",
                              "2 - Cannot go back to prev. hallway",
                              "3 - ???",
                              "4 - Next hallway down, no panning",
                              "5 - ???",
                              "6 - Dropped from prev. hallway",
                              "7 - ???",
                              "8 - Next hallway up, no panning",
                              "9 - ???",
                              "A - Climbed from prev. hallway",
                              "B - ???",
                              "C - ???",
                              "D - ???",
                              "E - ???",
                              "F - ???"};
    ASSERT_EQ(transitions().count(), 16);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(transitions().itemText(i), QString::fromLatin1(labels[i])) << i;
    }
    EXPECT_EQ(transitions().currentIndex(), 2);

    // The hallway canvas: hallway 0's three rooms, one visible, in its own palette set.
    EXPECT_EQ(hallwayCanvas().renderer().gridWidth(), 96);
    EXPECT_EQ(hallwayCanvas().renderer().gridHeight(), 32);
    EXPECT_EQ(hallwayCanvas().clientWidth(), 256);
    EXPECT_EQ(hallwayCanvas().renderer().cell(64, 0).pattern[0], 2); // room 2 at position 2
    // The rooms canvas: 8 x 4 rooms at a quarter, four columns visible, palette set 0.
    EXPECT_EQ(roomsCanvas().renderer().gridWidth(), 256);
    EXPECT_EQ(roomsCanvas().renderer().gridHeight(), 128);
    EXPECT_EQ(roomsCanvas().clientWidth(), 256);
    EXPECT_EQ(roomsCanvas().renderer().cell(32 * 3, 32).pattern[0], 11); // room 11: row 1, col 3
    EXPECT_EQ(pages().cellText(0, 0), QStringLiteral("Set #1"));
    EXPECT_EQ(pages().SelectedRow(5), 0);
}

TEST_F(HallwayEditorTest, OtherHallwaysShowTheirOwnControls) {
    ChooseHallway(2);
    EXPECT_EQ(dialog_->currentHallway(), 2);
    EXPECT_EQ(roomCount().value(), 4);
    EXPECT_EQ(pages().SelectedRow(5), 2);
    EXPECT_EQ(hallwayCanvas().renderer().currentHallway(), 2);
    EXPECT_EQ(hallwayCanvas().renderer().gridWidth(), 128);
    EXPECT_EQ(hallwayCanvas().renderer().palettePage(), 2);
    EXPECT_EQ(hallwayCanvas().renderer().cell(0, 0).pattern[0], 5); // its first position
    // Changing hallways is no edit.
    EXPECT_EQ(dialog_->undoStack().count(), 0);
    EXPECT_EQ(working(), *original_);
}

TEST_F(HallwayEditorTest, HallwayNumbersOutsideTheListAreRefused) {
    ChooseHallway(1);
    test::Type(hallwayField(), 7);
    EXPECT_EQ(dialog_->currentHallway(), 1);
    EXPECT_EQ(hallwayField().value(), 1);
    // The spin buttons wrap around at both ends.
    ChooseHallway(2);
    hallwayField().stepBy(1);
    EXPECT_EQ(dialog_->currentHallway(), 0);
    hallwayField().stepBy(-1);
    EXPECT_EQ(dialog_->currentHallway(), 2);
}

TEST_F(HallwayEditorTest, GrowingHallwayZeroMovesTheEnemiesUp) {
    test::Type(roomCount(), 4);
    // Enter confirms the number; it does not end the dialog.
    EXPECT_TRUE(dialog_->isVisible());
    const std::vector<int> rooms{0, 1, 2, 31, 3, 4, 5, 6, 7, 8};
    for (std::size_t p = 0; p < rooms.size(); ++p) {
        EXPECT_EQ(working().roomOrder[p], rooms[p]) << p;
    }
    EXPECT_EQ(working().hallways[0].lastRoom, 3);
    EXPECT_EQ(PlacementPositions(working()), (std::vector<int>{4, 5, 6}));
    EXPECT_EQ(remaining(), QStringLiteral("Remaining Rooms: 22"));
    EXPECT_EQ(roomCount().value(), 4);
    EXPECT_EQ(hallwayCanvas().renderer().gridWidth(), 128);
    EXPECT_EQ(hallwayCanvas().renderer().cell(96, 0).pattern[0], 31);
    EXPECT_EQ(dialog_->undoStack().undoText(), QStringLiteral("Hallway 0: 3 rooms to 4"));
}

TEST_F(HallwayEditorTest, ShrinkingHallwayOneDetachesTheEnemiesOfItsLastRoom) {
    ChooseHallway(1);
    test::Type(roomCount(), 1);
    EXPECT_EQ(working().hallways[1].lastRoom, 0);
    EXPECT_EQ(working().roomOrder[3], 3);
    EXPECT_EQ(working().roomOrder[4], 5); // hallway 2 moved down one position
    // The enemy of position 4 is in no room now and sorts last; the one at 5 moved to 4.
    ASSERT_EQ(working().enemyCount, 3);
    EXPECT_EQ(working().enemies[0], (EnemyPlacement{10, 10, 3, 1}));
    EXPECT_EQ(working().enemies[1], (EnemyPlacement{30, 30, 4, 3}));
    EXPECT_EQ(working().enemies[2], (EnemyPlacement{20, 20, 0xFF, 2}));
    EXPECT_EQ(remaining(), QStringLiteral("Remaining Rooms: 24"));
}

TEST_F(HallwayEditorTest, WithTheBoxClearedTheEnemiesStayWhereTheyWere) {
    box(1059).click();
    ASSERT_FALSE(dialog_->shiftsEnemies());
    test::Type(roomCount(), 4);
    EXPECT_EQ(working().hallways[0].lastRoom, 3);
    EXPECT_EQ(PlacementPositions(working()), (std::vector<int>{3, 4, 5}));
    ChooseHallway(1);
    test::Type(roomCount(), 1);
    EXPECT_EQ(working().hallways[1].lastRoom, 0);
    EXPECT_EQ(PlacementPositions(working()), (std::vector<int>{3, 4, 5}));
    // The box is a setting, not an edit.
    EXPECT_EQ(dialog_->undoStack().count(), 2);
}

TEST_F(HallwayEditorTest, ANumberMoreThanOneAwayIsReachedRoomByRoomAsOneStep) {
    test::Type(roomCount(), 7);
    const std::vector<int> rooms{0, 1, 2, 31, 31, 31, 31, 3, 4, 5, 6, 7, 8};
    for (std::size_t p = 0; p < rooms.size(); ++p) {
        EXPECT_EQ(working().roomOrder[p], rooms[p]) << p;
    }
    // Each new room moved the enemies after it up by one.
    EXPECT_EQ(PlacementPositions(working()), (std::vector<int>{7, 8, 9}));
    EXPECT_EQ(roomCount().value(), 7);
    EXPECT_EQ(remaining(), QStringLiteral("Remaining Rooms: 19"));
    ASSERT_EQ(dialog_->undoStack().count(), 1);
    EXPECT_EQ(dialog_->undoStack().undoText(), QStringLiteral("Hallway 0: 3 rooms to 7"));

    // Back down to 2 rooms: the four rooms 31 and room 2 go, with the enemies of nothing.
    test::Type(roomCount(), 2);
    EXPECT_EQ(working().hallways[0].lastRoom, 1);
    EXPECT_EQ(working().roomOrder[2], 3);
    EXPECT_EQ(PlacementPositions(working()), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(dialog_->undoStack().count(), 2);
}

TEST_F(HallwayEditorTest, ANumberThatDoesNotFitStopsAtTheLastRoomLeft) {
    Open(MakeHallwayLevel({10, 10, 9}));
    ASSERT_EQ(remaining(), QStringLiteral("Remaining Rooms: 3"));
    test::Type(roomCount(), 16);
    EXPECT_EQ(working().hallways[0].lastRoom, 12);
    EXPECT_EQ(roomCount().value(), 13);
    EXPECT_EQ(remaining(), QStringLiteral("Remaining Rooms: 0"));
    EXPECT_EQ(dialog_->statusText(),
              QStringLiteral("No room left: the hallways of the level use all 32 room positions"));
    EXPECT_EQ(dialog_->undoStack().count(), 1);
    // Nothing left: one more room changes nothing and says so.
    ChooseHallway(1);
    roomCount().stepBy(1);
    EXPECT_EQ(roomCount().value(), 10);
    EXPECT_EQ(working().hallways[1].lastRoom, 9);
    EXPECT_EQ(dialog_->undoStack().count(), 1);
    EXPECT_EQ(dialog_->statusText(),
              QStringLiteral("No room left: the hallways of the level use all 32 room positions"));
}

TEST_F(HallwayEditorTest, AHallwayHoldsAtMostSixteenRooms) {
    Open(MakeHallwayLevel({16, 2}));
    // The spin stops at 16 instead of wrapping round to 1.
    roomCount().stepBy(1);
    EXPECT_EQ(roomCount().value(), 16);
    EXPECT_EQ(working(), *original_);
    EXPECT_EQ(dialog_->undoStack().count(), 0);
    EXPECT_EQ(roomCount().maximum(), 16);
}

TEST_F(HallwayEditorTest, TheOnlyHallwayKeepsItsRoomCount) {
    Open(MakeHallwayLevel({3}, {{0, 1, 1, 1}, {1, 2, 2, 2}}));
    test::Type(roomCount(), 4);
    EXPECT_EQ(roomCount().value(), 3);
    EXPECT_EQ(working(), *original_);
    EXPECT_EQ(dialog_->statusText(),
              QStringLiteral("The only hallway of the level cannot change its number of rooms"));
}

TEST_F(HallwayEditorTest, InsertHallwayBeforeHallwayOne) {
    ChooseHallway(1);
    test::ClickButton(*dialog_, 1055);
    ASSERT_EQ(working().hallwayCount, 4);
    EXPECT_EQ(working().hallways[1], (Hallway{11, 1, 2, 0}));
    EXPECT_EQ(working().hallways[2], (Hallway{11, 1, 2, 1}));
    EXPECT_EQ(working().hallways[3], (Hallway{12, 2, 2, 3}));
    const std::vector<int> rooms{0, 1, 2, 31, 3, 4, 5, 6, 7, 8};
    for (std::size_t p = 0; p < rooms.size(); ++p) {
        EXPECT_EQ(working().roomOrder[p], rooms[p]) << p;
    }
    EXPECT_EQ(PlacementPositions(working()), (std::vector<int>{4, 5, 6}));
    // The editor shows the new hallway.
    EXPECT_EQ(hallwayField().maximum(), 3);
    EXPECT_EQ(dialog_->currentHallway(), 1);
    EXPECT_EQ(roomCount().value(), 1);
    EXPECT_EQ(transitions().currentIndex(), 2);
    EXPECT_EQ(remaining(), QStringLiteral("Remaining Rooms: 22"));
    EXPECT_EQ(hallwayCanvas().renderer().cell(0, 0).pattern[0], 31);
    EXPECT_EQ(dialog_->undoStack().undoText(), QStringLiteral("Insert hallway 1"));
}

TEST_F(HallwayEditorTest, InsertHallwayIsRefusedWithoutRoomsOrHallwaysLeft) {
    Open(MakeHallwayLevel({16, 16}));
    test::ClickButton(*dialog_, 1055);
    EXPECT_EQ(working(), *original_);
    EXPECT_EQ(dialog_->undoStack().count(), 0);
    EXPECT_EQ(dialog_->statusText(),
              QStringLiteral("No room left: the hallways of the level use all 32 room positions"));

    Open(MakeHallwayLevel(std::vector<int>(15, 1), {{14, 4, 4, 4}}));
    ASSERT_EQ(working().hallwayCount, 15);
    test::ClickButton(*dialog_, 1055);
    EXPECT_EQ(working(), *original_);
    EXPECT_EQ(dialog_->statusText(),
              QStringLiteral("The level already has 15 hallways, the most it can hold"));
}

TEST_F(HallwayEditorTest, RemoveHallwayOneDetachesItsEnemies) {
    ChooseHallway(1);
    test::ClickButton(*dialog_, 1057);
    ASSERT_EQ(working().hallwayCount, 2);
    EXPECT_EQ(working().hallways[1], (Hallway{12, 2, 2, 3}));
    EXPECT_EQ(working().roomOrder[3], 5);
    ASSERT_EQ(working().enemyCount, 3);
    EXPECT_EQ(working().enemies[0], (EnemyPlacement{30, 30, 3, 3}));
    EXPECT_EQ(working().enemies[1], (EnemyPlacement{10, 10, 0xFF, 1}));
    EXPECT_EQ(working().enemies[2], (EnemyPlacement{20, 20, 0xFF, 2}));
    EXPECT_EQ(hallwayField().maximum(), 1);
    EXPECT_EQ(dialog_->currentHallway(), 1);
    EXPECT_EQ(roomCount().value(), 4);
    EXPECT_EQ(remaining(), QStringLiteral("Remaining Rooms: 25"));
}

TEST_F(HallwayEditorTest, RemovingTheLastHallwayShowsTheNewLastOne) {
    ChooseHallway(2);
    test::ClickButton(*dialog_, 1057);
    EXPECT_EQ(working().hallwayCount, 2);
    EXPECT_EQ(dialog_->currentHallway(), 1);
    EXPECT_EQ(hallwayField().value(), 1);
    EXPECT_EQ(hallwayField().maximum(), 1);
    EXPECT_EQ(roomCount().value(), 2);
    EXPECT_EQ(hallwayCanvas().renderer().currentHallway(), 1);
    // The enemy of hallway 2 was detached; those of hallway 1 stay.
    EXPECT_EQ(PlacementPositions(working()), (std::vector<int>{3, 4, 0xFF}));
}

TEST_F(HallwayEditorTest, TheOnlyHallwayCannotBeRemoved) {
    Open(MakeHallwayLevel({1}, {{0, 5, 5, 5}}));
    test::ClickButton(*dialog_, 1057);
    EXPECT_EQ(working(), *original_);
    EXPECT_EQ(dialog_->undoStack().count(), 0);
    EXPECT_EQ(dialog_->statusText(),
              QStringLiteral("The only hallway of the level cannot be removed"));
}

TEST_F(HallwayEditorTest, CheckpointsAndTheirHallwaysAfterOk) {
    ChooseHallway(2);
    box(1067).click();
    EXPECT_EQ(working().checkpointRooms[0], 5);
    EXPECT_EQ(working().checkpointRooms[1], kNoCheckpoint);
    EXPECT_TRUE(box(1067).isChecked());
    // The box shows whether the checkpoint lies in the hallway shown.
    ChooseHallway(1);
    EXPECT_FALSE(box(1067).isChecked());
    box(1073).click();
    EXPECT_EQ(working().checkpointRooms[1], 3);
    box(1073).click();
    EXPECT_EQ(working().checkpointRooms[1], kNoCheckpoint);
    EXPECT_EQ(dialog_->undoStack().undoText(), QStringLiteral("No checkpoint 2"));
    // Nothing reaches the level before OK.
    EXPECT_EQ(*level_, *original_);
    test::ClickButton(*dialog_, 1);
    EXPECT_EQ(level_->checkpointRooms[0], 5);
    EXPECT_EQ(level_->checkpointHallways[0], 2);
    EXPECT_EQ(level_->checkpointHallways[1], 3); // no checkpoint: the hallway count
}

TEST_F(HallwayEditorTest, DeleteCheckpointsThenOk) {
    LevelRecord level = ThreeHallways();
    level.checkpointRooms = {1, 7};
    level.checkpointHallways = {0, 2};
    Open(level);
    EXPECT_TRUE(box(1067).isChecked());
    test::ClickButton(*dialog_, 1065);
    EXPECT_FALSE(box(1067).isChecked());
    EXPECT_EQ(working().checkpointRooms[0], kNoCheckpoint);
    EXPECT_EQ(working().checkpointRooms[1], kNoCheckpoint);
    test::ClickButton(*dialog_, 1);
    EXPECT_EQ(level_->checkpointHallways[0], 3);
    EXPECT_EQ(level_->checkpointHallways[1], 3);
}

TEST_F(HallwayEditorTest, PaintChangesOnlyTheRoomOrder) {
    std::vector<RendererCell> roomsBefore;
    for (int y = 0; y < 128; ++y) {
        for (int x = 0; x < 256; ++x) {
            roomsBefore.push_back(roomsCanvas().renderer().cell(x, y));
        }
    }
    ChooseRoom(9);
    EXPECT_EQ(dialog_->selectedPart(), 9);
    ClickPosition(1);
    LevelRecord expected = *original_;
    expected.roomOrder[1] = 9;
    expected.RecountUsage();
    EXPECT_EQ(working(), expected);
    EXPECT_EQ(hallwayCanvas().renderer().cell(32, 0).pattern[0], 9);
    EXPECT_EQ(dialog_->undoStack().undoText(),
              QStringLiteral("Paint room 9 into hallway 0, room 1"));
    std::size_t i = 0;
    for (int y = 0; y < 128; ++y) {
        for (int x = 0; x < 256; ++x, ++i) {
            const RendererCell& cell = roomsCanvas().renderer().cell(x, y);
            ASSERT_EQ(cell.pattern, roomsBefore[i].pattern) << x << "," << y;
            ASSERT_EQ(cell.shaded, roomsBefore[i].shaded) << x << "," << y;
        }
    }
}

TEST_F(HallwayEditorTest, TheUnusedHighlightFollowsThePaintedRooms) {
    test::Choose(Find<QComboBox>(*dialog_, 1021), 18);
    // Room 20 (row 2, column 4) is in no hallway, room 0 in hallway 0.
    const bool room20Before = roomsCanvas().renderer().cell(4 * 32, 2 * 32).shaded != 0;
    const bool room0Before = roomsCanvas().renderer().cell(0, 0).shaded != 0;
    ASSERT_NE(room20Before, room0Before);
    roomsCanvas().Scroll(ScrollRequest::ThumbTrack, 128);
    test::ClickItem(roomsCanvas(), 0, 2, kSmallRoomPixels);
    ASSERT_EQ(dialog_->selectedPart(), 20);
    ClickPosition(0);
    EXPECT_EQ(working().roomOrder[0], 20);
    EXPECT_EQ(roomsCanvas().renderer().cell(4 * 32, 2 * 32).shaded != 0, room0Before);
    EXPECT_EQ(roomsCanvas().renderer().cell(0, 0).shaded != 0, room20Before);
}

TEST_F(HallwayEditorTest, TheDropperPicksARoomAndFramesIt) {
    ChooseHallway(2);
    test::ClickButton(*dialog_, 1035);
    ClickPosition(3); // position 8: room 8
    EXPECT_EQ(dialog_->selectedPart(), 8);
    EXPECT_EQ(roomsCanvas().renderer().frame().x, 0);
    EXPECT_EQ(roomsCanvas().renderer().frame().y, 32);
    EXPECT_EQ(working(), *original_);
    EXPECT_EQ(dialog_->undoStack().count(), 0);
}

TEST_F(HallwayEditorTest, TransitionAndPaletteSetOfTheCurrentHallway) {
    ChooseHallway(1);
    test::Choose(transitions(), 10);
    EXPECT_EQ(working().hallways[1].transition, 10);
    EXPECT_EQ(dialog_->undoStack().undoText(),
              QStringLiteral("Hallway 1: transition A - Climbed from prev. hallway"));
    test::ClickRow(pages(), 4, 64);
    EXPECT_EQ(working().hallways[1].paletteSet, 4);
    EXPECT_EQ(dialog_->undoStack().undoText(), QStringLiteral("Hallway 1: palette set #5"));
    EXPECT_EQ(hallwayCanvas().renderer().palettePage(), 4);
    EXPECT_EQ(roomsCanvas().renderer().palettePage(), 4);
    // Only those two bytes of the hallway changed.
    LevelRecord expected = *original_;
    expected.hallways[1].transition = 10;
    expected.hallways[1].paletteSet = 4;
    EXPECT_EQ(working(), expected);
}

TEST_F(HallwayEditorTest, CopyAndPasteAHallway) {
    ChooseHallway(2);
    test::ClickButton(*dialog_, 1032);
    EXPECT_TRUE(Find<QPushButton>(*dialog_, 1033).isEnabled());
    EXPECT_EQ(dialog_->clipboard(), (std::vector<std::uint8_t>{12, 2, 2, 3, 5, 6, 7, 8}));
    ChooseHallway(0);
    test::ClickButton(*dialog_, 1033);
    EXPECT_EQ(working().hallways[0], (Hallway{12, 2, 2, 3}));
    const std::vector<int> rooms{5, 6, 7, 8, 3, 4, 5, 6, 7, 8};
    for (std::size_t p = 0; p < rooms.size(); ++p) {
        EXPECT_EQ(working().roomOrder[p], rooms[p]) << p;
    }
    // Paste never moves enemies.
    EXPECT_EQ(PlacementPositions(working()), (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(roomCount().value(), 4);
    EXPECT_EQ(remaining(), QStringLiteral("Remaining Rooms: 22"));
    EXPECT_EQ(dialog_->undoStack().undoText(), QStringLiteral("Paste into hallway 0"));
}

TEST_F(HallwayEditorTest, OkWithoutChangesAndCancelAfterChangesLeaveTheLevel) {
    test::ClickButton(*dialog_, 1);
    EXPECT_EQ(dialog_->result(), QDialog::Accepted);
    EXPECT_EQ(*level_, *original_);

    Open(ThreeHallways());
    test::Type(roomCount(), 5);
    test::ClickButton(*dialog_, 1055);
    box(1067).click();
    EXPECT_EQ(test::CancelAndDiscard(*dialog_), 1);
    EXPECT_EQ(dialog_->result(), QDialog::Rejected);
    EXPECT_EQ(*level_, *original_);
}

TEST_F(HallwayEditorTest, ALevelWithoutHallwaysOpensAndCanOnlyInsert) {
    LevelRecord level = MakeHallwayLevel({}, {{0, 8, 8, 1}});
    ASSERT_EQ(level.hallwayCount, 0);
    Open(level);
    EXPECT_FALSE(hallwayField().isEnabled());
    EXPECT_FALSE(roomCount().isEnabled());
    EXPECT_FALSE(Find<QPushButton>(*dialog_, 1057).isEnabled());
    EXPECT_FALSE(box(1067).isEnabled());
    EXPECT_EQ(remaining(), QStringLiteral("Remaining Rooms: 32"));
    ChooseRoom(3);
    ClickPosition(0);
    test::ClickButton(*dialog_, 1032);
    test::Choose(transitions(), 4);
    test::ClickButton(*dialog_, 1065); // no checkpoints to delete
    EXPECT_EQ(working(), *original_);
    EXPECT_FALSE(dialog_->hasClipboard());
    // A first hallway: one room 31, transition 2, bank 0 and palette set 0.
    test::ClickButton(*dialog_, 1055);
    ASSERT_EQ(working().hallwayCount, 1);
    EXPECT_EQ(working().hallways[0], (Hallway{0, 0, 2, 0}));
    EXPECT_EQ(working().roomOrder[0], 31);
    EXPECT_EQ(PlacementPositions(working()), (std::vector<int>{1}));
    EXPECT_TRUE(roomCount().isEnabled());
}

// The hallway list must read back as the level holds it.

TEST_F(HallwayEditorTest, ShrinkingATransitionZeroHallwayToOneRoomIsRefused) {
    LevelRecord level = ThreeHallways();
    level.hallways[1].transition = 0;
    Open(level);
    ChooseHallway(1);
    test::Type(roomCount(), 1);
    EXPECT_EQ(working(), *original_);
    EXPECT_EQ(roomCount().value(), 2);
    EXPECT_EQ(dialog_->statusText(), kTransition0Refusal);
    EXPECT_EQ(dialog_->undoStack().count(), 0);

    // Typed from further away, it stops at two rooms.
    level = MakeHallwayLevel({3, 4, 2});
    level.hallways[1].transition = 0;
    Open(level);
    ChooseHallway(1);
    test::Type(roomCount(), 1);
    EXPECT_EQ(working().hallways[1].lastRoom, 1);
    EXPECT_EQ(roomCount().value(), 2);
    EXPECT_EQ(dialog_->statusText(), kTransition0Refusal);
    EXPECT_EQ(dialog_->undoStack().count(), 1);
}

TEST_F(HallwayEditorTest, TransitionZeroForAOneRoomHallwayIsRefused) {
    Open(MakeHallwayLevel({3, 1, 4}));
    ChooseHallway(1);
    test::Choose(transitions(), 0);
    EXPECT_EQ(working(), *original_);
    EXPECT_EQ(transitions().currentIndex(), 2);
    EXPECT_EQ(dialog_->statusText(), kTransition0Refusal);
    // Another transition is taken, and clears the message.
    test::Choose(transitions(), 1);
    EXPECT_EQ(working().hallways[1].transition, 1);
    EXPECT_EQ(dialog_->statusText(), QString());
}

TEST_F(HallwayEditorTest, PastingAOneRoomTransitionZeroHallwayIsRefused) {
    // A record as no decoding gives it: its second hallway is one room with transition 0,
    // counted all the same. Copied, it cannot be pasted anywhere.
    LevelRecord level = MakeHallwayLevel({3, 1, 4});
    level.hallways[1].transition = 0;
    level.hallwayCount = 3;
    Open(level);
    ChooseHallway(1);
    test::ClickButton(*dialog_, 1032);
    ChooseHallway(0);
    test::ClickButton(*dialog_, 1033);
    EXPECT_EQ(working(), *original_);
    EXPECT_EQ(dialog_->statusText(), kTransition0Refusal);
}

} // namespace
} // namespace korvane
