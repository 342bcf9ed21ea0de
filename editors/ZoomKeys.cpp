#include "ZoomKeys.h"

#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

namespace korvane {

void CreateZoomKeys(QWidget& owner, const std::function<void(int steps)>& zoomBy,
                    const std::function<void()>& actualSize) {
    const auto add = [&owner](const QKeySequence& keys, std::function<void()> action) {
        auto* shortcut = new QShortcut(keys, &owner);
        QObject::connect(shortcut, &QShortcut::activated, &owner, std::move(action));
    };
    add(QKeySequence::ZoomIn, [zoomBy] { zoomBy(1); });
    add(QKeySequence(Qt::CTRL | Qt::Key_Equal), [zoomBy] { zoomBy(1); });
    add(QKeySequence::ZoomOut, [zoomBy] { zoomBy(-1); });
    add(QKeySequence(Qt::CTRL | Qt::Key_0), actualSize);
}

} // namespace korvane
