#include "CPaletteEditorDlg.h"

#include "CColourListControl.h"
#include "CColourSelectorControl.h"
#include "CPixelEditorControl.h"
#include "ColourControlsLink.h"
#include "EditorControlIds.h"
#include "HexText.h"
#include "PaletteRows.h"
#include "SpecialEffectLabels.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGridLayout>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace korvane {

namespace {

constexpr int kPaletteListWidth = 200;
// The effect field shows this many characters of its label; the drop-down list shows them all.
constexpr int kEffectFieldCharacters = 40;
// Room in the drop-down list for the item's own margins and frame.
constexpr int kEffectListMargin = 16;
constexpr int kSelectorRows = 4;
constexpr int kColoursPerPalette = 4;

std::span<std::uint8_t> RowColours(LevelRecord& level, int row) {
    return PaletteRowColours(level, row);
}

} // namespace

CPaletteEditorDlg::CPaletteEditorDlg(DisplayContext& display, LevelRecord& level, QWidget* parent)
    : CEditorDialog(display, level, parent) {
    setWindowTitle(tr("Palette Editor"));
    SetItemUnit(
        {&RowColours, kPaletteRowCount, tr("palette"), tr("colour"), tr("colour"), tr("colours")});

    strip_ = new CPixelEditorControl(ids::kPixelEditor, this);
    strip_->SetDataMode(PixelDataMode::Strip);
    LoadStrip();
    strip_->SetColours(1, 0);
    connect(strip_, &CPixelEditorControl::PixelsChanged, this, &CPaletteEditorDlg::StorePalette);
    WatchPixelEditor(*strip_);

    colourSelector_ = new CColourSelectorControl(ids::kColourSelector, this);
    colourSelector_->Clear();
    colourSelector_->SetRows(kSelectorRows);
    colourSelector_->SetAllNesColours();
    colourSelector_->SetLeftSelection(1);
    colourSelector_->SetRightSelection(0);
    LinkColourControls(*colourSelector_, *strip_);

    paletteList_ = new CColourListControl(this);
    paletteList_->setObjectName(ids::ControlObjectName(ids::kPaletteList));
    paletteList_->setFixedWidth(kPaletteListWidth);
    SetUpPaletteRowColumns(*paletteList_, kPaletteRowCount);
    ShowPaletteRows(*paletteList_, workingCopy());
    shownSets_ = workingCopy().paletteSets;
    paletteList_->SelectRow(0);
    connect(paletteList_, &CColourListControl::clicked, this, &CPaletteEditorDlg::RowClicked);

    effects_ = new QComboBox(this);
    effects_->setObjectName(ids::ControlObjectName(ids::kEffectCombo));
    for (int code = 0; code < kSpecialEffectCodes; ++code) {
        effects_->addItem(SpecialEffectLabel(code));
    }
    effects_->setMaxVisibleItems(20);
    // Some labels run to a hundred characters: the field keeps the dialog as wide as the colour
    // selector and the list that drops down is as wide as its longest label, while the tool
    // tip shows the whole chosen label.
    effects_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    effects_->setMinimumContentsLength(kEffectFieldCharacters);
    int longestLabel = 0;
    for (int code = 0; code < kSpecialEffectCodes; ++code) {
        longestLabel =
            std::max(longestLabel,
                     effects_->view()->fontMetrics().horizontalAdvance(effects_->itemText(code)));
    }
    effects_->view()->setMinimumWidth(longestLabel + kEffectListMargin +
                                      effects_->view()->verticalScrollBar()->sizeHint().width());
    ShowEffect();
    connect(effects_, &QComboBox::currentIndexChanged, this, &CPaletteEditorDlg::ChooseEffect);
    connect(effects_, &QComboBox::currentTextChanged, effects_, &QWidget::setToolTip);

    QPushButton* paint = CreatePaintButton();
    QPushButton* dropper = CreateDropperButton();
    connect(paint, &QPushButton::clicked, this, [this] { strip_->SetTool(PixelTool::Paint); });
    connect(dropper, &QPushButton::clicked, this, [this] { strip_->SetTool(PixelTool::Dropper); });
    auto* tools = new QWidget(this);
    auto* toolGrid = new QGridLayout(tools);
    toolGrid->setContentsMargins(0, 0, 0, 0);
    toolGrid->addWidget(paint, 0, 0);
    toolGrid->addWidget(dropper, 0, 1);
    toolGrid->addWidget(CreateCopyButton(), 0, 2);
    toolGrid->addWidget(CreatePasteButton(), 0, 3);
    toolGrid->setColumnStretch(4, 1);

    auto* right = new QVBoxLayout;
    right->addWidget(Labelled(tr("Palette edition"), strip_));
    right->addWidget(tools);
    right->addWidget(Labelled(tr("NES Colours available"), colourSelector_));
    right->addWidget(Labelled(tr("Special Effect edition"), effects_));
    right->addStretch(1);
    body()->addWidget(Labelled(tr("Palettes that can be edited"), paletteList_), 0, Qt::AlignTop);
    body()->addLayout(right);

    FinishOpening(); // the Paint tool
    strip_->SetTool(PixelTool::Paint);
}

