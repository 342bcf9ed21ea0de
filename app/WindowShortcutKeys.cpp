#include "WindowShortcutKeys.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace korvane {

WindowShortcutKeys::WindowShortcutKeys(QWidget& window, QList<QAction*> guarded)
    : QObject(&window), window_(window) {
    for (QAction* action : guarded) {
        guarded_.append(action);
    }
    qApp->installEventFilter(this);
}

WindowShortcutKeys::~WindowShortcutKeys() {
    qApp->removeEventFilter(this);
}

bool WindowShortcutKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType()) {
        return false;
    }
    const auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != &window_) {
        return false;
    }
    const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
    for (const QPointer<QAction>& action : guarded_) {
        if (action != nullptr && action->shortcuts().contains(pressed)) {
            // Left unaccepted: the key goes on to the window's shortcut, not to the field.
            event->ignore();
            return true;
        }
    }
    return false;
}

} // namespace korvane
