#include "CEnemyPlacementDlg.h"

#include "CCanvasControl.h"
#include "CColourListControl.h"
#include "CEnemyEditorDlg.h"
#include "CNumberField.h"
#include "CPaletteSwatchImage.h"
#include "EditorControlIds.h"
#include "SelectedPlacement.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <span>

namespace korvane {

namespace {

// One room visible, framed pixel by pixel, a grid line between rooms.
constexpr int kRoomCells = 32;
constexpr int kRoomPixels = 256;
// A sprite tile canvas: 128 tiles (16 x 8) twice enlarged, the first 64 of them visible.
constexpr int kTileColumns = 16;
constexpr int kTileRowsShown = 4;
constexpr int kTileRows = 8;
constexpr int kTileScale = 2;
constexpr std::size_t kSpriteTileSize = 16;
constexpr std::size_t kSpritePageBytes = 0x400;
constexpr std::size_t kTilesPerCanvas = 128;

constexpr int kPlacementListWidth = 240;
constexpr int kPlacementListHeight = 240;
constexpr int kNumberColumnWidth = 40;
constexpr int kPaletteListWidth = 180;
constexpr int kPaletteRows = 2;
constexpr std::uint8_t kTransparent = 0x00; // what the first colour of each palette shows as
constexpr std::uint8_t kBlack = 0x0F;

// The 128 tiles of spriteTiles from page on, blank where they would run past its end.
void LoadSpritePages(const EnemyGraphics& graphics, int page,
                     std::array<std::uint8_t, kTileBytes>& tiles) {
    tiles.fill(0);
    const std::size_t start = static_cast<std::size_t>(page) * kSpritePageBytes;
    if (start >= graphics.spriteTiles.size()) {
        return;
    }
    const std::size_t bytes =
        std::min(kTilesPerCanvas * kSpriteTileSize, graphics.spriteTiles.size() - start);
    std::copy_n(graphics.spriteTiles.begin() + static_cast<std::ptrdiff_t>(start), bytes,
                tiles.begin());
}

QString Hex(int value) {
    return QStringLiteral("$%1").arg(value & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
}

} // namespace

CEnemyPlacementDlg::CEnemyPlacementDlg(DisplayContext& display, LevelRecord& level,
                                       EnemyGraphics& enemyGraphics, QWidget* parent)
    : CEditorDialog(display, level, parent), graphicsTarget_(enemyGraphics),
      graphics_(std::make_unique<EnemyGraphics>(enemyGraphics)),
      spriteLevel_(std::make_unique<LevelRecord>()) {
    setWindowTitle(tr("Hallway Enemies Editor"));
    listed_ = workingCopy().enemies;
    listedCount_ = std::clamp(workingCopy().enemyCount, 0, kEnemySlots);

    canvas_ = new CCanvasControl(display, ids::kHallwayCanvas, this);
    canvas_->setObjectName(ids::ControlObjectName(ids::kHallwayCanvas));
    canvas_->SetGrowsAcross(true);
    canvas_->SetView(kRoomCells, kRoomCells, 1, 1);
    canvas_->SetHallway(hallway_, &workingCopy(), workingCopy().tiles.data());
    canvas_->SetGrid(true, static_cast<int>(kGridColour), kRoomPixels);
    canvas_->SetSelectionFrame(true, 1);
    RegisterCanvas(*canvas_, CanvasRole::Grid, &CCanvasControl::DrawHallway,
                   [this](CCanvasControl& canvas) {
                       canvas.SetHallway(hallway_, &workingCopy(), workingCopy().tiles.data());
                   });
    canvas_->DrawHallway();
    canvas_->SetPointerMode(PointerMode::EnemyDrag);
    canvas_->SetSnap(1 << kOpeningSnapItem, 1 << kOpeningSnapItem);

    body()->addWidget(BuildPlacementSide(), 0, Qt::AlignTop);
    body()->addWidget(BuildBankSide(), 0, Qt::AlignTop);

    // The grid shown; then the hallway's placements and bank.
    FinishOpening();
    opened_ = true;
    RefreshFromWorkingCopy();
}

CEnemyPlacementDlg::~CEnemyPlacementDlg() = default;

QWidget* CEnemyPlacementDlg::BuildPlacementSide() {
    auto* side = new QWidget(this);
    auto* layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Labelled(tr("Enemy Placement edition"), canvas_));

