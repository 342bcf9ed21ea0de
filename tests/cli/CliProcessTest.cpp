// korvane-cli run as a process, the way users and scripts run it.
#include "CliProcessFixture.h"
#include "DemoCartridge.h"
#include "EditScript.h"
#include "gamedata/GameData.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <set>

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
                              "add-enemy 40 176 0 9\n"
                              "insert-hallway 0 3 1 6 5 6\n"
                              "remove-room-position 0 0\n"
                              "level 0x0\n"
                              "delete-enemy 0\n";
    WriteFile("script.txt", script);
    const CliResult r = Run({"edit", Demo(), Path("edited.nes"), Path("script.txt")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    auto data = std::make_unique<GameData>();
    auto image = MakeDemoCartridge(1);
    data->Decode(*image);
    const EditScript parsed = ParseEditScript(script.toStdString());
    QString expected;
    int level = 0;
    for (const EditOperation& op : parsed.operations) {
        expected += QString::fromStdString(std::string(OperationName(op.kind)) + " " +
                                           ApplyEditOperation(op, *data, level) + "\n");
    }
    EXPECT_EQ(r.out, expected);
    EXPECT_TRUE(r.out.startsWith("level -\nadd-enemy ")) << r.out.toStdString();
    data->Encode(*image);
    EXPECT_EQ(ReadFile("edited.nes"), ImageBytes(*image));
    EXPECT_NE(ReadFile("edited.nes"), ReadFile("demo1.nes"));

    // The same script from standard input.
    const CliResult piped = Run({"edit", Demo(), Path("piped.nes"), "-"}, script);
    EXPECT_EQ(piped.exitCode, 0);
    EXPECT_EQ(piped.out, expected);
    EXPECT_EQ(ReadFile("piped.nes"), ImageBytes(*image));
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
    const CliResult noScript = Run({"edit", Demo(), Path("new.nes"), Path("no-script.txt")});
    EXPECT_EQ(noScript.exitCode, 1);
    EXPECT_FALSE(QFile::exists(Path("new.nes")));
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
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
