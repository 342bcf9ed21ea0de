// Tools > Play in Emulator and Edit > Preferences from the main window, with stand-in emulators:
// small scripts that record their arguments and copy the files they are given.
#include "AppTestSupport.h"

#include "app/CKorvaneView.h"
#include "app/CMainFrame.h"
#include "app/CPreferencesDlg.h"
#include "app/CommandIds.h"
#include "app/EditorRegistry.h"
#include "app/EmulatorCommand.h"
#include "app/EmulatorLauncher.h"
#include "app/EmulatorSettings.h"
#include "gamedata/CKorvaneDoc.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace korvane::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A script made executable (or not).
void WriteScript(const QString& path, const QString& body, bool executable = true) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    // Its own PATH, for the tests that set the program's to their folders alone.
    file.write(QByteArray("#!/bin/sh\nPATH=/usr/bin:/bin\n") + body.toUtf8());
    file.close();
    QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    if (executable) {
        permissions |= QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    }
    ASSERT_TRUE(QFile::setPermissions(path, permissions));
}

// A stand-in that writes, for each run, a folder run-<pid> in records holding arg1, arg2, ...
// (each argument exactly), file<N> (a copy of argument N when it is a file) and, last, count;
// it then stays a while, as an emulator does.
void WriteRecorder(const QString& path, const QString& records) {
    WriteScript(path, QStringLiteral("out='%1'/run-$$\n"
                                     "mkdir -p \"$out\"\n"
                                     "n=0\n"
                                     "for a in \"$@\"; do\n"
                                     "  n=$((n+1))\n"
                                     "  printf '%s' \"$a\" > \"$out/arg$n\"\n"
                                     "  if [ -f \"$a\" ]; then cp \"$a\" \"$out/file$n\"; fi\n"
                                     "done\n"
                                     "printf '%s' \"$n\" > \"$out/count.part\"\n"
                                     "mv \"$out/count.part\" \"$out/count\"\n"
                                     "sleep 4\n")
                          .arg(records));
}

struct RecordedRun {
    QString folder;
    QStringList arguments;
};

// The runs recorded so far, each once its count is written.
std::vector<RecordedRun> RecordedRuns(const QString& records) {
    std::vector<RecordedRun> runs;
    const QDir folder(records);
    for (const QString& name : folder.entryList({QStringLiteral("run-*")}, QDir::Dirs)) {
        const QString run = folder.filePath(name);
        QFile count(QDir(run).filePath(QStringLiteral("count")));
        if (!count.open(QIODevice::ReadOnly)) {
            continue;
        }
        const int n = count.readAll().toInt();
        RecordedRun recorded{run, {}};
        for (int i = 1; i <= n; ++i) {
            QFile argument(QDir(run).filePath(QStringLiteral("arg%1").arg(i)));
            EXPECT_TRUE(argument.open(QIODevice::ReadOnly));
            recorded.arguments.append(QString::fromUtf8(argument.readAll()));
        }
        runs.push_back(recorded);
    }
    return runs;
}

std::vector<RecordedRun> WaitForRuns(const QString& records, std::size_t count) {
    std::vector<RecordedRun> runs;
    static_cast<void>(QTest::qWaitFor(
        [&] {
            runs = RecordedRuns(records);
            return runs.size() >= count;
        },
        10000));
    return runs;
}

// The settings file's emulator command, read without the program's own classes.
QString StoredCommand(const QString& settingsFile) {
    QSettings settings(settingsFile, QSettings::IniFormat);
    return settings.value(QStringLiteral("Emulator/command")).toString();
}

class PlayTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tools_.isValid());
        records_ = tools_.filePath(QStringLiteral("records"));
        ASSERT_TRUE(QDir().mkpath(records_));
        games_ = tools_.filePath(QStringLiteral("games"));
        ASSERT_TRUE(QDir().mkpath(games_));
        recorder_ = tools_.filePath(QStringLiteral("recorder"));
        WriteRecorder(recorder_, records_);
    }

    // Starts the program on a demo cartridge with bytes beyond the image, with the command set.
    void StartWith(const QString& command) {
        path_ = fixture_.WriteCartridge(QStringLiteral("demo.nes"));
        Bytes content = ReadFileBytes(path_);
        for (char c : std::string("TAIL")) {
            content.push_back(static_cast<std::uint8_t>(c));
        }
        WriteFileBytes(path_, content);
        original_ = content;
        if (!command.isNull()) {
            QSettings settings(fixture_.settingsFile(), QSettings::IniFormat);
            settings.setValue(QStringLiteral("Emulator/command"), command);
        }
        ASSERT_TRUE(fixture_.Start({QStringLiteral("-nosplash"), path_}));
        fixture_.app().emulatorLauncher().SetExtraFolders({games_});
    }
    CMainFrame& frame() { return *fixture_.app().mainFrame(); }
    QAction& play() { return *frame().action(cmd::kToolsPlay); }
    // Waits for the one message the emulator's end gives.
    std::string WaitForMessage() {
        static_cast<void>(
            QTest::qWaitFor([&] { return !fixture_.reporter.messages.empty(); }, 5000));
        return fixture_.reporter.messages.empty() ? std::string()
                                                  : fixture_.reporter.messages.back().text;
    }

    QTemporaryDir tools_;
    QString records_;
    QString games_;
    QString recorder_;
    AppFixture fixture_;
    QString path_;
    Bytes original_;
};

TEST_F(PlayTest, PlaySendsTheEditedModelAndNeverWritesTheUsersFile) {
    StartWith(EmulatorCommand::Quoted(recorder_) +
              QStringLiteral(" -v {file} \"two words\" --flag='single quoted' back\\ slash"));
    fixture_.app().editors().Register(cmd::kBlockEditor, [](EditorSession& session) {
        session.level.blocks[0].attributes =
            static_cast<std::uint8_t>(session.level.blocks[0].attributes ^ 0x30);
        return true;
    });
    ASSERT_TRUE(frame().view().OpenEditor(cmd::kBlockEditor));
    ASSERT_TRUE(fixture_.app().document().IsModified());

    ASSERT_TRUE(play().isEnabled());
    play().trigger();
    const std::vector<RecordedRun> runs = WaitForRuns(records_, 1);
    ASSERT_EQ(runs.size(), 1U);
    const QString cartridge = fixture_.app().emulatorLauncher().runs().at(0).cartridge;
    EXPECT_EQ(runs[0].arguments,
              (QStringList{QStringLiteral("-v"), cartridge, QStringLiteral("two words"),
                           QStringLiteral("--flag=single quoted"), QStringLiteral("back slash")}));
    EXPECT_TRUE(cartridge.startsWith(fixture_.app().emulatorLauncher().folder() + u'/'));
    EXPECT_EQ(QFileInfo(cartridge).fileName(), QStringLiteral("demo-1.nes"));

    // The user's file is as it was, the document still unsaved.
    EXPECT_EQ(ReadFileBytes(path_), original_);
    EXPECT_TRUE(fixture_.app().document().IsModified());
    // What the emulator read is what Save As writes now: the edit and the bytes beyond the
    // image.
    const Bytes played = ReadFileBytes(QDir(runs[0].folder).filePath(QStringLiteral("file2")));
    fixture_.prompt.saveNameAnswers = {fixture_.PathIn(QStringLiteral("saved.nes"))};
    ASSERT_TRUE(frame().FileSaveAs());
    EXPECT_EQ(played, ReadFileBytes(fixture_.PathIn(QStringLiteral("saved.nes"))));
    EXPECT_NE(played, original_);
    ASSERT_EQ(played.size(), original_.size());
    EXPECT_EQ(std::string(played.end() - 4, played.end()), "TAIL");
    EXPECT_TRUE(fixture_.reporter.messages.empty());
}

