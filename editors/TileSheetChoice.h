#pragma once

// What the tile editor asks before it writes or reads a tile sheet: which tiles (all 256 or one
// half) and which file. The default asks with a list and a file dialog; a test answers without
// a window (CTileEditorDlg::SetTileSheetChooser).

#include "graphics/TileSheet.h"

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace korvane {

enum class TileSheetAction { Export, Import };

struct TileSheetChoice {
    TileSheetPart part = TileSheetPart::AllTiles;
    QString path;
};

// Nothing when the user cancelled either question.
using TileSheetChooser = std::function<std::optional<TileSheetChoice>(TileSheetAction action)>;

// The items of the tiles question, in TileSheetPart order.
QStringList TileSheetPartItems();

// Asks which tiles (a list of TileSheetPartItems) and then the PNG file to write or read, in
// dialogs over parent.
std::optional<TileSheetChoice> AskTileSheetChoice(QWidget* parent, TileSheetAction action);

} // namespace korvane
