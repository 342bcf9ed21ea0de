#include "CSurfaceWindow.h"

#include "CanvasCursors.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>

namespace korvane {

namespace {

constexpr int kCellPixels = 8;
constexpr int kScrollBarHeight = 2 * kCellPixels; // the two extra cells below the content
constexpr int kFirstSurfaceWidth = 256;
constexpr int kFirstSurfaceHeight = 32;

} // namespace

CSurfaceWindow::CSurfaceWindow(DisplayContext& context, int controlId, QWidget* parent)
    : QWidget(parent), context_(context), controlId_(controlId),
      paintCursor_(CanvasCursors::Cursor(CanvasPointer::Paint)),
      thirdToolCursor_(CanvasCursors::Cursor(CanvasPointer::ThirdTool)),
      dropperCursor_(CanvasCursors::Cursor(CanvasPointer::Dropper)) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);

    scrollBar_ = new QScrollBar(Qt::Horizontal, this);
    scrollBar_->setRange(0, 0);
    scrollBar_->hide();
    connect(scrollBar_, &QAbstractSlider::actionTriggered, this, &CSurfaceWindow::OnScrollAction);
    // Layer routines and SelectItem called on the renderer directly repaint the canvas too.
    renderer_.SetInvalidateCallback([this] { UpdateDrawing(); });

    // Attaching the control: the first surface, the clipper, and the surface's pixel format.
    int bitsPerPixel = 0;
    Check(surface_.Create(context_, kFirstSurfaceWidth, kFirstSurfaceHeight,
                          callid::kCreateFirstSurface),
          callid::kCreateFirstSurface) &&
        Check(context_.CreateClipper(clipper_, callid::kCreateClipper), callid::kCreateClipper) &&
        Check(surface_.SetClipper(&clipper_, callid::kAttachFirstClipper),
              callid::kAttachFirstClipper) &&
        Check(surface_.GetPixelFormat(bitsPerPixel, callid::kFirstPixelFormat),
              callid::kFirstPixelFormat);
}

CSurfaceWindow::~CSurfaceWindow() {
    // Clipper first, then the surface; nothing is reported while the window goes away.
    if (surface_.created()) {
        surface_.SetClipper(nullptr, callid::kDetachClipper);
        surface_.Release();
    }
}

bool CSurfaceWindow::Check(DisplayCode code, int callId) {
    if (code == kDisplayOk) {
        return true;
    }
    displayUsable_ = false;
    context_.ReportDisplayError(code, callId);
    return false;
}

CanvasMetrics CSurfaceWindow::metrics() const {
    const CanvasViewState& view = renderer_.view();
    CanvasMetrics m;
    m.gridWidth = renderer_.gridWidth();
    m.gridHeight = renderer_.gridHeight();
    m.visibleWidth = view.visibleWidth;
    m.visibleHeight = view.visibleHeight;
    m.zoomIn = view.zoomIn;
    m.zoomOut = view.zoomOut;
    m.scroll = view.scroll;
    return m;
}

int CSurfaceWindow::scrollPosition() const {
    return renderer_.view().scroll;
}

void CSurfaceWindow::SetData(int width, int height, const LevelRecord* level,
                             const std::uint8_t* tiles) {
    if (level != nullptr) {
        renderer_.SetLevelData(*level);
    }
    if (width > 0 && height > 0) {
        renderer_.SetGridSize(width, height);
    }
    if (tiles != nullptr) {
        renderer_.SetTilePatterns(
            std::span<const std::uint8_t, kTileBytes>(tiles, static_cast<std::size_t>(kTileBytes)));
    }
    renderer_.SetPalettePage(0);
    SetUpScrolling();
    UpdateDrawing();
}

void CSurfaceWindow::wheelEvent(QWheelEvent* event) {
    if (event->modifiers().testFlag(Qt::ControlModifier)) {
        const QPoint turned = event->angleDelta();
        const int steps = zoomWheel_.Add(turned.y() != 0 ? turned.y() : turned.x());
        if (steps != 0) {
            emit zoomRequested(steps);
        }
        event->accept();
        return;
    }
    if (scrollBar_->isHidden() || !scrollBar_->isEnabled()) {
        QWidget::wheelEvent(event);
        return;
    }
    // The canvases scroll only across: a horizontal wheel, and otherwise the vertical one.
    const QPoint angle = event->angleDelta();
    const int notches = scrollWheel_.Add(angle.x() != 0 ? angle.x() : angle.y());
    // Turned away from the user (a positive angle) goes back towards the start.
    const ScrollRequest request = notches > 0 ? ScrollRequest::LineLeft : ScrollRequest::LineRight;
    const int lines = std::abs(notches) * std::max(1, QApplication::wheelScrollLines());
    for (int line = 0; line < lines; ++line) {
        Scroll(request);
    }
    event->accept();
}

