#pragma once

// What the commands on the model's text form share: reading and writing text files, and the
// refusal of an output that is one of the inputs.

#include <optional>
#include <string>
#include <vector>

namespace korvane::cli {

// A text file of the model is at most this large (a level file has about 60 KB).
inline constexpr std::size_t kLargestTextFile = 16U * 1024U * 1024U;

// Reads a regular file whole; on failure prints why ("<path>: ...") and returns nothing.
std::optional<std::string> ReadTextFile(const std::string& path);
// Writes text to path whole (AtomicFileWriter); on failure prints why and returns false.
bool WriteTextFile(const std::string& path, const std::string& text);

} // namespace korvane::cli
