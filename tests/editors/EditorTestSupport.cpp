#include "EditorTestSupport.h"

#include "DemoCartridge.h"
#include "gamedata/GameData.h"
#include "graphics/NesColours.h"
#include "tests/canvas/CanvasTestSupport.h"

#include <QTest>

namespace korvane::test {

std::unique_ptr<LevelRecord> DemoLevel(int n) {
    auto gameData = std::make_unique<GameData>();
    gameData->Decode(*MakeDemoCartridge(1));
    return std::make_unique<LevelRecord>(gameData->levels.at(static_cast<std::size_t>(n)));
}

void ClickItem(CCanvasControl& canvas, int column, int row, int itemPixels) {
    const QPoint centre(column * itemPixels + itemPixels / 2, row * itemPixels + itemPixels / 2);
    Move(canvas, centre);
    Press(canvas, centre);
    Release(canvas, centre);
}

void ClickButton(QWidget& dialog, int controlId) {
    QTest::mouseClick(&Find<QPushButton>(dialog, controlId), Qt::LeftButton);
}

void ClickNamedButton(QWidget& dialog, const char* name) {
    QTest::mouseClick(&FindNamed<QPushButton>(dialog, name), Qt::LeftButton);
}

void ClickRow(CColourListControl& list, int row, int rowHeight) {
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      QPoint(8, row * rowHeight + rowHeight / 2));
}

void Choose(QComboBox& combo, int index) {
    combo.setCurrentIndex(index);
    emit combo.activated(index);
}

int CancelAndDiscard(CEditorDialog& dialog) {
    int asked = 0;
    dialog.SetDiscardQuestion([&asked](const QString&) {
        ++asked;
        return true;
    });
    ClickButton(dialog, ids::kCancel);
    dialog.SetDiscardQuestion({});
    return asked;
}

void ScrollToEnd(CCanvasControl& canvas) {
    canvas.scrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
}

void PressPixel(CPixelEditorControl& pixels, int x, int y, Qt::MouseButton button) {
    SendMouse(pixels, QEvent::MouseButtonPress, pixels.CellRect(x, y).center(), button);
}

void DragToPixel(CPixelEditorControl& pixels, int x, int y, Qt::MouseButton button) {
    SendMouse(pixels, QEvent::MouseMove, pixels.CellRect(x, y).center(), Qt::NoButton, button);
}

void ReleasePixel(CPixelEditorControl& pixels, int x, int y, Qt::MouseButton button) {
    SendMouse(pixels, QEvent::MouseButtonRelease, pixels.CellRect(x, y).center(), button);
}

void ClickPixel(CPixelEditorControl& pixels, int x, int y, Qt::MouseButton button) {
    PressPixel(pixels, x, y, button);
    ReleasePixel(pixels, x, y, button);
}

void ClickColourCell(QWidget& selector, QRect cell, Qt::MouseButton button) {
    SendMouse(selector, QEvent::MouseButtonPress, cell.center(), button);
    SendMouse(selector, QEvent::MouseButtonRelease, cell.center(), button);
}

QRgb NesColour(int n) {
    const NesRgb& c = NesColourTable[static_cast<std::size_t>(n & 0x3F)];
    return qRgb(c.red, c.green, c.blue);
}

std::array<std::uint8_t, 16> TilePattern(const LevelRecord& level, int tile) {
    std::array<std::uint8_t, 16> pattern{};
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        pattern[i] = level.tiles[static_cast<std::size_t>(tile) * 16 + i];
    }
    return pattern;
}

} // namespace korvane::test
