#pragma once

#include <initializer_list>
#include <optional>
#include <string>

namespace korvane {

// Whether both paths name one existing file (the same file on the same device, links
// followed): writing one of them would overwrite the other.
bool SameFile(const std::string& first, const std::string& second);

// The check every command that writes a file makes before it writes anything: whether output
// is the same file (by identity, so through symbolic and hard links too) as one of the inputs
// the writing is made from. Gives the message that refuses it, naming the first such input,
// or nothing when output is none of them. Empty input paths are skipped.
std::optional<std::string> OutputOverwritesInput(const std::string& output,
                                                 std::initializer_list<std::string> inputs);

} // namespace korvane
