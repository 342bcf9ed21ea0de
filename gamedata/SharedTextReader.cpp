#include "SharedTextReader.h"

#include "JsonReader.h"
#include "ModelTextWriter.h"
#include "TextFields.h"

#include <memory>

namespace korvane {

namespace tf = textfields;

namespace {

constexpr std::size_t kLargestRecordItems = 256;

std::vector<BankRecord> ReadRecords(const JsonValue& value, const std::string& path) {
    const auto& items = tf::ItemsUpTo(value, path, kBankSize);
    std::vector<BankRecord> records(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string at = tf::Join(path, i);
        tf::RequireObject(items[i], at, {"address", "header", "items"});
        records[i].address = static_cast<std::uint16_t>(
            tf::Whole(tf::Member(items[i], at, "address"), tf::Join(at, "address"), 0xFFFF));
        tf::Bytes(tf::Member(items[i], at, "header"), tf::Join(at, "header"), records[i].header);
        records[i].items = tf::HexBytesUpTo(tf::Member(items[i], at, "items"),
                                            tf::Join(at, "items"), kLargestRecordItems);
    }
    return records;
}

bool SameRecord(const BankRecord& a, const BankRecord& b) {
    return a.address == b.address && a.header == b.header && a.items == b.items;
}

// The first record of wanted that reading back gave differently, as a refusal.
void CheckReadBack(const std::vector<BankRecord>& wanted, const std::vector<BankRecord>& got,
                   const JsonValue& value, const std::string& path) {
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        if (i >= got.size() || !SameRecord(wanted[i], got[i])) {
            throw TextFieldError(value.items[i].line, tf::Join(path, i),
                                 "this record would not read back from the cartridge as written "
                                 "(records lie back to back from address 33536, and a header's "
                                 "first byte gives its count of items)");
        }
    }
    if (got.size() != wanted.size()) {
        throw TextFieldError(value.line, path,
                             "the cartridge would read " + std::to_string(got.size()) +
                                 " records here, not " + std::to_string(wanted.size()));
    }
}

RecordBank ReadBank(const JsonValue& value, const std::string& path, std::uint32_t offset,
                    const RomImage& base) {
    tf::RequireObject(value, path, {"offset", "pointersA", "recordsA", "pointersB", "recordsB"});
    const JsonValue& offsetValue = tf::Member(value, path, "offset");
    if (tf::Whole(offsetValue, tf::Join(path, "offset"), 0xFFFFFFFF) != offset) {
        throw TextFieldError(offsetValue.line, tf::Join(path, "offset"),
                             "this record bank lies at " + std::to_string(offset));
    }
    RecordBank bank;
    bank.fileOffset = offset;
    const auto& pointersA = tf::Items(tf::Member(value, path, "pointersA"),
                                      tf::Join(path, "pointersA"), bank.pointersA.size());
    for (std::size_t i = 0; i < pointersA.size(); ++i) {
        bank.pointersA[i] = static_cast<std::uint16_t>(
            tf::Whole(pointersA[i], tf::Join(tf::Join(path, "pointersA"), i), 0xFFFF));
    }
    const auto& pointersB = tf::Items(tf::Member(value, path, "pointersB"),
                                      tf::Join(path, "pointersB"), bank.pointersB.size());
    for (std::size_t i = 0; i < pointersB.size(); ++i) {
        bank.pointersB[i] = static_cast<std::uint16_t>(
            tf::Whole(pointersB[i], tf::Join(tf::Join(path, "pointersB"), i), 0xFFFF));
    }
    const JsonValue& recordsA = tf::Member(value, path, "recordsA");
    const JsonValue& recordsB = tf::Member(value, path, "recordsB");
    bank.recordsA = ReadRecords(recordsA, tf::Join(path, "recordsA"));
    bank.recordsB = ReadRecords(recordsB, tf::Join(path, "recordsB"));

    // Written into the cartridge and read again, the bank gives its own counts.
    auto scratch = std::make_unique<RomImage>(base);
    bank.Encode(*scratch);
    RecordBank readBack;
    readBack.Decode(*scratch, offset);
    CheckReadBack(bank.recordsA, readBack.recordsA, recordsA, tf::Join(path, "recordsA"));
    CheckReadBack(bank.recordsB, readBack.recordsB, recordsB, tf::Join(path, "recordsB"));
    return readBack;
}

template <std::size_t N>
void ReadTiles(const JsonValue& value, const std::string& path, std::array<std::uint8_t, N>& out) {
    const auto& tiles = tf::Items(value, path, N / 16);
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        const std::vector<std::uint8_t> bytes = tf::HexBytes(tiles[i], tf::Join(path, i), 16);
        std::copy(bytes.begin(), bytes.end(), out.begin() + static_cast<std::ptrdiff_t>(16 * i));
    }
}

