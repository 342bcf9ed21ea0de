#pragma once

#include <string>
#include <vector>

namespace korvane {

// `korvane-cli render ROM ...`: args are the words after "render". Returns the exit code.
int RunRenderCommand(const std::vector<std::string>& args);

} // namespace korvane
