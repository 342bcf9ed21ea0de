#include "CPixelEditorControl.h"

#include "EditorControlIds.h"
#include "graphics/NesColours.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
#include <qdrawutil.h>

#include <algorithm>
#include <cmath>
#include <utility>

namespace korvane {

namespace {

constexpr std::uint8_t kStripValueMask = 0xFF; // a strip pixel is a whole byte
constexpr std::uint8_t kNesColourMask = 0x3F;

QRgb NesRgbValue(std::uint8_t index) {
    const NesRgb& c = NesColourTable[index & kNesColourMask];
    return qRgb(c.red, c.green, c.blue);
}

} // namespace

CPixelEditorControl::CPixelEditorControl(int controlId, QWidget* parent)
    : QWidget(parent), controlId_(controlId),
      paintCursor_(CanvasCursors::Cursor(CanvasPointer::Paint)),
      bucketCursor_(CanvasCursors::Cursor(CanvasPointer::ThirdTool)),
      dropperCursor_(CanvasCursors::Cursor(CanvasPointer::Dropper)) {
    setObjectName(ids::ControlObjectName(controlId));
    // Every paint covers the whole control: frame and cells.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    UpdateCursor();
}

void CPixelEditorControl::SetDataMode(PixelDataMode mode) {
    if (mode == mode_) {
        return;
    }
    EndStroke();
    mode_ = mode;
    picture_ = PixelPicture();
    update();
}

void CPixelEditorControl::LoadTile(std::span<const std::uint8_t, kTileDataBytes> tile,
                                   int cellSize) {
    EndStroke();
    mode_ = PixelDataMode::Tile;
    Load(PixelPicture::FromTile(tile), cellSize);
}

void CPixelEditorControl::SetTileColours(std::span<const std::uint8_t, 4> nesColours) {
    colours_.clear();
    for (const std::uint8_t colour : nesColours) {
        colours_.push_back(NesRgbValue(colour));
    }
    update();
}

void CPixelEditorControl::LoadStrip(std::span<const std::uint8_t, kStripWidth> nesColours,
                                    int cellSize) {
    EndStroke();
    mode_ = PixelDataMode::Strip;
    PixelPicture strip(kStripWidth, 1);
    for (int x = 0; x < kStripWidth; ++x) {
        strip.Set(x, 0, nesColours[static_cast<std::size_t>(x)]);
    }
    colours_.clear();
    for (int index = 0; index <= kNesColourMask; ++index) {
        colours_.push_back(NesRgbValue(static_cast<std::uint8_t>(index)));
    }
    Load(std::move(strip), cellSize);
}

void CPixelEditorControl::Load(PixelPicture picture, int cellSize) {
    picture_ = std::move(picture);
    SizeToPicture(cellSize);
    update();
}

void CPixelEditorControl::SizeToPicture(int cellSize) {
    if (cellSize > 0) {
        unzoomedCell_ = cellSize;
    } else {
        unzoomedCell_ = std::max(1, (width() - 2 * kFrameWidth) / std::max(1, picture_.width()) /
                                        std::max(1, zoom_));
    }
    cell_ = unzoomedCell_ * zoom_;
    setFixedSize(picture_.width() * cell_ + 2 * kFrameWidth,
                 picture_.height() * cell_ + 2 * kFrameWidth);
}

void CPixelEditorControl::SetZoom(int zoom) {
    zoom_ = std::clamp(zoom, 1, 4);
    SizeToPicture(unzoomedCell_);
    update();
}

void CPixelEditorControl::wheelEvent(QWheelEvent* event) {
    if (!event->modifiers().testFlag(Qt::ControlModifier)) {
        QWidget::wheelEvent(event);
        return;
    }
    const int steps = zoomWheel_.Add(event->angleDelta().y());
    if (steps != 0) {
        emit zoomRequested(steps);
    }
    event->accept();
}

TileBytes CPixelEditorControl::ReadTile() const {
    return mode_ == PixelDataMode::Tile ? picture_.ToTile() : TileBytes{};
}

StripColours CPixelEditorControl::ReadStrip() const {
    StripColours strip{};
    if (mode_ == PixelDataMode::Strip) {
        for (int x = 0; x < kStripWidth; ++x) {
            strip[static_cast<std::size_t>(x)] = picture_.Get(x, 0);
        }
    }
    return strip;
}

std::uint8_t CPixelEditorControl::Normalise(int value) const {
    const unsigned mask = mode_ == PixelDataMode::Tile ? kTilePixelMask : kStripValueMask;
    return static_cast<std::uint8_t>(static_cast<unsigned>(value) & mask);
}

void CPixelEditorControl::SetColours(int left, int right) {
    if (left != -1) {
        left_ = left & 0xFF;
    }
    if (right != -1) {
        right_ = right & 0xFF;
    }
}

void CPixelEditorControl::SetTool(PixelTool tool) {
    tool_ = tool;
    UpdateCursor();
}

int CPixelEditorControl::GetPixel(int x, int y) const {
    return picture_.Get(x, y);
}

void CPixelEditorControl::SetPixel(int x, int y, int value) {
    if (!picture_.Contains(x, y)) {
        return;
    }
    picture_.Set(x, y, Normalise(value));
    update(CellRect(x, y));
}

void CPixelEditorControl::FinishCommand() {
    update();
    emit PixelsChanged();
}

void CPixelEditorControl::Fill(int value) {
    picture_.Fill(Normalise(value));
    FinishCommand();
}

void CPixelEditorControl::ShiftLeft() {
    picture_.ShiftLeft();
    FinishCommand();
}

void CPixelEditorControl::ShiftRight() {
    picture_.ShiftRight();
    FinishCommand();
}

void CPixelEditorControl::ShiftUp() {
    picture_.ShiftUp();
    FinishCommand();
}

void CPixelEditorControl::ShiftDown() {
    picture_.ShiftDown();
    FinishCommand();
}

void CPixelEditorControl::MirrorHorizontal() {
    picture_.MirrorHorizontal();
    FinishCommand();
}

void CPixelEditorControl::MirrorVertical() {
    picture_.MirrorVertical();
    FinishCommand();
}

void CPixelEditorControl::RotateClockwise() {
    picture_.RotateClockwise();
    FinishCommand();
}

void CPixelEditorControl::RotateCounterClockwise() {
    picture_.RotateCounterClockwise();
    FinishCommand();
}

QRect CPixelEditorControl::CellRect(int x, int y) const {
    return {kFrameWidth + x * cell_, kFrameWidth + y * cell_, cell_, cell_};
}

QPoint CPixelEditorControl::CellAt(QPointF position) const {
    // Floor, not truncation, so that positions left of or above the picture count as outside.
    const int column = static_cast<int>(std::floor((position.x() - kFrameWidth) / cell_));
    const int row = static_cast<int>(std::floor((position.y() - kFrameWidth) / cell_));
    return {std::clamp(column, 0, std::max(0, picture_.width() - 1)),
            std::clamp(row, 0, std::max(0, picture_.height() - 1))};
}

std::optional<CanvasPointer> CPixelEditorControl::pointer() const {
    const int bits = static_cast<int>(tool_);
    if ((bits & static_cast<int>(PixelTool::Paint)) != 0) {
        return CanvasPointer::Paint;
    }
    if ((bits & static_cast<int>(PixelTool::Bucket)) != 0) {
        return CanvasPointer::ThirdTool;
    }
    if ((bits & static_cast<int>(PixelTool::Dropper)) != 0) {
        return CanvasPointer::Dropper;
    }
    return std::nullopt;
}

void CPixelEditorControl::UpdateCursor() {
    const std::optional<CanvasPointer> shown = pointer();
    if (!shown) {
        unsetCursor();
    } else if (*shown == CanvasPointer::Paint) {
        setCursor(paintCursor_);
    } else if (*shown == CanvasPointer::ThirdTool) {
        setCursor(bucketCursor_);
    } else {
        setCursor(dropperCursor_);
    }
}

QSize CPixelEditorControl::sizeHint() const {
    return {picture_.width() * cell_ + 2 * kFrameWidth,
            picture_.height() * cell_ + 2 * kFrameWidth};
}

std::uint8_t CPixelEditorControl::ButtonColour(Button button) const {
    return Normalise(button == kLeft ? left_ : right_);
}

void CPixelEditorControl::mousePressEvent(QMouseEvent* event) {
    Button button = kLeft;
    if (event->button() == Qt::LeftButton) {
        button = kLeft;
    } else if (event->button() == Qt::RightButton) {
        button = kRight;
    } else {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    if (!loaded()) {
        return;
    }
    (button == kLeft ? leftHeld_ : rightHeld_) = true;
    if (!strokeActive_) {
        strokeActive_ = true;
        emit StrokeStarted();
    }
    ActOnPress(button, CellAt(event->position()));
}

void CPixelEditorControl::ActOnPress(Button button, QPoint cell) {
    const std::uint8_t colour = ButtonColour(button);
    switch (tool_) {
    case PixelTool::Paint:
        picture_.Set(cell.x(), cell.y(), colour);
        update(CellRect(cell.x(), cell.y()));
        emit PixelsChanged();
        break;
    case PixelTool::Dropper:
        emit ColourPicked(button, picture_.Get(cell.x(), cell.y()));
        break;
    case PixelTool::Bucket:
        // A fill that finds the colour already there changes nothing but still notifies.
        if (picture_.FloodFill(cell.x(), cell.y(), colour) > 0) {
            update();
        }
        emit PixelsChanged();
        break;
    }
}

void CPixelEditorControl::mouseMoveEvent(QMouseEvent* event) {
    if (!loaded()) {
        return;
    }
    // Both buttons held: the left one acts.
    if (leftHeld_) {
        ActOnMove(kLeft, CellAt(event->position()));
    } else if (rightHeld_) {
        ActOnMove(kRight, CellAt(event->position()));
    }
}

void CPixelEditorControl::ActOnMove(Button button, QPoint cell) {
    switch (tool_) {
    case PixelTool::Paint: {
        const std::uint8_t colour = ButtonColour(button);
        if (picture_.Get(cell.x(), cell.y()) != colour) {
            picture_.Set(cell.x(), cell.y(), colour);
            update(CellRect(cell.x(), cell.y()));
            emit PixelsChanged();
        }
        break;
    }
    case PixelTool::Dropper:
        emit ColourPicked(button, picture_.Get(cell.x(), cell.y()));
        break;
    case PixelTool::Bucket:
        break;
    }
}

void CPixelEditorControl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        leftHeld_ = false;
    } else if (event->button() == Qt::RightButton) {
        rightHeld_ = false;
    } else {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    if (!leftHeld_ && !rightHeld_ && strokeActive_) {
        strokeActive_ = false;
        emit StrokeFinished();
    }
}

void CPixelEditorControl::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click is not a press: the first one has acted already.
    event->accept();
}

