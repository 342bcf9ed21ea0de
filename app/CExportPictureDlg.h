#pragma once

// File > Export Picture's dialog: what to draw (the current hallway, the whole level or a
// layer), the hallway's labels and markers, the layer's palette set and palette, and the zoom.

#include "PictureExportChoice.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QRadioButton;
class QSpinBox;

namespace korvane {

class CExportPictureDlg : public QDialog {
    Q_OBJECT
public:
    // The controls start from initial.
    explicit CExportPictureDlg(const PictureExportChoice& initial, QWidget* parent = nullptr);

    // What the controls say now.
    PictureExportChoice choice() const;

private:
    // Only the controls that belong to the chosen subject are enabled.
    void EnableForSubject();

    QRadioButton* hallway_;
    QRadioButton* levelMap_;
    QRadioButton* layer_;
    QCheckBox* checkpoints_;
    QCheckBox* enemies_;
    QComboBox* layerList_;
    QSpinBox* paletteSet_;
    QSpinBox* palette_;
    QComboBox* zoom_;
};

} // namespace korvane