TEST_F(PlayTest, EachRunHasItsOwnFileAndTheFilesGoWithTheProgram) {
    // Without {file} the cartridge comes last.
    StartWith(EmulatorCommand::Quoted(recorder_) + QStringLiteral(" --fullscreen 1"));
    play().trigger();
    play().trigger();
    const std::vector<RecordedRun> runs = WaitForRuns(records_, 2);
    ASSERT_EQ(runs.size(), 2U);
    const std::vector<EmulatorRun>& started = fixture_.app().emulatorLauncher().runs();
    ASSERT_EQ(started.size(), 2U);
    EXPECT_NE(started[0].cartridge, started[1].cartridge);
    QStringList given;
    for (const RecordedRun& run : runs) {
        ASSERT_EQ(run.arguments.size(), 3);
        EXPECT_EQ(run.arguments.mid(0, 2),
                  (QStringList{QStringLiteral("--fullscreen"), QStringLiteral("1")}));
        given.append(run.arguments[2]);
        // Nothing was edited: the file as it was opened.
        EXPECT_EQ(ReadFileBytes(QDir(run.folder).filePath(QStringLiteral("file3"))), original_);
    }
    given.sort();
    QStringList expected{started[0].cartridge, started[1].cartridge};
    expected.sort();
    EXPECT_EQ(given, expected);
    const QString folder = fixture_.app().emulatorLauncher().folder();
    EXPECT_TRUE(QFile::exists(started[0].cartridge));
    EXPECT_TRUE(QFile::exists(started[1].cartridge));
    const QString first = started[0].cartridge;
    const QString second = started[1].cartridge;

    fixture_.Finish();
    EXPECT_FALSE(QFile::exists(first));
    EXPECT_FALSE(QFile::exists(second));
    EXPECT_FALSE(QFileInfo::exists(folder));
}

TEST_F(PlayTest, TheCommandLivesInToolsWithF5AndNeedsACartridge) {
    AppFixture empty;
    ASSERT_TRUE(empty.Start({QStringLiteral("-nosplash")}));
    CMainFrame& bare = *empty.app().mainFrame();
    QAction* command = bare.action(cmd::kToolsPlay);
    ASSERT_NE(command, nullptr);
    EXPECT_FALSE(command->isEnabled());
    EXPECT_FALSE(bare.PlayInEmulator());
    EXPECT_TRUE(empty.prompt.emulatorQuestions.empty());
    EXPECT_EQ(command->text(), QStringLiteral("&Play in Emulator"));
    EXPECT_EQ(command->shortcuts(), QList<QKeySequence>{QKeySequence(Qt::Key_F5)});
    EXPECT_TRUE(bare.actions().contains(command));
    EXPECT_EQ(bare.toolsMenu().actions(), QList<QAction*>{command});
    EXPECT_EQ(command->statusTip(),
              QStringLiteral("Run the cartridge as it is now in the emulator, without saving it"));
    EXPECT_EQ(command->toolTip(), QStringLiteral("Play in Emulator"));
    QAction* preferences = bare.action(cmd::kEditPreferences);
    EXPECT_EQ(preferences->text(), QStringLiteral("&Preferences..."));
    EXPECT_EQ(preferences->shortcuts(), QKeySequence::keyBindings(QKeySequence::Preferences));
    EXPECT_TRUE(preferences->isEnabled());

    StartWith(EmulatorCommand::Quoted(recorder_));
    EXPECT_TRUE(play().isEnabled());
    // On the toolbar, after the editors, with a picture of its own.
    const QList<QAction*> bar = frame().toolBar().actions();
    ASSERT_EQ(bar.size(), 16);
    EXPECT_EQ(bar[13], &play());
    EXPECT_TRUE(bar[12]->isSeparator());
    EXPECT_TRUE(bar[14]->isSeparator());
    EXPECT_FALSE(play().icon().isNull());
    // Its picture is green where the others have none of it: the triangle in the middle.
    const QImage picture = play().icon().pixmap(32, 32).toImage();
    const QColor middle = picture.pixelColor(16, 16);
    EXPECT_GT(middle.green(), 150);
    EXPECT_LT(middle.red(), 120);
}

