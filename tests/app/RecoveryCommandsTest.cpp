// The window's recovery copies: written after an editor's OK, removed by Save, Save As, undoing
// back to the saved state and closing with Discard, and offered back at the next start after a
// crash.
#include "AppTestSupport.h"

#include "app/CKorvaneView.h"
#include "app/CMainFrame.h"
#include "app/CPreferencesDlg.h"
#include "app/CommandIds.h"
#include "app/DocumentHistory.h"
#include "app/EditorRegistry.h"
#include "app/RecoveryFolder.h"
#include "app/RecoveryStore.h"
#include "editors/CEditorDialog.h"
#include "gamedata/CKorvaneDoc.h"
#include "gamedata/LevelCatalogue.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QSpinBox>
#include <QTest>
#include <QTime>

#include <gtest/gtest.h>

namespace korvane::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::size_t RoomCellOffset(int level, int room, int cell) {
    return LevelCatalogue[static_cast<std::size_t>(level)].bankOffset + 0x0F00 +
           static_cast<std::size_t>(room) * 64 + static_cast<std::size_t>(cell);
}

QStringList RecoveryFiles() {
    return QDir(RecoveryFolder::DefaultPath())
        .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

class RecoveryCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        QDir(RecoveryFolder::DefaultPath()).removeRecursively();
        path_ = fixture_.WriteCartridge(QStringLiteral("demo.nes"));
        original_ = ReadFileBytes(path_);
        ASSERT_TRUE(fixture_.Start({QStringLiteral("-nosplash"), path_}));
        fixture_.app().editors().Register(cmd::kRoomEditor, [this](EditorSession& session) {
            session.level.rooms[1].cells[2] = cellValue_;
            return true;
        });
    }
    void TearDown() override {
        fixture_.Finish();
        QDir(RecoveryFolder::DefaultPath()).removeRecursively();
    }
    CMainFrame& frame() { return *fixture_.app().mainFrame(); }
    CKorvaneDoc& document() { return fixture_.app().document(); }
    RecoveryStore& store() { return fixture_.app().recovery(); }
    // Cell 2 of room 1 of level 0 through the room editor's OK; returns the file it makes.
    Bytes EditCell() {
        cellValue_ = static_cast<std::uint8_t>(document().level(0).rooms[1].cells[2] ^ 0x15);
        EXPECT_TRUE(frame().view().OpenEditor(cmd::kRoomEditor));
        Bytes expected = original_;
        expected[RoomCellOffset(0, 1, 2)] = cellValue_;
        return expected;
    }
    // As a killed program leaves it: the copy and its description, with no lock held.
    void Crash() {
        ASSERT_TRUE(QFile::copy(store().copyPath(), Crashed(".nes")));
        ASSERT_TRUE(QFile::copy(store().infoPath(), Crashed(".json")));
        crashTime_ = QTime::currentTime();
        fixture_.Finish();
    }
    QString Crashed(const char* suffix) const {
        return RecoveryFolder::DefaultPath() + "/korvane-crashed" + suffix;
    }
    // The question as the user reads it, for the minute of the crash (or the one after it).
    bool AskedAbout(const QString& asked, const QString& file, const QString& after) const {
        for (int minute = 0; minute < 2; ++minute) {
            const QString time = crashTime_.addSecs(60 * minute).toString("HH:mm");
            if (asked == "Korvane found unsaved work on " + file + " from " + time +
                             ". Recover it?" + after) {
                return true;
            }
        }
        return false;
    }

    AppFixture fixture_;
    QString path_;
    Bytes original_;
    std::uint8_t cellValue_ = 0;
    QTime crashTime_;
};

TEST_F(RecoveryCommandsTest, EditorOkWritesTheCopyAndSaveRemovesIt) {
    EXPECT_TRUE(RecoveryFiles() == QStringList({store().id() + ".lock"}));
    const Bytes expected = EditCell();
    ASSERT_TRUE(QFile::exists(store().copyPath()));
    EXPECT_EQ(ReadFileBytes(store().copyPath()), expected);
    QFile info(store().infoPath());
    ASSERT_TRUE(info.open(QIODevice::ReadOnly));
    const QJsonObject json = QJsonDocument::fromJson(info.readAll()).object();
    EXPECT_EQ(json.value("originalPath").toString(), path_);
    EXPECT_EQ(json.value("originalSize").toInteger(), static_cast<qint64>(original_.size()));
    EXPECT_EQ(json.value("step").toInt(), 1);
    EXPECT_EQ(json.value("stepText").toString(), QStringLiteral("Room Editor (level 0)"));
    EXPECT_EQ(ReadFileBytes(path_), original_); // the user's file is not touched

    ASSERT_TRUE(frame().FileSave());
    EXPECT_EQ(RecoveryFiles(), QStringList({store().id() + ".lock"}));
    EXPECT_EQ(ReadFileBytes(path_), expected);
}

