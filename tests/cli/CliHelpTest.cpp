// korvane-cli --help, COMMAND --help, --version and bad usage, as a user sees them.
#include "CliProcessFixture.h"

#include <QRegularExpression>

namespace korvane {
namespace {

using CliHelp = CliProcess;

// Every command a user can run, as the README's table lists them.
const QStringList kCommands{"demo",   "info",   "dump",        "roundtrip", "edit",
                            "render", "patch",  "apply-patch", "tiles",     "play",
                            "level",  "unpack", "pack",        "diff",      "recover"};

TEST_F(CliHelp, HelpListsEveryCommandWithItsSynopsis) {
    for (const QString& word :
         {QStringLiteral("--help"), QStringLiteral("-h"), QStringLiteral("help")}) {
        const CliResult r = Run({word});
        ASSERT_EQ(r.exitCode, 0) << word.toStdString() << r.err.toStdString();
        EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        EXPECT_TRUE(r.out.startsWith("Usage: korvane-cli [options] COMMAND [ARGUMENTS...]\n"))
            << r.out.toStdString();
        EXPECT_TRUE(r.out.contains("  -v, --version  Shows the version and ends.\n"));
        for (const QString& command : kCommands) {
            const QRegularExpression synopsis("^korvane-cli " + command + " ",
                                              QRegularExpression::MultilineOption);
            EXPECT_TRUE(synopsis.match(r.out).hasMatch()) << command.toStdString();
        }
        // Options of a command are listed with it.
        EXPECT_TRUE(r.out.contains("  --zoom-in N        draw each pixel N x N (1-8)\n"));
    }
}

TEST_F(CliHelp, EachCommandHasHelpOfItsOwn) {
    for (const QString& command : kCommands) {
        const CliResult r = Run({command, "--help"});
        ASSERT_EQ(r.exitCode, 0) << command.toStdString() << r.err.toStdString();
        EXPECT_TRUE(r.out.startsWith("usage: korvane-cli " + command + " ")) << r.out.toStdString();
        // Its own help only: no other command's synopsis.
        EXPECT_EQ(r.out.count("korvane-cli "), r.out.count("korvane-cli " + command + " "))
            << r.out.toStdString();
        const CliResult asked = Run({"help", command});
        EXPECT_EQ(asked.exitCode, 0);
        EXPECT_EQ(asked.out, r.out);
    }
    const CliResult tiles = Run({"tiles", "import", "-h"});
    EXPECT_EQ(tiles.exitCode, 0);
    EXPECT_EQ(tiles.out,
              "usage: korvane-cli tiles export ROM --level L [--half 0|1] --palette-row R -o "
              "OUT.png\n"
              "       korvane-cli tiles import ROM OUT.nes --level L [--half 0|1] --palette-row R "
              "IN.png\n"
              "  export writes level L's tiles (all, or tiles 0-127 or 128-255 with --half) as an\n"
              "  indexed PNG in the colours of palette row R (0-19); import replaces those tiles\n"
              "  with IN.png's and writes OUT.nes.\n");
    // Help writes nothing, even where the command would.
    EXPECT_TRUE(QDir(Path(QString())).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(Run({"demo", Path("d.nes"), "--help"}).exitCode, 0);
    EXPECT_FALSE(QFile::exists(Path("d.nes")));
}

TEST_F(CliHelp, VersionAndBadUsage) {
    for (const QString& word : {QStringLiteral("--version"), QStringLiteral("-v")}) {
        const CliResult r = Run({word});
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.out, "korvane-cli 1.0\n");
    }
    struct Case {
        QStringList words;
        QString message;
    };
    const Case cases[] = {
        {{}, "korvane-cli: no command given\n"},
        {{"--bogus"}, "korvane-cli: Unknown option 'bogus'.\n"},
        {{"frob"}, "korvane-cli: unknown command \"frob\"\n"},
        {{"help", "frob"}, "korvane-cli: unknown command \"frob\"\n"},
    };
    for (const Case& c : cases) {
        const CliResult r = Run(c.words);
        EXPECT_EQ(r.exitCode, 2) << c.words.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith(c.message + "usage: korvane-cli demo OUT.nes [--seed N]\n"))
            << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

} // namespace
} // namespace korvane
