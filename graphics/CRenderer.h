#pragma once

// The tile and map renderer: a grid of 8 x 8 cells filled by the layer routines from a canvas's
// own copy of a level, rasterised straight into a locked display surface through a colour table
// of four shade variants, then zoomed, overlaid with a grid and a selection frame and presented.
// A frame drawn into the surface the last one left redraws only the cells written since.
// No widgets: the canvas widgets drive it, and tests, the tool and the benchmarks use it alone.

#include "CellRasteriser.h"
#include "DisplayLayer.h"
#include "HallwayOverlay.h"
#include "gamedata/LevelRecord.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace korvane {

// Highlight selectors: 0-15 a block type, 16 shade all, -1 no shading, -2 items the level does
// not use.
inline constexpr int kHighlightShadeAll = 16;
inline constexpr int kHighlightNone = -1;
inline constexpr int kHighlightUnused = -2;

// Shade variants of the colour table.
inline constexpr int kVariantNormal = 0;
inline constexpr int kVariantShaded = 1;
inline constexpr int kVariantSelectedShaded = 2;
inline constexpr int kVariantSelected = 3;

// A surface colour value in one of the four variants. With L half the truncated mean of red,
// green and blue: 1 is a light grey (L + 0x80 each), 2 a yellowish grey (blue L), 3 a reddish
// grey (green and blue L); 0 is the colour itself.
std::uint32_t ShadeVariant(std::uint32_t surfaceColour, int variant);

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

    // Called at the end of every layer routine and SelectItem so that the canvas repaints.
    void SetInvalidateCallback(std::function<void()> invalidate);

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
    int currentRoom() const;
    int currentAssembly() const;
    int currentBlock() const;
    int tilePalette() const;

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

    // Drops what the renderer keeps from its last room layer and frame: the next layer routine
    // and frame draw every cell again. Drawing only the changed cells gives the same pixels; this
    // is for checking that.
    void ForgetRetainedDrawing();

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
    // Shade flag of a cell drawn from block b by the room and assembly layers, the block layers
    // and the hallway layer; useCount is the drawn room's or assembly's (or block's) count.
    enum class LayerKind { RoomOrAssembly, Block, Hallway };
    bool ShadeFor(LayerKind kind, const Block& block, int useCount) const;
    void PutBlock(int blockX, int blockY, int blockNumber, LayerKind kind, int useCount);
    void PutAssembly(int assemblyX, int assemblyY, int assemblyNumber, LayerKind kind,
                     int useCount);
    // Room r with its top-left assembly at (assemblyX, assemblyY), columns x rows assemblies.
    void PutRoom(int roomNumber, int assemblyX, int assemblyY, int columns, int rows,
                 LayerKind kind, int useCount);
    // What the room layers drew from: DrawRoom and DrawAllRooms draw again only the assemblies
    // (or rooms) whose numbers or use changed while everything else they read stayed the same.
    enum class RoomLayer { None, Room, AllRooms };
    struct DrawnRooms {
        RoomLayer layer = RoomLayer::None;
        int gridWidth = 0;
        int gridHeight = 0;
        int highlight = kHighlightNone;
        int room = 0;
        std::array<Room, kRoomCount> rooms{};
        std::array<Assembly, kAssemblyCount> assemblies{};
        std::array<Block, kBlockCount> blocks{};
        std::array<std::uint8_t, kTileBytes> tiles{};
        std::array<std::int32_t, kRoomCount> roomUse{};
    };
    // Whether the last room layer was layer and drew from the same assemblies, blocks, tiles,
    // grid and highlight; then what it drew is remembered again.
    bool SameRoomLayer(RoomLayer layer) const;
    bool RoomUseChanged(int room) const;
    void RememberRoomLayer(RoomLayer layer);
    int HallwayStart(int h) const;
    int HallwayRoomCount(int h) const;
    HallwayView CurrentHallwayView() const;
    void Invalidate();

    // Frame steps.
    bool PrepareFrame(DisplayContext& context, DisplaySurface& surface, DisplayClipper& clipper,
                      const void* window, int width, int height, int zoomOut,
                      std::uint32_t& clearValue);
    // The cells the frame draws: cell rows 0 to CellRows() - 1, and in cell row y the columns
    // first to end - 1 (none when end <= first).
    int CellRows(int surfaceHeight, int zoomOut) const;
    void CellColumns(int y, int width, int zoomOut, int& first, int& end) const;
    // Writes every byte of the frame surface that the cells will not cover (all of them when
    // cellsDrawn is false): the clear colour in the W x H area, zero elsewhere, as a freshly
    // created surface cleared by a fill would hold.
    void ClearFrame(DisplaySurface& surface, int width, int height, int zoomOut,
                    std::uint32_t clearValue, bool cellsDrawn) const;
    void RasteriseCells(const SurfaceLock& lock, int width, int zoomOut) const;
    // Drawing only what changed since the last frame into the surface it left (see
    // RetainedFrame): whether this frame may, and then the cells drawn again into it.
    bool CanRedrawChanges(const DisplaySurface& surface, const SurfaceLock& lock, int width,
                          int height, std::uint32_t clearValue) const;
    void RedrawChangedCells(const SurfaceLock& lock, int width, int height, int zoomOut);
    void RedrawCell(const SurfaceLock& lock, int x, int y, const DisplayRect& zoomed, int zoomOut);
    void RetainFrame(const DisplaySurface& surface, const SurfaceLock& lock, int width, int height,
                     std::uint32_t clearValue);
    // Records that cell i of the grid was written; a layer routine about to write every cell
    // says so instead (the next frame is then drawn whole).
    void MarkChanged(std::size_t cell);
    void RedrawingEveryCell();
    bool DrawGrid(DisplayContext& context, DisplaySurface& surface);
    bool DrawSelectionFrame(DisplayContext& context, DisplaySurface& surface);
    bool Report(DisplayContext& context, DisplayCode code, int callId);
    void RebuildColourTable();

    LevelRecord level_{};
    std::array<std::uint8_t, kTileBytes> tiles_{};

    int gridWidth_ = 0;
    int gridHeight_ = 0;
    std::vector<RendererCell> cells_;

    int palettePage_ = 0;
    std::array<std::uint8_t, 16> pageColours_{};
    // [variant * 16 + palette * 4 + value]
    std::array<std::uint32_t, 64> surfaceColours_{};
    std::array<std::uint16_t, 64> colours565_{};
    CellRasteriser rasteriser_;

    int highlight_ = kHighlightNone;
    int tilePalette_ = 0;
    int currentHallway_ = 0;
    int currentRoom_ = 0;
    int currentAssembly_ = 0;
    int currentBlock_ = 0;

    CanvasViewState view_;
    SelectionFrameState frame_;
    GridState grid_;
    HallwayState hallwayState_;
    int itemUnderFrame_ = 0;

    DrawnRooms drawnRooms_;
    // What the last whole frame left in its surface: with the same surface untouched since,
    // the same view, colours, grid and clear colour, the next frame draws again only the cells
    // written since (and those the selection tints or no longer tints), undoing and redoing the
    // selection frame's inversion around them, and gets the pixels of a whole frame.
    struct RetainedFrame {
        bool valid = false;
        const DisplaySurface* surface = nullptr;
        std::uint64_t pixelWrites = 0;
        SurfaceLock lock;
        int width = 0;
        int height = 0;
        std::uint32_t clearValue = 0;
        CanvasViewState view;
        int gridWidth = 0;
        int gridHeight = 0;
        GridState grid;
        SelectionFrameState frame;
        bool selectionTint = true;
        std::array<std::uint32_t, 64> colours{};
        std::array<std::uint16_t, 64> colours565{};
        DisplayRect focusRect{}; // the outer of the two rectangles inverted, or empty
    };
    RetainedFrame retained_;
    // Cells of the grid written since the last frame; all of them once there are too many.
    std::vector<std::size_t> changedCells_;
    bool allCellsChanged_ = true;
    DisplayRect lastFocusRect_{}; // where this frame drew the selection frame

    HallwayOverlay overlay_;
    std::function<void()> invalidate_;
};

} // namespace korvane