TEST_F(RecoveryCommandsTest, SaveAsUndoToTheSavedStateAndDiscardRemoveTheCopy) {
    EditCell();
    ASSERT_TRUE(QFile::exists(store().copyPath()));
    fixture_.prompt.saveNameAnswers = {fixture_.PathIn("other.nes")};
    ASSERT_TRUE(frame().FileSaveAs());
    EXPECT_FALSE(QFile::exists(store().copyPath()));

    EditCell();
    ASSERT_TRUE(QFile::exists(store().copyPath()));
    fixture_.app().history().Undo();
    EXPECT_FALSE(QFile::exists(store().copyPath()));

    EditCell();
    ASSERT_TRUE(QFile::exists(store().copyPath()));
    fixture_.prompt.saveAnswers = {SaveChoice::Discard};
    EXPECT_TRUE(frame().close());
    EXPECT_FALSE(QFile::exists(store().copyPath()));
    EXPECT_FALSE(QFile::exists(store().infoPath()));

    // A clean exit leaves nothing behind, the lock included.
    EditCell();
    fixture_.Finish();
    EXPECT_EQ(RecoveryFiles(), QStringList());
}

TEST_F(RecoveryCommandsTest, RecoverAfterACrashPutsTheWorkOnTheOriginalAsOneStep) {
    const Bytes expected = EditCell();
    Crash();
    ASSERT_EQ(ReadFileBytes(path_), original_);

    AppFixture next;
    next.prompt.recoverAnswers = {RecoverChoice::Recover};
    ASSERT_TRUE(next.Start({QStringLiteral("-nosplash")}));
    ASSERT_EQ(next.prompt.recoverQuestions.size(), 1);
    EXPECT_TRUE(AskedAbout(next.prompt.recoverQuestions.at(0), "demo.nes", ""))
        << next.prompt.recoverQuestions.at(0).toStdString();
    CKorvaneDoc& recovered = next.app().document();
    EXPECT_EQ(QString::fromStdString(recovered.PathName()), path_);
    EXPECT_TRUE(recovered.IsModified());
    EXPECT_EQ(next.app().history().count(), 1);
    EXPECT_EQ(next.app().history().undoText(), QStringLiteral("Recover unsaved work"));
    EXPECT_EQ(recovered.EncodedContent(), expected);
    // The crashed copy is gone; the running program keeps its own.
    EXPECT_FALSE(QFile::exists(Crashed(".nes")));
    EXPECT_FALSE(QFile::exists(Crashed(".json")));
    EXPECT_EQ(ReadFileBytes(next.app().recovery().copyPath()), expected);

    ASSERT_TRUE(next.app().mainFrame()->FileSave());
    EXPECT_EQ(ReadFileBytes(path_), expected);
    EXPECT_TRUE(next.reporter.messages.empty());
    // Undo goes back to the file as it was.
    next.app().history().Undo();
    EXPECT_EQ(recovered.EncodedContent(), original_);
}

TEST_F(RecoveryCommandsTest, AnOriginalChangedOnDiskGivesAnUntitledDocument) {
    const Bytes expected = EditCell();
    Crash();
    Bytes changed = original_;
    changed.push_back(0x42);
    WriteFileBytes(path_, changed);

    AppFixture next;
    next.prompt.recoverAnswers = {RecoverChoice::Recover};
    ASSERT_TRUE(next.Start({QStringLiteral("-nosplash"), path_}));
    ASSERT_EQ(next.prompt.recoverQuestions.size(), 1);
    EXPECT_TRUE(AskedAbout(next.prompt.recoverQuestions.at(0), "demo.nes",
                           "\nThe file has changed on disk since then: the work opens as an "
                           "untitled document."))
        << next.prompt.recoverQuestions.at(0).toStdString();
    CKorvaneDoc& recovered = next.app().document();
    EXPECT_EQ(recovered.PathName(), "");
    EXPECT_EQ(recovered.Title(), "Untitled");
    EXPECT_TRUE(recovered.IsModified());
    EXPECT_EQ(next.app().history().undoText(), QStringLiteral("Recover unsaved work"));
    EXPECT_EQ(ReadFileBytes(path_), changed);

    const QString saved = next.PathIn("saved.nes");
    next.prompt.saveNameAnswers = {saved};
    ASSERT_TRUE(next.app().mainFrame()->FileSave());
    EXPECT_EQ(ReadFileBytes(saved), expected);
    EXPECT_EQ(ReadFileBytes(path_), changed);

    // Undo brings back the file opened from the command line.
    next.app().history().Undo();
    EXPECT_EQ(QString::fromStdString(recovered.PathName()), path_);
}

