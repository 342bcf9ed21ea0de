#pragma once

// Reading a file that the user names as a source (another cartridge, a tile sheet): regular
// files only, read whole up to a size cap, and never blocking on what is not a file.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvane {

// Reads the regular file at path whole into out, at most limit bytes. A missing file, a folder,
// a named pipe or a device (none of them is opened for long or read), a read error, or a file
// longer than limit is refused: the reason comes back ("it is a folder, not a file", "No such
// file or directory") and out is left as it was. Nothing comes back on success.
std::optional<std::string> ReadRegularFile(const std::string& path, std::size_t limit,
                                           std::vector<std::uint8_t>& out);

} // namespace korvane
