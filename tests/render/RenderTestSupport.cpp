#include "RenderTestSupport.h"

namespace korvane::rendertest {

int TestTilePixel(int tile, int x, int y) {
    switch (tile) {
    case 1:
    case 2:
    case 3:
        return tile;
    case kTileGradient:
        return x % 4;
    case kTileDiagonal:
        return (x + y) % 4;
    case kTileHalves:
        return x < 4 ? 3 : 1;
    default:
        return 0;
    }
}

std::unique_ptr<LevelRecord> MakeTestLevel() {
    auto level = std::make_unique<LevelRecord>();
    for (int tile = 0; tile < 7; ++tile) {
        for (int y = 0; y < 8; ++y) {
            std::uint8_t plane0 = 0;
            std::uint8_t plane1 = 0;
            for (int x = 0; x < 8; ++x) {
                const int value = TestTilePixel(tile, x, y);
                plane0 = static_cast<std::uint8_t>(plane0 | ((value & 1) << (7 - x)));
                plane1 = static_cast<std::uint8_t>(plane1 | (((value >> 1) & 1) << (7 - x)));
            }
            level->tiles[static_cast<std::size_t>(tile * 16 + y)] = plane0;
            level->tiles[static_cast<std::size_t>(tile * 16 + 8 + y)] = plane1;
        }
    }
    for (int b = 0; b < kBlockCount; ++b) {
        Block& block = level->blocks[static_cast<std::size_t>(b)];
        for (int k = 0; k < 4; ++k) {
            block.tiles[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>((b + k) % 7);
        }
        block.attributes = static_cast<std::uint8_t>((b % 16) << 4 | (b % 4));
    }
    for (int a = 0; a < kAssemblyCount; ++a) {
        for (int j = 0; j < 4; ++j) {
            level->assemblies[static_cast<std::size_t>(a)].blocks[static_cast<std::size_t>(j)] =
                static_cast<std::uint8_t>((a + j) % 256);
        }
    }
    for (int r = 0; r < kRoomCount; ++r) {
        for (int i = 0; i < 64; ++i) {
            level->rooms[static_cast<std::size_t>(r)].cells[static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>((r * 8 + i) % 256);
        }
    }
    for (int p = 0; p < 4; ++p) {
        for (int v = 0; v < 4; ++v) {
            level->paletteSets[0].colour(p, v) = kPage0[p][v];
            level->paletteSets[1].colour(p, v) = kPage1[p][v];
        }
    }
    level->roomOrder = {};
    level->roomOrder[0] = 3;
    level->roomOrder[1] = 1;
    level->roomOrder[2] = 2;
    level->roomOrder[3] = 0;
    level->hallways[0] = Hallway{0, 1, 0, 2};
    level->hallways[1] = Hallway{0, 0, 0, 0};
    level->hallwayCount = 2;
    level->checkpointRooms = {kNoCheckpoint, kNoCheckpoint};
    level->enemies.fill(EnemyPlacement{0xFF, 0xFF, 0xFF, 0xFF});
    level->enemyCount = 0;
    return level;
}

QSize SetTestView(CRenderer& renderer, int columns, int rows, int zoomIn, int zoomOut) {
    CanvasViewState& view = renderer.view();
    view.zoomIn = zoomIn;
    view.zoomOut = zoomOut;
    view.visibleWidth = columns * zoomIn / zoomOut;
    view.visibleHeight = rows * zoomIn / zoomOut;
    return {zoomIn * columns * 8 / zoomOut, zoomIn * rows * 8 / zoomOut};
}

QImage RenderTestFrame(CRenderer& renderer, TestDisplay& display, QSize window) {
    QImage target(window, display.context.screenImageFormat());
    target.fill(QColor(0x12, 0x34, 0x56));
    const int canvasWindow = 0;
    renderer.RenderFrame(display.context, display.surface, display.clipper, &canvasWindow,
                         window.width(), window.height(), target,
                         {0, 0, window.width(), window.height()});
    return target;
}

} // namespace korvane::rendertest
