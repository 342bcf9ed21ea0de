// The main view opens the real editors: the toolbar commands, the
// modal run answered from outside, and OK marking the document only when the level changed.
#include "AppTestSupport.h"
#include "ModalAnswer.h"

#include "app/CKorvaneView.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "editors/CCanvasControl.h"
#include "editors/CEditorDialog.h"
#include "gamedata/CKorvaneDoc.h"
#include "tests/canvas/CanvasTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace korvane::test {
namespace {

void ClickCanvas(CEditorDialog& dialog, int canvasId, QPoint pos) {
    auto* canvas = dialog.findChild<CCanvasControl*>(QStringLiteral("id%1").arg(canvasId));
    ASSERT_NE(canvas, nullptr);
    Move(*canvas, pos);
    Press(*canvas, pos);
    Release(*canvas, pos);
}

class EditorCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = fixture_.WriteCartridge(QStringLiteral("demo.nes"));
        ASSERT_TRUE(fixture_.Start({QStringLiteral("-nosplash"), path_}));
    }
    CMainFrame& frame() { return *fixture_.app().mainFrame(); }
    CKorvaneDoc& document() { return fixture_.app().document(); }

    AppFixture fixture_;
    QString path_;
};

TEST_F(EditorCommandsTest, EachLayerEditorOpensFromItsCommandAndOkWithoutChangesIsNoEdit) {
    const struct {
        int command;
        const char* title;
    } editors[] = {{cmd::kBlockEditor, "Block Editor"},
                   {cmd::kAssemblyEditor, "Assembly Editor"},
                   {cmd::kRoomEditor, "Room Editor"},
                   {cmd::kTileEditor, "Tile Editor"},
                   {cmd::kPaletteEditor, "Palette Editor"},
                   {cmd::kHallwayEditor, "Hallway Editor"},
                   {cmd::kEnemyEditor, "Hallway Enemies Editor"}};
    const GameData before = document().gameData();
    for (const auto& editor : editors) {
        QAction* action = frame().action(editor.command);
        ASSERT_TRUE(action->isEnabled()) << editor.title;
        ModalAnswer answer(nullptr, 1);
        action->trigger();
        EXPECT_TRUE(answer.answered) << editor.title;
        EXPECT_EQ(answer.title, QString::fromLatin1(editor.title));
    }
    EXPECT_TRUE(document().gameData() == before);
    EXPECT_FALSE(document().IsModified());
    EXPECT_FALSE(frame().isWindowModified());
}

TEST_F(EditorCommandsTest, OkAfterAPaintPutsTheLevelBackAndMarksTheDocument) {
    const int levelNumber = 2;
    frame().view().levelField().setValue(levelNumber);
    const LevelRecord before = document().level(levelNumber);
    // The Room editor: assembly 0x21 (column 1, row 2 of the 32-pixel Assemblies canvas) into
    // cell 0 of room 0.
    const int part = before.rooms[0].cells[0] == 0x21 ? 0x22 : 0x21;
    ModalAnswer answer(
        [part](CEditorDialog& dialog) {
            ClickCanvas(dialog, 1006, QPoint((part % 16) * 32 + 16, (part / 16) * 32 + 16));
            ClickCanvas(dialog, 1051, QPoint(16, 16));
        },
        1);
    ASSERT_TRUE(frame().view().OpenEditor(cmd::kRoomEditor));
    ASSERT_TRUE(answer.answered);
    LevelRecord expected = before;
    expected.rooms[0].cells[0] = static_cast<std::uint8_t>(part);
    EXPECT_EQ(document().level(levelNumber), expected);
    EXPECT_TRUE(document().IsModified());
    EXPECT_TRUE(frame().isWindowModified());
    // The preview shows the new level data.
    EXPECT_EQ(frame().view().preview().renderer().levelData().rooms[0], expected.rooms[0]);
}

TEST_F(EditorCommandsTest, CancelAfterAPaintAndOkAfterUndoingItChangeNothing) {
    const LevelRecord before = document().level(0);
    const int tile = before.blocks[0].tiles[0] == 0x10 ? 0x11 : 0x10;
    auto paint = [tile](CEditorDialog& dialog) {
        ClickCanvas(dialog, 1017, QPoint((tile % 16) * 16 + 8, (tile / 16) * 16 + 8));
        ClickCanvas(dialog, 1098, QPoint(16, 16));
    };
    {
        // Cancel asks about the changes: answered Discard.
        int asked = 0;
        ModalAnswer answer(
            [&paint, &asked](CEditorDialog& dialog) {
                paint(dialog);
                dialog.SetDiscardQuestion([&asked](const QString&) { return ++asked > 0; });
            },
            2);
        EXPECT_FALSE(frame().view().OpenEditor(cmd::kBlockEditor));
        ASSERT_TRUE(answer.answered);
        EXPECT_EQ(asked, 1);
    }
    EXPECT_EQ(document().level(0), before);
    EXPECT_FALSE(document().IsModified());
    {
        ModalAnswer answer(
            [&paint](CEditorDialog& dialog) {
                paint(dialog);
                dialog.findChild<QPushButton*>(QStringLiteral("undo"))->click();
            },
            1);
        EXPECT_TRUE(frame().view().OpenEditor(cmd::kBlockEditor));
        ASSERT_TRUE(answer.answered);
    }
    EXPECT_EQ(document().level(0), before);
    EXPECT_FALSE(document().IsModified());
}

} // namespace
} // namespace korvane::test
