// `korvane-cli edit IN OUT SCRIPT|-`: applies a script of level operations.
#include "CliCommands.h"
#include "CliCommon.h"
#include "EditScript.h"

#include "gamedata/FileDescriptor.h"
#include "gamedata/FileMessages.h"

#include <cerrno>
#include <iostream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvane::cli {

namespace {

// The largest script that is read, as for the pictures: a script never comes near it, and a
// source that does not end (/dev/zero, a pipe that keeps writing) is stopped there.
constexpr std::size_t kLargestScript = 16U << 20;

// Reads the whole script into text; on failure gives the reason (a missing file, a folder, a
// read error, more than kLargestScript bytes). A named pipe is read like standard input
// (`<(...)` in a shell gives one).
bool ReadScript(const std::string& name, std::string& text, std::string& problem) {
    FileDescriptor file(name == "-" ? -1 : ::open(name.c_str(), O_RDONLY | O_CLOEXEC));
    const int fd = name == "-" ? STDIN_FILENO : file.get();
    struct stat info {};
    std::vector<std::uint8_t> bytes;
    if (fd < 0 || ::fstat(fd, &info) != 0) {
        problem = SystemReason(errno);
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        problem = "it is a folder";
        return false;
    }
    if (!ReadToEnd(fd, bytes, kLargestScript)) {
        problem = SystemReason(errno);
        return false;
    }
    if (bytes.size() > kLargestScript) {
        problem = "it is larger than 16 MB (" + std::to_string(kLargestScript) +
                  " bytes), the most a script may have";
        return false;
    }
    text.assign(bytes.begin(), bytes.end());
    return true;
}

} // namespace

int RunEditCommand(const std::vector<std::string>& args) {
    if (args.size() != 3) {
        return UsageError("edit takes an input file, an output file and a script (or -)");
    }
    const std::string source = args[2] == "-" ? "standard input" : args[2];
    if (OutputIsAnInput(args[1], {args[0], args[2] == "-" ? kStandardInputPath : args[2]})) {
        return kExitUsage;
    }
    std::string text;
    std::string problem;
    if (!ReadScript(args[2], text, problem)) {
        PrintError("cannot read the script " + source + ": " + problem + "; nothing was written");
        return kExitFailure;
    }
    const EditScript script = ParseEditScript(text);
    if (script.error) {
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
