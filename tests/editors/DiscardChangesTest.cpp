// Esc, Cancel and closing an editor's window ask before the changes made in it are thrown
// away; without changes they close at once. reject() called by a program never asks.
#include "EditorTestSupport.h"
#include "HallwayTestLevels.h"
#include "editors/CAssemblyEditorDlg.h"
#include "editors/CBlockEditorDlg.h"
#include "editors/CDiscardGuard.h"
#include "editors/CEnemyEditorDlg.h"
#include "editors/CEnemyPlacementDlg.h"
#include "editors/CHallwayEditorDlg.h"
#include "editors/CPaletteEditorDlg.h"
#include "editors/CRoomEditorDlg.h"
#include "editors/CTileEditorDlg.h"
#include "editors/DiscardQuestion.h"
#include "gamedata/EnemyGraphics.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <algorithm>

namespace korvane {
namespace {

using test::Canvas;
using test::ClickItem;

// The questions asked, and the answer given to each.
struct QuestionLog {
    QStringList asked;
    bool discard = false;
    DiscardQuestion question() {
        return [this](const QString& editorName) {
            asked.push_back(editorName);
            return discard;
        };
    }
};

// How the user tries to leave the dialog.
enum class Leave { Escape, Cancel, Close };

void TryToLeave(QDialog& dialog, Leave leave) {
    switch (leave) {
    case Leave::Escape:
        QTest::keyClick(&dialog, Qt::Key_Escape);
        break;
    case Leave::Cancel:
        test::ClickButton(dialog, ids::kCancel);
        break;
    case Leave::Close:
        dialog.close();
        break;
    }
}

class RoomEditorDiscardTest : public ::testing::TestWithParam<Leave> {
protected:
    void SetUp() override {
        level_ = test::DemoLevel(3);
        level_->rooms[0].cells[0] = 0x55; // assembly 0 (chosen at opening) differs from it
        original_ = std::make_unique<LevelRecord>(*level_);
        dialog_ = std::make_unique<CRoomEditorDlg>(display_.context, *level_);
        dialog_->SetDiscardQuestion(log_.question());
        dialog_->show();
    }
    void PaintCell0() {
        ClickItem(Canvas(*dialog_, ids::kRoomEditCanvas), 0, 0, 32);
        ASSERT_EQ(dialog_->workingCopy().rooms[0].cells[0], 0);
        ASSERT_TRUE(dialog_->HasChanges());
    }

