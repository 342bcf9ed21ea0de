// Edit > Undo and Redo in the main window: editor OKs and Apply Patch as steps, the model and
// the preview put back, and the modified flag as the history's clean state.
#include "AppTestSupport.h"

#include "app/CKorvaneView.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/DocumentHistory.h"
#include "app/EditorRegistry.h"
#include "editors/CCanvasControl.h"
#include "gamedata/ByteDelta.h"
#include "gamedata/CKorvaneDoc.h"
#include "gamedata/PatchFormat.h"

#include <QAction>
#include <QFile>
#include <QSpinBox>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace korvane::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

class WindowUndoTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = fixture_.WriteCartridge(QStringLiteral("demo.nes"));
        ASSERT_TRUE(fixture_.Start({QStringLiteral("-nosplash"), path_}));
        // A room editor that adds 1 to cell 0 of room 0 of the level it edits.
        editors().Register(cmd::kRoomEditor, [](EditorSession& session) {
            session.level.rooms[0].cells[0] =
                static_cast<std::uint8_t>(session.level.rooms[0].cells[0] + 1);
            return true;
        });
    }
    CMainFrame& frame() { return *fixture_.app().mainFrame(); }
    CKorvaneView& view() { return frame().view(); }
    CKorvaneDoc& document() { return fixture_.app().document(); }
    DocumentHistory& history() { return fixture_.app().history(); }
    EditorRegistry& editors() { return fixture_.app().editors(); }
    QAction& undo() { return *frame().action(cmd::kEditUndo); }
    QAction& redo() { return *frame().action(cmd::kEditRedo); }
    void EditRoom() { ASSERT_TRUE(view().OpenEditor(cmd::kRoomEditor)); }

    AppFixture fixture_;
    QString path_;
};

TEST_F(WindowUndoTest, AnEditorOkIsOneStepThatUndoAndRedoWalkByteForByte) {
    EXPECT_FALSE(undo().isEnabled());
    EXPECT_FALSE(redo().isEnabled());
    EXPECT_EQ(undo().text(), QStringLiteral("&Undo"));
    EXPECT_TRUE(undo().shortcuts().contains(QKeySequence(QStringLiteral("Ctrl+Z"))));
    EXPECT_FALSE(redo().shortcuts().isEmpty());

    view().levelField().setValue(3);
    const LevelRecord before = document().level(3);
    EditRoom();
    const LevelRecord after = document().level(3);
    ASSERT_NE(before, after);
    EXPECT_EQ(history().count(), 1);
    EXPECT_TRUE(undo().isEnabled());
    EXPECT_EQ(undo().text(), QStringLiteral("&Undo Room Editor (level 3)"));
    EXPECT_EQ(undo().toolTip(), QStringLiteral("Undo Room Editor (level 3)"));
    EXPECT_TRUE(frame().isWindowModified());

    undo().trigger();
    EXPECT_EQ(document().level(3), before);
    EXPECT_EQ(view().preview().renderer().levelData(), before);
    EXPECT_FALSE(document().IsModified());
    EXPECT_FALSE(frame().isWindowModified());
    EXPECT_FALSE(undo().isEnabled());
    EXPECT_EQ(redo().text(), QStringLiteral("&Redo Room Editor (level 3)"));
    EXPECT_EQ(redo().toolTip(), QStringLiteral("Redo Room Editor (level 3)"));

    redo().trigger();
    EXPECT_EQ(document().level(3), after);
    EXPECT_EQ(view().preview().renderer().levelData(), after);
    EXPECT_TRUE(document().IsModified());
    EXPECT_TRUE(frame().isWindowModified());
    // A room edit keeps its own bytes, not a copy of the level or the model.
    EXPECT_LT(history().StepMemoryBytes(0), 512u);
}

TEST_F(WindowUndoTest, UndoAndRedoKeysReachTheHistoryFromTheNumberFields) {
    frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
    view().levelField().setValue(3);
    const LevelRecord before = document().level(3);
    EditRoom();
    const LevelRecord after = document().level(3);
    ASSERT_NE(before, after);
    for (QSpinBox* field : {&view().levelField(), &view().hallwayField()}) {
        field->setFocus();
        ASSERT_TRUE(field->hasFocus());
        QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(history().index(), 0) << field->objectName().toStdString();
        EXPECT_EQ(document().level(3), before);
        QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(history().index(), 1) << field->objectName().toStdString();
        EXPECT_EQ(document().level(3), after);
        // The field's own text is left as it was: the keys were the window's.
        EXPECT_EQ(view().levelField().value(), 3);
    }
}

