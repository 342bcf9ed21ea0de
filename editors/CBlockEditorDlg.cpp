#include "CBlockEditorDlg.h"

#include "CCanvasControl.h"
#include "CColourListControl.h"
#include "EditorControlIds.h"
#include "HighlightList.h"
#include "PaletteRows.h"

#include <QComboBox>

namespace korvane {

namespace {

static_assert(sizeof(Block) == 5, "a block is its four tile numbers and its attribute byte");

constexpr int kPalettes = kPalettesPerSet;
constexpr int kPaletteListWidth = 200;
constexpr std::uint8_t kPaletteBits = 0x0F; // the palette row as shown: bits 2-3 included
constexpr std::uint8_t kTypeBits = 0xF0;

// Blocks: 16 x 16 blocks, all visible.
constexpr CanvasLayout kBlocksLayout{32, 32, 1, 1, 32, 32, 2, 16};
// The selected block four times enlarged.
constexpr CanvasLayout kEditLayout{2, 2, 4, 1, 2, 2, 1, 32};
// The 256 tiles twice enlarged, in one palette.
constexpr CanvasLayout kTilesLayout{16, 16, 2, 1, 16, 16, 1, 16};

} // namespace

CBlockEditorDlg::CBlockEditorDlg(DisplayContext& display, LevelRecord& level, QWidget* parent)
    : CEditorDialog(display, level, parent) {
    setWindowTitle(tr("Block Editor"));
    SetItemUnit({[](LevelRecord& record, int item) -> std::span<std::uint8_t> {
                     return ObjectBytes(record.blocks[static_cast<std::size_t>(item)]);
                 },
                 kBlockCount, tr("block"), tr("tile"), tr("quarter"), tr("quarters")});

    typeCombo_ = new QComboBox(this);
    typeCombo_->setObjectName(ids::ControlObjectName(ids::kBlockTypeCombo));
    for (int type = 0; type < kBlockTypeItems; ++type) {
        typeCombo_->addItem(
            QString::fromLatin1(kHighlightItems.at(static_cast<std::size_t>(type))));
    }
    connect(typeCombo_, &QComboBox::activated, this, &CBlockEditorDlg::ChooseType);

    paletteList_ = new CColourListControl(this);
    paletteList_->setObjectName(ids::ControlObjectName(ids::kPaletteList));
    paletteList_->setFixedWidth(kPaletteListWidth);
    SetUpPaletteRowColumns(*paletteList_, kPalettes);
    FillPaletteList();
    connect(paletteList_, &CColourListControl::clicked, this, &CBlockEditorDlg::PaletteRowClicked);

    const CanvasRoles shown = CanvasRole::Highlight | CanvasRole::PaletteSet | CanvasRole::Grid;
    const StandardCanvases canvases = BuildStandardLayout(
        {ids::kBlocksCanvas, tr("Blocks that can be edited"), kBlocksLayout,
         CanvasRole::Items | shown, &CCanvasControl::DrawAllBlocks},
        {ids::kBlockEditCanvas, tr("Block edition"), kEditLayout, CanvasRole::Edit | shown,
         [this](CCanvasControl& canvas) {
             canvas.SetCurrentBlock(selectedItem());
             canvas.DrawBlock();
         }},
        // The tiles are never shaded; they show in the palette chosen in the palette list.
        {ids::kTilesCanvas, tr("Tiles that can be used to make a block"), kTilesLayout,
         CanvasRole::Parts | CanvasRole::PaletteSet | CanvasRole::Grid,
         &CCanvasControl::DrawAllTiles},
        {Labelled(tr("Block Type edition"), typeCombo_)},
        {Labelled(tr("Palette Edition"), paletteList_)});
    blocks_ = canvases.items;
    edit_ = canvases.edit;
    tiles_ = canvases.parts;
    tiles_->SetTilePalette(0);

    FinishOpening();
    ShowSelectedBlock();
}

const Block& CBlockEditorDlg::SelectedBlock() const {
    return workingCopy().blocks[static_cast<std::size_t>(selectedItem() & 0xFF)];
}

void CBlockEditorDlg::ShowSelectedBlock() {
    const std::uint8_t attributes = SelectedBlock().attributes;
    typeCombo_->setCurrentIndex(attributes >> 4);
    paletteList_->SelectRow(attributes & kPaletteBits);
}

void CBlockEditorDlg::RefreshFromWorkingCopy() {
    CEditorDialog::RefreshFromWorkingCopy();
    ShowSelectedBlock();
}

void CBlockEditorDlg::SelectedItemChanged() {
    ShowSelectedBlock();
}

void CBlockEditorDlg::FillPaletteList() {
    const PaletteSet& set = workingCopy().paletteSets[static_cast<std::size_t>(paletteSet())];
    for (int p = 0; p < kPalettes; ++p) {
        ShowPaletteRow(*paletteList_, p, set, paletteSet(), p);
    }
}

void CBlockEditorDlg::PaletteSetChanged() {
    // The palette list shows the new set with the row chosen before; the tiles take that
    // row's palette (their old one when no row is chosen).
    const int row = paletteList_->SelectedRow(kPalettes);
    FillPaletteList();
    if (row < kPalettes) {
        paletteList_->SelectRow(row);
        tiles_->SetTilePalette(row);
        Redraw(*tiles_);
    }
}

void CBlockEditorDlg::ChooseType(int type) {
    const int block = selectedItem();
    ApplyEdit(tr("Block %1: type %2").arg(block).arg(type), [block, type](LevelRecord& level) {
        std::uint8_t& attributes = level.blocks[static_cast<std::size_t>(block)].attributes;
        attributes = static_cast<std::uint8_t>((attributes & kPaletteBits) | (type << 4));
    });
}

void CBlockEditorDlg::PaletteRowClicked() {
    const int row = paletteList_->SelectedRow(kPalettes);
    if (row >= kPalettes) {
        return;
    }
    const int block = selectedItem();
    ApplyEdit(tr("Block %1: palette %2").arg(block).arg(row), [block, row](LevelRecord& level) {
        std::uint8_t& attributes = level.blocks[static_cast<std::size_t>(block)].attributes;
        attributes = static_cast<std::uint8_t>((attributes & kTypeBits) | row);
    });
    tiles_->SetTilePalette(row);
    Redraw(*tiles_);
}

} // namespace korvane