void CPixelEditorControl::EndStroke() {
    leftHeld_ = false;
    rightHeld_ = false;
    if (strokeActive_) {
        strokeActive_ = false;
        emit StrokeFinished();
    }
}

bool CPixelEditorControl::event(QEvent* event) {
    constexpr Qt::MouseButtons kTracked = Qt::LeftButton | Qt::RightButton;
    const bool press = event->type() == QEvent::MouseButtonPress;
    const bool release = event->type() == QEvent::MouseButtonRelease;
    const Qt::MouseButton button =
        press || release ? static_cast<QMouseEvent*>(event)->button() : Qt::NoButton;
    // A double click stands for a second press but starts nothing a release ends.
    if (press && kTracked.testFlag(button)) {
        const bool first = buttonsDown_ == Qt::NoButton;
        buttonsDown_ |= button;
        if (first) {
            emit ButtonsHeld();
        }
    }
    const bool handled = QWidget::event(event);
    if (release && buttonsDown_.testFlag(button)) {
        buttonsDown_ &= ~Qt::MouseButtons(button);
        if (buttonsDown_ == Qt::NoButton) {
            emit ButtonsFreed();
        }
    }
    return handled;
}

void CPixelEditorControl::FreeButtons() {
    if (buttonsDown_ != Qt::NoButton) {
        buttonsDown_ = Qt::NoButton;
        emit ButtonsFreed();
    }
}

