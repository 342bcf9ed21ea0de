#pragma once

// The block editor: the 256 blocks of a level (2 x 2 tiles and an attribute byte with the
// block type and palette), painted tile by tile, with the block type and palette lists.

#include "CEditorDialog.h"

class QComboBox;

namespace korvane {

class CCanvasControl;
class CColourListControl;

class CBlockEditorDlg : public CEditorDialog {
    Q_OBJECT
public:
    CBlockEditorDlg(DisplayContext& display, LevelRecord& level, QWidget* parent = nullptr);

protected:
    void RefreshFromWorkingCopy() override;
    void SelectedItemChanged() override;
    void PaletteSetChanged() override;

private:
    const Block& SelectedBlock() const;
    // The type combo and the palette list show the selected block's attribute; a block whose
    // bits 2-3 are set shows no palette row.
    void ShowSelectedBlock();
    // The four palettes of the chosen set, with their effect codes.
    void FillPaletteList();
    void ChooseType(int type);
    void PaletteRowClicked();

    CCanvasControl* blocks_ = nullptr;
    CCanvasControl* edit_ = nullptr;
    CCanvasControl* tiles_ = nullptr;
    QComboBox* typeCombo_ = nullptr;
    CColourListControl* paletteList_ = nullptr;
};

} // namespace korvane
