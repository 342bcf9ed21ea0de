// `korvane-cli tiles export ROM --level L [--half 0|1] --palette-row R -o OUT.png` and
// `korvane-cli tiles import ROM OUT.nes --level L [--half 0|1] --palette-row R IN.png`.
#include "CliCommands.h"
#include "CliCommon.h"

#include "gamedata/GameData.h"
#include "gamedata/PaletteRow.h"
#include "graphics/TileSheet.h"

#include <cstdio>
#include <memory>
#include <optional>

namespace korvane::cli {

namespace {

constexpr std::size_t kHalfBytes = 0x800;

struct TilesOptions {
    std::vector<std::string> files; // the words that are not options, in order
    int level = -1;
    int half = -1; // -1: all 256 tiles
    int paletteRow = -1;
    std::string output; // -o
};

// Parses the words after "tiles export" or "tiles import"; on a mistake returns the reason.
std::optional<std::string> ParseTilesOptions(const std::vector<std::string>& args,
                                             TilesOptions& options) {
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& word = args[i];
        const bool hasValue = i + 1 < args.size();
        const auto number = [&](std::uint32_t highest, int& target) -> std::optional<std::string> {
            if (!hasValue) {
                return word + " needs a value";
            }
            const std::string& text = args[++i];
            const std::optional<std::uint32_t> value = ParseNumber(text);
            if (!value || *value > highest) {
                return word + " takes a number from 0 to " + std::to_string(highest) + ", not \"" +
                       text + "\"";
            }
            target = static_cast<int>(*value);
            return std::nullopt;
        };
        std::optional<std::string> error;
        if (word == "--level") {
            error = number(kLevelCount - 1, options.level);
        } else if (word == "--half") {
            error = number(1, options.half);
        } else if (word == "--palette-row") {
            error = number(kPaletteRowCount - 1, options.paletteRow);
        } else if (word == "-o" || word == "--output") {
            if (!hasValue || args[i + 1].empty()) {
                return word + " needs a file name";
            }
            options.output = args[++i];
        } else if (word.size() > 1 && word[0] == '-') {
            return "unknown option \"" + word + "\"";
        } else {
            options.files.push_back(word);
        }
        if (error) {
            return error;
        }
    }
    if (options.level < 0) {
        return "no level given (--level L)";
    }
    if (options.paletteRow < 0) {
        return "no palette row given (--palette-row R, 0 to 19)";
    }
    return std::nullopt;
}

TileSheetPart PartOf(int half) {
    return half < 0 ? TileSheetPart::AllTiles
                    : (half == 0 ? TileSheetPart::FirstHalf : TileSheetPart::SecondHalf);
}

int Export(const TilesOptions& options) {
    if (options.files.size() != 1 || options.output.empty()) {
        return UsageError("tiles export takes one cartridge and -o OUT.png");
    }
    const std::string& rom = options.files[0];
    if (OutputIsAnInput(options.output, {rom})) {
        return kExitUsage;
    }
    CKorvaneDoc doc;
    if (!OpenCartridge(doc, rom)) {
        return kExitFailure;
    }
    const LevelRecord& level = doc.level(options.level);
    const TileSheet sheet(PartOf(options.half), PaletteRowColours(level, options.paletteRow));
    const std::vector<std::uint8_t> png = sheet.ExportPng(level.tiles);
    if (png.empty()) {
        PrintError("the tile sheet cannot be encoded as PNG; nothing was written");
        return kExitFailure;
    }
    if (const auto error = WriteFileReplacing(options.output, png)) {
        PrintError(*error);
        return kExitFailure;
    }
    std::printf("wrote %s (%s of level %d, %d x %d, palette row %d)\n", options.output.c_str(),
                sheet.TileRangeText().c_str(), options.level, sheet.width(), sheet.height(),
                options.paletteRow);
    return kExitOk;
}

// Why the new tiles cannot be saved: a changed 1 KB part of them lies on a page beyond
// character memory, which the cartridge does not have. Nothing when all can be saved.
std::optional<std::string> UnsavedPage(const LevelRecord& level,
                                       const std::array<std::uint8_t, kTileBytes>& before,
                                       int levelNumber) {
    for (std::size_t half = 0; half < 2; ++half) {
        for (std::size_t part = 0; part < kHalfBytes / kCharacterPageSize; ++part) {
            const std::size_t page = std::size_t{level.tileBanks[half]} + part;
            const std::size_t offset = half * kHalfBytes + part * kCharacterPageSize;
            const auto now = level.tiles.begin() + static_cast<std::ptrdiff_t>(offset);
            const auto was = before.begin() + static_cast<std::ptrdiff_t>(offset);
            if (page >= kCharacterPages && !std::equal(now, now + kCharacterPageSize, was)) {
                const std::size_t first = offset / 16;
                return "tiles " + std::to_string(first) + "-" +
                       std::to_string(first + kCharacterPageSize / 16 - 1) + " of level " +
                       std::to_string(levelNumber) + " show character page " +
                       std::to_string(page) +
                       ", which the cartridge does not have, so they cannot be saved";
            }
        }
    }
    return std::nullopt;
}

int Import(const TilesOptions& options) {
    if (options.files.size() != 3 || !options.output.empty()) {
        return UsageError("tiles import takes a cartridge, the cartridge to write and a picture");
    }
    const std::string& rom = options.files[0];
    const std::string& out = options.files[1];
    const std::string& picture = options.files[2];
    if (OutputIsAnInput(out, {rom, picture})) {
        return kExitUsage;
    }
    CKorvaneDoc doc;
    if (!OpenCartridge(doc, rom)) {
        return kExitFailure;
    }
    LevelRecord& level = doc.level(options.level);
    const TileSheet sheet(PartOf(options.half), PaletteRowColours(level, options.paletteRow));
    const TileSheetResult result = sheet.ImportFile(picture);
    if (!result.ok()) {
        PrintError(result.message + " Nothing was written.");
        return kExitFailure;
    }
    const auto before = std::make_unique<std::array<std::uint8_t, kTileBytes>>(level.tiles);
    sheet.Place(result.tiles, level.tiles);
    if (const auto why = UnsavedPage(level, *before, options.level)) {
        PrintError(*why + ". Nothing was written.");
        return kExitFailure;
    }
    // Every copy of a changed page takes the new bytes, so that the save keeps them.
    const int pages = doc.gameData().CarryTileEdits(options.level, *before);
    if (const auto error = WriteFileReplacing(out, EncodedFileContent(doc))) {
        PrintError(*error);
        return kExitFailure;
    }
    std::printf("imported %s of level %d from %s (%d character page%s changed); wrote %s\n",
                sheet.TileRangeText().c_str(), options.level, picture.c_str(), pages,
                pages == 1 ? "" : "s", out.c_str());
    return kExitOk;
}

} // namespace

int RunTilesCommand(const std::vector<std::string>& args) {
    if (args.empty() || (args[0] != "export" && args[0] != "import")) {
        return UsageError("tiles takes export or import");
    }
    TilesOptions options;
    if (const auto error = ParseTilesOptions(args, options)) {
        return UsageError("tiles " + args[0] + ": " + *error);
    }
    return args[0] == "export" ? Export(options) : Import(options);
}

} // namespace korvane::cli
