#include "DemoCartridge.h"

#include "DemoLevel.h"
#include "DemoRandom.h"
#include "DemoSharedTables.h"
#include "DemoTiles.h"
#include "gamedata/AtomicFileWriter.h"
#include "gamedata/LevelCatalogue.h"
#include "gamedata/RecordBank.h"

namespace korvane {

namespace {

void WriteHeader(RomImage& image) {
    // "NES", end-of-file mark, 16 program units of 16 KB, 16 character units of 8 KB,
    // mapper 4 with horizontal mirroring.
    constexpr std::array<std::uint8_t, kHeaderSize> header{'N', 'E', 'S', 0x1A, 16, 16, 0x40, 0x00,
                                                           0,   0,   0,   0,    0,  0,  0,    0};
    std::copy(header.begin(), header.end(), image.bytes.begin());
}

void WriteTileArea(RomImage& image, int page, std::uint32_t seed) {
    demo::DemoRandom rng = demo::StreamFor(seed, 0x200u + static_cast<std::uint32_t>(page));
    const int style = (page / 4) % demo::kBrickStyles;
    demo::DrawLevelTiles(
        std::span<std::uint8_t, 4096>(image.bytes.data() + kCharacterOffset +
                                          static_cast<std::size_t>(page) * kCharacterPageSize,
                                      4096),
        style, rng);
}

} // namespace

void BuildDemoCartridge(RomImage& image, std::uint32_t seed) {
    // Whatever no table describes: deterministic noise, as code and data would look.
    demo::DemoRandom filler = demo::StreamFor(seed, 0u);
    for (std::uint8_t& byte : image.bytes) {
        byte = filler.Byte();
    }
    WriteHeader(image);

    // Level tiles live in the upper character pages: four pages per tile area, pages 64 and up.
    // Levels that share a catalogue character area share their tiles.
    constexpr int kFirstLevelPage = 64;
    for (int page = kFirstLevelPage; page < static_cast<int>(kCharacterPages); page += 4) {
        WriteTileArea(image, page, seed);
    }
    for (int row = 0; row < kLevelCount; ++row) {
        demo::WriteDemoLevel(image, row, seed);
    }
    demo::WriteDemoEnemyGraphics(image, seed);
    for (const std::uint32_t offset : kRecordBankOffsets) {
        demo::WriteDemoRecordBank(image, offset, seed);
    }
    demo::WriteDemoAboutTiles(image, seed);
}

std::unique_ptr<RomImage> MakeDemoCartridge(std::uint32_t seed) {
    auto image = std::make_unique<RomImage>();
    BuildDemoCartridge(*image, seed);
    return image;
}

bool WriteDemoCartridge(const std::string& path, std::uint32_t seed, std::string& error) {
    const auto image = MakeDemoCartridge(seed);
    AtomicFileWriter writer(path, AtomicFileWriter::Target::NewOrExisting);
    if (!writer.Write({std::span<const std::uint8_t>(image->bytes)})) {
        error = writer.message();
        return false;
    }
    return true;
}

} // namespace korvane
