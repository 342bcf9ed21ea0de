// `korvane-cli diff A B [--json]` and `korvane-cli diff A --patch P [--json]`: every difference
// between two cartridges in the model's terms. Exit status as cmp's: 0 equal, 1 different,
// 2 trouble.
#include "CliCommands.h"
#include "CliCommon.h"

#include "gamedata/ModelDiff.h"
#include "gamedata/PatchFile.h"
#include "gamedata/PatchFormat.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace korvane::cli {

namespace {

constexpr int kDiffEqual = 0;
constexpr int kDiffDifferent = 1;
constexpr int kDiffTrouble = 2;

int DiffUsage(const std::string& problem) {
    UsageError(problem);
    return kDiffTrouble;
}

} // namespace

int RunDiffCommand(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    std::string patchPath;
    bool json = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word == "--json") {
            json = true;
        } else if (word == "--patch") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                return DiffUsage("diff: --patch needs a patch file");
            }
            patchPath = args[++i];
        } else if (word.size() > 1 && word[0] == '-') {
            return DiffUsage("diff: unknown option \"" + word + "\"");
        } else {
            files.push_back(word);
        }
    }
    const std::size_t wanted = patchPath.empty() ? 2 : 1;
    if (files.size() != wanted) {
        return DiffUsage("diff takes two cartridges, or one and --patch P");
    }
    CKorvaneDoc first;
    if (!OpenCartridge(first, files[0])) {
        return kDiffTrouble;
    }
    std::vector<std::uint8_t> secondBytes;
    auto secondModel = std::make_unique<GameData>();
    if (patchPath.empty()) {
        CKorvaneDoc second;
        if (!OpenCartridge(second, files[1])) {
            return kDiffTrouble;
        }
        secondBytes = second.cleanBytes();
        *secondModel = second.gameData();
    } else {
        std::vector<std::uint8_t> patch;
        if (const auto error = ReadPatchFile(patchPath, patch)) {
            PrintError("cannot read " + patchPath + ": " + *error);
            return kDiffTrouble;
        }
        PatchResult result = ApplyPatch(first.cleanBytes(), patch);
        if (!result.ok()) {
            PrintError("cannot apply " + patchPath + ": " + result.message());
            return kDiffTrouble;
        }
        secondBytes = result.TakeBytes();
        if (secondBytes.size() < kRomSize) {
            PrintError("the patched cartridge is too short (" + std::to_string(secondBytes.size()) +
                       " bytes, not at least " + std::to_string(kRomSize) + ")");
            return kDiffTrouble;
        }
        auto image = std::make_unique<RomImage>();
        std::copy_n(secondBytes.begin(), kRomSize, image->bytes.begin());
        secondModel->Decode(*image);
    }
    const std::vector<ModelChange> changes =
        ModelDiff::Compare(first.gameData(), first.cleanBytes(), *secondModel, secondBytes);
    std::string text;
    if (json) {
        text = ModelDiff::Json(changes);
    } else {
        for (const ModelChange& change : changes) {
            text += change.line;
            text.push_back('\n');
        }
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    if (std::fflush(stdout) != 0) {
        return kDiffTrouble;
    }
    return changes.empty() ? kDiffEqual : kDiffDifferent;
}

} // namespace korvane::cli
