#include "TileSheetChoice.h"

#include "CCenteredFileDialog.h"

#include <QInputDialog>
#include <QStringList>

namespace korvane {

QStringList TileSheetPartItems() {
    return {QStringLiteral("All 256 tiles (0-255)"), QStringLiteral("First half (tiles 0-127)"),
            QStringLiteral("Second half (tiles 128-255)")};
}

std::optional<TileSheetChoice> AskTileSheetChoice(QWidget* parent, TileSheetAction action) {
    const bool exporting = action == TileSheetAction::Export;
    const QString title =
        exporting ? QStringLiteral("Export Tiles") : QStringLiteral("Import Tiles");
    const QStringList items = TileSheetPartItems();
    bool ok = false;
    const QString item = QInputDialog::getItem(parent, title,
                                               exporting ? QStringLiteral("Tiles to export:")
                                                         : QStringLiteral("Tiles to replace:"),
                                               items, 0, false, &ok);
    if (!ok) {
        return std::nullopt;
    }
    // A sheet is written and read as a PNG only.
    const QString filter = QStringLiteral("PNG Files (*.png);;All Files (*)");
    CCenteredFileDialog chooser(
        exporting ? CCenteredFileDialog::Kind::Save : CCenteredFileDialog::Kind::Open,
        QStringLiteral("png"), exporting ? QStringLiteral("tiles.png") : QString(), filter, parent);
    if (chooser.DoModal() != CCenteredFileDialog::kOk || chooser.GetPathName().isEmpty()) {
        return std::nullopt;
    }
    return TileSheetChoice{static_cast<TileSheetPart>(items.indexOf(item)), chooser.GetPathName()};
}

} // namespace korvane
