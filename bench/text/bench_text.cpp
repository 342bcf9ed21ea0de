// Speed of the model's text form on the demo cartridge: unpack (the 16 level files, shared.json
// and korvane.json made, in memory and written to a folder), pack (read back onto the
// cartridge and encoded) and diff of two cartridges with 1,000 scattered edits.
#include "gamedata/AtomicFileWriter.h"
#include "gamedata/Crc32.h"
#include "gamedata/GameData.h"
#include "gamedata/LevelImport.h"
#include "gamedata/LevelTextReader.h"
#include "gamedata/ModelDiff.h"
#include "gamedata/ModelTextWriter.h"
#include "gamedata/SharedTextReader.h"
#include "tools/DemoCartridge.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <random>
#include <span>
#include <string>
#include <vector>

#include <unistd.h>

namespace korvane {
namespace {

struct Texts {
    std::string folder;
    std::string shared;
    std::vector<std::string> levels;
};

Texts Unpack(const GameData& data, const RomImage& image) {
    Texts texts;
    texts.folder = ModelTextWriter::FolderText(kRomSize, Crc32(image.bytes));
    texts.shared = ModelTextWriter::SharedText(data);
    for (std::size_t n = 0; n < kLevelCount; ++n) {
        texts.levels.push_back(ModelTextWriter::LevelText(data.levels[n], LevelCatalogue[n].name));
    }
    return texts;
}

void BM_UnpackInMemory(benchmark::State& state) {
    const auto image = MakeDemoCartridge(1);
    auto data = std::make_unique<GameData>();
    for (auto _ : state) {
        data->Decode(*image);
        Texts texts = Unpack(*data, *image);
        benchmark::DoNotOptimize(texts);
    }
}
BENCHMARK(BM_UnpackInMemory)->Unit(benchmark::kMillisecond);

// As `korvane-cli unpack` writes them: each file replaced whole and flushed to the disk.
void BM_UnpackToFolder(benchmark::State& state) {
    const auto image = MakeDemoCartridge(1);
    auto data = std::make_unique<GameData>();
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("korvane-bench-text-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir / "levels");
    for (auto _ : state) {
        data->Decode(*image);
        const Texts texts = Unpack(*data, *image);
        const auto write = [](const std::filesystem::path& path, const std::string& text) {
            AtomicFileWriter writer(path.string(), AtomicFileWriter::Target::NewOrExisting);
            const auto* first = reinterpret_cast<const std::uint8_t*>(text.data());
            writer.Write({std::span<const std::uint8_t>(first, text.size())});
        };
        write(dir / "korvane.json", texts.folder);
        write(dir / "shared.json", texts.shared);
        for (std::size_t n = 0; n < texts.levels.size(); ++n) {
            write(dir / "levels" / ("level-" + std::to_string(n) + ".json"), texts.levels[n]);
        }
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_UnpackToFolder)->Unit(benchmark::kMillisecond);

void BM_Pack(benchmark::State& state) {
    const auto image = MakeDemoCartridge(1);
    auto base = std::make_unique<GameData>();
    base->Decode(*image);
    const Texts texts = Unpack(*base, *image);
    auto model = std::make_unique<GameData>();
    auto out = std::make_unique<RomImage>();
    for (auto _ : state) {
        *model = *base;
        if (SharedTextReader::Read(texts.shared, *image, *model)) {
            state.SkipWithError("shared.json refused");
            break;
        }
        for (std::size_t n = 0; n < kLevelCount; ++n) {
            LevelTextReader::Result read = LevelTextReader::Read(texts.levels[n]);
            if (!read.level) {
                state.SkipWithError("level refused");
                break;
            }
            model->levels[n] = *read.level;
        }
        LevelImport::ReconcileTilePages(*model, *image);
        *out = *image;
        model->Encode(*out);
        LevelImport::WriteUndecodedBytes(*model, out->bytes);
        benchmark::DoNotOptimize(out->bytes[0x4010]);
    }
    if (!(out->bytes == image->bytes)) {
        state.SkipWithError("pack did not give the cartridge back");
    }
}
BENCHMARK(BM_Pack)->Unit(benchmark::kMillisecond);

// Two cartridges 1,000 scattered field edits apart, both decoded and compared, as the
// command does once it has read them.
void BM_Diff1000Edits(benchmark::State& state) {
    const auto image = MakeDemoCartridge(1);
    auto a = std::make_unique<GameData>();
    a->Decode(*image);
    auto b = std::make_unique<GameData>(*a);
    std::mt19937 rng(3);
    for (int edit = 0; edit < 1000; ++edit) {
        LevelRecord& level = b->levels[rng() % kLevelCount];
        switch (rng() % 4) {
        case 0:
            level.rooms[rng() % kRoomCount].cells[rng() % 64] ^= 1;
            break;
        case 1:
            level.blocks[rng() % kBlockCount].attributes ^= 0x10;
            break;
        case 2:
            level.assemblies[rng() % kAssemblyCount].blocks[rng() % 4] ^= 1;
            break;
        default:
            level.paletteSets[rng() % kPaletteSetCount].bytes[rng() % 16] ^= 1;
            break;
        }
    }
    auto edited = std::make_unique<RomImage>(*image);
    b->Encode(*edited);
    const std::vector<std::uint8_t> fileA(image->bytes.begin(), image->bytes.end());
    const std::vector<std::uint8_t> fileB(edited->bytes.begin(), edited->bytes.end());
    auto da = std::make_unique<GameData>();
    auto db = std::make_unique<GameData>();
    std::size_t changes = 0;
    for (auto _ : state) {
        da->Decode(*image);
        db->Decode(*edited);
        changes = ModelDiff::Compare(*da, fileA, *db, fileB).size();
        benchmark::DoNotOptimize(changes);
    }
    state.counters["changes"] = static_cast<double>(changes);
}
BENCHMARK(BM_Diff1000Edits)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace korvane

BENCHMARK_MAIN();
