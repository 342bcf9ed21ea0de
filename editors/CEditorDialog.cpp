#include "CEditorDialog.h"

#include "CCanvasControl.h"
#include "CDiscardGuard.h"
#include "CEditCommand.h"
#include "CPaletteSwatchImage.h"
#include "CPixelEditorControl.h"
#include "EditorControlIds.h"
#include "HexText.h"
#include "HighlightList.h"
#include "graphics/CPixelImage.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace korvane {

// The undo steps compare and restore the working copy as plain bytes.
static_assert(std::is_trivially_copyable_v<LevelRecord>);

namespace {

constexpr int kPageListIndexColumn = 0;
constexpr int kPageListSwatchColumn = 1;
constexpr int kPageListWidth = 180;
constexpr QSize kToolButtonSize(36, 28);

// The button face colour as a GDI colour value (red in bits 0-7).
std::uint32_t ButtonFaceColour() {
    const QColor face = QApplication::palette().color(QPalette::Button);
    return static_cast<std::uint32_t>(face.red()) |
           (static_cast<std::uint32_t>(face.green()) << 8) |
           (static_cast<std::uint32_t>(face.blue()) << 16);
}

} // namespace

CEditorDialog::CEditorDialog(DisplayContext& display, LevelRecord& level, QWidget* parent)
    : QDialog(parent), display_(display), target_(level), working_(level) {
    tracked_.push_back(std::span<std::uint8_t>(ObjectBytes(working_)));
    opened_.emplace_back(); // the level is compared with the record itself

    body_ = new QHBoxLayout;
    status_ = new QLabel(this);
    status_->setObjectName(QString::fromLatin1(ids::kStatusName));
    status_->setTextFormat(Qt::PlainText);
    undoButton_ = new QPushButton(tr("Undo"), this);
    undoButton_->setObjectName(QString::fromLatin1(ids::kUndoName));
    redoButton_ = new QPushButton(tr("Redo"), this);
    redoButton_->setObjectName(QString::fromLatin1(ids::kRedoName));
    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(ids::ControlObjectName(ids::kOk));
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(ids::ControlObjectName(ids::kCancel));
    for (QPushButton* button : {undoButton_, redoButton_, ok, cancel}) {
        button->setAutoDefault(false);
    }
    ok->setDefault(true);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(status_, 1);
    bottom->addWidget(undoButton_);
    bottom->addWidget(redoButton_);
    bottom->addSpacing(16);
    bottom->addWidget(ok);
    bottom->addWidget(cancel);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(body_);
    outer->addLayout(bottom);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    connect(ok, &QPushButton::clicked, this, &CEditorDialog::accept);
    discardGuard_ = new CDiscardGuard(*this, [this] { return HasChanges(); });
    discardGuard_->WatchCancelButton(*cancel);
    const auto undo = [this] { RunWhenButtonsFree([this] { undoStack_.undo(); }); };
    const auto redo = [this] { RunWhenButtonsFree([this] { undoStack_.redo(); }); };
    connect(undoButton_, &QPushButton::clicked, this, undo);
    connect(redoButton_, &QPushButton::clicked, this, redo);
    auto* undoKey = new QShortcut(QKeySequence::Undo, this);
    connect(undoKey, &QShortcut::activated, this, undo);
    auto* redoKey = new QShortcut(QKeySequence::Redo, this);
    connect(redoKey, &QShortcut::activated, this, redo);
    connect(&undoStack_, &QUndoStack::indexChanged, this, &CEditorDialog::UpdateUndoButtons);
    UpdateUndoButtons();
}

CEditorDialog::~CEditorDialog() {
    // The stack empties itself when it goes, before the buttons: nothing may answer it then.
    undoStack_.blockSignals(true);
    // Nor may a canvas that is hidden with a button down, once this part of the dialog is gone.
    for (const RegisteredCanvas& entry : canvases_) {
        disconnect(entry.canvas, nullptr, this, nullptr);
    }
    for (CPixelEditorControl* pixels : pixelEditors_) {
        disconnect(pixels, nullptr, this, nullptr);
    }
}