    test::EditorDisplay display_;
    std::unique_ptr<LevelRecord> level_;
    std::unique_ptr<LevelRecord> original_;
    std::unique_ptr<CRoomEditorDlg> dialog_;
    QuestionLog log_;
};

TEST_P(RoomEditorDiscardTest, WithoutChangesTheDialogClosesAtOnce) {
    TryToLeave(*dialog_, GetParam());
    EXPECT_TRUE(log_.asked.isEmpty());
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_EQ(dialog_->result(), QDialog::Rejected);
    EXPECT_EQ(*level_, *original_);
}

TEST_P(RoomEditorDiscardTest, KeepEditingLeavesTheDialogOpenWithItsChanges) {
    PaintCell0();
    log_.discard = false;
    TryToLeave(*dialog_, GetParam());
    EXPECT_EQ(log_.asked, QStringList{QStringLiteral("Room Editor")});
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_EQ(dialog_->workingCopy().rooms[0].cells[0], 0);
    EXPECT_EQ(dialog_->undoStack().count(), 1);
    // OK still takes the changes.
    test::ClickButton(*dialog_, ids::kOk);
    EXPECT_EQ(dialog_->result(), QDialog::Accepted);
    EXPECT_EQ(level_->rooms[0].cells[0], 0);
}

TEST_P(RoomEditorDiscardTest, DiscardClosesTheDialogAndTheRecordStaysAsItWas) {
    PaintCell0();
    log_.discard = true;
    TryToLeave(*dialog_, GetParam());
    EXPECT_EQ(log_.asked, QStringList{QStringLiteral("Room Editor")});
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_EQ(dialog_->result(), QDialog::Rejected);
    EXPECT_EQ(*level_, *original_);
}

TEST_P(RoomEditorDiscardTest, AChangeUndoneIsNoChange) {
    PaintCell0();
    test::ClickNamedButton(*dialog_, "undo");
    ASSERT_FALSE(dialog_->HasChanges());
    TryToLeave(*dialog_, GetParam());
    EXPECT_TRUE(log_.asked.isEmpty());
    EXPECT_FALSE(dialog_->isVisible());
}

INSTANTIATE_TEST_SUITE_P(EscCancelAndClose, RoomEditorDiscardTest,
                         ::testing::Values(Leave::Escape, Leave::Cancel, Leave::Close));

TEST(DiscardChangesTest, RejectCalledByAProgramNeverAsks) {
    test::EditorDisplay display;
    auto level = test::DemoLevel(3);
    level->rooms[0].cells[0] = 0x55;
    const LevelRecord original = *level;
    CRoomEditorDlg dialog(display.context, *level);
    QuestionLog log;
    dialog.SetDiscardQuestion(log.question());
    dialog.show();
    ClickItem(Canvas(dialog, ids::kRoomEditCanvas), 0, 0, 32);
    ASSERT_TRUE(dialog.HasChanges());
    dialog.reject();
    EXPECT_TRUE(log.asked.isEmpty());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(*level, original);
}

TEST(DiscardChangesTest, TheBoxAsksWithDiscardAsItsDestructiveButtonAndKeepEditingAsDefault) {
    QWidget parent;
    const std::unique_ptr<QMessageBox> box = MakeDiscardBox(&parent, QStringLiteral("Room Editor"));
    EXPECT_EQ(box->text(), QStringLiteral("Discard the changes made in the Room Editor?"));
    const QList<QAbstractButton*> buttons = box->buttons();
    ASSERT_EQ(buttons.size(), 2);
    QAbstractButton* discard = nullptr;
    QAbstractButton* keep = nullptr;
    for (QAbstractButton* button : buttons) {
        if (button->text() == QStringLiteral("Discard")) {
            discard = button;
        } else if (button->text() == QStringLiteral("Keep Editing")) {
            keep = button;
        }
    }
    ASSERT_NE(discard, nullptr);
    ASSERT_NE(keep, nullptr);
    EXPECT_EQ(box->buttonRole(discard), QMessageBox::DestructiveRole);
    EXPECT_EQ(box->defaultButton(), keep);
    EXPECT_EQ(box->escapeButton(), keep);
}

TEST(DiscardChangesTest, TheDefaultQuestionAnsweredByTheUser) {
    // The real box over a changed dialog: Enter takes Keep Editing, the Discard button closes.
    test::EditorDisplay display;
    auto level = test::DemoLevel(3);
    level->rooms[0].cells[0] = 0x55;
    CRoomEditorDlg dialog(display.context, *level);
    dialog.show();
    ClickItem(Canvas(dialog, ids::kRoomEditCanvas), 0, 0, 32);
    ASSERT_TRUE(dialog.HasChanges());
    for (const bool discard : {false, true}) {
        QTimer::singleShot(0, [discard] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->text(), QStringLiteral("Discard the changes made in the Room Editor?"));
            if (discard) {
                for (QAbstractButton* button : box->buttons()) {
                    if (box->buttonRole(button) == QMessageBox::DestructiveRole) {
                        button->click();
                    }
                }
            } else {
                QTest::keyClick(box, Qt::Key_Return);
            }
        });
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_EQ(dialog.isVisible(), !discard) << discard;
    }
}

// Every editor asks with its own name once something changed, and closes at once before.
struct EditorCase {
    const char* name;
    std::function<std::unique_ptr<CEditorDialog>(DisplayContext&, LevelRecord&)> open;
    std::function<void(CEditorDialog&)> change;
};

class EveryEditorTest : public ::testing::TestWithParam<EditorCase> {};

TEST_P(EveryEditorTest, AsksWithItsOwnNameOnlyOnceChanged) {
    const EditorCase& editor = GetParam();
    for (const Leave leave : {Leave::Escape, Leave::Cancel, Leave::Close}) {
        test::EditorDisplay display;
        auto level = std::make_unique<LevelRecord>(
            test::MakeHallwayLevel({3, 3, 2}, {{2, 40, 40, 0x10}, {3, 20, 100, 0x21}}));
        level->blocks[0].tiles[0] = 0x55;
        level->assemblies[0].blocks[0] = 0x55;
        level->rooms[0].cells[0] = 0x55;
        std::fill_n(level->tiles.begin(), 16, std::uint8_t{0});
        std::unique_ptr<CEditorDialog> dialog = editor.open(display.context, *level);
        QuestionLog log;
        dialog->SetDiscardQuestion(log.question());
        dialog->show();
        EXPECT_FALSE(dialog->HasChanges());
        TryToLeave(*dialog, leave);
        EXPECT_TRUE(log.asked.isEmpty());
        EXPECT_FALSE(dialog->isVisible());

        dialog->show();
        editor.change(*dialog);
        ASSERT_TRUE(dialog->HasChanges()) << editor.name;
        TryToLeave(*dialog, leave);
        EXPECT_EQ(log.asked, QStringList{QString::fromLatin1(editor.name)});
        EXPECT_TRUE(dialog->isVisible());
        log.discard = true;
        TryToLeave(*dialog, leave);
        EXPECT_EQ(log.asked.size(), 2);
        EXPECT_FALSE(dialog->isVisible());
    }
}

