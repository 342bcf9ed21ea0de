#pragma once

// The drawing controls of every dialog: CSurfaceWindow shows a layer drawn by the renderer,
// scrolls horizontally, follows the mouse with a selection frame and reports clicks;
// CCanvasControl adds hallway mode (timer 1 every 100 ms animates the palette effects,
// checkpoint labels and enemy markers) and enemy dragging. Neither changes the owner's level
// data: they report through the notified signal and the owner decides.

#include "graphics/CRenderer.h"
#include "graphics/CanvasNotification.h"
#include "graphics/DisplayLayer.h"

#include <QImage>
#include <QScrollBar>
#include <QWidget>

namespace korvane {

enum class PointerMode : int {
    None = 0,      // leaves the pointer alone
    Paint = 1,     // pointer image 132
    Dropper = 2,   // pointer image 134
    Third = 4,     // pointer image 133
    EnemyDrag = 5, // enemy-drag mode
};

class CSurfaceWindow : public QWidget {
    Q_OBJECT
public:
    CSurfaceWindow(DisplayContext& context, int controlId, QWidget* parent = nullptr);
    ~CSurfaceWindow() override;

    int controlId() const { return controlId_; }
    CRenderer& renderer() { return renderer_; }
    const CRenderer& renderer() const { return renderer_; }

    // Set-up, normally once when the owner initialises and again when its data changes.
    void SetView(int columns, int rows, int zoomIn = -1, int zoomOut = -1);
    // level and tiles (4,096 bytes) may be null: that part is kept.
    void SetData(int width, int height, const LevelRecord* level, const std::uint8_t* tiles);
    void SetGrid(bool shown, int colour = -1, int spacing = 0);
    void SetSelectionFrame(bool shown, int size);
    void SelectItem(int item);
    void PlaceFrameAt(int x, int y);
    void SetPointerMode(PointerMode mode);
    PointerMode pointerMode() const { return pointerMode_; }
    int itemUnderPointer() const { return itemUnderPointer_; }
    int scrollPosition() const;

    // The pixels of the last presented frame (the window's screen image).
    const QImage& screenImage() const { return screen_; }

signals:
    void notified(const korvane::CanvasNotification& notification);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

    DisplayContext& context_;
    CRenderer renderer_;
    DisplaySurface surface_;
    DisplayClipper clipper_;
    QImage screen_;
    QScrollBar* scrollBar_ = nullptr;
    int controlId_;
    PointerMode pointerMode_ = PointerMode::None;
    int itemUnderPointer_ = 0;
};

class CCanvasControl : public CSurfaceWindow {
    Q_OBJECT
public:
    CCanvasControl(DisplayContext& context, int controlId, QWidget* parent = nullptr);

    // Hallway mode: shows hallway h of the level (h beyond the count shows hallway 0), starts
    // or restarts timer 1 at 100 ms. level and tiles may be null: that part is kept.
    void SetHallway(int hallway, const LevelRecord* level, const std::uint8_t* tiles);
    void DrawHallway();
    void SetHighlight(int selector);
    void SetShowEnemies(bool shown);
    void SetShowCheckpoints(bool shown);
    void SetSnap(int stepX, int stepY);
    std::uint32_t tickCount() const;
    bool timerRunning() const;
};

} // namespace korvane
