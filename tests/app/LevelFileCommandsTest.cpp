// File > Export Level and Import Level from the main window, the file and the tiles question
// answered through the prompt.
#include "AppTestSupport.h"

#include "app/CChangesDlg.h"
#include "app/CKorvaneView.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/DocumentHistory.h"
#include "app/EditorRegistry.h"
#include "gamedata/CKorvaneDoc.h"
#include "gamedata/LevelTextReader.h"
#include "gamedata/ModelTextWriter.h"
#include "tools/DemoCartridge.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <memory>

namespace korvane::test {
namespace {

class LevelFileCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = fixture_.WriteCartridge(QStringLiteral("demo.nes"));
        ASSERT_TRUE(fixture_.Start({QStringLiteral("-nosplash"), path_}));
        // Level 4 of another demo cartridge, as a level file.
        const auto other = MakeDemoCartridge(2);
        source_ = std::make_unique<GameData>();
        source_->Decode(*other);
        levelFile_ = fixture_.PathIn(QStringLiteral("gyro.kvlevel"));
        const std::string text = ModelTextWriter::LevelText(source_->levels[4], "Gyro Keep");
        WriteFileBytes(levelFile_, std::vector<std::uint8_t>(text.begin(), text.end()));
    }
    CMainFrame& frame() { return *fixture_.app().mainFrame(); }
    CKorvaneDoc& document() { return fixture_.app().document(); }
    DocumentHistory& history() { return fixture_.app().history(); }
    RecordingPrompt& prompt() { return fixture_.prompt; }

    AppFixture fixture_;
    QString path_;
    QString levelFile_;
    std::unique_ptr<GameData> source_;
};

TEST_F(LevelFileCommandsTest, ImportLevelIsOneStepThatUndoesAndRedoes) {
    const int n = frame().view().level();
    const LevelRecord before = document().level(n);
    const LevelRecord& imported = source_->levels[4];
    ASSERT_FALSE(before.rooms == imported.rooms);
    prompt().fileAnswers = {levelFile_};
    prompt().tileAnswers = {false};
    ASSERT_TRUE(frame().ImportLevel());
    EXPECT_EQ(prompt().fileQuestions, std::vector<FileQuestion>{FileQuestion::LevelToImport});
    EXPECT_EQ(prompt().tileQuestions, std::vector<int>{n});
    const LevelRecord& now = document().level(n);
    EXPECT_EQ(now.rooms, imported.rooms);
    EXPECT_EQ(now.hallways, imported.hallways);
    EXPECT_EQ(now.enemies, imported.enemies);
    EXPECT_EQ(now.undecodedBytes, imported.undecodedBytes);
    EXPECT_EQ(now.tiles, before.tiles);
    EXPECT_EQ(now.tileBanks, before.tileBanks);
    EXPECT_TRUE(document().IsModified());
    EXPECT_EQ(history().undoText(), QStringLiteral("Import Level (level %1)").arg(n));
    EXPECT_EQ(frame().action(cmd::kEditUndo)->isEnabled(), true);

    const LevelRecord after = document().level(n);
    history().Undo();
    EXPECT_TRUE(document().level(n) == before);
    EXPECT_FALSE(document().IsModified());
    history().Redo();
    EXPECT_TRUE(document().level(n) == after);

    // Saved and opened again, the level holds the file's undecoded bytes too.
    ASSERT_TRUE(frame().FileSave());
    CKorvaneDoc reread;
    ASSERT_TRUE(reread.OpenReadOnly(path_.toStdString()));
    EXPECT_TRUE(reread.level(n) == after);
}

TEST_F(LevelFileCommandsTest, ImportLevelWithTilesTakesThemAndCancelChangesNothing) {
    const int n = frame().view().level();
    const LevelRecord before = document().level(n);
    prompt().fileAnswers = {levelFile_};
    EXPECT_FALSE(frame().ImportLevel()); // the tiles question cancelled
    EXPECT_TRUE(document().level(n) == before);
    EXPECT_EQ(history().count(), 0);

    prompt().fileAnswers = {levelFile_};
    prompt().tileAnswers = {true};
    ASSERT_TRUE(frame().ImportLevel());
    EXPECT_EQ(document().level(n).tiles, source_->levels[4].tiles);
    EXPECT_EQ(document().level(n).tileBanks, before.tileBanks);
    EXPECT_EQ(history().count(), 1);
}

