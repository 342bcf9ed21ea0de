#include "CCanvasControl.h"

#include "CanvasCursors.h"

#include <QMouseEvent>
#include <QTimerEvent>

#include <algorithm>

namespace korvane {

namespace {
constexpr int kCellPixels = 8;
}

CCanvasControl::CCanvasControl(DisplayContext& context, int controlId, QWidget* parent)
    : CSurfaceWindow(context, controlId, parent),
      enemyCursor_(CanvasCursors::Cursor(CanvasPointer::EnemyGrab)) {}

// Hallway mode.

void CCanvasControl::SetHallway(int hallway, const LevelRecord* level, const std::uint8_t* tiles) {
    // A drag under way belongs to the placements it was started on: new data ends it unreported,
    // or its release would write the dragged record over whatever now holds its index.
    dragging_ = false;
    renderer_.SetHallway(hallway, level, tiles);
    SetUpScrolling();
    // Restarting re-arms the same animation; the tick counter keeps counting.
    animationTimer_.start(kAnimationIntervalMs, this);
    UpdateDrawing();
}

void CCanvasControl::DrawHallway() {
    renderer_.DrawHallway();
    UpdateDrawing();
}

void CCanvasControl::timerEvent(QTimerEvent* event) {
    if (event->timerId() != animationTimer_.timerId() || !animationTimer_.isActive()) {
        CSurfaceWindow::timerEvent(event);
        return;
    }
    renderer_.AnimationTick();
    UpdateDrawing();
}

std::uint32_t CCanvasControl::tickCount() const {
    return renderer_.hallway().tick;
}

bool CCanvasControl::timerRunning() const {
    return animationTimer_.isActive();
}

void CCanvasControl::SetShowEnemies(bool shown) {
    renderer_.hallway().showEnemies = shown;
    UpdateDrawing();
}

void CCanvasControl::SetShowCheckpoints(bool shown) {
    renderer_.hallway().showCheckpoints = shown;
    UpdateDrawing();
}

void CCanvasControl::SetSnap(int stepX, int stepY) {
    snapX_ = std::max(1, stepX);
    snapY_ = std::max(1, stepY);
}

// Layer selectors and routines.

void CCanvasControl::SetHighlight(int selector) {
    renderer_.SetHighlight(selector);
}
void CCanvasControl::SetPalettePage(int page) {
    renderer_.SetPalettePage(page);
}
void CCanvasControl::SetTilePalette(int palette) {
    renderer_.SetTilePalette(palette);
}
void CCanvasControl::SetCurrentHallway(int hallway) {
    renderer_.SetCurrentHallway(hallway);
}
void CCanvasControl::SetCurrentRoom(int room) {
    renderer_.SetCurrentRoom(room);
}
void CCanvasControl::SetCurrentAssembly(int assembly) {
    renderer_.SetCurrentAssembly(assembly);
}
void CCanvasControl::SetCurrentBlock(int block) {
    renderer_.SetCurrentBlock(block);
}

void CCanvasControl::DrawAllTiles() {
    renderer_.DrawAllTiles();
    UpdateDrawing();
}

void CCanvasControl::DrawBlock() {
    renderer_.DrawBlock();
    UpdateDrawing();
}

void CCanvasControl::DrawAllBlocks() {
    renderer_.DrawAllBlocks();
    UpdateDrawing();
}

void CCanvasControl::DrawAssembly() {
    renderer_.DrawAssembly();
    UpdateDrawing();
}

void CCanvasControl::DrawAllAssemblies() {
    renderer_.DrawAllAssemblies();
    UpdateDrawing();
}

void CCanvasControl::DrawRoom() {
    renderer_.DrawRoom();
    UpdateDrawing();
}

void CCanvasControl::DrawAllRooms() {
    renderer_.DrawAllRooms();
    UpdateDrawing();
}

// Enemy dragging.

bool CCanvasControl::enemyDragActive() const {
    return pointerMode_ == PointerMode::EnemyDrag && renderer_.hallway().showEnemies;
}

void CCanvasControl::mouseMoveEvent(QMouseEvent* event) {
    if (!enemyDragActive()) {
        CSurfaceWindow::mouseMoveEvent(event);
        return;
    }
    DragEnemy(ToDrawing(event->position().toPoint()));
}

void CCanvasControl::mousePressEvent(QMouseEvent* event) {
    if (!enemyDragActive() || event->button() != Qt::LeftButton) {
        CSurfaceWindow::mousePressEvent(event);
        return;
    }
    PressOnEnemy(ToDrawing(event->position().toPoint()), false);
}

void CCanvasControl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!enemyDragActive() || event->button() != Qt::LeftButton) {
        CSurfaceWindow::mouseDoubleClickEvent(event);
        return;
    }
    PressOnEnemy(ToDrawing(event->position().toPoint()), true);
}

void CCanvasControl::mouseReleaseEvent(QMouseEvent* event) {
    if (!enemyDragActive() || event->button() != Qt::LeftButton) {
        CSurfaceWindow::mouseReleaseEvent(event);
        return;
    }
    ReleaseEnemy();
}

