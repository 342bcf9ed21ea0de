// How long the level preview takes: one frame of the main view's 96 x 32 cells from
// DrawHallway to presented pixels at 32 and 16 bits, and one animation tick of a 16-room
// hallway. Each frame is also given as a multiple of a memset of the same frame's bytes: the
// distance to what the memory allows.

#include "gamedata/LevelRecord.h"
#include "gamedata/UserReporter.h"
#include "graphics/CRenderer.h"
#include "graphics/DisplayLayer.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace korvane {
namespace {

double gMemsetSeconds = 0; // of one 768 x 256 frame at 32 bits

// A level with busy tiles, every room different, a few enemies and both checkpoints.
// Hallway 0 has three rooms, hallway 1 sixteen.
std::unique_ptr<LevelRecord> MakeBenchLevel() {
    auto level = std::make_unique<LevelRecord>();
    for (std::size_t i = 0; i < level->tiles.size(); ++i) {
        level->tiles[i] = static_cast<std::uint8_t>(i * 37 + (i >> 4) * 11);
    }
    for (int b = 0; b < kBlockCount; ++b) {
        auto& block = level->blocks[static_cast<std::size_t>(b)];
        for (std::size_t k = 0; k < 4; ++k) {
            block.tiles[k] = static_cast<std::uint8_t>(b * 4 + static_cast<int>(k));
        }
        block.attributes = static_cast<std::uint8_t>(b);
    }
    for (int a = 0; a < kAssemblyCount; ++a) {
        for (std::size_t j = 0; j < 4; ++j) {
            level->assemblies[static_cast<std::size_t>(a)].blocks[j] =
                static_cast<std::uint8_t>(a * 3 + static_cast<int>(j) * 7);
        }
    }
    for (int r = 0; r < kRoomCount; ++r) {
        for (std::size_t i = 0; i < 64; ++i) {
            level->rooms[static_cast<std::size_t>(r)].cells[i] =
                static_cast<std::uint8_t>(r * 5 + static_cast<int>(i));
        }
    }
    for (std::size_t p = 0; p < kPaletteSetCount; ++p) {
        for (std::size_t i = 0; i < 16; ++i) {
            level->paletteSets[p].bytes[i] = static_cast<std::uint8_t>(p * 7 + i * 3);
        }
        level->paletteSets[p].bytes[16] = 0x86;
        level->paletteSets[p].bytes[17] = 0x80;
        level->paletteSets[p].bytes[18] = 0x8D;
    }
    for (std::size_t i = 0; i < level->roomOrder.size(); ++i) {
        level->roomOrder[i] = static_cast<std::uint8_t>(i);
    }
    level->hallways[0] = Hallway{0, 0, 0, 2};
    level->hallways[1] = Hallway{0, 1, 0, 15};
    level->hallwayCount = 2;
    level->checkpointRooms = {1, 10};
    level->enemies.fill(EnemyPlacement{0xFF, 0xFF, 0xFF, 0xFF});
    for (int i = 0; i < 24; ++i) {
        level->enemies[static_cast<std::size_t>(i)] = {
            static_cast<std::uint8_t>(i * 40), static_cast<std::uint8_t>(40 + i * 8),
            static_cast<std::uint8_t>(i / 2), static_cast<std::uint8_t>(i)};
    }
    level->enemyCount = 24;
    return level;
}

struct Preview {
    Preview(int depth, int hallway, int visibleColumns) : context(depth, &reporter) {
        context.CreateClipper(clipper, callid::kCreateClipper);
        level = MakeBenchLevel();
        renderer = std::make_unique<CRenderer>();
        renderer->SetHallway(hallway, level.get(), level->tiles.data());
        renderer->SetHighlight(kHighlightNone);
        renderer->DrawHallway();
        renderer->grid().shown = false;
        renderer->frame().shown = false;
        renderer->frame().x = -1;
        renderer->frame().y = -1;
        const int columns = visibleColumns > 0 ? visibleColumns : renderer->gridWidth();
        renderer->view().visibleWidth = columns;
        renderer->view().visibleHeight = 32;
        width = columns * 8;
        target = QImage(width, height, context.screenImageFormat());
    }
    void Frame() {
        renderer->RenderFrame(context, surface, clipper, &window, width, height, target,
                              {0, 0, width, height});
    }

