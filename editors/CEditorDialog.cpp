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
#include <QScrollArea>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace korvane {

// The undo steps compare and restore the working copy as plain bytes.
static_assert(std::is_trivially_copyable_v<LevelRecord>);

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
    // The canvases and controls scroll when the dialog is smaller than they are; the status
    // line and the buttons stay below them.
    auto* content = new QWidget;
    contentLayout_ = new QVBoxLayout(content);
    contentLayout_->setContentsMargins(0, 0, 0, 0);
    contentLayout_->addLayout(body_);
    contentLayout_->addStretch(1);
    contentArea_ = new QScrollArea(this);
    contentArea_->setFrameShape(QFrame::NoFrame);
    contentArea_->setWidgetResizable(true);
    contentArea_->setWidget(content);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(contentArea_, 1);
    outer->addLayout(bottom);
    setSizeGripEnabled(true);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);

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
    CreateToolKeys();
    CreateZoomKeys();
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

// Building.

CCanvasControl* CEditorDialog::AddCanvas(int controlId, const CanvasLayout& layout,
                                         CanvasRoles roles, LayerRoutine draw) {
    auto* canvas = new CCanvasControl(display_, controlId, this);
    canvas->setObjectName(ids::ControlObjectName(controlId));
    // A canvas that scrolls shows more of its content when the dialog gives it more width.
    canvas->SetGrowsAcross(layout.contentColumns > layout.visibleColumns);
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
    if (roles.testFlag(CanvasRole::Edit)) {
        canvas.SetKeys(CanvasKeys::Cursor);
    } else if (roles & (CanvasRole::Items | CanvasRole::Parts)) {
        canvas.SetKeys(CanvasKeys::Select);
    }
    canvas.SetZoom(zoom_);
    connect(&canvas, &CSurfaceWindow::zoomRequested, this,
            [this](int steps) { SetZoom(zoom_ + steps); });
    connect(&canvas, &CSurfaceWindow::notified, this,
            [this](const CanvasNotification& notification) { OnCanvasNotification(notification); });
    const QObject* source = &canvas;
    CCanvasControl* control = &canvas;
    connect(&canvas, &CSurfaceWindow::buttonHeld, this, [this, source, control] {
        buttonGate_.Held(source);
        BeginStroke(*control);
    });
    connect(&canvas, &CSurfaceWindow::buttonFreed, this, [this, source, control] {
        if (strokeCanvas_ == control) {
            FinishStroke();
        }
        buttonGate_.Freed(source);
    });
}

void CEditorDialog::WatchPixelEditor(CPixelEditorControl& pixels) {
    pixelEditors_.push_back(&pixels);
    pixels.SetZoom(zoom_);
    connect(&pixels, &CPixelEditorControl::zoomRequested, this,
            [this](int steps) { SetZoom(zoom_ + steps); });
    const QObject* source = &pixels;
    connect(&pixels, &CPixelEditorControl::ButtonsHeld, this,
            [this, source] { buttonGate_.Held(source); });
    connect(&pixels, &CPixelEditorControl::ButtonsFreed, this,
            [this, source] { buttonGate_.Freed(source); });
}

// Editing.

bool CEditorDialog::ApplyEdit(const QString& text,
                              const std::function<void(LevelRecord&)>& change) {
    // A change made during a stroke that is not one of its cells: the stroke so far is its
    // own step first, and goes on after this one.
    CCanvasControl* const strokeCanvas = strokeCanvas_;
    if (strokeCanvas != nullptr) {
        FinishStroke();
    }
    const bool made = ApplyEditNow(text, change);
    if (strokeCanvas != nullptr) {
        BeginStroke(*strokeCanvas);
    }
    return made;
}

