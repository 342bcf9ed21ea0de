#include "CDiscardGuard.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>

namespace korvane {

CDiscardGuard::CDiscardGuard(QDialog& dialog, std::function<bool()> hasChanges)
    : QObject(&dialog), dialog_(dialog), hasChanges_(std::move(hasChanges)) {
    SetQuestion({});
    dialog_.installEventFilter(this);
}

void CDiscardGuard::WatchCancelButton(QAbstractButton& cancel) {
    connect(&cancel, &QAbstractButton::clicked, this, [this] {
        if (MayDiscard()) {
            dialog_.reject();
        }
    });
}

void CDiscardGuard::SetQuestion(DiscardQuestion question) {
    if (!question) {
        question = [this](const QString& editorName) {
            return AskDiscardChanges(&dialog_, editorName);
        };
    }
    question_ = std::move(question);
}

bool CDiscardGuard::MayDiscard() {
    if (!hasChanges_ || !hasChanges_()) {
        return true;
    }
    return question_(dialog_.windowTitle());
}

bool CDiscardGuard::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &dialog_) {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            // The dialog ends on a plain Esc (QDialog's own handling) once the changes may go.
            if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier &&
                !MayDiscard()) {
                event->accept();
                return true;
            }
        } else if (event->type() == QEvent::Close && dialog_.isVisible() && !MayDiscard()) {
            event->ignore();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace korvane
