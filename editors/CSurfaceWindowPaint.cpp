// The canvas's drawing: a frame drawn by the renderer into the screen image once the changes
// of an event are in, and on screen only the part of it that differs from the last frame, each
// drawing pixel a whole block of screen pixels.

#include "CSurfaceWindow.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cstring>

namespace korvane {

void CSurfaceWindow::UpdateDrawing() {
    drawingCurrent_ = false;
    if (!presentQueued_) {
        presentQueued_ = true;
        QMetaObject::invokeMethod(this, &CSurfaceWindow::PresentChanges, Qt::QueuedConnection);
    }
}

void CSurfaceWindow::PresentChanges() {
    presentQueued_ = false;
    if (drawingCurrent_) {
        return; // a paint has drawn the frame already
    }
    const QRect whole(0, 0, width(), clientHeight() * scale_);
    if (!isVisible() || !displayUsable_ || painting_) {
        update(whole);
        return;
    }
    // The frame now, and on screen only the part of it that differs from the last one.
    const QImage previous = screen_;
    painting_ = true;
    const bool rendered = RenderDrawing();
    painting_ = false;
    if (!rendered) {
        return;
    }
    if (previous.size() != screen_.size() || previous.format() != screen_.format()) {
        update(whole);
        return;
    }
    const QRect changed = ChangedArea(previous, screen_);
    if (!changed.isEmpty()) {
        update(QRect(changed.topLeft() * scale_, changed.size() * scale_));
    }
}

QRect CSurfaceWindow::ChangedArea(const QImage& before, const QImage& after) {
    const int rows = after.height();
    const auto rowBytes = static_cast<std::size_t>(after.bytesPerLine());
    const auto same = [&](int y) {
        return std::memcmp(before.constScanLine(y), after.constScanLine(y), rowBytes) == 0;
    };
    int top = 0;
    while (top < rows && same(top)) {
        ++top;
    }
    if (top == rows) {
        return {};
    }
    int bottom = rows - 1;
    while (bottom > top && same(bottom)) {
        --bottom;
    }
    // Across, by whole pixels of the format.
    const int pixelBytes = std::max(1, after.depth() / 8);
    int left = after.width();
    int right = -1;
    for (int y = top; y <= bottom; ++y) {
        const uchar* a = before.constScanLine(y);
        const uchar* b = after.constScanLine(y);
        for (int x = 0; x < left; ++x) {
            if (std::memcmp(a + x * pixelBytes, b + x * pixelBytes,
                            static_cast<std::size_t>(pixelBytes)) != 0) {
                left = x;
                break;
            }
        }
        for (int x = after.width() - 1; x > right; --x) {
            if (std::memcmp(a + x * pixelBytes, b + x * pixelBytes,
                            static_cast<std::size_t>(pixelBytes)) != 0) {
                right = x;
                break;
            }
        }
    }
    return right < left ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

bool CSurfaceWindow::RenderDrawing() {
    const int w = clientWidth();
    const int h = clientHeight();
    if (w <= 0 || h <= 0) {
        return false;
    }
    if (screen_.width() != w || screen_.height() != h ||
        screen_.format() != context_.screenImageFormat()) {
        screen_ = QImage(w, h, context_.screenImageFormat());
        screen_.fill(palette().color(QPalette::Window));
    }
    // Current from here: a change reported while the frame is drawn asks for another.
    drawingCurrent_ = true;
    renderer_.RenderFrame(context_, surface_, clipper_, this, w, h, screen_,
                          DisplayRect{0, 0, w, h});
    return true;
}

void CSurfaceWindow::paintEvent(QPaintEvent* event) {
    // A display failure has been reported and the program is ending; a paint arriving while
    // that report is on screen must not start another frame.
    if (!displayUsable_ || painting_) {
        return;
    }
    const int w = clientWidth();
    const int h = clientHeight();
    if (w <= 0 || h <= 0) {
        return;
    }
    painting_ = true;
    if (!drawingCurrent_ || screen_.size() != QSize(w, h) ||
        screen_.format() != context_.screenImageFormat()) {
        RenderDrawing();
    }
    if (!displayUsable_) {
        painting_ = false;
        return;
    }
    QPainter painter(this);
    const QRect drawing(0, 0, w * scale_, h * scale_);
    if (growsAcross_ && drawing.size() != size()) {
        painter.fillRect(rect(), palette().color(QPalette::Window));
    }
    // Only the drawing pixels the paint covers, each a whole block, no smoothing: square and
    // sharp on any screen.
    const QRect wanted = event->rect().intersected(drawing);
    if (!wanted.isEmpty()) {
        const QRect source(QPoint(wanted.left() / scale_, wanted.top() / scale_),
                           QPoint(wanted.right() / scale_, wanted.bottom() / scale_));
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(QRect(source.topLeft() * scale_, source.size() * scale_), screen_,
                          source);
    }
    if (hasFocus()) {
        // The focus frame: two pixels in the highlight colour around the drawing.
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(drawing.adjusted(1, 1, -1, -1));
    }
    painting_ = false;
}

} // namespace korvane