TEST_F(PlayTest, AProgramThatCannotBeStartedIsNamedAndNothingIsWritten) {
    StartWith(QStringLiteral("no-such-emulator-here --rom {file}"));
    EXPECT_FALSE(frame().PlayInEmulator());
    ASSERT_EQ(fixture_.reporter.messages.size(), 1U);
    EXPECT_EQ(fixture_.reporter.messages[0].text,
              "Korvane can't start the emulator \"no-such-emulator-here\": the program was not "
              "found.");
    EXPECT_EQ(fixture_.reporter.messages[0].icon, MessageIcon::Stop);
    EXPECT_TRUE(fixture_.app().emulatorLauncher().folder().isEmpty());
    EXPECT_TRUE(fixture_.app().emulatorLauncher().runs().empty());

    // A file without the execute permission, by its path and by its name in a PATH folder.
    const QString plain = tools_.filePath(QStringLiteral("plain-emulator"));
    WriteScript(plain, QStringLiteral("exit 0\n"), false);
    fixture_.reporter.Clear();
    fixture_.app().emulatorSettings().SetCommand(EmulatorCommand::Quoted(plain));
    EXPECT_FALSE(frame().PlayInEmulator());
    ASSERT_EQ(fixture_.reporter.messages.size(), 1U);
    EXPECT_EQ(fixture_.reporter.messages[0].text,
              "Korvane can't start the emulator \"" + plain.toStdString() +
                  "\": the program may not be run (it lacks the execute permission).");
    fixture_.reporter.Clear();
    fixture_.app().emulatorLauncher().SetExtraFolders({tools_.path()});
    fixture_.app().emulatorSettings().SetCommand(QStringLiteral("plain-emulator"));
    EXPECT_FALSE(frame().PlayInEmulator());
    ASSERT_EQ(fixture_.reporter.messages.size(), 1U);
    EXPECT_EQ(fixture_.reporter.messages[0].text,
              "Korvane can't start the emulator \"plain-emulator\": the program may not be run "
              "(it lacks the execute permission).");
    EXPECT_TRUE(fixture_.app().emulatorLauncher().folder().isEmpty());
    EXPECT_EQ(ReadFileBytes(path_), original_);

    // One the system refuses to run: executable, but neither a program nor a script.
    const QString junk = tools_.filePath(QStringLiteral("junk"));
    {
        QFile file(junk);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a program\n");
    }
    ASSERT_TRUE(QFile::setPermissions(junk, QFile::ReadOwner | QFile::ExeOwner));
    fixture_.reporter.Clear();
    fixture_.app().emulatorSettings().SetCommand(EmulatorCommand::Quoted(junk));
    EXPECT_FALSE(frame().PlayInEmulator());
    ASSERT_EQ(fixture_.reporter.messages.size(), 1U);
    EXPECT_TRUE(fixture_.reporter.messages[0].text.starts_with(
        "Korvane can't start the emulator \"" + junk.toStdString() +
        "\": the system can't run it ("))
        << fixture_.reporter.messages[0].text;
    EXPECT_TRUE(fixture_.app().emulatorLauncher().runs().empty());
}

TEST_F(PlayTest, AnEmulatorThatEndsAtOnceIsReportedWithWhatItSaid) {
    const QString failing = tools_.filePath(QStringLiteral("failing emulator"));
    WriteScript(failing, QStringLiteral("echo 'starting up'\n"
                                        "echo 'warning: no joystick' >&2\n"
                                        "echo '' >&2\n"
                                        "echo \"error: cannot load $1\" >&2\n"
                                        "exit 3\n"));
    StartWith(EmulatorCommand::Quoted(failing));
    EXPECT_TRUE(frame().PlayInEmulator());
    const QString cartridge = fixture_.app().emulatorLauncher().runs().at(0).cartridge;
    const std::string text = WaitForMessage();
    EXPECT_EQ(text, "The emulator \"" + failing.toStdString() +
                        "\" ended within two seconds of its start, with exit status 3. The last "
                        "lines it wrote to its error output:\n\nwarning: no joystick\nerror: "
                        "cannot load " +
                        cartridge.toStdString());
    ASSERT_EQ(fixture_.reporter.messages.size(), 1U);
    EXPECT_EQ(fixture_.reporter.messages[0].icon, MessageIcon::Stop);

    // One that says nothing.
    const QString silent = tools_.filePath(QStringLiteral("silent"));
    WriteScript(silent, QStringLiteral("exit 1\n"));
    fixture_.reporter.Clear();
    fixture_.app().emulatorSettings().SetCommand(EmulatorCommand::Quoted(silent));
    EXPECT_TRUE(frame().PlayInEmulator());
    EXPECT_EQ(WaitForMessage(), "The emulator \"" + silent.toStdString() +
                                    "\" ended within two seconds of its start, with exit "
                                    "status 1. It wrote nothing to its error output.");
}

