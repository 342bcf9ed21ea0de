// korvane-cli level export/import, unpack and pack, run as processes.
#include "CliProcessFixture.h"

#include "gamedata/GameData.h"
#include "tools/DemoCartridge.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <memory>
#include <random>

#include <sys/stat.h>

namespace korvane {
namespace {

std::unique_ptr<GameData> DecodeBytes(const QByteArray& bytes) {
    auto image = std::make_unique<RomImage>();
    EXPECT_GE(static_cast<std::size_t>(bytes.size()), kRomSize);
    std::copy_n(bytes.constData(),
                std::min<std::size_t>(kRomSize, static_cast<std::size_t>(bytes.size())),
                reinterpret_cast<char*>(image->data()));
    auto data = std::make_unique<GameData>();
    data->Decode(*image);
    return data;
}

class CliText : public CliProcess {
protected:
    QString RandomImage(std::uint32_t seed, int extraBytes = 0) {
        std::mt19937 rng(seed);
        QByteArray bytes(static_cast<qsizetype>(kRomSize) + extraBytes, '\0');
        for (char& byte : bytes) {
            byte = static_cast<char>(rng());
        }
        const QString name = QStringLiteral("random%1.nes").arg(seed);
        WriteFile(name, bytes);
        return Path(name);
    }
    // Unpacks rom into dir and packs it back onto rom; the packed file must be rom's bytes.
    void ExpectRoundTrip(const QString& rom, const QString& dir) {
        const CliResult unpacked = Run({"unpack", rom, Path(dir)});
        ASSERT_EQ(unpacked.exitCode, 0) << unpacked.err.toStdString();
        EXPECT_TRUE(QFile::exists(Path(dir + "/korvane.json")));
        EXPECT_TRUE(QFile::exists(Path(dir + "/shared.json")));
        for (int n = 0; n < kLevelCount; ++n) {
            EXPECT_TRUE(QFile::exists(
                Path(dir + QStringLiteral("/levels/level-%1.json").arg(n, 2, 10, QChar('0')))));
        }
        const CliResult packed = Run({"pack", Path(dir), rom, Path(dir + "-packed.nes")});
        ASSERT_EQ(packed.exitCode, 0) << packed.err.toStdString();
        QFile in(rom);
        ASSERT_TRUE(in.open(QIODevice::ReadOnly));
        EXPECT_TRUE(ReadFile(dir + "-packed.nes") == in.readAll());
    }
};

TEST_F(CliText, UnpackThenPackGivesTheCartridgeBackByteForByte) {
    ExpectRoundTrip(Demo(1), "demo");
    ExpectRoundTrip(RandomImage(11), "random11");
    ExpectRoundTrip(RandomImage(12, 300), "random12"); // bytes beyond the image are kept
    // The folder file names the cartridge it came from.
    const QString folder = QString::fromUtf8(ReadFile("random12/korvane.json"));
    EXPECT_TRUE(folder.contains("\"format\": \"korvane-unpacked\"")) << folder.toStdString();
    EXPECT_TRUE(folder.contains("\"size\": 393532")) << folder.toStdString();
}

TEST_F(CliText, UnpackingAgainLeavesFilesThatHoldTheirTextAlone) {
    const QString demo = Demo(1);
    ASSERT_EQ(Run({"unpack", demo, Path("u")}).exitCode, 0);
    // A file written again is a new file (written aside and renamed over the old one).
    const auto inode = [this](const QString& name) {
        struct stat info {};
        EXPECT_EQ(::stat(Path(name).toLocal8Bit().constData(), &info), 0);
        return info.st_ino;
    };
    const auto shared = inode("u/shared.json");
    const auto level3 = inode("u/levels/level-03.json");
    QByteArray changed = ReadFile("u/levels/level-03.json");
    changed.replace("\"version\": 1", "\"version\": 1 ");
    WriteFile("u/levels/level-03.json", changed);
    const CliResult again = Run({"unpack", demo, Path("u")});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_TRUE(again.out.contains("1 of 18 files written")) << again.out.toStdString();
    EXPECT_EQ(inode("u/shared.json"), shared);
    EXPECT_NE(inode("u/levels/level-03.json"), level3);
    EXPECT_FALSE(ReadFile("u/levels/level-03.json").contains("\"version\": 1 "));

    // Packed onto another cartridge, the tool says so and still writes.
    const CliResult other = Run({"pack", Path("u"), Demo(2), Path("onto2.nes")});
    EXPECT_EQ(other.exitCode, 0) << other.err.toStdString();
    EXPECT_TRUE(other.err.contains("is not the cartridge")) << other.err.toStdString();
    EXPECT_TRUE(QFile::exists(Path("onto2.nes")));
    const CliResult same = Run({"pack", Path("u"), demo, Path("onto1.nes")});
    EXPECT_TRUE(same.err.isEmpty()) << same.err.toStdString();
}

TEST_F(CliText, AnEditedLevelFilePacksAsThatEditAlone) {
    const QString demo = Demo(1);
    ASSERT_EQ(Run({"unpack", demo, Path("u")}).exitCode, 0);
    QByteArray level = ReadFile("u/levels/level-02.json");
    const auto before = DecodeBytes(ReadFile("demo1.nes"));
    const std::uint8_t was = before->levels[2].rooms[0].cells[0];
    // The first row of room 0 is the line after "rooms": [ and [.
    const qsizetype rooms = level.indexOf("\"rooms\": [\n    [\n      ");
    ASSERT_GE(rooms, 0);
    const qsizetype first =
        rooms + static_cast<qsizetype>(std::string("\"rooms\": [\n    [\n      ").size());
    const qsizetype comma = level.indexOf(',', first);
    ASSERT_EQ(level.mid(first, comma - first).toInt(), was);
    const int now = was == 7 ? 8 : 7;
    level.replace(first, comma - first, QByteArray::number(now));
    WriteFile("u/levels/level-02.json", level);
    const CliResult packed = Run({"pack", Path("u"), demo, Path("edited.nes")});
    ASSERT_EQ(packed.exitCode, 0) << packed.err.toStdString();
    const QByteArray out = ReadFile("edited.nes");
    const QByteArray in = ReadFile("demo1.nes");
    ASSERT_EQ(out.size(), in.size());
    // Level 2's bank is at 0x4010; its rooms at 0x0F00.
    const qsizetype cell = 0x4010 + 0x0F00;
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (i == cell) {
            EXPECT_EQ(static_cast<std::uint8_t>(out[i]), now);
        } else if (out[i] != in[i]) {
            ADD_FAILURE() << "byte " << i << " changed";
            break;
        }
    }
}

TEST_F(CliText, PackRefusesAMalformedFolderNamingFileLineAndFieldAndWritesNothing) {
    const QString demo = Demo(1);
    ASSERT_EQ(Run({"unpack", demo, Path("u")}).exitCode, 0);
    const QByteArray good = ReadFile("u/levels/level-05.json");
    const QList<QByteArray> lines = good.split('\n');
    int hallwayLine = 0;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].contains("\"hallways\": [")) {
            hallwayLine = i + 2; // 1-based number of hallway 0's line
            break;
        }
    }
    ASSERT_GT(hallwayLine, 0);
    QByteArray bad = good;
    const qsizetype at = bad.indexOf("\"lastRoom\": ", bad.indexOf("\"hallways\": ["));
    const qsizetype end = bad.indexOf('}', at);
    bad.replace(at, end - at, "\"lastRoom\": 16");
    WriteFile("u/levels/level-05.json", bad);
    const CliResult r = Run({"pack", Path("u"), demo, Path("out.nes")});
    EXPECT_EQ(r.exitCode, 1);
    const QString expected =
        Path("u") + QStringLiteral("/levels/level-05.json:%1: hallways[0].lastRoom: 16 is out of "
                                   "range (0 to 15); nothing was written")
                        .arg(hallwayLine);
    EXPECT_TRUE(r.err.contains(expected)) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(Path("out.nes")));

    // Cut short: refused, and an existing output is left as it was.
    WriteFile("u/levels/level-05.json", good.left(good.size() / 3));
    WriteFile("out.nes", "keep");
    const CliResult cut = Run({"pack", Path("u"), demo, Path("out.nes")});
    EXPECT_EQ(cut.exitCode, 1);
    EXPECT_TRUE(cut.err.contains("level-05.json:")) << cut.err.toStdString();
    EXPECT_TRUE(cut.err.contains("the text ends")) << cut.err.toStdString();
    EXPECT_EQ(ReadFile("out.nes"), QByteArray("keep"));

    // A folder file of another kind.
    WriteFile("u/levels/level-05.json", good);
    WriteFile("u/korvane.json",
              "{\"format\": \"something\", \"version\": 1, \"size\": 1, \"crc32\": \"0\"}");
    const CliResult folder = Run({"pack", Path("u"), demo, Path("out.nes")});
    EXPECT_EQ(folder.exitCode, 1);
    EXPECT_TRUE(
        folder.err.contains("korvane.json:1: format: \"something\" is not an unpacked cartridge"))
        << folder.err.toStdString();
    EXPECT_EQ(ReadFile("out.nes"), QByteArray("keep"));
}

