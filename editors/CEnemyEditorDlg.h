#pragma once

// The Enemy editor: one enemy placement's numbers (its room position, x, y and enemy id), as a
// small modal dialog of the enemy placement editor. OK checks the id ("Monster Hex Id", one or
// two hexadecimal digits) and stays open with a message naming the field when it is not one.

#include "gamedata/LevelRecord.h"

#include <QDialog>

class QLabel;
class QLineEdit;

namespace korvane {

class CNumberField;

class CEnemyEditorDlg : public QDialog {
    Q_OBJECT
public:
    explicit CEnemyEditorDlg(const EnemyPlacement& placement, QWidget* parent = nullptr);

    // Takes the fields when the id is hexadecimal; otherwise says so and stays open.
    void accept() override;

    // The placement as the fields give it, once the dialog has ended with OK.
    const EnemyPlacement& placement() const { return placement_; }
    QString statusText() const;

private:
    EnemyPlacement placement_;
    CNumberField* roomPosition_;
    CNumberField* x_;
    CNumberField* y_;
    QLineEdit* enemyId_;
    QLabel* status_;
};

} // namespace korvane
