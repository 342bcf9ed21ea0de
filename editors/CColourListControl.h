#pragma once

// The one list control of the editors: a report-style, single-selection list whose cells hold
// a line of text or a small image (colour swatches beside their labels), drawn by the control
// itself. Rows are as high as the tallest image put in a cell (16 pixels at least).
//
// A row has two states, as in a platform list view: selected (highlighted) and focused (framed
// by the focus rectangle). A mouse press selects and focuses the row under the pointer (a press
// below the last row clears the selection) and then emits clicked(); the owner asks
// SelectedRow() for the row that is both selected and focused. The Up and Down keys move only
// the focus, so the owner does not react to them; Space makes the focused row the selected one
// and emits clicked(), as a press on it would.

#include "graphics/CPixelImage.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QString>

#include <vector>

class QHeaderView;
class QStandardItemModel;

namespace korvane {

class CColourListControl : public QAbstractScrollArea {
    Q_OBJECT
public:
    enum class ColumnKind { None, Text, Image };

    static constexpr int kFailed = -1;
    static constexpr int kColumnWidth = 64; // each column's width after SetUp
    static constexpr int kFirstRowHeight = 16;
    static constexpr int kMaxTextLength = 199; // characters of a text cell that are drawn

    explicit CColourListControl(QWidget* parent = nullptr);
    ~CColourListControl() override;

    // Removes every row and column and frees all cells.
    void Clear();
    // Clears, then makes room for rows x columns cells and inserts the columns, 64 pixels
    // wide, titled "Col %d" with their index.
    void SetUp(int rows, int columns);
    // SetUp with the columns' titles and widths in one go; a column whose title needs more
    // than its width (the header's text, margins included) is made that wide. A width of
    // kRestOfWidth takes what the others leave of the client width, less spare pixels (call it
    // once the list has its width).
    struct Column {
        QString title;
        int width;
    };
    static constexpr int kRestOfWidth = -1;
    void SetUpColumns(int rows, const std::vector<Column>& columns, int spare = 0);
    int SetColumnTitle(int column, const QString& text);
    int SetColumnWidth(int column, int width);
    // Stores the text; a column-0 text makes the row exist. The column becomes a text column.
    // 0, or kFailed for a cell outside those set up.
    int SetCellText(const QString& text, int column, int row);
    // Stores a copy of the image; the column becomes an image column and the rows grow to the
    // image's height if it is taller. 0, or kFailed for a cell outside those set up.
    int SetCellImage(const CPixelImage& image, int column, int row);
    // Gives the row the selected and focused states and scrolls it into view; a row that does
    // not exist leaves no row selected or focused. The current row is not changed.
    void SelectRow(int row);
    // The first row among the first count that is both selected and focused; count when none.
    int SelectedRow(int count) const;

    int rowCount() const { return itemCount_; }
    int columnCount() const { return columns_; }
    int rowHeight() const { return rowHeight_; }
    // The row last pressed with the mouse, moved by Up and Down; -1 before any press.
    int currentRow() const { return currentRow_; }
    bool isSelected(int row) const { return row >= 0 && row == selectedRow_; }
    bool isFocused(int row) const { return row >= 0 && row == focusedRow_; }
    ColumnKind columnKind(int column) const;
    QString cellText(int column, int row) const;
    int columnWidth(int column) const;
    // The list's inner width, frame excluded: what the owners share out among the columns.
    int clientWidth() const;
    // Where a row lies in the viewport, and which row lies at a viewport y (rowCount() when
    // none does).
    QRect RowRect(int row) const;
    int RowAt(int viewportY) const;
    QHeaderView* header() const { return header_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void clicked();
    void doubleClicked();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent* event) override;

private:
    struct Cell {
        QString text;
        CPixelImage image;
        QImage picture; // the image as drawn
    };

    bool ValidCell(int column, int row) const;
    Cell& CellAt(int column, int row);
    const Cell& CellAt(int column, int row) const;
    void Press(QPoint viewportPos);
    // Up (-1) and Down (+1): the current row and the focus (not the selection) move one row,
    // as far as the first and last rows.
    void MoveCurrentRow(int step);
    void ScrollIntoView(int row);
    void UpdateGeometries();
    int RowsPerPage() const;
    int HeaderHeight() const;
    int TotalColumnWidth() const;
    void DrawRow(QPainter& painter, int row, int top) const;

    QHeaderView* header_;
    QStandardItemModel* headerModel_;
    std::vector<Cell> cells_;
    std::vector<ColumnKind> kinds_;
    int rows_ = 0; // rows set up
    int columns_ = 0;
    int itemCount_ = 0; // rows that exist
    int rowHeight_ = kFirstRowHeight;
    int headerHeight_ = -1;
    int currentRow_ = -1;
    int selectedRow_ = -1;
    int focusedRow_ = -1;
};

} // namespace korvane
