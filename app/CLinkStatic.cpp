#include "CLinkStatic.h"

#include "LinkErrorText.h"
#include "gamedata/UserReporter.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QMouseEvent>
#include <QTimerEvent>
#include <QUrl>

namespace korvane {

CLinkStatic::CLinkStatic(const QString& text, const QString& url, UserReporter* reporter,
                         QWidget* parent)
    : QLabel(text, parent), url_(url), reporter_(reporter), opener_([](const QUrl& target) {
          return QDesktopServices::openUrl(target) ? kLinkOpenedCode : kNoAssociationCode;
      }) {
    if (url_.isEmpty()) {
        url_ = text;
    }
    if (this->text().isEmpty()) {
        setText(url_);
    }
    setTextFormat(Qt::PlainText);
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    setAutoFillBackground(false);
    setToolTip(url_);
    UpdateLook();
    if (adjustToFit_) {
        adjustSize();
    }
}

void CLinkStatic::SetUrl(const QString& url) {
    url_ = url;
    setToolTip(url_);
    if (adjustToFit_) {
        adjustSize();
    }
}

void CLinkStatic::SetColours(const QColor& link, const QColor& visited, const QColor& hover) {
    linkColour_ = link;
    visitedColour_ = visited;
    hoverColour_ = hover;
    UpdateLook();
}

void CLinkStatic::SetVisited(bool visited) {
    visited_ = visited;
    UpdateLook();
}

void CLinkStatic::SetUnderline(UnderlineMode mode) {
    if (mode == underline_) {
        return;
    }
    underline_ = mode;
    UpdateLook();
}

QColor CLinkStatic::textColour() const {
    if (over_) {
        return hoverColour_;
    }
    return visited_ ? visitedColour_ : linkColour_;
}

void CLinkStatic::UpdateLook() {
    QFont look = font();
    look.setUnderline(underline_ == UnderlineMode::Always ||
                      (underline_ == UnderlineMode::WhileOver && over_));
    if (look != font()) {
        setFont(look);
    }
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, textColour());
    setPalette(colours);
    update();
}

void CLinkStatic::mouseMoveEvent(QMouseEvent* event) {
    if (!over_) {
        over_ = true;
        UpdateLook();
        hoverTimer_.start(kHoverMilliseconds, this);
    }
    QLabel::mouseMoveEvent(event);
}

void CLinkStatic::HoverCheck(const QPoint& pointer) {
    if (rect().contains(pointer)) {
        return;
    }
    over_ = false;
    hoverTimer_.stop();
    UpdateLook();
    // The underline reaches below the text.
    update(rect().adjusted(0, 0, 0, 10));
}

void CLinkStatic::timerEvent(QTimerEvent* event) {
    if (event->timerId() == hoverTimer_.timerId()) {
        HoverCheck(mapFromGlobal(QCursor::pos()));
        return;
    }
    QLabel::timerEvent(event);
}

void CLinkStatic::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        Clicked();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

void CLinkStatic::Clicked() {
    over_ = false;
    hoverTimer_.stop();
    const int result = GoToUrl();
    if (result > 32) {
        SetVisited(true);
        return;
    }
    UpdateLook();
    QApplication::beep();
    if (reporter_ != nullptr) {
        reporter_->ShowMessage(MessageIcon::Warning, "Korvane", LinkErrorReport(result));
    }
}

int CLinkStatic::GoToUrl() {
    return opener_ ? opener_(QUrl(url_)) : kNoAssociationCode;
}

} // namespace korvane