QString CPaletteEditorDlg::RowName() const {
    const int row = selectedPaletteRow();
    return PaletteRowLabel(PaletteRowSet(row), PaletteRowPalette(row));
}

void CPaletteEditorDlg::LoadStrip() {
    strip_->LoadStrip(PaletteRowColours(workingCopy(), selectedPaletteRow()), kDefaultPixelCell);
}

void CPaletteEditorDlg::ShowEffect() {
    const QSignalBlocker quiet(effects_);
    effects_->setCurrentIndex(PaletteRowEffect(workingCopy(), selectedPaletteRow()));
    effects_->setToolTip(effects_->currentText());
}

void CPaletteEditorDlg::RowClicked() {
    const int row = paletteList_->SelectedRow(kPaletteRowCount);
    if (row >= kPaletteRowCount) {
        return;
    }
    SetSelectedItem(row);
    ShowEffect();
    LoadStrip();
}

void CPaletteEditorDlg::StorePalette() {
    const int row = selectedPaletteRow();
    const StripColours strip = strip_->ReadStrip();
    const auto now = PaletteRowColours(workingCopy(), row);
    // A press or a move paints one cell: the step names it.
    std::size_t changed = 0;
    while (changed + 1 < strip.size() && strip[changed] == now[changed]) {
        ++changed;
    }
    const QString text = tr("Palette %1: colour %2 = $%3")
                             .arg(RowName())
                             .arg(changed)
                             .arg(HexByteText(strip[changed]));
    ApplyEdit(text, [row, strip](LevelRecord& level) {
        std::copy(strip.begin(), strip.end(), PaletteRowColours(level, row).begin());
    });
}

void CPaletteEditorDlg::ChooseEffect(int code) {
    if (code < 0) {
        return;
    }
    const int row = selectedPaletteRow();
    ApplyEdit(tr("%1: effect $%2").arg(RowName(), HexByteText(code)),
              [row, code](LevelRecord& level) {
                  PaletteRowEffect(level, row) = static_cast<std::uint8_t>(code);
              });
}

void CPaletteEditorDlg::Paste() {
    if (!hasClipboard() || clipboard().size() != 4) {
        return;
    }
    const int row = selectedPaletteRow();
    const std::vector<std::uint8_t> colours = clipboard();
    ApplyEdit(tr("Paste onto %1").arg(RowName()), [row, colours](LevelRecord& level) {
        std::copy(colours.begin(), colours.end(), PaletteRowColours(level, row).begin());
    });
}

void CPaletteEditorDlg::ShowChangedRows() {
    const LevelRecord& level = workingCopy();
    for (int row = 0; row < kPaletteRowCount; ++row) {
        const auto set = static_cast<std::size_t>(PaletteRowSet(row));
        const int palette = PaletteRowPalette(row);
        const PaletteSet& now = level.paletteSets[set];
        const PaletteSet& shown = shownSets_[set];
        bool same = now.effectCodes()[static_cast<std::size_t>(palette)] ==
                    shown.effectCodes()[static_cast<std::size_t>(palette)];
        for (int k = 0; k < kColoursPerPalette; ++k) {
            same = same && now.colour(palette, k) == shown.colour(palette, k);
        }
        if (!same) {
            ShowPaletteRow(*paletteList_, row, now, PaletteRowSet(row), palette);
        }
    }
    shownSets_ = level.paletteSets;
}

void CPaletteEditorDlg::RefreshFromWorkingCopy() {
    CEditorDialog::RefreshFromWorkingCopy();
    ShowChangedRows();
    ShowEffect();
    // The strip after its own change already shows the working copy: reloading it would end a
    // paint drag along it after the first colour.
    const auto colours = PaletteRowColours(workingCopy(), selectedPaletteRow());
    const StripColours shown = strip_->ReadStrip();
    if (!std::equal(colours.begin(), colours.end(), shown.begin())) {
        LoadStrip();
    }
}

} // namespace korvane
