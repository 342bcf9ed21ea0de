#pragma once

// Reading a patch file whole, for the window's Apply Patch and the command-line tool's
// apply-patch alike.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvane {

// A patch file larger than this is not read: no patch of a 16 MB file needs so much.
inline constexpr std::uintmax_t kLargestPatchFile = 64U * 1024U * 1024U;

// Reads the whole file at path into bytes. It must be a regular file (looked at before it is
// opened, so that a named pipe or a device never blocks the read) of at most kLargestPatchFile
// bytes. Returns why it cannot be read ("the file does not exist", "it is not a regular
// file", ...), or nothing; bytes is changed only on success.
std::optional<std::string> ReadPatchFile(const std::string& path, std::vector<std::uint8_t>& bytes);

} // namespace korvane