TEST_F(WindowUndoTest, AnOkThatChangesNothingIsNoStep) {
    editors().Register(cmd::kBlockEditor, [](EditorSession&) { return true; });
    editors().Register(cmd::kAssemblyEditor, [](EditorSession& session) {
        ++session.level.assemblies[0].blocks[0];
        return false; // cancelled
    });
    ASSERT_TRUE(view().OpenEditor(cmd::kBlockEditor));
    EXPECT_FALSE(view().OpenEditor(cmd::kAssemblyEditor));
    EXPECT_EQ(history().count(), 0);
    EXPECT_FALSE(undo().isEnabled());
}

TEST_F(WindowUndoTest, ATileEditCarriedToSharedPagesIsUndoneInEveryLevel) {
    // A level whose tiles 0-127 other levels show too.
    int levelNumber = -1;
    for (int n = 0; n < kLevelCount && levelNumber < 0; ++n) {
        if (!document().gameData().FindTileHalfSharing(n, 0).levels.empty()) {
            levelNumber = n;
        }
    }
    ASSERT_GE(levelNumber, 0);
    const int sharer = document().gameData().FindTileHalfSharing(levelNumber, 0).levels.front();
    view().levelField().setValue(levelNumber);

    // The tile editor's own descriptor (its page carrying after OK), run without its dialog.
    EditorDescriptor tiles = *editors().Find(cmd::kTileEditor);
    tiles.run = [](EditorSession& session) {
        for (std::size_t i = 0; i < 16; ++i) {
            session.level.tiles[i] = static_cast<std::uint8_t>(~session.level.tiles[i]);
        }
        return true;
    };
    editors().Register(cmd::kTileEditor, tiles);
    const auto before = std::make_unique<GameData>(document().gameData());
    ASSERT_TRUE(view().OpenEditor(cmd::kTileEditor));
    const auto after = std::make_unique<GameData>(document().gameData());
    ASSERT_NE(after->levels[static_cast<std::size_t>(sharer)].tiles,
              before->levels[static_cast<std::size_t>(sharer)].tiles);
    EXPECT_EQ(undo().toolTip(), QStringLiteral("Undo Tile Editor (level %1)").arg(levelNumber));

    undo().trigger();
    EXPECT_TRUE(document().gameData() == *before);
    for (int n = 0; n < kLevelCount; ++n) {
        EXPECT_EQ(document().level(n), before->levels[static_cast<std::size_t>(n)]) << n;
    }
    EXPECT_EQ(view().preview().renderer().tilePatterns(),
              before->levels[static_cast<std::size_t>(levelNumber)].tiles);
    redo().trigger();
    EXPECT_TRUE(document().gameData() == *after);
    // One 16-byte run in each level that shows the page (and the sprite tiles where they do):
    // a few hundred bytes, nowhere near a copy of the model.
    EXPECT_LT(history().StepMemoryBytes(0), 4096u);
}

TEST_F(WindowUndoTest, TheEnemyTablesComeBackWithTheirStep) {
    EditorDescriptor enemies;
    enemies.editsEnemyGraphics = true;
    enemies.run = [](EditorSession& session) {
        session.enemyGraphics->enemyBanks[3].paletteA[1] ^= 0x3F;
        return true;
    };
    editors().Register(cmd::kEnemyEditor, enemies);
    const EnemyGraphics before = document().gameData().enemyGraphics;
    ASSERT_TRUE(view().OpenEditor(cmd::kEnemyEditor));
    ASSERT_FALSE(document().gameData().enemyGraphics == before);
    EXPECT_EQ(undo().toolTip(), QStringLiteral("Undo Enemy Placement Editor (level 0)"));
    undo().trigger();
    EXPECT_TRUE(document().gameData().enemyGraphics == before);
}

TEST_F(WindowUndoTest, TheHallwayRangeFollowsAnUndoneHallwayEdit) {
    int levelNumber = -1;
    for (int n = 0; n < kLevelCount && levelNumber < 0; ++n) {
        if (document().level(n).hallwayCount >= 3) {
            levelNumber = n;
        }
    }
    ASSERT_GE(levelNumber, 0);
    view().levelField().setValue(levelNumber);
    const int count = document().level(levelNumber).hallwayCount;
    editors().Register(cmd::kHallwayEditor, [count](EditorSession& session) {
        EXPECT_EQ(session.level.RemoveHallway(count - 1), HallwayResult::Ok);
        return true;
    });
    ASSERT_TRUE(view().OpenEditor(cmd::kHallwayEditor));
    EXPECT_EQ(view().hallwayField().maximum(), count - 2);
    undo().trigger();
    EXPECT_EQ(view().hallwayField().maximum(), count - 1);
    view().hallwayField().setValue(count - 1);
    ASSERT_EQ(view().hallway(), count - 1);
    // Redone, the hallway shown is gone: the view falls back to hallway 0.
    redo().trigger();
    EXPECT_EQ(view().hallwayField().maximum(), count - 2);
    EXPECT_EQ(view().hallway(), 0);
    EXPECT_EQ(view().hallwayField().value(), 0);
    EXPECT_EQ(view().preview().renderer().currentHallway(), 0);
    EXPECT_EQ(view().preview().renderer().levelData(), document().level(levelNumber));
}