TEST_F(CliText, OutputsThatAreInputsAreRefused) {
    const QString demo = Demo(1);
    ASSERT_EQ(Run({"unpack", demo, Path("u")}).exitCode, 0);
    QFile in(demo);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray bytes = in.readAll();
    const CliResult overBase = Run({"pack", Path("u"), demo, demo});
    EXPECT_EQ(overBase.exitCode, 1);
    EXPECT_TRUE(overBase.err.contains("is the same file as")) << overBase.err.toStdString();
    const CliResult overLevel = Run({"pack", Path("u"), demo, Path("u/levels/level-00.json")});
    EXPECT_EQ(overLevel.exitCode, 1);
    const CliResult exportOver = Run({"level", "export", demo, "--level", "0", "-o", demo});
    EXPECT_EQ(exportOver.exitCode, 1);
    const CliResult importOver = Run({"level", "import", demo, Path("u/levels/level-00.json"),
                                      "--level", "1", Path("u/levels/level-00.json")});
    EXPECT_EQ(importOver.exitCode, 1);
    EXPECT_EQ(ReadFile("demo1.nes"), bytes);
    EXPECT_TRUE(
        ReadFile("u/levels/level-00.json").startsWith("{\n  \"format\": \"korvane-level\""));
}

TEST_F(CliText, EveryDemoLevelImportedIntoAnotherLevelOfAnotherCartridge) {
    const QString source = Demo(1);
    const QString target = Demo(2);
    const auto from = DecodeBytes(ReadFile("demo1.nes"));
    const QByteArray targetBytes = ReadFile("demo2.nes");
    const auto to = DecodeBytes(targetBytes);
    for (int n = 0; n < kLevelCount; ++n) {
        SCOPED_TRACE(n);
        const int into = (n + 5) % kLevelCount;
        const bool withTiles = n % 2 == 1;
        const QString file = Path(QStringLiteral("level%1.kvlevel").arg(n));
        const CliResult exported =
            Run({"level", "export", source, "--level", QString::number(n), "-o", file});
        ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
        QStringList args{"level",         "import",  target,
                         Path("out.nes"), "--level", QString::number(into)};
        if (withTiles) {
            args << "--with-tiles";
        }
        args << file;
        const CliResult imported = Run(args);
        ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
        const QByteArray outBytes = ReadFile("out.nes");
        const auto out = DecodeBytes(outBytes);
        const LevelRecord& a = from->levels[static_cast<std::size_t>(n)];
        const LevelRecord& b = out->levels[static_cast<std::size_t>(into)];
        EXPECT_EQ(b.blocks, a.blocks);
        EXPECT_EQ(b.assemblies, a.assemblies);
        EXPECT_EQ(b.rooms, a.rooms);
        EXPECT_EQ(b.roomOrder, a.roomOrder);
        EXPECT_EQ(b.hallways, a.hallways);
        EXPECT_EQ(b.hallwayCount, a.hallwayCount);
        EXPECT_EQ(b.enemies, a.enemies);
        EXPECT_EQ(b.paletteSets, a.paletteSets);
        EXPECT_EQ(b.checkpointHallways, a.checkpointHallways);
        EXPECT_EQ(b.checkpointRooms, a.checkpointRooms);
        EXPECT_EQ(b.undecodedBytes, a.undecodedBytes);
        const LevelRecord& own = to->levels[static_cast<std::size_t>(into)];
        EXPECT_EQ(b.tileBanks, own.tileBanks);
        EXPECT_EQ(b.tiles, withTiles ? a.tiles : own.tiles);
        // Outside the level's bank, and its character pages when tiles were taken, nothing
        // changed.
        const std::size_t bankStart = LevelCatalogue[static_cast<std::size_t>(into)].bankOffset;
        ASSERT_EQ(outBytes.size(), targetBytes.size());
        for (std::size_t i = 0; i < static_cast<std::size_t>(outBytes.size()); ++i) {
            const bool inBank = i >= bankStart && i < bankStart + kBankSize;
            bool inPages = false;
            if (withTiles && i >= kCharacterOffset) {
                const std::size_t page = (i - kCharacterOffset) / kCharacterPageSize;
                for (const std::uint8_t half : own.tileBanks) {
                    inPages = inPages || page == half || page == half + 1u;
                }
            }
            if (!inBank && !inPages &&
                outBytes[static_cast<qsizetype>(i)] != targetBytes[static_cast<qsizetype>(i)]) {
                ADD_FAILURE() << "byte " << i << " changed";
                break;
            }
        }
    }
}

