#pragma once

// What the editor benchmarks share: mouse events sent straight to a widget and the time since
// a start.

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

#include <chrono>

namespace korvane::bench {

// A press or release of the left button, or a move, with the buttons held during it.
inline void SendMouse(QWidget& widget, QEvent::Type type, QPoint pos, Qt::MouseButtons held) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(pos), QPointF(widget.mapToGlobal(pos)), button, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
}

inline double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace korvane::bench
