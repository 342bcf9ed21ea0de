// What korvane-cli does with the files it is given: an output that is one of the inputs is
// refused before anything is written, a script is read only up to its size limit, messages
// quote only the start of a long word, and every name a folder accepts can be written.
#include "CliProcessFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <map>

#include <unistd.h>

namespace korvane {
namespace {

class CliInputs : public CliProcess {
protected:
    // Runs the tool with standard input read from a file.
    CliResult RunWithInputFile(const QStringList& args, const QString& input) {
        QProcess process;
        process.setStandardInputFile(input);
        process.start(QStringLiteral(KORVANE_CLI_PATH), args);
        EXPECT_TRUE(process.waitForStarted(10000));
        return Finished(process);
    }
    static QString Refusal(const QString& output, const QString& input) {
        return "korvane-cli: Korvane can't write \"" + output + "\": it is the same file as \"" +
               input + "\", which it is made from. Nothing was written.\n";
    }
    // Every file of the folder and its bytes.
    std::map<QString, QByteArray> Contents() {
        std::map<QString, QByteArray> contents;
        for (const QString& name : Entries()) {
            contents[name] = ReadFile(name);
        }
        return contents;
    }
};

TEST_F(CliInputs, EveryWritingCommandRefusesAnOutputThatIsOneOfItsInputs) {
    const QString demo = Demo(1);
    const QString other = Demo(2);
    WriteFile("ops.txt", "level 1\n");
    WriteFile("p.ips", "PATCHEOF");
    WriteFile("in.png", "not a picture");
    const QString ops = Path("ops.txt");
    const QString patch = Path("p.ips");
    const QString picture = Path("in.png");
    // Other names of the same files: symbolic links and a hard link.
    ASSERT_TRUE(QFile::link("demo1.nes", Path("l.png")));
    ASSERT_TRUE(QFile::link("ops.txt", Path("ops-link.txt")));
    ASSERT_TRUE(QFile::link("demo2.nes", Path("other.ips")));
    ASSERT_EQ(::link(demo.toLocal8Bit().constData(), Path("hard.nes").toLocal8Bit().constData()),
              0);
    const QString hard = Path("hard.nes");
    const std::map<QString, QByteArray> before = Contents();
    const QStringList entries = Entries();

    struct Case {
        QStringList args;
        QString output;
        QString input; // the input it is refused for
    };
    const QStringList tilesOptions{"--level", "0", "--palette-row", "0"};
    const std::vector<Case> cases{
        {{"roundtrip", demo, demo}, demo, demo},
        {{"roundtrip", demo, hard}, hard, demo},
        {{"edit", demo, demo, ops}, demo, demo},
        {{"edit", demo, ops, ops}, ops, ops},
        {{"edit", demo, Path("ops-link.txt"), ops}, Path("ops-link.txt"), ops},
        {{"render", demo, "--level", "0", "--hallway", "0", "-o", demo}, demo, demo},
        {{"render", demo, "--level", "0", "--hallway", "0", "-o", Path("l.png")},
         Path("l.png"),
         demo},
        {{"patch", demo, other, Path("other.ips")}, Path("other.ips"), other},
        {{"apply-patch", demo, patch, patch}, patch, patch},
        {{"apply-patch", demo, patch, hard}, hard, demo},
        {QStringList{"tiles", "export", demo, "-o", Path("l.png")} + tilesOptions, Path("l.png"),
         demo},
        {QStringList{"tiles", "import", demo, hard, picture} + tilesOptions, hard, demo},
        {QStringList{"tiles", "import", demo, picture, picture} + tilesOptions, picture, picture},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CliResult r = Run(c.args);
        EXPECT_FALSE(r.crashed);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.err, Refusal(c.output, c.input));
        EXPECT_EQ(r.out, QString());
    }
    // The script read from standard input, which is the output.
    const CliResult piped = RunWithInputFile({"edit", demo, ops, "-"}, ops);
    EXPECT_EQ(piped.exitCode, 2);
    EXPECT_EQ(piped.err, Refusal(ops, "/dev/stdin"));

    EXPECT_EQ(Contents(), before);
    EXPECT_EQ(Entries(), entries);
    EXPECT_TRUE(QFileInfo(Path("l.png")).isSymLink());
    EXPECT_TRUE(QFileInfo(Path("other.ips")).isSymLink());

