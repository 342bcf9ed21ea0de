#pragma once

// The drawing control of every dialog: shows the cell grid drawn by its renderer, scrolls
// horizontally, follows the mouse with a selection frame and reports clicks to its owner
// through the notified signal, and when the left button goes down on it and comes up again
// (buttonHeld, buttonFreed). While the left button is held after a press, every further item
// the pointer crosses is reported as a Stroke, the items between two far-apart moves
// included; a right click reports a Pick. It never changes the owner's level data.
//
// The owner's zoom (1 to kMaxZoom) shows every pixel of the drawing as a zoom x zoom block of
// screen pixels, nearest neighbour; everything the control reports is measured on the drawing,
// so clicks, the grid and the selection frame follow the zoom. A canvas that grows across
// shows more columns of its content when its layout gives it more width (never fewer than it
// was set up with); one that also scales with its height draws at the largest whole scale its
// height allows, the zoom being the smallest.

#include "CanvasGeometry.h"
#include "WheelNotches.h"
#include "graphics/CRenderer.h"
#include "graphics/CanvasNotification.h"
#include "graphics/DisplayLayer.h"

#include <QCursor>
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

// What the keyboard does on a canvas that has the focus (Tab gives it to one that takes keys).
enum class CanvasKeys : int {
    None = 0,   // the canvas takes no focus
    Select = 1, // the arrow keys select the next item, as a click on it would
    Cursor = 2, // the arrow keys move a cell cursor; Space clicks the cell under it
};

class CSurfaceWindow : public QWidget {
    Q_OBJECT
public:
    // Attaches the control: creates its first 256 x 32 surface and its clipper. A display
    // failure is reported through the context (which asks the application to quit) and the
    // control then draws nothing.
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

    static constexpr int kMaxZoom = 4;
    // Clamped to 1 .. kMaxZoom; the window takes its new size at once.
    void SetZoom(int zoom);
    int zoom() const { return zoom_; }
    // Screen pixels per drawing pixel: the zoom, or more for a canvas that scales with its
    // height.
    int displayScale() const { return scale_; }
    // More columns as the window grows across: by the extra width its owner gives it
    // (SetExtraWidth) or, with scalesWithHeight, by what its layout gives it, which then also
    // makes the scale larger as it grows in height. Set before SetView.
    void SetGrowsAcross(bool grows, bool scalesWithHeight = false);
    bool growsAcross() const { return growsAcross_; }
    // Screen pixels beyond the set-up width, for a canvas that grows by its owner's word.
    void SetExtraWidth(int pixels);
    int extraWidth() const { return extraWidth_; }
    // The widest the window is of use at the present zoom: all of its content shown.
    int UsefulWidth() const;

    // A horizontal scroll request, as the scroll bar sends it (thumb for ThumbTrack).
    void Scroll(ScrollRequest request, int thumb = 0);
    QScrollBar* scrollBar() const { return scrollBar_; }
    // The drawing area in drawing pixels: the window less the scroll bar when it is shown,
    // divided by the display scale.
    int clientWidth() const;
    int clientHeight() const;

    // The pixels of the last presented frame (the window's screen image).
    const QImage& screenImage() const { return screen_; }
    // False once a display call of this control has failed and been reported.
    bool displayUsable() const { return displayUsable_; }
    // Whether the left button went down on the control and has not come up yet.
    bool buttonDown() const { return buttonDown_; }
    // How the canvas answers keys; a canvas that takes them takes the focus with Tab and shows
    // that it has it with a frame around its drawing.
    void SetKeys(CanvasKeys keys);
    CanvasKeys keys() const { return keys_; }
    // The item the arrow keys start from: the last one clicked, selected or moved to.
    int keyItem() const { return keyItem_; }
    // The item a click at pixel pos of the window would name; -1 beside the content.
    int ItemAtPixel(QPoint pos) const;
    // A window pixel as a pixel of the drawing (divided by the display scale).
    QPoint ToDrawing(QPoint windowPixel) const;

