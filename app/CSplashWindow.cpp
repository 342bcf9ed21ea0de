#include "CSplashWindow.h"

#include "ResourceImages.h"

#include <QEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTimerEvent>

namespace korvane {

namespace {

bool splashPermitted = true;
QPointer<CSplashWindow> currentSplash;

} // namespace

void CSplashWindow::SetPermitted(bool permitted) {
    splashPermitted = permitted;
}
bool CSplashWindow::permitted() {
    return splashPermitted;
}
CSplashWindow* CSplashWindow::current() {
    return currentSplash.data();
}

CSplashWindow* CSplashWindow::ShowOver(QWidget* frame) {
    if (!splashPermitted || currentSplash) {
        return nullptr;
    }
    const QPixmap picture = LoadBitmapResource(kSplashBitmap);
    if (picture.isNull()) {
        return nullptr;
    }
    auto* splash = new CSplashWindow(picture, frame); // deletes itself when hidden
    currentSplash = splash;
    // Centred on the screen the frame is on (the primary screen without one), whatever the
    // frame's own size and place.
    const QScreen* screen = frame != nullptr ? frame->screen() : splash->screen();
    if (screen != nullptr) {
        const QRect area = screen->availableGeometry();
        const QSize size = splash->size();
        splash->move(area.left() + (area.width() - size.width()) / 2,
                     area.top() + (area.height() - size.height()) / 2);
    }
    splash->show();
    splash->repaint();
    return splash;
}

void CSplashWindow::HideCurrent() {
    CSplashWindow* splash = currentSplash.data();
    if (splash == nullptr) {
        return;
    }
    QWidget* frame = splash->frame_;
    currentSplash.clear();
    splash->hide();
    splash->deleteLater();
    if (frame != nullptr) {
        frame->update();
    }
}

CSplashWindow::CSplashWindow(const QPixmap& picture, QWidget* frame)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      picture_(picture), frame_(frame) {
    setAttribute(Qt::WA_DeleteOnClose);
    setCursor(Qt::ArrowCursor);
    setFixedSize(picture.deviceIndependentSize().toSize());
    timer_.start(kSplashMilliseconds, this);
}

CSplashWindow::~CSplashWindow() {
    if (currentSplash == this) {
        currentSplash.clear();
    }
}

void CSplashWindow::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
}

void CSplashWindow::timerEvent(QTimerEvent* event) {
    if (event->timerId() == timer_.timerId()) {
        timer_.stop();
        if (currentSplash == this) {
            HideCurrent();
        }
        return;
    }
    QWidget::timerEvent(event);
}

bool SplashEventFilter::eventFilter(QObject* watched, QEvent* event) {
    if (currentSplash) {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::NonClientAreaMouseButtonPress:
            if (event->type() == QEvent::ShortcutOverride) {
                // The key press that follows hides the splash; its shortcut must not fire.
                event->accept();
                return true;
            }
            CSplashWindow::HideCurrent();
            return true;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace korvane
