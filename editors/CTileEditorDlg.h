#pragma once

// The tile editor: the 256 background tiles of a level in an overview, the selected tile
// enlarged in a pixel editor and painted pixel by pixel with the left and right colours of a
// colour selector, a bucket, a dropper, the whole-tile commands (fill, shift, mirror, rotate),
// copy and paste, the 20 palettes to look at the tiles with, the tiles the level does not use,
// either half of the tiles replaced from another cartridge file ("Tiles import"), and the tiles
// written to and read from a tile sheet picture ("Export Tiles...", "Import Tiles...").
//
// Undo steps: a paint stroke from press to release (however many pixels it changed), a bucket
// fill, each tile command, a Paste, an import and a tile sheet import. While a stroke goes on the
// pixel editor holds its pixels and the overview shows them; the working copy takes the stroke when
// it ends. Undo, Redo, Paste, the tile commands and the imports asked for meanwhile (from the
// keyboard) wait until then, and each makes its own step after the stroke's.

#include "CEditorDialog.h"
#include "CPixelEditorControl.h"
#include "TileSheetChoice.h"

#include <functional>

class QComboBox;
class QLabel;

namespace korvane {

class CColourSelectorControl;
class CTileImportDlg;
class GameData;

class CTileEditorDlg : public CEditorDialog {
    Q_OBJECT
public:
    // Runs the "Tiles import" dialog modally: true when it ended with OK. The default shows it
    // with exec(); a test answers it without a window (LoadFile, the Bank # field, accept()).
    using ImportRunner = std::function<bool(CTileImportDlg& dialog)>;

    // The object names of the tile sheet buttons (they have no fixed id).
    static constexpr const char* kExportTilesName = "exportTiles";
    static constexpr const char* kImportTilesName = "importTiles";

    CTileEditorDlg(DisplayContext& display, LevelRecord& level, QWidget* parent = nullptr);

    // A stroke still going on (OK from the keyboard with a button held) is taken first.
    void accept() override;

    void SetImportRunner(ImportRunner runner);
    // Tells the user which halves of the level's tiles other copies share (other levels, the
    // level's other half, the sprite tiles), one line per shared half, in the label named
    // "tileSharing": edits reach those copies too when the result is taken.
    void ShowTileSharing(const GameData& gameData, int levelNumber);

    int selectedTile() const { return selectedItem(); }
    int selectedPaletteRow() const { return paletteRow_; }
    PixelTool pixelTool() const { return pixelTool_; }

    // The import buttons: half 0 replaces tiles 0-127, half 1 tiles 128-255 (one step).
    void ImportHalf(int half);

    // Replaces the tile sheet questions (which tiles, which file); an empty one restores the
    // default, which asks in dialogs.
    void SetTileSheetChooser(TileSheetChooser chooser);
    // "Export Tiles...": the chosen tiles as a PNG in the selected palette row's colours,
    // written whole or not at all. Failures are told in a message box.
    void ExportTileSheet();
    // "Import Tiles...": the chosen tiles from a picture, as one step. A refused picture is
    // told in a message box and changes nothing.
    void ImportTileSheet();

protected:
    void RefreshFromWorkingCopy() override;
    void SelectedItemChanged() override;
    // The pixel editor's tile into the clipboard.
    void Copy() override;
    void Paste() override;

private:
    void BuildControls();
    QWidget* BuildToolButtons();
    void SelectPixelTool(PixelTool tool);
    void PaletteRowClicked();
    void StrokeStarted();
    void StrokeFinished();
    void PixelsChanged();
    // The pixel editor's tile into the selected tile of the working copy, as one step.
    void StoreTile(const QString& text);
    // During a stroke: the overview shows the pixel editor's tile, the working copy waits.
    void ShowPendingTile();
    // A whole-tile command of the pixel editor, stored as one step named text.
    void RunTileCommand(const QString& what, void (CPixelEditorControl::*command)());
    void LoadSelectedTile();
    QString TileName() const;

    CCanvasControl* overview_ = nullptr;
    CPixelEditorControl* pixelEditor_ = nullptr;
    CColourSelectorControl* colourSelector_ = nullptr;
    CColourListControl* paletteList_ = nullptr;
    QComboBox* highlights_ = nullptr;
    QLabel* sharing_ = nullptr;
    QPushButton* paintButton_ = nullptr;
    QPushButton* dropperButton_ = nullptr;
    QPushButton* bucketButton_ = nullptr;

    ImportRunner importRunner_;
    TileSheetChooser tileSheetChooser_;
    PixelTool pixelTool_ = PixelTool::Paint;
    int paletteRow_ = 0;
    QString strokeText_;  // the step a stroke makes: "Paint tile $05" or "Fill tile $05"
    QString commandText_; // the step the tile command under way makes
    bool reloading_ = false;
};

} // namespace korvane