void CEditorDialog::accept() {
    buttonGate_.Drop();
    target_ = working_;
    QDialog::accept();
}

void CEditorDialog::reject() {
    buttonGate_.Drop();
    QDialog::reject();
}

bool CEditorDialog::HasChanges() const {
    if (!(working_ == target_)) {
        return true;
    }
    for (std::size_t i = 1; i < tracked_.size(); ++i) {
        if (!std::equal(tracked_[i].begin(), tracked_[i].end(), opened_[i].begin(),
                        opened_[i].end())) {
            return true;
        }
    }
    return false;
}

void CEditorDialog::SetDiscardQuestion(DiscardQuestion question) {
    discardGuard_->SetQuestion(std::move(question));
}

std::size_t CEditorDialog::UndoMemoryBytes() const {
    std::size_t bytes = 0;
    for (int i = 0; i < undoStack_.count(); ++i) {
        if (const auto* step = dynamic_cast<const CEditCommand*>(undoStack_.command(i))) {
            bytes += step->MemoryBytes();
        }
    }
    return bytes;
}

QString CEditorDialog::statusText() const {
    return status_->text();
}

QIcon CEditorDialog::ButtonImage(int resourceId) {
    CPixelImage image;
    if (!image.LoadFromResource(resourceId)) {
        return {};
    }
    image.ReplaceColour(kButtonGrey, ButtonFaceColour());
    return QIcon(QPixmap::fromImage(image.CreatePlatformBitmap()));
}

// Building.

CCanvasControl* CEditorDialog::AddCanvas(int controlId, const CanvasLayout& layout,
                                         CanvasRoles roles, LayerRoutine draw) {
    auto* canvas = new CCanvasControl(display_, controlId, this);
    canvas->setObjectName(ids::ControlObjectName(controlId));
    canvas->SetView(layout.visibleColumns, layout.visibleRows, layout.zoomIn, layout.zoomOut);
    canvas->SetData(layout.contentColumns, layout.contentRows, &working_, working_.tiles.data());
    // The canvas keeps its grid spacing in screen pixels: it is given in content pixels.
    canvas->SetGrid(true, static_cast<int>(kGridColour),
                    layout.gridPixels * layout.zoomOut / std::max(1, layout.zoomIn));
    canvas->SetSelectionFrame(true, layout.selectionUnit);
    RegisterCanvas(*canvas, roles, std::move(draw));
    Redraw(*canvas);
    return canvas;
}

void CEditorDialog::RegisterCanvas(CCanvasControl& canvas, CanvasRoles roles, LayerRoutine draw,
                                   LayerRoutine load) {
    canvases_.push_back({&canvas, roles, std::move(draw), std::move(load)});
    connect(&canvas, &CSurfaceWindow::notified, this,
            [this](const CanvasNotification& notification) { OnCanvasNotification(notification); });
    const QObject* source = &canvas;
    connect(&canvas, &CSurfaceWindow::buttonHeld, this,
            [this, source] { buttonGate_.Held(source); });
    connect(&canvas, &CSurfaceWindow::buttonFreed, this,
            [this, source] { buttonGate_.Freed(source); });
}

void CEditorDialog::WatchPixelEditor(CPixelEditorControl& pixels) {
    pixelEditors_.push_back(&pixels);
    const QObject* source = &pixels;
    connect(&pixels, &CPixelEditorControl::ButtonsHeld, this,
            [this, source] { buttonGate_.Held(source); });
    connect(&pixels, &CPixelEditorControl::ButtonsFreed, this,
            [this, source] { buttonGate_.Freed(source); });
}

QPushButton* CEditorDialog::CreateToolButton(int controlId, int resourceId,
                                             const QString& toolTip) {
    auto* button = new QPushButton(this);
    button->setObjectName(ids::ControlObjectName(controlId));
    button->setIcon(ButtonImage(resourceId));
    button->setIconSize(QSize(16, 16));
    button->setFixedSize(kToolButtonSize);
    button->setToolTip(toolTip);
    button->setAutoDefault(false);
    button->setProperty("bitmap", resourceId);
    return button;
}