TEST_F(RecoveryCommandsTest, AGoneOriginalIsSaidAndLaterKeepsTheCopyWhileDiscardRemovesIt) {
    EditCell();
    Crash();
    ASSERT_TRUE(QFile::remove(path_));

    AppFixture later;
    later.prompt.recoverAnswers = {RecoverChoice::Later};
    ASSERT_TRUE(later.Start({QStringLiteral("-nosplash")}));
    ASSERT_EQ(later.prompt.recoverQuestions.size(), 1);
    EXPECT_TRUE(AskedAbout(later.prompt.recoverQuestions.at(0), "demo.nes",
                           "\nThe file is no longer there: the work opens as an untitled "
                           "document."))
        << later.prompt.recoverQuestions.at(0).toStdString();
    EXPECT_FALSE(later.app().document().IsModified());
    later.Finish();
    EXPECT_TRUE(QFile::exists(Crashed(".nes")));

    AppFixture discard;
    discard.prompt.recoverAnswers = {RecoverChoice::Discard};
    ASSERT_TRUE(discard.Start({QStringLiteral("-nosplash")}));
    EXPECT_EQ(discard.prompt.recoverQuestions.size(), 1);
    EXPECT_FALSE(QFile::exists(Crashed(".nes")));
    EXPECT_FALSE(QFile::exists(Crashed(".json")));
    EXPECT_FALSE(discard.app().document().IsModified());
}

TEST_F(RecoveryCommandsTest, ARunningProgramsCopyIsNotOffered) {
    EditCell();
    ASSERT_TRUE(QFile::exists(store().copyPath()));
    AppFixture second;
    second.prompt.recoverAnswers = {RecoverChoice::Discard};
    ASSERT_TRUE(second.Start({QStringLiteral("-nosplash")}));
    EXPECT_TRUE(second.prompt.recoverQuestions.isEmpty());
    EXPECT_TRUE(QFile::exists(store().copyPath()));
}

TEST_F(RecoveryCommandsTest, PreferencesSetTheIntervalAndTurnTheCopiesOff) {
    EXPECT_EQ(store().intervalSeconds(), 30);
    fixture_.prompt.emulatorAnswers = {QStringLiteral("fceux")};
    fixture_.prompt.recoveryAnswers = {120};
    ASSERT_TRUE(frame().EditPreferences());
    EXPECT_EQ(fixture_.prompt.recoveryQuestions, std::vector<int>({30}));
    EXPECT_EQ(store().intervalSeconds(), 120);
    {
        QSettings settings(fixture_.settingsFile(), QSettings::IniFormat);
        EXPECT_EQ(settings.value("Recovery/interval").toInt(), 120);
        EXPECT_EQ(settings.value("Emulator/command").toString(), QStringLiteral("fceux"));
    }

    // Off: a change waits for nothing, but an editor's OK still copies.
    fixture_.prompt.emulatorAnswers = {QStringLiteral("fceux")};
    fixture_.prompt.recoveryAnswers = {0};
    ASSERT_TRUE(frame().EditPreferences());
    EXPECT_EQ(fixture_.prompt.recoveryQuestions, std::vector<int>({30, 120}));
    EXPECT_EQ(store().intervalSeconds(), 0);
    fixture_.app().history().Change(
        "Change", [](GameData& model) { model.levels[2].rooms[3].cells[4] ^= 1; });
    EXPECT_FALSE(store().pending());
    EditCell();
    EXPECT_TRUE(QFile::exists(store().copyPath()));

    // The next start takes the stored interval; one out of range is brought into it.
    fixture_.Finish();
    ASSERT_TRUE(fixture_.Start({QStringLiteral("-nosplash")}));
    EXPECT_EQ(store().intervalSeconds(), 0);
    fixture_.Finish();
    {
        QSettings settings(fixture_.settingsFile(), QSettings::IniFormat);
        settings.setValue("Recovery/interval", 5);
    }
    ASSERT_TRUE(fixture_.Start({QStringLiteral("-nosplash")}));
    EXPECT_EQ(store().intervalSeconds(), 10);
}