TEST_F(LevelFileCommandsTest, AMalformedLevelFileIsRefusedWithItsLineAndNothingChanges) {
    const int n = frame().view().level();
    const LevelRecord before = document().level(n);
    const QString bad = fixture_.PathIn(QStringLiteral("bad.kvlevel"));
    const std::string text = "{\n  \"format\": \"korvane-level\",\n  \"version\": 7\n}\n";
    WriteFileBytes(bad, std::vector<std::uint8_t>(text.begin(), text.end()));
    prompt().fileAnswers = {bad};
    prompt().tileAnswers = {true};
    EXPECT_FALSE(frame().ImportLevel());
    ASSERT_EQ(fixture_.reporter.messages.size(), 1u);
    const std::string& message = fixture_.reporter.messages[0].text;
    EXPECT_NE(message.find("bad.kvlevel:3: version: version 7 is not known"), std::string::npos)
        << message;
    EXPECT_NE(message.find("Nothing was changed."), std::string::npos) << message;
    EXPECT_TRUE(prompt().tileQuestions.empty());
    EXPECT_TRUE(document().level(n) == before);
    EXPECT_EQ(history().count(), 0);
    EXPECT_FALSE(document().IsModified());
}

TEST_F(LevelFileCommandsTest, ExportLevelWritesTheCurrentLevelAsALevelFile) {
    const int n = frame().view().level();
    const QString out = fixture_.PathIn(QStringLiteral("out.kvlevel"));
    prompt().fileAnswers = {out};
    ASSERT_TRUE(frame().ExportLevel());
    EXPECT_EQ(prompt().fileQuestions, std::vector<FileQuestion>{FileQuestion::LevelToWrite});
    const std::vector<std::uint8_t> bytes = ReadFileBytes(out);
    const LevelTextReader::Result read =
        LevelTextReader::Read(std::string(bytes.begin(), bytes.end()));
    ASSERT_FALSE(read.refusal);
    EXPECT_TRUE(*read.level == document().level(n));
    EXPECT_EQ(read.name, LevelCatalogue[static_cast<std::size_t>(n)].name);
    EXPECT_FALSE(document().IsModified());
}

TEST_F(LevelFileCommandsTest, ExportLevelIsNotWrittenOverTheCartridgeItComesFrom) {
    const std::vector<std::uint8_t> original = ReadFileBytes(path_);
    const QString link = fixture_.PathIn(QStringLiteral("demo.kvlevel"));
    ASSERT_TRUE(QFile::link(path_, link));
    for (const QString& out : {path_, link}) {
        fixture_.reporter.messages.clear();
        prompt().fileAnswers = {out};
        EXPECT_FALSE(frame().ExportLevel());
        ASSERT_EQ(fixture_.reporter.messages.size(), 1U);
        EXPECT_EQ(fixture_.reporter.messages[0].text,
                  "Korvane can't write \"" + out.toStdString() + "\": it is the same file as \"" +
                      path_.toStdString() + "\", which it is made from. Nothing was written.");
        EXPECT_EQ(ReadFileBytes(path_), original);
    }
}

TEST_F(LevelFileCommandsTest, ChangesListsAnEditorsEditAndItsLineSelectsTheLevel) {
    // A room editor that sets cell 2 of room 1 of the level it edits.
    std::uint8_t cell = 0;
    fixture_.app().editors().Register(cmd::kRoomEditor, [&cell](EditorSession& session) {
        session.level.rooms[1].cells[2] = cell;
        return true;
    });
    ASSERT_TRUE(frame().ShowChanges());
    CChangesDlg& changes = *frame().changesDialog();
    EXPECT_EQ(changes.list().count(), 0);
    EXPECT_EQ(changes.summary().text(), QStringLiteral("No changes since the file was opened."));

    frame().view().levelField().setValue(2);
    ASSERT_EQ(frame().view().level(), 2);
    const std::uint8_t was = document().level(2).rooms[1].cells[2];
    cell = static_cast<std::uint8_t>(was ^ 0x15);
    ASSERT_TRUE(frame().view().OpenEditor(cmd::kRoomEditor));
    frame().view().levelField().setValue(0);
    ASSERT_TRUE(frame().ShowChanges());
    ASSERT_EQ(changes.list().count(), 1);
    EXPECT_EQ(changes.summary().text(), QStringLiteral("1 change since the file was opened:"));
    const auto hex = [](unsigned value) {
        return QStringLiteral("$%1").arg(value, 2, 16, QChar('0')).toUpper();
    };
    EXPECT_EQ(changes.list().item(0)->text(),
              QStringLiteral("level 2 room 1 cell 2: assembly ") + hex(was) + " -> " + hex(cell));
    // The first hallway of level 2 that shows room 1, found here by walking its room order.
    const LevelRecord& level = document().level(2);
    int expectedHallway = -1;
    int start = 0;
    for (int h = 0; h < level.hallwayCount && expectedHallway < 0; ++h) {
        const int rooms = level.hallways[static_cast<std::size_t>(h)].lastRoom + 1;
        for (int i = 0; i < rooms; ++i) {
            if (start + i < 32 && level.roomOrder[static_cast<std::size_t>(start + i)] == 1) {
                expectedHallway = h;
                break;
            }
        }
        start += rooms;
    }
    emit changes.list().itemActivated(changes.list().item(0));
    EXPECT_EQ(frame().view().level(), 2);
    if (expectedHallway >= 0) {
        EXPECT_EQ(frame().view().hallway(), expectedHallway);
    }
}

} // namespace
} // namespace korvane::test
