// The main frame: menu, accelerators, prompts, toolbar, recent files and unsaved changes.
#include "AppTestSupport.h"

#include "app/CKorvaneView.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/EditorRegistry.h"
#include "app/RecentFileList.h"
#include "gamedata/CKorvaneDoc.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>

#include <gtest/gtest.h>

namespace korvane::test {
namespace {

// Registers a block editor that changes block 0's attributes and ends with OK.
void RegisterEditingBlockEditor(CKorvaneApp& app) {
    app.editors().Register(cmd::kBlockEditor, [](EditorSession& session) {
        session.level.blocks[0].attributes =
            static_cast<std::uint8_t>(session.level.blocks[0].attributes ^ 0x30);
        return true;
    });
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

QList<int> ActionIds(const QList<QAction*>& actions) {
    QList<int> ids;
    for (QAction* action : actions) {
        ids.append(action->isSeparator() ? 0 : action->data().toInt());
    }
    return ids;
}

TEST(FrameTest, MenuHoldsFileEditToolsAndHelpExactly) {
    AppFixture fixture;
    ASSERT_TRUE(fixture.Start({QStringLiteral("-nosplash")}));
    CMainFrame& frame = *fixture.app().mainFrame();
    const QList<QAction*> menus = frame.menuBar()->actions();
    ASSERT_EQ(menus.size(), 4);
    EXPECT_EQ(menus[0]->text(), QStringLiteral("&File"));
    EXPECT_EQ(menus[1]->text(), QStringLiteral("&Edit"));
    EXPECT_EQ(menus[2]->text(), QStringLiteral("&Tools"));
    EXPECT_EQ(menus[3]->text(), QStringLiteral("&Help"));

    const QList<QAction*> file = menus[0]->menu()->actions();
    EXPECT_EQ(ActionIds(file),
              (QList<int>{cmd::kFileNew, cmd::kFileOpen, cmd::kFileSave, cmd::kFileSaveAs, 0,
                          cmd::kFileCreatePatch, cmd::kFileApplyPatch, cmd::kFileExportPicture,
                          cmd::kFileExportLevel, cmd::kFileImportLevel, cmd::kFileChanges, 0,
                          cmd::kFileRecentFirst, 0, cmd::kAppExit}));
    EXPECT_EQ(file[0]->text(), QStringLiteral("&New"));
    EXPECT_EQ(file[0]->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
    EXPECT_EQ(file[1]->text(), QStringLiteral("&Open..."));
    EXPECT_EQ(file[1]->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    EXPECT_EQ(file[2]->text(), QStringLiteral("&Save"));
    EXPECT_EQ(file[2]->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    EXPECT_EQ(file[3]->text(), QStringLiteral("Save &As..."));
    // The platform's Save As keys, Ctrl+Shift+S where it has none.
    EXPECT_TRUE(file[3]->shortcuts().contains(QKeySequence(QStringLiteral("Ctrl+Shift+S"))) ||
                (!QKeySequence::keyBindings(QKeySequence::SaveAs).isEmpty() &&
                 file[3]->shortcuts() == QKeySequence::keyBindings(QKeySequence::SaveAs)));
    EXPECT_EQ(file[10]->text(), QStringLiteral("C&hanges..."));
    EXPECT_EQ(file[12]->text(), QStringLiteral("Recent File"));
    EXPECT_FALSE(file[12]->isEnabled());
    EXPECT_EQ(file[14]->text(), QStringLiteral("E&xit"));

    const QList<QAction*> edit = menus[1]->menu()->actions();
    EXPECT_EQ(ActionIds(edit),
              (QList<int>{cmd::kEditUndo, cmd::kEditRedo, 0, cmd::kEditPreferences}));
    EXPECT_EQ(edit[3]->text(), QStringLiteral("&Preferences..."));

    const QList<QAction*> tools = menus[2]->menu()->actions();
    EXPECT_EQ(ActionIds(tools), (QList<int>{cmd::kToolsPlay}));
    EXPECT_EQ(tools[0]->text(), QStringLiteral("&Play in Emulator"));

    const QList<QAction*> help = menus[3]->menu()->actions();
    ASSERT_EQ(help.size(), 1);
    EXPECT_EQ(help[0]->text(), QStringLiteral("&About Korvane..."));
    EXPECT_EQ(help[0]->data().toInt(), cmd::kAppAbout);
}

TEST(FrameTest, AcceleratorsReachTheirCommandsAndOnlyNewOpenSaveAreLive) {
    AppFixture fixture;
    ASSERT_TRUE(fixture.Start({QStringLiteral("-nosplash")}));
    CMainFrame& frame = *fixture.app().mainFrame();
    const std::vector<std::pair<const char*, int>> expected{
        {"Ctrl+N", 57600},    {"Ctrl+O", 57601},   {"Ctrl+S", 57603},    {"Ctrl+Z", 57643},
        {"Ctrl+X", 57635},    {"Ctrl+C", 57634},   {"Ctrl+V", 57637},    {"Alt+Backspace", 57643},
        {"Shift+Del", 57635}, {"Ctrl+Ins", 57634}, {"Shift+Ins", 57637}, {"F6", 57680},
        {"Shift+F6", 57681},
    };
    ASSERT_EQ(AcceleratorTable().size(), expected.size());
    for (const auto& [keys, commandId] : expected) {
        QAction* action = frame.action(commandId);
        ASSERT_NE(action, nullptr) << commandId;
        EXPECT_TRUE(action->shortcuts().contains(QKeySequence(QString::fromLatin1(keys)))) << keys;
        EXPECT_TRUE(frame.actions().contains(action)) << keys; // live in the whole window
        const bool handled = commandId == 57600 || commandId == 57601 || commandId == 57603;
        EXPECT_EQ(action->isEnabled(), handled) << keys;
    }
}

TEST(FrameTest, PromptsAndToolTipsComeFromTheStringTable) {
    AppFixture fixture;
    ASSERT_TRUE(fixture.Start({QStringLiteral("-nosplash")}));
    CMainFrame& frame = *fixture.app().mainFrame();
    EXPECT_EQ(frame.action(cmd::kFileOpen)->statusTip(),
              QStringLiteral("Open an existing document"));
    EXPECT_EQ(frame.action(cmd::kFileOpen)->toolTip(), QStringLiteral("Open"));
    EXPECT_EQ(frame.action(cmd::kFileSave)->statusTip(),
              QStringLiteral("Save the active document"));
    EXPECT_EQ(frame.action(cmd::kFileSave)->toolTip(), QStringLiteral("Save"));
    const std::vector<std::pair<int, const char*>> editors{
        {32772, "Tile Editor"},    {32773, "Block Editor"},   {32774, "Assembly Editor"},
        {32775, "Room Editor"},    {32776, "Hallway Editor"}, {32777, "Enemy Placement Editor"},
        {32778, "Palette Editor"},
    };
    for (const auto& [commandId, text] : editors) {
        QAction* action = frame.action(commandId);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->statusTip(), QString::fromLatin1(text));
        EXPECT_EQ(action->toolTip(), QString::fromLatin1(text));
    }

    EXPECT_EQ(frame.statusBar()->currentMessage(), QStringLiteral("Ready"));
    QStatusTipEvent over(QStringLiteral("Open an existing document"));
    QCoreApplication::sendEvent(&frame, &over);
    EXPECT_EQ(frame.statusBar()->currentMessage(), QStringLiteral("Open an existing document"));
    QStatusTipEvent away{QString()};
    QCoreApplication::sendEvent(&frame, &away);
    EXPECT_EQ(frame.statusBar()->currentMessage(), QStringLiteral("Ready"));
}

TEST(FrameTest, ToolbarHasFourItemsBeforeAndSixteenAfterAnOpen) {
    AppFixture fixture;
    const QString path = fixture.WriteCartridge(QStringLiteral("demo.nes"));
    ASSERT_TRUE(fixture.Start({QStringLiteral("-nosplash")}));
    CMainFrame& frame = *fixture.app().mainFrame();
    EXPECT_EQ(ActionIds(frame.toolBar().actions()),
              (QList<int>{cmd::kFileOpen, cmd::kFileSave, 0, cmd::kAppAbout}));

    fixture.prompt.openAnswers = {path};
    ASSERT_TRUE(frame.FileOpen());
    EXPECT_EQ(ActionIds(frame.toolBar().actions()),
              (QList<int>{cmd::kFileOpen, cmd::kFileSave, 0, 32772, 32773, 32774, 32775, 32776, 0,
                          32777, 0, 32778, 0, cmd::kToolsPlay, 0, cmd::kAppAbout}));
    EXPECT_EQ(frame.toolBar().iconSize(), QSize(32, 32));
    for (QAction* action : frame.toolBar().actions()) {
        if (!action->isSeparator()) {
            EXPECT_FALSE(action->icon().isNull()) << action->data().toInt();
        }
    }
    // Opening again rebuilds rather than adds.
    fixture.prompt.openAnswers = {path};
    ASSERT_TRUE(frame.FileOpen());
    EXPECT_EQ(frame.toolBar().actions().size(), 16);
}

TEST(FrameTest, EditorCommandsAreEnabledOnceAFileIsLoadedAndAnEditorIsRegistered) {
    AppFixture fixture;
    const QString path = fixture.WriteCartridge(QStringLiteral("demo.nes"));
    ASSERT_TRUE(fixture.Start({QStringLiteral("-nosplash")}));
    CMainFrame& frame = *fixture.app().mainFrame();
    for (int commandId : cmd::kEditorCommands) {
        EXPECT_FALSE(frame.action(commandId)->isEnabled()) << commandId;
    }
    fixture.prompt.openAnswers = {path};
    ASSERT_TRUE(frame.FileOpen());
    // All seven editors exist.
    for (int commandId : cmd::kEditorCommands) {
        EXPECT_TRUE(frame.action(commandId)->isEnabled()) << commandId;
    }
    EXPECT_TRUE(frame.action(cmd::kAppAbout)->isEnabled());
    fixture.app().editors().Unregister(cmd::kHallwayEditor);
    EXPECT_FALSE(frame.action(cmd::kHallwayEditor)->isEnabled());
    fixture.app().editors().Register(cmd::kHallwayEditor, [](EditorSession&) { return false; });
    EXPECT_TRUE(frame.action(cmd::kHallwayEditor)->isEnabled());
    fixture.app().editors().Unregister(cmd::kBlockEditor);
    EXPECT_FALSE(frame.action(cmd::kBlockEditor)->isEnabled());
}

TEST(FrameTest, RecentFilesKeepFiveMostRecentFirst) {
    AppFixture fixture;
    QStringList paths;
    for (int i = 0; i < 6; ++i) {
        paths.append(fixture.WriteCartridge(QStringLiteral("level%1.nes").arg(i),
                                            static_cast<std::uint32_t>(i + 1)));
    }
    ASSERT_TRUE(fixture.Start({QStringLiteral("-nosplash")}));
    CMainFrame& frame = *fixture.app().mainFrame();
    for (const QString& path : paths) {
        fixture.prompt.openAnswers = {path};
        ASSERT_TRUE(frame.FileOpen());
    }
    const QStringList expected{paths[5], paths[4], paths[3], paths[2], paths[1]};
    EXPECT_EQ(fixture.app().recentFiles().entries(), expected);
    const QList<QAction*> file = frame.fileMenu().actions();
    // New, Open, Save, Save As, separator, the three patch and picture commands, Export Level,
    // Import Level and Changes, separator, five files, separator, Exit.
    ASSERT_EQ(file.size(), 19);
    EXPECT_EQ(file[0]->text(), QStringLiteral("&New"));
    EXPECT_EQ(file[0]->data().toInt(), cmd::kFileNew);
    EXPECT_EQ(file[1]->text(), QStringLiteral("&Open..."));
    EXPECT_EQ(file[8]->text(), QStringLiteral("Export &Level..."));
    EXPECT_EQ(file[9]->text(), QStringLiteral("&Import Level..."));
    EXPECT_EQ(file[12]->text(), QStringLiteral("&1 ") + paths[5]);
    EXPECT_EQ(file[16]->text(), QStringLiteral("&5 ") + paths[1]);
    EXPECT_EQ(file[16]->data().toInt(), cmd::kFileRecentFirst + 4);

    // Reopening an older entry moves it to the front; the list is kept in the settings.
    ASSERT_TRUE(frame.OpenRecentFile(3));
    EXPECT_EQ(fixture.app().recentFiles().entries().first(), paths[2]);
    EXPECT_EQ(RecentFileList(fixture.settingsFile()).entries(),
              (QStringList{paths[2], paths[5], paths[4], paths[3], paths[1]}));

    // An entry whose file has gone leaves the list.
    QFile::remove(paths[4]);
    EXPECT_FALSE(frame.OpenRecentFile(2));
    EXPECT_FALSE(fixture.app().recentFiles().entries().contains(paths[4]));
}

class UnsavedChangesTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = fixture_.WriteCartridge(QStringLiteral("demo.nes"));
        other_ = fixture_.WriteCartridge(QStringLiteral("other.nes"), 7);
        original_ = FileBytes(path_);
        ASSERT_TRUE(fixture_.Start({QStringLiteral("-nosplash"), path_}));
        RegisterEditingBlockEditor(fixture_.app());
        ASSERT_TRUE(frame().view().OpenEditor(cmd::kBlockEditor));
        ASSERT_TRUE(fixture_.app().document().IsModified());
    }
    CMainFrame& frame() { return *fixture_.app().mainFrame(); }
    CKorvaneDoc& document() { return fixture_.app().document(); }
    void Answer(SaveChoice choice) { fixture_.prompt.saveAnswers = {choice}; }
    QString Question() const { return QStringLiteral("Save changes to %1?").arg(path_); }

    AppFixture fixture_;
    QString path_;
    QString other_;
    QByteArray original_;
};

TEST_F(UnsavedChangesTest, AnEditMarksTheDocumentAndTheTitle) {
    EXPECT_TRUE(frame().isWindowModified());
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("demo.nes[*] - Korvane"));
    ASSERT_TRUE(frame().FileSave());
    EXPECT_FALSE(document().IsModified());
    EXPECT_FALSE(frame().isWindowModified());
    EXPECT_NE(FileBytes(path_), original_);
    EXPECT_TRUE(fixture_.prompt.saveQuestions.empty());
}

TEST_F(UnsavedChangesTest, CloseAsksAndCancelKeepsTheWindow) {
    Answer(SaveChoice::Cancel);
    EXPECT_FALSE(frame().close());
    EXPECT_EQ(fixture_.prompt.saveQuestions, std::vector<QString>{Question()});
    EXPECT_TRUE(frame().isVisible());
    EXPECT_TRUE(document().IsModified());
    EXPECT_EQ(FileBytes(path_), original_);
}

TEST_F(UnsavedChangesTest, CloseWithDiscardLeavesTheFile) {
    Answer(SaveChoice::Discard);
    EXPECT_TRUE(frame().close());
    EXPECT_EQ(FileBytes(path_), original_);
}

TEST_F(UnsavedChangesTest, CloseWithSaveWritesFirst) {
    Answer(SaveChoice::Save);
    EXPECT_TRUE(frame().close());
    EXPECT_NE(FileBytes(path_), original_);
    EXPECT_FALSE(document().IsModified());
}

TEST_F(UnsavedChangesTest, ExitAsksTheSameQuestion) {
    Answer(SaveChoice::Cancel);
    frame().action(cmd::kAppExit)->trigger();
    EXPECT_EQ(fixture_.prompt.saveQuestions, std::vector<QString>{Question()});
    EXPECT_TRUE(frame().isVisible());
    Answer(SaveChoice::Discard);
    frame().action(cmd::kAppExit)->trigger();
    EXPECT_FALSE(frame().isVisible());
}

TEST_F(UnsavedChangesTest, AFailedSaveAbortsTheClose) {
    Answer(SaveChoice::Save);
    document().FailNextSaveAfterBytesForTesting(100);
    EXPECT_FALSE(frame().close());
    EXPECT_TRUE(frame().isVisible());
    EXPECT_TRUE(document().IsModified());
    EXPECT_FALSE(fixture_.reporter.messages.empty());
    EXPECT_EQ(FileBytes(path_), original_);
}

TEST_F(UnsavedChangesTest, OpenAsksBeforeReplacingTheModel) {
    Answer(SaveChoice::Cancel);
    fixture_.prompt.openAnswers = {other_};
    EXPECT_FALSE(frame().FileOpen());
    EXPECT_EQ(fixture_.prompt.saveQuestions, std::vector<QString>{Question()});
    EXPECT_EQ(QString::fromStdString(document().PathName()), path_);
    EXPECT_TRUE(document().IsModified());

    Answer(SaveChoice::Discard);
    fixture_.prompt.openAnswers = {other_};
    EXPECT_TRUE(frame().FileOpen());
    EXPECT_EQ(QString::fromStdString(document().PathName()), other_);
    EXPECT_FALSE(document().IsModified());
    EXPECT_EQ(FileBytes(path_), original_);
}

TEST_F(UnsavedChangesTest, OpenWithSaveWritesTheOldFileFirst) {
    Answer(SaveChoice::Save);
    fixture_.prompt.openAnswers = {other_};
    EXPECT_TRUE(frame().FileOpen());
    EXPECT_NE(FileBytes(path_), original_);
}

TEST_F(UnsavedChangesTest, NewAsksAndCancelKeepsTheDocument) {
    Answer(SaveChoice::Cancel);
    frame().action(cmd::kFileNew)->trigger();
    EXPECT_EQ(fixture_.prompt.saveQuestions, std::vector<QString>{Question()});
    EXPECT_EQ(QString::fromStdString(document().PathName()), path_);

    Answer(SaveChoice::Save);
    frame().action(cmd::kFileNew)->trigger();
    EXPECT_TRUE(document().PathName().empty());
    EXPECT_FALSE(document().IsModified());
    EXPECT_NE(FileBytes(path_), original_);
}

} // namespace
} // namespace korvane::test
