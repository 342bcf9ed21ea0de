// Speed of the patches: making and applying an IPS and a BPS patch between the demo cartridge
// and a copy with 1,000 edits scattered over it (a fixed seed), and the size of each patch.
#include "DemoCartridge.h"
#include "gamedata/BpsPatch.h"
#include "gamedata/IpsPatch.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace korvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kEdits = 1000;

struct Cartridges {
    Bytes clean;
    Bytes edited;
};

const Cartridges& Pair() {
    static const Cartridges pair = [] {
        const auto image = MakeDemoCartridge(1);
        Cartridges made{Bytes(image->bytes.begin(), image->bytes.end()), {}};
        made.edited = made.clean;
        std::mt19937 rng(2024);
        for (int k = 0; k < kEdits; ++k) {
            const std::size_t at = rng() % made.edited.size();
            made.edited[at] = static_cast<std::uint8_t>(made.edited[at] + 1 + rng() % 255);
        }
        return made;
    }();
    return pair;
}

template <PatchResult (*Create)(std::span<const std::uint8_t>, std::span<const std::uint8_t>)>
void BM_Create(benchmark::State& state) {
    const Cartridges& pair = Pair();
    std::size_t size = 0;
    for (auto _ : state) {
        const PatchResult patch = Create(pair.clean, pair.edited);
        size = patch.bytes().size();
        benchmark::DoNotOptimize(patch.bytes().data());
    }
    state.counters["patch_bytes"] = static_cast<double>(size);
}

template <PatchResult (*Create)(std::span<const std::uint8_t>, std::span<const std::uint8_t>),
          PatchResult (*Apply)(std::span<const std::uint8_t>, std::span<const std::uint8_t>)>
void BM_Apply(benchmark::State& state) {
    const Cartridges& pair = Pair();
    const PatchResult patch = Create(pair.clean, pair.edited);
    for (auto _ : state) {
        const PatchResult result = Apply(pair.clean, patch.bytes());
        if (result.bytes() != pair.edited) {
            state.SkipWithError("the patch does not give the edited cartridge");
            return;
        }
        benchmark::DoNotOptimize(result.bytes().data());
    }
}

BENCHMARK(BM_Create<CreateIpsPatch>)->Name("BM_CreateIps")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Apply<CreateIpsPatch, ApplyIpsPatch>)
    ->Name("BM_ApplyIps")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Create<CreateBpsPatch>)->Name("BM_CreateBps")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Apply<CreateBpsPatch, ApplyBpsPatch>)
    ->Name("BM_ApplyBps")
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace korvane

BENCHMARK_MAIN();
