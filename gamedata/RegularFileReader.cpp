#include "RegularFileReader.h"

#include "FileDescriptor.h"
#include "FileMessages.h"

#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>

namespace korvane {

namespace {

std::string TooLarge(std::size_t limit) {
    return "it is larger than " + std::to_string(limit) + " bytes";
}

} // namespace

std::optional<std::string> ReadRegularFile(const std::string& path, std::size_t limit,
                                           std::vector<std::uint8_t>& out) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return SystemReason(errno);
    }
    if (auto why = NotARegularFile(info.st_mode)) {
        return why;
    }
    // Non-blocking, and checked again on the open file, in case the name was swapped for a
    // pipe in between.
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!file.valid() || ::fstat(file.get(), &info) != 0) {
        return SystemReason(errno);
    }
    if (auto why = NotARegularFile(info.st_mode)) {
        return why;
    }
    if (static_cast<unsigned long long>(info.st_size) > limit) {
        return TooLarge(limit);
    }
    std::vector<std::uint8_t> bytes;
    if (!ReadToEnd(file.get(), bytes, limit)) {
        return SystemReason(errno);
    }
    if (bytes.size() > limit) {
        return TooLarge(limit); // it grew while it was read
    }
    out = std::move(bytes);
    return std::nullopt;
}

} // namespace korvane
