// `korvane-cli level export ROM --level L -o FILE` and
// `korvane-cli level import ROM OUT --level L [--with-tiles] FILE`: one level as a level file.
#include "CliCommands.h"
#include "CliCommon.h"
#include "CliText.h"

#include "gamedata/LevelImport.h"
#include "gamedata/LevelTextReader.h"
#include "gamedata/ModelTextWriter.h"

#include <cstdio>
#include <memory>

namespace korvane::cli {

namespace {

struct LevelOptions {
    std::vector<std::string> files;
    int level = -1;
    bool withTiles = false;
    std::string output;
};

std::optional<std::string> ParseLevelOptions(const std::vector<std::string>& args,
                                             LevelOptions& options) {
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& word = args[i];
        const bool hasValue = i + 1 < args.size();
        if (word == "--level") {
            if (!hasValue) {
                return "--level needs a value";
            }
            const std::string& text = args[++i];
            const std::optional<std::uint32_t> value = ParseNumber(text);
            if (!value || *value >= kLevelCount) {
                return "--level takes a number from 0 to 15, not \"" + text + "\"";
            }
            options.level = static_cast<int>(*value);
        } else if (word == "--with-tiles") {
            options.withTiles = true;
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
    }
    if (options.level < 0) {
        return "no level given (--level L)";
    }
    return std::nullopt;
}

std::string LevelName(int n) {
    return std::string(LevelCatalogue[static_cast<std::size_t>(n)].name);
}

int Export(const LevelOptions& options) {
    if (options.files.size() != 1 || options.output.empty() || options.withTiles) {
        return UsageError("level export takes one cartridge, --level L and -o FILE");
    }
    const std::string& rom = options.files[0];
    if (OutputIsAnInput(options.output, {rom})) {
        return kExitFailure;
    }
    CKorvaneDoc doc;
    if (!OpenCartridge(doc, rom)) {
        return kExitFailure;
    }
    const std::string text =
        ModelTextWriter::LevelText(doc.level(options.level), LevelName(options.level));
    if (!WriteTextFile(options.output, text)) {
        return kExitFailure;
    }
    std::printf("wrote level %d (%s) to %s\n", options.level, LevelName(options.level).c_str(),
                options.output.c_str());
    return kExitOk;
}

int Import(const LevelOptions& options) {
    if (options.files.size() != 3 || !options.output.empty()) {
        return UsageError("level import takes a cartridge, the cartridge to write, --level L and "
                          "a level file");
    }
    const std::string& rom = options.files[0];
    const std::string& out = options.files[1];
    const std::string& file = options.files[2];
    if (OutputIsAnInput(out, {rom, file})) {
        return kExitFailure;
    }
    CKorvaneDoc doc;
    if (!OpenCartridge(doc, rom)) {
        return kExitFailure;
    }
    const std::optional<std::string> text = ReadTextFile(file);
    if (!text) {
        return kExitFailure;
    }
    const LevelTextReader::Result read = LevelTextReader::Read(*text);
    if (read.refusal) {
        PrintError(read.refusal->Describe(file) + "; nothing was written");
        return kExitFailure;
    }
    if (!LevelImport::Apply(doc.gameData(), options.level, *read.level, options.withTiles)) {
        PrintError(file +
                   ": its tiles reach past the end of character memory under the tile "
                   "banks of level " +
                   std::to_string(options.level) + "; nothing was written");
        return kExitFailure;
    }
    if (const auto error = WriteFileReplacing(out, EncodedFileContent(doc))) {
        PrintError(*error);
        return kExitFailure;
    }
    std::printf("imported %s into level %d%s; wrote %s\n", file.c_str(), options.level,
                options.withTiles ? " with its tiles" : "", out.c_str());
    return kExitOk;
}

} // namespace

int RunLevelCommand(const std::vector<std::string>& args) {
    if (args.empty() || (args[0] != "export" && args[0] != "import")) {
        return UsageError("level takes export or import");
    }
    LevelOptions options;
    if (const auto error = ParseLevelOptions(args, options)) {
        return UsageError("level " + args[0] + ": " + *error);
    }
    return args[0] == "export" ? Export(options) : Import(options);
}

} // namespace korvane::cli
