// `korvane-cli patch` and `korvane-cli apply-patch` run as processes.
#include "CliProcessFixture.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace korvane {
namespace {

class CliPatch : public CliProcess {
protected:
    // The demo cartridge with bytes changed all over it and some bytes after the image.
    QString Edited() {
        QByteArray bytes = ReadFile(QFileInfo(Demo()).fileName());
        for (qsizetype at = 7; at < bytes.size(); at += 4099) {
            bytes[at] = static_cast<char>(bytes[at] ^ 0x5A);
        }
        bytes[bytes.size() - 1] = static_cast<char>(bytes[bytes.size() - 1] + 1);
        bytes += QByteArray("bytes after the image");
        WriteFile("edited.nes", bytes);
        return Path("edited.nes");
    }
};

TEST_F(CliPatch, BothFormatsTurnTheCleanFileIntoTheEditedOne) {
    const QString clean = Demo();
    const QString edited = Edited();
    for (const QString name : {"hack.ips", "hack.BPS"}) {
        SCOPED_TRACE(name.toStdString());
        const CliResult made = Run({"patch", clean, edited, Path(name)});
        ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
        const QByteArray patch = ReadFile(name);
        EXPECT_TRUE(patch.startsWith(name.endsWith("ips") ? "PATCH" : "BPS1"));
        EXPECT_LT(patch.size(), 4000); // about 100 changes, not a copy of the cartridge
        EXPECT_TRUE(made.out.contains(QString::number(patch.size()))) << made.out.toStdString();

        const CliResult applied = Run({"apply-patch", clean, Path(name), Path("result.nes")});
        ASSERT_EQ(applied.exitCode, 0) << applied.err.toStdString();
        EXPECT_EQ(ReadFile("result.nes"), ReadFile("edited.nes"));
        QFile::remove(Path("result.nes"));
    }
}

TEST_F(CliPatch, TheResultIsWrittenWhateverItsSize) {
    // A hand-made IPS patch that cuts the file to 4096 bytes and writes one byte.
    WriteFile("cut.ips", QByteArray("PATCH") + QByteArray("\x00\x00\x10\x00\x01\x7E", 6) +
                             QByteArray("EOF") + QByteArray("\x00\x10\x00", 3));
    const CliResult r = Run({"apply-patch", Demo(), Path("cut.ips"), Path("cut.bin")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QByteArray expected = ReadFile("demo1.nes").left(4096);
    expected[16] = '\x7E';
    EXPECT_EQ(ReadFile("cut.bin"), expected);
}

TEST_F(CliPatch, BadUsageExitsTwoAndWritesNothing) {
    const QString clean = Demo();
    const std::vector<QStringList> cases{
        {"patch"},
        {"patch", clean, clean},
        {"patch", clean, clean, Path("out.ips"), Path("more")},
        {"patch", clean, clean, Path("out.txt")},
        {"patch", clean, clean, Path("out.ipsx")},
        {"patch", clean, clean, Path("ips")},
        {"apply-patch", clean, Path("p.ips")},
        {"apply-patch", clean, Path("p.ips"), Path("out.nes"), Path("more")},
    };
    WriteFile("p.ips", QByteArray("PATCH") + QByteArray("EOF"));
    const QByteArray before = ReadFile("demo1.nes");
    ExpectUsageErrors(cases);
    EXPECT_FALSE(QFile::exists(Path("out.ips")));
    EXPECT_FALSE(QFile::exists(Path("out.nes")));
    EXPECT_EQ(ReadFile("demo1.nes"), before);

    const CliResult help = Run({"help"});
    EXPECT_TRUE(help.out.contains("korvane-cli patch CLEAN EDITED OUT.ips|OUT.bps"));
    EXPECT_TRUE(help.out.contains("korvane-cli apply-patch CLEAN PATCH OUT"));
}

TEST_F(CliPatch, ARefusedPatchWritesNoOutput) {
    const QString clean = Demo(1);
    const QString other = Demo(2);
    ASSERT_EQ(Run({"patch", clean, Edited(), Path("hack.bps")}).exitCode, 0);

    // Made for another cartridge: both checksums are named.
    const CliResult wrong = Run({"apply-patch", other, Path("hack.bps"), Path("out.nes")});
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_TRUE(wrong.err.contains(QRegularExpression(
        "made for a file with CRC32 [0-9A-F]{8}, but this file's CRC32 is [0-9A-F]{8}")))
        << wrong.err.toStdString();
    EXPECT_FALSE(QFile::exists(Path("out.nes")));

    // An earlier file of that name stays as it was.
    WriteFile("kept.nes", "keep me");
    QByteArray damaged = ReadFile("hack.bps");
    damaged[damaged.size() / 2] = static_cast<char>(damaged[damaged.size() / 2] ^ 1);
    WriteFile("damaged.bps", damaged);
    const CliResult broken = Run({"apply-patch", clean, Path("damaged.bps"), Path("kept.nes")});
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_TRUE(broken.err.contains("damaged")) << broken.err.toStdString();
    EXPECT_EQ(ReadFile("kept.nes"), QByteArray("keep me"));

    // Not a patch, no patch, a cartridge that is too short.
    WriteFile("garbage.ips", QByteArray(300, 'x'));
    WriteFile("short.nes", QByteArray(1000, 0));
    const std::vector<QStringList> refused{
        {"apply-patch", clean, Path("garbage.ips"), Path("out.nes")},
        {"apply-patch", clean, Path("missing.ips"), Path("out.nes")},
        {"apply-patch", clean, dir_.path(), Path("out.nes")},
        {"apply-patch", Path("short.nes"), Path("hack.bps"), Path("out.nes")},
        {"patch", Path("short.nes"), clean, Path("out.ips")},
        {"patch", clean, Path("missing.nes"), Path("out.ips")},
    };
    for (const QStringList& args : refused) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const CliResult r = Run(args);
        EXPECT_FALSE(r.crashed);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_FALSE(r.err.isEmpty());
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(Path("out.nes")));
    EXPECT_FALSE(QFile::exists(Path("out.ips")));
}

} // namespace
} // namespace korvane
