#include "CEditorDialog.h"

#include "CCanvasControl.h"
#include "CPaletteSwatchImage.h"
#include "EditorControlIds.h"
#include "HighlightList.h"
#include "ToolButtonPicture.h"
#include "graphics/CPixelImage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include <array>
#include <utility>

// The editor base's shared controls: tool buttons and their pictures, the standard layout, the
// Highlights combo and the palette page list.

namespace korvane {

namespace {

constexpr int kPageListIndexColumn = 0;
constexpr int kPageListSwatchColumn = 1;
constexpr int kPageListWidth = 180;
constexpr QSize kToolButtonSize(36, 28);

} // namespace

QIcon CEditorDialog::ButtonImage(int resourceId) {
    CPixelImage image;
    if (!image.LoadFromResource(resourceId)) {
        return {};
    }
    return ToolButtonPicture(image, kButtonGrey);
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

void CEditorDialog::CreateToolKeys() {
    const std::array<std::pair<QKeySequence, int>, 6> keys{{
        {QKeySequence(Qt::Key_B), ids::kPaint},
        {QKeySequence(Qt::Key_I), ids::kDropper},
        {QKeySequence(Qt::Key_F), ids::kBucket},
        {QKeySequence(Qt::CTRL | Qt::Key_G), ids::kGrid},
        {QKeySequence(QKeySequence::Copy), ids::kCopy},
        {QKeySequence(QKeySequence::Paste), ids::kPaste},
    }};
    for (const auto& [sequence, controlId] : keys) {
        auto* key = new QShortcut(sequence, this);
        const QString name = ids::ControlObjectName(controlId);
        connect(key, &QShortcut::activated, this, [this, name] {
            auto* button = findChild<QPushButton*>(name);
            if (button != nullptr && button->isEnabled()) {
                button->click();
            }
        });
    }
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

} // namespace korvane