TEST_F(WindowUndoTest, ModifiedIsTheCleanStateAndTheCloseQuestionFollowsIt) {
    const Bytes onDisk = ReadFileBytes(path_);
    EditRoom();
    ASSERT_TRUE(frame().FileSave());
    EXPECT_FALSE(frame().isWindowModified());
    EditRoom();
    EXPECT_TRUE(frame().isWindowModified());
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("demo.nes[*] - Korvane"));

    // Back at the saved state: nothing to ask about.
    undo().trigger();
    EXPECT_FALSE(document().IsModified());
    EXPECT_FALSE(frame().isWindowModified());
    // Before it, the model differs from the file again.
    undo().trigger();
    EXPECT_TRUE(document().IsModified());
    EXPECT_TRUE(frame().isWindowModified());
    redo().trigger();
    EXPECT_FALSE(frame().isWindowModified());

    EXPECT_TRUE(frame().close());
    EXPECT_TRUE(fixture_.prompt.saveQuestions.empty());
    EXPECT_NE(ReadFileBytes(path_), onDisk);
}

TEST_F(WindowUndoTest, UndoingEverySinceTheOpenAsksNothingOnClose) {
    EditRoom();
    EditRoom();
    undo().trigger();
    undo().trigger();
    EXPECT_FALSE(frame().isWindowModified());
    EXPECT_TRUE(frame().close());
    EXPECT_TRUE(fixture_.prompt.saveQuestions.empty());
}

TEST_F(WindowUndoTest, AStepAfterUndoingPastTheSavedStateNeverReachesItAgain) {
    EditRoom();
    ASSERT_TRUE(frame().FileSave());
    undo().trigger();
    EXPECT_TRUE(frame().isWindowModified());
    // Another change where the saved one was: the saved state is no longer in the history.
    editors().Register(cmd::kBlockEditor, [](EditorSession& session) {
        session.level.blocks[2].attributes ^= 0x01;
        return true;
    });
    ASSERT_TRUE(view().OpenEditor(cmd::kBlockEditor));
    undo().trigger();
    EXPECT_TRUE(frame().isWindowModified());
    fixture_.prompt.saveAnswers = {SaveChoice::Cancel};
    EXPECT_FALSE(frame().close());
    EXPECT_EQ(fixture_.prompt.saveQuestions.size(), 1u);
}

TEST_F(WindowUndoTest, OpeningOrStartingADocumentClearsTheHistory) {
    EditRoom();
    fixture_.prompt.saveAnswers = {SaveChoice::Discard};
    ASSERT_TRUE(frame().OpenDocumentFile(path_));
    EXPECT_EQ(history().count(), 0);
    EXPECT_FALSE(undo().isEnabled());
    EXPECT_EQ(undo().text(), QStringLiteral("&Undo"));
    EditRoom();
    fixture_.prompt.saveAnswers = {SaveChoice::Discard};
    ASSERT_TRUE(frame().FileNew());
    EXPECT_EQ(history().count(), 0);
    EXPECT_FALSE(frame().isWindowModified());
}

TEST_F(WindowUndoTest, ApplyPatchIsOneStepThatUndoTakesBackWhole) {
    const Bytes original = ReadFileBytes(path_);
    EditRoom(); // an unsaved edit before the patch
    const auto editedModel = std::make_unique<GameData>(document().gameData());
    const auto editedImage = std::make_unique<RomImage>(document().image());

    // A patch to another cartridge: the result differs everywhere.
    const QString other = fixture_.WriteCartridge(QStringLiteral("other.nes"), 5);
    const Bytes otherBytes = ReadFileBytes(other);
    const QString patchPath = fixture_.PathIn(QStringLiteral("to-other.bps"));
    WriteFileBytes(patchPath, korvane::CreatePatch(PatchFormat::Bps, original, otherBytes).bytes());
    fixture_.prompt.fileAnswers = {patchPath, path_};
    fixture_.prompt.saveAnswers = {SaveChoice::Discard};
    ASSERT_TRUE(frame().ApplyPatch());
    auto patchedModel = std::make_unique<GameData>();
    RomImage otherImage;
    std::copy(otherBytes.begin(), otherBytes.end(), otherImage.bytes.begin());
    patchedModel->Decode(otherImage);
    EXPECT_TRUE(document().gameData() == *patchedModel);
    EXPECT_EQ(document().Title(), "Untitled");
    EXPECT_EQ(undo().toolTip(), QStringLiteral("Undo Apply Patch"));
    EXPECT_EQ(history().count(), 2);

    undo().trigger();
    EXPECT_EQ(QString::fromStdString(document().PathName()), path_);
    EXPECT_TRUE(document().gameData() == *editedModel);
    EXPECT_TRUE(document().image().bytes == editedImage->bytes);
    EXPECT_EQ(document().cleanBytes(), original);
    EXPECT_TRUE(document().IsModified()); // the edit before the patch was never saved
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("demo.nes[*] - Korvane"));
    EXPECT_EQ(view().preview().renderer().levelData(), document().level(0));
    undo().trigger();
    EXPECT_FALSE(frame().isWindowModified());

    redo().trigger();
    redo().trigger();
    EXPECT_EQ(document().Title(), "Untitled");
    EXPECT_TRUE(document().gameData() == *patchedModel);
    EXPECT_EQ(document().EncodedContent(), otherBytes);
    EXPECT_EQ(document().cleanBytes(), original);
    // The step keeps the other image and the model's changes: less than one copy of
    // everything (image, clean cartridge, model), the clean cartridge being shared.
    EXPECT_LT(history().StepMemoryBytes(1), 2 * kRomSize + sizeof(GameData));
    EXPECT_GT(history().StepMemoryBytes(1), kRomSize);
}