    QSize sizeHint() const override;

signals:
    void notified(const korvane::CanvasNotification& notification);
    // The left button went down on the control (sent before the press acts).
    void buttonHeld();
    // The left button came up again, after the release has acted and been reported; also
    // when the control is hidden or disabled while the button is down.
    void buttonFreed();
    // Ctrl + wheel over the control: steps > 0 asks to zoom in, < 0 to zoom out.
    void zoomRequested(int steps);

protected:
    bool event(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Over a canvas that scrolls, the wheel (either way, Shift + wheel and a horizontal wheel
    // alike) moves the scroll bar: the system's wheel lines per notch, one line step each.
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // The selection frame that followed the pointer goes back to the selected item.
    void leaveEvent(QEvent* event) override;

    // The drawing changed: a frame is drawn once the events now waiting are handled, and only
    // the part of it that differs from the last frame is painted again (the scroll bar below
    // repaints itself when it changes). A paint before then draws the frame itself.
    void UpdateDrawing();
    CanvasMetrics metrics() const;
    // Base-mode pointer tracking: pointer image, selection rectangle, item under the pointer.
    void FollowPointer(QPoint pos);
    // Scroll position 0, scroll bar range and page, window size after new content.
    void SetUpScrolling();
    // The window's size (or, growing across, its least size) for the drawing and scroll bar
    // planned by SetView or SetUpScrolling, at the display scale.
    void ApplyWindowSize();
    // A canvas that grows: the scale and the visible columns for the window's present size.
    void FitViewToWindow();
    void Notify(const CanvasNotification& notification);
    CanvasNotification MakeNotification(CanvasCode code) const;
    void ShowPointer(const QCursor* cursor);
    // Reports a failed display call of this control (ids 0 to 3 at attach).
    bool Check(DisplayCode code, int callId);

    DisplayContext& context_;
    CRenderer renderer_;
    DisplaySurface surface_;
    DisplayClipper clipper_;
    QImage screen_;
    QScrollBar* scrollBar_ = nullptr;
    int controlId_;
    PointerMode pointerMode_ = PointerMode::None;
    int itemUnderPointer_ = 0;
    bool displayUsable_ = true;
    bool painting_ = false;
    bool pointerSet_ = false;
    QCursor paintCursor_;
    QCursor thirdToolCursor_;
    QCursor dropperCursor_;

private:
    void OnScrollAction(int action);
    void FreeButton();
    // A stroke under way: the items crossed from the last pointer position to pos, reported.
    void ContinueStroke(QPoint pos);
    void ReportItem(CanvasCode code, int item);
    void PresentChanges();
    // Draws the frame into the screen image; false when there is no drawing area.
    bool RenderDrawing();
    // The smallest rectangle holding every pixel that differs between two images of one size
    // and format; empty when none does.
    static QRect ChangedArea(const QImage& before, const QImage& after);
    int ItemAtDrawingPixel(QPoint pos) const;
    // The scroll bar's range, page and place for the present view.
    void UpdateScrollBar();

    bool buttonDown_ = false;
    bool stroking_ = false;
    WheelNotches scrollWheel_;
    WheelNotches zoomWheel_; // Ctrl + wheel
    int zoom_ = 1;
    int scale_ = 1;
    bool growsAcross_ = false;
    bool scalesWithHeight_ = false;
    int baseVisibleWidth_ = 0; // window cells, as set up
    int extraWidth_ = 0;
    bool drawingCurrent_ = false; // the screen image shows the renderer's state
    bool presentQueued_ = false;
    // The planned window in drawing pixels, and the scroll bar's height in screen pixels.
    int plannedWidth_ = 0;
    int plannedHeight_ = 0;
    int plannedBar_ = 0;
    CanvasKeys keys_ = CanvasKeys::None;
    int keyItem_ = 0;
    QPoint strokePoint_;
    int strokeItem_ = -1;
};

} // namespace korvane
