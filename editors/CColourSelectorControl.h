#pragma once

// The colour selector: a grid of colour cells and, on its left, an indicator of the current left
// and right colours. A press on a cell makes it the left (left button) or right (right button)
// selection and tells the owner which; it never changes level data. It holds the 4 colours of a
// palette (tile editor) or the 64 NES colours (palette editor, where a cell index is an NES
// colour number).

#include <QImage>
#include <QRgb>
#include <QWidget>

#include <cstdint>
#include <span>
#include <vector>

namespace korvane {

class CColourSelectorControl : public QWidget {
    Q_OBJECT
public:
    static constexpr int kIndicatorWidth = 31; // the strip on the left
    static constexpr int kCellSide = 16;
    static constexpr int kDefaultRows = 2;

    // The object name becomes "id" + controlId. No colours, 2 rows, left selection 0, right
    // selection 1; the height becomes rows x 16.
    explicit CColourSelectorControl(int controlId, QWidget* parent = nullptr);

    int controlId() const { return controlId_; }

    // Removes every cell.
    void Clear();
    // 4 cells: the 4 NES colours in order.
    void SetPaletteColours(std::span<const std::uint8_t, 4> nesColours);
    // 64 cells: NES colours 0 to 63.
    void SetAllNesColours();
    // rows (at least 1) of cells; the height becomes rows x 16, the width stays.
    void SetRows(int rows);
    int rows() const { return rows_; }
    int cellCount() const { return static_cast<int>(colours_.size()); }
    // cells / rows, rounded down.
    int columns() const { return cellCount() / rows_; }
    const std::vector<QRgb>& colours() const { return colours_; }

    void SetLeftSelection(int cell);
    void SetRightSelection(int cell);
    int GetLeftSelection() const { return left_; }
    int GetRightSelection() const { return right_; }

    // The layout, in widget coordinates. A cell's rectangle includes its sunken edge; its
    // colour fills the rectangle shrunk by 2 on each side. An index outside the grid gives an
    // empty rectangle.
    QRect CellRect(int cell) const;
    QRect CellColourRect(int cell) const;
    // How far the swatches sit below their 2-row place: max((rows - 2) x 16 / 2, 0).
    int SwatchOffset() const;
    QRect LeftSwatchFrame() const;
    QRect LeftSwatchColour() const;
    QRect RightSwatchFrame() const;
    QRect RightSwatchColour() const;
    // The first cell whose rectangle holds the point, or -1.
    int CellAt(QPoint point) const;
    // What a cell's tool tip says: its NES colour number ("$16"); empty for no cell.
    QString CellToolTip(int cell) const;

    // The whole picture as the control shows it, composed off screen.
    QImage Compose() const;

    QSize sizeHint() const override;

signals:
    // A press chose a cell: button 1 left, 2 right.
    void ColourChosen(int button, int cellIndex);

protected:
    // The tool tip over a cell names its colour.
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void DrawSwatch(QImage& image, const QRect& frame, const QRect& colour, int cell) const;

    int controlId_;
    std::vector<QRgb> colours_;
    std::vector<std::uint8_t> nesNumbers_; // the NES colour number of each cell
    int rows_ = kDefaultRows;
    int left_ = 0;
    int right_ = 1;
};

} // namespace korvane
