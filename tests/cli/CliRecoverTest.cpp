// korvane-cli recover: the window's recovery copies listed and written out, with a copy a
// running program holds left alone.
#include "CliProcessFixture.h"

#include "app/RecentFileList.h"
#include "app/RecoveryStore.h"

#include <QProcessEnvironment>

namespace korvane {
namespace {

class CliRecoverTest : public CliProcess {
protected:
    CliRecoverTest()
        : folder_(Path("data") + "/Local AppWizard-Generated Applications/Korvane/recovery") {}
    // The tool with its per-user data folder inside the test's folder.
    CliResult RunWithData(const QStringList& args) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", Path("data"));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(KORVANE_CLI_PATH), args);
        return Finished(process);
    }
    QString folder_;
};

TEST_F(CliRecoverTest, ListsAndWritesOutLeftOverCopiesButNotARunningProgramsOwn) {
    const QString demo = Demo();
    RecoverySnapshot snapshot;
    snapshot.content = std::vector<std::uint8_t>(RomImage::size() + 3, 0x5A);
    snapshot.content[0x20] = 0x01;
    snapshot.originalPath = demo.toStdString();
    snapshot.step = 2;
    snapshot.stepText = QStringLiteral("Room Editor (level 4)");
    // A store of this process: a running program's copy.
    RecoveryStore running(folder_);
    ASSERT_TRUE(running.Start());
    running.SetSource([&] { return std::optional<RecoverySnapshot>(snapshot); });
    ASSERT_TRUE(running.WriteNow());
    // A copy of a program that is gone (no lock).
    const QString crashed = folder_ + "/korvane-crashed";
    ASSERT_TRUE(QFile::copy(running.copyPath(), crashed + ".nes"));
    ASSERT_TRUE(QFile::copy(running.infoPath(), crashed + ".json"));

    const CliResult list = RunWithData({"recover", "--list"});
    EXPECT_EQ(list.exitCode, 0) << list.err.toStdString();
    const QStringList lines = list.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << list.out.toStdString();
    const QStringList copies{lines[0], lines[2]};
    EXPECT_TRUE(copies.contains(running.copyPath()));
    EXPECT_TRUE(copies.contains(crashed + ".nes"));
    for (int i : {1, 3}) {
        EXPECT_TRUE(lines[i].startsWith("  of " + demo + ", from ")) << lines[i].toStdString();
        const bool held = lines[i - 1] == running.copyPath();
        EXPECT_TRUE(lines[i].endsWith(held ? ", step 2 (Room Editor (level 4)), held by a running "
                                             "Korvane"
                                           : ", step 2 (Room Editor (level 4)), left over"))
            << lines[i].toStdString();
    }

    // The running program's copy is left alone.
    const CliResult held = RunWithData({"recover", running.copyPath(), Path("out.nes")});
    EXPECT_EQ(held.exitCode, 1);
    EXPECT_TRUE(held.err.contains("is held by a running Korvane")) << held.err.toStdString();
    EXPECT_FALSE(QFile::exists(Path("out.nes")));
    // Not onto the copy itself.
    const CliResult onto = RunWithData({"recover", "korvane-crashed", crashed + ".nes"});
    EXPECT_EQ(onto.exitCode, 2);

    const CliResult written = RunWithData({"recover", "korvane-crashed", Path("out.nes")});
    EXPECT_EQ(written.exitCode, 0) << written.err.toStdString();
    QFile out(Path("out.nes"));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    const QByteArray bytes = out.readAll();
    ASSERT_EQ(bytes.size(), static_cast<qsizetype>(RomImage::size() + 3));
    EXPECT_EQ(bytes.count('\x5A'), bytes.size() - 1);
    EXPECT_EQ(bytes.at(0x20), '\x01');
    EXPECT_FALSE(QFile::exists(crashed + ".nes"));
    EXPECT_FALSE(QFile::exists(crashed + ".json"));
    EXPECT_TRUE(QFile::exists(running.copyPath()));

    // Now the file has only the running program's copy: named by its file, it is left alone.
    const CliResult byFile = RunWithData({"recover", demo, Path("out3.nes")});
    EXPECT_EQ(byFile.exitCode, 1);
    EXPECT_TRUE(byFile.err.contains("is held by a running Korvane")) << byFile.err.toStdString();
    EXPECT_FALSE(QFile::exists(Path("out3.nes")));

    const CliResult unknown = RunWithData({"recover", Path("other.nes"), Path("out2.nes")});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_TRUE(unknown.err.contains("there is no recovery copy of")) << unknown.err.toStdString();
    ExpectUsageErrors({{"recover"}, {"recover", "--list", "x"}, {"recover", "a"}});

    running.Remove();
    const CliResult none = RunWithData({"recover", "--list"});
    EXPECT_EQ(none.out, QStringLiteral("No recovery copies.\n"));
}

} // namespace
} // namespace korvane
