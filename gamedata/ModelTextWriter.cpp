#include "ModelTextWriter.h"

#include "Crc32.h"

#include <span>

namespace korvane {

namespace {

class TextOut {
public:
    std::string text;

    TextOut& operator<<(std::string_view part) {
        text.append(part);
        return *this;
    }
    TextOut& operator<<(unsigned number) {
        char digits[12];
        std::size_t n = 0;
        do {
            digits[n++] = static_cast<char>('0' + number % 10);
            number /= 10;
        } while (number != 0);
        while (n > 0) {
            text.push_back(digits[--n]);
        }
        return *this;
    }

    // [a, b, c] on the current line.
    template <typename Range> void Numbers(const Range& values) {
        text.push_back('[');
        bool first = true;
        for (const auto value : values) {
            if (!first) {
                text.append(", ");
            }
            first = false;
            *this << static_cast<unsigned>(value);
        }
        text.push_back(']');
    }

    // [ then perLine numbers a line, indented by indent, then ].
    template <typename Range>
    void NumberRows(const Range& values, std::size_t perLine, std::string_view indent) {
        text.append("[\n");
        std::size_t i = 0;
        const std::size_t count = values.size();
        for (const auto value : values) {
            if (i % perLine == 0) {
                text.append(indent);
                text.append("  ");
            }
            *this << static_cast<unsigned>(value);
            ++i;
            if (i == count) {
                text.push_back('\n');
            } else if (i % perLine == 0) {
                text.append(",\n");
            } else {
                text.append(", ");
            }
        }
        text.append(indent);
        text.push_back(']');
    }

    void Hex(std::span<const std::uint8_t> bytes) {
        static constexpr char digits[] = "0123456789abcdef";
        text.push_back('"');
        for (const std::uint8_t byte : bytes) {
            text.push_back(digits[byte >> 4]);
            text.push_back(digits[byte & 0x0F]);
        }
        text.push_back('"');
    }

    // One string of 16 bytes a line for each tile.
    void TileRows(std::span<const std::uint8_t> bytes, std::string_view indent) {
        text.append("[\n");
        for (std::size_t at = 0; at < bytes.size(); at += 16) {
            text.append(indent);
            text.append("  ");
            Hex(bytes.subspan(at, 16));
            text.append(at + 16 < bytes.size() ? ",\n" : "\n");
        }
        text.append(indent);
        text.push_back(']');
    }

    void String(std::string_view value) {
        text.push_back('"');
        for (const char c : value) {
            if (c == '"' || c == '\\') {
                text.push_back('\\');
                text.push_back(c);
            } else if (static_cast<unsigned char>(c) < 0x20) {
                static constexpr char digits[] = "0123456789abcdef";
                text.append("\\u00");
                text.push_back(digits[(c >> 4) & 0x0F]);
                text.push_back(digits[c & 0x0F]);
            } else {
                text.push_back(c);
            }
        }
        text.push_back('"');
    }

