#pragma once

// The drawing controls of every dialog: CSurfaceWindow shows a layer drawn by the renderer,
// scrolls horizontally, follows the mouse with a selection frame and reports clicks;
// CCanvasControl adds hallway mode (timer 1 every 100 ms animates the palette effects,
// checkpoint labels and enemy markers) and enemy dragging. Neither changes the owner's level
// data: they report through the notified signal and the owner decides.

#include "CSurfaceWindow.h"

#include <QBasicTimer>

#include <cstdint>

namespace korvane {

class CCanvasControl : public CSurfaceWindow {
    Q_OBJECT
public:
    // The period of the palette animation.
    static constexpr int kAnimationIntervalMs = 100;

    CCanvasControl(DisplayContext& context, int controlId, QWidget* parent = nullptr);

    // Hallway mode: shows hallway h of the level (h beyond the count shows hallway 0), starts
    // or restarts timer 1 at 100 ms. level and tiles may be null: that part is kept. An enemy
    // drag under way ends without a report.
    void SetHallway(int hallway, const LevelRecord* level, const std::uint8_t* tiles);
    void DrawHallway();
    void SetHighlight(int selector);
    void SetShowEnemies(bool shown);
    void SetShowCheckpoints(bool shown);
    // The enemy drag steps in pixels (both start at 1).
    void SetSnap(int stepX, int stepY);
    std::uint32_t tickCount() const;
    bool timerRunning() const;
    // The id of the animation timer's events (0 while it is not running).
    int animationTimerId() const { return animationTimer_.timerId(); }

    // Layer selectors and layer routines; each routine repaints the canvas.
    void SetPalettePage(int page);
    void SetTilePalette(int palette);
    void SetCurrentHallway(int hallway);
    void SetCurrentRoom(int room);
    void SetCurrentAssembly(int assembly);
    void SetCurrentBlock(int block);
    void DrawAllTiles();
    void DrawBlock();
    void DrawAllBlocks();
    void DrawAssembly();
    void DrawAllAssemblies();
    void DrawRoom();
    void DrawAllRooms();

    // Enemy dragging: active with pointer mode 5 while enemies are shown.
    bool enemyDragActive() const;
    bool dragging() const { return dragging_; }
    int selectedEnemy() const { return selectedEnemy_; }
    int snapX() const { return snapX_; }
    int snapY() const { return snapY_; }

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void PressOnEnemy(QPoint pos, bool doubleClick);
    void DragEnemy(QPoint pos);
    void ReleaseEnemy();
    // Applies the drag record to a scratch copy of the canvas's data and keeps the result;
    // false when the dragged placement cannot be found again.
    bool ApplyDrag();
    CanvasNotification EnemyNotification(CanvasCode code) const;
    // The mouse position kept inside the drawn part of the canvas.
    QPoint ClampToContent(QPoint pos) const;

    QBasicTimer animationTimer_;
    QCursor enemyCursor_;
    int selectedEnemy_ = kNoEnemy;
    std::uint32_t grabbedRecord_ = 0;
    std::uint32_t dragRecord_ = 0;
    bool dragging_ = false;
    int grabOffsetX_ = 0;
    int grabOffsetY_ = 0;
    int snapX_ = 1;
    int snapY_ = 1;
};

} // namespace korvane