TEST(RecoveryPreferencesDialogTest, TheRowShowsTheIntervalAndGivesWhatWasChosen) {
    CPreferencesDlg every45(QStringLiteral("fceux"), QString(), nullptr, 45);
    auto* keep = every45.findChild<QCheckBox*>(QStringLiteral("id1404"));
    auto* interval = every45.findChild<QSpinBox*>(QStringLiteral("id1405"));
    ASSERT_NE(keep, nullptr);
    ASSERT_NE(interval, nullptr);
    EXPECT_TRUE(keep->isChecked());
    EXPECT_EQ(interval->value(), 45);
    EXPECT_EQ(interval->minimum(), 10);
    EXPECT_EQ(interval->maximum(), 600);
    EXPECT_EQ(every45.recoverySeconds(), 45);
    interval->setValue(700);
    EXPECT_EQ(every45.recoverySeconds(), 600);
    keep->setChecked(false);
    EXPECT_FALSE(interval->isEnabled());
    EXPECT_EQ(every45.recoverySeconds(), 0);

    CPreferencesDlg off(QString(), QString(), nullptr, 0);
    EXPECT_FALSE(off.findChild<QCheckBox*>(QStringLiteral("id1404"))->isChecked());
    EXPECT_FALSE(off.findChild<QSpinBox*>(QStringLiteral("id1405"))->isEnabled());
    EXPECT_EQ(off.recoverySeconds(), 0);
    off.findChild<QCheckBox*>(QStringLiteral("id1404"))->setChecked(true);
    EXPECT_EQ(off.recoverySeconds(), 30);

    // Play's question about the command has no such row.
    CPreferencesDlg play(QString(), QStringLiteral("note"));
    EXPECT_EQ(play.findChild<QCheckBox*>(QStringLiteral("id1404")), nullptr);
}

// An editor that changes cell 2 of room 1 of its working copy, as the room editor's clicks do.
class WorkingEditor : public CEditorDialog {
public:
    WorkingEditor(DisplayContext& display, LevelRecord& level, QWidget* parent)
        : CEditorDialog(display, level, parent) {
        FinishOpening();
    }
    void SetCell(std::uint8_t value) {
        ApplyEdit(QStringLiteral("Cell"),
                  [value](LevelRecord& level) { level.rooms[1].cells[2] = value; });
    }
};

TEST_F(RecoveryCommandsTest, AnOpenEditorsWorkIsInTheCopyAsIfOkHadBeenPressed) {
    store().SetIntervalMsForTesting(50);
    const std::uint8_t first =
        static_cast<std::uint8_t>(document().level(0).rooms[1].cells[2] ^ 0x21);
    const std::uint8_t second = static_cast<std::uint8_t>(first ^ 0x03);
    Bytes firstCopy;
    Bytes secondCopy;
    QString editorNamed;
    fixture_.app().editors().Register(cmd::kRoomEditor, [&](EditorSession& session) {
        WorkingEditor dialog(session.display, session.level, session.parent);
        dialog.show();
        dialog.SetCell(first);
        // The interval passes while the editor is open: its work is copied.
        EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(store().copyPath()); }, 3000));
        firstCopy = ReadFileBytes(store().copyPath());
        QFile info(store().infoPath());
        EXPECT_TRUE(info.open(QIODevice::ReadOnly));
        editorNamed = QJsonDocument::fromJson(info.readAll()).object().value("editor").toString();
        EXPECT_TRUE(QFile::copy(store().copyPath(), Crashed(".nes")));
        EXPECT_TRUE(QFile::copy(store().infoPath(), Crashed(".json")));
        crashTime_ = QTime::currentTime();
        // More work, and the copy follows it.
        dialog.SetCell(second);
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return ReadFileBytes(store().copyPath()) != firstCopy; }, 3000));
        secondCopy = ReadFileBytes(store().copyPath());
        return false; // Cancel
    });
    EXPECT_FALSE(frame().view().OpenEditor(cmd::kRoomEditor));
    Bytes expected = original_;
    expected[RoomCellOffset(0, 1, 2)] = first;
    EXPECT_EQ(firstCopy, expected);
    expected[RoomCellOffset(0, 1, 2)] = second;
    EXPECT_EQ(secondCopy, expected);
    EXPECT_EQ(editorNamed, QStringLiteral("Room Editor"));
    // Cancel: the document has nothing unsaved, and no copy stays.
    EXPECT_FALSE(QFile::exists(store().copyPath()));
    EXPECT_FALSE(store().pending());
    EXPECT_EQ(ReadFileBytes(path_), original_);

    // Recovering it names the editor.
    fixture_.Finish();
    AppFixture next;
    next.prompt.recoverAnswers = {RecoverChoice::Recover};
    ASSERT_TRUE(next.Start({QStringLiteral("-nosplash")}));
    ASSERT_EQ(next.prompt.recoverQuestions.size(), 1);
    EXPECT_TRUE(AskedAbout(next.prompt.recoverQuestions.at(0), "demo.nes",
                           "\nIt holds the work in the Room Editor that was open."))
        << next.prompt.recoverQuestions.at(0).toStdString();
    expected[RoomCellOffset(0, 1, 2)] = first;
    EXPECT_EQ(next.app().document().EncodedContent(), expected);
}

} // namespace
} // namespace korvane::test
