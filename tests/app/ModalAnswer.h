#pragma once

// A modal editor answered from outside while the main window runs it.

#include "editors/CEditorDialog.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <functional>

namespace korvane::test {

// Once the modal editor runs, does what the user does in it and ends it with OK (1) or
// Cancel (2). Records the dialog it found.
class ModalAnswer {
public:
    ModalAnswer(std::function<void(CEditorDialog&)> act, int button)
        : act_(std::move(act)), button_(button) {
        QTimer::singleShot(0, &guard_, [this] { Answer(); });
    }
    QString title;
    bool answered = false;

private:
    void Answer() {
        auto* dialog = qobject_cast<CEditorDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            // Not up yet: look again once the event loop has run.
            QTimer::singleShot(10, &guard_, [this] { Answer(); });
            return;
        }
        title = dialog->windowTitle();
        if (act_) {
            act_(*dialog);
        }
        answered = true;
        dialog->findChild<QPushButton*>(QStringLiteral("id%1").arg(button_))->click();
    }
    std::function<void(CEditorDialog&)> act_;
    int button_;
    QObject guard_; // no answer is looked for once this is gone
};

} // namespace korvane::test
