// The main view opens the hallway and enemy placement editors: OK without changes is no edit
// on any level, OK with changes marks the document, the hallway editor's OK works out the
// checkpoints' hallways and the view's Hallway # follows the hallways there are, and the enemy
// editor carries the enemy graphics tables in and back.
#include "AppTestSupport.h"
#include "ModalAnswer.h"

#include "app/CKorvaneView.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "editors/CCanvasControl.h"
#include "gamedata/CKorvaneDoc.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

namespace korvane::test {
namespace {

class HallwayCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fixture_.Start(
            {QStringLiteral("-nosplash"), fixture_.WriteCartridge(QStringLiteral("demo.nes"))}));
    }
    CMainFrame& frame() { return *fixture_.app().mainFrame(); }
    CKorvaneView& view() { return frame().view(); }
    CKorvaneDoc& document() { return fixture_.app().document(); }
    // The first level with at least count hallways and room for one more.
    int LevelWithHallways(int count) {
        for (int n = 0; n < kLevelCount; ++n) {
            const LevelRecord& level = document().level(n);
            if (level.hallwayCount >= count && level.RemainingRooms() > 0 &&
                level.RemainingHallways() > 0) {
                return n;
            }
        }
        return -1;
    }
    static void Type(CEditorDialog& dialog, int controlId, int value) {
        auto* field = dialog.findChild<QSpinBox*>(QStringLiteral("id%1").arg(controlId));
        ASSERT_NE(field, nullptr);
        QLineEdit* edit = field->findChild<QLineEdit*>();
        edit->selectAll();
        QTest::keyClicks(edit, QString::number(value));
        QTest::keyClick(edit, Qt::Key_Return);
    }
    static void Click(CEditorDialog& dialog, int controlId) {
        auto* button = dialog.findChild<QAbstractButton*>(QStringLiteral("id%1").arg(controlId));
        ASSERT_NE(button, nullptr);
        button->click();
    }

    AppFixture fixture_;
};

TEST_F(HallwayCommandsTest, OkWithoutChangesIsNoEditOnAnyLevel) {
    const GameData before = document().gameData();
    for (int n = 0; n < kLevelCount; ++n) {
        view().levelField().setValue(n);
        for (int command : {cmd::kHallwayEditor, cmd::kEnemyEditor}) {
            ModalAnswer answer(nullptr, 1);
            EXPECT_TRUE(view().OpenEditor(command)) << n;
            EXPECT_TRUE(answer.answered) << n;
        }
    }
    EXPECT_TRUE(document().gameData() == before);
    EXPECT_FALSE(document().IsModified());
}

TEST_F(HallwayCommandsTest, AHallwayInsertedWithACheckpointMarksTheDocument) {
    const int n = LevelWithHallways(2);
    ASSERT_GE(n, 0);
    view().levelField().setValue(n);
    const LevelRecord before = document().level(n);
    const int count = before.hallwayCount;
    ASSERT_EQ(view().hallwayField().maximum(), count - 1);
    // A new hallway 1 with checkpoint 2 in it.
    ModalAnswer answer(
        [](CEditorDialog& dialog) {
            Type(dialog, 1011, 1);
            Click(dialog, 1055);
            Click(dialog, 1073);
        },
        1);
    ASSERT_TRUE(view().OpenEditor(cmd::kHallwayEditor));
    ASSERT_TRUE(answer.answered);
    const LevelRecord& after = document().level(n);
    EXPECT_EQ(after.hallwayCount, count + 1);
    EXPECT_EQ(after.hallways[1].transition, 2);
    EXPECT_EQ(after.roomOrder[static_cast<std::size_t>(before.HallwayStart(1))], 31);
    EXPECT_EQ(after.checkpointRooms[1], before.HallwayStart(1));
    EXPECT_EQ(after.checkpointHallways[1], 1);
    EXPECT_TRUE(document().IsModified());
    EXPECT_TRUE(frame().isWindowModified());
    // The view offers the new hallway, and the preview shows the new level data.
    EXPECT_EQ(view().hallwayField().maximum(), count);
    EXPECT_EQ(view().preview().renderer().levelData().hallwayCount, count + 1);
}

TEST_F(HallwayCommandsTest, TheEnemyEditorCarriesTheTablesAndMarksTheDocumentOnlyOnOk) {
    const int n = LevelWithHallways(1);
    ASSERT_GE(n, 0);
    view().levelField().setValue(n);
    const GameData before = document().gameData();
    const int bank = (before.levels[static_cast<std::size_t>(n)].hallways[0].enemyBank + 1) % 58;
    auto chooseBank = [bank](CEditorDialog& dialog) { Type(dialog, 1109, bank); };
    {
        // Cancel asks about the changes: answered Discard.
        ModalAnswer answer(
            [&chooseBank](CEditorDialog& dialog) {
                chooseBank(dialog);
                dialog.SetDiscardQuestion([](const QString&) { return true; });
            },
            2);
        EXPECT_FALSE(view().OpenEditor(cmd::kEnemyEditor));
        ASSERT_TRUE(answer.answered);
        EXPECT_EQ(answer.title, QStringLiteral("Hallway Enemies Editor"));
    }
    EXPECT_TRUE(document().gameData() == before);
    EXPECT_FALSE(document().IsModified());
    {
        ModalAnswer answer(chooseBank, 1);
        EXPECT_TRUE(view().OpenEditor(cmd::kEnemyEditor));
        ASSERT_TRUE(answer.answered);
    }
    EXPECT_EQ(document().level(n).hallways[0].enemyBank, bank);
    EXPECT_TRUE(document().gameData().enemyGraphics == before.enemyGraphics);
    EXPECT_TRUE(document().IsModified());
}

} // namespace
} // namespace korvane::test
