#pragma once

// The pixel editor: a small picture of colour numbers shown enlarged, one square cell per pixel
// with a grey line grid, changed with the mouse (paint, dropper, bucket) and by whole-picture
// commands. In tile mode the picture is one 8 x 8 NES tile (16 bytes, 2 bits a pixel) drawn with
// the 4 colours of a palette; in strip mode it is a row of 4 NES colour numbers, each cell drawn
// in its own NES colour. It keeps its own copy of the picture and never changes level data: it
// tells its owner through signals and the owner reads the picture back.

#include "CanvasCursors.h"
#include "PixelPicture.h"
#include "WheelNotches.h"

#include <QCursor>
#include <QRgb>
#include <QWidget>

#include <array>
#include <optional>
#include <span>
#include <vector>

namespace korvane {

enum class PixelDataMode { Tile, Strip };

// What a mouse press does; the values are bits (the pointer is chosen by bit).
enum class PixelTool : int { Paint = 1, Dropper = 2, Bucket = 4 };

inline constexpr int kStripWidth = 4;
inline constexpr int kDefaultPixelCell = 16;
inline constexpr QRgb kPixelGridColour = 0xFFC0C0C0; // RGB(192, 192, 192)

using StripColours = std::array<std::uint8_t, kStripWidth>;

class CPixelEditorControl : public QWidget {
    Q_OBJECT
public:
    // The picture sits inside a sunken frame of this width on every side.
    static constexpr int kFrameWidth = 2;

    // The object name becomes "id" + controlId. Starts in tile mode with no picture: nothing is
    // drawn and presses do nothing until a picture is loaded.
    explicit CPixelEditorControl(int controlId, QWidget* parent = nullptr);

    int controlId() const { return controlId_; }

    // Chooses how the picture is read and written; a change of mode drops the picture.
    void SetDataMode(PixelDataMode mode);
    PixelDataMode dataMode() const { return mode_; }

    // Tile mode: takes a copy of the 16 bytes (8 x 8 pixels) and sizes itself. cellSize 0
    // means the current inner width divided by 8. Loading during a stroke ends the stroke
    // first (StrokeFinished is sent while the old picture is still there).
    void LoadTile(std::span<const std::uint8_t, kTileDataBytes> tile,
                  int cellSize = kDefaultPixelCell);
    // Tile mode: the colour table becomes these 4 NES colours; repaints.
    void SetTileColours(std::span<const std::uint8_t, 4> nesColours);
    // Strip mode: takes a copy of the 4 NES colour numbers (4 x 1 pixels), sizes itself and
    // makes the colour table the 64 NES colours.
    void LoadStrip(std::span<const std::uint8_t, kStripWidth> nesColours,
                   int cellSize = kDefaultPixelCell);
    // The picture in tile form (tile mode) or as 4 bytes (strip mode).
    TileBytes ReadTile() const;
    StripColours ReadStrip() const;
    const PixelPicture& picture() const { return picture_; }
    bool loaded() const { return !picture_.empty(); }

    // The values the left and right buttons paint with; -1 keeps a value.
    void SetColours(int left, int right);
    int leftColour() const { return left_; }
    int rightColour() const { return right_; }
    void SetTool(PixelTool tool);
    PixelTool tool() const { return tool_; }

    // 0 outside the picture.
    int GetPixel(int x, int y) const;
    // Writes the value and repaints that cell only; no signal. Ignored outside the picture.
    void SetPixel(int x, int y, int value);

    // Whole-picture commands: each repaints the control and sends PixelsChanged. The rotations
    // leave a picture that is not square (a strip) as it is, but still notify.
    void Fill(int value);
    void ShiftLeft();
    void ShiftRight();
    void ShiftUp();
    void ShiftDown();
    void MirrorHorizontal();
    void MirrorVertical();
    void RotateClockwise();
    void RotateCounterClockwise();

    // The cells become the loaded cell size times zoom (1 to 4) screen pixels; resizes.
    void SetZoom(int zoom);
    int zoom() const { return zoom_; }
    int cellSize() const { return cell_; }
    const std::vector<QRgb>& colourTable() const { return colours_; }
    // The square of pixel (x, y) in widget coordinates.
    QRect CellRect(int x, int y) const;
    // The pixel under a widget position, clamped to the nearest edge pixel.
    QPoint CellAt(QPointF position) const;
    // The pointer shown over the control for the current tool (none: the pointer is left).
    std::optional<CanvasPointer> pointer() const;
    // Whether a stroke (a press until every button is up again) is going on.
    bool strokeActive() const { return strokeActive_; }

    QSize sizeHint() const override;

signals:
    // The picture changed (or a bucket press found nothing to change); read it back.
    void PixelsChanged();
    // The dropper read a value: button 0 left, 1 right; value is the pixel value (0-255).
    void ColourPicked(int button, int value);
    // A button went down with none held: a stroke begins. Sent before the press acts.
    void StrokeStarted();
    // The last held button came up (or the control was hidden or disabled, or new data was
    // loaded, while buttons were held): the stroke is over. One for every StrokeStarted.
    void StrokeFinished();
    // The first mouse button went down on the control (sent before the press acts; also when
    // there is no picture to paint).
    void ButtonsHeld();
    // The last of them came up again, after the release has acted (and StrokeFinished has been
    // answered); also when the control is hidden or disabled while they are down. A stroke
    // ended early by new data does not free the buttons: they are still down.
    void ButtonsFreed();
    // Ctrl + wheel over the control: steps > 0 asks to zoom in, < 0 to zoom out.
    void zoomRequested(int steps);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    enum Button : int { kLeft = 0, kRight = 1 };

    void Load(PixelPicture picture, int cellSize);
    void SizeToPicture(int cellSize);
    // A value as the picture holds it: 2 bits in tile mode, a byte in strip mode.
    std::uint8_t Normalise(int value) const;
    std::uint8_t ButtonColour(Button button) const;
    void ActOnPress(Button button, QPoint cell);
    void ActOnMove(Button button, QPoint cell);
    void EndStroke();
    void FreeButtons();
    void FinishCommand();
    void UpdateCursor();

    int controlId_;
    PixelDataMode mode_ = PixelDataMode::Tile;
    PixelPicture picture_;
    int cell_ = kDefaultPixelCell;
    int unzoomedCell_ = kDefaultPixelCell;
    int zoom_ = 1;
    WheelNotches zoomWheel_; // Ctrl + wheel
    std::vector<QRgb> colours_;
    int left_ = 0;
    int right_ = 0;
    PixelTool tool_ = PixelTool::Paint;
    bool leftHeld_ = false;
    bool rightHeld_ = false;
    bool strokeActive_ = false;
    Qt::MouseButtons buttonsDown_; // left and right, as the press and release events say
    QCursor paintCursor_;
    QCursor bucketCursor_;
    QCursor dropperCursor_;
};

} // namespace korvane
