#pragma once

// The start-up picture: a borderless window of the splash bitmap, centred on the screen,
// gone after 3000 ms or at the first key or mouse press anywhere in the application (which it
// consumes). At most one exists.

#include <QBasicTimer>
#include <QPixmap>
#include <QWidget>

namespace korvane {

inline constexpr int kSplashBitmap = 185;
inline constexpr int kSplashMilliseconds = 3000;

class CSplashWindow : public QWidget {
    Q_OBJECT
public:
    // Whether a splash may be shown at all (cleared by -nosplash).
    static void SetPermitted(bool permitted);
    static bool permitted();
    // Shows the splash over the frame when permitted and none is up. Returns it, or nullptr.
    static CSplashWindow* ShowOver(QWidget* frame);
    static CSplashWindow* current();
    // Hides and destroys the splash, then repaints the frame.
    static void HideCurrent();

    ~CSplashWindow() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    CSplashWindow(const QPixmap& picture, QWidget* frame);

    QPixmap picture_;
    QBasicTimer timer_;
    QWidget* frame_;
};

// The application-wide filter: a key or mouse press while a splash is up hides it and is
// consumed.
class SplashEventFilter : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace korvane
