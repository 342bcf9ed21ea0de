#pragma once

// The arithmetic of the canvas controls, kept apart from the widgets: which item lies under the
// pointer, which item a click picks, how a scroll request moves the view, and where the enemy
// markers of a hallway sit on screen. Positions are window cells (8 x 8 pixels) unless a name
// says pixels; p is the horizontal scroll position in content cells.

#include "gamedata/LevelRecord.h"

#include <cstdint>
#include <vector>

namespace korvane {

// The zoom and layout numbers the arithmetic needs, copied from the renderer's state.
struct CanvasMetrics {
    int gridWidth = 0;  // content cells
    int gridHeight = 0; // content cells
    int visibleWidth = 0;
    int visibleHeight = 0;
    int zoomIn = 1;
    int zoomOut = 1;
    int scroll = 0;
};

// What a mouse move at a window cell selects.
struct PointerSelection {
    int snappedColumn = 0; // window cells, snapped to the frame grid
    int snappedRow = 0;
    int firstColumn = -1; // the selection rectangle, content cells relative to the scroll
    int lastColumn = -1;
    int firstRow = -1;
    int lastRow = -1;
    int itemUnderPointer = 0;
};

// Base-mode mouse move at window cell (cellX, cellY) with a frame of frameSize cells.
PointerSelection SelectionAtCell(const CanvasMetrics& m, bool frameShown, int frameSize, int cellX,
                                 int cellY);

// The index, row by row over the whole content (scrolled-off part included), of the
// frameSize x frameSize item whose top-left content cell relative to the scroll is
// (firstColumn, firstRow).
int ClickedItem(const CanvasMetrics& m, int frameSize, int firstColumn, int firstRow);

// Whether content cell (scroll + column, row) exists: a click beyond the content picks nothing.
bool InsideContent(const CanvasMetrics& m, int column, int row);

enum class ScrollRequest {
    LineLeft,
    LineRight,
    PageLeft,
    PageRight,
    ThumbTrack,
    Top,
    Bottom,
    ThumbPosition, // end of a thumb drag: nothing to do
    EndScroll,
};

struct ScrollOutcome {
    int scroll = 0;     // new scroll position in content cells
    int frameShift = 0; // added to the selection frame's x
    bool changed = false;
};

// The page of the scroll bar in content cells: zoomOut * clientWidth / 8.
int ScrollPage(const CanvasMetrics& m, int clientWidthPixels);
// The largest scroll position: the content width less one page, never below 0.
int LargestScroll(const CanvasMetrics& m, int clientWidthPixels);

ScrollOutcome ApplyScroll(const CanvasMetrics& m, int clientWidthPixels, ScrollRequest request,
                          int thumb, int frameUnit);

// The first room position of hallway h: the rooms of the hallways before it.
int HallwayFirstRoom(const LevelRecord& level, int hallway);

// An enemy's marker position in surface pixels.
struct ScreenPoint {
    int x = 0;
    int y = 0;
};
ScreenPoint EnemyScreenPosition(const EnemyPlacement& enemy, int hallwayStart, int scroll);

inline constexpr int kEnemyHitRadius = 8;
inline constexpr int kNoEnemy = -1;

// The first enemy, in list order, whose marker lies within the hit radius of the pixel
// (x, y), among those drawn in the hallway shown; kNoEnemy when there is none.
int EnemyAt(const LevelRecord& level, int hallway, int scroll, int x, int y);

// The drag record for a snapped window pixel position (sx, sy) of the dragged enemy, kept
// inside the rooms of the hallway shown.
EnemyPlacement DraggedPlacement(const LevelRecord& level, int hallway, int scroll, int sx, int sy,
                                std::uint8_t enemyId);

// Snaps a window pixel coordinate to the drag step, keeping the grab offset.
int SnapDragX(int scroll, int mouseX, int step, int grabOffset);
int SnapDragY(int mouseY, int step, int grabOffset);

// A window cell (8 x 8 pixels) by its column and row.
struct WindowCell {
    int column = 0;
    int row = 0;
    bool operator==(const WindowCell&) const = default;
};

// The window cells a straight pointer path from pixel (x0, y0) to pixel (x1, y1) crosses, in
// order, the first pixel's cell first, measured between the pixels' centres. Where the path
// runs exactly through a corner of four cells it goes on to the diagonal cell alone.
std::vector<WindowCell> CellsAlongPath(int x0, int y0, int x1, int y1);

// A non-negative remainder.
int PositiveModulo(int value, int divisor);

} // namespace korvane