TEST_F(PlayTest, ACartridgeFileThatCannotBeWrittenStartsNothing) {
    StartWith(EmulatorCommand::Quoted(recorder_));
    fixture_.app().emulatorLauncher().FailNextWriteAfterBytesForTesting(1000);
    EXPECT_FALSE(frame().PlayInEmulator());
    ASSERT_EQ(fixture_.reporter.messages.size(), 1U);
    const QString folder = fixture_.app().emulatorLauncher().folder();
    EXPECT_EQ(fixture_.reporter.messages[0].text,
              "Korvane can't save \"" +
                  QDir(folder).filePath(QStringLiteral("demo-1.nes")).toStdString() +
                  "\": writing failed (No space left on device). Nothing was written.");
    EXPECT_TRUE(fixture_.app().emulatorLauncher().runs().empty());
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty());
    QTest::qWait(300);
    EXPECT_TRUE(RecordedRuns(records_).empty());
    EXPECT_TRUE(QDir(records_).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
}

TEST_F(PlayTest, PreferencesStoreTheCommandAndShowItAgain) {
    StartWith(QString());
    fixture_.prompt.emulatorAnswers = {QStringLiteral("  mednafen -force_module nes  ")};
    ASSERT_TRUE(frame().action(cmd::kEditPreferences)->isEnabled());
    frame().action(cmd::kEditPreferences)->trigger();
    ASSERT_EQ(fixture_.prompt.emulatorQuestions.size(), 1U);
    EXPECT_EQ(fixture_.prompt.emulatorQuestions[0].initial, QString());
    EXPECT_EQ(StoredCommand(fixture_.settingsFile()), QStringLiteral("mednafen -force_module nes"));
    // Kept with the recent files.
    QSettings settings(fixture_.settingsFile(), QSettings::IniFormat);
    EXPECT_EQ(settings.value(QStringLiteral("Recent File List/File1")).toString(),
              QFileInfo(path_).absoluteFilePath());

    // A cancel changes nothing.
    frame().EditPreferences();
    EXPECT_EQ(StoredCommand(fixture_.settingsFile()), QStringLiteral("mednafen -force_module nes"));

    // The next run of the program shows it.
    ASSERT_TRUE(fixture_.Start({QStringLiteral("-nosplash")}));
    fixture_.prompt.emulatorQuestions.clear();
    fixture_.app().mainFrame()->EditPreferences();
    ASSERT_EQ(fixture_.prompt.emulatorQuestions.size(), 1U);
    EXPECT_EQ(fixture_.prompt.emulatorQuestions[0].initial,
              QStringLiteral("mednafen -force_module nes"));
    EXPECT_EQ(fixture_.prompt.emulatorQuestions[0].note, QString());
}

TEST(PreferencesDialogTest, TheFieldStartsFromTheCommandAndGivesWhatWasTyped) {
    CPreferencesDlg dialog(QStringLiteral("fceux {file}"), QString());
    auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("id1401"));
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->text(), QStringLiteral("fceux {file}"));
    EXPECT_NE(dialog.findChild<QPushButton*>(QStringLiteral("id1402")), nullptr);
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("id1402"))->text(),
              QStringLiteral("&Browse..."));
    EXPECT_TRUE(dialog.findChild<QLabel*>(QStringLiteral("id1403"))->isHidden());
    field->setText(QStringLiteral("nestopia --fullscreen"));
    dialog.findChild<QPushButton*>(QStringLiteral("id1"))->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.command(), QStringLiteral("nestopia --fullscreen"));

    CPreferencesDlg noted(QString(), QStringLiteral("No emulator was found"));
    EXPECT_FALSE(noted.findChild<QLabel*>(QStringLiteral("id1403"))->isHidden());
    EXPECT_EQ(noted.findChild<QLabel*>(QStringLiteral("id1403"))->text(),
              QStringLiteral("No emulator was found"));
    noted.findChild<QPushButton*>(QStringLiteral("id2"))->click();
    EXPECT_EQ(noted.result(), QDialog::Rejected);
}

