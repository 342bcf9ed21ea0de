#include "CMessageBoxReporter.h"

#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>

namespace korvane {

namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void CMessageBoxReporter::ShowMessage(MessageIcon icon, const std::string& title,
                                      const std::string& text) {
    QMessageBox box(BoxIcon(icon),
                    title.empty() ? QStringLiteral("Korvane") : QString::fromStdString(title),
                    QString::fromStdString(text), QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void CMessageBoxReporter::RequestQuit(int exitCode) {
    QMetaObject::invokeMethod(
        qApp, [exitCode] { QCoreApplication::exit(exitCode); }, Qt::QueuedConnection);
}

} // namespace korvane
