#include "StartupReport.h"

#include "editors/CCanvasControl.h"

#include <QDateTime>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QTimerEvent>
#include <QWidget>

#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace korvane {

bool StartupReportRequested() {
    return qEnvironmentVariableIntValue("KORVANE_REPORT_STARTUP") == 1;
}

long long MillisecondsSinceProcessStart() {
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QByteArray line = stat.readAll();
    // The command name may hold blanks: count fields after its closing parenthesis.
    const qsizetype close = line.lastIndexOf(')');
    if (close < 0) {
        return -1;
    }
    const QList<QByteArray> fields = line.mid(close + 2).split(' ');
    constexpr qsizetype kStartTimeField = 19; // field 22 of the whole line
    if (fields.size() <= kStartTimeField) {
        return -1;
    }
    const double ticksPerSecond = static_cast<double>(sysconf(_SC_CLK_TCK));
    const double startSeconds = fields.at(kStartTimeField).toDouble() / ticksPerSecond;
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowSeconds =
        static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
    return static_cast<long long>((nowSeconds - startSeconds) * 1000.0);
}

bool FreezeAnimationRequested() {
    return qEnvironmentVariableIntValue("KORVANE_FREEZE_ANIMATION") == 1;
}

AnimationFreezer::AnimationFreezer(CCanvasControl* preview) : QObject(preview), preview_(preview) {}

bool AnimationFreezer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == preview_ && event->type() == QEvent::Timer &&
        static_cast<QTimerEvent*>(event)->timerId() == preview_->animationTimerId()) {
        return true;
    }
    return QObject::eventFilter(watched, event);
}

FirstPaintWatcher::FirstPaintWatcher(QWidget* watched) : QObject(watched) {}

bool FirstPaintWatcher::eventFilter(QObject* watched, QEvent* event) {
    if (!seen_ && event->type() == QEvent::Paint) {
        seen_ = true;
        auto* widget = qobject_cast<QWidget*>(watched);
        // Report once the paint has been carried out.
        QTimer::singleShot(0, this, [widget] {
            const QPoint at = widget->mapToGlobal(QPoint(0, 0));
            std::printf("korvane: first preview painted after %lld ms (epoch %lld ms) at %d,%d "
                        "size %dx%d\n",
                        MillisecondsSinceProcessStart(), QDateTime::currentMSecsSinceEpoch(),
                        at.x(), at.y(), widget->width(), widget->height());
            std::fflush(stdout);
        });
    }
    return QObject::eventFilter(watched, event);
}

QString TestEditScriptPath() {
    return qEnvironmentVariable("KORVANE_TEST_EDIT_SCRIPT");
}

} // namespace korvane