    // A file with the same content is another file.
    WriteFile("copy.nes", ReadFile("demo1.nes"));
    EXPECT_EQ(Run({"roundtrip", demo, Path("copy.nes")}).exitCode, 0);
}

TEST_F(CliInputs, AScriptIsReadUpToSixteenMegabytes) {
    const QString demo = Demo();
    const QString out = Path("out.nes");
    const QString tooLarge =
        "it is larger than 16 MB (16777216 bytes), the most a script may have; nothing was "
        "written\n";

    // A script of exactly the limit: "level 1" and blanks.
    QByteArray script = "level 1\n";
    script += QByteArray(16 * 1024 * 1024 - script.size(), ' ');
    WriteFile("largest.txt", script);
    const CliResult largest = Run({"edit", demo, out, Path("largest.txt")});
    EXPECT_EQ(largest.exitCode, 0) << largest.err.toStdString();
    EXPECT_EQ(largest.out, QStringLiteral("level -\n"));
    EXPECT_EQ(ReadFile("out.nes"), ReadFile("demo1.nes"));
    ASSERT_TRUE(QFile::remove(out));

    // One byte more, and sources that never end.
    WriteFile("larger.txt", script + ' ');
    const CliResult larger = Run({"edit", demo, out, Path("larger.txt")});
    EXPECT_EQ(larger.exitCode, 1);
    EXPECT_EQ(larger.err,
              "korvane-cli: cannot read the script " + Path("larger.txt") + ": " + tooLarge);
    const CliResult zeros = Run({"edit", demo, out, "/dev/zero"});
    EXPECT_EQ(zeros.exitCode, 1);
    EXPECT_EQ(zeros.err, "korvane-cli: cannot read the script /dev/zero: " + tooLarge);
    const CliResult piped = RunWithInputFile({"edit", demo, out, "-"}, "/dev/zero");
    EXPECT_EQ(piped.exitCode, 1);
    EXPECT_EQ(piped.err, "korvane-cli: cannot read the script standard input: " + tooLarge);
    for (const CliResult& r : {larger, zeros, piped}) {
        EXPECT_EQ(r.out, QString());
    }
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(CliInputs, AMessageQuotesOnlyTheStartOfALongWord) {
    const QString demo = Demo();
    const QByteArray word(10 * 1024 * 1024, 'w');
    const CliResult r = Run({"edit", demo, Path("out.nes"), "-"}, "level 1\n" + word + " 1\n");
    EXPECT_EQ(r.exitCode, 2);
    ASSERT_LT(r.err.size(), 200);
    EXPECT_EQ(r.err, "korvane-cli: standard input, line 2: unknown operation \"" +
                         QString(40, 'w') + "...\"; nothing was written\n");
    EXPECT_FALSE(QFile::exists(Path("out.nes")));
}

TEST_F(CliInputs, EveryNameTheFolderTakesCanBeWritten) {
    const QString demo = Demo();
    // 255 bytes, the longest name the folder takes, and 240.
    const QString longest = QString(251, 'n') + ".nes";
    const QString shorter = QString(236, 's') + ".nes";
    const QString picture = QString(251, 'p') + ".png";
    ASSERT_EQ(longest.toLocal8Bit().size(), 255);
    const CliResult roundtrip = Run({"roundtrip", demo, Path(longest)});
    EXPECT_EQ(roundtrip.exitCode, 0) << roundtrip.err.toStdString();
    EXPECT_EQ(ReadFile(longest), ReadFile("demo1.nes"));
    // Replacing an existing file of that name.
    const CliResult edit = Run({"edit", demo, Path(longest), "-"}, "level 1\n");
    EXPECT_EQ(edit.exitCode, 0) << edit.err.toStdString();
    const CliResult again = Run({"roundtrip", Path(longest), Path(shorter)});
    EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_EQ(ReadFile(shorter), ReadFile("demo1.nes"));
    const CliResult render = Run({"render", demo, "--level", "0", "-o", Path(picture)});
    EXPECT_EQ(render.exitCode, 0) << render.err.toStdString();
    EXPECT_TRUE(ReadFile(picture).startsWith("\x89PNG"));
    // No temporary file is left behind.
    EXPECT_EQ(Entries(), (QStringList{"demo1.nes", longest, picture, shorter}));
}

} // namespace
} // namespace korvane
