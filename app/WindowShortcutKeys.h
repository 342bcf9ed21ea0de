#pragma once

// Keeps a window's own commands on their keys wherever the keyboard focus is in it. A text
// field (the number fields Level # and Hallway # among them) claims Ctrl+Z and Ctrl+Shift+Z
// for its own text, so the window's Undo and Redo would never see them while the field has
// the focus; this filter turns down that claim for the keys of the actions it guards, in the
// window's widgets only (dialogs keep their own keys).

#include <QList>
#include <QObject>
#include <QPointer>

class QAction;
class QWidget;

namespace korvane {

class WindowShortcutKeys : public QObject {
    Q_OBJECT
public:
    // Watches the application's events for window; the guarded actions' keys go to them.
    WindowShortcutKeys(QWidget& window, QList<QAction*> guarded);
    ~WindowShortcutKeys() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    QList<QPointer<QAction>> guarded_;
};

} // namespace korvane
