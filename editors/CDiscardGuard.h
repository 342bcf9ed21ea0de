#pragma once

// Keeps a dialog's changes from being thrown away by one key: Esc, the Cancel button and
// closing the window ask first (DiscardQuestion) when the dialog says it has changes, and do
// nothing on Keep Editing. Without changes they end the dialog at once. The dialog's own
// reject() is left alone: a program that calls it gets no question.

#include "DiscardQuestion.h"

#include <QObject>

#include <functional>

class QAbstractButton;
class QDialog;

namespace korvane {

class CDiscardGuard : public QObject {
    Q_OBJECT
public:
    // Watches dialog (its Esc key and close events); hasChanges says whether there is anything
    // to lose. The guard belongs to the dialog.
    CDiscardGuard(QDialog& dialog, std::function<bool()> hasChanges);

    // The Cancel button: reject() once the changes may go.
    void WatchCancelButton(QAbstractButton& cancel);
    // Replaces the question; an empty one restores the default message box.
    void SetQuestion(DiscardQuestion question);
    // True when nothing is lost or the user chose Discard; asks only when there are changes.
    bool MayDiscard();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QDialog& dialog_;
    std::function<bool()> hasChanges_;
    DiscardQuestion question_;
};

} // namespace korvane
