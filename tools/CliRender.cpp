#include "CliRender.h"

#include <iostream>

namespace korvane {

int RunRenderCommand(const std::vector<std::string>& /*args*/) {
    std::cerr << "korvane-cli: render is not available in this build\n";
    return 1;
}

} // namespace korvane
