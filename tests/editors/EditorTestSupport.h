#pragma once

// Driving editor dialogs from outside, as a user does: controls found by their object names,
// canvas clicks at computed pixel positions, list rows clicked, combo items chosen.

#include "editors/CCanvasControl.h"
#include "editors/CColourListControl.h"
#include "editors/CEditorDialog.h"
#include "editors/CPixelEditorControl.h"
#include "editors/EditorControlIds.h"
#include "gamedata/LevelRecord.h"
#include "gamedata/UserReporter.h"
#include "graphics/DisplayLayer.h"

#include <QComboBox>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>

#include <gtest/gtest.h>

#include <memory>

namespace korvane::test {

// Level n of the demo cartridge (seed 1), decoded.
std::unique_ptr<LevelRecord> DemoLevel(int n = 1);

// A display context whose reports are recorded.
struct EditorDisplay {
    RecordingReporter reporter;
    DisplayContext context{32, &reporter};
};

template <class Control> Control& Find(QWidget& dialog, int controlId) {
    auto* control = dialog.findChild<Control*>(ids::ControlObjectName(controlId));
    if (control == nullptr) {
        ADD_FAILURE() << "no control id" << controlId;
        throw std::runtime_error("missing control");
    }
    return *control;
}
template <class Control> Control& FindNamed(QWidget& dialog, const char* name) {
    auto* control = dialog.findChild<Control*>(QString::fromLatin1(name));
    if (control == nullptr) {
        ADD_FAILURE() << "no control named " << name;
        throw std::runtime_error("missing control");
    }
    return *control;
}
inline CCanvasControl& Canvas(QWidget& dialog, int controlId) {
    return Find<CCanvasControl>(dialog, controlId);
}

// A press in the middle of the item at (column, row) of a canvas whose items are itemPixels
// screen pixels square, counted from the canvas's top-left pixel.
void ClickItem(CCanvasControl& canvas, int column, int row, int itemPixels);
// Clicks a push button with the mouse (nothing happens when it is disabled).
void ClickButton(QWidget& dialog, int controlId);
void ClickNamedButton(QWidget& dialog, const char* name);
// A press on row of a list whose rows are rowHeight pixels (below the header).
void ClickRow(CColourListControl& list, int row, int rowHeight);
// Chooses an item of a drop-down list as the user does from its pop-up.
void Choose(QComboBox& combo, int index);
// Cancel with the question about the changes answered Discard; how often it was asked.
int CancelAndDiscard(CEditorDialog& dialog);
// Scrolls a canvas all the way right with its scroll bar.
void ScrollToEnd(CCanvasControl& canvas);

// Mouse on a pixel editor, at the middle of pixel (x, y): a press, a move with the button held,
// a release, and all three at one pixel.
void PressPixel(CPixelEditorControl& pixels, int x, int y, Qt::MouseButton button = Qt::LeftButton);
void DragToPixel(CPixelEditorControl& pixels, int x, int y,
                 Qt::MouseButton button = Qt::LeftButton);
void ReleasePixel(CPixelEditorControl& pixels, int x, int y,
                  Qt::MouseButton button = Qt::LeftButton);
void ClickPixel(CPixelEditorControl& pixels, int x, int y, Qt::MouseButton button = Qt::LeftButton);
// A press and release on cell of a colour selector (left or right button).
void ClickColourCell(QWidget& selector, QRect cell, Qt::MouseButton button = Qt::LeftButton);

// NES colour n (0-63) as a pixel editor's or colour selector's colour table has it.
QRgb NesColour(int n);

// The 16 bytes of tile t of a level's tiles, as a cell pattern.
std::array<std::uint8_t, 16> TilePattern(const LevelRecord& level, int tile);

// What a list's header section needs to show a title whole: the text in the header's font with
// the style's header margin on both sides.
inline int HeaderTitleWidth(const QHeaderView& header, const QString& title) {
    const int margin = header.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &header);
    return header.fontMetrics().horizontalAdvance(title) + 2 * margin;
}

} // namespace korvane::test
