// What the hallway editor's status line says when the level refuses a change: the rule that
// really stops it, for a level read with all 16 hallways, a level of one hallway, and a hallway
// holding a room number that is no room.
#include "EditorTestSupport.h"
#include "HallwayTestLevels.h"
#include "editors/CHallwayEditorDlg.h"

#include <QSpinBox>

namespace korvane {
namespace {

using test::Find;
using test::MakeHallwayLevel;

constexpr int kCopy = 1032;
constexpr int kPaste = 1033;
constexpr int kInsert = 1055;

class HallwayRefusalTest : public ::testing::Test {
protected:
    void Open(const LevelRecord& level) {
        dialog_.reset();
        level_ = std::make_unique<LevelRecord>(level);
        original_ = std::make_unique<LevelRecord>(level);
        dialog_ = std::make_unique<CHallwayEditorDlg>(display_.context, *level_);
        dialog_->show();
    }
    QSpinBox& roomCount() { return Find<QSpinBox>(*dialog_, 1014); }
    void ChooseHallway(int h) { test::Type(Find<QSpinBox>(*dialog_, 1011), h); }
    const LevelRecord& working() { return dialog_->workingCopy(); }
    QString status() { return dialog_->statusText(); }
    // Nothing changed and no step was made.
    void ExpectUnchanged() {
        EXPECT_EQ(working(), *original_);
        EXPECT_EQ(dialog_->undoStack().count(), 0);
    }

    test::EditorDisplay display_;
    std::unique_ptr<LevelRecord> level_;
    std::unique_ptr<LevelRecord> original_;
    std::unique_ptr<CHallwayEditorDlg> dialog_;
};

TEST_F(HallwayRefusalTest, ALevelReadWithSixteenHallwaysSaysItsTableIsFull) {
    // Sixteen one-room hallways: every entry of the table is used, none ends the list.
    Open(MakeHallwayLevel(std::vector<int>(16, 1)));
    ASSERT_EQ(working().hallwayCount, 16);

    test::ClickButton(*dialog_, kInsert);
    ExpectUnchanged();
    EXPECT_EQ(status(), QStringLiteral("The level already has 16 hallways: its hallway table is "
                                       "full"));

    // Sixteen rooms are left, so rooms do not stop a second room either.
    ChooseHallway(3);
    test::Type(roomCount(), 2);
    ExpectUnchanged();
    EXPECT_EQ(roomCount().value(), 1);
    EXPECT_EQ(status(), QStringLiteral("The level has 16 hallways and its hallway table is full: "
                                       "remove a hallway before changing a number of rooms"));

    test::ClickButton(*dialog_, kCopy);
    ChooseHallway(5);
    test::ClickButton(*dialog_, kPaste);
    ExpectUnchanged();
    EXPECT_EQ(status(), QStringLiteral("The level has 16 hallways and its hallway table is full: "
                                       "remove a hallway before pasting one"));
}

TEST_F(HallwayRefusalTest, TheOnlyHallwayCannotBePastedOverWhateverItsRoomCount) {
    Open(MakeHallwayLevel({3}));
    // The hallway copied onto itself: the room count would stay at three.
    test::ClickButton(*dialog_, kCopy);
    test::ClickButton(*dialog_, kPaste);
    ExpectUnchanged();
    EXPECT_EQ(status(), QStringLiteral("The only hallway of the level cannot be replaced: nothing "
                                       "can be pasted into it"));
    // A change of the room count still says what stops it.
    test::Type(roomCount(), 2);
    ExpectUnchanged();
    EXPECT_EQ(status(),
              QStringLiteral("The only hallway of the level cannot change its number of rooms"));
}

TEST_F(HallwayRefusalTest, ARoomNumberOfThirtyTwoOrMoreStopsTheRoomCount) {
    // Hallway 0 holds rooms 0, 40, 2: position 1 is no room, but decoding keeps the hallway
    // (only a first room ends the list).
    LevelRecord level = MakeHallwayLevel({3, 2, 4});
    level.roomOrder[1] = 40;
    level.RecountUsage();
    ASSERT_EQ(level.CountHallways(), 3);
    Open(level);
    const QString refusal =
        QStringLiteral("Room 1 of this hallway holds 40, which is no room (rooms are 0 to 31): "
                       "paint a room there before changing the number of rooms");
    test::Type(roomCount(), 4);
    ExpectUnchanged();
    EXPECT_EQ(roomCount().value(), 3);
    EXPECT_EQ(status(), refusal);
    // Shrinking keeps the room at position 1 too.
    test::Type(roomCount(), 2);
    ExpectUnchanged();
    EXPECT_EQ(status(), refusal);

    // Hallway 2 holds 5, 6, 7, 200: shrinking drops that last one and is taken, then growing
    // is fine again.
    level = MakeHallwayLevel({3, 2, 4});
    level.roomOrder[8] = 200;
    level.RecountUsage();
    Open(level);
    ChooseHallway(2);
    test::Type(roomCount(), 5);
    EXPECT_EQ(status(),
              QStringLiteral("Room 3 of this hallway holds 200, which is no room (rooms are 0 to "
                             "31): paint a room there before changing the number of rooms"));
    test::Type(roomCount(), 3);
    EXPECT_EQ(working().hallways[2].lastRoom, 2);
    EXPECT_EQ(status(), QString());
    test::Type(roomCount(), 4);
    EXPECT_EQ(working().hallways[2].lastRoom, 3);
    EXPECT_EQ(working().roomOrder[8], 31);
}

TEST_F(HallwayRefusalTest, ACopiedHallwayHoldingNoRoomCannotBePasted) {
    LevelRecord level = MakeHallwayLevel({3, 2, 4});
    level.roomOrder[6] = 50; // hallway 2: rooms 5, 50, 7, 8
    level.RecountUsage();
    Open(level);
    ChooseHallway(2);
    test::ClickButton(*dialog_, kCopy);
    ChooseHallway(0);
    test::ClickButton(*dialog_, kPaste);
    ExpectUnchanged();
    EXPECT_EQ(status(), QStringLiteral("Room 1 of the copied hallway holds 50, which is no room "
                                       "(rooms are 0 to 31): it cannot be pasted"));
}

} // namespace
} // namespace korvane
