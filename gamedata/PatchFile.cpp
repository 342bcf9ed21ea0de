#include "PatchFile.h"

#include "FileMessages.h"
#include "RegularFileReader.h"

#include <cerrno>

#include <sys/stat.h>

namespace korvane {

std::optional<std::string> ReadPatchFile(const std::string& path,
                                         std::vector<std::uint8_t>& bytes) {
    // The two refusals a user meets most, in a patch's words; the reader checks the rest.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 && errno == ENOENT) {
        return std::string("the file does not exist");
    }
    if (S_ISREG(info.st_mode) && static_cast<std::uintmax_t>(info.st_size) > kLargestPatchFile) {
        return JoinText(
            {"at ", std::to_string(info.st_size), " bytes it is too large to be a patch"});
    }
    return ReadRegularFile(path, kLargestPatchFile, bytes);
}

} // namespace korvane
