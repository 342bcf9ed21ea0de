// Speed of the cartridge model: decoding the whole image (16 levels and the shared tables),
// encoding it back, and recounting the usage of a level whose 32 room positions are all used.
#include "gamedata/GameData.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

namespace korvane {
namespace {

// A cartridge of random bytes whose levels each use all 32 room positions in 8 hallways of 4
// rooms, with 60 placements and record banks of short records, as a real game has.
std::unique_ptr<RomImage> MakeBenchImage() {
    auto image = std::make_unique<RomImage>();
    std::mt19937 rng(7);
    for (std::uint8_t& byte : image->bytes) {
        byte = static_cast<std::uint8_t>(rng());
    }
    for (const CatalogueRow& row : LevelCatalogue) {
        auto bank = image->Bank(row.bankOffset);
        for (std::size_t h = 0; h < 16; ++h) {
            bank[bank::kHallwayPairs + 2 * h] = static_cast<std::uint8_t>(h);
            bank[bank::kHallwayPairs + 2 * h + 1] = static_cast<std::uint8_t>(h % 5);
            bank[bank::kHallwayNibbles + h] = h < 8 ? 0x23 : 0x00;
        }
        for (std::size_t p = 0; p < 32; ++p) {
            bank[bank::kRoomOrder + p] = static_cast<std::uint8_t>(p);
        }
        for (std::size_t i = 0; i < 256; ++i) {
            const bool used = i < 60;
            bank[bank::kEnemyRoomPosition + i] = used ? static_cast<std::uint8_t>(i / 2) : 0xFF;
            bank[bank::kEnemyX + i] = used ? static_cast<std::uint8_t>(i * 4) : 0xFF;
            bank[bank::kEnemyY + i] = used ? static_cast<std::uint8_t>(i * 8) : 0xFF;
            bank[bank::kEnemyId + i] = used ? static_cast<std::uint8_t>(i % 20) : 0xFF;
        }
    }
    for (std::uint32_t offset : kRecordBankOffsets) {
        auto bank = image->Bank(offset);
        // 128 kind A records of 8 items, then 256 kind B records of 4 items.
        std::uint32_t p = 0x8300;
        for (std::size_t i = 0; i < 128; ++i, p += 10) {
            bank[i] = static_cast<std::uint8_t>(p);
            bank[0x80 + i] = static_cast<std::uint8_t>(p >> 8);
            bank[p - 0x8000] = 7;
        }
        for (std::size_t i = 0; i < 256; ++i, p += 10) {
            bank[0x100 + i] = static_cast<std::uint8_t>(p);
            bank[0x200 + i] = static_cast<std::uint8_t>(p >> 8);
            bank[p - 0x8000] = 0x83;
        }
    }
    return image;
}

void BM_DecodeWholeImage(benchmark::State& state) {
    const auto image = MakeBenchImage();
    auto data = std::make_unique<GameData>();
    for (auto _ : state) {
        data->Decode(*image);
        benchmark::DoNotOptimize(data->levels[3].tileUse[7]);
    }
}
BENCHMARK(BM_DecodeWholeImage)->Unit(benchmark::kMicrosecond);

void BM_EncodeWholeImage(benchmark::State& state) {
    auto image = MakeBenchImage();
    auto data = std::make_unique<GameData>();
    data->Decode(*image);
    for (auto _ : state) {
        data->Encode(*image);
        benchmark::DoNotOptimize(image->bytes[0x40010]);
    }
}
BENCHMARK(BM_EncodeWholeImage)->Unit(benchmark::kMicrosecond);

void BM_DecodeAndEncodeWholeImage(benchmark::State& state) {
    auto image = MakeBenchImage();
    auto data = std::make_unique<GameData>();
    for (auto _ : state) {
        data->Decode(*image);
        data->Encode(*image);
        benchmark::DoNotOptimize(image->bytes[0x40010]);
    }
}
BENCHMARK(BM_DecodeAndEncodeWholeImage)->Unit(benchmark::kMicrosecond);

void BM_RecountUsageFullLevel(benchmark::State& state) {
    const auto image = MakeBenchImage();
    auto data = std::make_unique<GameData>();
    data->Decode(*image);
    LevelRecord& level = data->levels[0];
    if (level.hallwayCount != 8 || level.RemainingRooms() != 0) {
        state.SkipWithError("the level does not use all 32 room positions");
    }
    for (auto _ : state) {
        level.RecountUsage();
        benchmark::DoNotOptimize(level.tileUse[0]);
    }
}
BENCHMARK(BM_RecountUsageFullLevel)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace korvane

BENCHMARK_MAIN();
