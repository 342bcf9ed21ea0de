#pragma once

// The Enemy editor: one enemy placement's numbers (its room position, x, y and enemy id), as a
// small modal dialog of the enemy placement editor. OK checks the id ("Monster Hex Id", one or
// two hexadecimal digits) and stays open with a message naming the field when it is not one.

#include "DiscardQuestion.h"
#include "gamedata/LevelRecord.h"

#include <QDialog>

class QLabel;
class QLineEdit;

namespace korvane {

class CDiscardGuard;
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
    // Whether a field shows something else than when the dialog opened: Esc, Cancel and
    // closing the window then ask before the typing is thrown away (reject() never asks).
    bool HasChanges() const;
    // Replaces that question; an empty one restores the default message box.
    void SetDiscardQuestion(DiscardQuestion question);

private:
    QStringList FieldTexts() const;

    EnemyPlacement placement_;
    QStringList openedTexts_;
    CDiscardGuard* discardGuard_ = nullptr;
    CNumberField* roomPosition_;
    CNumberField* x_;
    CNumberField* y_;
    QLineEdit* enemyId_;
    QLabel* status_;
};

} // namespace korvane