void CSurfaceWindow::SetKeys(CanvasKeys keys) {
    keys_ = keys;
    setFocusPolicy(keys == CanvasKeys::None ? Qt::NoFocus : Qt::TabFocus);
}

void CSurfaceWindow::keyPressEvent(QKeyEvent* event) {
    if (keys_ == CanvasKeys::None || event->modifiers() != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    const int size = std::max(renderer_.frame().size, 1);
    const int perRow = std::max(renderer_.gridWidth() / size, 1);
    const int rows = std::max(renderer_.gridHeight() / size, 1);
    int column = keyItem_ % perRow;
    int row = keyItem_ / perRow;
    switch (event->key()) {
    case Qt::Key_Left:
        column = std::max(0, column - 1);
        break;
    case Qt::Key_Right:
        column = std::min(perRow - 1, column + 1);
        break;
    case Qt::Key_Up:
        row = std::max(0, row - 1);
        break;
    case Qt::Key_Down:
        row = std::min(rows - 1, row + 1);
        break;
    case Qt::Key_Space:
        if (keys_ == CanvasKeys::Cursor) {
            ReportItem(CanvasCode::Click, keyItem_);
            return;
        }
        QWidget::keyPressEvent(event);
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    const int item = row * perRow + column;
    SelectItem(item);
    if (keys_ == CanvasKeys::Select) {
        ReportItem(CanvasCode::Click, item);
    }
}

void CSurfaceWindow::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void CSurfaceWindow::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void CSurfaceWindow::leaveEvent(QEvent* event) {
    SelectionFrameState& frame = renderer_.frame();
    if (frame.shown && pointerMode_ != PointerMode::EnemyDrag && frame.x >= 0 && frame.y >= 0) {
        frame.firstColumn = frame.x;
        frame.lastColumn = frame.x + frame.size - 1;
        frame.firstRow = frame.y;
        frame.lastRow = frame.y + frame.size - 1;
        UpdateDrawing();
    }
    QWidget::leaveEvent(event);
}

void CSurfaceWindow::SetGrid(bool shown, int colour, int spacing) {
    GridState& grid = renderer_.grid();
    grid.shown = shown;
    if (colour != -1) {
        grid.colour = static_cast<std::uint32_t>(colour);
    }
    if (spacing != 0) {
        const CanvasViewState& view = renderer_.view();
        grid.spacing = spacing * view.zoomIn / std::max(1, view.zoomOut);
    }
    UpdateDrawing();
}

void CSurfaceWindow::SetSelectionFrame(bool shown, int size) {
    SelectionFrameState& frame = renderer_.frame();
    frame.shown = shown;
    frame.size = std::max(1, size);
    if (!shown) {
        frame.firstColumn = frame.lastColumn = frame.firstRow = frame.lastRow = -1;
        frame.x = frame.y = -1;
    }
    UpdateDrawing();
}

void CSurfaceWindow::SelectItem(int item) {
    keyItem_ = item;
    renderer_.SelectItem(item);
    UpdateDrawing();
}

void CSurfaceWindow::PlaceFrameAt(int x, int y) {
    SelectionFrameState& frame = renderer_.frame();
    if (!frame.shown) {
        frame.firstColumn = frame.lastColumn = frame.firstRow = frame.lastRow = -1;
    } else {
        const CanvasViewState& view = renderer_.view();
        const int column = ((x - kCellPixels * view.scroll) / view.zoomIn) * view.zoomOut;
        const int row = (y / view.zoomIn) * view.zoomOut;
        frame.x = column;
        frame.y = row;
        frame.firstColumn = column;
        frame.lastColumn = column + frame.size - 1;
        frame.firstRow = row;
        frame.lastRow = row + frame.size - 1;
    }
    UpdateDrawing();
}

void CSurfaceWindow::SetPointerMode(PointerMode mode) {
    SelectionFrameState& frame = renderer_.frame();
    if (mode == PointerMode::EnemyDrag) {
        frame.unit = 8; // enemy positions are pixels
    } else if (pointerMode_ == PointerMode::EnemyDrag) {
        frame.unit = 1;
    }
    pointerMode_ = mode;
    renderer_.hallway().enemyDragMode = mode == PointerMode::EnemyDrag;
    ShowPointer(nullptr);
}

void CSurfaceWindow::ShowPointer(const QCursor* cursor) {
    if (cursor == nullptr) {
        if (pointerSet_) {
            unsetCursor();
            pointerSet_ = false;
        }
        return;
    }
    setCursor(*cursor);
    pointerSet_ = true;
}

void CSurfaceWindow::Scroll(ScrollRequest request, int thumb) {
    SelectionFrameState& frame = renderer_.frame();
    const ScrollOutcome outcome = ApplyScroll(metrics(), clientWidth(), request, thumb, frame.unit);
    if (outcome.changed) {
        renderer_.view().scroll = outcome.scroll;
        frame.x += outcome.frameShift;
        UpdateDrawing();
    }
    scrollBar_->setValue(renderer_.view().scroll);
}

void CSurfaceWindow::OnScrollAction(int action) {
    ScrollRequest request = ScrollRequest::EndScroll;
    switch (static_cast<QAbstractSlider::SliderAction>(action)) {
    case QAbstractSlider::SliderSingleStepAdd:
        request = ScrollRequest::LineRight;
        break;
    case QAbstractSlider::SliderSingleStepSub:
        request = ScrollRequest::LineLeft;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        request = ScrollRequest::PageRight;
        break;
    case QAbstractSlider::SliderPageStepSub:
        request = ScrollRequest::PageLeft;
        break;
    case QAbstractSlider::SliderToMinimum:
        request = ScrollRequest::Top;
        break;
    case QAbstractSlider::SliderToMaximum:
        request = ScrollRequest::Bottom;
        break;
    case QAbstractSlider::SliderMove:
        request = ScrollRequest::ThumbTrack;
        break;
    case QAbstractSlider::SliderNoAction:
        return;
    }
    Scroll(request, scrollBar_->sliderPosition());
    // The bar applies its slider position once this returns: make it ours.
    scrollBar_->setSliderPosition(renderer_.view().scroll);
}

CanvasNotification CSurfaceWindow::MakeNotification(CanvasCode code) const {
    CanvasNotification n;
    n.senderWindow = this;
    n.senderId = controlId_;
    n.code = code;
    n.itemUnderPointer = itemUnderPointer_;
    return n;
}

void CSurfaceWindow::Notify(const CanvasNotification& notification) {
    emit notified(notification);
}

void CSurfaceWindow::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = ToDrawing(event->position().toPoint());
    FollowPointer(pos);
    if (stroking_ && (event->buttons() & Qt::LeftButton)) {
        ContinueStroke(pos);
    }
}

int CSurfaceWindow::ItemAtPixel(QPoint pos) const {
    return ItemAtDrawingPixel(ToDrawing(pos));
}

int CSurfaceWindow::ItemAtDrawingPixel(QPoint pos) const {
    if (pos.x() < 0 || pos.y() < 0 || pos.x() >= clientWidth() || pos.y() >= clientHeight()) {
        return -1;
    }
    const CanvasMetrics m = metrics();
    if (m.zoomIn == 0 || m.zoomOut == 0) {
        return -1;
    }
    const SelectionFrameState& frame = renderer_.frame();
    int column = (pos.x() / kCellPixels / m.zoomIn) * m.zoomOut;
    int row = (pos.y() / kCellPixels / m.zoomIn) * m.zoomOut;
    if (frame.shown) {
        const PointerSelection selection = SelectionAtCell(
            m, frame.shown, frame.size, pos.x() / kCellPixels, pos.y() / kCellPixels);
        column = selection.firstColumn;
        row = selection.firstRow;
    }
    if (!InsideContent(m, column, row)) {
        return -1;
    }
    return ClickedItem(m, frame.size, column, row);
}

void CSurfaceWindow::ContinueStroke(QPoint pos) {
    const std::vector<WindowCell> cells =
        CellsAlongPath(strokePoint_.x(), strokePoint_.y(), pos.x(), pos.y());
    strokePoint_ = pos;
    for (const WindowCell& cell : cells) {
        const int item = ItemAtDrawingPixel({cell.column * kCellPixels + kCellPixels / 2,
                                             cell.row * kCellPixels + kCellPixels / 2});
        if (item >= 0 && item != strokeItem_) {
            strokeItem_ = item;
            ReportItem(CanvasCode::Stroke, item);
            // The owner may have hidden the window or ended the stroke.
            if (!stroking_) {
                return;
            }
        }
    }
}

void CSurfaceWindow::ReportItem(CanvasCode code, int item) {
    CanvasNotification n = MakeNotification(code);
    n.item = item;
    Notify(n);
}

void CSurfaceWindow::FollowPointer(QPoint pos) {
    const CanvasViewState& view = renderer_.view();
    if (view.zoomIn == 0 || view.zoomOut == 0) {
        return;
    }
    // The control follows the pointer only while it is over the control.
    if (pos.x() < 0 || pos.y() < 0 || pos.x() >= width() / scale_ || pos.y() >= height() / scale_) {
        return;
    }
    switch (pointerMode_) {
    case PointerMode::Paint:
        ShowPointer(&paintCursor_);
        break;
    case PointerMode::Third:
        ShowPointer(&thirdToolCursor_);
        break;
    case PointerMode::Dropper:
        ShowPointer(&dropperCursor_);
        break;
    case PointerMode::None:
    case PointerMode::EnemyDrag:
        break;
    }
    SelectionFrameState& frame = renderer_.frame();
    const PointerSelection selection = SelectionAtCell(
        metrics(), frame.shown, frame.size, pos.x() / kCellPixels, pos.y() / kCellPixels);
    frame.firstColumn = selection.firstColumn;
    frame.lastColumn = selection.lastColumn;
    frame.firstRow = selection.firstRow;
    frame.lastRow = selection.lastRow;
    UpdateDrawing();
    itemUnderPointer_ = selection.itemUnderPointer;
}

void CSurfaceWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton && event->buttons() == Qt::RightButton) {
        const QPoint pos = ToDrawing(event->position().toPoint());
        FollowPointer(pos);
        const int item = ItemAtDrawingPixel(pos);
        if (item >= 0) {
            ReportItem(CanvasCode::Pick, item);
        }
        return;
    }
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint pos = ToDrawing(event->position().toPoint());
    stroking_ = true;
    strokePoint_ = pos;
    strokeItem_ = -1;
    // The press itself moves the pointer there (a press can arrive without a move before it).
    FollowPointer(pos);
    SelectionFrameState& frame = renderer_.frame();
    frame.x = frame.firstColumn;
    frame.y = frame.firstRow;
    UpdateDrawing();

    const CanvasMetrics m = metrics();
    int column = frame.firstColumn;
    int row = frame.firstRow;
    if (!frame.shown) {
        // Without a frame the click picks the item of the cell under the pointer.
        column = (pos.x() / kCellPixels / m.zoomIn) * m.zoomOut;
        row = (pos.y() / kCellPixels / m.zoomIn) * m.zoomOut;
    }
    if (!InsideContent(m, column, row)) {
        return; // a click beside the content names no item
    }
    CanvasNotification n = MakeNotification(CanvasCode::Click);
    n.item = ClickedItem(m, frame.size, column, row);
    strokeItem_ = n.item;
    keyItem_ = n.item;
    Notify(n);
}

bool CSurfaceWindow::event(QEvent* event) {
    const auto isLeft = [event] {
        return static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    };
    // A double click stands for a second press, but it starts nothing that a release ends.
    if (event->type() == QEvent::MouseButtonPress && isLeft() && !buttonDown_) {
        buttonDown_ = true;
        emit buttonHeld();
    }
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::MouseButtonRelease && isLeft()) {
        FreeButton();
    }
    return handled;
}

void CSurfaceWindow::FreeButton() {
    stroking_ = false;
    if (buttonDown_) {
        buttonDown_ = false;
        emit buttonFreed();
    }
}

void CSurfaceWindow::hideEvent(QHideEvent* event) {
    FreeButton();
    QWidget::hideEvent(event);
}

void CSurfaceWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        FreeButton();
    }
    QWidget::changeEvent(event);
}

void CSurfaceWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    // A double click is not a second click: nothing is reported.
    event->accept();
}

} // namespace korvane
