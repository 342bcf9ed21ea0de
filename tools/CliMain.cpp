// korvane-cli: the cartridge model from the command line.
#include "CliCommands.h"
#include "CliCommon.h"
#include "CliRender.h"
#include "korvane/KorvaneVersion.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace korvane::cli;
    const std::vector<std::string> words(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (words.empty()) {
        return UsageError("no command given");
    }
    const std::string& command = words[0];
    const std::vector<std::string> args(words.begin() + 1, words.end());
    try {
        if (command == "demo") {
            return RunDemoCommand(args);
        }
        if (command == "info") {
            return RunInfoCommand(args);
        }
        if (command == "dump") {
            return RunDumpCommand(args);
        }
        if (command == "roundtrip") {
            return RunRoundtripCommand(args);
        }
        if (command == "edit") {
            return RunEditCommand(args);
        }
        if (command == "patch") {
            return RunPatchCommand(args);
        }
        if (command == "apply-patch") {
            return RunApplyPatchCommand(args);
        }
        if (command == "tiles") {
            return RunTilesCommand(args);
        }
        if (command == "play") {
            return RunPlayCommand(args);
        }
        if (command == "level") {
            return RunLevelCommand(args);
        }
        if (command == "unpack") {
            return RunUnpackCommand(args);
        }
        if (command == "pack") {
            return RunPackCommand(args);
        }
        if (command == "diff") {
            return RunDiffCommand(args);
        }
        if (command == "render") {
            return korvane::RunRenderCommand(args);
        }
        if (command == "--version" || command == "-v") {
            std::cout << "korvane-cli " << korvane::kVersion << '\n';
            return kExitOk;
        }
        if (command == "help" || command == "--help" || command == "-h") {
            std::cout << UsageText();
            return kExitOk;
        }
    } catch (const std::exception& error) {
        PrintError(std::string("failed: ") + error.what());
        return kExitFailure;
    }
    return UsageError("unknown command \"" + command + "\"");
}
