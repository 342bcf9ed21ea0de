#include "CanvasGeometry.h"

#include <algorithm>

namespace korvane {

int PositiveModulo(int value, int divisor) {
    if (divisor <= 0) {
        return 0;
    }
    const int rest = value % divisor;
    return rest < 0 ? rest + divisor : rest;
}

PointerSelection SelectionAtCell(const CanvasMetrics& m, bool frameShown, int frameSize, int cellX,
                                 int cellY) {
    PointerSelection s;
    const int zoomIn = std::max(1, m.zoomIn);
    const int zoomOut = std::max(1, m.zoomOut);
    const int size = std::max(1, frameSize);
    if (frameShown) {
        // The frame's size in window cells; a frame smaller than one window cell (a strong
        // zoom-out) still snaps to single cells.
        const int step = std::max(1, zoomIn * size / zoomOut);
        const int offset = (m.scroll * zoomIn / zoomOut) % step;
        s.snappedColumn = ((offset + cellX) / step) * step;
        s.snappedRow = (cellY / step) * step;
        s.firstColumn = ((s.snappedColumn - offset) / zoomIn) * zoomOut;
        s.lastColumn = s.firstColumn + size - 1;
        s.firstRow = (s.snappedRow / zoomIn) * zoomOut;
        s.lastRow = s.firstRow + size - 1;
    } else {
        s.snappedColumn = cellX;
        s.snappedRow = cellY;
    }
    const int itemsPerRow = std::min(m.gridWidth, m.visibleWidth) / size;
    s.itemUnderPointer =
        itemsPerRow * (zoomOut * s.snappedRow / zoomIn) + zoomOut * s.snappedColumn / zoomIn;
    return s;
}

int ClickedItem(const CanvasMetrics& m, int frameSize, int firstColumn, int firstRow) {
    const int size = std::max(1, frameSize);
    return (m.gridWidth * firstRow) / (size * size) + (m.scroll + firstColumn) / size;
}

bool InsideContent(const CanvasMetrics& m, int column, int row) {
    const int contentColumn = m.scroll + column;
    return column >= 0 && row >= 0 && contentColumn < m.gridWidth && row < m.gridHeight;
}

int ScrollPage(const CanvasMetrics& m, int clientWidthPixels) {
    return std::max(1, m.zoomOut) * clientWidthPixels / 8;
}

int LargestScroll(const CanvasMetrics& m, int clientWidthPixels) {
    return std::max(0, m.gridWidth - ScrollPage(m, clientWidthPixels));
}

ScrollOutcome ApplyScroll(const CanvasMetrics& m, int clientWidthPixels, ScrollRequest request,
                          int thumb, int frameUnit) {
    const int largest = LargestScroll(m, clientWidthPixels);
    const int zoomOut = std::max(1, m.zoomOut);
    const int old = m.scroll;
    int scroll = old;
    bool moveFrame = true;
    switch (request) {
    case ScrollRequest::LineLeft:
        if (old >= 1) {
            scroll = std::max(0, old - zoomOut);
        }
        break;
    case ScrollRequest::LineRight:
        if (old < largest) {
            scroll = std::min(largest, old + zoomOut);
        }
        break;
    case ScrollRequest::PageLeft:
        if (old - m.visibleWidth >= 0) {
            scroll = old - m.visibleWidth;
        }
        break;
    case ScrollRequest::PageRight:
        if (old <= largest - m.visibleWidth) {
            scroll = old + m.visibleWidth;
        }
        break;
    case ScrollRequest::ThumbTrack:
        scroll = std::clamp((thumb / zoomOut) * zoomOut, 0, largest);
        break;
    case ScrollRequest::Top:
        scroll = 0;
        moveFrame = false;
        break;
    case ScrollRequest::Bottom:
        scroll = largest;
        moveFrame = false;
        break;
    case ScrollRequest::ThumbPosition:
    case ScrollRequest::EndScroll:
        break;
    }
    ScrollOutcome out;
    out.scroll = scroll;
    out.changed = scroll != old;
    out.frameShift = moveFrame ? frameUnit * (old - scroll) : 0;
    return out;
}

int HallwayFirstRoom(const LevelRecord& level, int hallway) {
    const int last = std::clamp(hallway, 0, kHallwaySlots);
    int start = 0;
    for (int h = 0; h < last; ++h) {
        start += level.hallways[static_cast<std::size_t>(h)].lastRoom + 1;
    }
    return start;
}

ScreenPoint EnemyScreenPosition(const EnemyPlacement& enemy, int hallwayStart, int scroll) {
    return {enemy.x + ((enemy.roomPosition - hallwayStart) * 32 - scroll) * 8, enemy.y};
}

namespace {

bool WithinHitRadius(ScreenPoint marker, int x, int y) {
    return marker.x - kEnemyHitRadius < x && x <= marker.x + kEnemyHitRadius &&
           marker.y - kEnemyHitRadius < y && y <= marker.y + kEnemyHitRadius;
}

int LastRoomOf(const LevelRecord& level, int hallway) {
    if (hallway < 0 || hallway >= kHallwaySlots) {
        return 0;
    }
    return level.hallways[static_cast<std::size_t>(hallway)].lastRoom;
}

} // namespace

int EnemyAt(const LevelRecord& level, int hallway, int scroll, int x, int y) {
    const int start = HallwayFirstRoom(level, hallway);
    const int end = start + LastRoomOf(level, hallway);
    const int count = std::clamp(level.enemyCount, 0, kEnemySlots);
    for (int i = 0; i < count; ++i) {
        const EnemyPlacement& enemy = level.enemies[static_cast<std::size_t>(i)];
        // Placements past the room order, and those of other hallways (not drawn here), are
        // never picked.
        if (enemy.roomPosition >= kRoomOrderSize || enemy.roomPosition < start ||
            enemy.roomPosition > end) {
            continue;
        }
        if (WithinHitRadius(EnemyScreenPosition(enemy, start, scroll), x, y)) {
            return i;
        }
    }
    return kNoEnemy;
}

EnemyPlacement DraggedPlacement(const LevelRecord& level, int hallway, int scroll, int sx, int sy,
                                std::uint8_t enemyId) {
    const int start = HallwayFirstRoom(level, hallway);
    const int lastPosition = std::min(start + LastRoomOf(level, hallway), kRoomOrderSize - 1);
    int absolute = sx + (scroll + start * 32) * 8;
    const int lowest = start * 256;
    absolute = std::clamp(absolute, lowest, std::max(lowest, (lastPosition + 1) * 256 - 1));
    EnemyPlacement placement;
    placement.x = static_cast<std::uint8_t>(absolute % 256);
    placement.y = static_cast<std::uint8_t>(PositiveModulo(sy, 256));
    placement.roomPosition = static_cast<std::uint8_t>(absolute / 256);
    placement.enemyId = enemyId;
    return placement;
}

int SnapDragX(int scroll, int mouseX, int step, int grabOffset) {
    const int s = std::max(1, step);
    return ((PositiveModulo(scroll, s) + mouseX) / s) * s + grabOffset;
}

int SnapDragY(int mouseY, int step, int grabOffset) {
    const int s = std::max(1, step);
    return (mouseY / s) * s + grabOffset;
}

std::vector<WindowCell> CellsAlongPath(int x0, int y0, int x1, int y1) {
    // Twice the pixel coordinates, so that pixel centres are whole numbers (always odd: no
    // centre lies on a cell edge, which is a multiple of 16).
    constexpr std::int64_t kEdge = 16;
    const std::int64_t fromX = 2 * std::int64_t{x0} + 1;
    const std::int64_t fromY = 2 * std::int64_t{y0} + 1;
    const std::int64_t toX = 2 * std::int64_t{x1} + 1;
    const std::int64_t toY = 2 * std::int64_t{y1} + 1;
    const auto cellOf = [](std::int64_t v) {
        return static_cast<int>(v >= 0 ? v / kEdge : -((-v + kEdge - 1) / kEdge));
    };
    WindowCell cell{cellOf(fromX), cellOf(fromY)};
    const WindowCell last{cellOf(toX), cellOf(toY)};
    const int stepX = toX > fromX ? 1 : (toX < fromX ? -1 : 0);
    const int stepY = toY > fromY ? 1 : (toY < fromY ? -1 : 0);
    const std::int64_t spanX = toX > fromX ? toX - fromX : fromX - toX;
    const std::int64_t spanY = toY > fromY ? toY - fromY : fromY - toY;
    std::vector<WindowCell> cells{cell};
    while (!(cell == last)) {
        // How far along each axis the path runs before it leaves the current cell; the axis
        // reached first, in the path's own measure (distance / span), is stepped.
        const std::int64_t edgeX = stepX > 0 ? (cell.column + 1) * kEdge - fromX
                                             : fromX - std::int64_t{cell.column} * kEdge;
        const std::int64_t edgeY =
            stepY > 0 ? (cell.row + 1) * kEdge - fromY : fromY - std::int64_t{cell.row} * kEdge;
        bool moveX = cell.column != last.column;
        bool moveY = cell.row != last.row;
        if (moveX && moveY) {
            const std::int64_t alongX = edgeX * spanY;
            const std::int64_t alongY = edgeY * spanX;
            moveX = alongX <= alongY;
            moveY = alongY <= alongX;
        }
        if (moveX) {
            cell.column += stepX;
        }
        if (moveY) {
            cell.row += stepY;
        }
        cells.push_back(cell);
    }
    return cells;
}

} // namespace korvane
