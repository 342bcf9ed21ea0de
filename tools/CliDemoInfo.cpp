// `korvane-cli demo` and `korvane-cli info`.
#include "CliCommands.h"
#include "CliCommon.h"
#include "DemoCartridge.h"

#include <cstdio>
#include <string>

namespace korvane::cli {

int RunDemoCommand(const std::vector<std::string>& args) {
    std::string out;
    std::uint32_t seed = 1;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--seed") {
            if (i + 1 >= args.size()) {
                return UsageError("--seed needs a number");
            }
            const auto value = ParseNumber(args[++i]);
            if (!value) {
                return UsageError("--seed: \"" + args[i] +
                                  "\" is not a number from 0 to 4294967295");
            }
            seed = *value;
        } else if (out.empty() && !args[i].empty() && args[i][0] != '-') {
            out = args[i];
        } else {
            return UsageError("demo: unexpected argument \"" + args[i] + "\"");
        }
    }
    if (out.empty()) {
        return UsageError("demo needs the name of the file to write");
    }
    std::string error;
    if (!WriteDemoCartridge(out, seed, error)) {
        PrintError(error);
        return kExitFailure;
    }
    return kExitOk;
}

int RunInfoCommand(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        return UsageError("info takes one cartridge file");
    }
    CKorvaneDoc doc;
    if (!OpenCartridge(doc, args[0])) {
        return kExitFailure;
    }
    std::printf("%-3s %-24s %-7s %-8s %-20s %-7s %s\n", "#", "name", "bank", "hallways",
                "rooms per hallway", "enemies", "tile banks");
    for (int n = 0; n < kLevelCount; ++n) {
        LevelRecord& level = doc.level(n);
        std::string rooms;
        for (int h = 0; h < level.hallwayCount; ++h) {
            rooms += (h > 0 ? "," : "") + std::to_string(level.HallwayRooms(h));
        }
        if (rooms.empty()) {
            rooms = "-";
        }
        const auto& row = LevelCatalogue[static_cast<std::size_t>(n)];
        std::printf("%-3d %-24.*s 0x%05X %-8d %-20s %-7d %d %d\n", n,
                    static_cast<int>(row.name.size()), row.name.data(), row.bankOffset,
                    level.hallwayCount, rooms.c_str(), level.enemyCount, level.tileBanks[0],
                    level.tileBanks[1]);
    }
    return kExitOk;
}

} // namespace korvane::cli
