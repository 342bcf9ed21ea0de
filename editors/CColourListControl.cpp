#include "CColourListControl.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStandardItemModel>

#include <algorithm>

namespace korvane {

CColourListControl::CColourListControl(QWidget* parent)
    : QAbstractScrollArea(parent), header_(new QHeaderView(Qt::Horizontal, this)),
      headerModel_(new QStandardItemModel(this)) {
    header_->setModel(headerModel_);
    header_->setSectionsClickable(false);
    header_->setSectionResizeMode(QHeaderView::Interactive);
    header_->setStretchLastSection(false);
    // The owners' widths hold, however narrow (the effect code column is 24 pixels).
    header_->setMinimumSectionSize(1);
    header_->setFocusPolicy(Qt::NoFocus);
    header_->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(header_, &QHeaderView::sectionResized, this, [this] {
        UpdateGeometries();
        viewport()->update();
    });
    setFocusPolicy(Qt::StrongFocus);
    // As large as its rows and columns ask (sizeHint), unless the owner fixes a size.
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    // Scrolling with the bar first takes the keyboard focus, so that the keys act on the list.
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this, [this] {
        if (!hasFocus()) {
            setFocus(Qt::OtherFocusReason);
        }
    });
    UpdateGeometries();
}

CColourListControl::~CColourListControl() = default;

void CColourListControl::Clear() {
    cells_.clear();
    kinds_.clear();
    rows_ = 0;
    columns_ = 0;
    itemCount_ = 0;
    selectedRow_ = -1;
    focusedRow_ = -1;
    headerModel_->setColumnCount(0);
    UpdateGeometries();
    viewport()->update();
}

void CColourListControl::SetUp(int rows, int columns) {
    Clear();
    rows_ = std::max(0, rows);
    columns_ = std::max(0, columns);
    cells_.resize(static_cast<std::size_t>(rows_) * static_cast<std::size_t>(columns_));
    kinds_.assign(static_cast<std::size_t>(columns_), ColumnKind::None);
    headerModel_->setColumnCount(columns_);
    for (int c = 0; c < columns_; ++c) {
        headerModel_->setHeaderData(c, Qt::Horizontal, QStringLiteral("Col %1").arg(c));
        header_->resizeSection(c, kColumnWidth);
    }
    UpdateGeometries();
    viewport()->update();
}

void CColourListControl::SetUpColumns(int rows, const std::vector<Column>& columns, int spare) {
    SetUp(rows, static_cast<int>(columns.size()));
    // A column is never narrower than its title needs, in the header's font and style.
    header_->ensurePolished();
    std::vector<int> widths;
    int fixed = 0;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const int index = static_cast<int>(c);
        SetColumnTitle(index, columns[c].title);
        const int width = columns[c].width == kRestOfWidth
                              ? kRestOfWidth
                              : std::max(columns[c].width, header_->sectionSizeHint(index));
        widths.push_back(width);
        fixed += width == kRestOfWidth ? 0 : width;
    }
    for (std::size_t c = 0; c < widths.size(); ++c) {
        SetColumnWidth(static_cast<int>(c),
                       widths[c] == kRestOfWidth ? clientWidth() - fixed - spare : widths[c]);
    }
}

int CColourListControl::SetColumnTitle(int column, const QString& text) {
    if (column < 0 || column >= columns_) {
        return kFailed;
    }
    headerModel_->setHeaderData(column, Qt::Horizontal, text);
    return 0;
}

int CColourListControl::SetColumnWidth(int column, int width) {
    if (column < 0 || column >= columns_) {
        return kFailed;
    }
    header_->resizeSection(column, std::max(0, width));
    UpdateGeometries();
    viewport()->update();
    return 0;
}

int CColourListControl::columnWidth(int column) const {
    return column >= 0 && column < columns_ ? header_->sectionSize(column) : 0;
}

CColourListControl::ColumnKind CColourListControl::columnKind(int column) const {
    return column >= 0 && column < columns_ ? kinds_[static_cast<std::size_t>(column)]
                                            : ColumnKind::None;
}

bool CColourListControl::ValidCell(int column, int row) const {
    return column >= 0 && column < columns_ && row >= 0 && row < rows_;
}

CColourListControl::Cell& CColourListControl::CellAt(int column, int row) {
    return cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
                  static_cast<std::size_t>(column)];
}

const CColourListControl::Cell& CColourListControl::CellAt(int column, int row) const {
    return cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
                  static_cast<std::size_t>(column)];
}

QString CColourListControl::cellText(int column, int row) const {
    return ValidCell(column, row) ? CellAt(column, row).text : QString();
}

