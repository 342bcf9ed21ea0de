// `korvane-cli dump ROM`: the whole decoded model as one JSON object.
#include "CliCommands.h"
#include "CliCommon.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace korvane::cli {

namespace {

template <typename Range> QJsonArray Numbers(const Range& values) {
    QJsonArray array;
    for (const auto value : values) {
        array.append(static_cast<qint64>(value));
    }
    return array;
}

QString Hex(std::span<const std::uint8_t> bytes) {
    return QString::fromStdString(HexString(bytes));
}

QJsonObject LevelJson(const LevelRecord& level, int row) {
    const auto& catalogue = LevelCatalogue[static_cast<std::size_t>(row)];
    QJsonObject json;
    json["name"] =
        QString::fromUtf8(catalogue.name.data(), static_cast<qsizetype>(catalogue.name.size()));
    json["bankOffset"] = static_cast<qint64>(catalogue.bankOffset);

    QJsonArray blocks;
    for (const Block& block : level.blocks) {
        blocks.append(QJsonObject{{"tiles", Numbers(block.tiles)},
                                  {"attributes", static_cast<qint64>(block.attributes)}});
    }
    json["blocks"] = blocks;
    QJsonArray assemblies;
    for (const Assembly& assembly : level.assemblies) {
        assemblies.append(Numbers(assembly.blocks));
    }
    json["assemblies"] = assemblies;
    QJsonArray rooms;
    for (const Room& room : level.rooms) {
        rooms.append(Numbers(room.cells));
    }
    json["rooms"] = rooms;
    QJsonArray enemies;
    for (const EnemyPlacement& enemy : level.enemies) {
        enemies.append(QJsonObject{{"x", static_cast<qint64>(enemy.x)},
                                   {"y", static_cast<qint64>(enemy.y)},
                                   {"roomPosition", static_cast<qint64>(enemy.roomPosition)},
                                   {"enemyId", static_cast<qint64>(enemy.enemyId)}});
    }
    json["enemies"] = enemies;
    QJsonArray paletteSets;
    for (const PaletteSet& set : level.paletteSets) {
        paletteSets.append(Numbers(set.bytes));
    }
    json["paletteSets"] = paletteSets;
    json["roomOrder"] = Numbers(level.roomOrder);
    QJsonArray hallways;
    for (const Hallway& hallway : level.hallways) {
        hallways.append(QJsonObject{{"enemyBank", static_cast<qint64>(hallway.enemyBank)},
                                    {"paletteSet", static_cast<qint64>(hallway.paletteSet)},
                                    {"transition", static_cast<qint64>(hallway.transition)},
                                    {"lastRoom", static_cast<qint64>(hallway.lastRoom)}});
    }
    json["hallways"] = hallways;
    json["hallwayCount"] = static_cast<qint64>(level.hallwayCount);
    json["tileBanks"] = Numbers(level.tileBanks);
    json["checkpointHallways"] = Numbers(level.checkpointHallways);
    json["checkpointRooms"] = Numbers(level.checkpointRooms);
    json["enemyCount"] = static_cast<qint64>(level.enemyCount);
    json["roomUse"] = Numbers(level.roomUse);
    json["assemblyUse"] = Numbers(level.assemblyUse);
    json["blockUse"] = Numbers(level.blockUse);
    json["tileUse"] = Numbers(level.tileUse);
    json["enemyUse"] = Numbers(level.enemyUse);
    json["undecodedBytes"] = Numbers(level.undecodedBytes);
    json["tiles"] = Hex(level.tiles);
    return json;
}

QJsonArray RecordsJson(const std::vector<BankRecord>& records) {
    QJsonArray array;
    for (const BankRecord& record : records) {
        array.append(QJsonObject{{"address", static_cast<qint64>(record.address)},
                                 {"pointerCount", static_cast<qint64>(record.pointerCount)},
                                 {"header", Numbers(record.header)},
                                 {"items", Hex(record.items)}});
    }
    return array;
}

QJsonObject RecordBankJson(const RecordBank& bank) {
    return QJsonObject{
        {"offset", static_cast<qint64>(bank.fileOffset)}, {"pointersA", Numbers(bank.pointersA)},
        {"maxA", static_cast<qint64>(bank.maxA)},         {"recordsA", RecordsJson(bank.recordsA)},
        {"endA", static_cast<qint64>(bank.endA)},         {"pointersB", Numbers(bank.pointersB)},
        {"maxB", static_cast<qint64>(bank.maxB)},         {"recordsB", RecordsJson(bank.recordsB)}};
}

QJsonObject EnemyGraphicsJson(const EnemyGraphics& graphics) {
    QJsonArray banks;
    for (const EnemyBank& bank : graphics.enemyBanks) {
        banks.append(QJsonObject{{"paletteA", Numbers(bank.paletteA)},
                                 {"paletteB", Numbers(bank.paletteB)},
                                 {"pageA", static_cast<qint64>(bank.pageA)},
                                 {"pageB", static_cast<qint64>(bank.pageB)}});
    }
    return QJsonObject{{"enemyIdTable", Numbers(graphics.enemyIdTable)},
                       {"enemyBanks", banks},
                       {"spriteTiles", Hex(graphics.spriteTiles)}};
}

} // namespace

int RunDumpCommand(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        return UsageError("dump takes one cartridge file");
    }
    CKorvaneDoc doc;
    if (!OpenCartridge(doc, args[0])) {
        return kExitFailure;
    }
    const GameData& data = doc.gameData();
    QJsonArray levels;
    for (int n = 0; n < kLevelCount; ++n) {
        levels.append(LevelJson(data.levels[static_cast<std::size_t>(n)], n));
    }
    QJsonArray recordBanks;
    for (const RecordBank& bank : data.recordBanks) {
        recordBanks.append(RecordBankJson(bank));
    }
    const QJsonObject root{{"levels", levels},
                           {"recordBanks", recordBanks},
                           {"enemyGraphics", EnemyGraphicsJson(data.enemyGraphics)},
                           {"aboutTiles", Hex(data.aboutTiles)},
                           {"aboutTilesLarge", Hex(data.aboutTilesLarge)},
                           {"decoded", static_cast<qint64>(data.decoded)}};
    const QByteArray text = QJsonDocument(root).toJson(QJsonDocument::Compact);
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout);
    std::fputc('\n', stdout);
    return std::fflush(stdout) == 0 ? kExitOk : kExitFailure;
}

} // namespace korvane::cli
