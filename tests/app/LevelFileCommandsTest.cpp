// File > Export Level and Import Level from the main window, the file and the tiles question
// answered through the prompt.
#include "AppTestSupport.h"

#include "app/CKorvaneView.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/DocumentHistory.h"
#include "gamedata/CKorvaneDoc.h"
#include "gamedata/LevelTextReader.h"
#include "gamedata/ModelTextWriter.h"
#include "tools/DemoCartridge.h"

#include <QAction>

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

} // namespace
} // namespace korvane::test