QPoint CCanvasControl::ClampToContent(QPoint pos) const {
    const CanvasViewState& view = renderer_.view();
    const int drawnWidth = kCellPixels * std::min(renderer_.gridWidth(), view.visibleWidth);
    const int drawnHeight = kCellPixels * std::min(renderer_.gridHeight(), view.visibleHeight);
    const int right = std::max(0, std::min(drawnWidth, clientWidth()) - 1);
    const int bottom = std::max(0, std::min(drawnHeight, clientHeight()) - 1);
    return {std::clamp(pos.x(), 0, right), std::clamp(pos.y(), 0, bottom)};
}

CanvasNotification CCanvasControl::EnemyNotification(CanvasCode code) const {
    CanvasNotification n = MakeNotification(code);
    const EnemyPlacement& enemy =
        renderer_.levelData().enemies[static_cast<std::size_t>(selectedEnemy_)];
    n.itemUnderPointer = selectedEnemy_;
    n.item = selectedEnemy_;
    n.firstValue = enemy.roomPosition;
    n.secondValue = enemy.x;
    n.thirdValue = enemy.y;
    n.enemyId = enemy.enemyId;
    return n;
}

void CCanvasControl::PressOnEnemy(QPoint pos, bool doubleClick) {
    dragging_ = false;
    const LevelRecord& level = renderer_.levelData();
    const int hallway = renderer_.currentHallway();
    const int scroll = renderer_.view().scroll;
    const int hit = EnemyAt(level, hallway, scroll, pos.x(), pos.y());
    if (hit == kNoEnemy) {
        return;
    }
    const EnemyPlacement& enemy = level.enemies[static_cast<std::size_t>(hit)];
    dragging_ = true;
    selectedEnemy_ = hit;
    grabbedRecord_ = enemy.Packed();
    dragRecord_ = grabbedRecord_;
    const ScreenPoint marker = EnemyScreenPosition(enemy, HallwayFirstRoom(level, hallway), scroll);
    SelectionFrameState& frame = renderer_.frame();
    frame.x = marker.x;
    frame.y = marker.y;
    grabOffsetX_ = PositiveModulo(marker.x, snapX_);
    grabOffsetY_ = PositiveModulo(marker.y, snapY_);
    UpdateDrawing();
    if (doubleClick) {
        dragging_ = false;
    }
    Notify(EnemyNotification(doubleClick ? CanvasCode::EnemyDoubleClick : CanvasCode::Click));
}

void CCanvasControl::DragEnemy(QPoint pos) {
    const CanvasViewState& view = renderer_.view();
    SelectionFrameState& frame = renderer_.frame();
    const int scroll = view.scroll;
    // While dragging, the pointer may leave the control; the placement stays inside it.
    const QPoint inside = dragging_ ? ClampToContent(pos) : pos;
    int sx = inside.x();
    int sy = inside.y();
    if (frame.shown) {
        const int zoomOut = std::max(1, view.zoomOut);
        sx = SnapDragX(scroll, inside.x(), snapX_ * view.zoomIn / zoomOut, grabOffsetX_);
        sy = SnapDragY(inside.y(), snapY_ * view.zoomIn / zoomOut, grabOffsetY_);
        frame.firstColumn = sx;
        frame.lastColumn = sx + frame.size - 1;
        frame.firstRow = sy;
        frame.lastRow = sy + frame.size - 1;
    } else {
        frame.firstColumn = frame.lastColumn = frame.firstRow = frame.lastRow = -1;
    }
    const int hallway = renderer_.currentHallway();
    const bool overEnemy =
        EnemyAt(renderer_.levelData(), hallway, scroll, pos.x(), pos.y()) != kNoEnemy;
    ShowPointer(overEnemy ? &enemyCursor_ : nullptr);
    if (!dragging_) {
        UpdateDrawing();
        return;
    }
    const std::uint8_t enemyId = EnemyPlacement::FromPacked(dragRecord_).enemyId;
    dragRecord_ =
        DraggedPlacement(renderer_.levelData(), hallway, scroll, sx, sy, enemyId).Packed();
    if (!ApplyDrag()) {
        dragging_ = false;
        return;
    }
    frame.x = frame.firstColumn;
    frame.y = frame.firstRow;
    UpdateDrawing();
}

bool CCanvasControl::ApplyDrag() {
    LevelRecord scratch = renderer_.levelData();
    if (selectedEnemy_ < 0 || selectedEnemy_ >= scratch.enemyCount) {
        return false;
    }
    scratch.SetEnemy(selectedEnemy_, dragRecord_);
    const int found = scratch.FindEnemy(dragRecord_);
    if (found < 0) {
        return false;
    }
    renderer_.levelData() = scratch;
    selectedEnemy_ = found;
    return true;
}

void CCanvasControl::ReleaseEnemy() {
    if (!dragging_) {
        return;
    }
    dragging_ = false;
    if (!ApplyDrag()) {
        return;
    }
    UpdateDrawing();
    Notify(EnemyNotification(CanvasCode::EnemyDragEnded));
}

} // namespace korvane
