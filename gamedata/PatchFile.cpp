#include "PatchFile.h"

#include "FileDescriptor.h"
#include "FileMessages.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>

namespace korvane {

namespace {

std::string TooLarge(long long size) {
    return JoinText({"at ", std::to_string(size), " bytes it is too large to be a patch"});
}

} // namespace

std::optional<std::string> ReadPatchFile(const std::string& path,
                                         std::vector<std::uint8_t>& bytes) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        const int error = errno;
        return error == ENOENT ? std::string("the file does not exist") : SystemReason(error);
    }
    if (auto problem = NotARegularFile(info.st_mode)) {
        return problem;
    }
    if (static_cast<std::uintmax_t>(info.st_size) > kLargestPatchFile) {
        return TooLarge(static_cast<long long>(info.st_size));
    }
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!file.valid()) {
        return SystemReason(errno);
    }
    // The same file as looked at, not something swapped in meanwhile.
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::string("it is not a regular file");
    }
    if (static_cast<std::uintmax_t>(info.st_size) > kLargestPatchFile) {
        return TooLarge(static_cast<long long>(info.st_size));
    }
    std::vector<std::uint8_t> content;
    if (!ReadToEnd(file.get(), content)) {
        return SystemReason(errno);
    }
    bytes = std::move(content);
    return std::nullopt;
}

} // namespace korvane