    hallwayField_ = new CNumberField(side, ids::kHallwayField, 0, 0);
    hallwayField_->setWrapping(true);
    connect(hallwayField_, &QSpinBox::valueChanged, this,
            &CEnemyPlacementDlg::HallwayNumberChanged);
    auto* numberRow = new QHBoxLayout;
    numberRow->addWidget(new QLabel(tr("Hallway #"), side));
    numberRow->addWidget(hallwayField_);
    numberRow->addStretch(1);
    numberRow->addWidget(CreateGridButton());
    layout->addLayout(numberRow);

    auto* snaps = new QGroupBox(tr("X/Y Snap-2-Enemy (tm)"), side);
    auto* snapRow = new QHBoxLayout(snaps);
    snapX_ = new QComboBox(snaps);
    snapX_->setObjectName(ids::ControlObjectName(ids::kSnapX));
    snapY_ = new QComboBox(snaps);
    snapY_->setObjectName(ids::ControlObjectName(ids::kSnapY));
    for (QComboBox* combo : {snapX_, snapY_}) {
        for (int item = 0; item < kSnapItems; ++item) {
            combo->addItem(QString::number(1 << item));
        }
        combo->setCurrentIndex(kOpeningSnapItem);
        connect(combo, &QComboBox::currentIndexChanged, this, &CEnemyPlacementDlg::SnapChanged);
    }
    snapRow->addWidget(new QLabel(tr("X"), snaps));
    snapRow->addWidget(snapX_);
    snapRow->addWidget(new QLabel(tr("Y"), snaps));
    snapRow->addWidget(snapY_);
    snapRow->addStretch(1);
    layout->addWidget(snaps);
    layout->addStretch(1);
    return side;
}

QWidget* CEnemyPlacementDlg::BuildBankSide() {
    auto* side = new QWidget(this);
    auto* layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);

    list_ = new CColourListControl(side);
    list_->setObjectName(ids::ControlObjectName(ids::kPlacementList));
    list_->setFixedSize(kPlacementListWidth, kPlacementListHeight);
    connect(list_, &CColourListControl::clicked, this, &CEnemyPlacementDlg::ListClicked);
    connect(list_, &CColourListControl::doubleClicked, this, [this] {
        ListClicked();
        if (SelectedRow() >= 0) {
            OpenEnemyEditor(SelectedRow());
        }
    });
    layout->addWidget(list_);

    insertButton_ = new QPushButton(tr("Insert"), side);
    insertButton_->setObjectName(ids::ControlObjectName(ids::kInsertEnemy));
    connect(insertButton_, &QPushButton::clicked, this,
            [this] { RunWhenButtonsFree([this] { InsertPlacement(); }); });
    deleteButton_ = new QPushButton(tr("Delete"), side);
    deleteButton_->setObjectName(ids::ControlObjectName(ids::kDeleteEnemy));
    connect(deleteButton_, &QPushButton::clicked, this,
            [this] { RunWhenButtonsFree([this] { DeletePlacement(); }); });
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {insertButton_, deleteButton_}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    layout->addLayout(buttons);

    // 0 to 57: the banks there are. A hallway whose bank lies beyond them shows its own
    // number below 0 until a bank is chosen (see ShowBankNumber).
    bankField_ = new CNumberField(side, ids::kBankField, 0, kEnemyBankCount - 1);
    connect(bankField_, &QSpinBox::valueChanged, this, &CEnemyPlacementDlg::BankChanged);
    auto* bankRow = new QHBoxLayout;
    bankRow->addWidget(new QLabel(tr("Bank # Edition"), side));
    bankRow->addWidget(bankField_);
    bankRow->addStretch(1);
    layout->addLayout(bankRow);