bool CEditorDialog::ApplyEditNow(const QString& text,
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

bool CEditorDialog::ChangesWorkingCopy(const std::function<void(LevelRecord&)>& change) {
    snapshots_.resize(tracked_.size());
    for (std::size_t i = 0; i < tracked_.size(); ++i) {
        snapshots_[i].assign(tracked_[i].begin(), tracked_[i].end());
    }
    change(working_);
    for (std::size_t i = 0; i < tracked_.size(); ++i) {
        if (!std::equal(snapshots_[i].begin(), snapshots_[i].end(), tracked_[i].begin(),
                        tracked_[i].end())) {
            return true;
        }
    }
    return false;
}

bool CEditorDialog::ApplyStrokeEdit(const QString& text, EditStroke::StrokeName strokeName,
                                    const std::function<void(LevelRecord&)>& change) {
    if (strokeCanvas_ == nullptr) {
        return ApplyEditNow(text, change);
    }
    const bool changed = ChangesWorkingCopy(change);
    if (changed) {
        stroke_.CellChanged(text, std::move(strokeName));
        ShowStatus({});
    }
    // The canvas being painted stays where the stroke sees it: a reload scrolls back.
    CCanvasControl& canvas = *strokeCanvas_;
    const int scroll = canvas.scrollPosition();
    RefreshFromWorkingCopy();
    if (canvas.scrollPosition() != scroll) {
        canvas.Scroll(ScrollRequest::ThumbTrack, scroll);
    }
    return changed;
}

void CEditorDialog::BeginStroke(CCanvasControl& canvas) {
    const RegisteredCanvas* entry = Find(canvas);
    if (entry == nullptr || !entry->roles.testFlag(CanvasRole::Edit)) {
        return;
    }
    strokeCanvas_ = &canvas;
    stroke_.Begin(tracked_);
}

void CEditorDialog::FinishStroke() {
    strokeCanvas_ = nullptr;
    std::optional<EditStroke::Step> step = stroke_.Finish(tracked_);
    if (step) {
        undoStack_.push(
            new CEditCommand(step->text, std::move(step->parts), [this] { AfterUndoOrRedo(); }));
    }
}

bool CEditorDialog::PaintsOnStroke(const CanvasNotification& notification) const {
    const RegisteredCanvas* entry = FindSender(notification);
    return notification.code == CanvasCode::Stroke && tool_ == EditorTool::Paint &&
           entry != nullptr && entry->roles.testFlag(CanvasRole::Edit);
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
        const QString cells =
            unit_.cellsName.isEmpty() ? unit_.cellName + QLatin1Char('s') : unit_.cellsName;
        const QString strokeStart = tr("Paint %1 $%2 into %3 %4")
                                        .arg(unit_.partName, HexByteText(part), unit_.itemName)
                                        .arg(item);
        ApplyStrokeEdit(
            text,
            [strokeStart, cells](int count) {
                return tr("%1, %2 %3").arg(strokeStart).arg(count).arg(cells);
            },
            [this, item, cell, part](LevelRecord& level) {
                unit_.bytes(level, item)[static_cast<std::size_t>(cell)] = part;
            });
        return;
    }
    PickCell(cell);
}

void CEditorDialog::PickCell(int cell) {
    lastCell_ = cell;
    const std::span<const std::uint8_t> unit = SelectedUnit();
    if (cell < 0 || static_cast<std::size_t>(cell) >= unit.size()) {
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

const CEditorDialog::RegisteredCanvas*
CEditorDialog::FindSender(const CanvasNotification& notification) const {
    const RegisteredCanvas* entry = nullptr;
    for (const RegisteredCanvas& candidate : canvases_) {
        if (static_cast<const CSurfaceWindow*>(candidate.canvas) == notification.senderWindow) {
            entry = &candidate;
        }
    }
    return entry;
}

void CEditorDialog::OnCanvasNotification(const CanvasNotification& notification) {
    const RegisteredCanvas* entry = FindSender(notification);
    if (entry == nullptr) {
        return;
    }
    // Only the low byte of the item names it, as everything the editors index is a byte.
    const int item = notification.item & 0xFF;
    if (notification.code == CanvasCode::Stroke) {
        if (PaintsOnStroke(notification)) {
            ClickCell(item);
        }
        return;
    }
    if (notification.code == CanvasCode::Pick) {
        // The right button picks up the part on an Edit canvas, the tool staying as it is.
        if (entry->roles.testFlag(CanvasRole::Edit)) {
            PickCell(item);
        }
        return;
    }
    if (notification.code != CanvasCode::Click) {
        return;
    }
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