QPushButton* CEditorDialog::CreatePaintButton() {
    paintButton_ = CreateToolButton(ids::kPaint, ids::bitmap::kPaint, tr("Paint"));
    paintButton_->setCheckable(true);
    connect(paintButton_, &QPushButton::clicked, this, [this] { SelectTool(EditorTool::Paint); });
    return paintButton_;
}

QPushButton* CEditorDialog::CreateDropperButton() {
    dropperButton_ = CreateToolButton(ids::kDropper, ids::bitmap::kDropper, tr("Dropper"));
    dropperButton_->setCheckable(true);
    connect(dropperButton_, &QPushButton::clicked, this,
            [this] { SelectTool(EditorTool::Dropper); });
    return dropperButton_;
}

QPushButton* CEditorDialog::CreateCopyButton() {
    QPushButton* button = CreateToolButton(ids::kCopy, ids::bitmap::kCopy, tr("Copy"));
    connect(button, &QPushButton::clicked, this, [this] { Copy(); });
    return button;
}

QPushButton* CEditorDialog::CreatePasteButton() {
    pasteButton_ = CreateToolButton(ids::kPaste, ids::bitmap::kPaste, tr("Paste"));
    pasteButton_->setEnabled(clipboardFilled_);
    connect(pasteButton_, &QPushButton::clicked, this, [this] {
        RunWhenButtonsFree([this] {
            if (clipboardFilled_) {
                Paste();
            }
        });
    });
    return pasteButton_;
}

QPushButton* CEditorDialog::CreateGridButton() {
    gridShownImage_ = ButtonImage(ids::bitmap::kGridShown);
    gridHiddenImage_ = ButtonImage(ids::bitmap::kGridHidden);
    gridButton_ = CreateToolButton(ids::kGrid, ids::bitmap::kGridHidden, tr("Grid"));
    gridButton_->setIcon(gridHiddenImage_);
    connect(gridButton_, &QPushButton::clicked, this, &CEditorDialog::ToggleGrid);
    return gridButton_;
}

QWidget* CEditorDialog::CreateStandardToolButtons() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setColumnStretch(2, 1);
    grid->addWidget(CreatePaintButton(), 0, 0);
    grid->addWidget(CreateDropperButton(), 0, 1);
    grid->addWidget(CreateCopyButton(), 1, 0);
    grid->addWidget(CreatePasteButton(), 1, 1);
    grid->addWidget(CreateGridButton(), 2, 0);
    return box;
}

CEditorDialog::StandardCanvases
CEditorDialog::BuildStandardLayout(const CanvasSpec& items, const CanvasSpec& edit,
                                   const CanvasSpec& parts, const QList<QWidget*>& middleExtras,
                                   const QList<QWidget*>& rightExtras) {
    auto add = [this](const CanvasSpec& spec) {
        return AddCanvas(spec.controlId, spec.layout, spec.roles, spec.draw);
    };
    // The canvases first, in the order the editors set them up: items, edit, parts.
    const StandardCanvases canvases{add(items), add(edit), add(parts)};

    auto* middle = new QVBoxLayout;
    middle->addWidget(Labelled(edit.label, canvases.edit));
    middle->addWidget(CreateStandardToolButtons());
    for (QWidget* extra : middleExtras) {
        middle->addWidget(extra);
    }
    middle->addWidget(Labelled(tr("Highlights"), CreateHighlightsCombo()));
    middle->addStretch(1);
    auto* lists = new QHBoxLayout;
    for (QWidget* extra : rightExtras) {
        lists->addWidget(extra, 0, Qt::AlignTop);
    }
    lists->addWidget(Labelled(tr("Palette Page Selection"), CreatePalettePageList()), 0,
                     Qt::AlignTop);
    lists->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(Labelled(parts.label, canvases.parts));
    right->addLayout(lists);
    right->addStretch(1);
    body_->addWidget(Labelled(items.label, canvases.items), 0, Qt::AlignTop);
    body_->addLayout(middle);
    body_->addLayout(right);
    return canvases;
}