    tilesA_ = CreateTileCanvas(ids::kTilesCanvas);
    tilesB_ = CreateTileCanvas(ids::kSpriteTilesBCanvas);
    auto* tiles = new QWidget(side);
    auto* tileLayout = new QVBoxLayout(tiles);
    tileLayout->setContentsMargins(0, 0, 0, 0);
    tileLayout->addWidget(tilesA_);
    tileLayout->addWidget(tilesB_);
    layout->addWidget(Labelled(tr("Tiles used by enemies in this hallway"), tiles));

    palettes_ = new CColourListControl(side);
    palettes_->setObjectName(ids::ControlObjectName(ids::kPaletteList));
    palettes_->setFixedWidth(kPaletteListWidth);
    palettes_->SetUpColumns(kPaletteRows, {{tr("Index"), CColourListControl::kRestOfWidth},
                                           {tr("Palette"), CPaletteSwatchImage::kWidth}});
    connect(palettes_, &CColourListControl::clicked, this, &CEnemyPlacementDlg::PaletteRowClicked);
    layout->addWidget(Labelled(tr("Palettes used"), palettes_));
    layout->addStretch(1);
    return side;
}

CCanvasControl* CEnemyPlacementDlg::CreateTileCanvas(int controlId) {
    auto* canvas = new CCanvasControl(display(), controlId, this);
    canvas->setObjectName(ids::ControlObjectName(controlId));
    canvas->SetView(kTileColumns, kTileRowsShown, kTileScale, 1);
    canvas->SetData(kTileColumns, kTileRows, spriteLevel_.get(), nullptr);
    canvas->SetGrid(false);
    canvas->SetSelectionFrame(false, 1);
    return canvas;
}

// Showing the working copy.

void CEnemyPlacementDlg::RefreshFromWorkingCopy() {
    const LevelRecord& level = workingCopy();
    hallway_ = std::clamp(hallway_, 0, std::max(0, level.hallwayCount - 1));
    const int changed = FollowSelection();
    // The canvas already shows a drag it reported; anything else that changed the placements
    // or the hallways reloads it. The same hallway keeps its scroll position.
    const LevelRecord& shown = canvas_->renderer().levelData();
    const bool sameHallway = canvas_->renderer().currentHallway() == hallway_;
    if (!sameHallway || shown.enemies != level.enemies || shown.enemyCount != level.enemyCount ||
        shown.hallways != level.hallways || shown.hallwayCount != level.hallwayCount ||
        shown.roomOrder != level.roomOrder) {
        const int scroll = canvas_->scrollPosition();
        Reload(*canvas_);
        if (sameHallway) {
            canvas_->Scroll(ScrollRequest::ThumbTrack, scroll);
        }
    }
    // Without a hallway there is nothing to place enemies in: clicks do nothing.
    const bool hallways = HasHallways();
    const PointerMode pointer = hallways ? PointerMode::EnemyDrag : PointerMode::None;
    if (canvas_->pointerMode() != pointer) {
        canvas_->SetPointerMode(pointer);
    }
    RefillList();
    if (!canvas_->dragging()) {
        ShowPlacement(changed);
        FrameSelection();
    }
    hallwayField_->ShowRange(0, std::max(0, level.hallwayCount - 1));
    hallwayField_->ShowValue(hallway_);
    ShowBankNumber();
    ShowBank(false);
    for (QWidget* control :
         std::initializer_list<QWidget*>{hallwayField_, bankField_, insertButton_, deleteButton_}) {
        control->setEnabled(hallways);
    }
}