int CColourListControl::SetCellText(const QString& text, int column, int row) {
    if (!ValidCell(column, row)) {
        return kFailed;
    }
    CellAt(column, row).text = text;
    kinds_[static_cast<std::size_t>(column)] = ColumnKind::Text;
    if (column == 0 && row >= itemCount_) {
        itemCount_ = row + 1;
        UpdateGeometries();
    }
    viewport()->update();
    return 0;
}

int CColourListControl::SetCellImage(const CPixelImage& image, int column, int row) {
    if (!ValidCell(column, row)) {
        return kFailed;
    }
    Cell& cell = CellAt(column, row);
    cell.image.CopyFrom(image);
    cell.picture = cell.image.CreatePlatformBitmap();
    kinds_[static_cast<std::size_t>(column)] = ColumnKind::Image;
    if (image.height() > rowHeight_) {
        rowHeight_ = image.height();
        UpdateGeometries();
        updateGeometry();
    }
    viewport()->update();
    return 0;
}

void CColourListControl::SelectRow(int row) {
    if (row >= 0 && row < itemCount_) {
        selectedRow_ = row;
        focusedRow_ = row;
        ScrollIntoView(row);
    } else {
        selectedRow_ = -1;
        focusedRow_ = -1;
    }
    viewport()->update();
}

int CColourListControl::SelectedRow(int count) const {
    const int rows = std::min(count, itemCount_);
    if (selectedRow_ >= 0 && selectedRow_ < rows && selectedRow_ == focusedRow_) {
        return selectedRow_;
    }
    return count;
}

int CColourListControl::clientWidth() const {
    // The style sets the frame when the list is polished: owners share out the width earlier.
    ensurePolished();
    return std::max(0, width() - 2 * frameWidth());
}

int CColourListControl::RowsPerPage() const {
    // Counted on the viewport without bars when everything fits: the bars then go away.
    const int height = std::max(viewport()->height(), contentsRect().height() - headerHeight_);
    const bool fits = itemCount_ * rowHeight_ <= contentsRect().height() - headerHeight_;
    return std::max(1, (fits ? height : viewport()->height()) / std::max(1, rowHeight_));
}

int CColourListControl::TotalColumnWidth() const {
    int total = 0;
    for (int c = 0; c < columns_; ++c) {
        total += header_->sectionSize(c);
    }
    return total;
}

QRect CColourListControl::RowRect(int row) const {
    const int top = (row - verticalScrollBar()->value()) * rowHeight_;
    return {-horizontalScrollBar()->value(), top, TotalColumnWidth(), rowHeight_};
}

int CColourListControl::RowAt(int viewportY) const {
    // Down from the first row, scrolled-out rows included, until a row's height is used up.
    int rest = viewportY + verticalScrollBar()->value() * rowHeight_;
    for (int row = 0; row < itemCount_; ++row) {
        rest -= rowHeight_;
        if (rest < 0) {
            return viewportY < 0 ? itemCount_ : row;
        }
    }
    return itemCount_;
}

void CColourListControl::ScrollIntoView(int row) {
    QScrollBar* bar = verticalScrollBar();
    if (row < bar->value()) {
        bar->setValue(row);
    } else if (row > bar->value() + RowsPerPage() - 1) {
        bar->setValue(row - RowsPerPage() + 1);
    }
}

int CColourListControl::HeaderHeight() const {
    // The header's height follows its style: polished now, not only when it is first shown.
    header_->ensurePolished();
    return header_->sizeHint().height();
}

void CColourListControl::UpdateGeometries() {
    const int headerHeight = HeaderHeight();
    if (headerHeight != headerHeight_) {
        // The style or font gave the header another height: the list asks for another size.
        headerHeight_ = headerHeight;
        updateGeometry();
    }
    setViewportMargins(0, headerHeight, 0, 0);
    const QRect inner = contentsRect();
    header_->setGeometry(inner.left(), inner.top(), inner.width(), headerHeight);
    // When every row and column fits in the list, no scroll bar is needed; otherwise the bars
    // follow what the viewport shows beside them.
    const bool fits = itemCount_ * rowHeight_ <= inner.height() - headerHeight &&
                      TotalColumnWidth() <= inner.width();
    QScrollBar* vertical = verticalScrollBar();
    const int page = RowsPerPage();
    vertical->setRange(0, fits ? 0 : std::max(0, itemCount_ - page));
    vertical->setPageStep(page);
    vertical->setSingleStep(1);
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, fits ? 0 : std::max(0, TotalColumnWidth() - viewport()->width()));
    horizontal->setPageStep(std::max(1, viewport()->width()));
    horizontal->setSingleStep(8);
    header_->setOffset(horizontal->value());
}

QSize CColourListControl::sizeHint() const {
    ensurePolished();
    const int frame = 2 * frameWidth();
    return {TotalColumnWidth() + frame,
            HeaderHeight() + std::max(1, itemCount_) * rowHeight_ + frame};
}