    // A list of items, one a line, each written by item(value).
    template <typename Range, typename Item>
    void Lines(const Range& values, std::string_view indent, Item item) {
        if (values.empty()) {
            text.append("[]");
            return;
        }
        text.append("[\n");
        std::size_t i = 0;
        for (const auto& value : values) {
            text.append(indent);
            text.append("  ");
            item(value);
            text.append(++i < values.size() ? ",\n" : "\n");
        }
        text.append(indent);
        text.push_back(']');
    }
};

void WriteHallway(TextOut& out, const Hallway& hallway) {
    out << "{\"enemyBank\": " << hallway.enemyBank << ", \"paletteSet\": " << hallway.paletteSet
        << ", \"transition\": " << hallway.transition << ", \"lastRoom\": " << hallway.lastRoom
        << "}";
}

void WriteEnemy(TextOut& out, const EnemyPlacement& enemy) {
    out << "{\"x\": " << enemy.x << ", \"y\": " << enemy.y
        << ", \"roomPosition\": " << enemy.roomPosition << ", \"enemyId\": " << enemy.enemyId
        << "}";
}

void WriteRecords(TextOut& out, const std::vector<BankRecord>& records) {
    out.Lines(records, "      ", [&out](const BankRecord& record) {
        out << "{\"address\": " << record.address << ", \"header\": ";
        out.Numbers(record.header);
        out << ", \"items\": ";
        out.Hex(record.items);
        out << "}";
    });
}

} // namespace

std::string ModelTextWriter::LevelText(const LevelRecord& level, std::string_view name) {
    TextOut out;
    out.text.reserve(64 * 1024);
    out << "{\n  \"format\": ";
    out.String(kLevelFileFormat);
    out << ",\n  \"version\": " << static_cast<unsigned>(kTextFormatVersion) << ",\n  \"name\": ";
    out.String(name);
    out << ",\n  \"blocks\": ";
    out.Lines(level.blocks, "  ", [&out](const Block& block) {
        out << "{\"tiles\": ";
        out.Numbers(block.tiles);
        out << ", \"attributes\": " << block.attributes << "}";
    });
    out << ",\n  \"assemblies\": ";
    out.Lines(level.assemblies, "  ",
              [&out](const Assembly& assembly) { out.Numbers(assembly.blocks); });
    out << ",\n  \"rooms\": ";
    out.Lines(level.rooms, "  ",
              [&out](const Room& room) { out.NumberRows(room.cells, 8, "    "); });
    out << ",\n  \"roomOrder\": ";
    out.Numbers(level.roomOrder);

    // The lists as the model counts them, then the slots after them.
    LevelRecord counted = level;
    const auto hallwayCount = static_cast<std::size_t>(counted.CountHallways());
    counted.enemyCount = 0;
    const auto enemyCount = static_cast<std::size_t>(counted.CountEnemies());
    const std::span<const Hallway> hallways(level.hallways);
    const std::span<const EnemyPlacement> enemies(level.enemies);
    out << ",\n  \"hallways\": ";
    out.Lines(hallways.first(hallwayCount), "  ",
              [&out](const Hallway& hallway) { WriteHallway(out, hallway); });
    out << ",\n  \"hallwaySlotsAfterList\": ";
    out.Lines(hallways.subspan(hallwayCount), "  ",
              [&out](const Hallway& hallway) { WriteHallway(out, hallway); });
    out << ",\n  \"enemies\": ";
    out.Lines(enemies.first(enemyCount), "  ",
              [&out](const EnemyPlacement& enemy) { WriteEnemy(out, enemy); });
    out << ",\n  \"enemySlotsAfterList\": ";
    out.Lines(enemies.subspan(enemyCount), "  ",
              [&out](const EnemyPlacement& enemy) { WriteEnemy(out, enemy); });

    out << ",\n  \"paletteSets\": ";
    out.Lines(level.paletteSets, "  ", [&out](const PaletteSet& set) { out.Numbers(set.bytes); });
    out << ",\n  \"checkpointHallways\": ";
    out.Numbers(level.checkpointHallways);
    out << ",\n  \"checkpointRooms\": ";
    out.Numbers(level.checkpointRooms);
    out << ",\n  \"tileBanks\": ";
    out.Numbers(level.tileBanks);
    out << ",\n  \"undecodedBytes\": ";
    out.NumberRows(level.undecodedBytes, 16, "  ");
    out << ",\n  \"tiles\": ";
    out.TileRows(level.tiles, "  ");
    out << "\n}\n";
    return std::move(out.text);
}

std::string ModelTextWriter::SharedText(const GameData& data) {
    TextOut out;
    out.text.reserve(256 * 1024);
    out << "{\n  \"format\": ";
    out.String(kSharedFileFormat);
    out << ",\n  \"version\": " << static_cast<unsigned>(kTextFormatVersion);
    out << ",\n  \"recordBanks\": [\n";
    for (std::size_t k = 0; k < data.recordBanks.size(); ++k) {
        const RecordBank& bank = data.recordBanks[k];
        out << "    {\n      \"offset\": " << bank.fileOffset << ",\n      \"pointersA\": ";
        out.NumberRows(bank.pointersA, 16, "      ");
        out << ",\n      \"recordsA\": ";
        WriteRecords(out, bank.recordsA);
        out << ",\n      \"pointersB\": ";
        out.NumberRows(bank.pointersB, 16, "      ");
        out << ",\n      \"recordsB\": ";
        WriteRecords(out, bank.recordsB);
        out << (k + 1 < data.recordBanks.size() ? "\n    },\n" : "\n    }\n");
    }
    const EnemyGraphics& graphics = data.enemyGraphics;
    out << "  ],\n  \"enemyGraphics\": {\n    \"enemyIdTable\": ";
    out.NumberRows(graphics.enemyIdTable, 16, "    ");
    out << ",\n    \"enemyBanks\": ";
    out.Lines(graphics.enemyBanks, "    ", [&out](const EnemyBank& bank) {
        out << "{\"paletteA\": ";
        out.Numbers(bank.paletteA);
        out << ", \"paletteB\": ";
        out.Numbers(bank.paletteB);
        out << ", \"pageA\": " << bank.pageA << ", \"pageB\": " << bank.pageB << "}";
    });
    out << ",\n    \"spriteTiles\": ";
    out.TileRows(graphics.spriteTiles, "    ");
    out << "\n  },\n  \"aboutTiles\": ";
    out.TileRows(data.aboutTiles, "  ");
    out << ",\n  \"aboutTilesLarge\": ";
    out.TileRows(data.aboutTilesLarge, "  ");
    out << "\n}\n";
    return std::move(out.text);
}

std::string ModelTextWriter::FolderText(std::size_t size, std::uint32_t crc) {
    TextOut out;
    out << "{\n  \"format\": ";
    out.String(kFolderFormat);
    out << ",\n  \"version\": " << static_cast<unsigned>(kTextFormatVersion)
        << ",\n  \"size\": " << static_cast<unsigned>(size) << ",\n  \"crc32\": ";
    out.String(Crc32Text(crc));
    out << "\n}\n";
    return std::move(out.text);
}

} // namespace korvane