void CEnemyPlacementDlg::RefillList() {
    const LevelRecord& level = workingCopy();
    int rows = 0;
    first_ = 0;
    if (HasHallways()) {
        const int start = level.HallwayStart(hallway_);
        const int end = start + level.hallways[static_cast<std::size_t>(hallway_)].lastRoom;
        first_ = level.EnemiesBeforeHallway(hallway_);
        while (first_ + rows < level.enemyCount) {
            const int position =
                level.enemies[static_cast<std::size_t>(first_ + rows)].roomPosition;
            if (position < start || position > end) {
                break;
            }
            ++rows;
        }
    }
    if (rows != rows_) {
        rows_ = rows;
        list_->SetUpColumns(rows_,
                            {{tr("Room"), CColourListControl::kRestOfWidth},
                             {tr("X"), kNumberColumnWidth},
                             {tr("Y"), kNumberColumnWidth},
                             {tr("En. ID"), kNumberColumnWidth}},
                            style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    }
    for (int row = 0; row < rows_; ++row) {
        const EnemyPlacement& enemy = level.enemies[static_cast<std::size_t>(first_ + row)];
        list_->SetCellText(QString::number(enemy.roomPosition), 0, row);
        list_->SetCellText(QString::number(enemy.x), 1, row);
        list_->SetCellText(QString::number(enemy.y), 2, row);
        list_->SetCellText(Hex(enemy.enemyId), 3, row);
    }
    // A placement that left the hallway is no longer selected.
    if (selected_ < first_ || selected_ >= first_ + rows_) {
        selected_ = -1;
    }
    list_->SelectRow(SelectedRow());
}

int CEnemyPlacementDlg::SelectedRow() const {
    return selected_ >= first_ && selected_ < first_ + rows_ ? selected_ - first_ : -1;
}

int CEnemyPlacementDlg::FollowSelection() {
    const LevelRecord& level = workingCopy();
    const std::span<const EnemyPlacement> after(
        level.enemies.data(),
        static_cast<std::size_t>(std::clamp(level.enemyCount, 0, kEnemySlots)));
    const SelectionAfterChange result = FollowSelectedPlacement(
        std::span<const EnemyPlacement>(listed_.data(), static_cast<std::size_t>(listedCount_)),
        after, selected_);
    selected_ = result.selected;
    std::copy(after.begin(), after.end(), listed_.begin());
    listedCount_ = static_cast<int>(after.size());
    return result.changed;
}

void CEnemyPlacementDlg::ShowPlacement(int index) {
    if (index < first_ || index >= first_ + rows_) {
        return;
    }
    const LevelRecord& level = workingCopy();
    const EnemyPlacement& enemy = level.enemies[static_cast<std::size_t>(index)];
    const int room = enemy.roomPosition - level.HallwayStart(hallway_);
    const int x = enemy.x + kRoomPixels * room;
    const int left = kRoomPixels / kRoomCells * canvas_->scrollPosition();
    if (x < left || x >= left + canvas_->clientWidth()) {
        canvas_->Scroll(ScrollRequest::ThumbTrack, room * kRoomCells);
    }
}

void CEnemyPlacementDlg::FrameSelection() {
    const int row = SelectedRow();
    if (row < 0) {
        // Hidden and shown again, the frame stands outside the picture, where it is not drawn.
        canvas_->SetSelectionFrame(false, 1);
        canvas_->SetSelectionFrame(true, 1);
        return;
    }
    // The frame on the placement, measured along the whole hallway.
    const LevelRecord& level = workingCopy();
    const EnemyPlacement& enemy = level.enemies[static_cast<std::size_t>(selected_)];
    canvas_->PlaceFrameAt(
        enemy.x + kRoomPixels * (enemy.roomPosition - level.HallwayStart(hallway_)), enemy.y);
}

void CEnemyPlacementDlg::ShowBankNumber() {
    const int bank =
        HasHallways() ? workingCopy().hallways[static_cast<std::size_t>(hallway_)].enemyBank : 0;
    if (bank < kEnemyBankCount) {
        bankField_->setSpecialValueText({});
        bankField_->ShowRange(0, kEnemyBankCount - 1);
        bankField_->ShowValue(bank);
        return;
    }
    // A bank beyond the tables, as decoded: the field shows the hallway's own number, kept
    // until the user chooses a bank.
    bankField_->setSpecialValueText(QString::number(bank));
    bankField_->ShowRange(-1, kEnemyBankCount - 1);
    bankField_->ShowValue(-1);
}

void CEnemyPlacementDlg::ShowBank(bool force) {
    const int bank =
        HasHallways() ? workingCopy().hallways[static_cast<std::size_t>(hallway_)].enemyBank : 0;
    if (!force && bank == shownBank_ && paletteRow_ == shownPaletteRow_) {
        return;
    }
    shownBank_ = bank;
    shownPaletteRow_ = paletteRow_;
    // The made-up palette set: the bank's two palettes, each first colour transparent, and
    // two palettes of that colour; a bank beyond the tables is all black.
    const bool known = bank < kEnemyBankCount;
    const EnemyBank none{};
    const EnemyBank& entry = known ? graphics_->enemyBanks[static_cast<std::size_t>(bank)] : none;
    PaletteSet& set = spriteLevel_->paletteSets[0];
    set.bytes.fill(known ? kTransparent : kBlack);
    for (int k = 1; known && k < 4; ++k) {
        set.colour(0, k) = entry.paletteA[static_cast<std::size_t>(k)];
        set.colour(1, k) = entry.paletteB[static_cast<std::size_t>(k)];
    }

    std::array<std::uint8_t, kTileBytes> tiles{};
    const std::array<std::pair<CCanvasControl*, int>, 2> canvases{
        {{tilesA_, entry.pageA}, {tilesB_, entry.pageB}}};
    for (const auto& [canvas, page] : canvases) {
        if (known) {
            LoadSpritePages(*graphics_, page, tiles);
        } else {
            tiles.fill(0);
        }
        canvas->SetData(0, 0, spriteLevel_.get(), tiles.data());
        canvas->SetTilePalette(paletteRow_);
        canvas->DrawAllTiles();
    }

    const std::array<std::uint8_t, 4> black{kBlack, kBlack, kBlack, kBlack};
    const std::array<const std::array<std::uint8_t, 4>*, kPaletteRows> colours{
        known ? &entry.paletteA : &black, known ? &entry.paletteB : &black};
    for (int row = 0; row < kPaletteRows; ++row) {
        palettes_->SetCellText(tr("Pal #%1").arg(row + 1), 0, row);
        CPaletteSwatchImage swatch;
        swatch.MakePalette(*colours[static_cast<std::size_t>(row)]);
        palettes_->SetCellImage(swatch, 1, row);
    }
    palettes_->SelectRow(paletteRow_);
}

// Handlers.

void CEnemyPlacementDlg::HallwayNumberChanged(int number) {
    if (!opened_) {
        return;
    }
    hallway_ = number;
    selected_ = -1;
    RefreshFromWorkingCopy();
}

void CEnemyPlacementDlg::BankChanged(int bank) {
    // Below 0 is the number of a bank beyond the tables, not a choice.
    if (!opened_ || !HasHallways() || bank < 0) {
        return;
    }
    const int h = hallway_;
    Hallway entry = workingCopy().hallways[static_cast<std::size_t>(h)];
    entry.enemyBank = static_cast<std::uint8_t>(bank);
    HallwayResult result = HallwayResult::Ok;
    ApplyEdit(tr("Hallway %1: enemy bank %2").arg(h).arg(bank),
              [&](LevelRecord& level) { result = level.SetHallwayEntry(h, entry); });
    if (result != HallwayResult::Ok) {
        ShowStatus(tr("The level refused enemy bank %1 for hallway %2").arg(bank).arg(h));
    }
}

void CEnemyPlacementDlg::SnapChanged() {
    canvas_->SetSnap(1 << snapX_->currentIndex(), 1 << snapY_->currentIndex());
}

void CEnemyPlacementDlg::PaletteRowClicked() {
    const int row = palettes_->SelectedRow(kPaletteRows);
    if (row >= kPaletteRows) {
        return;
    }
    paletteRow_ = row;
    ShowBank(false);
}

void CEnemyPlacementDlg::ListClicked() {
    const int row = list_->SelectedRow(rows_);
    if (row >= rows_) {
        selected_ = -1;
        return;
    }
    // The picture shows the placement and frames it.
    selected_ = first_ + row;
    ShowPlacement(selected_);
    FrameSelection();
}

void CEnemyPlacementDlg::SelectPlacement(int index) {
    const int row = index - first_;
    if (row >= 0 && row < rows_) {
        selected_ = index;
        list_->SelectRow(row);
    }
}

void CEnemyPlacementDlg::OnCanvasNotification(const CanvasNotification& notification) {
    if (notification.senderWindow != static_cast<const CSurfaceWindow*>(canvas_) ||
        !HasHallways()) {
        return;
    }
    switch (notification.code) {
    case CanvasCode::Click:
        SelectPlacement(notification.item);
        break;
    case CanvasCode::EnemyDragEnded:
        TakeDraggedPlacements(notification);
        break;
    case CanvasCode::EnemyDoubleClick:
        SelectPlacement(notification.item);
        if (SelectedRow() >= 0) {
            OpenEnemyEditor(SelectedRow());
        }
        break;
    case CanvasCode::Stroke:
    case CanvasCode::Pick:
        break; // placements are not painted
    }
}

void CEnemyPlacementDlg::TakeDraggedPlacements(const CanvasNotification& notification) {
    // The canvas moved the placement in its own copy; the list takes it over whole. The
    // dragged placement stays selected wherever the move sorted it (see FollowSelection).
    const LevelRecord& dragged = canvas_->renderer().levelData();
    const auto enemies = dragged.enemies;
    const std::int32_t count = dragged.enemyCount;
    ApplyEdit(tr("Drag enemy %1 to room position %2, x %3, y %4")
                  .arg(Hex(notification.enemyId))
                  .arg(notification.firstValue)
                  .arg(notification.secondValue)
                  .arg(notification.thirdValue),
              [&enemies, count](LevelRecord& level) {
                  level.enemies = enemies;
                  level.enemyCount = count;
                  level.RecountUsage();
              });
}

void CEnemyPlacementDlg::InsertPlacement() {
    if (!HasHallways()) {
        return;
    }
    const EnemyPlacement placement{
        kNewEnemyX, kNewEnemyY, static_cast<std::uint8_t>(workingCopy().HallwayStart(hallway_)), 0};
    int result = 0;
    ApplyEdit(tr("Insert enemy in room position %1").arg(placement.roomPosition),
              [&](LevelRecord& level) { result = level.AddEnemy(placement.Packed()); });
    if (result == kEnemyRefused) {
        ShowStatus(tr("The level already holds 255 enemy placements, the most it can"));
    }
}

void CEnemyPlacementDlg::DeletePlacement() {
    if (SelectedRow() < 0) {
        RefillList();
        return;
    }
    const int index = selected_;
    // The deleted placement takes the selection with it, also from an equal one.
    selected_ = -1;
    const EnemyPlacement enemy = workingCopy().enemies[static_cast<std::size_t>(index)];
    ApplyEdit(tr("Delete enemy %1 from room position %2, x %3, y %4")
                  .arg(Hex(enemy.enemyId))
                  .arg(enemy.roomPosition)
                  .arg(enemy.x)
                  .arg(enemy.y),
              [index](LevelRecord& level) { level.DeleteEnemy(index); });
}

void CEnemyPlacementDlg::OpenEnemyEditor(int row) {
    if (row < 0 || row >= rows_) {
        return;
    }
    const int index = first_ + row;
    CEnemyEditorDlg editor(workingCopy().enemies[static_cast<std::size_t>(index)], this);
    if (editor.exec() != QDialog::Accepted) {
        return;
    }
    const EnemyPlacement placement = editor.placement();
    int result = 0;
    ApplyEdit(tr("Enemy %1: room position %2, x %3, y %4")
                  .arg(Hex(placement.enemyId))
                  .arg(placement.roomPosition)
                  .arg(placement.x)
                  .arg(placement.y),
              [&](LevelRecord& level) { result = level.SetEnemy(index, placement.Packed()); });
    if (result == kEnemyRefused) {
        ShowStatus(tr("A placement of four $FF bytes would end the level's enemy list"));
    }
}

void CEnemyPlacementDlg::accept() {
    graphicsTarget_ = *graphics_;
    CEditorDialog::accept();
}

} // namespace korvane
