// The canvas's size, zoom and scroll bar: the window planned for the view and content it was set
// up with, at the display scale, and the columns it shows as it grows.

#include "CSurfaceWindow.h"

#include <QScrollBar>

#include <algorithm>

namespace korvane {

namespace {

constexpr int kCellPixels = 8;
constexpr int kScrollBarHeight = 2 * kCellPixels; // the two extra cells below the content

} // namespace

int CSurfaceWindow::clientWidth() const {
    return width() / scale_;
}

int CSurfaceWindow::clientHeight() const {
    const int drawing =
        std::max(0, height() - (scrollBar_->isHidden() ? 0 : kScrollBarHeight)) / scale_;
    return growsAcross_ ? std::min(drawing, plannedHeight_) : drawing;
}

QPoint CSurfaceWindow::ToDrawing(QPoint windowPixel) const {
    // Rounded down, also left of and above the window (a drag may leave it).
    const auto down = [this](int value) {
        return value >= 0 ? value / scale_ : -((-value + scale_ - 1) / scale_);
    };
    return {down(windowPixel.x()), down(windowPixel.y())};
}

void CSurfaceWindow::SetZoom(int zoom) {
    zoom = std::clamp(zoom, 1, kMaxZoom);
    if (zoom == zoom_) {
        return;
    }
    zoom_ = zoom;
    scale_ = zoom;
    ApplyWindowSize();
    UpdateScrollBar();
    update();
}

void CSurfaceWindow::SetGrowsAcross(bool grows, bool scalesWithHeight) {
    growsAcross_ = grows;
    scalesWithHeight_ = grows && scalesWithHeight;
    ApplyWindowSize();
}

void CSurfaceWindow::ApplyWindowSize() {
    const int width = std::max(0, plannedWidth_ * zoom_);
    const int height = std::max(0, plannedHeight_ * zoom_ + plannedBar_);
    if (!growsAcross_) {
        scale_ = zoom_;
        setFixedSize(width, height);
        return;
    }
    if (!scalesWithHeight_) {
        setFixedSize(width + extraWidth_, height);
        FitViewToWindow();
        return;
    }
    // A canvas that scales with its height takes what its layout gives it, never less than its
    // least width on screen (showing fewer columns at a larger scale) and its rows at the zoom.
    const int leastWidth = std::max(0, plannedWidth_);
    setMinimumSize(leastWidth, height);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    if (this->width() < leastWidth || this->height() < height) {
        resize(std::max(this->width(), leastWidth), std::max(this->height(), height));
    }
    updateGeometry();
    FitViewToWindow();
}

void CSurfaceWindow::SetExtraWidth(int pixels) {
    pixels = std::max(0, pixels);
    if (pixels != extraWidth_) {
        extraWidth_ = pixels;
        ApplyWindowSize();
    }
}

int CSurfaceWindow::UsefulWidth() const {
    const CanvasViewState& view = renderer_.view();
    const int columns = std::max(renderer_.gridWidth() * view.zoomIn / view.zoomOut, 0);
    return std::max(plannedWidth_ * zoom_, columns * kCellPixels * zoom_);
}

void CSurfaceWindow::FitViewToWindow() {
    if (!growsAcross_) {
        scale_ = zoom_;
        return;
    }
    if (scalesWithHeight_ && plannedHeight_ > 0) {
        scale_ = std::clamp((height() - plannedBar_) / plannedHeight_, zoom_, kMaxZoom);
    } else {
        scale_ = zoom_;
    }
    CanvasViewState& view = renderer_.view();
    const int contentColumns = width() / scale_ / kCellPixels * view.zoomOut / view.zoomIn;
    const int fitting = contentColumns * view.zoomIn / view.zoomOut;
    const int visible =
        scalesWithHeight_ ? std::max(1, fitting) : std::max(baseVisibleWidth_, fitting);
    if (visible != view.visibleWidth) {
        view.visibleWidth = visible;
        const int largest = LargestScroll(metrics(), clientWidth());
        if (view.scroll > largest) {
            renderer_.frame().x += view.scroll - largest;
            view.scroll = largest;
        }
    }
    UpdateScrollBar();
    UpdateDrawing();
}

void CSurfaceWindow::UpdateScrollBar() {
    const CanvasMetrics m = metrics();
    const int page = ScrollPage(m, clientWidth());
    scrollBar_->setRange(0, LargestScroll(m, clientWidth()));
    scrollBar_->setPageStep(std::max(1, page));
    scrollBar_->setSingleStep(std::max(1, renderer_.view().zoomOut));
    // A bar that is not needed is shown disabled when the window has room for it.
    scrollBar_->setEnabled(renderer_.gridWidth() - 1 > page);
    scrollBar_->setValue(renderer_.view().scroll);
    scrollBar_->setGeometry(0, plannedHeight_ * scale_, this->width(), kScrollBarHeight);
}

QSize CSurfaceWindow::sizeHint() const {
    return growsAcross_ ? minimumSize() : size();
}

void CSurfaceWindow::SetView(int columns, int rows, int zoomIn, int zoomOut) {
    CanvasViewState& view = renderer_.view();
    if (zoomIn >= 0) {
        view.zoomIn = std::max(1, zoomIn);
    }
    if (zoomOut >= 0) {
        view.zoomOut = std::max(1, zoomOut);
    }
    view.zoomIn = std::max(1, view.zoomIn);
    view.zoomOut = std::max(1, view.zoomOut);
    view.visibleWidth = columns * view.zoomIn / view.zoomOut;
    view.visibleHeight = rows * view.zoomIn / view.zoomOut;
    baseVisibleWidth_ = view.visibleWidth;
    // Two extra cells across when the content is taller than the window, and two extra rows
    // for the scroll bar when it is wider.
    const int extraColumns = renderer_.gridHeight() > view.visibleHeight ? 2 : 0;
    const int extraRows = renderer_.gridWidth() > view.visibleWidth ? 2 : 0;
    plannedWidth_ = view.zoomIn * (columns + extraColumns) * kCellPixels / view.zoomOut;
    plannedHeight_ = view.zoomIn * rows * kCellPixels / view.zoomOut;
    plannedBar_ = view.zoomIn * (rows + extraRows) * kCellPixels / view.zoomOut - plannedHeight_;
    ApplyWindowSize();
}

void CSurfaceWindow::SetUpScrolling() {
    CanvasViewState& view = renderer_.view();
    view.scroll = 0;
    if (!growsAcross_) {
        baseVisibleWidth_ = view.visibleWidth;
    }
    // The window first, so that the page is measured on the client area the user sees. A
    // canvas that grows keeps its bar whatever its width, so that its height stays.
    const bool wider = renderer_.gridWidth() > baseVisibleWidth_;
    plannedWidth_ = baseVisibleWidth_ * kCellPixels;
    plannedHeight_ = view.visibleHeight * kCellPixels;
    plannedBar_ = wider ? kScrollBarHeight : 0;
    scrollBar_->setVisible(wider);
    ApplyWindowSize();
    UpdateScrollBar();
}

void CSurfaceWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FitViewToWindow();
    scrollBar_->setGeometry(0, plannedHeight_ * scale_, width(), kScrollBarHeight);
}

} // namespace korvane
