#pragma once

// The palette editor: the 20 background palettes of a level (four palettes in each of its five
// palette sets) in a list, the selected palette's four colours in a strip painted from the 64
// NES colours, copy and paste of a palette's colours, and each palette's special-effect code
// chosen from its 256 labels.
//
// Undo steps: one colour painted, an effect chosen, a Paste.

#include "CEditorDialog.h"

#include <array>

class QComboBox;

namespace korvane {

class CColourSelectorControl;
class CPixelEditorControl;

class CPaletteEditorDlg : public CEditorDialog {
    Q_OBJECT
public:
    CPaletteEditorDlg(DisplayContext& display, LevelRecord& level, QWidget* parent = nullptr);

    int selectedPaletteRow() const { return selectedItem(); }

protected:
    void RefreshFromWorkingCopy() override;
    void Paste() override;

private:
    void RowClicked();
    void StorePalette();
    void ChooseEffect(int code);
    void LoadStrip();
    void ShowEffect();
    // The list rows whose colours or effect code differ from what they show.
    void ShowChangedRows();
    // "Set #1, Pal #2" of the selected row.
    QString RowName() const;

    CPixelEditorControl* strip_ = nullptr;
    CColourSelectorControl* colourSelector_ = nullptr;
    CColourListControl* paletteList_ = nullptr;
    QComboBox* effects_ = nullptr;
    std::array<PaletteSet, kPaletteSetCount> shownSets_{};
};

} // namespace korvane
