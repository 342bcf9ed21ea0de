#pragma once

// Helpers for driving canvas widgets in tests: mouse events sent straight to the widget and a
// recorder of the notifications it sends.

#include "editors/CCanvasControl.h"
#include "gamedata/UserReporter.h"

#include <QCoreApplication>
#include <QMouseEvent>

#include <vector>

namespace korvane::test {

inline void SendMouse(QWidget& widget, QEvent::Type type, QPoint pos,
                      Qt::MouseButton button = Qt::LeftButton,
                      Qt::MouseButtons buttons = Qt::NoButton) {
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
        buttons |= button;
    }
    QMouseEvent event(type, QPointF(pos), QPointF(widget.mapToGlobal(pos)), button, buttons,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
}

inline void Move(QWidget& widget, QPoint pos, Qt::MouseButtons buttons = Qt::NoButton) {
    SendMouse(widget, QEvent::MouseMove, pos, Qt::NoButton, buttons);
}
inline void Press(QWidget& widget, QPoint pos) {
    SendMouse(widget, QEvent::MouseButtonPress, pos);
}
inline void Release(QWidget& widget, QPoint pos) {
    SendMouse(widget, QEvent::MouseButtonRelease, pos);
}

// Collects every notification a canvas sends, in order.
struct NotificationLog {
    std::vector<CanvasNotification> records;
    explicit NotificationLog(CSurfaceWindow& canvas) {
        QObject::connect(&canvas, &CSurfaceWindow::notified,
                         [this](const CanvasNotification& n) { records.push_back(n); });
    }
};

// A display context whose reports are recorded instead of shown.
struct RecordingDisplay {
    RecordingReporter reporter;
    DisplayContext context{32, &reporter};
};

} // namespace korvane::test
