#include "CliText.h"

#include "CliCommon.h"

#include "gamedata/FileIdentity.h"
#include "gamedata/RegularFileReader.h"

#include <cstdint>

namespace korvane::cli {

std::optional<std::string> ReadTextFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (const auto error = ReadRegularFile(path, kLargestTextFile, bytes)) {
        PrintError(path + ": " + *error);
        return std::nullopt;
    }
    return std::string(bytes.begin(), bytes.end());
}

bool WriteTextFile(const std::string& path, const std::string& text) {
    const auto* first = reinterpret_cast<const std::uint8_t*>(text.data());
    if (const auto error = WriteFileReplacing(path, {first, text.size()})) {
        PrintError(*error);
        return false;
    }
    return true;
}

bool OutputIsAnInput(const std::string& command, const std::string& output,
                     std::initializer_list<std::string> inputs) {
    for (const std::string& input : inputs) {
        if (SameFile(output, input)) {
            PrintError(command + ": " + output + " is the same file as " + input +
                       "; nothing was written");
            return true;
        }
    }
    return false;
}

} // namespace korvane::cli