    RecordingReporter reporter;
    DisplayContext context;
    DisplaySurface surface;
    DisplayClipper clipper;
    std::unique_ptr<LevelRecord> level;
    std::unique_ptr<CRenderer> renderer;
    QImage target;
    int window = 0;
    int width = 0;
    int height = 256;
};

void SetMemsetMultiple(benchmark::State& state, double bytes) {
    const double memsetSeconds = gMemsetSeconds * bytes / (768.0 * 256.0 * 4.0);
    state.counters["x_memset"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * memsetSeconds,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void MainPreviewFrame(benchmark::State& state, int depth) {
    Preview preview(depth, 0, 96);
    for (auto _ : state) {
        preview.renderer->DrawHallway();
        preview.Frame();
        benchmark::DoNotOptimize(preview.target.constBits());
        benchmark::ClobberMemory();
    }
    if (!preview.reporter.messages.empty()) {
        state.SkipWithError(preview.reporter.messages[0].text.c_str());
    }
    SetMemsetMultiple(state, 768.0 * 256.0 * depth / 8.0);
}

void BM_MainPreviewFrame32(benchmark::State& state) {
    MainPreviewFrame(state, 32);
}

// The same frame without checkpoint labels and enemy markers: the cells alone.
void BM_MainPreviewCellsOnly32(benchmark::State& state) {
    Preview preview(32, 0, 96);
    preview.renderer->hallway().showCheckpoints = false;
    preview.renderer->hallway().showEnemies = false;
    for (auto _ : state) {
        preview.renderer->DrawHallway();
        preview.Frame();
        benchmark::DoNotOptimize(preview.target.constBits());
        benchmark::ClobberMemory();
    }
    SetMemsetMultiple(state, 768.0 * 256.0 * 4.0);
}
void BM_MainPreviewFrame16(benchmark::State& state) {
    MainPreviewFrame(state, 16);
}
// 24 bits is the depth of an X server's usual 24-bit visual, Xvfb's default among them.
void BM_MainPreviewFrame24(benchmark::State& state) {
    MainPreviewFrame(state, 24);
}

// One tick of a 16-room hallway: effects, DrawHallway over all 512 x 32 cells and a frame,
// in the main view's window (range 0: 96 columns) or as wide as the hallway (4,096 pixels).
void BM_SixteenRoomTick(benchmark::State& state) {
    const int columns = static_cast<int>(state.range(0));
    Preview preview(32, 1, columns);
    for (auto _ : state) {
        preview.renderer->AnimationTick();
        preview.Frame();
        benchmark::DoNotOptimize(preview.target.constBits());
        benchmark::ClobberMemory();
    }
    if (!preview.reporter.messages.empty()) {
        state.SkipWithError(preview.reporter.messages[0].text.c_str());
    }
    SetMemsetMultiple(state, static_cast<double>(preview.width) * 256.0 * 4.0);
}

void BM_MemsetOfFrame(benchmark::State& state) {
    std::vector<std::uint8_t> frame(768 * 256 * 4);
    int value = 0;
    for (auto _ : state) {
        std::memset(frame.data(), ++value & 0xFF, frame.size());
        benchmark::DoNotOptimize(frame.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(frame.size()));
}

// The memset's time, measured once before the benchmarks so that every frame can be given as
// a multiple of it: the best of many runs.
double MeasureMemset() {
    std::vector<std::uint8_t> frame(768 * 256 * 4);
    double best = 1.0;
    for (int round = 0; round < 400; ++round) {
        const auto start = std::chrono::steady_clock::now();
        std::memset(frame.data(), round & 0xFF, frame.size());
        benchmark::DoNotOptimize(frame.data());
        benchmark::ClobberMemory();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

BENCHMARK(BM_MemsetOfFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MainPreviewFrame32)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MainPreviewCellsOnly32)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MainPreviewFrame16)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MainPreviewFrame24)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SixteenRoomTick)->Arg(96)->Arg(512)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace korvane

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv); // the labels' font
    benchmark::Initialize(&argc, argv);
    korvane::gMemsetSeconds = korvane::MeasureMemset();
    // On standard error, so that standard output holds only the benchmark results (valid JSON
    // with --benchmark_format=json).
    std::fprintf(stderr,
                 "memset of one 768 x 256 x 32-bit frame (786,432 bytes): %.2f us; x_memset is "
                 "each frame's time as a multiple of it (per byte for other sizes)\n",
                 korvane::gMemsetSeconds * 1e6);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
