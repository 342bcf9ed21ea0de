#include "CTileEditorDlg.h"

#include "CCanvasControl.h"
#include "CColourListControl.h"
#include "CColourSelectorControl.h"
#include "CTileImportDlg.h"
#include "ColourControlsLink.h"
#include "EditorControlIds.h"
#include "EditorMessage.h"
#include "HexText.h"
#include "HighlightList.h"
#include "PaletteRows.h"
#include "gamedata/AtomicFileWriter.h"
#include "gamedata/GameData.h"
#include "gamedata/TileHalfSharing.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

namespace korvane {

namespace {

constexpr int kTileCount = 256;
constexpr int kHalfTiles = 128;
constexpr int kPaletteListWidth = 200;
constexpr int kToolColumns = 4;

// The 256 tiles, 16 x 16 cells at scale 2, one grid line per tile, a one-cell frame.
constexpr CanvasLayout kOverviewLayout{16, 16, 2, 1, 16, 16, 1, 16};

// The first of the two Highlights items, "No shading"; the second shows the unused tiles.
constexpr int kNoShadingChoice = 0;

// The bytes of count tiles from tile first on.
std::span<std::uint8_t> TileRange(LevelRecord& level, int first, int count) {
    return std::span<std::uint8_t>(level.tiles)
        .subspan(static_cast<std::size_t>(first) * kTileDataBytes,
                 static_cast<std::size_t>(count) * kTileDataBytes);
}

std::span<std::uint8_t> TileBytesOf(LevelRecord& level, int tile) {
    return TileRange(level, tile, 1);
}

bool RunModally(CTileImportDlg& dialog) {
    return dialog.exec() == QDialog::Accepted;
}

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace

CTileEditorDlg::CTileEditorDlg(DisplayContext& display, LevelRecord& level, QWidget* parent)
    : CEditorDialog(display, level, parent), importRunner_(RunModally) {
    SetTileSheetChooser({});
    setWindowTitle(tr("Tile Editor"));
    SetItemUnit({&TileBytesOf, kTileCount, tr("tile"), tr("colour"), tr("pixel"), tr("pixels")});
    BuildControls();
    FinishOpening(); // the grid toggled once: shown
    highlights_->setCurrentIndex(kNoShadingChoice);
    ChooseHighlight(kNoShadingItem);
    SelectPixelTool(PixelTool::Paint);
}

void CTileEditorDlg::BuildControls() {
    overview_ = AddCanvas(ids::kTilesCanvas, kOverviewLayout,
                          CanvasRole::Items | CanvasRole::PaletteSet | CanvasRole::Highlight |
                              CanvasRole::Grid,
                          &CCanvasControl::DrawAllTiles);
    overview_->SetTilePalette(0);
    Redraw(*overview_);

    const auto rowColours = PaletteRowColours(workingCopy(), paletteRow_);
    pixelEditor_ = new CPixelEditorControl(ids::kPixelEditor, this);
    pixelEditor_->SetDataMode(PixelDataMode::Tile);
    LoadSelectedTile();
    pixelEditor_->SetTileColours(rowColours);
    pixelEditor_->SetColours(1, 0);
    connect(pixelEditor_, &CPixelEditorControl::StrokeStarted, this,
            &CTileEditorDlg::StrokeStarted);
    connect(pixelEditor_, &CPixelEditorControl::StrokeFinished, this,
            &CTileEditorDlg::StrokeFinished);
    connect(pixelEditor_, &CPixelEditorControl::PixelsChanged, this,
            &CTileEditorDlg::PixelsChanged);
    WatchPixelEditor(*pixelEditor_);

    colourSelector_ = new CColourSelectorControl(ids::kColourSelector, this);
    colourSelector_->Clear();
    colourSelector_->SetPaletteColours(rowColours);
    colourSelector_->SetLeftSelection(1);
    colourSelector_->SetRightSelection(0);
    LinkColourControls(*colourSelector_, *pixelEditor_);

    paletteList_ = new CColourListControl(this);
    paletteList_->setObjectName(ids::ControlObjectName(ids::kPaletteList));
    paletteList_->setFixedWidth(kPaletteListWidth);
    SetUpPaletteRowColumns(*paletteList_, kPaletteRowCount);
    ShowPaletteRows(*paletteList_, workingCopy());
    paletteList_->SelectRow(0);
    connect(paletteList_, &CColourListControl::clicked, this, &CTileEditorDlg::PaletteRowClicked);

    highlights_ = new QComboBox(this);
    highlights_->setObjectName(ids::ControlObjectName(ids::kTileHighlights));
    highlights_->addItem(QString::fromLatin1(kHighlightItems[kNoShadingItem]));
    highlights_->addItem(QString::fromLatin1(kHighlightItems[kUnusedItem]));
    connect(highlights_, &QComboBox::currentIndexChanged, this, [this](int item) {
        ChooseHighlight(item == kNoShadingChoice ? kNoShadingItem : kUnusedItem);
    });

    auto* importFirst = new QPushButton(tr("Import first half of tiles from another game"), this);
    importFirst->setObjectName(ids::ControlObjectName(ids::kImportFirstHalf));
    importFirst->setAutoDefault(false);
    connect(importFirst, &QPushButton::clicked, this,
            [this] { RunWhenButtonsFree([this] { ImportHalf(0); }); });
    auto* importSecond = new QPushButton(tr("Import second half of tiles from another game"), this);
    importSecond->setObjectName(ids::ControlObjectName(ids::kImportSecondHalf));
    importSecond->setAutoDefault(false);
    connect(importSecond, &QPushButton::clicked, this,
            [this] { RunWhenButtonsFree([this] { ImportHalf(1); }); });

    auto* exportSheet = new QPushButton(tr("Export Tiles..."), this);
    exportSheet->setObjectName(QString::fromLatin1(kExportTilesName));
    exportSheet->setAutoDefault(false);
    connect(exportSheet, &QPushButton::clicked, this, &CTileEditorDlg::ExportTileSheet);
    auto* importSheet = new QPushButton(tr("Import Tiles..."), this);
    importSheet->setObjectName(QString::fromLatin1(kImportTilesName));
    importSheet->setAutoDefault(false);
    connect(importSheet, &QPushButton::clicked, this,
            [this] { RunWhenButtonsFree([this] { ImportTileSheet(); }); });
    auto* sheetButtons = new QHBoxLayout;
    sheetButtons->addWidget(exportSheet);
    sheetButtons->addWidget(importSheet);

    sharing_ = new QLabel(this);
    sharing_->setObjectName(QStringLiteral("tileSharing"));
    sharing_->setTextFormat(Qt::PlainText);
    sharing_->hide();

    auto* left = new QVBoxLayout;
    left->addWidget(Labelled(tr("Tiles that can be edited"), overview_));
    left->addWidget(Labelled(tr("Highlights"), highlights_));
    left->addStretch(1);
    auto* pixels = new QHBoxLayout;
    pixels->addWidget(pixelEditor_, 0, Qt::AlignTop);
    pixels->addWidget(colourSelector_, 0, Qt::AlignTop);
    auto* pixelBox = new QWidget(this);
    pixelBox->setLayout(pixels);
    pixels->setContentsMargins(0, 0, 0, 0);
    auto* middle = new QVBoxLayout;
    middle->addWidget(Labelled(tr("Tile edition"), pixelBox));
    middle->addWidget(BuildToolButtons());
    middle->addStretch(1);
    middle->addWidget(importFirst);
    middle->addWidget(importSecond);
    middle->addLayout(sheetButtons);
    auto* right = new QVBoxLayout;
    right->addWidget(Labelled(tr("Palette selection"), paletteList_));
    right->addStretch(1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(middle);
    columns->addLayout(right);
    auto* all = new QVBoxLayout;
    all->addLayout(columns);
    all->addWidget(sharing_);
    body()->addLayout(all);
}

QWidget* CTileEditorDlg::BuildToolButtons() {
    paintButton_ = CreateToolButton(ids::kPaint, ids::bitmap::kPaint, tr("Paint"));
    dropperButton_ = CreateToolButton(ids::kDropper, ids::bitmap::kDropper, tr("Dropper"));
    bucketButton_ = CreateToolButton(ids::kBucket, ids::bitmap::kBucket, tr("Bucket"));
    const struct {
        QPushButton* button;
        PixelTool tool;
    } tools[] = {{paintButton_, PixelTool::Paint},
                 {dropperButton_, PixelTool::Dropper},
                 {bucketButton_, PixelTool::Bucket}};
    for (const auto& entry : tools) {
        entry.button->setCheckable(true);
        const PixelTool tool = entry.tool;
        connect(entry.button, &QPushButton::clicked, this, [this, tool] { SelectPixelTool(tool); });
    }

    QPushButton* erase = CreateToolButton(ids::kFillErase, ids::bitmap::kFillErase, tr("F.Erase"));
    connect(erase, &QPushButton::clicked, this, [this] {
        RunWhenButtonsFree([this] {
            const int colour = pixelEditor_->leftColour();
            commandText_ = tr("Erase %1 to colour %2").arg(TileName()).arg(colour);
            pixelEditor_->Fill(colour);
        });
    });

    const struct {
        int id;
        int bitmap;
        const char* name;
        const char* what; // the step text: "%1" is "tile $05"
        void (CPixelEditorControl::*command)();
    } commands[] = {
        {ids::kShiftLeft, ids::bitmap::kShiftLeft, "Sh.Left", "Shift %1 left",
         &CPixelEditorControl::ShiftLeft},
        {ids::kShiftUp, ids::bitmap::kShiftUp, "Sh.Up", "Shift %1 up",
         &CPixelEditorControl::ShiftUp},
        {ids::kShiftDown, ids::bitmap::kShiftDown, "Sh.Down", "Shift %1 down",
         &CPixelEditorControl::ShiftDown},
        {ids::kShiftRight, ids::bitmap::kShiftRight, "Sh.Right", "Shift %1 right",
         &CPixelEditorControl::ShiftRight},
        {ids::kMirrorHorizontal, ids::bitmap::kMirrorHorizontal, "Mirr.Hor", "Mirror %1 left-right",
         &CPixelEditorControl::MirrorHorizontal},
        {ids::kMirrorVertical, ids::bitmap::kMirrorVertical, "Mirr.Ver", "Mirror %1 top-bottom",
         &CPixelEditorControl::MirrorVertical},
        {ids::kRotateCounterClockwise, ids::bitmap::kRotateCounterClockwise, "RCCLKW",
         "Rotate %1 counter-clockwise", &CPixelEditorControl::RotateCounterClockwise},
        {ids::kRotateClockwise, ids::bitmap::kRotateClockwise, "RCLKW", "Rotate %1 clockwise",
         &CPixelEditorControl::RotateClockwise},
    };
    std::vector<QPushButton*> commandButtons;
    for (const auto& entry : commands) {
        QPushButton* button = CreateToolButton(entry.id, entry.bitmap, tr(entry.name));
        const QString what = tr(entry.what);
        const auto command = entry.command;
        connect(button, &QPushButton::clicked, this,
                [this, what, command] { RunTileCommand(what, command); });
        commandButtons.push_back(button);
    }

    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    const std::vector<QWidget*> order{
        paintButton_,       dropperButton_,      bucketButton_,     erase,
        commandButtons[0],  commandButtons[1],   commandButtons[2], commandButtons[3],
        commandButtons[4],  commandButtons[5],   commandButtons[6], commandButtons[7],
        CreateCopyButton(), CreatePasteButton(), CreateGridButton()};
    for (std::size_t i = 0; i < order.size(); ++i) {
        const int index = static_cast<int>(i);
        grid->addWidget(order[i], index / kToolColumns, index % kToolColumns);
    }
    grid->setColumnStretch(kToolColumns, 1);
    return box;
}

void CTileEditorDlg::SetImportRunner(ImportRunner runner) {
    importRunner_ = runner ? std::move(runner) : ImportRunner(RunModally);
}

void CTileEditorDlg::ShowTileSharing(const GameData& gameData, int levelNumber) {
    QStringList lines;
    for (int half = 0; half < 2; ++half) {
        const std::string text =
            TileHalfSharingText(half, gameData.FindTileHalfSharing(levelNumber, half));
        if (!text.empty()) {
            lines.append(QString::fromStdString(text));
        }
        const std::string outside =
            TileHalfOutsideText(half, workingCopy().tileBanks[static_cast<std::size_t>(half)]);
        if (!outside.empty()) {
            lines.append(QString::fromStdString(outside));
        }
    }
    sharing_->setText(lines.join(QLatin1Char('\n')));
    sharing_->setVisible(!lines.isEmpty());
}

QString CTileEditorDlg::TileName() const {
    return tr("tile $%1").arg(HexByteText(selectedTile()));
}

void CTileEditorDlg::LoadSelectedTile() {
    const std::span<const std::uint8_t> tile = SelectedUnit();
    reloading_ = true;
    pixelEditor_->LoadTile(tile.first<kTileDataBytes>(), kDefaultPixelCell);
    reloading_ = false;
}

void CTileEditorDlg::SelectPixelTool(PixelTool tool) {
    pixelTool_ = tool;
    pixelEditor_->SetTool(tool);
    paintButton_->setChecked(tool == PixelTool::Paint);
    dropperButton_->setChecked(tool == PixelTool::Dropper);
    bucketButton_->setChecked(tool == PixelTool::Bucket);
}

void CTileEditorDlg::SelectedItemChanged() {
    LoadSelectedTile();
}

void CTileEditorDlg::PaletteRowClicked() {
    const int row = paletteList_->SelectedRow(kPaletteRowCount);
    if (row >= kPaletteRowCount) {
        return;
    }
    paletteRow_ = row;
    overview_->SetTilePalette(PaletteRowPalette(row));
    SetPaletteSet(PaletteRowSet(row)); // gives the overview the set and redraws it
    const auto colours = PaletteRowColours(workingCopy(), row);
    pixelEditor_->SetTileColours(colours);
    colourSelector_->Clear();
    colourSelector_->SetPaletteColours(colours);
}

void CTileEditorDlg::StrokeStarted() {
    strokeText_ =
        (pixelTool_ == PixelTool::Bucket ? tr("Fill %1") : tr("Paint %1")).arg(TileName());
}

void CTileEditorDlg::StrokeFinished() {
    // A stroke cut short by a reload has been taken already (OK takes it first); the commands
    // that change the working copy wait for the buttons to come up.
    if (!reloading_) {
        StoreTile(strokeText_);
    }
}

void CTileEditorDlg::PixelsChanged() {
    if (pixelEditor_->strokeActive()) {
        ShowPendingTile();
    } else {
        StoreTile(commandText_);
    }
}

void CTileEditorDlg::RunTileCommand(const QString& what, void (CPixelEditorControl::*command)()) {
    // During a stroke the command would join the stroke's step: it waits for the stroke to end.
    // Through std::mem_fn: GCC 12's AddressSanitizer reports a stack-buffer-underflow that is
    // not there when the member pointer is called straight from this deferred closure.
    RunWhenButtonsFree([this, what, run = std::mem_fn(command)] {
        commandText_ = what.arg(TileName());
        run(*pixelEditor_);
    });
}

void CTileEditorDlg::StoreTile(const QString& text) {
    const int tile = selectedTile();
    const TileBytes bytes = pixelEditor_->ReadTile();
    ApplyEdit(text, [tile, bytes](LevelRecord& level) {
        std::copy(bytes.begin(), bytes.end(), TileBytesOf(level, tile).begin());
    });
}

void CTileEditorDlg::ShowPendingTile() {
    std::array<std::uint8_t, kTileBytes> shown = overview_->renderer().tilePatterns();
    const TileBytes bytes = pixelEditor_->ReadTile();
    std::copy(bytes.begin(), bytes.end(),
              std::span<std::uint8_t>(shown)
                  .subspan(static_cast<std::size_t>(selectedTile()) * kTileDataBytes)
                  .begin());
    overview_->renderer().SetTilePatterns(shown);
    Redraw(*overview_);
}

void CTileEditorDlg::Copy() {
    const TileBytes bytes = pixelEditor_->ReadTile();
    SetClipboard(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

void CTileEditorDlg::Paste() {
    if (!hasClipboard() || clipboard().size() != kTileDataBytes) {
        return;
    }
    const int tile = selectedTile();
    const std::vector<std::uint8_t> bytes = clipboard();
    ApplyEdit(tr("Paste onto %1").arg(TileName()), [tile, bytes](LevelRecord& level) {
        std::copy(bytes.begin(), bytes.end(), TileBytesOf(level, tile).begin());
    });
}

void CTileEditorDlg::ImportHalf(int half) {
    CTileImportDlg importer(display(), this);
    importer.SetDisplayColours(PaletteRowColours(workingCopy(), paletteRow_));
    if (!importRunner_(importer) || !importer.bankAcceptable()) {
        return;
    }
    const ImportSlice slice = importer.ChosenSlice();
    const int first = half * kHalfTiles;
    ApplyEdit(tr("Import tiles %1-%2").arg(first).arg(first + kHalfTiles - 1),
              [slice, first](LevelRecord& level) {
                  std::copy(slice.begin(), slice.end(),
                            TileRange(level, first, kHalfTiles).begin());
              });
}

void CTileEditorDlg::SetTileSheetChooser(TileSheetChooser chooser) {
    if (!chooser) {
        chooser = [this](TileSheetAction action) { return AskTileSheetChoice(this, action); };
    }
    tileSheetChooser_ = std::move(chooser);
}

void CTileEditorDlg::ExportTileSheet() {
    const std::optional<TileSheetChoice> choice = tileSheetChooser_(TileSheetAction::Export);
    if (!choice) {
        return;
    }
    const TileSheet sheet(choice->part, PaletteRowColours(workingCopy(), paletteRow_));
    const std::vector<std::uint8_t> png = sheet.ExportPng(workingCopy().tiles);
    if (png.empty()) {
        ShowEditorStop(display(), this, tr("The tile sheet could not be made into a PNG picture."));
        return;
    }
    AtomicFileWriter writer(LocalPath(choice->path), AtomicFileWriter::Target::NewOrExisting);
    if (!writer.Write({png})) {
        ShowEditorStop(display(), this, QString::fromStdString(writer.message()));
        return;
    }
    ShowStatus(tr("Wrote %1 to %2")
                   .arg(QString::fromStdString(sheet.TileRangeText()),
                        QFileInfo(choice->path).fileName()));
}

void CTileEditorDlg::ImportTileSheet() {
    const std::optional<TileSheetChoice> choice = tileSheetChooser_(TileSheetAction::Import);
    if (!choice) {
        return;
    }
    const TileSheet sheet(choice->part, PaletteRowColours(workingCopy(), paletteRow_));
    const TileSheetResult result = sheet.ImportFile(LocalPath(choice->path));
    if (!result.ok()) {
        ShowEditorStop(display(), this,
                       QString::fromStdString(result.message) + tr(" Nothing was changed."));
        return;
    }
    const QString range = QString::fromStdString(sheet.TileRangeText());
    const bool changed = ApplyEdit(
        tr("Import %1 from a tile sheet").arg(range),
        [&sheet, &result](LevelRecord& level) { sheet.Place(result.tiles, level.tiles); });
    if (!changed) {
        ShowStatus(tr("The tile sheet holds %1 as they are: nothing changed").arg(range));
    }
}

void CTileEditorDlg::RefreshFromWorkingCopy() {
    // The overview from the working copy, in the chosen set and palette; then the pixel editor
    // with the selected tile, also after an import.
    CEditorDialog::RefreshFromWorkingCopy();
    LoadSelectedTile();
}

void CTileEditorDlg::accept() {
    if (pixelEditor_->strokeActive()) {
        StoreTile(strokeText_);
    }
    CEditorDialog::accept();
}

} // namespace korvane