QComboBox* CEditorDialog::CreateHighlightsCombo() {
    highlights_ = new QComboBox(this);
    highlights_->setObjectName(ids::ControlObjectName(ids::kHighlights));
    for (const char* item : kHighlightItems) {
        highlights_->addItem(QString::fromLatin1(item));
    }
    highlights_->setMaxVisibleItems(static_cast<int>(kHighlightItems.size()));
    connect(highlights_, &QComboBox::activated, this, &CEditorDialog::ChooseHighlight);
    return highlights_;
}

CColourListControl* CEditorDialog::CreatePalettePageList() {
    palettePageList_ = new CColourListControl(this);
    palettePageList_->setObjectName(ids::ControlObjectName(ids::kPalettePageList));
    palettePageList_->setFixedWidth(kPageListWidth);
    // The set column as wide as its swatches; the index column the rest, less 16 pixels.
    palettePageList_->SetUpColumns(kPaletteSets,
                                   {{tr("Index"), CColourListControl::kRestOfWidth},
                                    {tr("Palette Set"), CPaletteSwatchImage::kWidth}},
                                   16);
    RefillPalettePageList();
    connect(palettePageList_, &CColourListControl::clicked, this, [this] {
        const int row = palettePageList_->SelectedRow(kPaletteSets);
        if (row < kPaletteSets) {
            PalettePageChosen(row);
        }
    });
    return palettePageList_;
}

void CEditorDialog::RefillPalettePageList() {
    if (palettePageList_ == nullptr) {
        return;
    }
    for (int set = 0; set < kPaletteSets; ++set) {
        palettePageList_->SetCellText(QStringLiteral("Set #%1").arg(set + 1), kPageListIndexColumn,
                                      set);
        CPaletteSwatchImage swatch;
        swatch.MakeSet(working_.paletteSets[static_cast<std::size_t>(set)]);
        palettePageList_->SetCellImage(swatch, kPageListSwatchColumn, set);
    }
}

QWidget* CEditorDialog::Labelled(const QString& label, QWidget* control) {
    auto* box = new QWidget(control->parentWidget());
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(new QLabel(label, box));
    layout->addWidget(control, 0, Qt::AlignLeft | Qt::AlignTop);
    return box;
}

void CEditorDialog::FinishOpening() {
    if (paintButton_ != nullptr || dropperButton_ != nullptr) {
        SelectTool(EditorTool::Paint);
    }
    ToggleGrid();
    if (highlights_ != nullptr) {
        highlights_->setCurrentIndex(kNoShadingItem);
        ChooseHighlight(kNoShadingItem);
    }
    if (palettePageList_ != nullptr) {
        palettePageList_->SelectRow(0);
        SetPaletteSet(0);
    }
}

// Editing.

bool CEditorDialog::ApplyEdit(const QString& text,
                              const std::function<void(LevelRecord&)>& change) {
    snapshots_.resize(tracked_.size());
    for (std::size_t i = 0; i < tracked_.size(); ++i) {
        snapshots_[i].assign(tracked_[i].begin(), tracked_[i].end());
    }
    change(working_);
    std::vector<CEditCommand::Part> parts;
    for (std::size_t i = 0; i < tracked_.size(); ++i) {
        ByteDelta delta = ByteDelta::Between(snapshots_[i], tracked_[i]);
        if (!delta.empty()) {
            parts.push_back({tracked_[i], std::move(delta)});
        }
    }
    if (parts.empty()) {
        RefreshFromWorkingCopy();
        return false;
    }
    // The stack runs the step's redo at once, which writes what is already there and then
    // refreshes the editor.
    undoStack_.push(new CEditCommand(text, std::move(parts), [this] { AfterUndoOrRedo(); }));
    return true;
}

void CEditorDialog::RunWhenButtonsFree(std::function<void()> action) {
    buttonGate_.Run(std::move(action));
}

void CEditorDialog::AfterUndoOrRedo() {
    ShowStatus({});
    RefreshFromWorkingCopy();
}

