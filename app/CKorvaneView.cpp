#include "CKorvaneView.h"

#include "CAboutDlg.h"
#include "CommandIds.h"
#include "DocumentHistory.h"
#include "EditorRegistry.h"
#include "LevelText.h"
#include "ResourceImages.h"
#include "editors/CCanvasControl.h"
#include "editors/CEditorDialog.h"
#include "editors/CEnemyPlacementDlg.h"
#include "editors/EditorZoomSettings.h"
#include "editors/ZoomKeys.h"
#include "gamedata/CKorvaneDoc.h"

#include <QAction>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <memory>

namespace korvane {

namespace {

// The view's list ends with "No shading": the unused-items highlight belongs to the editors.
constexpr int kViewHighlightItems = kNoShadingItem + 1;
constexpr int kHallwayRangeBeforeLoad = 31;

QLabel* MakeLabel(const char* text, int controlId, QWidget* parent) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setObjectName(ctl::ControlName(controlId));
    return label;
}

// "Courier New" bold at 11 pixels; another fixed-pitch face where it is not installed.
QFont HexDumpFont() {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(11);
    font.setWeight(QFont::Bold);
    if (QFontInfo(font).fixedPitch()) {
        return font;
    }
    for (const char* family : {"DejaVu Sans Mono", "Liberation Mono"}) {
        font.setFamily(QString::fromLatin1(family));
        if (QFontInfo(font).fixedPitch()) {
            return font;
        }
    }
    QFont fallback = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fallback.setPixelSize(11);
    fallback.setWeight(QFont::Bold);
    return fallback;
}

} // namespace

QSize ShrinkOnlyFit(const QSize& current, const QSize& fit) {
    return current.boundedTo(fit);
}

