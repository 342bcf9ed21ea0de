#include "CliText.h"

#include "CliCommon.h"

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

} // namespace korvane::cli
