// `korvane-cli unpack ROM DIR` and `korvane-cli pack DIR BASE OUT`: the whole model as a folder
// of text files (korvane.json, shared.json, levels/level-00.json to level-15.json) and back.
#include "CliCommands.h"
#include "CliCommon.h"
#include "CliText.h"

#include "gamedata/Crc32.h"
#include "gamedata/JsonReader.h"
#include "gamedata/LevelImport.h"
#include "gamedata/LevelTextReader.h"
#include "gamedata/ModelTextWriter.h"
#include "gamedata/RegularFileReader.h"
#include "gamedata/SharedTextReader.h"
#include "gamedata/TextFields.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

namespace korvane::cli {

namespace {

namespace fs = std::filesystem;

const char* const kFolderFile = "korvane.json";
const char* const kSharedFile = "shared.json";

std::string LevelFile(int n) {
    char name[32];
    std::snprintf(name, sizeof name, "levels/level-%02d.json", n);
    return name;
}

std::string InFolder(const std::string& dir, const std::string& name) {
    return (fs::path(dir) / name).string();
}

// korvane.json names the folder's format and version; size and crc32 describe the cartridge
// the folder came from and are only checked for their form.
struct SourceCartridge {
    std::uint32_t size = 0;
    std::string crc32;
};

std::optional<TextRefusal> ReadFolderFile(const std::string& text, SourceCartridge& source) {
    namespace tf = textfields;
    const JsonReader::Result json = JsonReader::Read(text);
    if (!json.value) {
        return TextRefusal{json.errorLine, "", json.message};
    }
    const JsonValue& root = *json.value;
    try {
        tf::RequireObject(root, "", {"format", "version", "size", "crc32"});
        tf::RequireHeader(root, kFolderFormat, "an unpacked cartridge", kTextFormatVersion);
        source.size = tf::Whole(tf::Member(root, "", "size"), "size", 0xFFFFFFFF);
        source.crc32 = tf::Text(tf::Member(root, "", "crc32"), "crc32");
    } catch (const TextFieldError& error) {
        return TextRefusal{error.line(), error.field(), error.what()};
    }
    return std::nullopt;
}

} // namespace

int RunUnpackCommand(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        return UsageError("unpack takes a cartridge and a folder");
    }
    const std::string& rom = args[0];
    const std::string& dir = args[1];
    CKorvaneDoc doc;
    if (!OpenCartridge(doc, rom)) {
        return kExitFailure;
    }
    std::error_code error;
    fs::create_directories(fs::path(dir) / "levels", error);
    if (error) {
        PrintError("cannot make the folder " + dir + "/levels: " + error.message());
        return kExitFailure;
    }
    std::vector<std::pair<std::string, std::string>> files;
    const std::vector<std::uint8_t>& clean = doc.cleanBytes();
    files.emplace_back(kFolderFile, ModelTextWriter::FolderText(clean.size(), Crc32(clean)));
    files.emplace_back(kSharedFile, ModelTextWriter::SharedText(doc.gameData()));
    for (int n = 0; n < kLevelCount; ++n) {
        files.emplace_back(LevelFile(n),
                           ModelTextWriter::LevelText(
                               doc.level(n), LevelCatalogue[static_cast<std::size_t>(n)].name));
    }
    for (const auto& [name, text] : files) {
        if (OutputIsAnInput(InFolder(dir, name), {rom})) {
            return kExitFailure;
        }
    }
    // A file that already holds its text is left alone (a folder kept in version control is
    // mostly unpacked again over itself).
    int written = 0;
    for (const auto& [name, text] : files) {
        const std::string path = InFolder(dir, name);
        std::vector<std::uint8_t> existing;
        if (!ReadRegularFile(path, text.size() + 1, existing) &&
            std::equal(existing.begin(), existing.end(), text.begin(), text.end())) {
            continue;
        }
        if (!WriteTextFile(path, text)) {
            return kExitFailure;
        }
        ++written;
    }
    std::printf("unpacked %s into %s (%d levels; %d of %zu files written, the others were "
                "the same)\n",
                rom.c_str(), dir.c_str(), kLevelCount, written, files.size());
    return kExitOk;
}

int RunPackCommand(const std::vector<std::string>& args) {
    if (args.size() != 3) {
        return UsageError("pack takes a folder, the cartridge to build on and the cartridge to "
                          "write");
    }
    const std::string& dir = args[0];
    const std::string& base = args[1];
    const std::string& out = args[2];
    std::vector<std::string> names{kFolderFile, kSharedFile};
    for (int n = 0; n < kLevelCount; ++n) {
        names.push_back(LevelFile(n));
    }
    if (OutputIsAnInput(out, {base})) {
        return kExitFailure;
    }
    for (const std::string& name : names) {
        if (OutputIsAnInput(out, {InFolder(dir, name)})) {
            return kExitFailure;
        }
    }
    CKorvaneDoc doc;
    if (!OpenCartridge(doc, base)) {
        return kExitFailure;
    }
    const auto refuse = [](const std::string& file, const TextRefusal& refusal) {
        PrintError(refusal.Describe(file) + "; nothing was written");
        return kExitFailure;
    };
    const std::optional<std::string> folderText = ReadTextFile(InFolder(dir, kFolderFile));
    if (!folderText) {
        return kExitFailure;
    }
    SourceCartridge source;
    if (const auto refusal = ReadFolderFile(*folderText, source)) {
        return refuse(InFolder(dir, kFolderFile), *refusal);
    }
    const std::vector<std::uint8_t>& baseBytes = doc.cleanBytes();
    if (source.size != baseBytes.size() || source.crc32 != Crc32Text(Crc32(baseBytes))) {
        PrintError("note: " + base + " is not the cartridge " + dir + " was unpacked from (size " +
                   std::to_string(source.size) + ", CRC-32 " + source.crc32 +
                   "); the folder's model is written onto it all the same");
    }
    auto model = std::make_unique<GameData>(doc.gameData());
    const std::optional<std::string> sharedText = ReadTextFile(InFolder(dir, kSharedFile));
    if (!sharedText) {
        return kExitFailure;
    }
    if (const auto refusal = SharedTextReader::Read(*sharedText, doc.image(), *model)) {
        return refuse(InFolder(dir, kSharedFile), *refusal);
    }
    for (int n = 0; n < kLevelCount; ++n) {
        const std::string path = InFolder(dir, LevelFile(n));
        const std::optional<std::string> text = ReadTextFile(path);
        if (!text) {
            return kExitFailure;
        }
        const LevelTextReader::Result read = LevelTextReader::Read(*text);
        if (read.refusal) {
            return refuse(path, *read.refusal);
        }
        model->levels[static_cast<std::size_t>(n)] = *read.level;
    }
    if (const auto conflict = LevelImport::ReconcileTilePages(*model, doc.image())) {
        const auto where = [&](int level) {
            return level < 0 ? InFolder(dir, kSharedFile) + " (enemyGraphics.spriteTiles)"
                             : InFolder(dir, LevelFile(level));
        };
        PrintError("character page " + std::to_string(conflict->page) + " is changed one way in " +
                   where(conflict->firstLevel) + " and another way in " +
                   where(conflict->secondLevel) + "; nothing was written");
        return kExitFailure;
    }
    doc.gameData() = *model;
    if (const auto error = WriteFileReplacing(out, EncodedFileContent(doc))) {
        PrintError(*error);
        return kExitFailure;
    }
    std::printf("packed %s onto %s; wrote %s\n", dir.c_str(), base.c_str(), out.c_str());
    return kExitOk;
}

} // namespace korvane::cli