template <class Dialog> auto Opener() {
    return [](DisplayContext& display, LevelRecord& level) -> std::unique_ptr<CEditorDialog> {
        return std::make_unique<Dialog>(display, level);
    };
}

std::unique_ptr<EnemyGraphics>& PlacementGraphics() {
    static std::unique_ptr<EnemyGraphics> graphics = test::MakeEnemyGraphics();
    return graphics;
}

INSTANTIATE_TEST_SUITE_P(
    Editors, EveryEditorTest,
    ::testing::Values(
        EditorCase{"Block Editor", Opener<CBlockEditorDlg>(),
                   [](CEditorDialog& d) { ClickItem(Canvas(d, ids::kBlockEditCanvas), 0, 0, 32); }},
        EditorCase{
            "Assembly Editor", Opener<CAssemblyEditorDlg>(),
            [](CEditorDialog& d) { ClickItem(Canvas(d, ids::kAssemblyEditCanvas), 0, 0, 32); }},
        EditorCase{"Room Editor", Opener<CRoomEditorDlg>(),
                   [](CEditorDialog& d) { ClickItem(Canvas(d, ids::kRoomEditCanvas), 0, 0, 32); }},
        EditorCase{
            "Hallway Editor", Opener<CHallwayEditorDlg>(),
            [](CEditorDialog& d) { test::Find<QSpinBox>(d, ids::kRoomCountField).setValue(2); }},
        EditorCase{"Tile Editor", Opener<CTileEditorDlg>(),
                   [](CEditorDialog& d) {
                       // Tile 0 is blank; the left colour is 1.
                       test::ClickPixel(test::Find<CPixelEditorControl>(d, ids::kPixelEditor), 0,
                                        0);
                   }},
        EditorCase{"Palette Editor", Opener<CPaletteEditorDlg>(),
                   [](CEditorDialog& d) {
                       QComboBox& effects = test::Find<QComboBox>(d, 1061);
                       test::Choose(effects, effects.currentIndex() == 1 ? 2 : 1);
                   }},
        EditorCase{
            "Hallway Enemies Editor",
            [](DisplayContext& display, LevelRecord& level) -> std::unique_ptr<CEditorDialog> {
                return std::make_unique<CEnemyPlacementDlg>(display, level, *PlacementGraphics());
            },
            [](CEditorDialog& d) { test::ClickButton(d, ids::kInsertEnemy); }}),
    [](const ::testing::TestParamInfo<EditorCase>& param) {
        QString name = QString::fromLatin1(param.param.name);
        name.remove(QLatin1Char(' '));
        return name.toStdString();
    });

TEST(DiscardChangesTest, TheEnemyEditorAsksOnceAFieldChanged) {
    for (const Leave leave : {Leave::Escape, Leave::Cancel, Leave::Close}) {
        CEnemyEditorDlg dialog(EnemyPlacement{40, 50, 2, 0x1F});
        QuestionLog log;
        dialog.SetDiscardQuestion(log.question());
        dialog.show();
        TryToLeave(dialog, leave);
        EXPECT_TRUE(log.asked.isEmpty());
        EXPECT_FALSE(dialog.isVisible());

        dialog.show();
        auto& id = test::Find<QLineEdit>(dialog, ids::kEnemyIdField);
        id.setText(QStringLiteral("2"));
        ASSERT_TRUE(dialog.HasChanges());
        TryToLeave(dialog, leave);
        EXPECT_EQ(log.asked, QStringList{QStringLiteral("Enemy Editor")});
        EXPECT_TRUE(dialog.isVisible());
        // Typed back as it was: nothing to lose.
        id.setText(QStringLiteral("1F"));
        TryToLeave(dialog, leave);
        EXPECT_EQ(log.asked.size(), 1);
        EXPECT_FALSE(dialog.isVisible());
    }
}

} // namespace
} // namespace korvane