// PATH set to folders of the test for the length of a test.
class ScopedPath {
public:
    explicit ScopedPath(const QString& path) : saved_(qgetenv("PATH")) {
        qputenv("PATH", path.toLocal8Bit());
    }
    ~ScopedPath() { qputenv("PATH", saved_); }

private:
    QByteArray saved_;
};

TEST_F(PlayTest, WithoutACommandTheFirstKnownEmulatorFoundIsOffered) {
    StartWith(QString());
    const QString first = tools_.filePath(QStringLiteral("first"));
    const QString second = tools_.filePath(QStringLiteral("my emulators"));
    ASSERT_TRUE(QDir().mkpath(first));
    ASSERT_TRUE(QDir().mkpath(second));
    // fceux may not be run, nestopia is in the second PATH folder, mednafen in the first.
    WriteScript(QDir(first).filePath(QStringLiteral("fceux")), QStringLiteral("exit 0\n"), false);
    WriteScript(QDir(first).filePath(QStringLiteral("mednafen")), QStringLiteral("exit 0\n"));
    WriteRecorder(QDir(second).filePath(QStringLiteral("nestopia")), records_);
    const ScopedPath path(first + u':' + second);

    fixture_.prompt.emulatorAnswers = {QString()}; // OK with the field emptied: nothing runs
    EXPECT_FALSE(frame().PlayInEmulator());
    ASSERT_EQ(fixture_.prompt.emulatorQuestions.size(), 1U);
    const QString offered =
        QStringLiteral("'") + QDir(second).filePath(QStringLiteral("nestopia")) + u'\'';
    EXPECT_EQ(fixture_.prompt.emulatorQuestions[0].initial, offered);
    EXPECT_EQ(fixture_.prompt.emulatorQuestions[0].note,
              QStringLiteral("No emulator was chosen yet; Korvane found this one. Press OK to "
                             "play with it."));
    EXPECT_TRUE(fixture_.app().emulatorLauncher().runs().empty());

    // Confirmed, it is kept and plays.
    fixture_.prompt.emulatorAnswers = {offered};
    EXPECT_TRUE(frame().PlayInEmulator());
    EXPECT_EQ(StoredCommand(fixture_.settingsFile()), offered);
    const std::vector<RecordedRun> runs = WaitForRuns(records_, 1);
    ASSERT_EQ(runs.size(), 1U);
    EXPECT_EQ(runs[0].arguments,
              QStringList{fixture_.app().emulatorLauncher().runs().at(0).cartridge});
    // Once set, Play asks no more.
    EXPECT_EQ(fixture_.prompt.emulatorQuestions.size(), 2U);
}

TEST_F(PlayTest, TheGamesFolderIsSearchedAfterThePathAndNothingFoundIsSaid) {
    StartWith(QString());
    const QString onPath = tools_.filePath(QStringLiteral("bin"));
    ASSERT_TRUE(QDir().mkpath(onPath));
    const ScopedPath path(onPath);
    WriteScript(QDir(games_).filePath(QStringLiteral("mednafen")), QStringLiteral("exit 0\n"));
    fixture_.prompt.emulatorAnswers.clear(); // cancel
    EXPECT_FALSE(frame().PlayInEmulator());
    ASSERT_EQ(fixture_.prompt.emulatorQuestions.size(), 1U);
    EXPECT_EQ(fixture_.prompt.emulatorQuestions[0].initial,
              QDir(games_).filePath(QStringLiteral("mednafen")));

    ASSERT_TRUE(QFile::remove(QDir(games_).filePath(QStringLiteral("mednafen"))));
    EXPECT_FALSE(frame().PlayInEmulator());
    ASSERT_EQ(fixture_.prompt.emulatorQuestions.size(), 2U);
    EXPECT_EQ(fixture_.prompt.emulatorQuestions[1].initial, QString());
    EXPECT_EQ(fixture_.prompt.emulatorQuestions[1].note,
              QStringLiteral("No emulator was found: none of fceux, nestopia and mednafen is on "
                             "the PATH or in /usr/games. Name the program that plays your "
                             "cartridges."));
    // Cancelled: nothing kept, nothing written.
    EXPECT_EQ(StoredCommand(fixture_.settingsFile()), QString());
    EXPECT_TRUE(fixture_.app().emulatorLauncher().folder().isEmpty());
}

