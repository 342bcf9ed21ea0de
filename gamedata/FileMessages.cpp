#include "FileMessages.h"

#include <system_error>

#include <sys/stat.h>

namespace korvane {

std::string JoinText(std::initializer_list<std::string_view> pieces) {
    std::size_t length = 0;
    for (const std::string_view piece : pieces) {
        length += piece.size();
    }
    std::string text;
    text.reserve(length);
    for (const std::string_view piece : pieces) {
        text.append(piece);
    }
    return text;
}

std::string QuotedPath(std::string_view path) {
    return JoinText({"\"", path, "\""});
}

std::string SystemReason(int error) {
    return std::generic_category().message(error);
}

std::string CannotMessage(std::string_view action, std::string_view path, std::string_view why) {
    return JoinText({"Korvane can't ", action, " ", QuotedPath(path), ": ", why, "."});
}

std::optional<std::string> NotARegularFile(mode_t mode) {
    if (S_ISREG(mode)) {
        return std::nullopt;
    }
    if (S_ISDIR(mode)) {
        return "it is a folder, not a file";
    }
    return "it is not a regular file";
}

bool OwnerMayNotWrite(mode_t mode) {
    return (mode & S_IWUSR) == 0;
}

} // namespace korvane
