// korvane-cli play: the cartridge in a stand-in emulator (a script that records its arguments
// and copies the file it is given).
#include "CliProcessFixture.h"

#include <QSettings>

namespace korvane {
namespace {

class CliPlay : public CliProcess {
protected:
    // A script of the test's folder, with its own PATH.
    QString Script(const QString& name, const QString& body) {
        const QString path = Path(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("#!/bin/sh\nPATH=/usr/bin:/bin\n") + body.toUtf8());
        file.close();
        EXPECT_TRUE(
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        return path;
    }
    // Records its arguments a line each in args.txt and copies its second into copy.nes, then
    // runs past the two seconds an emulator has to fail in.
    QString Recorder() {
        return Script(QStringLiteral("recorder"),
                      QStringLiteral("printf '%s\\n' \"$@\" > '%1'\n"
                                     "cp \"$2\" '%2'\n"
                                     "sleep 2.3\n")
                          .arg(Path(QStringLiteral("args.txt")), Path(QStringLiteral("copy.nes"))));
    }
    QStringList RecordedArguments() {
        QString text = QString::fromUtf8(ReadFile(QStringLiteral("args.txt")));
        text.chop(1);
        return text.split(u'\n');
    }
};

TEST_F(CliPlay, RunsTheCommandOnATemporaryCopyAndWaitsForIt) {
    const QString rom = Demo();
    const QByteArray before = ReadFile(QStringLiteral("demo1.nes"));
    const CliResult r =
        Run({"play", rom, "--emulator", "'" + Recorder() + "' -a {file} 'two words'"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    const QStringList arguments = RecordedArguments();
    ASSERT_EQ(arguments.size(), 3);
    EXPECT_EQ(arguments[0], QStringLiteral("-a"));
    EXPECT_EQ(arguments[2], QStringLiteral("two words"));
    const QString played = arguments[1];
    EXPECT_EQ(QFileInfo(played).fileName(), QStringLiteral("demo1-1.nes"));
    EXPECT_NE(QFileInfo(played).absolutePath(), QFileInfo(rom).absolutePath());
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("playing ") + played + QStringLiteral(" in ")))
        << r.out.toStdString();
    // The emulator read the cartridge as it is on disk; the file is left alone and the copy is
    // gone once the tool ends.
    EXPECT_EQ(ReadFile(QStringLiteral("copy.nes")), before);
    EXPECT_EQ(ReadFile(QStringLiteral("demo1.nes")), before);
    EXPECT_FALSE(QFileInfo::exists(played));
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(played).absolutePath()));
}

TEST_F(CliPlay, WithoutTheOptionTheCommandOfThePreferencesRuns) {
    const QString config = Path(QStringLiteral("config"));
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
    {
        QSettings settings(config + QStringLiteral("/Local AppWizard-Generated Applications/"
                                                   "Korvane.conf"),
                           QSettings::IniFormat);
        settings.setValue(QStringLiteral("Emulator/command"),
                          QStringLiteral("'") + Recorder() + QStringLiteral("' --set"));
    }
    const CliResult r = Run({"play", Demo()});
    if (saved.isNull()) {
        qunsetenv("XDG_CONFIG_HOME");
    } else {
        qputenv("XDG_CONFIG_HOME", saved);
    }
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList arguments = RecordedArguments();
    ASSERT_EQ(arguments.size(), 2);
    EXPECT_EQ(arguments[0], QStringLiteral("--set"));
    EXPECT_EQ(QFileInfo(arguments[1]).fileName(), QStringLiteral("demo1-1.nes"));
}

TEST_F(CliPlay, AnEmulatorThatCannotStartOrEndsAtOnceFails) {
    const QString rom = Demo();
    CliResult r = Run({"play", rom, "--emulator", "no-such-emulator-anywhere {file}"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, QStringLiteral("korvane-cli: Korvane can't start the emulator "
                                    "\"no-such-emulator-anywhere\": the program was not found.\n"));
    EXPECT_TRUE(r.out.isEmpty());

    const QString failing = Script(QStringLiteral("failing"),
                                   QStringLiteral("echo \"unknown option $1\" >&2\nexit 5\n"));
    r = Run({"play", rom, "--emulator", failing + " --bogus"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, QStringLiteral("korvane-cli: The emulator \"") + failing +
                         QStringLiteral("\" ended within two seconds of its start, with exit "
                                        "status 5. The last lines it wrote to its error "
                                        "output:\n\nunknown option --bogus\n"));
    EXPECT_EQ(ReadFile(QStringLiteral("demo1.nes")).size(), 0x60010);
}

TEST_F(CliPlay, BadCommandLinesAreUsageErrors) {
    const QString rom = Demo();
    ExpectUsageErrors(
        {{"play"}, {"play", rom, rom}, {"play", rom, "--emulator"}, {"play", rom, "--other"}});
    // A cartridge that is not one is refused before any emulator starts.
    WriteFile(QStringLiteral("short.nes"), QByteArray(100, '\0'));
    const CliResult r =
        Run({"play", Path(QStringLiteral("short.nes")), "--emulator", "'" + Recorder() + "'"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("args.txt"))));
}

} // namespace
} // namespace korvane
