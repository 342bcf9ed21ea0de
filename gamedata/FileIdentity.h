#pragma once

#include <string>

namespace korvane {

// Whether both paths name one existing file (the same file on the same device, links
// followed): writing one of them would overwrite the other.
bool SameFile(const std::string& first, const std::string& second);

} // namespace korvane
