// Writes the seeds that need whole cartridges into a folder, for tests/fuzz/run.sh:
//   gamedata-demoN     demo cartridge N (seeds 1 to 4), whole, as fuzz_gamedata's image
//   gamedata-script    demo cartridge 1 with operations after it: fuzz_gamedata's script branch
//   patches-cartridge  fuzz_patches mode 5: a cartridge-sized source and edits across it
// Usage: fuzz_seeds FOLDER
#include "DemoCartridge.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

bool WriteFile(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    bool written = true;
    for (std::uint32_t seed = 1; seed <= 4; ++seed) {
        const auto image = korvane::MakeDemoCartridge(seed);
        written = written && WriteFile(folder + "/gamedata-demo" + std::to_string(seed),
                                       {image->bytes.begin(), image->bytes.end()});
    }
    const auto image = korvane::MakeDemoCartridge(1);
    std::vector<unsigned char> scripted(image->bytes.begin(), image->bytes.end());
    // Four bytes an operation, the fourth choosing the level.
    for (const int byte : {0x10, 0x03, 0x20, 0x00, 0x21, 0x04, 0x11, 0x01, 0x32, 0x05, 0x00, 0x02,
                           0x05, 0x01, 0x07, 0x03}) {
        scripted.push_back(static_cast<unsigned char>(byte));
    }
    written = written && WriteFile(folder + "/gamedata-script", scripted);
    // Mode 5, split after 16 bytes of source pattern; edits with 3-byte offsets.
    std::vector<unsigned char> patches{0x05, 0x10, 0x00};
    for (int i = 0; i < 16; ++i) {
        patches.push_back(static_cast<unsigned char>(i * 17));
    }
    for (const int byte : {0x00, 0x00, 0x00, 0x04, 0x41, 0x10, 0x00, 0x04, 0x08, 0x00,
                           0x00, 0xF0, 0x05, 0x03, 0x00, 0x20, 0x00, 0x06, 0x02, 0x00}) {
        patches.push_back(static_cast<unsigned char>(byte));
    }
    written = written && WriteFile(folder + "/patches-cartridge", patches);
    if (!written) {
        std::fprintf(stderr, "fuzz_seeds: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