void CEditorDialog::UpdateUndoButtons() {
    undoButton_->setEnabled(undoStack_.canUndo());
    redoButton_->setEnabled(undoStack_.canRedo());
    const QString undoText = undoStack_.undoText();
    const QString redoText = undoStack_.redoText();
    undoButton_->setToolTip(undoText.isEmpty() ? tr("Undo") : tr("Undo %1").arg(undoText));
    redoButton_->setToolTip(redoText.isEmpty() ? tr("Redo") : tr("Redo %1").arg(redoText));
}

// Canvases.

const CEditorDialog::RegisteredCanvas* CEditorDialog::Find(const CCanvasControl& canvas) const {
    for (const RegisteredCanvas& entry : canvases_) {
        if (entry.canvas == &canvas) {
            return &entry;
        }
    }
    return nullptr;
}

void CEditorDialog::Reload(CCanvasControl& canvas) {
    const RegisteredCanvas* entry = Find(canvas);
    if (entry != nullptr && entry->load) {
        entry->load(canvas);
    } else {
        canvas.SetData(0, 0, &working_, working_.tiles.data());
    }
    if (entry != nullptr && entry->roles.testFlag(CanvasRole::PaletteSet)) {
        canvas.SetPalettePage(paletteSet_);
    }
    Redraw(canvas);
}

void CEditorDialog::Redraw(CCanvasControl& canvas) {
    const RegisteredCanvas* entry = Find(canvas);
    if (entry != nullptr && entry->draw) {
        entry->draw(canvas);
    }
}

// Tool, selections, shared controls.

void CEditorDialog::SelectTool(EditorTool tool) {
    tool_ = tool;
    if (paintButton_ != nullptr) {
        paintButton_->setChecked(tool == EditorTool::Paint);
    }
    if (dropperButton_ != nullptr) {
        dropperButton_->setChecked(tool == EditorTool::Dropper);
    }
    const PointerMode pointer =
        tool == EditorTool::Paint ? PointerMode::Paint : PointerMode::Dropper;
    for (const RegisteredCanvas& entry : canvases_) {
        if (entry.roles.testFlag(CanvasRole::Edit)) {
            entry.canvas->SetPointerMode(pointer);
        }
    }
}

void CEditorDialog::ToggleGrid() {
    gridFlag_ = ~gridFlag_;
    for (const RegisteredCanvas& entry : canvases_) {
        if (entry.roles.testFlag(CanvasRole::Grid)) {
            entry.canvas->SetGrid(gridFlag_ != 0);
        }
    }
    if (gridButton_ != nullptr) {
        const bool shown = gridFlag_ != 0;
        gridButton_->setIcon(shown ? gridShownImage_ : gridHiddenImage_);
        gridButton_->setProperty("bitmap",
                                 shown ? ids::bitmap::kGridShown : ids::bitmap::kGridHidden);
    }
}

void CEditorDialog::ChooseHighlight(int item) {
    highlightSelector_ = HighlightSelectorForItem(item);
    for (const RegisteredCanvas& entry : canvases_) {
        if (entry.roles.testFlag(CanvasRole::Highlight)) {
            entry.canvas->SetHighlight(highlightSelector_);
            Redraw(*entry.canvas);
        }
    }
}

void CEditorDialog::PalettePageChosen(int set) {
    SetPaletteSet(set);
}

void CEditorDialog::SetPaletteSet(int set) {
    paletteSet_ = set;
    for (const RegisteredCanvas& entry : canvases_) {
        if (entry.roles.testFlag(CanvasRole::PaletteSet)) {
            entry.canvas->SetPalettePage(paletteSet_);
            Redraw(*entry.canvas);
        }
    }
    PaletteSetChanged();
}

void CEditorDialog::SetClipboard(std::vector<std::uint8_t> unit) {
    clipboard_ = std::move(unit);
    clipboardFilled_ = true;
    if (pasteButton_ != nullptr) {
        pasteButton_->setEnabled(true);
    }
}

void CEditorDialog::ShowStatus(const QString& text) {
    status_->setText(text);
}

// Items made of parts.