void ReadShared(const JsonValue& root, const RomImage& base, GameData& data) {
    tf::RequireObject(
        root, "",
        {"format", "version", "recordBanks", "enemyGraphics", "aboutTiles", "aboutTilesLarge"});
    tf::RequireHeader(root, kSharedFileFormat, "a shared tables file", kTextFormatVersion);
    std::array<RecordBank, 3> banks;
    const auto& bankValues =
        tf::Items(tf::Member(root, "", "recordBanks"), "recordBanks", banks.size());
    for (std::size_t k = 0; k < banks.size(); ++k) {
        banks[k] = ReadBank(bankValues[k], tf::Join("recordBanks", k), kRecordBankOffsets[k], base);
    }

    auto graphics = std::make_unique<EnemyGraphics>();
    const JsonValue& graphicsValue = tf::Member(root, "", "enemyGraphics");
    tf::RequireObject(graphicsValue, "enemyGraphics",
                      {"enemyIdTable", "enemyBanks", "spriteTiles"});
    tf::Bytes(tf::Member(graphicsValue, "enemyGraphics", "enemyIdTable"),
              "enemyGraphics.enemyIdTable", graphics->enemyIdTable);
    const auto& enemyBanks = tf::Items(tf::Member(graphicsValue, "enemyGraphics", "enemyBanks"),
                                       "enemyGraphics.enemyBanks", kEnemyBankCount);
    for (std::size_t n = 0; n < enemyBanks.size(); ++n) {
        const std::string path = tf::Join("enemyGraphics.enemyBanks", n);
        const JsonValue& value = enemyBanks[n];
        tf::RequireObject(value, path, {"paletteA", "paletteB", "pageA", "pageB"});
        EnemyBank& bank = graphics->enemyBanks[n];
        tf::Bytes(tf::Member(value, path, "paletteA"), tf::Join(path, "paletteA"), bank.paletteA);
        tf::Bytes(tf::Member(value, path, "paletteB"), tf::Join(path, "paletteB"), bank.paletteB);
        bank.pageA = tf::Byte(tf::Member(value, path, "pageA"), tf::Join(path, "pageA"));
        bank.pageB = tf::Byte(tf::Member(value, path, "pageB"), tf::Join(path, "pageB"));
    }
    ReadTiles(tf::Member(graphicsValue, "enemyGraphics", "spriteTiles"),
              "enemyGraphics.spriteTiles", graphics->spriteTiles);
    std::array<std::uint8_t, kAboutTileBytes> about{};
    std::array<std::uint8_t, kAboutTileLargeBytes> aboutLarge{};
    ReadTiles(tf::Member(root, "", "aboutTiles"), "aboutTiles", about);
    ReadTiles(tf::Member(root, "", "aboutTilesLarge"), "aboutTilesLarge", aboutLarge);

    data.recordBanks = std::move(banks);
    data.enemyGraphics = *graphics;
    data.aboutTiles = about;
    data.aboutTilesLarge = aboutLarge;
}

} // namespace

std::optional<TextRefusal> SharedTextReader::Read(std::string_view text, const RomImage& base,
                                                  GameData& data) {
    JsonReader::Result json = JsonReader::Read(text);
    if (!json.value) {
        return TextRefusal{json.errorLine, "", json.message};
    }
    try {
        ReadShared(*json.value, base, data);
    } catch (const TextFieldError& error) {
        return TextRefusal{error.line(), error.field(), error.what()};
    }
    return std::nullopt;
}

} // namespace korvane