TEST_F(CliText, LevelImportRefusesABadFileAndWritesNothing) {
    const QString demo = Demo(1);
    ASSERT_EQ(Run({"level", "export", demo, "--level", "3", "-o", Path("l.kvlevel")}).exitCode, 0);
    QByteArray text = ReadFile("l.kvlevel");
    const qsizetype at = text.indexOf("\"attributes\": ");
    ASSERT_GT(at, 0);
    text.insert(at + 14, "9999"); // on block 0's line, the sixth
    WriteFile("bad.kvlevel", text);
    const CliResult r =
        Run({"level", "import", demo, Path("out.nes"), "--level", "3", Path("bad.kvlevel")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("bad.kvlevel:6: blocks[0].attributes: 9999")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(Path("out.nes")));
    ExpectUsageErrors({{"level"},
                       {"level", "export", demo},
                       {"level", "export", demo, "--level", "16", "-o", "x"},
                       {"level", "import", demo, "x", "--level", "1"},
                       {"unpack", demo},
                       {"pack", "a", "b"}});
}

QString Hex2(unsigned value) {
    return QStringLiteral("$%1").arg(value, 2, 16, QChar('0')).toUpper();
}

TEST_F(CliText, DiffListsTheEditsOfAScriptAndAPatchGivesTheSameList) {
    const QString demo = Demo(1);
    const auto before = DecodeBytes(ReadFile("demo1.nes"));
    const Hallway old = before->levels[3].hallways[0];
    ASSERT_NE(old.enemyBank, 5);
    WriteFile("script.txt", "level 3\nset-hallway 0 5 1 2\nadd-enemy 8 8 4 0x2F\n");
    const CliResult edited = Run({"edit", demo, Path("edited.nes"), Path("script.txt")});
    ASSERT_EQ(edited.exitCode, 0) << edited.err.toStdString();
    QStringList expected;
    expected << "level 3 hallway 0: enemy bank " + Hex2(old.enemyBank) + " -> $05";
    if (old.paletteSet != 1) {
        expected << QStringLiteral("level 3 hallway 0: palette set %1 -> 1").arg(old.paletteSet);
    }
    if (old.transition != 2) {
        expected << QStringLiteral("level 3 hallway 0: transition %1 -> 2").arg(old.transition);
    }
    expected << "level 3 enemy placement added at room position 4 (x 8, y 8, id $2F)";
    const CliResult diff = Run({"diff", demo, Path("edited.nes")});
    EXPECT_EQ(diff.exitCode, 1) << diff.err.toStdString();
    EXPECT_EQ(diff.out, expected.join('\n') + "\n");

    // The patch of the same edits, compared before it is applied.
    ASSERT_EQ(Run({"patch", demo, Path("edited.nes"), Path("edits.bps")}).exitCode, 0);
    const CliResult patched = Run({"diff", demo, "--patch", Path("edits.bps")});
    EXPECT_EQ(patched.exitCode, 1);
    EXPECT_EQ(patched.out, diff.out);

    const CliResult json = Run({"diff", demo, Path("edited.nes"), "--json"});
    EXPECT_EQ(json.exitCode, 1);
    const QJsonArray changes = QJsonDocument::fromJson(json.out.toUtf8()).array();
    ASSERT_EQ(changes.size(), expected.size());
    const QJsonObject bank = changes[0].toObject();
    EXPECT_EQ(bank["level"].toInt(), 3);
    EXPECT_EQ(bank["table"].toString(), "hallways");
    EXPECT_EQ(bank["index"].toInt(), 0);
    EXPECT_EQ(bank["field"].toString(), "enemyBank");
    EXPECT_EQ(bank["from"].toInt(), old.enemyBank);
    EXPECT_EQ(bank["to"].toInt(), 5);
    const QJsonObject added = changes.last().toObject();
    EXPECT_EQ(added["table"].toString(), "enemies");
    EXPECT_TRUE(added["from"].isNull());
    EXPECT_EQ(added["to"].toObject()["enemyId"].toInt(), 0x2F);
}

TEST_F(CliText, DiffExitsZeroWhenEqualAndTwoOnTrouble) {
    const QString demo = Demo(1);
    const CliResult same = Run({"diff", demo, demo});
    EXPECT_EQ(same.exitCode, 0);
    EXPECT_TRUE(same.out.isEmpty());
    EXPECT_EQ(Run({"diff", demo, "--json", demo}).out, "[]\n");
    EXPECT_EQ(Run({"diff", demo, Path("missing.nes")}).exitCode, 2);
    WriteFile("bad.ips", "not a patch");
    EXPECT_EQ(Run({"diff", demo, "--patch", Path("bad.ips")}).exitCode, 2);
    EXPECT_EQ(Run({"diff", demo}).exitCode, 2);
    EXPECT_EQ(Run({"diff", demo, demo, "--bogus"}).exitCode, 2);
}

} // namespace
} // namespace korvane