TEST_F(WindowUndoTest, ThePatchedDocumentSavedElsewhereIsWhereRedoReturns) {
    const Bytes original = ReadFileBytes(path_);
    const QString patchPath = fixture_.PathIn(QStringLiteral("same.ips"));
    WriteFileBytes(patchPath, {'P', 'A', 'T', 'C', 'H', 'E', 'O', 'F'});
    fixture_.prompt.fileAnswers = {patchPath, path_};
    ASSERT_TRUE(frame().ApplyPatch());
    const QString saved = fixture_.PathIn(QStringLiteral("patched.nes"));
    fixture_.prompt.saveNameAnswers = {saved};
    ASSERT_TRUE(frame().FileSave());
    EXPECT_EQ(ReadFileBytes(saved), original);

    undo().trigger();
    EXPECT_EQ(QString::fromStdString(document().PathName()), path_);
    redo().trigger();
    EXPECT_EQ(QString::fromStdString(document().PathName()), saved);
    EXPECT_FALSE(frame().isWindowModified());
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("patched.nes[*] - Korvane"));
}

TEST(WindowUndoWithoutAFileTest, ApplyPatchUndoneGoesBackToTheEmptyWindow) {
    AppFixture fixture;
    const QString cartridge = fixture.WriteCartridge(QStringLiteral("demo.nes"));
    const QString patchPath = fixture.PathIn(QStringLiteral("nothing.ips"));
    WriteFileBytes(patchPath, {'P', 'A', 'T', 'C', 'H', 'E', 'O', 'F'});
    ASSERT_TRUE(fixture.Start({QStringLiteral("-nosplash")}));
    CMainFrame& frame = *fixture.app().mainFrame();
    EXPECT_FALSE(frame.action(cmd::kFileSaveAs)->isEnabled());
    EXPECT_FALSE(frame.action(cmd::kFileCreatePatch)->isEnabled());
    EXPECT_FALSE(frame.action(cmd::kFileExportPicture)->isEnabled());
    EXPECT_TRUE(frame.action(cmd::kFileApplyPatch)->isEnabled());

    fixture.prompt.fileAnswers = {patchPath, cartridge};
    ASSERT_TRUE(frame.ApplyPatch());
    EXPECT_EQ(frame.toolBar().actions().size(), 16);
    EXPECT_TRUE(frame.action(cmd::kFileSaveAs)->isEnabled());
    EXPECT_TRUE(frame.action(cmd::kRoomEditor)->isEnabled());
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Untitled[*] - Korvane"));
    EXPECT_TRUE(frame.isWindowModified());

    frame.action(cmd::kEditUndo)->trigger();
    EXPECT_FALSE(fixture.app().document().fileLoaded());
    EXPECT_FALSE(fixture.app().document().decoded());
    EXPECT_EQ(frame.toolBar().actions().size(), 4);
    EXPECT_FALSE(frame.action(cmd::kFileSaveAs)->isEnabled());
    EXPECT_FALSE(frame.action(cmd::kRoomEditor)->isEnabled());
    EXPECT_FALSE(frame.isWindowModified());
    EXPECT_TRUE(fixture.app().document().gameData() == *std::make_unique<GameData>());

    frame.action(cmd::kEditRedo)->trigger();
    EXPECT_TRUE(fixture.app().document().decoded());
    EXPECT_EQ(frame.toolBar().actions().size(), 16);
}

} // namespace
} // namespace korvane::test
