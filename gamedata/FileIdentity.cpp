#include "FileIdentity.h"

#include "FileMessages.h"

#include <sys/stat.h>

namespace korvane {

bool SameFile(const std::string& first, const std::string& second) {
    struct stat one {};
    struct stat other {};
    return ::stat(first.c_str(), &one) == 0 && ::stat(second.c_str(), &other) == 0 &&
           one.st_dev == other.st_dev && one.st_ino == other.st_ino;
}

std::optional<std::string> OutputOverwritesInput(const std::string& output,
                                                 std::initializer_list<std::string> inputs) {
    for (const std::string& input : inputs) {
        if (!input.empty() && SameFile(output, input)) {
            return JoinText({"Korvane can't write ", QuotedPath(output),
                             ": it is the same file as ", QuotedPath(input),
                             ", which it is made from. Nothing was written."});
        }
    }
    return std::nullopt;
}

} // namespace korvane
