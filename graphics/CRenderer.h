#pragma once

// The tile and map renderer: a grid of 8 x 8 cells filled by the layer routines from a canvas's
// own copy of a level, rasterised straight into a locked display surface through a colour table
// of four shade variants, then zoomed, overlaid with a grid and a selection frame and presented.
// No widgets: the canvas widgets drive it, and tests, the tool and the benchmarks use it alone.

#include "DisplayLayer.h"
#include "gamedata/LevelRecord.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace korvane {

// Highlight selectors: 0-15 a block type, 16 shade all, -1 no shading, -2 items the level does
// not use.
inline constexpr int kHighlightShadeAll = 16;
inline constexpr int kHighlightNone = -1;
inline constexpr int kHighlightUnused = -2;

struct RendererCell {
    std::array<std::uint8_t, 16> pattern{};
    std::uint8_t palette = 0;
    std::uint8_t shaded = 0;
};

// What the canvas control sets while it scrolls and zooms.
struct CanvasViewState {
    int zoomIn = 1;
    int zoomOut = 1;
    int visibleWidth = 0;  // window cells
    int visibleHeight = 0; // window cells
    int scroll = 0;        // horizontal scroll position in cells
};

struct SelectionFrameState {
    bool shown = true;
    int size = 4; // cells, never below 1
    int unit = 1; // 1: position in cells; 8: position in pixels
    int x = 0;
    int y = 0;
    int firstColumn = -1;
    int lastColumn = -1;
    int firstRow = -1;
    int lastRow = -1;
};

struct GridState {
    bool shown = true;
    int spacing = 8;
    std::uint32_t colour = 0xCCCCCC; // GDI colour value
};

// Hallway mode: the preview's extra state and overlays.
struct HallwayState {
    bool hallwayMode = false;
    bool showEnemies = false;
    bool showCheckpoints = false;
    bool enemyDragMode = false; // pointer mode 5: the selection variants are never used
    std::uint32_t tick = 0;     // animation ticks since the canvas was made
};

class CRenderer {
public:
    CRenderer();

    // The canvas's own copies, replaced whole by the owner.
    void SetLevelData(const LevelRecord& level);
    void SetTilePatterns(std::span<const std::uint8_t, kTileBytes> tiles);
    const LevelRecord& levelData() const;
    LevelRecord& levelData();
    const std::array<std::uint8_t, kTileBytes>& tilePatterns() const;

    void SetGridSize(int width, int height);
    int gridWidth() const;
    int gridHeight() const;
    const RendererCell& cell(int x, int y) const;
    void PutCell(int x, int y, int tile, int palette, bool shade);

    void SetPalettePage(int page);
    int palettePage() const;
    // The colour table: a surface colour value (red in bits 16-23) and its 5-6-5 form.
    std::uint32_t SurfaceColour(int variant, int palette, int value) const;
    std::uint16_t Colour565(int variant, int palette, int value) const;

    void SetHighlight(int selector);
    int highlight() const;
    void SetTilePalette(int palette);
    void SetCurrentHallway(int hallway);
    void SetCurrentRoom(int room);
    void SetCurrentAssembly(int assembly);
    void SetCurrentBlock(int block);
    int currentHallway() const;

    // Layer routines: each fills the whole grid.
    void DrawAllTiles();
    void DrawBlock();
    void DrawAllBlocks();
    void DrawAssembly();
    void DrawAllAssemblies();
    void DrawRoom();
    void DrawAllRooms();
    void DrawHallway();

    // Hallway mode: the data side of SetHallway (copy, current hallway, grid of 32 cells per
    // room by 32, palette page, both overlays on). The canvas adds scrolling and the timer.
    // level and tiles (4,096 bytes) may be null: that part is kept.
    void SetHallway(int hallway, const LevelRecord* level, const std::uint8_t* tiles);
    // One animation tick: advances the tick counter, applies the current page's effect codes
    // to the canvas's copy and redraws the hallway.
    void AnimationTick();

    CanvasViewState& view();
    const CanvasViewState& view() const;
    SelectionFrameState& frame();
    const SelectionFrameState& frame() const;
    GridState& grid();
    const GridState& grid() const;
    HallwayState& hallway();
    const HallwayState& hallway() const;

    // Moves the selection frame to item i without a click.
    void SelectItem(int item);
    int itemUnderFrame() const;

    // Renders one frame of a W x H client area into the canvas's surface and presents it into
    // target at targetRect. Display failures are reported through the context, which then asks
    // the application to quit; the frame stops there.
    void RenderFrame(DisplayContext& context, DisplaySurface& surface, DisplayClipper& clipper,
                     const void* window, int width, int height, QImage& target,
                     const DisplayRect& targetRect);

private:
    // Members are the renderer's own; the canvas reaches them only through the calls above.
};

} // namespace korvane