QSize CColourListControl::minimumSizeHint() const {
    const int frame = 2 * frameWidth();
    return {64 + frame, HeaderHeight() + rowHeight_ + frame};
}

bool CColourListControl::event(QEvent* event) {
    const bool handled = QAbstractScrollArea::event(event);
    if (event->type() == QEvent::Polish) {
        // The style has set the frame and the header now: the size asked for may differ.
        UpdateGeometries();
        updateGeometry();
    }
    return handled;
}

void CColourListControl::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateGeometries();
}

void CColourListControl::scrollContentsBy(int /*dx*/, int /*dy*/) {
    header_->setOffset(horizontalScrollBar()->value());
    viewport()->update();
}

void CColourListControl::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        UpdateGeometries();
        updateGeometry();
        viewport()->update();
    }
}

void CColourListControl::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void CColourListControl::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(viewport());
    const QColor background = palette().color(QPalette::Base);
    painter.fillRect(viewport()->rect(), background);
    const int first = verticalScrollBar()->value();
    const int end = std::min(first + RowsPerPage() + 1, itemCount_);
    for (int row = first; row < end; ++row) {
        DrawRow(painter, row, (row - first) * rowHeight_);
    }
}

void CColourListControl::DrawRow(QPainter& painter, int row, int top) const {
    const QColor background = palette().color(QPalette::Base);
    const QColor highlight = palette().color(QPalette::Highlight);
    const QColor text = palette().color(QPalette::Text);
    // A selected row's text takes the inverse of the text colour.
    const QColor inverse = QColor::fromRgb(~text.rgb() & 0x00FFFFFFU);
    const bool selected = row == selectedRow_;
    const QRect bounds(-horizontalScrollBar()->value(), top, TotalColumnWidth(), rowHeight_);
    painter.fillRect(QRect(0, top, viewport()->width(), rowHeight_), background);
    const QFontMetrics metrics = fontMetrics();
    int left = -horizontalScrollBar()->value();
    for (int c = 0; c < columns_; ++c) {
        const int width = header_->sectionSize(c);
        const QRect cellRect(left, top, width, rowHeight_);
        left += width;
        if (selected) {
            painter.fillRect(cellRect, highlight);
        }
        const Cell& cell = CellAt(c, row);
        switch (kinds_[static_cast<std::size_t>(c)]) {
        case ColumnKind::Text: {
            const QString shown = cell.text.left(kMaxTextLength);
            const int y = top + (rowHeight_ - metrics.height()) / 2;
            painter.setPen(selected ? inverse : text);
            // Not clipped to the cell: a long text runs on into the next column.
            painter.drawText(QPoint(cellRect.left(), y + metrics.ascent()), shown);
            break;
        }
        case ColumnKind::Image:
            if (!cell.picture.isNull()) {
                const int y = top + (rowHeight_ - cell.picture.height()) / 2;
                const int shownWidth = std::min(width, cell.picture.width());
                painter.drawImage(QPoint(cellRect.left(), y), cell.picture,
                                  QRect(0, 0, shownWidth, cell.picture.height()));
            }
            break;
        case ColumnKind::None:
            break;
        }
    }
    if (row == focusedRow_) {
        QPen dotted(text, 1, Qt::DotLine);
        painter.setPen(dotted);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(bounds.adjusted(0, 0, -1, -1));
    }
}

void CColourListControl::Press(QPoint viewportPos) {
    currentRow_ = RowAt(viewportPos.y());
    if (currentRow_ < itemCount_) {
        selectedRow_ = currentRow_;
        focusedRow_ = currentRow_;
        ScrollIntoView(currentRow_);
    } else {
        selectedRow_ = -1; // a press beside the rows leaves nothing selected
    }
    setFocus(Qt::MouseFocusReason);
    viewport()->update();
}

void CColourListControl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    Press(event->position().toPoint());
    emit clicked();
}

void CColourListControl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseDoubleClickEvent(event);
        return;
    }
    Press(event->position().toPoint());
    emit clicked();
    emit doubleClicked();
}

void CColourListControl::MoveCurrentRow(int step) {
    const int target = std::min(currentRow_, itemCount_) + step;
    if (target < 0 || target >= itemCount_ || (step < 0 && currentRow_ < 1)) {
        return;
    }
    currentRow_ = target;
    focusedRow_ = currentRow_;
    ScrollIntoView(currentRow_);
    viewport()->update();
}

void CColourListControl::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        // Taken in every case, also on the first and the last row.
        MoveCurrentRow(event->key() == Qt::Key_Up ? -1 : 1);
        event->accept();
        return;
    case Qt::Key_Space:
        if (focusedRow_ >= 0 && focusedRow_ < itemCount_) {
            selectedRow_ = focusedRow_;
            viewport()->update();
            emit clicked();
        }
        event->accept();
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

} // namespace korvane
