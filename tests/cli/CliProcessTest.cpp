// korvane-cli run as a process, the way users and scripts run it.
#include "CliProcessFixture.h"
#include "DemoCartridge.h"
#include "gamedata/GameData.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "tests/support/IsolatedUserFolders.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

#include <sys/stat.h>
#include <unistd.h>

namespace korvane {
namespace {

std::string Hex(std::span<const std::uint8_t> bytes) {
    std::string text;
    char pair[3];
    for (const std::uint8_t b : bytes) {
        std::snprintf(pair, sizeof pair, "%02x", b);
        text += pair;
    }
    return text;
}

TEST_F(CliProcess, BadUsageExitsTwoWithAUsageLine) {
    const std::vector<QStringList> cases{{},
                                         {"frobnicate"},
                                         {"info"},
                                         {"info", "a.nes", "b.nes"},
                                         {"dump"},
                                         {"demo"},
                                         {"demo", "x.nes", "--seed"},
                                         {"demo", "x.nes", "--seed", "ten"},
                                         {"demo", "x.nes", "--colour"},
                                         {"roundtrip", "a.nes"},
                                         {"edit", "a.nes", "b.nes"}};
    ExpectUsageErrors(cases);
    EXPECT_FALSE(QFile::exists("x.nes"));
}

TEST_F(CliProcess, FilesThatCannotBeOpenedExitOneWithTheReason) {
    const QString missing = Path("missing.nes");
    for (const QString command : {"info", "dump"}) {
        const CliResult r = Run({command, missing});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains(missing)) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    WriteFile("short.nes", QByteArray(1000, '\x11'));
    const CliResult r = Run({"roundtrip", Path("short.nes"), Path("out.nes")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("short.nes") && r.err.contains("1000") && r.err.contains("393232"))
        << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(Path("out.nes")));
    const CliResult folder = Run({"info", dir_.path()});
    EXPECT_EQ(folder.exitCode, 1);
    EXPECT_FALSE(folder.err.isEmpty());
    const CliResult unwritable = Run({"demo", Path("no-such-folder/demo.nes")});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_TRUE(unwritable.err.contains("no-such-folder"));
}

TEST_F(CliProcess, DemoIsTheLibrarysImageForTheSeed) {
    const CliResult r = Run({"demo", Path("default.nes")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(ReadFile("default.nes"), ImageBytes(*MakeDemoCartridge(1)));
    const CliResult hex = Run({"demo", "--seed", "0x2A", Path("hex.nes")});
    EXPECT_EQ(hex.exitCode, 0);
    EXPECT_EQ(ReadFile("hex.nes"), ImageBytes(*MakeDemoCartridge(42)));
    EXPECT_EQ(ReadFile("hex.nes").size(), 393232);
}

TEST_F(CliProcess, InfoPrintsEachLevelsFacts) {
    const CliResult r = Run({"info", Demo()});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    auto data = std::make_unique<GameData>();
    data->Decode(*MakeDemoCartridge(1));
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 17); // a heading and 16 levels
    for (int n = 0; n < kLevelCount; ++n) {
        const LevelRecord& level = data->levels[static_cast<std::size_t>(n)];
        const auto& row = LevelCatalogue[static_cast<std::size_t>(n)];
        QString rooms;
        for (int h = 0; h < level.hallwayCount; ++h) {
            rooms += (h > 0 ? "," : "") + QString::number(level.HallwayRooms(h));
        }
        const QStringList words = lines[n + 1].split(' ', Qt::SkipEmptyParts);
        const QString line = lines[n + 1];
        SCOPED_TRACE(line.toStdString());
        EXPECT_EQ(words.first(), QString::number(n));
        EXPECT_TRUE(line.contains(
            QString::fromUtf8(row.name.data(), static_cast<qsizetype>(row.name.size()))));
        EXPECT_TRUE(words.contains(QStringLiteral("0x%1")
                                       .arg(row.bankOffset, 5, 16, QChar('0'))
                                       .toUpper()
                                       .replace("0X", "0x")));
        EXPECT_TRUE(words.contains(rooms));
        EXPECT_EQ(words[words.size() - 5], QString::number(level.hallwayCount));
        EXPECT_EQ(words[words.size() - 3], QString::number(level.enemyCount));
        EXPECT_EQ(words[words.size() - 2], QString::number(level.tileBanks[0]));
        EXPECT_EQ(words[words.size() - 1], QString::number(level.tileBanks[1]));
    }
}

TEST_F(CliProcess, RoundtripSaysIdenticalAndKeepsTrailingBytes) {
    const CliResult r = Run({"roundtrip", Demo(), Path("copy.nes")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.startsWith("identical")) << r.out.toStdString();
    EXPECT_EQ(ReadFile("copy.nes"), ReadFile("demo1.nes"));

    const QByteArray longer = ReadFile("demo1.nes") + QByteArray("trailing bytes");
    WriteFile("long.nes", longer);
    const CliResult l = Run({"roundtrip", Path("long.nes"), Path("long-copy.nes")});
    EXPECT_EQ(l.exitCode, 0);
    EXPECT_TRUE(l.out.startsWith("identical"));
    EXPECT_EQ(ReadFile("long-copy.nes"), longer);
}

TEST_F(CliProcess, DumpIsOneJsonObjectOfTheWholeModel) {
    const CliResult r = Run({"dump", Demo(3)});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QJsonParseError error{};
    const QJsonDocument json = QJsonDocument::fromJson(r.out.toUtf8(), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    ASSERT_TRUE(json.isObject());
    const QJsonObject root = json.object();
    auto keys = [](const QJsonObject& o) {
        const QStringList k = o.keys();
        return std::set<QString>(k.begin(), k.end());
    };
    EXPECT_EQ(keys(root), (std::set<QString>{"levels", "recordBanks", "enemyGraphics", "aboutTiles",
                                             "aboutTilesLarge", "decoded"}));
    auto data = std::make_unique<GameData>();
    data->Decode(*MakeDemoCartridge(3));
    EXPECT_EQ(root["decoded"].toInt(-1), 1);
    EXPECT_EQ(root["aboutTiles"].toString().toStdString(), Hex(data->aboutTiles));
    EXPECT_EQ(root["aboutTilesLarge"].toString().toStdString(), Hex(data->aboutTilesLarge));

    const QJsonArray levels = root["levels"].toArray();
    ASSERT_EQ(levels.size(), 16);
    const std::set<QString> levelKeys{
        "name",        "bankOffset",         "blocks",          "assemblies", "rooms",
        "enemies",     "paletteSets",        "roomOrder",       "hallways",   "hallwayCount",
        "tileBanks",   "checkpointHallways", "checkpointRooms", "enemyCount", "roomUse",
        "assemblyUse", "blockUse",           "tileUse",         "enemyUse",   "undecodedBytes",
        "tiles"};
    for (const QJsonValue level : levels) {
        EXPECT_EQ(keys(level.toObject()), levelKeys);
    }
    const int n = 14; // a level whose row is not its bank order
    const LevelRecord& want = data->levels[n];
    const QJsonObject level = levels[n].toObject();
    EXPECT_EQ(level["name"].toString(), "Keeper Showdown");
    EXPECT_EQ(level["bankOffset"].toInt(), 0x1E010);
    EXPECT_EQ(level["hallwayCount"].toInt(), want.hallwayCount);
    EXPECT_EQ(level["enemyCount"].toInt(), want.enemyCount);
    EXPECT_EQ(level["tiles"].toString().toStdString(), Hex(want.tiles));
    const QJsonArray blocks = level["blocks"].toArray();
    ASSERT_EQ(blocks.size(), 256);
    EXPECT_EQ(blocks[200].toObject()["attributes"].toInt(), want.blocks[200].attributes);
    EXPECT_EQ(blocks[200].toObject()["tiles"].toArray()[3].toInt(), want.blocks[200].tiles[3]);
    EXPECT_EQ(level["assemblies"].toArray()[77].toArray()[2].toInt(),
              want.assemblies[77].blocks[2]);
    EXPECT_EQ(level["rooms"].toArray()[31].toArray()[63].toInt(), want.rooms[31].cells[63]);
    const QJsonArray enemies = level["enemies"].toArray();
    ASSERT_EQ(enemies.size(), 256);
    const QJsonObject enemy = enemies[1].toObject();
    EXPECT_EQ(enemy["x"].toInt(), want.enemies[1].x);
    EXPECT_EQ(enemy["y"].toInt(), want.enemies[1].y);
    EXPECT_EQ(enemy["roomPosition"].toInt(), want.enemies[1].roomPosition);
    EXPECT_EQ(enemy["enemyId"].toInt(), want.enemies[1].enemyId);
    EXPECT_EQ(enemies[255].toObject()["x"].toInt(), 255);
    EXPECT_EQ(level["paletteSets"].toArray()[4].toArray()[16].toInt(),
              want.paletteSets[4].bytes[16]);
    const QJsonArray hallways = level["hallways"].toArray();
    ASSERT_EQ(hallways.size(), 16);
    EXPECT_EQ(hallways[0].toObject()["lastRoom"].toInt(), want.hallways[0].lastRoom);
    EXPECT_EQ(hallways[0].toObject()["transition"].toInt(), want.hallways[0].transition);
    EXPECT_EQ(level["roomOrder"].toArray()[1].toInt(), want.roomOrder[1]);
    EXPECT_EQ(level["checkpointRooms"].toArray()[0].toInt(), want.checkpointRooms[0]);
    EXPECT_EQ(level["tileUse"].toArray()[0].toInt(), want.tileUse[0]);
    EXPECT_EQ(level["undecodedBytes"].toArray().size(), 90);

    const QJsonArray banks = root["recordBanks"].toArray();
    ASSERT_EQ(banks.size(), 3);
    const QJsonObject bank = banks[1].toObject();
    EXPECT_EQ(keys(bank), (std::set<QString>{"offset", "pointersA", "maxA", "recordsA", "endA",
                                             "pointersB", "maxB", "recordsB"}));
    EXPECT_EQ(bank["offset"].toInt(), 0x34010);
    const RecordBank& wantBank = data->recordBanks[1];
    EXPECT_EQ(bank["pointersB"].toArray().size(), 256);
    EXPECT_EQ(bank["recordsA"].toArray().size(), static_cast<qsizetype>(wantBank.recordsA.size()));
    const QJsonObject record = bank["recordsB"].toArray()[0].toObject();
    EXPECT_EQ(keys(record), (std::set<QString>{"address", "pointerCount", "header", "items"}));
    EXPECT_EQ(record["address"].toInt(), wantBank.recordsB[0].address);
    EXPECT_EQ(record["items"].toString().toStdString(), Hex(wantBank.recordsB[0].items));

    const QJsonObject graphics = root["enemyGraphics"].toObject();
    EXPECT_EQ(keys(graphics), (std::set<QString>{"enemyIdTable", "enemyBanks", "spriteTiles"}));
    const QJsonArray enemyBanks = graphics["enemyBanks"].toArray();
    ASSERT_EQ(enemyBanks.size(), 58);
    EXPECT_EQ(enemyBanks[57].toObject()["pageB"].toInt(), data->enemyGraphics.enemyBanks[57].pageB);
    EXPECT_EQ(graphics["spriteTiles"].toString().size(), 131072);
}

TEST_F(CliProcess, EditAppliesTheScriptAndPrintsEachResult) {
    const QByteArray script = "# two levels\n"
                              "level 2\n"
                              "set-hallway 0 0x12 2 3\n"
                              "set-hallway-room 0 0 7\n"
                              "level 0x0\n"
                              "delete-enemy 0\n";
    WriteFile("script.txt", script);
    const CliResult r = Run({"edit", Demo(), Path("edited.nes"), Path("script.txt")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    // The expected file: the input with the bytes each line changes edited in place, at the
    // offsets the level banks keep them (hallway 0's enemy bank and palette set at 0x0A60, its
    // transition and last room nibbles at 0x0A40, the room order at 0x0A00, and the four
    // columns of enemy placements, room position, x, y and id, at 0x0B00 to 0x0E00).
    const QByteArray input = ReadFile("demo1.nes");
    QByteArray expected = input;
    const auto at = [](int level, std::size_t offset) {
        return static_cast<qsizetype>(LevelCatalogue[static_cast<std::size_t>(level)].bankOffset +
                                      offset);
    };
    const qsizetype pair = at(2, 0x0A60);
    const qsizetype nibbles = at(2, 0x0A40);
    ASSERT_FALSE(input[pair] == 0x12 && input[pair + 1] == 2 && input[at(2, 0x0A00)] == 7);
    expected[pair] = 0x12;
    expected[pair + 1] = 2;
    expected[nibbles] = static_cast<char>(0x30 | (input[nibbles] & 0x0F));
    expected[at(2, 0x0A00)] = 7;
    // Level 0's placements up to the first of four 0xFF bytes, each column moved up by one.
    const std::size_t columns[] = {0x0B00, 0x0C00, 0x0D00, 0x0E00};
    const auto isEnd = [&](qsizetype i) {
        for (const std::size_t column : columns) {
            if (static_cast<std::uint8_t>(input[at(0, column) + i]) != 0xFF) {
                return false;
            }
        }
        return true;
    };
    qsizetype count = 0;
    while (count < 256 && !isEnd(count)) {
        ++count;
    }
    ASSERT_GE(count, 2);
    ASSERT_LT(count, 256);
    for (const std::size_t column : columns) {
        for (qsizetype i = 0; i + 1 < count; ++i) {
            expected[at(0, column) + i] = input[at(0, column) + i + 1];
        }
        expected[at(0, column) + count - 1] = static_cast<char>(0xFF);
    }
    const QString output = QStringLiteral("level -\nset-hallway 0\nset-hallway-room 0\nlevel -\n"
                                          "delete-enemy %1\n")
                               .arg(count - 1);
    EXPECT_EQ(r.out, output);
    EXPECT_EQ(ReadFile("edited.nes"), expected);
    EXPECT_NE(expected, input);

    // The same script from standard input.
    const CliResult piped = Run({"edit", Demo(), Path("piped.nes"), "-"}, script);
    EXPECT_EQ(piped.exitCode, 0);
    EXPECT_EQ(piped.out, output);
    EXPECT_EQ(ReadFile("piped.nes"), expected);
}

TEST_F(CliProcess, AMalformedScriptStopsWithExitTwoAndWritesNothing) {
    const QByteArray script = "level 1\nremove-hallway 0\nadd-enemy 1 2\nlevel 3\n";
    WriteFile("old.nes", "keep me");
    const CliResult r = Run({"edit", Demo(), Path("old.nes"), "-"}, script);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("line 3")) << r.err.toStdString();
    EXPECT_EQ(ReadFile("old.nes"), QByteArray("keep me"));
    const CliResult fresh = Run({"edit", Demo(), Path("new.nes"), "-"}, "level 99\n");
    EXPECT_EQ(fresh.exitCode, 2);
    EXPECT_TRUE(fresh.err.contains("line 1"));
    EXPECT_FALSE(QFile::exists(Path("new.nes")));
}

TEST_F(CliProcess, OutputReplacesOnlyRegularFilesTheOwnerMayWrite) {
    const QString demo = Demo();
    const QByteArray image = ReadFile("demo1.nes");
    const QByteArray png = QByteArray("not a picture");
    const QString readOnlyMessage =
        QStringLiteral("The file has the read-only attribute, Korvane can't work with it");

    // Every command that writes a file refuses a read-only one and leaves it as it was.
    WriteFile("ro.nes", "keep me");
    WriteFile("ro.png", png);
    ASSERT_TRUE(QFile::setPermissions(Path("ro.nes"), ReadOnlyForAll()));
    ASSERT_TRUE(QFile::setPermissions(Path("ro.png"), ReadOnlyForAll()));
    for (const QStringList& args :
         {QStringList{"roundtrip", demo, Path("ro.nes")},
          QStringList{"edit", demo, Path("ro.nes"), "-"}, QStringList{"demo", Path("ro.nes")},
          QStringList{"render", demo, "--level", "0", "-o", Path("ro.png")}}) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const CliResult r = Run(args, "level 1\n");
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains(readOnlyMessage)) << r.err.toStdString();
    }
    EXPECT_EQ(ReadFile("ro.nes"), QByteArray("keep me"));
    EXPECT_EQ(ReadFile("ro.png"), png);
    struct stat info {};
    ASSERT_EQ(::stat(Path("ro.nes").toLocal8Bit().constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0444u);

    // A link is followed and stays a link.
    ASSERT_TRUE(QDir(dir_.path()).mkdir("roms"));
    WriteFile("roms/target.nes", "old");
    ASSERT_TRUE(QFile::link("roms/target.nes", Path("link.nes")));
    EXPECT_EQ(Run({"roundtrip", demo, Path("link.nes")}).exitCode, 0);
    EXPECT_TRUE(QFileInfo(Path("link.nes")).isSymLink());
    EXPECT_EQ(ReadFile("roms/target.nes"), image);

    // A device (through a link) and a named pipe are refused and stay what they are.
    ASSERT_TRUE(QFile::link("/dev/null", Path("device.nes")));
    ASSERT_EQ(::mkfifo(Path("pipe.nes").toLocal8Bit().constData(), 0644), 0);
    for (const QString name : {"device.nes", "pipe.nes"}) {
        const CliResult r = Run({"roundtrip", demo, Path(name)});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains("Korvane can't save to \"" + Path(name) +
                                   "\": it is not a regular file."))
            << r.err.toStdString();
    }
    EXPECT_TRUE(QFileInfo(Path("device.nes")).isSymLink());
    ASSERT_EQ(::stat(Path("pipe.nes").toLocal8Bit().constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    ASSERT_EQ(::stat("/dev/null", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));

    // A link where a fixed temporary name would be is never followed.
    WriteFile("victim.txt", "victim");
    ASSERT_TRUE(QFile::link("victim.txt", Path("out.nes.korvane-new")));
    EXPECT_EQ(Run({"roundtrip", demo, Path("out.nes")}).exitCode, 0);
    EXPECT_EQ(ReadFile("victim.txt"), QByteArray("victim"));
    EXPECT_EQ(ReadFile("out.nes"), image);
    EXPECT_EQ(Entries(),
              (QStringList{"demo1.nes", "device.nes", "link.nes", "out.nes", "out.nes.korvane-new",
                           "pipe.nes", "ro.nes", "ro.png", "roms", "victim.txt"}));
}

TEST_F(CliProcess, TwoWritersOfOneOutputEachLeaveAWholeFile) {
    const QString first = Demo(1);
    const QString second = Demo(2);
    for (int round = 0; round < 3; ++round) {
        QProcess a;
        QProcess b;
        a.start(QStringLiteral(KORVANE_CLI_PATH), {"roundtrip", first, Path("shared.nes")});
        b.start(QStringLiteral(KORVANE_CLI_PATH), {"roundtrip", second, Path("shared.nes")});
        ASSERT_TRUE(a.waitForFinished(60000));
        ASSERT_TRUE(b.waitForFinished(60000));
        EXPECT_EQ(a.exitCode(), 0) << a.readAllStandardError().toStdString();
        EXPECT_EQ(b.exitCode(), 0) << b.readAllStandardError().toStdString();
        const QByteArray shared = ReadFile("shared.nes");
        EXPECT_TRUE(shared == ReadFile("demo1.nes") || shared == ReadFile("demo2.nes"));
        EXPECT_EQ(Entries(), (QStringList{"demo1.nes", "demo2.nes", "shared.nes"}));
    }
}

TEST_F(CliProcess, RenderReadsThroughTheDocumentAndNeverBlocks) {
    ASSERT_EQ(::mkfifo(Path("pipe.nes").toLocal8Bit().constData(), 0644), 0);
    struct Case {
        QString rom;
        QString why;
    };
    for (const Case& c : {Case{Path("pipe.nes"), "it is not a regular file"},
                          Case{"/dev/zero", "it is not a regular file"},
                          Case{"/dev/null", "it is not a regular file"},
                          Case{dir_.path(), "it is a folder, not a file"}}) {
        SCOPED_TRACE(c.rom.toStdString());
        QProcess process;
        process.start(QStringLiteral(KORVANE_CLI_PATH),
                      {"render", c.rom, "--level", "1", "-o", Path("r.png")});
        // A read of the pipe would wait for a writer forever.
        const bool finished = process.waitForFinished(20000);
        if (!finished) {
            process.kill();
            process.waitForFinished();
        }
        ASSERT_TRUE(finished);
        EXPECT_EQ(process.exitCode(), 1);
        EXPECT_TRUE(QString::fromUtf8(process.readAllStandardError())
                        .contains("Korvane can't open \"" + c.rom + "\": " + c.why + "."));
        EXPECT_FALSE(QFile::exists(Path("r.png")));
    }
}

TEST_F(CliProcess, ReadingCommandsTakeACartridgeTheyMayNotWrite) {
    const QString demo = Demo();
    WriteFile("clean.nes", ReadFile("demo1.nes"));
    ASSERT_TRUE(QFile::setPermissions(Path("clean.nes"), ReadOnlyForAll()));
    const CliResult expectedInfo = Run({"info", demo});
    const CliResult expectedDump = Run({"dump", demo});
    ASSERT_EQ(expectedInfo.exitCode, 0);
    ASSERT_EQ(Run({"render", demo, "--level", "2", "-o", Path("expected.png")}).exitCode, 0);

    const CliResult info = Run({"info", Path("clean.nes")});
    EXPECT_EQ(info.exitCode, 0) << info.err.toStdString();
    EXPECT_EQ(info.out, expectedInfo.out);
    const CliResult dump = Run({"dump", Path("clean.nes")});
    EXPECT_EQ(dump.exitCode, 0);
    EXPECT_EQ(dump.out, expectedDump.out);
    EXPECT_EQ(Run({"render", Path("clean.nes"), "--level", "2", "-o", Path("clean.png")}).exitCode,
              0);
    EXPECT_EQ(ReadFile("clean.png"), ReadFile("expected.png"));
    EXPECT_EQ(Run({"roundtrip", Path("clean.nes"), Path("copy.nes")}).exitCode, 0);
    EXPECT_EQ(ReadFile("copy.nes"), ReadFile("demo1.nes"));
    const CliResult edited = Run({"edit", Path("clean.nes"), Path("edited.nes"), "-"}, "level 1\n");
    EXPECT_EQ(edited.exitCode, 0) << edited.err.toStdString();

    // A file of another user that this user may read but not write: reading works, and
    // writing is refused with the system's reason, not with the read-only message.
    ASSERT_TRUE(QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                       QFile::ExeOwner | QFile::ReadOther |
                                                       QFile::ExeOther));
    ASSERT_TRUE(QDir(dir_.path()).mkdir("nobody"));
    ASSERT_TRUE(QFile::setPermissions(Path("nobody"), QFile::ReadOther | QFile::WriteOther |
                                                          QFile::ExeOther | QFile::ReadOwner |
                                                          QFile::WriteOwner | QFile::ExeOwner));
    WriteFile("nobody/theirs.nes", ReadFile("demo1.nes"));
    CliResult asNobody;
    if (!RunAsNobody({"info", Path("nobody/theirs.nes")}, asNobody)) {
        GTEST_SKIP() << "running as another user needs root and setpriv";
    }
    EXPECT_EQ(asNobody.exitCode, 0) << asNobody.err.toStdString();
    EXPECT_EQ(asNobody.out, expectedInfo.out);
    ASSERT_TRUE(RunAsNobody({"dump", Path("nobody/theirs.nes")}, asNobody));
    EXPECT_EQ(asNobody.exitCode, 0);
    EXPECT_EQ(asNobody.out, expectedDump.out);
    ASSERT_TRUE(RunAsNobody(
        {"render", Path("nobody/theirs.nes"), "--level", "2", "-o", Path("nobody/r.png")},
        asNobody));
    EXPECT_EQ(asNobody.exitCode, 0) << asNobody.err.toStdString();
    EXPECT_EQ(ReadFile("nobody/r.png"), ReadFile("expected.png"));
    ASSERT_TRUE(RunAsNobody({"roundtrip", demo, Path("nobody/theirs.nes")}, asNobody));
    EXPECT_EQ(asNobody.exitCode, 1);
    EXPECT_TRUE(asNobody.err.contains("Korvane can't save \"" + Path("nobody/theirs.nes") +
                                      "\": Permission denied. The file was left as it was."))
        << asNobody.err.toStdString();
    EXPECT_EQ(ReadFile("nobody/theirs.nes"), ReadFile("demo1.nes"));
}

TEST_F(CliProcess, HallwaysThatWouldEndTheListAreRefusedAndNothingVanishes) {
    const QString demo = Demo();
    auto data = std::make_unique<GameData>();
    data->Decode(*MakeDemoCartridge(1));
    const LevelRecord& level = data->levels[1];
    ASSERT_GE(level.hallwayCount, 2);
    ASSERT_GT(level.RemainingRooms(), 3);
    ASSERT_GT(level.hallways[0].lastRoom, 0); // transition 0 is fine for a longer hallway
    const QString last = QString::number(level.hallwayCount);
    const QByteArray script = "level 1\n"
                              "insert-hallway 0 0x50 0 1 3\n" // enemy bank above 0x3A
                              "insert-hallway 0 0x10 7 1 3\n" // palette set above 5
                              "set-hallway-room 0 0 40\n"     // first room above 31
                              "insert-hallway " +
                              last.toLatin1() +
                              " 0x10 1 0 3\n"                  // one room, transition 0
                              "replace-hallway 1 0x10 1 0 3\n" // the same by replacement
                              "set-hallway 0 0x3B 1 2\n"
                              "set-hallway-room 0 1 32\n" // not a room
                              "set-hallway 0 0x3A 5 0\n"  // the largest accepted values
                              "insert-hallway 0 0x10 1 0 4 5\n";
    const CliResult r = Run({"edit", demo, Path("edited.nes"), "-"}, script);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("level -\ninsert-hallway -5\ninsert-hallway -5\n"
                                    "set-hallway-room -5\ninsert-hallway -5\n"
                                    "replace-hallway -5\nset-hallway -5\nset-hallway-room -4\n"
                                    "set-hallway 0\ninsert-hallway 0\n"));

    // Read back: level 1 has its hallways and one more, the changed hallway as set.
    QFile file(Path("edited.nes"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    auto image = std::make_unique<RomImage>();
    ASSERT_EQ(bytes.size(), static_cast<qsizetype>(kRomSize));
    std::copy(bytes.begin(), bytes.end(), image->bytes.begin());
    auto reopened = std::make_unique<GameData>();
    reopened->Decode(*image);
    const LevelRecord& after = reopened->levels[1];
    EXPECT_EQ(after.hallwayCount, level.hallwayCount + 1);
    EXPECT_EQ(after.hallways[0], (Hallway{0x10, 1, 0, 1}));
    EXPECT_EQ(after.roomOrder[0], 4);
    EXPECT_EQ(after.roomOrder[1], 5);
    EXPECT_EQ(after.hallways[1],
              (Hallway{0x3A, 5, 0, level.hallways[0].lastRoom})); // the old hallway 0
    for (int h = 1; h < level.hallwayCount; ++h) {
        EXPECT_EQ(after.hallways[static_cast<std::size_t>(h + 1)],
                  level.hallways[static_cast<std::size_t>(h)]);
    }
}

TEST_F(CliProcess, AScriptThatCannotBeReadWritesNothing) {
    const QString demo = Demo();
    ASSERT_TRUE(QDir(dir_.path()).mkdir("scripts"));
    struct Case {
        QString script;
        QString why;
    };
    for (const Case& c : {Case{Path("scripts"), "it is a folder"},
                          Case{Path("none.txt"), "No such file or directory"}}) {
        const CliResult r = Run({"edit", demo, Path("out.nes"), c.script});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains("cannot read the script " + c.script + ": " + c.why +
                                   "; nothing was written"))
            << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_FALSE(QFile::exists(Path("out.nes")));
    }
}

TEST_F(CliProcess, GarbageAndExtremeEditsDoNotCrashIt) {
    // Arbitrary bytes decode as some cartridge; every command must cope.
    QByteArray garbage(393232, '\0');
    std::uint32_t state = 12345;
    for (char& c : garbage) {
        state = state * 1103515245u + 12345u;
        c = static_cast<char>(state >> 24);
    }
    WriteFile("garbage.nes", garbage);
    WriteFile("ones.nes", QByteArray(393232, '\xFF'));
    const QByteArray script = "remove-hallway 15\ninsert-hallway 15 255 255 15 255 255\n"
                              "set-hallway-room 15 15 255\nreplace-hallway 15 0 0 0 0\n"
                              "add-enemy 255 255 255 255\ndelete-enemy 255\nset-enemy 255 0 0 0 0\n"
                              "remove-room-position 15 15\ninsert-room-position 15 15\n";
    for (const QString name : {"garbage.nes", "ones.nes"}) {
        SCOPED_TRACE(name.toStdString());
        for (const QStringList& args :
             {QStringList{"info", Path(name)}, QStringList{"dump", Path(name)},
              QStringList{"roundtrip", Path(name), Path("rt.nes")}}) {
            const CliResult r = Run(args);
            EXPECT_FALSE(r.crashed);
            EXPECT_EQ(r.exitCode == 0 || r.exitCode == 3, true) << r.err.toStdString();
        }
        const CliResult e = Run({"edit", Path(name), Path("e.nes"), "-"}, script);
        EXPECT_FALSE(e.crashed);
        EXPECT_EQ(e.exitCode, 0) << e.err.toStdString();
        EXPECT_EQ(e.out.count('\n'), 9);
    }
}

} // namespace
} // namespace korvane

int main(int argc, char** argv) {
    const korvane::test::IsolatedUserFolders folders;
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