void CEditorDialog::SetItemUnit(ItemUnit unit) {
    unit_ = std::move(unit);
}

std::span<const std::uint8_t> CEditorDialog::SelectedUnit() const {
    if (!HasUnit() || selectedItem_ < 0 || selectedItem_ >= unit_.itemCount) {
        return {};
    }
    // The accessor hands out writable bytes; here they are only read.
    return unit_.bytes(const_cast<LevelRecord&>(working_), selectedItem_);
}

void CEditorDialog::SelectItemAt(int item) {
    selectedItem_ = item;
    for (const RegisteredCanvas& entry : canvases_) {
        if (entry.roles.testFlag(CanvasRole::Edit)) {
            Redraw(*entry.canvas);
        }
    }
    SelectedItemChanged();
}

void CEditorDialog::ClickCell(int cell) {
    lastCell_ = cell;
    const std::span<const std::uint8_t> unit = SelectedUnit();
    if (cell < 0 || static_cast<std::size_t>(cell) >= unit.size()) {
        return;
    }
    if (tool_ == EditorTool::Paint) {
        const int item = selectedItem_;
        const auto part = static_cast<std::uint8_t>(selectedPart_);
        const QString text = tr("Paint %1 $%2 into %3 %4, %5 %6")
                                 .arg(unit_.partName, HexByteText(part), unit_.itemName)
                                 .arg(item)
                                 .arg(unit_.cellName)
                                 .arg(cell);
        ApplyEdit(text, [this, item, cell, part](LevelRecord& level) {
            unit_.bytes(level, item)[static_cast<std::size_t>(cell)] = part;
        });
        return;
    }
    selectedPart_ = unit[static_cast<std::size_t>(cell)];
    for (const RegisteredCanvas& entry : canvases_) {
        if (entry.roles.testFlag(CanvasRole::Parts)) {
            entry.canvas->SelectItem(selectedPart_);
        }
    }
    RefreshFromWorkingCopy();
}

void CEditorDialog::Copy() {
    const std::span<const std::uint8_t> unit = SelectedUnit();
    if (!unit.empty()) {
        SetClipboard(std::vector<std::uint8_t>(unit.begin(), unit.end()));
    }
}

void CEditorDialog::Paste() {
    const std::span<const std::uint8_t> unit = SelectedUnit();
    if (unit.empty() || unit.size() != clipboard_.size()) {
        return;
    }
    const int item = selectedItem_;
    ApplyEdit(tr("Paste into %1 %2").arg(unit_.itemName).arg(item),
              [this, item](LevelRecord& level) {
                  const std::span<std::uint8_t> bytes = unit_.bytes(level, item);
                  std::copy(clipboard_.begin(), clipboard_.end(), bytes.begin());
              });
}

void CEditorDialog::RefreshFromWorkingCopy() {
    for (const RegisteredCanvas& entry : canvases_) {
        if (entry.roles & (CanvasRole::Items | CanvasRole::Edit)) {
            Reload(*entry.canvas);
        }
        if (entry.roles.testFlag(CanvasRole::Items)) {
            entry.canvas->SelectItem(selectedItem_);
        }
    }
}

void CEditorDialog::OnCanvasNotification(const CanvasNotification& notification) {
    if (notification.code != CanvasCode::Click) {
        return;
    }
    const RegisteredCanvas* entry = nullptr;
    for (const RegisteredCanvas& candidate : canvases_) {
        if (static_cast<const CSurfaceWindow*>(candidate.canvas) == notification.senderWindow) {
            entry = &candidate;
        }
    }
    if (entry == nullptr) {
        return;
    }
    // Only the low byte of the item names it, as everything the editors index is a byte.
    const int item = notification.item & 0xFF;
    if (entry->roles.testFlag(CanvasRole::Items)) {
        if (item < unit_.itemCount || !HasUnit()) {
            SelectItemAt(item);
        }
    } else if (entry->roles.testFlag(CanvasRole::Edit)) {
        ClickCell(item);
    } else if (entry->roles.testFlag(CanvasRole::Parts)) {
        selectedPart_ = item;
    }
}

} // namespace korvane