TEST(EmulatorCommandTest, WordsSplitAsAShellSplitsThem) {
    const std::vector<std::pair<QString, QStringList>> cases{
        {QStringLiteral("fceux"), {QStringLiteral("fceux")}},
        {QStringLiteral("  fceux \t --sound 0  "),
         {QStringLiteral("fceux"), QStringLiteral("--sound"), QStringLiteral("0")}},
        {QStringLiteral("\"/opt/my emu/run\" 'a b' c\\ d"),
         {QStringLiteral("/opt/my emu/run"), QStringLiteral("a b"), QStringLiteral("c d")}},
        // Quotes join with what touches them; single quotes keep backslashes; in double quotes
        // a backslash only escapes $ ` " and itself.
        {QStringLiteral("--rom='x y'z"), {QStringLiteral("--rom=x yz")}},
        {QStringLiteral("'a\\b' \"c\\d\\\"e\\\\\" \\$HOME"),
         {QStringLiteral("a\\b"), QStringLiteral("c\\d\"e\\"), QStringLiteral("$HOME")}},
        {QStringLiteral("'' \"\""), {QString(), QString()}},
        {QStringLiteral("it\"'\"s"), {QStringLiteral("it's")}},
        {QStringLiteral("   "), {}},
    };
    for (const auto& [text, words] : cases) {
        EXPECT_EQ(EmulatorCommand::Split(text), words) << text.toStdString();
    }
    EXPECT_TRUE(EmulatorCommand(QStringLiteral("  ")).empty());
    EXPECT_EQ(EmulatorCommand(QStringLiteral("emu --a={file}.nes {file}"))
                  .ArgumentsFor(QStringLiteral("/t/c.nes")),
              (QStringList{QStringLiteral("--a=/t/c.nes.nes"), QStringLiteral("/t/c.nes")}));
    EXPECT_EQ(EmulatorCommand(QStringLiteral("emu -f")).ArgumentsFor(QStringLiteral("/t/c.nes")),
              (QStringList{QStringLiteral("-f"), QStringLiteral("/t/c.nes")}));
}

TEST(EmulatorCommandTest, QuotedWordsAndBrowsedProgramsSplitBack) {
    EXPECT_EQ(EmulatorCommand::Quoted(QStringLiteral("/usr/games/fceux")),
              QStringLiteral("/usr/games/fceux"));
    EXPECT_EQ(EmulatorCommand::Quoted(QStringLiteral("/a b/it's")),
              QStringLiteral("'/a b/it'\\''s'"));
    EXPECT_EQ(EmulatorCommand::Quoted(QString()), QStringLiteral("''"));
    EXPECT_EQ(EmulatorCommand::Split(EmulatorCommand::Quoted(QStringLiteral("/a b/it's"))),
              QStringList{QStringLiteral("/a b/it's")});
    EXPECT_EQ(EmulatorCommand::WithProgram(QStringLiteral("fceux --sound 0 {file}"),
                                           QStringLiteral("/opt/new emu")),
              QStringLiteral("'/opt/new emu' --sound 0 {file}"));
    EXPECT_EQ(EmulatorCommand::WithProgram(QString(), QStringLiteral("/usr/bin/nestopia")),
              QStringLiteral("/usr/bin/nestopia"));
}

} // namespace
} // namespace korvane::test
