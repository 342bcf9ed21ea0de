#pragma once

// A small level built in code and helpers that render one frame of a renderer into an image.

#include "gamedata/LevelRecord.h"
#include "gamedata/UserReporter.h"
#include "graphics/CRenderer.h"
#include "graphics/DisplayLayer.h"
#include "graphics/NesColours.h"

#include <QImage>

#include <cstdint>
#include <memory>

namespace korvane::rendertest {

// Tiles: 0 all value 0; 1, 2, 3 all that value; 4 the row 0 1 2 3 0 1 2 3 on every line;
// 5 a diagonal: value (x + y) % 4; 6 left half 3, right half 1.
inline constexpr int kTileGradient = 4;
inline constexpr int kTileDiagonal = 5;
inline constexpr int kTileHalves = 6;

// The pixel value of a test tile at (x, y), worked out from its description.
int TestTilePixel(int tile, int x, int y);

// Palette set 0 and 1 differ everywhere; set 0 palette p, entry v is kPage0[p][v].
inline constexpr std::uint8_t kPage0[4][4] = {{0x0F, 0x01, 0x11, 0x21},
                                              {0x0D, 0x06, 0x16, 0x26},
                                              {0x0E, 0x09, 0x19, 0x29},
                                              {0x1D, 0x15, 0x27, 0x30}};
inline constexpr std::uint8_t kPage1[4][4] = {{0x2D, 0x02, 0x12, 0x22},
                                              {0x3D, 0x07, 0x17, 0x37},
                                              {0x00, 0x0A, 0x1A, 0x2A},
                                              {0x10, 0x0C, 0x1C, 0x2C}};

// A level whose block b has tiles {b % 7 ...} and type b % 16, palette b % 4; assembly a has
// blocks {a, a + 1, a + 2, a + 3} (mod 256); room r has assembly (r * 8 + i) % 256 in cell i.
// Hallways: 0 has rooms 3, 1, 2 (palette set 1), 1 has room 0 (palette set 0).
std::unique_ptr<LevelRecord> MakeTestLevel();

// The display and its report, and one renderer frame drawn into an image.
struct TestDisplay {
    explicit TestDisplay(int depth = 32) : context(depth, &reporter) {
        context.CreateClipper(clipper, callid::kCreateClipper);
    }
    RecordingReporter reporter;
    DisplayContext context;
    DisplaySurface surface;
    DisplayClipper clipper;
};

// Sets the renderer's view as the canvas's SetView(columns, rows, zoomIn, zoomOut) does and
// returns the window size in pixels.
QSize SetTestView(CRenderer& renderer, int columns, int rows, int zoomIn = 1, int zoomOut = 1);

// Renders one frame of the window size into a fresh image (filled with 0x123456 first).
QImage RenderTestFrame(CRenderer& renderer, TestDisplay& display, QSize window);

// The surface colour value (red in bits 16-23) shown at (x, y).
inline std::uint32_t ColourAt(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFFU;
}

// The colour a 16-bit surface shows for a surface colour value.
inline std::uint32_t As565(std::uint32_t colour) {
    return Widen565(SurfaceColourTo565(colour));
}

} // namespace korvane::rendertest
