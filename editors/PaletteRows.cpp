#include "PaletteRows.h"

#include "CColourListControl.h"
#include "CPaletteSwatchImage.h"
#include "HexText.h"

namespace korvane {

namespace {

constexpr int kIndexColumn = 0;
constexpr int kSwatchColumn = 1;
constexpr int kEffectColumn = 2;
constexpr int kEffectColumnWidth = 24;

} // namespace

QString PaletteRowLabel(int set, int palette) {
    return QStringLiteral("Set #%1, Pal #%2").arg(set + 1).arg(palette + 1);
}

void SetUpPaletteRowColumns(CColourListControl& list, int rows) {
    list.SetUpColumns(rows, {{QStringLiteral("Index"), CColourListControl::kRestOfWidth},
                             {QStringLiteral("Palette"), CPaletteSwatchImage::kWidth},
                             {QStringLiteral("Fx"), kEffectColumnWidth}});
}

void ShowPaletteRow(CColourListControl& list, int listRow, const PaletteSet& paletteSet, int set,
                    int palette) {
    list.SetCellText(PaletteRowLabel(set, palette), kIndexColumn, listRow);
    CPaletteSwatchImage swatch;
    swatch.MakePalette(paletteSet, palette);
    list.SetCellImage(swatch, kSwatchColumn, listRow);
    list.SetCellText(HexByteText(paletteSet.effectCodes()[static_cast<std::size_t>(palette)]),
                     kEffectColumn, listRow);
}

void ShowPaletteRows(CColourListControl& list, const LevelRecord& level) {
    for (int row = 0; row < kPaletteRowCount; ++row) {
        ShowPaletteRow(list, row, level.paletteSets[static_cast<std::size_t>(PaletteRowSet(row))],
                       PaletteRowSet(row), PaletteRowPalette(row));
    }
}

} // namespace korvane
