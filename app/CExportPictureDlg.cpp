#include "CExportPictureDlg.h"

#include "CommandIds.h"
#include "editors/EditorControlIds.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace korvane {

namespace {

// The layer list in its order.
constexpr std::array<PictureLayer, 4> kLayers{PictureLayer::Tiles, PictureLayer::Blocks,
                                              PictureLayer::Assemblies, PictureLayer::Rooms};
constexpr std::array<const char*, 4> kLayerNames{"Tiles", "Blocks", "Assemblies", "Rooms"};
constexpr int kPaletteSets = 5;
constexpr int kPalettes = 4;

template <class Widget> Widget* Named(Widget* widget, int controlId) {
    widget->setObjectName(ctl::ControlName(controlId));
    return widget;
}

} // namespace

CExportPictureDlg::CExportPictureDlg(const PictureExportChoice& initial, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Export Picture"));
    setObjectName(ctl::ControlName(ctl::kExportPictureDialog));

    hallway_ =
        Named(new QRadioButton(QStringLiteral("The current &hallway"), this), ctl::kPictureHallway);
    levelMap_ = Named(new QRadioButton(QStringLiteral("The whole &level, a row per hallway"), this),
                      ctl::kPictureLevelMap);
    layer_ = Named(new QRadioButton(QStringLiteral("A l&ayer"), this), ctl::kPictureLayer);
    checkpoints_ =
        Named(new QCheckBox(QStringLiteral("&Checkpoint labels"), this), ctl::kPictureCheckpoints);
    enemies_ = Named(new QCheckBox(QStringLiteral("&Enemy markers"), this), ctl::kPictureEnemies);
    layerList_ = Named(new QComboBox(this), ctl::kPictureLayerList);
    for (const char* name : kLayerNames) {
        layerList_->addItem(QString::fromLatin1(name));
    }
    paletteSet_ = Named(new QSpinBox(this), ctl::kPicturePaletteSet);
    paletteSet_->setRange(0, kPaletteSets - 1);
    palette_ = Named(new QSpinBox(this), ctl::kPicturePalette);
    palette_->setRange(0, kPalettes - 1);
    zoom_ = Named(new QComboBox(this), ctl::kPictureZoom);
    for (int zoom = 1; zoom <= kMaxExportZoom; ++zoom) {
        zoom_->addItem(QStringLiteral("%1x").arg(zoom));
    }

    auto* what = new QGroupBox(QStringLiteral("Picture of"), this);
    auto* whatLayout = new QVBoxLayout(what);
    whatLayout->addWidget(hallway_);
    whatLayout->addWidget(levelMap_);
    auto* hallwayOptions = new QVBoxLayout;
    hallwayOptions->setContentsMargins(20, 0, 0, 0);
    hallwayOptions->addWidget(checkpoints_);
    hallwayOptions->addWidget(enemies_);
    whatLayout->addLayout(hallwayOptions);
    whatLayout->addWidget(layer_);
    auto* layerOptions = new QFormLayout;
    layerOptions->setContentsMargins(20, 0, 0, 0);
    layerOptions->addRow(QStringLiteral("Layer"), layerList_);
    layerOptions->addRow(QStringLiteral("Palette set"), paletteSet_);
    layerOptions->addRow(QStringLiteral("Palette (tiles)"), palette_);
    whatLayout->addLayout(layerOptions);

    auto* zoomRow = new QFormLayout;
    zoomRow->addRow(QStringLiteral("&Zoom"), zoom_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(ids::ControlObjectName(ids::kOk));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(ids::ControlObjectName(ids::kCancel));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(what);
    layout->addLayout(zoomRow);
    layout->addWidget(buttons);

    switch (initial.subject) {
    case PictureSubject::Hallway:
        hallway_->setChecked(true);
        break;
    case PictureSubject::LevelMap:
        levelMap_->setChecked(true);
        break;
    case PictureSubject::Layer:
        layer_->setChecked(true);
        break;
    }
    checkpoints_->setChecked(initial.checkpoints);
    enemies_->setChecked(initial.enemies);
    const auto layerIndex = std::find(kLayers.begin(), kLayers.end(), initial.layer);
    layerList_->setCurrentIndex(static_cast<int>(layerIndex - kLayers.begin()) %
                                static_cast<int>(kLayers.size()));
    paletteSet_->setValue(initial.paletteSet);
    palette_->setValue(initial.palette);
    zoom_->setCurrentIndex(std::clamp(initial.zoom, 1, kMaxExportZoom) - 1);

    for (QRadioButton* subject : {hallway_, levelMap_, layer_}) {
        connect(subject, &QRadioButton::toggled, this, &CExportPictureDlg::EnableForSubject);
    }
    connect(layerList_, &QComboBox::currentIndexChanged, this,
            &CExportPictureDlg::EnableForSubject);
    EnableForSubject();
}

PictureExportChoice CExportPictureDlg::choice() const {
    PictureExportChoice choice;
    choice.subject = layer_->isChecked()      ? PictureSubject::Layer
                     : levelMap_->isChecked() ? PictureSubject::LevelMap
                                              : PictureSubject::Hallway;
    choice.checkpoints = checkpoints_->isChecked();
    choice.enemies = enemies_->isChecked();
    choice.layer = kLayers.at(static_cast<std::size_t>(std::max(layerList_->currentIndex(), 0)));
    choice.paletteSet = paletteSet_->value();
    choice.palette = palette_->value();
    choice.zoom = zoom_->currentIndex() + 1;
    return choice;
}

void CExportPictureDlg::EnableForSubject() {
    const bool layer = layer_->isChecked();
    checkpoints_->setEnabled(!layer);
    enemies_->setEnabled(!layer);
    layerList_->setEnabled(layer);
    paletteSet_->setEnabled(layer);
    palette_->setEnabled(layer && layerList_->currentIndex() == 0);
}

} // namespace korvane
