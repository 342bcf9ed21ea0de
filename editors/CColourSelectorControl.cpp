#include "CColourSelectorControl.h"

#include "EditorControlIds.h"
#include "graphics/NesColours.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <qdrawutil.h>

#include <algorithm>
#include <cmath>

namespace korvane {

namespace {

constexpr int kNesColourCount = 64;
constexpr int kCellInset = 2; // the colour sits inside the cell's sunken edge

QRgb NesRgbValue(int index) {
    const NesRgb& c = NesColourTable[static_cast<std::size_t>(index) & 0x3FU];
    return qRgb(c.red, c.green, c.blue);
}

// A rectangle given as left, top and the exclusive right, bottom.
QRect Span(int left, int top, int right, int bottom) {
    return {left, top, right - left, bottom - top};
}

} // namespace

CColourSelectorControl::CColourSelectorControl(int controlId, QWidget* parent)
    : QWidget(parent), controlId_(controlId) {
    setObjectName(ids::ControlObjectName(controlId));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    SetRows(kDefaultRows);
}

void CColourSelectorControl::Clear() {
    colours_.clear();
    nesNumbers_.clear();
    update();
}

void CColourSelectorControl::SetPaletteColours(std::span<const std::uint8_t, 4> nesColours) {
    colours_.clear();
    nesNumbers_.clear();
    for (const std::uint8_t colour : nesColours) {
        colours_.push_back(NesRgbValue(colour));
        nesNumbers_.push_back(static_cast<std::uint8_t>(colour & 0x3F));
    }
    update();
}

void CColourSelectorControl::SetAllNesColours() {
    colours_.clear();
    nesNumbers_.clear();
    for (int index = 0; index < kNesColourCount; ++index) {
        colours_.push_back(NesRgbValue(index));
        nesNumbers_.push_back(static_cast<std::uint8_t>(index));
    }
    update();
}

void CColourSelectorControl::SetRows(int rows) {
    rows_ = std::max(1, rows);
    setFixedHeight(rows_ * kCellSide);
    update();
}

void CColourSelectorControl::SetLeftSelection(int cell) {
    left_ = cell;
    update(LeftSwatchFrame());
}

void CColourSelectorControl::SetRightSelection(int cell) {
    right_ = cell;
    // The left swatch lies over part of the right one: both are composed again.
    update(RightSwatchFrame().united(LeftSwatchFrame()));
}

QRect CColourSelectorControl::CellRect(int cell) const {
    const int columnCount = columns();
    if (cell < 0 || columnCount == 0 || cell >= columnCount * rows_) {
        return {};
    }
    const int c = cell % columnCount;
    const int r = cell / columnCount;
    return Span(kIndicatorWidth + kCellSide * c, kCellSide * r,
                kIndicatorWidth + kCellSide * (c + 1), kCellSide * (r + 1));
}

QRect CColourSelectorControl::CellColourRect(int cell) const {
    const QRect outer = CellRect(cell);
    if (outer.isEmpty()) {
        return {};
    }
    return outer.adjusted(kCellInset, kCellInset, -kCellInset, -kCellInset);
}

int CColourSelectorControl::SwatchOffset() const {
    return std::max(((rows_ - kDefaultRows) * kCellSide) / 2, 0);
}

QRect CColourSelectorControl::RightSwatchFrame() const {
    const int d = SwatchOffset();
    return Span(11, d + 12, 26, d + 27);
}

QRect CColourSelectorControl::RightSwatchColour() const {
    const int d = SwatchOffset();
    return Span(13, d + 14, 24, d + 25);
}

QRect CColourSelectorControl::LeftSwatchFrame() const {
    const int d = SwatchOffset();
    return Span(4, d + 5, 19, d + 20);
}

QRect CColourSelectorControl::LeftSwatchColour() const {
    const int d = SwatchOffset();
    return Span(6, d + 7, 17, d + 18);
}

QString CColourSelectorControl::CellToolTip(int cell) const {
    if (cell < 0 || cell >= static_cast<int>(nesNumbers_.size()) || CellRect(cell).isEmpty()) {
        return {};
    }
    return QStringLiteral("$%1")
        .arg(nesNumbers_[static_cast<std::size_t>(cell)], 2, 16, QLatin1Char('0'))
        .toUpper();
}

bool CColourSelectorControl::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const int cell = CellAt(help->pos());
        const QString text = CellToolTip(cell);
        if (text.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), text, this, CellRect(cell));
        }
        return true;
    }
    return QWidget::event(event);
}

int CColourSelectorControl::CellAt(QPoint point) const {
    const int shown = columns() * rows_;
    for (int cell = 0; cell < shown; ++cell) {
        if (CellRect(cell).contains(point)) {
            return cell;
        }
    }
    return -1;
}

void CColourSelectorControl::DrawSwatch(QImage& image, const QRect& frame, const QRect& colour,
                                        int cell) const {
    QPainter painter(&image);
    const QBrush face = palette().button();
    qDrawShadeRect(&painter, frame, palette(), false, 1, 0, &face);
    if (cell >= 0 && cell < cellCount()) {
        painter.fillRect(colour, QColor(colours_[static_cast<std::size_t>(cell)]));
    }
}

QImage CColourSelectorControl::Compose() const {
    QImage image(size(), QImage::Format_RGB32);
    {
        QPainter painter(&image);
        painter.fillRect(image.rect(), palette().button());
        // The indicator: a button held down inside a sunken edge.
        const QRect strip(0, 0, kIndicatorWidth, height());
        qDrawWinPanel(&painter, strip, palette(), true);
        qDrawWinButton(&painter, strip.adjusted(2, 2, -2, -2), palette(), true);
        const int shown = columns() * rows_;
        for (int cell = 0; cell < shown; ++cell) {
            qDrawWinPanel(&painter, CellRect(cell), palette(), true);
            painter.fillRect(CellColourRect(cell),
                             QColor(colours_[static_cast<std::size_t>(cell)]));
        }
    }
    // The left swatch last, over the right one.
    DrawSwatch(image, RightSwatchFrame(), RightSwatchColour(), right_);
    DrawSwatch(image, LeftSwatchFrame(), LeftSwatchColour(), left_);
    return image;
}

QSize CColourSelectorControl::sizeHint() const {
    return {kIndicatorWidth + kCellSide * std::max(1, columns()), rows_ * kCellSide};
}

void CColourSelectorControl::paintEvent(QPaintEvent* event) {
    // Composed off screen, copied to the window in one step.
    const QImage picture = Compose();
    QPainter painter(this);
    painter.drawImage(event->rect(), picture, event->rect());
}

void CColourSelectorControl::mousePressEvent(QMouseEvent* event) {
    const bool left = event->button() == Qt::LeftButton;
    if (!left && event->button() != Qt::RightButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    const QPointF position = event->position();
    const int cell = CellAt(QPoint(static_cast<int>(std::floor(position.x())),
                                   static_cast<int>(std::floor(position.y()))));
    if (cell < 0) {
        return;
    }
    if (left) {
        SetLeftSelection(cell);
        emit ColourChosen(1, cell);
    } else {
        SetRightSelection(cell);
        emit ColourChosen(2, cell);
    }
}

void CColourSelectorControl::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click neither selects nor notifies.
    event->accept();
}

} // namespace korvane