void CPixelEditorControl::hideEvent(QHideEvent* event) {
    EndStroke();
    FreeButtons();
    QWidget::hideEvent(event);
}

void CPixelEditorControl::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        EndStroke();
        FreeButtons();
    }
    QWidget::changeEvent(event);
}

void CPixelEditorControl::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    qDrawWinPanel(&painter, rect(), palette(), true);
    const QRect inner = rect().adjusted(kFrameWidth, kFrameWidth, -kFrameWidth, -kFrameWidth);
    if (!loaded()) {
        painter.fillRect(inner, palette().button());
        return;
    }
    // Only the cells inside the area to repaint.
    const QRect dirty = event->rect().intersected(inner);
    if (dirty.isEmpty()) {
        return;
    }
    const int w = picture_.width();
    const int h = picture_.height();
    const int firstColumn = std::clamp((dirty.left() - kFrameWidth) / cell_, 0, w - 1);
    const int lastColumn = std::clamp((dirty.right() - kFrameWidth) / cell_, 0, w - 1);
    const int firstRow = std::clamp((dirty.top() - kFrameWidth) / cell_, 0, h - 1);
    const int lastRow = std::clamp((dirty.bottom() - kFrameWidth) / cell_, 0, h - 1);
    for (int y = firstRow; y <= lastRow; ++y) {
        for (int x = firstColumn; x <= lastColumn; ++x) {
            // Strip values are NES colour numbers; the table holds the 64 of them.
            std::size_t entry = picture_.Get(x, y);
            if (mode_ == PixelDataMode::Strip) {
                entry &= kNesColourMask;
            }
            const QRgb colour = entry < colours_.size() ? colours_[entry] : qRgb(0, 0, 0);
            painter.fillRect(CellRect(x, y), QColor(colour));
        }
    }
    // The grid: a line along the top and the left of every cell; the frame closes the last.
    painter.setPen(QPen(QColor(kPixelGridColour), 0));
    painter.translate(kFrameWidth, kFrameWidth);
    for (int y = 0; y < h; ++y) {
        painter.drawLine(0, y * cell_, w * cell_ - 1, y * cell_);
    }
    for (int x = 0; x < w; ++x) {
        painter.drawLine(x * cell_, 0, x * cell_, h * cell_ - 1);
    }
}

} // namespace korvane
