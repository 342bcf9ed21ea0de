#include "EditScript.h"
#include "DemoCartridge.h"

#include <gtest/gtest.h>

#include <memory>

namespace korvane {
namespace {

EditOperation Only(std::string_view text) {
    const EditScript script = ParseEditScript(text);
    EXPECT_FALSE(script.error) << script.error->message;
    EXPECT_EQ(script.operations.size(), 1u);
    return script.operations.empty() ? EditOperation{} : script.operations.front();
}

EditScriptError ErrorOf(std::string_view text) {
    const EditScript script = ParseEditScript(text);
    EXPECT_TRUE(script.error);
    EXPECT_TRUE(script.operations.empty());
    return script.error.value_or(EditScriptError{});
}

TEST(EditScriptParser, ReadsEveryOperationWithItsArguments) {
    struct Case {
        std::string_view line;
        EditOperationKind kind;
        std::array<int, 5> arguments;
        std::vector<std::uint8_t> rooms;
    };
    const std::vector<Case> cases{
        {"level 15", EditOperationKind::Level, {15}, {}},
        {"insert-hallway 2 0x39 4 10 7 8 9",
         EditOperationKind::InsertHallway,
         {2, 0x39, 4, 10},
         {7, 8, 9}},
        {"replace-hallway 0 1 2 3 31", EditOperationKind::ReplaceHallway, {0, 1, 2, 3}, {31}},
        {"remove-hallway 0xF", EditOperationKind::RemoveHallway, {15}, {}},
        {"set-hallway-room 1 2 0x1f", EditOperationKind::SetHallwayRoom, {1, 2, 31}, {}},
        {"set-hallway 3 0x3A 5 15", EditOperationKind::SetHallway, {3, 0x3A, 5, 15}, {}},
        {"add-enemy 255 0 3 0X2A", EditOperationKind::AddEnemy, {255, 0, 3, 42}, {}},
        {"delete-enemy 0", EditOperationKind::DeleteEnemy, {0}, {}},
        {"set-enemy 4 16 176 2 0x10", EditOperationKind::SetEnemy, {4, 16, 176, 2, 16}, {}},
        {"remove-room-position 3 1", EditOperationKind::RemoveRoomPosition, {3, 1}, {}},
        {"insert-room-position 0 0", EditOperationKind::InsertRoomPosition, {0, 0}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const EditOperation op = Only(c.line);
        EXPECT_EQ(op.kind, c.kind);
        EXPECT_EQ(op.arguments, c.arguments);
        EXPECT_EQ(op.rooms, c.rooms);
        EXPECT_EQ(op.lineNumber, 1);
        EXPECT_EQ(OperationName(op.kind), c.line.substr(0, c.line.find(' ')));
    }
}

TEST(EditScriptParser, SkipsCommentsAndBlankLinesAndCountsLines) {
    const EditScript script = ParseEditScript("# a script\n"
                                              "\n"
                                              "  level\t3   # the fourth level\r\n"
                                              "   \n"
                                              "delete-enemy 0x00#no blank before the comment\n"
                                              "add-enemy 1 2 3 4");
    ASSERT_FALSE(script.error);
    ASSERT_EQ(script.operations.size(), 3u);
    EXPECT_EQ(script.operations[0].lineNumber, 3);
    EXPECT_EQ(script.operations[0].arguments[0], 3);
    EXPECT_EQ(script.operations[1].lineNumber, 5);
    EXPECT_EQ(script.operations[1].kind, EditOperationKind::DeleteEnemy);
    EXPECT_EQ(script.operations[2].lineNumber, 6);
    EXPECT_TRUE(ParseEditScript("").operations.empty());
    EXPECT_FALSE(ParseEditScript("").error);
}

TEST(EditScriptParser, NamesTheFirstMalformedLine) {
    EXPECT_EQ(ErrorOf("level 1\nlevel 2\nfly-away 3\nbogus\n").lineNumber, 3);
    EXPECT_NE(ErrorOf("fly-away 3").message.find("fly-away"), std::string::npos);
    const std::vector<std::string_view> malformed{
        "level",                         // too few
        "level 1 2",                     // too many
        "level 16",                      // out of range
        "level -1",                      // no sign
        "level 1x",                      // not a number
        "level 0x",                      // hex without digits
        "level 99999999999999999999999", // far too large
        "insert-hallway 0 1 2 3",        // no rooms
        "insert-hallway 0 1 2 16 5",     // transition is a nibble
        "insert-hallway 0 1 2 3 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17", // 17 rooms
        "replace-hallway 16 0 0 2 1",                                       // hallway index
        "set-hallway-room 0 0 256",                                         // room is a byte
        "set-hallway 0 1 2",                                                // too few
        "set-hallway 0 1 2 16",                                             // transition
        "set-hallway 0 1 2 3 4",                                            // no rooms
        "add-enemy 1 2 3",                                                  // too few
        "set-enemy 256 1 2 3 4",                                            // index
        "delete-enemy",                                                     // too few
        "remove-room-position 0",                                           // too few
        "insert-room-position 0 16",                                        // room index
        "LEVEL 1",                                                          // names are lower case
    };
    for (const std::string_view line : malformed) {
        SCOPED_TRACE(line);
        const EditScriptError error = ErrorOf(std::string("# first\n") + std::string(line));
        EXPECT_EQ(error.lineNumber, 2);
        EXPECT_FALSE(error.message.empty());
    }
    // Bytes that do not print are shown escaped in the message.
    EXPECT_NE(ErrorOf(std::string_view("level 1\x01", 8)).message.find("\"1\\x01\""),
              std::string::npos);
    // A long word is quoted by its first 40 characters, each byte that does not print one.
    const std::string forty(40, 'w');
    EXPECT_EQ(ErrorOf(forty).message, "unknown operation \"" + forty + "\"");
    EXPECT_EQ(ErrorOf(forty + "w").message, "unknown operation \"" + forty + "...\"");
    EXPECT_EQ(ErrorOf("level " + std::string(41, '9')).message,
              "argument 1 (" + std::string(40, '9') + "...) is out of range 0..15");
    EXPECT_EQ(ErrorOf("add-enemy 1 2 3 " + std::string(39, 'x') + "\x01yz").message,
              "\"" + std::string(39, 'x') + "\\x01...\" is not a number (decimal or 0x-hex)");
    // Sixteen rooms are the most a hallway holds.
    EXPECT_EQ(Only("insert-hallway 0 1 2 3 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16").rooms.size(),
              16u);
}

class EditScriptRunner : public ::testing::Test {
protected:
    void SetUp() override {
        data_ = std::make_unique<GameData>();
        data_->Decode(*MakeDemoCartridge(1));
        expected_ = std::make_unique<GameData>(*data_);
    }
    std::vector<std::string> Run(const std::string& text) {
        const EditScript script = ParseEditScript(text);
        EXPECT_FALSE(script.error);
        std::vector<std::string> results;
        for (const EditOperation& op : script.operations) {
            results.push_back(ApplyEditOperation(op, *data_, level_));
        }
        return results;
    }
    std::unique_ptr<GameData> data_;
    std::unique_ptr<GameData> expected_;
    int level_ = 0;
};

TEST_F(EditScriptRunner, AppliesTheOperationsToTheChosenLevel) {
    LevelRecord& want = expected_->levels[5];
    const std::array<std::uint8_t, 2> rooms{3, 4};
    const int insert = static_cast<int>(want.InsertHallway(1, rooms, Hallway{7, 2, 6, 1}));
    const int add = want.AddEnemy(EnemyPlacement{40, 176, 0, 9}.Packed());
    const int remove = static_cast<int>(want.RemoveHallway(0));
    const int set = static_cast<int>(want.SetHallwayRoom(0, 1, 30));
    const int entry =
        static_cast<int>(want.SetHallwayEntry(0, Hallway{0x21, 3, 9, want.hallways[0].lastRoom}));
    const int del = want.DeleteEnemy(0);
    const int setEnemy = want.SetEnemy(1, EnemyPlacement{8, 8, 1, 1}.Packed());
    want.InsertRoomPositionIntoEnemies(0, 0);
    want.RemoveRoomPositionFromEnemies(0, 1);
    const std::array<std::uint8_t, 1> one{12};
    const int replace = static_cast<int>(want.ReplaceHallway(1, one, Hallway{1, 1, 8, 0}));

    const auto results = Run("level 5\n"
                             "insert-hallway 1 7 2 6 3 4\n"
                             "add-enemy 40 176 0 9\n"
                             "remove-hallway 0\n"
                             "set-hallway-room 0 1 30\n"
                             "set-hallway 0 0x21 3 9\n"
                             "delete-enemy 0\n"
                             "set-enemy 1 8 8 1 1\n"
                             "insert-room-position 0 0\n"
                             "remove-room-position 0 1\n"
                             "replace-hallway 1 1 1 8 12\n");
    const std::vector<std::string> expected{"-",
                                            std::to_string(insert),
                                            std::to_string(add),
                                            std::to_string(remove),
                                            std::to_string(set),
                                            std::to_string(entry),
                                            std::to_string(del),
                                            std::to_string(setEnemy),
                                            "-",
                                            "-",
                                            std::to_string(replace)};
    EXPECT_EQ(results, expected);
    EXPECT_EQ(insert, 0);
    EXPECT_EQ(entry, 0);
    EXPECT_EQ(data_->levels[5].hallways[0].enemyBank, 0x21);
    EXPECT_EQ(level_, 5);
    EXPECT_TRUE(*data_ == *expected_); // level 5 changed as by the calls, the others not at all
}

TEST_F(EditScriptRunner, RefusalsAreReportedAndChangeNothing) {
    // A level of a single hallway: that hallway cannot be removed or replaced.
    int single = 0;
    while (single < kLevelCount &&
           data_->levels[static_cast<std::size_t>(single)].hallwayCount != 1) {
        ++single;
    }
    ASSERT_LT(single, kLevelCount);
    const auto results = Run("level " + std::to_string(single) +
                             "\nremove-hallway 0\nreplace-hallway 0 1 1 2 1 2\n");
    EXPECT_EQ(results, (std::vector<std::string>{"-", "-3", "-3"}));
    EXPECT_TRUE(*data_ == *expected_);
}

} // namespace
} // namespace korvane
