#include "CCenteredFileDialog.h"

#include <QApplication>
#include <QPointer>
#include <QScreen>

#include <algorithm>

namespace korvane {

CCenteredFileDialog::CCenteredFileDialog(Kind kind, const QString& defaultExtension,
                                         const QString& initialFileName, const QString& filter,
                                         QWidget* parent)
    : QFileDialog(parent) {
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(kind == Kind::Open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    setFileMode(kind == Kind::Open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    setDefaultSuffix(defaultExtension);
    setNameFilter(filter);
    if (!initialFileName.isEmpty()) {
        selectFile(initialFileName);
    }
}

QPoint CCenteredFileDialog::Placement(const QRect& available, const QSize& dialogSize) {
    const QPoint centred =
        available.center() - QPoint(dialogSize.width() / 2, dialogSize.height() / 2);
    // A dialog larger than the area keeps its top-left corner on the area.
    const int x = std::max(available.left(),
                           std::min(centred.x(), available.right() + 1 - dialogSize.width()));
    const int y = std::max(available.top(),
                           std::min(centred.y(), available.bottom() + 1 - dialogSize.height()));
    return {x, y};
}

int CCenteredFileDialog::DoModal() {
    QPointer<QWidget> focus = QApplication::focusWidget();
    const int result = exec();
    if (focus != nullptr) {
        focus->setFocus();
    }
    return result == QDialog::Accepted && !selectedFiles().isEmpty() ? kOk : kCancel;
}

void CCenteredFileDialog::showEvent(QShowEvent* event) {
    // Placed here, where the dialog has its final size.
    const QScreen* screen =
        parentWidget() != nullptr ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen != nullptr) {
        move(Placement(screen->availableGeometry(), size()));
    }
    QFileDialog::showEvent(event);
}

QString CCenteredFileDialog::GetPathName() const {
    const QStringList files = selectedFiles();
    return result() == QDialog::Accepted && !files.isEmpty() ? files.first() : QString();
}

} // namespace korvane
