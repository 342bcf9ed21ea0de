// The editor base's zoom and size: one zoom for every canvas and pixel editor, and a dialog that
// takes the size of its content within the screen.

#include "CCanvasControl.h"
#include "CEditorDialog.h"
#include "CPixelEditorControl.h"
#include "EditorZoomSettings.h"
#include "ZoomKeys.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace korvane {

namespace {
// Layouts nested in the content area: the body, its columns, the labelled canvases.
constexpr int kLayoutDepth = 4;
} // namespace

void CEditorDialog::CreateZoomKeys() {
    korvane::CreateZoomKeys(
        *this, [this](int steps) { SetZoom(zoom_ + steps); }, [this] { SetZoom(1); });
}

QString CEditorDialog::ZoomName() const {
    const QString name = QString::fromLatin1(metaObject()->className());
    return name.mid(name.lastIndexOf(QLatin1Char(':')) + 1);
}

void CEditorDialog::SetZoom(int zoom) {
    zoom = std::clamp(zoom, 1, kMaxZoom);
    // A zoom chosen before the first show is the one kept, not the one last left at.
    zoomRestored_ = true;
    if (zoom == zoom_) {
        return;
    }
    zoom_ = zoom;
    for (const RegisteredCanvas& entry : canvases_) {
        entry.canvas->SetZoom(zoom);
    }
    for (CPixelEditorControl* pixels : pixelEditors_) {
        pixels->SetZoom(zoom);
    }
    EditorZoomSettings::Store(ZoomName(), zoom);
    FitToContent();
}

void CEditorDialog::FitToContent() {
    if (isMaximized() || isFullScreen()) {
        return;
    }
    // The canvases' new sizes reach the content's size as their layouts are activated, each
    // asking its parent's in turn: handle those requests now, innermost first.
    for (int depth = 0; depth < kLayoutDepth; ++depth) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    }
    QWidget* content = contentArea_->widget();
    content->layout()->activate();
    // Without the width given to the canvases that scroll: the content at its own size.
    int given = 0;
    for (const RegisteredCanvas& entry : canvases_) {
        given += entry.canvas->extraWidth();
    }
    const QSize contentSize =
        content->minimumSizeHint().expandedTo(content->sizeHint()) - QSize(given, 0);
    // What lies around the scrolled area: the dialog's margins and the status and button row.
    QLayout* outer = layout();
    outer->activate();
    const QMargins margins = outer->contentsMargins();
    const int below = outer->itemAt(1)->sizeHint().height() + outer->spacing();
    QSize wanted(contentSize.width() + margins.left() + margins.right(),
                 contentSize.height() + margins.top() + margins.bottom() + below);
    const QScreen* where = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    if (where != nullptr) {
        // Room for the window's frame and title bar, which the free area does not leave out.
        constexpr int kFrameAllowance = 48;
        const QSize room = where->availableGeometry().size() - QSize(0, kFrameAllowance);
        const int bar = contentArea_->verticalScrollBar()->sizeHint().width();
        if (wanted.height() > room.height()) {
            wanted.rwidth() += bar; // the scrolled area's own bar takes width
        }
        if (wanted.width() > room.width()) {
            wanted.rheight() += contentArea_->horizontalScrollBar()->sizeHint().height();
        }
        wanted = wanted.boundedTo(room);
    }
    resize(wanted.expandedTo(minimumSizeHint()));
}

void CEditorDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    GiveSpareWidthToCanvases();
}

void CEditorDialog::GiveSpareWidthToCanvases() {
    std::vector<CCanvasControl*> growing;
    int given = 0;
    for (const RegisteredCanvas& entry : canvases_) {
        if (entry.canvas->growsAcross()) {
            growing.push_back(entry.canvas);
            given += entry.canvas->extraWidth();
        }
    }
    if (growing.empty()) {
        return;
    }
    QWidget* content = contentArea_->widget();
    content->layout()->activate();
    const QSize needed = content->layout()->minimumSize() - QSize(given, 0);
    QSize room = contentArea_->maximumViewportSize();
    if (needed.height() > room.height()) {
        room.rwidth() -= contentArea_->verticalScrollBar()->sizeHint().width();
    }
    int spare = std::max(0, room.width() - needed.width());
    // Shared out evenly, none given more than it can show; what one cannot use goes to the
    // others.
    std::vector<int> most;
    for (CCanvasControl* canvas : growing) {
        const int base = canvas->width() - canvas->extraWidth();
        most.push_back(std::max(0, canvas->UsefulWidth() - base));
    }
    std::vector<int> extra(growing.size(), 0);
    while (spare > 0) {
        int open = 0;
        for (std::size_t i = 0; i < most.size(); ++i) {
            open += extra[i] < most[i] ? 1 : 0;
        }
        if (open == 0) {
            break;
        }
        const int share = std::max(1, spare / open);
        for (std::size_t i = 0; i < growing.size() && spare > 0; ++i) {
            const int add = std::min({share, most[i] - extra[i], spare});
            if (add > 0) {
                extra[i] += add;
                spare -= add;
            }
        }
    }
    for (std::size_t i = 0; i < growing.size(); ++i) {
        growing[i]->SetExtraWidth(extra[i]);
    }
}

void CEditorDialog::showEvent(QShowEvent* event) {
    if (!zoomRestored_) {
        // The controls keep to the left of a wider dialog.
        contentLayout_->setAlignment(body_, Qt::AlignLeft);
        SetZoom(EditorZoomSettings::Load(ZoomName(), kMaxZoom));
        FitToContent();
    }
    QDialog::showEvent(event);
}

} // namespace korvane
