// korvane-cli: the cartridge model from the command line.
#include "CliCommands.h"
#include "CliCommon.h"
#include "CliHelp.h"
#include "CliRender.h"
#include "korvane/KorvaneVersion.h"

#include <QCommandLineParser>
#include <QStringList>

#include <algorithm>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace korvane::cli;

// `korvane-cli --help`: the options and every command with what it does.
std::string OverviewText(const QCommandLineParser& parser) {
    std::string text =
        parser.helpText()
            .replace(QStringLiteral("<executable_name>"), QStringLiteral("korvane-cli"))
            .toStdString();
    text += "\nCommands (korvane-cli COMMAND --help shows one):\n";
    for (const CommandHelp& help : CommandHelps()) {
        text += "\n" + CommandHelpText(help).substr(std::string_view("usage: ").size());
    }
    return text;
}

// The words before the command: --help, --version, or a mistake; nothing when a command runs.
std::optional<int> AnswerOptions(const std::vector<std::string>& words) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "korvane-cli: the Korvane level editor's cartridge model from the command line.\n"
        "Exit status: 0 success, 1 failure, 2 bad usage (diff: 1 when the files differ;\n"
        "roundtrip: 3 when the file does not come back byte for byte)."));
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help and ends."));
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Shows the version and ends."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("The command to run (below)."),
                                 QStringLiteral("COMMAND [ARGUMENTS...]"));
    QStringList arguments{QStringLiteral("korvane-cli")};
    for (const std::string& word : words) {
        arguments.append(QString::fromStdString(word));
    }
    if (!parser.parse(arguments)) {
        return UsageError(parser.errorText().toStdString());
    }
    if (parser.isSet(help)) {
        std::cout << OverviewText(parser);
        return kExitOk;
    }
    if (parser.isSet(version)) {
        std::cout << "korvane-cli " << korvane::kVersion << '\n';
        return kExitOk;
    }
    if (words.empty()) {
        return UsageError("no command given");
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> words(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (const std::optional<int> answered = AnswerOptions(words)) {
        return *answered;
    }
    const std::string& command = words[0];
    const std::vector<std::string> args(words.begin() + 1, words.end());
    // COMMAND --help (or help COMMAND): the command's own synopsis and options.
    const CommandHelp* commandHelp = FindCommandHelp(command);
    const bool helpAsked = std::find(args.begin(), args.end(), "--help") != args.end() ||
                           std::find(args.begin(), args.end(), "-h") != args.end();
    if (commandHelp != nullptr && helpAsked) {
        std::cout << CommandHelpText(*commandHelp);
        return kExitOk;
    }
    if (command == "help") {
        if (args.empty()) {
            return AnswerOptions({"--help"}).value_or(kExitOk);
        }
        const CommandHelp* asked = FindCommandHelp(args[0]);
        if (asked == nullptr) {
            return UsageError("unknown command \"" + args[0] + "\"");
        }
        std::cout << CommandHelpText(*asked);
        return kExitOk;
    }
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
        if (command == "recover") {
            return RunRecoverCommand(args);
        }
        if (command == "render") {
            return korvane::RunRenderCommand(args);
        }
    } catch (const std::exception& error) {
        PrintError(std::string("failed: ") + error.what());
        return kExitFailure;
    }
    return UsageError("unknown command \"" + command + "\"");
}
