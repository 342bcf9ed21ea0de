// `korvane-cli edit IN OUT SCRIPT|-`: applies a script of level operations.
#include "CliCommands.h"
#include "CliCommon.h"
#include "EditScript.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace korvane::cli {

namespace {

std::optional<std::string> ReadScript(const std::string& name) {
    std::ostringstream text;
    if (name == "-") {
        text << std::cin.rdbuf();
        return text.str();
    }
    std::ifstream in(name, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    text << in.rdbuf();
    if (in.bad()) {
        return std::nullopt;
    }
    return text.str();
}

} // namespace

int RunEditCommand(const std::vector<std::string>& args) {
    if (args.size() != 3) {
        return UsageError("edit takes an input file, an output file and a script (or -)");
    }
    const auto text = ReadScript(args[2]);
    if (!text) {
        PrintError("cannot read the script " + args[2]);
        return kExitFailure;
    }
    const EditScript script = ParseEditScript(*text);
    if (script.error) {
        const std::string source = args[2] == "-" ? "standard input" : args[2];
        PrintError(source + ", line " + std::to_string(script.error->lineNumber) + ": " +
                   script.error->message + "; nothing was written");
        return kExitUsage;
    }
    CKorvaneDoc doc;
    if (!OpenCartridge(doc, args[0])) {
        return kExitFailure;
    }
    int level = 0;
    for (const EditOperation& operation : script.operations) {
        const std::string result = ApplyEditOperation(operation, doc.gameData(), level);
        std::cout << OperationName(operation.kind) << ' ' << result << '\n';
    }
    std::cout.flush();
    if (const auto error = WriteFileReplacing(args[1], EncodedFileContent(doc))) {
        PrintError(*error);
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace korvane::cli