CKorvaneView::CKorvaneView(CKorvaneDoc& document, DocumentHistory& history, DisplayContext& display,
                           EditorRegistry& editors, UserReporter& reporter, QWidget* parent)
    : QWidget(parent), document_(document), history_(history), display_(display), editors_(editors),
      reporter_(reporter) {
    levelField_ = new QSpinBox(this);
    levelField_->setObjectName(ctl::ControlName(ctl::kLevelField));
    levelField_->setRange(0, kLastLevelNumber);
    levelName_ = new QLabel(this);
    levelName_->setObjectName(ctl::ControlName(ctl::kLevelName));
    levelName_->setMinimumWidth(180);
    hallwayField_ = new QSpinBox(this);
    hallwayField_->setObjectName(ctl::ControlName(ctl::kHallwayField));
    hallwayField_->setRange(0, kHallwayRangeBeforeLoad);
    highlights_ = new QComboBox(this);
    highlights_->setObjectName(ctl::ControlName(ctl::kHighlights));
    for (int item = 0; item < kViewHighlightItems; ++item) {
        highlights_->addItem(
            QString::fromLatin1(kHighlightItems.at(static_cast<std::size_t>(item))));
    }
    preview_ = new CCanvasControl(display_, ctl::kPreview, this);
    preview_->setObjectName(ctl::ControlName(ctl::kPreview));
    // The preview takes the room the window has: more of the hallway across, and a larger
    // scale when there is height for it.
    preview_->SetGrowsAcross(true, true);
    preview_->SetZoom(
        EditorZoomSettings::Load(QStringLiteral("Preview"), CSurfaceWindow::kMaxZoom));
    connect(preview_, &CSurfaceWindow::zoomRequested, this,
            [this](int steps) { SetPreviewZoom(preview_->zoom() + steps); });
    undecodedLabel_ = new QLabel(this);
    undecodedLabel_->setObjectName(ctl::ControlName(ctl::kUndecodedBytes));
    undecodedLabel_->setTextFormat(Qt::PlainText);
    undecodedLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    undecodedLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* fields = new QGridLayout;
    fields->addWidget(MakeLabel("Level #", ctl::kLevelLabel, this), 0, 0);
    fields->addWidget(levelField_, 0, 1);
    fields->addWidget(levelName_, 0, 2);
    fields->addWidget(MakeLabel("Hallway #", ctl::kHallwayLabel, this), 0, 3);
    fields->addWidget(hallwayField_, 0, 4);
    fields->addWidget(MakeLabel("Highlights", ctl::kHighlightsLabel, this), 0, 5);
    fields->addWidget(highlights_, 0, 6);
    fields->setColumnStretch(7, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(MakeLabel("Level Preview", ctl::kPreviewLabel, this));
    layout->addWidget(preview_, 1);
    layout->addWidget(MakeLabel("Undecoded bytes", ctl::kUndecodedLabel, this));
    layout->addWidget(undecodedLabel_);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    CreateZoomKeys();

    for (int commandId : cmd::kEditorCommands) {
        auto* action = new QAction(cmd::ToolTip(commandId), this);
        action->setObjectName(QStringLiteral("cmd%1").arg(commandId));
        action->setData(commandId);
        action->setStatusTip(cmd::StatusPrompt(commandId));
        action->setToolTip(cmd::ToolTip(commandId));
        connect(action, &QAction::triggered, this, [this, commandId] { OpenEditor(commandId); });
        editorActions_[commandId] = action;
    }
    for (QAction*& separator : separators_) {
        separator = new QAction(this);
        separator->setSeparator(true);
    }
    UpdateEditorCommands();

    connect(levelField_, &QSpinBox::textChanged, this, [this] { LevelChanged(); });
    // The spin box reports only changed values; the same level typed again (its text selected
    // and overtyped, or deleted and typed anew) is a change of the field's text all the same,
    // and resets the hallway like any other.
    if (auto* levelText = levelField_->findChild<QLineEdit*>()) {
        connect(levelText, &QLineEdit::textEdited, this, &CKorvaneView::LevelTextEdited);
    }
    connect(hallwayField_, &QSpinBox::textChanged, this, [this] { HallwayChanged(); });
    connect(highlights_, &QComboBox::activated, this, &CKorvaneView::HighlightChanged);
    connect(&editors_, &EditorRegistry::changed, this, [this] { UpdateEditorCommands(); });
    connect(&history_, &DocumentHistory::modelChanged, this, &CKorvaneView::ModelChanged);
}

void CKorvaneView::CreateZoomKeys() {
    korvane::CreateZoomKeys(
        *this, [this](int steps) { SetPreviewZoom(previewZoom() + steps); },
        [this] { SetPreviewZoom(1); });
}

void CKorvaneView::SetPreviewZoom(int zoom) {
    zoom = std::clamp(zoom, 1, CSurfaceWindow::kMaxZoom);
    if (zoom == preview_->zoom()) {
        return;
    }
    preview_->SetZoom(zoom);
    EditorZoomSettings::Store(QStringLiteral("Preview"), zoom);
}

int CKorvaneView::previewZoom() const {
    return preview_->zoom();
}

QAction* CKorvaneView::editorAction(int commandId) const {
    const auto found = editorActions_.find(commandId);
    return found == editorActions_.end() ? nullptr : found->second;
}

bool CKorvaneView::DocumentReady() const {
    return document_.fileLoaded() && document_.decoded();
}

void CKorvaneView::InitialUpdate() {
    RebuildToolbar();
    preview_->SetView(kPreviewColumns, kPreviewRows);
    level_ = 0;
    hallway_ = 0;
    {
        const QSignalBlocker blockLevel(levelField_);
        const QSignalBlocker blockHallway(hallwayField_);
        levelField_->setRange(0, kLastLevelNumber);
        hallwayField_->setRange(0, kHallwayRangeBeforeLoad);
    }
    if (!fontMade_) {
        undecodedLabel_->setFont(HexDumpFont());
        fontMade_ = true;
    }
    ShowMembers();
    if (DocumentReady()) {
        LevelChanged();
    }
    // With or without a cartridge, the list starts at the preview's own default.
    highlights_->setCurrentIndex(kNoShadingItem);
    // A maximised frame keeps the screen it was given.
    if (QWidget* frame = window();
        frame != this && !frame->isMaximized() && !frame->isFullScreen()) {
        // The first time the frame takes the form's size; after that it only ever shrinks to
        // it, so that a frame the user made smaller is not enlarged.
        if (!frame->testAttribute(Qt::WA_Resized)) {
            frame->adjustSize();
        } else {
            frame->resize(ShrinkOnlyFit(frame->size(), frame->sizeHint()));
        }
    }
    initialised_ = true;
}

void CKorvaneView::LevelChanged() {
    if (!DocumentReady()) {
        return;
    }
    level_ = levelField_->value();
    hallway_ = hallwayField_->value();
    if (level_ >= 0 && level_ < kLevelCount) {
        hallway_ = 0;
        const LevelRecord& level = document_.level(level_);
        preview_->SetHallway(0, &level, level.tiles.data());
        preview_->SetGrid(false);
        preview_->SetSelectionFrame(false, preview_->renderer().frame().size);
        preview_->DrawHallway();
        undecodedText_ = QString::fromStdString(UndecodedBytesText(level));
        SetHallwayRange(level.hallwayCount - 1);
    }
    ShowMembers();
}

void CKorvaneView::LevelTextEdited(const QString& text) {
    // A different number reaches LevelChanged through the spin box's own signal.
    bool isNumber = false;
    const int typed = text.trimmed().toInt(&isNumber);
    if (isNumber && typed == levelField_->value()) {
        LevelChanged();
    }
}

void CKorvaneView::HallwayChanged() {
    if (!document_.fileLoaded() || !document_.decoded()) {
        return;
    }
    level_ = levelField_->value();
    const int hallway = hallwayField_->value();
    if (hallway == hallway_) {
        return;
    }
    hallway_ = hallway;
    const LevelRecord& level = document_.level(level_);
    preview_->SetHallway(hallway_, &level, level.tiles.data());
    preview_->DrawHallway();
}

void CKorvaneView::HighlightChanged(int item) {
    preview_->SetHighlight(HighlightSelectorForItem(item));
    preview_->DrawHallway();
}

bool CKorvaneView::OpenEditor(int commandId) {
    const EditorDescriptor* editor = editors_.Find(commandId);
    if (!DocumentReady() || editor == nullptr || level_ < 0 || level_ >= kLevelCount) {
        return false;
    }
    GameData& gameData = document_.gameData();
    // The model as it was, to hand the fix-up the level before the edit and to tell whether
    // OK changed anything at all.
    const auto before = std::make_unique<GameData>(gameData);
    LevelRecord& level = document_.level(level_);
    auto working = std::make_unique<LevelRecord>(level);
    std::unique_ptr<EnemyGraphics> enemyGraphics;
    if (editor->editsEnemyGraphics) {
        enemyGraphics = std::make_unique<EnemyGraphics>(gameData.enemyGraphics);
    }
    EditorSession session{display_, *working, enemyGraphics.get(), level_, hallway_,
                          window(), &gameData};
    openEditor_ = commandId;
    emit editorOpened();
    const bool ok = editor->run(session);
    openEditor_ = 0;
    if (!ok) {
        emit editorClosed();
        return false;
    }
    level = *working;
    if (enemyGraphics) {
        gameData.enemyGraphics = *enemyGraphics;
    }
    if (editor->afterOk) {
        editor->afterOk(gameData, level_, before->levels[static_cast<std::size_t>(level_)]);
    }
    // Hallways may have come or gone: the field offers the ones there are.
    FollowHallwayCount();
    if (editor->preview == PreviewUpdate::NewTiles) {
        preview_->SetHallway(hallway_, nullptr, level.tiles.data());
    } else {
        preview_->SetHallway(hallway_, &level, nullptr);
    }
    preview_->DrawHallway();
    // One step of the window's history, named after the editor and the level; none when OK
    // changed nothing.
    const QString step = QStringLiteral("%1 (level %2)").arg(cmd::ToolTip(commandId)).arg(level_);
    if (history_.RecordChange(step, *before)) {
        emit documentModified();
    }
    emit editorClosed();
    return true;
}

void CKorvaneView::ModelChanged() {
    if (!DocumentReady() || level_ < 0 || level_ >= kLevelCount) {
        return;
    }
    const LevelRecord& level = document_.level(level_);
    FollowHallwayCount();
    preview_->SetHallway(hallway_, &level, level.tiles.data());
    preview_->DrawHallway();
}

void CKorvaneView::FollowHallwayCount() {
    SetHallwayRange(document_.level(level_).hallwayCount - 1);
    if (hallway_ > hallwayField_->maximum()) {
        hallway_ = 0;
    }
    ShowMembers();
}

void CKorvaneView::OpenAbout() {
    const GameData& gameData = document_.gameData();
    CAboutDlg about(display_, reporter_, gameData.aboutTiles, gameData.aboutTilesLarge,
                    gameData.decoded != 0, this);
    about.exec();
}

void CKorvaneView::RebuildToolbar() {
    UpdateEditorCommands();
    QToolBar* bar = toolbar_.toolBar;
    if (bar == nullptr) {
        return;
    }
    bar->clear();
    const bool full = DocumentReady();
    const QList<QIcon> images = LoadToolbarIcons(full ? kToolbarBitmapFull : kToolbarBitmapEmpty);
    int imageIndex = 0;
    auto add = [&](QAction* action) {
        if (action == nullptr) {
            return;
        }
        if (imageIndex < images.size()) {
            action->setIcon(images.at(imageIndex));
        }
        action->setIconVisibleInMenu(false);
        ++imageIndex;
        bar->addAction(action);
    };
    std::size_t separatorsUsed = 0;
    auto separator = [&] { bar->addAction(separators_.at(separatorsUsed++)); };
    add(toolbar_.open);
    add(toolbar_.save);
    separator();
    if (full) {
        for (int commandId : {cmd::kTileEditor, cmd::kBlockEditor, cmd::kAssemblyEditor,
                              cmd::kRoomEditor, cmd::kHallwayEditor}) {
            add(editorAction(commandId));
        }
        separator();
        add(editorAction(cmd::kEnemyEditor));
        separator();
        add(editorAction(cmd::kPaletteEditor));
        separator();
        add(toolbar_.play);
        separator();
    }
    add(toolbar_.about);
}

void CKorvaneView::UpdateEditorCommands() {
    const bool ready = DocumentReady();
    for (const auto& [commandId, action] : editorActions_) {
        action->setEnabled(ready && editors_.has(commandId));
    }
}

void CKorvaneView::SetHallwayRange(int last) {
    const QSignalBlocker block(hallwayField_);
    hallwayField_->setRange(0, std::clamp(last, 0, kHallwaySlots - 1));
}

void CKorvaneView::ShowMembers() {
    const QSignalBlocker blockLevel(levelField_);
    const QSignalBlocker blockHallway(hallwayField_);
    levelField_->setValue(level_);
    hallwayField_->setValue(hallway_);
    // An empty document has no levels, so no level name either.
    if (DocumentReady() && level_ >= 0 && level_ < kCatalogueRows) {
        const std::string_view name = LevelCatalogue[static_cast<std::size_t>(level_)].name;
        levelName_->setText(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    } else {
        levelName_->clear();
    }
    if (undecodedLabel_->text() != undecodedText_) {
        undecodedLabel_->setText(undecodedText_);
    }
}

std::unique_ptr<GameData> CKorvaneView::ModelAsIfEditorOk(QString& editorName) const {
    const EditorDescriptor* editor = openEditor_ != 0 ? editors_.Find(openEditor_) : nullptr;
    if (editor == nullptr || !DocumentReady()) {
        return nullptr;
    }
    const CEditorDialog* dialog = nullptr;
    for (const CEditorDialog* open : window()->findChildren<CEditorDialog*>()) {
        if (open->isVisible()) {
            dialog = open;
        }
    }
    if (dialog == nullptr) {
        return nullptr;
    }
    auto model = std::make_unique<GameData>(document_.gameData());
    model->levels[static_cast<std::size_t>(level_)] = dialog->workingCopy();
    if (const auto* placement = qobject_cast<const CEnemyPlacementDlg*>(dialog)) {
        model->enemyGraphics = placement->enemyGraphics();
    }
    if (editor->afterOk) {
        editor->afterOk(*model, level_, document_.level(level_));
    }
    editorName = cmd::ToolTip(openEditor_);
    return model;
}

} // namespace korvane
