#pragma once

// Hooks for measuring and testing the running program.
//
// With KORVANE_REPORT_STARTUP=1 the program prints, once, the time from its process start to
// the first painted level preview and where on the screen the preview is:
//   korvane: first preview painted after 123 ms (epoch 1700000000123 ms) at 10,80 size 768x256

#include <QObject>
#include <QString>

namespace korvane {

bool StartupReportRequested();
// Milliseconds since the process started (from the kernel's record of the start).
long long MillisecondsSinceProcessStart();

// With KORVANE_FREEZE_ANIMATION=1 the level preview keeps its first palette frame, so that a
// screenshot can be compared with the renderer's picture of tick 0.
bool FreezeAnimationRequested();

// KORVANE_TEST_EDIT_SCRIPT names an edit script (korvane-cli edit's language) that the window
// runs on the model once at start, as an editor's OK: the end-to-end tests' edit. Empty: none.
QString TestEditScriptPath();

class CCanvasControl;

class AnimationFreezer : public QObject {
    Q_OBJECT
public:
    explicit AnimationFreezer(CCanvasControl* preview);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CCanvasControl* preview_;
};

class FirstPaintWatcher : public QObject {
    Q_OBJECT
public:
    explicit FirstPaintWatcher(QWidget* watched);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool seen_ = false;
};

} // namespace korvane
