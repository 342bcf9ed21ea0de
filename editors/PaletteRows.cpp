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
constexpr std::size_t kEffectOffset = 16; // the effect codes follow the 16 colour bytes

std::size_t FirstColour(int row) {
    return static_cast<std::size_t>(PaletteRowPalette(row) * kPalettesPerSet);
}

std::size_t SetIndex(int row) {
    return static_cast<std::size_t>(PaletteRowSet(row));
}

} // namespace

std::span<std::uint8_t, 4> PaletteRowColours(LevelRecord& level, int row) {
    return std::span<std::uint8_t, 4>(
        level.paletteSets[SetIndex(row)].bytes.data() + FirstColour(row), 4);
}

std::span<const std::uint8_t, 4> PaletteRowColours(const LevelRecord& level, int row) {
    return std::span<const std::uint8_t, 4>(
        level.paletteSets[SetIndex(row)].bytes.data() + FirstColour(row), 4);
}

std::uint8_t& PaletteRowEffect(LevelRecord& level, int row) {
    return level.paletteSets[SetIndex(row)]
        .bytes[kEffectOffset + static_cast<std::size_t>(PaletteRowPalette(row))];
}

std::uint8_t PaletteRowEffect(const LevelRecord& level, int row) {
    return level.paletteSets[SetIndex(row)]
        .bytes[kEffectOffset + static_cast<std::size_t>(PaletteRowPalette(row))];
}

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
        ShowPaletteRow(list, row, level.paletteSets[SetIndex(row)], PaletteRowSet(row),
                       PaletteRowPalette(row));
    }
}

} // namespace korvane
